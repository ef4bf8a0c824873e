// Self-registration of Zenlo.dll for the current user, and creating its classes through COM and
// its class factory.
#include <gtest/gtest.h>
#include <objbase.h>
#include <olectl.h>

#include <set>
#include <string>

#include "library/Registration.h"
#include "zenlo/ZenloClassIds.h"

namespace {

const wchar_t kUserClasses[] = L"Software\\Classes";

std::wstring DllPath() {
  wchar_t path[1024];
  DWORD n = GetEnvironmentVariableW(L"ZENLO_DLL", path, 1024);
  return n && n < 1024 ? path : L"";
}

DWORD RunRegsvr32(const std::wstring& args) {
  std::wstring command = L"regsvr32.exe " + args;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                      &pi))
    return GetLastError() | 0x80000000u;
  WaitForSingleObject(pi.hProcess, 60000);
  DWORD code = 1;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return code;
}

std::wstring ReadValue(HKEY root, const std::wstring& key, const wchar_t* name) {
  wchar_t data[1024] = {};
  DWORD size = sizeof data;
  if (RegGetValueW(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
    return L"<missing>";
  return data;
}

std::wstring UserKey(const std::wstring& key) { return std::wstring(kUserClasses) + L"\\" + key; }

std::wstring ClsidKey(const GUID& clsid) {
  wchar_t text[40];
  StringFromGUID2(clsid, text, 40);
  return std::wstring(L"CLSID\\") + text;
}

// Every key and value below a key, as "path" and "path|name=data" lines.
void Collect(HKEY key, const std::wstring& path, std::set<std::wstring>& out) {
  out.insert(path);
  for (DWORD i = 0;; ++i) {
    wchar_t name[512];
    DWORD nameLength = 512;
    BYTE data[2048];
    DWORD dataSize = sizeof data;
    DWORD type = 0;
    if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data, &dataSize) != ERROR_SUCCESS)
      break;
    out.insert(path + L"|" + name + L"=" +
               std::wstring(reinterpret_cast<const wchar_t*>(data), dataSize / sizeof(wchar_t)));
  }
  for (DWORD i = 0;; ++i) {
    wchar_t name[512];
    DWORD nameLength = 512;
    if (RegEnumKeyExW(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    HKEY child = nullptr;
    if (RegOpenKeyExW(key, name, 0, KEY_READ, &child) != ERROR_SUCCESS) continue;
    Collect(child, path + L"\\" + name, out);
    RegCloseKey(child);
  }
}

std::set<std::wstring> UserClassesSnapshot() {
  std::set<std::wstring> out;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kUserClasses, 0, KEY_READ, &key) != ERROR_SUCCESS)
    return out;
  Collect(key, L"", out);
  RegCloseKey(key);
  return out;
}

class Registration : public ::testing::Test {
 protected:
  void SetUp() override {
    dll_ = DllPath();
    ASSERT_FALSE(dll_.empty()) << "ZENLO_DLL is not set: run the tests through ctest";
    // Another program's class beside ours, which unregistering must leave alone.
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, UserKey(kForeign).c_str(), 0, nullptr, 0,
                              KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const wchar_t text[] = L"Someone else";
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text);
    RegCloseKey(key);
  }
  void TearDown() override {
    zenlo::RegistrationWriteSeam() = nullptr;
    zenlo::UnregisterClasses();  // whatever a failed check left behind
    RegDeleteKeyW(HKEY_CURRENT_USER, UserKey(kForeign).c_str());
  }
  static constexpr const wchar_t* kForeign = L"CLSID\\{0B5C1E7A-3F7D-4E2B-9C61-5A0F2D8E4B11}";
  std::wstring dll_;
};

