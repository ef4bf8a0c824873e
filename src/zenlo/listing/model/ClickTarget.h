#pragma once
// The folders a right click or a double click on an item is about.
#include <cstdint>
#include <string>
#include <vector>

#include "listing/view/PointerState.h"
#include "zenlo/ItemArray.h"
#include "zenlo/ZenloTypes.h"

namespace zenlo {

// `index` -1: the listing's own folder. In a listing the keyword "newfolder" takes the
// listing's folder instead of the item's. An index outside the items throws.
ClickContext TargetFolderForItem(const ItemArray& items, std::int32_t index,
                                 ListType type, const std::wstring& currentFolder,
                                 const std::wstring& keyword);

// "C:\a\b\" -> "C:\a\"; a folder without a "\" before its end is its own parent.
std::wstring ClickParentOf(const std::wstring& folder);

}  // namespace zenlo
