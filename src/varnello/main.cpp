// Varnello.exe: starts with the splash, which loads the main window.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "mainwindow/VarnelloApp.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  OleInitialize(nullptr);
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  int rc = 0;
  try {
    varnello::VarnelloApp app(varnello::ExecutableFolder());
    rc = app.Run();
  } catch (...) {
    rc = 1;
  }
  OleUninitialize();
  return rc;
}
