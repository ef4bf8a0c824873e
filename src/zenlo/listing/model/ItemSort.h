#pragma once
// The partitioning sort every item sort uses: middle pivot taken once, exchange on i <= j.
// Records are exchanged whole; equal keys keep whatever order the partitioning leaves.
#include <cstdint>
#include <utility>
#include <vector>

namespace zenlo {

// keyOf(item) gives the key; compare(a, b) < 0, 0, > 0. Indexes are 32-bit throughout.
template <typename T, typename KeyOf, typename Compare>
void PartitionSort(std::vector<T>& items, std::int32_t left, std::int32_t right, KeyOf keyOf,
                   Compare compare, bool descending) {
  while (left < right) {
    const auto pivot = keyOf(items[static_cast<std::size_t>(
        (static_cast<std::int64_t>(left) + right) / 2)]);
    std::int32_t i = left;
    std::int32_t j = right;
    auto before = [&](std::int32_t k) {
      int c = compare(keyOf(items[static_cast<std::size_t>(k)]), pivot);
      return descending ? c > 0 : c < 0;
    };
    auto after = [&](std::int32_t k) {
      int c = compare(keyOf(items[static_cast<std::size_t>(k)]), pivot);
      return descending ? c < 0 : c > 0;
    };
    do {
      while (before(i)) ++i;
      while (after(j)) --j;
      if (i <= j) {
        using std::swap;
        swap(items[static_cast<std::size_t>(i)], items[static_cast<std::size_t>(j)]);
        ++i;
        --j;
      }
    } while (i <= j);
    // Recurse into the smaller side and loop on the larger, so depth stays logarithmic.
    if (j - left < right - i) {
      PartitionSort(items, left, j, keyOf, compare, descending);
      left = i;
    } else {
      PartitionSort(items, i, right, keyOf, compare, descending);
      right = j;
    }
  }
}

inline int CompareNumbers(std::int64_t a, std::int64_t b) { return a < b ? -1 : (a > b ? 1 : 0); }

}  // namespace zenlo
