#include "companions/DriveProvider.h"

#include <shlobj.h>
#include <shlwapi.h>
#include <winnetwk.h>

#include <cwchar>

#include "toolkit/Text.h"

namespace zenlo {

namespace {

// Keeps "insert a disk" boxes away while an empty drive is asked about.
class QuietDriveErrors {
 public:
  QuietDriveErrors() { SetThreadErrorMode(SEM_FAILCRITICALERRORS, &saved_); }
  ~QuietDriveErrors() { SetThreadErrorMode(saved_, nullptr); }
  QuietDriveErrors(const QuietDriveErrors&) = delete;
  QuietDriveErrors& operator=(const QuietDriveErrors&) = delete;

 private:
  DWORD saved_ = 0;
};

std::wstring CutAtNul(const wchar_t* text) { return std::wstring(text); }

class SystemDriveProvider final : public DriveProvider {
 public:
  std::vector<std::wstring> LogicalDriveRoots() override {
    // Asked for its size first: 26 roots need 105 characters with the final NUL.
    DWORD needed = GetLogicalDriveStringsW(0, nullptr);
    for (int attempt = 0; attempt < 3 && needed > 0; ++attempt) {
      std::wstring buffer(static_cast<std::size_t>(needed) + 1, L'\0');
      const DWORD got = GetLogicalDriveStringsW(static_cast<DWORD>(buffer.size()), buffer.data());
      if (got == 0) return {};
      if (got >= buffer.size()) {  // a drive came in between the two calls
        needed = got;
        continue;
      }
      std::vector<std::wstring> roots;
      for (const wchar_t* p = buffer.c_str(); *p; p += std::wcslen(p) + 1) roots.emplace_back(p);
      return roots;
    }
    return {};
  }

  UINT DriveType(const std::wstring& root) override { return GetDriveTypeW(root.c_str()); }

  bool QueryVolume(const std::wstring& root, VolumeInformation& info) override {
    wchar_t label[MAX_PATH + 1] = {};
    wchar_t fileSystem[MAX_PATH + 1] = {};
    DWORD serial = 0, maxComponent = 0, flags = 0;
    QuietDriveErrors quiet;
    if (!GetVolumeInformationW(root.c_str(), label, MAX_PATH + 1, &serial, &maxComponent, &flags,
                               fileSystem, MAX_PATH + 1))
      return false;
    info.Label = CutAtNul(label);
    info.FileSystem = CutAtNul(fileSystem);
    info.Serial = serial;
    info.MaxComponentLength = maxComponent;
    info.Flags = flags;
    return true;
  }

  std::wstring RemoteName(const std::wstring& drive) override {
    if (!PathIsNetworkPathW(drive.c_str())) return {};
    DWORD length = MAX_PATH;
    std::wstring buffer(length, L'\0');
    DWORD rc = WNetGetConnectionW(drive.c_str(), buffer.data(), &length);
    if (rc == ERROR_MORE_DATA) {
      buffer.assign(static_cast<std::size_t>(length) + 1, L'\0');
      length = static_cast<DWORD>(buffer.size());
      rc = WNetGetConnectionW(drive.c_str(), buffer.data(), &length);
    }
    if (rc != NO_ERROR) return {};
    std::wstring name = CutAtNul(buffer.c_str());
    return PathIsUNCW(name.c_str()) ? name : std::wstring();
  }

  bool IsReady(const std::wstring& root) override {
    wchar_t label[MAX_PATH + 1] = {};
    DWORD serial = 0, maxComponent = 0, flags = 0;
    QuietDriveErrors quiet;
    return GetVolumeInformationW(root.c_str(), label, MAX_PATH + 1, &serial, &maxComponent,
                                 &flags, nullptr, 0) != 0;
  }

  std::wstring MyDocumentsPath() override {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, path)))
      return {};
    std::wstring result = CutAtNul(path);
    if (!result.empty() && result.back() == L'\\') result.pop_back();
    return result;
  }
};

bool IsFloppyLetter(const std::wstring& root) {
  return !root.empty() && (root[0] == L'a' || root[0] == L'A' || root[0] == L'b' ||
                           root[0] == L'B');
}

}  // namespace

std::shared_ptr<DriveProvider> MakeSystemDriveProvider() {
  return std::make_shared<SystemDriveProvider>();
}

std::wstring LabelText(const std::wstring& label) {
  std::wstring cut = CutAtNul(label.c_str());
  return tk::Trim(cut).empty() ? std::wstring(L"(no label)") : cut;
}

std::wstring DriveTypeWord(UINT type, const std::wstring& root) {
  switch (type) {
    case DRIVE_UNKNOWN:
      return L"The drive type cannot be determined";
    case DRIVE_NO_ROOT_DIR:
      return L"The root directory does not exist";
    case DRIVE_REMOVABLE:
      return IsFloppyLetter(root) ? L"Floppy    " : L"Removable ";
    case DRIVE_FIXED:
      return L"Local     ";
    case DRIVE_REMOTE:
      return L"Remote    ";
    case DRIVE_CDROM:
      return L"CD-ROM    ";
    case DRIVE_RAMDISK:
      return L"RAM disk  ";
    default:
      return {};
  }
}

std::wstring StripToRoot(const std::wstring& path) {
  if (path.size() >= 2 && path[1] == L':') return path.substr(0, 2);
  if (path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\') {
    const auto serverEnd = path.find(L'\\', 2);
    if (serverEnd == std::wstring::npos) return path;
    return path.substr(0, path.find(L'\\', serverEnd + 1));
  }
  return {};
}

bool GetVolumeInfo(const std::wstring& root, DriveProvider& drives, VolumeRecord& record) {
  VolumeInformation info;
  if (!drives.QueryVolume(root, info)) return false;
  record.Label = LabelText(info.Label);
  record.FileSystem = CutAtNul(info.FileSystem.c_str());
  record.Flags = info.Flags;
  wchar_t serial[16];
  std::swprintf(serial, 16, L"%lX", static_cast<unsigned long>(info.Serial));
  record.Serial = serial;
  record.Capability =
      L"Supports " + std::to_wstring(info.MaxComponentLength) + L"-character filenames";
  return true;
}

std::wstring GetRemoteNameForDrive(const std::wstring& path, DriveProvider& drives) {
  const std::wstring root = StripToRoot(path);
  if (root.empty()) return {};
  return drives.RemoteName(root);
}

bool IsDriveReady(std::wstring& root, DriveProvider& drives) {
  if (root.empty() || root.back() != L'\\') root += L'\\';
  return drives.IsReady(root);
}

std::wstring GetDriveTypeText(const std::wstring& root, DriveProvider& drives) {
  const UINT type = drives.DriveType(root);
  std::wstring text = DriveTypeWord(type, root);
  VolumeRecord volume;
  switch (type) {
    case DRIVE_FIXED:
    case DRIVE_CDROM:
      if (GetVolumeInfo(root, drives, volume)) text += L" " + volume.Label;
      break;
    case DRIVE_REMOTE:
      text += L" " + GetRemoteNameForDrive(root + L"\\temp\\", drives);
      break;
    default:
      break;
  }
  return text;
}

std::int32_t HiWord(std::int32_t dw) {
  const std::int32_t quotient = dw / 65535;
  return dw < 0 ? quotient - 1 : quotient;
}

std::int32_t LoWord(std::int32_t dw) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(dw) & 0xFFFFu);
}

}  // namespace zenlo
