// Setting up a pane pair and its first listing, against a recording double of the control.
#include <gtest/gtest.h>

#include "MasterFixture.h"
#include "commands/MainMenu.h"

#include <commctrl.h>

#include <ostream>

namespace {

using vtest::MasterTest;

// The calls of lists 0 and 100, leaving out the colour pushes, highlights and the heading
// menu's reads (checked apart).
std::vector<std::wstring> PairCalls(const vtest::CallLog& log) {
  std::vector<std::wstring> out;
  for (const auto& c : log.Calls) {
    if (c.find(L"ApplyProperty(Color") != std::wstring::npos) continue;
    if (c.find(L"HiLightControl") != std::wstring::npos) continue;
    if (c.find(L"GetHeadingValue") != std::wstring::npos) continue;
    if (c.rfind(L"0:", 0) == 0 || c.rfind(L"100:", 0) == 0) out.push_back(c);
  }
  return out;
}

TEST_F(MasterTest, PanePairSetUpOrder) {
  master->Options.TrackFileChanges = true;
  master->InitializePaneSet(0);
  const std::vector<std::wstring> want = {
      L"0:SetSortOrder(0,sName,asc)",
      L"100:SetSortOrder(0,sName,asc)",
      L"0:IsWin9X=0",
      L"100:IsWin9X=0",
      L"100:ltFolderListType=2",
      L"100:ListMode=0",
      L"0:ApplyProperty(FileCountMax,50)",
      L"100:ApplyProperty(FileCountMax,50)",
      L"0:ApplyProperty(ShowColor,0)",
      L"100:ApplyProperty(ShowColor,0)",
      L"0:ApplyProperty(ShowFileIcons,1)",
      L"100:ApplyProperty(ShowFileIcons,1)",
      L"0:ApplyProperty(TrackFoldChanges,0)",
      L"100:ApplyProperty(TrackFoldChanges,0)",
      L"0:ApplyProperty(TrackFileChanges,0)",  // a tree never reports file changes
      L"100:ApplyProperty(TrackFileChanges,1)",
      L"0:ApplyProperty(TrackChime,0)",
      L"100:ApplyProperty(TrackChime,0)",
      L"0:ApplyProperty(ShowFolderIcons,0)",
      L"100:ApplyProperty(ShowFolderIcons,0)",
      L"0:ApplyProperty(ActiveHeading,1)",
      L"100:ApplyProperty(ActiveHeading,1)",
      L"0:ApplyProperty(ActiveButton,0)",
      L"100:ApplyProperty(ActiveButton,0)",
      L"0:ltFolderListType=1",
      L"0:ApplySkinChange",
      L"100:ApplySkinChange",
      L"0:DrawFolderBox",
      L"100:DrawFolderBox",
      L"0:RedrawTemporaryLines",
      L"100:RedrawTemporaryLines",
      L"0:LoadSetup",
      L"100:LoadSetup",
      L"0:ResetStartItem",
      L"100:ResetStartItem",
      L"0:ShowHiddenItems=0",
      L"100:ShowHiddenItems=0",
      L"0:ShowSystemItems=0",
      L"100:ShowSystemItems=0",
      L"0:GetActiveFolder(C)",
      L"0:CheckFolderAccess(C:\\)",
      L"0:SetFolder(C,0)",
      // The tree's drive click points the listing at the folder before SetFolder returns.
      L"0:GetActiveFolder()",
      L"100:ApplyProperty(ActiveString,\"\")",
      L"100:GetFolderContents(C:\\,1)",
  };
  EXPECT_EQ(PairCalls(lists.Log), want);
  // The skin's 19 colours reach both lists, tree first, in the push order.
  std::vector<std::wstring> colours;
  for (const auto& c : lists.Log.Calls)
    if (c.find(L"ApplyProperty(Color") != std::wstring::npos) colours.push_back(c);
  ASSERT_EQ(colours.size(), 38u);
  EXPECT_EQ(colours[0], L"0:ApplyProperty(ColorActiveHeading)");
  EXPECT_EQ(colours[1], L"100:ApplyProperty(ColorActiveHeading)");
  EXPECT_EQ(colours[37], L"100:ApplyProperty(ColorTextSecondary)");
  EXPECT_EQ(lists[0].Type, zenlo::fbFolder);
  EXPECT_EQ(lists[100].Type, zenlo::fbFileAndFolder);
  EXPECT_TRUE(master->Panes[0].Loaded);
  EXPECT_TRUE(master->Panes[0].FolderSet);
  EXPECT_EQ(lists[100].Current, L"C:\\");
  EXPECT_EQ(lists[100].Active, L"C:\\");
}

// A list's skin calls and drawings: colour pushes (one per pane colour), skin changes, draws
// and lay-outs (each lay-out draws the list once).
struct SkinCounts {
  int Colours = 0, SkinChanges = 0, Draws = 0, Layouts = 0;
  bool operator==(const SkinCounts&) const = default;
};

SkinCounts CountSkinCalls(const vtest::CallLog& log, short index) {
  SkinCounts n;
  for (const auto& c : log.For(index)) {
    n.Colours += c == L"ApplyProperty(ColorActiveHeading)" ? 1 : 0;
    n.SkinChanges += c == L"ApplySkinChange" ? 1 : 0;
    n.Draws += c == L"DrawFolderBox" ? 1 : 0;
    n.Layouts += c == L"ResizeControl" ? 1 : 0;
  }
  return n;
}

void PrintTo(const SkinCounts& n, std::ostream* os) {
  *os << "{colours " << n.Colours << ", skin changes " << n.SkinChanges << ", draws " << n.Draws
      << ", lay-outs " << n.Layouts << "}";
}

TEST_F(MasterTest, EachPairTakesTheSkinOnceAndIsDrawnByItsFirstLayout) {
  StartUp();
  // Setting up pane 1 leaves pane 0's lists as they were; no list is drawn before it has a size.
  for (short i : {0, 100, 1, 101})
    EXPECT_EQ(CountSkinCalls(lists.Log, i), (SkinCounts{1, 1, 0, 0})) << i;
  master->Show();
  for (short i : {0, 100, 1, 101})
    EXPECT_EQ(CountSkinCalls(lists.Log, i), (SkinCounts{1, 1, 0, 1})) << i;

  // A pane opened later: its own pair takes the skin, the others are not touched again.
  master->ChangePanes(2);
  ASSERT_TRUE(master->Panes[2].Loaded);
  for (short i : {2, 102}) EXPECT_EQ(CountSkinCalls(lists.Log, i), (SkinCounts{1, 1, 0, 1})) << i;
  for (short i : {0, 100, 1, 101})
    EXPECT_EQ(CountSkinCalls(lists.Log, i).SkinChanges, 1) << i;

  // A skin chosen later reaches and draws every loaded list.
  master->ApplySkinChange();
  for (short i : {0, 100, 1, 101, 2, 102}) {
    const SkinCounts n = CountSkinCalls(lists.Log, i);
    EXPECT_EQ(n.Colours, 2) << i;
    EXPECT_EQ(n.Draws, 1) << i;
  }

  // A colour that changed without reaching the lists (a pane's settings record) reaches every
  // pair with the next set-up.
  master->Skin.ColorListText = RGB(1, 2, 3);
  master->ChangePanes(3);
  ASSERT_TRUE(master->Panes[3].Loaded);
  for (short i : {0, 100, 1, 101, 2, 102})
    EXPECT_EQ(CountSkinCalls(lists.Log, i).Colours, 3) << i;
  for (short i : {3, 103}) EXPECT_EQ(CountSkinCalls(lists.Log, i).Colours, 1) << i;
  EXPECT_EQ(lists[103].Properties[L"ColorListText"], zenlo::Variant(std::int32_t{RGB(1, 2, 3)}));
}

TEST_F(MasterTest, AnUnreachableFolderFallsBackToDriveC) {
  master->Panes[0].InitialDrive = L"E";
  lists[0].ActiveFolderAnswer = L"E:\\gone";
  lists[0].AccessAnswer = false;
  master->InitializePaneSet(0);
  const auto calls = lists.Log.For(0);
  const std::vector<std::wstring> tail(calls.end() - 5, calls.end());
  EXPECT_EQ(tail, (std::vector<std::wstring>{L"GetActiveFolder(E)", L"CheckFolderAccess(E:\\gone)",
                                             L"StoreActiveFolder(C,C:\\)", L"SetFolder(C,0)",
                                             L"GetActiveFolder()"}));
  EXPECT_EQ(master->Panes[0].InitialDrive, L"C");
  EXPECT_EQ(master->Panes[0].CurrentFolder, L"C:\\");
}

TEST_F(MasterTest, CaptionsOfTheChildPane) {
  const std::wstring longFolder =
      L"C:\\Projects\\Customers\\Northwind\\Quarterly reports\\2026\\Q4";  // 57 characters
  struct Case {
    short pane;
    std::wstring folder, title, shortText;
  } cases[] = {
      {0, L"C:\\data", L"C:\\data\\", L"C:\\data\\"},
      {2, longFolder, longFolder + L"\\",
       std::wstring(L"C:\\...") + (longFolder + L"\\").substr(longFolder.size() + 1 - 44)},
  };
  master->LoadLastSettings();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pane);
    if (!master->Panes[c.pane].Loaded) {
      master->Panes[c.pane].Status = 0;
      master->InitializePaneSet(c.pane);
    }
    lists[c.pane].ActiveFolderAnswer = c.folder;
    lists[c.pane].Current = c.folder;
    master->List_Click(c.pane);
    EXPECT_EQ(master->Panes[c.pane].CurrentFolder, c.folder);
    EXPECT_EQ(master->TitleBarText(c.pane), c.title);
    EXPECT_EQ(master->CurrentPathText(), c.shortText);
    EXPECT_EQ(c.shortText.size(), std::min<size_t>(c.title.size(), 50));
    EXPECT_EQ(master->Toolbar1().ToolTip(L"pane" + std::to_wstring(c.pane)), c.shortText);
    EXPECT_EQ(varnello::MenuCaption(master->MenuBar(), varnello::mnuPane0 + static_cast<UINT>(c.pane)),
              L"Show Pane &" + std::to_wstring(c.pane + 1) + L" - " + c.title);
    EXPECT_EQ(lists[static_cast<short>(c.pane + 100)].Current, c.title);
  }
}

