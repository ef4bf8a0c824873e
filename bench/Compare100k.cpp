// bench compare100k: Compare Folder Contents on two shown panes listing 100,000 files each,
// against one RefreshList of one of those listings, on the real lists in the main window.
// Reports; never fails on timing. Exits non-zero only when a result is wrong.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "ProgramBench.h"
#include "mainwindow/Master.h"
#include "mainwindow/ZenloPaneList.h"
#include "settings/SkinFiles.h"
#include "toolkit/EventLoop.h"

namespace {

// The flat folder of numbered files that scripts/make-bench-data makes natively (the program's
// code links the library as a DLL, so the library benches' support cannot come along).
constexpr int kFiles = 100000;

constexpr int kRounds = 5;

int Matches(const varnello::PaneList& list) {
  int n = 0;
  for (const auto& [path, mark] : list.CompareMarks()) n += mark == zenlo::IsMatch ? 1 : 0;
  return n;
}

int Run() {
  const std::wstring data = bench::Flat100kFolder();
  if (data.empty()) return 1;
  varnello::ZenloPaneListFactory factory(bench::ExeFolder());
  if (!bench::LibraryFound(factory)) return 1;
  const bench::ProgramFolder folder(L"varnello-compare100k");
  const std::wstring& program = folder.Path();
  int status = 0;
  {
    varnello::Master master(program, factory);
    if (!bench::StartMaster(master)) return 1;
    varnello::PaneList* left = master.List(100);
    varnello::PaneList* right = master.List(101);
    left->GetFolderContents(data, true);
    right->GetFolderContents(data, true);
    if (left->ShownItemCount() != kFiles || right->ShownItemCount() != kFiles) {
      std::printf("error: the panes listed %d and %d items, expected %d\n",
                  left->ShownItemCount(), right->ShownItemCount(), kFiles);
      status = 1;
    } else {
      master.List_SetLockedIndex(100);
      double refresh = 1e300, compare = 1e300;
      for (int round = 0; round < kRounds && status == 0; ++round) {
        double t0 = bench::Seconds();
        left->RefreshList();
        refresh = std::min(refresh, bench::Seconds() - t0);
        tk::PumpPendingMessages();
        t0 = bench::Seconds();
        master.CompareFolders();
        compare = std::min(compare, bench::Seconds() - t0);
        tk::PumpPendingMessages();
        if (Matches(*left) != kFiles || Matches(*right) != kFiles) {
          std::printf("error: the compare matched %d and %d of %d files\n", Matches(*left),
                      Matches(*right), kFiles);
          status = 1;
        }
      }
      if (status == 0) {
        std::printf("refresh of %d files best: %.1f ms over %d\n", kFiles, 1000 * refresh,
                    kRounds);
        std::printf("compare of two panes best: %.1f ms over %d\n", 1000 * compare, kRounds);
        std::printf("bench compare100k ratio=%.3f more=%.1f\n", compare / refresh,
                    1000 * compare);
      }
    }
    master.RequestClose();
  }
  std::fflush(stdout);
  return status;
}

}  // namespace

int main() { return Run(); }
