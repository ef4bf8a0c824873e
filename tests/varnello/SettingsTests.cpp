// The settings file: the key dispatcher, writing, reading, the per-pane replay and damaged files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>

#include "MasterFixture.h"
#include "commands/MainMenu.h"
#include "settings/SettingsLocation.h"
#include "settings/WindowPosition.h"
#include "toolkit/PathText.h"
#include "toolkit/SettingRecords.h"
#include "toolkit/Text.h"
#include "toolkit/Window.h"

namespace {

using vtest::BoxAnswers;
using vtest::MasterTest;

tk::SettingRecord Line(const std::wstring& line) {
  auto r = tk::ParseSettingLine(line);
  EXPECT_TRUE(r.has_value()) << tk::ToUtf8(line);
  return r.value_or(tk::SettingRecord{});
}

std::string Bytes(const std::wstring& path) { return tk::ReadFileBytes(path).value_or(""); }

// The lines of a file, without their CR LF.
std::vector<std::string> Lines(const std::string& bytes) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) end = bytes.size();
    out.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  return out;
}

class SettingsTest : public MasterTest {
 protected:
  std::wstring File() const { return dir.File(L"user.usr"); }
  // Runs the record; true when it was applied, and the list calls it made.
  bool Apply(const std::wstring& line, short pane, std::vector<std::wstring>& calls) {
    const tk::SettingRecord r = Line(line);
    const size_t from = lists.Log.Calls.size();
    const bool applied = master->ApplySetting(r.Key, r.Values, pane);
    calls.assign(lists.Log.Calls.begin() + static_cast<std::ptrdiff_t>(from), lists.Log.Calls.end());
    return applied;
  }
  // A fresh main window on the same program folder, started from its user.usr.
  void Restart() {
    master.reset();
    DeleteFileW(dir.File(L"run.txt").c_str());  // as a clean exit leaves it
    lists.Lists.clear();
    lists.Log.Calls.clear();
    reporter = vtest::Reporter{};
    master = std::make_unique<varnello::Master>(dir.Path(), lists);
    StartUp();
  }
  std::string SaveAndRead() {
    master->SaveSettings();
    return Bytes(File());
  }
};

