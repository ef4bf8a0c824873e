#pragma once
// The per-place table: for each drive, the network, My Documents and the bookmarks, its root
// folder, list position and active folder. Keys compare without regard to case; an empty key
// never matches a free slot.
#include <array>
#include <cstdint>
#include <string>

#include "zenlo/ZenloTypes.h"

namespace zenlo {

class PlaceMemory {
 public:
  static constexpr std::int32_t kSlots = 201;

  // Index of the slot holding key, or -1.
  std::int32_t Find(const std::wstring& key) const;
  // The slot for key: the existing one, else the first free one (taking it); -1 when full or
  // the key is empty.
  std::int32_t FindOrTake(const std::wstring& key);
  void Free(std::int32_t slot) { slots_[slot] = TypeDriveState{}; }
  void Clear() { slots_.fill(TypeDriveState{}); }
  // One past the last used slot, so a host walking 0..count-1 sees every used slot.
  std::int32_t UsedExtent() const;

  TypeDriveState& Slot(std::int32_t i) { return slots_[static_cast<std::size_t>(i)]; }
  const TypeDriveState& Slot(std::int32_t i) const { return slots_[static_cast<std::size_t>(i)]; }

 private:
  std::array<TypeDriveState, kSlots> slots_{};
};

// The key of a selector entry name: "My Network Places" -> "*", "My Documents" -> "?",
// "Bookmark 1".."Bookmark 10" -> "0".."9", "c:  Local Disk" -> "C".
std::wstring PlaceKeyOf(const std::wstring& keyword);

}  // namespace zenlo
