// The item array on its own: growth across its block boundaries, records staying where they
// were made, shrinking and growing again, copies, iteration and the sorts run over it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "listing/model/ItemSort.h"
#include "listing/model/MultiHeadingSort.h"
#include "zenlo/ItemArray.h"

using namespace zenlo;

namespace {

TypeListItem Numbered(int n) {
  TypeListItem item;
  item.Name = L"item" + std::to_wstring(n);
  item.FullPath = L"C:\\data\\" + item.Name;
  item.IndentX = n;
  item.ItemType = sFile;
  return item;
}

// Every record holds the number it was made with, in index order.
::testing::AssertionResult HoldsZeroTo(const ItemArray& items, int count) {
  if (items.size() != static_cast<std::size_t>(count))
    return ::testing::AssertionFailure() << "size " << items.size() << ", expected " << count;
  for (int i = 0; i < count; ++i) {
    const TypeListItem& item = items[static_cast<std::size_t>(i)];
    if (item.IndentX != i || item.Name != L"item" + std::to_wstring(i))
      return ::testing::AssertionFailure() << "record " << i << " holds " << item.IndentX;
  }
  return ::testing::AssertionSuccess();
}

TEST(ItemArray, GrowsAcrossEveryBlockBoundaryWithoutMovingARecord) {
  // Past the doubling first blocks and several full ones.
  const int count = static_cast<int>(ItemArray::kFull) * 3 + 5;
  ItemArray items;
  std::vector<const TypeListItem*> where;
  for (int i = 0; i < count; ++i) {
    if (i % 2)
      items.push_back(Numbered(i));
    else
      items.emplace_back() = Numbered(i);
    where.push_back(&items.back());
  }
  EXPECT_TRUE(HoldsZeroTo(items, count));
  for (int i = 0; i < count; ++i)
    ASSERT_EQ(&items[static_cast<std::size_t>(i)], where[static_cast<std::size_t>(i)])
        << "record " << i << " moved";
  EXPECT_GE(items.capacity(), items.size());
  EXPECT_LT(items.capacity(), items.size() + ItemArray::kFull);
}

TEST(ItemArray, ShrinkingAndGrowingAgainGivesBlankRecordsBehindTheKeptOnes) {
  // A nested read rolls back to an index and places other items from there.
  struct Case {
    int made;
    int keep;
    int grow;
  };
  const int full = static_cast<int>(ItemArray::kFull);
  const Case cases[] = {
      {40, 31, 70},                      // inside the first doubling blocks
      {full + 500, full, full + 100},     // back to the first full block's start
      {full + 500, full - 1, 2 * full + 100},  // back past it, then across two boundaries
      {3000, 0, 5},                      // everything
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.made << " -> " << c.keep << " -> " << c.grow);
    ItemArray items;
    for (int i = 0; i < c.made; ++i) items.push_back(Numbered(i));
    items[static_cast<std::size_t>(c.made - 1)].SetComments(L"last");
    items.resize(static_cast<std::size_t>(c.keep));
    EXPECT_TRUE(HoldsZeroTo(items, c.keep));
    items.resize(static_cast<std::size_t>(c.grow));
    ASSERT_EQ(items.size(), static_cast<std::size_t>(c.grow));
    for (int i = c.keep; i < c.grow; ++i) {
      const TypeListItem& item = items[static_cast<std::size_t>(i)];
      ASSERT_TRUE(item.Name.empty() && item.FullPath.empty() && item.IndentX == 0 &&
                  item.Comments().empty())
          << "record " << i << " is not blank: " << item.IndentX;
    }
    items.resize(0);
    EXPECT_TRUE(items.empty());
  }
}

