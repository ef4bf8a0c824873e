// Varnello.exe started for real from a temporary program folder: the splash, the main window
// with pane 0 on its default folder, and a clean close.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cwchar>
#include <functional>
#include <map>
#include <string>

#include "DesktopInput.h"
#include "LoopbackServer.h"
#include "ProgramRun.h"
#include "StateReport.h"

namespace {

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// What a listing of `folder` shows: its entries that are neither hidden nor system.
std::vector<std::wstring> ShownEntries(const std::wstring& folder, bool foldersOnly) {
  std::vector<std::wstring> out;
  WIN32_FIND_DATAW d;
  HANDLE h = FindFirstFileW((folder + L"*").c_str(), &d);
  if (h == INVALID_HANDLE_VALUE) return out;
  do {
    const std::wstring name = d.cFileName;
    if (name == L"." || name == L"..") continue;
    if (d.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) continue;
    if (foldersOnly && !(d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
    out.push_back(folder + name);
  } while (FindNextFileW(h, &d));
  FindClose(h);
  std::sort(out.begin(), out.end());
  return out;
}

std::vector<std::wstring> Lines(const std::vector<std::wstring>& report, const std::wstring& tag) {
  std::vector<std::wstring> out;
  for (const auto& l : report)
    if (l.rfind(tag, 0) == 0) out.push_back(l.substr(tag.size()));
  std::sort(out.begin(), out.end());
  return out;
}

TEST(EndToEnd, StartsShowsPaneZeroOnItsFolderAndClosesCleanly) {
  const std::wstring folder = e2e::MakeProgramFolder(e2e::BinFolder(), e2e::TempBase());
  ASSERT_FALSE(folder.empty()) << "could not lay out a program folder";
  e2e::ProgramRun run;
  ASSERT_TRUE(run.Start(folder));

  // The splash comes first, the main window after it.
  bool sawSplash = false;
  const DWORD start = GetTickCount();
  while (!run.MainWindow() && GetTickCount() - start < 60000) {
    if (run.SplashWindow()) sawSplash = true;
    Sleep(5);
  }
  HWND main = run.WaitForMainWindow(1000);
  ASSERT_NE(main, nullptr) << "no main window";
  EXPECT_TRUE(sawSplash);
  EXPECT_TRUE(Exists(folder + L"\\run.txt"));

  // Pane 0 (and pane 1) show drive C's top folder: the tree its folders, the listing all of
  // what a user may see there.
  std::vector<std::wstring> report = run.DescribePanes();
  ASSERT_FALSE(report.empty()) << "the main window gave no report";
  EXPECT_EQ(report[0], L"pane 0 C:\\");
  std::vector<std::wstring> pane0;
  for (size_t i = 1; i < report.size() && report[i].rfind(L"pane ", 0) != 0; ++i)
    pane0.push_back(report[i]);
  const std::vector<std::wstring> expectedList = ShownEntries(L"C:\\", false);
  ASSERT_FALSE(expectedList.empty());
  EXPECT_EQ(Lines(pane0, L"list "), expectedList);
  std::vector<std::wstring> tree = Lines(pane0, L"tree ");
  for (const auto& f : ShownEntries(L"C:\\", true))
    EXPECT_TRUE(std::find(tree.begin(), tree.end(), f) != tree.end())
        << "tree lacks " << std::string(f.begin(), f.end());

  EXPECT_EQ(run.Close(30000), 0);
  EXPECT_FALSE(Exists(folder + L"\\run.txt"));
  e2e::RemoveProgramFolder(folder);
}

// The shipped program answers no outside request: a WM_COPYDATA naming a file (the request the
// test build's report takes) creates nothing, and the program has no report window.
TEST(EndToEnd, TheShippedProgramIgnoresACopyDataNamingAPath) {
  const std::wstring folder = e2e::MakeProgramFolder(e2e::ReleaseBinFolder(), e2e::TempBase());
  ASSERT_FALSE(folder.empty()) << "could not lay out a program folder";
  // The shipped program's update check asks the product's site: a proxy of our own on
  // 127.0.0.1 takes the request, so that it never leaves this machine.
  e2e::LoopbackServer proxy;
  ASSERT_TRUE(proxy.Listening());
  const std::wstring proxyAddress = L"http://127.0.0.1:" + std::to_wstring(proxy.Port());
  SetEnvironmentVariableW(L"http_proxy", proxyAddress.c_str());
  e2e::ProgramRun run;
  const bool started = run.Start(folder);
  SetEnvironmentVariableW(L"http_proxy", nullptr);
  ASSERT_TRUE(started);
  HWND main = run.WaitForMainWindow(60000);
  ASSERT_NE(main, nullptr) << "no main window";
  for (DWORD t = GetTickCount(); proxy.Requests().empty() && GetTickCount() - t < 15000;) Sleep(50);
  const auto asked = proxy.Requests();
  ASSERT_EQ(asked.size(), 1u) << "the automatic update check asked nothing";
  EXPECT_NE(asked[0].find("www.varnello.example"), std::string::npos) << asked[0];
  const std::wstring target = folder + L"\\named-by-another-process.txt";
  COPYDATASTRUCT data{};
  data.dwData = varnello::kDescribePanesRequest;
  data.cbData = static_cast<DWORD>((target.size() + 1) * sizeof(wchar_t));
  data.lpData = const_cast<wchar_t*>(target.c_str());
  DWORD_PTR result = 1;
  EXPECT_TRUE(SendMessageTimeoutW(main, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                                  SMTO_ABORTIFHUNG, 10000, &result));
  EXPECT_EQ(result, 0u);
  Sleep(200);
  EXPECT_FALSE(Exists(target));
  EXPECT_EQ(run.ReportWindow(), nullptr);
  EXPECT_TRUE(run.DescribePanes().empty());
  EXPECT_EQ(run.Close(30000), 0);
  DeleteFileW(target.c_str());
  e2e::RemoveProgramFolder(folder);
}

// Panes 0 and 1 stacked, each listing right of its tree: the listings' toolbars, top to bottom.
// Empty unless exactly two pane pairs show.
std::vector<RECT> ListingToolbars(HWND main) {
  std::vector<RECT> bars = e2e::ListToolbars(main);
  if (bars.size() != 4) return {};
  std::sort(bars.begin(), bars.end(), [](const RECT& a, const RECT& b) { return a.left > b.left; });
  bars.resize(2);
  std::sort(bars.begin(), bars.end(), [](const RECT& a, const RECT& b) { return a.top < b.top; });
  return bars;
}

std::vector<std::wstring> StateLines(const e2e::ProgramRun& run) {
  std::vector<std::wstring> out;
  for (const auto& l : run.DescribePanes())
    if (l.rfind(L"active ", 0) == 0 || l.rfind(L"clicked ", 0) == 0 || l.rfind(L"title ", 0) == 0)
      out.push_back(l);
  return out;
}

// Varnello started from a temporary program folder with two pane pairs showing; closed, and
// whatever the test made removed, at the end.
class TwoPaneProgram : public ::testing::Test {
 protected:
  // Starts the program and finds its listings' toolbars, top to bottom.
  void Start() {
    folder = e2e::MakeProgramFolder(e2e::BinFolder(), e2e::TempBase());
    ASSERT_FALSE(folder.empty()) << "could not lay out a program folder";
    ASSERT_TRUE(run.Start(folder));
    HWND main = run.WaitForMainWindow(60000);
    ASSERT_NE(main, nullptr) << "no main window";
    started = true;
    // The second pane's lists are laid out after the window shows; a loaded machine takes longer.
    for (int waited = 0; waited < 15000; waited += 100) {
      listings = ListingToolbars(main);
      if (listings.size() == 2u) break;
      Sleep(100);
    }
    Sleep(300);  // let the lists finish painting before the test clicks them
    listings = ListingToolbars(main);
    ASSERT_EQ(listings.size(), 2u) << "expected the toolbars of two pane pairs";
  }
  void TearDown() override {
    if (started) {
      EXPECT_EQ(run.Close(30000), 0);
    }
    if (!folder.empty()) e2e::RemoveProgramFolder(folder);
    for (const auto& m : madeFolders) RemoveDirectoryW(m.c_str());
  }

  std::wstring folder;
  e2e::ProgramRun run;
  bool started = false;
  std::vector<RECT> listings;
  std::vector<std::wstring> madeFolders;
};

TEST_F(TwoPaneProgram, PressingAPanesListingMovesTheHighlightToIt) {
  ASSERT_NO_FATAL_FAILURE(Start());
  const RECT listing0 = listings[0], listing1 = listings[1];
  ASSERT_LT(listing0.top, listing1.top);

  struct Step {
    RECT bar;
    std::vector<std::wstring> want;
  } steps[] = {
      {listing1, {L"clicked 101", L"title 1"}},
      {listing0, {L"clicked 100", L"title 0"}},
  };
  for (const Step& s : steps) {
    // The empty end of the toolbar: a press there presses no button.
    e2e::RealRightClick(s.bar.right - 4, (s.bar.top + s.bar.bottom) / 2);
    std::vector<std::wstring> state;
    const DWORD start = GetTickCount();
    do {
      Sleep(100);
      state = StateLines(run);
    } while (std::find(state.begin(), state.end(), s.want[0]) == state.end() &&
             GetTickCount() - start < 5000);
    std::vector<std::wstring> got;
    for (const auto& l : state)
      if (l.rfind(L"active ", 0) != 0) got.push_back(l);
    EXPECT_EQ(got, s.want);
  }
}

// Panes > Show Pane 2 chosen with the mouse closes the second pane and, chosen again, opens it.
TEST_F(TwoPaneProgram, ClickingShowPaneTwoInThePanesMenuClosesAndOpensThePane) {
  ASSERT_NO_FATAL_FAILURE(Start());
  auto paneShown = [&] {
    for (const auto& l : run.DescribePanes())
      if (l.rfind(L"pane 1 ", 0) == 0) return true;
    return false;
  };
  auto choose = [&] {
    RECT bar{};
    ASSERT_TRUE(e2e::ReportRect(run.DescribePanes(), L"menu", L"&Panes", bar));
    e2e::RealLeftClick((bar.left + bar.right) / 2, (bar.top + bar.bottom) / 2);
    RECT item{};
    const DWORD start = GetTickCount();
    while (!(e2e::ReportRect(run.DescribePanes(), L"item", L"Show Pane &2", item) &&
             item.top >= bar.bottom) &&
           GetTickCount() - start < 5000)
      Sleep(100);
    ASSERT_GE(item.top, bar.bottom) << "the Panes menu did not open";
    e2e::RealLeftClick((item.left + item.right) / 2, (item.top + item.bottom) / 2);
  };
  ASSERT_TRUE(paneShown());
  for (const bool wantShown : {false, true}) {
    SCOPED_TRACE(wantShown ? "opening" : "closing");
    ASSERT_NO_FATAL_FAILURE(choose());
    const DWORD start = GetTickCount();
    while (paneShown() != wantShown && GetTickCount() - start < 10000) Sleep(100);
    EXPECT_EQ(paneShown(), wantShown);
    EXPECT_EQ(e2e::ListToolbars(run.MainWindow()).size(), wantShown ? 4u : 2u);
  }
}

// Keys and the wheel reach the listing the user is working in: Down moves its hover item to the
// next row, the wheel scrolls it by a row (the hover item moving with the rows), and Space marks
// whatever the hover item then is.
TEST_F(TwoPaneProgram, DownKeyAndWheelMoveTheActiveListingsHoverItem) {
  // Enough folders at the top of drive C that the listing scrolls.
  for (int i = 0; i < 40; ++i) {
    wchar_t name[64];
    swprintf(name, 64, L"C:\\e2e keys %02d", i);
    if (CreateDirectoryW(name, nullptr)) madeFolders.push_back(name);
  }
  ASSERT_EQ(madeFolders.size(), 40u);
  ASSERT_NO_FATAL_FAILURE(Start());
  const RECT listing0 = listings[0];

  // The marked items of pane 0's listing, as rows of that listing.
  auto markedRows = [&] {
    std::vector<std::wstring> lines = run.DescribePanes();
    std::vector<std::wstring> rows;
    std::vector<int> marked;
    bool inPane0 = false;
    for (const auto& l : lines) {
      if (l.rfind(L"pane ", 0) == 0) inPane0 = l.rfind(L"pane 0 ", 0) == 0;
      if (!inPane0) continue;
      if (l.rfind(L"list ", 0) == 0) rows.push_back(l.substr(5));
      if (l.rfind(L"mark ", 0) == 0) {
        const auto at = std::find(rows.begin(), rows.end(), l.substr(5));
        marked.push_back(at == rows.end() ? -1 : static_cast<int>(at - rows.begin()));
      }
    }
    return marked;
  };
  auto space = [&] {
    e2e::RealKey(VK_SPACE);
    Sleep(300);
    return markedRows();
  };

  // A press on a row of the listing: the pane becomes the one keys go to, the row the hover item.
  // (Rows start below the heading strip; a few rows down lies well inside the list.)
  e2e::RealLeftClick((listing0.left + listing0.right) / 2, listing0.bottom + 80);
  Sleep(500);
  const std::vector<int> first = space();
  ASSERT_EQ(first.size(), 1u) << "Space marked nothing in the clicked listing";
  const int row = first[0];
  ASSERT_GE(row, 0);
  EXPECT_TRUE(space().empty()) << "a second Space unmarks the row";

  e2e::RealKey(VK_DOWN);
  Sleep(300);
  EXPECT_EQ(space(), std::vector<int>{row + 1}) << "Down moves the hover item one row on";
  EXPECT_TRUE(space().empty());

  e2e::RealWheel(-1);  // towards the user: the list scrolls down by a row
  Sleep(300);
  EXPECT_EQ(space(), std::vector<int>{row + 2}) << "the wheel scrolls the hover item with the rows";
}

// ---------------------------------------------------------------------------------------------
// File operations by real input: drags between the panes' listings, the copy-or-move question,
// the listing's New Folder button and Shift+Delete.

// The screen places the report gives for pane `pane`'s listing: "row" lines by path, "button"
// lines by key.
std::map<std::wstring, RECT> Places(const std::vector<std::wstring>& report, short pane,
                                    const std::wstring& tag) {
  std::map<std::wstring, RECT> out;
  bool inPane = false;
  for (const auto& l : report) {
    if (l.rfind(L"pane ", 0) == 0) inPane = l.rfind(L"pane " + std::to_wstring(pane) + L" ", 0) == 0;
    if (!inPane || l.rfind(tag + L" ", 0) != 0) continue;
    RECT r{};
    const wchar_t* p = l.c_str() + tag.size();
    wchar_t* end = nullptr;
    for (LONG* f : {&r.left, &r.top, &r.right, &r.bottom}) {
      *f = std::wcstol(p, &end, 10);
      p = end;
    }
    if (*p == L' ') out[p + 1] = r;
  }
  return out;
}

bool Listed(const std::vector<std::wstring>& report, short pane, const std::wstring& path) {
  return Places(report, pane, L"row").count(path) > 0;
}

// A visible top-level window of the program with this caption.
HWND ProgramWindow(const e2e::ProgramRun& run, const std::wstring& caption, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  do {
    HWND w = nullptr;
    while ((w = FindWindowExW(nullptr, w, nullptr, caption.c_str())) != nullptr) {
      DWORD pid = 0;
      GetWindowThreadProcessId(w, &pid);
      if (pid == run.ProcessId() && IsWindowVisible(w)) return w;
    }
    Sleep(100);
  } while (GetTickCount() - start < timeoutMs);
  return nullptr;
}

void ClickButtonOf(HWND dialog, const std::wstring& caption) {
  HWND button = FindWindowExW(dialog, nullptr, L"BUTTON", caption.c_str());
  ASSERT_NE(button, nullptr) << "no button";
  RECT r;
  GetWindowRect(button, &r);
  e2e::RealLeftClick((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!done() && GetTickCount() - start < timeoutMs) Sleep(100);
  return done();
}

std::string Contents(const std::wstring& path) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                         nullptr);
  if (h == INVALID_HANDLE_VALUE) return "<missing>";
  char buffer[256];
  DWORD got = 0;
  ReadFile(h, buffer, sizeof buffer, &got, nullptr);
  CloseHandle(h);
  return std::string(buffer, got);
}

// Two files and a folder at the top of drive C, where both panes' listings start.
class FileOperationsProgram : public TwoPaneProgram {
 protected:
  void SetUp() override {
    const std::wstring tag = std::to_wstring(GetCurrentProcessId());
    target = L"C:\\00 fo " + tag + L" target";  // the first row, in view in both listings
    one = L"C:\\zz fo " + tag + L" a.txt";
    two = L"C:\\zz fo " + tag + L" b.txt";
    ASSERT_TRUE(CreateDirectoryW(target.c_str(), nullptr));
    madeFolders.push_back(target);
    for (const auto& f : {one, two}) {
      HANDLE h = CreateFileW(f.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
      ASSERT_NE(h, INVALID_HANDLE_VALUE);
      const std::string text = "text of " + std::to_string(f.size());
      DWORD wrote = 0;
      WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &wrote, nullptr);
      CloseHandle(h);
    }
  }
  void TearDown() override {
    TwoPaneProgram::TearDown();
    for (const auto& f : {one, two}) {
      DeleteFileW(f.c_str());
      DeleteFileW((target + f.substr(2)).c_str());
    }
    RemoveDirectoryW(target.c_str());
  }
  // Marks the two files in pane 0's listing: a press on the first, Space, Down, Space.
  void MarkBothInPaneZero() {
    const auto rows = Places(run.DescribePanes(), 0, L"row");
    ASSERT_TRUE(rows.count(one) && rows.count(two)) << "pane 0 does not show the files";
    const RECT first = rows.at(one);
    e2e::RealLeftClick(first.left + 60, (first.top + first.bottom) / 2);
    Sleep(400);
    e2e::RealKey(VK_SPACE);
    Sleep(200);
    e2e::RealKey(VK_DOWN);
    Sleep(200);
    e2e::RealKey(VK_SPACE);
    std::vector<std::wstring> marks;
    ASSERT_TRUE(WaitFor(
        [&] {
          marks = Lines(run.DescribePanes(), L"mark ");
          return marks.size() == 2;
        },
        5000));
    EXPECT_EQ(marks, (std::vector<std::wstring>{one, two}));
  }
  // Drags from the first marked file onto the target folder in pane 1's listing.
  void DragOntoTarget(bool holdShift) {
    const auto report = run.DescribePanes();
    const auto from = Places(report, 0, L"row"), to = Places(report, 1, L"row");
    ASSERT_TRUE(from.count(one) && to.count(target)) << "the rows are not in view";
    const RECT a = from.at(one), b = to.at(target);
    e2e::RealDrag({a.left + 60, (a.top + a.bottom) / 2}, {b.left + 60, (b.top + b.bottom) / 2},
                  holdShift);
  }
  std::wstring In(const std::wstring& file) const { return target + file.substr(2); }

  std::wstring target, one, two;
};

TEST_F(FileOperationsProgram, DraggingTwoMarkedFilesOntoAFolderOfTheOtherPaneCopiesThem) {
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_NO_FATAL_FAILURE(MarkBothInPaneZero());
  const std::string textOne = Contents(one), textTwo = Contents(two);
  ASSERT_NO_FATAL_FAILURE(DragOntoTarget(false));
  EXPECT_TRUE(WaitFor([&] { return Contents(In(two)) == textTwo; }, 10000));
  EXPECT_EQ(Contents(In(one)), textOne);
  EXPECT_EQ(Contents(one), textOne);
  EXPECT_EQ(Contents(two), textTwo);
  // No question was asked, and both panes still show the files at the top of C.
  EXPECT_EQ(ProgramWindow(run, L"File Operation...", 300), nullptr);
  const auto report = run.DescribePanes();
  EXPECT_TRUE(Listed(report, 0, one) && Listed(report, 0, two));
  EXPECT_TRUE(Listed(report, 1, target));
}

// Disabled: under Wine the drop of a real Shift-drag arrives as a copy (the drag loop does not
// pass Shift on); the Shift road is covered through the drop targets in the library tests.
TEST_F(FileOperationsProgram, DISABLED_AShiftDragAsksCopyOrMoveAndMoveMovesTheFiles) {
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_NO_FATAL_FAILURE(MarkBothInPaneZero());
  const std::string textOne = Contents(one), textTwo = Contents(two);
  ASSERT_NO_FATAL_FAILURE(DragOntoTarget(true));
  HWND dialog = ProgramWindow(run, L"File Operation...", 10000);
  ASSERT_NE(dialog, nullptr) << "the copy-or-move question did not come; the drop "
                              << (Exists(In(one)) ? "copied" : "did nothing");
  ASSERT_NO_FATAL_FAILURE(ClickButtonOf(dialog, L"&Move Here"));
  EXPECT_TRUE(WaitFor([&] { return Contents(In(two)) == textTwo && Contents(two) == "<missing>"; },
                      10000));
  EXPECT_EQ(Contents(In(one)), textOne);
  EXPECT_EQ(Contents(one), "<missing>");
  // The source listing was read again: the files are gone from pane 0.
  EXPECT_TRUE(WaitFor(
      [&] {
        const auto report = run.DescribePanes();
        return !Listed(report, 0, one) && !Listed(report, 0, two);
      },
      5000));
}

TEST_F(FileOperationsProgram, TheListingsNewFolderButtonAsksANameAndListsTheFolder) {
  ASSERT_NO_FATAL_FAILURE(Start());
  const auto buttons = Places(run.DescribePanes(), 0, L"button");
  ASSERT_TRUE(buttons.count(L"newfolder"));
  const RECT b = buttons.at(L"newfolder");
  e2e::RealLeftClick((b.left + b.right) / 2, (b.top + b.bottom) / 2);
  HWND dialog = ProgramWindow(run, L"New Folder...", 10000);
  ASSERT_NE(dialog, nullptr) << "the New Folder dialog did not come";
  const std::wstring name = L"zz fo " + std::to_wstring(GetCurrentProcessId()) + L" new";
  madeFolders.push_back(L"C:\\" + name);
  Sleep(300);
  e2e::RealText(name);
  e2e::RealKey(VK_RETURN);
  EXPECT_TRUE(WaitFor([&] { return Listed(run.DescribePanes(), 0, L"C:\\" + name); }, 10000));
  const DWORD attributes = GetFileAttributesW((L"C:\\" + name).c_str());
  EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
}

TEST_F(FileOperationsProgram, ShiftDeleteAnsweredDeleteRemovesTheFileForGood) {
  ASSERT_NO_FATAL_FAILURE(Start());
  const auto rows = Places(run.DescribePanes(), 0, L"row");
  ASSERT_TRUE(rows.count(one));
  const RECT r = rows.at(one);
  e2e::RealLeftClick(r.left + 60, (r.top + r.bottom) / 2);
  Sleep(400);
  e2e::RealKey(VK_SPACE);
  ASSERT_TRUE(WaitFor([&] { return Lines(run.DescribePanes(), L"mark ") == std::vector<std::wstring>{one}; },
                      5000));
  e2e::RealKeyWith(VK_SHIFT, VK_DELETE);
  HWND dialog = ProgramWindow(run, L"File Operation...", 10000);
  ASSERT_NE(dialog, nullptr) << "Shift+Delete asked nothing";
  EXPECT_NE(FindWindowExW(dialog, nullptr, L"STATIC", L"Permanently Delete?"), nullptr);
  ASSERT_NO_FATAL_FAILURE(ClickButtonOf(dialog, L"&Delete"));
  EXPECT_TRUE(WaitFor([&] { return !Exists(one); }, 10000));
  EXPECT_TRUE(Exists(two));
  EXPECT_TRUE(WaitFor([&] { return !Listed(run.DescribePanes(), 0, one); }, 5000));
}

std::vector<std::wstring> Tagged(const std::vector<std::wstring>& report, const std::wstring& tag);

// The files another program finds on the clipboard, and its drop effect (0 for none).
std::vector<std::wstring> ClipboardFiles(DWORD& effect) {
  std::vector<std::wstring> files;
  effect = 0;
  if (!OpenClipboard(nullptr)) return files;
  if (HANDLE h = GetClipboardData(CF_HDROP)) {
    const auto* header = static_cast<const DROPFILES*>(GlobalLock(h));
    const auto* p =
        reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(header) + header->pFiles);
    for (; *p; p += wcslen(p) + 1) files.emplace_back(p);
    GlobalUnlock(h);
  }
  if (HANDLE h = GetClipboardData(RegisterClipboardFormatW(L"Preferred DropEffect"))) {
    effect = *static_cast<const DWORD*>(GlobalLock(h));
    GlobalUnlock(h);
  }
  CloseClipboard();
  return files;
}

void RealDoubleClick(const RECT& r) {
  e2e::RealLeftClick(r.left + 60, (r.top + r.bottom) / 2);
  e2e::RealLeftClick(r.left + 60, (r.top + r.bottom) / 2);
}

TEST_F(FileOperationsProgram, CtrlCOnMarkedFilesThenCtrlVInTheOtherPanesListingCopiesThemThere) {
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_NO_FATAL_FAILURE(MarkBothInPaneZero());
  const std::string textOne = Contents(one), textTwo = Contents(two);
  e2e::RealKeyWith(VK_CONTROL, 'C');
  // Any other program reads them there, as files to copy.
  DWORD effect = 0;
  EXPECT_TRUE(WaitFor([&] { return ClipboardFiles(effect) == std::vector<std::wstring>{one, two}; },
                      5000));
  EXPECT_EQ(effect, 1u);  // DROPEFFECT_COPY

  // Pane 1's listing opens the target folder (a double click on it), then takes a click.
  const auto rows = Places(run.DescribePanes(), 1, L"row");
  ASSERT_TRUE(rows.count(target)) << "pane 1 does not show the target folder";
  RealDoubleClick(rows.at(target));
  ASSERT_TRUE(WaitFor(
      [&] {
        const auto report = run.DescribePanes();
        return std::find(report.begin(), report.end(), L"pane 1 " + target + L"\\") !=
               report.end();
      },
      10000))
      << "pane 1's listing did not open the target folder";
  e2e::RealLeftClick((listings[1].left + listings[1].right) / 2, listings[1].bottom + 80);
  ASSERT_TRUE(WaitFor([&] { return Tagged(run.DescribePanes(), L"clicked ") ==
                                   std::vector<std::wstring>{L"101"}; },
                      5000));
  e2e::RealKeyWith(VK_CONTROL, 'V');
  EXPECT_TRUE(WaitFor([&] { return Contents(In(one)) == textOne && Contents(In(two)) == textTwo; },
                      10000));
  EXPECT_TRUE(WaitFor(
      [&] {
        const auto report = run.DescribePanes();
        return Listed(report, 1, In(one)) && Listed(report, 1, In(two));
      },
      5000));
  EXPECT_EQ(Contents(one), textOne);
  EXPECT_EQ(Contents(two), textTwo);
}

// Wine's own exact form of a path: files made through it skip the case-blind scan of the whole
// folder that makes filling a big folder quadratic.
std::wstring ExactForm(const std::wstring& path) {
  using UnixNameOf = char*(CDECL*)(LPCWSTR);
  auto unixNameOf = reinterpret_cast<UnixNameOf>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!unixNameOf) return path;
  char* unixName = unixNameOf(path.c_str());
  if (!unixName) return path;
  const int n = MultiByteToWideChar(CP_UTF8, 0, unixName, -1, nullptr, 0);
  std::wstring wide(static_cast<size_t>(n > 0 ? n - 1 : 0), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, unixName, -1, wide.data(), n);
  HeapFree(GetProcessHeap(), 0, unixName);
  for (wchar_t& c : wide)
    if (c == L'/') c = L'\\';
  return L"\\\\?\\unix" + wide;
}

