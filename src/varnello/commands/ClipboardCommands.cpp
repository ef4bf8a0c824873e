#include "commands/ClipboardCommands.h"

#include "commands/CommandItems.h"
#include "commands/FileOperations.h"
#include "mainwindow/Master.h"
#include "toolkit/FileDropList.h"
#include "toolkit/PathText.h"

namespace varnello {

std::wstring PasteFolder(const std::wstring& place) {
  return IsDriveRoot(place) ? place : RemoveRightSlash(place);
}

void ClipboardCommands::RunPaneVerb(short verbMode) {
  PaneList* list = m_.List(m_.Options.ClickedPane);
  if (!list) return;
  m_.RightClickItemPath.clear();
  switch (verbMode) {
    case 1:
    case 2:
      ClipboardCopy(CollectCommandItems(*list, L"", L"").Paths, verbMode == 2);
      break;
    case 3: {
      const std::wstring place = list->ItemNameForNewFolder(true, true);
      if (!place.empty()) ClipboardPaste(PasteFolder(place));
      break;
    }
    case 4:
      m_.FileCommands().DeleteItems(false);
      break;
    default:
      break;
  }
}

void ClipboardCommands::ClipboardCopy(const std::vector<std::wstring>& paths, bool cut) {
  if (paths.empty()) return;
  ShellClipboard::Contents contents;
  contents.Cut = cut;
  for (const auto& p : paths) contents.Paths.push_back(PasteFolder(p));  // as other programs list it
  std::wstring error;
  if (!ShellClipboard(m_.Handle()).Put(contents.Paths, cut, error)) {
    std::wstring text = L"Sorry, the files could not be put on the clipboard.\r\n\r\n" + error;
    m_.Message(text, 0, L"");
    return;
  }
  put_ = contents;
  ShellClipSourcePane = m_.LockedPane;
  CutPasteCount = cut ? 1 : 0;
}

void ClipboardCommands::ClipboardPaste(const std::wstring& folder) {
  const ShellClipboard clipboard(m_.Handle());
  const ShellClipboard::Contents contents = clipboard.Read();
  if (contents.Paths.empty()) {
    CutPasteCount = 0;
    return;
  }
  ++CutPasteCount;
  // Moving an item into the folder it is in would only rename it.
  const std::wstring into = tk::AddTrailingBackslash(folder);
  std::vector<std::wstring> sources;
  for (const auto& p : contents.Paths)
    if (!contents.Cut || !SamePath(GetFolderPath(RemoveRightSlash(p)), into)) sources.push_back(p);
  if (sources.empty()) return;

  // After our own cut the list it came from loses the items: the move refreshes it too.
  const bool ourCut = contents.Cut && CutPasteCount == 2 && put_.Cut &&
                      put_.Paths == contents.Paths && ShellClipSourcePane >= 0;
  const short source = ourCut ? ShellClipSourcePane : short{-2};  // -2: outside our lists
  const std::wstring specs = tk::DoubleNulList(sources);
  std::wstring word = contents.Cut ? L"move" : L"copy";
  std::wstring destFolder = folder;
  short dest = m_.Options.ClickedPane;
  bool refreshChild = false;
  m_.FileOperate(word, source, dest, destFolder, refreshChild, specs);
  if (ourCut) ShellClipSourcePane = -1;

  if (contents.Cut) {
    // Moved files are gone from where the clipboard names them: pasting again would fail.
    bool anyMoved = false;
    for (const auto& p : sources)
      anyMoved |= GetFileAttributesW(tk::LongPathForm(p).c_str()) == INVALID_FILE_ATTRIBUTES;
    if (anyMoved) clipboard.ClearIfHolding(contents);
  }
}

// ---- Master's members ----

void Master::RunPaneVerb(short verbMode) { clipboard_->RunPaneVerb(verbMode); }

void Master::ClipboardCopy(const std::vector<std::wstring>& paths, bool cut) {
  clipboard_->ClipboardCopy(paths, cut);
}

void Master::ClipboardPaste(const std::wstring& folder) { clipboard_->ClipboardPaste(folder); }

}  // namespace varnello
