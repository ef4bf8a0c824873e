// Closing the main window: the running marker goes, every loaded pair is stopped, and a close
// that arrives while something is on the stack waits for it.
#include <gtest/gtest.h>

#include "MasterFixture.h"
#include "toolkit/EventLoop.h"

namespace {

using vtest::MasterTest;

TEST_F(MasterTest, ShutdownRemovesTheMarkerAndStopsEveryLoadedPair) {
  StartUp();
  ASSERT_TRUE(dir.Exists(L"run.txt"));
  bool unloadedSignal = false;
  master->OnUnloaded = [&] { unloadedSignal = true; };
  std::vector<std::wstring> stops;
  PostMessageW(master->Handle(), WM_CLOSE, 0, 0);
  // The lists go with the window: read what they were told just before.
  std::vector<short> loaded;
  for (const auto& [index, list] : lists.Lists) loaded.push_back(index);
  EXPECT_EQ(loaded, (std::vector<short>{0, 1, 100, 101}));  // panes 2 to 4 were never opened
  ASSERT_TRUE(tk::PumpUntil([&] { return master->Unloaded(); }, 5000));
  for (const auto& c : lists.Log.Calls)
    if (c.find(L"StopOD") != std::wstring::npos) stops.push_back(c);
  EXPECT_EQ(stops, (std::vector<std::wstring>{L"0:StopOD", L"100:StopOD", L"1:StopOD",
                                              L"101:StopOD"}));
  EXPECT_FALSE(dir.Exists(L"run.txt"));
  EXPECT_TRUE(unloadedSignal);
  EXPECT_EQ(master->List(0), nullptr);
}

TEST_F(MasterTest, AQuitDuringAReadWaitsForTheReadToUnwind) {
  StartUp();
  bool unloadedInsideRead = true;
  lists[100].OnGetFolderContents = [&](const std::wstring&) {
    master->List_ForceQuit(100);  // the read kept restarting
    tk::PumpPendingMessages();
    unloadedInsideRead = master->Unloaded();
  };
  master->Panes[0].CurrentFolder = L"C:\\busy\\";
  master->UpdateChildPane(0);
  EXPECT_FALSE(unloadedInsideRead);
  EXPECT_TRUE(lists.Log.Has(L"100:IsCancelled=1"));  // the running read is told to stop
  // The listing survived the read's return and took its folder.
  EXPECT_EQ(lists[100].Current, L"C:\\busy\\");
  ASSERT_TRUE(tk::PumpUntil([&] { return master->Unloaded(); }, 5000));
  EXPECT_FALSE(dir.Exists(L"run.txt"));
}

TEST_F(MasterTest, ACloseWhileAMessageBoxIsOpenWaitsForTheBox) {
  StartUp();
  bool unloadedWhileOpen = true;
  vtest::BoxAnswers boxes({[&](varnello::MessageBoxForm& box) {
    master->RequestClose();
    tk::PumpPendingMessages();
    unloadedWhileOpen = master->Unloaded();
    box.Press(1);
  }});
  std::wstring text = L"Something happened.";
  master->Message(text, 0, L"");
  EXPECT_FALSE(unloadedWhileOpen);
  EXPECT_EQ(master->MsgBoxAnswer, L"OK");
  ASSERT_TRUE(tk::PumpUntil([&] { return master->Unloaded(); }, 5000));
  EXPECT_FALSE(dir.Exists(L"run.txt"));
}

}  // namespace
