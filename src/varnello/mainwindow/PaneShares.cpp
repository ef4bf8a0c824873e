#include "mainwindow/PaneShares.h"

#include "mainwindow/PaneArrangement.h"

namespace varnello {

void EqualizeShares(PaneRecords& panes, short n, double scaleWidth, double scaleHeight,
                    long paneAreaTop, long commandLineHeight, long t) {
  if (n <= 0) return;
  const long gaps = static_cast<long>(static_cast<short>((n - 1) * t));
  const long totalWidth = RoundEven(scaleWidth - gaps);
  const long totalHeightH = RoundEven(scaleHeight - paneAreaTop - commandLineHeight - gaps);
  const float share = 1.0f / static_cast<float>(n);
  for (PaneRecord& p : panes) {
    if (p.Status != 0) continue;
    p.Width = RoundEven(static_cast<double>(share) * totalWidth);
    p.PercentWidth = share;
    p.HeightH = RoundEven(static_cast<double>(share) * totalHeightH);
    p.PercentHeightH = share;
  }
}

bool AutoExpandShares(PaneRecords& panes, short activePane, long layout) {
  short pane = activePane >= 100 ? static_cast<short>(activePane - 100) : activePane;
  int shown = 0;
  for (const PaneRecord& p : panes) shown += p.Status == 0 ? 1 : 0;
  if (shown == 0) return false;
  if (pane < 0 || pane >= kPaneCount || panes[pane].Status != 0) pane = LowestShownPane(panes);
  const bool horizontal = layout != 0;
  const float big = shown == 1 ? 1.0f : (horizontal ? 0.7f : 0.8f);
  const float small = shown == 1 ? 0.0f : (horizontal ? 0.3f : 0.2f) / static_cast<float>(shown - 1);
  for (short i = 0; i < kPaneCount; ++i) {
    PaneRecord& p = panes[i];
    if (p.Status != 0) continue;
    p.NeedsResize = true;
    (horizontal ? p.PercentHeightH : p.PercentWidth) = i == pane ? big : small;
  }
  return true;
}

}  // namespace varnello
