// Which item, column and marking zone lie under a point of the listing. Points are in the
// listing surface's twips with the vertical scroll included, the way drawing places items, so
// a click, a drag-over and a drop all find the item that is drawn under the pointer.
#include <algorithm>
#include <cmath>

#include "listing/view/ViewState.h"
#include "toolkit/Window.h"
#include "zenlo/ZenloFileControl.h"

namespace zenlo {

namespace {
// Width of the marking zone beside an item's icon, from its left edge.
constexpr double kZoneWidth = 200;
bool ListModeGeometry(const ZenloFileControl& c) {
  return c.ltFolderListType != fbFolder && c.ListMode != listDetails;
}

// Where drawing starts a list-mode cell (its icon) in the first column: every item of a
// listing is on level 1, and each later column starts one column width further on.
double FirstColumnLeft(const ViewState& v) {
  return v.IndentBase + v.IndentStep + v.IconOffsetX;
}
}  // namespace

void ZenloFileControl::FolderBoxPointToTwips(int pixelX, int pixelY, float& X, float& Y) const {
  // The surface scrolls horizontally by moving; vertically its top row is FolderBoxScaleTop.
  X = static_cast<float>(pixelX * tk::TwipsPerPixelX());
  Y = static_cast<float>(pixelY * tk::TwipsPerPixelY() + view_->FolderBoxScaleTop);
}

std::int32_t ZenloFileControl::GetItemIdAtPoint(float X, float Y) {
  const ViewState& v = *view_;
  if (!std::isfinite(X) || !std::isfinite(Y) || v.RowHeight <= 0) {
    RaiseMessage(L"An error occurred while getting the Item ID.");
    return -1;
  }
  if (!ListModeGeometry(*this)) return static_cast<std::int32_t>(std::floor(Y / v.RowHeight));
  const std::int32_t rows = std::max<std::int32_t>(1, v.VisibleRows);
  // A point above or below the box (the pointer is captured while dragging) counts as the
  // first or last row of its column, never as a neighbouring column's item.
  std::int32_t row = static_cast<std::int32_t>(std::floor(Y / v.RowHeight));
  row = std::clamp<std::int32_t>(row, 0, rows - 1);
  const std::int32_t column = GetColumnIdAtPoint(X, Y);
  if (column < 0) return -1;
  std::int32_t item = column * rows + row + v.TopItem * rows;
  if (ltFolderListType == fbFile) item += foldersShown_;
  return item;
}

std::int32_t ZenloFileControl::GetColumnIdAtPoint(float X, float Y) {
  const ViewState& v = *view_;
  if (!std::isfinite(X) || !std::isfinite(Y)) {
    RaiseMessage(L"An error occurred while getting the Column ID.");
    return -1;
  }
  const double firstLeft = FirstColumnLeft(v);
  if (!ListModeGeometry(*this) || X <= firstLeft || v.ColumnWidth <= 0) return 0;
  return static_cast<std::int32_t>(std::floor((X - firstLeft) / v.ColumnWidth));
}

std::int16_t ZenloFileControl::IsInSelectionZone(float X, float Y) {
  if (!std::isfinite(X) || !std::isfinite(Y)) {
    RaiseMessage(L"An error occurred while checked the selection zone.\r\n\r\nError: "
                 L"the point is not a number");
    return 0;
  }
  const ViewState& v = *view_;
  const std::int32_t item = GetItemIdAtPoint(X, Y);
  double left = 0;
  if (ltFolderListType == fbFolder) {
    if (item < 0 || item > lastShownItem_ || item >= itemCount_) return 0;
    left = listItems_[static_cast<std::size_t>(item)].IndentX;
  } else {
    const std::int32_t column = GetColumnIdAtPoint(X, Y);
    if (column < 0 || static_cast<std::size_t>(column) >= v.ColumnZones.size()) return 0;
    left = v.ColumnZones[static_cast<std::size_t>(column)].Left;
  }
  return X > left && X < left + kZoneWidth ? -1 : 0;
}

}  // namespace zenlo
