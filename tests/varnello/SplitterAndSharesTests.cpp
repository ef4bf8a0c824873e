// Splitter drags on the pane records, and the shares of the equalise and auto-expand steps.
#include <gtest/gtest.h>

#include "mainwindow/PaneShares.h"
#include "mainwindow/SplitterDrag.h"

namespace {

using namespace varnello;

// Two panes side by side (vertical) or stacked (horizontal), as the arrangement leaves them in
// a 12000 x 9000 window under a 390 twip toolbar.
struct TwoPanes {
  PaneRecords Panes{};
  SplitterGeometry Geometry;
  explicit TwoPanes(long layout, unsigned mask = 0b11) {
    for (short i = 0; i < kPaneCount; ++i) {
      Panes[i].Status = (mask >> i) & 1 ? 0 : 1;
      Panes[i].ControlGroup = i;
      Panes[i].PercentWidth = 0.5f;
      Panes[i].PercentHeightH = 0.5f;
      Panes[i].Height = 4000;
      Panes[i].WidthH = 4100;
    }
    ArrangeInput in;
    in.ScaleWidth = 12000;
    in.ScaleHeight = 9000;
    in.ToolbarHeight = 390;
    in.Layout = layout;
    short n = 0;
    for (const auto& p : Panes) n += p.Status == 0 ? 1 : 0;
    const Arrangement a = ArrangePanes2(in, Panes, n);
    Panes = a.Panes;
    Geometry.Layout = layout;
    Geometry.Values = a.Values;
    for (short i = 0; i < kPaneCount; ++i) Geometry.Trees[i] = a.Controls[i].Tree;
    Geometry.InnerWidth = 12000;
    Geometry.InnerHeight = 9000;
  }
};

TEST(SplitterDrag, HitBands) {
  struct Probe {
    const char* Name;
    long Layout;
    unsigned Mask;
    double X, Y;
    SplitterZone Zone;
    int Pointer;
  };
  // Vertical: pane 0's tree spans x 60..5970, y 765..4675; pane 1's tree starts at x 6030.
  // Horizontal: row 0's tree spans x 60..4070, y 805..4705; row 1's ends at 8980.
  const Probe probes[] = {
      {"below a tree", 0, 0b11, 3000, 4700, SplitterZone::NSVertical, kPointerSizeNS},
      {"on the tree's bottom edge (strict)", 0, 0b11, 3000, 4675, SplitterZone::Nowhere,
       kPointerArrow},
      {"past the band below the tree", 0, 0b11, 3000, 4735, SplitterZone::Nowhere, kPointerArrow},
      {"between two panes", 0, 0b11, 6000, 3000, SplitterZone::WEVertical, kPointerSizeWE},
      {"between two panes within 300 of the list top", 0, 0b11, 6000, 645 + 300,
       SplitterZone::Nowhere, kPointerArrow},
      {"right of the last pane: no band", 0, 0b11, 11950, 3000, SplitterZone::Nowhere,
       kPointerArrow},
      {"one pane has no between-pane band", 0, 0b1, 5990, 3000, SplitterZone::Nowhere,
       kPointerArrow},
      {"right of a tree in a row", 1, 0b11, 4100, 2000, SplitterZone::WEHorizontal,
       kPointerSizeWE},
      {"below a row", 1, 0b11, 300, 4730, SplitterZone::NSHorizontal, kPointerSizeNS},
      {"below the last row: no band", 1, 0b11, 300, 8990, SplitterZone::Nowhere, kPointerArrow},
  };
  for (const Probe& p : probes) {
    SCOPED_TRACE(p.Name);
    TwoPanes two(p.Layout, p.Mask);
    SplitterDrag drag;
    EXPECT_EQ(drag.HitTest(p.X, p.Y, two.Panes, two.Geometry), p.Pointer);
    EXPECT_EQ(drag.Zone(), p.Zone);
  }
}

// Presses on a band, moves by `d` and releases.
struct DragResult {
  PaneRecords Panes;
  bool Released;
};
DragResult Drag(TwoPanes& two, double x, double y, double dx, double dy) {
  SplitterDrag drag;
  drag.HitTest(x, y, two.Panes, two.Geometry);
  MarkerBars bars;
  EXPECT_TRUE(drag.Press(x, y, two.Panes, two.Geometry, bars));
  EXPECT_EQ(drag.Zone(), SplitterZone::None);
  drag.Move(x + dx, y + dy, two.Panes, two.Geometry);
  const bool released = drag.Release(two.Panes, two.Geometry);
  drag.Finish();
  EXPECT_EQ(drag.State(), SplitterDragState::None);
  return {two.Panes, released};
}

TEST(SplitterDrag, TreeHeightRoundsToHundredsAndKeepsItsMinimums) {
  struct Case {
    double Dy;
    long Height;
  };
  // 8295 of pane area: the tree and the rest keep 600 each.
  const Case cases[] = {{149, 4100}, {150, 4200}, {250, 4200}, {-149, 3900}, {-3400, 600},
                        {-3451, 4000}, {3600, 7600}, {3695, 4000}, {3800, 4000}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Dy);
    TwoPanes two(0);
    const DragResult r = Drag(two, 3000, 4700, 0, c.Dy);
    EXPECT_EQ(r.Panes[0].Height, c.Height);
    EXPECT_EQ(r.Panes[0].NeedsResize, c.Height != 4000);
    EXPECT_FALSE(r.Panes[1].NeedsResize);
  }
}

