#include "commands/Bookmarks.h"

#include "mainwindow/Master.h"

namespace varnello {

void BookmarkCommands::AddRemoveBookMark(long index, const std::wstring& flag) {
  if (index < 0 || index >= static_cast<long>(m_.Options.BookMarks.size())) return;
  Bookmark& slot = m_.Options.BookMarks[static_cast<size_t>(index)];
  if (flag == L"CLEAR SLOT") {
    slot.Path = slot.DisplayPath = L"(empty)";
  } else {
    const std::wstring folder = GetClickedFolder();
    if (!folder.empty()) slot.Path = slot.DisplayPath = folder;
  }
  m_.MakeBookmarkDisplayPaths();
}

std::wstring BookmarkCommands::GetClickedFolder() {
  PaneList* list = m_.ClickedList();
  if (!list) return {};
  try {
    std::wstring path, name;
    zenlo::sTypes type = zenlo::sDefault;
    list->ItemNameForRename(path, name, false, type);
    if (path.empty() && name.empty()) return {};
    switch (type) {
      case zenlo::sFile:
        return path;
      case zenlo::sFolder:
      case zenlo::sShare:
        return path + name;
      default:
        return {};
    }
  } catch (...) {
    std::wstring text = L"An error occurred while getting the folder name that was clicked on.";
    m_.Message(text, 0, L"Master");
    return {};
  }
}

void BookmarkCommands::OpenCommandLine() {
  // With no clicked folder the prompt opens in the shell's default folder.
  m_.Shell().Run(m_.Handle(), L"", L"cmd", L"", GetClickedFolder());
}

}  // namespace varnello
