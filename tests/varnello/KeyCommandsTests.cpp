// The main window's own keys, fed as the key preview feeds them: which key does what on which
// list, the held keys, and the windows whose keys are not the main window's.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "DialogAnswers.h"
#include "MasterFixture.h"
#include "mainwindow/ZenloPaneList.h"
#include "toolkit/EventLoop.h"

namespace {

using vtest::MasterTest;

constexpr short kShift = 1, kCtrl = 2;

// The modifier keys the thread sees as held from now on.
void HoldModifiers(short mask) {
  BYTE state[256];
  GetKeyboardState(state);
  state[VK_SHIFT] = (mask & kShift) ? 0x80 : 0;
  state[VK_CONTROL] = (mask & kCtrl) ? 0x80 : 0;
  state[VK_MENU] = 0;
  SetKeyboardState(state);
}

// Where a key is typed.
enum class Where { Item100, Item101, Item1, MainWindow, FilterBox, CommandBox, TitleBar };

struct Step {
  Where where;
  WORD key;
  short held = 0;       // modifiers held while the key goes down
  bool up = false;      // the key is let go
  bool repeat = false;  // the keyboard's repeat of a held key
};

class KeyCommandsTest : public MasterTest {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(StartUp());
    // A text box inside listing 100, as its filter box is.
    filterBox = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20,
                                lists[100].Window(), nullptr, nullptr, nullptr);
  }
  void TearDown() override { HoldModifiers(0); }
  HWND Target(Where w) const {
    switch (w) {
      case Where::Item100: return lists.Lists.at(100)->Window();
      case Where::Item101: return lists.Lists.at(101)->Window();
      case Where::Item1: return lists.Lists.at(1)->Window();
      case Where::MainWindow: return master->Handle();
      case Where::FilterBox: return filterBox;
      case Where::CommandBox: return master->CommandWindow();
      case Where::TitleBar: return master->TitleBarWindow(0);
    }
    return nullptr;
  }
  // The key reaches the main window's preview as the hook hands it on; then the message loop
  // runs what it queued.
  void Press(const Step& s) {
    HoldModifiers(s.held);
    LPARAM lParam = 1;
    if (s.repeat) lParam |= 1L << 30;
    if (s.up) lParam |= (1L << 30) | (1L << 31);
    MSG msg{Target(s.where), static_cast<UINT>(s.up ? WM_KEYUP : WM_KEYDOWN), s.key, lParam, 0, {}};
    master->PreviewKey(msg);
    tk::PumpPendingMessages();
  }
  // The calls of the lists since `from`, without hover housekeeping and the start-item resets
  // of each key release.
  std::vector<std::wstring> CallsSince(size_t from) const {
    std::vector<std::wstring> out;
    for (size_t i = from; i < lists.Log.Calls.size(); ++i) {
      const std::wstring& c = lists.Log.Calls[i];
      const bool housekeeping = c.find(L"Skip") != std::wstring::npos ||
                                c.find(L"ClearTempGraphics") != std::wstring::npos ||
                                c.find(L"ResetStartItem") != std::wstring::npos;
      if (housekeeping) continue;
      out.push_back(c);
    }
    return out;
  }
  HWND filterBox = nullptr;
};

// Ctrl+A in a text box marks its whole text and no file.
TEST_F(KeyCommandsTest, CtrlAInATextBoxSelectsItsText) {
  SetWindowTextW(filterBox, L"report.txt");
  SendMessageW(filterBox, EM_SETSEL, 3, 3);
  const size_t from = lists.Log.Calls.size();
  Press({Where::FilterBox, 'A', kCtrl});
  DWORD start = 1, end = 0;
  SendMessageW(filterBox, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 10u);
  EXPECT_TRUE(CallsSince(from).empty());
}

