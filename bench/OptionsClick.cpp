// bench optionsclick: a click on a box of the options dialog's Speed page, until the dialog has
// run every message it caused and answers again, with five panes listing 100,000 files each,
// against the same clicks with the five panes on an empty folder, in the same run. A click
// only sets flags in the lists: the ratio should stay near 1. Also the 100k time (ms).
// Reports; never fails on timing. Exits non-zero only when a click did not take.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "ProgramBench.h"
#include "mainwindow/Master.h"
#include "mainwindow/ZenloPaneList.h"
#include "settings/OptionsForm.h"
#include "settings/SkinFiles.h"

namespace {

constexpr int kFiles = 100000;
// Each round clicks the six boxes once: every option goes off and back on.
constexpr int kRounds = 7;

bool ShowFolder(varnello::Master& master, const std::wstring& folder, int expected) {
  for (short pane = 0; pane < varnello::kPaneCount; ++pane) {
    varnello::PaneList* list = master.List(static_cast<short>(100 + pane));
    list->GetFolderContents(folder, true);
    if (list->ShownItemCount() != expected) {
      std::printf("error: pane %d listed %d items, expected %d\n", pane, list->ShownItemCount(),
                  expected);
      return false;
    }
  }
  bench::Pump();
  UpdateWindow(master.Handle());
  return true;
}

// The Speed boxes in turn, each a real button click, until the queue is empty and the dialog
// answers; the median click (ms). False in `ok` when a click did not move its pair.
double TimeClicks(varnello::Master& master, varnello::frmOptions& dialog, bool& ok) {
  std::vector<double> times;
  for (int round = 0; round < kRounds; ++round) {
    for (std::size_t box = 0; box < dialog.chk.size(); ++box) {
      const bool before = dialog.chk[box].Value();
      const double t0 = (1000.0 * bench::Seconds());
      SendMessageW(dialog.chk[box].Handle(), BM_CLICK, 0, 0);
      bench::Pump();
      UpdateWindow(master.Handle());
      SendMessageW(dialog.Handle(), WM_NULL, 0, 0);
      times.push_back((1000.0 * bench::Seconds()) - t0);
      if (dialog.chk[box].Value() == before || dialog.chk[box ^ 1u].Value() != before) ok = false;
    }
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

int Run() {
  const std::wstring data = bench::Flat100kFolder();
  if (data.empty()) return 1;
  varnello::ZenloPaneListFactory factory(bench::ExeFolder());
  if (!bench::LibraryFound(factory)) return 1;
  const bench::ProgramFolder folder(L"varnello-optionsclick");
  const std::wstring& program = folder.Path();
  const std::wstring empty = program + L"\\empty";
  CreateDirectoryW(empty.c_str(), nullptr);
  int status = 0;
  {
    varnello::Master master(program, factory);
    if (!bench::StartMaster(master)) return 1;
    master.SwitchLayout(L"vertical");
    for (short pane = 2; pane < varnello::kPaneCount; ++pane) master.ChangePanes(pane);
    bench::Pump();
    master.ShowOptions();
    varnello::frmOptions* dialog = master.OptionsDialog();
    bool ok = true;
    if (master.Options.ShownPaneCount != 5 || !dialog) {
      std::printf("error: five panes and the options dialog could not be opened\n");
      status = 1;
    } else if (ShowFolder(master, empty, 0)) {
      dialog->ShowOptions(2);
      bench::Pump();
      TimeClicks(master, *dialog, ok);  // warm up
      const double few = TimeClicks(master, *dialog, ok);
      if (!ShowFolder(master, data, kFiles)) {
        status = 1;
      } else {
        TimeClicks(master, *dialog, ok);
        const double many = TimeClicks(master, *dialog, ok);
        if (!ok) {
          std::printf("error: a click did not move its pair of boxes\n");
          status = 1;
        } else {
          std::printf("click over five empty panes median: %.2f ms\n", few);
          std::printf("click over five 100k panes median: %.2f ms\n", many);
          std::printf("bench optionsclick ratio=%.2f more=%.2f\n", many / few, many);
        }
      }
    } else {
      status = 1;
    }
    master.RequestClose();
  }
  RemoveDirectoryW(empty.c_str());
  std::fflush(stdout);
  return status;
}

}  // namespace

int main() { return Run(); }
