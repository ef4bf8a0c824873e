// The extension filter: the box's text as a name pattern, the items it shows ahead of the ones
// it hides, and the counts and change texts the status line shows.
#include "listing/CallGuard.h"
#include "listing/model/NameFilter.h"
#include "listing/model/ReadSeams.h"
#include "listing/view/ViewState.h"
#include "toolkit/Text.h"
#include "zenlo/ZenloFileControl.h"

namespace zenlo {

namespace {
// A count of 0 or more than 1 takes the plural.
std::wstring CountText(std::int32_t n, const wchar_t* noun) {
  std::wstring text = std::to_wstring(n) + L" " + noun;
  if (n != 1) text += L"s";
  return text;
}

// A change of exactly one, either way, takes the singular.
std::wstring ChangeText(std::int32_t n, const wchar_t* noun) {
  std::wstring text = std::to_wstring(n) + L" " + noun;
  if (n != 1 && n != -1) text += L"s";
  return text;
}
}  // namespace

std::wstring ZenloFileControl::FilterBoxText() const {
  const ViewState& v = *view_;
  return v.cboFilter.Handle() ? v.cboFilter.Text() : filterText_;
}

void ZenloFileControl::ApplyFilterToItems() {
  CallGuard guard(*this);
  if (closing_) return;
  filterText_ = FilterBoxText();
  std::wstring failure;
  NameFilter filter = NameFilter::FromBoxText(filterText_, failure);
  int errors = 0;
  if (!failure.empty()) {
    ++errors;
    RaiseMessage(failure);
    if (closing_) return;
  }
  for (;;) {
    try {
      FilterPass(filter);
      return;
    } catch (...) {
      // Shown all instead; a third failure gives up without another message.
      if (++errors >= 3 || closing_) return;
      RaiseMessage(kFilterNotAppliedMessage);
      if (closing_) return;
      filter = NameFilter::FromBoxText(L"*", failure);
    }
  }
}

void ZenloFileControl::FilterPass(const NameFilter& filter) {
  if (TestReadSeams().OnFilterPass) TestReadSeams().OnFilterPass();
  filterActive_ = false;
  if (ltFolderListType == fbFolder) {
    lastShownItem_ = itemCount_ - 1;  // a tree is never filtered
  } else if (itemCount_ < 1) {
    foldersShown_ = filesShown_ = 0;
    lastShownItem_ = 0;
  } else {
    filterActive_ = filter.Active();
    std::int32_t folders = 0;
    std::int32_t files = 0;
    for (std::int32_t i = 0; i < itemCount_; ++i) {
      TypeListItem& item = listItems_[static_cast<std::size_t>(i)];
      if (filterActive_ && !filter.Matches(item.Name)) {
        item.FilterState = fHide;
      } else if (item.ItemType == sFile) {
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
  SetCountTexts(true);
  FinishFiltering();
}

void ZenloFileControl::SetCountTexts(bool measureChange) {
  folderCountText_ = CountText(foldersShown_, L"Folder");
  fileCountText_ = CountText(filesShown_, L"File");
  if (measureChange && folderChanged_) {
    // Against the listing as last seen: the previous counts stay until a quiet filtering.
    folderChangeText_ = ChangeText(foldersShown_ - previousFoldersShown_, L"Folder");
    fileChangeText_ = ChangeText(filesShown_ - previousFilesShown_, L"File");
  } else if (measureChange) {
    previousFoldersShown_ = foldersShown_;
    previousFilesShown_ = filesShown_;
    folderChangeText_.clear();
    fileChangeText_.clear();
  }
}

void ZenloFileControl::FinishFiltering() {
  UpdateFolderAndFileSelectionInfo();
  ViewState& v = *view_;
  v.ScrollRedrawEnabled = false;
  SetFolderBoxProperties(false);
  v.ScrollRedrawEnabled = true;
  if (v.DoDrawing) {
    Update(updateSortAndDraw);
  } else {
    SaveActiveString();
    ApplySortOrder();
    FindActiveItem();
  }
}

void ZenloFileControl::NewFilterSelected() {
  CallGuard guard(*this);
  if (closing_ || !filterReady_) return;
  ViewState& v = *view_;
  // A files-only details listing keeps its folders above the first row shown.
  v.TopItem = ltFolderListType == fbFile && ListMode == listDetails ? foldersShown_ : 0;
  SelectAll(L"none");
  if (closing_) return;
  SaveActiveString();
  ApplyFilterToItems();
  if (closing_) return;
  HighLightMouseOverItem();
}

void ZenloFileControl::ApplyExtensionFilter() {
  CallGuard guard(*this);
  if (closing_) return;
  filterText_ = FilterBoxText();
  const std::wstring pattern = tk::UpperCase(filterText_);
  const std::int32_t firstFile = foldersShown_;
  if (!pattern.empty() && pattern != L"ALL") {
    QuickSortExt(firstFile, itemCount_ - 1);
    std::int32_t next = firstFile;
    for (std::int32_t i = firstFile; i < itemCount_; ++i) {
      if (!tk::SameText(listItems_[static_cast<std::size_t>(i)].ExtKey(), pattern)) continue;
      if (i != next)
        std::swap(listItems_[static_cast<std::size_t>(i)], listItems_[static_cast<std::size_t>(next)]);
      ++next;
    }
    filesShown_ = next - firstFile;
    lastShownItem_ = next - 1;
  } else if (itemCount_ < 1) {
    filesShown_ = 0;
    lastShownItem_ = 0;
  } else {
    filesShown_ = itemCount_ - firstFile;
    lastShownItem_ = itemCount_ - 1;
  }
  SetCountTexts(false);
  UpdateFolderAndFileSelectionInfo();
  UpdateStatus();
  FinishFiltering();
}

}  // namespace zenlo
