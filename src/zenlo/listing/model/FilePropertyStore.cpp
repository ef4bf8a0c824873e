#include "listing/model/FilePropertyStore.h"

#include <windows.h>
#include <shlobj.h>
#include <winternl.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <set>
#include <unordered_map>
#include <vector>

#include "listing/model/PathText.h"
#include "listing/model/PerUserPropertyFile.h"
#include "listing/model/PropertySetFile.h"
#include "toolkit/Error.h"
#include "toolkit/Text.h"

namespace zenlo {

void FileProperties::AddUserProperty(const std::wstring&, const std::wstring&) {
  throw tk::RuntimeError(kErrPropertiesReadOnly, L"These properties can only be read.");
}
void FileProperties::SetUserProperty(const std::wstring&, const std::wstring&) {
  throw tk::RuntimeError(kErrPropertiesReadOnly, L"These properties can only be read.");
}
void FileProperties::RemoveUserProperty(const std::wstring&) {
  throw tk::RuntimeError(kErrPropertiesReadOnly, L"These properties can only be read.");
}

std::unique_ptr<FileProperties> FilePropertyStore::OpenListed(const std::wstring& path,
                                                              std::uint64_t) {
  return Open(path);
}

namespace {

// A compound document is made of whole 512-byte (or 4,096-byte) sectors, at least its header
// and one each for the allocation table and the directory. Only a file of such a size is
// opened to look for its signature.
bool MayBeCompoundDocument(std::uint64_t size) { return size >= 3 * 512 && size % 512 == 0; }

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

PropertyValues::iterator FindName(PropertyValues& values, const std::wstring& name) {
  return std::find_if(values.begin(), values.end(),
                      [&](const auto& v) { return tk::SameText(v.first, name); });
}

[[noreturn]] void ThrowNotFound() {
  throw tk::RuntimeError(kErrPropertyNotFound, L"The property is not present.");
}

// The values read when the file was opened, kept current by this object's own writes.
class CachedProperties : public FileProperties {
 public:
  CachedProperties(std::wstring comments, PropertyValues user)
      : comments_(std::move(comments)), user_(std::move(user)) {}
  std::wstring Comments() override { return comments_; }
  std::optional<std::wstring> UserProperty(const std::wstring& name) override {
    auto it = FindName(user_, name);
    if (it == user_.end()) return std::nullopt;
    return it->second;
  }

 protected:
  void Remember(const std::wstring& name, const std::optional<std::wstring>& value) {
    auto it = FindName(user_, name);
    if (!value) {
      if (it != user_.end()) user_.erase(it);
    } else if (it != user_.end()) {
      it->second = *value;
    } else {
      user_.emplace_back(name, *value);
    }
  }

 private:
  std::wstring comments_;
  PropertyValues user_;
};

class PropertySetProperties final : public CachedProperties {
 public:
  PropertySetProperties(std::wstring path, PropertySetContents contents)
      : CachedProperties(std::move(contents.Comments), std::move(contents.User)),
        path_(std::move(path)) {}
  void AddUserProperty(const std::wstring& name, const std::wstring& value) override {
    AddPropertySetValue(path_, name, value);
    Remember(name, value);
  }
  void SetUserProperty(const std::wstring& name, const std::wstring& value) override {
    SetPropertySetValue(path_, name, value);
    Remember(name, value);
  }
  void RemoveUserProperty(const std::wstring& name) override {
    RemovePropertySetValue(path_, name);
    Remember(name, std::nullopt);
  }

 private:
  std::wstring path_;
};

class PerUserProperties final : public CachedProperties {
 public:
  PerUserProperties(std::shared_ptr<PerUserPropertyFile> records, const FileKey& key,
                    std::wstring comments, PropertyValues values)
      : CachedProperties(std::move(comments), std::move(values)),
        records_(std::move(records)),
        key_(key) {}
  void AddUserProperty(const std::wstring& name, const std::wstring& value) override {
    records_->Update(key_, [&](PropertyValues& v) {
      if (FindName(v, name) != v.end())
        throw tk::RuntimeError(kErrPropertyExists, L"The name is already present.");
      v.emplace_back(name, value);
    });
    Remember(name, value);
  }
  void SetUserProperty(const std::wstring& name, const std::wstring& value) override {
    records_->Update(key_, [&](PropertyValues& v) {
      auto it = FindName(v, name);
      if (it == v.end()) ThrowNotFound();
      it->second = value;
    });
    Remember(name, value);
  }
  void RemoveUserProperty(const std::wstring& name) override {
    records_->Update(key_, [&](PropertyValues& v) {
      auto it = FindName(v, name);
      if (it == v.end()) ThrowNotFound();
      v.erase(it);
    });
    Remember(name, std::nullopt);
  }

