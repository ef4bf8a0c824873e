#pragma once
// A timer of a control: Interval in milliseconds (0 = stopped) and Enabled, ticking from the
// message loop of the thread that owns it.
#include <functional>

namespace tk {

class Timer {
 public:
  Timer() = default;
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned ms);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on);

  std::function<void()> OnTick;

 private:
  void Rearm();
  unsigned interval_ = 0;
  bool enabled_ = true;
  unsigned long long id_ = 0;  // running SetTimer id, 0 when not running
};

}  // namespace tk
