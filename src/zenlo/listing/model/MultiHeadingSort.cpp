#include "listing/model/MultiHeadingSort.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "listing/model/ItemSort.h"
#include "toolkit/Text.h"

namespace zenlo {

namespace {

struct HeadingName {
  const wchar_t* Key;
  SortHeading Heading;
};

constexpr HeadingName kHeadingNames[] = {
    {L"sColor", SortHeading::Color},
    {L"sName", SortHeading::Name},
    {L"sExt", SortHeading::Ext},
    {L"sSize", SortHeading::Size},
    {L"sDateLastModified", SortHeading::DateLastModified},
    {L"sDateCreated", SortHeading::DateCreated},
    {L"sDateLastAccessed", SortHeading::DateLastAccessed},
    {L"sAttributes", SortHeading::Attributes},
    {L"sComments", SortHeading::Comments},
    {L"sFileType", SortHeading::FileType},
};

// File times count 100 ns; the listing shows them to the minute, and items shown with the same
// minute are equal on the heading.
constexpr std::uint64_t kTicksPerMinute = 600000000ULL;

std::uint64_t DateKey(const TypeListItem& item, std::uint64_t time) {
  // An item without a date sorts ahead of every dated one.
  return item.Kind() == TypeListItem::Details::None ? 0 : time / kTicksPerMinute + 1;
}

std::uint64_t NumberKey(const TypeListItem& item, SortHeading heading) {
  switch (heading) {
    case SortHeading::Color:
      // Signed order kept in an unsigned key: no colour (-1) is the lowest.
      return static_cast<std::uint32_t>(item.ItemColor) ^ 0x80000000u;
    case SortHeading::Size:
      // Not summed (a folder's "--") and no size at all come ahead of every sized item, a
      // 0-byte folder included.
      return item.HasSize() ? item.Size() + 1 : 0;
    case SortHeading::DateLastModified: return DateKey(item, item.LastWriteTime());
    case SortHeading::DateCreated: return DateKey(item, item.CreationTime());
    case SortHeading::DateLastAccessed: return DateKey(item, item.LastAccessTime());
    default: return 0;
  }
}

bool IsTextHeading(SortHeading heading) {
  switch (heading) {
    case SortHeading::Name:
    case SortHeading::Ext:
    case SortHeading::Attributes:
    case SortHeading::Comments:
    case SortHeading::FileType:
    case SortHeading::ExtensionKey:
      return true;
    default:
      return false;
  }
}

// Texts many items share (a type name, an attribute set) get their key made once per level.
class SharedKeyCache {
 public:
  bool Find(std::uint64_t id, LevelKeys::Span& span) const {
    for (const auto& [known, at] : entries_)
      if (known == id) {
        span = at;
        return true;
      }
    return false;
  }
  void Add(std::uint64_t id, LevelKeys::Span span) {
    if (entries_.size() < kLimit) entries_.emplace_back(id, span);
  }

 private:
  static constexpr std::size_t kLimit = 64;
  std::vector<std::pair<std::uint64_t, LevelKeys::Span>> entries_;
};

}  // namespace

SortHeading SortHeadingOfKey(const std::wstring& key) {
  for (const HeadingName& h : kHeadingNames)
    if (tk::SameText(key, h.Key)) return h.Heading;
  return SortHeading::Unknown;
}

void AppendTextSortKey(const wchar_t* text, std::size_t length, std::string& out) {
  if (length == 0) return;  // the empty text sorts first
  const int chars = static_cast<int>(length);
  const std::size_t at = out.size();
  // Room for a usual key: a few bytes per character for each weight level.
  std::size_t room = length * 6 + 16;
  out.resize(at + room);
  const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
  int made = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, flags, text, chars,
                           reinterpret_cast<LPWSTR>(out.data() + at), static_cast<int>(room),
                           nullptr, nullptr, 0);
  if (made == 0 && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
    room = static_cast<std::size_t>(
        LCMapStringEx(LOCALE_NAME_USER_DEFAULT, flags, text, chars, nullptr, 0, nullptr, nullptr, 0));
    out.resize(at + room);
    made = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, flags, text, chars,
                         reinterpret_cast<LPWSTR>(out.data() + at), static_cast<int>(room),
                         nullptr, nullptr, 0);
  }
  if (made > 0) {
    out.resize(at + static_cast<std::size_t>(made));
    return;
  }
  // A text the locale refuses (broken surrogates): its upper-cased code units in order.
  out.resize(at);
  for (std::size_t i = 0; i < length; ++i) {
    wchar_t c = text[i];
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - 32);
    out.push_back(static_cast<char>(static_cast<unsigned>(c) >> 8));
    out.push_back(static_cast<char>(static_cast<unsigned>(c) & 0xFF));
  }
}