 private:
  std::shared_ptr<PerUserPropertyFile> records_;
  FileKey key_;
};

std::wstring DefaultPerUserFolder() {
  PWSTR local = nullptr;
  std::wstring folder;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &local)) && local)
    folder = local;
  CoTaskMemFree(local);
  if (folder.empty()) {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    folder = temp;
  }
  if (folder.back() != L'\\') folder += L'\\';
  return folder + L"Varnello";
}

struct FileFacts {
  FileKey Key;
  bool CompoundDocument = false;
  bool Ntfs = false;
};

constexpr unsigned char kCompoundSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

struct VolumeFacts {
  DWORD Serial = 0;
  bool Ntfs = false;
  bool Known = false;
};

// The root a path's volume is asked by: "X:\" or "\\server\share\".
std::wstring VolumeRoot(const std::wstring& path) {
  if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') return path.substr(0, 3);
  if (path.rfind(L"\\\\", 0) == 0 && path.rfind(L"\\\\?\\", 0) != 0) {
    const std::size_t share = path.find(L'\\', 2);
    const std::size_t end = share == std::wstring::npos ? share : path.find(L'\\', share + 1);
    if (end != std::wstring::npos) return path.substr(0, end + 1);
  }
  return {};
}

// Asked once per volume root: the query costs milliseconds on some file systems, and so does
// the whole-handle query that would give the serial with the index.
VolumeFacts VolumeOf(const std::wstring& path) {
  static std::mutex guard;
  static std::map<std::wstring, VolumeFacts> known;
  const std::wstring root = tk::UpperCase(VolumeRoot(path));
  if (root.empty()) return {};
  {
    std::lock_guard<std::mutex> lock(guard);
    auto it = known.find(root);
    if (it != known.end()) return it->second;
  }
  VolumeFacts facts;
  wchar_t fileSystem[MAX_PATH + 1] = {};
  facts.Known = GetVolumeInformationW(root.c_str(), nullptr, 0, &facts.Serial, nullptr, nullptr,
                                      fileSystem, MAX_PATH + 1);
  facts.Ntfs = facts.Known && tk::SameText(fileSystem, L"NTFS");
  if (facts.Known) {
    std::lock_guard<std::mutex> lock(guard);
    known[root] = facts;
  }
  return facts;
}

struct InternalInformation {
  LARGE_INTEGER IndexNumber;
};

