#pragma once
// What the host's New Folder, Paste and Rename commands act on.
#include <cstdint>
#include <string>
#include <vector>

#include "zenlo/ItemArray.h"
#include "zenlo/ZenloTypes.h"

namespace zenlo {

// The usable form of a listing path: a local path as it is, a network share (or a folder on
// it) in its UNC form, and nothing for the levels that are no folders.
std::wstring ValidateListingPath(const std::wstring& path);

// The item of the last right click, kept by its path: after a re-read it names the same item
// or none, never whichever item took its index.
class RightClickMemory {
 public:
  static constexpr std::int32_t kNone = -1;  // the click hit no item
  static constexpr std::int32_t kGone = -2;  // the item clicked is no longer listed

  void Remember(const ItemArray& items, std::int32_t itemCount,
                std::int32_t index);
  std::int32_t Find(const ItemArray& items, std::int32_t lastShown,
                    std::int32_t itemCount) const;

 private:
  bool hit_ = false;
  std::wstring path_;
};

}  // namespace zenlo
