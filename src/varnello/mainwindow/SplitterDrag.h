#pragma once
// Dragging the bands between a pane's two lists and between neighbouring panes. Nothing moves
// while the button is held: the drag rewrites the pane records, and the release marks the
// panes whose sizes changed for the next layout pass.
#include <array>

#include "mainwindow/PaneArrangement.h"

namespace varnello {

enum class SplitterZone { None, Nowhere, NSVertical, WEHorizontal, WEVertical, NSHorizontal };
enum class SplitterDragState { None, WestEast, NorthSouth };

// The pointer shapes the hit test asks for.
constexpr int kPointerArrow = 1;
constexpr int kPointerSizeNS = 7;
constexpr int kPointerSizeWE = 9;

// Where the two marker bars of a drag stand (both at the same place).
struct MarkerBars {
  bool Vertical = false;  // LineVert/LineVert2 for west-east drags, else LineHorz/LineHorz2
  TwipRect Bar;
};

// What the drag needs to know of the window besides the records.
struct SplitterGeometry {
  long Layout = 1;
  long SplitterThickness = 60;
  LayoutValues Values;
  std::array<TwipRect, kPaneCount> Trees;  // the tree lists where they stand
  double InnerWidth = 0;
  double InnerHeight = 0;
  // How far each band reaches into the lists beside it: the lists' own empty edge, which
  // shows as part of the gap.
  long Grip = 0;
};

class SplitterDrag {
 public:
  static constexpr long kMinPaneWidth = 800;
  static constexpr long kMinTreeHeight = 600;
  static constexpr long kMinTreeWidth = 800;
  static constexpr long kMinPaneHeight = 400;

  // Form_MouseMove without a drag: the band under (x, y); answers the pointer shape to show.
  int HitTest(double x, double y, const PaneRecords& panes, const SplitterGeometry& g);
  // Form_MouseDown: starts a drag over a band; answers where the marker bars go.
  bool Press(double x, double y, const PaneRecords& panes, const SplitterGeometry& g,
             MarkerBars& bars);
  // Form_MouseMove during a drag: new sizes in the records, or none when a minimum is passed.
  void Move(double x, double y, PaneRecords& panes, const SplitterGeometry& g);
  // Form_MouseUp: marks the panes whose sizes changed and recomputes their shares. Answers
  // whether a drag was running; the caller lays out and then calls Finish.
  bool Release(PaneRecords& panes, const SplitterGeometry& g);
  void Finish() { state_ = SplitterDragState::None; }

  SplitterZone Zone() const { return zone_; }
  SplitterDragState State() const { return state_; }
  short Pane() const { return pane_; }
  short PreviousPane() const { return previous_; }
  short NextPane() const { return next_; }
  // How far the band has moved since the press, as last accepted (twips).
  long Offset() const { return offset_; }

 private:
  SplitterZone zone_ = SplitterZone::None;
  SplitterDragState state_ = SplitterDragState::None;
  short pane_ = 0;
  short previous_ = -1;
  short next_ = -1;
  double start_ = 0;
  // At the press: within a pane the tree's extent; between panes both panes' extent and edge.
  long startExtent_ = 0;
  long startPrevExtent_ = 0;
  long startNextExtent_ = 0;
  long startNextEdge_ = 0;
  long offset_ = 0;
};

}  // namespace varnello
