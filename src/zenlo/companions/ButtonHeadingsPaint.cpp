// How a heading button looks: a white ground, the face with its black border, the sort arrow
// with the level number, and the caption.
#include "companions/ButtonHeadingsWindow.h"
#include "zenlo/button_headings.h"

namespace zenlo {

namespace {
RECT ToPixels(const RECT& twips) {
  const int tx = tk::TwipsPerPixelX(), ty = tk::TwipsPerPixelY();
  return RECT{tk::TwipsToPixels(twips.left, tx), tk::TwipsToPixels(twips.top, ty),
              tk::TwipsToPixels(twips.right, tx), tk::TwipsToPixels(twips.bottom, ty)};
}

POINT ToPixels(const POINT& twips) {
  return POINT{tk::TwipsToPixels(twips.x, tk::TwipsPerPixelX()),
               tk::TwipsToPixels(twips.y, tk::TwipsPerPixelY())};
}

// An arrow in the left of its 16x16 box, clear of the level number: pointing up for ascending,
// down for descending.
void DrawArrow(HDC dc, POINT at, bool ascending) {
  const int l = at.x + 1, r = at.x + 9, mid = at.x + 5;
  const int top = at.y + 4, bottom = at.y + 10;
  POINT pts[3];
  if (ascending) {
    pts[0] = {l, bottom};
    pts[1] = {r, bottom};
    pts[2] = {mid, top};
  } else {
    pts[0] = {l, top};
    pts[1] = {r, top};
    pts[2] = {mid, bottom};
  }
  tk::Brush fill(CreateSolidBrush(RGB(0, 0, 0)));
  tk::Pen edge(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
  tk::SelectObjectScope b(dc, fill.Get());
  tk::SelectObjectScope p(dc, edge.Get());
  Polygon(dc, pts, 3);
}
}  // namespace

void button_headings::Paint() {
  ButtonHeadingsWindow& w = *window_;
  HWND hwnd = w.Frame.Handle();
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  const int width = w.Frame.Width(), height = w.Frame.Height();
  tk::MemorySurface surface;
  if (width > 0 && height > 0 && surface.Create(width, height, RGB(255, 255, 255), dc)) {
    HDC m = surface.Dc();
    {
      tk::Brush face(CreateSolidBrush(faceColour_));
      tk::Pen border(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
      tk::SelectObjectScope b(m, face.Get());
      tk::SelectObjectScope p(m, border.Get());
      const RECT r = ToPixels(parts_.Outline);
      Rectangle(m, r.left, r.top, r.right, r.bottom);
    }
    SetBkMode(m, TRANSPARENT);
    if (!sortArrow_.empty()) DrawArrow(m, ToPixels(parts_.SortArrow), sortArrow_ == L"ASC");
    if (!sortNumber_.empty()) {
      tk::SelectObjectScope f(m, w.NumberFont.Get());
      SetTextColor(m, RGB(0, 0, 0));
      const POINT at = ToPixels(parts_.SortNumber);
      TextOutW(m, at.x, at.y, sortNumber_.c_str(), static_cast<int>(sortNumber_.size()));
    }
    RECT caption = ToPixels(parts_.Caption);
    if (caption.right > caption.left && !caption_.empty()) {
      tk::SelectObjectScope f(m, w.CaptionFont.Get());
      SetTextColor(m, captionColour_);
      DrawTextW(m, caption_.c_str(), static_cast<int>(caption_.size()), &caption,
                DT_CENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    BitBlt(dc, 0, 0, width, height, m, 0, 0, SRCCOPY);
  }
  EndPaint(hwnd, &ps);
}

}  // namespace zenlo
