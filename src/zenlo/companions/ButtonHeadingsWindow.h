#pragma once
// The window side of button_headings.
#include <windows.h>

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

  ~ButtonHeadingsWindow() {
    if (Tip) DestroyWindow(Tip);
  }
};

}  // namespace zenlo
