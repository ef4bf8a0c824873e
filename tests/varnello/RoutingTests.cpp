// What the main window does with the events of its lists: which list each event reaches,
// the active and clicked list, keys, the wheel, the pane-wide toggles and the skin push.
#include <gtest/gtest.h>

#include <functional>

#include "MasterFixture.h"
#include "commands/MainMenu.h"
#include "mainwindow/ListEventSink.h"
#include "toolkit/MousePointer.h"

namespace {

using vtest::MasterTest;

// Writes each handler it hears as "<name>(<index>[,args])".
struct HeardEvents final : varnello::PaneListEvents {
  std::vector<std::wstring> Heard;
  void Note(const std::wstring& name, short index, const std::wstring& args = L"") {
    Heard.push_back(name + L"(" + std::to_wstring(index) + (args.empty() ? L"" : L"," + args) +
                    L")");
  }
  void List_Click(short i) override { Note(L"Click", i); }
  void List_DriveClick(short i) override { Note(L"DriveClick", i); }
  void List_Message(short i, std::wstring& t) override { Note(L"Message", i, t); }
  void List_ForceQuit(short i) override { Note(L"ForceQuit", i); }
  void List_UpdateFileName(short i, std::wstring& n) override { Note(L"UpdateFileName", i, n); }
  void List_GetBookmark(short i, short& slot, std::wstring& path) override {
    Note(L"GetBookmark", i, std::to_wstring(slot));
    path = L"answer";
  }
  void List_IsPaneActive(short i, short& pane, bool& result) override {
    Note(L"IsPaneActive", i, std::to_wstring(pane));
    result = true;
  }
  void List_MouseMoveBasic(short i) override { Note(L"MouseMoveBasic", i); }
  void List_PushedDownFolder(short i, std::wstring& c, std::wstring& p) override {
    Note(L"PushedDownFolder", i, c + L"," + p);
  }
  void List_PushedUpFolder2(short i) override { Note(L"PushedUpFolder2", i); }
  void List_SetActiveIndex(short i) override { Note(L"SetActiveIndex", i); }
  void List_SetLockedIndex(short i) override { Note(L"SetLockedIndex", i); }
  void List_SetMasterMousePointer(short i, short& p) override {
    Note(L"SetMasterMousePointer", i, std::to_wstring(p));
  }
  void List_SetActiveButton(short i, short& b) override {
    Note(L"SetActiveButton", i, std::to_wstring(b));
  }
  void List_UpdateMasterHeadings(short i) override { Note(L"UpdateMasterHeadings", i); }
  void List_KeyPressed(short i, short& k) override { Note(L"KeyPressed", i, std::to_wstring(k)); }
  void List_SpaceKeyUp(short i) override { Note(L"SpaceKeyUp", i); }
  void List_MouseLocked(short i, bool& l) override { Note(L"MouseLocked", i, l ? L"1" : L"0"); }
  void List_NotifySourceIndex(short i) override { Note(L"NotifySourceIndex", i); }
  void List_PaneWantsToMimicFolder(short i, short& pane) override {
    Note(L"PaneWantsToMimicFolder", i, std::to_wstring(pane));
  }
  void List_PasteItems(short i, std::wstring& s, std::wstring& t, std::wstring& o) override {
    Note(L"PasteItems", i, s + L"," + t + L"," + o);
  }
  void List_PushedNewFolder2(short i) override { Note(L"PushedNewFolder2", i); }
  void List_FBRightClick(short i, short, short, float, float, std::wstring&, std::wstring&,
                         std::wstring& item, std::wstring&, bool useCurrent,
                         zenlo::sTypes) override {
    Note(L"FBRightClick", i, item + (useCurrent ? L",1" : L",0"));
  }
};

TEST(ListEventSink, EveryEventOfTheControlReachesItsHandlerWithTheListIndex) {
  using E = zenlo::ZenloFileControlEvents;
  short s1 = 1, s2 = 0, key = 40, slot = 4, pane = 2;
  float x = 3, y = 4;
  std::wstring a = L"C:\\a\\b", b = L"C:\\a", c = L"x", d = L"y", text = L"hello";
  bool flag = true;
  struct Row {
    const wchar_t* event;
    std::function<void(E&)> raise;
    const wchar_t* heard;  // empty: the main window has nothing to do for it
  } rows[] = {
      {L"Click", [](E& e) { e.Click(); }, L"Click(102)"},
      {L"DriveClick", [](E& e) { e.DriveClick(); }, L"DriveClick(102)"},
      {L"FBMouseDown", [&](E& e) { e.FBMouseDown(s1, s2, x, y); }, L""},
      {L"FBRightClick",
       [&](E& e) { e.FBRightClick(s1, s2, x, y, a, b, c, d, flag, zenlo::sDefault); },
       L"FBRightClick(102,x,1)"},
      {L"FBMouseUp", [&](E& e) { e.FBMouseUp(s1, s2, x, y); }, L""},
      {L"FBMouseMove", [&](E& e) { e.FBMouseMove(s1, s2, x, y); }, L""},
      {L"MouseMoveBasic", [](E& e) { e.MouseMoveBasic(); }, L"MouseMoveBasic(102)"},
      {L"PushedNewFolder", [&](E& e) { e.PushedNewFolder(a, b); }, L"PushedNewFolder2(102)"},
      {L"PushedNewFolder2", [](E& e) { e.PushedNewFolder2(); }, L"PushedNewFolder2(102)"},
      {L"PushedUpFolder", [&](E& e) { e.PushedUpFolder(a, b); }, L""},
      {L"PushedDownFolder", [&](E& e) { e.PushedDownFolder(a, b); },
       L"PushedDownFolder(102,C:\\a\\b,C:\\a)"},
      {L"PushedUpFolder2", [](E& e) { e.PushedUpFolder2(); }, L"PushedUpFolder2(102)"},
      {L"DragStart", [](E& e) { e.DragStart(); }, L""},
      {L"SetActiveIndex", [](E& e) { e.SetActiveIndex(); }, L"SetActiveIndex(102)"},
      {L"SetLockedIndex", [](E& e) { e.SetLockedIndex(); }, L"SetLockedIndex(102)"},
      {L"SetMasterMousePointer", [&](E& e) { e.SetMasterMousePointer(s1); },
       L"SetMasterMousePointer(102,1)"},
      {L"SetActiveButton", [&](E& e) { e.SetActiveButton(s1); }, L"SetActiveButton(102,1)"},
      {L"Message", [&](E& e) { e.Message(text); }, L"Message(102,hello)"},
      {L"UpdateMasterHeadings", [](E& e) { e.UpdateMasterHeadings(); },
       L"UpdateMasterHeadings(102)"},
      {L"MouseScrolled", [&](E& e) { e.MouseScrolled(flag); }, L""},
      {L"KeyPressed", [&](E& e) { e.KeyPressed(key); }, L"KeyPressed(102,40)"},
      {L"SpaceKeyUp", [](E& e) { e.SpaceKeyUp(); }, L"SpaceKeyUp(102)"},
      {L"MouseLocked", [&](E& e) { e.MouseLocked(flag); }, L"MouseLocked(102,1)"},
      {L"ForceQuit", [](E& e) { e.ForceQuit(); }, L"ForceQuit(102)"},
      {L"UpdateFileName", [&](E& e) { e.UpdateFileName(c); }, L"UpdateFileName(102,x)"},
      {L"PasteItems", [&](E& e) { e.PasteItems(a, b, c); }, L"PasteItems(102,C:\\a\\b,C:\\a,x)"},
      {L"NotifySourceIndex", [](E& e) { e.NotifySourceIndex(); }, L"NotifySourceIndex(102)"},
      {L"GetBookmark", [&](E& e) { e.GetBookmark(slot, d); }, L"GetBookmark(102,4)"},
      {L"PaneWantsToMimicFolder", [&](E& e) { e.PaneWantsToMimicFolder(pane); },
       L"PaneWantsToMimicFolder(102,2)"},
      {L"IsPaneActive",
       [&](E& e) {
         flag = false;
         e.IsPaneActive(pane, flag);
       },
       L"IsPaneActive(102,2)"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.event);
    HeardEvents heard;
    varnello::ListSink sink(102, heard);
    r.raise(sink);
    const std::vector<std::wstring> want =
        *r.heard ? std::vector<std::wstring>{r.heard} : std::vector<std::wstring>{};
    EXPECT_EQ(heard.Heard, want);
  }
  // The by-reference answers go back to the control.
  EXPECT_EQ(d, L"answer");
  EXPECT_TRUE(flag);
}

// The calls of the lists since `from`, leaving out the hover housekeeping of a mouse move.
std::vector<std::wstring> CallsSince(const vtest::CallLog& log, size_t from) {
  std::vector<std::wstring> out;
  for (size_t i = from; i < log.Calls.size(); ++i) {
    const auto& c = log.Calls[i];
    if (c.find(L"Skip") != std::wstring::npos || c.find(L"ClearTempGraphics") != std::wstring::npos)
      continue;
    out.push_back(c);
  }
  return out;
}

TEST_F(MasterTest, KeysGoToTheListUnderTheMouseNotTheRaiser) {
  StartUp();
  master->List_MouseMoveBasic(101);
  ASSERT_EQ(master->Options.ActivePane, 101);
  struct Step {
    short raiser;
    const wchar_t* what;  // key code, "up" for SpaceKeyUp, "move" for a mouse move over 0
    short key;
    std::vector<std::wstring> want;
  } steps[] = {
      {0, L"key", VK_DOWN, {L"101:KeyUpDownPressed(40,0)"}},
      {100, L"key", VK_UP, {L"101:KeyUpDownPressed(38,0)"}},
      {0, L"key", VK_F3, {L"101:CalculateFolderSizeSingle"}},
      {0, L"key", VK_RETURN, {}},
      // Space held: each Down also marks.
      {100, L"key", VK_SPACE, {L"101:KeySpacePressed"}},
      {0, L"key", VK_DOWN, {L"101:KeyUpDownPressed(40,1)"}},
      {0, L"key", VK_DOWN, {L"101:KeyUpDownPressed(40,1)"}},
      {0, L"up", 0, {}},
      {0, L"key", VK_DOWN, {L"101:KeyUpDownPressed(40,0)"}},
      // A mouse move ends the held Space too, and moves the active list.
      {100, L"key", VK_SPACE, {L"101:KeySpacePressed"}},
      {0, L"move", 0, {}},
      {101, L"key", VK_DOWN, {L"0:KeyUpDownPressed(40,0)"}},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(std::wstring(s.what) + L" " + std::to_wstring(s.key));
    const size_t from = lists.Log.Calls.size();
    short key = s.key;
    if (std::wstring(s.what) == L"key") master->List_KeyPressed(s.raiser, key);
    if (std::wstring(s.what) == L"up") master->List_SpaceKeyUp(s.raiser);
    if (std::wstring(s.what) == L"move") master->List_MouseMoveBasic(0);
    EXPECT_EQ(CallsSince(lists.Log, from), s.want);
  }
}

TEST_F(MasterTest, KeysPressedInAListAreSeenFirstByTheMainWindow) {
  StartUp();
  master->List_MouseMoveBasic(101);
  auto pump = [] {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
  };
  struct Case {
    HWND target;
    UINT message;
    WPARAM key;
    std::vector<std::wstring> want;
  } cases[] = {
      {lists[0].Window(), WM_KEYDOWN, VK_SPACE, {L"101:KeySpacePressed"}},
      // The window's own command for Down follows: the active list takes the focus.
      {lists[100].Window(), WM_KEYDOWN, VK_DOWN,
       {L"101:KeyUpDownPressed(40,1)", L"101:SetFolderFocus"}},
      // A release ends the held Space and rearms the window's keys.
      {lists[0].Window(), WM_KEYUP, VK_SPACE,
       {L"0:ResetStartItem", L"100:ResetStartItem", L"1:ResetStartItem", L"101:ResetStartItem"}},
      {lists[0].Window(), WM_KEYDOWN, VK_UP, {L"101:KeyUpDownPressed(38,0)", L"101:SetFolderFocus"}},
      // Keys typed elsewhere are not the lists' keys (and the window waits for a release).
      {master->Handle(), WM_KEYDOWN, VK_DOWN, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    pump();
    const size_t from = lists.Log.Calls.size();
    PostMessageW(c.target, c.message, c.key, 0);
    pump();
    EXPECT_EQ(CallsSince(lists.Log, from), c.want);
  }
  // A list that raises its keys itself is not handed them again, or each would act twice.
  lists[0].OwnKeys = true;
  const size_t from = lists.Log.Calls.size();
  PostMessageW(lists[0].Window(), WM_KEYDOWN, VK_DOWN, 0);
  pump();
  EXPECT_TRUE(CallsSince(lists.Log, from).empty());
}

TEST_F(MasterTest, WheelScrollsTheActiveListTheWayItTurned) {
  StartUp();
  master->List_MouseMoveBasic(100);
  struct Case {
    short delta;
    const wchar_t* want;  // empty: no scroll
  } cases[] = {{120, L"100:MimimMouseScroll(1)"}, {-120, L"100:MimimMouseScroll(0)"},
               {240, L"100:MimimMouseScroll(1)"}, {30, L"100:MimimMouseScroll(1)"},
               {-15, L"100:MimimMouseScroll(0)"}, {0, L""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.delta);
    const size_t from = lists.Log.Calls.size();
    SendMessageW(master->Handle(), WM_MOUSEWHEEL,
                 MAKEWPARAM(0, static_cast<WORD>(c.delta)), MAKELPARAM(10, 10));
    const auto calls = CallsSince(lists.Log, from);
    EXPECT_EQ(calls, *c.want ? std::vector<std::wstring>{c.want} : std::vector<std::wstring>{});
  }
}

TEST_F(MasterTest, KeysAndWheelWithNoActiveListDoNothing) {
  StartUp();
  for (short active : {short{-99}, short{-1}, short{5}, short{99}, short{105}}) {
    SCOPED_TRACE(active);
    master->Options.ActivePane = active;
    const size_t from = lists.Log.Calls.size();
    for (short key : {short{VK_SPACE}, short{VK_DOWN}, short{VK_F3}}) master->List_KeyPressed(0, key);
    master->MouseWheelTurned(120);
    EXPECT_EQ(CallsSince(lists.Log, from), std::vector<std::wstring>{});
  }
}

TEST_F(MasterTest, MovingTheMouseMakesTheListActiveAndClearsOthersOnce) {
  StartUp();
  const size_t from = lists.Log.Calls.size();
  master->List_MouseMoveBasic(101);
  EXPECT_EQ(master->Options.ActivePane, 101);
  std::vector<std::wstring> cleared;
  for (size_t i = from; i < lists.Log.Calls.size(); ++i)
    if (lists.Log.Calls[i].find(L"ClearTempGraphics") != std::wstring::npos)
      cleared.push_back(lists.Log.Calls[i]);
  EXPECT_EQ(cleared, (std::vector<std::wstring>{L"0:ClearTempGraphics", L"1:ClearTempGraphics",
                                                L"100:ClearTempGraphics"}));
  // Every list may scroll again; only the others may move their hover mark.
  EXPECT_TRUE(lists.Log.Has(L"101:SkipScrollEvent=0"));
  EXPECT_EQ(lists.Log.For(101).back(), L"SkipScrollEvent=0");
  const size_t again = lists.Log.Calls.size();
  master->List_MouseMoveBasic(101);
  for (size_t i = again; i < lists.Log.Calls.size(); ++i)
    EXPECT_EQ(lists.Log.Calls[i].find(L"ClearTempGraphics"), std::wstring::npos);
  master->List_MouseMoveBasic(0);
  EXPECT_TRUE(lists.Log.Has(L"101:ClearTempGraphics"));
  EXPECT_EQ(master->Options.ActivePane, 0);
}

TEST_F(MasterTest, WithAutoExpandThePaneTheMouseEntersGrowsOncePerEntry) {
  StartUp();
  master->SwitchAutoExpand(true);
  master->List_MouseMoveBasic(101);
  EXPECT_FLOAT_EQ(master->Panes[1].PercentHeightH, 0.7f);
  EXPECT_FLOAT_EQ(master->Panes[0].PercentHeightH, 0.3f);
  // Moving on inside the same pane, tree or listing, leaves the sizes the user set.
  master->Panes[0].PercentHeightH = master->Panes[1].PercentHeightH = 0.5f;
  master->List_MouseMoveBasic(101);
  master->List_MouseMoveBasic(1);
  EXPECT_FLOAT_EQ(master->Panes[1].PercentHeightH, 0.5f);
  master->SwitchAutoExpand(false);
  master->Panes[0].PercentHeightH = master->Panes[1].PercentHeightH = 0.5f;
  master->List_MouseMoveBasic(0);
  EXPECT_FLOAT_EQ(master->Panes[0].PercentHeightH, 0.5f);
}

TEST_F(MasterTest, LockingAndButtonEventsMoveTheClickedList) {
  StartUp();
  master->Panes[2].Status = 0;
  master->InitializePaneSet(2);
  auto lastHighlight = [&](short index) {
    std::wstring last;
    for (const auto& c : lists.Log.For(index))
      if (c.rfind(L"HiLightControl", 0) == 0) last = c;
    return last;
  };
  auto highlights = [&] {
    int n = 0;
    for (const auto& c : lists.Log.Calls) n += c.find(L"HiLightControl(1)") != std::wstring::npos;
    return n;
  };
  const int before = highlights();
  master->List_SetLockedIndex(102);
  EXPECT_EQ(master->Options.ClickedPane, 102);
  EXPECT_EQ(lastHighlight(102), L"HiLightControl(1)");
  EXPECT_TRUE(master->TitleBarActive(2));
  // The same list again only notes the click.
  master->List_SetLockedIndex(102);
  EXPECT_EQ(highlights(), before + 1);
  short button = 3;
  master->List_SetActiveButton(2, button);
  EXPECT_EQ(master->Options.ClickedPane, 2);
  EXPECT_EQ(lastHighlight(2), L"HiLightControl(1)");
  EXPECT_EQ(lastHighlight(102), L"HiLightControl(0)");
  EXPECT_EQ(master->LockedPane, 102);
  // Back on the list that still holds the mouse: the highlight follows it again.
  master->List_SetLockedIndex(102);
  EXPECT_EQ(lastHighlight(102), L"HiLightControl(1)");
  EXPECT_EQ(lastHighlight(2), L"HiLightControl(0)");
  EXPECT_TRUE(master->TitleBarActive(2));
  // The active list follows the mouse, not the clicks.
  master->List_SetActiveIndex(101);
  EXPECT_EQ(master->Options.ActivePane, 101);
  EXPECT_EQ(master->Options.ClickedPane, 102);
  master->List_NotifySourceIndex(101);
  EXPECT_EQ(master->Options.DragSourceIndex, 101);
  short hourglass = tk::PointerHourglass;
  master->List_SetMasterMousePointer(0, hourglass);
  EXPECT_EQ(master->MousePointer(), tk::PointerHourglass);
  master->List_MouseMoveBasic(0);
  EXPECT_EQ(master->MousePointer(), tk::PointerDefault);
}

// A pane's title button is pressed and clicked like its title bar.
TEST_F(MasterTest, TheTitleButtonMovesTheClickedAndActiveListLikeTheTitleBar) {
  StartUp();
  master->Options.ClickedPane = 100;
  master->Options.ActivePane = 100;
  HWND button = master->Chrome().TitleButton(1);
  ASSERT_NE(button, nullptr);
  SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  EXPECT_EQ(master->Options.ClickedPane, 1);
  SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  EXPECT_EQ(master->Options.ActivePane, 1);
}

TEST_F(MasterTest, AListingsDriveChoiceFillsItsOwnPaneWithoutReadingItAgain) {
  StartUp();
  lists[101].ActiveFolderAnswer = L"D:\\";
  const size_t from = lists.Log.Calls.size();
  master->List_DriveClick(101);
  EXPECT_EQ(master->Panes[1].CurrentFolder, L"D:\\");
  EXPECT_EQ(master->TitleBarText(1), L"D:\\");
  // The listing read the drive before it said so; the tree stays where it was.
  EXPECT_EQ(CallsSince(lists.Log, from), (std::vector<std::wstring>{L"101:GetActiveFolder()"}));
}

TEST_F(MasterTest, FolderButtonsMoveThePanesTree) {
  StartUp();
  master->Panes[1].CurrentFolder = L"C:\\a\\b\\";
  master->UpdateChildPane(1);
  std::wstring current = L"C:\\a\\b\\c", parent = L"C:\\a\\b";
  size_t from = lists.Log.Calls.size();
  master->List_PushedDownFolder(101, current, parent);
  EXPECT_EQ(CallsSince(lists.Log, from),
            (std::vector<std::wstring>{L"1:ExpandFolder(C:\\a\\b,1)", L"1:MakeItemActive(C:\\a\\b\\c)"}));

  struct Case {
    const wchar_t* title;
    std::int32_t level;
    const wchar_t* path;
    std::vector<std::wstring> want;
  } cases[] = {
      {L"C:\\a\\b\\", 3, L"C:\\a\\b", {L"1:MakeItemActive(C:\\a)"}},
      {L"C:\\a\\", 2, L"C:\\a", {L"1:MakeItemActive(C:\\)"}},
      {L"C:\\a\\", 1, L"C:\\a", {L"1:MakeItemActive()"}},
      {L"C:\\", 1, L"C:\\", {}},  // a drive root has nothing above it
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    master->Panes[1].CurrentFolder = c.title;
    master->UpdateChildPane(1);
    lists[1].ActiveItemLevel = c.level;
    lists[1].ActiveItemPath = c.path;
    tk::SetScreenMousePointer(tk::PointerArrow);
    from = lists.Log.Calls.size();
    master->List_PushedUpFolder2(101);
    EXPECT_EQ(CallsSince(lists.Log, from), c.want);
    EXPECT_EQ(tk::ScreenMousePointer(), tk::PointerArrow);
  }
  tk::SetScreenMousePointer(tk::PointerDefault);
}

// Pane 2 loaded and then closed; panes 3 and 4 never loaded.
class ToggleTest : public MasterTest {
 protected:
  void SetUp() override {
    StartUp();
    master->Panes[2].Status = 0;
    master->InitializePaneSet(2);
    master->Panes[2].Status = 1;
  }
  std::vector<std::wstring> CallsOf(const std::wstring& name, size_t from) const {
    std::vector<std::wstring> out;
    for (size_t i = from; i < lists.Log.Calls.size(); ++i)
      if (lists.Log.Calls[i].find(name) != std::wstring::npos) out.push_back(lists.Log.Calls[i]);
    return out;
  }
};

TEST_F(ToggleTest, ShowFlagsReachHiddenPanesButOnlyShownOnesReread) {
  struct Toggle {
    const wchar_t* flag;
    std::function<void()> run;
    UINT menu;
  } toggles[] = {{L"ShowHiddenItems", [&] { master->HiddenShowHide(); }, varnello::mnuHidden},
                 {L"ShowSystemItems", [&] { master->SystemShowHide(); }, varnello::mnuSystem}};
  for (const Toggle& t : toggles) {
    SCOPED_TRACE(t.flag);
    for (const bool on : {true, false}) {
      const size_t from = lists.Log.Calls.size();
      t.run();
      EXPECT_EQ(varnello::MenuChecked(master->MenuBar(), t.menu), on);
      const std::wstring v = on ? L"=1" : L"=0";
      const std::wstring f = t.flag;
      EXPECT_EQ(CallsOf(t.flag, from),
                (std::vector<std::wstring>{L"0:" + f + v, L"100:" + f + v, L"1:" + f + v,
                                           L"101:" + f + v, L"2:" + f + v, L"102:" + f + v}));
      EXPECT_EQ(CallsOf(L"RefreshList", from),
                (std::vector<std::wstring>{L"0:RefreshList", L"100:RefreshList", L"1:RefreshList",
                                           L"101:RefreshList"}));
    }
  }
}

TEST_F(ToggleTest, WatchAndLockReachEveryLoadedList) {
  const std::vector<std::wstring> loaded = {L"0", L"100", L"1", L"101", L"2", L"102"};
  struct Case {
    const wchar_t* call;
    std::function<void()> run;
    std::vector<std::wstring> lists;
  } cases[] = {
      {L"WatchStop", [&] { master->WatchStopPanes(); }, loaded},
      {L"WatchStart", [&] { master->WatchStartPanes(); }, loaded},
      {L"WatchResume", [&] { master->WatchResumePanesAll(); }, loaded},
      {L"MouseLocked=1", [&] { master->MouseLocked(true); }, loaded},
      // Shown panes only, trees first, leaving out the two lists a file operation re-reads.
      {L"WatchResume", [&] { master->WatchResumePanes(0, 101); }, {L"1", L"100"}},
      {L"WatchResume", [&] { master->WatchResumePanes(); }, {L"0", L"1", L"100", L"101"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.call);
    const size_t from = lists.Log.Calls.size();
    c.run();
    std::vector<std::wstring> want;
    for (const auto& l : c.lists) want.push_back(l + L":" + c.call);
    EXPECT_EQ(CallsOf(L":", from), want);
  }
}

TEST_F(ToggleTest, TheChimePlaysThroughTheLowestLoadedTree) {
  size_t from = lists.Log.Calls.size();
  master->TestSound();
  EXPECT_EQ(CallsOf(L":", from), std::vector<std::wstring>{L"0:TestSound"});
  lists[0].SoundFails = true;
  vtest::BoxAnswers boxes({vtest::BoxAnswers::Press(1)});
  master->TestSound();
  ASSERT_EQ(boxes.Seen.size(), 1u);
  EXPECT_EQ(boxes.Seen[0].Text, L"There was an error while testing the chime.");
}

TEST_F(ToggleTest, TheHeadingMenuFollowsTheClickedListsColumns) {
  lists[101].Headings = {{L"Size", true}, {L"Comments", true}};
  lists[1].Headings = {{L"Extension", true}};
  master->Options.ClickedPane = 101;
  master->List_UpdateMasterHeadings(0);
  const std::pair<UINT, bool> want[] = {
      {varnello::mnuHeadingExtension, false},    {varnello::mnuHeadingSize, true},
      {varnello::mnuHeadingDateLastModified, false}, {varnello::mnuHeadingDateCreated, false},
      {varnello::mnuHeadingDateLastAccessed, false}, {varnello::mnuHeadingFileType, false},
      {varnello::mnuHeadingAttributes, false},   {varnello::mnuHeadingComments, true}};
  for (const auto& [item, checked] : want)
    EXPECT_EQ(varnello::MenuChecked(master->MenuBar(), item), checked) << item;
  EXPECT_EQ(lists.Log.For(101).back(), L"GetHeadingValue(FileType)");
  // A forced highlight of the tree brings the tree's columns.
  short button = 0;
  master->List_SetActiveButton(1, button);
  EXPECT_TRUE(varnello::MenuChecked(master->MenuBar(), varnello::mnuHeadingExtension));
  EXPECT_FALSE(varnello::MenuChecked(master->MenuBar(), varnello::mnuHeadingSize));
}

TEST_F(ToggleTest, SkinColoursReachEveryLoadedListInOrderAsPlainColours) {
  master->Skin.ColorListBackground = 0x80000000u | COLOR_WINDOW;  // a system colour
  master->Skin.ColorListText = RGB(1, 2, 3);
  const size_t from = lists.Log.Calls.size();
  master->ApplySkinChange();
  std::vector<std::wstring> keys;
  for (const auto& c : CallsOf(L"2:ApplyProperty(Color", from))
    if (c.rfind(L"102:", 0) == 0) keys.push_back(c.substr(4));
  const std::vector<std::wstring> order = {
      L"ColorActiveHeading", L"ColorActiveHeadingText", L"ColorInactiveHeading",
      L"ColorInactiveHeadingText", L"ColorHeadingHoverText", L"ColorProgramBackground",
      L"ColorPaneBackground", L"ColorDriveList", L"ColorDriveText", L"ColorStatusBackground",
      L"ColorStatusText", L"ColorMinorToolbar", L"ColorListBackground", L"ColorListText",
      L"ColorActiveListOutline", L"ColorInActiveListOutline", L"ColorActiveItemOutline",
      L"ColorActiveItemUnderline", L"ColorTextSecondary"};
  std::vector<std::wstring> want;
  for (const auto& k : order) want.push_back(L"ApplyProperty(" + k + L")");
  EXPECT_EQ(keys, want);
  // Every key goes to the loaded pairs in pane order, tree before listing.
  std::vector<std::wstring> first;
  for (const auto& c : CallsOf(L"ApplyProperty(ColorActiveHeading)", from)) first.push_back(c);
  EXPECT_EQ(first, (std::vector<std::wstring>{
                       L"0:ApplyProperty(ColorActiveHeading)", L"100:ApplyProperty(ColorActiveHeading)",
                       L"1:ApplyProperty(ColorActiveHeading)", L"101:ApplyProperty(ColorActiveHeading)",
                       L"2:ApplyProperty(ColorActiveHeading)", L"102:ApplyProperty(ColorActiveHeading)"}));
  EXPECT_EQ(std::get<std::int32_t>(lists[102].Properties.at(L"ColorListBackground")),
            static_cast<std::int32_t>(GetSysColor(COLOR_WINDOW)));
  EXPECT_EQ(std::get<std::int32_t>(lists[102].Properties.at(L"ColorListText")),
            static_cast<std::int32_t>(RGB(1, 2, 3)));
  EXPECT_FALSE(lists.Log.Has(L"102:ApplyProperty(BorderWidth,2)"));
}

}  // namespace
