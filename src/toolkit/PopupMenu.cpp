#include "toolkit/PopupMenu.h"

namespace tk {

namespace {

PopupMenuSeam g_seam;

UINT Track(HMENU menu, HWND owner, POINT screenPoint, UINT flags) {
  if (!menu) return 0;
  if (g_seam) return g_seam(PopupMenuRequest{menu, screenPoint});
  // The menu needs a foreground owner to close when the user clicks elsewhere.
  if (owner) SetForegroundWindow(owner);
  const BOOL chosen = TrackPopupMenu(menu, TPM_RETURNCMD | flags, screenPoint.x, screenPoint.y,
                                     0, owner, nullptr);
  if (owner) PostMessageW(owner, WM_NULL, 0, 0);
  return static_cast<UINT>(chosen);
}

}  // namespace

UINT TrackPopup(HMENU menu, HWND owner, POINT screenPoint) {
  return Track(menu, owner, screenPoint, TPM_NONOTIFY);
}

UINT TrackPopupNotifying(HMENU menu, HWND owner, POINT screenPoint) {
  return Track(menu, owner, screenPoint, TPM_RIGHTBUTTON);
}

void SetPopupMenuSeam(PopupMenuSeam seam) { g_seam = std::move(seam); }

}  // namespace tk
