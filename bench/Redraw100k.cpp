// A full redraw of a listing with its active item on the last page: a pane of 100,000 items
// against the same pane of 100 items. What is drawn is the same page size in both, so the
// ratio is what the number of items costs a redraw.
// Reports; never fails on timing. Exits non-zero only when a redraw is wrong (the active item
// not found again, or the last page not drawn).
#include <windows.h>

#include <cstdio>
#include <string>

#include "BenchSupport.h"
#include "listing/view/ViewState.h"
#include "toolkit/EventLoop.h"

namespace {

constexpr int kBigFiles = bench::kFlat100kFiles;
constexpr int kSmallFiles = 100;
constexpr int kExtensions = 20;
constexpr int kRounds = 25;

struct Pane {
  const wchar_t* label;
  int files;
  bench::ControlPtr control;
};

// Reads the folder into the pane, makes its last item active and scrolls to the last page.
bool Prepare(Pane& pane, const std::wstring& path) {
  zenlo::ZenloFileControl& c = *pane.control;
  c.GetFolderContents(path, true);
  c.ResizeControl(zenlo::vertical);
  if (c.ItemCount() != pane.files) {
    std::printf("error: the %ls pane listed %d items, expected %d\n", pane.label, c.ItemCount(),
                pane.files);
    return false;
  }
  c.SetActiveItemNum(c.ItemCount() - 1);
  zenlo::ViewState& v = c.View();
  v.VScroll1.SetValue(v.VScroll1.Max());
  c.VScrollHasChanged();
  return true;
}

// One full redraw; false when it did not draw the last page with the last item active.
bool Redraw(Pane& pane, double& seconds) {
  zenlo::ZenloFileControl& c = *pane.control;
  const double t0 = bench::Now();
  c.Update(zenlo::updateDrawOnly);
  seconds = bench::Now() - t0;
  const int last = c.ItemCount() - 1;
  if (c.ActiveItem() != last || c.View().LastVisible != last) {
    std::printf("error: the %ls pane's redraw shows items %d..%d with item %d active, expected "
                "the last page with item %d active\n",
                pane.label, c.View().FirstVisible, c.View().LastVisible, c.ActiveItem(), last);
    return false;
  }
  return true;
}

int Run() {
  bench::SetUpProcess();
  const auto name = [](int i) { return bench::NumberedFileName(i, kExtensions); };
  bench::DataSet big(bench::kFlat100kName, bench::FillFlat100k);
  bench::BenchFolder small(L"Redraw100");
  if (!big.Ok() || !small.Ok() || !small.AddFiles(L"", kSmallFiles, name)) return 1;

  bench::HostWindow window(1300, 620);
  bench::QuietHost host;
  Pane panes[2] = {{L"100-item", kSmallFiles, bench::NewControl(host, zenlo::fbFileAndFolder)},
                   {L"100,000-item", kBigFiles, bench::NewControl(host, zenlo::fbFileAndFolder)}};
  for (int k = 0; k < 2; ++k) {
    if (!bench::PlaceControl(*panes[k].control, window.Handle(), k * 640, 0, 630, 580)) {
      std::printf("error: the pane's window could not be made\n");
      return 1;
    }
  }
  if (!Prepare(panes[0], small.Path()) || !Prepare(panes[1], big.Path())) return 1;
  tk::PumpUntil([] { return false; }, 200);

  bench::Best best[2];
  double seconds = 0;
  for (int round = 0; round < kRounds; ++round) {
    for (int k = 0; k < 2; ++k) {
      if (!Redraw(panes[k], seconds)) return 1;
      best[k].Add(seconds);
    }
    tk::PumpPendingMessages();
  }
  const zenlo::ViewState& v = panes[1].control->View();
  std::printf("rows drawn: %d..%d of %d\n", v.FirstVisible, v.LastVisible,
              panes[1].control->ItemCount());
  for (int k = 0; k < 2; ++k)
    std::printf("redraw of the %ls pane best: %.2f ms over %d\n", panes[k].label,
                1000 * best[k].Value(), best[k].Runs());
  panes[0].control.reset();
  panes[1].control.reset();
  big.Remove();
  small.Remove();
  bench::Summary("bench redraw100k ratio=%.2f", best[1].Value() / best[0].Value());
  return 0;
}

}  // namespace

int main() { return bench::Main(Run); }
