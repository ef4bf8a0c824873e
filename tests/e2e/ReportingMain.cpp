// The program as the end-to-end tests run it: Varnello.exe plus the state report window. Never
// shipped: the program folder and the run script use the plain build.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "StateReport.h"
#include "mainwindow/VarnelloApp.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  OleInitialize(nullptr);
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  int rc = 0;
  try {
    varnello::VarnelloApp app(varnello::ExecutableFolder());
    varnello::StateReportWindow report(app);
    rc = app.Run();
  } catch (...) {
    rc = 1;
  }
  OleUninitialize();
  return rc;
}
