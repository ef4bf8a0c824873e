#pragma once
// The notification-area icon a minimised main window waits behind, and the window hook that
// hears the icon's clicks while it is there.
#include <windows.h>
#include <shellapi.h>

#include <functional>

#include "mainwindow/WindowResize.h"

namespace varnello {

class Tray final : public TrayIcon {
 public:
  static constexpr UINT kIconId = 125;
  static constexpr UINT kCallbackMessage = WM_USER + 1;

  // `restore` brings the window back; `popupMenu` gives the menu the right button opens (null:
  // no menu).
  Tray(HWND window, std::function<void()> restore, std::function<HMENU()> popupMenu);
  ~Tray() override;  // takes the icon and the hook away
  Tray(const Tray&) = delete;
  Tray& operator=(const Tray&) = delete;

  long ShellTrayAdd() override;
  void ShellTrayDelete() override;
  void HookWindow(HWND window) override;
  void UnhookWindow() override;

  bool IconShown() const { return iconShown_; }
  bool Hooked() const { return hooked_ != nullptr; }
  const NOTIFYICONDATAW& Record() const { return record_; }
  // The hooked window's procedure: the icon's messages here, everything else to the window.
  LRESULT TrayWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK Subclass(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                   UINT_PTR id, DWORD_PTR data);
  void ShowMenu();

  HWND window_;
  std::function<void()> restore_;
  std::function<HMENU()> popupMenu_;
  NOTIFYICONDATAW record_{};
  bool iconShown_ = false;
  HWND hooked_ = nullptr;
  UINT taskbarCreated_ = 0;
};

}  // namespace varnello
