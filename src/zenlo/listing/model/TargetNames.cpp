// The folder for a new folder or a paste and the item to rename, as the host's commands ask.
#include "listing/model/TargetNames.h"

#include <algorithm>

#include "listing/model/PathText.h"
#include "toolkit/Error.h"
#include "toolkit/Text.h"
#include "zenlo/ZenloFileControl.h"

namespace zenlo {

std::wstring ValidateListingPath(const std::wstring& path) {
  if (path.empty() || path[0] != L'*') return path;
  const auto unc = path.find(L"\\\\");
  if (unc == std::wstring::npos) return {};  // the whole network, a provider, a domain
  // A share needs a name after the computer's "\"; "\\computer\" alone is no folder.
  const auto slash = path.find(L'\\', unc + 2);
  if (slash == std::wstring::npos || slash + 1 >= path.size()) return {};
  return path.substr(unc);
}

void RightClickMemory::Remember(const ItemArray& items, std::int32_t itemCount,
                                std::int32_t index) {
  hit_ = index >= 0 && index < itemCount && static_cast<std::size_t>(index) < items.size();
  path_ = hit_ ? items[static_cast<std::size_t>(index)].FullPath : std::wstring();
}

std::int32_t RightClickMemory::Find(const ItemArray& items,
                                    std::int32_t lastShown, std::int32_t itemCount) const {
  if (!hit_) return kNone;
  const std::int32_t last = std::min({lastShown, itemCount - 1,
                                      static_cast<std::int32_t>(items.size()) - 1});
  for (std::int32_t i = 0; i <= last; ++i)
    if (tk::SameText(items[static_cast<std::size_t>(i)].FullPath, path_)) return i;
  return kGone;
}

void ZenloFileControl::SetRightClickItem(std::int32_t index) {
  if (!rightClick_) rightClick_ = std::make_shared<RightClickMemory>();
  rightClick_->Remember(listItems_, itemCount_, index);
}

std::int32_t ZenloFileControl::RightClickItem() const {
  if (!rightClick_) return RightClickMemory::kNone;
  const std::int32_t found = rightClick_->Find(listItems_, lastShownItem_, itemCount_);
  return found < 0 ? RightClickMemory::kNone : found;
}

std::wstring ZenloFileControl::ValidatePath(std::wstring path) const {
  return ValidateListingPath(path);
}

std::wstring ZenloFileControl::ItemNameForNewFolder(bool UseActiveFolder, bool UseChildFolder) {
  std::wstring folder;
  try {
    const bool tree = ltFolderListType == fbFolder;
    if (!tree) {
      folder = currentFolder_;
    } else {
      std::int32_t index = activeItem_;
      if (!UseActiveFolder) {
        index = rightClick_ ? rightClick_->Find(listItems_, lastShownItem_, itemCount_)
                            : RightClickMemory::kNone;
        // The folder right-clicked has gone with a re-read: there is nowhere to create it.
        if (index == RightClickMemory::kGone) return {};
      }
      if (index == -1) index = 0;
      if (index < 0 || index >= itemCount_)
        throw tk::RuntimeError(tk::kErrSubscript, L"Subscript out of range");
      folder = listItems_[static_cast<std::size_t>(index)].FullPath;
    }
    folder = ValidateListingPath(folder);
    if (!folder.empty()) folder = AddTrailingBackslash(folder);
    if (UseChildFolder && !tree && !folder.empty() && activeItem_ >= 0 &&
        activeItem_ < itemCount_) {
      const TypeListItem& active = listItems_[static_cast<std::size_t>(activeItem_)];
      if (active.ItemType == sFolder) folder += active.Name + L"\\";
    }
  } catch (...) {
    RaiseMessage(L"An error occurred while get the folder name.");
  }
  return folder;
}

std::wstring ZenloFileControl::CtrlVFolder() {
  std::wstring folder;
  const auto valid = [this](std::int32_t i) { return i >= 0 && i < itemCount_; };
  if (ltFolderListType == fbFolder) {
    const std::int32_t index = activeItem_ == -1 ? 0 : activeItem_;
    if (valid(index)) folder = listItems_[static_cast<std::size_t>(index)].FullPath;
  } else {
    folder = currentFolder_;
    if (valid(activeItem_)) {
      const TypeListItem& active = listItems_[static_cast<std::size_t>(activeItem_)];
      if (active.ItemType == sFolder || active.ItemType == sShare) folder = active.RealPath();
    }
  }
  folder = ValidateListingPath(folder);
  return folder.empty() ? folder : AddTrailingBackslash(folder);
}

void ZenloFileControl::ItemNameForRename(std::wstring& ThePath, std::wstring& OldName,
                                         bool UseActive, sTypes& TheType) {
  ThePath.clear();
  OldName.clear();
  try {
    const bool tree = ltFolderListType == fbFolder;
    std::int32_t index = RightClickMemory::kNone;
    if (UseActive) {
      if (activeItem_ >= 0 && activeItem_ <= lastShownItem_ && activeItem_ < itemCount_) {
        const sTypes type = listItems_[static_cast<std::size_t>(activeItem_)].ItemType;
        if (type == sFolder || (!tree && type == sFile)) index = activeItem_;
      }
    } else if (rightClick_) {
      index = rightClick_->Find(listItems_, lastShownItem_, itemCount_);
    }
    if (index < 0) return;
    const TypeListItem& item = listItems_[static_cast<std::size_t>(index)];
    OldName = item.Name;
    TheType = item.ItemType;
    ThePath = item.FullPath;
    if (tree && index == 0) {
      OldName.clear();  // the root of a tree offers no name to change
      return;
    }
    if (OldName.size() <= ThePath.size()) ThePath.resize(ThePath.size() - OldName.size());
    ThePath = ValidateListingPath(ThePath);
  } catch (...) {
    RaiseMessage(L"There was an error while get the current object name.");
  }
}

void ZenloFileControl::ItemNameForRename(std::wstring& ThePath, std::wstring& OldName,
                                         bool UseActive) {
  sTypes type = sDefault;
  ItemNameForRename(ThePath, OldName, UseActive, type);
}

}  // namespace zenlo
