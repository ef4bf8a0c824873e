// Opening and closing tree folders.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "listing/model/ReadSeams.h"
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

TEST(ExpandFolder, ItemOfANameIsFoundWithOrWithoutItsTrailingBackslash) {
  Tree t;
  ASSERT_TRUE(t.tree->GetFolderContents(t.dir.Path(), true));
  const std::wstring root = t.dir.Path();
  const struct {
    std::wstring name;
    std::int32_t item;
  } cases[] = {
      {L"c:\\", 0},  // a drive is its tree's root
      {L"C:", 0},
      {L"d:\\", 0},
      {root, 0},  // a root that is no drive, as stored with its "\"
      {root.substr(0, root.size() - 1), 0},
      {root + L"alpha\\", 1},
      {root + L"BETA", 2},
      {root + L"Nowhere", -999},
  };
  for (const auto& k : cases) {
    std::wstring name = k.name;
    EXPECT_EQ(t.tree->GetItemNumFromName(name), k.item) << k.name.size();
  }
}

TEST(ExpandFolder, EscDuringANestedReadKeepsTheFolderRemembered) {
  Tree t;
  for (int i = 0; i < 5; ++i) t.dir.Folder(L"Alpha\\Two\\leaf" + std::to_wstring(i));
  // On a remote drive a nested read that places nothing marks its folder empty: being cut
  // short by Esc is no such finding.
  t.tree->RemoteDriveSelected = true;
  t.tree->AddToExpandedFolderString(t.dir.Path() + L"Alpha");
  t.tree->AddToExpandedFolderString(t.dir.Path() + L"Alpha\\Two");
  struct ResetSeam {
    ~ResetSeam() { TestReadSeams().OnEntry = nullptr; }
  } reset;
  TestReadSeams().OnEntry = [&](const std::wstring& name) {
    if (name == L"Two") t.tree->IsCancelled = true;  // Esc just before Two is read
  };
  ASSERT_TRUE(t.tree->GetFolderContents(t.dir.Path(), true));
  TestReadSeams().OnEntry = nullptr;
  const TypeListItem* two = nullptr;
  for (std::int32_t i = 0; i < t.tree->ItemCount(); ++i)
    if (t.tree->ListItems()[static_cast<std::size_t>(i)].Name == L"Two")
      two = &t.tree->ListItems()[static_cast<std::size_t>(i)];
  ASSERT_NE(two, nullptr);
  EXPECT_EQ(two->FolderStatus, sExpanded);
  ASSERT_EQ(t.tree->ExpandedCount, 1);
  EXPECT_EQ(t.tree->GetExpandedFolderString(0), t.dir.Path() + L"Alpha");
  EXPECT_EQ(t.tree->GetExpandedFolderString(1), t.dir.Path() + L"Alpha\\Two");

  // Read again in full, the children are there; a folder really found empty is still dropped.
  t.dir.Folder(L"Beta\\gone");
  t.tree->AddToExpandedFolderString(t.dir.Path() + L"Beta");
  testsupport::RemoveTree(t.dir.Path() + L"Beta\\gone");
  ASSERT_TRUE(t.tree->GetFolderContents(t.dir.Path(), true));
  EXPECT_EQ(t.tree->ItemCount(), 1 + 2 + 2 + 5);
  EXPECT_EQ(t.tree->GetExpandedFolderString(1), t.dir.Path() + L"Alpha\\Two");
  EXPECT_EQ(t.tree->GetExpandedFolderString(2), L"");
}

TEST(ExpandFolder, SubFolderProbesAreKeptUntilTheFolderChanges) {
  Tree t;
  std::vector<std::wstring> probed;
  struct ResetSeam {
    ~ResetSeam() { TestReadSeams().OnProbe = nullptr; }
  } reset;
  TestReadSeams().OnProbe = [&](const std::wstring& path) {
    probed.push_back(path.substr(t.dir.Path().size()));
  };
  auto status = [&](const wchar_t* row) {
    const auto rows = t.Rows();
    const auto at = std::find(rows.begin(), rows.end(), row);
    return at == rows.end() ? -1 : t.tree->ListItems()[static_cast<std::size_t>(at - rows.begin())].FolderStatus;
  };
  ASSERT_TRUE(t.tree->GetFolderContents(t.dir.Path(), true));
  EXPECT_EQ(probed, (std::vector<std::wstring>{L"Alpha", L"Beta"}));
  EXPECT_EQ(status(L"Beta"), sNoSubFolders);

  // Opening Alpha re-reads the tree: only the folders not seen before are searched.
  probed.clear();
  t.tree->ExpandFolder(t.dir.Path() + L"Alpha", Expand);
  std::sort(probed.begin(), probed.end());
  EXPECT_EQ(probed, (std::vector<std::wstring>{L"Alpha\\One", L"Alpha\\Two"}));

  // A sub-folder made in Beta changes Beta: its answer is asked again, and Beta opens.
  Sleep(20);
  t.dir.Folder(L"Beta\\New");
  probed.clear();
  ASSERT_TRUE(t.tree->GetFolderContents(t.dir.Path(), true));
  EXPECT_EQ(probed, (std::vector<std::wstring>{L"Beta"}));
  EXPECT_EQ(status(L"Beta"), sNotExpanded);

  // What the tree may show is part of the answer.
  probed.clear();
  t.tree->ShowHiddenItems = true;
  ASSERT_TRUE(t.tree->GetFolderContents(t.dir.Path(), true));
  EXPECT_EQ(probed.size(), 4u);
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
