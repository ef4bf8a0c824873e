#include "mainwindow/Tray.h"

#include <commctrl.h>

#include "toolkit/PopupMenu.h"

namespace varnello {

namespace {
constexpr UINT_PTR kSubclassId = 0x7261;
}

Tray::Tray(HWND window, std::function<void()> restore, std::function<HMENU()> popupMenu)
    : window_(window),
      restore_(std::move(restore)),
      popupMenu_(std::move(popupMenu)),
      taskbarCreated_(RegisterWindowMessageW(L"TaskbarCreated")) {}

Tray::~Tray() {
  ShellTrayDelete();
  UnhookWindow();
}

long Tray::ShellTrayAdd() {
  record_ = NOTIFYICONDATAW{};
  record_.cbSize = sizeof record_;
  record_.hWnd = window_;
  record_.uID = kIconId;
  record_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record_.uCallbackMessage = kCallbackMessage;
  HICON icon = reinterpret_cast<HICON>(SendMessageW(window_, WM_GETICON, ICON_SMALL, 0));
  if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(window_, GCLP_HICONSM));
  if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(window_, GCLP_HICON));
  if (!icon) icon = LoadIconW(nullptr, IDI_APPLICATION);
  record_.hIcon = icon;
  wcscpy_s(record_.szTip, L"Varnello");
  const BOOL added = Shell_NotifyIconW(NIM_ADD, &record_);
  iconShown_ = iconShown_ || added;
  return added ? 1 : 0;
}

void Tray::ShellTrayDelete() {
  if (!iconShown_) return;
  Shell_NotifyIconW(NIM_DELETE, &record_);
  iconShown_ = false;
}

void Tray::HookWindow(HWND window) {
  if (hooked_ || !window) return;
  if (SetWindowSubclass(window, &Tray::Subclass, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
    hooked_ = window;
}

void Tray::UnhookWindow() {
  if (!hooked_) return;
  RemoveWindowSubclass(hooked_, &Tray::Subclass, kSubclassId);
  hooked_ = nullptr;
}

LRESULT CALLBACK Tray::Subclass(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR data) {
  return reinterpret_cast<Tray*>(data)->TrayWndProc(hwnd, msg, wParam, lParam);
}

LRESULT Tray::TrayWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (hwnd == window_ && msg == kCallbackMessage) {
    try {
      switch (LOWORD(lParam)) {
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
          SetForegroundWindow(window_);
          if (restore_) restore_();
          break;
        case WM_RBUTTONUP:
          ShowMenu();
          break;
        default:
          break;
      }
    } catch (...) {
    }
    return 0;
  }
  if (hwnd == window_ && msg == taskbarCreated_ && taskbarCreated_ && iconShown_) {
    // The shell started again and forgot the icon: without it the hidden window is lost, so
    // it comes back when the icon cannot.
    iconShown_ = false;
    if (ShellTrayAdd() != 1 && restore_) restore_();
    return 0;
  }
  return DefSubclassProc(hwnd, msg, wParam, lParam);
}

void Tray::ShowMenu() {
  HMENU menu = popupMenu_ ? popupMenu_() : nullptr;
  if (!menu) return;
  POINT at{};
  GetCursorPos(&at);
  // The menu's owner goes to the foreground, so that a click elsewhere closes the menu.
  const UINT chosen = tk::TrackPopup(menu, window_, at);
  if (chosen) PostMessageW(window_, WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
}

}  // namespace varnello