TEST_F(Registration, Regsvr32RegistersForTheUserAndUnregistersExactlyItsKeys) {
  const auto before = UserClassesSnapshot();
  ASSERT_EQ(RunRegsvr32(L"/s \"" + dll_ + L"\""), 0u);

  const std::wstring control = ClsidKey(zenlo::CLSID_ZenloFileControl);
  EXPECT_EQ(_wcsicmp(ReadValue(HKEY_CURRENT_USER, UserKey(control + L"\\InprocServer32"), nullptr)
                         .c_str(),
                     dll_.c_str()),
            0);
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, UserKey(control + L"\\InprocServer32"), L"ThreadingModel"),
            L"Apartment");
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, UserKey(control), nullptr), L"ZenloFileControl");
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, UserKey(control + L"\\ProgID"), nullptr),
            L"Zenlo.ZenloFileControl");
  const std::pair<const GUID*, std::wstring> classes[] = {
      {&zenlo::CLSID_ZenloFileControl, L"ZenloFileControl"},
      {&zenlo::CLSID_ZFCombo, L"ZFCombo"},
      {&zenlo::CLSID_button_headings, L"button_headings"}};
  for (const auto& [clsid, name] : classes) {
    wchar_t text[40];
    StringFromGUID2(*clsid, text, 40);
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, UserKey(L"Zenlo." + name + L"\\CLSID"), nullptr), text);
    // Nothing machine-wide: a user without administrator rights can register.
    HKEY machine = nullptr;
    EXPECT_NE(RegOpenKeyExW(HKEY_LOCAL_MACHINE,
                            (L"Software\\Classes\\" + ClsidKey(*clsid)).c_str(), 0, KEY_READ,
                            &machine),
              ERROR_SUCCESS);
    if (machine) RegCloseKey(machine);
  }

  ASSERT_EQ(RunRegsvr32(L"/u /s \"" + dll_ + L"\""), 0u);
  EXPECT_EQ(UserClassesSnapshot(), before);
}

// A registration that fails part way leaves the user's classes exactly as they were, wherever it
// failed.
TEST_F(Registration, AFailedWriteTakesBackWhatTheRegistrationWrote) {
  const auto before = UserClassesSnapshot();
  int writes = 0;
  zenlo::RegistrationWriteSeam() = [&](const std::wstring&) {
    ++writes;
    return true;
  };
  ASSERT_EQ(zenlo::RegisterClasses(dll_), S_OK);
  ASSERT_EQ(zenlo::UnregisterClasses(), S_OK);
  ASSERT_EQ(UserClassesSnapshot(), before);
  ASSERT_GT(writes, 2);

  for (int failing = 1; failing <= writes; ++failing) {
    int n = 0;
    zenlo::RegistrationWriteSeam() = [&](const std::wstring&) { return ++n != failing; };
    EXPECT_EQ(zenlo::RegisterClasses(dll_), SELFREG_E_CLASS) << "write " << failing;
    EXPECT_EQ(UserClassesSnapshot(), before) << "write " << failing;
  }
}

TEST_F(Registration, ClassFactoryOfTheLoadedLibraryNeedsNoRegistration) {
  HMODULE dll = LoadLibraryW(dll_.c_str());
  ASSERT_NE(dll, nullptr);
  using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  using CanUnload = HRESULT(STDAPICALLTYPE*)();
  // Through void*: the exports' real types are not FARPROC's.
  auto getClassObject = reinterpret_cast<GetClassObject>(
      reinterpret_cast<void*>(GetProcAddress(dll, "DllGetClassObject")));
  auto canUnload = reinterpret_cast<CanUnload>(
      reinterpret_cast<void*>(GetProcAddress(dll, "DllCanUnloadNow")));
  ASSERT_TRUE(getClassObject && canUnload);

  void* nothing = nullptr;
  EXPECT_EQ(getClassObject(IID_IUnknown, IID_IClassFactory, &nothing), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(nothing, nullptr);

  IClassFactory* factory = nullptr;
  ASSERT_EQ(getClassObject(zenlo::CLSID_ZenloFileControl, IID_IClassFactory,
                           reinterpret_cast<void**>(&factory)),
            S_OK);
  EXPECT_EQ(canUnload(), S_FALSE);  // the factory holds the library

  IUnknown* outer = reinterpret_cast<IUnknown*>(factory);
  IUnknown* object = nullptr;
  EXPECT_EQ(factory->CreateInstance(outer, IID_IUnknown, reinterpret_cast<void**>(&object)),
            CLASS_E_NOAGGREGATION);
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&object)),
            S_OK);
  IClassFactory* wrong = nullptr;
  EXPECT_EQ(object->QueryInterface(IID_IClassFactory, reinterpret_cast<void**>(&wrong)),
            E_NOINTERFACE);

  factory->LockServer(TRUE);
  factory->Release();
  EXPECT_EQ(canUnload(), S_FALSE);  // the object and the lock remain
  object->Release();
  EXPECT_EQ(canUnload(), S_FALSE);  // the lock remains
  IClassFactory* again = nullptr;
  ASSERT_EQ(getClassObject(zenlo::CLSID_ZenloFileControl, IID_IClassFactory,
                           reinterpret_cast<void**>(&again)),
            S_OK);
  again->LockServer(FALSE);
  again->Release();
  EXPECT_EQ(canUnload(), S_OK);
  FreeLibrary(dll);
}

}  // namespace
