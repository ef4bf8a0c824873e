// The Size cell of one row while its folder is summed: "calculating...", then the total.
#include "listing/view/ViewState.h"
#include "toolkit/Text.h"
#include "toolkit/Window.h"
#include "zenlo/ZenloFileControl.h"

namespace zenlo {

void ZenloFileControl::ShowSizeCell(std::int32_t index, const std::wstring& text) {
  ViewState& v = *view_;
  if (index < 0 || index >= itemCount_ || ListMode != listDetails) return;
  const TypeListItem& item = listItems_[static_cast<std::size_t>(index)];
  if (item.RowTop == -1 || index < v.FirstVisible || index > v.LastVisible) return;
  const TypeHeading* size = nullptr;
  for (int slot = 1; slot <= 10 && !size; ++slot) {
    const TypeHeading& h = v.Headings.Headings[static_cast<std::size_t>(slot)];
    if (h.Active && tk::SameText(h.Key, L"sSize")) size = &h;
  }
  HDC dc = v.List.Dc();
  if (!size || !dc) return;
  const int tppX = tk::TwipsPerPixelX(), tppY = tk::TwipsPerPixelY();
  RECT cell{tk::TwipsToPixels(size->Left - v.EdgeGap, tppX), tk::TwipsToPixels(item.RowTop, tppY),
            tk::TwipsToPixels(size->Right - v.EdgeGap, tppX),
            tk::TwipsToPixels(item.RowTop + v.RowHeight, tppY)};
  tk::Brush background(CreateSolidBrush(v.Skin.ListBackground));
  FillRect(dc, &cell, background.Get());
  if (!text.empty()) {
    RECT textRect{cell.left, tk::TwipsToPixels(item.RowTop + 30, tppY),
                  tk::TwipsToPixels(size->Right - 50 - v.EdgeGap, tppX), cell.bottom};
    SetTextColor(dc, v.Skin.ListText);
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
              DT_SINGLELINE | DT_NOPREFIX | DT_TOP | DT_RIGHT);
  }
  if (v.Front.Built())
    BitBlt(v.Front.Dc(), cell.left, cell.top, cell.right - cell.left, cell.bottom - cell.top, dc,
           cell.left, cell.top, SRCCOPY);
  if (index == activeItem_ || index == activeItem_ + 1) HighLightActiveItem();
  if (HWND box = v.FolderBox.Handle()) InvalidateRect(box, &cell, FALSE);
}

}  // namespace zenlo