TEST_F(SettingsTest, DispatcherAppliesEachKeyAndRefusesWhatDoesNotFit) {
  StartUp();
  varnello::Master& m = *master;
  struct Row {
    const wchar_t* line;
    short pane;
    bool applied;
    std::vector<std::wstring> calls;              // list calls made, in order
    std::function<bool(varnello::Master&)> holds;  // what the record left
  };
  using M = varnello::Master;
  const Row rows[] = {
      {L"\"ShowFileIcons\",#FALSE#,0,0,0,0", -1, true, {}, [](M& x) { return !x.Options.ShowFileIcons; }},
      {L"\"showfoldericons\",1,0,0,0,0", -1, true, {}, [](M& x) { return x.Options.ShowFolderIcons; }},
      {L"\"TrackChime\",\"True\",0,0,0,0", -1, true, {}, [](M& x) { return x.Options.TrackChime; }},
      {L"\"TrackChime\",\"maybe\",0,0,0,0", -1, false, {}, [](M& x) { return x.Options.TrackChime; }},
      {L"\"FileCountMax\",120,0,0,0,0", -1, true, {}, [](M& x) { return x.Options.FileCountMax == 120; }},
      {L"\"FileCountMax\",-5,0,0,0,0", -1, false, {}, [](M& x) { return x.Options.FileCountMax == 120; }},
      {L"\"FileCountMax\",1e30,0,0,0,0", -1, false, {}, [](M& x) { return x.Options.FileCountMax == 120; }},
      {L"\"FolderFileListing\",\"C:\\Exports\",0,0,0,0", -1, true, {},
       [](M& x) { return x.Options.FolderFileListing == L"C:\\Exports"; }},
      {L"\"FolderFileListing\",0,0,0,0,0", -1, true, {}, [](M& x) { return x.Options.FolderFileListing.empty(); }},
      {L"\"BookMark\",3,\"D:\\Work\",0,0,0", -1, true, {},
       [](M& x) { return x.Options.BookMarks[3].Path == L"D:\\Work"; }},
      {L"\"BookMark\",10,\"C:\\\",0,0,0", -1, false, {}, [](M& x) {
         for (const auto& b : x.Options.BookMarks)
           if (b.Path == L"C:\\") return false;
         return true;
       }},
      {L"\"BookMark\",-1,\"C:\\\",0,0,0", -1, false, {}, [](M&) { return true; }},
      {L"\"SkinName\",\"Ocean\",0,0,0,0", 2, true, {}, [](M& x) { return x.Options.SkinName != L"Ocean"; }},
      {L"\"SkinName\",\"Ocean\",0,0,0,0", -1, true, {}, [](M& x) { return x.Options.SkinName == L"Ocean"; }},
      {L"\"Layout\",0,0,0,0,0", -1, true, {}, [](M& x) {
         return x.Options.Layout == 0 && x.Toolbar1().Value(L"layoutvertical") &&
                !x.Toolbar1().Value(L"layouthorizontal");
       }},
      {L"\"Layout\",5,0,0,0,0", -1, true, {}, [](M& x) { return x.Options.Layout == 1; }},
      {L"\"CompareMode\",7,0,0,0,0", -1, true, {}, [](M& x) {
         return x.Options.CompareMode == 3 && x.Toolbar1().Value(L"compare_size") &&
                x.Toolbar1().Value(L"compare_date");
       }},
      {L"\"CompareMode\",1,0,0,0,0", -1, true, {}, [](M& x) {
         return x.Options.CompareMode == 1 && !x.Toolbar1().Value(L"compare_date");
       }},
      {L"\"Status\",0,1,1,0,1", -1, true, {}, [](M& x) {
         return x.Options.ShownPaneCount == 2 && x.Panes[3].Status == 0 && x.Panes[1].Status == 1 &&
                x.Toolbar1().Value(L"pane3") && !x.Toolbar1().Value(L"pane1") &&
                varnello::MenuChecked(x.MenuBar(), varnello::mnuPane0 + 3) &&
                !varnello::MenuChecked(x.MenuBar(), varnello::mnuPane0 + 1);
       }},
      {L"\"Status\",0,7,0,-2,0", -1, true, {}, [](M& x) {
         return x.Panes[1].Status == 1 && x.Panes[3].Status == 1 && x.Options.ShownPaneCount == 3;
       }},
      {L"\"PercentWidth\",0.5,0.25,.25,0,0", -1, true, {}, [](M& x) {
         return x.Panes[0].PercentWidth == 0.5f && x.Panes[2].PercentWidth == 0.25f;
       }},
      // A share outside 0..1 stops the record there: earlier panes took theirs.
      {L"\"PercentWidth\",0.3,2,0.1,0,0", -1, false, {}, [](M& x) {
         return x.Panes[0].PercentWidth == 0.3f && x.Panes[1].PercentWidth == 0.25f &&
                x.Panes[2].PercentWidth == 0.25f;
       }},
      {L"\"PercentHeightH\",nan,0,0,0,0", -1, false, {}, [](M& x) { return std::isfinite(x.Panes[0].PercentHeightH); }},
      {L"\"Order\",1,2,3,4,70000", -1, false, {}, [](M& x) { return x.Panes[3].Order == 4; }},
      {L"\"InitialDrive\",1,\"\",0,0,0", -1, true, {}, [](M& x) { return x.Panes[1].InitialDrive == L"C"; }},
      {L"\"InitialDrive\",7,\"D\",0,0,0", -1, false, {}, [](M&) { return true; }},
      {L"\"InitialDrive\",1,\"D\",0,0,0", -1, true, {}, [](M& x) { return x.Panes[1].InitialDrive == L"D"; }},
      {L"\"ColorListText\",255,0,0,0,0", -1, true, {}, [](M& x) { return x.Skin.ColorListText == 255u; }},
      {L"\"colortextsecondary\",65280,0,0,0,0", -1, true, {}, [](M& x) { return x.Skin.ColorTextSecondary == 65280u; }},
      {L"\"ColorListText\",16777216,0,0,0,0", -1, false, {}, [](M& x) { return x.Skin.ColorListText == 255u; }},
      {L"\"ColorListText\",-5,0,0,0,0", -1, false, {}, [](M& x) { return x.Skin.ColorListText == 255u; }},
      {L"\"ShowHidden\",#TRUE#,0,0,0,0", -1, true, {}, [](M& x) {
         return x.Options.ShowHidden && varnello::MenuChecked(x.MenuBar(), varnello::mnuHidden);
       }},
      {L"\"OnlineVersion\",2.5,0,0,0,0", -1, true, {}, [](M& x) { return x.Options.OnlineVersion == 2.5; }},
      {L"\"Heading\",1,2,\"Width\",900,0", -1, true, {}, [](M&) { return true; }},
      {L"\"End\",0,0,0,0,0", -1, true, {}, [](M&) { return true; }},
      // Per pane: only this pane's lists, each key only on its own list.
      {L"\"Expanded\",101,\"C:\\A\",0,0,0", 1, true, {}, nullptr},
      {L"\"Expanded\",1,\"C:\\A\",0,0,0", 1, true, {L"1:AddToExpandedFolderString(C:\\A)"}, nullptr},
      {L"\"Expanded\",0,\"C:\\A\",0,0,0", 1, true, {}, nullptr},
      {L"\"Expanded\",#NULL#,\"C:\\A\",0,0,0", 1, true, {}, nullptr},
      {L"\"Active\",1,\"D\",\"D:\\Docs\",0,0", 1, true, {L"1:AddToActiveFolderInfo(D,D:\\Docs)"}, nullptr},
      {L"\"SORTING\",101,0,\"sSize\",\"des\",0", 1, true, {L"101:SetSortOrder(0,sSize,des)"}, nullptr},
      {L"\"sorting\",1,2,\"SNAME\",\"ASC\",0", 1, true, {L"1:SetSortOrder(2,SNAME,asc)"}, nullptr},
      {L"\"SORTING\",101,101,\"sSize\",\"asc\",0", 1, false, {}, nullptr},
      {L"\"SORTING\",101,-1,\"sSize\",\"asc\",0", 1, false, {}, nullptr},
      {L"\"SORTING\",101,0,\"sBogus\",\"asc\",0", 1, false, {}, nullptr},
      {L"\"SORTING\",101,0,\"sFiller\",\"asc\",0", 1, false, {}, nullptr},
      {L"\"SORTING\",101,0,\"sSize\",\"up\",0", 1, false, {}, nullptr},
      {L"\"Heading\",101,2,\"Width\",900,0", 1, true, {L"101:SetHeadingProperty(2,Width,900)"}, nullptr},
      {L"\"Heading\",1,4,\"active\",#TRUE#,0", 1, true, {L"1:SetHeadingProperty(4,active,1)"}, nullptr},
      {L"\"Heading\",101,11,\"Width\",900,0", 1, false, {}, nullptr},
      {L"\"Heading\",101,2,\"Colour\",1,0", 1, false, {}, nullptr},
      {L"\"Heading\",101,2,\"Width\",-1,0", 1, false, {}, nullptr},
      {L"\"Heading\",101,2,\"Index\",11,0", 1, false, {}, nullptr},
      {L"\"Heading\",101,2,\"key\",\"sNothing\",0", 1, false, {}, nullptr},
      {L"\"ListType\",101,0,0,0,0", 1, true, {L"101:ltFolderListType=0"}, nullptr},
      {L"\"ListType\",101,1,0,0,0", 1, false, {}, nullptr},
      {L"\"ListType\",1,2,0,0,0", 1, true, {}, nullptr},
      {L"\"ListMode\",101,2,0,0,0", 1, true, {L"101:ListMode=2"}, nullptr},
      {L"\"ListMode\",101,3,0,0,0", 1, false, {}, nullptr},
      {L"\"SkinName\",\"Ocean\",0,0,0,0", 1, true, {}, nullptr},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(tk::ToUtf8(r.line) + " pane " + std::to_string(r.pane));
    std::vector<std::wstring> calls;
    EXPECT_EQ(Apply(r.line, r.pane, calls), r.applied);
    EXPECT_EQ(calls, r.calls);
    if (r.holds) {
      EXPECT_TRUE(r.holds(m));
    }
  }
}

