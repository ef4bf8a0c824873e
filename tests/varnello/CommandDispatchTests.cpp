// The menu tree, and which call each menu entry and toolbar button makes, on recording lists.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "MasterFixture.h"
#include "commands/CommandLine.h"
#include "commands/MainMenu.h"
#include "commands/NetworkDrives.h"
#include "commands/ShellRunner.h"

namespace {

using namespace varnello;
using vtest::BoxAnswers;
using vtest::MasterTest;

std::string Narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }

// One line per entry: its depth, id (0 for a separator) and caption.
std::vector<std::wstring> ReadTree(HMENU menu, int depth = 0) {
  std::vector<std::wstring> lines;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t caption[256] = L"";
    GetMenuStringW(menu, static_cast<UINT>(i), caption, 256, MF_BYPOSITION);
    const UINT id = MenuEntryId(menu, i);
    lines.push_back(std::wstring(static_cast<size_t>(depth) * 2, L' ') +
                    (id ? std::to_wstring(id) + L" " + caption : L"-"));
    if (HMENU sub = GetSubMenu(menu, i))
      for (auto& l : ReadTree(sub, depth + 1)) lines.push_back(std::move(l));
  }
  return lines;
}

struct Entry {
  int Depth;
  UINT Id;  // 0: a separator
  const wchar_t* Caption;
};

std::vector<std::wstring> Expected(const std::vector<Entry>& entries) {
  std::vector<std::wstring> lines;
  for (const Entry& e : entries)
    lines.push_back(std::wstring(static_cast<size_t>(e.Depth) * 2, L' ') +
                    (e.Id ? std::to_wstring(e.Id) + L" " + e.Caption : L"-"));
  return lines;
}

TEST(MenuTree, MenuBarAndTrayMenuHoldEveryEntryInOrder) {
  HMENU bar = CreateMainMenu();
  const std::vector<Entry> want = {
      {0, mnuFile, L"&File"},
      {1, mnuOptions, L"&Options..."}, {1, 0, L""}, {1, mnuExit, L"E&xit"},
      {0, mnuPane, L"&Panes"},
      {1, mnuPane0, L"Show Pane &1"}, {1, mnuPane0 + 1, L"Show Pane &2"},
      {1, mnuPane0 + 2, L"Show Pane &3"}, {1, mnuPane0 + 3, L"Show Pane &4"},
      {1, mnuPane0 + 4, L"Show Pane &5"}, {1, 0, L""},
      {1, mnuHidden, L"Show &Hidden Files"}, {1, mnuSystem, L"Show &System Files"},
      {0, mnuHeadings, L"&Headings"},
      {1, mnuHeadLeft, L"Move &Left"}, {1, mnuHeadRight, L"Move &Right"}, {1, 0, L""},
      {1, mnuSortAsc, L"Sort &Ascending - Start New Sort"},
      {1, mnuSortDes, L"Sort &Descending - Start New Sort"},
      {1, mnuSortAscAdd, L"Sort Asc - Add to Current Sort"},
      {1, mnuSortAddDes, L"Sort Des - Add to Current Sort"}, {1, 0, L""},
      {1, mnuHeadingExtension, L"&Extension"}, {1, mnuHeadingSize, L"Si&ze"},
      {1, mnuHeadingDateLastModified, L"Date - Last Modi&fied"},
      {1, mnuHeadingDateCreated, L"Date - &Created"},
      {1, mnuHeadingDateLastAccessed, L"Date Last - Acce&ssed"},
      {1, mnuHeadingFileType, L"File &Type"}, {1, mnuHeadingAttributes, L"Attrib&utes"},
      {1, mnuHeadingComments, L"Co&mments"},
      {0, mnuMenus, L"&Tools"},
      {1, mnuCalculateFolderSizes, L"&Calculate Folder Sizes"}, {1, 0, L""},
      {1, mnuCompareSize, L"Use Si&ze when Comparing"},
      {1, mnuCompareDate, L"Use &Date when Comparing"},
      {1, mnuCompare, L"Com&pare Folder Contents"}, {1, 0, L""},
      {1, mnuSaveFileListing, L"E&xport File Listing..."}, {1, 0, L""},
      {1, mnuRCOpenRecycleBin, L"&Recycle Bin..."},
      {1, mnuRCEmptyRecycleBin, L"&Empty Recycle Bin"}, {1, 0, L""},
      {1, mnuMapNetworkDrive, L"&Map Network Drive..."},
      {1, mnuDisconnectNetworkDrive, L"Disconnect &Network Drive..."}, {1, 0, L""},
      {1, mnuShowTips, L"Sho&w Tips..."},
      {0, mnuLayout, L"&Layout"},
      {1, mnuOrientation, L"&Orientation"},
      {2, mnuVertical, L"&Vertical"}, {2, mnuHorizontal, L"&Horizontal"},
      {1, mnuAutoExpand, L"&Auto Expand Pane Size"},
      {2, mnuAutoExpandOn, L"&On"}, {2, mnuAutoExpandOff, L"O&ff"},
      {1, mnuShowCommandLine, L"Command &Line"},
      {2, mnuCommandOn, L"&On"}, {2, mnuCommandOff, L"O&ff"},
      {1, mnuUseEnhancedMode, L"&Color Coding && Comments"},
      {2, mnuColorOn, L"&On"}, {2, mnuColorOff, L"O&ff"},
      {1, mnuChooseSkin, L"Choose &Skin..."},
      {0, mnuSoftware, L"&Software"},
      {1, mnuHelp, L"&Help..."}, {1, mnuWebsite, L"Varnello &Website..."},
      {1, mnuAbout, L"&About Varnello..."}, {1, 0, L""},
      {1, mnuCheckUpdate, L"Check for &Update..."},
  };
  EXPECT_EQ(ReadTree(bar), Expected(want));
  DestroyMenu(bar);
  HMENU tray = CreateTrayMenu();
  EXPECT_EQ(ReadTree(tray), Expected({{0, mPopupSys, L"&SysTray"},
                                      {1, mPopRestore, L"&Restore"},
                                      {1, mPopExit, L"&Exit"}}));
  DestroyMenu(tray);
}

