// The program as the end-to-end tests run it: Varnello.exe plus the state report window. Never
// shipped: the program folder and the run script use the plain build.
#include <windows.h>

#include "StateReport.h"
#include "mainwindow/VarnelloApp.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  return varnello::RunProgram([](varnello::VarnelloApp& app) {
    varnello::StateReportWindow report(app);
    return app.Run();
  });
}
