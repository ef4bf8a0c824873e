// The main window's start-up phases, its failure message and the program defaults.
#include <gtest/gtest.h>

#include "MasterFixture.h"
#include "commands/MainMenu.h"
#include "mainwindow/OsVersion.h"

namespace {

using vtest::BoxAnswers;
using vtest::MasterTest;

const std::vector<std::wstring> kPhases = {
    L"setting up menus...",
    L"creating menu links...",
    L"assigning images...",
    L"detecting environment...",
    L"creating toolbars...",
    L"setting intial properties...",
    L"checking for proper shut down...",
    L"getting last settings used...",
    L"getting program defaults...",
    L"loading initial pane defaults...",
    L"arranging setup...",
    L"loading initial pane...",
    L"loading pane 2...",
    L"loading skin...",
    L"storing start up information...",
    L"preparing initial views...",
    L"getting mouse information...",
    L"highlighting active list...",
};

std::wstring FailureText(const std::wstring& stage) {
  return L"An error has occurred while starting Varnello.\r\n\r\nThe error occurred during this "
         L"stage: " +
         stage +
         L"\r\n\r\nPlease send an e-mail to support@varnello.example regarding possible fixes "
         L"to this issue and quote error number: VR0101. Varnello must now close.";
}

TEST_F(MasterTest, PhasesAreAnnouncedInOrder) {
  StartUp();
  EXPECT_EQ(reporter.Statuses, kPhases);
  EXPECT_FALSE(reporter.ShutDown);
  EXPECT_TRUE(dir.Exists(L"run.txt"));
}

class PhaseFailure : public testing::TestWithParam<size_t> {};

TEST_P(PhaseFailure, NamesTheStageAndEndsTheProgram) {
  const std::wstring phase = kPhases[GetParam()];
  vtest::TempDir dir;
  vtest::RecordingFactory lists;
  vtest::Reporter reporter;
  varnello::Master master(vtest::WithShippedSkins(dir.Path()), lists);
  reporter.FailingPhase = phase;
  BoxAnswers boxes({BoxAnswers::Press(1)});
  master.Form_Load(reporter);
  ASSERT_EQ(boxes.Seen.size(), 1u);
  EXPECT_EQ(boxes.Seen[0].Text, FailureText(phase));
  EXPECT_EQ(boxes.Seen[0].Buttons, std::vector<std::wstring>{L"OK"});
  EXPECT_TRUE(reporter.ShutDown);
  EXPECT_FALSE(reporter.Loaded);
  // The marker is written in its own phase; a failure before it leaves none behind.
  const bool markerWritten = GetParam() > 14;
  EXPECT_EQ(dir.Exists(L"run.txt"), markerWritten);
}

INSTANTIATE_TEST_SUITE_P(EveryPhase, PhaseFailure, testing::Range<size_t>(0, 18));

TEST(ListCreation, AListThatCannotBeMadeFailsItsPane) {
  // Pane 0's lists are made with the window; a missing library shows up when the pane is set up.
  const std::pair<short, const wchar_t*> cases[] = {{0, L"loading initial pane..."},
                                                    {100, L"loading initial pane..."},
                                                    {101, L"loading pane 2..."}};
  for (const auto& [index, stage] : cases) {
    SCOPED_TRACE(index);
    vtest::TempDir dir;
    vtest::RecordingFactory lists;
    lists.FailIndexes = {index};
    vtest::Reporter reporter;
    varnello::Master master(vtest::WithShippedSkins(dir.Path()), lists);
    BoxAnswers boxes({BoxAnswers::Press(1)});
    master.Form_Load(reporter);
    ASSERT_EQ(boxes.Seen.size(), 1u);
    EXPECT_EQ(boxes.Seen[0].Text, FailureText(stage));
    EXPECT_TRUE(reporter.ShutDown);
  }
}

TEST_F(MasterTest, RunningMarkerOffersTheReset) {
  struct Case {
    const char* name;
    BoxAnswers::Action answer;
    bool settingsKept;
  } cases[] = {{"yes", BoxAnswers::Press(2), false},
               {"no", BoxAnswers::Press(1), true},
               {"closed", BoxAnswers::Close(), true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    vtest::TempDir folder;
    vtest::RecordingFactory factory;
    vtest::Reporter rep;
    varnello::Master m(vtest::WithShippedSkins(folder.Path()), factory);
    folder.Write(L"run.txt", "");
    folder.Write(L"user.usr", "\"SkinName\",\"roxy\",0,0,0,0\r\n");
    BoxAnswers boxes({c.answer});
    m.Form_Load(rep);
    EXPECT_TRUE(rep.Loaded);
    ASSERT_EQ(boxes.Seen.size(), 1u);
    EXPECT_EQ(boxes.Seen[0].Text,
              L"It appears as though Varnello did not shut down properly or another copy is "
              L"already running.\r\n\r\nDo you want to reset to all of Varnello's default "
              L"settings?");
    EXPECT_EQ(boxes.Seen[0].Buttons, (std::vector<std::wstring>{L"Yes", L"No"}));
    EXPECT_EQ(folder.Exists(L"user.usr"), c.settingsKept);
  }
}

TEST_F(MasterTest, TheDefaultPaneTable) {
  StartUp();
  struct Want {
    long status;
    float width, heightH;
    bool loaded;
  } want[5] = {{0, 0.5f, 0.65f, true},
               {0, 0.5f, 0.35f, true},
               {1, 0, 0, false},
               {1, 0, 0, false},
               {1, 0, 0, false}};
  for (short i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    const varnello::PaneRecord& p = master->Panes[i];
    EXPECT_EQ(p.InitialDrive, L"C");
    EXPECT_EQ(p.Status, want[i].status);
    EXPECT_FLOAT_EQ(p.PercentWidth, want[i].width);
    EXPECT_FLOAT_EQ(p.PercentHeight, 0);
    EXPECT_FLOAT_EQ(p.PercentWidthH, 0);
    EXPECT_FLOAT_EQ(p.PercentHeightH, want[i].heightH);
    EXPECT_EQ(p.Order, i + 1);
    EXPECT_EQ(p.ControlGroup, i);
    EXPECT_EQ(p.Width, 0);
    EXPECT_EQ(p.WidthH, 4100);
    EXPECT_EQ(p.Height, 4000);
    EXPECT_EQ(p.HeightH, 0);
    EXPECT_EQ(p.Left, 0);
    EXPECT_EQ(p.Loaded, want[i].loaded);
    EXPECT_EQ(p.FolderSet, want[i].loaded);
    EXPECT_EQ(p.CurrentFolder, want[i].loaded ? L"C:\\" : L"");
    EXPECT_EQ(master->List(i) != nullptr, want[i].loaded);
    EXPECT_EQ(master->Toolbar1().Value(L"pane" + std::to_wstring(i)), i < 2);
    EXPECT_EQ(varnello::MenuChecked(master->MenuBar(), varnello::mnuPane0 + static_cast<UINT>(i)),
              i < 2);
  }
  const varnello::ProgramOptions& o = master->Options;
  EXPECT_EQ(o.SkinName, L"CLOUD 9");
  EXPECT_EQ(o.StartPane, 0);
  EXPECT_EQ(o.ActivePane, 0);
  EXPECT_EQ(o.ClickedPane, 0);
  EXPECT_EQ(o.DragSourceIndex, -2);
  EXPECT_EQ(o.FileCountMax, 50);
  EXPECT_TRUE(o.ShowFileIcons);
  EXPECT_FALSE(o.ShowFolderIcons);
  EXPECT_TRUE(o.MinimizeToTaskBar);
  EXPECT_EQ(o.CompareMode, 3);
  EXPECT_EQ(o.Layout, 1);
  EXPECT_FALSE(o.ColorCodingOn);
  EXPECT_FALSE(varnello::MenuChecked(master->MenuBar(), varnello::mnuColorOn));
  EXPECT_TRUE(varnello::MenuChecked(master->MenuBar(), varnello::mnuColorOff));
  EXPECT_EQ(o.ShownPaneCount, 2);
  // The initial form properties: keys armed, the copy cursor loaded from the resources.
  EXPECT_TRUE(master->KeyRearmed);
  EXPECT_NE(master->CopyCursorPicture(), nullptr);
  EXPECT_TRUE(o.FirstRun);
  for (const auto& b : o.BookMarks) {
    EXPECT_EQ(b.Path, L"(empty)");
    EXPECT_EQ(b.DisplayPath, L"(empty)");
  }
  const std::pair<const wchar_t*, bool> buttons[] = {
      {L"compare_size", true},   {L"compare_date", true},     {L"layoutvertical", false},
      {L"layouthorizontal", true}, {L"showcommandline", false}, {L"layoutautoexpand", false},
      {L"showcolor", false}};
  for (const auto& [key, pressed] : buttons) EXPECT_EQ(master->Toolbar1().Value(key), pressed) << key;
  HMENU menu = master->MenuBar();
  EXPECT_TRUE(varnello::MenuChecked(menu, varnello::mnuCompareSize));
  EXPECT_TRUE(varnello::MenuChecked(menu, varnello::mnuCompareDate));
  EXPECT_FALSE(varnello::MenuChecked(menu, varnello::mnuHidden));
  EXPECT_FALSE(varnello::MenuChecked(menu, varnello::mnuSystem));
  EXPECT_TRUE(varnello::MenuChecked(menu, varnello::mnuCommandOff));
  EXPECT_FALSE(varnello::MenuChecked(menu, varnello::mnuCommandOn));
  EXPECT_TRUE(varnello::MenuChecked(menu, varnello::mnuAutoExpandOff));
  EXPECT_FALSE(varnello::MenuChecked(menu, varnello::mnuAutoExpandOn));
}

TEST_F(MasterTest, EveryPaneHiddenStillShowsPaneZero) {
  for (auto& p : master->Panes) p.Status = 1;
  master->ChooseStartPane();
  EXPECT_EQ(master->Panes[0].Status, 0);
  EXPECT_EQ(master->Options.StartPane, 0);
  EXPECT_EQ(master->Options.ActivePane, 0);
  EXPECT_TRUE(master->Toolbar1().Value(L"pane0"));
  // Pane 2 alone shown: it starts, pane 0 stays hidden.
  for (auto& p : master->Panes) p.Status = 1;
  master->Panes[2].Status = 0;
  master->ChooseStartPane();
  EXPECT_EQ(master->Panes[0].Status, 1);
  EXPECT_EQ(master->Options.StartPane, 2);
  EXPECT_EQ(master->Options.ActivePane, 2);
}

TEST(OsVersion, OldSystemsAndNullTrimming) {
  struct Case {
    long platform, minor;
    const wchar_t* name;
  } cases[] = {{1, 0, L"Windows 95"},  {1, 9, L"Windows 95"},  {1, 10, L"Windows 98"},
               {1, 89, L"Windows 98"}, {1, 90, L"Windows Me"}, {2, 0, L""},
               {2, 90, L""}};
  for (const Case& c : cases)
    EXPECT_EQ(varnello::OldWindowsName(c.platform, c.minor), c.name) << c.platform << "." << c.minor;
  EXPECT_FALSE(varnello::IsWin95() || varnello::IsWin98() || varnello::IsWinME());
  using namespace std::string_literals;
  EXPECT_EQ(varnello::TrimAtNull2(L"Service Pack 3\0junk"s), L"Service Pack 3");
  EXPECT_EQ(varnello::TrimAtNull2(L"\0junk"s), L"");
  EXPECT_EQ(varnello::TrimAtNull2(L"no nul"), L"");
}

}  // namespace
