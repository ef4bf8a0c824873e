// The arrangement of the panes as a pure function: sizes, fits and rectangles per case.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>

#include "mainwindow/PaneArrangement.h"

namespace varnello {
void PrintTo(const TwipRect& r, std::ostream* os) {
  *os << "{" << r.Left << "," << r.Top << "," << r.Width << "," << r.Height << "}";
}
}  // namespace varnello

namespace {

using varnello::Arrangement;
using varnello::ArrangeInput;
using varnello::ArrangePanes2;
using varnello::PaneRecords;
using varnello::TwipRect;

// A 12000 x 9000 twip inner window under a 390 twip toolbar, no command line.
ArrangeInput Window(long layout, double width = 12000, double height = 9000) {
  ArrangeInput in;
  in.ScaleWidth = width;
  in.ScaleHeight = height;
  in.ToolbarHeight = 390;
  in.Layout = layout;
  return in;
}

// Panes shown by `mask` (bit i = pane i), each with the given shares and tree extents.
PaneRecords Shown(unsigned mask, float share, long treeExtent) {
  PaneRecords panes{};
  for (short i = 0; i < varnello::kPaneCount; ++i) {
    panes[i].Status = (mask >> i) & 1 ? 0 : 1;
    panes[i].ControlGroup = i;
    panes[i].PercentWidth = share;
    panes[i].PercentHeightH = share;
    panes[i].Height = treeExtent;
    panes[i].WidthH = treeExtent;
  }
  return panes;
}

short Count(const PaneRecords& panes) {
  short n = 0;
  for (const auto& p : panes) n += p.Status == 0 ? 1 : 0;
  return n;
}

struct PaneExpect {
  short Pane;
  TwipRect Tree, Child;
  bool MainFits, ChildFits;
};

struct LayoutCase {
  const char* Name;
  ArrangeInput In;
  std::function<void(PaneRecords&)> Setup;  // starts from Shown(...) below
  unsigned Mask;
  float Share;
  long TreeExtent;
  std::vector<PaneExpect> Want;
};

TEST(PaneArrangement, ListRectanglesAndFits) {
  const auto none = [](PaneRecords&) {};
  const std::vector<LayoutCase> cases = {
      {"one pane vertical: 90 off each edge", Window(0), none, 0b1, 1.0f, 4000,
       {{0, {60, 765, 11910, 3910}, {60, 4735, 11910, 4205}, true, true}}},
      {"three panes vertical: the ends lose 90, the middle 60", Window(0), none, 0b111,
       1.0f / 3, 4000,
       {{0, {60, 765, 3910, 3910}, {60, 4735, 3910, 4205}, true, true},
        {1, {4030, 765, 3940, 3910}, {4030, 4735, 3940, 4205}, true, true},
        {2, {8030, 765, 3910, 3910}, {8030, 4735, 3910, 4205}, true, true}}},
      {"vertical tree taller than the area less 500 is clamped", Window(0), none, 0b1, 1.0f,
       9000, {{0, {60, 765, 11910, 7710}, {60, 8535, 11910, 405}, true, false}}},
      {"vertical halves go to even", Window(0, 12001), none, 0b11, 0.5f, 4050,
       {{0, {60, 765, 5910, 3910}, {60, 4735, 5910, 4205}, true, true},
        {1, {6030, 765, 5910, 3910}, {6030, 4735, 5910, 4205}, true, true}}},
      {"vertical list too narrow comes out 0 and does not fit", Window(0),
       [](PaneRecords& p) { p[0].PercentWidth = 0.995f, p[1].PercentWidth = 0.005f; }, 0b11,
       0, 4000,
       {{0, {60, 765, 11850, 3910}, {60, 4735, 11850, 4205}, true, true},
        {1, {11970, 765, 0, 3910}, {11970, 4735, 0, 4205}, false, false}}},
      {"horizontal two rows on the default shares", Window(1, 12000, 10390),
       [](PaneRecords& p) { p[0].PercentHeightH = 0.65f, p[1].PercentHeightH = 0.35f; }, 0b11,
       0, 4100,
       {{0, {60, 805, 4010, 6095}, {4130, 805, 7810, 6095}, true, true},
        {1, {60, 7275, 4010, 3095}, {4130, 7275, 7810, 3095}, true, true}}},
      {"horizontal five rows below 1700 high do not fit", Window(1, 12000, 10390), none,
       0b11111, 0.2f, 4100,
       {{0, {60, 805, 4010, 1613}, {4130, 805, 7810, 1613}, false, false},
        {4, {60, 8757, 4010, 1613}, {4130, 8757, 7810, 1613}, false, false}}},
      {"horizontal five rows just above 1700 fit", Window(1, 12000, 11390), none, 0b11111,
       0.2f, 4100, {{2, {60, 805 + 2 * 2188, 4010, 1813}, {4130, 805 + 2 * 2188, 7810, 1813},
                     true, true}}},
      {"horizontal tree wider than the area less 800 is clamped", Window(1, 12000, 10390),
       none, 0b1, 1.0f, 20000,
       {{0, {60, 805, 11110, 9565}, {11230, 805, 710, 9565}, true, false}}},
      {"horizontal tree width rounds to a hundred, halves to even", Window(1, 12000, 10390),
       none, 0b1, 1.0f, 4250, {{0, {60, 805, 4110, 9565}, {4230, 805, 7710, 9565}, true, true}}},
      {"only shown panes are placed, in pane order", Window(0), none, 0b10100, 0.5f, 4000,
       {{2, {60, 765, 5910, 3910}, {60, 4735, 5910, 4205}, true, true},
        {4, {6030, 765, 5910, 3910}, {6030, 4735, 5910, 4205}, true, true}}},
  };
  for (const LayoutCase& c : cases) {
    SCOPED_TRACE(c.Name);
    PaneRecords panes = Shown(c.Mask, c.Share, c.TreeExtent);
    c.Setup(panes);
    const Arrangement a = ArrangePanes2(c.In, panes, Count(panes));
    ASSERT_TRUE(a.Arranged);
    for (const PaneExpect& w : c.Want) {
      SCOPED_TRACE(w.Pane);
      EXPECT_EQ(a.Controls[w.Pane].Tree, w.Tree);
      EXPECT_EQ(a.Controls[w.Pane].Child, w.Child);
      EXPECT_EQ(a.Panes[w.Pane].MainListFits, w.MainFits);
      EXPECT_EQ(a.Panes[w.Pane].ChildListFits, w.ChildFits);
    }
    for (short i = 0; i < varnello::kPaneCount; ++i)
      EXPECT_EQ(a.Controls[i].Placed, panes[i].Status == 0) << "pane " << i;
  }
}

TEST(PaneArrangement, RecordsKeepTheirRoundedExtents) {
  PaneRecords panes = Shown(0b11, 0.5f, 4050);
  Arrangement v = ArrangePanes2(Window(0, 12001), panes, 2);
  EXPECT_EQ(v.Panes[0].Width, 6000);  // 6000.5
  EXPECT_EQ(v.Panes[0].Height, 4000);  // 4050 to the even hundred
  EXPECT_EQ(v.Panes[1].Left, 6000);
  panes = Shown(0b11, 0.5f, 4150);
  Arrangement h = ArrangePanes2(Window(1, 12000, 10390), panes, 2);
  EXPECT_EQ(h.Panes[0].WidthH, 4200);
  EXPECT_EQ(h.Panes[0].HeightH, 5000);
  EXPECT_EQ(h.Panes[0].Top, 430);
  EXPECT_EQ(h.Panes[1].Top, h.Controls[0].Tree.Top + h.Controls[0].Tree.Height);
}

TEST(PaneArrangement, TitleBarButtonsAndFrame) {
  const Arrangement v = ArrangePanes2(Window(0), Shown(0b1, 1.0f, 4000), 1);
  const auto& c = v.Controls[0];
  EXPECT_EQ(c.TitleBar, (TwipRect{60, 490, 11910 - 630 + 30, 255}));
  EXPECT_EQ(c.TitleButton.Left, c.TitleBar.Left + c.TitleBar.Width - 15);
  EXPECT_EQ(c.CloseButton.Left, c.TitleButton.Left + 315 - 15);
  EXPECT_EQ(c.CloseButton.Left + c.CloseButton.Width, 60 + 11910);  // ends with the tree
  EXPECT_EQ(c.Frame, (TwipRect{60, 490, 11910, 4735 + 4205 - 490}));
  EXPECT_EQ(c.TreeOutline, (TwipRect{165, 765, 11910 - 210, 3910}));
  EXPECT_EQ(c.ChildNoRoom, (TwipRect{165 + 50, 4735 + 50, 11910 - 210 - 100, 4205 - 105 - 100}));

  const Arrangement h = ArrangePanes2(Window(1, 12000, 10390), Shown(0b1, 1.0f, 4100), 1);
  const auto& r = h.Controls[0];
  EXPECT_EQ(r.TitleBar, (TwipRect{60, 490, 12000 - 120 - 630 + 30, 255}));
  EXPECT_EQ(r.Frame, (TwipRect{60, 490, 4130 + 7810 - 60, 805 + 9565 - 490}));
}

TEST(PaneArrangement, ANarrowListHasNoOutline) {
  PaneRecords panes = Shown(0b11, 0, 4000);
  panes[0].PercentWidth = 0.995f;
  panes[1].PercentWidth = 0.005f;
  const Arrangement a = ArrangePanes2(Window(0), panes, 2);
  EXPECT_EQ(a.Controls[1].TreeOutline, TwipRect{});
  EXPECT_EQ(a.Controls[1].TreeNoRoom, (TwipRect{50, 50, 0, 0}));
}

TEST(PaneArrangement, CommandLineRow) {
  const PaneRecords panes = Shown(0b1, 1.0f, 4000);
  ArrangeInput in = Window(0);
  const Arrangement off = ArrangePanes2(in, panes, 1);
  in.CommandLineOn = true;
  const Arrangement on = ArrangePanes2(in, panes, 1);
  EXPECT_FALSE(off.CommandRowPlaced);
  ASSERT_TRUE(on.CommandRowPlaced);
  EXPECT_EQ(off.Values.PaneAreaHeight - on.Values.PaneAreaHeight, 335);
  EXPECT_EQ(off.Values.TotalPaneHeightH - on.Values.TotalPaneHeightH, 335);
  EXPECT_EQ(on.CurrentPath, (TwipRect{60, 9000 - 305, 5910, 315}));
  EXPECT_EQ(on.Command, (TwipRect{6030, 9000 - 340, 5910, 315}));
  EXPECT_EQ(off.Controls[0].Child.Height - on.Controls[0].Child.Height, 335);
}

TEST(PaneArrangement, TooSmallAreaMovesNothing) {
  struct Size {
    double Width, Height;
    bool Arranged;
  };
  // 390 toolbar + 255 title bar + 60 splitter above 2000 twips of list area.
  const Size sizes[] = {{12000, 2705, true},        {12000, 2704, false},
                        {2000, 9000, true},         {1999, 9000, false},
                        {0, 9000, false}};
  PaneRecords panes = Shown(0b1, 1.0f, 4000);
  panes[0].MainListFits = true;
  panes[0].MainListWidth = 777;
  for (const Size& s : sizes) {
    SCOPED_TRACE(testing::Message() << s.Width << " x " << s.Height);
    const Arrangement a = ArrangePanes2(Window(0, s.Width, s.Height), panes, 1);
    EXPECT_EQ(a.Arranged, s.Arranged);
    EXPECT_EQ(a.Values.PaneAreaTop, 430);
    if (!s.Arranged) {
      EXPECT_EQ(a.Panes[0].MainListWidth, 777);
      EXPECT_TRUE(a.Panes[0].MainListFits);
      EXPECT_FALSE(a.Controls[0].Placed);
    }
  }
}

TEST(PaneArrangement, ControlGroupsThatAreNoPermutationFallBackToTheIdentity) {
  PaneRecords panes = Shown(0b11, 0.5f, 4000);
  panes[1].ControlGroup = 0;  // two panes on one set of controls
  Arrangement a = ArrangePanes2(Window(0), panes, 2);
  for (short i = 0; i < varnello::kPaneCount; ++i) EXPECT_EQ(a.Panes[i].ControlGroup, i);
  EXPECT_TRUE(a.Controls[0].Placed);
  EXPECT_TRUE(a.Controls[1].Placed);
  EXPECT_NE(a.Controls[0].Tree.Left, a.Controls[1].Tree.Left);

  panes[1].ControlGroup = 7;
  EXPECT_FALSE(varnello::ControlGroupsValid(panes));
  panes[0].ControlGroup = 1;
  panes[1].ControlGroup = 0;  // a real swap is kept: pane 0 is drawn with pane 1's controls
  a = ArrangePanes2(Window(0), panes, 2);
  EXPECT_EQ(a.Panes[0].ControlGroup, 1);
  EXPECT_EQ(a.Controls[1].Tree.Left, 60);
}

}  // namespace
