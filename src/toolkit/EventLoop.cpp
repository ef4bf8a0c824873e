#include "toolkit/EventLoop.h"

#include <windows.h>

namespace tk {

namespace {
YieldHook g_hook;
unsigned long g_yields = 0;
ULONGLONG g_lastPump = 0;
// Looking at the queue costs a server round trip under Wine; every few milliseconds keeps a
// read of 100,000 entries close to the bare enumeration while Esc still lands at once.
constexpr ULONGLONG kPumpEveryMs = 10;
}  // namespace

void PumpPendingMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // leave it for the outer loop
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void DoEvents() {
  if (g_hook) {
    // Copy: the hook may replace itself.
    YieldHook hook = g_hook;
    hook(++g_yields);
  }
  ULONGLONG now = GetTickCount64();
  if (now - g_lastPump < kPumpEveryMs) return;
  g_lastPump = now;
  PumpPendingMessages();
}

void SetYieldHook(YieldHook hook) {
  g_hook = std::move(hook);
  g_yields = 0;
}

bool PumpUntil(const std::function<bool()>& pred, unsigned timeoutMs) {
  ULONGLONG end = GetTickCount64() + timeoutMs;
  while (!pred()) {
    if (GetTickCount64() >= end) return pred();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    PumpPendingMessages();
  }
  return true;
}

ModalEnd RunModalLoop(const std::function<HWND()>& window, const bool& done) {
  ModalEnd end;
  MSG msg;
  while (!done) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      end.Quit = got == 0;
      end.Code = static_cast<int>(msg.wParam);
      break;
    }
    if (HWND w = window(); w && IsDialogMessageW(w, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return end;
}

}  // namespace tk
