#pragma once
// Per-control caches of item details: type names and icon cells per extension, and the four
// icon surfaces (shared per extension, own per item; each plain and on the list background).
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>
#include <unordered_map>

#include "toolkit/Gdi.h"
#include "toolkit/KeyedCollection.h"

namespace zenlo {

constexpr COLORREF kIconKeyColour = RGB(253, 254, 255);
constexpr int kIconCell = 16;
constexpr int kIconCellsPerRow = 10;

struct ItemTypeEntry;

// Key of the shared folder picture in IconCellCache; no extension can hold a "\".
inline const wchar_t kFolderPictureKey[] = L"\\FOLDER";

struct ItemDetails {
  tk::KeyedCollection<std::wstring> TypeNameCache;
  tk::KeyedCollection<std::int32_t> IconCellCache;
  // Extension keys whose type name and shared cell are settled: a file of such an extension
  // needs no look-up beyond this one. Emptied with IconCellCache.
  struct SettledType {
    const ItemTypeEntry* Entry = nullptr;
    std::int32_t Cell = 0;
    std::uint32_t ListedInRead = 0;  // the listing read that last offered it in the filter
  };
  std::unordered_map<std::wstring, SettledType> SettledTypes;
  std::uint32_t ListingRead = 0;  // counts the outermost listing reads
  std::int32_t OwnIconCount = -1;
  HIMAGELIST ImageList = nullptr;

  std::int16_t IconCacheColumns = 15;
  std::int16_t IconCacheRows = 30;

  tk::MemorySurface Shared;
  tk::MemorySurface SharedTrans;
  tk::MemorySurface Own;
  tk::MemorySurface OwnTrans;
};

// "a_r__": archive, system, read-only, hidden, normal; "_" for each absent bit.
std::wstring FormatAttributeLetters(DWORD attributes);

using tk::ColorWordToRgb;

}  // namespace zenlo
