#pragma once
#include <windows.h>

#include <string>

namespace zenlo {

// The module holding the library's code and resources (Zenlo.dll, or the program it is linked
// into).
HMODULE LibraryModule();
std::wstring ModuleFileName(HMODULE module);

}  // namespace zenlo
