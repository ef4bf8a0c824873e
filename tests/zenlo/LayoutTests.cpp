// Placing the control's parts from its size, and the listing geometry and scroll ranges that
// follow from the listing box's size and the item counts.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "ScreenPixels.h"
#include "listing/view/HeadingStrip.h"
#include "listing/view/ViewState.h"
#include "zenlo/button_headings.h"
#include "support/ControlFixture.h"
#include "support/HostWindow.h"
#include "support/TempFolder.h"
#include "toolkit/EventLoop.h"
#include "toolkit/Window.h"

using namespace zenlo;
using testsupport::ControlHolder;
using testsupport::TempFolder;

namespace {

struct Box {
  std::int32_t Left, Top, Width, Height;
};

void ExpectBox(const PartRect& actual, Box expected, const char* part) {
  EXPECT_EQ(actual.Left, expected.Left) << part << " left";
  EXPECT_EQ(actual.Top, expected.Top) << part << " top";
  EXPECT_EQ(actual.Width, expected.Width) << part << " width";
  EXPECT_EQ(actual.Height, expected.Height) << part << " height";
}

bool SameRect(const PartRect& a, const PartRect& b) {
  return a.Left == b.Left && a.Top == b.Top && a.Width == b.Width && a.Height == b.Height &&
         a.Visible == b.Visible;
}

// Every placed part of the view, by name, for comparing two placements.
std::vector<std::pair<const char*, PartRect>> Parts(const ViewState& v) {
  return {{"Toolbar1", v.Toolbar1Rect},
          {"ZFCombo1", v.ZFCombo1},
          {"cboFilter", v.cboFilterRect},
          {"BoundBox", v.BoundBoxRect},
          {"FolderBox", v.FolderBoxRect},
          {"VScroll1", v.VScroll1Rect},
          {"HScroll1", v.HScroll1Rect},
          {"lblStatus", v.lblStatusRect},
          {"shpOutline", v.shpOutline},
          {"shpButBack", v.shpButBack},
          {"shpBackground", v.shpBackground},
          {"shpUserControlBackground", v.shpUserControlBackground}};
}

void Place(ZenloFileControl& c, std::int32_t width, std::int32_t height) {
  c.View().Width = width;
  c.View().Height = height;
  c.PlaceControls();
}

// ---------------------------------------------------------------------------------------------
// Layout

TEST(Layout, PartsWithRoomFollowTheLayoutTable) {
  struct Case {
    ListType type;
    std::int32_t W, H;
  } cases[] = {
      {fbFolder, 9000, 6000},
      {fbFolder, 4000, 3000},
      {fbFileAndFolder, 9000, 6000},
      {fbFileAndFolder, 4000, 3000},
      {fbFile, 5000, 4500},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << "type " << k.type << ", " << k.W << " x " << k.H);
    ControlHolder c(k.type);
    ViewState& v = c->View();
    const std::int32_t G = v.EdgeGap, P = tk::TwipsPerPixelX();
    ASSERT_EQ(G, 105);
    ASSERT_EQ(P, 15);
    // Everything starts hidden so that the placement has to show it.
    for (PartRect* p : {&v.Toolbar1Rect, &v.BoundBoxRect, &v.lblStatusRect, &v.shpButBack,
                        &v.shpBackground, &v.shpUserControlBackground})
      p->Visible = false;
    v.CalculateButtonRight = 2400;
    const std::int32_t toolbarLeft = v.Toolbar1Rect.Left;
    Place(*c, k.W, k.H);

    const std::int32_t Tb = v.Toolbar1Rect.Height, Hh = v.HeadingHeight, Sh = v.HScroll1Rect.Height,
                       Vw = v.VScroll1Rect.Width, W = k.W, H = k.H;
    const bool tree = k.type == fbFolder;
    const std::int32_t toolbarTop = tree ? G + 270 : G;
    const std::int32_t T = toolbarTop + Tb + Hh;
    const std::int32_t L = H - 225 - G + P - T - Sh;

    EXPECT_FALSE(v.NoRoom);
    EXPECT_TRUE(v.DoDrawing);
    EXPECT_EQ(v.Toolbar1Rect.Top, toolbarTop);
    EXPECT_EQ(v.Toolbar1Rect.Width, W - 2 * G);
    EXPECT_EQ(v.Toolbar1Rect.Left, toolbarLeft);  // left is not placed here
    if (tree) {
      ExpectBox(v.ZFCombo1, {G, G, W - 2 * G, 260}, "ZFCombo1");
      EXPECT_TRUE(v.ZFCombo1.Visible);
      EXPECT_FALSE(v.cboFilterRect.Visible);
    } else {
      EXPECT_EQ(v.cboFilterRect.Left, 2400 + 130);
      EXPECT_EQ(v.cboFilterRect.Top, G + 50);
      EXPECT_TRUE(v.cboFilterRect.Visible);
      EXPECT_FALSE(v.ZFCombo1.Visible);
    }
    ExpectBox(v.BoundBoxRect, {G, T, W - 2 * G - Vw + 90, L + 30}, "BoundBox");
    EXPECT_EQ(v.FolderBoxRect.Height, L + 30);
    ExpectBox(v.VScroll1Rect, {W - G - Vw + 30 - 2 * P, T, Vw, L + 25}, "VScroll1");
    ExpectBox(v.HScroll1Rect, {G, T + L, W - 2 * G - Vw + 30 - 2 * P, Sh}, "HScroll1");
    ExpectBox(v.lblStatusRect, {G - P, H - 225 - G + P, W - 2 * G + 2 * P, 225}, "lblStatus");
    ExpectBox(v.shpOutline, {G - P, G - P, W - 2 * G + 2 * P, H - 2 * G + 2 * P}, "shpOutline");
    ExpectBox(v.shpButBack, {G - P, toolbarTop + Tb, W - 2 * G + 2 * P, 250}, "shpButBack");
    ExpectBox(v.shpBackground, {G, G, W - 2 * G + P, H - 2 * G}, "shpBackground");
    ExpectBox(v.shpUserControlBackground, {0, 0, W, H}, "shpUserControlBackground");
    for (const PartRect* p : {&v.Toolbar1Rect, &v.BoundBoxRect, &v.lblStatusRect, &v.shpButBack,
                              &v.shpBackground, &v.shpUserControlBackground})
      EXPECT_TRUE(p->Visible);
  }
}

