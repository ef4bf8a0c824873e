// Requests to show, re-read or redraw a listing.
#include "listing/CallGuard.h"
#include "listing/model/ChangeWatch.h"
#include "listing/model/FolderPathCheck.h"
#include "listing/view/ViewState.h"
#include "toolkit/Text.h"
#include "zenlo/ZenloFileControl.h"

namespace zenlo {

namespace {
// The status line's word on a listed folder that is gone.
std::wstring GoneFolderNotice(const std::wstring& gone, bool parentShown) {
  std::wstring name = gone;
  while (name.size() > 1 && name.back() == L'\\') name.pop_back();
  const auto cut = name.find_last_of(L'\\');
  if (cut != std::wstring::npos && cut + 1 < name.size()) name = name.substr(cut + 1);
  return L"\"" + name + (parentShown ? L"\" no longer exists; the folder above it is shown."
                                      : L"\" no longer exists.");
}
}  // namespace

void ZenloFileControl::RefreshList() {
  CallGuard guard(*this);
  if (closing_) return;
  SaveActiveString();
  std::wstring path;
  std::wstring goneNotice;
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
      // Often deleted in another pane, or by the user elsewhere: a box in every pane that
      // showed it would only be in the way. The status line says where the listing went.
      const std::wstring gone = path;
      path = NearestExistingParent(gone);
      goneNotice = GoneFolderNotice(gone, !path.empty());
      if (path.empty()) {
        view_->StatusNotice = goneNotice;  // nothing left to show: the old items stay
        UpdateStatus(true);
        return;
      }
    }
  }
  SaveSelectedPaths();
  std::wstring networkObject;
  GetFolderContents(path, true, defaultIndent_, sDefault, false, networkObject, true);
  if (closing_ || goneNotice.empty()) return;
  view_->StatusNotice = goneNotice;
  UpdateStatus(true);
}

std::wstring ZenloFileControl::NearestExistingParent(const std::wstring& gone) {
  std::wstring parent = ParentFolder(ResolveFolderPath(gone));
  while (!parent.empty() && FolderIsGone(parent)) parent = ParentFolder(parent);
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
