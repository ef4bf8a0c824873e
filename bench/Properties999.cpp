// The properties pass of a read: 999 files (below FileCountMax, so comments and colours are
// read) with the real property store against the same read with a store that keeps nothing.
// Two folders: files of 1,000 to 7,986 bytes and empty files; and the per-user records with and without a
// record of the folder's volume. Reports; never fails on timing.
#include <windows.h>

#include <cstdio>
#include <string>

#include "BenchSupport.h"
#include "listing/model/FilePropertyStore.h"

namespace {

constexpr int kFiles = 999;
constexpr int kRuns = 5;

bool Fill(bench::BenchFolder& folder) {
  return folder.AddFiles(L"", kFiles, [](int i) { return bench::NumberedFileName(i, 20); });
}

double BestRead(zenlo::ZenloFileControl& c, const std::wstring& path) {
  bench::Best best;
  for (int run = 0; run < kRuns; ++run) {
    const double t0 = bench::Now();
    c.GetFolderContents(path, true);
    best.Add(bench::Now() - t0);
  }
  return best.Value();
}

int Run() {
  bench::SetUpProcess();
  bench::BenchFolder profile(L"profile");
  if (!profile.Ok()) return 1;
  double worst = 0;
  for (const wchar_t* name : {L"sized999", L"empty999"}) {
    bench::DataSet folder(name, Fill);
    if (!folder.Ok()) return 1;
    bench::QuietHost host;
    bench::ControlPtr c = bench::NewControl(host, zenlo::fbFileAndFolder);
    c->SetPropertyStore(zenlo::MakeEmptyPropertyStore());
    const double none = BestRead(*c, folder.Path());
    if (c->FilesShown() != kFiles) {
      std::printf("error: %d files listed\n", c->FilesShown());
      return 1;
    }
    auto store = zenlo::MakeFilePropertyStore(profile.Path());
    c->SetPropertyStore(store);
    const double empty = BestRead(*c, folder.Path());
    // Once a file of the volume has a colour, the records hold the volume.
    store->Open(folder.PathOf(bench::NumberedFileName(7, 20)))->AddUserProperty(L"VarnelloColor", L"red");
    const double held = BestRead(*c, folder.Path());
    if (c->ListItems()[7].ColorWord() != L"red") {
      std::printf("error: the colour was not read back\n");
      return 1;
    }
    std::printf("%ls: no store %.1f ms, records without the volume %.1f ms, with it %.1f ms\n", name,
                none * 1000, empty * 1000, held * 1000);
    if (held / none > worst) worst = held / none;
    store->Open(folder.PathOf(bench::NumberedFileName(7, 20)))->RemoveUserProperty(L"VarnelloColor");
  }
  DeleteFileW(profile.PathOf(L"properties").c_str());  // the records the store made
  bench::Summary("bench properties999 ratio=%.2f", worst);
  return 0;
}

}  // namespace

int main() { return bench::Main(Run); }
