// Folder sizes on real folders: totals past 32 bits, what counts, folders that cannot be
// summed, Esc, and a re-read or a second calculation arriving during the walk's yields.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "support/ControlFixture.h"
#include "listing/view/ViewState.h"
#include "support/HostWindow.h"
#include "support/ListingLookup.h"
#include "support/TempFolder.h"
#include "toolkit/EventLoop.h"
#include "toolkit/MousePointer.h"
#include "toolkit/Text.h"

using namespace zenlo;
using testsupport::ControlHolder;
using testsupport::TempFolder;
using testsupport::IndexOf;
using testsupport::Item;

namespace {

std::wstring SizeOf(const ZenloFileControl& c, const std::wstring& name) {
  const std::int32_t i = IndexOf(c, name);
  return i < 0 ? L"(missing)" : c.ListItems()[static_cast<std::size_t>(i)].SizeText();
}

// A file of the given length whose bytes are never written: the disk holds a hole.
void SparseFile(const std::wstring& path, std::uint64_t length) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(length);
  EXPECT_TRUE(SetFilePointerEx(h, at, nullptr, FILE_BEGIN));
  EXPECT_TRUE(SetEndOfFile(h));
  CloseHandle(h);
}

// The walk's yields, each handed to the test (nested yields are not handed on).
class Yields {
 public:
  explicit Yields(std::function<void(unsigned long)> at) : at_(std::move(at)) {
    tk::SetYieldHook([this](unsigned long n) {
      if (inside_) return;
      inside_ = true;
      at_(n);
      inside_ = false;
    });
  }
  ~Yields() { tk::SetYieldHook(nullptr); }
  Yields(const Yields&) = delete;
  Yields& operator=(const Yields&) = delete;

 private:
  std::function<void(unsigned long)> at_;
  bool inside_ = false;
};

// Five folders f1..f5 of 2 files each: f<n> holds n and 10 * n bytes, so every folder's
// walk takes two yields.
struct FiveFolders {
  FiveFolders() {
    for (int n = 1; n <= 5; ++n) {
      const std::wstring f = L"f" + std::to_wstring(n);
      dir.File(f + L"\\a.bin", static_cast<std::size_t>(n));
      dir.File(f + L"\\b.bin", static_cast<std::size_t>(10 * n));
    }
  }
  std::wstring Expected(int n) const { return std::to_wstring(11 * n); }
  TempFolder dir;
};

TEST(FolderSizes, TotalsAreSixtyFourBitAndEverythingBelowCounts) {
  TempFolder dir;
  // One file of 3 GiB; two of 5 GiB: past what 32 bits hold, on sparse files.
  dir.Folder(L"three");
  SparseFile(dir.Path() + L"three\\big.iso", 3221225472ull);
  dir.Folder(L"ten\\deeper");
  SparseFile(dir.Path() + L"ten\\a.img", 5368709120ull);
  SparseFile(dir.Path() + L"ten\\deeper\\b.img", 5368709120ull);
  // Sub-folders of empty files only.
  dir.File(L"empties\\x\\e1.txt");
  dir.File(L"empties\\y\\z\\e2.txt");
  // Dot-named files and folders are ordinary here and count.
  dir.File(L"dots\\.profile", 7);
  dir.File(L"dots\\.git\\config", 5);
  dir.File(L"dots\\..double", 3);
  // An empty folder.
  dir.Folder(L"nothing");
  ControlHolder c;
  ASSERT_TRUE(c->GetFolderContents(dir.Path(), true));
  ASSERT_EQ(c->FoldersShown(), 5);
  c->CalculateFolderSize();

  const std::map<std::wstring, std::wstring> expected = {
      {L"three", L"3,221,225,472"}, {L"ten", L"10,737,418,240"}, {L"empties", L"0"},
      {L"dots", L"15"},             {L"nothing", L"0"}};
  for (const auto& [name, size] : expected) EXPECT_EQ(SizeOf(*c, name), size) << name;
  const TypeListItem& ten = c->ListItems()[static_cast<std::size_t>(IndexOf(*c, L"ten"))];
  EXPECT_EQ(ten.Size(), 10737418240ull);  // kept as a number: the sort compares it
}

TEST(FolderSizes, FolderThatCannotBeReadShowsDashesWhileTheOthersAreSummed) {
  FiveFolders five;
  ControlHolder c;
  ASSERT_TRUE(c->GetFolderContents(five.dir.Path(), true));
  c->CalculateFolderSize();
  ASSERT_EQ(SizeOf(*c, L"f3"), five.Expected(3));
  // Gone since the read: the listing still shows it, its old total no longer stands.
  testsupport::RemoveTree(five.dir.Path() + L"f3");
  c->CalculateFolderSize();
  for (int n : {1, 2, 4, 5}) EXPECT_EQ(SizeOf(*c, L"f" + std::to_wstring(n)), five.Expected(n));
  EXPECT_EQ(SizeOf(*c, L"f3"), L"--");
}

