#pragma once
// The right-click command engine: the items under the pointer or the marked items of the
// clicked list, the pane menu over them, and the program's part of the entry chosen.
#include <string>

#include "commands/CommandItems.h"
#include "commands/ContextMenu.h"

namespace varnello {

class Master;

class RightClickCommands {
 public:
  explicit RightClickCommands(Master& master) : m_(master) {}

  // A right click reported by list `index`, at (x, y) twips within it; `useCurrent`: on the
  // list's own folder rather than on an item.
  void FBRightClick(short index, float x, float y, const std::wstring& currentFolder,
                    const std::wstring& parentFolder, const std::wstring& currentItemPath,
                    bool useCurrent);
  // The pane menu at (x, y) in the main window's client twips, for `folderPath` alone when
  // given, else for the item right-clicked and the other marked items of list ClickedPane.
  void ShowMenu(float x, float y, const std::wstring& folderPath);
  // What the program does for the entry chosen over `items`.
  void RunChoice(const MenuChoice& choice, const CommandItems& items, bool forFolder);

 private:
  void ColourCode(const std::wstring& colour);
  void Note(std::wstring text);

  Master& m_;
};

}  // namespace varnello
