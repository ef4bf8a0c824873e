#pragma once
// Per-control caches of item details: type names and icon cells per extension, and the four
// icon surfaces (shared per extension, own per item; each plain and on the list background).
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>

#include "toolkit/Gdi.h"
#include "toolkit/KeyedCollection.h"

namespace zenlo {

constexpr COLORREF kIconKeyColour = RGB(253, 254, 255);
constexpr int kIconCell = 16;
constexpr int kIconCellsPerRow = 10;

struct ItemDetails {
  tk::KeyedCollection<std::wstring> TypeNameCache;
  tk::KeyedCollection<std::int32_t> IconCellCache;
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

// Red + 256 green + 65536 blue for a colour word; -1 for "default".
std::int32_t ColorWordToRgb(const std::wstring& word);

}  // namespace zenlo
