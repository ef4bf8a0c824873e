#pragma once
// The items a pane command acts on: the item under the pointer first, then the list's other
// marked items in the list's order, or one given folder.
#include <string>
#include <vector>

namespace varnello {

class PaneList;

struct CommandItems {
  std::vector<std::wstring> Paths;
  // The one item is a drive root ("C:\"), clicked or given as the folder; no other item is
  // taken with it.
  bool DriveRoot = false;
};

// `folderPath` not empty: that folder alone (a bare server or an empty path gives nothing).
// Otherwise `itemPath` (the item right-clicked; empty for the keys' commands) followed by the
// other marked items of `list`. A network item ("*..." as the list reports it) is validated.
CommandItems CollectCommandItems(PaneList& list, const std::wstring& folderPath,
                                 const std::wstring& itemPath);

}  // namespace varnello
