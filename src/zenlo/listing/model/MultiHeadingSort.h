#pragma once
// Sorting items by heading levels. Each level's keys are built once per sort (numbers for
// sizes, dates and colours; locale sort keys for texts, compared as bytes), the partitioning
// runs on a permutation of the range and the records move once at the end. Later levels
// reorder only runs that are equal on every earlier level, key by key.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "listing/model/NameKeys.h"
#include "zenlo/ItemArray.h"
#include "zenlo/ZenloTypes.h"

namespace zenlo {

enum class SortHeading : std::uint8_t {
  Color,
  Name,
  Ext,
  Size,
  DateLastModified,
  DateCreated,
  DateLastAccessed,
  Attributes,
  Comments,
  FileType,
  Unknown,
  ExtensionKey,  // the upper-case extension key the filter works with; no heading shows it
};

// The heading a key of the headings table names, without regard to case; Unknown for any
// other text (the filler among them: it has nothing to sort by).
SortHeading SortHeadingOfKey(const std::wstring& key);

struct SortLevel {
  SortHeading Heading = SortHeading::Name;
  bool Descending = false;
};

// The keys of one level for a range of items, indexed by the item's offset in the range.
class LevelKeys {
 public:
  // A text key: where its bytes lie in the arena, or outside it (a key made during the read).
  struct Span {
    std::uint32_t Offset = 0;
    std::uint32_t Length = 0;
    const char* Outside = nullptr;
  };

  // `madeKeys`, by item index, may hold name keys made already: one is taken when it was made
  // of the item's own name.
  void Build(const ItemArray& items, std::int32_t first, std::int32_t last,
             SortHeading heading, const std::vector<NameKeyRef>* madeKeys = nullptr);
  bool Textual() const { return textual_; }
  int Compare(std::int32_t a, std::int32_t b) const;
  bool Equal(std::int32_t a, std::int32_t b) const { return Compare(a, b) == 0; }
  std::uint64_t Number(std::int32_t k) const { return numbers_[static_cast<std::size_t>(k)]; }
  std::string_view Text(std::int32_t k) const;

 private:
  void AppendText(const wchar_t* text, std::size_t length, Span& out);
  const char* Bytes(const Span& s) const;

  bool textual_ = false;
  std::vector<std::uint64_t> numbers_;
  std::vector<Span> spans_;
  std::string arena_;
};

// The locale sort key of a text without regard to case: byte order equals the order of the
// user's locale, and texts that differ only in case get the same key.
void AppendTextSortKey(const wchar_t* text, std::size_t length, std::string& out);

class MultiHeadingSort {
 public:
  // The heading key of the level being sorted; empty outside a sort (the active heading's
  // key is taken then).
  std::wstring CurrentSortKey;
  // Name keys made while the listing was read, by item index; set by the owner only while
  // they belong to the items. A sort moves them with their records.
  std::vector<NameKeyRef>* ReadKeys = nullptr;

  // Sorts items[first..last] by levels[0..count-1]. Levels before firstSorted are taken as
  // already applied: they only mark where the runs of the later levels begin. When `follow`
  // points at a row inside the range, it is moved to where that record ends up.
  void SortRange(ItemArray& items, std::int32_t first, std::int32_t last,
                 const SortLevel* levels, std::size_t count, std::size_t firstSorted,
                 std::int32_t* follow);

  // A folder tree in path order, items[first..last]: gives every item a TreeSortKey that puts
  // siblings in the level's order (ties keep path order) and every folder directly ahead of
  // its own sub-folders.
  void CreateTreeSortKeys(ItemArray& items, std::int32_t first,
                          std::int32_t last, SortHeading heading);

 private:
  void SortRuns(const LevelKeys& keys, bool descending);
  void MarkRunStarts(const LevelKeys& keys);
  void Apply(ItemArray& items, std::int32_t first, std::int32_t* follow);
  void Release();

  // Made once per sort and reused by its levels: never an allocation per comparison.
  std::vector<std::int32_t> order_;   // offsets in the range, in sorted order
  std::vector<std::uint8_t> runStart_;  // by position in order_
  LevelKeys keys_;
};

// The partitioning's pivot and exchanges on a permutation, comparing by the level keys.
void SortOffsets(std::vector<std::int32_t>& order, std::int32_t left, std::int32_t right,
                 const LevelKeys& keys, bool descending);

}  // namespace zenlo
