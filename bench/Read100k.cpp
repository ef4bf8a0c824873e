// Reading a folder of 100,000 files: the listing control against a bare enumeration of the
// same folder, and the memory the control holds per item once the read is done.
// Reports; never fails on timing. Exits non-zero only when the read itself is wrong.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "BenchSupport.h"
#include "toolkit/EventLoop.h"

namespace {

constexpr int kFiles = bench::kFlat100kFiles;
constexpr int kRuns = 3;

// Where a read's time goes, from the yield the read makes after every entry: before the
// first entry, over the entries, and after the last one (sorting and handing over).
struct ReadPhases {
  double start = 0;
  double firstYield = 0;
  double lastYield = 0;
  unsigned long yields = 0;
};

int Run() {
  bench::SetUpProcess();
  bench::DataSet folder(bench::kFlat100kName, bench::FillFlat100k);
  if (!folder.Ok()) return 1;

  // Warms the cache; the timed passes are interleaved with the control's reads below.
  if (bench::BareEnumeration(folder.Path()).files != kFiles) {
    std::printf("error: the bare enumeration did not see %d files\n", kFiles);
    return 1;
  }

  // The control's listing read: the first read of a new control is the one a user waits for
  // when a pane opens the folder; repeats find the per-extension type names already cached
  // and are shown beside it.
  const std::uint64_t before = bench::PrivateBytes();
  bench::QuietHost host;
  bench::ControlPtr control = bench::NewControl(host, zenlo::fbFileAndFolder);

  bench::Best bare;
  double first = 0;
  bench::Best repeat;
  std::uint64_t after = 0;
  bench::ListingMemory memory;
  ReadPhases phases;
  const auto stamp = [p = &phases](unsigned long n) {
    const double t = bench::Now();
    if (n == 1) p->firstYield = t;
    p->lastYield = t;
    p->yields = n;
  };
  for (int run = 0; run < kRuns; ++run) {
    const double b0 = bench::Now();
    const bench::Counts seen = bench::BareEnumeration(folder.Path());
    const double b = bench::Now() - b0;
    if (seen.files != kFiles) {
      std::printf("error: the bare enumeration saw %lld files\n",
                  static_cast<long long>(seen.files));
      return 1;
    }
    bare.Add(b);
    std::printf("bare enumeration   run %d: %8.3f s\n", run + 1, b);

    phases = ReadPhases{};
    tk::SetYieldHook(stamp);
    const double t0 = bench::Now();
    phases.start = t0;
    control->GetFolderContents(folder.Path(), true);
    const double t = bench::Now() - t0;
    tk::SetYieldHook({});
    if (control->ItemCount() != kFiles || host.QuitAsked) {
      std::printf("error: the control listed %d items, expected %d%s\n", control->ItemCount(),
                  kFiles, host.QuitAsked ? " (it asked to quit)" : "");
      return 1;
    }
    std::printf("control read       run %d: %8.3f s  (set-up %.3f, %lu entries %.3f, "
                "after the last entry %.3f)\n",
                run + 1, t, phases.firstYield - phases.start, phases.yields,
                phases.lastYield - phases.firstYield, t0 + t - phases.lastYield);
    if (run == 0) {
      first = t;
      // Memory right after the first read: what a pane holds for this folder.
      after = bench::PrivateBytes();
      memory = bench::MeasureListing(*control);
    } else {
      repeat.Add(t);
    }
  }
  control.reset();
  // Before the summary, so that its last line stays last.
  folder.Remove();

  const double n = kFiles;
  const double ratio = first / bare.Value();
  const double perItem = after > before ? static_cast<double>(after - before) / n : 0.0;
  std::printf("bare enumeration best:  %.3f s (%.0f entries/s)\n", bare.Value(),
              n / bare.Value());
  std::printf("control first read:     %.3f s (%.0f items/s), ratio %.2f\n", first, n / first,
              ratio);
  if (repeat.Runs() > 0)
    std::printf("control repeat best:    %.3f s (%.0f items/s), ratio %.2f\n", repeat.Value(),
                n / repeat.Value(), repeat.Value() / bare.Value());
  std::printf("private bytes: %llu before, %llu after the first read, %.2f per item\n",
              static_cast<unsigned long long>(before), static_cast<unsigned long long>(after),
              perItem);
  bench::PrintListingMemory(memory, n);
  bench::Summary("bench read100k ratio=%.2f bytes_per_item=%.2f", ratio, perItem);
  return 0;
}

}  // namespace

int main() { return bench::Main(Run); }
