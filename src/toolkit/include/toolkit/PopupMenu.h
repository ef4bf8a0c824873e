#pragma once
// Shows a pop-up menu and returns the command chosen, with a seam that tests use to choose.
#include <windows.h>

#include <functional>

namespace tk {

struct PopupMenuRequest {
  HMENU Menu = nullptr;
  POINT ScreenPoint{};
};

// The command id of the chosen item, 0 when the menu was dismissed.
UINT TrackPopup(HMENU menu, HWND owner, POINT screenPoint);
// The same with the owner told of the menu's messages (WM_INITMENUPOPUP, WM_DRAWITEM, ...),
// which menus drawn by others need, and entries chosen with the right button too.
UINT TrackPopupNotifying(HMENU menu, HWND owner, POINT screenPoint);

// Tests: every menu goes to the seam instead of the screen. An empty function restores the screen.
using PopupMenuSeam = std::function<UINT(const PopupMenuRequest&)>;
void SetPopupMenuSeam(PopupMenuSeam seam);

}  // namespace tk