TEST(Layout, TooLowForAListingHidesAllButTheOutlineAndTheSelectorOrFilter) {
  // R is the room test value; the outline shrinks to the selector only when R is negative.
  struct Case {
    ListType type;
    std::int32_t R;
  } cases[] = {{fbFolder, 0}, {fbFolder, -15}, {fbFolder, -2000},
               {fbFileAndFolder, 0}, {fbFileAndFolder, -15}, {fbFile, -600}};
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << "type " << k.type << ", R " << k.R);
    ControlHolder c(k.type);
    ViewState& v = c->View();
    const std::int32_t G = v.EdgeGap, P = tk::TwipsPerPixelX();
    const bool tree = k.type == fbFolder;
    const std::int32_t W = 6000;
    const std::int32_t H = tree ? k.R + v.HScroll1Rect.Height + 260 + v.HeadingHeight +
                                      v.Toolbar1Rect.Height + v.lblStatusRect.Height + 2 * G
                                : k.R + v.HScroll1Rect.Height + v.lblStatusRect.Height +
                                      v.HeadingHeight + v.Toolbar1Rect.Height;
    v.Toolbar1Rect.Top = 777;
    v.VScroll1Rect.Visible = v.HScroll1Rect.Visible = true;
    Place(*c, W, H);

    EXPECT_TRUE(v.NoRoom);
    for (const auto& [name, part] :
         std::vector<std::pair<const char*, const PartRect*>>{{"Toolbar1", &v.Toolbar1Rect},
                                                              {"BoundBox", &v.BoundBoxRect},
                                                              {"lblStatus", &v.lblStatusRect},
                                                              {"VScroll1", &v.VScroll1Rect},
                                                              {"HScroll1", &v.HScroll1Rect},
                                                              {"shpButBack", &v.shpButBack},
                                                              {"shpBackground", &v.shpBackground}})
      EXPECT_FALSE(part->Visible) << name;
    EXPECT_TRUE(v.shpOutline.Visible);
    EXPECT_TRUE(v.shpUserControlBackground.Visible);
    EXPECT_EQ(v.ZFCombo1.Visible, tree);
    EXPECT_EQ(v.cboFilterRect.Visible, !tree);
    if (tree) {
      ExpectBox(v.ZFCombo1, {G, G, W - 2 * G, 260}, "ZFCombo1");
      EXPECT_EQ(v.Toolbar1Rect.Top, 777);  // a tree without room leaves its toolbar where it was
    } else {
      EXPECT_EQ(v.Toolbar1Rect.Top, G);
    }
    EXPECT_EQ(v.shpOutline.Width, W - 2 * G + 2 * P);
    EXPECT_EQ(v.shpOutline.Height, k.R < 0 ? v.ZFCombo1.Height + 20 : H - 2 * G + 2 * P);

    // Room again: everything placed here comes back.
    Place(*c, W, 6000);
    EXPECT_FALSE(v.NoRoom);
    for (const PartRect* p : {&v.Toolbar1Rect, &v.BoundBoxRect, &v.lblStatusRect, &v.shpButBack,
                              &v.shpBackground, &v.shpUserControlBackground})
      EXPECT_TRUE(p->Visible);
    EXPECT_EQ(v.shpOutline.Height, 6000 - 2 * G + 2 * P);
    EXPECT_EQ(v.Toolbar1Rect.Top, tree ? G + 270 : G);
  }
}

