#pragma once
// Public enumerations and records of the Zenlo control library.
#include <cstdint>
#include <string>
#include <utility>
#include <variant>
#include <vector>

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

// One line of a listing or tree.
struct TypeListItem {
  CompareStatus CompareState = NotActive;
  EnumFilterStatus FilterState = fFolderShow;
  std::wstring RealPath;
  std::wstring Name;
  sTypes ItemType = sDefault;
  std::wstring DateCreated;
  std::wstring DateLastModified;
  std::wstring DateLastAccessed;
  std::wstring SizeText;
  std::wstring AttributesText;
  std::wstring TreeSortKey;
  std::wstring Comments;
  std::wstring Extension;
  std::wstring ExtKey;
  std::wstring FileType;
  bool IsOpen = false;
  std::int16_t IconPalette = 0;
  std::int16_t IconX = 0;
  std::int16_t IconY = 0;
  std::wstring ColorWord;
  std::int32_t ItemColor = 0;
  std::int32_t Selected = 0;
  std::int32_t RowTop = 0;
  std::int32_t IndentX = 0;
  sFolderStatus FolderStatus = sNotExpanded;
  std::wstring FullPath;
  std::wstring NameKey;
  std::int16_t Level = 0;
  std::int32_t DrawLeft = 0;
  std::int32_t DrawBottomGap = 0;
  std::int32_t DrawRight = 0;
  std::int32_t DrawBottom = 0;
};

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
