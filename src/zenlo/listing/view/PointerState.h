#pragma once
// What the listing remembers between mouse and key messages: the press in progress, the
// two-click Shift range, the moves to swallow, the key latch, the custom pointer shown, and the
// context of the last right click.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace zenlo {

enum class MouseMode {
  None,
  Select,         // the press marked or unmarked an item
  Drag,           // a plain left press is being moved
  SelectAndDrag,  // a marking press is being moved
};

// The folders and item a right click or double click is about.
struct ClickContext {
  std::wstring Folder;
  std::wstring ParentFolder;
  std::wstring ItemPath;
  std::wstring ItemName;
};

// Mouse button and modifier masks as the events carry them.
enum : std::int16_t { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };
enum : std::int16_t { kShiftMask = 1, kCtrlMask = 2, kAltMask = 4 };

// The modifier mask of a mouse message.
inline std::int16_t ModifiersOf(WPARAM wParam) {
  std::int16_t shift = 0;
  if (wParam & MK_SHIFT) shift |= kShiftMask;
  if (wParam & MK_CONTROL) shift |= kCtrlMask;
  if (GetKeyState(VK_MENU) < 0) shift |= kAltMask;
  return shift;
}

struct PointerState {
  MouseMode Mode = MouseMode::None;
  bool DoubleClickPending = false;
  // First item of a two-click Shift range; -1 none. The host resets it when it sets a pane up.
  std::int32_t ShiftRangeStart = 0;
  std::int32_t MouseDownItem = -1;
  std::int32_t LastMouseUpX = 0;
  float DragStartX = 0, DragStartY = 0;
  std::optional<std::int32_t> LastMoveItem;
  bool OverSelectZone = false;
  bool SkipMoveAfterRightClick = false;
  bool SkipMoveAfterKey = false;
  bool ActivatingItem = false;
  // Keys reach the host only while set: a key-down with Shift, Ctrl or F3 clears it until a
  // key is released in the listing or the listing gains or loses the focus.
  bool KeyReady = true;
  HCURSOR Cursor = nullptr;  // the listing's own pointer; none: the class default
  ClickContext Click;
};

}  // namespace zenlo
