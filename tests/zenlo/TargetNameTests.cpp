// What the host's New Folder, Paste and Rename commands act on, typed paths made usable, and
// a start folder that falls back to a drive that is there.
#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "support/ControlFixture.h"
#include "support/FakeNetwork.h"
#include "support/ListingLookup.h"
#include "support/TempFolder.h"
#include "toolkit/InputBox.h"
#include "toolkit/Text.h"
#include "zenlo/ZFCombo.h"

using namespace zenlo;
using testsupport::ControlHolder;
using testsupport::FakeNetwork;
using testsupport::TempFolder;
using testsupport::IndexOf;

namespace {

struct Rename {
  std::wstring path, name;
  sTypes type = sOther;
};
Rename AskRename(ZenloFileControl& c, bool useActive) {
  Rename r{L"stale", L"stale", sOther};
  c.ItemNameForRename(r.path, r.name, useActive, r.type);
  return r;
}

// Answers the input box and counts how often it was shown.
struct ScriptedInputBox {
  std::optional<std::wstring> answer;
  std::vector<tk::InputBoxRequest> asked;
  ScriptedInputBox() {
    tk::SetInputBoxSeam([this](const tk::InputBoxRequest& r) {
      asked.push_back(r);
      return answer;
    });
  }
  ~ScriptedInputBox() { tk::SetInputBoxSeam(nullptr); }
};

}  // namespace

TEST(ValidatePath, KeepsFoldersAndRefusesNetworkLevels) {
  const std::pair<std::wstring, std::wstring> cases[] = {
      {L"C:\\", L"C:\\"},
      {L"C:\\data\\x", L"C:\\data\\x"},
      {L"\\\\ATLAS\\public", L"\\\\ATLAS\\public"},
      {L"*:\\Net\\WORKGROUP\\\\ATLAS\\public", L"\\\\ATLAS\\public"},
      {L"*:\\Net\\WORKGROUP\\\\ATLAS\\public\\docs\\", L"\\\\ATLAS\\public\\docs\\"},
      {L"*:\\Net\\WORKGROUP\\\\ATLAS", L""},
      {L"*:\\Net\\WORKGROUP\\\\ATLAS\\", L""},  // a computer is no folder, with or without "\"
      {L"*:\\Net\\WORKGROUP\\", L""},
      {L"*:\\Net", L""},
      {L"*:\\", L""},
  };
  ControlHolder c;
  for (const auto& [path, expected] : cases) EXPECT_EQ(c->ValidatePath(path), expected) << tk::ToUtf8(path);
}

TEST(TargetNames, AListingGivesItsFolderOrTheSubFolderActive) {
  TempFolder dir;
  dir.Folder(L"Sub");
  dir.File(L"a.txt", 3);
  ControlHolder c(fbFileAndFolder);
  ASSERT_TRUE(c->GetFolderContents(dir.Path(), true));
  const std::int32_t sub = IndexOf(*c, L"Sub"), file = IndexOf(*c, L"a.txt");
  ASSERT_TRUE(sub >= 0 && file >= 0);

  EXPECT_EQ(c->CtrlVFolder(), dir.Path());  // nothing active
  c->SetActiveItemNum(file);
  EXPECT_EQ(c->CtrlVFolder(), dir.Path());
  EXPECT_EQ(c->ItemNameForNewFolder(true, true), dir.Path());
  Rename r = AskRename(*c, true);
  EXPECT_EQ(r.path, dir.Path());
  EXPECT_EQ(r.name, L"a.txt");
  EXPECT_EQ(r.type, sFile);

  c->SetActiveItemNum(sub);
  EXPECT_EQ(c->CtrlVFolder(), dir.Path() + L"Sub\\");
  EXPECT_EQ(c->ItemNameForNewFolder(true, true), dir.Path() + L"Sub\\");
  EXPECT_EQ(c->ItemNameForNewFolder(true, false), dir.Path());
  r = AskRename(*c, true);
  EXPECT_EQ(r.path, dir.Path());
  EXPECT_EQ(r.name, L"Sub");
  EXPECT_EQ(r.type, sFolder);

  // A right click on empty space names nothing to rename, and leaves the type alone.
  c->SetRightClickItem(-1);
  r = AskRename(*c, false);
  EXPECT_EQ(r.path, L"");
  EXPECT_EQ(r.name, L"");
  EXPECT_EQ(r.type, sOther);
  EXPECT_TRUE(c.host.Messages().empty());
}