TEST(Layout, TooNarrowForTheListingBoxLeavesScrollBarsAndShapesWhereTheyWere) {
  // The box's width would be W - 2G - 250 + 90 < 0; the parts placed before it still move.
  struct Case {
    ListType type;
    std::int32_t W;
    bool toolbarTakesWidth;  // W - 2G is not negative
  } cases[] = {{fbFileAndFolder, 300, true}, {fbFileAndFolder, 150, false},
               {fbFolder, 300, true}, {fbFolder, 150, false}};
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << "type " << k.type << ", W " << k.W);
    ControlHolder c(k.type);
    ViewState& v = c->View();
    const std::int32_t G = v.EdgeGap, P = tk::TwipsPerPixelX();
    Place(*c, 9000, 6000);
    ASSERT_FALSE(v.NoRoom);
    const auto before = Parts(v);
    const std::int32_t toolbarWidth = v.Toolbar1Rect.Width;

    Place(*c, k.W, 6000);
    const auto after = Parts(v);
    for (std::size_t i = 0; i < after.size(); ++i) {
      const std::string part = after[i].first;
      if (part == "Toolbar1" || part == "lblStatus" || part == "ZFCombo1") continue;
      EXPECT_TRUE(SameRect(after[i].second, before[i].second)) << part;
    }
    // A negative size is refused: the toolbar (and a tree's selector) keep their width.
    const std::int32_t expectedToolbar = k.toolbarTakesWidth ? k.W - 2 * G : toolbarWidth;
    EXPECT_EQ(v.Toolbar1Rect.Width, expectedToolbar);
    if (k.type == fbFolder) {
      EXPECT_EQ(v.ZFCombo1.Width, k.toolbarTakesWidth ? k.W - 2 * G : 9000 - 2 * G);
    }
    // The status line is placed before the listing box is tried.
    EXPECT_EQ(v.lblStatusRect.Width, expectedToolbar + 2 * P);
    EXPECT_EQ(v.lblStatusRect.Top, 6000 - 225 - G + P);
  }
}

TEST(Layout, BothOrientationsGiveIdenticalPositionsInARealWindow) {
  TempFolder dir;
  dir.File(L"a.txt", 10);
  dir.Folder(L"sub");
  testsupport::HostWindow host(700, 500);
  for (ListType type : {fbFolder, fbFileAndFolder}) {
    SCOPED_TRACE(testing::Message() << "type " << type);
    ControlHolder c(type);
    ASSERT_TRUE(c->CreateFrame(host.Handle()));
    c->LoadSetup();
    MoveWindow(c->Window(), 0, 0, 640, 420, TRUE);
    ASSERT_TRUE(c->GetFolderContents(dir.Path(), true));
    const ViewState& v = c->View();

    c->ResizeControl(vertical);
    EXPECT_EQ(v.Layout, vertical);
    EXPECT_EQ(v.Width, 640 * 15);
    EXPECT_EQ(v.Height, 420 * 15);
    const auto placedVertical = Parts(v);
    auto windowRect = [&](HWND w) {
      RECT r;
      GetWindowRect(w, &r);
      MapWindowPoints(HWND_DESKTOP, GetParent(w), reinterpret_cast<POINT*>(&r), 2);
      return r;
    };
    const RECT boxVertical = windowRect(v.BoundBox.Handle());

    c->ResizeControl(horizontal);
    EXPECT_EQ(v.Layout, horizontal);
    const auto placedHorizontal = Parts(v);
    for (std::size_t i = 0; i < placedVertical.size(); ++i)
      EXPECT_TRUE(SameRect(placedVertical[i].second, placedHorizontal[i].second))
          << placedVertical[i].first;
    const RECT boxHorizontal = windowRect(v.BoundBox.Handle());
    EXPECT_TRUE(EqualRect(&boxVertical, &boxHorizontal));

    // The windows sit where the twips say.
    const int tpp = tk::TwipsPerPixelX();
    EXPECT_EQ(boxHorizontal.left, tk::TwipsToPixels(v.BoundBoxRect.Left, tpp));
    EXPECT_EQ(boxHorizontal.top, tk::TwipsToPixels(v.BoundBoxRect.Top, tpp));
    EXPECT_EQ(boxHorizontal.right - boxHorizontal.left,
              tk::TwipsToPixels(v.BoundBoxRect.Width, tpp));
    const RECT status = windowRect(v.lblStatus.Handle());
    EXPECT_EQ(status.top, tk::TwipsToPixels(v.lblStatusRect.Top, tpp));
    EXPECT_EQ(status.bottom - status.top, tk::TwipsToPixels(225, tpp));
  }
}

