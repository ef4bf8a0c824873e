// The help window: one window however often F1 is pressed, and a page that can be read to its
// end at any window size.
#include <gtest/gtest.h>

#include "DesktopInput.h"
#include "MasterFixture.h"
#include "toolkit/EventLoop.h"

namespace {

using namespace varnello;

int VisibleHelpWindows() {
  struct Count {
    int n = 0;
  } count;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM p) {
        wchar_t title[16] = L"";
        GetWindowTextW(w, title, 16);
        if (IsWindowVisible(w) && std::wstring(title) == L"Help") ++reinterpret_cast<Count*>(p)->n;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&count));
  return count.n;
}

class HelpTest : public vtest::MasterTest {
 protected:
  void SetUp() override {
    StartUp();
    master->Show();
    tk::PumpPendingMessages();
  }
  static void Settle() {
    tk::PumpUntil([] { return false; }, 400);
  }
  void PressF1() {
    PostMessageW(master->Handle(), WM_KEYDOWN, VK_F1, 0);
    tk::PumpPendingMessages();
  }
};

TEST_F(HelpTest, F1TwiceOpensOneWindowCentredOnTheMainWindow) {
  PressF1();
  HelpForm* help = master->Help();
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(VisibleHelpWindows(), 1);
  // Moved away; the window manager's answer to a move arrives a little later.
  SetWindowPos(help->Handle(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  Settle();
  PressF1();
  Settle();
  EXPECT_EQ(master->Help(), help);
  EXPECT_EQ(VisibleHelpWindows(), 1);
  RECT m{}, h{};
  GetWindowRect(master->Handle(), &m);
  GetWindowRect(help->Handle(), &h);
  EXPECT_NEAR((h.left + h.right) / 2, (m.left + m.right) / 2, 1);
  EXPECT_NEAR((h.top + h.bottom) / 2, (m.top + m.bottom) / 2, 1);
  // Closed, it opens afresh.
  SendMessageW(help->Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(master->Help(), nullptr);
  master->OpenHelp();
  EXPECT_EQ(VisibleHelpWindows(), 1);
}

TEST_F(HelpTest, TheLastParagraphCanBeReachedAtAnyWindowSize) {
  master->OpenHelp();
  HelpForm* help = master->Help();
  ASSERT_NE(help, nullptr);
  const auto& blocks = help->Blocks();
  ASSERT_EQ(blocks.size(), 5u + 2u * 9u);
  EXPECT_EQ(blocks.front().Caption, L"Varnello - What's this all about?");
  EXPECT_EQ(blocks[blocks.size() - 2].Caption, L"File and Folder Change Notifications");

  struct Case {
    const char* Name;
    int Width, Height;  // outer pixels
    bool Scrolls;
  };
  const Case cases[] = {
      {"as opened", 0, 0, true},
      {"tall and wide", 1000, 2000, false},
      {"narrow", 180, 500, true},
      {"short", 600, 90, true},
      {"the smallest there is", 1, 1, true},
  };
  int openedPageHeight = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    if (c.Width) {
      SetWindowPos(help->Handle(), nullptr, 0, 0, c.Width, c.Height, SWP_NOMOVE | SWP_NOZORDER);
      tk::PumpPendingMessages();
    } else {
      openedPageHeight = help->PageHeight();
    }
    const int inner = help->InnerHeight();
    EXPECT_EQ(help->VScroll1().Visible(), c.Scrolls);
    if (!c.Scrolls) {
      EXPECT_EQ(help->PageTop(), 0);
      continue;
    }
    EXPECT_EQ(help->VScroll1().Max(), help->PageHeight() - inner);
    if (c.Width == 180) {
      EXPECT_GT(help->PageHeight(), openedPageHeight);
    }
    // Scrolled to the end, the last paragraph is in view down to its last line.
    SendMessageW(help->Handle(), WM_VSCROLL, SB_BOTTOM,
                 reinterpret_cast<LPARAM>(help->VScroll1().Handle()));
    const auto& last = help->Blocks().back();
    EXPECT_EQ(help->PageTop(), -help->VScroll1().Max());
    EXPECT_LE(help->PageTop() + last.Top + last.Height, inner);
    EXPECT_GE(help->PageTop() + last.Top + last.Height, inner - 10);
  }
  // Minimised and restored, the page keeps its layout.
  const int before = help->PageHeight();
  ShowWindow(help->Handle(), SW_MINIMIZE);
  ShowWindow(help->Handle(), SW_RESTORE);
  tk::PumpPendingMessages();
  EXPECT_EQ(help->PageHeight(), before);
}

TEST_F(HelpTest, TheKeysOfAScrollBarScrollThePage) {
  master->OpenHelp();
  HelpForm* help = master->Help();
  ASSERT_NE(help, nullptr);
  // Narrow, the page is several windows high.
  SetWindowPos(help->Handle(), nullptr, 0, 0, 260, 500, SWP_NOMOVE | SWP_NOZORDER);
  SetForegroundWindow(help->Handle());
  ASSERT_TRUE(tk::PumpUntil([&] { return GetForegroundWindow() == help->Handle(); }, 5000));
  ASSERT_TRUE(help->VScroll1().Visible());
  const int end = help->VScroll1().Max();
  const int page = help->VScroll1().LargeChange;
  ASSERT_GT(end, page + 13);  // the page as opened is more than one window high
  struct Step {
    const char* Name;
    WORD Modifier;  // 0: none
    WORD Key;
    int Value;  // of the scroll bar afterwards
  };
  const Step steps[] = {
      {"PageDown", 0, VK_NEXT, page},
      {"Down", 0, VK_DOWN, page + 13},
      {"Up", 0, VK_UP, page},
      {"PageUp", 0, VK_PRIOR, 0},
      {"Ctrl+End", VK_CONTROL, VK_END, end},
      {"PageDown at the end", 0, VK_NEXT, end},
      {"Ctrl+Home", VK_CONTROL, VK_HOME, 0},
      {"End", 0, VK_END, end},
      {"Home", 0, VK_HOME, 0},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.Name);
    if (s.Modifier)
      e2e::RealKeyWith(s.Modifier, s.Key);
    else
      e2e::RealKey(s.Key);
    EXPECT_TRUE(tk::PumpUntil([&] { return help->VScroll1().Value() == s.Value; }, 3000))
        << help->VScroll1().Value();
    EXPECT_EQ(help->PageTop(), -s.Value);
  }
}

}  // namespace
