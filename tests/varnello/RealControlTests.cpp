// The main window with real lists from Zenlo.dll on a temporary folder tree.
#include <gtest/gtest.h>

#include <algorithm>

#include "MasterFixture.h"
#include "mainwindow/ZenloPaneList.h"

namespace {

TEST(RealLists, PaneZeroListsTheFolderItsTreeShows) {
  varnello::ZenloPaneListFactory factory(vtest::ExeFolder());
  ASSERT_TRUE(factory.Loaded());
  vtest::TempDir program;
  // At the top of drive C, so the drive's tree shows it without expanding anything.
  vtest::TempDir tree(L"C:\\");
  CreateDirectoryW(tree.File(L"alpha").c_str(), nullptr);
  CreateDirectoryW(tree.File(L"beta").c_str(), nullptr);
  tree.Write(L"one.txt", "1");
  tree.Write(L"two.dat", "22");
  vtest::Reporter reporter;
  varnello::Master master(vtest::WithShippedSkins(program.Path()), factory);
  master.Form_Load(reporter);
  ASSERT_TRUE(reporter.Loaded);
  ASSERT_TRUE(master.Panes[0].Loaded);
  ASSERT_TRUE(master.Panes[1].Loaded);
  EXPECT_EQ(master.TitleBarText(0), L"C:\\");
  EXPECT_EQ(master.List(100)->currentFolder(), L"C:\\");

  // Point pane 0's tree at the temporary folder as its active folder on drive C.
  master.List(0)->StoreActiveFolder(L"C", tree.Path());
  master.LoadFolders(0);
  EXPECT_EQ(master.TitleBarText(0), tree.Path() + L"\\");
  std::vector<std::wstring> items = master.List(100)->ShownItems();
  std::sort(items.begin(), items.end());
  EXPECT_EQ(items, (std::vector<std::wstring>{tree.File(L"alpha"), tree.File(L"beta"),
                                              tree.File(L"one.txt"), tree.File(L"two.dat")}));
  EXPECT_EQ(master.List(100)->currentFolder(), tree.Path() + L"\\");
  // Pane 1 still lists drive C.
  EXPECT_EQ(master.List(101)->currentFolder(), L"C:\\");

  master.RequestClose();
  EXPECT_TRUE(master.Unloaded());
  EXPECT_FALSE(program.Exists(L"run.txt"));
}

}  // namespace
