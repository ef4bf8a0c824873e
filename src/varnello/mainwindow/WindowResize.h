#pragma once
// What the main window remembers between resizes, and the tray it minimises to.
#include <windows.h>

namespace varnello {

// The tray icon and the window hook that brings the window back from it.
class TrayIcon {
 public:
  virtual ~TrayIcon() = default;
  // 1 when the icon was added.
  virtual long ShellTrayAdd() = 0;
  virtual void ShellTrayDelete() = 0;
  virtual void HookWindow(HWND window) = 0;
  virtual void UnhookWindow() = 0;
};

struct WindowResizeState {
  bool InTray = false;
  int LastWindowState = 0;  // 0 normal, 1 minimised, 2 maximised
  long LastFormWidth = 0;
  long LastFormHeight = 0;
  long LastLayout = -1;
  bool CommandLineChanged = false;
};

}  // namespace varnello