TEST_F(SettingsTest, WindowPositionRecordsPlaceTheWindow) {
  StartUp();
  HWND w = master->Handle();
  auto normal = [&] {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    GetWindowPlacement(w, &wp);
    return wp.rcNormalPosition;
  };
  std::vector<std::wstring> calls;
  ASSERT_TRUE(Apply(L"\"ProgramPosition\",1500,2250,9000,6600,0", -1, calls));
  RECT r = normal();
  EXPECT_EQ(r.left, 2250 / tk::TwipsPerPixelX());
  EXPECT_EQ(r.top, 1500 / tk::TwipsPerPixelY());
  EXPECT_EQ(r.right - r.left, 9000 / tk::TwipsPerPixelX());
  EXPECT_EQ(r.bottom - r.top, 6600 / tk::TwipsPerPixelY());
  EXPECT_FALSE(master->StartMaximised);
  EXPECT_FALSE(master->ResizeAllowed);

  // Maximised at a place, with the size it is restored to.
  ASSERT_TRUE(Apply(L"\"ProgramPosition\",\"max\",120,-60,7500,6000", -1, calls));
  EXPECT_TRUE(master->StartMaximised);
  r = normal();
  EXPECT_EQ(r.top, 120 / tk::TwipsPerPixelY());
  EXPECT_EQ(r.right - r.left, 7500 / tk::TwipsPerPixelX());
  const tk::SettingRecord written = varnello::WindowPositionRecord(w, master->StartMaximised);
  EXPECT_EQ(tk::FormatSettingLine(written), L"\"ProgramPosition\",\"max\",120,-60,7500,6000");

  // An older file's minimised window opens maximised and keeps its size.
  master->StartMaximised = false;
  ASSERT_TRUE(Apply(L"\"ProgramPosition\",-48000,-48000,2000,1500,0", -1, calls));
  EXPECT_TRUE(master->StartMaximised);
  EXPECT_EQ(normal().right - normal().left, 7500 / tk::TwipsPerPixelX());

  // Off every monitor: back on the screen; too small: the window's minimum.
  ASSERT_TRUE(Apply(L"\"ProgramPosition\",900000,-900000,100,100,0", -1, calls));
  r = normal();
  EXPECT_NE(MonitorFromRect(&r, MONITOR_DEFAULTTONULL), nullptr);
  EXPECT_GE(r.right - r.left, 5000 / tk::TwipsPerPixelX());

  EXPECT_FALSE(Apply(L"\"ProgramPosition\",nan,0,9000,6600,0", -1, calls));
  EXPECT_FALSE(Apply(L"\"ProgramPosition\",1500,2200,#NULL#,6600,0", -1, calls));
}

