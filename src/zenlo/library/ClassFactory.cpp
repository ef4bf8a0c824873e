// The library's in-process server: class factories, self-registration and unloading.
#include <windows.h>
#include <objbase.h>
#include <olectl.h>

#include <atomic>
#include <string>

#include "library/LibraryModule.h"
#include "library/ModuleLocks.h"
#include "library/Registration.h"
#include "zenlo/ZenloClassIds.h"
#include "zenlo/ZFCombo.h"
#include "zenlo/ZenloFileControl.h"
#include "zenlo/button_headings.h"

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
    {&CLSID_button_headings, L"button_headings",
     [] { return static_cast<IUnknown*>(button_headings::Create()); }},
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

STDAPI DllRegisterServer() { return RegisterClasses(ModuleFileName(LibraryModule())); }

STDAPI DllUnregisterServer() { return UnregisterClasses(); }
