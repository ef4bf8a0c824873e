#include "library/CallLifetime.h"

namespace zenlo {

ULONG CallLifetime::Release(const std::function<void()>& letGo) {
  const ULONG left = --refs_;
  if (left == 0) return 0;
  if (left == calls_ && !letGo_) {
    letGo_ = true;
    if (letGo) letGo();
  }
  return left;
}

CallLifetime::Hold::Hold(IUnknown& owner, CallLifetime& lifetime)
    : owner_(owner), lifetime_(lifetime) {
  if (lifetime_.refs_ == 0) return;  // a message reached it during its own destruction
  held_ = true;
  ++lifetime_.calls_;
  owner_.AddRef();
}

// The last release may delete the owner, and this hold with it: touch nothing afterwards.
CallLifetime::Hold::~Hold() {
  if (!held_) return;
  --lifetime_.calls_;
  owner_.Release();
}

}  // namespace zenlo