TEST(ItemArray, CopiesAreWholeAndApartMovesAndSwapsTakeTheRecords) {
  ItemArray items;
  for (int i = 0; i < 1100; ++i) items.push_back(Numbered(i));
  items[1050].SetColorWord(L"red");

  ItemArray copy = items;
  copy[1050].SetColorWord(L"blue");
  copy[3].Name = L"changed";
  EXPECT_EQ(items[1050].ColorWord(), L"red");
  EXPECT_EQ(items[3].Name, L"item3");
  copy = items;
  EXPECT_TRUE(HoldsZeroTo(copy, 1100));
  EXPECT_EQ(copy[1050].ColorWord(), L"red");

  const TypeListItem* record = &items[1050];
  ItemArray moved = std::move(items);
  EXPECT_EQ(&moved[1050], record) << "a move takes the blocks, not copies of the records";
  EXPECT_TRUE(items.empty());  // NOLINT(bugprone-use-after-move): moved-from arrays are empty
  items.push_back(Numbered(0));  // and usable

  ItemArray small{Numbered(0), Numbered(1)};
  swap(small, moved);
  EXPECT_TRUE(HoldsZeroTo(small, 1100));
  EXPECT_TRUE(HoldsZeroTo(moved, 2));

  small.assign(3, Numbered(7));
  ASSERT_EQ(small.size(), 3u);
  EXPECT_EQ(small[2].IndentX, 7);
  small.clear();
  EXPECT_TRUE(small.empty());
}

TEST(ItemArray, IterationVisitsEveryRecordInIndexOrder) {
  ItemArray items;
  const int count = static_cast<int>(ItemArray::kFull) + 40;
  for (int i = 0; i < count; ++i) items.push_back(Numbered(i));

  int expected = 0;
  for (const TypeListItem& item : items) EXPECT_EQ(item.IndentX, expected++);
  EXPECT_EQ(expected, count);
  for (TypeListItem& item : items) item.Selected = 1;  // a mutable walk reaches the records
  EXPECT_TRUE(std::all_of(items.cbegin(), items.cend(),
                          [](const TypeListItem& it) { return it.Selected == 1; }));

  const ItemArray& view = items;
  EXPECT_EQ(view.end() - view.begin(), count);
  const auto found = std::find_if(view.begin(), view.end(),
                                  [](const TypeListItem& it) { return it.Name == L"item1030"; });
  ASSERT_NE(found, view.end());
  EXPECT_EQ(found - view.begin(), 1030);
  EXPECT_EQ(found[-1000].IndentX, 30);
  EXPECT_EQ((view.end() - 1)->IndentX, count - 1);
  EXPECT_EQ(std::prev(view.end())->Name, view.back().Name);
  ItemArray::const_iterator fromMutable = items.begin();
  EXPECT_EQ(fromMutable->IndentX, 0);
}

TEST(ItemArray, SortsReorderRecordsAcrossBlocksAndTheirCompanionRows) {
  const int count = static_cast<int>(ItemArray::kFull) + 500;
  ItemArray items;
  std::vector<int> companion;
  // Reversed sizes, so every record has to move, most of them into another block.
  for (int i = 0; i < count; ++i) {
    TypeListItem item = Numbered(i);
    item.SetSize(static_cast<std::uint64_t>(count - i));
    items.push_back(std::move(item));
    companion.push_back(i);
  }
  PartitionSortRecords(
      items, 0, count - 1,
      [](const TypeListItem& it) { return static_cast<std::int64_t>(it.Size()); }, CompareNumbers,
      false, &companion);
  for (int k = 0; k < count; ++k) {
    const TypeListItem& item = items[static_cast<std::size_t>(k)];
    ASSERT_EQ(item.Size(), static_cast<std::uint64_t>(k + 1)) << k;
    ASSERT_EQ(item.IndentX, count - 1 - k) << "the record moved whole";
    ASSERT_EQ(companion[static_cast<std::size_t>(k)], item.IndentX) << "its row moved with it";
  }

  // The heading sort, from record 10 on, back to name order (item0, item1, item10, ...).
  MultiHeadingSort sort;
  const SortLevel byName{SortHeading::Name, false};
  sort.SortRange(items, 10, count - 1, &byName, 1, 0, nullptr);
  std::vector<std::wstring> names;
  for (int k = 10; k < count; ++k) names.push_back(items[static_cast<std::size_t>(k)].Name);
  EXPECT_TRUE(std::is_sorted(names.begin(), names.end())) << "ASCII names sort as their codes";
  for (int k = 0; k < 10; ++k)
    EXPECT_EQ(items[static_cast<std::size_t>(k)].Size(), static_cast<std::uint64_t>(k + 1))
        << "outside the range nothing moved";
}

}  // namespace
