#pragma once
// Reference counting of a published object whose calls can reach a yield or a host's event.
// The host may let go of the object while such a call is on the stack; the object then stays
// until the call has unwound, and the call sees that the host has gone.
#include <windows.h>
#include <unknwn.h>

#include <functional>

namespace zenlo {

class CallLifetime {
 public:
  ULONG AddRef() { return ++refs_; }
  // Drops one reference and returns how many are left; at 0 the owner deletes itself. When only
  // the owner's running calls still hold it, letGo runs (once): nothing may reach the host then.
  ULONG Release(const std::function<void()>& letGo);
  // True from the moment the host let go.
  bool HostLetGo() const { return letGo_; }

  // Keeps the owner alive while one of its calls is on the stack.
  class Hold {
   public:
    Hold(IUnknown& owner, CallLifetime& lifetime);
    ~Hold();
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

   private:
    IUnknown& owner_;
    CallLifetime& lifetime_;
    bool held_ = false;  // never while the owner is being destroyed
  };

 private:
  ULONG refs_ = 1;
  ULONG calls_ = 0;
  bool letGo_ = false;
};

}  // namespace zenlo
