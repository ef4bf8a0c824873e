// Marking every item of a 100,000-item listing and listing their paths, against the read of
// the same folder: select all, then GetFileSpecs. A Shift range over all items is timed too.
// Reports; never fails on timing. Exits non-zero only when a result is wrong.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "BenchSupport.h"
#include "toolkit/EventLoop.h"

namespace {

constexpr int kFiles = bench::kFlat100kFiles;
constexpr int kReads = 3;
constexpr int kRounds = 10;

bool Check(zenlo::ZenloFileControl& c, const std::wstring& summary, const char* what) {
  const auto paths = std::count(c.FileSpecs.begin(), c.FileSpecs.end(), L'\0') - 1;
  if (summary != std::to_wstring(kFiles) + L" files" || paths != kFiles) {
    std::printf("error: after %s the list held %lld paths (\"%ls\"), expected %d\n", what,
                static_cast<long long>(paths), summary.c_str(), kFiles);
    return false;
  }
  return true;
}

int Run() {
  bench::SetUpProcess();
  bench::DataSet data(bench::kFlat100kName, bench::FillFlat100k);
  if (!data.Ok()) return 1;
  bench::HostWindow window(700, 620);
  bench::QuietHost host;
  bench::ControlPtr control = bench::NewControl(host, zenlo::fbFileAndFolder);
  zenlo::ZenloFileControl& c = *control;
  if (!bench::PlaceControl(c, window.Handle(), 0, 0, 630, 580)) {
    std::printf("error: the pane's window could not be made\n");
    return 1;
  }

  bench::Best read, select, range;
  for (int i = 0; i < kReads; ++i) {
    const double t0 = bench::Now();
    c.GetFolderContents(data.Path(), true);
    read.Add(bench::Now() - t0);
  }
  c.ResizeControl(zenlo::vertical);
  if (c.ItemCount() != kFiles) {
    std::printf("error: the pane listed %d items, expected %d\n", c.ItemCount(), kFiles);
    return 1;
  }
  tk::PumpUntil([] { return false; }, 200);

  for (int round = 0; round < kRounds; ++round) {
    c.SelectAll(L"none");
    double t0 = bench::Now();
    c.SelectAll(L"all");
    const std::wstring summary = c.GetFileSpecs();
    select.Add(bench::Now() - t0);
    if (!Check(c, summary, "select all")) return 1;

    // An unmarking click, then a range from the last item to the first unmarks the rest; a
    // marking click and the same range marks them all again.
    c.AddArrowToItem(0, -1);
    t0 = bench::Now();
    c.AddArrowToRange(kFiles - 1, 0);
    const double unmarkRange = bench::Now() - t0;
    if (c.GetFileSpecs() != L"") {
      std::printf("error: a range after an unmarking click left items marked\n");
      return 1;
    }
    c.AddArrowToItem(0, 1);
    t0 = bench::Now();
    c.AddArrowToRange(kFiles - 1, 0);
    range.Add(std::max(unmarkRange, bench::Now() - t0));
    if (!Check(c, c.GetFileSpecs(), "a range")) return 1;
    tk::PumpPendingMessages();
  }
  std::printf("read of %d files best: %.1f ms over %d\n", kFiles, 1000 * read.Value(), read.Runs());
  std::printf("select all + file specs best: %.1f ms over %d\n", 1000 * select.Value(), select.Runs());
  std::printf("range over all best: %.1f ms over %d\n", 1000 * range.Value(), range.Runs());
  control.reset();
  data.Remove();
  bench::Summary("bench select100k ratio=%.3f", select.Value() / read.Value());
  return 0;
}

}  // namespace

int main() { return bench::Main(Run); }