class CommandTest : public MasterTest {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(StartUp());
    master->Show();
  }
  // The calls list `index` received since the log was cleared.
  std::vector<std::wstring> CallsOf(short index) const { return lists.Log.For(index); }
  // The calls of every list that name one of `names`.
  std::vector<std::wstring> Calls(const std::vector<std::wstring>& names) const {
    std::vector<std::wstring> out;
    for (const auto& c : lists.Log.Calls)
      for (const auto& n : names)
        if (c.find(L":" + n) != std::wstring::npos) out.push_back(c);
    return out;
  }
  // A real click on a toolbar button: the toolbar toggles a check button itself and tells
  // the main window.
  void ClickButton(const std::wstring& key) {
    const tk::Toolbar& toolbar = master->Toolbar1();
    for (size_t i = 0; i < toolbar.Buttons().size(); ++i) {
      if (toolbar.Buttons()[i].Key != key) continue;
      RECT r{};
      ASSERT_TRUE(SendMessageW(toolbar.Handle(), TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r)));
      const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
      SendMessageW(toolbar.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
      SendMessageW(toolbar.Handle(), WM_LBUTTONUP, 0, at);
      return;
    }
    FAIL() << "no button " << Narrow(key);
  }
  const std::vector<std::wstring> kListCalls = {L"ShiftHeading", L"DoSorting", L"ModifyHeadings",
                                                L"CalculateFolderSize"};
};

