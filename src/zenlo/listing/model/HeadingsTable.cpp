#include "listing/model/HeadingsTable.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>

namespace zenlo {

namespace {
const wchar_t* const kMenuNames[8] = {
    L"mnuHeadingExtension",        L"mnuHeadingSize",       L"mnuHeadingDateLastModified",
    L"mnuHeadingDateCreated",      L"mnuHeadingDateLastAccessed", L"mnuHeadingFileType",
    L"mnuHeadingAttributes",       L"mnuHeadingComments"};

int MenuSlot(const std::wstring& name) {
  for (int i = 0; i < 8; ++i)
    if (tk::SameText(name, kMenuNames[i])) return i;
  return -1;
}
}  // namespace

bool HeadingsTable::MenuChecked(const std::wstring& menuName) const {
  int m = MenuSlot(menuName);
  return m >= 0 && menuChecks_[static_cast<std::size_t>(m)];
}

void HeadingsTable::SetMenuChecked(const std::wstring& menuName, bool on) {
  int m = MenuSlot(menuName);
  if (m >= 0) menuChecks_[static_cast<std::size_t>(m)] = on;
}

bool HeadingsTable::ToggleMenu(const std::wstring& menuName) {
  const bool on = !MenuChecked(menuName);
  SetMenuChecked(menuName, on);
  for (auto& h : Headings)
    if (!h.MenuName.empty() && tk::SameText(h.MenuName, menuName)) h.Active = on;
  return on;
}

void HeadingsTable::SetDefaults(bool tree) {
  ActiveHeadingIndex = 1;
  ActiveButtonIndex = 1;
  SetMenuChecked(L"mnuHeadingAttributes", false);
  SetMenuChecked(L"mnuHeadingComments", false);
  SetMenuChecked(L"mnuHeadingDateCreated", false);
  SetMenuChecked(L"mnuHeadingDateLastAccessed", false);
  SetMenuChecked(L"mnuHeadingDateLastModified", true);
  SetMenuChecked(L"mnuHeadingSize", true);
  SetMenuChecked(L"mnuHeadingExtension", !tree);
  SetMenuChecked(L"mnuHeadingFileType", !tree);

  struct Row {
    const wchar_t* key;
    std::int32_t width;
    std::int16_t index;
    bool active;
    const wchar_t* menu;
    const wchar_t* caption;
    const wchar_t* tip;
  };
  const Row rows[kSlots] = {
      {L"sColor", 195, 0, !tree, L"", L"", L"File color (double click to sort by color)."},
      {L"sName", 4005, 1, true, L"", L"Name", L"Object name."},
      {L"sDateLastModified", 1500, 4, true, L"mnuHeadingDateLastModified", L"Modified",
       L"Date last modified."},
      {L"sSize", 1995, 3, true, L"mnuHeadingSize", L"Size", L"Size of object in bytes."},
      {L"sExt", 495, 2, !tree, L"mnuHeadingExtension", L"Ext", L"File extension."},
      {L"sDateCreated", 1500, 5, false, L"mnuHeadingDateCreated", L"Created", L"Date created."},
      {L"sDateLastAccessed", 1500, 6, false, L"mnuHeadingDateLastAccessed", L"Accessed",
       L"Date last accessed."},
      {L"sAttributes", 900, 7, false, L"mnuHeadingAttributes", L"Attributes",
       L"Object attributes."},
      {L"sComments", 3000, 8, false, L"mnuHeadingComments", L"Comments", L"Comments."},
      {L"sFileType", 2505, 9, !tree, L"mnuHeadingFileType", L"File Type", L"File type."},
      {L"sFiller", 1995, 10, true, L"", L"", L""},
  };
  for (int i = 0; i < kSlots; ++i) {
    TypeHeading h;
    h.Key = rows[i].key;
    h.Width = rows[i].width;
    h.Index = rows[i].index;
    h.Active = rows[i].active;
    h.MenuName = rows[i].menu;
    h.Caption = rows[i].caption;
    h.ToolTip = rows[i].tip;
    if (i >= 2 && i <= 9) h.Active = MenuChecked(h.MenuName);
    Headings[i] = h;
  }
}

Variant HeadingsTable::Property(int slot, const std::wstring& name) const {
  const TypeHeading& h = Headings[static_cast<std::size_t>(slot)];
  if (tk::SameText(name, L"KEY")) return h.Key;
  if (tk::SameText(name, L"MENUNAME")) return h.MenuName;
  if (tk::SameText(name, L"CAPTION")) return h.Caption;
  if (tk::SameText(name, L"TOOLTIP")) return h.ToolTip;
  if (tk::SameText(name, L"WIDTH")) return h.Width;
  if (tk::SameText(name, L"INDEX")) return h.Index;
  if (tk::SameText(name, L"ACTIVE")) return h.Active;
  return std::monostate{};
}

bool HeadingsTable::SetProperty(int slot, const std::wstring& name, const Variant& value) {
  TypeHeading& h = Headings[static_cast<std::size_t>(slot)];
  if (tk::SameText(name, L"KEY"))
    h.Key = VariantText(value);
  else if (tk::SameText(name, L"MENUNAME"))
    h.MenuName = VariantText(value);
  else if (tk::SameText(name, L"CAPTION"))
    h.Caption = VariantText(value);
  else if (tk::SameText(name, L"TOOLTIP"))
    h.ToolTip = VariantText(value);
  else if (tk::SameText(name, L"WIDTH"))
    h.Width = VariantLong(value);
  else if (tk::SameText(name, L"INDEX"))
    h.Index = static_cast<std::int16_t>(VariantLong(value));
  else if (tk::SameText(name, L"ACTIVE"))
    h.Active = VariantBool(value);
  else
    return false;
  return true;
}

void HeadingsTable::CalculatePositions(std::int32_t startX) {
  std::int32_t x = startX;
  for (int i = 0; i < kSlots; ++i) {
    TypeHeading& h = Headings[static_cast<std::size_t>(i)];
    if (!h.Active) continue;
    h.Left = x;
    // Columns wider than the strip leave the filler nothing, never a negative width.
    if (i == kFiller) h.Width = std::max<std::int32_t>(0, kFillerReach - h.Left);
    x += h.Width;
    h.Right = x;
  }
}

void HeadingsTable::FindAdjacent(int slot, std::int16_t& left, std::int16_t& right) const {
  left = right = -1;
  for (int i = 0; i < kSlots; ++i) {
    if (!Headings[static_cast<std::size_t>(i)].Active) continue;
    if (i < slot) left = static_cast<std::int16_t>(i);
    if (i > slot) {
      right = static_cast<std::int16_t>(i);
      break;
    }
  }
}

HeadingsTable::ShiftOutcome HeadingsTable::Shift(const std::wstring& direction) {
  if (ActiveButtonIndex == 0) return ShiftOutcome::ColorFixed;
  if (ActiveButtonIndex == 1) return ShiftOutcome::NameFixed;
  FindAdjacent(ActiveHeadingIndex, LeftHeading, RightHeading);
  int target = -1;
  if (tk::SameText(direction, L"headleft")) {
    if (LeftHeading > 1 && ActiveHeadingIndex != 0) target = LeftHeading;
  } else if (RightHeading != -1 && RightHeading != kFiller) {
    target = RightHeading;
  }
  if (target < 0) return ShiftOutcome::Unmoved;
  std::swap(Headings[static_cast<std::size_t>(target)],
            Headings[static_cast<std::size_t>(ActiveHeadingIndex)]);
  ActiveHeadingIndex = static_cast<std::int16_t>(target);
  return ShiftOutcome::Moved;
}

int HeadingsTable::SlotOfKey(const std::wstring& key) const {
  for (int i = 0; i < kSlots; ++i)
    if (tk::SameText(Headings[static_cast<std::size_t>(i)].Key, key)) return i;
  return -1;
}

std::int16_t SortOrderList::NumberOfSorts() const {
  std::int16_t n = 0;
  while (n < kSlots && !Slots[static_cast<std::size_t>(n)].SortKey.empty()) ++n;
  return n;
}

std::wstring VariantText(const Variant& v) {
  if (auto s = std::get_if<std::wstring>(&v)) return *s;
  if (auto b = std::get_if<bool>(&v)) return *b ? L"True" : L"False";
  if (auto i = std::get_if<std::int16_t>(&v)) return std::to_wstring(*i);
  if (auto l = std::get_if<std::int32_t>(&v)) return std::to_wstring(*l);
  return {};
}

std::int32_t VariantLong(const Variant& v) {
  if (auto i = std::get_if<std::int16_t>(&v)) return *i;
  if (auto l = std::get_if<std::int32_t>(&v)) return *l;
  if (auto b = std::get_if<bool>(&v)) return *b ? -1 : 0;
  if (auto s = std::get_if<std::wstring>(&v)) {
    std::wstring t = tk::Trim(*s);
    if (tk::SameText(t, L"True")) return -1;
    if (tk::SameText(t, L"False")) return 0;
    wchar_t* end = nullptr;
    double d = std::wcstod(t.c_str(), &end);
    if (end != t.c_str() && d > -2147483649.0 && d < 2147483648.0)
      return static_cast<std::int32_t>(d < 0 ? d - 0.5 : d + 0.5);
  }
  return 0;
}

bool VariantBool(const Variant& v) {
  if (auto b = std::get_if<bool>(&v)) return *b;
  if (auto s = std::get_if<std::wstring>(&v)) {
    std::wstring t = tk::Trim(*s);
    if (tk::SameText(t, L"True")) return true;
    if (tk::SameText(t, L"False") || t.empty()) return false;
  }
  return VariantLong(v) != 0;
}

}  // namespace zenlo
