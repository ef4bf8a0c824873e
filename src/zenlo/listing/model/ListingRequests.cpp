// Requests to show, re-read or redraw a listing.
#include "listing/view/ViewState.h"
#include "toolkit/Text.h"
#include "zenlo/ZenloFileControl.h"

namespace zenlo {

void ZenloFileControl::RefreshList() {
  if (closing_) return;
  SaveActiveString();
  std::wstring path;
  if (ltFolderListType == fbFolder) {
    // A tree that has no place yet has nothing to re-read.
    if (currentDrive_.empty()) return;
    path = ListRootLoad(currentDrive_);
    if (path.empty()) return;
  } else {
    path = currentFolder_;
  }
  SaveSelectedPaths();
  std::wstring networkObject;
  GetFolderContents(path, true, defaultIndent_, sDefault, false, networkObject, true);
}

void ZenloFileControl::SaveSelectedPaths() {
  savedSelection_.clear();
  for (std::int32_t i = 0; i <= lastShownItem_ && i < itemCount_; ++i) {
    const TypeListItem& item = listItems_[static_cast<std::size_t>(i)];
    if (item.Selected == 1) savedSelection_.push_back({tk::UpperCase(item.FullPath), 1});
  }
}

void ZenloFileControl::Update(EnumUpdateType UpdateType) {
  ViewState& v = *view_;
  switch (UpdateType) {
    case updateSort:
    case updateSortAndDraw:
      if (UpdateType == updateSort) SaveActiveString();
      ApplyInterimSortOrder();
      DrawFolderBox();
      break;
    case updateToggleShowHideFolders:
      SaveActiveString();
      v.ScrollRedrawEnabled = false;
      DrawFolderBox();
      UpdateFolderAndFileSelectionInfo();
      v.ScrollRedrawEnabled = true;
      break;
    case updateDrawOnly:
      SaveActiveString();
      DrawFolderBox();
      break;
  }
  FindActiveItem();
  HighLightActiveItem();
}

}  // namespace zenlo
