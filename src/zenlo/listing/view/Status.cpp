// The status line's members: selection counts and the composed line.
#include "listing/view/StatusLine.h"
#include "listing/view/ViewState.h"
#include "zenlo/ZenloFileControl.h"

namespace zenlo {

void ZenloFileControl::UpdateFolderAndFileSelectionInfo() {
  std::int32_t folders = 0, files = 0;
  for (std::int32_t i = 0; i <= lastShownItem_ && i < itemCount_; ++i) {
    const TypeListItem& item = listItems_[static_cast<std::size_t>(i)];
    if (item.Selected != 1) continue;
    if (item.ItemType == sFolder) {
      // A folder in a files-only pane is not shown, so it is not counted at all.
      if (ltFolderListType != fbFile) ++folders;
    } else {
      ++files;
    }
  }
  view_->SelectionText = SelectionText(ltFolderListType, folders, files);
  UpdateStatus(false);
}

void ZenloFileControl::UpdateStatus(bool SkipSound) {
  ViewState& v = *view_;
  StatusInputs in;
  in.listType = ltFolderListType;
  in.folderCountText = folderCountText_;
  in.fileCountText = fileCountText_;
  in.folderChangeText = folderChangeText_;
  in.fileChangeText = fileChangeText_;
  in.selectionText = v.SelectionText;
  in.notice = v.StatusNotice;
  in.filterActive = filterActive_;
  in.trackFolderChanges = v.Skin.TrackFoldChanges;
  in.trackFileChanges = v.Skin.TrackFileChanges;
  in.trackChime = v.Skin.TrackChime;
  in.skipSound = SkipSound;
  const StatusLine line = ComposeStatusLine(in);
  if (line.changeColours)
    v.lblStatus.SetColours(kChangeText, kChangeBackground);
  else
    v.lblStatus.SetColours(v.Skin.StatusText, v.Skin.StatusBackground);
  StatusLet(line.text);
  if (line.chime) TestSound();
}

}  // namespace zenlo
