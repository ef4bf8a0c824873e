// Reading a folder of 100,000 files: the listing control against a bare enumeration of the
// same folder, and the memory the control holds per item once the read is done.
// Reports; never fails on timing. Exits non-zero only when the read itself is wrong.
#include <windows.h>
#include <objbase.h>
#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>

#include "toolkit/EventLoop.h"
#include "toolkit/MessageBox.h"
#include "zenlo/ZenloFileControl.h"

namespace {

constexpr int kFiles = 100000;
constexpr int kExtensions = 20;
constexpr int kRuns = 3;

double Now() {
  static const double perSecond = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / perSecond;
}

std::uint64_t PrivateBytes() {
  PROCESS_MEMORY_COUNTERS_EX pmc{};
  pmc.cb = sizeof pmc;
  if (!GetProcessMemoryInfo(GetCurrentProcess(),
                            reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc))
    return 0;
  // Wine leaves PrivateUsage at 0; the commit charge is the same figure on Windows.
  return pmc.PrivateUsage ? pmc.PrivateUsage : pmc.PagefileUsage;
}

std::wstring FileName(int i) {
  wchar_t name[32];
  std::swprintf(name, 32, L"f%06d.ext%d", i, i % kExtensions);
  return name;
}

// Under Wine, opening a name that does not exist yet reads the whole folder in search of
// another case of it, so filling a folder of 100,000 files takes about 17 minutes. Through
// Wine's own "\\?\unix" form of the path the lookup is exact and the fill takes seconds.
// Empty when not under Wine.
std::wstring ExactLookupForm(const std::wstring& folder) {
  using UnixNameOf = char*(CDECL*)(LPCWSTR);
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  auto unixNameOf = reinterpret_cast<UnixNameOf>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "wine_get_unix_file_name")));
  if (!unixNameOf) return {};
  char* unixName = unixNameOf(folder.c_str());
  if (!unixName) return {};
  std::wstring out = L"\\\\?\\unix";
  const int n = MultiByteToWideChar(CP_UTF8, 0, unixName, -1, nullptr, 0);
  if (n > 1) {
    std::wstring wide(static_cast<std::size_t>(n - 1), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, unixName, -1, wide.data(), n);
    for (wchar_t& c : wide)
      if (c == L'/') c = L'\\';
    out += wide;
  }
  HeapFree(GetProcessHeap(), 0, unixName);
  return n > 1 ? out : std::wstring();
}

// The bench folder under %TEMP%, emptied and removed whatever way the program ends.
class BenchFolder {
 public:
  BenchFolder() {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    wchar_t name[64];
    std::swprintf(name, 64, L"Read100k-%lu-%llu", GetCurrentProcessId(),
                  static_cast<unsigned long long>(GetTickCount64()));
    path_ = std::wstring(temp) + name;
    if (!CreateDirectoryW(path_.c_str(), nullptr)) {
      path_.clear();
      return;
    }
    filesAt_ = ExactLookupForm(path_);
    if (filesAt_.empty()) filesAt_ = path_;
  }
  ~BenchFolder() { Remove(); }
  BenchFolder(const BenchFolder&) = delete;
  BenchFolder& operator=(const BenchFolder&) = delete;

  bool Ok() const { return !path_.empty(); }
  const std::wstring& Path() const { return path_; }

  void Remove() {
    if (path_.empty()) return;
    int left = 0;
    for (int i = 0; i < created_; ++i)
      if (!DeleteFileW(FilePath(i).c_str())) ++left;
    if (!RemoveDirectoryW(path_.c_str()))
      std::printf("warning: could not remove %ls (%d files left)\n", path_.c_str(), left);
    path_.clear();
    created_ = 0;
  }

