#pragma once
// Per-file document properties: the comment and named user properties such as the colour word.
#include <memory>
#include <optional>
#include <string>

namespace zenlo {

// Open fails with this error number when a file's properties are unavailable (file in use).
constexpr long kErrPropertiesUnavailable = static_cast<long>(0x80040203u);

class FileProperties {
 public:
  virtual ~FileProperties() = default;
  virtual std::wstring Comments() = 0;
  // The value of a named user property, or nothing when the file has none.
  virtual std::optional<std::wstring> UserProperty(const std::wstring& name) = 0;
};

class FilePropertyStore {
 public:
  virtual ~FilePropertyStore() = default;
  // Throws tk::RuntimeError on failure (kErrPropertiesUnavailable for a file in use).
  virtual std::unique_ptr<FileProperties> Open(const std::wstring& path) = 0;
};

// A store that keeps nothing: every file has no comment and no colour.
std::shared_ptr<FilePropertyStore> MakeEmptyPropertyStore();

}  // namespace zenlo
