#pragma once
#include <windows.h>

#include "listing/view/ViewState.h"
#include "zenlo/ZFComboEvents.h"
#include "zenlo/ZenloFileControl.h"

namespace zenlo {

// Relays the selector's events to the control's handlers.
class ZenloFileControl::SelectorEvents final : public ZFComboEvents {
 public:
  explicit SelectorEvents(ZenloFileControl& owner) : owner_(owner) {}
  void MouseMove(short&, short&, float&, float&) override {}
  void MouseDown(short&, short&, float&, float&) override {
    owner_.RaiseHost([](ZenloFileControlEvents& s) { s.SetLockedIndex(); });
  }
  void Click(std::wstring& strSelect) override { owner_.ZFCombo1_Click(strSelect); }
  void ChangeFocus() override {
    if (HWND bar = owner_.view_->VScroll1.Handle()) SetFocus(bar);
  }
  void Message(std::wstring& strMessage) override { owner_.RaiseMessage(strMessage); }
  void MouseLocked(bool& Locked) override {
    owner_.RaiseHost([&](ZenloFileControlEvents& s) { s.MouseLocked(Locked); });
  }
  void GetBookmark(short& ArrayIndex, std::wstring& ThePath) override {
    owner_.RaiseGetBookmark(ArrayIndex, ThePath);
  }

 private:
  ZenloFileControl& owner_;
};

}  // namespace zenlo
