// The column headings table and the sort-level list.
#include <gtest/gtest.h>

#include "listing/model/HeadingsTable.h"

using namespace zenlo;

namespace {

std::vector<std::wstring> ShownKeys(const HeadingsTable& t) {
  std::vector<std::wstring> keys;
  for (const auto& h : t.Headings)
    if (h.Active) keys.push_back(h.Key);
  return keys;
}

TEST(HeadingsTable, DefaultsDifferForTreesAndListings) {
  HeadingsTable listing, tree;
  listing.SetDefaults(false);
  tree.SetDefaults(true);
  EXPECT_EQ(ShownKeys(listing), (std::vector<std::wstring>{L"sColor", L"sName",
                                                           L"sDateLastModified", L"sSize",
                                                           L"sExt", L"sFileType", L"sFiller"}));
  EXPECT_EQ(ShownKeys(tree), (std::vector<std::wstring>{L"sName", L"sDateLastModified",
                                                        L"sSize", L"sFiller"}));
  // Button numbers follow colour, name, extension, size, modified, ... filler.
  const std::int16_t buttons[] = {0, 1, 4, 3, 2, 5, 6, 7, 8, 9, 10};
  for (int i = 0; i < HeadingsTable::kSlots; ++i) EXPECT_EQ(listing.Headings[i].Index, buttons[i]);
  EXPECT_TRUE(listing.MenuChecked(L"mnuHeadingExtension"));
  EXPECT_FALSE(tree.MenuChecked(L"MNUHEADINGEXTENSION"));
  EXPECT_EQ(listing.ActiveHeadingIndex, 1);
}

TEST(HeadingsTable, PropertiesByNameInAnyCase) {
  HeadingsTable t;
  t.SetDefaults(false);
  EXPECT_EQ(std::get<std::int32_t>(t.Property(3, L"width")), 1995);
  EXPECT_EQ(std::get<std::wstring>(t.Property(2, L"Caption")), L"Modified");
  EXPECT_EQ(std::get<std::int16_t>(t.Property(2, L"INDEX")), 4);
  EXPECT_TRUE(std::get<bool>(t.Property(1, L"active")));
  EXPECT_TRUE(std::holds_alternative<std::monostate>(t.Property(3, L"colour")));

  // Values come back from the settings file as text.
  EXPECT_TRUE(t.SetProperty(3, L"WIDTH", std::wstring(L"2400")));
  EXPECT_TRUE(t.SetProperty(5, L"active", std::wstring(L"True")));
  EXPECT_TRUE(t.SetProperty(6, L"Active", std::wstring(L"-1")));
  EXPECT_TRUE(t.SetProperty(2, L"active", std::wstring(L"False")));
  EXPECT_FALSE(t.SetProperty(2, L"colour", std::wstring(L"red")));
  EXPECT_EQ(t.Headings[3].Width, 2400);
  EXPECT_TRUE(t.Headings[5].Active);
  EXPECT_TRUE(t.Headings[6].Active);
  EXPECT_FALSE(t.Headings[2].Active);
}

TEST(HeadingsTable, PositionsRunLeftToRightAndTheFillerReachesTheEnd) {
  HeadingsTable t;
  t.SetDefaults(false);
  for (int i = 2; i <= 9; ++i) t.Headings[i].Active = false;  // only name (and colour) left
  t.CalculatePositions(90);
  EXPECT_EQ(t.Headings[0].Left, 90);
  EXPECT_EQ(t.Headings[0].Right, 90 + 195);
  EXPECT_EQ(t.Headings[1].Left, 285);
  EXPECT_EQ(t.Headings[10].Left, 285 + 4005);
  EXPECT_EQ(t.Headings[10].Right, HeadingsTable::kFillerReach);
}

TEST(HeadingsTable, ColumnsWiderThanTheStripLeaveTheFillerEmpty) {
  HeadingsTable t;
  t.SetDefaults(false);
  t.Headings[1].Width = 30000;
  t.CalculatePositions(90);
  EXPECT_EQ(t.Headings[10].Width, 0);
  EXPECT_EQ(t.Headings[10].Right, t.Headings[10].Left);
}

TEST(HeadingsTable, ShiftMovesOverHiddenColumnsButNeverPastNameOrFiller) {
  struct Case {
    std::int16_t activeSlot;
    const wchar_t* direction;
    HeadingsTable::ShiftOutcome outcome;
    std::int16_t slotAfter;
  } cases[] = {
      {2, L"headright", HeadingsTable::ShiftOutcome::Moved, 3},  // modified swaps with size
      {2, L"headleft", HeadingsTable::ShiftOutcome::Unmoved, 2},  // the name column is left
      {9, L"headright", HeadingsTable::ShiftOutcome::Unmoved, 9},  // the filler is right
      {9, L"HEADLEFT", HeadingsTable::ShiftOutcome::Moved, 4},  // over the hidden 5..8
  };
  for (const auto& c : cases) {
    HeadingsTable t;
    t.SetDefaults(false);
    const std::wstring key = t.Headings[c.activeSlot].Key;
    t.ActiveHeadingIndex = c.activeSlot;
    t.ActiveButtonIndex = t.Headings[c.activeSlot].Index;
    EXPECT_EQ(t.Shift(c.direction), c.outcome) << c.activeSlot << " " << c.direction;
    EXPECT_EQ(t.ActiveHeadingIndex, c.slotAfter) << c.activeSlot << " " << c.direction;
    EXPECT_EQ(t.Headings[t.ActiveHeadingIndex].Key, key);
  }
  HeadingsTable t;
  t.SetDefaults(false);
  t.ActiveButtonIndex = 1;
  EXPECT_EQ(t.Shift(L"headright"), HeadingsTable::ShiftOutcome::NameFixed);
  t.ActiveButtonIndex = 0;
  EXPECT_EQ(t.Shift(L"headleft"), HeadingsTable::ShiftOutcome::ColorFixed);
}

TEST(HeadingsTable, MenuToggleSwitchesItsColumn) {
  HeadingsTable t;
  t.SetDefaults(false);
  EXPECT_FALSE(t.ToggleMenu(L"mnuHeadingSize"));
  EXPECT_FALSE(t.Headings[3].Active);
  EXPECT_TRUE(t.ToggleMenu(L"MNUHEADINGSIZE"));
  EXPECT_TRUE(t.Headings[3].Active);
}

TEST(HeadingsTable, WidestTextsPerColumn) {
  HeadingsTable t;
  t.SetDefaults(false);
  struct Item {
    std::wstring Name, size, ext, comments, type;
    const std::wstring& SizeText() const { return size; }
    const std::wstring& Extension() const { return ext; }
    const std::wstring& Comments() const { return comments; }
    const std::wstring& FileType() const { return type; }
  };
  std::vector<Item> items = {{L"ab", L"1,000", L"txt", L"", L"Text Document"},
                             {L"abcdef", L"1", L"", L"a long comment here", L"File"}};
  auto measure = [](const std::wstring& s) { return static_cast<std::int32_t>(s.size()) * 100; };
  auto measureName = [](const std::wstring& s) { return static_cast<std::int32_t>(s.size()) * 100 + 500; };
  t.MaxTextWidths(items, 2, measure, measureName);
  EXPECT_EQ(t.Headings[t.SlotOfKey(L"sSize")].MaxTextWidth, 500 + 100);  // "1,000" + pad
  EXPECT_EQ(t.Headings[t.SlotOfKey(L"sExt")].MaxTextWidth, 500);  // 300 + 50 stays under 500
  EXPECT_EQ(t.Headings[t.SlotOfKey(L"sComments")].MaxTextWidth, 1900);
  EXPECT_EQ(t.Headings[t.SlotOfKey(L"sFileType")].MaxTextWidth, 1300);
  EXPECT_EQ(t.NameColumnMaxWidth, 1100);
  EXPECT_EQ(t.Headings[t.SlotOfKey(L"sDateCreated")].MaxTextWidth, 0);
}

TEST(SortOrderList, CountStopsAtTheFirstFreeSlot) {
  SortOrderList list;
  EXPECT_EQ(list.NumberOfSorts(), 0);
  list.Slots[0] = {L"sName", L"asc"};
  list.Slots[1] = {L"sSize", L"des"};
  list.Slots[3] = {L"sExt", L"asc"};
  EXPECT_EQ(list.NumberOfSorts(), 2);
  for (auto& s : list.Slots) s = {L"sName", L"asc"};
  EXPECT_EQ(list.NumberOfSorts(), SortOrderList::kSlots);
  list.Reset();
  EXPECT_EQ(list.NumberOfSorts(), 0);
}

}  // namespace
