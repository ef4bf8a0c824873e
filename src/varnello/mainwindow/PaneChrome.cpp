#include "mainwindow/PaneChrome.h"

#include "toolkit/Gdi.h"
#include "toolkit/Window.h"

namespace varnello {

RECT ToPixels(const TwipRect& r, int tppX, int tppY) {
  const int left = tk::TwipsToPixels(r.Left, tppX);
  const int top = tk::TwipsToPixels(r.Top, tppY);
  return {left, top, left + tk::TwipsToPixels(r.Width, tppX),
          top + tk::TwipsToPixels(r.Height, tppY)};
}

PaneChrome::~PaneChrome() {
  auto destroy = [](HWND& w) {
    if (w && IsWindow(w)) DestroyWindow(w);
    w = nullptr;
  };
  for (HWND& w : titleButtons_) destroy(w);
  for (HWND& w : closeButtons_) destroy(w);
  for (HWND& w : noRoom_) destroy(w);
  for (HWND& w : lines_) destroy(w);
}

void PaneChrome::Create(HWND parent, HFONT font) {
  auto make = [&](const wchar_t* cls, const wchar_t* text, DWORD style, UINT id) {
    HWND w = CreateWindowExW(0, cls, text, WS_CHILD | style, 0, 0, 0, 0, parent,
                             reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
    if (w && font) SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return w;
  };
  for (short i = 0; i < kPaneCount; ++i) {
    titleButtons_[i] = make(L"BUTTON", L"\u2261", BS_PUSHBUTTON, kTitleButtonId + i);
    closeButtons_[i] = make(L"BUTTON", L"x", BS_PUSHBUTTON, kCloseButtonId + i);
    noRoom_[i] = make(L"STATIC", kNoRoomText, SS_LEFT, 0);
    noRoom_[i + kPaneCount] = make(L"STATIC", kNoRoomText, SS_LEFT, 0);
  }
  for (HWND& w : lines_) w = make(L"STATIC", L"", 0, 0);
}

HWND PaneChrome::NoRoom(short index) const {
  if (index >= 0 && index < kPaneCount) return noRoom_[index];
  if (index >= 100 && index < 100 + kPaneCount) return noRoom_[index - 100 + kPaneCount];
  return nullptr;
}

bool PaneChrome::MarkerColour(HWND w, COLORREF& colour) const {
  if (!w) return false;
  if (w == lines_[0] || w == lines_[2]) return colour = kMarkerColour, true;
  if (w == lines_[1] || w == lines_[3]) return colour = kMarkerColour2, true;
  return false;
}

void PaneChrome::HidePane(short pane) {
  for (HWND w : {NoRoom(pane), NoRoom(static_cast<short>(pane + 100)), closeButtons_[pane],
                 titleButtons_[pane]})
    if (w) ShowWindow(w, SW_HIDE);
  PlaceHolder(pane).Visible = false;
  PlaceHolder(static_cast<short>(pane + 100)).Visible = false;
  backs_[pane].Visible = false;
}

void PaneChrome::Paint(HDC dc, COLORREF outline, COLORREF paneBackground) const {
  tk::Brush back(CreateSolidBrush(paneBackground));
  for (const Shape& s : backs_)
    if (s.Visible) FillRect(dc, &s.Bounds, back.Get());
  tk::Brush brush(CreateSolidBrush(outline));
  for (const Shape& s : holders_)
    if (s.Visible) FrameRect(dc, &s.Bounds, brush.Get());
  for (const Shape& s : backs_)
    if (s.Visible) FrameRect(dc, &s.Bounds, brush.Get());
}

}  // namespace varnello
