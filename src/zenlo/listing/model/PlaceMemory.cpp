#include "listing/model/PlaceMemory.h"

#include "toolkit/Text.h"

namespace zenlo {

std::int32_t PlaceMemory::Find(const std::wstring& key) const {
  if (key.empty()) return -1;
  for (std::int32_t i = 0; i < kSlots; ++i)
    if (tk::SameText(slots_[static_cast<std::size_t>(i)].DriveKey, key)) return i;
  return -1;
}

std::int32_t PlaceMemory::FindOrTake(const std::wstring& key) {
  if (key.empty()) return -1;
  std::int32_t found = Find(key);
  if (found >= 0) return found;
  for (std::int32_t i = 0; i < kSlots; ++i) {
    auto& slot = slots_[static_cast<std::size_t>(i)];
    if (slot.DriveKey.empty()) {
      slot.DriveKey = key;
      return i;
    }
  }
  return -1;
}

std::int32_t PlaceMemory::UsedExtent() const {
  for (std::int32_t i = kSlots; i > 0; --i)
    if (!slots_[static_cast<std::size_t>(i - 1)].DriveKey.empty()) return i;
  return 0;
}

std::wstring PlaceKeyOf(const std::wstring& keyword) {
  if (tk::SameText(keyword, L"My Network Places")) return L"*";
  if (tk::SameText(keyword, L"My Documents")) return L"?";
  for (int n = 1; n <= 10; ++n)
    if (tk::SameText(keyword, L"Bookmark " + std::to_wstring(n))) return std::to_wstring(n - 1);
  auto colon = keyword.find(L':');
  return tk::UpperCase(colon == std::wstring::npos ? keyword : keyword.substr(0, colon));
}

}  // namespace zenlo
