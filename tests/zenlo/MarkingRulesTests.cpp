// The marking rules on small item arrays: the tree-level rule, ranges, select all, and the
// path lists handed to the host.
#include <gtest/gtest.h>

#include <algorithm>

#include "listing/model/Marking.h"

using namespace zenlo;

namespace {

struct Row {
  const wchar_t* path;
  std::int32_t indent;
  sTypes type;
};

ItemArray Items(std::initializer_list<Row> rows) {
  ItemArray items;
  for (const Row& r : rows) {
    TypeListItem item;
    item.FullPath = r.path;
    const std::wstring path = r.path;
    const auto slash = path.find_last_of(L'\\', path.size() >= 2 ? path.size() - 2 : 0);
    item.Name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    item.IndentX = r.indent;
    item.ItemType = r.type;
    item.Selected = -1;
    items.push_back(item);
  }
  return items;
}

// root, A (A1, A2 (A2x)), B (B1), a computer of the network tree.
ItemArray SmallTree() {
  return Items({{L"C:\\", 300, sFolder},
                {L"C:\\A", 450, sFolder},
                {L"C:\\A\\A1", 600, sFolder},
                {L"C:\\A\\A2", 600, sFolder},
                {L"C:\\A\\A2\\A2x", 750, sFolder},
                {L"C:\\B", 450, sFolder},
                {L"C:\\B\\B1", 600, sFolder},
                {L"*:\\Net\\\\PC", 450, sComputer}});
}

ItemArray SmallList() {
  return Items({{L"C:\\d\\sub1", 450, sFolder},
                {L"C:\\d\\sub2", 450, sFolder},
                {L"C:\\d\\a.txt", 450, sFile},
                {L"C:\\d\\b.txt", 450, sFile},
                {L"C:\\d\\c.txt", 450, sFile}});
}

std::vector<int> MarkedOf(const ItemArray& items) {
  std::vector<int> marked;
  for (std::size_t i = 0; i < items.size(); ++i)
    if (items[i].Selected == 1) marked.push_back(static_cast<int>(i));
  return marked;
}

void MarkOnly(ItemArray& items, std::vector<int> marked) {
  for (auto& item : items) item.Selected = -1;
  for (int i : marked) items[static_cast<std::size_t>(i)].Selected = 1;
}

TEST(MarkingRules, MarkingATreeFolderUnmarksItsAncestorsAndSubtree) {
  struct Case {
    const char* what;
    std::vector<int> before;
    int item;
    std::vector<int> after;
  } cases[] = {
      {"a parent over its marked children", {2, 3, 4, 6}, 1, {1, 6}},
      {"a child under its marked parent and grandparent", {1, 3}, 4, {4}},
      {"a sibling leaves its sibling", {2}, 3, {2, 3}},
      {"unmarking still clears the relatives", {1, 3, 4}, 3, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto items = SmallTree();
    MarkOnly(items, c.before);
    Marking m;
    std::vector<std::pair<int, bool>> drawn;
    const Marking::Changed changed = [&](std::int32_t i, bool on) { drawn.push_back({i, on}); };
    m.SetItem(items, c.item, 0, changed);
    Marking::UnmarkTreeRelatives(items, c.item, 7, changed);
    EXPECT_EQ(MarkedOf(items), c.after);
    // Every change was reported once, so the marks on screen follow the items.
    std::vector<int> now = c.before;
    for (auto [i, on] : drawn) {
      if (on) now.push_back(i);
      else now.erase(std::find(now.begin(), now.end(), i));
    }
    std::sort(now.begin(), now.end());
    EXPECT_EQ(now, c.after);
  }
}

TEST(MarkingRules, SingleChangesSetHowTheNextRangeActs) {
  auto items = SmallList();
  Marking m;
  m.SetItem(items, 2, 0, {});  // marks
  EXPECT_EQ(m.RangeClears, 0);
  m.SetItem(items, 2, 1, {});  // already marked: stays, and a range marks
  EXPECT_EQ(MarkedOf(items), (std::vector<int>{2}));
  EXPECT_EQ(m.RangeClears, 0);
  m.SetRange(items, 4, 1, {});
  EXPECT_EQ(MarkedOf(items), (std::vector<int>{1, 2, 3, 4}));
  m.SetItem(items, 3, 0, {});  // unmarks: the next range unmarks too
  EXPECT_EQ(m.RangeClears, 1);
  m.SetRange(items, 0, 2, {});
  EXPECT_EQ(MarkedOf(items), (std::vector<int>{4}));
  m.SetItem(items, 4, 5, {});  // no such choice: nothing changes
  EXPECT_EQ(MarkedOf(items), (std::vector<int>{4}));
  EXPECT_EQ(m.RangeClears, 1);
}

TEST(MarkingRules, TheTreeLevelPassLeavesNoFolderMarkedWithItsParent) {
  struct Case {
    const char* what;
    std::vector<int> before;
    bool selectAndDrag;
    std::vector<int> after;
  } cases[] = {
      {"parent and all children clicked", {1, 2, 3}, false, {2, 3}},
      {"parent and all children dragged over", {1, 2, 3, 4}, true, {1}},
      {"children mixed", {1, 2}, false, {2}},
      {"parent alone", {1}, false, {1}},
      {"a marked computer is no folder", {7, 6}, false, {6}},
      {"deep child under marked grandparent", {1, 4}, false, {4}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto items = SmallTree();
    MarkOnly(items, c.before);
    Marking::DeselectOtherLevels(items, 7, c.selectAndDrag, {});
    EXPECT_EQ(MarkedOf(items), c.after);
  }
}

TEST(MarkingRules, SelectAllMarksTogglesAndUnmarksEveryItem) {
  struct Case {
    const char* what;
    ListType type;
    std::vector<const wchar_t*> texts;
    std::vector<int> after;
  } cases[] = {
      {"all in a listing", fbFileAndFolder, {L"ALL"}, {0, 1, 2, 3, 4}},
      {"empty twice: marks, then unmarks", fbFileAndFolder, {L"", L""}, {}},
      {"empty once after all: unmarks", fbFileAndFolder, {L"all", L""}, {}},
      // The first item too: a folder the user took back must not stay marked for a Delete.
      {"none after all", fbFileAndFolder, {L"all", L"none"}, {}},
      {"files only: folders are never marked", fbFile, {L"all"}, {2, 3, 4}},
      {"the tree's root is never marked", fbFolder, {L"all"}, {1, 2, 3, 4}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto items = SmallList();
    Marking m;
    for (const wchar_t* t : c.texts) m.SelectAll(items, 4, t, c.type, {});
    EXPECT_EQ(MarkedOf(items), c.after);
  }
  // A folder of sub-folders only: "none" leaves no first folder marked either.
  auto folders = Items({{L"C:\\d\\x", 450, sFolder}, {L"C:\\d\\y", 450, sFolder}});
  Marking m;
  m.SelectAll(folders, 1, L"all", fbFileAndFolder, {});
  m.SelectAll(folders, 1, L"none", fbFileAndFolder, {});
  EXPECT_TRUE(MarkedOf(folders).empty());
}

TEST(MarkingRules, FileSpecsListEachMarkedPathAndSummarise) {
  auto list = SmallList();
  struct Case {
    const char* what;
    ListType type;
    std::vector<int> marked;
    std::wstring summary;
    std::wstring specs;
  } cases[] = {
      {"nothing", fbFileAndFolder, {}, L"", std::wstring(1, L'\0')},
      {"two files", fbFileAndFolder, {2, 4}, L"2 files",
       std::wstring(L"C:\\d\\a.txt\0C:\\d\\c.txt\0\0", 23)},
      {"one file: its name", fbFileAndFolder, {3}, L"b.txt", std::wstring(L"C:\\d\\b.txt\0\0", 12)},
      {"one folder: its path", fbFileAndFolder, {1}, L"C:\\d\\sub2",
       std::wstring(L"C:\\d\\sub2\0\0", 11)},
      {"folders and a file", fbFileAndFolder, {0, 1, 2}, L"2 folders 1 file", {}},
      {"folders only end in a blank", fbFileAndFolder, {0, 1}, L"2 folders ", {}},
      {"a files-only list skips folders", fbFile, {0, 3}, L"b.txt", std::wstring(L"C:\\d\\b.txt\0\0", 12)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MarkOnly(list, c.marked);
    std::wstring specs = L"left over";
    EXPECT_EQ(Marking::FileSpecs(list, 4, c.type, specs), c.summary);
    if (!c.specs.empty()) {
      EXPECT_EQ(specs, c.specs);
    }
  }

  // A network share loses the display path in front of its UNC form.
  auto net = Items({{L"*:\\Net\\Work\\\\PC\\share", 600, sShare}, {L"*:\\Net\\Work\\\\PC\\x.doc", 600, sFile}});
  MarkOnly(net, {0, 1});
  std::wstring specs;
  Marking::FileSpecs(net, 1, fbFileAndFolder, specs);
  EXPECT_EQ(specs, std::wstring(L"\\\\PC\\share\0\\\\PC\\x.doc\0\0", 23));
}

TEST(MarkingRules, TheExternalListGivesEachMarkedPathOnceThenEnd) {
  auto items = Items({{L"C:\\d\\sub\\", 450, sFolder},
                      {L"C:\\d\\a.txt", 450, sFile},
                      {L"C:\\d\\b.txt", 450, sFile},
                      {L"C:\\d\\c.txt", 450, sFile}});
  MarkOnly(items, {0, 1, 3});
  std::int32_t position = 0;
  std::vector<std::wstring> got;
  for (int i = 0; i < 6; ++i) got.push_back(Marking::NextFileSpec(items, 3, fbFileAndFolder, position));
  EXPECT_EQ(got, (std::vector<std::wstring>{L"C:\\d\\sub", L"C:\\d\\a.txt", L"C:\\d\\c.txt", L"end",
                                            L"end", L"end"}));
  EXPECT_EQ(position, 4);
  // A folder of a files-only list answers an empty path, not its name.
  position = 0;
  EXPECT_EQ(Marking::NextFileSpec(items, 3, fbFile, position), L"");
  EXPECT_EQ(position, 1);
}

}  // namespace
