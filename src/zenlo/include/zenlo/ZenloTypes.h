#pragma once
// Public enumerations and records of the Zenlo control library.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "zenlo/ZenloApi.h"

namespace zenlo {

enum ListType : std::int32_t { fbFile = 0, fbFolder = 1, fbFileAndFolder = 2 };

enum EnumListMode : std::int32_t {
  listDetails = 0,
  listThumbnails = 1,
  listNamesIconsSmall = 2,
  listNamesIconsBig = 3,
};

enum sTypes : std::int32_t {
  sDefault = 0,
  sFile = 1,
  sFolder = 2,
  sEntireNetwork = 3,
  sNetwork = 4,
  sDomain = 5,
  sComputer = 6,
  sServer = 7,
  sShare = 8,
  sOther = 9,
};

enum sFolderStatus : std::int32_t { sNotExpanded = 0, sExpanded = 1, sNoSubFolders = 2 };

enum EnumCompareMode : std::int32_t {
  ByFileName = 0,
  ByFileNameSize = 1,
  ByFileNameDate = 2,
  ByFileNameSizeDate = 3,
};

enum CompareStatus : std::int32_t { NotActive = 0, IsMatch = 1, IsNotMatch = 2 };

enum EnumFilterStatus : std::int32_t { fFolderShow = 0, fFileShow = 1, fHide = 2 };

enum EnumUpdateType : std::int32_t {
  updateSort = 0,
  updateSortAndDraw = 1,
  updateToggleShowHideFolders = 2,
  updateDrawOnly = 3,
};

enum Orient : std::int32_t { vertical = 0, horizontal = 1 };

enum ExpandType : std::int32_t { Expand = 1, Collapse = 2 };

// A value of a by-name property: empty, truth value, 16-bit, 32-bit or text.
using Variant = std::variant<std::monostate, bool, std::int16_t, std::int32_t, std::wstring>;

// The persisted properties a container keeps for a control, by name, in the order written.
struct PropertyBag {
  std::vector<std::pair<std::wstring, Variant>> Values;
  const Variant* Find(const std::wstring& name) const {
    for (const auto& [n, v] : Values)
      if (n == name) return &v;
    return nullptr;
  }
  void Write(const std::wstring& name, Variant value) {
    for (auto& [n, v] : Values)
      if (n == name) {
        v = std::move(value);
        return;
      }
    Values.emplace_back(name, std::move(value));
  }
};

// What every file of one extension shares: its key and type name. Records point at one
// shared entry instead of holding the texts; entries live as long as the process.
struct ItemTypeEntry {
  std::wstring ExtKey;
  std::wstring FileType;
};

// Texts few items carry, held apart so that an item without them costs one pointer.
struct ItemRareTexts {
  std::wstring RealPath;  // only where it differs from FullPath
  std::wstring TreeSortKey;
  std::wstring Comments;
  std::wstring ColorWord;
};

namespace detail {
// An owning pointer that copies what it points at.
template <typename T>
class CopiedPtr {
 public:
  CopiedPtr() = default;
  CopiedPtr(const CopiedPtr& o) : p_(o.p_ ? std::make_unique<T>(*o.p_) : nullptr) {}
  CopiedPtr& operator=(const CopiedPtr& o) {
    if (this != &o) p_ = o.p_ ? std::make_unique<T>(*o.p_) : nullptr;
    return *this;
  }
  CopiedPtr(CopiedPtr&&) noexcept = default;
  CopiedPtr& operator=(CopiedPtr&&) noexcept = default;
  const T* get() const { return p_.get(); }
  T& Ensure() {
    if (!p_) p_ = std::make_unique<T>();
    return *p_;
  }

 private:
  std::unique_ptr<T> p_;
};
}  // namespace detail

// One line of a listing or tree. Dates, size and attributes are stored as numbers and the
// type as a shared entry; their texts are formatted when asked for.
struct ZENLO_API TypeListItem {
  // Which details the directory entry gave: none (a tree's root, a network item), a folder's
  // or a file's.
  enum class Details : std::uint8_t { None = 0, Folder = 1, File = 2 };

