#pragma once
// Keeps a control alive while one of its calls is on the stack. The host may release the
// control from inside a yield or an event; the call then sees the control closing and unwinds, and the
// object goes away when the last guard ends.
#include "library/CallLifetime.h"

namespace zenlo {

class ZenloFileControl;

class CallGuard {
 public:
  explicit CallGuard(ZenloFileControl& c);
  CallGuard(const CallGuard&) = delete;
  CallGuard& operator=(const CallGuard&) = delete;

 private:
  CallLifetime::Hold hold_;
};

}  // namespace zenlo
