#pragma once
// Lets the main window see every key message of its thread before the window it is meant for,
// also while a list yields inside a read (the nested loops get them through the same hook).
#include <windows.h>

#include <functional>

namespace varnello {

class KeyPreview {
 public:
  // `handler` gets each key message taken from the thread's queue.
  explicit KeyPreview(std::function<void(const MSG&)> handler);
  // Gets each mouse move and left press; answering true takes the message from its window.
  std::function<bool(const MSG&)> OnMouse;
  ~KeyPreview();
  KeyPreview(const KeyPreview&) = delete;
  KeyPreview& operator=(const KeyPreview&) = delete;

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
  std::function<void(const MSG&)> handler_;
  HHOOK hook_ = nullptr;
  KeyPreview* previous_ = nullptr;
};

}  // namespace varnello
