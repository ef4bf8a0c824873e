// The listing's heading strip: where its buttons sit for a scroll offset, what clicks, double
// clicks and drags of a button's edge do to the headings, the headings menu, and what the strip
// shows on screen. The buttons are driven by mouse messages to their own windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "ScreenPixels.h"
#include "listing/view/HeadingStrip.h"
#include "listing/view/ViewState.h"
#include "support/ControlFixture.h"
#include "support/HostWindow.h"
#include "support/TempFolder.h"
#include "toolkit/EventLoop.h"
#include "toolkit/MousePointer.h"
#include "toolkit/PopupMenu.h"
#include "toolkit/Window.h"
#include "zenlo/button_headings.h"

using namespace zenlo;
using testsupport::ControlHolder;
using testsupport::RealMouseAt;
using testsupport::TempFolder;

namespace {

constexpr int kTpp = 15;  // twips per pixel at 96 DPI
constexpr int kY = 8;      // a row inside the button's top and bottom margins

enum class Act { Move, Down, Up, DoubleClick };
struct Step {
  Act act;
  int x;  // pixels in the button
  WPARAM keys = 0;
};

// Sends the steps; unless told to hold on, the button then lets go of the pointer.
void Play(HWND button, const std::vector<Step>& steps, bool letGo = true) {
  for (const Step& s : steps) {
    const LPARAM at = MAKELPARAM(static_cast<short>(s.x), static_cast<short>(kY));
    switch (s.act) {
      case Act::Move:
        SendMessageW(button, WM_MOUSEMOVE, s.keys, at);
        break;
      case Act::Down:
        SendMessageW(button, WM_LBUTTONDOWN, s.keys | MK_LBUTTON, at);
        break;
      case Act::Up:
        SendMessageW(button, WM_LBUTTONUP, s.keys, at);
        break;
      case Act::DoubleClick:
        SendMessageW(button, WM_LBUTTONDBLCLK, s.keys | MK_LBUTTON, at);
        break;
    }
  }
  if (!letGo) return;
  if (GetCapture() == button) ReleaseCapture();
  tk::SetScreenMousePointer(tk::PointerDefault);
}

RECT RectIn(HWND w, HWND parent) {
  RECT r;
  GetWindowRect(w, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

int WidthPx(HWND w) {
  const RECT r = RectIn(w, GetParent(w));
  return r.right - r.left;
}

// A click on the caption, then the double click; Shift or Ctrl ride along in `keys`.
std::vector<Step> DoubleClickAt(int x, WPARAM keys = 0) {
  return {{Act::Move, x},        {Act::Down, x, keys}, {Act::Up, x, keys},
          {Act::DoubleClick, x, keys}, {Act::Up, x, keys}};
}

// Onto the caption, onto the right edge, press, travel `moves` pixels from there, release.
std::vector<Step> EdgeDrag(HWND button, std::vector<int> moves) {
  const int w = WidthPx(button), edge = w - 2;
  std::vector<Step> steps = {{Act::Move, w / 2}, {Act::Move, edge}, {Act::Down, edge}};
  for (int m : moves) steps.push_back({Act::Move, edge + m});
  steps.push_back({Act::Up, edge + (moves.empty() ? 0 : moves.back())});
  return steps;
}

// A listing of a few items sited in a window `widthPx` wide; its heading colours are apart.
struct SitedStrip {
  TempFolder dir;
  testsupport::HostWindow host{940, 520};
  ControlHolder c{fbFileAndFolder};

  explicit SitedStrip(int widthPx = 600, bool withItems = true) {
    if (withItems) {
      dir.Folder(L"sub");
      dir.File(L"alpha.txt", 10);
      dir.File(L"a rather longer file name than the others.txt", 123456);
    }
    c->ApplyProperty(L"ColorActiveHeading", std::int32_t{RGB(255, 255, 255)});
    c->ApplyProperty(L"ColorInactiveHeading", std::int32_t{RGB(220, 220, 220)});
    EXPECT_TRUE(c->CreateFrame(host.Handle()));
    c->LoadSetup();
    MoveWindow(c->Window(), 0, 0, widthPx, 400, TRUE);
    EXPECT_TRUE(c->GetFolderContents(dir.Path(), true));
    c->ResizeControl(vertical);
  }
  button_headings& B(int i) { return *c->Strip().Button(i); }
  HWND W(int i) { return B(i).Window(); }
  TypeHeading& Slot(int slot) { return c->View().Headings.Headings[static_cast<std::size_t>(slot)]; }
  // Scrolls the details view as the bar would.
  void Scroll(std::int32_t twips) {
    c->View().HScroll1.SetRange(0, 20000);
    c->View().HScroll1.SetValue(twips);
  }
};

// ---------------------------------------------------------------------------------------------
// Placement

TEST(HeadingStrip, ButtonsArePlacedFromTheColumnsTheScrollAndTheOutline) {
  // Default columns in the control's twips: colour 90-285 (button 0), name 285-4290 (1),
  // modified 4290-5790 (4), size 5790-7785 (3), ext 7785-8280 (2), file type 8280-10785 (9),
  // filler 10785-20000 (10). The outline runs from 90 to 90 + W - 180.
  struct Case {
    const char* name;
    int widthPx;
    std::int32_t scroll;
    bool listMode;
    int button;
    bool shown;
    std::int32_t left, width;  // twips, in the control
    bool canResize;
  };
  const Case cases[] = {
      {"inside the listing", 600, 0, false, 0, true, 105, 180, true},
      {"cut by the right edge", 600, 0, false, 9, true, 8295, 600, false},
      {"starting past the right edge", 600, 0, false, 10, false, 0, 0, false},
      {"wholly left of the visible area", 600, 1995, false, 0, false, 0, 0, false},
      {"scrolled past its start", 600, 1995, false, 1, true, 105, 2190, true},
      {"inside after the scroll", 600, 1995, false, 4, true, 2310, 1485, true},
      {"the filler cut by the right edge after the scroll", 600, 1995, false, 10, true, 8805, 90,
       false},
      {"scrolled past its start and cut by the right edge", 200, 600, false, 1, true, 105, 2790,
       false},
      {"list mode ignores the scroll", 600, 1995, true, 4, true, 4305, 1485, true},
      {"list mode ignores the scroll, cut at the edge", 600, 1995, true, 9, true, 8295, 600,
       false},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    SitedStrip s(k.widthPx);
    ASSERT_EQ(s.c->View().shpOutline.Left, 90);
    s.Scroll(k.scroll);
    if (k.listMode) {
      s.c->ListMode = listNamesIconsSmall;
      s.c->DrawHeadingTitles();
    }
    HWND w = s.W(k.button);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(IsWindowVisible(w) != FALSE, k.shown);
    if (!k.shown) continue;
    const RECT r = RectIn(w, s.c->Window());
    EXPECT_EQ(r.left * kTpp, k.left);
    EXPECT_EQ((r.right - r.left) * kTpp, k.width);
    EXPECT_EQ(r.top * kTpp, s.c->View().Toolbar1Rect.Top + s.c->View().Toolbar1Rect.Height);
    EXPECT_EQ(s.B(k.button).CanBeResized, k.canResize);
    for (const TypeHeading& h : s.c->View().Headings.Headings)
      if (h.Index == k.button) {
        EXPECT_EQ(s.B(k.button).Caption(), h.Caption);
      }
  }
}

TEST(HeadingStrip, ButtonsAreMadeOnFirstNeedAndHiddenWithTheirColumnOrWithoutRoom) {
  SitedStrip s;
  ViewState& v = s.c->View();
  for (int i : {5, 6, 7, 8}) EXPECT_FALSE(s.c->Strip().Loaded(i)) << i;  // hidden columns
  EXPECT_TRUE(IsWindowVisible(s.W(3)));
  s.c->ModifyHeadings(L"mnuHeadingSize");
  EXPECT_FALSE(IsWindowVisible(s.W(3)));
  // The columns right of it moved left by its width.
  EXPECT_EQ(RectIn(s.W(2), s.c->Window()).left * kTpp, 5790 + kTpp);

  MoveWindow(s.c->Window(), 0, 0, 600, 40, TRUE);
  s.c->ResizeControl(vertical);
  ASSERT_TRUE(v.NoRoom);
  for (int i = 0; i < HeadingStrip::kButtons; ++i)
    if (s.c->Strip().Loaded(i)) {
      EXPECT_FALSE(IsWindowVisible(s.W(i))) << i;
    }
  MoveWindow(s.c->Window(), 0, 0, 600, 400, TRUE);
  s.c->ResizeControl(vertical);
  EXPECT_TRUE(IsWindowVisible(s.W(1)));
  EXPECT_EQ(v.HeadingHeight, HeadingStrip::kButtonHeight);  // the strip is as high as button 1
}

// ---------------------------------------------------------------------------------------------
// Selecting and sorting

TEST(HeadingStrip, TheHostMayLetGoOfTheControlWhenItHearsOfTheSelectedButton) {
  struct LettingGo : testsupport::FakeHost {
    ZenloFileControl* control = nullptr;
    void SetActiveButton(short& b) override {
      FakeHost::SetActiveButton(b);
      if (control) control->Release();
      control = nullptr;
    }
  };
  testsupport::HostWindow host(700, 400);
  LettingGo sink;
  ZenloFileControl* c = ZenloFileControl::Create();
  sink.control = c;
  c->AttachEvents(&sink);
  c->Initialize();
  c->ltFolderListType = fbFileAndFolder;
  ASSERT_TRUE(c->CreateFrame(host.Handle()));
  c->LoadSetup();
  MoveWindow(c->Window(), 0, 0, 600, 300, TRUE);
  c->ResizeControl(vertical);
  HWND w = c->Strip().Button(3)->Window();
  Play(w, {{Act::Move, 40}, {Act::Down, 40}, {Act::Up, 40}});
  EXPECT_EQ(sink.control, nullptr);
  EXPECT_EQ(sink.Count(L"SetActiveButton"), 1);
  EXPECT_FALSE(IsWindow(w));  // the strip went with the control
}

TEST(HeadingStrip, AClickSelectsTheHeadingHighlightsItsButtonAndTellsTheHost) {
  SitedStrip s;
  HeadingsTable& t = s.c->View().Headings;
  Play(s.W(3), {{Act::Move, 40}, {Act::Down, 40}, {Act::Up, 40}});  // "Size", in slot 3
  EXPECT_EQ(t.ActiveButtonIndex, 3);
  EXPECT_EQ(t.ActiveHeadingIndex, 3);
  EXPECT_EQ(t.LeftHeading, 2);
  EXPECT_EQ(t.RightHeading, 4);
  EXPECT_EQ(s.B(3).FaceColour(), RGB(255, 255, 255));
  EXPECT_EQ(s.B(1).FaceColour(), RGB(220, 220, 220));
  auto lastActiveButton = [&] {
    std::wstring last;
    for (const auto& e : s.c.host.Events)
      if (e.Name == L"SetActiveButton") last = e.Text;
    return last;
  };
  EXPECT_EQ(s.c.host.Count(L"SetActiveButton"), 1);
  EXPECT_EQ(lastActiveButton(), L"3");

  // The filler is no heading to select.
  Play(s.W(10), {{Act::Move, 40}, {Act::Down, 40}, {Act::Up, 40}});
  EXPECT_EQ(t.ActiveButtonIndex, 3);
  EXPECT_EQ(s.c.host.Count(L"SetActiveButton"), 1);

  // A heading moved by the host's command stays highlighted where it lands.
  s.c->ShiftHeading(L"headright");
  EXPECT_EQ(t.ActiveHeadingIndex, 4);
  EXPECT_EQ(s.c.host.Count(L"SetActiveButton"), 2);
  EXPECT_EQ(lastActiveButton(), L"3");

  // A skin's heading colours reach the buttons; the skin change re-colours them.
  s.c->ApplyProperty(L"ColorActiveHeading", std::int32_t{RGB(10, 200, 10)});
  EXPECT_EQ(s.B(3).ColorActiveHeading(), RGB(10, 200, 10));
  s.c->ApplySkinChange();
  EXPECT_EQ(s.B(3).FaceColour(), RGB(10, 200, 10));
}

// Stands in for the control: keeps the direction word as a sort leaves it (the order of its
// last level) and records each sort with the heading it was for.
struct RecordingOwner : HeadingStrip::Owner {
  ViewState* view = nullptr;
  std::wstring direction = L"asc";
  std::vector<std::wstring> sorts;
  std::vector<std::int16_t> activeButtons;
  void Guarded(const std::function<void()>& handler) override { handler(); }
  bool Closing() const override { return false; }
  void Message(const std::wstring&) override {}
  void SetActiveButton(std::int16_t index) override { activeButtons.push_back(index); }
  void SetMasterMousePointer(std::int16_t) override {}
  std::wstring& SortDirection() override { return direction; }
  void DoSorting(const std::wstring& d) override {
    const HeadingsTable& t = view->Headings;
    sorts.push_back(d + L" " + t.Headings[static_cast<std::size_t>(t.ActiveHeadingIndex)].Key);
    direction = d.substr(0, 3);
  }
  void RedrawListing() override {}
  bool ColumnsScroll() const override { return true; }
};

TEST(HeadingStrip, ADoubleClickSortsOppositeToTheLastSortAndShiftAddsALevel) {
  testsupport::HostWindow host(900, 200);
  ViewState view;
  RecordingOwner owner;
  owner.view = &view;
  view.Headings.SetDefaults(false);
  view.Headings.CalculatePositions(90);
  view.shpOutline = {90, 0, 12000, 3000, true};
  HeadingStrip strip(view, owner);
  strip.SetParent(host.Handle());
  strip.ShowColumns();
  strip.DrawTitles();
  auto dbl = [&](int button, WPARAM keys = 0) {
    Play(strip.Button(button)->Window(), DoubleClickAt(40, keys));
  };
  dbl(3);               // "Size" after a sort by name ascending
  dbl(3);               // again
  dbl(4, MK_SHIFT);     // Shift on "Modified": a further level
  dbl(10);              // the filler sorts nothing
  dbl(0);               // the colour heading is selected, then sorted
  EXPECT_EQ(owner.sorts, (std::vector<std::wstring>{L"des sSize", L"asc sSize",
                                                    L"desadd sDateLastModified",
                                                    L"asc sColor"}));
  EXPECT_EQ(owner.activeButtons.back(), 0);
}

// The same presses on a real listing: the sort levels, the listed order and the marks follow.
TEST(HeadingStrip, DoubleClicksOnARealListingSortItAndMarkTheLevels) {
  SitedStrip s;
  auto slot = [&](std::int16_t i) {
    std::wstring key, order;
    s.c->GetSortOrder(i, key, order);
    return key + L" " + order;
  };
  auto files = [&] {
    std::vector<std::wstring> names;
    for (std::int32_t i = 0; i <= s.c->LastShownItem(); ++i) {
      const TypeListItem& item = s.c->ListItems()[static_cast<std::size_t>(i)];
      if (item.ItemType == sFile) names.push_back(item.Name);
    }
    return names;
  };
  const std::wstring longName = L"a rather longer file name than the others.txt";

  Play(s.W(3), DoubleClickAt(40));  // "Size" after the first sort by name ascending
  EXPECT_EQ(slot(0), L"sSize des");
  EXPECT_EQ(s.c->GetNumberOfSorts(), 1);
  EXPECT_EQ(files(), (std::vector<std::wstring>{longName, L"alpha.txt"}));
  EXPECT_EQ(s.c->View().SortMarks[3].Order, L"des");

  Play(s.W(3), DoubleClickAt(40));
  EXPECT_EQ(slot(0), L"sSize asc");
  EXPECT_EQ(files(), (std::vector<std::wstring>{L"alpha.txt", longName}));

  Play(s.W(4), DoubleClickAt(40, MK_SHIFT));  // a second level, opposite to the last sort
  EXPECT_EQ(slot(0), L"sSize asc");
  EXPECT_EQ(slot(1), L"sDateLastModified des");
  EXPECT_EQ(s.c->View().SortMarks[4].Order, L"des");
  EXPECT_EQ(s.c->View().SortMarks[4].Number, L"2");
  EXPECT_EQ(s.c->View().SortMarks[3].Number, L"");

  Play(s.W(1), DoubleClickAt(40));  // a plain double click leaves one level
  EXPECT_EQ(slot(0), L"sName asc");
  EXPECT_EQ(s.c->GetNumberOfSorts(), 1);
  EXPECT_EQ(s.c->View().SortMarks[4].Order, L"");
}

// ---------------------------------------------------------------------------------------------
// Resizing

TEST(HeadingStrip, DraggingAnEdgeResizesLiveAndStoresTheWidthOnRelease) {
  struct Case {
    const char* name;
    std::int32_t scroll;
    int button, slot;  // the dragged heading
    std::vector<int> moves;  // pixels from the edge
    std::int32_t width;      // the heading's stored width afterwards
    int follower;            // a button right of it, and where it is during the last move
    std::int32_t followerLeft;
  };
  const Case cases[] = {
      {"wider", 0, 3, 3, {10, 30}, 1995 + 450, 2, 7785 + 450},
      {"narrower", 0, 3, 3, {-100}, 1995 - 1500, 2, 7785 - 1500},
      // 300 twips or less is refused: the column keeps the last width above it.
      {"too narrow keeps the last width", 0, 3, 3, {-100, -112}, 1995 - 1500, 2, 7785 - 1500},
      {"a press and release without a move", 0, 3, 3, {}, 1995, 2, -1},
      // After a scroll the edge is hovered where the button now is.
      {"after a horizontal scroll", 1995, 4, 2, {20}, 1500 + 300, 3, 5790 + 300 - 1995},
      {"the cut name column after a scroll", 1995, 1, 1, {6}, 4005 + 90, 4, 4290 + 90 - 1995},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    SitedStrip s;
    s.Scroll(k.scroll);
    HWND w = s.W(k.button);
    std::int32_t followerLeft = -1;
    auto steps = EdgeDrag(w, k.moves);
    Play(w, {steps.begin(), steps.end() - 1}, false);  // up to the last move
    if (!k.moves.empty()) followerLeft = RectIn(s.W(k.follower), s.c->Window()).left * kTpp;
    Play(w, {steps.back()});
    EXPECT_EQ(s.Slot(k.slot).Width, k.width);
    if (k.followerLeft >= 0) {
      EXPECT_EQ(followerLeft, k.followerLeft);
    }
    // The hover's limits are the button's own coordinates, whatever the scroll.
    EXPECT_EQ(s.B(k.button).HoverMinX(), 50);
    EXPECT_EQ(s.B(k.button).HoverMaxX(),
              s.c->View().Width - RectIn(w, s.c->Window()).left * kTpp - 50);
    // Released: the table holds the new widths and the strip follows them.
    const TypeHeading& next = s.Slot(k.slot + 1);
    EXPECT_EQ(next.Left, s.Slot(k.slot).Left + k.width);
  }
}

void Settle() {
  tk::PumpUntil([] { return false; }, 150);
}

// Pixels of `area` in the control that differ between what it shows now and what it shows once
// everything in it painted afresh; the first of them is told.
::testing::AssertionResult ShowsWhatAFreshPaintShows(HWND control, RECT area) {
  testsupport::ScreenPixels shown(control);
  RedrawWindow(control, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  testsupport::ScreenPixels fresh(control);
  int stale = 0, firstX = -1, firstY = -1;
  for (int y = area.top; y < std::min<int>(area.bottom, shown.Height()); ++y)
    for (int x = area.left; x < std::min<int>(area.right, shown.Width()); ++x)
      if (shown.At(x, y) != fresh.At(x, y)) {
        if (firstX < 0) firstX = x, firstY = y;
        ++stale;
      }
  if (stale == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << stale << " stale pixels, the first at " << firstX << "," << firstY;
}

TEST(HeadingStrip, AfterAnEdgeDragTheStripShowsWhatAFreshPaintShows) {
  // The buttons right of the edge move at every step: nothing of where they were may stay on
  // the screen, in the strip or in the gaps between its buttons.
  struct Case {
    const char* name;
    std::vector<int> moves;
  } cases[] = {{"slow, right", {3, 6, 9, 12, 15, 18, 21, 24, 27, 30, 45, 60, 75, 90}},
               {"fast, right", {15, 30, 45, 60, 75, 90}},
               {"fast, left", {-10, -20, -30, -40}}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    SitedStrip s(800);
    HWND control = s.c->Window();
    { testsupport::ScreenPixels settle(control); }
    Play(s.W(1), EdgeDrag(s.W(1), k.moves));  // "Name"
    const RECT band{0, RectIn(s.W(1), control).top, 800, RectIn(s.W(1), control).bottom};
    EXPECT_TRUE(ShowsWhatAFreshPaintShows(control, band));
  }
}

// The listing box slides under the vertical bar as the details scroll sideways, and the buttons
// slide with the columns: neither the bar's pixels nor a button's may be left behind.
TEST(HeadingStrip, AfterASidewaysScrollTheListingShowsWhatAFreshPaintShows) {
  SitedStrip s(420, false);
  for (int i = 0; i < 40; ++i) s.dir.File(L"file" + std::to_wstring(i) + L".txt", 100 * i);
  ASSERT_TRUE(s.c->GetFolderContents(s.dir.Path(), true));
  s.c->ResizeControl(vertical);
  HWND control = s.c->Window();
  const HWND bar = s.c->View().HScroll1.Handle();
  ASSERT_TRUE(IsWindowVisible(s.c->View().VScroll1.Handle()));
  { testsupport::ScreenPixels settle(control); }
  // The bar's arrows, as clicks on them send it: right until "Name" is cut and gone, and back.
  int step = 0;
  for (const int code : {SB_LINERIGHT, SB_LINERIGHT, SB_LINERIGHT, SB_LINERIGHT, SB_LINERIGHT,
                         SB_LINELEFT, SB_LINELEFT, SB_LINELEFT, SB_LINELEFT, SB_LINELEFT}) {
    SCOPED_TRACE(testing::Message() << "step " << ++step);
    SendMessageW(control, WM_HSCROLL, MAKEWPARAM(code, 0), reinterpret_cast<LPARAM>(bar));
    SendMessageW(control, WM_HSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), reinterpret_cast<LPARAM>(bar));
    EXPECT_TRUE(ShowsWhatAFreshPaintShows(control, {0, 0, INT_MAX, INT_MAX}));
  }
}

// Real input: the pointer jumps onto the edge from outside the button and presses at once, so
// the button hears one move there, or none, before the press; the drag then leaves the button
// in one move.
TEST(HeadingStrip, AFastRealDragOfAnEdgeEndsTheColumnWhereThePointerIsReleased) {
  struct Case {
    const char* name;
    int dx, dy;  // pixels from the edge to the release
  };
  const Case cases[] = {
      {"right, past the listing", 150, 0},
      {"right and down into the listing", 60, 120},
      {"left, below the strip", -40, 40},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    SitedStrip s;
    SetForegroundWindow(s.host.Handle());
    HWND w = s.W(3);  // "Size"
    const std::int32_t before = s.Slot(3).Width;
    RECT r;
    GetWindowRect(w, &r);
    const POINT away{r.left, r.bottom + 150};  // over the listing, clear of the strip
    const POINT edge{r.right - 2, (r.top + r.bottom) / 2};
    const POINT end{edge.x + k.dx, edge.y + k.dy};
    SetCursorPos(away.x, away.y);
    Settle();
    // One move onto the edge and the press, queued together.
    INPUT onEdge[2] = {RealMouseAt(edge, 0), RealMouseAt(edge, MOUSEEVENTF_LEFTDOWN)};
    SendInput(2, onEdge, sizeof(INPUT));
    Settle();
    POINT pressedAt{}, releasedAt{};
    GetCursorPos(&pressedAt);
    INPUT drag = RealMouseAt(end, 0);
    SendInput(1, &drag, sizeof drag);
    Settle();
    INPUT up = RealMouseAt(end, MOUSEEVENTF_LEFTUP);
    SendInput(1, &up, sizeof up);
    Settle();
    GetCursorPos(&releasedAt);
    EXPECT_EQ(pressedAt.x, edge.x);
    EXPECT_EQ(releasedAt.x, end.x);
    EXPECT_EQ(s.Slot(3).Width, before + k.dx * kTpp);
    EXPECT_EQ(s.Slot(4).Left, s.Slot(3).Left + s.Slot(3).Width);
    EXPECT_NE(GetCapture(), w);
    EXPECT_EQ(s.B(3).ResizeState(), L"");
    SetCursorPos(away.x, away.y);
    Settle();
  }
}

TEST(HeadingStrip, ADoubleClickOnAnEdgeFitsTheColumnToItsContent) {
  struct Case {
    const char* name;
    bool items;
    WPARAM keys;
    bool ctrlWidth;  // the drawn width rather than the widest text
    bool fitted;
  };
  const Case cases[] = {
      {"to the widest text", true, 0, false, true},
      {"Ctrl: to the drawn width", true, MK_CONTROL, true, true},
      {"nothing measured keeps the width", false, 0, false, false},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    SitedStrip s(600, k.items);
    TypeHeading& name = s.Slot(1);
    const std::int32_t want = k.ctrlWidth ? name.DrawnWidth : name.MaxTextWidth;
    if (k.fitted) {
      ASSERT_NE(want, 4005);
    }
    HWND w = s.W(1);
    const int edge = WidthPx(w) - 2;
    Play(w, {{Act::Move, 40},
             {Act::Move, edge},
             {Act::Down, edge},
             {Act::Up, edge},
             {Act::DoubleClick, edge, k.keys},
             {Act::Up, edge, k.keys}});
    EXPECT_EQ(name.Width, k.fitted ? want : 4005);
    EXPECT_GT(name.Width, HeadingStrip::kMinimumWidth);
    EXPECT_EQ(WidthPx(w), tk::TwipsToPixels(name.Width - kTpp, kTpp));  // laid out again
  }
}

TEST(HeadingStrip, TheButtonsPointerWishesReachTheHostAndLosingTheFocusResetsTheCaption) {
  SitedStrip s;
  HWND w = s.W(3);
  const int before = s.c.host.Count(L"SetMasterMousePointer");
  // Hovered, then pressed away from the edge; the button keeps the pointer captured.
  for (UINT msg : {WM_MOUSEMOVE, WM_MOUSEMOVE, WM_LBUTTONDOWN})
    SendMessageW(w, msg, msg == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(60, kY));
  EXPECT_GT(s.c.host.Count(L"SetMasterMousePointer"), before);
  EXPECT_EQ(GetFocus(), w);  // pressed, the button holds the focus
  ViewState& v = s.c->View();
  EXPECT_EQ(s.B(3).CaptionColour(), v.Skin.HeadingHoverText);  // still hovered
  SetFocus(s.c->View().FolderBox.Handle());
  EXPECT_EQ(s.B(3).CaptionColour(), v.Skin.InactiveHeadingText);
  ReleaseCapture();
}

// ---------------------------------------------------------------------------------------------
// The headings menu

TEST(HeadingStrip, TheHeadingsMenuShowsAndHidesAColumnWithItsButtonAndCheck) {
  SitedStrip s(800);
  HMENU shown = nullptr;
  POINT at{};
  std::vector<std::wstring> captions;
  tk::SetPopupMenuSeam([&](const tk::PopupMenuRequest& r) -> UINT {
    shown = r.Menu;
    at = r.ScreenPoint;
    captions.clear();
    UINT comments = 0;
    for (int i = 0; i < GetMenuItemCount(r.Menu); ++i) {
      wchar_t text[64] = L"";
      GetMenuStringW(r.Menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
      captions.push_back(text);
      if (captions.back() == L"Comments") comments = GetMenuItemID(r.Menu, i);
    }
    return comments;
  });
  // A click on the toolbar's "headings" button.
  HWND toolbar = s.c->View().Toolbar1.Handle();
  const RECT face = s.c->View().Toolbar1.ButtonRect(L"headings");
  const LPARAM onFace = MAKELPARAM(face.left + 4, (face.top + face.bottom) / 2);
  SendMessageW(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, onFace);
  SendMessageW(toolbar, WM_LBUTTONUP, 0, onFace);
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(captions, (std::vector<std::wstring>{L"Extension", L"Size", L"Date - Last Modified",
                                                 L"Date - Created", L"Date - Last Accessed",
                                                 L"File Type", L"Attributes", L"Comments"}));
  // Under the "headings" button, two pixels in from its left.
  POINT expected{face.left + 2, face.bottom};
  ClientToScreen(s.c->View().Toolbar1.Handle(), &expected);
  EXPECT_EQ(at.x, expected.x);
  EXPECT_EQ(at.y, expected.y);
  EXPECT_TRUE(s.c->HeadingsMenuChecked(L"mnuHeadingComments"));
  ASSERT_TRUE(s.c->Strip().Loaded(8));
  EXPECT_TRUE(IsWindowVisible(s.W(8)));
  EXPECT_EQ(s.B(8).Caption(), L"Comments");
  EXPECT_EQ(s.c.host.Count(L"UpdateMasterHeadings"), 1);

  // Its drop-down arrow shows the same menu.
  shown = nullptr;
  const LPARAM onArrow = MAKELPARAM(face.right - 3, (face.top + face.bottom) / 2);
  SendMessageW(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, onArrow);
  SendMessageW(toolbar, WM_LBUTTONUP, 0, onArrow);
  tk::SetPopupMenuSeam(nullptr);
  EXPECT_NE(shown, nullptr);
  EXPECT_FALSE(s.c->HeadingsMenuChecked(L"mnuHeadingComments"));
  EXPECT_FALSE(IsWindowVisible(s.W(8)));
}

// ---------------------------------------------------------------------------------------------
// On screen

bool Dark(COLORREF p) { return GetRValue(p) < 110 && GetGValue(p) < 110 && GetBValue(p) < 110; }

// Dark pixels of the control's screen in a box, in pixels.
int DarkIn(const testsupport::ScreenPixels& screen, int x0, int x1, int y0, int y1) {
  int n = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x)
      if (Dark(screen.At(x, y))) ++n;
  return n;
}

TEST(HeadingStrip, TheStripShowsCaptionsAndSortMarksWithTheirLevels) {
  SitedStrip s(800);
  ViewState& v = s.c->View();
  v.SortMarks[1] = {L"asc", L""};
  v.SortMarks[3] = {L"des", L"2"};
  v.SortMarks[8] = {L"asc", L"3"};  // a column not shown yet
  s.c->Strip().ShowSortMarks();
  EXPECT_EQ(s.B(1).SortArrow(), L"ASC");
  EXPECT_EQ(s.B(3).SortNumber(), L"2");
  EXPECT_EQ(s.B(4).SortArrow(), L"");
  s.c->ModifyHeadings(L"mnuHeadingComments");
  EXPECT_EQ(s.B(8).SortArrow(), L"ASC");  // a button made later takes its mark
  EXPECT_EQ(s.B(8).SortNumber(), L"3");

  testsupport::ScreenPixels screen(s.c->Window());
  auto box = [&](int button) { return RectIn(s.W(button), s.c->Window()); };
  const RECT name = box(1), size = box(3), modified = box(4);
  // Captions: ink in the middle of each button.
  for (const RECT& r : {name, size, modified})
    EXPECT_GT(DarkIn(screen, r.left + 20, r.right - 20, r.top + 2, r.bottom - 2), 10);
  // Marks: the arrow left of the caption (x 3-11), the level number after it (x 12-20).
  EXPECT_GT(DarkIn(screen, name.left + 3, name.left + 12, name.top + 2, name.bottom - 2), 8);
  EXPECT_EQ(DarkIn(screen, name.left + 12, name.left + 20, name.top + 2, name.bottom - 2), 0);
  EXPECT_GT(DarkIn(screen, size.left + 3, size.left + 12, size.top + 2, size.bottom - 2), 8);
  EXPECT_GT(DarkIn(screen, size.left + 12, size.left + 20, size.top + 2, size.bottom - 2), 2);
  EXPECT_EQ(DarkIn(screen, modified.left + 3, modified.left + 20, modified.top + 2,
                   modified.bottom - 2),
            0);
  EXPECT_TRUE(testsupport::SaveWindowPicture(s.host.Handle(),
                                             testsupport::ScreenshotPath(L"heading-strip.bmp")));
}

}  // namespace
