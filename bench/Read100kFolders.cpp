// Reading a folder of 99,000 files and 1,000 sub-folders: the listing control against a bare
// enumeration of the same folder. Folders cost the control more than files, so this is the
// read of a folder that holds both.
// Reports; never fails on timing. Exits non-zero only when a read itself is wrong.
#include <windows.h>

#include <cstdio>
#include <string>

#include "BenchSupport.h"

namespace {

constexpr int kFiles = 99000;
constexpr int kFolders = 1000;
constexpr int kExtensions = 20;
constexpr int kMaxRuns = 3;
constexpr double kControlBudgetSeconds = 90;  // no further read starts after this much

std::wstring FolderName(int i) {
  wchar_t name[16];
  std::swprintf(name, 16, L"d%04d", i);
  return name;
}

int Run() {
  bench::SetUpProcess();
  bench::DataSet folder(L"mixed100k", [](bench::BenchFolder& f) {
    for (int i = 0; i < kFolders; ++i)
      if (!f.AddFolder(FolderName(i))) return false;
    return f.AddFiles(L"", kFiles, [](int i) { return bench::NumberedFileName(i, kExtensions); });
  });
  if (!folder.Ok()) return 1;
  const bench::Counts warm = bench::BareEnumeration(folder.Path());
  if (warm.files != kFiles || warm.folders != kFolders) {
    std::printf("error: the bare enumeration saw %lld files and %lld folders\n",
                static_cast<long long>(warm.files), static_cast<long long>(warm.folders));
    return 1;
  }

  bench::QuietHost host;
  bench::ControlPtr control = bench::NewControl(host, zenlo::fbFileAndFolder);
  bench::Best bare;
  bench::Best read;
  const auto timeBare = [&] {
    const double b0 = bench::Now();
    const bench::Counts seen = bench::BareEnumeration(folder.Path());
    const double b = bench::Now() - b0;
    if (seen.files != kFiles || seen.folders != kFolders) {
      std::printf("error: the bare enumeration saw %lld files and %lld folders\n",
                  static_cast<long long>(seen.files), static_cast<long long>(seen.folders));
      return false;
    }
    bare.Add(b);
    std::printf("bare enumeration   run %d: %8.3f s\n", bare.Runs(), b);
    std::fflush(stdout);
    return true;
  };
  double spent = 0;
  for (int run = 0; run < kMaxRuns && spent < kControlBudgetSeconds; ++run) {
    if (!timeBare()) return 1;

    const double t0 = bench::Now();
    control->GetFolderContents(folder.Path(), true);
    const double t = bench::Now() - t0;
    spent += t;
    if (control->ItemCount() != kFiles + kFolders || control->FoldersShown() != kFolders ||
        host.QuitAsked) {
      std::printf("error: the control listed %d items (%d folders), expected %d (%d)%s\n",
                  control->ItemCount(), control->FoldersShown(), kFiles + kFolders, kFolders,
                  host.QuitAsked ? " (it asked to quit)" : "");
      return 1;
    }
    read.Add(t);
    std::printf("control read       run %d: %8.3f s\n", run + 1, t);
    std::fflush(stdout);
  }
  // One read may take minutes: the reference gets a few passes after it all the same.
  while (bare.Runs() < kMaxRuns)
    if (!timeBare()) return 1;
  control.reset();
  folder.Remove();

  const double ratio = read.Value() / bare.Value();
  std::printf("bare enumeration best:  %.3f s over %d runs\n", bare.Value(), bare.Runs());
  std::printf("control read best:      %.3f s over %d runs\n", read.Value(), read.Runs());
  bench::Summary("bench read100k-folders ratio=%.2f", ratio);
  return 0;
}

}  // namespace

int main() { return bench::Main(Run); }