TEST_F(KeyCommandsTest, KeysActOnTheirListOnceAndOnlyWhenTypedInTheWindowOrAList) {
  using W = Where;
  struct Row {
    const char* name;
    short active, clicked;
    std::vector<Step> steps;
    std::vector<std::wstring> want;
  } rows[] = {
      {"F2 renames the clicked list's active item", 0, 101,
       {{W::Item100, VK_F2}}, {L"101:ItemNameForRename(1)"}},
      {"Shift+F2 does nothing: the Shift press disarms", 101, 101,
       {{W::Item101, VK_SHIFT, kShift}, {W::Item101, VK_F2, kShift}},
       {L"101:SetFolderFocus(shift)"}},
      {"a held Delete deletes once", 101, 100,
       {{W::Item101, VK_DELETE}, {W::Item101, VK_DELETE, 0, false, true},
        {W::Item101, VK_DELETE, 0, false, true}},
       {L"100:GetFileSpecs"}},
      {"Delete while disarmed still deletes", 101, 100,
       {{W::Item101, VK_DOWN}, {W::Item101, VK_DELETE}},
       {L"101:KeyUpDownPressed(40,0)", L"101:SetFolderFocus", L"100:GetFileSpecs"}},
      {"Shift+Delete deletes too, and Ctrl+Delete not", 0, 100,
       {{W::MainWindow, VK_DELETE, kShift}, {W::MainWindow, VK_DELETE, 0, true},
        {W::MainWindow, VK_DELETE, kCtrl}},
       {L"0:SetFolderFocus(shift)", L"100:GetFileSpecs", L"0:SetFolderFocus(ctrl)"}},
      {"Up and Down focus the list once until a key is let go", 101, 101,
       {{W::Item101, VK_DOWN}, {W::Item101, VK_DOWN, 0, false, true}, {W::Item101, VK_UP},
        {W::Item101, VK_UP, 0, true}, {W::Item101, VK_DOWN}},
       {L"101:KeyUpDownPressed(40,0)", L"101:SetFolderFocus", L"101:KeyUpDownPressed(40,0)",
        L"101:KeyUpDownPressed(38,0)", L"101:KeyUpDownPressed(40,0)", L"101:SetFolderFocus"}},
      {"Ctrl+A in a listing marks all", 101, 0,
       {{W::Item101, 'A', kCtrl}, {W::Item101, 'A', kCtrl}},
       {L"101:SetFolderFocus(ctrl)", L"101:SelectAll()"}},
      {"Ctrl+A in a tree clears its marks; A alone nothing", 1, 0,
       {{W::Item1, 'A'}, {W::Item1, 'A', kCtrl}},
       {L"1:SetFolderFocus(ctrl)", L"1:SelectAll(none)"}},
      {"Esc in a tree stops its read and its listing's", 1, 0,
       {{W::Item1, VK_ESCAPE}}, {L"1:IsCancelled=1", L"101:IsCancelled=1"}},
      {"Esc in a listing stops only it, also while disarmed", 100, 0,
       {{W::Item100, VK_DOWN}, {W::Item100, VK_ESCAPE}},
       {L"100:KeyUpDownPressed(40,0)", L"100:SetFolderFocus", L"100:IsCancelled=1"}},
      {"no active list: Esc, Ctrl+A and Down reach none", -99, 100,
       {{W::MainWindow, VK_ESCAPE}, {W::MainWindow, 'A', kCtrl}, {W::MainWindow, VK_DOWN}}, {}},
      {"no clicked list: Delete, F2 and Ctrl+V reach none", -1, -1,
       {{W::MainWindow, VK_DELETE}, {W::MainWindow, VK_F2}, {W::MainWindow, 'V', kCtrl}}, {}},
      {"Delete and Ctrl+A in a list's filter box touch nothing", 100, 100,
       {{W::FilterBox, VK_DELETE}, {W::FilterBox, 'A', kCtrl}, {W::FilterBox, VK_ESCAPE}}, {}},
      {"keys in the command-line box do nothing", 100, 100,
       {{W::CommandBox, VK_DELETE}, {W::CommandBox, 'A', kCtrl}, {W::CommandBox, VK_ESCAPE},
        {W::CommandBox, VK_DOWN}},
       {}},
      {"a Shift let go in another window (a dialog) re-arms: the next F2 renames", 101, 101,
       {{W::Item101, VK_SHIFT, kShift}, {W::FilterBox, VK_SHIFT, 0, true}, {W::Item101, VK_F2}},
       {L"101:SetFolderFocus(shift)", L"101:ItemNameForRename(1)"}},
      {"keys in a pane's title bar do nothing", 100, 100,
       {{W::TitleBar, VK_DELETE}, {W::TitleBar, 'C', kCtrl}}, {}},
      {"Ctrl+C keeps the clicked list's marks and takes them", 0, 101,
       {{W::MainWindow, 'C', kCtrl}},
       {L"0:SetFolderFocus(ctrl)", L"101:PreDragCheckKeepSelected", L"101:LastListItem=0"}},
      {"Ctrl+V pastes where a new folder of the clicked list would go", 0, 101,
       {{W::MainWindow, 'V', kCtrl}},
       {L"0:SetFolderFocus(ctrl)", L"101:ItemNameForNewFolder(1,1)"}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    master->Options.ActivePane = r.active;
    master->Options.ClickedPane = r.clicked;
    master->KeyRearmed = true;
    const size_t from = lists.Log.Calls.size();
    for (const Step& s : r.steps) Press(s);
    EXPECT_EQ(CallsSince(from), r.want);
  }
}

TEST_F(KeyCommandsTest, ALetGoKeyRearmsTheWindowAndResetsTheStartItems) {
  master->Options.ActivePane = 101;
  Press({Where::Item101, 'A', kCtrl});
  EXPECT_FALSE(master->KeyRearmed);
  const size_t from = lists.Log.Calls.size();
  Press({Where::Item101, 'A', kCtrl, true});
  EXPECT_TRUE(master->KeyRearmed);
  std::vector<std::wstring> resets;
  for (size_t i = from; i < lists.Log.Calls.size(); ++i) resets.push_back(lists.Log.Calls[i]);
  std::sort(resets.begin(), resets.end());
  EXPECT_EQ(resets, (std::vector<std::wstring>{L"0:ResetStartItem", L"100:ResetStartItem",
                                               L"101:ResetStartItem", L"1:ResetStartItem"}));
}

TEST_F(KeyCommandsTest, DeleteAndCtrlATypedInTheRenameBoxTouchNoFile) {
  vtest::TempDir dir;
  dir.Write(L"a.txt", "alpha");
  master->Options.ActivePane = master->Options.ClickedPane = 101;
  lists[101].Marked = {dir.File(L"a.txt")};
  lists[101].RenamePath = dir.Path() + L"\\";
  lists[101].RenameName = L"a.txt";
  size_t during = 0;
  vtest::DialogAnswers answers({[&](varnello::FileDialog& d) {
    HWND box = FindWindowExW(d.Handle(), nullptr, L"Edit", nullptr);
    ASSERT_NE(box, nullptr);
    const size_t from = lists.Log.Calls.size();
    // Through the thread's key hook, as typed keys arrive.
    PostMessageW(box, WM_KEYDOWN, VK_DELETE, 1);
    PostMessageW(box, WM_KEYUP, VK_DELETE, 0xC0000001);
    tk::PumpPendingMessages();
    HoldModifiers(kCtrl);
    PostMessageW(box, WM_KEYDOWN, 'A', 1);
    tk::PumpPendingMessages();
    HoldModifiers(0);
    during = CallsSince(from).size();
    d.Click(L"cmdCancel");
  }});
  Press({Where::Item101, VK_F2});
  ASSERT_EQ(answers.Seen.size(), 1u);
  EXPECT_EQ(answers.Seen[0].Name, L"popRename");
  EXPECT_EQ(during, 0u);
  EXPECT_TRUE(dir.Exists(L"a.txt"));
}

// The real list: its filter box keeps its keys; its item area gives them to the main window.
TEST(RealListKeys, DeleteInTheFilterBoxKeepsTheFileAndInTheItemAreaRecyclesIt) {
  varnello::ZenloPaneListFactory factory(vtest::ExeFolder());
  ASSERT_TRUE(factory.Loaded());
  vtest::TempDir program;
  vtest::TempDir tree(L"C:\\");
  tree.Write(L"one.txt", "1");
  vtest::Reporter reporter;
  varnello::Master master(vtest::WithShippedSkins(program.Path()), factory);
  master.Form_Load(reporter);
  ASSERT_TRUE(reporter.Loaded);
  master.List(0)->StoreActiveFolder(L"C", tree.Path());
  master.LoadFolders(0);
  varnello::PaneList& listing = *master.List(100);
  ASSERT_EQ(listing.ShownItems(), std::vector<std::wstring>{tree.File(L"one.txt")});
  master.Options.ActivePane = master.Options.ClickedPane = 100;
  listing.SelectAll(L"all");
  ASSERT_EQ(listing.MarkedItems(), std::vector<std::wstring>{tree.File(L"one.txt")});

  // The list's windows: its filter box's text field and its item area.
  struct Found {
    const varnello::PaneList* list;
    HWND filter = nullptr, items = nullptr;
  } found{&listing};
  EnumChildWindows(
      listing.Window(),
      [](HWND w, LPARAM lp) -> BOOL {
        auto& f = *reinterpret_cast<Found*>(lp);
        wchar_t cls[32] = L"";
        GetClassNameW(w, cls, 32);
        if (_wcsicmp(cls, L"Edit") == 0 && !f.filter) f.filter = w;
        if (f.list->IsItemArea(w)) f.items = w;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  ASSERT_NE(found.filter, nullptr);
  ASSERT_NE(found.items, nullptr);

  auto type = [&](HWND w, WORD key, short held) {
    HoldModifiers(held);
    PostMessageW(w, WM_KEYDOWN, key, 1);
    PostMessageW(w, WM_KEYUP, key, 0xC0000001);
    tk::PumpPendingMessages();
    HoldModifiers(0);
  };
  {
    // Were the keys taken for the list's, the shell would ask before recycling: "no" ends it.
    vtest::ShellAnswers no(L"Confirm", IDNO);
    type(found.filter, VK_DELETE, 0);
    type(found.filter, 'A', kCtrl);
    tk::PumpUntil([] { return false; }, 300);
    EXPECT_EQ(no.Answered(), 0);
  }
  EXPECT_TRUE(tree.Exists(L"one.txt"));
  {
    vtest::ShellAnswers yes(L"Confirm", IDYES);
    type(found.items, VK_DELETE, 0);
    tk::PumpUntil([&] { return !tree.Exists(L"one.txt"); }, 10000);
    EXPECT_EQ(yes.Answered(), 1);
  }
  EXPECT_FALSE(tree.Exists(L"one.txt"));
  master.RequestClose();
  EXPECT_TRUE(master.Unloaded());
}

}  // namespace
