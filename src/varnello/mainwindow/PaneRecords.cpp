#include "mainwindow/PaneRecords.h"

namespace varnello {

PaneRecords DefaultPaneRecords() {
  PaneRecords panes{};
  const long status[kPaneCount] = {0, 0, 1, 1, 1};
  const float width[kPaneCount] = {0.5f, 0.5f, 0, 0, 0};
  const float heightH[kPaneCount] = {0.65f, 0.35f, 0, 0, 0};
  for (int i = 0; i < kPaneCount; ++i) {
    PaneRecord& p = panes[i];
    p.Status = status[i];
    p.PercentWidth = width[i];
    p.PercentHeightH = heightH[i];
    p.Order = static_cast<short>(i + 1);
    p.ControlGroup = static_cast<short>(i);
    p.WidthH = 4100;
    p.Height = 4000;
  }
  return panes;
}

short LowestShownPane(const PaneRecords& panes) {
  for (int i = 0; i < kPaneCount; ++i)
    if (panes[i].Status == 0) return static_cast<short>(i);
  return -1;
}

}  // namespace varnello
