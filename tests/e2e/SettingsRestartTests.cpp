// Varnello.exe closed and started again from the same program folder: the window's place,
// the panes, their folders, the listing order and the bookmarks come back from user.usr.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <initializer_list>
#include <sstream>

#include "DesktopInput.h"
#include "ProgramRun.h"

namespace {

std::string ReadBytes(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

bool HasLine(const std::string& file, const std::string& line) {
  return file.find(line + "\r\n") != std::string::npos;
}

RECT NormalRect(HWND w) {
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  GetWindowPlacement(w, &wp);
  return wp.rcNormalPosition;
}

std::string Describe(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + " " +
         std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
}

// The rows of the list whose toolbar is `bar`: beside its vertical scroll bar, below the bar.
RECT RowsBelow(HWND main, const RECT& bar) {
  struct Found {
    RECT bar;
    RECT rows;
  } found{bar, {}};
  EnumChildWindows(
      main,
      [](HWND w, LPARAM lp) -> BOOL {
        auto& f = *reinterpret_cast<Found*>(lp);
        RECT r;
        GetWindowRect(w, &r);
        // The listing's vertical scroll bar: a narrow upright strip at the rows' right.
        const bool bar = r.bottom - r.top > 2 * (r.right - r.left) && r.right - r.left <= 25;
        if (bar && IsWindowVisible(w) &&
            r.left > f.bar.left && r.right <= f.bar.right + 2 && r.top >= f.bar.bottom &&
            (f.rows.bottom == 0 || r.top < f.rows.top))
          f.rows = {f.bar.left, r.top, r.left, r.bottom};
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found.rows;
}

// The report lines of one pane: its "pane" line and what its lists show.
std::vector<std::wstring> PaneReport(const std::vector<std::wstring>& report, int pane) {
  std::vector<std::wstring> out;
  bool in = false;
  for (const auto& l : report) {
    if (l.rfind(L"pane ", 0) == 0) in = l.rfind(L"pane " + std::to_wstring(pane) + L" ", 0) == 0;
    if (l.rfind(L"active ", 0) == 0 || l.rfind(L"clicked ", 0) == 0) in = false;
    // Screen places depend on the window, not on what the settings brought back.
    const bool place = l.rfind(L"row ", 0) == 0 || l.rfind(L"button ", 0) == 0;
    if (in && !place) out.push_back(l);
  }
  return out;
}

class SettingsRestart : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = e2e::MakeProgramFolder(e2e::BinFolder(), e2e::TempBase());
    ASSERT_FALSE(folder_.empty());
    // Pane 3 open on C:\windows, its listing sorted by name downwards, a bookmark, a place.
    std::ofstream out((folder_ + L"\\user.usr").c_str(), std::ios::binary);
    out << "\"ProgramPosition\",1500,1800,9000,6600,0\r\n"
           "\"Status\",0,1,0,1,1\r\n"
           "\"BookMark\",4,\"C:\\windows\\\",0,0,0\r\n"
           "\"InitialDrive\",2,\"C\",0,0,0\r\n"
           "\"Active\",2,\"C\",\"C:\\windows\\\",0,0\r\n"
           "\"SORTING\",102,0,\"sName\",\"des\",0\r\n";
  }
  void TearDown() override {
    e2e::RemoveProgramFolder(folder_);
    if (!odd_.empty()) RemoveDirectoryW(odd_.c_str());
  }

  HWND Start(e2e::ProgramRun& run) {
    if (!run.Start(folder_)) return nullptr;
    return run.WaitForMainWindow(60000);
  }
  std::string Settings() const { return ReadBytes(folder_ + L"\\user.usr"); }
  std::wstring folder_;
  std::wstring odd_;  // a folder the test made at the top of drive C
};

// The folder a pane's listing shows, from the report's "pane <i> <folder>" line.
std::wstring PaneFolder(const std::vector<std::wstring>& pane) {
  if (pane.empty()) return L"";
  const std::wstring& l = pane[0];
  const auto gap = l.find(L' ', 5);
  return gap == std::wstring::npos ? L"" : l.substr(gap + 1);
}

// The report once the given panes show a folder: a loaded machine may still be filling them
// when the main window first appears. Empty when they never do.
std::vector<std::wstring> ReportOnceShown(const e2e::ProgramRun& run, std::initializer_list<int> panes,
                                          DWORD timeoutMs = 20000) {
  const DWORD start = GetTickCount();
  for (;;) {
    std::vector<std::wstring> report = run.DescribePanes();
    bool all = !report.empty();
    for (int p : panes) all = all && !PaneFolder(PaneReport(report, p)).empty();
    if (all) return report;
    if (GetTickCount() - start > timeoutMs) return {};
    Sleep(200);
  }
}

std::string Narrow(const std::wstring& w) {
  std::string out;
  for (wchar_t c : w) out += c < 128 ? static_cast<char>(c) : '?';
  return out;
}

TEST_F(SettingsRestart, WindowPanesFoldersOrderAndBookmarksComeBack) {
  // A folder whose name the file must quote and encode: a comma, a semicolon, a non-ASCII letter.
  // Its leading digit puts it first below the tree's root.
  const std::wstring odd = L"C:\\0 e2e, odd;name \u00e9";
  ASSERT_TRUE(CreateDirectoryW(odd.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
  odd_ = odd;
  std::vector<std::wstring> pane0, pane2;
  RECT moved{};
  {
    e2e::ProgramRun run;
    HWND main = Start(run);
    ASSERT_NE(main, nullptr);
    RECT r = NormalRect(main);
    EXPECT_EQ(Describe(r), "120,100 600x440");
    // Pane 3 opens on the folder the file names for it, not on its drive's root.
    EXPECT_EQ(PaneFolder(PaneReport(ReportOnceShown(run, {0, 2}), 2)), L"C:\\windows\\");
    // The user chooses the odd folder in pane 1's tree: a press on its row, found from the top.
    // The splash closing leaves no window active here: the user brings the window forward.
    Sleep(1000);
    SetForegroundWindow(main);
    Sleep(300);
    std::vector<RECT> bars = e2e::ListToolbars(main);
    ASSERT_EQ(bars.size(), 4u) << "expected the lists of two panes";
    const RECT rows = RowsBelow(main, bars[0]);
    ASSERT_GT(rows.bottom, rows.top) << "no rows below the tree's toolbar";
    for (int y = rows.top + 2; y < rows.bottom - 2; y += 4) {
      e2e::RealLeftClick((rows.left + rows.right) / 2, y);
      Sleep(GetDoubleClickTime() + 200);  // each press a click of its own
      if (PaneFolder(PaneReport(run.DescribePanes(), 0)) == odd + L"\\") break;
    }
    pane0 = PaneReport(run.DescribePanes(), 0);
    ASSERT_EQ(Narrow(PaneFolder(pane0)), Narrow(odd + L"\\")) << "the odd folder was not chosen";
    // The user moves and sizes the window.
    SetWindowPos(main, nullptr, 60, 40, 700, 520, SWP_NOZORDER | SWP_NOACTIVATE);
    Sleep(300);
    moved = NormalRect(main);
    pane2 = PaneReport(run.DescribePanes(), 2);
    ASSERT_FALSE(pane2.empty());
    // The listing is sorted by name downwards, folders ahead of files.
    std::vector<std::wstring> folders;
    for (const auto& l : pane2) {
      if (l.rfind(L"list ", 0) != 0) continue;
      const DWORD a = GetFileAttributesW(l.substr(5).c_str());
      if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY)) folders.push_back(l);
    }
    ASSERT_GE(folders.size(), 2u);
    for (size_t i = 1; i < folders.size(); ++i)
      EXPECT_GE(_wcsicmp(folders[i - 1].c_str(), folders[i].c_str()), 0);
    ASSERT_EQ(run.Close(30000), 0);
  }
  const std::string first = Settings();
  EXPECT_TRUE(HasLine(first, "\"ProgramPosition\",600,900,10500,7800,0")) << first.substr(0, 200);
  EXPECT_TRUE(HasLine(first, "\"Status\",0,1,0,1,1"));
  EXPECT_TRUE(HasLine(first, "\"BookMark\",4,\"C:\\windows\\\",0,0,0"));
  EXPECT_TRUE(HasLine(first, "\"SORTING\",102,0,\"sName\",\"des\",0"));
  // The chosen folder is kept as UTF-8 inside its quotes.
  EXPECT_TRUE(HasLine(first, "\"Active\",0,\"C\",\"C:\\0 e2e, odd;name \xc3\xa9\",0,0"));
  {
    e2e::ProgramRun run;
    HWND main = Start(run);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(Describe(NormalRect(main)), Describe(moved));
    // The same panes on the same folders, their lists in the same order.
    const std::vector<std::wstring> report = ReportOnceShown(run, {0, 2});
    EXPECT_EQ(PaneReport(report, 0), pane0);
    EXPECT_EQ(PaneReport(report, 2), pane2);
    ASSERT_EQ(run.Close(30000), 0);
  }
  EXPECT_EQ(Settings(), first);
}

TEST_F(SettingsRestart, MaximisedAndMinimisedWindowsAreSavedWithTheirRestoredPlace) {
  for (const int state : {SW_MAXIMIZE, SW_MINIMIZE}) {
    SCOPED_TRACE(state == SW_MAXIMIZE ? "maximised" : "minimised");
    RECT restored{};
    {
      e2e::ProgramRun run;
      HWND main = Start(run);
      ASSERT_NE(main, nullptr);
      ShowWindow(main, SW_RESTORE);  // the previous round may have left it maximised
      Sleep(200);
      SetWindowPos(main, nullptr, 90, 70, 640, 480, SWP_NOZORDER | SWP_NOACTIVATE);
      Sleep(200);
      restored = NormalRect(main);
      EXPECT_EQ(Describe(restored), "90,70 640x480");
      ShowWindow(main, state);
      Sleep(500);
      ASSERT_EQ(run.Close(30000), 0);
    }
    // The file keeps the restored place, and the maximised state.
    const std::string saved = Settings();
    const std::string place = "1050,1350,9600,7200";
    EXPECT_TRUE(HasLine(saved, state == SW_MAXIMIZE ? "\"ProgramPosition\",\"max\"," + place
                                                    : "\"ProgramPosition\"," + place + ",0"))
        << saved.substr(0, saved.find("\r\n"));
    // Started again: maximised, or shown normally at that place. The window is looked at as
    // soon as it shows: this display's window manager (evilwm) places every newly mapped
    // window itself about 150 ms later (proportionally to the pointer) and un-maximises it, a
    // plain Win32 window as much as this one.
    e2e::ProgramRun run;
    ASSERT_TRUE(run.Start(folder_));
    HWND main = run.WaitForMainWindow(60000);
    ASSERT_NE(main, nullptr);
    RECT shown{};
    GetWindowRect(main, &shown);
    const bool zoomed = IsZoomed(main) != FALSE, iconic = IsIconic(main) != FALSE;
    EXPECT_EQ(zoomed, state == SW_MAXIMIZE);
    EXPECT_FALSE(iconic);
    if (state != SW_MAXIMIZE) {
      EXPECT_EQ(Describe(shown), Describe(restored));
    }
    ASSERT_EQ(run.Close(30000), 0);
  }
}

TEST_F(SettingsRestart, TheSettingsAreSavedWhenTheSessionEnds) {
  {
    e2e::ProgramRun run;
    HWND main = Start(run);
    ASSERT_NE(main, nullptr);
    SetWindowPos(main, nullptr, 30, 20, 660, 500, SWP_NOZORDER | SWP_NOACTIVATE);
    Sleep(200);
    DWORD_PTR result = 0;
    SendMessageTimeoutW(main, WM_QUERYENDSESSION, 0, 0, SMTO_BLOCK, 10000, &result);
    SendMessageTimeoutW(main, WM_ENDSESSION, TRUE, 0, SMTO_BLOCK, 10000, &result);
    // Windows ends the program without closing its window; the run ends it here.
  }
  EXPECT_TRUE(HasLine(Settings(), "\"ProgramPosition\",300,450,9900,7500,0"));
  EXPECT_EQ(GetFileAttributesW((folder_ + L"\\run.txt").c_str()), INVALID_FILE_ATTRIBUTES);
  e2e::ProgramRun run;
  HWND main = Start(run);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(Describe(NormalRect(main)), "30,20 660x500");
  ASSERT_EQ(run.Close(30000), 0);
}

}  // namespace
