// Mouse sequences posted to sited listings and trees, checked against the marks, the active
// item and what the host heard.
#include <gtest/gtest.h>

#include "InputFixture.h"
#include "listing/view/PointerState.h"
#include "toolkit/Text.h"

using namespace zenlo;
using inputtests::Pump;
using inputtests::Sited;

namespace {

// sub1, sub2, a.txt, b.txt, c.txt
struct SmallListing : Sited {
  std::int32_t s1, s2, a, b, cc;
  SmallListing() : Sited(fbFileAndFolder) {
    dir.Folder(L"sub1");
    dir.Folder(L"sub2");
    for (const wchar_t* f : {L"a.txt", L"b.txt", L"c.txt"}) dir.File(f);
    Read();
    s1 = Index(L"sub1"), s2 = Index(L"sub2"), a = Index(L"a.txt"), b = Index(L"b.txt"),
    cc = Index(L"c.txt");
  }
};

TEST(PointerInput, ClicksMarkInTheZoneToggleWithCtrlRangeWithShiftAndActivateElsewhere) {
  SmallListing l;
  ASSERT_EQ((std::vector<std::int32_t>{l.s1, l.s2, l.a, l.b, l.cc}),
            (std::vector<std::int32_t>{0, 1, 2, 3, 4}));
  const std::int32_t initialActive = l.c->ActiveItem();
  enum Where { Zone, Name };
  struct Step {
    const char* what;
    std::int32_t item;
    Where where;
    WPARAM keys;
    std::vector<std::int32_t> marked;
    std::int32_t active;  // -2: as before the steps
  } steps[] = {
      {"a click in the mark zone marks", 2, Zone, 0, {2}, -2},
      {"again unmarks", 2, Zone, 0, {}, -2},
      {"a click on the name activates", 3, Name, 0, {}, 3},
      {"Ctrl toggles without activating", 4, Name, MK_CONTROL, {4}, 3},
      {"the first Shift click toggles its item", 0, Name, MK_SHIFT, {0, 4}, 3},
      {"the second Shift click marks the run", 2, Name, MK_SHIFT, {0, 1, 2, 4}, 3},
      // Pressed and released in the zone with Shift: toggled once, not back again.
      {"a Shift click in the zone", 3, Zone, MK_SHIFT, {0, 1, 2, 3, 4}, 3},
      {"Shift with Ctrl does nothing", 1, Name, MK_SHIFT | MK_CONTROL, {0, 1, 2, 3, 4}, 3},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    const float x = s.where == Zone ? l.ZoneX(s.item) : l.NameX(s.item);
    l.Move(x, l.RowY(s.item));  // the hover finds the zone a press may mark in
    l.Click(x, l.RowY(s.item), s.keys);
    EXPECT_EQ(l.Marked(), s.marked);
    EXPECT_EQ(l.c->ActiveItem(), s.active == -2 ? initialActive : s.active);
  }
  EXPECT_EQ(l.Events(L"UpdateFileName"), (std::vector<std::wstring>{L"b.txt"}));
  EXPECT_TRUE(l.Events(L"Click").empty());  // only a tree tells the host of its active item
  EXPECT_EQ(l.c->Pointer().ShiftRangeStart, 3);  // the zone's Shift click began a new range
}

TEST(PointerInput, DoubleClicksOpenFilesEnterFoldersAndNothingWithCtrl) {
  SmallListing l;
  const std::wstring folder = l.c->currentFolder();
  l.dir.File(L"Varnello_SETUP.exe");
  l.Read();
  const std::int32_t setup = l.Index(L"Varnello_SETUP.exe");
  l.a = l.Index(L"a.txt"), l.b = l.Index(L"b.txt"), l.s1 = l.Index(L"sub1");

  l.DoubleClick(l.NameX(l.a), l.RowY(l.a), MK_CONTROL);
  EXPECT_TRUE(l.opened.empty());
  EXPECT_EQ(l.Marked(), (std::vector<std::int32_t>{l.a}));  // the first click's Ctrl toggle
  // The next press forgets the pending double click: a single click opens nothing.
  l.Click(l.NameX(l.b), l.RowY(l.b));
  EXPECT_TRUE(l.opened.empty());

  l.DoubleClick(l.NameX(l.b), l.RowY(l.b));
  EXPECT_EQ(l.opened, (std::vector<std::wstring>{l.dir.Path() + L"b.txt|1|" + l.c->currentFolder()}));
  l.DoubleClick(l.ZoneX(l.b), l.RowY(l.b));  // in the mark zone: no open
  EXPECT_EQ(l.opened.size(), 1u);

  l.DoubleClick(l.NameX(setup), l.RowY(setup));
  EXPECT_EQ(l.opened.size(), 1u);
  ASSERT_FALSE(l.c.host.Messages().empty());
  EXPECT_EQ(l.c.host.Messages().back(),
            L"Sorry, you can't update Varnello while it is running.\r\n\r\nPlease shut Varnello down first.");

  l.DoubleClick(l.NameX(l.s1), l.RowY(l.s1));
  EXPECT_EQ(l.Events(L"PushedDownFolder"),
            (std::vector<std::wstring>{l.dir.Path() + L"sub1\\|" + l.dir.Path()}));
  EXPECT_FALSE(folder.empty());
}

TEST(PointerInput, RightClicksTellTheHostTheItemOrTheListing) {
  SmallListing l;
  const std::wstring d = l.dir.Path();
  l.RightClick(l.NameX(l.a), l.RowY(l.a));
  l.RightClick(l.NameX(l.s1), l.RowY(l.s1));
  EXPECT_EQ(l.Events(L"FBRightClick"),
            (std::vector<std::wstring>{L"2|" + d + L"a.txt\\|" + d + L"|" + d + L"a.txt|a.txt|item|1",
                                       L"2|" + d + L"sub1\\|" + d + L"|" + d + L"sub1\\|sub1|item|2"}));
  EXPECT_EQ(l.c->RightClickItem(), l.s1);
  EXPECT_EQ(l.c->View().HoverItem, l.s1);
  // The move that follows a right click is swallowed, so the hover stays on the clicked item.
  l.Move(l.NameX(l.a), l.RowY(l.a));
  EXPECT_EQ(l.c->View().HoverItem, l.s1);

  // Beside the items: the listing's own folder, once.
  l.c->ActiveFolder = d;
  const std::size_t from = l.c.host.Events.size();
  RECT r;
  GetClientRect(l.c->View().BoundBox.Handle(), &r);
  PostMessageW(l.c->View().BoundBox.Handle(), WM_RBUTTONUP, 0, MAKELPARAM(r.right / 2, r.bottom - 5));
  Pump();
  std::wstring folder = d.substr(0, d.size() - 1);
  EXPECT_EQ(l.Events(L"FBRightClick", from),
            (std::vector<std::wstring>{L"2|" + folder + L"|" + folder + L"|||current|2"}));
  EXPECT_EQ(l.c->RightClickItem(), -1);
}

TEST(PointerInput, ReleasesOnTheControlsBareMarginsReachTheListing) {
  SmallListing l;
  const std::wstring d = l.dir.Path();
  const std::wstring folder = d.substr(0, d.size() - 1);
  HWND surface = l.c->Window();
  // Two pixels in from the left and bottom edges: the margin outside every part.
  RECT r;
  GetClientRect(surface, &r);
  const POINT margin{2, r.bottom - 2};
  ASSERT_EQ(ChildWindowFromPointEx(surface, margin, CWP_SKIPINVISIBLE), surface);
  struct Case {
    const char* what;
    bool locked;
    UINT message;
    const wchar_t* event;
    std::vector<std::wstring> heard;
  } cases[] = {
      {"a right click there is one on the listing's own folder", false, WM_RBUTTONUP,
       L"FBRightClick", {L"2|" + folder + L"|" + folder + L"|||current|2"}},
      {"while the host holds the mouse it hears that it may let go", true, WM_LBUTTONUP,
       L"MouseLocked", {L"false"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    l.c->ActiveFolder = d;
    l.c->MouseLocked = c.locked;
    const std::size_t from = l.c.host.Events.size();
    PostMessageW(surface, c.message, 0, MAKELPARAM(margin.x, margin.y));
    Pump();
    EXPECT_EQ(l.Events(c.event, from), c.heard);
  }
  l.c->MouseLocked = false;
}

TEST(PointerInput, ListModeHitsTheItemOfTheColumnUnderThePointer) {
  Sited l(fbFileAndFolder, 220);
  for (int i = 0; i < 30; ++i) l.dir.File(L"file" + std::to_wstring(100 + i) + L".txt");
  l.Read();
  l.c->ChangeListMode(listNamesIconsSmall);
  l.c->ResizeControl(vertical);
  Pump();
  const ViewState& v = l.c->View();
  const std::int32_t rows = v.VisibleRows;
  ASSERT_GE(v.VisibleColumns, 2);
  ASSERT_LT(rows, 30);
  const std::int32_t target = rows + 2;  // second column, third row
  ASSERT_LE(target, v.LastVisible);
  l.Move(l.ZoneX(target), l.RowY(target));
  EXPECT_EQ(v.HoverItem, target);
  l.Click(l.ZoneX(target), l.RowY(target));
  EXPECT_EQ(l.Marked(), (std::vector<std::int32_t>{target}));
  l.Click(l.NameX(target + 1), l.RowY(target + 1));
  EXPECT_EQ(l.c->ActiveItem(), target + 1);
  // The end of a cell, where a long name ends, is its own item's, not the next column's.
  const auto cellRight = static_cast<float>(
      l.c->ListItems()[static_cast<std::size_t>(target - 1)].DrawRight);
  l.Click(cellRight - 60, l.RowY(target - 1));
  EXPECT_EQ(l.c->ActiveItem(), target - 1);

  // Past the last item of the last column: the listing's folder, exactly once.
  l.c->ActiveFolder = l.dir.Path();
  const std::int32_t last = l.c->LastShownItem();
  const float beyond = static_cast<float>(l.c->ListItems()[static_cast<std::size_t>(last)].DrawLeft +
                                          v.ColumnWidth + 200);
  if (last < v.LastVisible || beyond < static_cast<float>(v.BoundBoxRect.Width)) {
    l.RightClick(beyond, l.RowY(0));
    const auto clicks = l.Events(L"FBRightClick");
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_NE(clicks[0].find(L"|||current|2"), std::wstring::npos);
  }
}

TEST(PointerInput, DraggingFromTheZoneMarksARunAndScrollsOneRowPerMove) {
  Sited l(fbFileAndFolder, 220);
  for (int i = 0; i < 30; ++i) l.dir.File(L"file" + std::to_wstring(100 + i) + L".txt");
  l.Read();
  const ViewState& v = l.c->View();
  ASSERT_EQ(v.TopItem, 0);
  l.Move(l.ZoneX(1), l.RowY(1));
  l.Post(WM_LBUTTONDOWN, MK_LBUTTON, l.ZoneX(1), l.RowY(1));
  l.Move(l.ZoneX(3), l.RowY(3), MK_LBUTTON);
  EXPECT_EQ(l.Marked(), (std::vector<std::int32_t>{1, 2, 3}));
  // Below the box: one row per move, never more.
  const float below = static_cast<float>(v.FolderBoxScaleTop + v.FolderBoxRect.Height + 200);
  l.Move(l.ZoneX(3), below, MK_LBUTTON);
  EXPECT_EQ(v.TopItem, 1);
  l.Move(l.ZoneX(3), static_cast<float>(v.FolderBoxScaleTop + v.FolderBoxRect.Height + 200), MK_LBUTTON);
  EXPECT_EQ(v.TopItem, 2);
  const std::int32_t reached = l.Marked().back();
  EXPECT_GT(reached, 3);
  l.Post(WM_LBUTTONUP, 0, l.ZoneX(3), static_cast<float>(v.FolderBoxScaleTop + 200));
  Pump();
  EXPECT_EQ(l.c->ActiveItem(), -1);  // a marking press activates nothing
  std::vector<std::int32_t> run;
  for (std::int32_t i = 1; i <= reached; ++i) run.push_back(i);
  EXPECT_EQ(l.Marked(), run);
}

TEST(PointerInput, APlainDragRaisesDragStartWhenThePointerReachesAnotherItem) {
  SmallListing l;
  l.Post(WM_LBUTTONDOWN, MK_LBUTTON, l.NameX(l.a), l.RowY(l.a));
  l.Move(l.NameX(l.a), l.RowY(l.a), MK_LBUTTON);
  l.Move(l.NameX(l.a) + 30, l.RowY(l.a), MK_LBUTTON);
  EXPECT_TRUE(l.Events(L"DragStart").empty());
  l.Move(l.NameX(l.b), l.RowY(l.b), MK_LBUTTON);
  EXPECT_EQ(l.Events(L"DragStart").size(), 1u);
  // The drag's item is marked before the host hears of the drag.
  EXPECT_EQ(l.Marked(), (std::vector<std::int32_t>{l.a}));
}

struct SmallTree : Sited {
  SmallTree() : Sited(fbFolder) {
    dir.Folder(L"Alpha\\One");
    dir.Folder(L"Alpha\\Two");
    dir.Folder(L"Beta");
    Read();
  }
  std::vector<std::wstring> Rows() const {
    std::vector<std::wstring> rows;
    for (std::int32_t i = 0; i < c->ItemCount(); ++i)
      rows.push_back(c->ListItems()[static_cast<std::size_t>(i)].Name);
    return rows;
  }
};

TEST(PointerInput, TreeClicksNeverMarkTheRootActivateAndExpand) {
  SmallTree t;
  ASSERT_EQ(t.Rows().size(), 3u);
  for (WPARAM keys : {WPARAM{0}, WPARAM{MK_CONTROL}, WPARAM{MK_SHIFT}}) {
    t.Move(t.ZoneX(0), t.RowY(0));
    t.Click(t.ZoneX(0), t.RowY(0), keys);
    EXPECT_TRUE(t.Marked().empty()) << keys;
  }
  EXPECT_EQ(t.c->Pointer().ShiftRangeStart, -1);

  const std::int32_t beta = t.Index(L"Beta");
  t.Click(t.NameX(beta), t.RowY(beta));
  EXPECT_EQ(t.c->ActiveItem(), beta);
  EXPECT_TRUE(tk::SameText(t.c->currentFolder(), t.dir.Path() + L"Beta"));
  EXPECT_EQ(t.Events(L"Click").size(), 1u);

  // A double click on a folder's name opens it (its first click made it active).
  const std::int32_t alpha = t.Index(L"Alpha");
  t.DoubleClick(t.NameX(alpha), t.RowY(alpha));
  EXPECT_EQ(t.Rows(), (std::vector<std::wstring>{t.c->ListItems()[0].Name, L"Alpha", L"One", L"Two", L"Beta"}));
  EXPECT_EQ(t.Events(L"Click").size(), 2u);
  // Its expander closes it again, without a new activation.
  t.Click(t.ExpanderX(alpha), t.RowY(alpha));
  EXPECT_EQ(t.Rows().size(), 3u);
  EXPECT_EQ(t.Events(L"Click").size(), 2u);
}

TEST(PointerInput, DraggingOverATreeParentAndItsChildrenKeepsOnlyTheParent) {
  SmallTree t;
  t.c->ExpandFolder(t.dir.Path() + L"Alpha", Expand);
  Pump();
  const std::int32_t alpha = t.Index(L"Alpha"), two = t.Index(L"Two");
  ASSERT_EQ(two, alpha + 2);
  t.Move(t.ZoneX(alpha), t.RowY(alpha));
  t.Post(WM_LBUTTONDOWN, MK_LBUTTON, t.ZoneX(alpha), t.RowY(alpha));
  t.Move(t.ZoneX(two), t.RowY(two), MK_LBUTTON);
  EXPECT_EQ(t.Marked(), (std::vector<std::int32_t>{alpha, alpha + 1, two}));
  t.Post(WM_LBUTTONUP, 0, t.ZoneX(two), t.RowY(two));
  Pump();
  EXPECT_EQ(t.Marked(), (std::vector<std::int32_t>{alpha}));

  // Clicking the children one by one leaves the children and drops the parent.
  t.Move(t.ZoneX(alpha + 1), t.RowY(alpha + 1));
  t.Click(t.ZoneX(alpha + 1), t.RowY(alpha + 1));
  EXPECT_EQ(t.Marked(), (std::vector<std::int32_t>{alpha + 1}));
}

TEST(PointerInput, ActivationByNameLeavesTheCallersTextAndIgnoresUnknownPaths) {
  SmallTree t;
  std::wstring name = t.dir.Path() + L"Beta\\";
  const std::wstring given = name;
  EXPECT_EQ(t.c->GetItemNumFromName(name), t.Index(L"Beta"));
  EXPECT_EQ(name, given);
  EXPECT_EQ(t.c->GetItemNumFromName(L"c:\\"), 0);
  const std::int32_t before = t.c->ActiveItem();
  t.c->MakeItemActive(0, t.dir.Path() + L"Nowhere");
  EXPECT_EQ(t.c->ActiveItem(), before);
  t.c->MakeItemActive(0, name);
  EXPECT_EQ(t.c->ActiveItem(), t.Index(L"Beta"));
}

TEST(PointerInput, MarksFollowTheirPathsAcrossARefresh) {
  SmallListing l;
  ASSERT_TRUE(l.c->AddArrowToItem(l.b, 1));
  // A new file sorts in front: the mark stays with b.txt, not with its old row.
  l.dir.File(L"a0.txt");
  l.c->RefreshList();
  Pump();
  ASSERT_EQ(l.c->ItemCount(), 6);
  EXPECT_EQ(l.Marked(), (std::vector<std::int32_t>{l.Index(L"b.txt")}));
  EXPECT_NE(l.Index(L"b.txt"), l.b);

  l.c->SelectAll(L"all");
  l.c->SelectAll(L"none");
  l.c->RefreshList();
  EXPECT_TRUE(l.Marked().empty());
  EXPECT_EQ(l.c->GetFileSpecs(), L"");
}

TEST(PointerInput, PointersShowWhatAPressWouldDo) {
  SmallTree t;
  const auto& cursors = t.c->View().Cursors;
  const std::int32_t alpha = t.Index(L"Alpha");
  struct Case {
    const char* what;
    float x;
    int cursor;  // curselect, curselectshift, ..., curexpand, curdefault
  } cases[] = {
      {"the expander", t.ExpanderX(alpha), 4},
      {"the mark zone of a folder", t.ZoneX(alpha), 0},
      {"the name", t.NameX(alpha), 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    t.Move(c.x, t.RowY(alpha));
    ASSERT_NE(cursors[static_cast<std::size_t>(c.cursor)], nullptr);
    EXPECT_EQ(t.c->Pointer().Cursor, cursors[static_cast<std::size_t>(c.cursor)]);
  }
  // The second click of a Shift range shows the range pointer.
  t.Click(t.NameX(alpha), t.RowY(alpha), MK_SHIFT);
  t.Click(t.NameX(alpha + 1), t.RowY(alpha + 1), MK_SHIFT);
  EXPECT_EQ(t.c->Pointer().Cursor, cursors[1]);
}

TEST(PointerInput, WhileTheHostHoldsTheMouseAReleaseOnlyAsksToUnlock) {
  SmallListing l;
  l.c->MouseLocked = true;
  l.Move(l.ZoneX(l.a), l.RowY(l.a));
  l.Click(l.ZoneX(l.a), l.RowY(l.a));
  l.RightClick(l.NameX(l.b), l.RowY(l.b));
  EXPECT_TRUE(l.Marked().empty());
  EXPECT_TRUE(l.Events(L"FBRightClick").empty());
  EXPECT_TRUE(l.Events(L"SetLockedIndex").empty());
  EXPECT_EQ(l.Events(L"MouseLocked"), (std::vector<std::wstring>{L"false", L"false"}));
  EXPECT_EQ(l.c->View().HoverItem, l.a);  // moves still follow the pointer
}

TEST(PointerInput, TheWheelScrollsOneRowAndTheHoverKeepsItsRow) {
  Sited l(fbFileAndFolder, 220);
  for (int i = 0; i < 30; ++i) l.dir.File(L"file" + std::to_wstring(100 + i) + L".txt");
  l.Read();
  const ViewState& v = l.c->View();
  l.Move(l.NameX(2), l.RowY(2));
  ASSERT_EQ(v.HoverItem, 2);
  l.c->MimimMouseScroll(true);  // at the top already
  EXPECT_EQ(v.TopItem, 0);
  l.c->MimimMouseScroll(false);
  l.c->MimimMouseScroll(false);
  EXPECT_EQ(v.TopItem, 2);
  EXPECT_EQ(v.HoverItem, 4);
  l.c->MimimMouseScroll(true);
  EXPECT_EQ(v.HoverItem, 3);
}

TEST(PointerInput, APressOnAnyPartOfThePaneMakesItTheClickedOne) {
  SmallListing l;
  const ViewState& v = l.c->View();
  struct Case {
    const char* what;
    HWND target;
    UINT message;
  } cases[] = {
      {"the status line", v.lblStatus.Handle(), WM_LBUTTONDOWN},
      {"beside the items", v.BoundBox.Handle(), WM_RBUTTONDOWN},
      {"the listing", v.FolderBox.Handle(), WM_LBUTTONDOWN},
      {"the horizontal bar's focus", v.HScroll1.Handle(), WM_SETFOCUS},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::size_t from = l.c.host.Events.size();
    SendMessageW(c.target, c.message, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(l.Events(L"SetLockedIndex", from).size(), 1u);
  }
}

}  // namespace
