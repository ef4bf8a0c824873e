#include "mainwindow/KeyPreview.h"

namespace varnello {

namespace {
thread_local KeyPreview* current = nullptr;
}  // namespace

KeyPreview::KeyPreview(std::function<void(const MSG&)> handler) : handler_(std::move(handler)) {
  hook_ = SetWindowsHookExW(WH_GETMESSAGE, &KeyPreview::Hook, nullptr, GetCurrentThreadId());
  previous_ = current;
  current = this;
}

KeyPreview::~KeyPreview() {
  if (hook_) UnhookWindowsHookEx(hook_);
  if (current == this) current = previous_;
}

LRESULT CALLBACK KeyPreview::Hook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && wParam == PM_REMOVE && current) {
    MSG& msg = *reinterpret_cast<MSG*>(lParam);
    if ((msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONDOWN) && current->OnMouse) {
      try {
        if (current->OnMouse(msg)) msg.message = WM_NULL;
      } catch (...) {
      }
    }
    if (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP) {
      try {
        if (current->handler_) current->handler_(msg);
      } catch (...) {
        // A key the window could not handle still goes on to its window.
      }
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace varnello
