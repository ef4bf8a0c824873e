#include "toolkit/Timer.h"

#include <windows.h>

#include <unordered_map>

namespace tk {

namespace {
// Timers tick through thread timers; the callback finds the object by its id. An id is
// removed before its object goes away, so a late WM_TIMER finds nothing.
std::unordered_map<UINT_PTR, Timer*>& Registry() {
  static std::unordered_map<UINT_PTR, Timer*> timers;
  return timers;
}

void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD) {
  auto it = Registry().find(id);
  if (it == Registry().end()) return;
  Timer* timer = it->second;
  if (timer->OnTick) {
    auto tick = timer->OnTick;  // the handler may change or destroy the timer's owner
    tick();
  }
}
}  // namespace

Timer::~Timer() {
  if (id_) {
    KillTimer(nullptr, static_cast<UINT_PTR>(id_));
    Registry().erase(static_cast<UINT_PTR>(id_));
  }
}

void Timer::SetInterval(unsigned ms) {
  interval_ = ms;
  Rearm();
}

void Timer::SetEnabled(bool on) {
  enabled_ = on;
  Rearm();
}

void Timer::Rearm() {
  const bool run = enabled_ && interval_ > 0;
  if (id_ && !run) {
    KillTimer(nullptr, static_cast<UINT_PTR>(id_));
    Registry().erase(static_cast<UINT_PTR>(id_));
    id_ = 0;
    return;
  }
  if (!run) return;
  // With a null window, SetTimer with an existing id replaces that timer.
  UINT_PTR id = SetTimer(nullptr, static_cast<UINT_PTR>(id_), interval_, TimerProc);
  if (id == 0) return;
  if (id_ && id != id_) Registry().erase(static_cast<UINT_PTR>(id_));
  id_ = id;
  Registry()[id] = this;
}

}  // namespace tk