// The lists' views as a pane would have them after some use.
void GiveViews(vtest::RecordingFactory& lists) {
  vtest::RecordingList& tree = lists[0];
  tree.Expanded = {L"C:\\Data\\", L"", L"C:\\Data\\Sub\\"};
  tree.Places = {{L"C", L"C:\\Data\\Sub\\"}, {L"D", L""}, {L"D", L"D:\\Music\\"}};
  tree.Drive = L"C";
  vtest::RecordingList& listing = lists[100];
  listing.Mode = zenlo::listNamesIconsSmall;
  listing.Sorts[0] = {L"sSize", L"des"};
  listing.Sorts[1] = {L"sName", L"asc"};
  listing.HeadingTable[2][L"Width"] = std::int32_t{2345};
}

TEST_F(SettingsTest, GoldenFileFromTheLists) {
  StartUp();
  GiveViews(lists);
  std::vector<std::wstring> calls;
  ASSERT_TRUE(Apply(L"\"ProgramPosition\",1500,2250,9000,6600,0", -1, calls));
  master->Options.BookMarks[2].Path = L"D:\\Caf\u00e9\\";
  master->Options.FolderFileListing = L"C:\\Exports";
  const std::vector<std::string> lines = Lines(SaveAndRead());
  const std::vector<std::string> head = {
      "\"ProgramPosition\",1500,2250,9000,6600,0",
      "\"FolderFileListing\",\"C:\\Exports\",0,0,0,0",
      "\"SkipWin9XWarningPanes\",#FALSE#,0,0,0,0",
      "\"SkinName\",\"CLOUD 9\",0,0,0,0",
      "\"Layout\",1,0,0,0,0",
      "\"CompareMode\",3,0,0,0,0",
      "\"UseEnhancedMode\",#FALSE#,0,0,0,0",
      "\"ShowCommandLine\",#FALSE#,0,0,0,0",
      "\"ShowColor\",#FALSE#,0,0,0,0",
      "\"ShowFileIcons\",#TRUE#,0,0,0,0",
      "\"ShowFolderIcons\",#FALSE#,0,0,0,0",
      "\"FileCountMax\",50,0,0,0,0",
      "\"MinimizeToTaskBar\",#TRUE#,0,0,0,0",
      "\"TrackFoldChanges\",#FALSE#,0,0,0,0",
      "\"TrackFileChanges\",#FALSE#,0,0,0,0",
      "\"TrackChime\",#FALSE#,0,0,0,0",
      "\"DefaultActionMove\",#FALSE#,0,0,0,0",
      "\"IsFirstColorCodingOverMax\",#TRUE#,0,0,0,0",
      "\"FirstColorEver\",#TRUE#,0,0,0,0",
      "\"ShowCommandLine\",#FALSE#,0,0,0,0",
      "\"LayoutAutoExpand\",#FALSE#,0,0,0,0",
      "\"OnlineVersion\",0,0,0,0,0",
      "\"PercentWidth\",0.5,0.5,0,0,0",
      "\"PercentHeight\",0,0,0,0,0",
      "\"PercentWidthH\",0,0,0,0,0",
      "\"PercentHeightH\",0.65,0.35,0,0,0",
      "\"Status\",0,0,1,1,1",
      "\"Order\",1,2,3,4,5",
      "\"ControlGroup\",0,1,2,3,4",
      "\"Width\",0,0,0,0,0",
      "\"Height\",4000,4000,4000,4000,4000",
      "\"WidthH\",4100,4100,4100,4100,4100",
      "\"HeightH\",0,0,0,0,0",
      "\"Left\",0,0,0,0,0",
      "\"ShowHidden\",#FALSE#,0,0,0,0",
      "\"ShowSystem\",#FALSE#,0,0,0,0",
      "\"BookMark\",0,\"(empty)\",0,0,0",
      "\"BookMark\",1,\"(empty)\",0,0,0",
      "\"BookMark\",2,\"D:\\Caf\xC3\xA9\\\",0,0,0",
      "\"BookMark\",3,\"(empty)\",0,0,0",
      "\"BookMark\",4,\"(empty)\",0,0,0",
      "\"BookMark\",5,\"(empty)\",0,0,0",
      "\"BookMark\",6,\"(empty)\",0,0,0",
      "\"BookMark\",7,\"(empty)\",0,0,0",
      "\"BookMark\",8,\"(empty)\",0,0,0",
      "\"BookMark\",9,\"(empty)\",0,0,0",
      // Pane 0: its lists' views.
      "\"ListType\",100,2,0,0,0",
      "\"InitialDrive\",0,\"C\",0,0,0",
      "\"ListMode\",100,2,0,0,0",
      "\"Expanded\",0,\"C:\\Data\\\",0,0,0",
      "\"Expanded\",0,\"C:\\Data\\Sub\\\",0,0,0",
      "\"Active\",0,\"C\",\"C:\\Data\\Sub\\\",0,0",
      "\"Active\",0,\"D\",\"D:\\Music\\\",0,0",
      "\"Heading\",0,0,\"key\",\"sColor\",0",
      "\"Heading\",0,0,\"Width\",1000,0",
      "\"Heading\",0,0,\"Index\",0,0",
      "\"Heading\",0,0,\"active\",#TRUE#,0",
      "\"Heading\",0,0,\"MenuName\",\"\",0",
      "\"Heading\",0,0,\"Caption\",\"Color\",0",
      "\"Heading\",0,0,\"ToolTip\",\"Tip 0\",0",
  };
  ASSERT_GE(lines.size(), head.size());
  for (size_t i = 0; i < head.size(); ++i) EXPECT_EQ(lines[i], head[i]) << "line " << i + 1;
  // 77 heading records a list, then the sorts of the tree and of the listing.
  const size_t sorts = head.size() - 7 + 154;
  ASSERT_GE(lines.size(), sorts + 3);
  EXPECT_EQ(lines[sorts - 1], "\"Heading\",100,10,\"ToolTip\",\"Tip 10\",0");
  EXPECT_EQ(lines[head.size() - 7 + 77 + 2 * 7 + 1], "\"Heading\",100,2,\"Width\",2345,0");
  EXPECT_EQ(lines[sorts], "\"SORTING\",0,0,\"sName\",\"asc\",0");
  EXPECT_EQ(lines[sorts + 1], "\"SORTING\",100,0,\"sSize\",\"des\",0");
  EXPECT_EQ(lines[sorts + 2], "\"SORTING\",100,1,\"sName\",\"asc\",0");
  EXPECT_EQ(lines.back(), "\"End\",0,0,0,0,0");
}

