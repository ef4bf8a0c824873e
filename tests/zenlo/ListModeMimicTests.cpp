// The list-mode and mimic menus: the mode switch with its marks and the toolbar button's
// picture, and the panes the mimic menu offers.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "listing/view/LibraryPictures.h"
#include "listing/view/ViewState.h"
#include "toolkit/EventLoop.h"
#include "support/ControlFixture.h"
#include "support/HostWindow.h"
#include "support/TempFolder.h"
#include "toolkit/PopupMenu.h"
#include "toolkit/Text.h"

using namespace zenlo;
using testsupport::ControlHolder;
using testsupport::RealMouseAt;
using testsupport::TempFolder;

namespace {

// The image the toolbar shows on a button, as the toolbar itself reports it.
int ShownImage(const ZenloFileControl& c, const std::wstring& key) {
  const tk::Toolbar& toolbar = c.View().Toolbar1;
  const auto& buttons = toolbar.Buttons();
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    if (buttons[i].Key != key) continue;
    TBBUTTONINFOW info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_IMAGE | TBIF_BYINDEX;
    if (SendMessageW(toolbar.Handle(), TB_GETBUTTONINFOW, i, reinterpret_cast<LPARAM>(&info)) < 0)
      return -2;
    return info.iImage;
  }
  return -3;
}

int ImageOf(const ZenloFileControl&, const wchar_t* key) {
  return zenlo::ListPictures::Shared().ToolbarImages().IndexOf(key);
}

// The command of a menu item by its caption.
UINT CommandOf(HMENU menu, const std::wstring& caption) {
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
    if (caption == text) return GetMenuItemID(menu, i);
  }
  return 0;
}

std::vector<std::wstring> Captions(HMENU menu) {
  std::vector<std::wstring> captions;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
    captions.push_back(text);
  }
  return captions;
}

// Chooses an item of every menu shown, by caption, and remembers what the menu offered.
struct ScriptedMenu {
  std::wstring choose;
  int shown = 0;
  HMENU menu = nullptr;
  POINT at{};
  std::vector<bool> enabled;
  ScriptedMenu() {
    tk::SetPopupMenuSeam([this](const tk::PopupMenuRequest& r) -> UINT {
      ++shown;
      menu = r.Menu;
      at = r.ScreenPoint;
      enabled.clear();
      for (int i = 0; i < GetMenuItemCount(r.Menu); ++i)
        enabled.push_back(!(GetMenuState(r.Menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_GRAYED));
      return choose.empty() ? 0 : CommandOf(r.Menu, choose);
    });
  }
  ~ScriptedMenu() { tk::SetPopupMenuSeam(nullptr); }
};

// A listing sited in a window, long enough to scroll.
struct SitedListing {
  TempFolder dir;
  testsupport::HostWindow window{700, 500};
  ControlHolder c{fbFileAndFolder};
  explicit SitedListing(ListType type = fbFileAndFolder) {
    c->ltFolderListType = type;
    for (int i = 0; i < 80; ++i) dir.File(L"file" + std::to_wstring(100 + i) + L".txt", 10);
    EXPECT_TRUE(c->CreateFrame(window.Handle()));
    c->LoadSetup();
    MoveWindow(c->Window(), 0, 0, 640, 420, TRUE);
    EXPECT_TRUE(c->GetFolderContents(dir.Path(), true));
    c->ResizeControl(vertical);
  }
};

}  // namespace

