// bench skinswitch: Master::LoadSkin reading a skin file and applying it, against
// ApplySkinChange with the same colours already in memory, with five panes loaded on the real
// lists. The median of several switches between two skins each, until the window has painted;
// also the load time (ms).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "ProgramBench.h"
#include "mainwindow/Master.h"
#include "mainwindow/ZenloPaneList.h"
#include "settings/SkinFiles.h"

namespace {

double Now() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

// Median time of `switchTo(i)` for i = 0, 1, 0, 1, ..., each until the window has painted.
double TimeSwitches(varnello::Master& master, const std::function<void(int)>& switchTo) {
  std::vector<double> times;
  for (int i = 0; i < 21; ++i) {
    const double t0 = Now();
    switchTo(i % 2);
    UpdateWindow(master.Handle());
    bench::Pump();
    times.push_back(Now() - t0);
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

std::wstring ExeFolder() {
  wchar_t exe[MAX_PATH];
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring path = exe;
  path.resize(path.find_last_of(L'\\'));
  return path;
}

}  // namespace

int main() {
  varnello::ZenloPaneListFactory factory(ExeFolder());
  if (!factory.Loaded()) {
    std::fprintf(stderr, "skinswitch: Zenlo.dll not found beside the program\n");
    return 1;
  }
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring program = std::wstring(temp) + L"varnello-skinswitch";
  CreateDirectoryW(program.c_str(), nullptr);
  DeleteFileW((program + L"\\run.txt").c_str());
  const varnello::SkinFolder skins(program);
  varnello::SkinColours colours[2];
  colours[1].ColorListBackground = RGB(240, 250, 230);
  colours[1].ColorActiveTitle = RGB(30, 100, 30);
  colours[1].ColorProgramBackground = RGB(150, 200, 110);
  const wchar_t* names[2] = {L"Cloud 9", L"second"};
  for (int i = 0; i < 2; ++i) skins.Write(names[i], colours[i]);
  int status = 0;
  {
    varnello::Master master(program, factory);
    bench::QuietReporter reporter;
    master.Form_Load(reporter);
    if (!reporter.Loaded) {
      std::fprintf(stderr, "skinswitch: the main window did not load\n");
      return 1;
    }
    master.Show();
    bench::Pump();
    master.SwitchLayout(L"vertical");
    for (short pane = 2; pane < varnello::kPaneCount; ++pane) master.ChangePanes(pane);
    bench::Pump();
    if (master.Options.ShownPaneCount != 5) {
      std::fprintf(stderr, "skinswitch: five panes could not be opened\n");
      status = 1;
    } else {
      auto fromFile = [&](int i) { master.LoadSkin(names[i]); };
      auto inMemory = [&](int i) {
        master.Skin = colours[i];
        master.ApplySkinChange();
      };
      TimeSwitches(master, inMemory);  // warm up
      TimeSwitches(master, fromFile);
      const double memory = TimeSwitches(master, inMemory);
      const double file = TimeSwitches(master, fromFile);
      std::printf("bench skinswitch ratio=%.2f more=%.2f apply=%.2f\n", file / memory, file,
                  memory);
    }
    master.RequestClose();
  }
  DeleteFileW((program + L"\\run.txt").c_str());
  DeleteFileW((program + L"\\user.usr").c_str());
  for (const wchar_t* name : names) DeleteFileW(skins.PathFor(name).c_str());
  RemoveDirectoryW(skins.Path().c_str());
  RemoveDirectoryW(program.c_str());
  return status;
}
