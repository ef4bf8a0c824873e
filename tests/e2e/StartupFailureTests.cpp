// A start-up that fails in a list the program made while its splash played: the message names
// the phase that needed the list, the main window never shows and the program ends.
#include <gtest/gtest.h>

#include <string>

#include "ProgramRun.h"

namespace {

struct BoxSearch {
  DWORD pid;
  HWND box;
  std::wstring text;
};

std::wstring TextOf(HWND w) {
  wchar_t text[2048] = L"";
  DWORD_PTR copied = 0;
  // Asked of the control itself: another process's edit box keeps its text to itself.
  if (!SendMessageTimeoutW(w, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(text), SMTO_NORMAL,
                           5000, &copied))
    return {};
  return std::wstring(text, copied);
}

BOOL CALLBACK FindBoxText(HWND child, LPARAM lParam) {
  auto* s = reinterpret_cast<BoxSearch*>(lParam);
  wchar_t cls[32] = L"";
  GetClassNameW(child, cls, 32);
  if (_wcsicmp(cls, L"Edit") != 0) return TRUE;
  std::wstring text = TextOf(child);
  if (text.rfind(L"An error has occurred", 0) != 0) return TRUE;
  s->text = std::move(text);
  return FALSE;
}

BOOL CALLBACK FindBox(HWND w, LPARAM lParam) {
  auto* s = reinterpret_cast<BoxSearch*>(lParam);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid != s->pid || !IsWindowVisible(w)) return TRUE;
  EnumChildWindows(w, &FindBoxText, lParam);
  if (s->text.empty()) return TRUE;
  s->box = w;
  return FALSE;
}

// The program's error box of the run, and its text; null after `timeoutMs`.
HWND WaitForErrorBox(const e2e::ProgramRun& run, std::wstring& text, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < timeoutMs && run.Running()) {
    BoxSearch s{run.ProcessId(), nullptr, {}};
    EnumWindows(&FindBox, reinterpret_cast<LPARAM>(&s));
    if (s.box) {
      text = s.text;
      return s.box;
    }
    Sleep(20);
  }
  return nullptr;
}

BOOL CALLBACK FindOk(HWND child, LPARAM lParam) {
  wchar_t text[16] = L"";
  GetWindowTextW(child, text, 16);
  if (std::wstring(text) != L"OK" || !IsWindowVisible(child)) return TRUE;
  *reinterpret_cast<HWND*>(lParam) = child;
  return FALSE;
}

TEST(StartupFailure, AListMadeDuringTheSplashThatFailsNamesThePhaseThatNeededIt) {
  // List 100 is one of the main window's own parts; list 101 is made ahead for pane 2.
  const struct {
    const wchar_t* failing;
    const wchar_t* stage;
  } cases[] = {{L"100", L"loading initial pane..."}, {L"101", L"loading pane 2..."}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.failing, c.failing + wcslen(c.failing)));
    const std::wstring folder = e2e::MakeProgramFolder(e2e::BinFolder(), e2e::TempBase());
    ASSERT_FALSE(folder.empty()) << "could not lay out a program folder";
    {
      e2e::ProgramRun run;
      SetEnvironmentVariableW(L"VARNELLO_FAIL_LISTS", c.failing);
      const bool started = run.Start(folder);
      SetEnvironmentVariableW(L"VARNELLO_FAIL_LISTS", nullptr);
      ASSERT_TRUE(started);

      std::wstring text;
      HWND box = WaitForErrorBox(run, text, 60000);
      ASSERT_NE(box, nullptr) << "no start-up error box";
      EXPECT_EQ(text,
                L"An error has occurred while starting Varnello.\r\n\r\nThe error occurred "
                L"during this stage: " +
                    std::wstring(c.stage) +
                    L"\r\n\r\nPlease send an e-mail to support@varnello.example regarding "
                    L"possible fixes to this issue and quote error number: VR0101. Varnello "
                    L"must now close.");
      EXPECT_EQ(run.MainWindow(), nullptr);

      HWND ok = nullptr;
      EnumChildWindows(box, &FindOk, reinterpret_cast<LPARAM>(&ok));
      ASSERT_NE(ok, nullptr);
      PostMessageW(ok, BM_CLICK, 0, 0);
      // No main window to close: the program ends by itself, with its failure code.
      EXPECT_EQ(run.Close(30000), 1);
    }
    // The failure came before the running marker's phase.
    EXPECT_EQ(GetFileAttributesW((folder + L"\\run.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    e2e::RemoveProgramFolder(folder);
  }
}

}  // namespace
