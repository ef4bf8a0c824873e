// Opening and closing tree folders.
#include <gtest/gtest.h>

#include "support/ControlFixture.h"
#include "support/TempFolder.h"
#include "toolkit/Text.h"

using namespace zenlo;
using testsupport::ControlHolder;
using testsupport::TempFolder;

namespace {

struct Tree {
  TempFolder dir;
  ControlHolder tree{fbFolder};
  Tree() {
    dir.Folder(L"Alpha\\One\\Deep");
    dir.Folder(L"Alpha\\Two");
    dir.Folder(L"Beta");
    // The tree shows bookmark 1, so a re-read comes back to the temporary folder.
    tree.host.Bookmarks[0] = dir.Path();
    tree->SetCurrentDrive(L"0");
  }
  std::vector<std::wstring> Rows() const {
    std::vector<std::wstring> rows;
    for (std::int32_t i = 0; i < tree->ItemCount(); ++i)
      rows.push_back(tree->ListItems()[static_cast<std::size_t>(i)].FullPath.substr(dir.Path().size()));
    return rows;
  }
};

TEST(ExpandFolder, OpensAndClosesKeepingTheFoldersBelowOpen) {
  Tree t;
  // The tree of a drive "T:" re-reads its stored root; point it at the temporary folder.
  ASSERT_TRUE(t.tree->GetFolderContents(t.dir.Path(), true));
  ASSERT_EQ(t.Rows(), (std::vector<std::wstring>{L"", L"Alpha", L"Beta"}));

  t.tree->ExpandFolder(t.dir.Path() + L"alpha", Expand);  // any case finds the item
  EXPECT_EQ(t.Rows(), (std::vector<std::wstring>{L"", L"Alpha", L"Alpha\\One", L"Alpha\\Two", L"Beta"}));

  t.tree->ExpandFolder(t.dir.Path() + L"Alpha\\One", Expand);
  t.tree->ExpandFolder(t.dir.Path() + L"Alpha\\One", Expand);  // already open: nothing added
  ASSERT_EQ(t.tree->ExpandedFolders().size(), 2u);

  EXPECT_EQ(t.Rows(), (std::vector<std::wstring>{L"", L"Alpha", L"Alpha\\One", L"Alpha\\One\\Deep",
                                                 L"Alpha\\Two", L"Beta"}));

  t.tree->ExpandFolder(t.dir.Path() + L"Alpha", Collapse);
  EXPECT_EQ(t.Rows(), (std::vector<std::wstring>{L"", L"Alpha", L"Beta"}));
  ASSERT_EQ(t.tree->ExpandedFolders().size(), 1u);
  EXPECT_TRUE(tk::SameText(t.tree->ExpandedFolders()[0].Path, t.dir.Path() + L"Alpha\\One"));

  t.tree->CollapseAllFolders();
  EXPECT_TRUE(t.tree->ExpandedFolders().empty());
}

TEST(ExpandFolder, RefusesWhatCannotBeOpened) {
  Tree t;
  ASSERT_TRUE(t.tree->GetFolderContents(t.dir.Path(), true));
  std::int32_t item = 0;
  std::wstring missing = t.dir.Path() + L"Nowhere";
  ExpandType toggle = static_cast<ExpandType>(0);
  t.tree->ExpandFolder(item, missing, toggle);
  EXPECT_EQ(item, -999);
  EXPECT_TRUE(t.tree->ExpandedFolders().empty());

  // A folder that vanished after the read is refused with the access message.
  testsupport::RemoveTree(t.dir.Path() + L"Alpha");
  t.tree->ExpandFolder(t.dir.Path() + L"Alpha", Expand);
  EXPECT_TRUE(t.tree->ExpandedFolders().empty());
  ASSERT_EQ(t.tree.host.Messages().size(), 1u);
  EXPECT_EQ(t.tree.host.Messages()[0].rfind(
                L"The selected folder (folder path and name shown below) could not be accessed."
                L"\r\n\r\nSelected folder: ",
                0),
            0u);
  EXPECT_FALSE(t.tree->ExpandingFolder());
}

TEST(ExpandFolder, RemovingADrivesFoldersKeepsTheOthers) {
  ControlHolder tree(fbFolder);
  for (const wchar_t* p : {L"C:\\A", L"D:\\B", L"c:\\C", L"E:\\D"}) tree->AddToExpandedFolderString(p);
  tree->AddToExpandedFolderString(L"C:\\a");  // the same folder in other letters adds nothing
  EXPECT_EQ(tree->ExpandedCount, 3);
  tree->ExpandFolderRemove(L"c");
  ASSERT_EQ(tree->ExpandedFolders().size(), 2u);
  EXPECT_EQ(tree->ExpandedFolders()[0].Path, L"D:\\B");
  EXPECT_EQ(tree->ExpandedFolders()[1].Path, L"E:\\D");
  EXPECT_EQ(tree->ExpandedCount, 3);  // removing leaves the count as it was
}

}  // namespace