// ---------------------------------------------------------------------------------------------
// In a window

int Px(double twips) { return tk::TwipsToPixels(twips, tk::TwipsPerPixelX()); }
int Py(double twips) { return tk::TwipsToPixels(twips, tk::TwipsPerPixelY()); }

// What a layout asked of windows while the hook was installed: placements (moves, sizes or
// setting where they are) per window, and shows, hides and toolbar buttons shown or hidden.
std::map<HWND, int> g_windowMoves;
int g_visibilityChanges = 0;
LRESULT CALLBACK RecordLayout(int code, WPARAM wParam, LPARAM lParam) {
  const auto* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION) {
    // Showing or hiding is not placing.
    if (m->message == WM_WINDOWPOSCHANGING &&
        !(reinterpret_cast<const WINDOWPOS*>(m->lParam)->flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)))
      ++g_windowMoves[m->hwnd];
    if (m->message == WM_SHOWWINDOW || m->message == TB_HIDEBUTTON) ++g_visibilityChanges;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Sizes the control's window, then lays it out with the hook recording.
void RecordedResize(ControlHolder& c, int width, int height) {
  MoveWindow(c->Window(), 0, 0, width, height, TRUE);
  g_windowMoves.clear();
  g_visibilityChanges = 0;
  HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, RecordLayout, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  c->ResizeControl(vertical);
  UnhookWindowsHookEx(hook);
}

// A folder of twelve small files, and a host for controls of each type that read it.
struct TwelveFiles {
  TempFolder dir;
  testsupport::HostWindow host{760, 520};
  TwelveFiles() {
    for (int i = 0; i < 12; ++i) dir.File(L"file" + std::to_wstring(i) + L".txt", 100);
  }
  // Sites `c` at `width` x `height`, reads the folder and lays the control out.
  void Read(ControlHolder& c, int width, int height) {
    ASSERT_TRUE(c->CreateFrame(host.Handle()));
    c->LoadSetup();
    // A list background apart from the strip's white, so the two can be told apart.
    c->ApplyProperty(L"ColorListBackground", static_cast<std::int32_t>(RGB(250, 250, 215)));
    MoveWindow(c->Window(), 0, 0, width, height, TRUE);
    ASSERT_TRUE(c->GetFolderContents(dir.Path(), true));
    c->ResizeControl(vertical);
  }
};

