#include "commands/RightClick.h"

#include "mainwindow/Master.h"
#include "toolkit/PathText.h"
#include "toolkit/Window.h"

namespace varnello {

namespace {

bool IsColourWord(const std::wstring& word) {
  for (const ColourEntry& c : ColourEntries())
    if (word == c.Keyword) return true;
  return false;
}

// The folder a paste from the menu goes into: the folder the menu was for, else the folder
// the first item lies in.
std::wstring MenuPasteFolder(const CommandItems& items, bool forFolder) {
  const std::wstring& first = items.Paths.front();
  if (forFolder || items.DriveRoot) return first;
  return IsFolder(first) ? first : GetFolderPath(first);
}

}  // namespace

void RightClickCommands::FBRightClick(short index, float x, float y,
                                      const std::wstring& currentFolder,
                                      const std::wstring& parentFolder,
                                      const std::wstring& currentItemPath, bool useCurrent) {
  m_.RightClickFolder = currentFolder;
  m_.RightClickParentFolder = parentFolder;
  m_.RightClickItemPath = currentItemPath;
  m_.HighlightActiveList(false);
  PaneList* list = m_.List(index);
  if (!list) return;
  // The list's place in the main window, in twips, carries the point into the window.
  const RECT place = tk::RectInParent(list->Window());
  const float left = static_cast<float>(place.left * tk::TwipsPerPixelX());
  const float top = static_cast<float>(place.top * tk::TwipsPerPixelY());
  m_.RunPaneCommand(left + x, top + y, 0, useCurrent ? currentFolder : L"", 0);
}

void RightClickCommands::ShowMenu(float x, float y, const std::wstring& folderPath) {
  Master::BusyScope busy(m_);
  m_.WatchStopPanes();
  // Whatever way the command ends, the watches run again.
  struct Resume {
    Master& m;
    ~Resume() { m.WatchResumePanesAll(); }
  } resume{m_};
  POINT at{static_cast<LONG>(x) / tk::TwipsPerPixelX(), static_cast<LONG>(y) / tk::TwipsPerPixelY()};
  ClientToScreen(m_.Handle(), &at);
  PaneList* list = m_.ClickedList();
  if (!list) return;  // no list chosen yet, or its pane is closed
  list->HighLightMouseOverItem();
  if (folderPath.empty()) {
    std::int32_t item = -1;
    list->PreDragCheck(item);
  }
  const CommandItems items = CollectCommandItems(*list, folderPath, m_.RightClickItemPath);
  MenuChoice choice;
  if (!items.Paths.empty()) {
    ItemMenuRequest request;
    request.Owner = m_.Handle();
    request.ScreenPoint = at;
    request.Paths = items.Paths;
    request.DriveRoot = items.DriveRoot;
    request.ForFolder = !folderPath.empty();
    request.BookMarks = &m_.Options.BookMarks;
    choice = ShowItemContextMenu(request);
  }
  RedrawWindow(m_.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  try {
    RunChoice(choice, items, !folderPath.empty());
  } catch (...) {
    // An action that failed part way has said what it could; the tail still runs.
  }
  if (PaneList* clicked = m_.ClickedList()) clicked->UnselectForbiddenItems();
}

void RightClickCommands::RunChoice(const MenuChoice& choice, const CommandItems& items,
                                   bool forFolder) {
  const std::wstring& k = choice.Keyword;
  // Only a paste straight after our cut moves the files away from the cut's list.
  if (k != L"copy" && k != L"cut" && k != L"paste") m_.Clipboard().NoteOtherCommand();
  if (k.empty() || k == L"unknown") return;
  if (k == L"ADD TO SLOT" || k == L"CLEAR SLOT") {
    m_.AddRemoveBookMark(choice.Slot, k);
  } else if (k == L"copy" || k == L"cut") {
    m_.ClipboardCopy(items.Paths, k == L"cut");
  } else if (k == L"paste") {
    if (!items.Paths.empty()) m_.ClipboardPaste(MenuPasteFolder(items, forFolder));
  } else if (k == L"delete") {
    // The shell deleted a folder named alone itself.
    if (!forFolder) m_.FileCommands().DeleteItems(false);
    else if (PaneList* list = m_.ClickedList()) list->RefreshList();
  } else if (k == L"rename") {
    m_.RenameItem(false);
  } else if (k == L"commandline") {
    m_.OpenCommandLine();
  } else if (k == L"newfolder") {
    m_.CreateNewFolder(false);
  } else if (k == L"duplicate") {
    m_.DuplicateItems(items.Paths);
    if (PaneList* list = m_.ClickedList()) list->RefreshList();
  } else if (k == L"refresh") {
    if (PaneList* list = m_.ClickedList()) list->RefreshList();  // the new shortcut shows
  } else if (IsColourWord(k)) {
    ColourCode(k);
  }
}

void RightClickCommands::ColourCode(const std::wstring& colour) {
  PaneList* list = m_.ClickedList();
  if (!list) return;
  std::int32_t total = 0;
  list->ColorFiles(colour, total);
  ProgramOptions& o = m_.Options;
  // Each note once ever: cleared before it shows, so a command run from inside the box
  // cannot show it again.
  if (o.FirstColorEver) {
    o.FirstColorEver = false;
    Note(L"Note: This is the first time you are color coding a file.\r\n\r\nTo see your files "
         L"in color, make sure you 'turn on' color coding under the Layout menu. Varnello runs a "
         L"little slower with this on, so turn it off whenever you have the need for speed.");
  }
  if (total > o.FileCountMax && o.IsFirstColorCodingOverMax) {
    o.IsFirstColorCodingOverMax = false;
    Note(L"When there are over " + std::to_wstring(o.FileCountMax) +
         L" files in a folder, Varnello doesn't show the color coding because it takes too long "
         L"to check each file.\r\n\r\nFeel free to override this behaviour in the Options if "
         L"you wish.");
  }
}

void RightClickCommands::Note(std::wstring text) { m_.Message(text, 0, L"Master"); }

// ---- Master's members of the right-click menu ----

void Master::List_FBRightClick(short index, short, short, float x, float y,
                               std::wstring& currentFolder, std::wstring& parentFolder,
                               std::wstring& currentItemPath, std::wstring&, bool useCurrent,
                               zenlo::sTypes) {
  rightClick_.FBRightClick(index, x, y, currentFolder, parentFolder, currentItemPath, useCurrent);
}

void Master::RunPaneCommand(float x, float y, short, std::wstring folderPath, short verbMode) {
  if (verbMode != 0) {
    RunPaneVerb(verbMode);
    return;
  }
  rightClick_.ShowMenu(x, y, folderPath);
}

void Master::AddRemoveBookMark(long BMindex, const std::wstring& Flag) {
  bookmarks_.AddRemoveBookMark(BMindex, Flag);
}

std::wstring Master::GetClickedFolder() { return bookmarks_.GetClickedFolder(); }

void Master::OpenCommandLine() { bookmarks_.OpenCommandLine(); }

}  // namespace varnello
