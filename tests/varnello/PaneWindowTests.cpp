// The pane area of the real main window (on recording lists): where the children land, which
// passes lay out what, minimise and restore, opening and closing panes, splitter drags through
// the window's own mouse messages, and the display-mode switches.
#include <gtest/gtest.h>

#include <windowsx.h>

#include "MasterFixture.h"
#include "commands/MainMenu.h"
#include "mainwindow/PaneChrome.h"
#include "toolkit/Window.h"

namespace {

using vtest::MasterTest;
using namespace varnello;

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

class PaneWindowTest : public MasterTest {
 protected:
  void ShowMaster() {
    StartUp();
    master->Show();
    Pump();
  }
  void Resize(int width, int height) {
    SetWindowPos(master->Handle(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    Pump();
  }
  size_t CountCalls(const std::wstring& call) const {
    size_t n = 0;
    for (const auto& c : lists.Log.Calls) n += c == call ? 1 : 0;
    return n;
  }
  void ExpectChildrenWhereArranged() { vtest::ExpectChildrenWhereArranged(*master); }
};

struct FakeTray final : TrayIcon {
  long AddAnswer = 1;
  std::vector<std::wstring> Calls;
  long ShellTrayAdd() override { return Calls.push_back(L"add"), AddAnswer; }
  void ShellTrayDelete() override { Calls.push_back(L"delete"); }
  void HookWindow(HWND) override { Calls.push_back(L"hook"); }
  void UnhookWindow() override { Calls.push_back(L"unhook"); }
};

TEST_F(PaneWindowTest, ChildrenLandWhereTheArrangementSays) {
  ShowMaster();
  for (const wchar_t* layout : {L"horizontal", L"vertical"}) {
    SCOPED_TRACE(testing::Message() << layout);
    master->SwitchLayout(layout);
    ExpectChildrenWhereArranged();
    Resize(900, 640);
    ExpectChildrenWhereArranged();
  }
  for (short pane : {2, 3, 4}) master->ChangePanes(pane);
  EXPECT_EQ(master->Options.ShownPaneCount, 5);
  ExpectChildrenWhereArranged();
  master->SwitchLayout(L"horizontal");
  ExpectChildrenWhereArranged();  // five rows in 640 pixels leave the lists without room
  EXPECT_FALSE(master->Panes[4].ChildListFits);
}

TEST_F(PaneWindowTest, NothingIsLaidOutBeforeTheWindowIsShown) {
  StartUp();
  lists.Log.Calls.clear();
  master->ResizeForm(true);
  EXPECT_EQ(CountCalls(L"0:ResizeControl"), 0u);
  EXPECT_FALSE(master->LastArrangement().Arranged);
}

TEST_F(PaneWindowTest, WhichPassesLayOutWhat) {
  ShowMaster();
  lists.Log.Calls.clear();
  master->ResizeForm(false);  // same size, same layout
  EXPECT_EQ(CountCalls(L"0:ResizeControl"), 0u);
  EXPECT_EQ(CountCalls(L"0:ClearTempGraphics"), 1u);
  EXPECT_EQ(CountCalls(L"101:ClearTempGraphics"), 1u);

  lists.Log.Calls.clear();
  master->SwitchLayout(L"vertical");
  EXPECT_EQ(CountCalls(L"0:ResizeControl"), 1u);
  EXPECT_EQ(CountCalls(L"101:ResizeControl"), 1u);
  for (const PaneRecord& p : master->Panes) {
    if (p.Status == 0) {
      EXPECT_FALSE(p.NeedsResize);
    }
  }

  lists.Log.Calls.clear();
  master->SwitchLayout(L"vertical");  // already vertical: only the button is pressed again
  EXPECT_TRUE(lists.Log.Calls.empty());
  EXPECT_TRUE(master->Toolbar1().Value(L"layoutvertical"));

  for (short pane : {2, 3}) master->ChangePanes(pane);
  lists.Log.Calls.clear();
  Resize(880, 600);
  // A new size marks all five panes; hidden ones are hidden again and not redrawn. Each shown
  // list is laid out once: no nested passes.
  EXPECT_TRUE(master->Panes[4].NeedsResize);
  EXPECT_FALSE(master->Panes[0].NeedsResize);
  for (const wchar_t* list : {L"0", L"100", L"1", L"101", L"2", L"102", L"3", L"103"})
    EXPECT_EQ(CountCalls(std::wstring(list) + L":ResizeControl"), 1u) << list;
  EXPECT_EQ(CountCalls(L"4:ResizeControl"), 0u);
}

TEST_F(PaneWindowTest, TheWindowKeepsItsMinimumSize) {
  ShowMaster();
  Resize(120, 90);
  RECT r{};
  GetWindowRect(master->Handle(), &r);
  EXPECT_GE((r.right - r.left) * tk::TwipsPerPixelX(), 5000);
  EXPECT_GE((r.bottom - r.top) * tk::TwipsPerPixelY(), 5000);
}

TEST_F(PaneWindowTest, MinimiseAndRestore) {
  struct Case {
    const char* Name;
    bool ToTaskBar;
    long AddAnswer;
    bool Hidden;
    std::vector<std::wstring> Calls;
  };
  const Case cases[] = {
      {"to the task bar", true, 1, false, {}},
      {"to the tray", false, 1, true, {L"add", L"hook"}},
      {"the tray icon could not be added: stays on the task bar", false, 0, false, {L"add"}},
  };
  ShowMaster();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    FakeTray tray;
    tray.AddAnswer = c.AddAnswer;
    master->SetTray(&tray);
    master->Options.MinimizeToTaskBar = c.ToTaskBar;
    ShowWindow(master->Handle(), SW_MINIMIZE);
    Pump();
    EXPECT_EQ(tray.Calls, c.Calls);
    EXPECT_EQ(master->ResizeState().InTray, c.Hidden);
    EXPECT_EQ(IsWindowVisible(master->Handle()) == FALSE, c.Hidden);
    ShowWindow(master->Handle(), SW_RESTORE);
    Pump();
    EXPECT_FALSE(master->ResizeState().InTray);
    if (c.Hidden) {
      EXPECT_EQ(tray.Calls, (std::vector<std::wstring>{L"add", L"hook", L"delete", L"unhook"}));
    }
    master->SetTray(nullptr);
  }
}

TEST_F(PaneWindowTest, ClosingTheLastPaneIsRefused) {
  ShowMaster();
  master->ChangePanes(1);
  ASSERT_EQ(master->Options.ShownPaneCount, 1);
  vtest::BoxAnswers boxes({vtest::BoxAnswers::Press(1)});
  master->ChangePanes(0);
  ASSERT_EQ(boxes.Seen.size(), 1u);
  EXPECT_EQ(boxes.Seen[0].Text, L" You must always have at least one pane open.");
  EXPECT_EQ(master->Panes[0].Status, 0);
  EXPECT_TRUE(master->Toolbar1().Value(L"pane0"));
  EXPECT_EQ(master->Options.ShownPaneCount, 1);
}

TEST_F(PaneWindowTest, ClosingRepairsTheActiveAndClickedLists) {
  struct Case {
    const char* Name;
    short Active, Clicked, Close;
    short WantActive, WantClicked;
  };
  const Case cases[] = {
      {"the active tree moves to the clicked list", 1, 100, 1, 100, 100},
      {"the active listing moves to the clicked list", 101, 0, 1, 0, 0},
      {"the clicked list's pane closes: both go to the lowest shown pane", 101, 101, 1, 0, 0},
      {"another pane closes: nothing moves", 100, 100, 1, 100, 100},
  };
  ShowMaster();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    if (master->Panes[1].Status != 0) master->ChangePanes(1);
    master->Options.ActivePane = c.Active;
    master->Options.ClickedPane = c.Clicked;
    master->ChangePanes(c.Close);
    EXPECT_EQ(master->Options.ActivePane, c.WantActive);
    EXPECT_EQ(master->Options.ClickedPane, c.WantClicked);
    EXPECT_FALSE(master->Toolbar1().Value(L"pane1"));
    EXPECT_FALSE(MenuChecked(master->MenuBar(), mnuPane0 + 1));
  }
}

TEST_F(PaneWindowTest, OpeningLoadsOnceAndSharesEqually) {
  ShowMaster();
  master->ChangePanes(2);
  EXPECT_TRUE(master->Panes[2].Loaded);
  EXPECT_TRUE(master->Panes[2].FolderSet);
  for (short i : {0, 1, 2}) {
    EXPECT_FLOAT_EQ(master->Panes[i].PercentWidth, 1.0f / 3) << i;
    EXPECT_FLOAT_EQ(master->Panes[i].PercentHeightH, 1.0f / 3) << i;
  }
  EXPECT_TRUE(master->Toolbar1().Value(L"pane2"));
  EXPECT_TRUE(MenuChecked(master->MenuBar(), mnuPane0 + 2));
  // The pane's close button closes it; its menu item opens it again.
  HWND close = master->Chrome().CloseButton(2);
  SendMessageW(master->Handle(), WM_COMMAND,
               MAKEWPARAM(PaneChrome::kCloseButtonId + 2, BN_CLICKED),
               reinterpret_cast<LPARAM>(close));
  EXPECT_EQ(master->Panes[2].Status, 1);
  EXPECT_FALSE(IsWindowVisible(master->List(2)->Window()));
  EXPECT_FALSE(IsWindowVisible(close));
  EXPECT_TRUE(lists.Log.Has(L"2:WatchStop"));
  EXPECT_TRUE(lists.Log.Has(L"102:WatchStop"));
  lists.Log.Calls.clear();
  SendMessageW(master->Handle(), WM_COMMAND, MAKEWPARAM(mnuPane0 + 2, 0), 0);
  EXPECT_EQ(master->Panes[2].Status, 0);  // opened before: not set up again, folder kept
  EXPECT_FALSE(lists.Log.Has(L"2:LoadSetup"));
  EXPECT_TRUE(IsWindowVisible(master->List(2)->Window()));

  master->SwitchAutoExpand(true);
  master->Options.ActivePane = 0;
  master->DoAutoExpand();
  master->ChangePanes(3);  // with auto-expand on the shares are not equalised
  EXPECT_FLOAT_EQ(master->Panes[0].PercentHeightH, 0.7f);
  EXPECT_FLOAT_EQ(master->Panes[3].PercentHeightH, 0.1f);
}

// A pane whose set-up fails stays closed and is set up afresh when opened again.
TEST_F(PaneWindowTest, APaneWhoseSetUpFailedIsSetUpAgainNextTime) {
  ShowMaster();
  lists.OnCreate = [](vtest::RecordingList& l) { l.SetupFails = true; };
  {
    vtest::BoxAnswers boxes({vtest::BoxAnswers::Press(1)});
    master->ChangePanes(2);
    ASSERT_EQ(boxes.Seen.size(), 1u);
    EXPECT_EQ(boxes.Seen[0].Text.rfind(L"The pane could not be opened.", 0), 0u);
  }
  EXPECT_EQ(master->Panes[2].Status, 1);
  EXPECT_FALSE(master->Panes[2].Loaded);
  EXPECT_FALSE(master->Toolbar1().Value(L"pane2"));
  lists[2].SetupFails = lists[102].SetupFails = false;
  lists.Log.Calls.clear();
  master->ChangePanes(2);
  EXPECT_TRUE(lists.Log.Has(L"2:LoadSetup"));
  EXPECT_TRUE(lists.Log.Has(L"102:LoadSetup"));
  EXPECT_TRUE(master->Panes[2].Loaded);
  EXPECT_EQ(master->Panes[2].Status, 0);
  EXPECT_TRUE(IsWindowVisible(master->List(102)->Window()));
}

// A pass that cannot arrange (here: a minimised window) keeps the values the panes stand by.
TEST_F(PaneWindowTest, AnArrangementThatCannotBeMadeKeepsTheLastValues) {
  ShowMaster();
  const LayoutValues before = master->LayoutNow();
  ASSERT_EQ(before.PaneAreaTop, 430);
  ASSERT_EQ(before.FirstShownPane, 0);
  ShowWindow(master->Handle(), SW_MINIMIZE);
  Pump();
  master->ArrangePanes2();
  const LayoutValues after = master->LayoutNow();
  ShowWindow(master->Handle(), SW_RESTORE);
  EXPECT_EQ(after.PaneAreaWidth, before.PaneAreaWidth);
  EXPECT_EQ(after.PaneAreaHeight, before.PaneAreaHeight);
  EXPECT_EQ(after.ListAreaTop, before.ListAreaTop);
  EXPECT_EQ(after.FirstShownPane, before.FirstShownPane);
  EXPECT_EQ(after.LastShownPane, before.LastShownPane);
}

// After a layout pass the focus is on the window's focus box, and keys typed there reach the
// active list.
TEST_F(PaneWindowTest, ALayoutPassLeavesTheFocusWhereKeysReachTheActiveList) {
  ShowMaster();
  SetFocus(master->List(100)->Window());
  master->ResizeForm(true);
  HWND focus = GetFocus();
  ASSERT_NE(focus, nullptr);
  EXPECT_EQ(GetParent(focus), master->Handle());
  wchar_t cls[32] = L"";
  GetClassNameW(focus, cls, 32);
  EXPECT_STREQ(cls, L"Edit");
  EXPECT_NE(focus, master->CurrentPathWindow());
  for (short i = 0; i < kPaneCount; ++i) EXPECT_NE(focus, master->TitleBarWindow(i));
  master->Options.ActivePane = 101;
  lists.Log.Calls.clear();
  MSG key{focus, WM_KEYDOWN, VK_DOWN, 0, 0, {}};
  master->PreviewKey(key);
  EXPECT_TRUE(lists.Log.Has(L"101:KeyUpDownPressed(40,0)"));
}

// The window's own pieces take their skin colours: the pane frames, the no-room labels and the
// command-line box.
TEST_F(PaneWindowTest, FramesLabelsAndTheCommandBoxTakeTheirSkinColours) {
  ShowMaster();
  master->Skin.ColorPaneBackground = RGB(200, 10, 20);
  master->Skin.ColorProgramBackground = RGB(10, 200, 20);
  master->Skin.ColorCommandLineList = RGB(30, 40, 210);
  master->Skin.ColorCommandLineText = RGB(250, 240, 5);
  master->ApplySkinChange();
  HDC dc = CreateCompatibleDC(nullptr);
  struct Case {
    const char* name;
    UINT message;
    HWND child;
    COLORREF back;
  } cases[] = {
      {"no-room label of a tree", WM_CTLCOLORSTATIC, master->Chrome().NoRoom(0), RGB(200, 10, 20)},
      {"no-room label of a listing", WM_CTLCOLORSTATIC, master->Chrome().NoRoom(104),
       RGB(200, 10, 20)},
      {"command-line box", WM_CTLCOLOREDIT, GetWindow(master->CommandWindow(), GW_CHILD),
       RGB(30, 40, 210)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_NE(c.child, nullptr);
    SetBkColor(dc, RGB(1, 1, 1));
    const LRESULT brush = SendMessageW(master->Handle(), c.message, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(c.child));
    EXPECT_NE(brush, 0);
    EXPECT_EQ(GetBkColor(dc), c.back);
    EXPECT_EQ(GetDCBrushColor(dc), c.back);
  }
  SendMessageW(master->Handle(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
               reinterpret_cast<LPARAM>(GetWindow(master->CommandWindow(), GW_CHILD)));
  EXPECT_EQ(GetTextColor(dc), RGB(250, 240, 5));
  DeleteDC(dc);
  // The gap between a pane's tree and its listing shows the pane background.
  RedrawWindow(master->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  const RECT tree = tk::RectInParent(master->List(0)->Window());
  HDC window = GetDC(master->Handle());
  EXPECT_EQ(GetPixel(window, tree.right + 2, (tree.top + tree.bottom) / 2), RGB(200, 10, 20));
  ReleaseDC(master->Handle(), window);
}

TEST_F(PaneWindowTest, SplitterDragThroughTheWindow) {
  ShowMaster();
  master->SwitchLayout(L"vertical");
  const TwipRect tree = master->LastArrangement().Controls[0].Tree;
  const int tx = tk::TwipsPerPixelX(), ty = tk::TwipsPerPixelY();
  const int x = (tree.Left + tree.Width / 2) / tx;
  const int y = (tree.Top + tree.Height + 30) / ty;  // the band below the tree
  HWND w = master->Handle();
  SendMessageW(w, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
  EXPECT_EQ(master->MousePointer(), kPointerSizeNS);
  SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  EXPECT_TRUE(IsWindowVisible(master->Chrome().LineHorz()));
  const RECT barAtPress = tk::RectInParent(master->Chrome().LineHorz());
  SendMessageW(w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y + 40));  // 600 twips down
  // The marker bars follow the mouse while the button is held.
  for (HWND bar : {master->Chrome().LineHorz(), master->Chrome().LineHorz2()})
    EXPECT_EQ(tk::RectInParent(bar).top, barAtPress.top + 600 / ty);
  const long before = master->Panes[0].Height;
  SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(x, y + 40));
  EXPECT_FALSE(IsWindowVisible(master->Chrome().LineHorz()));
  EXPECT_EQ(before, 4000 + 600);
  EXPECT_EQ(master->LastArrangement().Controls[0].Tree.Height, tree.Height + 600);
  ExpectChildrenWhereArranged();
  EXPECT_EQ(master->Splitter().State(), SplitterDragState::None);
}

// The band between a tree and its listing reaches over the lists' empty edges: every pixel of
// the visible gap shows the sizing pointer and starts a drag, also where the lists get the mouse.
TEST_F(PaneWindowTest, TheWholeVisibleGapBetweenTreeAndListingGrabs) {
  ShowMaster();
  const RECT tree = tk::RectInParent(master->List(0)->Window());
  const RECT listing = tk::RectInParent(master->List(100)->Window());
  const int y = (tree.top + tree.bottom) / 2;
  const int edge = 7;  // the lists' own empty edge, in pixels
  for (int x = tree.right - edge + 1; x < listing.left + edge - 1; ++x) {
    SCOPED_TRACE(x);
    POINT screen{x, y};
    ClientToScreen(master->Handle(), &screen);
    HWND under = x < tree.right ? master->List(0)->Window()
                 : x >= listing.left ? master->List(100)->Window()
                                     : master->Handle();
    if (under == master->Handle()) {
      SendMessageW(under, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
      EXPECT_EQ(master->MousePointer(), kPointerSizeWE);
      continue;
    }
    MSG move{under, WM_MOUSEMOVE, 0, 0, 0, screen};
    EXPECT_TRUE(master->PreviewMouse(move));
    EXPECT_EQ(master->MousePointer(), kPointerSizeWE);
  }
  // A press on the list's side of the gap starts the drag.
  POINT screen{tree.right - 3, y};
  ClientToScreen(master->Handle(), &screen);
  MSG press{master->List(0)->Window(), WM_LBUTTONDOWN, MK_LBUTTON, 0, 0, screen};
  EXPECT_TRUE(master->PreviewMouse(press));
  EXPECT_EQ(master->Splitter().State(), SplitterDragState::WestEast);
  SendMessageW(master->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(tree.right - 3, y));
  // Well inside a list the mouse stays the list's.
  POINT inside{(tree.left + tree.right) / 2, y};
  ClientToScreen(master->Handle(), &inside);
  MSG away{master->List(0)->Window(), WM_MOUSEMOVE, 0, 0, 0, inside};
  EXPECT_FALSE(master->PreviewMouse(away));
}

TEST_F(PaneWindowTest, DisplayModeSwitchesAreIdempotent) {
  ShowMaster();
  // Command line.
  master->ShowCommandLine(true);
  EXPECT_TRUE(IsWindowVisible(master->CurrentPathWindow()));
  EXPECT_TRUE(IsWindowVisible(master->CommandWindow()));
  EXPECT_TRUE(master->ResizeState().CommandLineChanged);
  lists.Log.Calls.clear();
  master->ShowCommandLine(true);
  EXPECT_TRUE(lists.Log.Calls.empty());
  master->ShowCommandLine(false);
  EXPECT_FALSE(IsWindowVisible(master->CurrentPathWindow()));
  EXPECT_FALSE(master->Toolbar1().Value(L"showcommandline"));
  EXPECT_TRUE(MenuChecked(master->MenuBar(), mnuCommandOff));

  // Auto-expand.
  master->Options.ActivePane = 1;
  master->SwitchAutoExpand(true);
  EXPECT_FLOAT_EQ(master->Panes[1].PercentHeightH, 0.7f);
  master->Panes[1].PercentHeightH = 0.5f;
  master->SwitchAutoExpand(true);  // already on: nothing
  EXPECT_FLOAT_EQ(master->Panes[1].PercentHeightH, 0.5f);
  master->SwitchAutoExpand(false);
  EXPECT_FLOAT_EQ(master->Panes[1].PercentHeightH, 0.5f);  // off keeps the shares
  EXPECT_FALSE(master->Toolbar1().Value(L"layoutautoexpand"));

  // Colour coding: the property goes out every time, the menu changes once.
  lists.Log.Calls.clear();
  master->ShowColor(true);
  master->ShowColor(true);
  EXPECT_EQ(CountCalls(L"100:ApplyProperty(ShowColor,1)"), 2u);
  EXPECT_TRUE(master->ColorMenuOn());
  EXPECT_TRUE(MenuChecked(master->MenuBar(), mnuColorOn));
  EXPECT_FALSE(MenuChecked(master->MenuBar(), mnuColorOff));
  EXPECT_TRUE(master->Toolbar1().Value(L"showcolor"));
  EXPECT_TRUE(master->Options.ColorCodingOn);
  // The menu pair drives the same switch, and the setting follows it.
  lists.Log.Calls.clear();
  SendMessageW(master->Handle(), WM_COMMAND, MAKEWPARAM(mnuColorOff, 0), 0);
  EXPECT_EQ(CountCalls(L"100:ApplyProperty(ShowColor,0)"), 1u);
  EXPECT_FALSE(master->Options.ColorCodingOn);
  EXPECT_FALSE(MenuChecked(master->MenuBar(), mnuColorOn));
  EXPECT_TRUE(MenuChecked(master->MenuBar(), mnuColorOff));
  EXPECT_FALSE(master->Toolbar1().Value(L"showcolor"));
  SendMessageW(master->Handle(), WM_COMMAND, MAKEWPARAM(mnuColorOn, 0), 0);
  EXPECT_TRUE(master->Options.ColorCodingOn);
  EXPECT_TRUE(MenuChecked(master->MenuBar(), mnuColorOn));

  // Compare criteria follow the two buttons.
  struct Compare {
    bool Size, Date;
    long Mode;
  };
  for (const Compare& c : {Compare{true, true, 3}, Compare{true, false, 1},
                           Compare{false, true, 2}, Compare{false, false, 0}}) {
    master->Toolbar1().SetValue(L"compare_size", c.Size);
    master->Toolbar1().SetValue(L"compare_date", c.Date);
    master->SetCompareMode();
    EXPECT_EQ(master->Options.CompareMode, c.Mode);
    EXPECT_EQ(MenuChecked(master->MenuBar(), mnuCompareSize), c.Size);
    EXPECT_EQ(MenuChecked(master->MenuBar(), mnuCompareDate), c.Date);
  }
}

TEST_F(PaneWindowTest, HoveringATitleBarExpandsItsPane) {
  ShowMaster();
  master->Options.ActivePane = 0;
  master->SwitchAutoExpand(true);
  lists.Log.Calls.clear();
  master->TitleBar_MouseMove(0);  // already active: only the pointer
  EXPECT_TRUE(lists.Log.Calls.empty());
  EXPECT_EQ(master->MousePointer(), kPointerArrow);
  master->TitleBar_MouseMove(1);
  EXPECT_EQ(master->Options.ActivePane, 1);
  EXPECT_FLOAT_EQ(master->Panes[1].PercentHeightH, 0.7f);
  EXPECT_FLOAT_EQ(master->Panes[0].PercentHeightH, 0.3f);
}

}  // namespace
