// The sorts that a read and the filter need: by type (folders before files), the tree's path
// order, and shown items ahead of hidden ones.
#include <algorithm>

#include "listing/model/ItemSort.h"
#include "listing/model/NameKeys.h"
#include "listing/model/TreeOrder.h"
#include "toolkit/Text.h"
#include "zenlo/ZenloFileControl.h"

namespace zenlo {

namespace {
std::int32_t HighestIndex(const ItemArray& items) {
  return static_cast<std::int32_t>(items.size()) - 1;
}

// The range a sort was asked for, missing ends filled in; false when it lies outside the items.
bool ResolveRange(const ItemArray& items, std::optional<std::int32_t> lngLeft,
                  std::optional<std::int32_t> lngRight, std::int32_t defaultRight,
                  std::int32_t& left, std::int32_t& right) {
  left = lngLeft.value_or(0);
  right = lngRight.value_or(defaultRight);
  return left >= 0 && right <= HighestIndex(items);
}
}  // namespace

void ZenloFileControl::QuickSortType(std::optional<std::int32_t> lngLeft,
                                     std::optional<std::int32_t> lngRight) {
  std::int32_t left, right;
  if (!ResolveRange(listItems_, lngLeft, lngRight, HighestIndex(listItems_), left, right)) {
    RaiseMessage(L"An error occurred while sorting the lists.");
    return;
  }
  // Always descending: network levels, then folders, then files.
  PartitionSortRecords(
      listItems_, left, right, [](const TypeListItem& it) { return std::int64_t{it.ItemType}; },
      CompareNumbers, true, readKeys_->Rows());
}

void ZenloFileControl::QuickSortName(std::optional<std::int32_t> lngLeft,
                                     std::optional<std::int32_t> lngRight) {
  std::int32_t left, right;
  if (!ResolveRange(listItems_, lngLeft, lngRight, lastShownItem_, left, right)) {
    RaiseMessage(L"An error occurred while sorting the lists");
    return;
  }
  // Tree order in either direction: a folder stays ahead of its sub-folders.
  const bool descending = !tk::SameText(sortDirection_, L"asc");
  PartitionSortRecords(
      listItems_, left, right, [](const TypeListItem& it) -> const std::wstring& { return it.FullPath; },
      [descending](const std::wstring& a, const std::wstring& b) {
        return CompareTreePaths(a, b, descending);
      },
      false);
}

void ZenloFileControl::QuickSortFilter(std::optional<std::int32_t> lngLeft,
                                       std::optional<std::int32_t> lngRight) {
  std::int32_t left, right;
  if (!ResolveRange(listItems_, lngLeft, lngRight, HighestIndex(listItems_), left, right)) {
    RaiseMessage(L"An error occurred while sorting the lists.");
    return;
  }
  PartitionSortRecords(
      listItems_, left, right,
      [](const TypeListItem& it) { return std::int64_t{it.FilterState}; }, CompareNumbers,
      false, readKeys_->Rows());
}

}  // namespace zenlo
