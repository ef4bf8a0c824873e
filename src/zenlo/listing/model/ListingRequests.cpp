// Requests to show, re-read or redraw a listing.
#include "listing/CallGuard.h"
#include "listing/model/ChangeWatch.h"
#include "listing/model/FolderPathCheck.h"
#include "listing/view/ViewState.h"
#include "toolkit/Text.h"
#include "zenlo/ZenloFileControl.h"

namespace zenlo {

void ZenloFileControl::RefreshList() {
  CallGuard guard(*this);
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
    // The watch's own handle keeps a deleted folder pending deletion, looking like an empty
    // folder; the read opens a fresh watch when it ends.
    if (!readBusy_) watch_->Close();
    if (!readBusy_ && FolderIsGone(path)) {
      path = NearestExistingParent(path);
      if (path.empty()) return;  // nothing left to show: the message said why
      if (closing_) return;      // the host let go in the message
    }
  }
  SaveSelectedPaths();
  std::wstring networkObject;
  GetFolderContents(path, true, defaultIndent_, sDefault, false, networkObject, true);
}

std::wstring ZenloFileControl::NearestExistingParent(const std::wstring& gone) {
  std::wstring parent = ParentFolder(ResolveFolderPath(gone));
  while (!parent.empty() && FolderIsGone(parent)) parent = ParentFolder(parent);
  std::wstring text = L"The folder shown here no longer exists.\r\n\r\nFolder: " + PathForMessage(gone);
  if (!parent.empty()) text += L"\r\n\r\nShown instead: " + PathForMessage(parent);
  RaiseMessage(text);
  // Counts of another folder are no change of this one.
  folderChanged_ = false;
  return parent;
}

void ZenloFileControl::SaveSelectedPaths() {
  savedSelection_.clear();
  for (std::int32_t i = 0; i <= lastShownItem_ && i < itemCount_; ++i) {
    const TypeListItem& item = listItems_[static_cast<std::size_t>(i)];
    if (item.Selected == 1) savedSelection_.push_back({tk::UpperCase(item.FullPath), 1});
  }
}

void ZenloFileControl::DoSorting(const std::wstring& order) {
  CallGuard guard(*this);
  if (closing_) return;
  sortDirection_ = order;
  Update(updateSort);
}

void ZenloFileControl::Update(EnumUpdateType UpdateType) {
  CallGuard guard(*this);
  if (closing_) return;
  ViewState& v = *view_;
  switch (UpdateType) {
    case updateSort:
    case updateSortAndDraw:
      if (UpdateType == updateSort) SaveActiveString();
      // A new request changes the level list; a redraw re-applies it as it is.
      SortList(UpdateType == updateSortAndDraw);
      if (closing_) return;
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
  FindActiveItem();  // a tree may raise Click, and the host may let go there
  if (closing_) return;
  HighLightActiveItem();
}

}  // namespace zenlo
