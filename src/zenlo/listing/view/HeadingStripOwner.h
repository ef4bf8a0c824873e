#pragma once
#include <functional>
#include <string>

#include "listing/CallGuard.h"
#include "listing/view/HeadingStrip.h"
#include "listing/view/ViewState.h"
#include "zenlo/ZenloFileControl.h"

namespace zenlo {

// What the heading strip asks of the control: its events to the host, its sort direction, the
// sort and the redraw.
class ZenloFileControl::HeadingStripOwner final : public HeadingStrip::Owner {
 public:
  explicit HeadingStripOwner(ZenloFileControl& owner) : owner_(owner) {}

  void Guarded(const std::function<void()>& handler) override {
    CallGuard guard(owner_);
    if (owner_.closing_) return;
    handler();
  }
  bool Closing() const override { return owner_.closing_; }
  void Message(const std::wstring& text) override { owner_.RaiseMessage(text); }
  void SetActiveButton(std::int16_t index) override {
    owner_.RaiseHost([&](ZenloFileControlEvents& s) { s.SetActiveButton(index); });
  }
  void SetMasterMousePointer(std::int16_t pointer) override {
    owner_.RaiseHost([&](ZenloFileControlEvents& s) { s.SetMasterMousePointer(pointer); });
  }
  std::wstring& SortDirection() override { return owner_.sortDirection_; }
  void DoSorting(const std::wstring& direction) override { owner_.DoSorting(direction); }
  void RedrawListing() override {
    owner_.DrawFolderBox();
    owner_.HighLightActiveItem();
    owner_.HighLightMouseOverItem();
  }
  bool ColumnsScroll() const override {
    return owner_.ltFolderListType == fbFolder || owner_.ListMode == listDetails;
  }

 private:
  ZenloFileControl& owner_;
};

}  // namespace zenlo
