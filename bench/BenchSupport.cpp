#include "BenchSupport.h"

#include <objbase.h>
#include <psapi.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "toolkit/MessageBox.h"

namespace bench {

namespace {

// Under Wine, creating a name that does not exist yet reads the whole folder in search of
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

bool IsDotOrDotDot(const wchar_t* name) {
  return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

// Bytes of a text kept outside its string object (short texts live inside it).
std::size_t OutOfLineBytes(const std::wstring& s) {
  const auto* data = reinterpret_cast<const char*>(s.data());
  const auto* self = reinterpret_cast<const char*>(&s);
  if (data >= self && data < self + sizeof s) return 0;
  return (s.capacity() + 1) * sizeof(wchar_t);
}

// Counts the entries of one folder; calls down for every sub-folder when asked to.
void Enumerate(const std::wstring& folder, bool recurse, Counts& counts) {
  WIN32_FIND_DATAW entry;
  HANDLE h = FindFirstFileExW((folder + L"\\*.*").c_str(), FindExInfoBasic, &entry,
                              FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (h == INVALID_HANDLE_VALUE) {
    counts.ok = false;
    return;
  }
  std::vector<std::wstring> below;
  do {
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (IsDotOrDotDot(entry.cFileName)) continue;
      ++counts.folders;
      if (recurse) below.push_back(folder + L"\\" + entry.cFileName);
    } else {
      ++counts.files;
      counts.bytes += static_cast<std::int64_t>(
          (static_cast<std::uint64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow);
    }
  } while (FindNextFileW(h, &entry));
  FindClose(h);
  for (const auto& sub : below) Enumerate(sub, true, counts);
}

}  // namespace

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

void SetUpProcess() {
  OleInitialize(nullptr);
  tk::SetMessageBoxSeam([](const tk::MessageBoxRequest& r) {
    std::printf("message box: %ls\n", r.Text.c_str());
    return IDCANCEL;
  });
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

std::size_t ItemTextBytes(const zenlo::TypeListItem& it) {
  std::size_t n = 0;
  // Dates, size, attributes, extension and type are numbers or shared entries, formatted on
  // demand; RealPath is held only where it differs from FullPath.
  for (const std::wstring* s : {&it.Name, &it.FullPath, &it.TreeSortKey(), &it.Comments(),
                                &it.ColorWord()})
    n += OutOfLineBytes(*s);
  if (&it.RealPath() != &it.FullPath) n += OutOfLineBytes(it.RealPath());
  return n;
}

bool FillFlat100k(BenchFolder& folder) {
  return folder.AddFiles(L"", kFlat100kFiles, [](int i) { return NumberedFileName(i, 20); });
}

ListingMemory MeasureListing(const zenlo::ZenloFileControl& control) {
  ListingMemory m;
  const auto& items = control.ListItems();
  m.recordBytes = items.capacity() * sizeof(zenlo::TypeListItem);
  for (const auto& it : items) m.textBytes += ItemTextBytes(it);
  m.heldFree = FreeHeapBytes();
  return m;
}

void PrintListingMemory(const ListingMemory& m, double items) {
  std::printf("  item records:                 %7.2f per item (%zu bytes each, capacity %zu)\n",
              static_cast<double>(m.recordBytes) / items, sizeof(zenlo::TypeListItem),
              m.recordBytes / sizeof(zenlo::TypeListItem));
  std::printf("  texts outside the records:    %7.2f per item (without the heap's own overhead)\n",
              static_cast<double>(m.textBytes) / items);
  std::printf("  freed blocks the heaps keep:  %7.2f per item\n",
              static_cast<double>(m.heldFree) / items);
}

BenchFolder::BenchFolder(const wchar_t* tag) {
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  wchar_t name[96];
  std::swprintf(name, 96, L"%ls-%lu-%llu", tag, GetCurrentProcessId(),
                static_cast<unsigned long long>(GetTickCount64()));
  path_ = std::wstring(temp) + name;
  if (!CreateDirectoryW(path_.c_str(), nullptr)) {
    std::printf("error: could not create %ls (error %lu)\n", path_.c_str(), GetLastError());
    path_.clear();
    return;
  }
  madeAt_ = ExactLookupForm(path_);
  if (madeAt_.empty()) madeAt_ = path_;
}

std::wstring BenchFolder::PathOf(const std::wstring& relative) const {
  return relative.empty() ? path_ : path_ + L"\\" + relative;
}

std::wstring BenchFolder::ExactOf(const std::wstring& relative) const {
  return relative.empty() ? madeAt_ : madeAt_ + L"\\" + relative;
}

bool BenchFolder::AddFolder(const std::wstring& relative) {
  if (!CreateDirectoryW(ExactOf(relative).c_str(), nullptr)) {
    std::printf("error: could not create the folder %ls (error %lu)\n", PathOf(relative).c_str(),
                GetLastError());
    return false;
  }
  made_.push_back({relative, true});
  return true;
}

bool BenchFolder::AddFiles(const std::wstring& relative, int count,
                           const std::function<std::wstring(int)>& nameOf) {
  const std::wstring base = relative.empty() ? std::wstring() : relative + L"\\";
  for (int i = 0; i < count; ++i) {
    const std::wstring rel = base + nameOf(i);
    HANDLE h = CreateFileW(ExactOf(rel).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
      std::printf("error: could not create %ls (error %lu)\n", PathOf(rel).c_str(),
                  GetLastError());
      return false;
    }
    CloseHandle(h);
    made_.push_back({rel, false});
  }
  return true;
}

void BenchFolder::Remove() {
  if (path_.empty()) return;
  int left = 0;
  for (auto it = made_.rbegin(); it != made_.rend(); ++it) {
    const std::wstring at = ExactOf(it->relative);
    if (!(it->folder ? RemoveDirectoryW(at.c_str()) : DeleteFileW(at.c_str()))) ++left;
  }
  if (!RemoveDirectoryW(path_.c_str()))
    std::printf("warning: could not remove %ls (%d entries left)\n", path_.c_str(), left);
  made_.clear();
  path_.clear();
}

DataSet::DataSet(const wchar_t* name, const std::function<bool(BenchFolder&)>& fill) {
  wchar_t root[MAX_PATH + 1] = {};
  const DWORD n = GetEnvironmentVariableW(L"VARNELLO_BENCH_DATA", root, MAX_PATH + 1);
  if (n > 0 && n <= MAX_PATH) {
    const std::wstring at = std::wstring(root) + L"\\" + name;
    if (GetFileAttributesW((at + L".complete").c_str()) != INVALID_FILE_ATTRIBUTES) {
      shared_ = at;
      ok_ = true;
      std::printf("using %ls, made by scripts/make-bench-data\n", shared_.c_str());
      return;
    }
  }
  own_ = std::make_unique<BenchFolder>(name);
  if (!own_->Ok()) return;
  std::printf("filling %ls ...\n", own_->Path().c_str());
  std::fflush(stdout);
  const double made = Now();
  ok_ = fill(*own_);
  std::printf("filled in %.1f s\n", Now() - made);
}

void DataSet::Remove() {
  if (!own_) return;
  const double removing = Now();
  own_->Remove();
  std::printf("folder removed in %.1f s\n", Now() - removing);
}

std::wstring NumberedFileName(int i, int extensions) {
  wchar_t name[32];
  std::swprintf(name, 32, L"f%06d.ext%d", i, i % extensions);
  return name;
}

Counts BareEnumeration(const std::wstring& folder) {
  Counts counts;
  counts.ok = true;
  Enumerate(folder, false, counts);
  return counts;
}

Counts BareRecursiveWalk(const std::wstring& folder) {
  Counts counts;
  counts.ok = true;
  Enumerate(folder, true, counts);
  return counts;
}

void QuietHost::Message(std::wstring& text) {
  ++Messages;
  std::printf("control message: %ls\n", text.c_str());
}

ControlPtr NewControl(QuietHost& host, zenlo::ListType type) {
  ControlPtr control(zenlo::ZenloFileControl::Create());
  control->ltFolderListType = type;
  control->AttachEvents(&host);
  control->Initialize();
  return control;
}

HostWindow::HostWindow(int width, int height, WNDPROC proc) {
  const wchar_t* const className = proc ? L"VarnelloBenchKeyHost" : L"VarnelloBenchHost";
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc ? proc : DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = className;
  RegisterClassExW(&wc);  // fails harmlessly when the class is there already
  hwnd_ = CreateWindowExW(0, className, L"Varnello bench", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                          20, 20, width, height, nullptr, nullptr, GetModuleHandleW(nullptr),
                          nullptr);
  if (!hwnd_) return;
  ShowWindow(hwnd_, SW_SHOW);
  UpdateWindow(hwnd_);
}

HostWindow::~HostWindow() {
  if (hwnd_) DestroyWindow(hwnd_);
}

bool PlaceControl(zenlo::ZenloFileControl& control, HWND host, int x, int y, int width,
                  int height) {
  if (!host || !control.CreateFrame(host)) return false;
  MoveWindow(control.Window(), x, y, width, height, TRUE);
  ShowWindow(control.Window(), SW_SHOW);
  control.LoadSetup();
  control.ResizeControl(zenlo::vertical);
  return true;
}

bool WalkFinds(const std::wstring& folder, std::int64_t folders, std::int64_t files) {
  const Counts seen = BareRecursiveWalk(folder);
  if (seen.ok && seen.folders == folders && seen.files == files) return true;
  std::printf("error: the bare walk saw %lld folders and %lld files\n",
              static_cast<long long>(seen.folders), static_cast<long long>(seen.files));
  return false;
}

int Main(int (*run)()) {
  const int status = run();
  std::fflush(stdout);
  return status;
}

void Summary(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vprintf(format, args);
  va_end(args);
  std::printf("\n");
  std::fflush(stdout);
}

}  // namespace bench