// Each heading, sort and size command reaches the list clicked last and no other, from the
// menu and from the toolbar alike.
TEST_F(CommandTest, HeadingAndSortCommandsActOnTheClickedList) {
  struct Row {
    UINT Id;
    const wchar_t* Key;  // the toolbar button, or null
    const wchar_t* Call;
  };
  const Row rows[] = {
      {mnuHeadLeft, L"headleft", L"ShiftHeading(headleft)"},
      {mnuHeadRight, L"headright", L"ShiftHeading(headright)"},
      {mnuSortAsc, L"headasc", L"DoSorting(asc)"},
      {mnuSortDes, L"headdes", L"DoSorting(des)"},
      {mnuSortAscAdd, L"headascadd", L"DoSorting(ascadd)"},
      {mnuSortAddDes, L"headdesadd", L"DoSorting(desadd)"},
      {mnuHeadingExtension, nullptr, L"ModifyHeadings(mnuHeadingExtension)"},
      {mnuHeadingSize, nullptr, L"ModifyHeadings(mnuHeadingSize)"},
      {mnuHeadingDateLastModified, nullptr, L"ModifyHeadings(mnuHeadingDateLastModified)"},
      {mnuHeadingDateCreated, nullptr, L"ModifyHeadings(mnuHeadingDateCreated)"},
      {mnuHeadingDateLastAccessed, nullptr, L"ModifyHeadings(mnuHeadingDateLastAccessed)"},
      {mnuHeadingFileType, nullptr, L"ModifyHeadings(mnuHeadingFileType)"},
      {mnuHeadingAttributes, nullptr, L"ModifyHeadings(mnuHeadingAttributes)"},
      {mnuHeadingComments, nullptr, L"ModifyHeadings(mnuHeadingComments)"},
      {mnuCalculateFolderSizes, nullptr, L"CalculateFolderSize"},
  };
  master->List_SetLockedIndex(101);
  for (const Row& r : rows) {
    SCOPED_TRACE(Narrow(r.Call));
    lists.Log.Calls.clear();
    SendMessageW(master->Handle(), WM_COMMAND, r.Id, 0);
    EXPECT_EQ(Calls(kListCalls), std::vector<std::wstring>{L"101:" + std::wstring(r.Call)});
    if (!r.Key) continue;
    lists.Log.Calls.clear();
    ClickButton(r.Key);
    EXPECT_EQ(Calls(kListCalls), std::vector<std::wstring>{L"101:" + std::wstring(r.Call)});
  }
  // A tree has one sort order: adding a level does nothing there; a new sort reaches it.
  master->TitleBar_MouseDown(1);
  ASSERT_EQ(master->Options.ClickedPane, 1);
  lists.Log.Calls.clear();
  SendMessageW(master->Handle(), WM_COMMAND, mnuSortAscAdd, 0);
  SendMessageW(master->Handle(), WM_COMMAND, mnuSortAsc, 0);
  EXPECT_EQ(Calls(kListCalls), std::vector<std::wstring>{L"1:DoSorting(asc)"});
}

// A clicked list of a hidden or unknown pane takes no command.
TEST_F(CommandTest, NoCommandRunsOnAHiddenOrInvalidClickedPane) {
  for (const short clicked : {short{104}, short{7}, short{-1}, short{99}}) {
    SCOPED_TRACE(clicked);
    master->Options.ClickedPane = clicked;  // pane 5 is closed
    lists.Log.Calls.clear();
    for (UINT id : {static_cast<UINT>(mnuHeadLeft), static_cast<UINT>(mnuSortAsc),
                    static_cast<UINT>(mnuHeadingSize), static_cast<UINT>(mnuCalculateFolderSizes),
                    static_cast<UINT>(mnuCompare)})
      SendMessageW(master->Handle(), WM_COMMAND, id, 0);
    EXPECT_TRUE(Calls(kListCalls).empty());
    EXPECT_TRUE(Calls({L"FileArrayForCompare", L"CompareFolder"}).empty());
  }
}

