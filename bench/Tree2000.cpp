// Reading a folder tree: 2,000 folders of 20 files each, 40 of them expanded, against a bare
// recursive walk of the same tree. The 40 expanded folders sit under the root and hold 49
// folders each, so the read lists every folder of the tree and looks into each of them.
// Reports; never fails on timing. Exits non-zero only when a read itself is wrong.
#include <windows.h>

#include <cstdio>
#include <string>

#include "BenchSupport.h"

namespace {

constexpr int kExpanded = 40;
constexpr int kInnerPerExpanded = 49;  // 40 + 40 * 49 = 2,000 folders
constexpr int kFolders = kExpanded * (1 + kInnerPerExpanded);
constexpr int kFilesPerFolder = 20;
constexpr int kExtensions = 5;
constexpr int kRuns = 3;

std::wstring Numbered(const wchar_t* prefix, int i) {
  wchar_t name[32];
  std::swprintf(name, 32, L"%ls%02d", prefix, i);
  return name;
}

bool MakeTree(bench::BenchFolder& folder) {
  const auto fileName = [](int i) { return bench::NumberedFileName(i, kExtensions); };
  for (int top = 0; top < kExpanded; ++top) {
    const std::wstring outer = Numbered(L"outer", top);
    if (!folder.AddFolder(outer) || !folder.AddFiles(outer, kFilesPerFolder, fileName))
      return false;
    for (int in = 0; in < kInnerPerExpanded; ++in) {
      const std::wstring inner = outer + L"\\" + Numbered(L"inner", in);
      if (!folder.AddFolder(inner) || !folder.AddFiles(inner, kFilesPerFolder, fileName))
        return false;
    }
  }
  return true;
}

int Run() {
  bench::SetUpProcess();
  bench::DataSet folder(L"tree2000", MakeTree);
  if (!folder.Ok()) return 1;
  if (!bench::WalkFinds(folder.Path(), kFolders, kFolders * kFilesPerFolder)) return 1;

  bench::QuietHost host;
  bench::ControlPtr tree = bench::NewControl(host, zenlo::fbFolder);
  for (int top = 0; top < kExpanded; ++top)
    tree->AddToExpandedFolderString(folder.PathOf(Numbered(L"outer", top)));

  bench::Best bare;
  bench::Best read;
  for (int run = 0; run < kRuns; ++run) {
    const double b0 = bench::Now();
    const bench::Counts seen = bench::BareRecursiveWalk(folder.Path());
    const double b = bench::Now() - b0;
    if (!seen.ok || seen.folders != kFolders) {
      std::printf("error: the bare walk saw %lld folders\n", static_cast<long long>(seen.folders));
      return 1;
    }
    bare.Add(b);
    std::printf("bare recursive walk  run %d: %8.3f s\n", run + 1, b);
    std::fflush(stdout);

    const double t0 = bench::Now();
    tree->GetFolderContents(folder.Path(), true);
    const double t = bench::Now() - t0;
    // The root, then every folder: the expanded ones and the folders inside them.
    if (tree->ItemCount() != 1 + kFolders || host.QuitAsked) {
      std::printf("error: the tree listed %d items, expected %d%s\n", tree->ItemCount(),
                  1 + kFolders, host.QuitAsked ? " (it asked to quit)" : "");
      return 1;
    }
    int expanded = 0;
    for (int i = 0; i < tree->ItemCount(); ++i)
      if (tree->ListItems()[static_cast<std::size_t>(i)].FolderStatus == zenlo::sExpanded)
        ++expanded;
    if (expanded != kExpanded) {
      std::printf("error: the tree shows %d folders expanded, expected %d\n", expanded, kExpanded);
      return 1;
    }
    read.Add(t);
    std::printf("tree read            run %d: %8.3f s\n", run + 1, t);
    std::fflush(stdout);
  }
  tree.reset();
  folder.Remove();

  const double ratio = read.Value() / bare.Value();
  std::printf("bare recursive walk best: %.3f s, tree read best: %.3f s\n", bare.Value(),
              read.Value());
  bench::Summary("bench tree2000 ratio=%.2f", ratio);
  return 0;
}

}  // namespace

int main() { return bench::Main(Run); }
