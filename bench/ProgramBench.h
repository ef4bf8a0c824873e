#pragma once
// What the benchmarks of the whole main window share: a start-up reporter that stays quiet,
// running the messages a change left behind, a fresh program folder, the bench data and the
// main window loaded and shown.
#include <windows.h>

#include <cstdio>
#include <string>

#include "mainwindow/Master.h"
#include "mainwindow/ProgramMessageBox.h"
#include "mainwindow/StartupReporter.h"
#include "mainwindow/ZenloPaneList.h"
#include "settings/SkinColours.h"
#include "settings/SkinFiles.h"

namespace bench {

struct QuietReporter final : varnello::StartupReporter {
  bool Loaded = false;
  void SetStatus(const std::wstring&) override {}
  std::wstring Status() const override { return L""; }
  void SetLoadedFlag() override { Loaded = true; }
  void SetShutDown() override {}
};

// A program box would wait for a click nobody makes: each is said and closed instead.
inline const bool kProgramBoxesAnswered = [] {
  varnello::MessageBoxForm::SetShownHook([](varnello::MessageBoxForm& box) {
    std::printf("message box: %ls\n", box.Text().c_str());
    box.CloseWithoutAnswer();
  });
  return true;
}();

inline void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// Seconds on the performance counter.
inline double Seconds() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

// The folder this program runs from, where Zenlo.dll lies beside it.
inline std::wstring ExeFolder() {
  wchar_t exe[MAX_PATH];
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  const std::wstring path = exe;
  return path.substr(0, path.find_last_of(L'\\'));
}

// The flat folder of 100,000 numbered files that scripts/make-bench-data makes natively; empty,
// with the reason said, when it is missing.
inline std::wstring Flat100kFolder() {
  wchar_t root[MAX_PATH + 1] = L"";
  const DWORD n = GetEnvironmentVariableW(L"VARNELLO_BENCH_DATA", root, MAX_PATH + 1);
  const std::wstring at = n == 0 || n > MAX_PATH ? L"" : std::wstring(root) + L"\\flat100k";
  if (at.empty() || GetFileAttributesW((at + L".complete").c_str()) == INVALID_FILE_ATTRIBUTES) {
    std::printf("error: no flat100k folder: run this through scripts/bench\n");
    return {};
  }
  return at;
}

// A program folder of its own in the temp folder, holding the default skin the start-up loads
// and no marker or settings of an earlier (perhaps stopped) run; removed again at the end.
class ProgramFolder {
 public:
  explicit ProgramFolder(const std::wstring& name) {
    wchar_t temp[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + name;
    CreateDirectoryW(path_.c_str(), nullptr);
    ClearRunFiles();
    varnello::SkinFolder(path_).Write(L"Cloud 9", varnello::SkinColours{});
  }
  ~ProgramFolder() {
    ClearRunFiles();
    DeleteFileW(varnello::SkinFolder(path_).PathFor(L"Cloud 9").c_str());
    RemoveDirectoryW(varnello::SkinFolder(path_).Path().c_str());
    RemoveDirectoryW(path_.c_str());
  }
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;
  const std::wstring& Path() const { return path_; }

 private:
  void ClearRunFiles() const {
    for (const wchar_t* name : {L"\\run.txt", L"\\user.usr"}) DeleteFileW((path_ + name).c_str());
  }
  std::wstring path_;
};

// Whether the lists' library was found beside the program; says so when not.
inline bool LibraryFound(const varnello::ZenloPaneListFactory& factory) {
  if (!factory.Loaded()) std::printf("error: Zenlo.dll not found beside the program\n");
  return factory.Loaded();
}

// Loads and shows the main window; false, with the reason said, when it did not load.
inline bool StartMaster(varnello::Master& master) {
  QuietReporter reporter;
  master.Form_Load(reporter);
  if (!reporter.Loaded) {
    std::printf("error: the main window did not load\n");
    return false;
  }
  master.Show();
  Pump();
  return true;
}

}  // namespace bench
