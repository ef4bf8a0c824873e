#pragma once
// The main window's menu bar. Which entries are enabled is the command table's business.
#include <windows.h>

#include <string>

namespace varnello {

enum MenuCommand : UINT {
  mnuExit = 40001,
  mnuAbout,
  mnuHeadLeft,
  mnuHeadRight,
  mnuHeadAsc,
  mnuHeadDes,
  mnuHeadAscAdd,
  mnuHeadDesAdd,
  mnuCalculate,
  mnuChooseSkin,
  mnuVertical,
  mnuHorizontal,
  mnuAutoExpandOn,
  mnuAutoExpandOff,
  mnuCommandOn,
  mnuCommandOff,
  mnuHidden,
  mnuSystem,
  mnuRecycleBin,
  mnuRecycleEmpty,
  mnuWebsite,
  mnuHelp,
  mnuCompare,
  mnuCompareSize,
  mnuCompareDate,
  mnuColorOn,
  mnuColorOff,
  mnuSaveFileListing,
  mnuMapNetworkDrive,
  mnuDisconnectNetworkDrive,
  mnuShowTips,
  mnuCheckUpdate,
  mnuOptions,
  mnuHeadingExtension,
  mnuHeadingSize,
  mnuHeadingDateLastModified,
  mnuHeadingDateCreated,
  mnuHeadingDateLastAccessed,
  mnuHeadingFileType,
  mnuHeadingAttributes,
  mnuHeadingComments,
  mnuPane0,  // mnuPane0 + i for pane i
};

// Builds the menu bar; the caller owns it until it is given to a window.
HMENU CreateMainMenu();
void SetMenuCheck(HMENU menu, UINT id, bool checked);
bool MenuChecked(HMENU menu, UINT id);
void SetMenuCaption(HMENU menu, UINT id, const std::wstring& caption);
std::wstring MenuCaption(HMENU menu, UINT id);

}  // namespace varnello
