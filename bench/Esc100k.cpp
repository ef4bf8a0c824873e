// Esc during the read of a folder of 100,000 files: how long after the key is pressed the read
// returns. The key is pressed for real one second into the read by another thread (or halfway
// through, when a whole read takes less than two seconds), and the host sees it as it does every
// key, before its controls, and sets the pane's IsCancelled.
// Reports the longest stop time of five tries; exits non-zero only when a try goes wrong (the
// key never reaches the host during the read, or the listing is not what the read saw).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <thread>

#include "BenchSupport.h"
#include "toolkit/EventLoop.h"

namespace {

constexpr int kFiles = bench::kFlat100kFiles;
constexpr int kTries = 5;
constexpr double kPressAfterSeconds = 1.0;
// A read that ends sooner than this is cancelled halfway instead.
constexpr double kShortReadSeconds = 2 * kPressAfterSeconds;

// The host's key preview: Esc cancels the active pane's read.
zenlo::ZenloFileControl* g_activePane = nullptr;
double g_escSeenAt = 0;
HHOOK g_keyHook = nullptr;

LRESULT CALLBACK KeyPreview(int code, WPARAM wParam, LPARAM lParam) {
  const bool keyDown = !(static_cast<DWORD>(lParam) & 0x80000000u);
  if (code == HC_ACTION && wParam == VK_ESCAPE && keyDown) {
    if (g_escSeenAt == 0) g_escSeenAt = bench::Now();
    if (g_activePane) g_activePane->IsCancelled = true;
  }
  return CallNextHookEx(g_keyHook, code, wParam, lParam);
}

void PressEsc() {
  INPUT keys[2] = {};
  keys[0].type = keys[1].type = INPUT_KEYBOARD;
  keys[0].ki.wVk = keys[1].ki.wVk = VK_ESCAPE;
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, keys, sizeof(INPUT));
}

void WaitUntil(double at) {
  for (;;) {
    const double left = at - bench::Now();
    if (left <= 0) return;
    Sleep(left > 0.02 ? static_cast<DWORD>((left - 0.01) * 1000) : 0);
  }
}

int Run() {
  bench::SetUpProcess();
  bench::DataSet folder(bench::kFlat100kName, bench::FillFlat100k);
  if (!folder.Ok()) return 1;
  if (bench::BareEnumeration(folder.Path()).files != kFiles) {
    std::printf("error: the bare enumeration did not see %d files\n", kFiles);
    return 1;
  }

  bench::HostWindow window(900, 600);
  bench::QuietHost host;
  bench::ControlPtr control = bench::NewControl(host, zenlo::fbFileAndFolder);
  if (!bench::PlaceControl(*control, window.Handle(), 0, 0, 880, 560)) {
    std::printf("error: the pane's window could not be made\n");
    return 1;
  }
  g_activePane = control.get();
  g_keyHook = SetWindowsHookExW(WH_KEYBOARD, KeyPreview, nullptr, GetCurrentThreadId());
  if (!g_keyHook) {
    std::printf("error: the key preview could not be installed (error %lu)\n", GetLastError());
    return 1;
  }

  // A whole read first: a press after the read has ended would measure nothing.
  const double plainStart = bench::Now();
  control->GetFolderContents(folder.Path(), true);
  const double plain = bench::Now() - plainStart;
  if (control->ItemCount() != kFiles) {
    std::printf("error: the read listed %d items, expected %d\n", control->ItemCount(), kFiles);
    return 1;
  }
  const double pressAfter = plain < kShortReadSeconds ? plain / 2 : kPressAfterSeconds;
  std::printf("a whole read took %.0f ms: Esc is pressed %.0f ms into each try\n", 1000 * plain,
              1000 * pressAfter);

  double longest = 0;
  int status = 0;
  for (int attempt = 1; attempt <= kTries && status == 0; ++attempt) {
    SetForegroundWindow(window.Handle());
    SetFocus(control->Window());
    tk::PumpUntil([] { return false; }, 100);
    g_escSeenAt = 0;

    const double start = bench::Now();
    double pressedAt = 0;
    std::thread presser([&] {
      WaitUntil(start + pressAfter);
      pressedAt = bench::Now();
      PressEsc();
    });
    control->GetFolderContents(folder.Path(), true);
    const double end = bench::Now();
    presser.join();
    const double seenAt = g_escSeenAt;
    // Let the key's release and anything else it left behind go before the next try.
    tk::PumpUntil([] { return false; }, 100);

    const int listed = control->ItemCount();
    if (pressedAt >= end) {
      std::printf("try %d: the read of %d items returned %.0f ms after it began, before Esc\n",
                  attempt, listed, 1000 * (end - start));
      if (listed != kFiles) {
        std::printf("error: an uncancelled read listed %d items, expected %d\n", listed, kFiles);
        status = 1;
      }
      continue;
    }
    if (seenAt == 0 || seenAt > end) {
      // Pressed while the read was past its last yield (sorting, handing over): the user still
      // waits for the read to return, so that wait is what this try measures.
      const double wait = 1000 * (end - pressedAt);
      longest = std::max(longest, wait);
      std::printf("try %d: Esc pressed at %.0f ms reached the host only after the read returned "
                  "%.1f ms later with %d items\n",
                  attempt, 1000 * (pressedAt - start), wait, listed);
      if (listed != kFiles) {
        std::printf("error: a read that never saw Esc listed %d items, expected %d\n", listed,
                    kFiles);
        status = 1;
      }
      continue;
    }
    if (listed <= 0 || listed > kFiles || host.QuitAsked) {
      std::printf("error: try %d: the cancelled read listed %d items%s\n", attempt, listed,
                  host.QuitAsked ? " (it asked to quit)" : "");
      status = 1;
      break;
    }
    const double stop = 1000 * (end - pressedAt);
    longest = std::max(longest, stop);
    std::printf("try %d: Esc pressed at %.0f ms, seen by the host %.1f ms later, read returned "
                "%.1f ms after the press with %d items\n",
                attempt, 1000 * (pressedAt - start), 1000 * (seenAt - pressedAt), stop, listed);
    std::fflush(stdout);
  }
  UnhookWindowsHookEx(g_keyHook);
  g_activePane = nullptr;
  control.reset();
  if (status != 0) return status;
  folder.Remove();
  bench::Summary("bench esc100k stop_ms=%.0f", longest);
  return 0;
}

}  // namespace

int main() { return bench::Main(Run); }