// The display switches: a menu entry and its toolbar button end in the same state, and a toggle
// button passes on the state the click left it in.
TEST_F(CommandTest, LayoutAndDisplaySwitchesFromMenuAndToolbar) {
  auto checked = [&](UINT id) { return MenuChecked(master->MenuBar(), id); };
  auto pressed = [&](const wchar_t* key) { return master->Toolbar1().Value(key); };
  SendMessageW(master->Handle(), WM_COMMAND, mnuVertical, 0);
  EXPECT_EQ(master->Options.Layout, 0);
  EXPECT_TRUE(pressed(L"layoutvertical"));
  ClickButton(L"layouthorizontal");
  EXPECT_EQ(master->Options.Layout, 1);
  EXPECT_FALSE(pressed(L"layoutvertical"));

  struct Switch {
    UINT On, Off;
    const wchar_t* Key;
  } switches[] = {{mnuAutoExpandOn, mnuAutoExpandOff, L"layoutautoexpand"},
                  {mnuCommandOn, mnuCommandOff, L"showcommandline"},
                  {mnuColorOn, mnuColorOff, L"showcolor"}};
  for (const Switch& s : switches) {
    SCOPED_TRACE(Narrow(s.Key));
    ASSERT_FALSE(checked(s.On));
    ClickButton(s.Key);
    EXPECT_TRUE(pressed(s.Key));
    EXPECT_TRUE(checked(s.On));
    EXPECT_FALSE(checked(s.Off));
    SendMessageW(master->Handle(), WM_COMMAND, s.Off, 0);
    EXPECT_FALSE(pressed(s.Key));
    EXPECT_TRUE(checked(s.Off));
    SendMessageW(master->Handle(), WM_COMMAND, s.On, 0);
    EXPECT_TRUE(pressed(s.Key));
    ClickButton(s.Key);
    EXPECT_FALSE(checked(s.On));
  }
  EXPECT_FALSE(IsWindowVisible(master->CommandWindow()));
}

// The compare checks follow their buttons and the buttons their checks; each chosen twice is
// off again, and the compare mode is what the two buttons say.
TEST_F(CommandTest, CompareChecksAndButtonsStayInStep) {
  auto checked = [&](UINT id) { return MenuChecked(master->MenuBar(), id); };
  auto pressed = [&](const wchar_t* key) { return master->Toolbar1().Value(key); };
  ASSERT_TRUE(checked(mnuCompareSize));
  ASSERT_TRUE(pressed(L"compare_date"));
  ASSERT_EQ(master->Options.CompareMode, 3);
  SendMessageW(master->Handle(), WM_COMMAND, mnuCompareSize, 0);
  EXPECT_FALSE(checked(mnuCompareSize));
  EXPECT_FALSE(pressed(L"compare_size"));
  EXPECT_EQ(master->Options.CompareMode, 2);
  SendMessageW(master->Handle(), WM_COMMAND, mnuCompareSize, 0);
  EXPECT_TRUE(checked(mnuCompareSize));
  EXPECT_TRUE(pressed(L"compare_size"));
  EXPECT_EQ(master->Options.CompareMode, 3);
  ClickButton(L"compare_date");
  EXPECT_FALSE(checked(mnuCompareDate));
  EXPECT_EQ(master->Options.CompareMode, 1);
  ClickButton(L"compare_size");
  EXPECT_FALSE(checked(mnuCompareSize));
  EXPECT_EQ(master->Options.CompareMode, 0);
  SendMessageW(master->Handle(), WM_COMMAND, mnuCompareDate, 0);
  EXPECT_TRUE(pressed(L"compare_date"));
  EXPECT_EQ(master->Options.CompareMode, 2);
  ClickButton(L"compare_date");
  EXPECT_FALSE(checked(mnuCompareDate));
  EXPECT_EQ(master->Options.CompareMode, 0);
}

