#pragma once
// What a listing keeps for drag and drop: the drop targets of its rows and of the area around
// them, whether it started OLE on its thread, and whether a drag of its own is running.
#include "listing/view/FileDrop.h"

namespace zenlo {

struct DragDropState {
  ComRef<ListDropTarget> FolderBoxTarget;  // over the rows
  ComRef<ListDropTarget> BoundBoxTarget;   // beside and below them
  bool OleStarted = false;                 // this control's OleInitialize, undone when it goes
  bool Dragging = false;                   // a drag of this listing's items is running
  // Tested by ClearAutoSelect; nothing sets it yet, so a paste keeps the marks.
  bool AutoSelectPending = false;
};

}  // namespace zenlo
