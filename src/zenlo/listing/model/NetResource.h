#pragma once
// A node of the network neighbourhood and its children. Enumerating the network belongs to the
// network support, which is not built yet: until then every node has no children, so network
// levels read as empty.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zenlo {

class NetResource {
 public:
  const std::vector<std::unique_ptr<NetResource>>& Children() { return children_; }
  NetResource* Child(const std::wstring& remoteName);
  std::wstring RemoteName() const { return remoteName_; }
  std::wstring ShortName() const;
  std::int32_t ResourceType() const { return isPrinter_ ? 255 : displayType_; }
  std::wstring ResourceTypeName() const;

 private:
  std::wstring remoteName_;
  std::int32_t displayType_ = 0;
  bool isPrinter_ = false;
  std::vector<std::unique_ptr<NetResource>> children_;
};

}  // namespace zenlo