TEST(FolderSizes, RangesOneItemAndMinusOne) {
  FiveFolders five;
  five.dir.File(L"loose.txt", 4);
  ControlHolder c;
  ASSERT_TRUE(c->GetFolderContents(five.dir.Path(), true));
  const std::int32_t f4 = IndexOf(*c, L"f4");
  const std::int32_t file = IndexOf(*c, L"loose.txt");

  c->CalculateFolderSize(-1);  // only the change watch
  for (int n = 1; n <= 5; ++n) EXPECT_EQ(SizeOf(*c, L"f" + std::to_wstring(n)), L"--");
  c->CalculateFolderSize(file);  // a file is never summed
  EXPECT_EQ(SizeOf(*c, L"loose.txt"), L"4");
  c->CalculateFolderSize(f4);
  EXPECT_EQ(SizeOf(*c, L"f4"), five.Expected(4));
  EXPECT_EQ(SizeOf(*c, L"f3"), L"--");
  c->CalculateFolderSize(c->ItemCount() + 5);  // past the end: nothing
  EXPECT_EQ(SizeOf(*c, L"f5"), L"--");

  // The folder under the mouse pointer (F3), then every folder from the toolbar's button.
  c->View().HoverItem = IndexOf(*c, L"f2");
  c->CalculateFolderSizeSingle();
  EXPECT_EQ(SizeOf(*c, L"f2"), five.Expected(2));
  EXPECT_EQ(SizeOf(*c, L"f1"), L"--");
  c->Toolbar1_ButtonClick(L"calculate");
  for (int n = 1; n <= 5; ++n) EXPECT_EQ(SizeOf(*c, L"f" + std::to_wstring(n)), five.Expected(n));
}

