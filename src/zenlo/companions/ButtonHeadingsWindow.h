#pragma once
// The window side of button_headings.
#include <windows.h>

#include <string>

#include "toolkit/Gdi.h"
#include "toolkit/Timer.h"
#include "toolkit/Window.h"

namespace zenlo {

// The window side: the button's surface, its fonts, tooltip and timer.
struct ButtonHeadingsWindow {
  tk::HandlerWindow Frame;
  tk::Font CaptionFont;
  tk::Font NumberFont;
  HWND Tip = nullptr;
  tk::Timer Timer1;

  // The tip window is made when the pointer first comes over the button: a listing makes
  // a dozen buttons as it starts, and a tip window costs more than the button itself.
  void EnsureTip(const std::wstring& text);

  ~ButtonHeadingsWindow() {
    if (Tip) DestroyWindow(Tip);
  }
};

}  // namespace zenlo
