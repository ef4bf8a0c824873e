#pragma once
// Self-registration of the library's classes for the current user (HKCU\Software\Classes):
// CLSID, ProgID "Zenlo.<ClassName>" and InprocServer32. The program loads the library from its
// own folder and needs no registration; other hosts find the classes here without an
// administrator.
#include <windows.h>

#include <functional>
#include <string>

namespace zenlo {

// Writes every class's keys; on a failure removes again what this call created.
HRESULT RegisterClasses(const std::wstring& serverPath);
// Removes the keys RegisterClasses writes, and nothing else.
HRESULT UnregisterClasses();

// Tests: asked before each key is written (path below HKCU\Software\Classes); false makes that
// write fail as the registry would.
std::function<bool(const std::wstring& key)>& RegistrationWriteSeam();

}  // namespace zenlo
