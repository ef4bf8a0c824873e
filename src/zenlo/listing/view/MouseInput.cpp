// The pointer on the listing: presses, moves and releases mark items, make one active, expand
// tree folders, open files, start drags and tell the host of right clicks.
#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#include <cmath>
#include <optional>

#include "companions/OpenWithProgram.h"
#include "listing/CallGuard.h"
#include "listing/model/ClickTarget.h"
#include "listing/view/PointerState.h"
#include "listing/view/ViewState.h"
#include "toolkit/MousePointer.h"
#include "toolkit/Text.h"
#include "toolkit/Window.h"
#include "zenlo/ZenloFileControl.h"

namespace zenlo {

namespace {

// The library's pointers, in the order the frame loads them.
enum Cursor { kCurSelect, kCurSelectShift, kCurSelectShiftFirst, kCurSelectShiftSecond,
              kCurExpand, kCurDefault };

// Beyond this distance (twips) a plain left press becomes a drag.
constexpr double kDragThreshold = 100;

std::int16_t ButtonsOf(WPARAM wParam) {
  std::int16_t buttons = 0;
  if (wParam & MK_LBUTTON) buttons |= kLeftButton;
  if (wParam & MK_RBUTTON) buttons |= kRightButton;
  if (wParam & MK_MBUTTON) buttons |= kMiddleButton;
  return buttons;
}

bool Expandable(sTypes type) {
  return type == sFolder || type == sNetwork || type == sDomain || type == sServer ||
         type == sShare;
}

}  // namespace

void ZenloFileControl::SetFileOpener(FileOpener opener) { fileOpener_ = std::move(opener); }

void ZenloFileControl::RaiseMouseMoveBasic() {
  if (SkipMoveEvent) return;
  SkipMoveEvent = true;
  RaiseHost([](ZenloFileControlEvents& s) { s.MouseMoveBasic(); });
}

void ZenloFileControl::ShowCursor(int cursor) {
  if (IsWin9X || cursor < 0 || cursor >= static_cast<int>(view_->Cursors.size())) return;
  HCURSOR c = view_->Cursors[static_cast<std::size_t>(cursor)];
  if (!c || pointer_->Cursor == c) return;
  pointer_->Cursor = c;
  // Shown at once when the pointer is over the listing; WM_SETCURSOR keeps it there.
  POINT at;
  HWND box = view_->FolderBox.Handle();
  if (box && GetCursorPos(&at) && (WindowFromPoint(at) == box || GetCapture() == box)) SetCursor(c);
}

bool ZenloFileControl::InExpanderZone(std::int32_t item, float X) const {
  if (ltFolderListType != fbFolder || item < 0 || item >= itemCount_) return false;
  const std::int32_t indent = listItems_[static_cast<std::size_t>(item)].IndentX;
  return X > indent - 400 && X < indent - 250;
}

bool ZenloFileControl::InIconBand(std::int32_t item, float X) {
  if (item < 0 || item >= itemCount_) return false;
  if (ltFolderListType == fbFolder) {
    const std::int32_t indent = listItems_[static_cast<std::size_t>(item)].IndentX;
    return X > indent && X < indent + 200;
  }
  // A listing's band is where its column's marks are drawn, in list mode too.
  return IsInSelectionZone(X, 0) != 0;
}

bool ZenloFileControl::ScrollOneRow(std::int32_t step) {
  tk::ScrollBar& bar = view_->VScroll1;
  const std::int32_t value = bar.Value() + step;
  if (value < bar.Min() || value > bar.Max()) return false;
  return bar.SetValue(value);
}

void ZenloFileControl::BeginItemDrag(bool startOleDrag) {
  // The pressed item is marked first: one of several marked items drags them all, an unmarked
  // one drags alone. Until the pointer has moved far enough the host hears DragStart only.
  std::int32_t item = pointer_->MouseDownItem;
  PreDragCheck(item);
  if (!startOleDrag) {
    RaiseHost([](ZenloFileControlEvents& s) { s.DragStart(); });
    return;
  }
  StartFolderBoxDrag();
  // The drag loop took the release: the press is over.
  if (!closing_) pointer_->Mode = MouseMode::None;
}

void ZenloFileControl::FolderBox_MouseDown(std::int16_t Button, std::int16_t Shift, float X,
                                           float Y) {
  PointerState& p = *pointer_;
  if (MouseLocked) return;
  RaiseHost([](ZenloFileControlEvents& s) { s.SetLockedIndex(); });
  if (closing_) return;
  p.DoubleClickPending = false;
  const std::int32_t item = GetItemIdAtPoint(X, Y);
  if (item < 0 || item > lastShownItem_ || item >= itemCount_) return;
  if (ltFolderListType == fbFolder && item == 0) return;
  if ((Shift & kShiftMask) && Button == kLeftButton)
    ShowCursor(p.ShiftRangeStart == -1 ? kCurSelectShiftFirst : kCurSelectShiftSecond);
  if (Shift & (kCtrlMask | kAltMask)) return;
  p.MouseDownItem = item;
  if (view_->EmptyTextShown || Button == kRightButton) return;
  if (!IsInSelectionZone(X, Y)) {
    p.Mode = MouseMode::None;
  } else if (p.OverSelectZone && !(Shift & kShiftMask)) {
    // With Shift the release marks (the two-click range); toggling here too would undo it.
    AddArrowToItem(item, 0);
  }
}

void ZenloFileControl::FolderBox_MouseMove(std::int16_t Button, std::int16_t Shift, float X,
                                           float Y) {
  CallGuard guard(*this);
  if (closing_) return;
  PointerState& p = *pointer_;
  ViewState& v = *view_;
  if (p.ActivatingItem || expandingFolder_) return;
  if (p.SkipMoveAfterKey) {
    p.SkipMoveAfterKey = false;
    return;
  }
  if (tk::ScreenMousePointer() != tk::PointerDefault) tk::SetScreenMousePointer(tk::PointerDefault);
  const std::int32_t item = GetItemIdAtPoint(X, Y);
  RaiseMouseMoveBasic();
  if (closing_) return;
  if (MouseLocked) {
    if (IsWin9X)
      tk::SetScreenMousePointer(tk::PointerDefault);
    else
      ShowCursor(kCurDefault);
    p.Mode = MouseMode::None;
    MoveMouseOverItem(item);
    return;
  }
  if (p.SkipMoveAfterRightClick) {
    p.SkipMoveAfterRightClick = false;
    return;
  }
  if (v.EmptyTextShown) return;

  if (Button == kLeftButton && (Shift & (kShiftMask | kCtrlMask | kAltMask)) == 0) {
    switch (p.Mode) {
      case MouseMode::None:
        p.Mode = MouseMode::Drag;
        p.DragStartX = X;
        p.DragStartY = Y;
        p.LastMoveItem = item;
        break;
      case MouseMode::Drag:
        if (p.LastMoveItem && *p.LastMoveItem != item)
          BeginItemDrag(false);
        else if (std::hypot(p.DragStartX - X, p.DragStartY - Y) > kDragThreshold)
          BeginItemDrag(true);
        if (closing_) return;
        p.LastMoveItem = item;
        break;
      case MouseMode::Select:
      case MouseMode::SelectAndDrag:
        p.Mode = MouseMode::SelectAndDrag;
        if (!p.LastMoveItem || *p.LastMoveItem != item) {
          // One row per move: holding the pointer still outside the box does not scroll on.
          if (Y < v.FolderBoxScaleTop)
            ScrollOneRow(-1);
          else if (Y > v.FolderBoxScaleTop + v.FolderBoxRect.Height)
            ScrollOneRow(1);
          AddArrowToRange(item, p.MouseDownItem);
          // Still dragging: the tree-level pass on release keeps a dragged-over parent.
          p.Mode = MouseMode::SelectAndDrag;
          p.LastMoveItem = item;
        }
        break;
    }
    return;
  }

  p.Mode = MouseMode::None;
  if (item < 0 || item > lastShownItem_ || item >= itemCount_) return;
  const TypeListItem& it = listItems_[static_cast<std::size_t>(item)];
  if ((Shift & (kShiftMask | kCtrlMask | kAltMask)) == 0) {
    int cursor = kCurDefault;
    if (ltFolderListType == fbFolder) {
      if (InExpanderZone(item, X)) {
        cursor = kCurExpand;
      } else if (InIconBand(item, X)) {
        p.OverSelectZone = it.ItemType == sFolder && item != 0;
        if (p.OverSelectZone) cursor = kCurSelect;
      }
    } else if (IsInSelectionZone(X, Y)) {
      p.OverSelectZone = it.ItemType == sFolder || it.ItemType == sFile;
      if (p.OverSelectZone) cursor = kCurSelect;
    }
    ShowCursor(cursor);
  }
  MoveMouseOverItem(item);
  p.LastMoveItem = item;
}

void ZenloFileControl::FolderBox_MouseUp(std::int16_t Button, std::int16_t Shift, float X,
                                         float Y) {
  PointerState& p = *pointer_;
  ViewState& v = *view_;
  if (MouseLocked) {
    bool locked = false;
    RaiseHost([&](ZenloFileControlEvents& s) { s.MouseLocked(locked); });
    return;
  }
  p.LastMouseUpX = static_cast<std::int32_t>(std::lround(X));
  const std::int32_t item = GetItemIdAtPoint(X, Y);
  if (p.DoubleClickPending) {
    if (Shift & (kAltMask | kCtrlMask)) return;
    p.DoubleClickPending = false;
    DoubleClick(item);
    return;
  }
  if ((Shift & kShiftMask) && (Shift & kCtrlMask)) return;
  if ((Shift & kCtrlMask) && Button == kLeftButton && !v.EmptyTextShown) AddArrowToItem(item, 0);
  if ((Shift & kShiftMask) && !v.EmptyTextShown) {
    if (p.ShiftRangeStart == -1) {
      if (AddArrowToItem(item, 0)) p.ShiftRangeStart = item;
    } else {
      AddArrowToRange(item, p.ShiftRangeStart);
      ShowCursor(kCurSelectShift);
      p.ShiftRangeStart = -1;
    }
  }

  const bool tree = ltFolderListType == fbFolder;
  const bool shown = item >= 0 && item <= lastShownItem_ && item < itemCount_;
  if (Button == kRightButton) {
    if (!tree && ListMode != listDetails) {
      if (item < 0) return;
      if (!shown) {
        NonFolderListMouseUp(Button, Shift, v.BoundBoxRect.Left + X, v.BoundBoxRect.Top + Y);
        return;
      }
    } else if (!shown) {
      return;
    }
    // The point in the control's own coordinates, where the host opens its menu.
    const float x2 = static_cast<float>(v.BoundBoxRect.Left) + X;
    const float y2 = static_cast<float>(v.BoundBoxRect.Top - v.FolderBoxScaleTop) + Y;
    if (v.EmptyTextShown) {
      SetRightClickItem(-1);
      NonFolderListMouseUp(Button, Shift, x2, y2);
      return;
    }
    const TypeListItem& it = listItems_[static_cast<std::size_t>(item)];
    if (it.Selected != 1 && it.ItemType >= sEntireNetwork && it.ItemType <= sServer) return;
    GetTargetFolderForItem(item);
    v.HoverItem = item;
    v.HoverRow = item - v.TopItem;
    SetRightClickItem(item);
    DroppedOnActiveItem = item == activeItem_;
    p.SkipMoveAfterRightClick = true;
    ClickContext click = p.Click;
    std::int16_t button = Button, shift = Shift;
    float x = x2, y = y2;
    bool useCurrent = false;
    const sTypes type = it.ItemType;
    RaiseHost([&](ZenloFileControlEvents& s) {
      s.FBRightClick(button, shift, x, y, click.Folder, click.ParentFolder, click.ItemPath,
                     click.ItemName, useCurrent, type);
    });
    return;
  }

  if (p.Mode == MouseMode::Select || p.Mode == MouseMode::SelectAndDrag) {
    DeselectOtherLevels();
    UpdateFolderAndFileSelectionInfo();
    return;
  }
  p.Mode = MouseMode::None;
  if (!shown) return;
  const TypeListItem& it = listItems_[static_cast<std::size_t>(item)];
  const sTypes type = it.ItemType;
  SelectedCurrentType = type;
  if (type == sFile) {
    SendFileNameToMaster(it.Name);
    if (closing_) return;
  }
  if (tree) {
    if (InExpanderZone(item, X)) {
      if (Expandable(type)) {
        std::int32_t target = item;
        ExpandType toggle = static_cast<ExpandType>(0);
        ExpandFolder(target, std::wstring(), toggle);
      }
    } else if (InIconBand(item, X)) {
      if (type != sFolder) MakeItemActive(item, {});
    } else if (item != activeItem_) {
      MakeItemActive(item, {});
    }
  } else if (!InIconBand(item, X) && item != activeItem_) {
    MakeItemActive(item, {});
  }
}

void ZenloFileControl::DoubleClick(std::int32_t SelectedItem) {
  CallGuard guard(*this);
  if (closing_) return;
  const bool tree = ltFolderListType == fbFolder;
  if (SelectedItem < (tree ? 1 : 0) || SelectedItem > lastShownItem_ || SelectedItem >= itemCount_)
    return;
  const TypeListItem& it = listItems_[static_cast<std::size_t>(SelectedItem)];
  const float x = static_cast<float>(pointer_->LastMouseUpX);
  if (tree && (InExpanderZone(SelectedItem, x) || (it.ItemType == sFolder && InIconBand(SelectedItem, x))))
    return;
  if (!tree && (it.ItemType == sFolder || it.ItemType == sFile) && InIconBand(SelectedItem, x))
    return;
  if (it.ItemType == sFile && !it.FullPath.empty()) {
    if (tk::UpperCase(it.FullPath).find(L"VARNELLO_SETUP.EXE") != std::wstring::npos) {
      RaiseMessage(L"Sorry, you can't update Varnello while it is running.\r\n\r\n"
                   L"Please shut Varnello down first.");
      return;
    }
    const std::wstring path = it.FullPath;
    if (fileOpener_)
      fileOpener_(path, SW_SHOWNORMAL, currentFolder_, Window());
    else
      OpenWithAssociatedProgram(path, SW_SHOWNORMAL, currentFolder_, Window());
    return;
  }
  if (tree) {
    std::int32_t target = SelectedItem;
    ExpandType toggle = static_cast<ExpandType>(0);
    ExpandFolder(target, std::wstring(), toggle);
    return;
  }
  // The item double-clicked, which its first click made active.
  GetTargetFolderForItem(SelectedItem);
  std::wstring current = pointer_->Click.Folder;
  std::wstring parent = pointer_->Click.ParentFolder;
  if (parent.size() >= 2 && parent.compare(parent.size() - 2, 2, L":\\") == 0) parent = current;
  RaiseHost([&](ZenloFileControlEvents& s) { s.PushedDownFolder(current, parent); });
}

void ZenloFileControl::GetTargetFolderForItem(std::int32_t index, const std::wstring& keyword) {
  pointer_->Click = TargetFolderForItem(listItems_, index, ltFolderListType, currentFolder_, keyword);
}

void ZenloFileControl::MakeItemActive(std::int32_t TheItem, const std::wstring& ItemName) {
  CallGuard guard(*this);
  if (closing_) return;
  const bool tree = ltFolderListType == fbFolder;
  struct Activating {
    bool& flag;
    explicit Activating(bool& f) : flag(f) { flag = true; }
    ~Activating() { flag = false; }
  } activating(pointer_->ActivatingItem);
  std::optional<tk::HourglassPointer> hourglass;
  if (tree) hourglass.emplace();
  if (!ItemName.empty()) {
    std::wstring name = ItemName;
    TheItem = GetItemNumFromName(name);
    if (TheItem == -999) return;
  }
  if (TheItem < 0 || TheItem > lastShownItem_ || TheItem >= itemCount_) return;
  if (tree && !CheckFolderAccess(listItems_[static_cast<std::size_t>(TheItem)].FullPath, true)) return;
  if (closing_) return;
  const TypeListItem& it = listItems_[static_cast<std::size_t>(TheItem)];
  activeItem_ = TheItem;
  activeString_ = it.FullPath;
  SelectedCurrentType = it.ItemType;
  if (tree) {
    currentFolder_ = it.FullPath;
    StoreActiveFolder(currentDrive_, it.FullPath);
  }
  HighLightActiveItem();
  HighLightMouseOverItem();
  if (tree) RaiseClick();
}

void ZenloFileControl::MoveMouseOverItem(std::int32_t SelectedItem) {
  if (SelectedItem < 0 || SelectedItem > lastShownItem_ || SelectedItem >= itemCount_) return;
  view_->HoverItem = SelectedItem;
  view_->HoverRow = SelectedItem - view_->TopItem;
  HighLightMouseOverItem();
}

void ZenloFileControl::MimimMouseScroll(bool RollUp) { ScrollOneRow(RollUp ? -1 : 1); }

void ZenloFileControl::SetFolderFocus(const std::wstring& butt) {
  ViewState& v = *view_;
  HWND focus = GetFocus();
  HWND filter = v.cboFilter.Handle();
  // Typing in the filter box keeps the focus there.
  if (filter && focus && (focus == filter || IsChild(filter, focus))) return;
  if (!v.FolderBox.Handle()) return;
  SetFocus(v.FolderBox.Handle());
  if (tk::SameText(butt, L"shift")) ShowCursor(kCurSelectShift);
  if (tk::SameText(butt, L"ctrl")) ShowCursor(kCurSelect);
}

void ZenloFileControl::NonFolderListMouseUp(std::int16_t Button, std::int16_t Shift, float X,
                                            float Y) {
  CallGuard guard(*this);
  if (closing_) return;
  if (MouseLocked) {
    bool locked = false;
    RaiseHost([&](ZenloFileControlEvents& s) { s.MouseLocked(locked); });
    return;
  }
  if (Button != kRightButton) return;
  std::wstring folder;
  if (ltFolderListType == fbFolder) {
    const auto colon = currentFolder_.find(L':');
    folder = colon == std::wstring::npos ? currentFolder_ : currentFolder_.substr(0, colon + 2);
    if (folder.empty() || folder.back() != L'\\') folder += L'\\';
  } else {
    folder = ActiveFolder;
    const bool driveRoot = folder.size() >= 2 && folder.compare(folder.size() - 2, 2, L":\\") == 0;
    if (!driveRoot && !folder.empty() && folder.back() == L'\\') folder.pop_back();
  }
  SetRightClickItem(-1);
  const sTypes type = GetObjectType(folder);
  if (type >= sEntireNetwork && type <= sComputer) return;
  std::wstring parent = folder, path, name;
  std::int16_t button = Button, shift = Shift;
  float x = X, y = Y;
  bool useCurrent = true;
  RaiseHost([&](ZenloFileControlEvents& s) {
    s.FBRightClick(button, shift, x, y, folder, parent, path, name, useCurrent, sFolder);
  });
}

void ZenloFileControl::SetActiveItems() {
  const std::int32_t hover = view_->HoverItem;
  if (hover < 0 || hover > lastShownItem_ || hover >= itemCount_) return;
  const TypeListItem& it = listItems_[static_cast<std::size_t>(hover)];
  if (it.ItemType == sFile) {
    const std::size_t cut = it.FullPath.size() >= it.Name.size() + 1 ? it.FullPath.size() - it.Name.size() - 1 : 0;
    ActiveFolder = it.FullPath.substr(0, cut);
  } else if (it.ItemType == sFolder || it.ItemType == sShare) {
    ActiveFolder = it.FullPath;
  }
}

void ZenloFileControl::BoundBox_MouseMove() {
  if (tk::ScreenMousePointer() != tk::PointerDefault) tk::SetScreenMousePointer(tk::PointerDefault);
  RaiseHost([](ZenloFileControlEvents& s) { s.SetActiveIndex(); });
  if (closing_) return;
  RaiseMouseMoveBasic();
}

// A press on the status line makes this pane the clicked one; the label goes on as before.
LRESULT CALLBACK ZenloFileControl::StatusPointerProc(HWND hwnd, UINT msg, WPARAM wParam,
                                                     LPARAM lParam, UINT_PTR id, DWORD_PTR data) {
  if (msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN) {
    auto& control = *reinterpret_cast<ZenloFileControl*>(data);
    CallGuard guard(control);
    control.RaiseHost([](ZenloFileControlEvents& s) { s.SetLockedIndex(); });
    if (control.closing_) return 0;
  } else if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, &ZenloFileControl::StatusPointerProc, id);
  }
  return DefSubclassProc(hwnd, msg, wParam, lParam);
}

