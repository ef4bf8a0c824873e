#pragma once
// The partitioning sort every item sort uses: middle pivot taken once, exchange on i <= j.
// Records are exchanged whole; equal keys keep whatever order the partitioning leaves.
#include <cstdint>
#include <algorithm>
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

// The same partitioning run on a permutation of the range, then applied once: the final order
// is exactly the one exchanging whole records would give, at a fraction of the copying.
// Moves records by a permutation, cycle by cycle: position base+k receives the record from
// base + order[k] - origin (order holds offsets counted from `origin`), so each record moves
// once. Items: any array indexed by position (the item array, a vector).
template <typename Items>
void ApplyOrder(Items& items, std::size_t base, const std::vector<std::int32_t>& order,
                std::int32_t origin) {
  std::vector<bool> placed(order.size(), false);
  for (std::size_t start = 0; start < order.size(); ++start) {
    if (placed[start]) continue;
    placed[start] = true;
    std::size_t from = static_cast<std::size_t>(order[start] - origin);
    if (from == start) continue;
    typename Items::value_type held = std::move(items[base + start]);
    std::size_t at = start;
    while (from != start) {
      items[base + at] = std::move(items[base + from]);
      placed[from] = true;
      at = from;
      from = static_cast<std::size_t>(order[at] - origin);
    }
    items[base + at] = std::move(held);
  }
}

// The same partitioning run on a permutation of the range, then applied once: the final order
// is exactly the one exchanging whole records would give, at a fraction of the copying.
// Moves records by a permutation, cycle by cycle: position left+k receives the record from
// order[k], so each record moves once.
template <typename Items>
void ApplyOrder(Items& items, std::int32_t left, const std::vector<std::int32_t>& order) {
  std::vector<bool> placed(order.size(), false);
  for (std::size_t start = 0; start < order.size(); ++start) {
    if (placed[start]) continue;
    typename Items::value_type held = std::move(items[static_cast<std::size_t>(left) + start]);
    std::size_t at = start;
    for (;;) {
      placed[at] = true;
      const std::size_t from = static_cast<std::size_t>(order[at] - left);
      if (from == start) {
        items[static_cast<std::size_t>(left) + at] = std::move(held);
        break;
      }
      items[static_cast<std::size_t>(left) + at] = std::move(items[static_cast<std::size_t>(left) + from]);
      at = from;
    }
  }
}

// The same partitioning run on a permutation of the range, then applied once: the final order
// is exactly the one exchanging whole records would give, at a fraction of the copying. A
// `companion` array indexed like the items, when given, is reordered with them.
template <typename Items, typename KeyOf, typename Compare, typename C = int>
void PartitionSortRecords(Items& items, std::int32_t left, std::int32_t right,
                          KeyOf keyOf, Compare compare, bool descending,
                          std::vector<C>* companion = nullptr) {
  if (left >= right) return;
  std::vector<std::int32_t> order(static_cast<std::size_t>(right - left + 1));
  for (std::size_t k = 0; k < order.size(); ++k) order[k] = left + static_cast<std::int32_t>(k);
  PartitionSort(
      order, 0, right - left,
      // decltype(auto): a key given by reference stays a reference, not a copy per comparison.
      [&](std::int32_t index) -> decltype(auto) {
        return keyOf(items[static_cast<std::size_t>(index)]);
      },
      compare,
      descending);
  const std::size_t base = static_cast<std::size_t>(left);
  ApplyOrder(items, base, order, left);
  if (companion && companion->size() > static_cast<std::size_t>(right))
    ApplyOrder(*companion, base, order, left);
}

inline int CompareNumbers(std::int64_t a, std::int64_t b) { return a < b ? -1 : (a > b ? 1 : 0); }

}  // namespace zenlo
