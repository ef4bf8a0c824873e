#include "listing/model/FilePropertyStore.h"

namespace zenlo {

namespace {
class NoProperties final : public FileProperties {
 public:
  std::wstring Comments() override { return {}; }
  std::optional<std::wstring> UserProperty(const std::wstring&) override { return std::nullopt; }
};

class EmptyPropertyStore final : public FilePropertyStore {
 public:
  std::unique_ptr<FileProperties> Open(const std::wstring&) override {
    return std::make_unique<NoProperties>();
  }
};
}  // namespace

std::shared_ptr<FilePropertyStore> MakeEmptyPropertyStore() {
  return std::make_shared<EmptyPropertyStore>();
}

}  // namespace zenlo
