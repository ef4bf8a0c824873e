// Expanded folders, the per-place table and the active-item memory.
#include <algorithm>

#include "companions/DriveProvider.h"
#include "listing/CallGuard.h"
#include "listing/model/PathText.h"
#include "listing/model/PlaceMemory.h"
#include "toolkit/MessageBox.h"
#include "toolkit/Text.h"
#include "zenlo/ZFCombo.h"
#include "zenlo/ZenloFileControl.h"

namespace zenlo {

void ZenloFileControl::AddToExpandedFolderString(const std::wstring& currString) {
  if (!IsExpandedFolder(currString)) expandedFolders_.push_back({currString, 0});
  ExpandedCount = static_cast<std::int32_t>(expandedFolders_.size()) - 1;
}

std::wstring ZenloFileControl::GetExpandedFolderString(std::int32_t i) const {
  if (i < 0 || i >= static_cast<std::int32_t>(expandedFolders_.size())) return {};
  const auto& entry = expandedFolders_[static_cast<std::size_t>(i)];
  return entry.Flag == -1 ? std::wstring() : entry.Path;
}

void ZenloFileControl::StoreActiveFolder(const std::wstring& DriveLetter,
                                         const std::wstring& strActiveString) {
  std::int32_t slot = places_->FindOrTake(DriveLetter);
  if (slot >= 0) places_->Slot(slot).ActiveFolder = strActiveString;
}

void ZenloFileControl::AddToActiveFolderInfo(const std::wstring& DriveLetter,
                                             const std::wstring& ActiveFolderString) {
  // A key stored behind a freed slot is found, not entered a second time in the hole.
  if (places_->Find(DriveLetter) >= 0) return;
  std::int32_t slot = places_->FindOrTake(DriveLetter);
  if (slot >= 0) places_->Slot(slot).ActiveFolder = ActiveFolderString;
}

void ZenloFileControl::GetActiveFolderInfo(std::int32_t Item, std::wstring& DriveLetter,
                                           std::wstring& ActiveFolderString) const {
  if (Item < 0 || Item >= PlaceMemory::kSlots) {
    DriveLetter.clear();
    ActiveFolderString.clear();
    return;
  }
  DriveLetter = places_->Slot(Item).DriveKey;
  ActiveFolderString = places_->Slot(Item).ActiveFolder;
}

std::int32_t ZenloFileControl::GetActiveFolderCount() const { return places_->UsedExtent(); }

std::wstring ZenloFileControl::GetActiveFolder() {
  std::wstring key;
  return GetActiveFolder(key);
}

std::wstring ZenloFileControl::GetActiveFolder(std::wstring& DriveLetter) {
  if (DriveLetter.empty()) DriveLetter = currentDrive_;
  std::int32_t slot = places_->Find(DriveLetter);
  if (slot >= 0 && !places_->Slot(slot).ActiveFolder.empty())
    return places_->Slot(slot).ActiveFolder;
  return ListRootLoad(DriveLetter);
}

void ZenloFileControl::ActiveFolderRemove(const std::wstring& DriveLetter) {
  std::int32_t slot = places_->Find(DriveLetter);
  if (slot >= 0) places_->Free(slot);
}

std::wstring ZenloFileControl::GetDriveLetter(const std::wstring& Keyword) const {
  return PlaceKeyOf(Keyword);
}

std::wstring ZenloFileControl::ListRootSave(const std::wstring& ComboSelection,
                                            std::wstring& DriveLetter) {
  CallGuard guard(*this);  // a bookmark is asked of the host
  if (ComboSelection.empty() && DriveLetter.empty()) {
    tk::ShowMessageBox(nullptr, L"Input required.", L"Varnello", MB_OK);
    return {};
  }
  std::wstring root;
  if (!ComboSelection.empty()) {
    std::wstring name;
    const auto gap = ComboSelection.find(L"  ");
    if (tk::SameText(ComboSelection, L"My Network Places"))
      name = L"My Network Places";
    else if (gap == std::wstring::npos)
      name = tk::Trim(ComboSelection);
    else
      name = tk::Trim(ComboSelection.substr(0, gap + 1));
    DriveLetter = PlaceKeyOf(name);
    const bool bookmark = DriveLetter.size() == 1 && iswdigit(DriveLetter[0]);
    if (DriveLetter == L"*") {
      root = L"*:\\";
    } else if (DriveLetter == L"?" || bookmark) {
      // Only the gap goes: a folder's name may end in blanks.
      const auto start = gap == std::wstring::npos ? gap : ComboSelection.find_first_not_of(L' ', gap);
      if (start != std::wstring::npos) root = ComboSelection.substr(start);
      // A free bookmark is no root.
      if (root.empty() || tk::SameText(root, L"(empty)")) return {};
      root = AddTrailingBackslash(root);
    } else {
      root = DriveLetter + L":\\";
    }
  } else if (DriveLetter == L"*") {
    root = L"*:\\";
  } else if (DriveLetter == L"?") {
    root = zfCombo1_->Drives().MyDocumentsPath();
    if (root.empty()) return {};
    root = AddTrailingBackslash(root);
  } else if (DriveLetter.size() == 1 && DriveLetter[0] >= L'0' && DriveLetter[0] <= L'9') {
    std::wstring path;
    RaiseGetBookmark(static_cast<std::int16_t>(DriveLetter[0] - L'0'), path);
    if (closing_) return {};
    if (path.empty() || tk::SameText(path, L"(empty)")) return {};
    root = AddTrailingBackslash(path);
  } else {
    root = DriveLetter + L":\\";
  }
  std::int32_t slot = places_->FindOrTake(DriveLetter);
  if (slot >= 0) places_->Slot(slot).ListRoot = root;
  return root;
}

std::wstring ZenloFileControl::ListRootLoad(std::wstring DriveLetter) {
  if (DriveLetter.empty()) return {};
  std::int32_t slot = places_->Find(DriveLetter);
  if (slot >= 0 && !places_->Slot(slot).ListRoot.empty()) return places_->Slot(slot).ListRoot;
  return ListRootSave(L"", DriveLetter);
}

static std::wstring PositionKey(const std::wstring& key) {
  return tk::UpperCase(key.substr(0, key.find(L':')));
}

bool ZenloFileControl::ListPositionSave(std::wstring DriveLetter, std::int32_t ThePosition) {
  const std::wstring key = PositionKey(DriveLetter);
  if (key.empty()) return false;
  const bool isNew = places_->Find(key) < 0;
  std::int32_t slot = places_->FindOrTake(key);
  if (slot >= 0) places_->Slot(slot).ListPosition = ThePosition;
  return isNew;
}

bool ZenloFileControl::ListPositionLoad(std::wstring DriveLetter,
                                        std::int32_t& ThePosition) const {
  ThePosition = 0;
  std::int32_t slot = places_->Find(PositionKey(DriveLetter));
  if (slot < 0) return false;
  ThePosition = places_->Slot(slot).ListPosition;
  return true;
}

void ZenloFileControl::SaveActiveString() {
  if (activeItem_ == -1) return;
  if (activeItem_ < 0 || activeItem_ >= itemCount_) {
    activeItem_ = -1;
    return;
  }
  activeString_ = listItems_[static_cast<std::size_t>(activeItem_)].FullPath;
}

void ZenloFileControl::FindActiveItem() {
  if (!activeString_.empty()) {
    // The row found last time usually still holds it: no scan per redraw or key press.
    if (activeItem_ >= 0 && activeItem_ <= lastShownItem_ && activeItem_ < itemCount_ &&
        SameFolderPath(listItems_[static_cast<std::size_t>(activeItem_)].FullPath, activeString_))
      return;
    activeItem_ = -1;
    for (std::int32_t i = 0; i <= lastShownItem_ && i < itemCount_; ++i) {
      // A host may hand the folder back with a trailing backslash.
      if (SameFolderPath(listItems_[static_cast<std::size_t>(i)].FullPath, activeString_)) {
        activeItem_ = i;
        return;
      }
    }
  }
  if (ltFolderListType == fbFolder && itemCount_ > 0) {
    // The remembered folder is gone: the root becomes active and the host re-lists the pane.
    activeItem_ = 0;
    activeString_ = listItems_[0].FullPath;
    StoreActiveFolder(currentDrive_, activeString_);
    RaiseClick();
  }
}

}  // namespace zenlo
