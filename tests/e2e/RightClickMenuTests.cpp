// The right-click menu driven for real: a right click on a file row of a listing, an entry
// chosen with the keyboard, and what the listing shows afterwards.
#include <gtest/gtest.h>

#include <cwchar>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "DesktopInput.h"
#include "ProgramRun.h"

namespace {

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!done() && GetTickCount() - start < timeoutMs) Sleep(100);
  return done();
}

// The report lines "<tag> ..." of pane `pane`, without the tag.
std::vector<std::wstring> PaneLines(const std::vector<std::wstring>& report, short pane,
                                    const std::wstring& tag) {
  std::vector<std::wstring> out;
  bool inPane = false;
  for (const auto& l : report) {
    if (l.rfind(L"pane ", 0) == 0) inPane = l.rfind(L"pane " + std::to_wstring(pane) + L" ", 0) == 0;
    if (inPane && l.rfind(tag + L" ", 0) == 0) out.push_back(l.substr(tag.size() + 1));
  }
  return out;
}

// The screen place of the row of `path` in pane `pane`'s listing.
bool RowOf(const std::vector<std::wstring>& report, short pane, const std::wstring& path, RECT& r) {
  for (const auto& l : PaneLines(report, pane, L"row")) {
    const wchar_t* p = l.c_str();
    wchar_t* end = nullptr;
    for (LONG* f : {&r.left, &r.top, &r.right, &r.bottom}) {
      *f = std::wcstol(p, &end, 10);
      p = end;
    }
    if (*p == L' ' && path == p + 1) return true;
  }
  return false;
}

// A pop-up menu of the program on the screen.
bool MenuShown(const e2e::ProgramRun& run) {
  HWND w = nullptr;
  while ((w = FindWindowExW(nullptr, w, L"#32768", nullptr)) != nullptr) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == run.ProcessId() && IsWindowVisible(w)) return true;
  }
  return false;
}

std::string State(const e2e::ProgramRun& run) {
  std::string out;
  for (const auto& l : run.DescribePanes())
    if (l.rfind(L"clicked", 0) == 0 || l.rfind(L"mark", 0) == 0 || l.rfind(L"active", 0) == 0)
      out += " [" + std::string(l.begin(), l.end()) + "]";
  return out;
}

// The program's top-level windows, for a failure's message.
std::string Windows(const e2e::ProgramRun& run) {
  struct Seen {
    DWORD pid;
    std::string text;
  } seen{run.ProcessId(), ""};
  EnumWindows(
      [](HWND w, LPARAM lp) -> BOOL {
        auto& s = *reinterpret_cast<Seen*>(lp);
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        char cls[64] = "";
        GetClassNameA(w, cls, 64);
        if (pid == s.pid) s.text += std::string(" ") + cls + (IsWindowVisible(w) ? "+" : "-");
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&seen));
  return seen.text;
}

std::vector<std::wstring> FilesLike(const std::wstring& folder, const std::wstring& pattern) {
  std::vector<std::wstring> out;
  WIN32_FIND_DATAW d;
  HANDLE h = FindFirstFileW((folder + pattern).c_str(), &d);
  if (h == INVALID_HANDLE_VALUE) return out;
  do out.push_back(folder + d.cFileName);
  while (FindNextFileW(h, &d));
  FindClose(h);
  return out;
}

class RightClickMenuProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    stem = L"zz rc " + std::to_wstring(GetCurrentProcessId()) + L" a";
    file = L"C:\\" + stem + L".txt";
    HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD wrote = 0;
    WriteFile(h, "duplicate me", 12, &wrote, nullptr);
    CloseHandle(h);
  }
  void TearDown() override {
    if (started) {
      EXPECT_EQ(run.Close(30000), 0);
    }
    if (!folder.empty()) e2e::RemoveProgramFolder(folder);
    for (const auto& f : FilesLike(L"C:\\", stem + L"*")) DeleteFileW(f.c_str());
  }

  std::wstring stem, file, folder;
  e2e::ProgramRun run;
  bool started = false;
};

TEST_F(RightClickMenuProgram, DuplicateChosenWithDownAndEnterListsTheCopy) {
  folder = e2e::MakeProgramFolder(e2e::BinFolder(), e2e::TempBase());
  ASSERT_FALSE(folder.empty()) << "could not lay out a program folder";
  ASSERT_TRUE(run.Start(folder));
  ASSERT_NE(run.WaitForMainWindow(60000), nullptr) << "no main window";
  started = true;
  // The right click marks the row it lands on. When the listing moved under the pointer (a
  // change elsewhere in the folder), the menu is closed and the click made again.
  bool onFile = false;
  for (int attempt = 0; attempt < 3 && !onFile; ++attempt) {
    RECT row{};
    ASSERT_TRUE(WaitFor([&] { return RowOf(run.DescribePanes(), 0, file, row); }, 20000))
        << "pane 0's listing does not show the file";
    // The upper part of the row: the report places rows a few pixels lower than the listing's
    // hit test does, and the lower part of a row can count as the next one.
    e2e::RealRightClick(row.left + 60, row.top + 3);
    ASSERT_TRUE(WaitFor([&] { return MenuShown(run); }, 10000))
        << "no menu came" << Windows(run) << State(run);
    run.WaitIdle(5000);
    const auto marks = PaneLines(run.DescribePanes(), 0, L"mark");
    onFile = marks.size() == 1 && marks[0] == file;
    if (!onFile) {
      e2e::RealKey(VK_ESCAPE);
      ASSERT_TRUE(WaitFor([&] { return !MenuShown(run); }, 10000)) << "the menu stays";
    }
  }
  ASSERT_TRUE(onFile) << "the right click never landed on the file:" << State(run);
  // New Folder, (a separator,) Rename, Duplicate; each key once the menu's loop waits for it,
  // so that none arrives before the menu takes keys.
  for (int i = 0; i < 3; ++i) {
    e2e::RealKey(VK_DOWN);
    run.WaitIdle(2000);
  }
  e2e::RealKey(VK_RETURN);

  std::wstring copy;
  const bool listed = WaitFor(
      [&] {
        for (const auto& p : PaneLines(run.DescribePanes(), 0, L"list"))
          if (p != file && p.rfind(L"C:\\" + stem, 0) == 0) {
            copy = p;
            return true;
          }
        return false;
      },
      15000);
  ASSERT_TRUE(listed) << "the listing shows no copy; on disk: "
                      << FilesLike(L"C:\\", stem + L"*").size() << " file(s)";
  EXPECT_FALSE(MenuShown(run));
  EXPECT_EQ(copy.substr(copy.size() - 4), L".txt");
  HANDLE h = CreateFileW(copy.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                         nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << "the listed copy is not on disk";
  char text[32] = "";
  DWORD got = 0;
  ReadFile(h, text, sizeof text, &got, nullptr);
  CloseHandle(h);
  EXPECT_EQ(std::string(text, got), "duplicate me");
  EXPECT_EQ(FilesLike(L"C:\\", stem + L"*").size(), 2u);
}

}  // namespace
