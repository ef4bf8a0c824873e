// The sorts that a read needs: by type (folders before files) and the tree's path order.
#include "listing/model/ItemSort.h"
#include "toolkit/Text.h"
#include "zenlo/ZenloFileControl.h"

namespace zenlo {

namespace {
std::int32_t HighestIndex(const std::vector<TypeListItem>& items) {
  return static_cast<std::int32_t>(items.size()) - 1;
}

// The range a sort was asked for, missing ends filled in; false when it lies outside the items.
bool ResolveRange(const std::vector<TypeListItem>& items, std::optional<std::int32_t> lngLeft,
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
      CompareNumbers, true);
}

void ZenloFileControl::QuickSortName(std::optional<std::int32_t> lngLeft,
                                     std::optional<std::int32_t> lngRight) {
  std::int32_t left, right;
  if (!ResolveRange(listItems_, lngLeft, lngRight, lastShownItem_, left, right)) {
    RaiseMessage(L"An error occurred while sorting the lists");
    return;
  }
  const bool ascending = tk::SameText(sortDirection_, L"asc");
  // Descending compares with "\ZZ" appended so a folder stays ahead of its sub-folders.
  const std::wstring suffix = ascending ? L"" : L"\\ZZ";
  PartitionSortRecords(
      listItems_, left, right,
      [&](const TypeListItem& it) { return it.NameKey + suffix; }, tk::CompareText, !ascending);
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
      false);
}

void ZenloFileControl::ApplyInterimSortOrder() {
  // Until the heading sort exists: a tree goes back into path order, so every folder follows
  // its parent; a listing keeps the type and filter order (its sort list starts empty).
  if (ltFolderListType == fbFolder && foldersShown_ > 0) {
    const std::wstring kept = sortDirection_;
    sortDirection_ = L"asc";
    QuickSortName(1, foldersShown_);
    sortDirection_ = kept;
  }
}

}  // namespace zenlo
