#pragma once
// The pane menu of a right click: the program's entries above the shell's own context menu of
// the items. Shell entries are told apart by their verbs and ours by their ids, never by
// captions, which change with the language and the platform.
#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "mainwindow/PaneRecords.h"

namespace varnello {

// Menu ids are 16 bits wide: the shell's entries take 1 to kLastShellId, ours lie above.
constexpr UINT kFirstShellId = 1;
constexpr UINT kLastShellId = 0x6FFF;
enum PaneMenuId : UINT {
  kIdNewFolder = 0x7001,
  kIdRename = 0x7002,
  kIdDuplicate = 0x7003,
  kIdCommandLine = 0x7004,
  kIdBookmarks = 0x7005,   // opens the bookmarks submenu
  kIdColourCode = 0x7006,  // opens the colour submenu
  kIdPaste = 0x7007,       // a folder's Paste where the shell offers none
  kIdSlotLine = 0x7100,    // + slot number 1-10: opens that slot's submenu
  kIdAddToSlot = 0x7200,   // + slot number 1-10
  kIdClearSlot = 0x7300,   // + slot number 1-10
  kIdColour = 0x7400,      // + position in ColourEntries()
};

struct ColourEntry {
  const wchar_t* Caption;
  const wchar_t* Keyword;  // the word the colour coding stores
};
// The colour submenu, top to bottom: Default first, then the colours with swatches.
const std::array<ColourEntry, 12>& ColourEntries();

// What the program still has to do for the entry chosen.
struct MenuChoice {
  // Empty when nothing was chosen; else "newfolder", "rename", "duplicate", "commandline",
  // "ADD TO SLOT", "CLEAR SLOT", a colour word, "copy", "cut", "paste", "delete", "refresh"
  // (the shell made a shortcut) or "unknown" (the shell ran an entry of its own).
  std::wstring Keyword;
  int Slot = -1;  // 0-9 with the two slot keywords
};

// The choice one of our ids stands for; an empty keyword for any other id.
MenuChoice ProgramEntryChoice(UINT id);
// The keyword of a shell entry by its verb ("copy", "link", ...), compared case-blind as the
// shell compares verbs; "unknown" for every verb the program has no road of its own for.
std::wstring ShellVerbKeyword(const std::wstring& verb);
// Whether the shell itself runs the entry that gave `keyword`. A menu for a folder named
// alone (`forFolder`) lets the shell delete that folder: the program's delete acts on the
// list's marked items, which are not what that menu was shown for.
bool ShellRunsKeyword(const std::wstring& keyword, bool forFolder);

// What a pane menu is shown for.
struct ItemMenuRequest {
  HWND Owner = nullptr;
  POINT ScreenPoint{};
  std::vector<std::wstring> Paths;  // the item right-clicked first
  bool DriveRoot = false;           // Rename and Duplicate are left out
  bool ForFolder = false;           // one folder named by path, not the list's items
  const std::array<Bookmark, 10>* BookMarks = nullptr;
};

// Builds the menu, shows it through the toolkit's pop-up menu, lets the shell run its own
// entries and returns what is left to the program. Items that lie in more than one folder get
// the program's entries only. Failures of the shell are reported here, once.
MenuChoice ShowItemContextMenu(const ItemMenuRequest& request);

}  // namespace varnello