  std::wstring Name;
  std::wstring FullPath;
  CompareStatus CompareState = NotActive;
  EnumFilterStatus FilterState = fFolderShow;
  sTypes ItemType = sDefault;
  std::int32_t ItemColor = 0;
  std::int32_t Selected = 0;
  std::int32_t RowTop = 0;
  std::int32_t IndentX = 0;
  sFolderStatus FolderStatus = sNotExpanded;
  std::int32_t DrawLeft = 0;
  std::int32_t DrawBottomGap = 0;
  std::int32_t DrawRight = 0;
  std::int32_t DrawBottom = 0;
  std::int16_t IconPalette = 0;
  std::int16_t IconX = 0;
  std::int16_t IconY = 0;
  std::int16_t Level = 0;

  // ---- The texts, formatted on demand ----
  const std::wstring& RealPath() const;
  std::wstring DateCreated() const;
  std::wstring DateLastModified() const;
  std::wstring DateLastAccessed() const;
  // Files: the size grouped by thousands; folders "--" until a size is set, and a total cut
  // short by Esc ends in "+" (at least that much).
  std::wstring SizeText() const;
  std::wstring AttributesText() const;
  const std::wstring& TreeSortKey() const;
  const std::wstring& Comments() const;
  // Files: the text after the last "." of the name as written; folders "dir".
  std::wstring Extension() const;
  const std::wstring& ExtKey() const;
  const std::wstring& FileType() const;
  const std::wstring& ColorWord() const;
  // FullPath upper-cased with blanks as "_", for folders and network items.
  std::wstring NameKey() const;

  // ---- The stored values ----
  Details Kind() const { return static_cast<Details>(kind_); }
  // File times as the platform's 64-bit counts (UTC); 0 for an item without details.
  std::uint64_t CreationTime() const { return created_; }
  std::uint64_t LastWriteTime() const { return written_; }
  std::uint64_t LastAccessTime() const { return accessed_; }
  std::uint32_t Attributes() const { return attributes_; }
  // The size in bytes, when the item has one (files; folders once summed).
  bool HasSize() const { return (flags_ & kSized) != 0; }
  bool SizeIsPartial() const { return (flags_ & kPartialSize) != 0; }
  std::uint64_t Size() const { return size_; }
  const ItemTypeEntry* TypeEntry() const { return type_; }

  void SetDetails(Details kind, std::uint64_t created, std::uint64_t written,
                  std::uint64_t accessed, std::uint32_t attributes);
  void SetSize(std::uint64_t bytes);
  // The bytes counted before a size walk was stopped.
  void SetPartialSize(std::uint64_t bytes);
  // Back to "not sized" (a folder shows "--").
  void ClearSize();
  void SetTypeEntry(const ItemTypeEntry* entry) { type_ = entry; }
  void SetNameKeyed(bool on);
  void SetRealPath(const std::wstring& path);
  void SetTreeSortKey(const std::wstring& text);
  void SetComments(const std::wstring& text);
  void SetColorWord(const std::wstring& text);

 private:
  static constexpr std::uint8_t kSized = 1;
  static constexpr std::uint8_t kNameKeyed = 2;
  static constexpr std::uint8_t kPartialSize = 4;

  std::uint64_t created_ = 0;
  std::uint64_t written_ = 0;
  std::uint64_t accessed_ = 0;
  std::uint64_t size_ = 0;
  const ItemTypeEntry* type_ = nullptr;
  detail::CopiedPtr<ItemRareTexts> rare_;
  std::uint32_t attributes_ = 0;
  std::uint8_t kind_ = 0;
  std::uint8_t flags_ = 0;

 public:
  bool IsOpen = false;  // after the private numbers: it packs into their last word
};

// The shared entry for an extension key and type name (made on first use).
ZENLO_API const ItemTypeEntry* InternItemType(const std::wstring& extKey,
                                              const std::wstring& fileType);

// The compare record exchanged between panes.
struct TypeFolderContents {
  std::wstring TheFileName;
  std::wstring TheFileSize;
  std::wstring TheFileDate;
  bool MatchMade = false;
};

// An entry of the expanded-folder and saved-selection lists.
struct TypeFolderFlag {
  std::wstring Path;
  std::int16_t Flag = 0;
};

// One slot of the per-place table.
struct TypeDriveState {
  std::wstring DriveKey;
  std::wstring ListRoot;
  std::int32_t ListPosition = 0;
  std::wstring ActiveFolder;
};

}  // namespace zenlo