TEST(Layout, AResizeMovesEachChildWindowOnceAndShowsTheHeadingStrip) {
  TwelveFiles files;
  for (ListType type : {fbFolder, fbFileAndFolder}) {
    SCOPED_TRACE(testing::Message() << "type " << type);
    ControlHolder c(type);
    ASSERT_NO_FATAL_FAILURE(files.Read(c, 600, 400));
    ASSERT_NO_FATAL_FAILURE(RecordedResize(c, 700, 460));
    // The control's own parts (the selector places its inner box itself).
    int parts = 0;
    for (const auto& [hwnd, moves] : g_windowMoves) {
      const HWND parent = GetParent(hwnd);
      if (parent != c->Window() && parent != c->View().BoundBox.Handle()) continue;
      ++parts;
      wchar_t cls[64] = L"";
      GetClassNameW(hwnd, cls, 64);
      const std::wstring kind = cls;
      // A combo box fits its own height once more after it was placed.
      EXPECT_EQ(moves, kind == L"ComboBox" ? 2 : 1)
          << "window of class " << std::string(kind.begin(), kind.end());
    }
    EXPECT_GE(parts, 6);  // the listing boxes, the bars, the status line, the toolbar

    // The heading strip: from the toolbar's foot to the listing's top, across the pane, its
    // buttons side by side from the outline's left to its right, a pixel apart; the listing
    // starts right below it.
    const ViewState& v = c->View();
    testsupport::ScreenPixels screen(c->Window());
    const int top = Py(v.Toolbar1Rect.Top + v.Toolbar1Rect.Height);
    const int bottom = Py(v.BoundBoxRect.Top);
    ASSERT_GT(bottom - top, 10);
    const int left = Px(v.shpOutline.Left) + 1, right = Px(v.shpOutline.Left + v.shpOutline.Width) - 1;
    std::vector<bool> covered(static_cast<std::size_t>(right), false);
    for (const auto& h : v.Headings.Headings) {
      HWND b = h.Active ? c->Strip().Button(h.Index)->Window() : nullptr;
      if (!b || !IsWindowVisible(b)) continue;
      RECT r;
      GetWindowRect(b, &r);
      MapWindowPoints(nullptr, c->Window(), reinterpret_cast<POINT*>(&r), 2);
      EXPECT_EQ(r.top, top);
      EXPECT_LE(r.bottom, bottom);
      for (LONG x = std::max<LONG>(r.left, 0); x < std::min<LONG>(r.right, right); ++x)
        covered[static_cast<std::size_t>(x)] = true;
    }
    // Neighbouring buttons are a pixel apart; nowhere is the strip bare for longer.
    for (int x = left; x + 1 < right; ++x)
      EXPECT_TRUE(covered[static_cast<std::size_t>(x)] || covered[static_cast<std::size_t>(x + 1)])
          << "bare strip at x " << x;
    EXPECT_NE(screen.At(left + 5, top - 3), v.Skin.HeadingBackdrop);  // the toolbar
    EXPECT_EQ(screen.At(left + 5, Py(v.BoundBoxRect.Top) + 1), v.Skin.ListBackground);
  }
}