TEST_F(SettingsTest, SaveLoadSaveIsByteStableAlsoWithADecimalComma) {
  wchar_t before[16] = {};
  GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, before, 16);
  SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, L",");
  StartUp();
  GiveViews(lists);
  master->Panes[0].PercentHeightH = 0.6f;
  master->Panes[1].PercentHeightH = 0.4f;
  master->Options.OnlineVersion = 3.25;
  const std::string first = SaveAndRead();
  Restart();
  const std::string second = SaveAndRead();
  SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, before);
  EXPECT_EQ(first, second);
  EXPECT_NE(first.find("\"PercentHeightH\",0.6,0.4,0,0,0\r\n"), std::string::npos);
  // The views came back through the replay.
  EXPECT_EQ(lists[100].Mode, zenlo::listNamesIconsSmall);
  EXPECT_EQ(lists[0].Expanded, (std::vector<std::wstring>{L"C:\\Data\\", L"C:\\Data\\Sub\\"}));
  EXPECT_FALSE(master->Options.FirstRun);
  EXPECT_TRUE(master->Settings().PositionFound());
}

TEST_F(SettingsTest, AHiddenPaneIsWrittenBackAsItWasRead) {
  dir.Write(L"user.usr",
            "\"Status\",0,0,1,1,1\r\n"
            "\"ListMode\",103,\"2\",0,0,0\r\n"
            "\"Expanded\",3,\"D:\\Deep\\\"\r\n"
            "\"Heading\",103,2,\"Width\",1234,0\r\n"
            "\"Expanded\",4,\"E:\\Other\\\",0,0,0\r\n"
            "\"SORTING\",3,0,\"sName\",\"asc\",#NULL#\r\n"
            "\"Active\",3,\"D\",\"D:\\Deep\\\",#TRUE#,0\r\n");
  StartUp();
  EXPECT_FALSE(master->Panes[3].Loaded);
  const std::string saved = SaveAndRead();
  EXPECT_NE(saved.find("\"ListMode\",103,\"2\",0,0,0\r\n"
                       "\"Expanded\",3,\"D:\\Deep\\\",#NULL#,#NULL#,#NULL#\r\n"
                       "\"Heading\",103,2,\"Width\",1234,0\r\n"
                       "\"SORTING\",3,0,\"sName\",\"asc\",#NULL#\r\n"
                       "\"Active\",3,\"D\",\"D:\\Deep\\\",#TRUE#,0\r\n"
                       "\"Expanded\",4,\"E:\\Other\\\",0,0,0\r\n"
                       "\"End\""),
            std::string::npos)
      << saved;
  // And again at the next start.
  Restart();
  EXPECT_EQ(SaveAndRead(), saved);
}

