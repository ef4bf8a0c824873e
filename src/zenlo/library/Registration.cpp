#include "library/Registration.h"

#include <objbase.h>
#include <olectl.h>

#include <vector>

#include "zenlo/ZenloClassIds.h"

namespace zenlo {

namespace {

const wchar_t kClassesRoot[] = L"Software\\Classes";

struct RegisteredClass {
  const GUID* clsid;
  const wchar_t* name;
};

const RegisteredClass kRegistered[] = {
    {&CLSID_ZenloFileControl, L"ZenloFileControl"},
    {&CLSID_ZFCombo, L"ZFCombo"},
    {&CLSID_button_headings, L"button_headings"},
};

std::wstring GuidText(const GUID& g) {
  wchar_t text[40];
  StringFromGUID2(g, text, 40);
  return text;
}

struct KeyWrite {
  std::wstring Key;  // below Software\Classes
  const wchar_t* ValueName;
  std::wstring Value;
};

std::vector<KeyWrite> WritesOf(const RegisteredClass& c, const std::wstring& serverPath) {
  const std::wstring clsid = L"CLSID\\" + GuidText(*c.clsid);
  const std::wstring progId = std::wstring(L"Zenlo.") + c.name;
  return {
      {clsid, nullptr, c.name},
      {clsid + L"\\InprocServer32", nullptr, serverPath},
      {clsid + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
      {clsid + L"\\ProgID", nullptr, progId},
      {progId, nullptr, c.name},
      {progId + L"\\CLSID", nullptr, GuidText(*c.clsid)},
  };
}

// The keys of one class, children before their parents.
std::vector<std::wstring> KeysOf(const RegisteredClass& c) {
  const std::wstring clsid = L"CLSID\\" + GuidText(*c.clsid);
  const std::wstring progId = std::wstring(L"Zenlo.") + c.name;
  return {clsid + L"\\InprocServer32", clsid + L"\\ProgID", clsid, progId + L"\\CLSID", progId};
}

std::wstring FullKey(const std::wstring& key) { return std::wstring(kClassesRoot) + L"\\" + key; }

// Opens the key, creating each missing level; the levels it created are added to `created`.
HKEY CreateKeyPath(const std::wstring& key, std::vector<std::wstring>& created) {
  HKEY current = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kClassesRoot, 0, nullptr, 0, KEY_WRITE, nullptr,
                      &current, nullptr) != ERROR_SUCCESS)
    return nullptr;
  std::size_t start = 0;
  while (start <= key.size()) {
    const std::size_t end = std::min(key.find(L'\\', start), key.size());
    const std::wstring level = key.substr(start, end - start);
    HKEY next = nullptr;
    DWORD disposition = 0;
    const LONG rc = RegCreateKeyExW(current, level.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                                    &next, &disposition);
    RegCloseKey(current);
    if (rc != ERROR_SUCCESS) return nullptr;
    if (disposition == REG_CREATED_NEW_KEY) created.push_back(key.substr(0, end));
    current = next;
    start = end + 1;
  }
  return current;
}

bool Write(const KeyWrite& w, std::vector<std::wstring>& created) {
  if (auto& seam = RegistrationWriteSeam(); seam && !seam(w.Key)) return false;
  HKEY key = CreateKeyPath(w.Key, created);
  if (!key) return false;
  const LONG rc =
      RegSetValueExW(key, w.ValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(w.Value.c_str()),
                     static_cast<DWORD>((w.Value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  return rc == ERROR_SUCCESS;
}

}  // namespace

std::function<bool(const std::wstring& key)>& RegistrationWriteSeam() {
  static std::function<bool(const std::wstring&)> seam;
  return seam;
}

HRESULT RegisterClasses(const std::wstring& serverPath) {
  if (serverPath.empty()) return SELFREG_E_CLASS;
  std::vector<std::wstring> created;
  for (const RegisteredClass& c : kRegistered)
    for (const KeyWrite& w : WritesOf(c, serverPath)) {
      if (Write(w, created)) continue;
      // Leave the registry as it was: newest keys first, so children go before parents.
      for (auto it = created.rbegin(); it != created.rend(); ++it)
        RegDeleteKeyW(HKEY_CURRENT_USER, FullKey(*it).c_str());
      return SELFREG_E_CLASS;
    }
  return S_OK;
}

HRESULT UnregisterClasses() {
  HRESULT result = S_OK;
  for (const RegisteredClass& c : kRegistered)
    for (const std::wstring& key : KeysOf(c)) {
      // A key that holds keys of others is left to them.
      const LONG rc = RegDeleteKeyW(HKEY_CURRENT_USER, FullKey(key).c_str());
      if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND) result = SELFREG_E_CLASS;
    }
  return result;
}

}  // namespace zenlo