void LevelKeys::AppendText(const wchar_t* text, std::size_t length, Span& out) {
  const std::size_t at = arena_.size();
  AppendTextSortKey(text, length, arena_);
  out.Offset = static_cast<std::uint32_t>(at);
  out.Length = static_cast<std::uint32_t>(arena_.size() - at);
}

void LevelKeys::Build(const ItemArray& items, std::int32_t first,
                      std::int32_t last, SortHeading heading,
                      const std::vector<NameKeyRef>* madeKeys) {
  const std::size_t n = last >= first ? static_cast<std::size_t>(last - first + 1) : 0;
  textual_ = IsTextHeading(heading);
  if (!textual_) {
    numbers_.resize(n);
    for (std::size_t k = 0; k < n; ++k)
      numbers_[k] = NumberKey(items[static_cast<std::size_t>(first) + k], heading);
    return;
  }
  spans_.resize(n);
  arena_.clear();
  // Keys made during the read leave only the first entries to be made here.
  if (heading == SortHeading::Name) arena_.reserve((madeKeys ? std::min<std::size_t>(n, 1024) : n) * 48);
  SharedKeyCache shared;
  for (std::size_t k = 0; k < n; ++k) {
    const TypeListItem& item = items[static_cast<std::size_t>(first) + k];
    Span& span = spans_[k];
    switch (heading) {
      case SortHeading::Name: {
        // Every item of a listing lies in the same folder: the names decide alone.
        const std::size_t index = static_cast<std::size_t>(first) + k;
        if (madeKeys && index < madeKeys->size()) {
          const NameKeyRef& made = (*madeKeys)[index];
          if (made.Bytes && made.NameHash == HashName(item.Name)) {
            span = Span{0, made.Length, made.Bytes};
            break;
          }
        }
        AppendText(item.Name.data(), item.Name.size(), span);
        break;
      }
      case SortHeading::Ext: {
        const std::wstring ext = item.Extension();
        AppendText(ext.data(), ext.size(), span);
        break;
      }
      case SortHeading::Attributes: {
        const std::uint64_t id =
            (static_cast<std::uint64_t>(item.Kind()) << 32) | item.Attributes();
        if (shared.Find(id, span)) break;
        const std::wstring text = item.AttributesText();
        AppendText(text.data(), text.size(), span);
        shared.Add(id, span);
        break;
      }
      case SortHeading::FileType:
      case SortHeading::ExtensionKey:
      case SortHeading::Comments: {
        const std::wstring& text = heading == SortHeading::FileType ? item.FileType()
                                   : heading == SortHeading::Comments ? item.Comments()
                                                                       : item.ExtKey();
        // Type names and keys are shared entries and most items have no comment: the same
        // text object, the same key.
        const std::uint64_t id = text.empty() ? 0 : reinterpret_cast<std::uintptr_t>(&text);
        if (shared.Find(id, span)) break;
        AppendText(text.data(), text.size(), span);
        if (id == 0 || heading != SortHeading::Comments) shared.Add(id, span);
        break;
      }
      default:
        span = Span{};
        break;
    }
  }
}

const char* LevelKeys::Bytes(const Span& s) const {
  return s.Outside ? s.Outside : arena_.data() + s.Offset;
}

std::string_view LevelKeys::Text(std::int32_t k) const {
  const Span& s = spans_[static_cast<std::size_t>(k)];
  return std::string_view(Bytes(s), s.Length);
}

int LevelKeys::Compare(std::int32_t a, std::int32_t b) const {
  if (!textual_) {
    const std::uint64_t na = Number(a), nb = Number(b);
    return na < nb ? -1 : (na > nb ? 1 : 0);
  }
  const Span& sa = spans_[static_cast<std::size_t>(a)];
  const Span& sb = spans_[static_cast<std::size_t>(b)];
  const std::uint32_t common = std::min(sa.Length, sb.Length);
  const int c = common ? std::memcmp(Bytes(sa), Bytes(sb), common) : 0;
  if (c != 0) return c < 0 ? -1 : 1;
  return sa.Length < sb.Length ? -1 : (sa.Length > sb.Length ? 1 : 0);
}

void SortOffsets(std::vector<std::int32_t>& order, std::int32_t left, std::int32_t right,
                 const LevelKeys& keys, bool descending) {
  PartitionSort(
      order, left, right, [](std::int32_t offset) { return offset; },
      [&keys](std::int32_t a, std::int32_t b) { return keys.Compare(a, b); }, descending);
}

void MultiHeadingSort::SortRuns(const LevelKeys& keys, bool descending) {
  const std::int32_t n = static_cast<std::int32_t>(order_.size());
  std::int32_t start = 0;
  for (std::int32_t k = 1; k <= n; ++k) {
    if (k < n && !runStart_[static_cast<std::size_t>(k)]) continue;
    if (k - 1 > start) SortOffsets(order_, start, k - 1, keys, descending);
    start = k;
  }
}