TEST(ListMode, SwitchesLayoutMarksAndTheButtonsPicture) {
  SitedListing s;
  ZenloFileControl& c = *s.c;
  const ViewState& v = c.View();
  ASSERT_GE(ImageOf(c, L"list_details"), 0);
  ASSERT_GE(ImageOf(c, L"list_brief"), 0);
  ASSERT_NE(ImageOf(c, L"list_details"), ImageOf(c, L"list_brief"));
  EXPECT_EQ(ShownImage(c, L"listmode"), ImageOf(c, L"list_details"));
  EXPECT_TRUE(c.ListModeMenuChecked(listDetails));  // from LoadSetup

  s.c->View().VScroll1.SetValue(20);
  ASSERT_EQ(v.TopItem, 20);
  c.ChangeListMode(listNamesIconsSmall);
  EXPECT_EQ(c.ListMode, listNamesIconsSmall);
  EXPECT_TRUE(c.ListModeMenuChecked(listNamesIconsSmall));
  EXPECT_FALSE(c.ListModeMenuChecked(listDetails));
  EXPECT_EQ(v.TopItem, 0);
  EXPECT_EQ(v.HScroll1.Value(), 0);
  EXPECT_EQ(v.FirstVisible, 0);  // drawn again from the first item
  EXPECT_EQ(c.ItemCount(), 80);
  EXPECT_EQ(ShownImage(c, L"listmode"), ImageOf(c, L"list_brief"));

  // Any other mode keeps the layout but unticks both items.
  c.ChangeListMode(listThumbnails);
  EXPECT_EQ(c.ListMode, listNamesIconsSmall);
  EXPECT_FALSE(c.ListModeMenuChecked(listNamesIconsSmall));
  EXPECT_FALSE(c.ListModeMenuChecked(listDetails));
  EXPECT_EQ(ShownImage(c, L"listmode"), ImageOf(c, L"list_brief"));

  c.ChangeListMode(listDetails);
  EXPECT_EQ(c.ListMode, listDetails);
  EXPECT_TRUE(c.ListModeMenuChecked(listDetails));
  EXPECT_EQ(ShownImage(c, L"listmode"), ImageOf(c, L"list_details"));
  EXPECT_TRUE(s.c.host.Messages().empty());
}

TEST(ListMode, LoadSetupShowsTheModeTheHostSetExceptInATree) {
  testsupport::HostWindow window(400, 300);
  for (ListType type : {fbFileAndFolder, fbFile, fbFolder}) {
    SCOPED_TRACE(testing::Message() << "type " << type);
    ControlHolder c(type);
    ASSERT_TRUE(c->CreateFrame(window.Handle()));
    c->ListMode = listNamesIconsSmall;  // as a host restores it, after the control was made
    c->LoadSetup();
    const bool tree = type == fbFolder;
    EXPECT_EQ(c->ListModeMenuChecked(listNamesIconsSmall), !tree);
    EXPECT_EQ(ShownImage(*c, L"listmode"), ImageOf(*c, tree ? L"list_details" : L"list_brief"));
  }
}

TEST(ListMode, TheToolbarsTipStaysOffTheMenuOpenedFromItsButton) {
  SitedListing s;
  ShowWindow(s.window.Handle(), SW_SHOW);
  SetForegroundWindow(s.window.Handle());
  const tk::Toolbar& toolbar = s.c->View().Toolbar1;
  HWND tips = reinterpret_cast<HWND>(SendMessageW(toolbar.Handle(), TB_GETTOOLTIPS, 0, 0));
  ASSERT_NE(tips, nullptr);
  // The real pointer rests on the button until its tip shows.
  const RECT button = toolbar.ButtonRect(L"listmode");
  POINT on{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
  ClientToScreen(toolbar.Handle(), &on);
  SetCursorPos(on.x - 3, on.y);
  tk::PumpUntil([] { return false; }, 100);
  SetCursorPos(on.x, on.y);
  ASSERT_TRUE(tk::PumpUntil([&] { return IsWindowVisible(tips) != FALSE; }, 3000))
      << "the tip never showed on hover";
  // The menu is up as long as the seam runs; the tip's own timers run meanwhile.
  bool tipOverMenu = false;
  tk::SetPopupMenuSeam([&](const tk::PopupMenuRequest&) -> UINT {
    tk::PumpUntil([&] {
      tipOverMenu |= IsWindowVisible(tips) != FALSE;
      return false;
    }, 1500);
    return 0;
  });
  s.c->Toolbar1_ButtonClick(L"listmode");
  tk::SetPopupMenuSeam({});
  EXPECT_FALSE(tipOverMenu);
  SetCursorPos(0, 0);
}

namespace {

// Watches the real menu from inside its own loop: whether the tip showed while the menu was
// up, and closes the menu after a while.
struct MenuWatch {
  static inline HWND tips = nullptr;
  static inline int ticks = 0;
  static inline bool menuSeen = false;
  static inline bool tipOverMenu = false;
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (!menu || !IsWindowVisible(menu)) return;
    menuSeen = true;
    tipOverMenu |= IsWindowVisible(tips) != FALSE;
    if (++ticks == 15) EndMenu();
  }
};
}  // namespace

