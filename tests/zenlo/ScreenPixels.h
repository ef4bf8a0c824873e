#pragma once
// What a window shows now: its client area copied once, read pixel by pixel.
#include <windows.h>

#include "toolkit/EventLoop.h"

namespace testsupport {

class ScreenPixels {
 public:
  // Lets pending paints happen first, then copies the client area of `hwnd`.
  explicit ScreenPixels(HWND hwnd) {
    RedrawWindow(GetAncestor(hwnd, GA_ROOT), nullptr, nullptr,
                 RDW_UPDATENOW | RDW_ALLCHILDREN);
    tk::PumpUntil([] { return false; }, 150);
    RECT r{};
    GetClientRect(hwnd, &r);
    width_ = r.right;
    height_ = r.bottom;
    // Read through the window's own device context: the screen's would be off by the
    // window manager's frame, which Wine does not know about.
    HDC window = GetDC(hwnd);
    dc_ = CreateCompatibleDC(window);
    bitmap_ = CreateCompatibleBitmap(window, width_ > 0 ? width_ : 1, height_ > 0 ? height_ : 1);
    previous_ = SelectObject(dc_, bitmap_);
    BitBlt(dc_, 0, 0, width_, height_, window, 0, 0, SRCCOPY);
    ReleaseDC(hwnd, window);
  }
  ~ScreenPixels() {
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  ScreenPixels(const ScreenPixels&) = delete;
  ScreenPixels& operator=(const ScreenPixels&) = delete;

  COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  int width_ = 0, height_ = 0;
};

}  // namespace testsupport
