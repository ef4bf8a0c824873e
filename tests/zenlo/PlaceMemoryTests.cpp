#include <gtest/gtest.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "support/ControlFixture.h"
#include "support/TempFolder.h"
#include "toolkit/MessageBox.h"
#include "toolkit/Text.h"
#include "zenlo/ZenloFileControl.h"

namespace {

using testsupport::ControlHolder;
using testsupport::TempFolder;
using zenlo::ZenloFileControl;

struct Places : ::testing::Test {
  Places() : c(zenlo::fbFolder) {}

  // Every slot 0..200 as the host sees it through GetActiveFolderInfo.
  std::vector<std::pair<std::wstring, std::wstring>> Table() const {
    std::vector<std::pair<std::wstring, std::wstring>> slots;
    for (int i = 0; i <= 200; ++i) {
      std::wstring key, folder;
      c->GetActiveFolderInfo(i, key, folder);
      slots.emplace_back(key, folder);
    }
    return slots;
  }
  int SlotsWithKey(const std::wstring& key) const {
    int n = 0;
    for (const auto& [k, f] : Table()) n += _wcsicmp(k.c_str(), key.c_str()) == 0;
    return n;
  }

  testsupport::ControlHolder c;
  testsupport::FakeHost& host = c.host;
};

// ---- Keys and roots ----

TEST_F(Places, DriveLetterOfSelectorEntries) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"Bookmark 10", L"9"},
      {L"Bookmark 1", L"0"},
      {L"bookmark 5", L"4"},
      {L"My Network Places", L"*"},
      {L"My Documents", L"?"},
      {L"MY DOCUMENTS", L"?"},
      {L"c:  Local Disk", L"C"},
      {L"d", L"D"},
      {L"Bookmark 11", L"BOOKMARK 11"},  // not a bookmark slot: the text itself
  };
  for (const auto& [keyword, key] : cases) EXPECT_EQ(c->GetDriveLetter(keyword), key) << keyword;
}

struct RootCase {
  const wchar_t* Selection;
  const wchar_t* Key;
  const wchar_t* Root;
};

TEST_F(Places, RootOfASelectorEntryIsStoredUnderItsKey) {
  const RootCase cases[] = {
      {L"My Documents  C:\\some\\path", L"?", L"C:\\some\\path\\"},
      {L"My Network Places", L"*", L"*:\\"},
      {L"c:  Local Disk", L"C", L"C:\\"},
      {L"Bookmark 3  D:\\work\\", L"2", L"D:\\work\\"},
      {L"Bookmark 10  E:\\x y", L"9", L"E:\\x y\\"},
  };
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.Selection);
    std::wstring key;
    EXPECT_EQ(c->ListRootSave(tc.Selection, key), tc.Root);
    EXPECT_EQ(key, tc.Key);
    EXPECT_EQ(c->ListRootLoad(tc.Key), tc.Root) << "stored, not computed again";
  }
  EXPECT_EQ(c->GetActiveFolderCount(), 5);
  EXPECT_EQ(host.Count(L"GetBookmark"), 0) << "the selection carries the bookmark's path";
}

TEST_F(Places, BookmarkRootComesFromTheHostOnce) {
  host.Bookmarks[4] = L"C:\\marked";
  host.Bookmarks[7] = L"C:\\with slash\\";
  EXPECT_EQ(c->ListRootLoad(L"4"), L"C:\\marked\\");
  EXPECT_EQ(c->ListRootLoad(L"7"), L"C:\\with slash\\");
  ASSERT_EQ(host.Count(L"GetBookmark"), 2);
  EXPECT_EQ(host.Events[0].Text, L"4");
  EXPECT_EQ(host.Events[1].Text, L"7");

  host.Bookmarks[4] = L"C:\\changed";
  EXPECT_EQ(c->ListRootLoad(L"4"), L"C:\\marked\\") << "the stored root";
  EXPECT_EQ(host.Count(L"GetBookmark"), 2);
  std::wstring key = L"7";
  EXPECT_EQ(c->GetActiveFolder(key), L"C:\\with slash\\")
      << "with no active folder the place's root is the one to make active";
}

TEST_F(Places, FreeBookmarkIsNoRootAndStoresNothing) {
  EXPECT_EQ(c->ListRootLoad(L"3"), L"");
  EXPECT_EQ(host.Count(L"GetBookmark"), 1);
  std::wstring key;
  EXPECT_EQ(c->ListRootSave(L"Bookmark 6  (empty)", key), L"");
  EXPECT_EQ(c->GetActiveFolderCount(), 0);

  // A tree on that place has nothing to read, and says nothing about it.
  c->ltFolderListType = zenlo::fbFolder;
  c->SetCurrentDrive(L"3");
  c->RefreshList();
  EXPECT_EQ(c->ItemCount(), 0);
  EXPECT_TRUE(host.Messages().empty());
}