// A folder of 100,000 empty files at the top of drive C, removed at the end.
class BigFolder {
 public:
  static constexpr int kFiles = 100000;
  BigFolder() : path_(L"C:\\00 esc " + std::to_wstring(GetCurrentProcessId())) {
    if (!CreateDirectoryW(path_.c_str(), nullptr)) return;
    exact_ = ExactForm(path_);
    for (int i = 0; i < kFiles; ++i) {
      HANDLE h = CreateFileW(Name(i).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
      if (h == INVALID_HANDLE_VALUE) return;
      CloseHandle(h);
      made_ = i + 1;
    }
  }
  ~BigFolder() {
    for (int i = 0; i < made_; ++i) DeleteFileW(Name(i).c_str());
    RemoveDirectoryW(path_.c_str());
  }
  bool Ok() const { return made_ == kFiles; }
  const std::wstring& Path() const { return path_; }

 private:
  std::wstring Name(int i) const {
    wchar_t name[32];
    swprintf(name, 32, L"\\f%06d.txt", i);
    return exact_ + name;
  }
  std::wstring path_, exact_;
  int made_ = 0;
};

TEST_F(TwoPaneProgram, EscDuringTheReadOfAHundredThousandFilesStopsIt) {
  BigFolder big;
  ASSERT_TRUE(big.Ok()) << "could not make the big folder";
  ASSERT_NO_FATAL_FAILURE(Start());
  const auto rows = Places(run.DescribePanes(), 1, L"row");
  ASSERT_TRUE(rows.count(big.Path())) << "pane 1 does not show the big folder";
  RealDoubleClick(rows.at(big.Path()));
  // A report of a busy program may not come in time: only an answer tells.
  std::vector<std::wstring> report;
  const auto reading = [&] {
    const auto lines = Tagged(report, L"reading ");
    return std::find(lines.begin(), lines.end(), L"101") != lines.end();
  };
  ASSERT_TRUE(WaitFor([&] { return report = run.DescribePanes(), reading(); }, 30000))
      << "pane 1's listing never started the read";
  e2e::RealKey(VK_ESCAPE);
  ASSERT_TRUE(WaitFor([&] { return report = run.DescribePanes(), !report.empty() && !reading(); },
                      60000))
      << "the read did not stop";
  EXPECT_NE(std::find(report.begin(), report.end(), L"pane 1 " + big.Path() + L"\\"),
            report.end());
  // Esc ends the read with what it has.
  size_t listed = 0;
  for (const auto& l : report)
    if (l.rfind(L"list " + big.Path() + L"\\", 0) == 0) ++listed;
  EXPECT_LT(listed, static_cast<size_t>(BigFolder::kFiles));
}

// The report's lines that start with `tag`, without it, in report order.
std::vector<std::wstring> Tagged(const std::vector<std::wstring>& report, const std::wstring& tag) {
  std::vector<std::wstring> out;
  for (const auto& l : report)
    if (l.rfind(tag, 0) == 0) out.push_back(l.substr(tag.size()));
  return out;
}

// Headings > Size acts on the list clicked last: a press on the second pane's title bar makes
// its tree the clicked list, and the menu entry chosen with the mouse shows or hides that list's
// Size column and no other list's.
TEST_F(TwoPaneProgram, HeadingsSizeActsOnThePaneWhoseTitleBarWasPressed) {
  ASSERT_NO_FATAL_FAILURE(Start());
  std::vector<std::wstring> before = run.DescribePanes();
  RECT title{};
  ASSERT_TRUE(e2e::ReportRect(before, L"place", L"titlebar 1", title));
  e2e::RealLeftClick((title.left + title.right) / 2, (title.top + title.bottom) / 2);
  const DWORD start = GetTickCount();
  while (Tagged(run.DescribePanes(), L"clicked ") != std::vector<std::wstring>{L"1"} &&
         GetTickCount() - start < 5000)
    Sleep(100);
  ASSERT_EQ(Tagged(run.DescribePanes(), L"clicked "), std::vector<std::wstring>{L"1"});
  before = run.DescribePanes();
  const auto hasSize = [](const std::vector<std::wstring>& report, const wchar_t* list) {
    const auto columns = Tagged(report, L"column ");
    return std::find(columns.begin(), columns.end(), std::wstring(list) + L" Size") !=
           columns.end();
  };

  RECT bar{};
  ASSERT_TRUE(e2e::ReportRect(before, L"menu", L"&Headings", bar));
  e2e::RealLeftClick((bar.left + bar.right) / 2, (bar.top + bar.bottom) / 2);
  RECT item{};
  const DWORD opened = GetTickCount();
  while (!(e2e::ReportRect(run.DescribePanes(), L"item", L"Si&ze", item) && item.top >= bar.bottom) &&
         GetTickCount() - opened < 5000)
    Sleep(100);
  ASSERT_GE(item.top, bar.bottom) << "the Headings menu did not open";
  e2e::RealLeftClick((item.left + item.right) / 2, (item.top + item.bottom) / 2);
  std::vector<std::wstring> after;
  const DWORD chosen = GetTickCount();
  do {
    Sleep(100);
    after = run.DescribePanes();
  } while (hasSize(after, L"1") == hasSize(before, L"1") && GetTickCount() - chosen < 5000);
  EXPECT_NE(hasSize(after, L"1"), hasSize(before, L"1"));
  for (const wchar_t* other : {L"0", L"100", L"101"})
    EXPECT_EQ(hasSize(after, other), hasSize(before, other)) << other;
}

// The compare button on two panes showing the same folder marks every item of both listings as
// matched.
TEST_F(TwoPaneProgram, TheCompareButtonMarksBothListings) {
  ASSERT_NO_FATAL_FAILURE(Start());
  std::vector<std::wstring> report = run.DescribePanes();
  ASSERT_TRUE(Tagged(report, L"match ").empty());
  RECT button{};
  // Only the button keyed "compare" itself, not "compare_size" or "compare_date".
  std::vector<std::wstring> compareLine;
  for (const auto& l : report)
    if (l.size() > 8 && l.compare(l.size() - 8, 8, L" compare") == 0) compareLine.push_back(l);
  ASSERT_TRUE(e2e::ReportRect(compareLine, L"button", L"compare", button));
  e2e::RealLeftClick((button.left + button.right) / 2, (button.top + button.bottom) / 2);
  const DWORD start = GetTickCount();
  do {
    Sleep(100);
    report = run.DescribePanes();
  } while (Tagged(report, L"match ").empty() && GetTickCount() - start < 5000);
  std::vector<std::wstring> listed = Tagged(report, L"list ");
  std::vector<std::wstring> matched = Tagged(report, L"match ");
  ASSERT_FALSE(listed.empty());
  std::sort(listed.begin(), listed.end());
  std::sort(matched.begin(), matched.end());
  EXPECT_EQ(matched, listed);  // both panes list C:\ and every item of both is marked
  EXPECT_TRUE(Tagged(report, L"nomatch ").empty());
}

}  // namespace