// Compare on two panes: the clicked pane's names go to the other listing, whose matches come
// back to the clicked listing; every watch stops first and starts again at the end.
TEST_F(CommandTest, CompareHandsTheClickedListingToTheOtherPanes) {
  lists[101].CompareNames = {L"A.TXT", L"B.TXT"};
  lists[100].MatchNames = {L"B.TXT"};
  master->TitleBar_MouseDown(1);  // a tree: its pane's listing is the source
  lists.Log.Calls.clear();
  ClickButton(L"compare");
  const std::vector<std::wstring> want = {
      L"0:WatchStop", L"100:WatchStop", L"1:WatchStop", L"101:WatchStop",
      L"101:FileArrayForCompare", L"100:CompareFolder(A.TXT B.TXT,3)",
      L"101:CompareResultsUpdate(B.TXT)",
      L"0:WatchStart", L"100:WatchStart", L"1:WatchStart", L"101:WatchStart"};
  EXPECT_EQ(Calls({L"Watch", L"Compare", L"FileArray"}), want);

  // Three panes: both others are marked, the source is not.
  master->ChangePanes(2);
  ASSERT_EQ(master->Options.ShownPaneCount, 3);
  master->List_SetLockedIndex(100);
  lists[100].CompareNames = {L"C.TXT"};
  lists.Log.Calls.clear();
  SendMessageW(master->Handle(), WM_COMMAND, mnuCompare, 0);
  EXPECT_EQ(Calls({L"Compare", L"FileArray"}),
            (std::vector<std::wstring>{L"100:FileArrayForCompare", L"101:CompareFolder(C.TXT,3)",
                                       L"102:CompareFolder(C.TXT,3)"}));
}

TEST_F(CommandTest, CompareWithOnePaneOnlySaysSoAndRestartsTheWatches) {
  master->ChangePanes(1);
  ASSERT_EQ(master->Options.ShownPaneCount, 1);
  lists.Log.Calls.clear();
  BoxAnswers boxes({BoxAnswers::Press(1)});
  SendMessageW(master->Handle(), WM_COMMAND, mnuCompare, 0);
  ASSERT_EQ(boxes.Seen.size(), 1u);
  EXPECT_EQ(boxes.Seen[0].Text,
            L"You are only showing one folder currently, so there is nothing to compare.");
  EXPECT_TRUE(Calls({L"Compare", L"FileArray"}).empty());
  EXPECT_TRUE(lists.Log.Has(L"1:WatchStart"));  // hidden but loaded panes too
  EXPECT_TRUE(lists.Log.Has(L"100:WatchStart"));
}

// A listing still reading has nothing settled to mark: it is left out, and the user hears of it.
TEST_F(CommandTest, CompareSkipsAListingStillReading) {
  master->List_SetLockedIndex(100);
  lists[100].CompareNames = {L"A.TXT"};
  lists[101].ReadingNow = true;
  lists.Log.Calls.clear();
  BoxAnswers boxes({BoxAnswers::Press(1)});
  master->CompareFolders();
  ASSERT_EQ(boxes.Seen.size(), 1u);
  EXPECT_EQ(boxes.Seen[0].Text, L"Pane 2 was still reading and left out of the compare.");
  EXPECT_EQ(Calls({L"Compare"}), std::vector<std::wstring>{});
  // The clicked listing itself still reading: nothing is compared.
  lists[101].ReadingNow = false;
  lists[100].ReadingNow = true;
  lists.Log.Calls.clear();
  BoxAnswers again({BoxAnswers::Press(1)});
  master->CompareFolders();
  ASSERT_EQ(again.Seen.size(), 1u);
  EXPECT_EQ(again.Seen[0].Text,
            L"Pane 1 is still reading its folder. Compare the folders again once it has "
            L"finished.");
  EXPECT_TRUE(Calls({L"Compare", L"FileArray"}).empty());
}

}  // namespace

namespace {

TEST(CommandLineSplit, ProgramAndParametersOfATypedLine) {
  struct Case {
    const wchar_t* Line;
    const wchar_t* Program;
    const wchar_t* Parameters;
  } cases[] = {
      {L"notepad", L"notepad", L""},
      {L"   notepad   readme.txt  ", L"notepad", L"readme.txt"},
      {L"notepad \t  a b.txt", L"notepad", L"a b.txt"},
      {L"\tnotepad\treadme.txt\t", L"notepad", L"readme.txt"},
      {L"\"C:\\Program Files\\a b.exe\" x y", L"C:\\Program Files\\a b.exe", L"x y"},
      {L"  \"C:\\a b.exe\"", L"C:\\a b.exe", L""},
      {L"\"C:\\a b.exe", L"C:\\a b.exe", L""},  // no closing mark: the rest is the program
      {L"", L"", L""},
      {L"   \t ", L"", L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.Line));
    const CommandLaunch launch = CommandLine::Split(c.Line);
    EXPECT_EQ(launch.Program, c.Program);
    EXPECT_EQ(launch.Parameters, c.Parameters);
  }
}

