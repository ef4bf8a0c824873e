// bench startupdeadserver: time from launching Varnello.exe to its main window answering input
// while the update server accepts the connection and never replies, against a start whose
// update port is refused, in the same run. The median of three starts each, alternating; the
// dead-server start's milliseconds in `more`.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "LoopbackServer.h"
#include "ProgramRun.h"

namespace {

// Milliseconds from the launch until the main window is shown and handles a message; -1 on
// failure.
double LaunchUntilAnswering(const std::wstring& folder, const std::wstring& updateFolder) {
  SetEnvironmentVariableW(L"VARNELLO_UPDATE_URL", updateFolder.c_str());
  e2e::ProgramRun program;
  LARGE_INTEGER f, t0, t1;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t0);
  if (!program.Start(folder)) return -1;
  HWND main = program.WaitForMainWindow(60000);
  if (!main) return -1;
  // The start-up tick ends with the automatic check: the window answers once it is over.
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result)) return -1;
  QueryPerformanceCounter(&t1);
  if (program.Close(30000) != 0) return -1;
  return 1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) /
         static_cast<double>(f.QuadPart);
}

}  // namespace

int main() {
  const std::wstring folder = e2e::MakeProgramFolder(e2e::BinFolder(), e2e::TempBase());
  if (folder.empty()) {
    std::fprintf(stderr, "startupdeadserver: could not lay out a program folder\n");
    return 1;
  }
  e2e::LoopbackServer dead;
  dead.SetSilent(true);
  if (!dead.Listening()) {
    std::fprintf(stderr, "startupdeadserver: no server on 127.0.0.1\n");
    return 1;
  }
  std::vector<double> silent, refused;
  for (int run = 0; run < 3; ++run) {
    const double r = LaunchUntilAnswering(folder, e2e::LoopbackServer::RefusedUpdateFolder());
    const double s = LaunchUntilAnswering(folder, dead.UpdateFolder());
    if (r < 0 || s < 0) {
      std::fprintf(stderr, "startupdeadserver: a start failed\n");
      return 1;
    }
    refused.push_back(r);
    silent.push_back(s);
  }
  e2e::RemoveProgramFolder(folder);
  std::sort(silent.begin(), silent.end());
  std::sort(refused.begin(), refused.end());
  std::printf("bench startupdeadserver ratio=%.2f more=%.0f refused=%.0f connections=%d\n",
              silent[1] / refused[1], silent[1], refused[1],
              dead.Accepted());
  return 0;
}