TEST_F(MasterTest, BeforeTheTreeAnswersTheCaptionsShowTheFolderInCapitals) {
  master->LoadLastSettings();
  // A tree that raises no drive click leaves the captions the set-up wrote itself.
  lists[0].RaiseDriveClick = false;
  lists[0].ActiveFolderAnswer = L"C:\\Users\\Some One\\Documents\\Letters to the bank\\2026";
  master->LoadFolders(0);
  const std::wstring display = L"C:\\...SOME ONE\\DOCUMENTS\\LETTERS TO THE BANK\\2026\\";
  EXPECT_EQ(varnello::MenuCaption(master->MenuBar(), varnello::mnuPane0),
            L"Show Pane &1 - " + display);
  EXPECT_EQ(master->Toolbar1().ToolTip(L"pane0"), display);
  // What the tree's SetFolder left, as the tree gives it.
  EXPECT_EQ(master->Panes[0].CurrentFolder, lists[0].ActiveFolderAnswer);
  EXPECT_TRUE(master->Panes[0].FolderSet);
}

TEST_F(MasterTest, OnlyAFolderTreeUpdatesItsListing) {
  master->LoadLastSettings();
  const size_t before = lists.Log.For(100).size();
  lists[0].Type = zenlo::fbFileAndFolder;
  master->Panes[0].CurrentFolder = L"C:\\other\\";
  master->UpdateChildPane(0);
  master->UpdateChildPane(100);  // a listing's own drive click
  EXPECT_EQ(lists.Log.For(100).size(), before);
  EXPECT_EQ(lists[100].Current, L"C:\\");
}

