#include "listing/model/Marking.h"

#include <algorithm>

#include "toolkit/Text.h"

namespace zenlo {

namespace {

void Mark(ItemArray& items, std::int32_t i, bool marked,
          const Marking::Changed& changed) {
  TypeListItem& item = items[static_cast<std::size_t>(i)];
  const bool was = Marking::IsMarked(item);
  item.Selected = marked ? 1 : -1;
  if (was != marked && changed) changed(i, marked);
}

bool Markable(const TypeListItem& item) {
  return item.ItemType == sFile || item.ItemType == sFolder;
}

std::int32_t LastIndex(const ItemArray& items, std::int32_t lastShown) {
  return std::min(lastShown, static_cast<std::int32_t>(items.size()) - 1);
}

std::wstring CountText(std::int32_t n, const wchar_t* word) {
  return std::to_wstring(n) + L" " + word + (n > 1 ? L"s" : L"");
}

}  // namespace

std::wstring SpecPath(const std::wstring& fullPath) {
  const auto unc = fullPath.find(L"\\\\");
  return unc == std::wstring::npos || unc == 0 ? fullPath : fullPath.substr(unc);
}

void Marking::SetItem(ItemArray& items, std::int32_t index, std::int32_t force,
                      const Changed& changed) {
  if (index < 0 || static_cast<std::size_t>(index) >= items.size()) return;
  bool marked;
  if (force == 0)
    marked = !IsMarked(items[static_cast<std::size_t>(index)]);
  else if (force == 1 || force == -1)
    marked = force == 1;
  else
    return;
  Mark(items, index, marked, changed);
  RangeClears = marked ? 0 : 1;
}

void Marking::UnmarkTreeRelatives(ItemArray& items, std::int32_t index,
                                  std::int32_t lastShown, const Changed& changed) {
  const std::int32_t last = LastIndex(items, lastShown);
  if (index < 0 || index > last) return;
  const std::int32_t indent = items[static_cast<std::size_t>(index)].IndentX;
  for (std::int32_t i = index + 1; i <= last && items[static_cast<std::size_t>(i)].IndentX > indent; ++i)
    Mark(items, i, false, changed);
  std::int32_t ancestorIndent = indent;
  for (std::int32_t i = index - 1; i >= 0; --i) {
    const std::int32_t d = items[static_cast<std::size_t>(i)].IndentX;
    if (d < ancestorIndent) {
      Mark(items, i, false, changed);
      ancestorIndent = d;
    }
  }
}

void Marking::SetRange(ItemArray& items, std::int32_t from, std::int32_t to,
                       const Changed& changed) const {
  const std::int32_t last = static_cast<std::int32_t>(items.size()) - 1;
  const std::int32_t lo = std::max(0, std::min(from, to)), hi = std::min(last, std::max(from, to));
  const bool marked = RangeClears != 1;
  for (std::int32_t i = lo; i <= hi; ++i) Mark(items, i, marked, changed);
}

void Marking::DeselectOtherLevels(ItemArray& items, std::int32_t lastShown,
                                  bool selectAndDrag, const Changed& changed) {
  const std::int32_t last = LastIndex(items, lastShown);
  if (last < 0) return;
  std::int32_t prevIndent = items[static_cast<std::size_t>(last)].IndentX;
  // 1: the group just passed is all marked, -1 none of it, 0 mixed.
  int group = IsMarked(items[static_cast<std::size_t>(last)]) ? 1 : -1;
  for (std::int32_t i = last; i >= 0; --i) {
    TypeListItem& item = items[static_cast<std::size_t>(i)];
    if (!Markable(item)) {
      Mark(items, i, false, changed);
      continue;
    }
    const std::int32_t d = item.IndentX;
    const bool marked = IsMarked(item);
    if (d == prevIndent) {
      if (marked && group == -1) group = 0;
      if (!marked && group == 1) group = 0;
    } else if (d > prevIndent) {
      group = marked ? 1 : -1;
    } else if (group == 1 && selectAndDrag && marked) {
      // Dragged over a parent and its children: the parent stays and stands for them.
      for (std::int32_t j = i + 1; j <= last && items[static_cast<std::size_t>(j)].IndentX > d; ++j)
        Mark(items, j, false, changed);
    } else if (group != -1) {
      Mark(items, i, false, changed);
    }
    prevIndent = d;
  }
}

bool Marking::SelectAll(ItemArray& items, std::int32_t lastShown,
                        const std::wstring& doAll, ListType type, const Changed& changed) {
  if (doAll.empty())
    SelectAllState = !SelectAllState;
  else
    SelectAllState = tk::SameText(doAll, L"all");
  const std::int32_t last = LastIndex(items, lastShown);
  for (std::int32_t i = 0; i <= last; ++i) {
    const TypeListItem& item = items[static_cast<std::size_t>(i)];
    // "None" unmarks every item, so nothing the user took back stays marked behind the scenes.
    bool marked = SelectAllState;
    if (type == fbFolder && i == 0) marked = false;
    if (type == fbFile && item.ItemType == sFolder) marked = false;
    Mark(items, i, marked, changed);
  }
  return SelectAllState;
}

std::wstring Marking::FileSpecs(const ItemArray& items, std::int32_t lastShown,
                                ListType type, std::wstring& specs) {
  const std::int32_t last = LastIndex(items, lastShown);
  const bool filesOnly = type == fbFile;
  auto listed = [&](const TypeListItem& item) {
    return IsMarked(item) && !(filesOnly && item.ItemType == sFolder);
  };
  // Measured first, so the list is allocated once however many items are marked.
  std::size_t length = 1;
  std::int32_t folders = 0, files = 0, only = -1;
  for (std::int32_t i = 0; i <= last; ++i) {
    const TypeListItem& item = items[static_cast<std::size_t>(i)];
    if (!listed(item)) continue;
    const auto unc = item.FullPath.find(L"\\\\");
    length += item.FullPath.size() - (unc == std::wstring::npos ? 0 : unc) + 1;
    (item.ItemType == sFolder ? folders : files) += 1;
    only = i;
  }
  specs.clear();
  specs.reserve(length);
  for (std::int32_t i = 0; i <= last; ++i) {
    const TypeListItem& item = items[static_cast<std::size_t>(i)];
    if (!listed(item)) continue;
    const auto unc = item.FullPath.find(L"\\\\");
    specs.append(item.FullPath, unc == std::wstring::npos ? 0 : unc);
    specs.push_back(L'\0');
  }
  specs.push_back(L'\0');

  if (folders + files == 0) return {};
  if (folders + files == 1) {
    const TypeListItem& item = items[static_cast<std::size_t>(only)];
    if (item.ItemType == sFolder) return SpecPath(item.FullPath);
    const auto slash = item.FullPath.find_last_of(L'\\');
    return slash == std::wstring::npos ? item.FullPath : item.FullPath.substr(slash + 1);
  }
  std::wstring summary;
  if (folders > 0) summary = CountText(folders, L"folder") + L" ";
  if (files > 0) summary += CountText(files, L"file");
  return summary;
}

std::wstring Marking::NextFileSpec(const ItemArray& items, std::int32_t lastShown,
                                   ListType type, std::int32_t& position) {
  const std::int32_t last = LastIndex(items, lastShown);
  for (std::int32_t i = std::max(0, position); i <= last; ++i) {
    const TypeListItem& item = items[static_cast<std::size_t>(i)];
    if (!IsMarked(item)) continue;
    position = i + 1;
    if (item.ItemType != sFolder) return SpecPath(item.FullPath);
    if (type == fbFile) return {};
    std::wstring path = SpecPath(item.FullPath);
    if (!path.empty() && path.back() == L'\\') path.pop_back();
    return path;
  }
  position = last + 1;
  return L"end";
}

}  // namespace zenlo
