// The help and the tip of the day in the real program, driven with real input: F1 in the main
// window, and the tip's Next Tip button.
#include <gtest/gtest.h>

#include "DesktopInput.h"
#include "ProgramRun.h"

namespace {

// The run's visible top-level windows with this title.
std::vector<HWND> WindowsTitled(const e2e::ProgramRun& run, const std::wstring& title) {
  struct Search {
    DWORD pid;
    std::wstring title;
    std::vector<HWND> found;
  } s{run.ProcessId(), title, {}};
  EnumWindows(
      [](HWND w, LPARAM p) {
        auto* s = reinterpret_cast<Search*>(p);
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        wchar_t text[64] = L"";
        GetWindowTextW(w, text, 64);
        if (pid == s->pid && IsWindowVisible(w) && s->title == text) s->found.push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&s));
  return s.found;
}

HWND WaitForWindow(const e2e::ProgramRun& run, const std::wstring& title, DWORD ms) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(50)) {
    const auto found = WindowsTitled(run, title);
    if (!found.empty()) return found[0];
  }
  return nullptr;
}

// A real click on the middle of a window, once the window manager has stopped moving its form
// (it places new windows some hundred milliseconds after they show) and nothing covers it.
void ClickCentre(HWND w) {
  RECT r{}, was{};
  GetWindowRect(w, &was);
  for (int still = 0, tries = 0; still < 4 && tries < 40; ++tries) {
    Sleep(100);
    GetWindowRect(w, &r);
    still = EqualRect(&r, &was) ? still + 1 : 0;
    was = r;
  }
  const POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  EXPECT_EQ(WindowFromPoint(centre), w) << "the window is covered where it is to be clicked";
  e2e::RealLeftClick(centre.x, centre.y);
}

std::wstring ReportedTip(const e2e::ProgramRun& run) {
  for (const auto& l : run.DescribePanes())
    if (l.rfind(L"tip ", 0) == 0) return l.substr(4);
  return L"<no tip>";
}

class ProgramWindows : public ::testing::Test {
 protected:
  void Start(bool tips) {
    folder = e2e::MakeProgramFolder(e2e::BinFolder(), e2e::TempBase());
    ASSERT_FALSE(folder.empty()) << "could not lay out a program folder";
    run.ShowTips = tips;
    ASSERT_TRUE(run.Start(folder));
    main = run.WaitForMainWindow(60000);
    ASSERT_NE(main, nullptr) << "no main window";
    started = true;
  }
  void TearDown() override {
    if (started) {
      EXPECT_EQ(run.Close(30000), 0);
    }
    if (!folder.empty()) e2e::RemoveProgramFolder(folder);
  }
  std::wstring folder;
  e2e::ProgramRun run;
  HWND main = nullptr;
  bool started = false;
};

TEST_F(ProgramWindows, F1InTheMainWindowOpensOneHelpWindow) {
  ASSERT_NO_FATAL_FAILURE(Start(false));
  HWND toolbar = FindWindowExW(main, nullptr, L"ToolbarWindow32", nullptr);
  ASSERT_NE(toolbar, nullptr);
  RECT bar{};
  GetWindowRect(toolbar, &bar);
  for (int press = 0; press < 2; ++press) {
    SCOPED_TRACE(press);
    // The empty end of the main toolbar: the main window gets the keys, no button is pressed.
    e2e::RealLeftClick(bar.right - 4, (bar.top + bar.bottom) / 2);
    Sleep(200);
    e2e::RealKey(VK_F1);
    ASSERT_NE(WaitForWindow(run, L"Help", 10000), nullptr) << "no help window";
    Sleep(300);
    EXPECT_EQ(WindowsTitled(run, L"Help").size(), 1u);
  }
}

TEST_F(ProgramWindows, ARealClickOnNextTipShowsTheNextTip) {
  ASSERT_NO_FATAL_FAILURE(Start(true));
  HWND tip = WaitForWindow(run, L"Tip of the Day", 20000);
  ASSERT_NE(tip, nullptr) << "no tip of the day";
  HWND next = FindWindowExW(tip, nullptr, L"Button", L"&Next Tip");
  ASSERT_NE(next, nullptr);
  // A first run opens on the first tip of the shipped file.
  const std::string bytes = [&] {
    std::string b;
    HANDLE f = CreateFileW((folder + L"\\TIPOFDAY.TXT").c_str(), GENERIC_READ, FILE_SHARE_READ,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    char buffer[4096];
    DWORD n = 0;
    while (f != INVALID_HANDLE_VALUE && ReadFile(f, buffer, sizeof buffer, &n, nullptr) && n)
      b.append(buffer, n);
    if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
    return b;
  }();
  std::vector<std::wstring> tips;
  for (size_t start = 0, end; (end = bytes.find("\r\n", start)) != std::string::npos;
       start = end + 2) {
    const std::string line = bytes.substr(start, end - start);
    std::wstring wide(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, line.data(),
                                                              static_cast<int>(line.size()),
                                                              nullptr, 0)),
                      L'\0');
    MultiByteToWideChar(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), wide.data(),
                        static_cast<int>(wide.size()));
    tips.push_back(wide);
  }
  ASSERT_GE(tips.size(), 2u);
  EXPECT_EQ(ReportedTip(run), tips[0]);
  ClickCentre(next);
  std::wstring shown;
  for (DWORD start = GetTickCount(); GetTickCount() - start < 5000; Sleep(100))
    if ((shown = ReportedTip(run)) == tips[1]) break;
  EXPECT_EQ(shown, tips[1]);
}

}  // namespace
