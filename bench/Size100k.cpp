// Folder sizes: the listing's "calculate" over 1,000 folders of 100 files each, against a bare
// recursive walk of the same tree in the same run.
// Reports; never fails on timing. Exits non-zero only when a sum is wrong.
#include <windows.h>

#include <cstdio>
#include <string>

#include "BenchSupport.h"

namespace {

constexpr int kFolders = 1000;
constexpr int kFilesPerFolder = 100;
constexpr int kRuns = 3;

std::wstring FolderName(int i) {
  wchar_t name[16];
  std::swprintf(name, 16, L"d%04d", i);
  return name;
}

// Made through Wine only when the native set is missing: its files are empty.
bool MakeTree(bench::BenchFolder& folder) {
  for (int d = 0; d < kFolders; ++d) {
    if (!folder.AddFolder(FolderName(d)) ||
        !folder.AddFiles(FolderName(d), kFilesPerFolder,
                         [](int i) { return bench::NumberedFileName(i, 20); }))
      return false;
  }
  return true;
}

int Run() {
  bench::SetUpProcess();
  bench::DataSet folder(L"sizes100k", MakeTree);
  if (!folder.Ok()) return 1;
  if (!bench::WalkFinds(folder.Path(), kFolders, kFolders * kFilesPerFolder)) return 1;

  bench::QuietHost host;
  bench::ControlPtr listing = bench::NewControl(host, zenlo::fbFileAndFolder);
  listing->GetFolderContents(folder.Path(), true);
  if (listing->FoldersShown() != kFolders) {
    std::printf("error: the listing shows %d folders\n", listing->FoldersShown());
    return 1;
  }

  bench::Best bare;
  bench::Best sum;
  for (int run = 0; run < kRuns; ++run) {
    const double b0 = bench::Now();
    const bench::Counts seen = bench::BareRecursiveWalk(folder.Path());
    const double b = bench::Now() - b0;
    bare.Add(b);
    std::printf("bare recursive walk  run %d: %8.3f s\n", run + 1, b);
    std::fflush(stdout);

    const double t0 = bench::Now();
    listing->CalculateFolderSize(-99);
    const double t = bench::Now() - t0;
    std::int64_t total = 0;
    for (int i = 0; i < listing->FoldersShown(); ++i) {
      const zenlo::TypeListItem& item = listing->ListItems()[static_cast<std::size_t>(i)];
      if (!item.HasSize()) {
        std::printf("error: %ls was not sized\n", item.Name.c_str());
        return 1;
      }
      total += static_cast<std::int64_t>(item.Size());
    }
    if (total != seen.bytes) {
      std::printf("error: the folders add up to %lld bytes, the bare walk saw %lld\n",
                  static_cast<long long>(total), static_cast<long long>(seen.bytes));
      return 1;
    }
    sum.Add(t);
    std::printf("folder sizes         run %d: %8.3f s (%lld bytes)\n", run + 1, t,
                static_cast<long long>(total));
    std::fflush(stdout);
  }
  listing.reset();
  folder.Remove();

  const double ratio = sum.Value() / bare.Value();
  std::printf("bare recursive walk best: %.3f s, folder sizes best: %.3f s\n", bare.Value(),
              sum.Value());
  bench::Summary("bench size100k ratio=%.2f", ratio);
  return 0;
}

}  // namespace

int main() { return bench::Main(Run); }
