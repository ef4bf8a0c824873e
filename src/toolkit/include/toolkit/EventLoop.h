#pragma once
// Yielding to the message loop from long work, with a seam for tests.
#include <windows.h>

#include <functional>

namespace tk {

// Lets waiting messages run (timers, input, other windows' work), then returns. Long jobs call
// it after every step; it looks at the queue only every few milliseconds so that a tight loop
// is not dominated by it, and always calls the test hook first.
void DoEvents();

// Tests: called at every DoEvents with the running yield number (1, 2, ...). Pass an empty
// function to remove. The count restarts when a hook is set.
using YieldHook = std::function<void(unsigned long yieldNumber)>;
void SetYieldHook(YieldHook hook);

// Runs queued messages until none is left (tests use it to let timers and posted work run).
void PumpPendingMessages();

// Pumps messages until pred() is true or the time-out passes; returns pred().
bool PumpUntil(const std::function<bool()>& pred, unsigned timeoutMs);

// How a modal loop ended: WM_QUIT arrived (its code is to be posted again once the modal window
// is gone, for the loop that owns it), or the window said it was done.
struct ModalEnd {
  bool Quit = false;
  int Code = 0;
};
// Runs messages for a modal window until `done` is set or WM_QUIT arrives; keys go through the
// window's dialog navigation while `window()` names one.
ModalEnd RunModalLoop(const std::function<HWND()>& window, const bool& done);

}  // namespace tk
