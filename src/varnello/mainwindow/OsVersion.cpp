#include "mainwindow/OsVersion.h"

#include <windows.h>

namespace varnello {

bool GetOSVersion(long& major, long& minor, long& build, long& platformId) {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  const BOOL ok = GetVersionExW(&info);
#pragma GCC diagnostic pop
  if (!ok) {
    major = minor = build = platformId = 0;
    return false;
  }
  major = static_cast<long>(info.dwMajorVersion);
  minor = static_cast<long>(info.dwMinorVersion);
  build = static_cast<long>(info.dwBuildNumber);
  platformId = static_cast<long>(info.dwPlatformId);
  return true;
}

std::wstring OldWindowsName(long platformId, long minor) {
  if (platformId != 1) return {};
  if (minor < 10) return L"Windows 95";
  if (minor < 90) return L"Windows 98";
  return L"Windows Me";
}

namespace {
std::wstring CurrentOldWindows() {
  long major = 0, minor = 0, build = 0, platform = 0;
  if (!GetOSVersion(major, minor, build, platform)) return {};
  return OldWindowsName(platform, minor);
}
}  // namespace

bool IsWin95() { return CurrentOldWindows() == L"Windows 95"; }
bool IsWin98() { return CurrentOldWindows() == L"Windows 98"; }
bool IsWinME() { return CurrentOldWindows() == L"Windows Me"; }

std::wstring TrimAtNull2(const std::wstring& text) {
  const auto nul = text.find(L'\0');
  if (nul == std::wstring::npos || nul == 0) return {};
  return text.substr(0, nul);
}

}  // namespace varnello
