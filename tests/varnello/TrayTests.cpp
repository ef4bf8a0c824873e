// The tray icon on the real main window and the real notification area: minimising to it, the
// icon's clicks through the window hook, its menu, and the icon going with the window.
#include <gtest/gtest.h>

#include "MasterFixture.h"
#include "mainwindow/Tray.h"
#include "toolkit/EventLoop.h"
#include "toolkit/PopupMenu.h"

namespace {

using namespace varnello;

// Whether the shell holds the icon: only an icon it holds can be changed.
bool IconInTray(HWND window) {
  NOTIFYICONDATAW probe{};
  probe.cbSize = sizeof probe;
  probe.hWnd = window;
  probe.uID = Tray::kIconId;
  probe.uFlags = NIF_TIP;
  wcscpy_s(probe.szTip, L"Varnello");
  return Shell_NotifyIconW(NIM_MODIFY, &probe) != FALSE;
}

class TrayTest : public vtest::MasterTest {
 protected:
  void SetUp() override {
    StartUp();
    master->Show();
    tk::PumpPendingMessages();
    menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 9001, L"&Restore");
    AppendMenuW(menu, MF_STRING, 9002, L"&Exit");
    tray = std::make_unique<Tray>(master->Handle(), [this] { master->RestoreWindow(); },
                                  [this] { return menu; });
    master->SetTray(tray.get());
    master->Options.MinimizeToTaskBar = false;
  }
  void TearDown() override {
    tk::SetPopupMenuSeam(nullptr);
    if (master) master->SetTray(nullptr);
    tray.reset();
    DestroyMenu(menu);
  }
  void Minimise() {
    ShowWindow(master->Handle(), SW_MINIMIZE);
    tk::PumpPendingMessages();
  }
  void IconMessage(UINT mouse) {
    SendMessageW(master->Handle(), Tray::kCallbackMessage, Tray::kIconId, mouse);
    tk::PumpPendingMessages();
  }
  HMENU menu = nullptr;
  std::unique_ptr<Tray> tray;
};

TEST_F(TrayTest, MinimisingPutsTheWindowBehindAnIconThatBringsItBack) {
  struct Case {
    const char* Name;
    UINT Mouse;
    bool Maximised;
  };
  const Case cases[] = {
      {"left button up", WM_LBUTTONUP, false},
      {"double click", WM_LBUTTONDBLCLK, false},
      {"left button up, was maximised", WM_LBUTTONUP, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    ShowWindow(master->Handle(), c.Maximised ? SW_MAXIMIZE : SW_RESTORE);
    tk::PumpPendingMessages();
    Minimise();
    EXPECT_FALSE(IsWindowVisible(master->Handle()));
    EXPECT_TRUE(master->ResizeState().InTray);
    EXPECT_TRUE(IconInTray(master->Handle()));
    EXPECT_TRUE(tray->Hooked());
    EXPECT_EQ(tray->Record().cbSize, sizeof(NOTIFYICONDATAW));
    EXPECT_STREQ(tray->Record().szTip, L"Varnello");
    EXPECT_EQ(tray->Record().uCallbackMessage, WM_USER + 1);

    // A mouse move over the icon changes nothing.
    IconMessage(WM_MOUSEMOVE);
    EXPECT_FALSE(IsWindowVisible(master->Handle()));

    IconMessage(c.Mouse);
    EXPECT_TRUE(IsWindowVisible(master->Handle()));
    EXPECT_FALSE(IsIconic(master->Handle()));
    EXPECT_EQ(IsZoomed(master->Handle()) != FALSE, c.Maximised);
    EXPECT_FALSE(master->ResizeState().InTray);
    EXPECT_FALSE(IconInTray(master->Handle()));
    EXPECT_FALSE(tray->Hooked());
  }
}

TEST_F(TrayTest, TheRightButtonOpensTheMenuAndLeavesTheWindowInTheTray) {
  std::vector<HMENU> shown;
  tk::SetPopupMenuSeam([&](const tk::PopupMenuRequest& r) {
    shown.push_back(r.Menu);
    return 0u;  // dismissed
  });
  Minimise();
  IconMessage(WM_RBUTTONUP);
  EXPECT_EQ(shown, std::vector<HMENU>{menu});
  EXPECT_FALSE(IsWindowVisible(master->Handle()));
  EXPECT_TRUE(IconInTray(master->Handle()));
  // Other messages still reach the window's own procedure: its smallest size is its own.
  MINMAXINFO info{};
  SendMessageW(master->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, (5000 + tk::TwipsPerPixelX() - 1) / tk::TwipsPerPixelX());
}

TEST_F(TrayTest, TheIconComesBackWhenTheTaskbarIsCreatedAgain) {
  Minimise();
  ASSERT_TRUE(IconInTray(master->Handle()));
  // The shell restarted and forgot its icons.
  NOTIFYICONDATAW gone = tray->Record();
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &gone));
  ASSERT_FALSE(IconInTray(master->Handle()));
  SendMessageW(master->Handle(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  tk::PumpPendingMessages();
  EXPECT_TRUE(IconInTray(master->Handle()));
  EXPECT_FALSE(IsWindowVisible(master->Handle()));
}

TEST_F(TrayTest, UnloadingTheWindowTakesTheIconAway) {
  Minimise();
  ASSERT_TRUE(IconInTray(master->Handle()));
  HWND window = master->Handle();
  // The tray menu's Exit unloads the window like every other way out.
  master->RequestClose();
  tk::PumpUntil([&] { return master->Unloaded(); }, 5000);
  ASSERT_TRUE(master->Unloaded());
  EXPECT_FALSE(IconInTray(window));
  EXPECT_FALSE(tray->Hooked());
}

}  // namespace
