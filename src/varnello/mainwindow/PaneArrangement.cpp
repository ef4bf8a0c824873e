#include "mainwindow/PaneArrangement.h"

#include <cmath>

namespace varnello {

long RoundEven(double value) {
  // nearbyint follows the default rounding mode, which is to nearest with ties to even.
  return static_cast<long>(std::nearbyint(value));
}

long RoundToHundred(double value) { return RoundEven(value / 100.0) * 100; }

bool ControlGroupsValid(const PaneRecords& panes) {
  std::array<bool, kPaneCount> seen{};
  for (const PaneRecord& p : panes) {
    if (p.ControlGroup < 0 || p.ControlGroup >= kPaneCount || seen[p.ControlGroup]) return false;
    seen[p.ControlGroup] = true;
  }
  return true;
}

namespace {

void SizeVertical(PaneRecord& p, const LayoutValues& v, double edge, double t) {
  p.Width = RoundEven(p.PercentWidth * v.TotalPaneWidth);
  p.MainListWidth = RoundEven(p.PercentWidth * v.TotalPaneWidth - edge);
  p.ChildListWidth = p.MainListWidth;
  p.Height = RoundToHundred(p.Height);
  auto heights = [&] {
    p.MainListHeight = RoundEven(p.Height - t - 0.5 * t);
    p.ChildListHeight = RoundEven(v.PaneAreaHeight - p.Height - 0.5 * t - t);
  };
  heights();
  if (p.MainListHeight > v.PaneAreaHeight - 500) {
    p.Height = RoundToHundred(v.PaneAreaHeight - 500);
    heights();
  }
}

void SizeHorizontal(PaneRecord& p, const LayoutValues& v, long titleHeight, double t, short n) {
  p.HeightH = RoundEven(p.PercentHeightH * v.TotalPaneHeightH);
  // Every row gives up its title bar and its share of the gaps above, between and below.
  const double gaps = n > 0 ? static_cast<double>((2 * n + 1) * static_cast<long>(t)) / n : 0.0;
  p.MainListHeight = RoundEven(p.PercentHeightH * v.TotalPaneHeightH - titleHeight - gaps);
  p.ChildListHeight = p.MainListHeight;
  p.WidthH = RoundToHundred(p.WidthH);
  auto widths = [&] {
    p.MainListWidth = RoundEven(p.WidthH - t - 0.5 * t);
    p.ChildListWidth = RoundEven(v.PaneAreaWidth - p.WidthH - t - 0.5 * t);
  };
  widths();
  if (p.MainListWidth > v.PaneAreaWidth - 800) {
    p.WidthH = RoundToHundred(v.PaneAreaWidth - 800);
    widths();
  }
}

void SetFits(PaneRecord& p, bool horizontal) {
  p.ChildListFits = true;
  p.MainListFits = true;
  if (p.MainListWidth < 1200 || (horizontal && p.MainListHeight < 1700)) p.MainListFits = false;
  if (p.ChildListWidth < 1200 || p.ChildListHeight < 1700) p.ChildListFits = false;
  for (long* extent : {&p.MainListWidth, &p.MainListHeight, &p.ChildListWidth, &p.ChildListHeight})
    if (*extent < 0) *extent = 0;
}

// An outline with a negative extent cannot be drawn: it collapses to nothing.
TwipRect Outline(long left, long top, long width, long height) {
  if (width < 0 || height < 0) return {};
  return {left, top, width, height};
}

TwipRect Inset(const TwipRect& r) {
  const long w = r.Width - 100, h = r.Height - 100;
  return {r.Left + 50, r.Top + 50, w < 0 ? 0 : w, h < 0 ? 0 : h};
}

}  // namespace

Arrangement ArrangePanes2(const ArrangeInput& in, const PaneRecords& records,
                          short shownPaneCount) {
  Arrangement out;
  out.Panes = records;
  if (!ControlGroupsValid(out.Panes))
    for (short i = 0; i < kPaneCount; ++i) out.Panes[i].ControlGroup = i;
  LayoutValues& v = out.Values;
  v.PaneAreaTop = 430;
  v.FirstShownPane = -1;
  if (in.ScaleWidth == 0) return out;
  const double t = static_cast<double>(in.SplitterThickness);
  const long title = in.TitleBarHeight;
  const long px = in.TwipsPerPixel;
  const bool horizontal = in.Layout != 0;
  v.CommandLineHeight = in.CommandLineOn ? in.CommandLineBoxHeight : 0;
  v.PaneAreaWidth = RoundEven(in.ScaleWidth);
  v.TotalPaneHeightH = RoundEven(in.ScaleHeight - in.ToolbarHeight - v.CommandLineHeight);
  v.TotalPaneWidth = RoundEven(in.ScaleWidth);
  v.PaneAreaHeight =
      RoundEven(in.ScaleHeight - in.ToolbarHeight - v.CommandLineHeight - title - t);
  if (v.PaneAreaHeight < 2000 || v.TotalPaneWidth < 2000) return out;
  v.ListAreaTop = RoundEven(static_cast<double>(in.ToolbarTop + in.ToolbarHeight + title));
  for (short i = 0; i < kPaneCount; ++i) {
    if (out.Panes[i].Status != 0) continue;
    if (v.FirstShownPane == -1) v.FirstShownPane = i;
    v.LastShownPane = i;
  }
  PaneRecords& panes = out.Panes;

  for (short i = 0; i < kPaneCount; ++i) {
    PaneRecord& p = panes[i];
    if (p.Status != 0) continue;
    const double edge = (i == v.FirstShownPane || i == v.LastShownPane) ? t + t / 2 : t;
    if (horizontal)
      SizeHorizontal(p, v, title, t, shownPaneCount);
    else
      SizeVertical(p, v, edge, t);
  }
  for (PaneRecord& p : panes)
    if (p.Status == 0) SetFits(p, horizontal);

  auto& controls = out.Controls;
  for (short i = 0; i < kPaneCount; ++i) {
    if (panes[i].Status != 0) continue;
    controls[i].Tree.Width = panes[i].MainListWidth;
    controls[i].Tree.Height = panes[i].MainListHeight;
    controls[i].Child.Width = panes[i].ChildListWidth;
    controls[i].Child.Height = panes[i].ChildListHeight;
  }

  out.LineHorz2 = {0, 0, RoundEven(in.ScaleWidth), 0};
  out.LineVert2 = horizontal ? TwipRect{0, RoundEven(v.ListAreaTop - title + t / 2), 0,
                                        v.TotalPaneHeightH}
                             : TwipRect{0, v.ListAreaTop, 0, v.PaneAreaHeight};

  double x = 0, y = v.PaneAreaTop;
  const long halfGap = RoundEven(t / 2);
  for (short i = 0; i < kPaneCount; ++i) {
    if (panes[i].Status != 0) continue;
    const short g = panes[i].ControlGroup;
    PanePlacement& c = controls[g];
    const PaneRecord& rg = panes[g];
    c.Placed = true;
    const double gap = i == v.FirstShownPane ? t : static_cast<double>(halfGap);
    if (!horizontal) {
      panes[i].Left = RoundEven(x);
      c.Tree.Left = RoundEven(x + gap);
      c.Child.Left = c.Tree.Left;
      c.Tree.Top = RoundEven(v.ListAreaTop + 2 * t);
      c.Child.Top = RoundEven(c.Tree.Top + rg.MainListHeight + t);
      c.TitleBar = {c.Tree.Left, RoundEven(t + v.PaneAreaTop),
                    rg.MainListWidth - in.CloseButtonWidth - in.TitleButtonWidth + 2 * px, title};
      x = c.Tree.Left + rg.MainListWidth + t / 2;
    } else {
      panes[i].Top = RoundEven(y);
      c.Tree.Top = RoundEven(y + title + 2 * t);
      c.Child.Top = c.Tree.Top;
      c.Tree.Left = RoundEven(x + t);
      c.Child.Left = RoundEven(c.Tree.Left + c.Tree.Width + t);
      c.TitleBar = {c.Tree.Left, RoundEven(panes[g].Top + t),
                    RoundEven((v.PaneAreaWidth - 2 * t) - in.CloseButtonWidth -
                              in.TitleButtonWidth + 2 * px),
                    title};
      y = c.Tree.Top + rg.MainListHeight;
    }
    c.TitleButton = {c.TitleBar.Left + c.TitleBar.Width - px, c.TitleBar.Top, in.TitleButtonWidth,
                     315};
    c.CloseButton = {c.TitleButton.Left + c.TitleButton.Width - px, c.TitleBar.Top,
                     in.CloseButtonWidth, 315};
  }

  if (in.CommandLineOn) {
    const double m = t;
    out.CommandRowPlaced = true;
    const long pathWidth = RoundEven((in.ScaleWidth - 3 * m) / 2);
    out.CurrentPath = {RoundEven(m), RoundEven(in.ScaleHeight - 305), pathWidth, 315};
    out.Command = {RoundEven(m + pathWidth + m), RoundEven(in.ScaleHeight - 340), pathWidth, 315};
  }

  const long p7 = RoundEven(7.0 * px);
  for (short i = 0; i < kPaneCount; ++i) {
    if (panes[i].Status != 0) continue;
    PanePlacement& c = controls[i];
    const TwipRect& tree = c.Tree;
    const TwipRect& child = c.Child;
    c.TreeOutline = horizontal ? Outline(tree.Left + p7, tree.Top, tree.Width - p7,
                                         tree.Height - p7)
                               : Outline(tree.Left + p7, tree.Top, tree.Width - 2 * p7,
                                         tree.Height);
    c.ChildOutline = horizontal ? Outline(child.Left, child.Top, child.Width - p7,
                                          child.Height - p7)
                                : Outline(child.Left + p7, child.Top, child.Width - 2 * p7,
                                          child.Height - p7);
    c.TreeNoRoom = Inset(c.TreeOutline);
    c.ChildNoRoom = Inset(c.ChildOutline);
    const PaneRecord& p = panes[i];
    c.Frame.Left = tree.Left;
    c.Frame.Top = c.TitleBar.Top;
    if (horizontal) {
      c.Frame.Width = child.Left + p.ChildListWidth - c.Frame.Left;
      c.Frame.Height = tree.Top + p.MainListHeight - c.Frame.Top;
    } else {
      c.Frame.Width = p.MainListWidth;
      c.Frame.Height = child.Top + p.ChildListHeight - c.Frame.Top;
    }
  }
  out.Arranged = true;
  return out;
}

}  // namespace varnello
