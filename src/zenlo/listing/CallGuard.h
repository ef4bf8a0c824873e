#pragma once
// Keeps a control alive while one of its calls is on the stack. The host may release the
// control from inside a yield or an event; the call then sees the control closing and unwinds, and the
// object goes away when the last guard ends.
namespace zenlo {

class ZenloFileControl;

class CallGuard {
 public:
  explicit CallGuard(ZenloFileControl& c);
  ~CallGuard();
  CallGuard(const CallGuard&) = delete;
  CallGuard& operator=(const CallGuard&) = delete;

 private:
  ZenloFileControl& control_;
};

}  // namespace zenlo