TEST_F(SettingsTest, ReplayGivesAPaneItsOwnRecordsAndSkipsABadOne) {
  dir.Write(L"user.usr",
            "\"Status\",0,1,0,1,1\r\n"
            "\"Expanded\",2,\"C:\\Two\\\",0,0,0\r\n"
            "\"Expanded\",3,\"C:\\Three\\\",0,0,0\r\n"
            "\"SORTING\",102,500,\"sSize\",\"asc\",0\r\n"
            "\"Heading\",102,2,\"Width\",nan,0\r\n"
            "\"ListMode\",102,2,0,0,0\r\n"
            "\"Expanded\",2,\"C:\\Two\\Deeper\\\",0,0,0\r\n");
  // A box over a damaged file would fail the test: none is answered.
  StartUp();
  ASSERT_TRUE(master->Panes[2].Loaded);
  EXPECT_EQ(lists[2].Expanded, (std::vector<std::wstring>{L"C:\\Two\\", L"C:\\Two\\Deeper\\"}));
  EXPECT_EQ(lists[102].Mode, zenlo::listNamesIconsSmall);
  EXPECT_FALSE(master->Panes[3].Loaded);
  // The replay comes after the listing's defaults and before the options are pushed.
  const auto calls = lists.Log.For(102);
  const auto at = [&](const std::wstring& c) { return std::find(calls.begin(), calls.end(), c) - calls.begin(); };
  EXPECT_LT(at(L"ListMode=0"), at(L"ListMode=2"));
  EXPECT_LT(at(L"ListMode=2"), at(L"ApplyProperty(FileCountMax,50)"));
}

TEST_F(SettingsTest, SharesOfShownPanesThatDoNotAddUpAreEqualised) {
  dir.Write(L"user.usr",
            "\"Status\",0,0,0,1,1\r\n"
            "\"PercentWidth\",0.9,0.9,0.9,0,0\r\n"
            "\"PercentHeightH\",0.5,0.25,0.25,0,0\r\n");
  StartUp();
  for (int i = 0; i < 3; ++i) EXPECT_FLOAT_EQ(master->Panes[i].PercentWidth, 1.0f / 3);
  EXPECT_FLOAT_EQ(master->Panes[0].PercentHeightH, 0.5f);
}

TEST_F(SettingsTest, AFailedSaveKeepsTheOldFileAndSaysSoOnce) {
  StartUp();
  const std::string old = "\"SkinName\",\"Old\",0,0,0,0\r\n";
  struct Blocker {
    const wchar_t* what;
    std::function<std::function<void()>(const std::wstring&)> block;  // returns the undo
  } blockers[] = {
      {L"read-only file",
       [](const std::wstring& f) {
         SetFileAttributesW(f.c_str(), FILE_ATTRIBUTE_READONLY);
         return std::function<void()>([f] { SetFileAttributesW(f.c_str(), FILE_ATTRIBUTE_NORMAL); });
       }},
      {L"temporary file in use",
       [](const std::wstring& f) {
         const std::wstring temp = f + L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp";
         HANDLE h = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
         return std::function<void()>([h, temp] {
           CloseHandle(h);
           DeleteFileW(temp.c_str());
         });
       }},
  };
  bool first = true;
  for (const Blocker& b : blockers) {
    SCOPED_TRACE(tk::ToUtf8(b.what));
    dir.Write(L"user.usr", old);
    const auto undo = b.block(File());
    {
      // One message for the run, however often the save fails.
      BoxAnswers boxes(first ? std::vector<BoxAnswers::Action>{BoxAnswers::Press(1)}
                             : std::vector<BoxAnswers::Action>{});
      master->SaveSettings();
      master->SaveSettings();
      ASSERT_EQ(boxes.Seen.size(), first ? 1u : 0u);
      if (first) {
        EXPECT_NE(boxes.Seen[0].Text.find(File()), std::wstring::npos);
      }
    }
    undo();
    EXPECT_EQ(Bytes(File()), old);
    first = false;
  }
  // Once the file can be written again, it is.
  master->SaveSettings();
  EXPECT_NE(Bytes(File()), old);
}