TEST(TargetNames, ATreeGivesItsActiveOrRightClickedFolderAndItsRootHasNoName) {
  TempFolder dir;
  dir.Folder(L"Alpha");
  dir.Folder(L"Beta");
  ControlHolder tree(fbFolder);
  ASSERT_TRUE(tree->GetFolderContents(dir.Path(), true));
  const std::int32_t beta = IndexOf(*tree, L"Beta");
  ASSERT_GT(beta, 0);

  tree->SetActiveItemNum(0);
  Rename r = AskRename(*tree, true);
  EXPECT_EQ(r.name, L"");
  EXPECT_EQ(r.path, dir.Path());
  EXPECT_EQ(r.type, sFolder);
  EXPECT_EQ(tree->ItemNameForNewFolder(false, false), dir.Path());  // no right click: the root

  tree->SetActiveItemNum(beta);
  EXPECT_EQ(tree->ItemNameForNewFolder(true, false), dir.Path() + L"Beta\\");
  EXPECT_EQ(tree->CtrlVFolder(), dir.Path() + L"Beta\\");
  tree->SetRightClickItem(IndexOf(*tree, L"Alpha"));
  EXPECT_EQ(tree->ItemNameForNewFolder(false, true), dir.Path() + L"Alpha\\");
  r = AskRename(*tree, false);
  EXPECT_EQ(r.path, dir.Path());
  EXPECT_EQ(r.name, L"Alpha");
}

TEST(TargetNames, TheRightClickedItemIsFoundByPathAfterARead) {
  TempFolder dir;
  dir.Folder(L"B");
  dir.Folder(L"C");
  ControlHolder tree(fbFolder);
  ASSERT_TRUE(tree->GetFolderContents(dir.Path(), true));
  const std::int32_t before = IndexOf(*tree, L"B");
  tree->SetRightClickItem(before);

  // A new folder sorts in before it: the index now names another folder.
  dir.Folder(L"A");
  ASSERT_TRUE(tree->GetFolderContents(dir.Path(), true));
  ASSERT_NE(IndexOf(*tree, L"B"), before);
  EXPECT_EQ(tree->RightClickItem(), IndexOf(*tree, L"B"));
  EXPECT_EQ(AskRename(*tree, false).name, L"B");
  EXPECT_EQ(tree->ItemNameForNewFolder(false, false), dir.Path() + L"B\\");

  // Once it is gone, nothing is named: neither another folder nor the root.
  RemoveDirectoryW((dir.Path() + L"B").c_str());
  ASSERT_TRUE(tree->GetFolderContents(dir.Path(), true));
  EXPECT_EQ(tree->RightClickItem(), -1);
  EXPECT_EQ(AskRename(*tree, false).name, L"");
  EXPECT_EQ(tree->ItemNameForNewFolder(false, false), L"");
}

TEST(TargetNames, NetworkListingsGiveSharesInUncFormAndNothingForOtherLevels) {
  ControlHolder c(fbFileAndFolder);
  c->SetNetEnumerator(std::make_shared<FakeNetwork>());
  ASSERT_TRUE(c->GetFolderContents(L"*:\\Fake Windows Network\\WORKGROUP\\\\ATLAS", true));
  const std::int32_t share = IndexOf(*c, L"public");
  ASSERT_EQ(share, 0);
  EXPECT_EQ(c->CtrlVFolder(), L"");  // a computer is nowhere to paste
  EXPECT_EQ(c->ItemNameForNewFolder(true, true), L"");
  c->SetActiveItemNum(share);
  EXPECT_EQ(c->CtrlVFolder(), L"\\\\ATLAS\\public\\");
  c->SetRightClickItem(share);
  const Rename r = AskRename(*c, false);
  EXPECT_EQ(r.name, L"public");
  EXPECT_EQ(r.type, sShare);
  EXPECT_EQ(r.path, L"");  // the share's folder is the computer

  ASSERT_TRUE(c->GetFolderContents(L"*:\\Fake Windows Network\\", true));
  c->SetActiveItemNum(0);
  EXPECT_EQ(c->CtrlVFolder(), L"");
}

