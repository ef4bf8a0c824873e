// The library's in-process server: class factories, self-registration and unloading.
#include <windows.h>
#include <objbase.h>
#include <olectl.h>

#include <atomic>
#include <string>

#include "library/LibraryModule.h"
#include "library/ModuleLocks.h"
#include "zenlo/ZenloClassIds.h"
#include "zenlo/ZFCombo.h"
#include "zenlo/ZenloFileControl.h"

namespace zenlo {

namespace {

// One creatable class: its id, its name and how to make an instance.
struct ClassEntry {
  const GUID* clsid;
  const wchar_t* name;
  IUnknown* (*create)();
};

const ClassEntry kClasses[] = {
    {&CLSID_ZenloFileControl, L"ZenloFileControl",
     [] { return static_cast<IUnknown*>(ZenloFileControl::Create()); }},
    {&CLSID_ZFCombo, L"ZFCombo", [] { return static_cast<IUnknown*>(ZFCombo::Create()); }},
};

class ClassFactory final : public IClassFactory {
 public:
  explicit ClassFactory(const ClassEntry& entry) : entry_(entry) { ModuleLocks().Add(); }
  ~ClassFactory() { ModuleLocks().Remove(); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
      *ppv = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    IUnknown* object = nullptr;
    try {
      object = entry_.create();
    } catch (...) {
      return E_OUTOFMEMORY;
    }
    HRESULT hr = object->QueryInterface(riid, ppv);
    object->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock)
      ModuleLocks().Add();
    else
      ModuleLocks().Remove();
    return S_OK;
  }

 private:
  const ClassEntry& entry_;
  std::atomic<ULONG> refs_{1};
};

std::wstring GuidText(const GUID& g) {
  wchar_t text[40];
  StringFromGUID2(g, text, 40);
  return text;
}

bool SetValue(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  HKEY h;
  if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &h, nullptr) !=
      ERROR_SUCCESS)
    return false;
  LONG rc = RegSetValueExW(h, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(h);
  return rc == ERROR_SUCCESS;
}

}  // namespace

ModuleLockCount& ModuleLocks() {
  static ModuleLockCount locks;
  return locks;
}

}  // namespace zenlo

using namespace zenlo;

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  for (const auto& entry : kClasses) {
    if (!IsEqualCLSID(rclsid, *entry.clsid)) continue;
    auto* factory = new (std::nothrow) ClassFactory(entry);
    if (!factory) return E_OUTOFMEMORY;
    HRESULT hr = factory->QueryInterface(riid, ppv);
    factory->Release();
    return hr;
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllCanUnloadNow() { return ModuleLocks().Count() == 0 ? S_OK : S_FALSE; }

STDAPI DllRegisterServer() {
  const std::wstring path = ModuleFileName(LibraryModule());
  if (path.empty()) return SELFREG_E_CLASS;
  for (const auto& entry : kClasses) {
    const std::wstring clsid = GuidText(*entry.clsid);
    const std::wstring progId = std::wstring(L"Zenlo.") + entry.name;
    const std::wstring key = L"CLSID\\" + clsid;
    bool ok = SetValue(HKEY_CLASSES_ROOT, key, nullptr, entry.name) &&
              SetValue(HKEY_CLASSES_ROOT, key + L"\\InprocServer32", nullptr, path) &&
              SetValue(HKEY_CLASSES_ROOT, key + L"\\InprocServer32", L"ThreadingModel",
                       L"Apartment") &&
              SetValue(HKEY_CLASSES_ROOT, key + L"\\ProgID", nullptr, progId) &&
              SetValue(HKEY_CLASSES_ROOT, progId, nullptr, entry.name) &&
              SetValue(HKEY_CLASSES_ROOT, progId + L"\\CLSID", nullptr, clsid);
    if (!ok) return SELFREG_E_CLASS;
  }
  return S_OK;
}

STDAPI DllUnregisterServer() {
  HRESULT result = S_OK;
  for (const auto& entry : kClasses) {
    const std::wstring clsid = GuidText(*entry.clsid);
    const std::wstring progId = std::wstring(L"Zenlo.") + entry.name;
    for (const std::wstring& key : {L"CLSID\\" + clsid, progId}) {
      LONG rc = RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
      if (rc == ERROR_SUCCESS) rc = RegDeleteKeyW(HKEY_CLASSES_ROOT, key.c_str());
      if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND) result = SELFREG_E_CLASS;
    }
  }
  return result;
}
