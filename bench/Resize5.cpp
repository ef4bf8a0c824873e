// bench resize5: one resize of the main window (layout and repaint) with five panes shown,
// against the same resize with one pane, on the real lists, in the vertical layout where
// every list has room. The median of several resizes each; also the five-pane time (ms).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "ProgramBench.h"
#include "mainwindow/Master.h"
#include "settings/SkinFiles.h"
#include "mainwindow/ZenloPaneList.h"

namespace {

double Now() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

// Median time of resizes between two sizes, each until the window has painted.
double TimeResizes(varnello::Master& master) {
  std::vector<double> times;
  for (int i = 0; i < 15; ++i) {
    const int w = i % 2 ? 1200 : 1260, h = i % 2 ? 820 : 860;
    const double t0 = Now();
    SetWindowPos(master.Handle(), nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER);
    UpdateWindow(master.Handle());
    bench::Pump();
    times.push_back(Now() - t0);
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

std::wstring Folder(const wchar_t* relative) {
  wchar_t exe[MAX_PATH];
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring path = exe;
  path.resize(path.find_last_of(L'\\'));
  return path + relative;
}

}  // namespace

int main() {
  varnello::ZenloPaneListFactory factory(Folder(L""));
  if (!factory.Loaded()) {
    std::fprintf(stderr, "resize5: Zenlo.dll not found beside the program\n");
    return 1;
  }
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring program = std::wstring(temp) + L"varnello-resize5";
  CreateDirectoryW(program.c_str(), nullptr);
  // A marker left by a run that was stopped would make the start-up ask about it, and the
  // settings an earlier run saved would start it with other panes: every run starts afresh.
  for (const wchar_t* name : {L"\\run.txt", L"\\user.usr"}) DeleteFileW((program + name).c_str());
  int status = 0;
  // The start-up loads the default skin from the program folder.
  varnello::SkinFolder(program).Write(L"Cloud 9", varnello::SkinColours{});
  {
    varnello::Master master(program, factory);
    bench::QuietReporter reporter;
    master.Form_Load(reporter);
    if (!reporter.Loaded) {
      std::fprintf(stderr, "resize5: the main window did not load\n");
      return 1;
    }
    master.Show();
    bench::Pump();
    master.SwitchLayout(L"vertical");
    master.ChangePanes(1);  // one pane left
    bench::Pump();
    TimeResizes(master);  // warm up
    const double one = TimeResizes(master);
    for (short pane = 1; pane < varnello::kPaneCount; ++pane) master.ChangePanes(pane);
    bench::Pump();
    if (master.Options.ShownPaneCount != 5) {
      std::fprintf(stderr, "resize5: five panes could not be opened\n");
      status = 1;
    } else {
      TimeResizes(master);
      const double five = TimeResizes(master);
      std::printf("bench resize5 ratio=%.2f more=%.1f one=%.1f\n", five / one, five, one);
    }
    master.RequestClose();
  }
  for (const wchar_t* name : {L"\\run.txt", L"\\user.usr"}) DeleteFileW((program + name).c_str());
  DeleteFileW(varnello::SkinFolder(program).PathFor(L"Cloud 9").c_str());
  RemoveDirectoryW(varnello::SkinFolder(program).Path().c_str());
  RemoveDirectoryW(program.c_str());
  return status;
}