TEST(ValidateFolder, FallsBackToADriveThatIsThere) {
  struct Case {
    const char* what;
    std::wstring given;
    std::set<std::wstring> there;  // what the probe confirms
    std::optional<std::wstring> answer;
    std::wstring expected;
    bool boxShown;
    bool driveChanged;  // the selector was filled for the new drive
  };
  const Case cases[] = {
      {"a folder that is there", L"q:\\data", {L"q:\\data"}, {}, L"q:\\data", false, true},
      {"its drive root", L"q:\\gone", {L"q:\\"}, {}, L"q:\\", false, true},
      {"drive c", L"q:\\gone", {L"c:\\", L"d:\\"}, {}, L"c:\\", false, true},
      {"drive c for a short path", L"q", {L"c:\\"}, {}, L"c:\\", false, true},
      {"drive d", L"q:\\gone", {L"d:\\"}, {}, L"d:\\", false, true},
      {"the letter typed", L"q:\\gone", {}, L"z", L"z:\\", true, true},
      {"the letter typed with blanks", L"q:\\gone", {}, L" Z ", L"Z:\\", true, true},
      {"the box cancelled", L"q:\\gone", {}, std::nullopt, L"q:\\gone", true, false},
      {"two letters", L"q:\\gone", {}, L"zz", L"q:\\gone", true, false},
      {"a digit", L"q:\\gone", {}, L"1", L"q:\\gone", true, false},
      {"nothing typed", L"q:\\gone", {}, L"", L"q:\\gone", true, false},
      {"a path typed", L"q:\\gone", {}, L"z:\\", L"q:\\gone", true, false},
      {"a letter outside A-Z", L"q:\\gone", {}, L"\u00e9", L"q:\\gone", true, false},
      {"a computer", L"*:\\Net\\WORKGROUP\\\\ATLAS", {}, {}, L"*:\\Net\\WORKGROUP\\\\ATLAS", false, false},
      {"a share that is there", L"\\\\ATLAS\\public", {L"\\\\ATLAS\\public"}, {}, L"\\\\ATLAS\\public", false, false},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    ControlHolder c;
    std::vector<std::wstring> probed;
    c->SetFolderProbe([&](const std::wstring& p) {
      probed.push_back(p);
      return k.there.count(p) != 0;
    });
    ScriptedInputBox box;
    box.answer = k.answer;
    std::wstring folder = k.given;
    c->ValidateFolder(folder);
    EXPECT_EQ(folder, k.expected);
    ASSERT_EQ(box.asked.size(), k.boxShown ? 1u : 0u);
    if (k.boxShown) {
      EXPECT_EQ(box.asked[0].Title, L"Select Folder...");
      EXPECT_EQ(box.asked[0].Prompt,
                L"Can't find drive c or d, please enter a single letter for the drive you want to see...");
    }
    EXPECT_EQ(c.host.Count(L"GetBookmark") > 0, k.driveChanged);
    EXPECT_TRUE(c.host.Messages().empty());
  }
}

TEST(ValidateFolder, AShareThatIsNotThereIsReportedAndKept) {
  ControlHolder c;
  c->SetFolderProbe([](const std::wstring&) { return false; });
  std::wstring folder = L"*:\\Net\\WORKGROUP\\\\ATLAS\\public";
  c->ValidateFolder(folder);
  EXPECT_EQ(folder, L"*:\\Net\\WORKGROUP\\\\ATLAS\\public");
  EXPECT_EQ(c.host.Messages(),
            std::vector<std::wstring>{L"Sorry, that folder or drive isn't available right now."});
  EXPECT_EQ(c.host.Count(L"GetBookmark"), 0);
}

TEST(ValidateFolder, TheSameDriveAsTheSelectorsIsNotSetAgain) {
  ControlHolder c;
  c->SetFolderProbe([](const std::wstring& p) { return p == L"z:\\data"; });
  c->Selector().currDrive = L"Z:  Local";
  std::wstring folder = L"z:\\data";
  c->ValidateFolder(folder);
  EXPECT_EQ(folder, L"z:\\data");
  EXPECT_EQ(c.host.Count(L"GetBookmark"), 0);
}
