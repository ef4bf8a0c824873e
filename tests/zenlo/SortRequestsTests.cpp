// Sorting through the control: the level list the requests build, the marks the headings
// get, trees that keep sub-folders under their parent, keys the sort cannot use, and a listing
// larger than a 16-bit index sorted by every heading.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "listing/view/ViewState.h"
#include "support/ControlFixture.h"
#include "support/TempFolder.h"
#include "toolkit/Text.h"

using namespace zenlo;
using testsupport::ControlHolder;
using testsupport::TempFolder;

namespace {

const wchar_t kNotHandled[] = L"Sorting by this heading is not yet handled.";

std::vector<std::wstring> Names(const ZenloFileControl& c) {
  std::vector<std::wstring> names;
  for (std::int32_t i = 0; i <= c.LastShownItem() && i < c.ItemCount(); ++i)
    names.push_back(c.ListItems()[static_cast<std::size_t>(i)].Name);
  return names;
}

void SortBy(ZenloFileControl& c, const wchar_t* key, const wchar_t* order) {
  // The table a host's set-up fills.
  if (c.View().Headings.SlotOfKey(L"sName") < 0) c.SetHeadingsDefaults();
  c.View().Headings.ActiveHeadingIndex =
      static_cast<std::int16_t>(c.View().Headings.SlotOfKey(key));
  c.DoSorting(order);
}

struct Level {
  std::wstring key, order;
  bool operator==(const Level& o) const { return key == o.key && order == o.order; }
};

std::vector<Level> Levels(ZenloFileControl& c) {
  std::vector<Level> levels;
  for (std::int16_t i = 0; i < c.GetNumberOfSorts(); ++i) {
    Level l;
    c.GetSortOrder(i, l.key, l.order);
    levels.push_back(l);
  }
  return levels;
}

// The marks by heading button: colour 0, name 1, ext 2, size 3, modified 4.
std::vector<std::wstring> Marks(const ZenloFileControl& c) {
  std::vector<std::wstring> marks;
  for (const SortMark& m : c.View().SortMarks)
    marks.push_back(m.Order.empty() ? L"" : m.Order + m.Number);
  return marks;
}

TEST(SortRequests, AscOrDesKeepsOneLevelAndAddsAddOrFlipLevelsInPlace) {
  TempFolder dir;
  dir.Folder(L"zfolder");
  dir.Folder(L"afolder");
  dir.File(L"b.txt", 5);
  dir.File(L"a.txt", 7);
  dir.File(L"c.doc", 5);
  dir.File(L"d.doc", 7);
  dir.File(L"e.txt", 6);
  ControlHolder c;
  ASSERT_TRUE(c->GetFolderContents(dir.Path(), true));
  // Before any request: folders, then files, each by name.
  EXPECT_EQ(Names(*c), (std::vector<std::wstring>{L"afolder", L"zfolder", L"a.txt", L"b.txt",
                                                  L"c.doc", L"d.doc", L"e.txt"}));
  EXPECT_EQ(c->GetNumberOfSorts(), 0);

  struct Step {
    const wchar_t* key;
    const wchar_t* order;
    std::vector<Level> levels;
    std::vector<std::wstring> names;
    std::vector<std::wstring> marks;
  };
  const Step steps[] = {
      {L"sSize", L"des", {{L"sSize", L"des"}},
       // Folders keep their own place ahead of the files; equal sizes fall as they may.
       {}, {L"", L"", L"", L"des", L"", L"", L"", L"", L"", L"", L""}},
      {L"sName", L"ascadd", {{L"sSize", L"des"}, {L"sName", L"asc"}},
       {L"afolder", L"zfolder", L"a.txt", L"d.doc", L"e.txt", L"b.txt", L"c.doc"},
       {L"", L"asc2", L"", L"des", L"", L"", L"", L"", L"", L"", L""}},
      {L"sExt", L"desadd", {{L"sSize", L"des"}, {L"sName", L"asc"}, {L"sExt", L"des"}},
       {L"afolder", L"zfolder", L"a.txt", L"d.doc", L"e.txt", L"b.txt", L"c.doc"},
       {L"", L"asc2", L"des3", L"des", L"", L"", L"", L"", L"", L"", L""}},
      // Level 2 again: it keeps its place and only its order changes.
      {L"sName", L"desadd", {{L"sSize", L"des"}, {L"sName", L"des"}, {L"sExt", L"des"}},
       {L"zfolder", L"afolder", L"d.doc", L"a.txt", L"e.txt", L"c.doc", L"b.txt"},
       {L"", L"des2", L"des3", L"des", L"", L"", L"", L"", L"", L"", L""}},
      {L"sExt", L"asc", {{L"sExt", L"asc"}}, {}, {L"", L"", L"asc", L"", L"", L"", L"", L"", L"", L"", L""}},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(std::wstring(s.key) + L" " + s.order);
    SortBy(*c, s.key, s.order);
    EXPECT_EQ(Levels(*c), s.levels);
    if (!s.names.empty()) {
      EXPECT_EQ(Names(*c), s.names);
    }
    EXPECT_EQ(Marks(*c), s.marks);
  }
  // One level by extension: "doc" files ahead of "txt" files, folders ("dir") apart.
  const std::vector<std::wstring> byExt = Names(*c);
  for (int i = 2; i < 4; ++i) EXPECT_NE(byExt[static_cast<std::size_t>(i)].find(L".doc"), std::wstring::npos);
  EXPECT_TRUE(c.host.Messages().empty());
}

TEST(SortRequests, TheActiveItemStaysActiveThroughASort) {
  TempFolder dir;
  for (const wchar_t* n : {L"a.txt", L"b.txt", L"c.txt", L"d.txt"}) dir.File(n, 1);
  dir.File(L"big.txt", 100);
  ControlHolder c;
  ASSERT_TRUE(c->GetFolderContents(dir.Path(), true));
  c->SetActiveItemNum(0);  // a.txt
  SortBy(*c, L"sName", L"des");
  EXPECT_EQ(c->GetActiveItemPath(), dir.Path() + L"a.txt");
  EXPECT_EQ(c->GetActiveItemNum(), 4);
}

TEST(SortRequests, KeysAndSlotsTheSortCannotUseAreRefusedOnceWithAMessage) {
  TempFolder dir;
  for (int i = 0; i < 200; ++i) dir.File(L"f" + std::to_wstring(i) + L".txt", static_cast<std::size_t>(i));
  ControlHolder c;
  ASSERT_TRUE(c->GetFolderContents(dir.Path(), true));
  c->SetSortOrder(0, L"sSize", L"des");

  // A damaged settings file: the key never enters the list.
  c->SetSortOrder(1, L"sBogus", L"asc");
  EXPECT_EQ(c.host.Messages(), std::vector<std::wstring>{kNotHandled});
  EXPECT_EQ(Levels(*c), (std::vector<Level>{{L"sSize", L"des"}}));

  // Slots outside 0..100 are refused, reading and writing.
  c.host.Events.clear();
  c->SetSortOrder(101, L"sName", L"asc");
  c->SetSortOrder(-1, L"sName", L"asc");
  std::wstring key = L"kept", order = L"kept";
  EXPECT_FALSE(c->GetSortOrder(101, key, order));
  EXPECT_EQ(key, L"kept");
  EXPECT_EQ(c.host.Messages().size(), 3u);
  EXPECT_EQ(c->GetNumberOfSorts(), 1);

  // The filler has nothing to sort by: one message for the request, not one per item, and
  // the list and the order stay.
  c.host.Events.clear();
  const std::vector<std::wstring> before = Names(*c);
  SortBy(*c, L"sFiller", L"asc");
  EXPECT_EQ(c.host.Messages(), std::vector<std::wstring>{kNotHandled});
  EXPECT_EQ(Levels(*c), (std::vector<Level>{{L"sSize", L"des"}}));
  EXPECT_EQ(Names(*c), before);
  // A re-read re-applies the list without complaint.
  c.host.Events.clear();
  c->RefreshList();
  EXPECT_TRUE(c.host.Messages().empty());
  EXPECT_EQ(c->ListItems()[0].Name, L"f199.txt");
}

// A tree in a temporary folder, opened down to every sub-folder.
struct SortedTree {
  TempFolder dir;
  ControlHolder tree{fbFolder};
  SortedTree() {
    for (const wchar_t* f : {L"A\\B\\C", L"A\\ZZTOP", L"A\\ZZZ", L"A!", L"ZZ\\x", L"ZZTOP"})
      dir.Folder(f);
    // Dates set once every folder exists: making one changes its parent's date.
    const struct {
      const wchar_t* path;
      WORD year;
    } dates[] = {{L"A", 2020},      {L"A!", 2021},     {L"ZZ", 2019},    {L"ZZTOP", 2022},
                 {L"A\\B", 2018},   {L"A\\ZZTOP", 2023}, {L"A\\ZZZ", 2017}, {L"A\\B\\C", 2000},
                 {L"ZZ\\x", 2000}};
    for (const auto& d : dates) testsupport::SetLastWriteLocal(dir.Path() + d.path, d.year, 1, 2, 3, 4);
    tree.host.Bookmarks[0] = dir.Path();
    tree->SetCurrentDrive(L"0");
  }
  bool Open() {
    if (!tree->GetFolderContents(dir.Path(), true)) return false;
    for (const wchar_t* f : {L"A", L"A\\B", L"ZZ", L"ZZTOP"})
      tree->ExpandFolder(dir.Path() + f, Expand);
    return true;
  }
  std::vector<std::wstring> Rows() const {
    std::vector<std::wstring> rows;
    for (std::int32_t i = 1; i < tree->ItemCount(); ++i)
      rows.push_back(tree->ListItems()[static_cast<std::size_t>(i)].FullPath.substr(dir.Path().size()));
    return rows;
  }
};

TEST(SortRequests, ATreeKeepsEveryFolderDirectlyAheadOfItsSubFoldersInEitherDirection) {
  SortedTree t;
  ASSERT_TRUE(t.Open());
  ASSERT_EQ(t.tree->ItemCount(), 10);
  struct Case {
    const wchar_t* key;
    const wchar_t* order;
    std::vector<std::wstring> rows;
  };
  const Case cases[] = {
      {L"sName", L"asc",
       {L"A", L"A\\B", L"A\\B\\C", L"A\\ZZTOP", L"A\\ZZZ", L"A!", L"ZZ", L"ZZ\\x", L"ZZTOP"}},
      // Sub-folders that sort after "ZZ" still follow their parent.
      {L"sName", L"des",
       {L"ZZTOP", L"ZZ", L"ZZ\\x", L"A!", L"A", L"A\\ZZZ", L"A\\ZZTOP", L"A\\B", L"A\\B\\C"}},
      {L"sDateLastModified", L"asc",
       {L"ZZ", L"ZZ\\x", L"A", L"A\\ZZZ", L"A\\B", L"A\\B\\C", L"A\\ZZTOP", L"A!", L"ZZTOP"}},
      {L"sDateLastModified", L"des",
       {L"ZZTOP", L"A!", L"A", L"A\\ZZTOP", L"A\\B", L"A\\B\\C", L"A\\ZZZ", L"ZZ", L"ZZ\\x"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::wstring(c.key) + L" " + c.order);
    SortBy(*t.tree, c.key, c.order);
    EXPECT_EQ(t.Rows(), c.rows);
    // The root stays first.
    std::wstring root = t.tree->ListItems()[0].FullPath;
    if (root.empty() || root.back() != L'\\') root += L'\\';
    EXPECT_TRUE(tk::SameText(root, t.dir.Path())) << t.tree->ListItems()[0].FullPath;
    std::wstring key, order;
    t.tree->GetSortOrder(0, key, order);
    EXPECT_EQ(key, c.key);
    EXPECT_EQ(order, c.order);
    const int button = t.tree->View().Headings.Headings[static_cast<std::size_t>(
                                                            t.tree->View().Headings.SlotOfKey(c.key))]
                           .Index;
    EXPECT_EQ(t.tree->View().SortMarks[static_cast<std::size_t>(button)].Order, c.order);
  }
  // A re-read keeps the last order.
  t.tree->RefreshList();
  for (const wchar_t* f : {L"A", L"A\\B", L"ZZ", L"ZZTOP"}) t.tree->ExpandFolder(t.dir.Path() + f, Expand);
  EXPECT_EQ(t.Rows(), cases[3].rows);
  EXPECT_TRUE(t.tree.host.Messages().empty());
}

// Each heading's order, checked without the sort's own keys.
int CompareOn(const std::wstring& key, const TypeListItem& a, const TypeListItem& b) {
  auto num = [](auto x, auto y) { return x < y ? -1 : (x > y ? 1 : 0); };
  if (key == L"sName") return tk::CompareText(a.Name, b.Name);
  if (key == L"sExt") return tk::CompareText(a.Extension(), b.Extension());
  if (key == L"sSize")
    return num(a.HasSize() ? a.Size() + 1 : 0, b.HasSize() ? b.Size() + 1 : 0);
  // The date texts ("YYYY-MM-DD  HH:MM") order as the dates do.
  if (key == L"sDateLastModified") return a.DateLastModified().compare(b.DateLastModified());
  if (key == L"sDateCreated") return a.DateCreated().compare(b.DateCreated());
  if (key == L"sDateLastAccessed") return a.DateLastAccessed().compare(b.DateLastAccessed());
  if (key == L"sAttributes") return tk::CompareText(a.AttributesText(), b.AttributesText());
  if (key == L"sComments") return tk::CompareText(a.Comments(), b.Comments());
  if (key == L"sFileType") return tk::CompareText(a.FileType(), b.FileType());
  return num(a.ItemColor, b.ItemColor);
}

TEST(SortRequests, AListingPastSixteenBitIndexesSortsByEveryHeading) {
  // 500 folders and 40,500 files, made natively by the test run (scripts/make-test-data).
  const std::wstring folder = testsupport::TestDataFolder(L"sort41k");
  ASSERT_FALSE(folder.empty()) << "ZENLO_TEST_DATA is not set: run the tests through ctest";
  ControlHolder c;
  ASSERT_TRUE(c->GetFolderContents(folder, true));
  ASSERT_EQ(c->ItemCount(), 41000);
  ASSERT_EQ(c->FoldersShown(), 500);
  const auto& items = c->ListItems();
  std::size_t sizesPast4GiB = 0;
  for (std::int32_t i = 0; i < c->ItemCount(); ++i)
    if (items[static_cast<std::size_t>(i)].Size() > (4ULL << 30)) ++sizesPast4GiB;
  EXPECT_GT(sizesPast4GiB, 30u);
  for (const wchar_t* key : {L"sName", L"sExt", L"sSize", L"sDateLastModified", L"sDateCreated",
                             L"sDateLastAccessed", L"sAttributes", L"sComments", L"sFileType",
                             L"sColor"}) {
    for (const wchar_t* order : {L"asc", L"des"}) {
      SCOPED_TRACE(std::wstring(key) + L" " + order);
      SortBy(*c, key, order);
      ASSERT_EQ(c->ItemCount(), 41000);
      const int sign = order[0] == L'a' ? 1 : -1;
      std::int32_t wrong = 0;
      for (std::int32_t i = 1; i < c->ItemCount(); ++i) {
        const TypeListItem& prev = items[static_cast<std::size_t>(i - 1)];
        const TypeListItem& it = items[static_cast<std::size_t>(i)];
        if (i < c->FoldersShown() && it.ItemType != sFolder) ++wrong;
        if (i == c->FoldersShown()) continue;  // folders end, files begin
        if (sign * CompareOn(key, prev, it) > 0) ++wrong;
      }
      EXPECT_EQ(wrong, 0);
    }
  }
  EXPECT_TRUE(c.host.Messages().empty());
}

}  // namespace
