// Folder compare: one pane hands out its items' names, sizes and dates; another marks its own
// items against them and records which entries it matched; the first then marks its items.
#include <unordered_map>

#include "listing/CallGuard.h"
#include "listing/model/ItemDetails.h"
#include "listing/view/ViewState.h"
#include "toolkit/Text.h"
#include "zenlo/ZenloFileControl.h"

namespace zenlo {

std::vector<TypeFolderContents> ZenloFileControl::FileArrayForCompare() const {
  std::vector<TypeFolderContents> contents;
  contents.reserve(static_cast<std::size_t>(itemCount_));
  for (std::int32_t i = 0; i < itemCount_; ++i) {
    const TypeListItem& item = listItems_[static_cast<std::size_t>(i)];
    contents.push_back({tk::UpperCase(item.Name), item.SizeText(), item.DateLastModified(), false});
  }
  return contents;
}

void ZenloFileControl::CompareFolder(std::vector<TypeFolderContents>& FolderContents,
                                     EnumCompareMode CompareMode) {
  if (closing_) return;
  CallGuard guard(*this);
  const SkinSettings& skin = view_->Skin;
  // The first item of each name, found once instead of a scan per entry.
  std::unordered_map<std::wstring, std::int32_t> firstByName;
  firstByName.reserve(static_cast<std::size_t>(itemCount_));
  for (std::int32_t i = 0; i < itemCount_; ++i) {
    TypeListItem& item = listItems_[static_cast<std::size_t>(i)];
    item.CompareState = IsNotMatch;
    item.ItemColor = static_cast<std::int32_t>(skin.TextSecondary);
    firstByName.emplace(tk::UpperCase(item.Name), i);
  }
  const bool bySize = CompareMode != ByFileName && CompareMode != ByFileNameDate;
  const bool byDate = CompareMode != ByFileName && CompareMode != ByFileNameSize;
  for (TypeFolderContents& entry : FolderContents) {
    auto found = firstByName.find(tk::UpperCase(entry.TheFileName));
    if (found == firstByName.end()) continue;
    TypeListItem& item = listItems_[static_cast<std::size_t>(found->second)];
    // Sizes compare as shown, so a folder not yet summed ("--") matches only another one.
    if (bySize && !tk::SameText(item.SizeText(), entry.TheFileSize)) continue;
    if (byDate && !tk::SameText(item.DateLastModified(), entry.TheFileDate)) continue;
    item.CompareState = IsMatch;
    item.ItemColor = static_cast<std::int32_t>(skin.ListText);
    entry.MatchMade = true;
  }
  Update(updateDrawOnly);
}

void ZenloFileControl::CompareResultsUpdate(const std::vector<TypeFolderContents>& FolderContents) {
  if (closing_) return;
  CallGuard guard(*this);
  const SkinSettings& skin = view_->Skin;
  // Entries past this listing's items describe nothing here (the array came from a longer one).
  const std::size_t count = std::min(FolderContents.size(), static_cast<std::size_t>(itemCount_));
  for (std::size_t i = 0; i < count; ++i) {
    TypeListItem& item = listItems_[i];
    const bool match = FolderContents[i].MatchMade;
    item.CompareState = match ? IsMatch : IsNotMatch;
    item.ItemColor = static_cast<std::int32_t>(match ? skin.ListText : skin.TextSecondary);
  }
  // Items the array does not reach (it came from a shorter listing) say nothing of this
  // compare: no mark of an earlier one stays on them.
  for (std::size_t i = count; i < static_cast<std::size_t>(itemCount_); ++i) {
    TypeListItem& item = listItems_[i];
    item.CompareState = NotActive;
    item.ItemColor = item.ColorWord().empty() ? -1 : ColorWordToRgb(item.ColorWord());
  }
  Update(updateDrawOnly);
}

}  // namespace zenlo
