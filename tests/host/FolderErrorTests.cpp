// What a host's user reads when a folder is not there to read: one message in words, naming
// the folder exactly as it was asked for, and the listing left as it was.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "HostKit.h"

namespace {

using hostkit::Host;
using zenlo::ZenloFileControl;

struct ErrorHost : ::testing::Test {
  hostkit::ScratchFolder scratch{L"errors"};
  HWND window = hostkit::MakeHostWindow();
  Host host;
  ZenloFileControl* list = hostkit::SetUpControl(window, host, zenlo::fbFileAndFolder);

  void SetUp() override {
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(hostkit::MakeFile(scratch.Path() + L"kept.txt", 3));
    ASSERT_TRUE(list->GetFolderContents(scratch.Path(), true));
    ASSERT_EQ(list->ItemCount(), 1);
  }
  void TearDown() override {
    if (list) list->Release();
    DestroyWindow(window);
  }
};

TEST_F(ErrorHost, AFolderThatCannotBeReadIsNamedWithTheReasonAndTheListingStays) {
  const std::wstring gone = scratch.Path() + L"gone. \U0001F600 ";
  ASSERT_TRUE(hostkit::MakeFile(scratch.Path() + L"a file.", 1));
  struct Case {
    std::wstring Asked;
    std::wstring Shown;  // the folder as the message names it
    std::wstring Reason;
  };
  const Case cases[] = {
      {gone, gone + L"\\", L"The folder does not exist."},
      {gone + L"\\below", gone + L"\\below\\", L"The folder does not exist."},
      {scratch.Path() + L"a file.", scratch.Path() + L"a file.\\",
       L"The path names a file, not a folder."},
      {L"relative\\name.", L"relative\\name.\\",
       L"The path is not a full path: it needs a drive letter or a network share."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "asked [" << c.Asked << "]");
    host.Messages.clear();
    EXPECT_FALSE(list->GetFolderContents(c.Asked, true));
    ASSERT_EQ(host.Messages.size(), 1u);
    EXPECT_EQ(host.Messages[0],
              L"The folder could not be read.\r\n\r\nFolder: " + c.Shown + L"\r\n\r\n" + c.Reason);
    ASSERT_EQ(list->ItemCount(), 1);
    EXPECT_EQ(list->ListItems()[0].Name, L"kept.txt");
  }
}

// The host asks before it lists a remembered folder: the odd names that exist pass, and the
// one that is gone is named in the message exactly.
TEST_F(ErrorHost, AccessChecksTellAnOddFolderFromItsMissingTwin) {
  for (const wchar_t* name : {L"here.", L" here", L"here ", L"\U0001F600"})
    ASSERT_TRUE(hostkit::MakeFolder(scratch.Path() + name));
  struct Case {
    std::wstring Name;
    bool Accessible;
  };
  const Case cases[] = {{L"here.", true},  {L" here", true},          {L"here ", true},
                        {L"\U0001F600", true}, {L"here", false},      {L"here..", false},
                        {L"\U0001F600.", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "[" << c.Name << "]");
    host.Messages.clear();
    const std::wstring path = scratch.Path() + c.Name;
    EXPECT_EQ(list->CheckFolderAccess(path, true), c.Accessible);
    if (c.Accessible) {
      EXPECT_TRUE(host.Messages.empty());
      continue;
    }
    ASSERT_EQ(host.Messages.size(), 1u);
    EXPECT_EQ(host.Messages[0],
              L"The selected folder (folder path and name shown below) could not be accessed."
              L"\r\n\r\nSelected folder: " + path);
  }
}

// A path too long to show whole is cut in the middle; the cut never splits a character.
TEST_F(ErrorHost, ALongPathInAMessageIsCutBetweenCharacters) {
  for (std::size_t pad = 0; pad < 4; ++pad) {
    std::wstring asked = scratch.Path();
    while (asked.size() < 56 + pad) asked += L'a';
    for (int i = 0; i < 60; ++i) asked += L"\U0001F600";
    asked += L"\\missing";
    SCOPED_TRACE(testing::Message() << "pad " << pad);
    host.Messages.clear();
    EXPECT_FALSE(list->GetFolderContents(asked, true));
    ASSERT_EQ(host.Messages.size(), 1u);
    EXPECT_FALSE(hostkit::HasBrokenCharacter(host.Messages[0]));
  }
}

TEST_F(ErrorHost, AListedFolderThatVanishesGivesWayToItsParentWithANotice) {
  const std::wstring name = L" \U0001F600 vanishing.";
  const std::wstring folder = scratch.Path() + name + L"\\";
  ASSERT_TRUE(hostkit::MakeFolder(scratch.Path() + name));
  ASSERT_TRUE(hostkit::MakeFile(folder + L"x", 1));
  ASSERT_TRUE(list->GetFolderContents(folder, true));
  ASSERT_EQ(list->ItemCount(), 1);
  // The listing's change watch holds the folder open: it stays pending deletion until then.
  hostkit::RemoveTree(folder);

  list->RefreshList();
  EXPECT_TRUE(host.Messages.empty());  // a notice in the status line, not a box
  EXPECT_EQ(list->currentFolder(), scratch.Path());
  ASSERT_EQ(list->ItemCount(), 1);
  EXPECT_EQ(list->ListItems()[0].Name, L"kept.txt");
  EXPECT_NE(list->StatusGet().find(L"\"" + name + L"\" no longer exists"), std::wstring::npos)
      << "[" << list->StatusGet() << "]";
}

TEST_F(ErrorHost, AFolderThatVanishesAfterTheReadIsSizedAsUnknown) {
  for (const wchar_t* name : {L"stays.", L"goes. "}) {
    ASSERT_TRUE(hostkit::MakeFolder(scratch.Path() + name));
    ASSERT_TRUE(hostkit::MakeFile(scratch.Path() + name + L"\\f", 9));
  }
  ASSERT_TRUE(list->GetFolderContents(scratch.Path(), true));
  hostkit::RemoveTree(scratch.Path() + L"goes. \\");
  list->CalculateFolderSize();
  for (std::int32_t i = 0; i < list->ItemCount(); ++i) {
    const zenlo::TypeListItem& item = list->ListItems()[static_cast<std::size_t>(i)];
    if (item.Name == L"stays.") {
      EXPECT_EQ(item.SizeText(), L"9");
    } else if (item.Name == L"goes. ") {
      EXPECT_EQ(item.SizeText(), L"--");
    }
  }
  EXPECT_TRUE(host.Messages.empty());
}

}  // namespace