TEST(SplitterDrag, BetweenPanesMovesBothAndRecomputesShares) {
  TwoPanes two(0);
  const DragResult r = Drag(two, 6000, 3000, 1250, 0);
  EXPECT_EQ(r.Panes[0].Width, 6000 + 1200);
  EXPECT_EQ(r.Panes[1].Width, 6000 - 1200);
  EXPECT_EQ(r.Panes[1].Left, 6000 + 1200);
  EXPECT_FLOAT_EQ(r.Panes[0].PercentWidth, 7200.0f / 12000);
  EXPECT_FLOAT_EQ(r.Panes[1].PercentWidth, 4800.0f / 12000);
  EXPECT_TRUE(r.Panes[0].NeedsResize && r.Panes[1].NeedsResize);

  TwoPanes far(0);
  const DragResult stop = Drag(far, 6000, 3000, 5300, 0);  // the next pane would drop below 800
  EXPECT_EQ(stop.Panes[1].Width, 6000);
  EXPECT_FALSE(stop.Panes[0].NeedsResize);
  EXPECT_TRUE(stop.Released);

  TwoPanes rows(1);
  const DragResult h = Drag(rows, 300, rows.Geometry.Trees[0].Top + rows.Geometry.Trees[0].Height + 30,
                            0, -1000);
  EXPECT_EQ(h.Panes[0].HeightH, 4305 - 1000);
  EXPECT_EQ(h.Panes[1].HeightH, 4305 + 1000);
  EXPECT_FLOAT_EQ(h.Panes[0].PercentHeightH, 3305.0f / 8610);
}

TEST(SplitterDrag, HorizontalTreeWidthKeepsBothListsAtLeast800) {
  struct Case {
    double Dx;
    long WidthH;
  };
  const Case cases[] = {{-3300, 800}, {-3400, 4100}, {7100, 11200}, {7200, 4100}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Dx);
    TwoPanes two(1);
    const DragResult r = Drag(two, 4100, 2000, c.Dx, 0);
    EXPECT_EQ(r.Panes[0].WidthH, c.WidthH);
  }
}

