#include "settings/WindowPosition.h"

#include <algorithm>
#include <cmath>

#include "toolkit/Window.h"

namespace varnello {

namespace {

constexpr double kMinimumTwips = 5000;  // as the window's own minimum track size
constexpr double kFarTwips = 1e7;       // a damaged number never overflows a pixel

long Pixels(double twips, int perPixel) {
  return std::lround(std::clamp(twips, -kFarTwips, kFarTwips) / perPixel);
}

tk::SettingValue Twips(long pixels, int perPixel) {
  return tk::SettingValue::Real(static_cast<double>(pixels) * perPixel, true);
}

}  // namespace

tk::SettingRecord WindowPositionRecord(HWND window, bool showMaximised) {
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  GetWindowPlacement(window, &wp);
  const RECT& r = wp.rcNormalPosition;
  const int tx = tk::TwipsPerPixelX(), ty = tk::TwipsPerPixelY();
  tk::SettingRecord rec;
  rec.Key = L"ProgramPosition";
  const bool maximised =
      IsWindowVisible(window)
          ? IsZoomed(window) || (IsIconic(window) && (wp.flags & WPF_RESTORETOMAXIMIZED))
          : showMaximised;
  // A maximised window also keeps the size it is restored to.
  if (maximised)
    rec.Values = {tk::SettingValue::Text(L"max"), Twips(r.top, ty), Twips(r.left, tx),
                  Twips(r.right - r.left, tx), Twips(r.bottom - r.top, ty)};
  else
    rec.Values = {Twips(r.top, ty), Twips(r.left, tx), Twips(r.right - r.left, tx),
                  Twips(r.bottom - r.top, ty), tk::SettingValue::Whole(0)};
  return rec;
}

void PlaceWindow(HWND window, const WindowPlace& place, bool& showMaximised) {
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  GetWindowPlacement(window, &wp);
  const int tx = tk::TwipsPerPixelX(), ty = tk::TwipsPerPixelY();
  RECT r = wp.rcNormalPosition;
  long width = r.right - r.left, height = r.bottom - r.top;
  if (place.Width) width = Pixels(std::max(*place.Width, kMinimumTwips), tx);
  if (place.Height) height = Pixels(std::max(*place.Height, kMinimumTwips), ty);
  const bool visible = IsWindowVisible(window) != FALSE;
  const bool sameShow =
      !visible || ((IsZoomed(window) != FALSE) == place.Maximised && !IsIconic(window));
  const RECT asked{Pixels(place.Left, tx), Pixels(place.Top, ty), Pixels(place.Left, tx) + width,
                   Pixels(place.Top, ty) + height};
  // A window already where it is asked to be was brought onto a monitor when it was put there:
  // the monitor queries, slow on some systems, would change nothing.
  if (sameShow && EqualRect(&wp.rcNormalPosition, &asked)) {
    showMaximised = place.Maximised;
    return;
  }
  // Never larger than every monitor together.
  width = std::min<long>(width, GetSystemMetrics(SM_CXVIRTUALSCREEN));
  height = std::min<long>(height, GetSystemMetrics(SM_CYVIRTUALSCREEN));
  r.left = Pixels(place.Left, tx);
  r.top = Pixels(place.Top, ty);
  r.right = r.left + width;
  r.bottom = r.top + height;
  // A window whose place lies off every monitor (one unplugged since) comes back on the
  // primary one.
  if (!MonitorFromRect(&r, MONITOR_DEFAULTTONULL)) {
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    GetMonitorInfoW(MonitorFromWindow(nullptr, MONITOR_DEFAULTTOPRIMARY), &mi);
    const RECT& work = mi.rcWork;
    width = std::min<long>(width, work.right - work.left);
    height = std::min<long>(height, work.bottom - work.top);
    r.left = work.left + (work.right - work.left - width) / 2;
    r.top = work.top + (work.bottom - work.top - height) / 2;
    r.right = r.left + width;
    r.bottom = r.top + height;
  }
  const UINT showCmd = !visible ? SW_HIDE : place.Maximised ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
  const bool same = EqualRect(&wp.rcNormalPosition, &r) && sameShow;
  // A window already at its place is not placed again.
  if (!same) {
    wp.rcNormalPosition = r;
    wp.flags = 0;
    wp.showCmd = showCmd;
    SetWindowPlacement(window, &wp);
  }
  showMaximised = place.Maximised;
}

}  // namespace varnello