// A program folder whose name ends in a dot or a blank: Win32 drops that ending from plain paths,
// so its settings and run marker would land in a sibling folder, or nowhere.
TEST(SettingsLocation, AProgramFolderWhoseNameEndsInADotOrBlankKeepsItsOwnFiles) {
  for (const wchar_t* name : {L"prog.", L"prog "}) {
    SCOPED_TRACE(name[4] == L'.' ? "ending in a dot" : "ending in a blank");
    vtest::TempDir base;
    const std::wstring folder = base.File(name);
    ASSERT_TRUE(CreateDirectoryW(tk::LongPathForm(folder).c_str(), nullptr));
    vtest::WithShippedSkins(tk::LongPathForm(folder));
    auto exists = [](const std::wstring& path) {
      return GetFileAttributesW(tk::LongPathForm(path).c_str()) != INVALID_FILE_ATTRIBUTES;
    };
    {
      vtest::RecordingFactory lists;
      vtest::Reporter reporter;
      varnello::Master master(folder, lists);
      master.Form_Load(reporter);
      ASSERT_TRUE(reporter.Loaded);
      EXPECT_TRUE(exists(folder + L"\\run.txt"));
      master.SaveSettings();
      EXPECT_TRUE(exists(folder + L"\\user.usr"));
      EXPECT_FALSE(exists(base.File(L"prog\\user.usr")));
      master.RequestClose();
      EXPECT_FALSE(exists(folder + L"\\run.txt"));  // a clean exit removes it
    }
    // The next start reads what this one saved.
    vtest::RecordingFactory lists;
    vtest::Reporter reporter;
    vtest::BoxAnswers boxes({vtest::BoxAnswers::Press(1)});
    varnello::Master master(folder, lists);
    master.Form_Load(reporter);
    ASSERT_TRUE(reporter.Loaded);
    EXPECT_TRUE(boxes.Seen.empty()) << (boxes.Seen.empty() ? "" : tk::ToUtf8(boxes.Seen[0].Text));
    master.RequestClose();
    e2e::RemoveProgramFolder(tk::LongPathForm(folder));
  }
}

TEST(SettingsLocation, TheProgramFolderWhenWritableElseTheUsersOwn) {
  using varnello::ChooseSettingsFile;
  auto own = ChooseSettingsFile(L"C:\\Prog", L"C:\\Users\\u\\AppData", true, false);
  EXPECT_EQ(own.WritePath, L"C:\\Prog\\user.usr");
  EXPECT_EQ(own.ReadPath, L"C:\\Prog\\user.usr");
  auto user = ChooseSettingsFile(L"C:\\Prog", L"C:\\Users\\u\\AppData", false, false);
  EXPECT_EQ(user.WritePath, L"C:\\Users\\u\\AppData\\Varnello\\user.usr");
  EXPECT_EQ(user.ReadPath, L"C:\\Prog\\user.usr");  // the shipped file until the user has one
  EXPECT_EQ(ChooseSettingsFile(L"C:\\Prog", L"C:\\Users\\u\\AppData", false, true).ReadPath,
            L"C:\\Users\\u\\AppData\\Varnello\\user.usr");
  vtest::TempDir dir;
  EXPECT_TRUE(varnello::FolderWritable(dir.Path()));
  EXPECT_FALSE(varnello::FolderWritable(dir.File(L"no such folder")));
}

}  // namespace