// A press on the listing's own "calculate" button sums every folder; over the toolbar the
// pointer is the hourglass while the walk runs and the arrow again afterwards.
TEST(FolderSizes, CalculateButtonPressedOnTheToolbar) {
  FiveFolders five;
  testsupport::HostWindow host(700, 400);
  ControlHolder c;
  ASSERT_TRUE(c->CreateFrame(host.Handle()));
  c->LoadSetup();
  MoveWindow(c->Window(), 0, 0, 600, 300, TRUE);
  ASSERT_TRUE(c->GetFolderContents(five.dir.Path(), true));
  c->ResizeControl(vertical);
  HWND toolbar = c->View().Toolbar1.Handle();
  const RECT face = c->View().Toolbar1.ButtonRect(L"calculate");
  const LPARAM at = MAKELPARAM((face.left + face.right) / 2, (face.top + face.bottom) / 2);
  HCURSOR during = nullptr;
  {
    Yields look([&](unsigned long n) {
      if (n != 1) return;
      SendMessageW(toolbar, WM_MOUSEMOVE, 0, at);
      during = GetCursor();
    });
    SendMessageW(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(toolbar, WM_LBUTTONUP, 0, at);
  }
  for (int n = 1; n <= 5; ++n) EXPECT_EQ(SizeOf(*c, L"f" + std::to_wstring(n)), five.Expected(n));
  EXPECT_EQ(during, LoadCursorW(nullptr, IDC_WAIT));
  SendMessageW(toolbar, WM_MOUSEMOVE, 0, at);
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
}

TEST(FolderSizes, HourglassWhileTheWalkRunsAndThePointerBackAfter) {
  FiveFolders five;
  ControlHolder c;
  ASSERT_TRUE(c->GetFolderContents(five.dir.Path(), true));
  tk::SetScreenMousePointer(tk::PointerArrow);
  int during = -1;
  {
    Yields look([&](unsigned long n) {
      if (n == 1) during = tk::ScreenMousePointer();
    });
    c->CalculateFolderSize();
  }
  EXPECT_EQ(during, tk::PointerHourglass);
  EXPECT_EQ(tk::ScreenMousePointer(), tk::PointerArrow);
  tk::SetScreenMousePointer(tk::PointerDefault);
}

TEST(FolderSizes, TreeSumsItsFoldersButNotItsRoot) {
  FiveFolders five;
  ControlHolder c(fbFolder);
  c.host.Bookmarks[0] = five.dir.Path();
  c->SetCurrentDrive(L"0");
  ASSERT_TRUE(c->GetFolderContents(five.dir.Path(), true));
  ASSERT_EQ(c->ItemCount(), 6);
  c->CalculateFolderSize();
  EXPECT_FALSE(c->ListItems()[0].HasSize());
  for (int n = 1; n <= 5; ++n) EXPECT_EQ(SizeOf(*c, L"f" + std::to_wstring(n)), five.Expected(n));
}

TEST(FolderSizes, EscDuringTheSecondOfFiveLeavesItsPartialTotalMarked) {
  FiveFolders five;
  ControlHolder c;
  ASSERT_TRUE(c->GetFolderContents(five.dir.Path(), true));
  {
    // Yields 1-2 are f1's files; yield 3 is the first of f2's.
    Yields esc([&](unsigned long n) {
      if (n == 3) c->IsCancelled = true;
    });
    c->CalculateFolderSize();
  }
  EXPECT_EQ(SizeOf(*c, L"f1"), five.Expected(1));
  // One of f2's two files was counted when Esc came: at least that much, and marked so.
  const std::wstring partial = SizeOf(*c, L"f2");
  EXPECT_TRUE(partial == L"2+" || partial == L"20+") << testing::PrintToString(partial);
  EXPECT_TRUE(Item(*c, L"f2").SizeIsPartial());
  for (int n = 3; n <= 5; ++n) EXPECT_EQ(SizeOf(*c, L"f" + std::to_wstring(n)), L"--") << n;
  EXPECT_FALSE(c->IsCancelled);

  // An Esc left over from before never stops the next calculation.
  c->IsCancelled = true;
  c->CalculateFolderSize();
  for (int n = 1; n <= 5; ++n) EXPECT_EQ(SizeOf(*c, L"f" + std::to_wstring(n)), five.Expected(n));
  EXPECT_FALSE(Item(*c, L"f2").SizeIsPartial()) << "a whole total loses the mark";
}

TEST(FolderSizes, ReReadDuringTheWalkLeavesEveryTotalOnItsOwnFolder) {
  FiveFolders five;
  ControlHolder c;
  ASSERT_TRUE(c->GetFolderContents(five.dir.Path(), true));
  {
    // In f2's walk a new folder appears and the listing is read again: every folder after it
    // moves down one index, and f1's total goes with the old items.
    Yields reread([&](unsigned long n) {
      if (n != 3) return;
      five.dir.Folder(L"a new");
      c->RefreshList();
    });
    c->CalculateFolderSize();
  }
  ASSERT_EQ(c->FoldersShown(), 6);
  EXPECT_EQ(IndexOf(*c, L"a new"), 0);
  EXPECT_EQ(SizeOf(*c, L"a new"), L"--");
  EXPECT_EQ(SizeOf(*c, L"f1"), L"--");
  for (int n = 2; n <= 5; ++n) EXPECT_EQ(SizeOf(*c, L"f" + std::to_wstring(n)), five.Expected(n));
}

TEST(FolderSizes, SecondCalculationWhileOneRunsIsRefused) {
  FiveFolders five;
  ControlHolder c;
  ASSERT_TRUE(c->GetFolderContents(five.dir.Path(), true));
  std::wstring f5AfterNested = L"(not called)";
  {
    Yields again([&](unsigned long n) {
      if (n != 1) return;
      c->CalculateFolderSize();
      f5AfterNested = SizeOf(*c, L"f5");
    });
    c->CalculateFolderSize();
  }
  EXPECT_EQ(f5AfterNested, L"--");  // the nested call summed nothing
  for (int n = 1; n <= 5; ++n) EXPECT_EQ(SizeOf(*c, L"f" + std::to_wstring(n)), five.Expected(n));
}

// The walk's own searches and a re-read's restart of the watch during its yields must not turn
// into a refresh of the listing while it runs; the watch works again afterwards.
TEST(FolderSizes, ChangeWatchStaysPausedThroughTheWalkAndRunsAfterIt) {
  FiveFolders five;
  ControlHolder c;
  ASSERT_TRUE(c->GetFolderContents(five.dir.Path(), true));
  bool changedDuringWalk = false;
  {
    Yields slow([&](unsigned long n) {
      if (n == 1) c->RefreshList();  // ends with a watch restart
      if (n == 3) {
        five.dir.File(L"new during the walk.txt");
        // Long enough for the watch's first poll, had it been started.
        tk::PumpUntil([] { return false; }, 300);
        changedDuringWalk = c->FolderChanged();
      }
    });
    c->CalculateFolderSize();
  }
  EXPECT_FALSE(changedDuringWalk);
  EXPECT_EQ(SizeOf(*c, L"f5"), five.Expected(5));
  // Started again at the end.
  five.dir.File(L"after the walk.txt");
  EXPECT_TRUE(tk::PumpUntil([&] { return IndexOf(*c, L"after the walk.txt") >= 0; }, 3000));
}

}  // namespace