TEST(SplitterDrag, AMoveOverAnotherBandDuringADragKeepsTheDrag) {
  TwoPanes two(0);
  SplitterDrag drag;
  drag.HitTest(3000, 4700, two.Panes, two.Geometry);
  MarkerBars bars;
  ASSERT_TRUE(drag.Press(3000, 4700, two.Panes, two.Geometry, bars));
  EXPECT_FALSE(bars.Vertical);
  EXPECT_EQ(bars.Bar, (TwipRect{-60, 4675, 6000 + 120, 60}));
  drag.Move(6000, 4700 + 200, two.Panes, two.Geometry);  // over the between-pane band
  EXPECT_EQ(drag.State(), SplitterDragState::NorthSouth);
  EXPECT_EQ(two.Panes[0].Height, 4200);
  EXPECT_EQ(two.Panes[0].Width, 6000);

  SplitterDrag idle;  // a press outside the bands starts nothing
  MarkerBars none;
  idle.HitTest(200, 200, two.Panes, two.Geometry);
  EXPECT_EQ(idle.Zone(), SplitterZone::Nowhere);
  EXPECT_FALSE(idle.Press(200, 200, two.Panes, two.Geometry, none));
  EXPECT_EQ(idle.State(), SplitterDragState::None);
}

TEST(PaneShares, AutoExpand) {
  struct Case {
    const char* Name;
    unsigned Mask;
    short Active;
    long Layout;
    float Big;      // share of the expanded pane
    float Small;    // share of every other shown pane
    short BigPane;
  };
  const Case cases[] = {
      {"one pane takes everything", 0b1, 0, 0, 1.0f, 0, 0},
      {"two vertical", 0b11, 1, 0, 0.8f, 0.2f, 1},
      {"two horizontal", 0b11, 101, 1, 0.7f, 0.3f, 1},
      {"five vertical", 0b11111, 2, 0, 0.8f, 0.05f, 2},
      {"five horizontal", 0b11111, 2, 1, 0.7f, 0.075f, 2},
      {"active list in a hidden pane: the lowest shown pane grows", 0b10110, 0, 0, 0.8f, 0.1f, 1},
      {"no active list yet", 0b11, -99, 1, 0.7f, 0.3f, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    PaneRecords panes{};
    for (short i = 0; i < kPaneCount; ++i) {
      panes[i].Status = (c.Mask >> i) & 1 ? 0 : 1;
      panes[i].PercentWidth = panes[i].PercentHeightH = 0.25f;
    }
    ASSERT_TRUE(AutoExpandShares(panes, c.Active, c.Layout));
    for (short i = 0; i < kPaneCount; ++i) {
      const float share = c.Layout == 0 ? panes[i].PercentWidth : panes[i].PercentHeightH;
      const float other = c.Layout == 0 ? panes[i].PercentHeightH : panes[i].PercentWidth;
      EXPECT_FLOAT_EQ(other, 0.25f) << i;  // the other orientation is left alone
      if (panes[i].Status != 0) {
        EXPECT_FLOAT_EQ(share, 0.25f) << i;
        EXPECT_FALSE(panes[i].NeedsResize) << i;
      } else {
        EXPECT_FLOAT_EQ(share, i == c.BigPane ? c.Big : c.Small) << i;
        EXPECT_TRUE(panes[i].NeedsResize) << i;
      }
    }
  }
  PaneRecords none{};
  for (auto& p : none) p.Status = 1;
  EXPECT_FALSE(AutoExpandShares(none, 0, 0));
}

TEST(PaneShares, EqualizeGivesEveryShownPaneOneNth) {
  PaneRecords panes{};
  for (short i = 0; i < kPaneCount; ++i) panes[i].Status = i == 3 ? 1 : 0;
  panes[3].PercentWidth = 0.9f;
  EqualizeShares(panes, 4, 12000, 9000, 430, 0, 60);
  for (short i = 0; i < kPaneCount; ++i) {
    if (i == 3) {
      EXPECT_FLOAT_EQ(panes[i].PercentWidth, 0.9f);
      continue;
    }
    EXPECT_FLOAT_EQ(panes[i].PercentWidth, 0.25f);
    EXPECT_FLOAT_EQ(panes[i].PercentHeightH, 0.25f);
    EXPECT_EQ(panes[i].Width, 2955);    // (12000 - 3 x 60) / 4
    EXPECT_EQ(panes[i].HeightH, 2098);  // (9000 - 430 - 180) / 4 = 2097.5
  }
}

}  // namespace
