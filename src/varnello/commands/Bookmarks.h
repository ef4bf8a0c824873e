#pragma once
// The ten folder bookmarks of the right-click menu and the commands that act on the folder
// of the item last right-clicked.
#include <string>

namespace varnello {

class Master;

class BookmarkCommands {
 public:
  explicit BookmarkCommands(Master& master) : m_(master) {}

  // Slot `index` (0-9): "CLEAR SLOT" frees it, any other flag fills it with the clicked folder
  // (left as it was when there is none).
  void AddRemoveBookMark(long index, const std::wstring& flag);
  // The folder of the item last right-clicked in list ClickedPane: a file's folder, a folder or
  // share itself; empty for anything else.
  std::wstring GetClickedFolder();
  // A command prompt working in GetClickedFolder.
  void OpenCommandLine();

 private:
  Master& m_;
};

}  // namespace varnello
