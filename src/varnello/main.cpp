// Varnello.exe: starts with the splash, which loads the main window.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <string>

#include "mainwindow/VarnelloApp.h"

namespace {

std::wstring ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  const auto slash = path.find_last_of(L'\\');
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  OleInitialize(nullptr);
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  int rc = 0;
  try {
    varnello::VarnelloApp app(ProgramFolder());
    rc = app.Run();
  } catch (...) {
    rc = 1;
  }
  OleUninitialize();
  return rc;
}
