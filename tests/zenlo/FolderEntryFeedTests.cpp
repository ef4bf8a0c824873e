// A folder's entries handed over by the feed: every entry once and in the platform's order,
// whether read here or ahead on the worker, each worker-read name with its own sort key, and
// a feed given up halfway lets its worker go.
#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "listing/model/FolderEntryFeed.h"
#include "listing/model/MultiHeadingSort.h"
#include "listing/model/NameKeys.h"
#include "support/TempFolder.h"

using zenlo::FolderEntryFeed;
using testsupport::TempFolder;

namespace {

HANDLE OpenSearch(const std::wstring& folder, WIN32_FIND_DATAW& first) {
  return FindFirstFileExW((folder + L"*.*").c_str(), FindExInfoBasic, &first,
                          FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
}

// What a bare enumeration of the folder gives, "." and ".." included.
std::vector<std::wstring> BareNames(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW entry;
  HANDLE search = OpenSearch(folder, entry);
  if (search == INVALID_HANDLE_VALUE) return names;
  do names.push_back(entry.cFileName);
  while (FindNextFileW(search, &entry));
  FindClose(search);
  return names;
}

void Fill(TempFolder& dir, int files) {
  for (int i = 0; i < files; ++i) dir.File(L"f" + std::to_wstring(i) + L".txt", i % 7);
  dir.Folder(L"sub");
}

struct FeedCase {
  const char* Name;
  int Files;
  FolderEntryFeed::Tuning Tuning;
  DWORD WaitMs;
  bool ReadsAhead;
};

class FeedGivesEveryEntry : public ::testing::TestWithParam<FeedCase> {};

TEST_P(FeedGivesEveryEntry, OnceAndInThePlatformsOrder) {
  const FeedCase& c = GetParam();
  TempFolder dir;
  Fill(dir, c.Files);
  const std::vector<std::wstring> expected = BareNames(dir.Path());
  ASSERT_EQ(expected.size(), static_cast<std::size_t>(c.Files) + 3);

  WIN32_FIND_DATAW first;
  HANDLE search = OpenSearch(dir.Path(), first);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  FolderEntryFeed feed(search, first, c.Tuning, std::make_shared<zenlo::NameKeyBlocks>());
  std::vector<std::wstring> seen;
  std::size_t keyed = 0;
  int waits = 0;
  while (!feed.Done()) {
    const WIN32_FIND_DATAW* entry = feed.Next(c.WaitMs);
    if (entry) {
      seen.push_back(entry->cFileName);
      if (const zenlo::NameKeyRef* key = feed.LastKey()) {
        ++keyed;
        std::string expectedKey;
        zenlo::AppendTextSortKey(entry->cFileName, wcslen(entry->cFileName), expectedKey);
        ASSERT_NE(key->Bytes, nullptr) << seen.size();
        EXPECT_EQ(std::string(key->Bytes, key->Length), expectedKey) << seen.size();
        EXPECT_EQ(key->NameHash, zenlo::HashName(seen.back())) << seen.size();
      }
    } else if (!feed.Done()) {
      ASSERT_LT(++waits, 100000) << "the worker never handed over the rest";
    }
  }
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(feed.ReadingAhead(), c.ReadsAhead);
  // Entries read here come without a key (the sort makes those); the worker keys every one.
  if (c.ReadsAhead)
    EXPECT_EQ(keyed, expected.size() - std::min<std::size_t>(expected.size(), c.Tuning.SyncEntries + 1));
  else
    EXPECT_EQ(keyed, 0u);
  EXPECT_EQ(feed.Next(c.WaitMs), nullptr) << "a finished feed gives nothing more";
}

// 3 + Files entries in all ("." , ".." and "sub").
INSTANTIATE_TEST_SUITE_P(
    Tunings, FeedGivesEveryEntry,
    ::testing::Values(
        FeedCase{"SmallFolderReadHere", 20, {}, 20, false},
        FeedCase{"AheadInBatchesOfThree", 40, {4, 3, 1000}, 20, true},
        FeedCase{"AheadFromTheSecondEntry", 40, {0, 1, 1000}, 20, true},
        FeedCase{"OnePartBatch", 40, {4, 64, 1000}, 20, true},
        // 45 entries: 5 here, then five full batches of 8 and an empty last one.
        FeedCase{"EndRightAfterAFullBatch", 42, {4, 8, 1000}, 20, true},
        FeedCase{"ReaderThatNeverWaits", 300, {10, 16, 1000}, 0, true},
        FeedCase{"BatchesHandedOverEarly", 300, {10, 200, 0}, 20, true}),
    [](const ::testing::TestParamInfo<FeedCase>& info) { return info.param.Name; });

TEST(FolderEntryFeed, GivenUpHalfwayItLetsItsWorkerGoWhereverItIs) {
  TempFolder dir;
  Fill(dir, 600);
  const std::vector<std::wstring> expected = BareNames(dir.Path());
  for (const int taken : {1, 9, 50, 400}) {
    WIN32_FIND_DATAW first;
    HANDLE search = OpenSearch(dir.Path(), first);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    {
      FolderEntryFeed feed(search, first, {8, 4, 1000});
      for (int i = 0; i < taken; ++i) {
        const WIN32_FIND_DATAW* entry = nullptr;
        while (!entry && !feed.Done()) entry = feed.Next(20);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->cFileName, expected[static_cast<std::size_t>(i)]);
      }
      // The first entry and eight more come from here.
      EXPECT_EQ(feed.ReadingAhead(), taken > 9);
    }  // the worker may be waiting for room or inside a search call here: no hang
  }
}

}  // namespace
