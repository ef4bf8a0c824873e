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

namespace {

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

TEST(RealLists, FivePanesResizedStandWhereTheArrangementSaysAndPaintAgain) {
  // The resize moves the lists that stay shown instead of hiding them, and holds their
  // painting meanwhile: afterwards each must stand where the arrangement says, be visible
  // exactly when it fits, and have the parts inside it on screen.
  varnello::ZenloPaneListFactory factory(vtest::ExeFolder());
  ASSERT_TRUE(factory.Loaded());
  vtest::TempDir program;
  vtest::Reporter reporter;
  varnello::Master master(vtest::WithShippedSkins(program.Path()), factory);
  master.Form_Load(reporter);
  ASSERT_TRUE(reporter.Loaded);
  master.Show();
  Pump();
  // The first layout ran before the window showed: the shown lists already stand where the
  // arrangement says, and have painted.
  vtest::ExpectChildrenWhereArranged(master);
  for (short index : {0, 100, 1, 101}) {
    const HWND list = master.List(index)->Window();
    EXPECT_TRUE(IsWindowVisible(list)) << index;
    EXPECT_FALSE(GetUpdateRect(list, nullptr, FALSE)) << index;
  }
  for (short pane : {2, 3, 4}) master.ChangePanes(pane);
  ASSERT_EQ(master.Options.ShownPaneCount, 5);
  const struct {
    const wchar_t* layout;
    int width, height;
  } steps[] = {{L"vertical", 1260, 860}, {L"vertical", 1200, 820}, {L"horizontal", 1260, 900},
               {L"horizontal", 900, 640}, {L"vertical", 1000, 700}};
  for (const auto& step : steps) {
    SCOPED_TRACE(testing::Message() << step.layout << " " << step.width << "x" << step.height);
    master.SwitchLayout(step.layout);
    SetWindowPos(master.Handle(), nullptr, 0, 0, step.width, step.height,
                 SWP_NOMOVE | SWP_NOZORDER);
    Pump();
    vtest::ExpectChildrenWhereArranged(master);
    for (short i = 0; i < varnello::kPaneCount; ++i) {
      for (short index : {i, static_cast<short>(i + 100)}) {
        const HWND list = master.List(index)->Window();
        if (!IsWindowVisible(list)) continue;
        // Its own parts were laid out in the new height: none reaches below the list's edge
        // (across, the filter box may run past a narrow listing's edge, clipped by it).
        RECT outer{};
        GetClientRect(list, &outer);
        int shownParts = 0;
        for (HWND part = GetWindow(list, GW_CHILD); part; part = GetWindow(part, GW_HWNDNEXT)) {
          if (!IsWindowVisible(part)) continue;
          ++shownParts;
          const RECT r = tk::RectInParent(part);
          EXPECT_LE(r.bottom, outer.bottom + 1) << index << " " << vtest::Describe(r);
        }
        EXPECT_GT(shownParts, 3) << index;
        // Nothing is left waiting to be painted once the queue is empty.
        EXPECT_FALSE(GetUpdateRect(list, nullptr, FALSE)) << index;
      }
    }
  }
  master.RequestClose();
  EXPECT_TRUE(master.Unloaded());
}

}  // namespace
