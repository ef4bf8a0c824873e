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

// QueryInterface of a published class: its own interface id hands out the class itself,
// IID_IUnknown its IUnknown; anything else is refused.
template <typename T>
HRESULT QueryPublishedInterface(T* self, REFIID own, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (IsEqualIID(riid, own)) {
    *ppv = self;
  } else if (IsEqualIID(riid, IID_IUnknown)) {
    *ppv = static_cast<IUnknown*>(self);
  } else {
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  self->AddRef();
  return S_OK;
}

}  // namespace zenlo
