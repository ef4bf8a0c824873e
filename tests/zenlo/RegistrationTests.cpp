// Self-registration of Zenlo.dll and creating its classes through COM and its class factory.
#include <gtest/gtest.h>
#include <objbase.h>

#include <string>

#include "zenlo/ZenloClassIds.h"

namespace {

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

std::wstring ReadValue(const std::wstring& key, const wchar_t* name) {
  wchar_t data[1024] = {};
  DWORD size = sizeof data;
  if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &size) !=
      ERROR_SUCCESS)
    return L"<missing>";
  return data;
}

std::wstring ClsidKey() {
  wchar_t text[40];
  StringFromGUID2(zenlo::CLSID_ZenloFileControl, text, 40);
  return std::wstring(L"CLSID\\") + text;
}

class Registration : public ::testing::Test {
 protected:
  void SetUp() override {
    dll_ = DllPath();
    ASSERT_FALSE(dll_.empty()) << "ZENLO_DLL is not set: run the tests through ctest";
  }
  std::wstring dll_;
};

TEST_F(Registration, Regsvr32RegistersAndCreatesThenUnregisters) {
  ASSERT_EQ(RunRegsvr32(L"/s \"" + dll_ + L"\""), 0u);
  EXPECT_EQ(_wcsicmp(ReadValue(ClsidKey() + L"\\InprocServer32", nullptr).c_str(), dll_.c_str()), 0)
      << ReadValue(ClsidKey() + L"\\InprocServer32", nullptr);
  EXPECT_EQ(ReadValue(ClsidKey() + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
  EXPECT_EQ(ReadValue(ClsidKey(), nullptr), L"ZenloFileControl");

  CLSID fromProgId{};
  ASSERT_EQ(CLSIDFromProgID(L"Zenlo.ZenloFileControl", &fromProgId), S_OK);
  EXPECT_TRUE(IsEqualCLSID(fromProgId, zenlo::CLSID_ZenloFileControl));

  for (const CLSID* clsid : {&zenlo::CLSID_ZenloFileControl, &zenlo::CLSID_ZFCombo}) {
    IUnknown* control = nullptr;
    ASSERT_EQ(CoCreateInstance(*clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&control)),
              S_OK);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->Release(), 0u);
  }
  EXPECT_EQ(CLSIDFromProgID(L"Zenlo.ZFCombo", &fromProgId), S_OK);
  EXPECT_TRUE(IsEqualCLSID(fromProgId, zenlo::CLSID_ZFCombo));

  ASSERT_EQ(RunRegsvr32(L"/u /s \"" + dll_ + L"\""), 0u);
  EXPECT_EQ(ReadValue(ClsidKey() + L"\\InprocServer32", nullptr), L"<missing>");
  EXPECT_EQ(ReadValue(L"Zenlo.ZenloFileControl\\CLSID", nullptr), L"<missing>");
  EXPECT_NE(CLSIDFromProgID(L"Zenlo.ZenloFileControl", &fromProgId), S_OK);
  EXPECT_NE(CLSIDFromProgID(L"Zenlo.ZFCombo", &fromProgId), S_OK);
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
