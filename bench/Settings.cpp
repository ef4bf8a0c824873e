// bench settings: saving user.usr for five loaded panes (about 2,000 records), reading it back
// and replaying every pane, against writing and reading the same bytes the same way (temporary
// file, flush, replace). The best of several runs.
#include <windows.h>

#include <cstdio>
#include <string>

#include "BenchSupport.h"
#include "ProgramBench.h"
#include "RecordingLists.h"
#include "mainwindow/Master.h"
#include "settings/SkinFiles.h"
#include "toolkit/SettingRecords.h"

int main() {
  bench::SetUpProcess();
  vtest::TempDir dir;
  dir.Write(L"user.usr", "\"Status\",0,0,0,0,0\r\n");
  // The start-up loads the default skin from the program folder.
  varnello::SkinFolder(dir.Path()).Write(L"Cloud 9", varnello::SkinColours{});
  vtest::RecordingFactory lists;
  // Nobody reads the test double's call log here; writing it is not the program's cost.
  lists.Log.Recording = false;
  varnello::Master master(dir.Path(), lists);
  bench::QuietReporter reporter;
  master.Form_Load(reporter);
  if (!reporter.Loaded) {
    std::fprintf(stderr, "settings: the main window did not load\n");
    return 1;
  }
  // Every run starts from the same panes: the recording lists keep whatever is replayed into
  // them (and log it), so without this each run would save twice the folders of the last.
  auto loadPanes = [&] {
    lists.Log.Calls.clear();
    for (short p = 0; p < varnello::kPaneCount; ++p) {
      vtest::RecordingList& tree = lists[p];
      tree.Expanded.clear();
      for (int n = 0; n < 220; ++n) tree.Expanded.push_back(L"C:\\Folder " + std::to_wstring(n) + L"\\");
      tree.Places = {{L"C", L"C:\\Folder 1\\"}, {L"D", L"D:\\Music\\"}};
    }
  };
  loadPanes();
  const std::wstring file = dir.File(L"user.usr");
  master.SaveSettings();
  const std::string bytes = tk::ReadFileBytes(file).value_or("");
  const size_t records = master.Settings().SettingsRecords().size();

  bench::Best settings, reference;
  for (int run = 0; run < 7; ++run) {
    loadPanes();
    double t0 = bench::Now();
    master.SaveSettings();
    short all = -1;
    master.Settings().CacheUserSettings(all);
    for (short p = 0; p < varnello::kPaneCount; ++p) master.Settings().ReplayCachedSettings(p);
    settings.Add(bench::Now() - t0);

    t0 = bench::Now();
    if (tk::ReplaceFileContents(file, bytes) != 0) return 1;
    const auto back = tk::ReadFileBytes(file);
    if (!back || back->size() != bytes.size()) return 1;
    reference.Add(bench::Now() - t0);
  }
  std::printf("bench settings ratio=%.2f more=%zu\n", settings.Value() / reference.Value(), records);
  return 0;
}
