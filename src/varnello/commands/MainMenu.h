#pragma once
// The main window's menu bar and the tray icon's menu. Which entries are enabled is the
// command table's business.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace varnello {

enum MenuCommand : UINT {
  // Entries that open a drop-down carry an id too, so that pictures and tests find them.
  mnuFile = 40001,
  mnuPane,
  mnuHeadings,
  mnuMenus,
  mnuLayout,
  mnuOrientation,
  mnuAutoExpand,
  mnuShowCommandLine,
  mnuUseEnhancedMode,
  mnuSoftware,
  mPopupSys,
  mnuOptions,
  mnuExit,
  mnuHidden,
  mnuSystem,
  mnuHeadLeft,
  mnuHeadRight,
  mnuSortAsc,
  mnuSortDes,
  mnuSortAscAdd,
  mnuSortAddDes,
  mnuHeadingExtension,
  mnuHeadingSize,
  mnuHeadingDateLastModified,
  mnuHeadingDateCreated,
  mnuHeadingDateLastAccessed,
  mnuHeadingFileType,
  mnuHeadingAttributes,
  mnuHeadingComments,
  mnuCalculateFolderSizes,
  mnuCompareSize,
  mnuCompareDate,
  mnuCompare,
  mnuSaveFileListing,
  mnuRCOpenRecycleBin,
  mnuRCEmptyRecycleBin,
  mnuMapNetworkDrive,
  mnuDisconnectNetworkDrive,
  mnuShowTips,
  mnuVertical,
  mnuHorizontal,
  mnuAutoExpandOn,
  mnuAutoExpandOff,
  mnuCommandOn,
  mnuCommandOff,
  mnuColorOn,
  mnuColorOff,
  mnuChooseSkin,
  mnuHelp,
  mnuWebsite,
  mnuAbout,
  mnuCheckUpdate,
  mPopRestore,
  mPopExit,
  mnuPane0,  // mnuPane0 + i for pane i
};

// Builds the menu bar; the caller owns it until it is given to a window.
HMENU CreateMainMenu();
// Menu entry -> image key of the entry's picture, in the order the pictures are given.
const std::vector<std::pair<UINT, std::wstring>>& MenuPictures();
// The tray icon's menu: a bar holding the one hidden drop-down mPopupSys, whose entries the
// tray shows as its popup. The caller owns it.
HMENU CreateTrayMenu();
void SetMenuCheck(HMENU menu, UINT id, bool checked);
bool MenuChecked(HMENU menu, UINT id);
void SetMenuCaption(HMENU menu, UINT id, const std::wstring& caption);
std::wstring MenuCaption(HMENU menu, UINT id);
// The id of the entry at `position` of `menu`, drop-down entries included; 0 for a separator.
UINT MenuEntryId(HMENU menu, int position);

}  // namespace varnello
