// The control's marking members: the rules live in Marking; here the marks on screen follow
// and the pointer state learns that the last press marked.
#include <algorithm>

#include "listing/model/Marking.h"
#include "listing/view/PointerState.h"
#include "listing/view/ViewState.h"
#include "zenlo/ZenloFileControl.h"

namespace zenlo {

void ZenloFileControl::MarkChanged(std::int32_t index, bool marked) {
  const ViewState& v = *view_;
  // Only rows on screen are drawn; the others show their mark when they are drawn.
  if (v.FirstVisible < 0 || index < v.FirstVisible || index > v.LastVisible) return;
  if (marked)
    DrawSelectionMark(index);
  else
    EraseSelectionMark(index);
}

bool ZenloFileControl::AddArrowToItem(std::int32_t SelectedItem, std::int16_t ForceSelect) {
  const bool tree = ltFolderListType == fbFolder;
  if (tree && SelectedItem == 0) return false;
  if (SelectedItem < 0 || SelectedItem > lastShownItem_ || SelectedItem >= itemCount_) return false;
  const Marking::Changed changed = [this](std::int32_t i, bool m) { MarkChanged(i, m); };
  if (tree) {
    listItems_[0].Selected = -1;
    EraseSelectionMark(0);
  }
  marking_->SetItem(listItems_, SelectedItem, ForceSelect, changed);
  if (tree) Marking::UnmarkTreeRelatives(listItems_, SelectedItem, lastShownItem_, changed);
  HighLightMouseOverItem();
  pointer_->Mode = MouseMode::Select;
  return true;
}

void ZenloFileControl::AddArrowToRange(std::int32_t SelectedItem, std::int32_t StartItem) {
  if (SelectedItem < 0 || SelectedItem > lastShownItem_ || SelectedItem >= itemCount_) return;
  if (ltFolderListType == fbFolder && SelectedItem == 0) return;
  std::int32_t from = StartItem;
  // A range never reaches past the items shown, nor onto a tree's root.
  if (from > lastShownItem_) from = lastShownItem_;
  if (ltFolderListType == fbFolder && from < 1) from = 1;
  marking_->SetRange(listItems_, from, SelectedItem,
                     [this](std::int32_t i, bool m) { MarkChanged(i, m); });
  view_->HoverItem = SelectedItem;
  view_->HoverRow = SelectedItem - view_->TopItem;
  HighLightMouseOverItem();
  pointer_->Mode = MouseMode::Select;
}

void ZenloFileControl::DeselectOtherLevels() {
  if (ltFolderListType != fbFolder) return;
  Marking::DeselectOtherLevels(listItems_, std::min(lastShownItem_, itemCount_ - 1),
                               pointer_->Mode == MouseMode::SelectAndDrag,
                               [this](std::int32_t i, bool m) { MarkChanged(i, m); });
}

void ZenloFileControl::SelectAll(const std::wstring& DoAll) {
  if (view_->EmptyTextShown) return;
  marking_->SelectAll(listItems_, std::min(lastShownItem_, itemCount_ - 1), DoAll,
                      ltFolderListType, [this](std::int32_t i, bool m) { MarkChanged(i, m); });
  // Unmarking everything also forgets the marks kept for the next re-read.
  if (!DoAll.empty() && !marking_->SelectAllState) savedSelection_.clear();
  DeselectOtherLevels();
  HighLightMouseOverItem();
  UpdateFolderAndFileSelectionInfo();
}

std::wstring ZenloFileControl::GetFileSpecs() {
  return Marking::FileSpecs(listItems_, std::min(lastShownItem_, itemCount_ - 1), ltFolderListType,
                            FileSpecs);
}

std::wstring ZenloFileControl::GetFileSpecsExternal() {
  return Marking::NextFileSpec(listItems_, std::min(lastShownItem_, itemCount_ - 1),
                               ltFolderListType, LastListItem);
}

void ZenloFileControl::ResetStartItem() { pointer_->ShiftRangeStart = -1; }

}  // namespace zenlo