// Each show or hide of a child repaints what lies under it: with five panes that was most of a
// resize. A narrow list has heading buttons past its right edge, which stay hidden.
TEST(Layout, AResizeThatKeepsWhatIsShownShowsAndHidesNothing) {
  TwelveFiles files;
  for (ListType type : {fbFolder, fbFileAndFolder}) {
    SCOPED_TRACE(testing::Message() << "type " << type);
    ControlHolder c(type);
    ASSERT_NO_FATAL_FAILURE(files.Read(c, 240, 400));
    tk::DoEvents();
    int hiddenButtons = 0;
    for (const auto& h : c->View().Headings.Headings)
      if (h.Active && !IsWindowVisible(c->Strip().Button(h.Index)->Window())) ++hiddenButtons;
    if (type == fbFileAndFolder) {
      EXPECT_GT(hiddenButtons, 0) << "no button lies past the edge";
    }
    for (const auto& [w, h] : {std::pair{250, 420}, std::pair{236, 390}}) {
      ASSERT_NO_FATAL_FAILURE(RecordedResize(c, w, h));
      EXPECT_EQ(g_visibilityChanges, 0) << "at " << w << " x " << h;
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Geometry

// A control that has read a temp folder of `folders` sub-folders and `files` files.
struct ReadListing {
  TempFolder dir;
  ControlHolder c;
  ReadListing(ListType type, int folders, int files, EnumListMode mode = listDetails)
      : c(type) {
    c->LoadSetup();
    for (int i = 0; i < folders; ++i) dir.Folder(L"folder" + std::to_wstring(100 + i));
    for (int i = 0; i < files; ++i) dir.File(L"file" + std::to_wstring(1000 + i) + L".txt");
    c->ListMode = mode;
    read = c->GetFolderContents(dir.Path(), true);
  }
  // The listing box gets the size; then one geometry pass.
  void Pass(std::int32_t width, std::int32_t height, bool showFolderPressed = false) {
    c->View().BoundBoxRect.Width = width;
    c->View().BoundBoxRect.Height = height;
    c->SetFolderBoxProperties(showFolderPressed);
  }
  bool read = false;
};

constexpr std::int32_t kRow = 265;

TEST(Geometry, AnEmptyListingNeedsOneColumnAndNoScrolling) {
  for (ListType type : {fbFileAndFolder, fbFile}) {
    for (EnumListMode mode : {listDetails, listNamesIconsSmall}) {
      SCOPED_TRACE(testing::Message() << "type " << type << ", mode " << mode);
      ReadListing l(type, 0, 0, mode);
      ASSERT_TRUE(l.read);
      ViewState& v = l.c->View();
      v.Headings.NameColumnMaxWidth = 1500;
      v.TopItem = 4;
      v.FolderBoxRect.Height = 1234;
      v.VScroll1.SetRange(0, 9);
      v.HScroll1.SetRange(0, 9);
      l.Pass(6000, 10 * kRow);
      EXPECT_EQ(v.RowHeight, kRow);
      EXPECT_EQ(v.ColumnCount, 1);
      EXPECT_EQ(v.ColumnZones.size(), 1u);
      EXPECT_EQ(v.VScroll1.Min(), 0);
      EXPECT_EQ(v.VScroll1.Max(), 0);
      EXPECT_EQ(v.TopItem, 0);  // files-only: FoldersShown, which is 0 here
      if (mode == listDetails) {
        EXPECT_EQ(v.FolderBoxRect.Height, 1234);  // no item: the surface keeps its size
        EXPECT_EQ(v.HScroll1.Max(), 9);           // and the horizontal bar its range
      } else {
        EXPECT_EQ(v.HScroll1.Max(), 0);
        EXPECT_EQ(v.FolderBoxRect.Height, 10 * kRow);
      }
    }
  }
}

TEST(Geometry, DetailsScrollOnlyWhenTheRowsDoNotFit) {
  struct Case {
    int files;
    std::int32_t vMax;
    std::int32_t surfaceHeight;  // the last row's bottom + 30 when it ends inside the box
  } cases[] = {
      {9, 0, 9 * kRow + 30},
      {10, 0, 10 * kRow + 30},  // exactly the visible rows
      {11, 1, 10 * kRow + 100 + 30},
      {40, 30, 10 * kRow + 100 + 30},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << k.files << " files");
    ReadListing l(fbFileAndFolder, 0, k.files);
    ASSERT_TRUE(l.read);
    ViewState& v = l.c->View();
    v.TopItem = 1;
    l.Pass(6000, 10 * kRow + 100);
    EXPECT_EQ(v.VisibleRows, 10);
    EXPECT_EQ(v.VScroll1.Min(), 0);
    EXPECT_EQ(v.VScroll1.Max(), k.vMax);
    EXPECT_EQ(v.FolderBoxRect.Height, k.surfaceHeight);
    EXPECT_EQ(v.FolderBoxRect.Top, 0);
    if (k.vMax == 0) {
      EXPECT_EQ(v.TopItem, 0);  // everything fits: back to the top
    } else {
      EXPECT_EQ(v.TopItem, 1);
      EXPECT_EQ(v.VScroll1.Value(), 1);
      EXPECT_EQ(v.VScroll1.SmallChange, 1);
      EXPECT_EQ(v.VScroll1.LargeChange, k.vMax > 10 ? 9 : 1);
    }
  }
}

TEST(Geometry, FilesOnlyListingScrollsFromItsFirstFile) {
  // 3 folders and 50 files, 20 rows: N = 50, the bar runs from 3 to 52 + 1 - 20.
  ReadListing l(fbFile, 3, 50);
  ASSERT_TRUE(l.read);
  ASSERT_EQ(l.c->FoldersShown(), 3);
  ASSERT_EQ(l.c->LastShownItem(), 52);
  ViewState& v = l.c->View();
  const std::int32_t height = 20 * kRow + 50;

  v.TopItem = 0;
  l.Pass(8000, height);
  EXPECT_EQ(v.VisibleRows, 20);
  EXPECT_EQ(v.VScroll1.Min(), 3);
  EXPECT_EQ(v.VScroll1.Max(), 33);
  EXPECT_EQ(v.VScroll1.LargeChange, 19);
  EXPECT_EQ(v.TopItem, 3);  // never above the first file
  EXPECT_EQ(v.VScroll1.Value(), 3);
  EXPECT_EQ(v.ColumnCount, 3);  // 50 rows in columns of 20

  v.TopItem = 10;
  l.Pass(8000, height);
  EXPECT_EQ(v.TopItem, 10);
  EXPECT_EQ(v.VScroll1.Value(), 10);

  // The folders button released: back to the first file.
  l.Pass(8000, height, true);
  EXPECT_EQ(v.TopItem, 3);
  EXPECT_EQ(v.VScroll1.Value(), 3);
}

TEST(Geometry, ListModeScrollsByColumns) {
  // 95 items, 10 rows per column, room for 4 columns: 10 columns, the bar runs 0 to 6.
  // Every mode but details is laid out in columns.
  for (EnumListMode mode : {listNamesIconsSmall, listThumbnails, listNamesIconsBig}) {
    SCOPED_TRACE(testing::Message() << "mode " << mode);
    ReadListing l(fbFileAndFolder, 5, 90, mode);
    ASSERT_TRUE(l.read);
    ViewState& v = l.c->View();
    const std::int32_t column = v.Headings.NameColumnMaxWidth;
    ASSERT_GT(column, 0);
    const std::int32_t colour = v.Headings.Headings[0].Width;
    v.VScroll1.SetRange(0, 40);
    l.Pass(colour + 4 * column + column / 2, 10 * kRow + 200);
    EXPECT_EQ(v.ColumnWidth, column);
    EXPECT_EQ(v.VisibleRows, 10);
    EXPECT_EQ(v.VisibleColumns, 4);
    EXPECT_EQ(v.ColumnCount, 10);
    EXPECT_EQ(v.ColumnZones.size(), 10u);
    EXPECT_EQ(v.HScroll1.Min(), 0);
    EXPECT_EQ(v.HScroll1.Max(), 6);
    EXPECT_EQ(v.HScroll1.SmallChange, 1);
    EXPECT_EQ(v.HScroll1.LargeChange, 1);
    EXPECT_EQ(v.VScroll1.Min(), 0);
    EXPECT_EQ(v.VScroll1.Max(), 0);
    EXPECT_EQ(v.FolderBoxRect.Top, 0);
    EXPECT_EQ(v.FolderBoxRect.Width, v.BoundBoxRect.Width);
    EXPECT_EQ(v.FolderBoxRect.Height, v.BoundBoxRect.Height);

    // Scrolling to column 2 shows items 20 onwards.
    ASSERT_TRUE(v.HScroll1.SetValue(2));
    l.c->HScrollHasChanged();
    EXPECT_EQ(v.TopItem, 2);
    EXPECT_EQ(v.FirstVisible, 20);
    EXPECT_EQ(l.c->ListItems()[20].RowTop, 0);
    EXPECT_EQ(l.c.host.Count(L"SetLockedIndex"), 1);
  }
}

TEST(Geometry, ATreeIsAlwaysLaidOutInRows) {
  ReadListing l(fbFolder, 30, 0, listNamesIconsSmall);
  ASSERT_TRUE(l.read);
  ViewState& v = l.c->View();
  l.Pass(6000, 10 * kRow);
  // Root plus 30 folders in rows of 10: the vertical bar scrolls, not the horizontal one.
  EXPECT_EQ(v.VScroll1.Max(), 31 - 10);
  EXPECT_EQ(v.HScroll1.Max(), 35000 - 6000);
  EXPECT_EQ(v.HScroll1.LargeChange, 6000);
}

TEST(Geometry, DetailsHorizontalRangeIsAFixedExtentNeverBelowZero) {
  struct Case {
    std::int32_t width, hMax;
  } cases[] = {{5000, 30000}, {1000, 34000}, {34000, 1000}, {40000, 0}};
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << "width " << k.width);
    ReadListing l(fbFileAndFolder, 0, 30);
    ASSERT_TRUE(l.read);
    ViewState& v = l.c->View();
    l.Pass(k.width, 7 * kRow + 10);
    EXPECT_EQ(v.HScroll1.Min(), 0);
    EXPECT_EQ(v.HScroll1.Max(), k.hMax);
    // An arrow moves a little, the track a box's width.
    EXPECT_EQ(v.HScroll1.SmallChange, 500);
    EXPECT_EQ(v.HScroll1.LargeChange, std::max<std::int32_t>(500, k.width));
    // The rest of the pass still runs.
    EXPECT_EQ(v.VScroll1.Max(), 30 - 7);
    EXPECT_EQ(v.VScroll1.LargeChange, 6);
  }
}