namespace {

class MimicTest : public SettingsTest {
 protected:
  // Panes 0 and 1 shown; pane 1 shows drive D with folders expanded on C and D.
  void SetUpPanes() {
    StartUp();
    vtest::RecordingList& source = lists[1];
    source.Drive = L"d";
    source.Expanded = {L"C:\\Keep\\", L"D:\\Src\\", L"d:\\Src\\Sub\\"};
    source.Places = {{L"C", L"C:\\Keep\\"}, {L"D", L"D:\\Src\\Sub\\"}};
    lists[101].Mode = zenlo::listNamesIconsSmall;
    lists[101].SortReset();
    lists[101].ActiveItem = 3;
    vtest::RecordingList& target = lists[0];
    target.Expanded = {L"C:\\Mine\\", L"D:\\Old\\"};
    target.Places = {{L"C", L"C:\\Mine\\"}, {L"D", L"D:\\Old\\"}};
    lists[100].ItemsShown = 10;
    lists.Log.Calls.clear();
  }
};

TEST_F(MimicTest, TheTargetTakesTheSourcesDriveFoldersSortsAndModes) {
  SetUpPanes();
  short source = 1;
  master->List_PaneWantsToMimicFolder(0, source);
  EXPECT_EQ(master->Panes[0].InitialDrive, L"d");
  // Only drive D's entries came over, letters compared without regard to case; the target's
  // own D entries went first and its C entries stayed.
  EXPECT_EQ(lists[0].Expanded,
            (std::vector<std::wstring>{L"C:\\Mine\\", L"D:\\Src\\", L"d:\\Src\\Sub\\"}));
  EXPECT_EQ(lists[0].Places, (std::vector<std::pair<std::wstring, std::wstring>>{
                                 {L"C", L"C:\\Mine\\"}, {L"D", L"D:\\Src\\Sub\\"}}));
  EXPECT_EQ(lists[100].Mode, zenlo::listNamesIconsSmall);
  // The source listing had no sort: both target lists end sorted by name.
  EXPECT_EQ(lists[100].Sorts[0], (std::pair<std::wstring, std::wstring>{L"sName", L"asc"}));
  EXPECT_EQ(lists[100].GetNumberOfSorts(), 1);
  // Headings are the target's own; drawing is on again; the active item came over.
  for (const auto& c : lists.Log.Calls) EXPECT_EQ(c.find(L"SetHeadingProperty"), std::wstring::npos) << tk::ToUtf8(c);
  EXPECT_TRUE(lists[100].DoDrawing);
  EXPECT_EQ(lists[100].ActiveItem, 3);
  const auto calls = lists.Log.For(100);
  EXPECT_EQ(calls.back(), L"HighLightActiveItem");
  EXPECT_TRUE(lists.Log.Has(L"0:SetFolder(d,0)"));
  // The settings file was written on the way.
  EXPECT_TRUE(dir.Exists(L"user.usr"));
}

TEST_F(MimicTest, RequestsThatCopyNothing) {
  SetUpPanes();
  struct Case {
    short index;
    short pane;
    const wchar_t* why;
  } cases[] = {
      {0, 0, L"its own pane, from the tree's menu"},
      {100, 0, L"its own pane, from the listing's menu"},
      {0, 3, L"a pane whose lists were never made and that has no records"},
      {0, 7, L"no such pane"},
      {0, -1, L"no such pane"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(tk::ToUtf8(c.why));
    lists.Log.Calls.clear();
    short pane = c.pane;
    master->List_PaneWantsToMimicFolder(c.index, pane);
    EXPECT_EQ(lists.Log.Calls, std::vector<std::wstring>{});
  }
}

TEST_F(MimicTest, AListingsRequestActsOnItsPaneAndAnActiveItemOutsideTheTargetStays) {
  SetUpPanes();
  lists[101].ActiveItem = 50;  // the target shows 10 items
  lists[100].ActiveItem = 2;
  short source = 1;
  master->List_PaneWantsToMimicFolder(100, source);
  EXPECT_EQ(master->Panes[0].InitialDrive, L"d");
  EXPECT_EQ(lists[100].ActiveItem, 2);
  EXPECT_FALSE(lists.Log.Has(L"200:SortReset"));
}

// Damaged versions of a real settings file: the start-up completes without a box, the pane
// records stay usable, and what is then saved loads and saves the same bytes.
TEST_F(SettingsTest, DamagedFilesNeverStopTheStartUp) {
  StartUp();
  GiveViews(lists);
  const std::string golden = SaveAndRead();
  const std::vector<std::string> lines = Lines(golden);
  std::mt19937 random(2305);
  auto pick = [&](size_t n) { return static_cast<size_t>(random() % n); };
  const std::vector<std::function<std::string()>> mutations = {
      [&] {  // flipped bytes
        std::string b = golden;
        for (int i = 0; i < 6; ++i) b[pick(b.size())] = static_cast<char>(random());
        return b;
      },
      [&] { return golden.substr(0, pick(golden.size())); },  // cut short
      [&] {  // a line twice, a line gone
        std::string b;
        const size_t twice = pick(lines.size()), gone = pick(lines.size());
        for (size_t i = 0; i < lines.size(); ++i) {
          if (i == gone) continue;
          b += lines[i] + "\r\n";
          if (i == twice) b += lines[i] + "\r\n";
        }
        return b;
      },
      [&] {  // odd numbers in a line
        static const char* odd[] = {"nan", "-inf", "1e999", "-2147483649", "99999", "-1",
                                    ".", "0x10", "1,5", "#NULL#", ""};
        std::string line = lines[pick(lines.size())];
        const size_t comma = line.rfind(',', line.size() - 1 - pick(line.size() / 2 + 1));
        if (comma != std::string::npos) line = line.substr(0, comma + 1) + odd[pick(11)];
        return golden + line + "\r\n";
      },
      [&] {  // NUL and bad UTF-8 inside lines
        std::string b = golden;
        b.insert(pick(b.size()), std::string("\0\xC3\x28\xFF", 4));
        b.insert(pick(b.size()), "\xE2\x82");
        return b;
      },
      [&] {  // binary
        std::string b(pick(4000), '\0');
        for (char& c : b) c = static_cast<char>(random());
        return b;
      },
  };
  for (int round = 0; round < 60; ++round) {
    SCOPED_TRACE(round);
    dir.Write(L"user.usr", mutations[static_cast<size_t>(round) % mutations.size()]());
    Restart();  // fails on a box or an unloaded start
    if (HasFatalFailure()) return;
    short shown = 0;
    for (const varnello::PaneRecord& p : master->Panes) {
      EXPECT_TRUE(p.Status == 0 || p.Status == 1);
      shown += p.Status == 0 ? 1 : 0;
      for (float share : {p.PercentWidth, p.PercentHeight, p.PercentWidthH, p.PercentHeightH})
        EXPECT_TRUE(share >= 0 && share <= 1) << share;
    }
    EXPECT_GE(shown, 1);
    EXPECT_TRUE(master->Panes[0].Loaded);
    const short active = master->Options.ActivePane;
    EXPECT_TRUE(active >= 0 && active < varnello::kPaneCount && master->Panes[active].Status == 0);
    const std::string saved = SaveAndRead();
    Restart();
    if (HasFatalFailure()) return;
    EXPECT_EQ(SaveAndRead(), saved);
  }
}

}  // namespace