TEST_F(Places, TreeWithoutAPlaceDoesNotRefresh) {
  c->ltFolderListType = zenlo::fbFolder;
  c->RefreshList();
  EXPECT_EQ(c->ItemCount(), 0);
  EXPECT_TRUE(host.Events.empty());
}

TEST_F(Places, MyDocumentsRootIsThePersonalFolder) {
  wchar_t personal[MAX_PATH] = {};
  ASSERT_TRUE(SUCCEEDED(
      SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, personal)));
  std::wstring key = L"?";
  EXPECT_EQ(c->ListRootSave(L"", key), std::wstring(personal) + L"\\");
  EXPECT_EQ(c->ListRootLoad(L"?"), std::wstring(personal) + L"\\");
}

TEST_F(Places, BothInputsEmptyAsksForInput) {
  std::vector<std::wstring> boxes;
  tk::SetMessageBoxSeam([&](const tk::MessageBoxRequest& r) {
    boxes.push_back(r.Text);
    return IDOK;
  });
  std::wstring key;
  c->ListRootSave(L"", key);
  tk::SetMessageBoxSeam([](const tk::MessageBoxRequest&) {
    ADD_FAILURE() << "unexpected message box";
    return IDCANCEL;
  });
  EXPECT_EQ(boxes, std::vector<std::wstring>{L"Input required."});
  EXPECT_EQ(c->GetActiveFolderCount(), 0);
}

// ---- The slot table ----

TEST_F(Places, FreedSlotIsTakenByTheNextNewKeyAndKeysBehindItAreFound) {
  c->StoreActiveFolder(L"C", L"C:\\one");
  c->StoreActiveFolder(L"D", L"D:\\two");
  c->StoreActiveFolder(L"E", L"E:\\three");
  ASSERT_EQ(c->GetActiveFolderCount(), 3);
  c->ActiveFolderRemove(L"d");

  // The hole stays where it was; the count still reaches the last used slot.
  auto table = Table();
  EXPECT_EQ(table[1], std::make_pair(std::wstring(), std::wstring()));
  EXPECT_EQ(c->GetActiveFolderCount(), 3);

  // A host replaying its saved pairs: E lies behind the hole and must not be entered again.
  c->AddToActiveFolderInfo(L"E", L"E:\\replayed");
  EXPECT_EQ(SlotsWithKey(L"E"), 1);
  EXPECT_EQ(Table()[2].second, L"E:\\three") << "a known key is left as it is";
  EXPECT_EQ(Table()[1].first, L"");

  c->StoreActiveFolder(L"F", L"F:\\four");
  table = Table();
  EXPECT_EQ(table[1], std::make_pair(std::wstring(L"F"), std::wstring(L"F:\\four")));
  EXPECT_EQ(c->GetActiveFolderCount(), 3);

  c->ActiveFolderRemove(L"F");
  c->AddToActiveFolderInfo(L"G", L"G:\\five");
  EXPECT_EQ(Table()[1], std::make_pair(std::wstring(L"G"), std::wstring(L"G:\\five")));
  EXPECT_FALSE(c->ListPositionSave(L"g", 4)) << "G has a slot already";
}

TEST_F(Places, CountReachesPastHolesSoTheHostSeesEveryUsedSlot) {
  EXPECT_EQ(c->GetActiveFolderCount(), 0);
  for (const wchar_t* key : {L"A", L"B", L"C", L"D"}) c->StoreActiveFolder(key, L"x");
  c->ActiveFolderRemove(L"A");
  c->ActiveFolderRemove(L"C");
  ASSERT_EQ(c->GetActiveFolderCount(), 4);

  std::vector<std::wstring> seen;
  for (int i = 0; i < c->GetActiveFolderCount(); ++i) {
    std::wstring key, folder;
    c->GetActiveFolderInfo(i, key, folder);
    if (!folder.empty()) seen.push_back(key);
  }
  EXPECT_EQ(seen, (std::vector<std::wstring>{L"B", L"D"}));

  c->ActiveFolderRemove(L"D");
  EXPECT_EQ(c->GetActiveFolderCount(), 2);
}

