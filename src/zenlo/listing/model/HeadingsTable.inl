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
  for (std::int32_t i = 0; i < count; ++i) {
    const auto& item = items[static_cast<std::size_t>(i)];
    for (int s = 1; s < kSlots; ++s) {
      TypeHeading& h = Headings[s];
      std::int32_t w = -1;
      if (tk::SameText(h.Key, L"sSize"))
        w = measure(item.SizeText) + kSizePad;
      else if (tk::SameText(h.Key, L"sExt"))
        w = measure(item.Extension) + kExtPad;
      else if (tk::SameText(h.Key, L"sComments"))
        w = measure(item.Comments);
      else if (tk::SameText(h.Key, L"sFileType"))
        w = measure(item.FileType);
      else if (tk::SameText(h.Key, L"sName"))
        w = measureName(item.Name);
      if (w > h.MaxTextWidth) h.MaxTextWidth = w;
    }
  }
  const int name = SlotOfKey(L"sName");
  NameColumnMaxWidth = name >= 0 ? Headings[name].MaxTextWidth : 0;
}

}  // namespace zenlo