void MultiHeadingSort::MarkRunStarts(const LevelKeys& keys) {
  for (std::size_t k = 1; k < order_.size(); ++k)
    if (!runStart_[k] && !keys.Equal(order_[k - 1], order_[k])) runStart_[k] = 1;
}

void MultiHeadingSort::SortRange(ItemArray& items, std::int32_t first,
                                 std::int32_t last, const SortLevel* levels, std::size_t count,
                                 std::size_t firstSorted, std::int32_t* follow) {
  if (last <= first || count == 0) return;
  const std::size_t n = static_cast<std::size_t>(last - first + 1);
  order_.resize(n);
  for (std::size_t k = 0; k < n; ++k) order_[k] = static_cast<std::int32_t>(k);
  runStart_.assign(n, 0);
  runStart_[0] = 1;
  for (std::size_t level = 0; level < count; ++level) {
    keys_.Build(items, first, last, levels[level].Heading, ReadKeys);
    if (level >= firstSorted) SortRuns(keys_, levels[level].Descending);
    if (level + 1 == count) break;
    MarkRunStarts(keys_);
    // Every item alone in its run: no later level can move anything.
    if (std::all_of(runStart_.begin(), runStart_.end(), [](std::uint8_t s) { return s != 0; }))
      break;
  }
  Apply(items, first, follow);
  Release();
}

void MultiHeadingSort::Release() {
  // A listing's keys are as large as its texts: none are held between sorts.
  keys_ = LevelKeys();
  order_ = std::vector<std::int32_t>();
  runStart_ = std::vector<std::uint8_t>();
}

void MultiHeadingSort::Apply(ItemArray& items, std::int32_t first,
                             std::int32_t* follow) {
  const std::size_t n = order_.size();
  const std::size_t base = static_cast<std::size_t>(first);
  if (follow && *follow >= first && static_cast<std::size_t>(*follow) < base + n) {
    const std::int32_t from = *follow - first;
    for (std::size_t k = 0; k < n; ++k)
      if (order_[k] == from) {
        *follow = first + static_cast<std::int32_t>(k);
        break;
      }
  }
  ApplyOrder(items, base, order_, 0);
  if (ReadKeys && ReadKeys->size() >= base + n) ApplyOrder(*ReadKeys, base, order_, 0);
}

void MultiHeadingSort::CreateTreeSortKeys(ItemArray& items, std::int32_t first,
                                          std::int32_t last, SortHeading heading) {
  if (last < first) return;
  const std::int32_t n = last - first + 1;
  keys_.Build(items, first, last, heading);
  // Each item's parent in path order: the nearest item before it one level up (-1: the top).
  std::vector<std::int32_t> parent(static_cast<std::size_t>(n), -1);
  std::vector<std::int32_t> open;  // the ancestors of the current item, by level
  for (std::int32_t k = 0; k < n; ++k) {
    const std::int16_t level = items[static_cast<std::size_t>(first + k)].Level;
    while (!open.empty() && items[static_cast<std::size_t>(first + open.back())].Level >= level)
      open.pop_back();
    parent[static_cast<std::size_t>(k)] = open.empty() ? -1 : open.back();
    open.push_back(k);
  }
  // Siblings in the level's ascending order; ties keep path order.
  std::vector<std::int32_t> byParent(static_cast<std::size_t>(n));
  for (std::int32_t k = 0; k < n; ++k) byParent[static_cast<std::size_t>(k)] = k;
  std::sort(byParent.begin(), byParent.end(), [&](std::int32_t a, std::int32_t b) {
    const std::int32_t pa = parent[static_cast<std::size_t>(a)];
    const std::int32_t pb = parent[static_cast<std::size_t>(b)];
    if (pa != pb) return pa < pb;
    const int c = keys_.Compare(a, b);
    return c != 0 ? c < 0 : a < b;
  });
  std::vector<std::int32_t> rank(static_cast<std::size_t>(n));
  for (std::int32_t k = 0, r = 0; k < n; ++k) {
    const std::int32_t item = byParent[static_cast<std::size_t>(k)];
    if (k > 0 && parent[static_cast<std::size_t>(byParent[static_cast<std::size_t>(k - 1)])] !=
                     parent[static_cast<std::size_t>(item)])
      r = 0;
    rank[static_cast<std::size_t>(item)] = r++;
  }
  // The key: the ranks from the top down, one path segment each, so a folder's key is a
  // prefix of its sub-folders' keys. Parents come first in path order: their keys are ready.
  for (std::int32_t k = 0; k < n; ++k) {
    wchar_t digits[16];
    swprintf(digits, 16, L"%09d", rank[static_cast<std::size_t>(k)]);
    const std::int32_t p = parent[static_cast<std::size_t>(k)];
    std::wstring key;
    if (p >= 0) key = items[static_cast<std::size_t>(first + p)].TreeSortKey() + L"\\";
    key += digits;
    items[static_cast<std::size_t>(first + k)].SetTreeSortKey(key);
  }
  Release();
}

}  // namespace zenlo
