#include "settings/SettingsLocation.h"

#include <windows.h>
#include <shlobj.h>

#include "toolkit/PathText.h"

namespace varnello {

namespace {

std::wstring Joined(const std::wstring& folder, const wchar_t* name) {
  if (folder.empty() || folder.back() == L'\\') return folder + name;
  return folder + L"\\" + name;
}

std::wstring UserAppData() {
  PWSTR path = nullptr;
  std::wstring out;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_CREATE, nullptr, &path)))
    out = path;
  CoTaskMemFree(path);
  return out;
}

}  // namespace

bool FolderWritable(const std::wstring& folder) {
  const std::wstring probe =
      Joined(folder, (L"~varnello" + std::to_wstring(GetCurrentProcessId()) + L".tmp").c_str());
  HANDLE h = CreateFileW(tk::LongPathForm(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  CloseHandle(h);
  return true;
}

SettingsLocation ChooseSettingsFile(const std::wstring& programFolder,
                                    const std::wstring& appDataFolder, bool programFolderWritable,
                                    bool userFileExists) {
  const std::wstring own = Joined(programFolder, L"user.usr");
  if (programFolderWritable || appDataFolder.empty()) return {own, own};
  const std::wstring user = Joined(Joined(appDataFolder, L"Varnello"), L"user.usr");
  return {user, userFileExists ? user : own};
}

SettingsLocation LocateSettingsFile(const std::wstring& programFolder,
                                    const std::wstring& appDataFolder) {
  if (FolderWritable(programFolder)) return ChooseSettingsFile(programFolder, L"", true, false);
  const std::wstring appData = appDataFolder.empty() ? UserAppData() : appDataFolder;
  if (!appData.empty()) CreateDirectoryW(tk::LongPathForm(Joined(appData, L"Varnello")).c_str(), nullptr);
  SettingsLocation chosen = ChooseSettingsFile(programFolder, appData, false, false);
  const bool exists = GetFileAttributesW(tk::LongPathForm(chosen.WritePath).c_str()) != INVALID_FILE_ATTRIBUTES;
  return ChooseSettingsFile(programFolder, appData, false, exists);
}

}  // namespace varnello
