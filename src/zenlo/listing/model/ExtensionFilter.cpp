// The extension filter's counting and ordering. Until filter patterns exist every item is
// shown: folders and network items as shown folders, files as shown files.
#include "listing/view/ViewState.h"
#include "toolkit/Text.h"
#include "zenlo/ZenloFileControl.h"

namespace zenlo {

namespace {
std::wstring CountText(std::int32_t n, const wchar_t* noun) {
  std::wstring text = std::to_wstring(n) + L" " + noun;
  if (n != 1 && n != -1) text += L"s";
  return text;
}
}  // namespace

void ZenloFileControl::ApplyFilterToItems() {
  try {
    if (ltFolderListType == fbFolder) {
      lastShownItem_ = itemCount_ - 1;
    } else if (itemCount_ < 1) {
      foldersShown_ = filesShown_ = 0;
      lastShownItem_ = 0;
    } else {
      std::int32_t folders = 0;
      std::int32_t files = 0;
      for (std::int32_t i = 0; i < itemCount_; ++i) {
        TypeListItem& item = listItems_[static_cast<std::size_t>(i)];
        if (item.ItemType == sFile) {
          item.FilterState = fFileShow;
          ++files;
        } else {
          item.FilterState = fFolderShow;
          ++folders;
        }
      }
      QuickSortFilter(0, itemCount_ - 1);
      foldersShown_ = folders;
      filesShown_ = files;
      lastShownItem_ = folders + files - 1;
    }

    // A count of 0 or more than 1 takes the plural; a change of exactly one does not.
    folderCountText_ = std::to_wstring(foldersShown_) + (foldersShown_ == 1 ? L" Folder" : L" Folders");
    fileCountText_ = std::to_wstring(filesShown_) + (filesShown_ == 1 ? L" File" : L" Files");
    if (folderChanged_) {
      folderChangeText_ = CountText(foldersShown_ - previousFoldersShown_, L"Folder");
      fileChangeText_ = CountText(filesShown_ - previousFilesShown_, L"File");
    } else {
      previousFoldersShown_ = foldersShown_;
      previousFilesShown_ = filesShown_;
      folderChangeText_.clear();
      fileChangeText_.clear();
    }

    UpdateFolderAndFileSelectionInfo();
    ViewState& v = *view_;
    v.ScrollRedrawEnabled = false;
    SetFolderBoxProperties(false);
    v.ScrollRedrawEnabled = true;
    if (v.DoDrawing) {
      Update(updateSortAndDraw);
    } else {
      SaveActiveString();
      ApplyInterimSortOrder();
      FindActiveItem();
    }
  } catch (...) {
    RaiseMessage(L"The filter could not be applied. Varnello will show all items.");
  }
}

}  // namespace zenlo
