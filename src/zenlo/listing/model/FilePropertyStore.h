#pragma once
// Per-file document properties: the comment and named user properties such as the colour word.
#include <memory>
#include <optional>
#include <string>

namespace zenlo {

// Open fails with this error number when a file's properties are unavailable (file in use).
constexpr long kErrPropertiesUnavailable = static_cast<long>(0x80040203u);
// Adding a user property whose name is already present.
constexpr long kErrPropertyExists = static_cast<long>(0x80040205u);
// Setting or removing a user property the file does not have.
constexpr long kErrPropertyNotFound = static_cast<long>(0x80070490u);
// A write to properties that can only be read.
constexpr long kErrPropertiesReadOnly = static_cast<long>(0x80030005u);

class FileProperties {
 public:
  virtual ~FileProperties() = default;
  virtual std::wstring Comments() = 0;
  // The value of a named user property, or nothing when the file has none.
  virtual std::optional<std::wstring> UserProperty(const std::wstring& name) = 0;

  // Writes reach the file's storage before they return and throw tk::RuntimeError when they
  // could not (read-only file, full disk: the cause's number), so a caller never counts an
  // unwritten value as stored. Names compare without regard to case. Properties that can only
  // be read refuse every write with kErrPropertiesReadOnly.
  // Fails with kErrPropertyExists when the name is present.
  virtual void AddUserProperty(const std::wstring& name, const std::wstring& value);
  // Fail with kErrPropertyNotFound when the name is absent.
  virtual void SetUserProperty(const std::wstring& name, const std::wstring& value);
  virtual void RemoveUserProperty(const std::wstring& name);
};

class FilePropertyStore {
 public:
  virtual ~FilePropertyStore() = default;
  // Throws tk::RuntimeError on failure (kErrPropertiesUnavailable for a file in use).
  virtual std::unique_ptr<FileProperties> Open(const std::wstring& path) = 0;
  // A read of a listing asks for every file in turn, with the size its directory entry gave.
  // Nothing (no throw) for a file that cannot hold properties, so that it is not opened; the
  // store may answer from what it read for the file before in the same listing read.
  virtual std::unique_ptr<FileProperties> OpenListed(const std::wstring& path, std::uint64_t size);
  // Around one listing read: the store may read what it keeps once for all its files.
  virtual void BeginListing() {}
  virtual void EndListing() {}
};

// A store that keeps nothing: every file has no comment and no colour.
std::shared_ptr<FilePropertyStore> MakeEmptyPropertyStore();

// The store on disk: a file's own property sets where it offers them (compound documents), else
// the per-user records under `perUserFolder` (empty: the user's local application data folder,
// "Varnello"), which are keyed by volume serial and file index and so follow renames and moves.
std::shared_ptr<FilePropertyStore> MakeFilePropertyStore(const std::wstring& perUserFolder = {});

// The store every control starts with: the one on disk with the user's own records, shared by
// the controls of the process so that the records are read once for all of them.
std::shared_ptr<FilePropertyStore> DefaultFilePropertyStore();

}  // namespace zenlo
