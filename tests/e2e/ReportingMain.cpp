// The program as the end-to-end tests run it: Varnello.exe plus the state report window. Never
// shipped: the program folder and the run script use the plain build.
#include <windows.h>

#include "StateReport.h"
#include "mainwindow/VarnelloApp.h"

namespace {

// Nothing listens on the discard port here: by default the update check is refused at once.
const wchar_t kLoopbackUpdateFolder[] = L"http://127.0.0.1:9/vr_ver/";

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  return varnello::RunProgram([](varnello::VarnelloApp& app) {
    // The update check asks a test's own server on 127.0.0.1 (VARNELLO_UPDATE_URL), never the
    // web; the per-user options are kept apart from the shipped program's.
    wchar_t address[512] = L"";
    const DWORD n = GetEnvironmentVariableW(L"VARNELLO_UPDATE_URL", address, 512);
    app.SetUpdateAddress(n > 0 && n < 512 ? address : kLoopbackUpdateFolder);
    app.SetUserStoreName(varnello::kReportingStoreName);
    varnello::StateReportWindow report(app);
    return app.Run();
  });
}
