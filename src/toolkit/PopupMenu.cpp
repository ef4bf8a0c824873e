#include "toolkit/PopupMenu.h"

namespace tk {

namespace {
PopupMenuSeam g_seam;
}

UINT TrackPopup(HMENU menu, HWND owner, POINT screenPoint) {
  if (!menu) return 0;
  if (g_seam) return g_seam(PopupMenuRequest{menu, screenPoint});
  // The menu needs a foreground owner to close when the user clicks elsewhere.
  if (owner) SetForegroundWindow(owner);
  const BOOL chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY, screenPoint.x,
                                     screenPoint.y, 0, owner, nullptr);
  if (owner) PostMessageW(owner, WM_NULL, 0, 0);
  return static_cast<UINT>(chosen);
}

void SetPopupMenuSeam(PopupMenuSeam seam) { g_seam = std::move(seam); }

}  // namespace tk