TEST_F(Places, FullTableDropsNewKeysAndNeverReadsPastItsEnd) {
  for (int i = 0; i <= 200; ++i)
    c->StoreActiveFolder(L"K" + std::to_wstring(i), L"F" + std::to_wstring(i));
  ASSERT_EQ(c->GetActiveFolderCount(), 201);

  c->StoreActiveFolder(L"NEW", L"x");
  c->AddToActiveFolderInfo(L"NEW2", L"y");
  EXPECT_TRUE(c->ListPositionSave(L"NEW3", 9)) << "not there before";
  std::wstring key = L"NEW4";
  EXPECT_EQ(c->ListRootSave(L"", key), L"NEW4:\\");
  std::int32_t pos = -1;
  EXPECT_FALSE(c->ListPositionLoad(L"NEW3", pos));
  EXPECT_EQ(pos, 0);

  const auto table = Table();
  for (int i = 0; i <= 200; ++i) {
    EXPECT_EQ(table[static_cast<std::size_t>(i)].first, L"K" + std::to_wstring(i));
    EXPECT_EQ(table[static_cast<std::size_t>(i)].second, L"F" + std::to_wstring(i));
  }
  EXPECT_EQ(c->GetActiveFolderCount(), 201);

  // The last slot works like any other.
  EXPECT_FALSE(c->ListPositionSave(L"k200", 7));
  EXPECT_TRUE(c->ListPositionLoad(L"K200", pos));
  EXPECT_EQ(pos, 7);

  for (int outside : {201, 202, 1000, -1}) {
    std::wstring k = L"stale", f = L"stale";
    c->GetActiveFolderInfo(outside, k, f);
    EXPECT_EQ(k, L"") << outside;
    EXPECT_EQ(f, L"") << outside;
  }
}

TEST_F(Places, EmptyKeyNeverTakesOrMatchesAFreeSlot) {
  c->StoreActiveFolder(L"A", L"A:\\");
  c->StoreActiveFolder(L"B", L"B:\\");
  c->ActiveFolderRemove(L"A");  // slot 0 is free again

  c->StoreActiveFolder(L"", L"stray");
  c->AddToActiveFolderInfo(L"", L"stray");
  EXPECT_FALSE(c->ListPositionSave(L"", 5));
  EXPECT_FALSE(c->ListPositionSave(L":", 5)) << "nothing before the colon";
  std::int32_t pos = -1;
  EXPECT_FALSE(c->ListPositionLoad(L"", pos));
  EXPECT_EQ(pos, 0);
  EXPECT_EQ(c->ListRootLoad(L""), L"");
  c->ActiveFolderRemove(L"");

  const auto table = Table();
  EXPECT_EQ(table[0], std::make_pair(std::wstring(), std::wstring()));
  EXPECT_EQ(table[1], std::make_pair(std::wstring(L"B"), std::wstring(L"B:\\")));
  EXPECT_EQ(c->GetActiveFolderCount(), 2);

  // The free slot is still the one a new key takes, with nothing left over in it.
  EXPECT_TRUE(c->ListPositionSave(L"C", 1));
  EXPECT_EQ(Table()[0], std::make_pair(std::wstring(L"C"), std::wstring()));
}

TEST_F(Places, ListPositionKeyIsTheUpperCaseTextBeforeTheColon) {
  EXPECT_TRUE(c->ListPositionSave(L"c:", 12)) << "a new key";
  std::int32_t pos = -1;
  EXPECT_TRUE(c->ListPositionLoad(L"C", pos));
  EXPECT_EQ(pos, 12);
  EXPECT_FALSE(c->ListPositionSave(L"C:\\anything", 13)) << "the key was there";
  EXPECT_TRUE(c->ListPositionLoad(L"c:", pos));
  EXPECT_EQ(pos, 13);
  EXPECT_EQ(SlotsWithKey(L"C"), 1);

  pos = 99;
  EXPECT_FALSE(c->ListPositionLoad(L"Z", pos));
  EXPECT_EQ(pos, 0);

  // One slot per place: the position joins the active folder stored before.
  c->StoreActiveFolder(L"D", L"D:\\kept");
  EXPECT_FALSE(c->ListPositionSave(L"d:", 3));
  EXPECT_EQ(Table()[1], std::make_pair(std::wstring(L"D"), std::wstring(L"D:\\kept")));
  EXPECT_TRUE(c->ListPositionLoad(L"D", pos));
  EXPECT_EQ(pos, 3);
}

TEST_F(Places, ActiveFolderOfThePlaceOrItsRoot) {
  c->SetCurrentDrive(L"C");
  c->StoreActiveFolder(L"C", L"C:\\deep\\er");
  std::wstring key;
  EXPECT_EQ(c->GetActiveFolder(key), L"C:\\deep\\er");
  EXPECT_EQ(key, L"C") << "an empty key means the current place";
  key = L"c";
  EXPECT_EQ(c->GetActiveFolder(key), L"C:\\deep\\er");
  key = L"D";
  EXPECT_EQ(c->GetActiveFolder(key), L"D:\\");
}

