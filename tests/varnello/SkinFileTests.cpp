// Skin files: their bytes, reading them back, the shipped skins, hostile files and the name
// rules; loading a skin into the main window.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "MasterFixture.h"
#include "settings/SkinFiles.h"
#include "toolkit/Gdi.h"
#include "toolkit/SettingRecords.h"
#include "toolkit/Text.h"

namespace {

using varnello::SkinColours;
using vtest::BoxAnswers;
using vtest::MasterTest;

bool SameColours(const SkinColours& a, const SkinColours& b) {
  for (const auto& [key, member] : SkinColours::KeyTable())
    if (a.*member != b.*member) return false;
  return true;
}

TEST(SkinFile, GoldenBytesOfTheDefaultColours) {
  const std::string golden =
      "\"Version\",100000000,\"Varnello Skin\",0,0,0\r\n"
      "\"ColorProgramBackground\",15916752,0,0,0,0\r\n"
      "\"ColorPaneBackground\",16445672,0,0,0,0\r\n"
      "\"ColorListBackground\",16777215,0,0,0,0\r\n"
      "\"ColorListText\",0,0,0,0,0\r\n"
      "\"ColorMainToolbar\",16181470,0,0,0,0\r\n"
      "\"ColorMinorToolbar\",16445672,0,0,0,0\r\n"
      "\"ColorActiveListOutline\",12480070,0,0,0,0\r\n"
      "\"ColorInActiveListOutline\",14468276,0,0,0,0\r\n"
      "\"ColorActiveTitle\",12480070,0,0,0,0\r\n"
      "\"ColorInactiveTitle\",14468276,0,0,0,0\r\n"
      "\"ColorActiveTitleText\",16777215,0,0,0,0\r\n"
      "\"ColorInactiveTitleText\",3942440,0,0,0,0\r\n"
      "\"ColorDriveList\",16777215,0,0,0,0\r\n"
      "\"ColorDriveText\",0,0,0,0,0\r\n"
      "\"ColorActiveHeading\",15119510,0,0,0,0\r\n"
      "\"ColorInactiveHeading\",16048854,0,0,0,0\r\n"
      "\"ColorActiveHeadingText\",0,0,0,0,0\r\n"
      "\"ColorInactiveHeadingText\",3942440,0,0,0,0\r\n"
      "\"ColorHeadingHoverText\",11156480,0,0,0,0\r\n"
      "\"ColorStatusBackground\",16048854,0,0,0,0\r\n"
      "\"ColorStatusText\",0,0,0,0,0\r\n"
      "\"ColorActiveItemOutline\",12480070,0,0,0,0\r\n"
      "\"ColorActiveItemUnderline\",15119510,0,0,0,0\r\n"
      "\"ColorCurrentFolderText\",0,0,0,0,0\r\n"
      "\"ColorCommandLineList\",16777215,0,0,0,0\r\n"
      "\"ColorCommandLineText\",0,0,0,0,0\r\n"
      "\"ColorMainMenu\",16181470,0,0,0,0\r\n"
      "\"ColorTextSecondary\",7364704,0,0,0,0\r\n";
  EXPECT_EQ(varnello::SkinFileBytes(SkinColours{}), golden);
  // The shipped default skin is exactly these colours.
  EXPECT_EQ(tk::ReadFileBytes(vtest::ExeFolder() + L"\\skins\\Cloud 9.vrk").value_or(""), golden);
}

TEST(SkinFile, WrittenColoursReadBackIncludingSystemColours) {
  SkinColours written;
  written.ColorListText = RGB(1, 2, 3);
  written.ColorMainMenu = 0x80000004;  // the system's menu colour
  written.ColorTextSecondary = 0x80000011;
  vtest::TempDir dir;
  const varnello::SkinFolder folder(dir.Path());
  ASSERT_EQ(folder.Write(L"Mine", written), 0u);
  SkinColours read;
  read.ColorListText = RGB(9, 9, 9);
  read.ColorMainMenu = RGB(9, 9, 9);
  EXPECT_EQ(varnello::ApplySkinFile(tk::ReadFileBytes(dir.File(L"skins\\Mine.vrk")).value(), read),
            28);
  EXPECT_TRUE(SameColours(read, written));
}

TEST(SkinFile, PartialAndReorderedFilesChangeOnlyWhatTheyHoldInFileOrder) {
  SkinColours colours;
  const SkinColours before = colours;
  const std::string bytes =
      "\"ColorStatusText\",255,0,0,0,0\r\n"
      "\"colorlisttext\",65280,0,0,0,0\r\n"
      "\"ColorStatusText\",16711680,0,0,0,0\r\n";
  EXPECT_EQ(varnello::ApplySkinFile(bytes, colours), 3);
  EXPECT_EQ(colours.ColorStatusText, RGB(0, 0, 255));  // the last record of a key wins
  EXPECT_EQ(colours.ColorListText, RGB(0, 255, 0));
  colours.ColorStatusText = before.ColorStatusText;
  colours.ColorListText = before.ColorListText;
  EXPECT_TRUE(SameColours(colours, before));
}

TEST(SkinFile, OnlyRgbAndKnownSystemColoursAreTaken) {
  struct Case {
    const char* value;
    bool taken;
  } cases[] = {{"0", true},           {"16777215", true},      {"-2147483633", true},
               {"-2147483618", true}, {"16777216", false},     {"-1", false},
               {"-2147483617", false}, {"-2147483392", false}, {"\"255\"", false},
               {"#TRUE#", false},     {"1E+20", false},        {"", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    SkinColours colours;
    const COLORREF before = colours.ColorListBackground;
    const std::string line = std::string("\"ColorListBackground\",") + c.value + ",0,0,0,0\r\n";
    EXPECT_EQ(varnello::ApplySkinFile(line, colours), c.taken ? 1 : 0);
    if (!c.taken) {
      EXPECT_EQ(colours.ColorListBackground, before);
    }
  }
}

double Luminance(COLORREF c) {
  auto channel = [](int v) {
    const double s = v / 255.0;
    return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(GetRValue(c)) + 0.7152 * channel(GetGValue(c)) +
         0.0722 * channel(GetBValue(c));
}

double Contrast(COLORREF a, COLORREF b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST(ShippedSkins, EveryOneHoldsAllColoursWithReadableText) {
  const varnello::SkinFolder folder(vtest::ExeFolder());
  EXPECT_EQ(folder.Names(), (std::vector<std::wstring>{L"Cloud 9", L"earl grey", L"grasshopper",
                                                       L"ROXY", L"TRADITIONAL"}));
  using M = COLORREF SkinColours::*;
  const std::pair<M, M> pairs[] = {
      {&SkinColours::ColorListText, &SkinColours::ColorListBackground},
      {&SkinColours::ColorTextSecondary, &SkinColours::ColorListBackground},
      {&SkinColours::ColorDriveText, &SkinColours::ColorDriveList},
      {&SkinColours::ColorStatusText, &SkinColours::ColorStatusBackground},
      {&SkinColours::ColorActiveTitleText, &SkinColours::ColorActiveTitle},
      {&SkinColours::ColorInactiveTitleText, &SkinColours::ColorInactiveTitle},
      {&SkinColours::ColorActiveHeadingText, &SkinColours::ColorActiveHeading},
      {&SkinColours::ColorInactiveHeadingText, &SkinColours::ColorInactiveHeading},
      {&SkinColours::ColorHeadingHoverText, &SkinColours::ColorInactiveHeading},
      {&SkinColours::ColorCurrentFolderText, &SkinColours::ColorProgramBackground},
      {&SkinColours::ColorCommandLineText, &SkinColours::ColorCommandLineList},
  };
  for (const std::wstring& name : folder.Names()) {
    SCOPED_TRACE(tk::ToUtf8(name));
    SkinColours colours;
    EXPECT_EQ(varnello::ApplySkinFile(tk::ReadFileBytes(*folder.Find(name)).value_or(""), colours),
              28);
    for (const auto& [text, back] : pairs) {
      const COLORREF fore = tk::SkinColour(static_cast<std::int32_t>(colours.*text));
      const COLORREF ground = tk::SkinColour(static_cast<std::int32_t>(colours.*back));
      EXPECT_GE(Contrast(fore, ground), 4.5) << std::hex << fore << " on " << ground;
    }
  }
}

TEST(SkinNames, RulesForNewSkinNames) {
  struct Case {
    std::wstring name;
    bool usable;
  } cases[] = {
      {L"Night", true},         {L"my skin 2", true},       {L"Ünïcode ☂", true},
      {L"a.b", false},          {L"what?", false},          {L"it's", false},
      {L"say \"hi\"", false},   {L"a\\b", false},           {L"a/b", false},
      {L"c:x", false},          {L"a<b", false},            {L"a|b", false},
      {L"a*", false},           {L"tab\there", false},      {L" lead", false},
      {L"trail ", false},       {L"CON", false},            {L"com1", false},
      {L"Lpt9", false},         {L"nul", false},            {L"CONSOLE", true},
      {std::wstring(100, L'x'), true}, {std::wstring(101, L'x'), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(tk::ToUtf8(c.name));
    const auto problem = varnello::SkinNameProblem(c.name);
    EXPECT_EQ(!problem.has_value(), c.usable);
    if (problem) {
      EXPECT_FALSE(problem->empty());
    }
  }
  for (const wchar_t* name : {L"Cloud 9", L"cloud 9", L"TRADITIONAL", L"earl grey", L"Grasshopper",
                              L"roxy"})
    EXPECT_TRUE(varnello::IsProtectedSkin(name)) << tk::ToUtf8(name);
  EXPECT_FALSE(varnello::IsProtectedSkin(L"Cloud 10"));
  for (const wchar_t* name : {L"", L".", L"..", L"..\\x", L"a/b", L"C:x", L"*", L"a?"})
    EXPECT_FALSE(varnello::IsPlainFileName(name)) << tk::ToUtf8(name);
  EXPECT_TRUE(varnello::IsPlainFileName(L"my.skin"));
}

TEST(SkinFolderTest, FindsCaseBlindSortsAndNeverRenamesOverAnotherSkin) {
  vtest::TempDir dir;
  const varnello::SkinFolder folder(dir.Path());
  for (const wchar_t* name : {L"beta", L"Alpha", L"gamma"})
    ASSERT_EQ(folder.Write(name, SkinColours{}), 0u);
  // Not a skin: a folder and another extension.
  CreateDirectoryW(dir.File(L"skins\\folder.vrk").c_str(), nullptr);
  dir.Write(L"skins\\notes.txt", "x");
  EXPECT_EQ(folder.Names(), (std::vector<std::wstring>{L"Alpha", L"beta", L"gamma"}));
  EXPECT_EQ(folder.Find(L"ALPHA"), dir.File(L"skins\\Alpha.vrk"));
  EXPECT_EQ(folder.Find(L"..\\skins\\Alpha"), std::nullopt);
  EXPECT_EQ(folder.Rename(L"alpha", L"BETA"), static_cast<unsigned long>(ERROR_ALREADY_EXISTS));
  EXPECT_TRUE(dir.Exists(L"skins\\Alpha.vrk"));
  EXPECT_EQ(folder.Rename(L"alpha", L"ALPHA"), 0u);  // a change of case alone
  EXPECT_EQ(folder.StoredName(L"alpha"), L"ALPHA");
}

// ---- Loading into the main window ----

class SkinLoadTest : public MasterTest {
 protected:
  void SetUp() override { StartUp(); }
  varnello::SkinFolder Folder() const { return varnello::SkinFolder(dir.Path()); }
  // The settings records apart from the skin's name.
  std::vector<tk::SettingRecord> OtherSettings() {
    auto records = master->Settings().SettingsRecords();
    std::erase_if(records, [](const tk::SettingRecord& r) { return r.Key == L"SkinName"; });
    return records;
  }
};

TEST_F(SkinLoadTest, LoadsByNameWhateverItsCaseAndStoresTheNameUpperCased) {
  SkinColours grasshopper;
  varnello::ApplySkinFile(tk::ReadFileBytes(*Folder().Find(L"grasshopper")).value(), grasshopper);
  ASSERT_TRUE(master->LoadSkin(L"GrassHopper"));
  EXPECT_EQ(master->Options.SkinName, L"GRASSHOPPER");
  EXPECT_TRUE(SameColours(master->Skin, grasshopper));
  // The lists got the new colours.
  EXPECT_EQ(lists[100].Properties.at(L"ColorListBackground"),
            zenlo::Variant(static_cast<std::int32_t>(grasshopper.ColorListBackground)));
}

TEST_F(SkinLoadTest, AMissingOrNonPlainNameReportsThenTheDefaultSkinStandsIn) {
  SkinColours cloud9;
  varnello::ApplySkinFile(tk::ReadFileBytes(*Folder().Find(L"Cloud 9")).value(), cloud9);
  // A skin file outside the skin folder is never reached through the name.
  dir.Write(L"evil.vrk", "\"ColorListText\",255,0,0,0,0\r\n");
  for (const wchar_t* name : {L"no such skin", L"..\\evil", L"C:..\\evil"}) {
    SCOPED_TRACE(tk::ToUtf8(name));
    ASSERT_TRUE(master->LoadSkin(L"grasshopper"));
    BoxAnswers boxes({BoxAnswers::Press(1)});
    EXPECT_FALSE(master->LoadSkin(name));
    ASSERT_EQ(boxes.Seen.size(), 1u);
    EXPECT_EQ(boxes.Seen[0].Text.rfind(L"The last used 'skin' could not be found.\r\n\r\nIt is "
                                       L"recommended that you create a suitable color scheme by "
                                       L"selecting 'Choose Skin' from the 'Layout' menu.",
                                       0),
              0u);
    EXPECT_TRUE(SameColours(master->Skin, cloud9));
    EXPECT_EQ(master->Options.SkinName, L"CLOUD 9");
    EXPECT_EQ(lists[100].Properties.at(L"ColorListBackground"),
              zenlo::Variant(static_cast<std::int32_t>(cloud9.ColorListBackground)));
  }
  // Without the default skin the colours on screen stay, and so does the name asked for.
  ASSERT_TRUE(master->LoadSkin(L"grasshopper"));
  const SkinColours before = master->Skin;
  ASSERT_EQ(Folder().Remove(L"Cloud 9"), 0u);
  for (const wchar_t* name : {L"no such skin", L"Cloud 9"}) {
    SCOPED_TRACE(tk::ToUtf8(name));
    BoxAnswers boxes({BoxAnswers::Press(1)});
    EXPECT_FALSE(master->LoadSkin(name));
    EXPECT_EQ(boxes.Seen.size(), 1u);
    EXPECT_TRUE(SameColours(master->Skin, before));
    EXPECT_EQ(master->Options.SkinName, tk::UpperCase(name));
  }
}

// The current skin's file removed behind the program's back: the next start says so once.
TEST_F(MasterTest, AMissingCurrentSkinIsReportedAtOneStartOnly) {
  StartUp();
  varnello::SkinFolder folder(dir.Path());
  SkinColours mine;
  mine.ColorListBackground = RGB(1, 2, 3);
  ASSERT_EQ(folder.Write(L"Mine", mine), 0u);
  ASSERT_TRUE(master->LoadSkin(L"Mine"));
  ASSERT_EQ(folder.Remove(L"Mine"), 0u);
  for (const std::size_t boxesAtStart : {1u, 0u, 0u}) {
    SCOPED_TRACE(boxesAtStart);
    master->Form_Unload();
    master.reset();
    DeleteFileW(dir.File(L"run.txt").c_str());
    lists.Lists.clear();
    lists.Log.Calls.clear();
    reporter = vtest::Reporter{};
    master = std::make_unique<varnello::Master>(dir.Path(), lists);
    std::vector<BoxAnswers::Action> answers(boxesAtStart, BoxAnswers::Press(1));
    BoxAnswers boxes(answers);
    StartUp();
    EXPECT_EQ(boxes.Seen.size(), boxesAtStart);
    EXPECT_EQ(master->Options.SkinName, L"CLOUD 9");
    EXPECT_EQ(master->Skin.ColorListBackground, SkinColours{}.ColorListBackground);
  }
}

TEST_F(SkinLoadTest, HostileSkinFilesMoveOnlyColours) {
  std::string big(10 * 1024 * 1024, 'A');
  for (std::size_t i = 0; i < big.size(); i += 997) big[i] = '\n';
  big += "\r\n\"ColorListText\",255,0,0,0,0\r\n";
  std::string binary;
  for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 7919) & 0xFF);
  binary += "\r\n\"ColorListText\",255,0,0,0,0\r\n";
  const std::string settingsKeys =
      "\"SkinName\",\"elsewhere\",0,0,0,0\r\n"
      "\"Layout\",0,0,0,0,0\r\n"
      "\"ShowHidden\",#TRUE#,0,0,0,0\r\n"
      "\"FileCountMax\",5,0,0,0,0\r\n"
      "\"PercentWidth\",0.1,0.1,0.1,0.1,0.1\r\n"
      "\"ProgramPosition\",0,0,10,10,0\r\n"
      "\"ListType\",100,0,0,0,0\r\n"
      "\"ColorListText\",255,0,0,0,0\r\n";
  const std::string oddColours =
      "\"ColorListText\",255,0,0,0,0\r\n"
      "\"ColorListBackground\",-1,0,0,0,0\r\n"
      "\"ColorStatusText\",99999999999,0,0,0,0\r\n"
      "\"ColorDriveText\",\"red\",0,0,0,0\r\n"
      "\"ColorPaneBackground\",-2147483000,0,0,0,0\r\n";
  const std::pair<const char*, const std::string*> files[] = {
      {"settings keys", &settingsKeys}, {"odd colours", &oddColours}, {"binary", &binary},
      {"10 MB", &big}};
  for (const auto& [what, bytes] : files) {
    SCOPED_TRACE(what);
    const SkinColours before = master->Skin;
    const auto settings = OtherSettings();
    const auto options = master->Options;
    Folder().Write(L"hostile", SkinColours{});
    dir.Write(L"skins\\hostile.vrk", *bytes);
    ASSERT_TRUE(master->LoadSkin(L"hostile"));
    SkinColours want = before;
    want.ColorListText = RGB(255, 0, 0);
    EXPECT_TRUE(SameColours(master->Skin, want));
    EXPECT_EQ(OtherSettings(), settings);
    EXPECT_EQ(master->Options.FileCountMax, options.FileCountMax);
    EXPECT_EQ(master->Options.Layout, options.Layout);
    EXPECT_EQ(master->Options.SkinName, L"HOSTILE");
    master->Skin = before;
  }
}

TEST_F(SkinLoadTest, TheToolbarSkinButtonsLoadTheirSkins) {
  const std::pair<const wchar_t*, const wchar_t*> buttons[] = {{L"skinsecond", L"GRASSHOPPER"},
                                                               {L"skindefault", L"EARL GREY"}};
  for (const auto& [key, skin] : buttons) {
    SCOPED_TRACE(tk::ToUtf8(key));
    ASSERT_TRUE(master->Commands().RunButton(key));
    EXPECT_EQ(master->Options.SkinName, skin);
    SkinColours want;
    varnello::ApplySkinFile(tk::ReadFileBytes(*Folder().Find(skin)).value(), want);
    EXPECT_TRUE(SameColours(master->Skin, want));
  }
}

}  // namespace