// Shift+Enter hands the line as typed to the interpreter, which stays open; the working folder
// of a network place drops its display prefix.
TEST(CommandLineSplit, ShiftRunsTheLineInTheInterpreterWhichStaysOpen) {
  const CommandLaunch plain = CommandLine::Plan(L" dir /w ", false, L"C:\\data\\", L"C:\\cmd.exe");
  EXPECT_EQ(plain.Program, L"dir");
  EXPECT_EQ(plain.Parameters, L"/w");
  EXPECT_EQ(plain.Folder, L"C:\\data\\");
  const CommandLaunch shifted =
      CommandLine::Plan(L" \"C:\\a b.exe\" x ", true, L"*\\\\server\\share\\", L"C:\\cmd.exe");
  EXPECT_EQ(shifted.Program, L"C:\\cmd.exe");
  EXPECT_EQ(shifted.Parameters, L"/S /K \"\"C:\\a b.exe\" x\"");
  EXPECT_EQ(shifted.Folder, L"\\\\server\\share\\");
}

// The network dialogs answer as the fake says: a cancel is quiet, a failure is reported with the
// system's or the provider's text.
class FakeDialogs final : public NetworkDialogs {
 public:
  DWORD Answer = NO_ERROR;
  std::vector<std::wstring> Calls;
  DWORD Connect(HWND owner) override {
    Calls.push_back(owner ? L"Connect" : L"Connect without owner");
    return Answer;
  }
  DWORD Disconnect(HWND owner) override {
    Calls.push_back(owner ? L"Disconnect" : L"Disconnect without owner");
    return Answer;
  }
  std::wstring ExtendedError() override { return L"The provider is asleep."; }
};

TEST_F(CommandTest, NetworkDriveDialogsReportFailuresButNotACancel) {
  auto fake = std::make_unique<FakeDialogs>();
  FakeDialogs& dialogs = *fake;
  master->SetNetworkDialogs(std::move(fake));
  const std::wstring noNetwork =
      L"The network drive could not be disconnected.\r\n\r\n" + SystemErrorSentence(ERROR_NO_NETWORK);
  ASSERT_GT(SystemErrorSentence(ERROR_NO_NETWORK).size(), 10u);
  struct Row {
    UINT Id;
    DWORD Answer;
    const wchar_t* Box;  // null: none
  } rows[] = {
      {mnuMapNetworkDrive, NO_ERROR, nullptr},
      {mnuMapNetworkDrive, 0xFFFFFFFF, nullptr},
      {mnuDisconnectNetworkDrive, ERROR_CANCELLED, nullptr},
      {mnuMapNetworkDrive, ERROR_EXTENDED_ERROR,
       L"The network drive could not be mapped.\r\n\r\nThe provider is asleep."},
      {mnuDisconnectNetworkDrive, ERROR_NO_NETWORK, noNetwork.c_str()},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.Answer);
    dialogs.Answer = r.Answer;
    dialogs.Calls.clear();
    BoxAnswers boxes({BoxAnswers::Press(1)});
    SendMessageW(master->Handle(), WM_COMMAND, r.Id, 0);
    EXPECT_EQ(dialogs.Calls, std::vector<std::wstring>{r.Id == mnuMapNetworkDrive ? L"Connect"
                                                                                  : L"Disconnect"});
    if (!r.Box) {
      EXPECT_TRUE(boxes.Seen.empty());
      continue;
    }
    ASSERT_EQ(boxes.Seen.size(), 1u);
    EXPECT_EQ(boxes.Seen[0].Text, r.Box);
  }
}

}  // namespace
