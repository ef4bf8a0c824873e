#include "mainwindow/SplitterDrag.h"

namespace varnello {

int SplitterDrag::HitTest(double x, double y, const PaneRecords& panes,
                          const SplitterGeometry& g) {
  zone_ = SplitterZone::None;
  const double t = static_cast<double>(g.SplitterThickness) + 2.0 * g.Grip;
  const bool vertical = g.Layout == 0;
  for (short i = 0; i < kPaneCount; ++i) {
    if (panes[i].Status != 0) continue;
    const TwipRect& tree = g.Trees[i];
    const TwipRect r{tree.Left, tree.Top, tree.Width - g.Grip, tree.Height - g.Grip};
    const bool hit = vertical ? r.Left < x && x < r.Left + r.Width && r.Top + r.Height < y &&
                                    y < r.Top + r.Height + t
                              : r.Top < y && y < r.Top + r.Height && r.Left + r.Width < x &&
                                    x < r.Left + r.Width + t;
    if (hit) {
      pane_ = i;
      zone_ = vertical ? SplitterZone::NSVertical : SplitterZone::WEHorizontal;
      return vertical ? kPointerSizeNS : kPointerSizeWE;
    }
  }
  for (short i = 0; i < kPaneCount; ++i) {
    if (panes[i].Status != 0 || i == g.Values.LastShownPane) continue;
    const TwipRect& tree = g.Trees[i];
    const TwipRect r{tree.Left, tree.Top, tree.Width - g.Grip, tree.Height - g.Grip};
    // Near the title bars the band is left to the title bar's own mouse handling.
    const bool hit = vertical ? r.Left + r.Width < x && x < r.Left + r.Width + t &&
                                    y > g.Values.ListAreaTop + 300
                              : r.Top + r.Height < y && y < r.Top + r.Height + t;
    if (hit) {
      pane_ = i;
      zone_ = vertical ? SplitterZone::WEVertical : SplitterZone::NSHorizontal;
      return vertical ? kPointerSizeWE : kPointerSizeNS;
    }
  }
  zone_ = SplitterZone::Nowhere;
  return kPointerArrow;
}

bool SplitterDrag::Press(double x, double y, const PaneRecords& panes, const SplitterGeometry& g,
                         MarkerBars& bars) {
  const long t = g.SplitterThickness;
  const long bar = t;  // the marker bars are as thick as the band
  const bool vertical = g.Layout == 0;
  if (zone_ == SplitterZone::WEVertical || zone_ == SplitterZone::NSHorizontal) {
    previous_ = -1;
    next_ = -1;
    const double at = vertical ? x : y;
    int counted = 0;
    for (short i = 0; i < kPaneCount; ++i) {
      if (panes[i].Status != 0) continue;
      ++counted;
      const long edge = vertical ? g.Trees[i].Left : g.Trees[i].Top;
      if (counted >= 2 && edge > at) {
        next_ = i;
        break;
      }
      previous_ = i;
    }
    if (previous_ < 0 || next_ < 0) return false;
    const PaneRecord& p = panes[previous_];
    const PaneRecord& n = panes[next_];
    startPrevExtent_ = vertical ? p.Width : p.HeightH;
    startNextExtent_ = vertical ? n.Width : n.HeightH;
    startNextEdge_ = vertical ? n.Left : n.Top;
    start_ = at;
    offset_ = 0;
    const TwipRect& tree = g.Trees[previous_];
    bars.Vertical = vertical;
    if (vertical) {
      const long top = g.Values.PaneAreaTop;
      bars.Bar = {tree.Left + tree.Width + t / 2 - bar / 2, top, t,
                  RoundEven(g.InnerHeight - g.Values.CommandLineHeight - top)};
      state_ = SplitterDragState::WestEast;
    } else {
      bars.Bar = {0, tree.Top + tree.Height + t / 2 - bar / 2, RoundEven(g.InnerWidth), t};
      state_ = SplitterDragState::NorthSouth;
    }
    zone_ = SplitterZone::None;
    return true;
  }
  if (zone_ == SplitterZone::NSVertical || zone_ == SplitterZone::WEHorizontal) {
    const PaneRecord& p = panes[pane_];
    const TwipRect& tree = g.Trees[pane_];
    startExtent_ = vertical ? p.Height : p.WidthH;
    start_ = vertical ? y : x;
    offset_ = 0;
    bars.Vertical = !vertical;
    if (vertical) {
      bars.Bar = {p.Left - t, tree.Top + tree.Height + t / 2 - bar / 2, p.Width + 2 * t, t};
      state_ = SplitterDragState::NorthSouth;
    } else {
      bars.Bar = {tree.Left + tree.Width + t / 2 - bar / 2, tree.Top - t, t, tree.Height + 2 * t};
      state_ = SplitterDragState::WestEast;
    }
    zone_ = SplitterZone::None;
    return true;
  }
  return false;
}

void SplitterDrag::Move(double x, double y, PaneRecords& panes, const SplitterGeometry& g) {
  if (state_ == SplitterDragState::None) return;
  const bool westEast = state_ == SplitterDragState::WestEast;
  const double d = (westEast ? x : y) - start_;
  const long r = RoundToHundred(d);
  const bool vertical = g.Layout == 0;
  if (westEast == vertical) {
    // Between two panes: the band moves one pane's edge and both panes' extents.
    if (previous_ < 0 || next_ < 0) return;
    const long minimum = vertical ? kMinPaneWidth : kMinPaneHeight;
    if (startNextExtent_ - d < minimum || startPrevExtent_ + d < minimum) return;
    PaneRecord& p = panes[previous_];
    PaneRecord& n = panes[next_];
    (vertical ? n.Left : n.Top) = startNextEdge_ + r;
    (vertical ? n.Width : n.HeightH) = startNextExtent_ - r;
    (vertical ? p.Width : p.HeightH) = startPrevExtent_ + r;
    offset_ = r;
    return;
  }
  const long extent = startExtent_ + r;
  if (vertical) {
    if (extent >= kMinTreeHeight && g.Values.PaneAreaHeight - extent >= kMinTreeHeight) {
      panes[pane_].Height = extent;
      offset_ = r;
    }
  } else if (extent >= kMinTreeWidth && g.Values.PaneAreaWidth - extent >= kMinTreeWidth) {
    panes[pane_].WidthH = extent;
    offset_ = r;
  }
}

bool SplitterDrag::Release(PaneRecords& panes, const SplitterGeometry& g) {
  if (state_ == SplitterDragState::None) return false;
  const bool vertical = g.Layout == 0;
  const bool westEast = state_ == SplitterDragState::WestEast;
  if (westEast == vertical) {
    if (previous_ < 0 || next_ < 0) return true;
    PaneRecord& p = panes[previous_];
    PaneRecord& n = panes[next_];
    const long prevNow = vertical ? p.Width : p.HeightH;
    const long nextNow = vertical ? n.Width : n.HeightH;
    const long total = vertical ? g.Values.TotalPaneWidth : g.Values.TotalPaneHeightH;
    if ((prevNow != startPrevExtent_ || nextNow != startNextExtent_) && total > 0) {
      for (PaneRecord* q : {&p, &n}) {
        const float share = static_cast<float>(vertical ? q->Width : q->HeightH) /
                            static_cast<float>(total);
        (vertical ? q->PercentWidth : q->PercentHeightH) = share;
        q->NeedsResize = true;
      }
    }
    return true;
  }
  PaneRecord& p = panes[pane_];
  if ((vertical ? p.Height : p.WidthH) != startExtent_) p.NeedsResize = true;
  return true;
}

}  // namespace varnello
