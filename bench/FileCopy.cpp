// bench filecopy: a drop of 10,000 4-KB files (in ten folders) and one large file copied by the
// main window's file operation (its checks, the shell's copy, the refreshes and the restarted
// watches, on recording lists) against the bare shell copy of the same tree in the same run.
// The large file is 512 MB; VARNELLO_BENCH_BIG_MB makes it smaller where the disk is short.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "ProgramBench.h"
#include "RecordingLists.h"
#include "mainwindow/Master.h"
#include "settings/SkinFiles.h"

namespace {

bool WriteBytes(const std::wstring& path, const std::vector<char>& block, int blocks) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  for (int i = 0; i < blocks && ok; ++i) {
    DWORD wrote = 0;
    ok = WriteFile(h, block.data(), static_cast<DWORD>(block.size()), &wrote, nullptr) &&
         wrote == block.size();
  }
  CloseHandle(h);
  return ok;
}

int CountFiles(const std::wstring& folder) {
  int n = 0;
  WIN32_FIND_DATAW d;
  HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &d);
  if (h == INVALID_HANDLE_VALUE) return 0;
  do {
    const std::wstring name = d.cFileName;
    if (name == L"." || name == L"..") continue;
    n += (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? CountFiles(folder + L"\\" + name) : 1;
  } while (FindNextFileW(h, &d));
  FindClose(h);
  return n;
}

void RemoveWithShell(const std::wstring& path) {
  const std::wstring from = path + std::wstring(2, L'\0');
  SHFILEOPSTRUCTW op{};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
  SHFileOperationW(&op);
}

}  // namespace

int main() {
  bench::SetUpProcess();
  const char* bigText = std::getenv("VARNELLO_BENCH_BIG_MB");
  const int bigMb = bigText ? std::atoi(bigText) : 512;
  vtest::TempDir work;
  const std::wstring source = work.File(L"drop");
  CreateDirectoryW(source.c_str(), nullptr);
  const std::vector<char> small(4096, 's'), mega(1 << 20, 'b');
  std::vector<std::wstring> items;
  for (int f = 0; f < 10; ++f) {
    const std::wstring folder = source + L"\\part" + std::to_wstring(f);
    CreateDirectoryW(folder.c_str(), nullptr);
    for (int i = 0; i < 1000; ++i)
      if (!WriteBytes(folder + L"\\" + bench::NumberedFileName(i, 20), small, 1)) {
        std::fprintf(stderr, "filecopy: could not make the small files\n");
        return 1;
      }
    items.push_back(folder);
  }
  items.push_back(source + L"\\large.bin");
  if (!WriteBytes(items.back(), mega, bigMb)) {
    std::fprintf(stderr, "filecopy: could not make the large file\n");
    return 1;
  }
  std::wstring specs;
  for (const auto& i : items) specs += i + L'\0';
  specs += L'\0';
  const int expected = 10 * 1000 + 1;

  // The start-up loads the default skin from the program folder; without it a box would wait.
  varnello::SkinFolder(work.Path()).Write(L"Cloud 9", varnello::SkinColours{});
  vtest::RecordingFactory lists;
  lists.Log.Recording = false;
  varnello::Master master(work.Path(), lists);
  bench::QuietReporter reporter;
  master.Form_Load(reporter);
  if (!reporter.Loaded) {
    std::fprintf(stderr, "filecopy: the main window did not load\n");
    return 1;
  }

  bench::Best bare, program;
  for (int run = 0; run < 2; ++run) {
    const std::wstring bareTarget = work.File(L"bare" + std::to_wstring(run));
    CreateDirectoryW(bareTarget.c_str(), nullptr);
    const std::wstring to = bareTarget + std::wstring(2, L'\0');
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_COPY;
    op.pFrom = specs.c_str();
    op.pTo = to.c_str();
    op.fFlags = FOF_ALLOWUNDO | FOF_NOERRORUI;
    double t = bench::Now();
    const int bareResult = SHFileOperationW(&op);
    bare.Add(bench::Now() - t);

    const std::wstring programTarget = work.File(L"program" + std::to_wstring(run));
    CreateDirectoryW(programTarget.c_str(), nullptr);
    std::wstring word = L"copy", dest = programTarget;
    short destIndex = 101;
    bool refreshChild = false;
    t = bench::Now();
    master.FileOperate(word, 100, destIndex, dest, refreshChild, specs);
    program.Add(bench::Now() - t);

    const int bareCount = CountFiles(bareTarget), programCount = CountFiles(programTarget);
    if (bareResult != 0 || bareCount != expected || programCount != expected) {
      std::fprintf(stderr, "filecopy: copies incomplete (shell %d: %d files, program %d files)\n",
                   bareResult, bareCount, programCount);
      return 1;
    }
    RemoveWithShell(bareTarget);
    RemoveWithShell(programTarget);
  }
  std::printf("bench filecopy ratio=%.2f program=%.3fs bare=%.3fs files=%d large=%dMB\n",
              program.Value() / bare.Value(), program.Value(), bare.Value(), expected, bigMb);
  return 0;
}