// Real input: the pointer rests on the button until its tip shows, then clicks it; the real
// menu runs its own loop while the tip's timers and the toolbar's hover handling go on.
TEST(ListMode, TheToolbarsTipStaysOffTheRealMenuAfterARealClick) {
  for (const wchar_t* key : {L"listmode", L"headings"}) {
    SCOPED_TRACE(testing::Message() << tk::ToUtf8(key));
    SitedListing s;
    ShowWindow(s.window.Handle(), SW_SHOW);
    SetForegroundWindow(s.window.Handle());
    const tk::Toolbar& toolbar = s.c->View().Toolbar1;
    HWND tips = reinterpret_cast<HWND>(SendMessageW(toolbar.Handle(), TB_GETTOOLTIPS, 0, 0));
    ASSERT_NE(tips, nullptr);
    const RECT button = toolbar.ButtonRect(key);
    POINT on{button.left + 8, (button.top + button.bottom) / 2};  // the button, not its arrow
    ClientToScreen(toolbar.Handle(), &on);
    INPUT beside = RealMouseAt({on.x - 3, on.y}, 0), onto = RealMouseAt(on, 0);
    SendInput(1, &beside, sizeof beside);
    tk::PumpUntil([] { return false; }, 100);
    SendInput(1, &onto, sizeof onto);
    ASSERT_TRUE(tk::PumpUntil([&] { return IsWindowVisible(tips) != FALSE; }, 3000))
        << "the tip never showed on hover";
    MenuWatch::tips = tips;
    MenuWatch::ticks = 0;
    MenuWatch::menuSeen = MenuWatch::tipOverMenu = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, &MenuWatch::Tick);
    INPUT click[2] = {RealMouseAt(on, MOUSEEVENTF_LEFTDOWN), RealMouseAt(on, MOUSEEVENTF_LEFTUP)};
    SendInput(2, click, sizeof(INPUT));
    tk::PumpUntil([] { return MenuWatch::ticks >= 15; }, 4000);
    KillTimer(nullptr, timer);
    EXPECT_TRUE(MenuWatch::menuSeen) << "the click opened no menu";
    EXPECT_FALSE(MenuWatch::tipOverMenu);
    INPUT away = RealMouseAt({0, 0}, 0);
    SendInput(1, &away, sizeof away);
    tk::PumpUntil([] { return false; }, 100);
  }
}

TEST(ListMode, TheButtonAndItsArrowOpenTheMenuBelowTheButton) {
  SitedListing s;
  ScriptedMenu menu;
  menu.choose = L"List";
  s.c->Toolbar1_ButtonClick(L"listmode");
  ASSERT_EQ(menu.shown, 1);
  EXPECT_EQ(Captions(menu.menu), (std::vector<std::wstring>{L"Details", L"List"}));
  EXPECT_EQ(s.c->ListMode, listNamesIconsSmall);
  EXPECT_EQ(ShownImage(*s.c, L"listmode"), ImageOf(*s.c, L"list_brief"));

  const tk::Toolbar& toolbar = s.c->View().Toolbar1;
  RECT button = toolbar.ButtonRect(L"listmode");
  POINT below{button.left + 2, button.bottom};
  ClientToScreen(toolbar.Handle(), &below);
  EXPECT_EQ(menu.at.x, below.x);
  EXPECT_EQ(menu.at.y, below.y);

  // The arrow beside the button opens the same menu; dismissing it changes nothing.
  menu.choose.clear();
  NMTOOLBARW arrow{};
  arrow.hdr.hwndFrom = toolbar.Handle();
  arrow.hdr.code = TBN_DROPDOWN;
  const auto& buttons = toolbar.Buttons();
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    if (buttons[i].Key != L"listmode") continue;
    TBBUTTON b{};
    SendMessageW(toolbar.Handle(), TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&b));
    arrow.iItem = b.idCommand;
  }
  SendMessageW(s.c->Window(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&arrow));
  EXPECT_EQ(menu.shown, 2);
  EXPECT_EQ(s.c->ListMode, listNamesIconsSmall);
}