TEST(Geometry, ABoxLowerThanOneRowStillShowsOneRow) {
  for (std::int32_t height : {0, 100, kRow - 1}) {
    SCOPED_TRACE(testing::Message() << "height " << height);
    ReadListing l(fbFileAndFolder, 0, 5);
    ASSERT_TRUE(l.read);
    ViewState& v = l.c->View();
    v.VScroll1.LargeChange = 7;
    l.Pass(6000, height);
    EXPECT_EQ(v.VisibleRows, 1);
    EXPECT_EQ(v.VScroll1.Max(), 4);
    EXPECT_EQ(v.ColumnCount, 5);
    // One visible row gives a large step of 0, which the bar does not take.
    EXPECT_EQ(v.VScroll1.LargeChange, 7);
  }
}

TEST(Geometry, MoreRowsThanASixteenBitRangeScrollToTheLastRow) {
  // 33,000 files and one folder, made natively by the test run (scripts/make-test-data).
  const std::wstring folder = testsupport::TestDataFolder(L"big33k");
  ASSERT_FALSE(folder.empty()) << "ZENLO_TEST_DATA is not set: run the tests through ctest";
  ControlHolder c(fbFileAndFolder);
  c->LoadSetup();
  ASSERT_TRUE(c->GetFolderContents(folder, true));
  ASSERT_EQ(c->LastShownItem(), 33000);
  ViewState& v = c->View();
  v.BoundBoxRect.Width = 8000;
  v.BoundBoxRect.Height = 20 * kRow + 20;
  c->SetFolderBoxProperties(false);
  EXPECT_EQ(v.VScroll1.Max(), 33001 - 20);
  EXPECT_EQ(v.VScroll1.LargeChange, 19);

  ASSERT_TRUE(v.VScroll1.SetValue(v.VScroll1.Max()));
  c->VScrollHasChanged();
  EXPECT_EQ(v.TopItem, 32981);
  EXPECT_EQ(v.FirstVisible, 32981);
  EXPECT_EQ(v.LastVisible, 33000);
  EXPECT_EQ(c->ListItems()[33000].RowTop, 19 * kRow);
  EXPECT_TRUE(c.host.Messages().empty());
}

