// Refreshing a folder of 100,000 files again and again in the same control: the eighth
// re-read against a bare enumeration of the folder, and the memory the control holds after it
// (what a pane that has been refreshed for a while costs).
// Reports; never fails on timing. Exits non-zero only when a read itself is wrong.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "BenchSupport.h"

namespace {

constexpr int kFiles = bench::kFlat100kFiles;
constexpr int kReReads = 8;
constexpr int kMaxSequences = 3;
constexpr double kSequenceBudgetSeconds = 75;  // no further sequence starts after this

int Run() {
  bench::SetUpProcess();
  bench::DataSet folder(bench::kFlat100kName, bench::FillFlat100k);
  if (!folder.Ok()) return 1;
  if (bench::BareEnumeration(folder.Path()).files != kFiles) {
    std::printf("error: the bare enumeration did not see %d files\n", kFiles);
    return 1;
  }

  bench::Best bare;
  bench::Best last;
  std::uint64_t before = 0, after = 0;
  bench::ListingMemory memory;
  const double started = bench::Now();
  // Each sequence is a new control: its first read, then the re-reads a refresh makes. The
  // memory is taken in the first sequence, before any other control has lived.
  for (int sequence = 0; sequence < kMaxSequences; ++sequence) {
    if (sequence > 0 && bench::Now() - started > kSequenceBudgetSeconds) break;
    if (sequence == 0) before = bench::PrivateBytes();
    bench::QuietHost host;
    bench::ControlPtr control = bench::NewControl(host, zenlo::fbFileAndFolder);
    std::printf("sequence %d:", sequence + 1);
    for (int read = 0; read <= kReReads; ++read) {
      const double b0 = bench::Now();
      const bench::Counts seen = bench::BareEnumeration(folder.Path());
      const double b = bench::Now() - b0;
      if (seen.files != kFiles) {
        std::printf("\nerror: the bare enumeration saw %lld files\n",
                    static_cast<long long>(seen.files));
        return 1;
      }
      bare.Add(b);

      const double t0 = bench::Now();
      if (read == 0)
        control->GetFolderContents(folder.Path(), true);
      else
        control->RefreshList();
      const double t = bench::Now() - t0;
      if (control->ItemCount() != kFiles || host.QuitAsked) {
        std::printf("\nerror: read %d listed %d items, expected %d%s\n", read,
                    control->ItemCount(), kFiles, host.QuitAsked ? " (it asked to quit)" : "");
        return 1;
      }
      std::printf(" %s%.3f", read == 0 ? "first " : (read == 1 ? "| re-reads " : ""), t);
      std::fflush(stdout);
      if (read == kReReads) last.Add(t);
    }
    std::printf(" s\n");
    if (sequence == 0) {
      after = bench::PrivateBytes();
      memory = bench::MeasureListing(*control);
    }
  }
  folder.Remove();

  const double n = kFiles;
  const double ratio = last.Value() / bare.Value();
  const double perItem = after > before ? static_cast<double>(after - before) / n : 0.0;
  std::printf("bare enumeration best:      %.3f s over %d runs\n", bare.Value(), bare.Runs());
  std::printf("re-read %d best:             %.3f s over %d sequences, ratio %.2f\n", kReReads,
              last.Value(), last.Runs(), ratio);
  std::printf("private bytes: %llu before the control, %llu after re-read %d, %.2f per item\n",
              static_cast<unsigned long long>(before), static_cast<unsigned long long>(after),
              kReReads, perItem);
  bench::PrintListingMemory(memory, n);
  bench::Summary("bench read100k-refresh ratio=%.2f bytes_per_item=%.2f", ratio, perItem);
  return 0;
}

}  // namespace

int main() { return bench::Main(Run); }