// ---- Expanded folders ----

TEST_F(Places, ExpandedListKeepsOneEntryPerPathAsGiven) {
  c->AddToExpandedFolderString(L"C:\\Data\\Mixed");
  EXPECT_EQ(c->ExpandedCount, 0);
  c->AddToExpandedFolderString(L"c:\\DATA\\mixed");
  EXPECT_EQ(c->ExpandedCount, 0);
  c->AddToExpandedFolderString(L"C:\\Other");
  EXPECT_EQ(c->ExpandedCount, 1);
  c->AddToExpandedFolderString(L"C:\\OTHER");
  EXPECT_EQ(c->ExpandedCount, 1);

  EXPECT_EQ(c->GetExpandedFolderString(0), L"C:\\Data\\Mixed");
  EXPECT_EQ(c->GetExpandedFolderString(1), L"C:\\Other");
  for (int outside : {2, 3, 500, -1}) EXPECT_EQ(c->GetExpandedFolderString(outside), L"") << outside;
}

TEST_F(Places, ExpandedFolderFoundEmptyByTheLastReadIsNotHandedBack) {
  TempFolder dir;
  dir.Folder(L"leaf");
  dir.Folder(L"branch\\twig");
  c->AddToExpandedFolderString(dir.Path() + L"leaf");
  c->AddToExpandedFolderString(dir.Path() + L"branch");
  c->ltFolderListType = zenlo::fbFolder;
  // On a remote place the read learns by opening a folder whether it has sub-folders.
  c->RemoteDriveSelected = true;
  ASSERT_TRUE(c->GetFolderContents(dir.Path(), true));
  ASSERT_EQ(c->ItemCount(), 4);

  EXPECT_EQ(c->GetExpandedFolderString(0), L"");
  EXPECT_EQ(c->GetExpandedFolderString(1), dir.Path() + L"branch");
  EXPECT_EQ(c->ExpandedCount, 1);
}

// ---- Active item across reads ----

struct ActiveItemInTree : Places {
  ActiveItemInTree() {
    dir.Folder(L"kept");
    dir.Folder(L"other");
    host.Bookmarks[0] = dir.Path();
    c->ltFolderListType = zenlo::fbFolder;
    c->SetCurrentDrive(L"0");
  }
  std::int32_t IndexOf(const std::wstring& name) const {
    for (std::int32_t i = 0; i < c->ItemCount(); ++i)
      if (c->ListItems()[static_cast<std::size_t>(i)].Name == name) return i;
    return -1;
  }
  TempFolder dir;
};

TEST_F(ActiveItemInTree, RememberedFolderIsFoundAgainWhateverItsSpelling) {
  // The host hands back folders as it stored them: upper-cased, or with the trailing backslash
  // its pane records carry.
  std::wstring upper = dir.Path() + L"KEPT";
  CharUpperW(upper.data());
  for (const std::wstring& remembered : {upper, dir.Path() + L"kept\\", upper + L"\\"}) {
    SCOPED_TRACE(std::string(remembered.begin(), remembered.end()));
    ControlHolder tree(zenlo::fbFolder);
    tree.host.Bookmarks[0] = dir.Path();
    tree->AddToActiveFolderInfo(L"0", remembered);
    std::wstring key = L"0";
    tree->SetFolder(key, false);
    ASSERT_EQ(tree->ItemCount(), 3);
    ASSERT_GE(tree->ActiveItem(), 0);
    EXPECT_EQ(tree->ListItems()[static_cast<std::size_t>(tree->ActiveItem())].Name, L"kept");
    EXPECT_EQ(tree.host.Count(L"Click"), 0) << "the root was made active instead";
    EXPECT_TRUE(tk::SameText(tree->GetActiveFolder(key), remembered)) << "kept as given";

    // Remembering takes the item's own spelling of its path.
    tree->SaveActiveString();
    EXPECT_EQ(tree->ActiveString(), dir.Path() + L"kept");
  }
}

TEST_F(ActiveItemInTree, VanishedFolderMakesTheRootActiveAndTellsTheHost) {
  c->StoreActiveFolder(L"0", dir.Path() + L"gone");
  ASSERT_TRUE(c->GetFolderContents(dir.Path(), true));
  EXPECT_EQ(c->ActiveItem(), 0);
  EXPECT_EQ(c->ActiveString(), c->ListItems()[0].FullPath);
  EXPECT_EQ(host.Count(L"Click"), 1);
  std::wstring key = L"0";
  EXPECT_EQ(c->GetActiveFolder(key), c->ListItems()[0].FullPath) << "stored for the place";
}

}  // namespace
