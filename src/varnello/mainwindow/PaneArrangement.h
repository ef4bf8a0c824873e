#pragma once
// Where every child window of the pane area goes: a pure function of the window's inner size,
// the toolbar, the command line and the pane records. All values are twips.
#include <array>

#include "mainwindow/PaneRecords.h"

namespace varnello {

// Nearest whole number, halves to the even neighbour.
long RoundEven(double value);
// Nearest multiple of 100, halves to the even multiple.
long RoundToHundred(double value);

struct TwipRect {
  long Left = 0;
  long Top = 0;
  long Width = 0;
  long Height = 0;
  bool operator==(const TwipRect&) const = default;
};

// The sizes the arrangement reads besides the records.
struct ArrangeInput {
  double ScaleWidth = 0;   // the window's inner width
  double ScaleHeight = 0;  // the window's inner height
  long ToolbarTop = 0;
  long ToolbarHeight = 0;
  long TitleBarHeight = 255;
  long TitleButtonWidth = 315;  // cmdTitle
  long CloseButtonWidth = 315;  // cmdClosePane
  long TwipsPerPixel = 15;
  long Layout = 1;  // 0 vertical, 1 horizontal
  bool CommandLineOn = false;
  long SplitterThickness = 60;
  long CommandLineBoxHeight = 335;
};

// The layout values the splitters and the shares are computed from.
struct LayoutValues {
  long PaneAreaTop = 410;
  long CommandLineHeight = 0;
  long TotalPaneWidth = 0;
  long PaneAreaWidth = 0;
  long PaneAreaHeight = 0;
  long TotalPaneHeightH = 0;
  long ListAreaTop = 0;
  short FirstShownPane = -1;
  short LastShownPane = -1;
};

// The controls of one pane, by their control index (the pane's ControlGroup).
struct PanePlacement {
  bool Placed = false;  // a shown pane's controls were given these rectangles
  TwipRect Tree, Child, TitleBar, TitleButton, CloseButton;
  TwipRect TreeOutline, ChildOutline, TreeNoRoom, ChildNoRoom, Frame;
};

struct Arrangement {
  // False when the window was too small (or had no width): nothing was moved, and the records
  // and the fit flags are those that came in.
  bool Arranged = false;
  LayoutValues Values;
  PaneRecords Panes;  // the records with their new sizes, fits and positions
  std::array<PanePlacement, kPaneCount> Controls;
  TwipRect LineVert2;  // the splitter bars' span (their thickness is set apart)
  TwipRect LineHorz2;
  bool CommandRowPlaced = false;
  TwipRect CurrentPath, Command;
};

// The ControlGroup values are kept only when they are a permutation of 0..4; a hand-edited set
// that repeats or leaves the range would draw two panes with one set of controls.
bool ControlGroupsValid(const PaneRecords& panes);

Arrangement ArrangePanes2(const ArrangeInput& in, const PaneRecords& records, short shownPaneCount);

}  // namespace varnello
