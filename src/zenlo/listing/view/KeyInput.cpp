// Keys on the listing: four keys go to the host, which decides which list they act on and calls
// back KeyUpDownPressed or KeySpacePressed on it.
#include <algorithm>

#include "listing/CallGuard.h"
#include "listing/model/Marking.h"
#include "listing/view/PointerState.h"
#include "listing/view/ViewState.h"
#include "zenlo/ZenloFileControl.h"

namespace zenlo {

namespace {
constexpr std::int16_t kKeySpace = VK_SPACE, kKeyUp = VK_UP, kKeyDown = VK_DOWN, kKeyF3 = VK_F3;

bool HeldNow(int key) { return GetKeyState(key) < 0; }
}  // namespace

void ZenloFileControl::FolderBox_KeyDown(std::int16_t& KeyCode, std::int16_t Shift) {
  PointerState& p = *pointer_;
  if (!p.KeyReady) return;
  // Once Shift, Ctrl or F3 went down, nothing more is passed on until a key is let go.
  if ((Shift & (kCtrlMask | kShiftMask)) || KeyCode == kKeyF3) p.KeyReady = false;
  if (KeyCode == kKeyDown || KeyCode == kKeyUp || KeyCode == kKeySpace || KeyCode == kKeyF3)
    RaiseHost([&](ZenloFileControlEvents& s) { s.KeyPressed(KeyCode); });
}

void ZenloFileControl::FolderBox_KeyUp(std::int16_t KeyCode, std::int16_t) {
  PointerState& p = *pointer_;
  ShowCursor(5);  // the default of the library's pointers ends a Shift or Ctrl pointer
  p.KeyReady = true;
  if (KeyCode == kKeySpace) RaiseHost([](ZenloFileControlEvents& s) { s.SpaceKeyUp(); });
}

bool ZenloFileControl::OnFolderBoxKey(UINT msg, WPARAM wParam) {
  if (msg != WM_KEYDOWN && msg != WM_KEYUP) return false;
  std::int16_t key = static_cast<std::int16_t>(wParam);
  // A modifier's own key-down already counts as held.
  std::int16_t shift = 0;
  if (HeldNow(VK_SHIFT) || (msg == WM_KEYDOWN && key == VK_SHIFT)) shift |= kShiftMask;
  if (HeldNow(VK_CONTROL) || (msg == WM_KEYDOWN && key == VK_CONTROL)) shift |= kCtrlMask;
  if (HeldNow(VK_MENU)) shift |= kAltMask;
  if (msg == WM_KEYDOWN)
    FolderBox_KeyDown(key, shift);
  else
    FolderBox_KeyUp(key, shift);
  return true;
}

void ZenloFileControl::KeyUpDownPressed(std::int16_t& KeyCode, bool& SpaceKeyDown) {
  CallGuard guard(*this);
  if (closing_) return;
  PointerState& p = *pointer_;
  ViewState& v = *view_;
  p.SkipMoveAfterKey = true;
  std::int32_t next = 0;
  if (KeyCode == kKeyDown) {
    next = v.HoverItem + 1;
  } else if (KeyCode == kKeyUp) {
    next = v.HoverItem - 1;
    if (ltFolderListType == fbFile && next < foldersShown_) return;
  }
  if (next < 0 || next > lastShownItem_ || next >= itemCount_) return;
  const bool listMode = ltFolderListType != fbFolder && ListMode != listDetails;
  if (listMode) {
    // Columns scroll sideways: one column when the next item is off screen.
    if (v.FirstVisible >= 0 && (next < v.FirstVisible || next > v.LastVisible)) {
      tk::ScrollBar& bar = v.HScroll1;
      const std::int32_t value = bar.Value() + (next < v.FirstVisible ? -1 : 1);
      if (value >= bar.Min() && value <= bar.Max()) bar.SetValue(value);
    }
  } else {
    // What the pane shows of the listing box.
    const std::int32_t shown = std::min(v.FolderBoxRect.Height, v.BoundBoxRect.Height);
    const std::int32_t edge = (KeyCode == kKeyDown ? next + 1 : next) * v.RowHeight;
    if (edge < v.FolderBoxScaleTop)
      ScrollOneRow(-1);
    else if (edge > v.FolderBoxScaleTop + shown)
      ScrollOneRow(1);
  }
  if (closing_) return;
  // The arrows move the hover item even when no scroll was needed, so Space marks where they went.
  MoveMouseOverItem(next);
  if (SpaceKeyDown) KeySpacePressed();
}

void ZenloFileControl::KeySpacePressed() {
  const std::int32_t hover = view_->HoverItem;
  if (hover < 0 || hover > lastShownItem_ || hover >= itemCount_) return;
  const sTypes type = listItems_[static_cast<std::size_t>(hover)].ItemType;
  if (type != sFolder && type != sFile) return;
  if (AddArrowToItem(hover, 0)) UpdateFolderAndFileSelectionInfo();
}

}  // namespace zenlo
