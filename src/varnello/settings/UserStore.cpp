#include "settings/UserStore.h"

#include <windows.h>

#include <cwchar>

namespace varnello {

namespace {

std::wstring KeyPath(const std::wstring& application, const std::wstring& section) {
  return L"Software\\" + application + L"\\" + section;
}

}  // namespace

std::optional<std::wstring> ReadUserValue(const std::wstring& application,
                                          const std::wstring& section, const std::wstring& name) {
  if (application.empty()) return std::nullopt;
  wchar_t data[512];
  DWORD size = sizeof data;
  if (RegGetValueW(HKEY_CURRENT_USER, KeyPath(application, section).c_str(), name.c_str(),
                   RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
    return std::nullopt;
  return std::wstring(data);
}

bool WriteUserValue(const std::wstring& application, const std::wstring& section,
                    const std::wstring& name, const std::wstring& value) {
  if (application.empty()) return false;
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, KeyPath(application, section).c_str(), 0, nullptr, 0,
                      KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return false;
  const LONG rc = RegSetValueExW(key, name.c_str(), 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(value.c_str()),
                                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  return rc == ERROR_SUCCESS;
}

long ReadUserNumber(const std::wstring& application, const std::wstring& section,
                    const std::wstring& name, long fallback) {
  const auto text = ReadUserValue(application, section, name);
  if (!text || text->empty()) return fallback;
  wchar_t* end = nullptr;
  const long v = std::wcstol(text->c_str(), &end, 10);
  while (end && *end == L' ') ++end;
  return end && *end == L'\0' ? v : fallback;
}

void DeleteUserApplication(const std::wstring& application) {
  if (application.empty()) return;
  RegDeleteTreeW(HKEY_CURRENT_USER, (L"Software\\" + application).c_str());
  RegDeleteKeyW(HKEY_CURRENT_USER, (L"Software\\" + application).c_str());
}

}  // namespace varnello