namespace {

// A tree folder that vanished before the user opens it: the access check's message names it,
// and the tree stays as it was.
TEST(TreeErrors, ExpandingAVanishedOddFolderNamesItAndKeepsTheTree) {
  hostkit::ScratchFolder scratch(L"tree-errors");
  const std::wstring name = L"gone. \U0001F600 ";
  ASSERT_TRUE(hostkit::MakeFolder(scratch.Path() + name));
  ASSERT_TRUE(hostkit::MakeFolder(scratch.Path() + name + L"\\sub"));
  ASSERT_TRUE(hostkit::MakeFolder(scratch.Path() + L"stays"));
  HWND window = hostkit::MakeHostWindow();
  Host host;
  host.Bookmark = scratch.Path();
  ZenloFileControl* tree = hostkit::SetUpControl(window, host, zenlo::fbFolder);
  ASSERT_NE(tree, nullptr);
  std::wstring key = L"0";
  tree->SetFolder(key);
  ASSERT_EQ(tree->ItemCount(), 3);

  hostkit::RemoveTree(scratch.Path() + name + L"\\");
  tree->ExpandFolder(scratch.Path() + name, zenlo::Expand);
  ASSERT_EQ(host.Messages.size(), 1u);
  EXPECT_EQ(host.Messages[0],
            L"The selected folder (folder path and name shown below) could not be accessed."
            L"\r\n\r\nSelected folder: " + scratch.Path() + name);
  EXPECT_EQ(tree->ItemCount(), 3);
  tree->Release();
  DestroyWindow(window);
}

}  // namespace

namespace {

// Folders the file system cannot list (made natively: a link to itself, a link to nothing):
// the user reads a sentence, never a bare error number.
TEST(UnreadableFolders, TheMessageGivesAReasonInWords) {
  const wchar_t* data = _wgetenv(L"ZENLO_HOST_DATA");
  if (!data || !*data) GTEST_SKIP() << "make-odd-names has not run";
  HWND window = hostkit::MakeHostWindow();
  Host host;
  ZenloFileControl* list = hostkit::SetUpControl(window, host, zenlo::fbFileAndFolder);
  ASSERT_NE(list, nullptr);
  for (const wchar_t* name : {L"loop", L"dangling"}) {
    const std::wstring folder = std::wstring(data) + L"\\unreadable\\" + name + L"\\";
    SCOPED_TRACE(testing::Message() << "[" << folder << "]");
    host.Messages.clear();
    EXPECT_FALSE(list->GetFolderContents(folder, true));
    ASSERT_EQ(host.Messages.size(), 1u);
    const std::wstring head = L"The folder could not be read.\r\n\r\nFolder: " + folder + L"\r\n\r\n";
    ASSERT_EQ(host.Messages[0].substr(0, head.size()), head);
    const std::wstring reason = host.Messages[0].substr(head.size());
    EXPECT_GT(reason.size(), 10u);
    EXPECT_EQ(reason.rfind(L"Error ", 0), std::wstring::npos);
  }
  list->Release();
  DestroyWindow(window);
}

}  // namespace
