// Sorting a listing of 100,000 read items by name, by size and by date, against the time of
// reading them in the same run. Each sort is a user's request (DoSorting), the redraw and the
// active item included; a three-level sort (size, date, name) is shown beside it.
// Reports; never fails on timing. Exits non-zero only when a sort leaves a wrong order.
#include <windows.h>

#include <cstdio>
#include <string>

#include "BenchSupport.h"
#include "listing/view/ViewState.h"
#include "toolkit/Text.h"

namespace {

constexpr int kFiles = 100000;
constexpr int kRuns = 3;

bool FillSort100k(bench::BenchFolder& folder) {
  return folder.AddFiles(L"", kFiles, [](int i) { return bench::NumberedFileName(i, 20); });
}

void Request(zenlo::ZenloFileControl& c, const wchar_t* key, const wchar_t* order) {
  zenlo::HeadingsTable& headings = c.View().Headings;
  headings.ActiveHeadingIndex = static_cast<std::int16_t>(headings.SlotOfKey(key));
  c.DoSorting(order);
}

// Adjacent items in the order the heading asks for (names without regard to case).
bool Ordered(const zenlo::ZenloFileControl& c, const wchar_t* key) {
  const auto& items = c.ListItems();
  for (std::int32_t i = 1; i < c.ItemCount(); ++i) {
    const zenlo::TypeListItem& a = items[static_cast<std::size_t>(i - 1)];
    const zenlo::TypeListItem& b = items[static_cast<std::size_t>(i)];
    const std::wstring k = key;
    if (k == L"sName" ? tk::CompareText(a.Name, b.Name) > 0
        : k == L"sSize" ? a.Size() > b.Size()
                        : a.LastWriteTime() / 600000000ULL > b.LastWriteTime() / 600000000ULL) {
      std::printf("error: items %d and %d are out of order by %ls\n", i - 1, i, key);
      return false;
    }
  }
  return true;
}

int Run() {
  bench::SetUpProcess();
  bench::DataSet folder(L"sort100k", FillSort100k);
  if (!folder.Ok()) return 1;
  bench::QuietHost host;
  bench::ControlPtr control = bench::NewControl(host, zenlo::fbFileAndFolder);
  control->SetHeadingsDefaults();

  bench::Best read, byName, bySize, byDate, threeLevels;
  for (int run = 0; run < kRuns; ++run) {
    control->SortReset();
    const double r0 = bench::Now();
    control->GetFolderContents(folder.Path(), true);
    const double r = bench::Now() - r0;
    if (control->ItemCount() != kFiles || host.QuitAsked || host.Messages) {
      std::printf("error: the control listed %d items, expected %d\n", control->ItemCount(), kFiles);
      return 1;
    }
    read.Add(r);
    struct Timed {
      const wchar_t* key;
      bench::Best* best;
      double seconds;
    } timed[] = {{L"sName", &byName, 0}, {L"sSize", &bySize, 0}, {L"sDateLastModified", &byDate, 0}};
    for (Timed& t : timed) {
      const double s0 = bench::Now();
      Request(*control, t.key, L"asc");
      t.seconds = bench::Now() - s0;
      t.best->Add(t.seconds);
      if (!Ordered(*control, t.key)) return 1;
    }
    const double m0 = bench::Now();
    Request(*control, L"sSize", L"asc");
    Request(*control, L"sDateLastModified", L"ascadd");
    Request(*control, L"sName", L"ascadd");
    const double m = bench::Now() - m0;
    threeLevels.Add(m);
    if (control->GetNumberOfSorts() != 3 || host.Messages) {
      std::printf("error: the three-level sort did not keep three levels\n");
      return 1;
    }
    std::printf("run %d: read %.3f s; sort by name %.3f s, size %.3f s, date %.3f s; "
                "three levels %.3f s\n",
                run + 1, r, timed[0].seconds, timed[1].seconds, timed[2].seconds, m);
  }
  control.reset();
  folder.Remove();
  const double sorts = byName.Value() + bySize.Value() + byDate.Value();
  std::printf("best read %.3f s; best sorts: name %.3f, size %.3f, date %.3f (sum %.3f); "
              "three levels %.3f\n",
              read.Value(), byName.Value(), bySize.Value(), byDate.Value(), sorts,
              threeLevels.Value());
  bench::Summary("bench sort100k ratio=%.2f", sorts / read.Value());
  return 0;
}

}  // namespace

int main() { return bench::Main(Run); }