// One open of the file: its identity on the volume and whether it is a compound document.
FileFacts Inspect(const std::wstring& path) {
  constexpr DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  const std::wstring exact = LongPathForm(path);
  HANDLE h = CreateFileW(exact.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  bool canRead = h != INVALID_HANDLE_VALUE;
  if (!canRead && GetLastError() == ERROR_ACCESS_DENIED)  // identity without the contents
    h = CreateFileW(exact.c_str(), FILE_READ_ATTRIBUTES, share, nullptr, OPEN_EXISTING,
                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION)
      throw tk::RuntimeError(kErrPropertiesUnavailable, L"The file is in use.");
    throw tk::RuntimeError(static_cast<long>(HRESULT_FROM_WIN32(error)),
                           L"The file's properties could not be opened.");
  }
  FileFacts facts;
  bool identified = false;
  const VolumeFacts volume = VolumeOf(path);
  IO_STATUS_BLOCK io{};
  InternalInformation internal{};
  if (volume.Known &&
      NtQueryInformationFile(h, &io, &internal, sizeof internal, FileInternalInformation) >= 0) {
    facts.Key = {volume.Serial, static_cast<std::uint64_t>(internal.IndexNumber.QuadPart)};
    facts.Ntfs = volume.Ntfs;
    identified = true;
  } else {
    BY_HANDLE_FILE_INFORMATION info{};
    identified = GetFileInformationByHandle(h, &info);
    facts.Key = {info.dwVolumeSerialNumber,
                 (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
  }
  const DWORD error = GetLastError();
  if (identified) {
    unsigned char head[8] = {};
    DWORD got = 0;
    facts.CompoundDocument = canRead && ReadFile(h, head, sizeof head, &got, nullptr) &&
                             got == sizeof head &&
                             std::equal(head, head + 8, kCompoundSignature);
  }
  CloseHandle(h);
  if (!identified)
    throw tk::RuntimeError(static_cast<long>(HRESULT_FROM_WIN32(error ? error : ERROR_GEN_FAILURE)),
                           L"The file's properties could not be opened.");
  return facts;
}

// The file index of every entry of one folder, from one enumeration of the folder instead of
// one open per file.
class FolderIndexes {
 public:
  void Clear() {
    folder_.clear();
    byName_.clear();
  }
  bool Find(const std::wstring& path, std::uint64_t& index) {
    const std::size_t cut = path.find_last_of(L'\\');
    if (cut == std::wstring::npos) return false;
    const std::wstring folder = path.substr(0, cut + 1);
    if (folder != folder_ && !Load(folder)) return false;
    auto it = byName_.find(tk::UpperCase(path.substr(cut + 1)));
    if (it == byName_.end()) return false;
    index = it->second;
    return true;
  }

 private:
  bool Load(const std::wstring& folder) {
    Clear();
    HANDLE h = CreateFileW(LongPathForm(folder).c_str(), FILE_LIST_DIRECTORY,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    std::vector<unsigned char> buffer(64 * 1024);
    FILE_INFO_BY_HANDLE_CLASS kind = FileIdBothDirectoryRestartInfo;
    bool any = false;
    while (GetFileInformationByHandleEx(h, kind, buffer.data(), static_cast<DWORD>(buffer.size()))) {
      kind = FileIdBothDirectoryInfo;
      for (std::size_t at = 0;;) {
        const auto* e = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(buffer.data() + at);
        // A file system without file ids answers 0: such a file is opened instead.
        if (e->FileId.QuadPart != 0)
          byName_[tk::UpperCase(std::wstring(e->FileName, e->FileNameLength / sizeof(wchar_t)))] =
              static_cast<std::uint64_t>(e->FileId.QuadPart);
        any = true;
        if (!e->NextEntryOffset) break;
        at += e->NextEntryOffset;
      }
    }
    CloseHandle(h);
    if (any) folder_ = folder;
    return any;
  }

  std::wstring folder_;
  std::unordered_map<std::wstring, std::uint64_t> byName_;
};

class DiskPropertyStore final : public FilePropertyStore {
 public:
  explicit DiskPropertyStore(const std::wstring& folder)
      : records_(std::make_shared<PerUserPropertyFile>(folder.empty() ? DefaultPerUserFolder()
                                                                      : folder)) {}

  void BeginListing() override {
    records_->HoldSnapshot(true);
    indexes_.Clear();
  }
  void EndListing() override {
    records_->HoldSnapshot(false);
    indexes_.Clear();
  }

  // A plain file off NTFS holds no property sets and a file whose size no compound document
  // has is none: such a file is not opened. Its per-user record, where the records know its
  // volume at all, is found by the file index that one enumeration of its folder gives.
  std::unique_ptr<FileProperties> OpenListed(const std::wstring& path, std::uint64_t size) override {
    const VolumeFacts volume = VolumeOf(path);
    if (!volume.Known || (volume.Ntfs && !volumesWithoutPlainSets_.count(volume.Serial)) ||
        MayBeCompoundDocument(size))
      return Open(path);
    if (!records_->HasVolume(volume.Serial)) return nullptr;
    std::uint64_t index = 0;
    if (!indexes_.Find(path, index)) return Open(path);
    const FileKey key{volume.Serial, index};
    PropertyValues values = records_->Find(key);
    if (values.empty()) return nullptr;
    return std::make_unique<PerUserProperties>(records_, key, std::wstring(), std::move(values));
  }

  std::unique_ptr<FileProperties> Open(const std::wstring& path) override {
    const FileFacts facts = Inspect(path);
    // A plain file has property sets only where the file system keeps them for it; one
    // refusal per volume settles that, so a listing does not ask again for every file.
    const bool tryPlain = facts.Ntfs && !volumesWithoutPlainSets_.count(facts.Key.VolumeSerial);
    std::wstring comments;
    if (facts.CompoundDocument || tryPlain) {
      if (auto sets = ReadPropertySets(path)) {
        if (PropertySetsKeepUserProperties())
          return std::make_unique<PropertySetProperties>(path, std::move(*sets));
        comments = std::move(sets->Comments);  // read-only use of sets that cannot be trusted
      } else if (!facts.CompoundDocument) {
        volumesWithoutPlainSets_.insert(facts.Key.VolumeSerial);
      }
    }
    return std::make_unique<PerUserProperties>(records_, facts.Key, std::move(comments),
                                               records_->Find(facts.Key));
  }

 private:
  std::shared_ptr<PerUserPropertyFile> records_;
  std::set<DWORD> volumesWithoutPlainSets_;
  FolderIndexes indexes_;
};

}  // namespace

std::shared_ptr<FilePropertyStore> MakeEmptyPropertyStore() {
  return std::make_shared<EmptyPropertyStore>();
}

std::shared_ptr<FilePropertyStore> MakeFilePropertyStore(const std::wstring& perUserFolder) {
  return std::make_shared<DiskPropertyStore>(perUserFolder);
}

std::shared_ptr<FilePropertyStore> DefaultFilePropertyStore() {
  static const std::shared_ptr<FilePropertyStore> store = MakeFilePropertyStore();
  return store;
}

}  // namespace zenlo
