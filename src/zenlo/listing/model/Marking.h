#pragma once
// The rules by which items are marked, whoever asks (mouse, keys, the host): one item toggled,
// marked or unmarked; a run of items taking the state of the last single change; in a tree no
// folder marked together with its ancestors or descendants, and never the root. And the lists of
// marked paths handed to the host.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "zenlo/ItemArray.h"
#include "zenlo/ZenloTypes.h"

namespace zenlo {

class Marking {
 public:
  // Told of each mark that changed, to draw (true) or erase (false) it.
  using Changed = std::function<void(std::int32_t index, bool marked)>;

  static bool IsMarked(const TypeListItem& item) { return item.Selected == 1; }

  // force 0 toggles, 1 marks, -1 unmarks; any other value leaves the item.
  void SetItem(ItemArray& items, std::int32_t index, std::int32_t force,
               const Changed& changed);
  // Tree: unmarks the item's subtree and each of its ancestors.
  static void UnmarkTreeRelatives(ItemArray& items, std::int32_t index,
                                  std::int32_t lastShown, const Changed& changed);
  // Every item from `from` to `to` (either way, both included) takes the last single change's
  // state.
  void SetRange(ItemArray& items, std::int32_t from, std::int32_t to,
                const Changed& changed) const;
  // Tree: one pass from the bottom that leaves no folder marked with its parent.
  static void DeselectOtherLevels(ItemArray& items, std::int32_t lastShown,
                                  bool selectAndDrag, const Changed& changed);
  // "all" marks, an empty text toggles the last choice, anything else unmarks. Returns whether
  // items are now marked. The tree root and the folders of a files-only list are never marked.
  bool SelectAll(ItemArray& items, std::int32_t lastShown,
                 const std::wstring& doAll, ListType type, const Changed& changed);

  // The marked paths, each followed by NUL, and one more NUL; returns the summary text.
  static std::wstring FileSpecs(const ItemArray& items, std::int32_t lastShown,
                                ListType type, std::wstring& specs);
  // The next marked path from `position` on ("end" when none is left); moves `position` past it.
  static std::wstring NextFileSpec(const ItemArray& items, std::int32_t lastShown,
                                   ListType type, std::int32_t& position);

  std::int32_t RangeClears = 0;  // 1: the last single change unmarked
  bool SelectAllState = false;
};

// A listing path as the host's commands take it: a network path loses its display prefix.
std::wstring SpecPath(const std::wstring& fullPath);

}  // namespace zenlo
