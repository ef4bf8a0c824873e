// The control's sort members: the level list kept from the requests, and the sorts that apply
// it. The work itself is MultiHeadingSort's.
#include <algorithm>

#include "listing/CallGuard.h"
#include "listing/model/ItemSort.h"
#include "listing/model/MultiHeadingSort.h"
#include "listing/model/TreeOrder.h"
#include "listing/view/ViewState.h"
#include "toolkit/Error.h"
#include "toolkit/Text.h"
#include "zenlo/ZenloFileControl.h"

namespace zenlo {

namespace {
const wchar_t kNotHandled[] = L"Sorting by this heading is not yet handled.";
const wchar_t kSortFailed[] = L"An error occurred while sorting the lists.";
const wchar_t kFilterListFailed[] =
    L"An error occurred while preparing the file extension filter. The system returned the "
    L"following information:";

bool Ascending(const std::wstring& order) {
  return tk::SameText(order, L"asc") || tk::SameText(order, L"ascadd");
}

tk::ErrorInfo SubscriptError() { return {tk::kErrSubscript, L"Subscript out of range"}; }
}  // namespace

std::wstring ZenloFileControl::ActiveHeadingKey() const {
  const HeadingsTable& h = view_->Headings;
  const int slot = h.ActiveHeadingIndex;
  return slot >= 0 && slot < HeadingsTable::kSlots ? h.Headings[static_cast<std::size_t>(slot)].Key
                                                   : std::wstring();
}

std::wstring ZenloFileControl::LevelKeyText() const {
  return sorter_->CurrentSortKey.empty() ? ActiveHeadingKey() : sorter_->CurrentSortKey;
}

void ZenloFileControl::SortList(bool IsRefresh) {
  CallGuard guard(*this);
  if (closing_) return;
  SortOrderList& list = view_->Sorts;
  const bool tree = ltFolderListType == fbFolder;
  if (tree || !IsRefresh) {
    const std::wstring key = ActiveHeadingKey();
    if (SortHeadingOfKey(key) == SortHeading::Unknown) {
      // Refused before it enters the list: a listing re-sorted later never meets it. A
      // refused request leaves the order as it is.
      if (!IsRefresh) {
        RaiseMessage(kNotHandled);
        return;
      }
    } else if (tree || tk::SameText(sortDirection_, L"asc") ||
               tk::SameText(sortDirection_, L"des")) {
      list.Reset();
      list.Slots[0] = {key, tree ? sortDirection_.substr(0, 3) : sortDirection_};
    } else {
      for (TypeSortEntry& slot : list.Slots) {
        if (slot.SortKey.empty()) {
          slot = {key, sortDirection_.substr(0, 3)};  // a new last level
          break;
        }
        if (tk::SameText(slot.SortKey, key)) {
          slot.SortOrder = sortDirection_.substr(0, 3);  // the level keeps its place
          break;
        }
      }
    }
  }
  if (closing_) return;
  ApplySortOrder();
}

void ZenloFileControl::SetHeadingSortMark(const std::wstring& key, const std::wstring& order,
                                          const std::wstring& number) {
  ViewState& v = *view_;
  for (const TypeHeading& h : v.Headings.Headings) {
    if (!tk::SameText(h.Key, key)) continue;
    if (h.Index >= 0 && static_cast<std::size_t>(h.Index) < v.SortMarks.size())
      v.SortMarks[static_cast<std::size_t>(h.Index)] = {order, number};
    ShowSortMarks();
    return;
  }
}

void ZenloFileControl::ApplySortOrder() {
  ViewState& v = *view_;
  for (SortMark& mark : v.SortMarks) mark = {};
  ShowSortMarks();
  try {
    if (ltFolderListType == fbFolder) {
      ApplyTreeSortOrder();
    } else {
      ApplyListingSortOrder();
    }
  } catch (...) {
    RaiseMessage(tk::MessageWithError(kSortFailed, tk::CurrentError(), L"Error Message: "));
  }
  sorter_->CurrentSortKey.clear();
}

void ZenloFileControl::ApplyTreeSortOrder() {
  const TypeSortEntry slot = view_->Sorts.Slots[0];
  const std::int32_t last = std::min(foldersShown_, itemCount_ - 1);
  const SortHeading heading =
      slot.SortKey.empty() ? SortHeading::Name : SortHeadingOfKey(slot.SortKey);
  if (heading == SortHeading::Unknown) RaiseMessage(kNotHandled);
  if (heading == SortHeading::Name || heading == SortHeading::Unknown) {
    sortDirection_ = heading == SortHeading::Name && !slot.SortOrder.empty() ? slot.SortOrder
                                                                              : L"asc";
    if (last >= 1) QuickSortName(1, last);
  } else {
    sortDirection_ = L"asc";
    if (last >= 1) QuickSortName(1, last);  // path order first: parents ahead of children
    sorter_->CurrentSortKey = slot.SortKey;
    if (last >= 1) sorter_->CreateTreeSortKeys(listItems_, 1, last, heading);
    sortDirection_ = slot.SortOrder;
    if (last >= 1) QuickSortSpecial(1, last);
  }
  if (!slot.SortKey.empty() && heading != SortHeading::Unknown)
    SetHeadingSortMark(slot.SortKey, slot.SortOrder, L"");
}

bool ZenloFileControl::SortLevelsOfList(std::vector<SortLevel>& levels, std::size_t count) {
  levels.clear();
  const SortOrderList& list = view_->Sorts;
  for (std::size_t i = 0; i < count && i < static_cast<std::size_t>(SortOrderList::kSlots); ++i) {
    const TypeSortEntry& slot = list.Slots[i];
    if (slot.SortKey.empty()) break;
    const SortHeading heading = SortHeadingOfKey(slot.SortKey);
    if (heading == SortHeading::Unknown) {
      // A damaged settings file: the levels up to here still apply; told once per sort.
      RaiseMessage(kNotHandled);
      return false;
    }
    levels.push_back({heading, !Ascending(slot.SortOrder)});
  }
  return true;
}

void ZenloFileControl::ApplyListingSortOrder() {
  std::vector<SortLevel> levels;
  SortLevelsOfList(levels, SortOrderList::kSlots);
  const bool unsorted = levels.empty();
  // With no level chosen yet, names ascending: the order a listing is read in is no order.
  if (unsorted) levels.push_back({SortHeading::Name, false});
  const std::int32_t lastShown = std::min(lastShownItem_, itemCount_ - 1);
  const std::int32_t folderEnd = std::min(foldersShown_ - 1, lastShown);
  sorter_->SortRange(listItems_, 0, folderEnd, levels.data(), levels.size(), 0, &activeItem_);
  sorter_->SortRange(listItems_, std::max<std::int32_t>(foldersShown_, 0), lastShown,
                     levels.data(), levels.size(), 0, &activeItem_);
  if (unsorted) return;
  const SortOrderList& list = view_->Sorts;
  for (std::size_t i = 0; i < levels.size(); ++i) {
    const TypeSortEntry& slot = list.Slots[i];
    SetHeadingSortMark(slot.SortKey, slot.SortOrder, i == 0 ? L"" : std::to_wstring(i + 1));
    sortDirection_ = slot.SortOrder;  // the order of the last level sorted
  }
}

void ZenloFileControl::MultiSort(std::int32_t& i, std::int32_t& OverallStart,
                                 std::int32_t& OverallEnd) {
  CallGuard guard(*this);
  if (closing_) return;
  try {
    if (i < 1 || i > SortOrderList::kSlots || OverallStart < 0 || OverallEnd >= itemCount_)
      throw tk::RuntimeError(SubscriptError());
    std::vector<SortLevel> levels;
    if (!SortLevelsOfList(levels, static_cast<std::size_t>(i))) return;
    if (levels.size() != static_cast<std::size_t>(i)) return;  // level i is not in the list
    // A run never spans the folders and the files.
    const std::int32_t split = std::clamp(foldersShown_, OverallStart, OverallEnd + 1);
    sorter_->SortRange(listItems_, OverallStart, split - 1, levels.data(), levels.size(),
                       levels.size() - 1, &activeItem_);
    sorter_->SortRange(listItems_, split, OverallEnd, levels.data(), levels.size(),
                       levels.size() - 1, &activeItem_);
    const TypeSortEntry& slot = view_->Sorts.Slots[static_cast<std::size_t>(i - 1)];
    sortDirection_ = slot.SortOrder;
    SetHeadingSortMark(slot.SortKey, slot.SortOrder, i == 1 ? L"" : std::to_wstring(i));
  } catch (...) {
    RaiseMessage(tk::MessageWithError(kSortFailed, tk::CurrentError(), L"Error Message: "));
  }
}

void ZenloFileControl::QuickSort(std::optional<std::int32_t> lngLeft,
                                 std::optional<std::int32_t> lngRight) {
  CallGuard guard(*this);
  if (closing_) return;
  try {
    const std::int32_t left = lngLeft.value_or(0);
    const std::int32_t right = lngRight.value_or(lastShownItem_);
    if (left >= right) return;
    if (left < 0 || right >= itemCount_) throw tk::RuntimeError(SubscriptError());
    const SortHeading heading = SortHeadingOfKey(LevelKeyText());
    if (heading == SortHeading::Unknown) {
      RaiseMessage(kNotHandled);
      return;
    }
    const SortLevel level{heading, !Ascending(sortDirection_)};
    sorter_->SortRange(listItems_, left, right, &level, 1, 0, &activeItem_);
  } catch (...) {
    RaiseMessage(tk::MessageWithError(kSortFailed, tk::CurrentError(), L"Error Message: "));
  }
}

void ZenloFileControl::QuickSortSpecial(std::optional<std::int32_t> lngLeft,
                                        std::optional<std::int32_t> lngRight) {
  const std::int32_t left = lngLeft.value_or(0);
  const std::int32_t right = lngRight.value_or(itemCount_ - 1);
  if (left >= right) return;
  if (left < 0 || right >= itemCount_) {
    RaiseMessage(L"An error occurred while sorting the lists");
    return;
  }
  // Segment by segment: a folder's key is a prefix of its sub-folders' keys, so it stays
  // ahead of them in either direction.
  const bool descending = !tk::SameText(sortDirection_, L"asc");
  PartitionSortRecords(
      listItems_, left, right,
      [](const TypeListItem& it) -> const std::wstring& { return it.TreeSortKey(); },
      [descending](const std::wstring& a, const std::wstring& b) {
        return CompareTreePaths(a, b, descending);
      },
      false);
}

void ZenloFileControl::QuickSortExt(std::optional<std::int32_t> lngLeft,
                                    std::optional<std::int32_t> lngRight) {
  const std::int32_t left = lngLeft.value_or(0);
  const std::int32_t right = lngRight.value_or(itemCount_ - 1);
  if (left >= right) return;
  try {
    if (left < 0 || right >= itemCount_) throw tk::RuntimeError(SubscriptError());
    const SortLevel level{SortHeading::ExtensionKey, false};
    sorter_->SortRange(listItems_, left, right, &level, 1, 0, &activeItem_);
  } catch (...) {
    RaiseMessage(kSortFailed);
  }
}

void ZenloFileControl::QuickSortArray(std::optional<std::int32_t> lngLeft,
                                      std::optional<std::int32_t> lngRight) {
  const std::int32_t left = lngLeft.value_or(0);
  const std::int32_t right =
      lngRight.value_or(static_cast<std::int32_t>(extensionFilterList_.size()) - 1);
  if (left >= right) return;
  if (left < 0 || right >= static_cast<std::int32_t>(extensionFilterList_.size())) {
    RaiseMessage(tk::MessageWithError(kFilterListFailed, SubscriptError(), L"Error Message: "));
    return;
  }
  PartitionSort(
      extensionFilterList_, left, right,
      [](const std::wstring& text) -> const std::wstring& { return text; }, tk::CompareText,
      false);
}

void ZenloFileControl::CreateSortString() {
  CallGuard guard(*this);
  if (closing_ || ltFolderListType != fbFolder) return;
  const SortHeading heading = SortHeadingOfKey(LevelKeyText());
  if (heading == SortHeading::Unknown) {
    RaiseMessage(kNotHandled);
    return;
  }
  try {
    sorter_->CreateTreeSortKeys(listItems_, 1, std::min(lastShownItem_, itemCount_ - 1),
                                heading);
  } catch (...) {
    RaiseMessage(tk::MessageWithError(kSortFailed, tk::CurrentError(), L"Error Message: "));
  }
}

}  // namespace zenlo