TEST_F(MasterTest, InterleavedReadsKeepEachPanesFolder) {
  master->LoadLastSettings();
  ASSERT_TRUE(master->Panes[1].Loaded);
  bool once = true;
  lists[100].OnGetFolderContents = [&](const std::wstring&) {
    if (!once) return;
    once = false;
    // While pane 0's listing reads, the user clicks a folder in pane 1.
    master->Panes[1].CurrentFolder = L"C:\\one\\";
    master->UpdateChildPane(1);
  };
  master->Panes[0].CurrentFolder = L"C:\\zero\\";
  master->UpdateChildPane(0);
  EXPECT_EQ(lists[100].Current, L"C:\\zero\\");
  EXPECT_EQ(lists[100].Active, L"C:\\zero\\");
  EXPECT_EQ(lists[101].Current, L"C:\\one\\");

  // In one pane the later request wins.
  once = true;
  lists[100].OnGetFolderContents = [&](const std::wstring&) {
    if (!once) return;
    once = false;
    master->Panes[0].CurrentFolder = L"C:\\later\\";
    master->UpdateChildPane(0);
  };
  master->Panes[0].CurrentFolder = L"C:\\first\\";
  master->UpdateChildPane(0);
  EXPECT_EQ(lists[100].Current, L"C:\\later\\");
  EXPECT_EQ(lists[100].Active, L"C:\\later\\");
}

