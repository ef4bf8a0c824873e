#pragma once
// The main window's own keys: cancel a read, help, rename, select all, focus the list, and
// copy, cut, paste and delete of the clicked list's items. Keys count only when typed in the
// main window itself or in a list's item area; a text box, the command-line box or a dialog
// keeps its keys (its Delete or Ctrl+A never touches a file).
#include <windows.h>

#include <deque>

#include "toolkit/Window.h"

namespace varnello {

class Master;

class KeyCommands {
 public:
  explicit KeyCommands(Master& master);
  ~KeyCommands();
  KeyCommands(const KeyCommands&) = delete;
  KeyCommands& operator=(const KeyCommands&) = delete;

  // A key message of the window, seen before its window: its command runs from the message
  // loop once that message has been handled (commands open modal windows and the shell's).
  // A key the keyboard repeats while held gives no further command.
  void Queue(const MSG& msg);
  // Shift is the modifier mask: 1 Shift, 2 Ctrl, 4 Alt.
  void Form_KeyDown(short KeyCode, short Shift);
  void Form_KeyUp(short KeyCode, short Shift);
  // The modifiers held as `msg` arrives; a modifier's own key-down counts as held.
  static short ShiftMask(const MSG& msg);

 private:
  struct Key {
    bool Down;
    short Code, Shift;
  };
  void RunQueued();

  Master& m_;
  tk::HandlerWindow poster_;
  std::deque<Key> pending_;
};

}  // namespace varnello
