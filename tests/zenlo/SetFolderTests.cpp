// Pointing a tree at a drive or place through its selector.
#include <gtest/gtest.h>

#include <algorithm>

#include "listing/view/ViewState.h"
#include "support/ControlFixture.h"
#include "support/TempFolder.h"
#include "toolkit/Text.h"
#include "zenlo/ZFCombo.h"

using namespace zenlo;
using testsupport::ControlHolder;
using testsupport::TempFolder;

namespace {

TEST(SetFolder, ABookmarkIsReadAndReportedWithDriveClick) {
  TempFolder dir;
  dir.Folder(L"Projects");
  dir.Folder(L"Letters");
  ControlHolder tree(fbFolder);
  tree.host.Bookmarks[0] = dir.Path();
  std::wstring key = L"0";
  tree->SetFolder(key);

  EXPECT_EQ(tree.host.Count(L"DriveClick"), 1);
  EXPECT_EQ(tree->CurrentDriveLetter(), L"0");
  ASSERT_EQ(tree->ItemCount(), 3);
  EXPECT_EQ(tree->ListItems()[0].FullPath, dir.Path());
  EXPECT_EQ(tree->ListRootLoad(L"0"), dir.Path());
  EXPECT_EQ(tree->Selector().Text().rfind(L"Bookmark 1    ", 0), 0u);
}

TEST(SetFolder, ADriveKeyReadsTheDrivesRoot) {
  ControlHolder tree(fbFolder);
  std::wstring key = L"c";
  tree->SetFolder(key);
  EXPECT_EQ(tree.host.Count(L"DriveClick"), 1);
  EXPECT_EQ(tree->CurrentDriveLetter(), L"C");
  ASSERT_GE(tree->ItemCount(), 1);
  EXPECT_TRUE(tk::SameText(tree->ListItems()[0].FullPath, L"C:\\"));
  EXPECT_FALSE(tree->RemoteDriveSelected);
}

TEST(SetFolder, ChoosingAnotherPlaceRemembersWhereTheFirstOneStood) {
  TempFolder a, b;
  a.Folder(L"x");
  b.Folder(L"y");
  ControlHolder tree(fbFolder);
  tree.host.Bookmarks[0] = a.Path();
  tree.host.Bookmarks[1] = b.Path();
  std::wstring first = L"0", second = L"1";
  tree->SetFolder(first);
  tree->View().TopItem = 1;
  tree->SetFolder(second);
  EXPECT_EQ(tree->ListItems()[0].FullPath, b.Path());
  std::int32_t position = -1;
  EXPECT_TRUE(tree->ListPositionLoad(L"0", position));
  EXPECT_EQ(position, 1);
  EXPECT_EQ(tree.host.Count(L"DriveClick"), 2);
}

TEST(SetFolder, ThePlacesRememberedFolderIsActiveWhateverWasActiveBefore) {
  TempFolder a, b;
  for (const wchar_t* name : {L"a1", L"a2", L"a3", L"a4", L"a5"}) a.Folder(name);
  for (const wchar_t* name : {L"z", L"q", L"s", L"m", L"b"}) b.Folder(name);
  // Whichever row was active in the first place, the second place shows its own folder.
  for (std::int32_t before = 1; before <= 5; ++before) {
    SCOPED_TRACE(before);
    ControlHolder tree(fbFolder);
    tree.host.Bookmarks[0] = a.Path();
    tree.host.Bookmarks[1] = b.Path();
    tree->StoreActiveFolder(L"1", b.Path() + L"s");
    std::wstring first = L"0";
    tree->SetFolder(first);
    tree->SetActiveItemNum(before);
    std::wstring second = L"1";
    tree->SetFolder(second);
    EXPECT_TRUE(tk::SameText(tree->ActiveString(), b.Path() + L"s")) << tree->ActiveString();
    ASSERT_GE(tree->ActiveItem(), 0);
    EXPECT_EQ(tree->ListItems()[static_cast<std::size_t>(tree->ActiveItem())].FullPath,
              b.Path() + L"s");
    EXPECT_EQ(tree.host.Count(L"DriveClick"), 2);
  }
}

TEST(RefreshList, ReadsTheListingAgainWithoutWhatVanished) {
  TempFolder dir;
  dir.File(L"keep.txt");
  const std::wstring gone = dir.File(L"gone.txt");
  ControlHolder listing;
  ASSERT_TRUE(listing->GetFolderContents(dir.Path(), true));
  ASSERT_EQ(listing->ItemCount(), 2);
  ASSERT_TRUE(DeleteFileW(gone.c_str()));
  dir.File(L"new.txt");
  listing->RefreshList();
  std::vector<std::wstring> names;
  for (std::int32_t i = 0; i < listing->ItemCount(); ++i)
    names.push_back(listing->ListItems()[static_cast<std::size_t>(i)].Name);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::wstring>{L"keep.txt", L"new.txt"}));
}

TEST(RefreshList, TreeWithoutAPlaceDoesNothing) {
  TempFolder dir;
  dir.Folder(L"a");
  ControlHolder tree(fbFolder);
  ASSERT_TRUE(tree->GetFolderContents(dir.Path(), true));
  tree->RefreshList();
  EXPECT_EQ(tree->ItemCount(), 2);
  EXPECT_TRUE(tree.host.Messages().empty());  // never "No Folder Specified."
}

TEST(SetFolder, AFreeBookmarkFallsBackToTheFirstDrive) {
  ControlHolder tree(fbFolder);
  std::wstring key = L"4";  // slot 5 is "(empty)": the selector does not even list it
  tree->SetFolder(key);
  EXPECT_EQ(key, L"C");  // the caller learns which place was taken instead
  EXPECT_EQ(tree->CurrentDriveLetter(), L"C");
  EXPECT_TRUE(tree.host.Messages().empty());
}

}  // namespace
