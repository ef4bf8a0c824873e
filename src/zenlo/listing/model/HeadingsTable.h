#pragma once
// The table of column headings: which columns are shown, in which order, how wide, which
// heading button shows each and which menu item switches it; and the sort-level list.
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "zenlo/ZenloTypes.h"

namespace zenlo {

struct TypeHeading {
  std::wstring Key;
  std::int32_t Left = 0;
  std::int32_t Right = 0;
  std::int32_t Width = 0;
  std::int32_t DrawnWidth = 0;
  std::int32_t MaxTextWidth = 0;
  std::int16_t Index = 0;
  bool Active = false;
  std::wstring MenuName;
  std::wstring Caption;
  std::wstring ToolTip;
};

class HeadingsTable {
 public:
  static constexpr int kSlots = 11;
  static constexpr int kFiller = 10;
  static constexpr std::int32_t kFillerReach = 20000;  // twips the filler column reaches to

  std::array<TypeHeading, kSlots> Headings{};
  std::int16_t ActiveHeadingIndex = 1;
  std::int16_t ActiveButtonIndex = 1;
  std::int16_t LeftHeading = -1;
  std::int16_t RightHeading = -1;
  std::int16_t ResizeHeadingSlot = 0;
  std::int16_t MoveLeftHeading = -1;
  std::int16_t MoveRightHeading = -1;
  std::int32_t NameColumnMaxWidth = 0;

  void SetDefaults(bool tree);
  // The headings menu's check marks, by menu item name.
  bool MenuChecked(const std::wstring& menuName) const;
  void SetMenuChecked(const std::wstring& menuName, bool on);
  // Toggles the menu item and every slot it switches; returns the new state.
  bool ToggleMenu(const std::wstring& menuName);

  // By-name fields: KEY, MENUNAME, CAPTION, TOOLTIP, WIDTH, INDEX, ACTIVE (any case).
  Variant Property(int slot, const std::wstring& name) const;
  bool SetProperty(int slot, const std::wstring& name, const Variant& value);

  // Left and Right of every shown column from startX on; the filler reaches kFillerReach.
  void CalculatePositions(std::int32_t startX);

  // Nearest shown slots left and right of a slot; -1 when there is none.
  void FindAdjacent(int slot, std::int16_t& left, std::int16_t& right) const;

  enum class ShiftOutcome { Moved, Unmoved, ColorFixed, NameFixed };
  ShiftOutcome Shift(const std::wstring& direction);

  // Widest text per column over the items, from measure(text) in twips.
  template <typename Items, typename Measure, typename MeasureName>
  void MaxTextWidths(const Items& items, std::int32_t count, Measure measure,
                     MeasureName measureName);

  int SlotOfKey(const std::wstring& key) const;  // -1 when no slot holds it

 private:
  std::array<bool, 8> menuChecks_{};
};

// The sort levels: slot n-1 holds level n; an empty key is a free slot.
struct TypeSortEntry {
  std::wstring SortKey;
  std::wstring SortOrder;
};

struct SortOrderList {
  static constexpr int kSlots = 101;
  std::array<TypeSortEntry, kSlots> Slots{};
  // Leading used slots, up to the first free one.
  std::int16_t NumberOfSorts() const;
  void Reset() { Slots.fill(TypeSortEntry{}); }
};

// Conversions of a by-name value to a field's type.
std::wstring VariantText(const Variant& v);
std::int32_t VariantLong(const Variant& v);
bool VariantBool(const Variant& v);

}  // namespace zenlo

#include "listing/model/HeadingsTable.inl"
