// Listing geometry and scrolling: rows and columns that fit, the first item shown, and the
// scroll bars' ranges (32-bit, so any listing scrolls to its last row).
#include <algorithm>

#include "listing/view/HeadingStrip.h"
#include "listing/view/ViewState.h"
#include "toolkit/Window.h"
#include "zenlo/ZenloFileControl.h"

namespace zenlo {

namespace {
// List mode applies to listings only; any mode but details lays items out in columns.
bool ListGeometry(const ZenloFileControl& c) {
  return c.ltFolderListType != fbFolder && c.ListMode != listDetails;
}
}  // namespace

void ZenloFileControl::SetFolderBoxProperties(bool ShowFolderPressed) {
  ViewState& v = *view_;
  if (ltFolderListType != fbFolder && v.ShowFoldersPressed) {
    // A listing shows folders exactly while its "showfolders" button is pressed.
    v.Toolbar1.SetEnabled(L"calculate", *v.ShowFoldersPressed);
    ltFolderListType = *v.ShowFoldersPressed ? fbFileAndFolder : fbFile;
  }
  const bool listGeometry = ListGeometry(*this);
  const bool filesOnly = ltFolderListType == fbFile;
  if (ShowFolderPressed && ltFolderListType != fbFolder)
    v.TopItem = filesOnly && !listGeometry ? foldersShown_ : 0;

  if (v.List.Built()) v.List.Fill(v.Skin.ListBackground);

  const std::int32_t N = lastShownItem_ + 1 - (filesOnly ? foldersShown_ : 0);
  v.RowHeight = 265;
  v.ColumnWidth = v.Headings.NameColumnMaxWidth;
  const std::int32_t colourWidth = v.Headings.Headings[0].Width;
  v.VisibleRows = std::max<std::int32_t>(1, v.BoundBoxRect.Height / v.RowHeight);
  // A zero column width (no name measured yet) counts as one visible column.
  v.VisibleColumns =
      v.ColumnWidth > 0
          ? std::max<std::int32_t>(1, (v.BoundBoxRect.Width - colourWidth) / v.ColumnWidth)
          : 1;
  v.ColumnCount = std::max<std::int32_t>(
      1, N / v.VisibleRows + (N > 0 && N % v.VisibleRows != 0 ? 1 : 0));
  v.ColumnZones.assign(static_cast<std::size_t>(v.ColumnCount), ColumnZone{});
  const std::int32_t V = listGeometry ? v.VisibleRows * v.VisibleColumns : v.VisibleRows;

  if (listGeometry) {
    v.FolderBoxRect.Top = 0;
    v.FolderBoxRect.Height = v.BoundBoxRect.Height;
    v.FolderBoxRect.Width = v.BoundBoxRect.Width;
  } else if (foldersShown_ + filesShown_ != 0) {
    const std::int32_t content = (lastShownItem_ + 1) * v.RowHeight;
    v.FolderBoxRect.Height =
        v.BoundBoxRect.Height > content ? content + 30 : v.BoundBoxRect.Height + 30;
    v.FolderBoxRect.Top = 0;
  }
  if (!v.NoRoom) v.HScroll1Rect.Visible = true;

  const bool keepRedraw = v.ScrollRedrawEnabled;
  if (N > V) {
    if (listGeometry) {
      v.HScroll1.SmallChange = v.HScroll1.LargeChange = 1;
      v.HScroll1.SetRange(0, v.ColumnCount - v.VisibleColumns);
      v.VScroll1.SetRange(0, 0);
      v.HScroll1.SetValue(v.TopItem);
    } else {
      v.HScroll1.SetRange(0, std::max<std::int32_t>(0, 35000 - v.BoundBoxRect.Width));
      // A click on an arrow moves a little and one on the track a box's width: a fixed 15000
      // twips slid all the columns out of view at the first click.
      v.HScroll1.SmallChange = 500;
      v.HScroll1.LargeChange = std::max<std::int32_t>(500, v.BoundBoxRect.Width);
      if (!v.NoRoom) v.VScroll1Rect.Visible = true;
      const std::int32_t min = filesOnly ? foldersShown_ : 0;
      v.VScroll1.SetRange(min, std::max(min, lastShownItem_ + 1 - V));
      // A step below 1 is not taken: the bar keeps the one it had.
      const std::int32_t large = v.VScroll1.Max() > V ? V - 1 : 1;
      if (large >= 1) v.VScroll1.LargeChange = large;
      v.VScroll1.SmallChange = 1;
      // A files-only listing never starts above its first file.
      if (filesOnly && v.TopItem < foldersShown_) v.TopItem = foldersShown_;
      v.VScroll1.SetValue(v.TopItem);
    }
  } else {
    v.VScroll1.SetRange(0, 0);
    if (listGeometry) v.HScroll1.SetRange(0, 0);
    if (ltFolderListType != fbFolder) v.TopItem = filesOnly && !listGeometry ? foldersShown_ : 0;
  }
  v.ScrollRedrawEnabled = keepRedraw;
  ApplyPlacement();
}

void ZenloFileControl::VScrollHasChanged() {
  ViewState& v = *view_;
  if (ListGeometry(*this)) return;
  const std::int32_t value = v.VScroll1.Value();
  if (value < v.VScroll1.Min() || value > v.VScroll1.Max()) return;
  v.TopItem = value;
  if (!v.ScrollRedrawEnabled) return;
  DrawFolderBox();
  HighLightActiveItem();
  // The pointer stays on its screen row, which now shows another item.
  if (v.HoverItem != -1 && v.HoverRow >= 0) v.HoverItem = v.HoverRow + v.TopItem;
  HighLightMouseOverItem();
}

void ZenloFileControl::HScrollHasChanged() {
  ViewState& v = *view_;
  RaiseHost([](ZenloFileControlEvents& s) { s.SetLockedIndex(); });
  if (ListGeometry(*this)) {
    const std::int32_t value = v.HScroll1.Value();
    if (value < 0 || value > v.HScroll1.Max()) return;
    v.TopItem = value;
    if (v.ScrollRedrawEnabled) {
      DrawFolderBox();
      HighLightActiveItem();
      v.HoverItem = -1;
      HighLightMouseOverItem();
    }
    return;
  }
  v.FolderBoxRect.Left = -v.HScroll1.Value();
  ApplyPlacement();
  DrawHeadingTitles();  // the buttons slide with the columns
  strip_->RepaintBand();
}

void ZenloFileControl::SetScrollBarMaxMin1() {
  ViewState& v = *view_;
  const std::int32_t rows = std::max<std::int32_t>(1, v.BoundBoxRect.Height / v.RowHeight);
  v.HScroll1.SetRange(0, std::max<std::int32_t>(0, 20000 - v.BoundBoxRect.Width));
  v.HScroll1.SmallChange = v.HScroll1.LargeChange = 500;
  if (!v.NoRoom) v.HScroll1Rect.Visible = true;
  if (lastShownItem_ + 1 > rows) {
    if (!v.NoRoom) v.VScroll1Rect.Visible = true;
    const std::int32_t min = ltFolderListType == fbFile ? foldersShown_ : 0;
    v.VScroll1.SetRange(min, std::max(min, lastShownItem_ + 1 - rows));
    const std::int32_t large = v.VScroll1.Max() > rows ? rows - 1 : 1;
    if (large >= 1) v.VScroll1.LargeChange = large;
    v.VScroll1.SmallChange = 1;
    v.VScroll1.SetValue(v.TopItem);
  } else {
    v.VScroll1.SetRange(0, 0);
    v.FolderBoxRect.Top = 0;
  }
  ApplyPlacement();
}

}  // namespace zenlo
