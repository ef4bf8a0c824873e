// Sorting items by heading levels on their own: the keys each heading compares, runs of
// later levels, the text keys against the locale's comparison, and the tree order.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

#include "listing/model/MultiHeadingSort.h"
#include "listing/model/NameKeys.h"
#include "listing/model/TreeOrder.h"
#include "toolkit/Text.h"

using namespace zenlo;

namespace {

constexpr std::uint64_t kMinute = 600000000ULL;
constexpr std::uint64_t kSomeDay = 133000000000000000ULL;  // a file time in 2022

TypeListItem File(const std::wstring& name, std::uint64_t bytes = 0,
                  std::uint64_t written = kSomeDay) {
  TypeListItem item;
  item.Name = name;
  item.FullPath = L"C:\\data\\" + name;
  item.ItemType = sFile;
  item.SetDetails(TypeListItem::Details::File, written, written, written, FILE_ATTRIBUTE_ARCHIVE);
  item.SetSize(bytes);
  return item;
}

TypeListItem Folder(const std::wstring& name, std::int16_t level = 1) {
  TypeListItem item;
  item.Name = name;
  item.FullPath = L"C:\\data\\" + name;
  item.ItemType = sFolder;
  item.Level = level;
  item.SetDetails(TypeListItem::Details::Folder, kSomeDay, kSomeDay, kSomeDay,
                  FILE_ATTRIBUTE_DIRECTORY);
  return item;
}

std::vector<std::wstring> Names(const ItemArray& items) {
  std::vector<std::wstring> names;
  for (const auto& it : items) names.push_back(it.Name);
  return names;
}

std::vector<std::wstring> Sorted(ItemArray items,
                                 std::vector<SortLevel> levels) {
  MultiHeadingSort sort;
  sort.SortRange(items, 0, static_cast<std::int32_t>(items.size()) - 1, levels.data(),
                 levels.size(), 0, nullptr);
  return Names(items);
}

TEST(MultiHeadingSort, SizesCompareAsNumbersWithUnsummedFoldersFirst) {
  ItemArray items;
  items.push_back(File(L"ten", 10));
  items.push_back(File(L"million", 1000000));
  items.push_back(Folder(L"summed-empty"));
  items.back().SetSize(0);
  items.push_back(File(L"five-gib", 5ULL << 30));
  items.push_back(File(L"nine", 9));
  items.push_back(Folder(L"unsummed"));
  items.push_back(File(L"just-under-million", 999999));
  items.push_back(File(L"four-gib-and-one", (4ULL << 30) + 1));
  items.push_back(File(L"four-gib", 4ULL << 30));
  TypeListItem networkItem;  // no size text at all
  networkItem.Name = L"no-size";
  items.push_back(networkItem);

  const std::vector<std::wstring> ascending = Sorted(items, {{SortHeading::Size, false}});
  // The two items without a number are equal; their order is the partitioning's.
  ASSERT_EQ(ascending.size(), 10u);
  EXPECT_EQ((std::vector<std::wstring>(ascending.begin() + 2, ascending.end())),
            (std::vector<std::wstring>{L"summed-empty", L"nine", L"ten", L"just-under-million",
                                       L"million", L"four-gib", L"four-gib-and-one", L"five-gib"}));
  EXPECT_TRUE((ascending[0] == L"unsummed" && ascending[1] == L"no-size") ||
              (ascending[0] == L"no-size" && ascending[1] == L"unsummed"));

  const std::vector<std::wstring> descending = Sorted(items, {{SortHeading::Size, true}});
  EXPECT_EQ(descending.front(), L"five-gib");
  EXPECT_EQ((std::vector<std::wstring>(descending.begin() + 5, descending.begin() + 8)),
            (std::vector<std::wstring>{L"ten", L"nine", L"summed-empty"}));
}

TEST(MultiHeadingSort, LaterLevelsOnlyReorderRunsEqualOnEveryEarlierLevel) {
  struct Case {
    const char* what;
    ItemArray items;
    std::vector<SortLevel> levels;
    std::vector<std::wstring> expected;
  };
  auto commented = [](TypeListItem item, const wchar_t* comment) {
    item.SetComments(comment);
    return item;
  };
  auto coloured = [](TypeListItem item, std::int32_t colour) {
    item.ItemColor = colour;
    return item;
  };
  const Case cases[] = {
      // Extensions "a" and "ab": one is a prefix of the other, yet they are different runs,
      // so the names (descending) never mix them.
      {"first keys are prefixes of each other",
       {File(L"q.ab"), File(L"z.a"), File(L"p.ab"), File(L"y.a")},
       {{SortHeading::Ext, false}, {SortHeading::Name, true}},
       {L"z.a", L"y.a", L"q.ab", L"p.ab"}},
      // "a" + "bc" and "ab" + "c" join to the same text but differ key by key.
      {"joined texts are never compared",
       {commented(File(L"q.ab"), L"c"), commented(File(L"p.a"), L"bc")},
       {{SortHeading::Ext, false}, {SortHeading::Comments, false}, {SortHeading::Name, true}},
       {L"p.a", L"q.ab"}},
      // Colour 1 then type "23" against colour 12 then "3": numbers are not texts either.
      {"numbers are compared as numbers, not joined as digits",
       {coloured(File(L"b.3"), 12), coloured(File(L"a.23"), 1)},
       {{SortHeading::Color, false}, {SortHeading::Ext, false}, {SortHeading::Name, true}},
       {L"a.23", L"b.3"}},
      // Equal sizes form runs; within each, names ascending; the sizes stay descending.
      {"a second level orders only equal first keys",
       {File(L"d", 5), File(L"b", 7), File(L"c", 5), File(L"a", 7), File(L"e", 6)},
       {{SortHeading::Size, true}, {SortHeading::Name, false}},
       {L"a", L"b", L"e", L"c", L"d"}},
      // Dates count to the minute shown: seconds apart is equal, so the name decides.
      {"dates within the same minute are equal",
       {File(L"late", 0, kSomeDay - kSomeDay % kMinute + 50 * 10000000ULL),
        File(L"early", 0, kSomeDay - kSomeDay % kMinute + 10 * 10000000ULL),
        File(L"next-minute", 0, kSomeDay - kSomeDay % kMinute + kMinute)},
       {{SortHeading::DateLastModified, true}, {SortHeading::Name, false}},
       {L"next-minute", L"early", L"late"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Sorted(c.items, c.levels), c.expected);
  }
}

TEST(MultiHeadingSort, DescendingIsTheExactReverseForNamesOfAnyCharacters) {
  const std::vector<std::wstring> names = {L"A!", L"A", L"ZZTOP", L"zz", L"Zürich", L"a b",
                                           L"ZZ~", L"10", L"9", L"_x", L"éclair"};
  ItemArray items;
  for (const auto& n : names) items.push_back(File(n));
  const std::vector<std::wstring> up = Sorted(items, {{SortHeading::Name, false}});
  std::vector<std::wstring> down = Sorted(items, {{SortHeading::Name, true}});
  std::reverse(down.begin(), down.end());
  EXPECT_EQ(up, down);
  for (std::size_t k = 1; k < up.size(); ++k)
    EXPECT_LT(tk::CompareText(up[k - 1], up[k]), 0) << k;
}

TEST(MultiHeadingSort, TextKeysOrderAsTheLocaleComparesWithoutCase) {
  const std::vector<std::wstring> texts = {
      L"",      L"a",     L"A",       L"ab",     L"a-b",  L"a b", L"A!",   L"A!B", L"ZZ",
      L"zz",    L"ZZTOP", L"Zürich",  L"zurich", L"é",    L"e",   L"E",    L"10",  L"9",
      L"1,000", L"_x",    L"x.TXT",   L"x.txt",  L"ß",    L"ss",  L"Ω",    L"日本", L"dir",
      L"\\",    L"~",     L"a\\ZZ",   L"a!\\ZZ", L"ａ",   L"z",   L"ÆON",  L"aeon"};
  std::vector<std::string> keys;
  for (const auto& t : texts) {
    std::string key;
    AppendTextSortKey(t.data(), t.size(), key);
    keys.push_back(key);
  }
  for (std::size_t i = 0; i < texts.size(); ++i)
    for (std::size_t j = 0; j < texts.size(); ++j) {
      const int expected = tk::CompareText(texts[i], texts[j]);
      const int got = keys[i].compare(keys[j]);
      EXPECT_EQ((expected > 0) - (expected < 0), (got > 0) - (got < 0))
          << i << " against " << j;
    }
  std::string lower, upper;
  AppendTextSortKey(L"report.TXT", 10, upper);
  AppendTextSortKey(L"REPORT.txt", 10, lower);
  EXPECT_EQ(lower, upper);  // case alone makes no difference
}

TEST(MultiHeadingSort, FollowsOneRowToWhereItsRecordGoes) {
  ItemArray items = {File(L"c"), File(L"a"), File(L"d"), File(L"b")};
  const SortLevel byName{SortHeading::Name, false};
  MultiHeadingSort sort;
  std::int32_t active = 2;  // "d"
  sort.SortRange(items, 0, 3, &byName, 1, 0, &active);
  EXPECT_EQ(Names(items), (std::vector<std::wstring>{L"a", L"b", L"c", L"d"}));
  EXPECT_EQ(active, 3);
  std::int32_t outside = 9;
  sort.SortRange(items, 0, 3, &byName, 1, 0, &outside);
  EXPECT_EQ(outside, 9);
}

// Keys made while the folder was read stand in for the sort's own, but only for the item
// whose name they were made of, and they move with their records.
TEST(MultiHeadingSort, NameKeysMadeDuringTheReadServeOnlyTheirOwnItems) {
  ItemArray items = {File(L"b"), File(L"a"), File(L"c"), File(L"d"),
                                     File(L"e")};
  std::vector<std::string> bytes(items.size());
  auto made = [&](std::size_t row, const wchar_t* keyOf, const std::wstring& hashOf) {
    AppendTextSortKey(keyOf, wcslen(keyOf), bytes[row]);
    return NameKeyRef{bytes[row].data(), static_cast<std::uint32_t>(bytes[row].size()),
                      HashName(hashOf)};
  };
  std::vector<NameKeyRef> keys = {
      made(0, L"b", L"b"),  // its own key
      made(1, L"z", L"a"),  // made of "a" by the hash: taken, so "a" sorts as "z" would
      made(2, L"0", L"x"),  // made of another name: not taken, "c" gets its own key
      NameKeyRef{},         // none made
      made(4, L"e", L"e")};
  MultiHeadingSort sort;
  sort.ReadKeys = &keys;
  const SortLevel byName{SortHeading::Name, false};
  sort.SortRange(items, 0, 4, &byName, 1, 0, nullptr);
  EXPECT_EQ(Names(items), (std::vector<std::wstring>{L"b", L"c", L"d", L"e", L"a"}));
  // Each key is still beside the record it came with.
  const std::vector<std::uint32_t> hashes = {HashName(L"b"), HashName(L"x"), 0, HashName(L"e"),
                                             HashName(L"a")};
  for (std::size_t i = 0; i < keys.size(); ++i) EXPECT_EQ(keys[i].NameHash, hashes[i]) << i;

  // Without them the same items sort by their own names.
  sort.ReadKeys = nullptr;
  sort.SortRange(items, 0, 4, &byName, 1, 0, nullptr);
  EXPECT_EQ(Names(items), (std::vector<std::wstring>{L"a", L"b", L"c", L"d", L"e"}));
}

TEST(MultiHeadingSort, TreeKeysKeepEveryFolderAheadOfItsSubFoldersInEitherDirection) {
  // A tree in path order (as the name sort leaves it), sized so that the size order of the
  // siblings differs from their name order.
  struct Row {
    const wchar_t* path;
    std::int16_t level;
    std::uint64_t size;
  };
  const Row rows[] = {
      {L"A", 1, 30},       {L"A\\B", 2, 5},       {L"A\\B\\C", 3, 1}, {L"A\\B\\D", 3, 0},
      {L"A\\ZZTOP", 2, 1}, {L"A!", 1, 10},        {L"ZZ", 1, 20},     {L"ZZ\\x", 2, 7},
      {L"ZZTOP", 1, 10},   {L"ZZTOP\\deep", 2, 0}, {L"Zürich", 1, 40},
  };
  ItemArray items;
  for (const Row& r : rows) {
    items.push_back(Folder(r.path, r.level));
    items.back().SetSize(r.size);
  }
  MultiHeadingSort sort;
  sort.CreateTreeSortKeys(items, 0, static_cast<std::int32_t>(items.size()) - 1,
                          SortHeading::Size);
  auto order = [&](bool descending) {
    std::vector<std::pair<std::wstring, std::wstring>> keyed;
    for (const auto& it : items) keyed.emplace_back(it.TreeSortKey(), it.Name);
    // As the tree's sort compares them: segment by segment.
    std::sort(keyed.begin(), keyed.end(), [&](const auto& a, const auto& b) {
      return CompareTreePaths(a.first, b.first, descending) < 0;
    });
    std::vector<std::wstring> names;
    for (const auto& k : keyed) names.push_back(k.second);
    return names;
  };
  // Ties (A! and ZZTOP, 10 each) keep path order ascending.
  EXPECT_EQ(order(false), (std::vector<std::wstring>{
                              L"A!", L"ZZTOP", L"ZZTOP\\deep", L"ZZ", L"ZZ\\x", L"A",
                              L"A\\ZZTOP", L"A\\B", L"A\\B\\D", L"A\\B\\C", L"Zürich"}));
  EXPECT_EQ(order(true), (std::vector<std::wstring>{
                             L"Zürich", L"A", L"A\\B", L"A\\B\\C", L"A\\B\\D", L"A\\ZZTOP",
                             L"ZZ", L"ZZ\\x", L"ZZTOP", L"ZZTOP\\deep", L"A!"}));
}

TEST(MultiHeadingSort, HeadingKeysAreKnownWithoutRegardToCase) {
  EXPECT_EQ(SortHeadingOfKey(L"sSize"), SortHeading::Size);
  EXPECT_EQ(SortHeadingOfKey(L"SDATELASTMODIFIED"), SortHeading::DateLastModified);
  for (const wchar_t* other : {L"", L"sFiller", L"sSizes", L"Size"})
    EXPECT_EQ(SortHeadingOfKey(other), SortHeading::Unknown) << other;
}

}  // namespace
