// Marks drawn over the listing: the active item's frame, the hover underline, selection
// markers and the pane's outline. They go into the front copy that painting shows, so they
// survive being covered; each is erased by drawing it again in the list background.
#include "listing/model/ChangeWatch.h"
#include "listing/view/ViewState.h"
#include "toolkit/Text.h"
#include "toolkit/TransparentBlt.h"
#include "toolkit/Window.h"
#include "zenlo/ZenloFileControl.h"

namespace zenlo {

void ZenloFileControl::FrontLine(std::int32_t x1, std::int32_t y1, std::int32_t x2,
                                 std::int32_t y2, COLORREF colour) {
  ViewState& v = *view_;
  if (!v.Front.Built()) return;
  // Box coordinates (twips, with the scroll offset) to front-copy pixels.
  const int tppX = tk::TwipsPerPixelX(), tppY = tk::TwipsPerPixelY();
  tk::Pen pen(CreatePen(PS_SOLID, 1, colour));
  tk::SelectObjectScope use(v.Front.Dc(), pen.Get());
  MoveToEx(v.Front.Dc(), tk::TwipsToPixels(x1, tppX),
           tk::TwipsToPixels(y1 - v.FolderBoxScaleTop, tppY), nullptr);
  LineTo(v.Front.Dc(), tk::TwipsToPixels(x2, tppX),
         tk::TwipsToPixels(y2 - v.FolderBoxScaleTop, tppY));
  if (v.FolderBox.Handle()) InvalidateRect(v.FolderBox.Handle(), nullptr, FALSE);
}

void ZenloFileControl::DrawActiveFrame(COLORREF colour) {
  const auto& f = view_->ActiveFrame;
  const auto l = static_cast<std::int32_t>(f.Left), r = static_cast<std::int32_t>(f.Right);
  const auto t = static_cast<std::int32_t>(f.Top), b = static_cast<std::int32_t>(f.Bottom);
  FrontLine(l, t, r, t, colour);
  FrontLine(l, b, r, b, colour);
  FrontLine(l, t, l, b, colour);
  FrontLine(r, t, r, b, colour);
}

void ZenloFileControl::PlaceActiveFrame(const TypeListItem& item) {
  ViewState& v = *view_;
  const bool listMode = ltFolderListType != fbFolder && ListMode != listDetails;
  v.ActiveFrame.Left = listMode ? item.DrawLeft - 250 : 15;
  v.ActiveFrame.Right = listMode ? item.DrawRight : v.FolderBoxRect.Width - 20;
  v.ActiveFrame.Top = item.DrawBottom + 15;
  v.ActiveFrame.Bottom = item.DrawBottomGap + 15;
}

void ZenloFileControl::RestoreHighlights() {
  // The front copy was just replaced by a fresh listing: the frame and the underline that
  // were on it are gone, so they are drawn again where their items now are.
  ViewState& v = *view_;
  auto drawn = [&](std::int32_t i) {
    return i >= 0 && i <= lastShownItem_ && i < itemCount_ && v.FirstVisible >= 0 &&
           i >= v.FirstVisible && i <= v.LastVisible;
  };
  if (drawn(activeItem_)) {
    PlaceActiveFrame(listItems_[static_cast<std::size_t>(activeItem_)]);
    DrawActiveFrame(v.Skin.ActiveItemOutline);
  }
  if (drawn(v.HoverItem)) {
    const TypeListItem& item = listItems_[static_cast<std::size_t>(v.HoverItem)];
    const std::int32_t x1 = item.DrawLeft + 20, x2 = item.DrawRight - 30,
                       y = item.DrawBottomGap - 25;
    FrontLine(x1, y, x2, y, v.Skin.ActiveItemUnderline);
    v.HoverLine = {x1, x2, y, y};
    v.LastHoverItem = v.HoverItem;
  }
}

void ZenloFileControl::HighLightActiveItem() {
  ViewState& v = *view_;
  DrawActiveFrame(v.Skin.ListBackground);
  if (activeItem_ < 0 || activeItem_ > lastShownItem_ || activeItem_ >= itemCount_) return;
  const TypeListItem& item = listItems_[static_cast<std::size_t>(activeItem_)];
  PlaceActiveFrame(item);
  DrawActiveFrame(v.Skin.ActiveItemOutline);
  if (ltFolderListType != fbFolder) return;
  if (!tk::SameText(item.RealPath(), v.LastActiveTreePath)) {
    folderChanged_ = false;
    folderChangeText_.clear();
    fileChangeText_.clear();
    UpdateStatus(false);
    v.LastActiveTreePath = item.RealPath();
  }
  // The tree watches its active folder for new and removed sub-folders.
  WatchFolder = item.RealPath();
  WatchStart();
}

void ZenloFileControl::HighLightMouseOverItem() {
  ViewState& v = *view_;
  if (itemCount_ == 0) return;
  auto& line = v.HoverLine;
  std::int32_t x1 = line.X1, x2 = line.X2, y = line.Y1;
  if (v.HoverItem >= 0 && v.HoverItem < itemCount_) {
    const TypeListItem& item = listItems_[static_cast<std::size_t>(v.HoverItem)];
    x1 = item.DrawLeft + 20;
    y = item.DrawBottomGap - 25;
    x2 = item.DrawRight - 30;
  }
  if (v.LastHoverItem >= 0 && v.LastHoverItem <= lastShownItem_)
    FrontLine(line.X1, line.Y1, line.X2, line.Y2, v.Skin.ListBackground);
  if (v.HoverItem >= 0 && v.HoverItem <= lastShownItem_) {
    FrontLine(x1, y, x2, y, v.Skin.ActiveItemUnderline);
    v.LastHoverItem = v.HoverItem;
  }
  line = {x1, x2, y, y};
}

void ZenloFileControl::ClearTempGraphics() {
  ViewState& v = *view_;
  LastSelItemHighLight = true;
  if (v.LastHoverItem >= 0 && v.LastHoverItem < itemCount_) {
    const std::int32_t y = (v.LastHoverItem + 1) * v.RowHeight - 25;
    FrontLine(listItems_[static_cast<std::size_t>(v.LastHoverItem)].IndentX, y,
              v.FolderBoxRect.Width, y, v.Skin.ListBackground);
  }
  v.HoverItem = -1;
}

void ZenloFileControl::HighLightFromDragOver(float Y) {
  ViewState& v = *view_;
  DroppedOnActiveItem = false;
  const double offset = Y - v.BoundBoxRect.Top;
  if (!(offset > 0 && offset < v.BoundBoxRect.Height)) return;
  v.HoverItem = static_cast<std::int32_t>((v.FolderBoxScaleTop + offset) / v.RowHeight);
  if (v.HoverItem < 0 || v.HoverItem > lastShownItem_) {
    v.HoverItem = -1;
    return;
  }
  if (v.HoverItem == activeItem_) DroppedOnActiveItem = true;
  const auto* last = std::get_if<std::int32_t>(&LastSelItemHighLight);
  if (!v.EmptyTextShown && (!last || *last != v.HoverItem)) {
    SetActiveItems();  // the folder a drop here goes into
    HighLightMouseOverItem();
    LastSelItemHighLight = v.HoverItem;
  }
}

void ZenloFileControl::RedrawTemporaryLines() {
  HighLightActiveItem();
  HighLightMouseOverItem();
}

void ZenloFileControl::HiLightControl(bool HiLight) {
  ViewState& v = *view_;
  // The whole pane takes the colour, so the active one stands out from its neighbours.
  const COLORREF background = HiLight ? v.Skin.ActiveListOutline : RGB(0, 0, 0);
  const COLORREF border = HiLight ? v.Skin.ActiveListOutline : v.Skin.InActiveListOutline;
  // Marking every list on each layout pass repaints only those whose look changes.
  if (background == v.Skin.ControlBackground && border == v.Skin.UserControlBorder) return;
  v.Skin.ControlBackground = background;
  v.Skin.UserControlBorder = border;
  if (HWND box = v.BoundBox.Handle()) {
    SetWindowLongPtrW(box, GWL_STYLE, GetWindowLongPtrW(box, GWL_STYLE) & ~WS_BORDER);
    SetWindowLongPtrW(box, GWL_EXSTYLE,
                      GetWindowLongPtrW(box, GWL_EXSTYLE) & ~(WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));
  }
  if (v.Surface.Handle()) InvalidateRect(v.Surface.Handle(), nullptr, TRUE);
}

void ZenloFileControl::EraseSelectionMark(std::int32_t index) {
  ViewState& v = *view_;
  if (!v.Front.Built() || index < 0 || index >= itemCount_) return;
  const TypeListItem& item = listItems_[static_cast<std::size_t>(index)];
  const int tppX = tk::TwipsPerPixelX(), tppY = tk::TwipsPerPixelY();
  const int x0 = tk::TwipsToPixels(item.DrawLeft, tppX);
  const RECT cell{x0, tk::TwipsToPixels(item.DrawBottom - v.FolderBoxScaleTop + 40, tppY), x0 + 12,
                  tk::TwipsToPixels(item.DrawBottom - v.FolderBoxScaleTop + 60, tppY) + 11};
  tk::Brush back(CreateSolidBrush(v.Skin.ListBackground));
  FillRect(v.Front.Dc(), &cell, back.Get());
  if (v.FolderBox.Handle()) InvalidateRect(v.FolderBox.Handle(), nullptr, FALSE);
}

}  // namespace zenlo