TEST(MimicMenu, OffersTheOpenPanesButNeverItsOwn) {
  struct Case {
    std::int16_t index;
    std::vector<bool> shown;
    std::vector<bool> offered;
  };
  const Case cases[] = {
      {0, {true, false, true, false, false}, {false, false, true, false, false}},
      {102, {true, false, true, false, false}, {true, false, true, false, false}},
      {3, {true, true, true, true, true}, {true, true, true, false, true}},
      {-1, {false, false, false, false, true}, {false, false, false, false, true}},
  };
  testsupport::HostWindow window(400, 300);
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << "index " << k.index);
    ControlHolder c(k.index >= 100 ? fbFileAndFolder : fbFolder);
    ASSERT_TRUE(c->CreateFrame(window.Handle()));
    c->ControlIndex = k.index;
    for (int p = 0; p < 5; ++p) c.host.PaneShown[p] = k.shown[static_cast<std::size_t>(p)];
    ScriptedMenu menu;
    menu.choose = L"Make same as pane 5";
    c->Toolbar1_ButtonClick(L"mimic");
    ASSERT_EQ(menu.shown, 1);
    EXPECT_EQ(Captions(menu.menu),
              (std::vector<std::wstring>{L"Make same as pane 1", L"Make same as pane 2",
                                         L"Make same as pane 3", L"Make same as pane 4",
                                         L"Make same as pane 5"}));
    EXPECT_EQ(menu.enabled, k.offered);
    std::vector<std::wstring> asked;
    for (const auto& e : c.host.Events)
      if (e.Name == L"IsPaneActive") asked.push_back(e.Text);
    EXPECT_EQ(asked, (std::vector<std::wstring>{L"0", L"1", L"2", L"3", L"4"}));
    // The menu hands the choice on as the pane's number from 0.
    EXPECT_EQ(c.host.Count(L"PaneWantsToMimicFolder"), 1);
    EXPECT_EQ(c.host.Events.back().Text, L"4");
  }
}

TEST(MimicMenu, AChoiceRaisesTheEventAndADismissalNothing) {
  testsupport::HostWindow window(400, 300);
  ControlHolder c(fbFolder);
  ASSERT_TRUE(c->CreateFrame(window.Handle()));
  ScriptedMenu menu;
  c->ShowMimicMenu();
  EXPECT_EQ(c.host.Count(L"PaneWantsToMimicFolder"), 0);
  menu.choose = L"Make same as pane 4";
  c->ShowMimicMenu();
  ASSERT_EQ(c.host.Count(L"PaneWantsToMimicFolder"), 1);
  EXPECT_EQ(c.host.Events.back().Name, L"PaneWantsToMimicFolder");
  EXPECT_EQ(c.host.Events.back().Text, L"3");
}

// The host may close the pane while the control asks it which panes are open: the control
// then asks no more and shows no menu.
TEST(MimicMenu, AHostThatClosesThePaneMeanwhileEndsTheMenu) {
  struct ClosingHost : testsupport::FakeHost {
    ControlHolder* holder = nullptr;
    void IsPaneActive(short& pane, bool& result) override {
      FakeHost::IsPaneActive(pane, result);
      if (pane == 1) holder->Reset();
    }
  };
  testsupport::HostWindow window(400, 300);
  ControlHolder c(fbFolder);
  ASSERT_TRUE(c->CreateFrame(window.Handle()));
  ClosingHost host;
  host.holder = &c;
  ZenloFileControl* control = c.Get();
  control->AttachEvents(&host);
  ScriptedMenu menu;
  menu.choose = L"Make same as pane 1";
  control->ShowMimicMenu();
  EXPECT_EQ(menu.shown, 0);
  EXPECT_EQ(host.Count(L"IsPaneActive"), 2);
  EXPECT_EQ(host.Count(L"PaneWantsToMimicFolder"), 0);
}
