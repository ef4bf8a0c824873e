#pragma once
// How the room is shared among the shown panes when the pane set or the auto-expand changes.
#include "mainwindow/PaneRecords.h"

namespace varnello {

// Every shown pane gets the share 1/n in both orientations. `scaleWidth` and `scaleHeight` are
// the window's inner size in twips.
void EqualizeShares(PaneRecords& panes, short shownPaneCount, double scaleWidth,
                    double scaleHeight, long paneAreaTop, long commandLineHeight,
                    long splitterThickness);

// The pane of `activePane` (a list index) takes most of the room in the current orientation and
// the other shown panes share the rest; every shown pane is marked for layout. An active list
// whose pane is hidden gives the room to the lowest shown pane. Answers false, changing
// nothing, when no pane is shown.
bool AutoExpandShares(PaneRecords& panes, short activePane, long layout);

}  // namespace varnello
