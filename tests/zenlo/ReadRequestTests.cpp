// What happens to a read when something arrives during its yields: a second request, Esc,
// failing passes, the host letting go of the control.
#include <gtest/gtest.h>

#include <algorithm>

#include "listing/model/ReadSeams.h"
#include "listing/model/SoundPlayer.h"
#include "support/ControlFixture.h"
#include "support/TempFolder.h"
#include "toolkit/Error.h"
#include "toolkit/EventLoop.h"

using namespace zenlo;
using testsupport::ControlHolder;
using testsupport::TempFolder;

namespace {

// Removes the yield hook and the entry fault whatever the test did.
struct SeamReset {
  ~SeamReset() {
    tk::SetYieldHook({});
    TestReadSeams().OnEntry = nullptr;
  }
};

std::vector<std::wstring> SortedPaths(const ZenloFileControl& c) {
  std::vector<std::wstring> paths;
  for (std::int32_t i = 0; i < c.ItemCount(); ++i)
    paths.push_back(c.ListItems()[static_cast<std::size_t>(i)].FullPath);
  std::sort(paths.begin(), paths.end());
  return paths;
}

void Fill(TempFolder& dir, const std::wstring& prefix, int files) {
  for (int i = 0; i < files; ++i) dir.File(prefix + std::to_wstring(i) + L".txt");
}

TEST(ReadRequests, SecondRequestDuringAListingReadShowsOnlyTheSecondFolder) {
  SeamReset reset;
  TempFolder first, second;
  Fill(first, L"first", 50);
  Fill(second, L"second", 7);
  ControlHolder c;
  bool secondAccepted = true;
  tk::SetYieldHook([&](unsigned long n) {
    if (n == 10) secondAccepted = c->GetFolderContents(second.Path(), true);
  });
  EXPECT_TRUE(c->GetFolderContents(first.Path(), true));
  EXPECT_FALSE(secondAccepted);  // recorded, not run
  ASSERT_EQ(c->ItemCount(), 7);
  for (const auto& path : SortedPaths(*c)) EXPECT_EQ(path.rfind(second.Path(), 0), 0u);
  EXPECT_EQ(c->currentFolder(), second.Path());
  EXPECT_FALSE(c->ReadBusy());
}

TEST(ReadRequests, RequestDuringATreeReadEndsOnTheRequestedRoot) {
  SeamReset reset;
  TempFolder first, second;
  for (int i = 0; i < 20; ++i) first.Folder(L"f" + std::to_wstring(i));
  second.Folder(L"only");
  ControlHolder tree(fbFolder);
  tk::SetYieldHook([&](unsigned long n) {
    if (n == 5) tree->GetFolderContents(second.Path(), true);
  });
  EXPECT_TRUE(tree->GetFolderContents(first.Path(), true));
  EXPECT_EQ(SortedPaths(*tree), (std::vector<std::wstring>{second.Path(), second.Path() + L"only"}));
}

TEST(ReadRequests, RequestInsideANestedReadRestartsTheWholeTree) {
  SeamReset reset;
  TempFolder dir;
  for (int i = 0; i < 6; ++i) dir.Folder(L"open\\sub" + std::to_wstring(i));
  ControlHolder tree(fbFolder);
  tree->AddToExpandedFolderString(dir.Path() + L"open");
  // The root holds only "open", so the first yields come from its nested read.
  tk::SetYieldHook([&](unsigned long n) {
    if (n == 4) tree->GetFolderContents(dir.Path(), true);
  });
  EXPECT_TRUE(tree->GetFolderContents(dir.Path(), true));
  ASSERT_EQ(tree->ItemCount(), 8);  // root, "open" and all six sub-folders
  EXPECT_EQ(tree->ListItems()[1].FolderStatus, sExpanded);
}

TEST(ReadRequests, EscKeepsWhatWasReadSortedAndCounted) {
  SeamReset reset;
  TempFolder dir;
  Fill(dir, L"file", 600);
  for (int i = 0; i < 5; ++i) dir.Folder(L"folder" + std::to_wstring(i));
  ControlHolder c;
  tk::SetYieldHook([&](unsigned long n) {
    if (n == 300) c->IsCancelled = true;
  });
  EXPECT_TRUE(c->GetFolderContents(dir.Path(), true));
  EXPECT_GT(c->ItemCount(), 250);
  EXPECT_LT(c->ItemCount(), 300);  // "." and ".." yield too; nothing after Esc
  EXPECT_FALSE(c->IsCancelled);
  EXPECT_EQ(c->FoldersShown() + c->FilesShown(), c->ItemCount());
  // Whatever folders were read come ahead of the files.
  for (std::int32_t i = 0; i < c->ItemCount(); ++i)
    EXPECT_EQ(c->ListItems()[static_cast<std::size_t>(i)].ItemType,
              i < c->FoldersShown() ? sFolder : sFile)
        << i;
}

TEST(ReadRequests, FiveFailingPassesRaiseOneMessageThenForceQuitAndKeepTheOldItems) {
  SeamReset reset;
  TempFolder old, changing;
  Fill(old, L"old", 3);
  Fill(changing, L"x", 3);
  ControlHolder c;
  ASSERT_TRUE(c->GetFolderContents(old.Path(), true));
  const auto before = SortedPaths(*c);

  int faults = 0;
  TestReadSeams().OnEntry = [&](const std::wstring&) {
    ++faults;
    throw tk::RuntimeError(70, L"Permission denied");
  };
  EXPECT_FALSE(c->GetFolderContents(changing.Path(), true));
  EXPECT_EQ(faults, 5);
  ASSERT_EQ(c.host.Events.size(), 2u);
  EXPECT_EQ(c.host.Events[0].Name, L"Message");
  EXPECT_EQ(c.host.Events[0].Text.rfind(
                L"The folder contents keep changing while Varnello is trying to build a list of "
                L"the items.\r\n\r\nIt is possible that some background operation",
                0),
            0u);
  EXPECT_NE(c.host.Events[0].Text.find(L"\r\n\r\nPlease restart Varnello in a few minutes."),
            std::wstring::npos);
  EXPECT_EQ(c.host.Events[1].Name, L"ForceQuit");
  EXPECT_EQ(SortedPaths(*c), before);
  EXPECT_FALSE(c->ReadBusy());
}

TEST(ReadRequests, FewerThanFiveFailingPassesEndInAWholeListing) {
  SeamReset reset;
  TempFolder dir;
  Fill(dir, L"f", 4);
  ControlHolder c;
  int faults = 0;
  TestReadSeams().OnEntry = [&](const std::wstring&) {
    if (faults < 4) {
      ++faults;
      throw tk::RuntimeError(70, L"Permission denied");
    }
  };
  EXPECT_TRUE(c->GetFolderContents(dir.Path(), true));
  EXPECT_EQ(c->ItemCount(), 4);
  EXPECT_TRUE(c.host.Events.empty());
}

TEST(ReadRequests, FailingNestedReadRollsBackBeforeItsNextPass) {
  SeamReset reset;
  TempFolder dir;
  for (int i = 0; i < 3; ++i) dir.Folder(L"open\\sub" + std::to_wstring(i));
  ControlHolder tree(fbFolder);
  tree->AddToExpandedFolderString(dir.Path() + L"open");
  int faults = 0;
  TestReadSeams().OnEntry = [&](const std::wstring& name) {
    if (name == L"sub1" && faults < 2) {
      ++faults;
      throw tk::RuntimeError(70, L"Permission denied");
    }
  };
  EXPECT_TRUE(tree->GetFolderContents(dir.Path(), true));
  EXPECT_EQ(faults, 2);
  // No duplicates of what the failed passes had placed.
  EXPECT_EQ(tree->ItemCount(), 5);
}

TEST(ReadRequests, RequestMadeByAClickHandlerAfterTheLastYieldIsServed) {
  SeamReset reset;
  TempFolder first, second;
  first.Folder(L"a");
  second.Folder(L"b");
  ControlHolder tree(fbFolder);
  tree->SetCurrentDrive(L"T");
  bool asked = false;
  // The tree raises Click when it makes its root active at the end of the read.
  tree.host.OnClick = [&] {
    if (!asked) {
      asked = true;
      tree->GetFolderContents(second.Path(), true);
    }
  };
  EXPECT_TRUE(tree->GetFolderContents(first.Path(), true));
  EXPECT_TRUE(asked);
  EXPECT_EQ(SortedPaths(*tree), (std::vector<std::wstring>{second.Path(), second.Path() + L"b"}));
  EXPECT_FALSE(tree->ReadBusy());

  // No stale request is left over to restart the next read.
  TempFolder third;
  third.Folder(L"c");
  EXPECT_TRUE(tree->GetFolderContents(third.Path(), true));
  EXPECT_EQ(SortedPaths(*tree), (std::vector<std::wstring>{third.Path(), third.Path() + L"c"}));
}

TEST(ReadRequests, HostLettingGoDuringAYieldEndsTheReadWithoutResumingIt) {
  SeamReset reset;
  TempFolder dir;
  Fill(dir, L"f", 100);
  ControlHolder c;
  // A seam the control holds: its use count tells whether the control still exists.
  struct SilentPlayer : SoundPlayer {
    unsigned DeviceCount() override { return 0; }
    void Beep() override {}
    void PlayFile(const std::wstring&) override {}
    void PlayMemory(const void*) override {}
  };
  auto probe = std::make_shared<SilentPlayer>();
  c->SetSoundPlayer(probe);
  unsigned long lastYield = 0;
  tk::SetYieldHook([&](unsigned long n) {
    lastYield = n;
    if (n == 10) c.Reset();  // the host closes while the read is suspended
  });
  ZenloFileControl* raw = c.Get();
  EXPECT_FALSE(raw->GetFolderContents(dir.Path(), true));
  EXPECT_EQ(lastYield, 10u);  // nothing was read after the yield that closed it
  EXPECT_EQ(probe.use_count(), 1);  // and the control went away once the read unwound
  EXPECT_TRUE(c.host.Events.empty());
}

}  // namespace