TEST(Geometry, ScrollingInDetailsMovesTheTopRowOrSlidesTheSurface) {
  ReadListing l(fbFileAndFolder, 0, 40);
  ASSERT_TRUE(l.read);
  ViewState& v = l.c->View();
  l.Pass(5000, 10 * kRow);
  ASSERT_EQ(v.VScroll1.Max(), 30);

  // While the filter re-sorts, a scroll moves the top row but draws nothing.
  v.ScrollRedrawEnabled = false;
  ASSERT_TRUE(v.VScroll1.SetValue(5));
  l.c->VScrollHasChanged();
  EXPECT_EQ(v.TopItem, 5);
  EXPECT_EQ(v.FirstVisible, -1);
  EXPECT_EQ(l.c->ListItems()[5].RowTop, -1);

  v.ScrollRedrawEnabled = true;
  ASSERT_TRUE(v.VScroll1.SetValue(12));
  l.c->VScrollHasChanged();
  EXPECT_EQ(v.TopItem, 12);
  EXPECT_EQ(v.FirstVisible, 12);
  EXPECT_EQ(v.FolderBoxScaleTop, 12 * kRow);
  EXPECT_EQ(l.c->ListItems()[12].RowTop, 0);
  EXPECT_EQ(l.c->ListItems()[12].DrawBottom, 12 * kRow);

  // The horizontal bar slides the surface and leaves the rows alone.
  ASSERT_TRUE(v.HScroll1.SetValue(15000));
  l.c->HScrollHasChanged();
  EXPECT_EQ(v.FolderBoxRect.Left, -15000);
  EXPECT_EQ(v.TopItem, 12);
  // One arrow click from the start leaves the columns in view.
  ASSERT_TRUE(v.HScroll1.SetValue(v.HScroll1.SmallChange));
  l.c->HScrollHasChanged();
  EXPECT_GT(v.FolderBoxRect.Left + v.FolderBoxRect.Width, v.BoundBoxRect.Width / 2);
}

TEST(Geometry, AZeroColumnWidthCountsAsOneVisibleColumn) {
  ReadListing l(fbFileAndFolder, 0, 25, listNamesIconsSmall);
  ASSERT_TRUE(l.read);
  ViewState& v = l.c->View();
  v.Headings.NameColumnMaxWidth = 0;
  l.Pass(6000, 10 * kRow);
  EXPECT_EQ(v.ColumnWidth, 0);
  EXPECT_EQ(v.VisibleColumns, 1);
  EXPECT_EQ(v.ColumnCount, 3);
  EXPECT_EQ(v.HScroll1.Max(), 2);
  EXPECT_EQ(v.VScroll1.Max(), 0);
  EXPECT_EQ(v.FolderBoxRect.Width, 6000);
  EXPECT_TRUE(l.c.host.Messages().empty());
}

}  // namespace
