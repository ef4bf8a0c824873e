#pragma once
// What every benchmark shares: a clock, the process's memory, a bench folder that is filled
// fast and removed whatever way the program ends, the bare enumerations the control is
// measured against, a quiet host and a window to put controls in.
// Benchmarks report ratios against a reference measured in the same run; they fail only when
// a result is wrong, never on timing.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "zenlo/ZenloFileControl.h"

namespace bench {

// Seconds on the performance counter.
double Now();

// The best (smallest) of several timings.
class Best {
 public:
  void Add(double seconds) {
    if (seconds < best_) best_ = seconds;
    ++runs_;
  }
  double Value() const { return best_; }
  int Runs() const { return runs_; }

 private:
  double best_ = 1e300;
  int runs_ = 0;
};

// COM and OLE for the control, and message boxes that never wait for a click.
void SetUpProcess();

// Commit charge of the process.
std::uint64_t PrivateBytes();
// Committed bytes the process heaps hold in free blocks.
std::size_t FreeHeapBytes();
// Bytes of an item's texts kept outside their string objects.
std::size_t ItemTextBytes(const zenlo::TypeListItem& item);

// Where a listing's memory goes, taken right after a read.
struct ListingMemory {
  std::size_t recordBytes = 0;
  std::size_t textBytes = 0;
  std::size_t heldFree = 0;
};
ListingMemory MeasureListing(const zenlo::ZenloFileControl& control);
void PrintListingMemory(const ListingMemory& m, double items);

// A fresh folder under %TEMP%; what is added to it is removed with it.
class BenchFolder {
 public:
  explicit BenchFolder(const wchar_t* tag);
  ~BenchFolder() { Remove(); }
  BenchFolder(const BenchFolder&) = delete;
  BenchFolder& operator=(const BenchFolder&) = delete;

  bool Ok() const { return !path_.empty(); }
  // The folder as the control is given it.
  const std::wstring& Path() const { return path_; }
  // The folder's path joined with a relative one ("" for the folder itself).
  std::wstring PathOf(const std::wstring& relative) const;

  // Both print what failed and return false.
  bool AddFolder(const std::wstring& relative);
  bool AddFiles(const std::wstring& relative, int count,
                const std::function<std::wstring(int)>& nameOf);
  void Remove();

 private:
  std::wstring ExactOf(const std::wstring& relative) const;

  std::wstring path_;
  std::wstring madeAt_;  // the same folder as the entries are made and removed through
  struct Made {
    std::wstring relative;
    bool folder;
  };
  std::vector<Made> made_;  // in the order they were made
};

// A bench's folder: the set scripts/bench made natively under %VARNELLO_BENCH_DATA% when it
// is there (used as it is, never changed), else a folder of its own, filled here through
// Wine and removed with the object. The counts the benches check catch a set that differs.
class DataSet {
 public:
  DataSet(const wchar_t* name, const std::function<bool(BenchFolder&)>& fill);
  DataSet(const DataSet&) = delete;
  DataSet& operator=(const DataSet&) = delete;

  bool Ok() const { return ok_; }
  const std::wstring& Path() const { return own_ ? own_->Path() : shared_; }
  std::wstring PathOf(const std::wstring& relative) const {
    return relative.empty() ? Path() : Path() + L"\\" + relative;
  }
  // Removes a folder of its own now (so that its time is not in the figures that follow).
  void Remove();

 private:
  std::wstring shared_;
  std::unique_ptr<BenchFolder> own_;
  bool ok_ = false;
};

// Names "f000123.ext3": numbered files spread over a few extensions.
std::wstring NumberedFileName(int i, int extensions);

// The flat folder of 100,000 numbered files over 20 extensions that several benches share;
// scripts/make-bench-data makes the same folder natively under this name.
inline constexpr wchar_t kFlat100kName[] = L"flat100k";
inline constexpr int kFlat100kFiles = 100000;
bool FillFlat100k(BenchFolder& folder);

struct Counts {
  std::int64_t files = 0;
  std::int64_t folders = 0;
  std::int64_t bytes = 0;  // the files' sizes added up
  bool ok = false;
};
// One folder with the same search the control makes, nothing done per entry but counting.
Counts BareEnumeration(const std::wstring& folder);
// The folder and everything below it, folder by folder with the same search.
Counts BareRecursiveWalk(const std::wstring& folder);
// A warm-up walk of the tree that also checks it holds what the benchmark made; says what it saw
// when it does not.
bool WalkFinds(const std::wstring& folder, std::int64_t folders, std::int64_t files);

// A host that listens only for what would tell us a read went wrong.
class QuietHost final : public zenlo::ZenloFileControlEventsBase {
 public:
  bool QuitAsked = false;
  int Messages = 0;

  void Message(std::wstring& text) override;
  void ForceQuit() override { QuitAsked = true; }
};

struct ReleaseControl {
  void operator()(zenlo::ZenloFileControl* c) const {
    if (c) c->Release();
  }
};
using ControlPtr = std::unique_ptr<zenlo::ZenloFileControl, ReleaseControl>;
// A started control of the given kind, talking to the host.
ControlPtr NewControl(QuietHost& host, zenlo::ListType type);

// A shown top-level window for panes, destroyed with the object.
class HostWindow {
 public:
  HostWindow(int width, int height, WNDPROC proc = nullptr);
  ~HostWindow();
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;
  HWND Handle() const { return hwnd_; }

 private:
  HWND hwnd_ = nullptr;
};

// Gives a control its window inside the host at the given place, as a host lays out a pane.
bool PlaceControl(zenlo::ZenloFileControl& control, HWND host, int x, int y, int width,
                  int height);

// The last line of every benchmark; flushed so that it is never lost.
void Summary(const char* format, ...);

// What every benchmark's main does: runs it and flushes what it printed.
int Main(int (*run)());

}  // namespace bench