bool ZenloFileControl::OnBoundBoxInput(UINT msg, WPARAM wParam, LPARAM lParam) {
  const float x = static_cast<float>(GET_X_LPARAM(lParam) * tk::TwipsPerPixelX());
  const float y = static_cast<float>(GET_Y_LPARAM(lParam) * tk::TwipsPerPixelY());
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      RaiseHost([](ZenloFileControlEvents& s) { s.SetLockedIndex(); });
      return true;
    case WM_MOUSEMOVE:
      BoundBox_MouseMove();
      return true;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      const std::int16_t button = msg == WM_LBUTTONUP ? kLeftButton
                                  : msg == WM_RBUTTONUP ? kRightButton
                                                        : kMiddleButton;
      const ViewState& v = *view_;
      NonFolderListMouseUp(button, ModifiersOf(wParam), static_cast<float>(v.BoundBoxRect.Left) + x,
                           static_cast<float>(v.BoundBoxRect.Top) + y);
      return true;
    }
    default:
      return false;
  }
}

bool ZenloFileControl::OnFolderBoxInput(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  ViewState& v = *view_;
  HWND box = v.FolderBox.Handle();
  float x = 0, y = 0;
  auto at = [&] { FolderBoxPointToTwips(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), x, y); };
  auto button = [](UINT m) -> std::int16_t {
    switch (m) {
      case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK: return kLeftButton;
      case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK: return kRightButton;
      default: return kMiddleButton;
    }
  };
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
      // The listing takes the keys once clicked; the pointer stays with it while a button is held.
      if (box && GetFocus() != box) SetFocus(box);
      if (closing_) return true;
      if (box) SetCapture(box);
      at();
      FolderBox_MouseDown(button(msg), ModifiersOf(wParam), x, y);
      return true;
    case WM_LBUTTONDBLCLK:
      if (box) SetCapture(box);
      pointer_->DoubleClickPending = true;
      return true;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      if (box && GetCapture() == box && (ButtonsOf(wParam) == 0)) ReleaseCapture();
      at();
      FolderBox_MouseUp(button(msg), ModifiersOf(wParam), x, y);
      return true;
    case WM_MOUSEMOVE:
      at();
      FolderBox_MouseMove(ButtonsOf(wParam), ModifiersOf(wParam), x, y);
      return true;
    case WM_SETCURSOR:
      if (IsWin9X || !pointer_->Cursor || LOWORD(lParam) != HTCLIENT) return false;
      SetCursor(pointer_->Cursor);
      result = TRUE;
      return true;
    case WM_SETFOCUS:
      pointer_->KeyReady = true;
      return true;
    case WM_KILLFOCUS:
      // A modifier let go in another window never leaves the listing deaf to keys.
      pointer_->KeyReady = true;
      LastSelItemHighLight = std::monostate{};
      return true;
    default:
      return false;
  }
}

}  // namespace zenlo