  bool Fill() {
    for (int i = 0; i < kFiles; ++i) {
      HANDLE h = CreateFileW(FilePath(i).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
      if (h == INVALID_HANDLE_VALUE) {
        std::printf("error: could not create %ls (error %lu)\n", FilePath(i).c_str(),
                    GetLastError());
        return false;
      }
      CloseHandle(h);
      created_ = i + 1;
    }
    return true;
  }

 private:
  std::wstring FilePath(int i) const { return filesAt_ + L"\\" + FileName(i); }

  std::wstring path_;
  std::wstring filesAt_;  // the folder as the files are made and removed through
  int created_ = 0;
};

// The same enumeration the control makes, with nothing done per entry but counting.
int BareEnumeration(const std::wstring& folder) {
  WIN32_FIND_DATAW entry;
  HANDLE h = FindFirstFileExW((folder + L"\\*.*").c_str(), FindExInfoBasic, &entry,
                              FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (h == INVALID_HANDLE_VALUE) return -1;
  int files = 0;
  do {
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++files;
  } while (FindNextFileW(h, &entry));
  FindClose(h);
  return files;
}

// A host that only listens for what would tell us the read went wrong.
class Sink final : public zenlo::ZenloFileControlEvents {
 public:
  bool QuitAsked = false;

  void Click() override {}
  void DriveClick() override {}
  void FBMouseDown(short&, short&, float&, float&) override {}
  void FBRightClick(short&, short&, float&, float&, std::wstring&, std::wstring&, std::wstring&,
                    std::wstring&, bool&, zenlo::sTypes) override {}
  void FBMouseUp(short&, short&, float&, float&) override {}
  void FBMouseMove(short&, short&, float&, float&) override {}
  void MouseMoveBasic() override {}
  void PushedNewFolder(std::wstring&, std::wstring&) override {}
  void PushedNewFolder2() override {}
  void PushedUpFolder(std::wstring&, std::wstring&) override {}
  void PushedDownFolder(std::wstring&, std::wstring&) override {}
  void PushedUpFolder2() override {}
  void DragStart() override {}
  void SetActiveIndex() override {}
  void SetLockedIndex() override {}
  void SetMasterMousePointer(short&) override {}
  void SetActiveButton(short&) override {}
  void Message(std::wstring& text) override {
    std::printf("control message: %ls\n", text.c_str());
  }
  void UpdateMasterHeadings() override {}
  void MouseScrolled(bool&) override {}
  void KeyPressed(short&) override {}
  void SpaceKeyUp() override {}
  void MouseLocked(bool&) override {}
  void ForceQuit() override { QuitAsked = true; }
  void UpdateFileName(std::wstring&) override {}
  void PasteItems(std::wstring&, std::wstring&, std::wstring&) override {}
  void NotifySourceIndex() override {}
  void GetBookmark(short&, std::wstring&) override {}
  void PaneWantsToMimicFolder(short&) override {}
  void IsPaneActive(short&, bool&) override {}
};

// Where a read's time goes, from the yield the read makes after every entry: before the
// first entry, over the entries, and after the last one (sorting and handing over).
struct ReadPhases {
  double start = 0;
  double firstYield = 0;
  double lastYield = 0;
  unsigned long yields = 0;
};

// Bytes of a text kept outside its string object (short texts live inside it).
std::size_t OutOfLineBytes(const std::wstring& s) {
  const auto* data = reinterpret_cast<const char*>(s.data());
  const auto* self = reinterpret_cast<const char*>(&s);
  if (data >= self && data < self + sizeof s) return 0;
  return (s.capacity() + 1) * sizeof(wchar_t);
}

std::size_t ItemTextBytes(const zenlo::TypeListItem& it) {
  std::size_t n = 0;
  for (const std::wstring* s :
       {&it.RealPath, &it.Name, &it.DateCreated, &it.DateLastModified, &it.DateLastAccessed,
        &it.SizeText, &it.AttributesText, &it.TreeSortKey, &it.Comments, &it.Extension,
        &it.ExtKey, &it.FileType, &it.ColorWord, &it.FullPath, &it.NameKey})
    n += OutOfLineBytes(*s);
  return n;
}

// Committed bytes the process heaps hold in free blocks: memory a read freed that the process
// still pays for, because live blocks share its pages.
std::size_t FreeHeapBytes() {
  HANDLE heaps[64];
  const DWORD count = std::min<DWORD>(GetProcessHeaps(64, heaps), 64);
  std::size_t total = 0;
  for (DWORD k = 0; k < count; ++k) {
    if (!HeapLock(heaps[k])) continue;
    PROCESS_HEAP_ENTRY e{};
    while (HeapWalk(heaps[k], &e)) {
      const bool free = !(e.wFlags & (PROCESS_HEAP_ENTRY_BUSY | PROCESS_HEAP_REGION |
                                      PROCESS_HEAP_UNCOMMITTED_RANGE));
      if (free) total += e.cbData;
    }
    HeapUnlock(heaps[k]);
  }
  return total;
}

int Run() {
  OleInitialize(nullptr);
  // A box must never wait for a click here.
  tk::SetMessageBoxSeam([](const tk::MessageBoxRequest& r) {
    std::printf("message box: %ls\n", r.Text.c_str());
    return IDCANCEL;
  });

  BenchFolder folder;
  if (!folder.Ok()) {
    std::printf("error: could not create the bench folder\n");
    return 1;
  }
  std::printf("creating %d files in %ls ...\n", kFiles, folder.Path().c_str());
  std::fflush(stdout);
  const double made = Now();
  if (!folder.Fill()) return 1;
  std::printf("created in %.1f s\n", Now() - made);

  // (a) the bare enumeration, once to warm the cache, then the best of a few passes.
  if (BareEnumeration(folder.Path()) != kFiles) {
    std::printf("error: the bare enumeration did not see %d files\n", kFiles);
    return 1;
  }
  double bare = 1e30;
  for (int run = 0; run < kRuns; ++run) {
    const double t0 = Now();
    const int seen = BareEnumeration(folder.Path());
    const double t = Now() - t0;
    if (seen != kFiles) {
      std::printf("error: the bare enumeration saw %d files\n", seen);
      return 1;
    }
    std::printf("bare enumeration   run %d: %8.3f s\n", run + 1, t);
    bare = std::min(bare, t);
  }

  // (b) the control's listing read of the same folder: the first read of a new control is
  // the one a user waits for when a pane opens the folder; repeats find the per-extension
  // type names already cached and are shown beside it.
  const std::uint64_t before = PrivateBytes();
  Sink sink;
  zenlo::ZenloFileControl* control = zenlo::ZenloFileControl::Create();
  control->ltFolderListType = zenlo::fbFileAndFolder;
  control->AttachEvents(&sink);
  control->Initialize();

  double first = 0;
  double repeat = 1e30;
  std::uint64_t after = 0;
  std::size_t recordBytes = 0;
  std::size_t textBytes = 0;
  std::size_t heldFree = 0;
  int status = 0;
  ReadPhases phases;
  const auto stamp = [p = &phases](unsigned long n) {
    const double t = Now();
    if (n == 1) p->firstYield = t;
    p->lastYield = t;
    p->yields = n;
  };
  for (int run = 0; run < kRuns; ++run) {
    phases = ReadPhases{};
    tk::SetYieldHook(stamp);
    const double t0 = Now();
    phases.start = t0;
    control->GetFolderContents(folder.Path(), true);
    const double t = Now() - t0;
    tk::SetYieldHook({});
    if (control->ItemCount() != kFiles || sink.QuitAsked) {
      std::printf("error: the control listed %d items, expected %d%s\n", control->ItemCount(),
                  kFiles, sink.QuitAsked ? " (it asked to quit)" : "");
      status = 1;
      break;
    }
    std::printf("control read       run %d: %8.3f s  (set-up %.3f, %lu entries %.3f, "
                "after the last entry %.3f)\n",
                run + 1, t, phases.firstYield - phases.start, phases.yields,
                phases.lastYield - phases.firstYield, t0 + t - phases.lastYield);
    if (run == 0) {
      first = t;
      // Memory right after the first read: what a pane holds for this folder.
      after = PrivateBytes();
      const auto& items = control->ListItems();
      recordBytes = items.capacity() * sizeof(zenlo::TypeListItem);
      for (const auto& it : items) textBytes += ItemTextBytes(it);
      heldFree = FreeHeapBytes();
    } else {
      repeat = std::min(repeat, t);
    }
  }
  control->Release();
  if (status != 0) return status;
  // Before the summary, so that its last line stays last.
  const double removing = Now();
  folder.Remove();
  std::printf("folder removed in %.1f s\n", Now() - removing);

  const double n = kFiles;
  const double ratio = first / bare;
  const double perItem = after > before ? static_cast<double>(after - before) / n : 0.0;
  std::printf("bare enumeration best:  %.3f s (%.0f entries/s)\n", bare, n / bare);
  std::printf("control first read:     %.3f s (%.0f items/s), ratio %.2f\n", first, n / first,
              ratio);
  if (kRuns > 1)
    std::printf("control repeat best:    %.3f s (%.0f items/s), ratio %.2f\n", repeat,
                n / repeat, repeat / bare);
  std::printf("private bytes: %llu before, %llu after the first read, %.2f per item\n",
              static_cast<unsigned long long>(before), static_cast<unsigned long long>(after),
              perItem);
  std::printf("  item records:                 %7.2f per item (%zu bytes each, capacity %zu)\n",
              static_cast<double>(recordBytes) / n, sizeof(zenlo::TypeListItem),
              recordBytes / sizeof(zenlo::TypeListItem));
  std::printf("  texts outside the records:    %7.2f per item (without the heap's own overhead)\n",
              static_cast<double>(textBytes) / n);
  std::printf("  freed blocks the heaps keep:  %7.2f per item\n",
              static_cast<double>(heldFree) / n);
  std::printf("bench read100k ratio=%.2f bytes_per_item=%.2f\n", ratio, perItem);
  return 0;
}

}  // namespace

int main() {
  const int status = Run();
  std::fflush(stdout);
  return status;
}