TEST_F(MasterTest, TheClickedListAndItsPaneAreMarked) {
  StartUp();
  master->Panes[2].Status = 0;
  master->InitializePaneSet(2);
  master->Panes[2].Status = 1;  // closed again: loaded lists still take part
  auto lastHighlight = [&](short index) {
    std::wstring last;
    for (const auto& c : lists.Log.For(index))
      if (c.rfind(L"HiLightControl", 0) == 0) last = c;
    return last;
  };
  auto enabled = [&](const wchar_t* key) {
    const auto& buttons = master->Toolbar1().Buttons();
    for (size_t i = 0; i < buttons.size(); ++i)
      if (buttons[i].Key == key)
        return SendMessageW(master->Toolbar1().Handle(), TB_ISBUTTONENABLED,
                            1000 + static_cast<WPARAM>(i), 0) != 0;
    return false;
  };
  struct Case {
    short clicked;
    bool addToSort;
  } cases[] = {{102, true}, {2, false}, {100, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.clicked);
    const short pane = c.clicked >= 100 ? static_cast<short>(c.clicked - 100) : c.clicked;
    master->Options.ClickedPane = c.clicked;
    std::wstring typed = L"typed";
    master->List_UpdateFileName(0, typed);
    // An update that is not forced changes nothing.
    const size_t before = lists.Log.Calls.size();
    master->HighlightActiveList(false);
    EXPECT_EQ(lists.Log.Calls.size(), before);
    EXPECT_EQ(master->CommandText(), L"typed");

    master->HighlightActiveList(true);
    for (short i : {0, 1, 2, 100, 101, 102})
      EXPECT_EQ(lastHighlight(i), i == c.clicked ? L"HiLightControl(1)" : L"HiLightControl(0)") << i;
    for (short p = 0; p < 3; ++p) EXPECT_EQ(master->TitleBarActive(p), p == pane) << p;
    EXPECT_EQ(master->CurrentPathText(), master->TitleBarText(pane));
    EXPECT_EQ(master->CommandText(), L"");
    EXPECT_EQ(enabled(L"headascadd"), c.addToSort);
    EXPECT_EQ(enabled(L"headdesadd"), c.addToSort);
  }
}

TEST_F(MasterTest, EventsTheMainWindowAnswers) {
  StartUp();
  master->Options.BookMarks[3].Path = L"C:\\marked\\";
  short slot = 3;
  std::wstring path;
  master->List_GetBookmark(100, slot, path);
  EXPECT_EQ(path, L"C:\\marked\\");
  short outOfRange = 10;
  path = L"unchanged";
  master->List_GetBookmark(100, outOfRange, path);
  EXPECT_EQ(path, L"unchanged");
  for (short pane = -1; pane <= 5; ++pane) {
    bool result = true;
    short p = pane;
    master->List_IsPaneActive(0, p, result);
    EXPECT_EQ(result, pane == 0 || pane == 1) << pane;
  }
  std::wstring name = L"report.txt";
  master->List_UpdateFileName(100, name);
  EXPECT_EQ(master->CommandText(), L"report.txt");
  vtest::BoxAnswers boxes({vtest::BoxAnswers::Press(1)});
  std::wstring text = L"The folder could not be read.";
  master->List_Message(100, text);
  ASSERT_EQ(boxes.Seen.size(), 1u);
  EXPECT_EQ(boxes.Seen[0].Text, L"The folder could not be read.");
  EXPECT_EQ(master->MsgBoxAnswer, L"OK");
}

}  // namespace
