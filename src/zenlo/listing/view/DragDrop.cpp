// Drag and drop in the shell's file-drop format: the marked items dragged out as a file list,
// file lists dropped on the rows or beside them handed to the host as a paste, and the
// destination of that paste.
#include <algorithm>

#include "listing/CallGuard.h"
#include "listing/view/DragDrop.h"
#include "listing/view/ViewState.h"
#include "toolkit/FileDropList.h"
#include "toolkit/Window.h"
#include "zenlo/ZenloFileControl.h"

namespace zenlo {

namespace {

// A listing path in its display form ("*" first) starts its real path at "\\"; one without
// such a part names no place files can go to or come from.
std::wstring WithoutDisplayForm(const std::wstring& path) {
  if (path.empty() || path[0] != L'*') return path;
  const std::size_t at = path.find(L"\\\\");
  return at == std::wstring::npos ? std::wstring() : path.substr(at);
}

// "C:" on its own means the drive's current folder, not its root.
std::wstring DriveRootWithSeparator(std::wstring folder) {
  if (folder.size() == 2 && folder[1] == L':') folder += L'\\';
  return folder;
}

// A listing takes copies; with Shift held a source that allows moves is offered a move, and
// the host then asks the user which of the two it is.
DWORD OfferedEffect(DWORD allowed, DWORD keys) {
  // Some drag loops report the keys as they were when the drag began: Shift is also read as
  // the keyboard has it now.
  if (GetAsyncKeyState(VK_SHIFT) < 0) keys |= MK_SHIFT;
  if ((keys & MK_SHIFT) != 0 && (allowed & DROPEFFECT_MOVE) != 0) return DROPEFFECT_MOVE;
  return allowed & DROPEFFECT_COPY;
}

std::wstring ItemsText(const std::vector<std::wstring>& paths) {
  if (paths.size() != 1) return std::to_wstring(paths.size()) + L" items";
  const std::wstring& path = paths.front();
  const std::size_t slash = path.rfind(L'\\');
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

}  // namespace

void ZenloFileControl::RegisterDropTargets() {
  ViewState& v = *view_;
  DragDropState& d = v.Drag;
  if (d.FolderBoxTarget || !v.FolderBox.Handle() || !v.BoundBox.Handle()) return;
  // Drop targets need OLE on this thread. A host that started it already only gains one more
  // reference; one that did not gets it here. Both are undone when the control goes.
  const HRESULT ole = OleInitialize(nullptr);
  d.OleStarted = SUCCEEDED(ole);
  auto makeTarget = [this](bool overBoundBox) {
    return ListDropTarget::Create([this, overBoundBox](ListDropTarget::Call call, IDataObject* data,
                                                       POINTL point, DWORD allowed, DWORD keys) {
      return OnListDrag(overBoundBox, static_cast<int>(call), data, point, allowed, keys);
    });
  };
  d.FolderBoxTarget = makeTarget(false);
  d.BoundBoxTarget = makeTarget(true);
  RegisterDragDrop(v.FolderBox.Handle(), d.FolderBoxTarget.Get());
  RegisterDragDrop(v.BoundBox.Handle(), d.BoundBoxTarget.Get());
}

void ZenloFileControl::RevokeDropTargets() {
  ViewState& v = *view_;
  DragDropState& d = v.Drag;
  if (!d.FolderBoxTarget) return;
  if (v.FolderBox.Handle()) RevokeDragDrop(v.FolderBox.Handle());
  if (v.BoundBox.Handle()) RevokeDragDrop(v.BoundBox.Handle());
  // The drag loop may still hold a target; it answers nothing from now on.
  d.FolderBoxTarget->Detach();
  d.BoundBoxTarget->Detach();
  d.FolderBoxTarget = ComRef<ListDropTarget>();
  d.BoundBoxTarget = ComRef<ListDropTarget>();
  if (d.OleStarted) OleUninitialize();
  d.OleStarted = false;
}

DWORD ZenloFileControl::OnListDrag(bool overBoundBox, int call, IDataObject* data, POINTL point,
                                   DWORD allowed, DWORD keys) {
  CallGuard guard(*this);
  if (closing_) return DROPEFFECT_NONE;
  // Only a file list is taken; anything else shows the no-drop pointer.
  if (!OffersFileDrop(data)) return DROPEFFECT_NONE;
  // The drop lands where the pointer is, so the drop point is looked at again.
  TrackDropPoint(overBoundBox, point);
  if (static_cast<ListDropTarget::Call>(call) == ListDropTarget::Call::Drop)
    return PasteDroppedFiles(data, OfferedEffect(allowed, keys));
  if (overBoundBox) RaiseHost([](ZenloFileControlEvents& s) { s.SetActiveIndex(); });
  if (closing_) return DROPEFFECT_NONE;
  RaiseMouseMoveOnce();
  return OfferedEffect(allowed, keys);
}

void ZenloFileControl::TrackDropPoint(bool overBoundBox, POINTL point) {
  ViewState& v = *view_;
  std::int32_t item = -1;
  if (!overBoundBox && v.FolderBox.Handle() && !v.EmptyTextShown) {
    POINT p{point.x, point.y};
    ScreenToClient(v.FolderBox.Handle(), &p);
    // The same hit-test as a click, list mode included.
    float x = 0, y = 0;
    FolderBoxPointToTwips(p.x, p.y, x, y);
    item = GetItemIdAtPoint(x, y);
  }
  // Empty space, and the folders a files-only list keeps hidden, are no item: a drop there
  // goes into the list's own folder.
  const std::int32_t first = ltFolderListType == fbFile ? foldersShown_ : 0;
  if (item < first || item > lastShownItem_ || item >= itemCount_) item = -1;
  if (item != v.HoverItem) {
    if (item >= 0) {
      MoveMouseOverItem(item);
    } else {
      v.HoverItem = -1;
      HighLightMouseOverItem();
    }
  }
  DroppedOnActiveItem = item >= 0 && item == activeItem_;
}

DWORD ZenloFileControl::PasteDroppedFiles(IDataObject* data, DWORD effect) {
  if (effect == DROPEFFECT_NONE) return DROPEFFECT_NONE;
  const std::vector<std::wstring> paths = ReadFileDrop(data);
  if (paths.empty()) return DROPEFFECT_NONE;
  std::wstring source = tk::DoubleNulList(paths);
  std::wstring text = ItemsText(paths);
  // A move leaves the choice to the host, which asks the user.
  std::wstring operation = (effect & DROPEFFECT_MOVE) != 0 ? L"" : L"copy";
  RaiseHost([&](ZenloFileControlEvents& s) { s.PasteItems(source, text, operation); });
  // The host does the work itself, after the drop: the source must not delete anything.
  return DROPEFFECT_COPY;
}

void ZenloFileControl::RaiseMouseMoveOnce() {
  if (SkipMoveEvent) return;
  SkipMoveEvent = true;
  RaiseHost([](ZenloFileControlEvents& s) { s.MouseMoveBasic(); });
}

std::vector<std::wstring> ZenloFileControl::DraggedPaths() const {
  std::vector<std::wstring> paths;
  const std::int32_t last = std::min(lastShownItem_, itemCount_ - 1);
  for (std::int32_t i = 0; i <= last; ++i) {
    const TypeListItem& item = listItems_[static_cast<std::size_t>(i)];
    if (item.Selected != 1) continue;
    std::wstring path;
    if (item.ItemType == sFolder) {
      // A files-only list hides its folders, so it never drags them.
      if (ltFolderListType == fbFile) continue;
      path = item.RealPath();
    } else {
      path = item.FullPath;
    }
    path = WithoutDisplayForm(path);
    if (!path.empty()) paths.push_back(std::move(path));
  }
  return paths;
}

void ZenloFileControl::StartFolderBoxDrag() {
  CallGuard guard(*this);
  ViewState& v = *view_;
  if (closing_ || v.Drag.Dragging || !v.FolderBox.Handle()) return;
  std::vector<std::wstring> paths = DraggedPaths();
  if (paths.empty()) return;  // nothing marked: there is nothing to drag
  FileSpecs += L'\0';
  RaiseHost([](ZenloFileControlEvents& s) { s.NotifySourceIndex(); });
  if (closing_) return;
  ComRef<IDataObject> data = MakeFileDropData(std::move(paths));
  ComRef<IDropSource> source = MakeFileDropSource();
  DWORD effect = DROPEFFECT_NONE;
  v.Drag.Dragging = true;
  // The drag loop is modal: drops on this and other lists are handled from inside it.
  DoDragDrop(data.Get(), source.Get(), DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect);
  if (closing_) return;  // the host let go inside the drag: the control is on its way out
  v.Drag.Dragging = false;
}

void ZenloFileControl::MarkForTransfer(std::int32_t index) {
  // Marked directly: a marking by the mouse would turn the press into a marking press.
  listItems_[static_cast<std::size_t>(index)].Selected = 1;
  MarkChanged(index, true);
  HighLightMouseOverItem();
  UpdateFolderAndFileSelectionInfo();
}

void ZenloFileControl::PreDragCheck(std::int32_t& currItem) {
  ViewState& v = *view_;
  // The first item a files-only list shows is its first file.
  const std::int32_t first = ltFolderListType == fbFile ? foldersShown_ : 0;
  const std::int32_t last = std::min(lastShownItem_, itemCount_ - 1);
  if (currItem == -1) currItem = v.HoverItem >= first && v.HoverItem <= last ? v.HoverItem : first;
  if (currItem < first || currItem > last) return;
  // A tree's root is never marked.
  if (ltFolderListType == fbFolder && currItem == 0) return;
  if (listItems_[static_cast<std::size_t>(currItem)].Selected == 1) return;
  SelectAll(L"none");
  MarkForTransfer(currItem);
}

bool ZenloFileControl::PreDragCheckKeepSelected(std::int32_t& currItem) {
  const bool tree = ltFolderListType == fbFolder;
  const std::int32_t first = ltFolderListType == fbFile ? foldersShown_ : 0;
  const std::int32_t last = std::min(lastShownItem_, itemCount_ - 1);
  bool rootActive = false;
  if (currItem == -1) {
    rootActive = tree && activeItem_ == 0 && last >= 0;
    if (activeItem_ >= 0 && activeItem_ <= last && !rootActive) currItem = activeItem_;
  }
  for (std::int32_t i = first; i <= last; ++i)
    if (listItems_[static_cast<std::size_t>(i)].Selected == 1) return true;
  const bool usable = currItem >= first && currItem <= last && !(tree && currItem == 0);
  if (!usable) {
    RaiseMessage(rootActive ? L"Please select an item that is not the root folder."
                            : L"Please select an item first.");
    return false;
  }
  MarkForTransfer(currItem);
  return true;
}

void ZenloFileControl::ClearAutoSelect() {
  DragDropState& d = view_->Drag;
  if (!d.AutoSelectPending) return;
  d.AutoSelectPending = false;
  SelectAll(L"none");
}

std::wstring ZenloFileControl::ParentPath(std::wstring& ItemString) {
  if (!ItemString.empty() && ItemString.back() == L'\\') ItemString.pop_back();
  const std::size_t slash = ItemString.rfind(L'\\');
  if (slash == std::wstring::npos) return ItemString;
  std::wstring parent = ItemString.substr(0, slash);
  if (!parent.empty() && parent.back() == L'\\') parent.pop_back();
  return parent;
}

std::wstring ZenloFileControl::DropDestination() {
  try {
    const ViewState& v = *view_;
    const std::int32_t hover = v.HoverItem;
    const bool onItem = hover >= 0 && hover <= lastShownItem_ && hover < itemCount_;
    if (!onItem || v.EmptyTextShown) {
      if (ltFolderListType != fbFolder) {
        // A listing of a share (or a folder on it) takes files at its real path; the
        // network's levels above the shares take none.
        if (GetObjectType(currentFolder_) != sDefault) return {};
        return DriveRootWithSeparator(WithoutDisplayForm(currentFolder_));
      }
      // A tree's network place ("*") cannot take files.
      if (!currentFolder_.empty() && currentFolder_[0] == L'*') return {};
      std::wstring folder = DriveRootWithSeparator(currentFolder_);
      if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
      return folder;
    }
    const TypeListItem& item = listItems_[static_cast<std::size_t>(hover)];
    switch (item.ItemType) {
      case sFile: {
        std::wstring path = WithoutDisplayForm(item.FullPath);
        return path.empty() ? path : DriveRootWithSeparator(ParentPath(path));
      }
      case sFolder:
      case sShare:
        return DriveRootWithSeparator(WithoutDisplayForm(item.FullPath));
      default:
        return {};
    }
  } catch (...) {
    return {};
  }
}

}  // namespace zenlo
