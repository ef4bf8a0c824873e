#pragma once
// Template members of HeadingsTable.
#include "toolkit/Text.h"

namespace zenlo {

template <typename Items, typename Measure, typename MeasureName>
void HeadingsTable::MaxTextWidths(const Items& items, std::int32_t count, Measure measure,
                                  MeasureName measureName) {
  constexpr std::int32_t kSizePad = 100;
  constexpr std::int32_t kExtPad = 50;
  for (int s = 1; s < kSlots; ++s) {
    const std::wstring& key = Headings[s].Key;
    const bool padded = tk::SameText(key, L"sSize") || tk::SameText(key, L"sComments") ||
                        tk::SameText(key, L"sFileType") || tk::SameText(key, L"sExt");
    Headings[s].MaxTextWidth = padded ? 500 : 0;
  }
  // What each column measures, worked out once rather than per item.
  enum Kind { None, Size, Ext, Comments, FileType, Name };
  Kind kinds[kSlots] = {};
  for (int s = 1; s < kSlots; ++s) {
    const std::wstring& key = Headings[s].Key;
    kinds[s] = tk::SameText(key, L"sSize")       ? Size
               : tk::SameText(key, L"sExt")      ? Ext
               : tk::SameText(key, L"sComments") ? Comments
               : tk::SameText(key, L"sFileType") ? FileType
               : tk::SameText(key, L"sName")     ? Name
                                                 : None;
  }
  for (std::int32_t i = 0; i < count; ++i) {
    const auto& item = items[static_cast<std::size_t>(i)];
    for (int s = 1; s < kSlots; ++s) {
      std::int32_t w = -1;
      switch (kinds[s]) {
        case Size: w = measure(item.SizeText()) + kSizePad; break;
        case Ext: w = measure(item.Extension()) + kExtPad; break;
        case Comments: w = measure(item.Comments()); break;
        case FileType: w = measure(item.FileType()); break;
        case Name: w = measureName(item.Name); break;
        case None: break;
      }
      if (w > Headings[s].MaxTextWidth) Headings[s].MaxTextWidth = w;
    }
  }
  const int name = SlotOfKey(L"sName");
  NameColumnMaxWidth = name >= 0 ? Headings[name].MaxTextWidth : 0;
}

}  // namespace zenlo
