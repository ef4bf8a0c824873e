// Opening and closing tree folders, and the item of a path.
#include <string_view>

#include "listing/CallGuard.h"
#include "listing/view/ViewState.h"
#include "toolkit/MousePointer.h"
#include "toolkit/Text.h"
#include "zenlo/ZenloFileControl.h"

namespace zenlo {

std::int32_t ZenloFileControl::GetItemNumFromName(const std::wstring& ItemName) {
  // A copy: the caller's path stays as it was given.
  std::wstring name = tk::UpperCase(ItemName);
  if (!name.empty() && name.back() == L'\\') name.pop_back();
  if (!name.empty() && name.back() == L':') return 0;  // a drive is its tree's root
  for (std::int32_t i = 0; i < itemCount_; ++i) {
    // A tree's root keeps its trailing "\", so it is compared without it too.
    std::wstring_view path = listItems_[static_cast<std::size_t>(i)].FullPath;
    if (path.size() > 1 && path.back() == L'\\') path.remove_suffix(1);
    if (path.size() == name.size() &&
        CompareStringOrdinal(path.data(), static_cast<int>(path.size()), name.data(),
                             static_cast<int>(name.size()), TRUE) == CSTR_EQUAL)
      return i;
  }
  return -999;
}

void ZenloFileControl::ExpandFolder(std::int32_t& TheItem, std::wstring ItemName,
                                    ExpandType& ExpandFlag) {
  CallGuard guard(*this);
  if (closing_) return;
  struct Busy {
    bool& flag;
    tk::HourglassPointer hourglass;
    explicit Busy(bool& f) : flag(f) { flag = true; }
    ~Busy() { flag = false; }
  } busy(expandingFolder_);
  SaveActiveString();
  if (!ItemName.empty()) {
    TheItem = GetItemNumFromName(ItemName);
    if (TheItem == -999) return;
  }
  if (TheItem < 0 || TheItem >= itemCount_) return;
  TypeListItem& item = listItems_[static_cast<std::size_t>(TheItem)];
  if (item.FolderStatus == sNoSubFolders) return;
  const std::wstring path = tk::UpperCase(item.FullPath);
  if (path.find(L"MICROSOFT TERMINAL SERVICES") != std::wstring::npos ||
      path.find(L"WEB CLIENT NETWORK") != std::wstring::npos)
    return;
  if ((item.ItemType == sFolder || item.ItemType == sShare) && !CheckFolderAccess(item.FullPath, true))
    return;
  if (closing_) return;
  if ((ExpandFlag == Expand && item.FolderStatus == sExpanded) ||
      (ExpandFlag == Collapse && item.FolderStatus == sNotExpanded))
    return;
  if (ltFolderListType == fbFolder) SaveSelectedPaths();
  if (ExpandFlag != Expand && ExpandFlag != Collapse)
    ExpandFlag = item.FolderStatus == sExpanded ? Collapse : Expand;
  if (ExpandFlag == Collapse) {
    item.FolderStatus = sNotExpanded;
    std::vector<TypeFolderFlag> kept;
    // Folders below the closed one stay open, so opening it again shows them open.
    for (const auto& entry : expandedFolders_)
      if (!tk::SameText(entry.Path, path)) kept.push_back({entry.Path, 0});
    expandedFolders_ = std::move(kept);
  } else {
    item.FolderStatus = sExpanded;
    expandedFolders_.push_back({path, 0});
  }
  if (!expandedFolders_.empty()) ExpandedCount = static_cast<std::int32_t>(expandedFolders_.size()) - 1;
  RefreshList();
  if (closing_) return;  // the host let go during the read
  UpdateFolderAndFileSelectionInfo();
  HighLightMouseOverItem();
}

void ZenloFileControl::ExpandFolder(std::wstring ItemName, ExpandType ExpandFlag) {
  std::int32_t item = 0;
  ExpandFolder(item, std::move(ItemName), ExpandFlag);
}

void ZenloFileControl::CollapseAllFolders() {
  CallGuard guard(*this);
  if (closing_) return;
  // A failing step is reported and the next one runs.
  auto step = [this](auto&& action) {
    try {
      action();
    } catch (...) {
      RaiseMessage(L"An error occurred while collapsing the folders.");
    }
  };
  step([&] {
    for (std::int32_t i = 0; i <= lastShownItem_ && i < itemCount_; ++i)
      listItems_[static_cast<std::size_t>(i)].FolderStatus = sNotExpanded;
  });
  step([&] { expandedFolders_.clear(); });
  if (closing_) return;
  step([&] { RefreshList(); });
}

void ZenloFileControl::ExpandFolderRemove(const std::wstring& DriveLetter) {
  if (expandedFolders_.empty() || DriveLetter.empty()) return;
  std::vector<TypeFolderFlag> kept;
  for (const auto& entry : expandedFolders_)
    if (entry.Path.empty() || !tk::SameText(entry.Path.substr(0, 1), DriveLetter.substr(0, 1)))
      kept.push_back({entry.Path, 0});
  expandedFolders_ = std::move(kept);
}

void ZenloFileControl::SetExpandedFolder() {
  if (ActiveFolderItem < 0 || ActiveFolderItem >= itemCount_) return;
  listItems_[static_cast<std::size_t>(ActiveFolderItem)].FolderStatus = sExpanded;
}

}  // namespace zenlo
