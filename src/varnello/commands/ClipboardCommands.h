#pragma once
// Copy, cut and paste of files through the system clipboard in the shell's own formats, so that
// files cut or copied here paste in any other program and the other way round; and the keys'
// delete.
#include <string>
#include <vector>

#include "commands/ShellClipboard.h"

namespace varnello {

class Master;

// The folder a paste goes into, given the place a new folder would be made ("C:\a\"): without
// its backslash, but a drive's top folder keeps it ("C:" alone is the drive's current folder).
std::wstring PasteFolder(const std::wstring& place);

class ClipboardCommands {
 public:
  explicit ClipboardCommands(Master& master) : m_(master) {}

  // 1 copy, 2 cut, 3 paste, 4 delete, acting on list ClickedPane.
  void RunPaneVerb(short verbMode);
  // Puts `paths` on the clipboard to be copied or (cut) moved; no paths leave it as it was.
  void ClipboardCopy(const std::vector<std::wstring>& paths, bool cut);
  // Copies the clipboard's files into `folder`, or moves them when they were cut, and
  // refreshes the lists concerned.
  void ClipboardPaste(const std::wstring& folder);

  // The list (LockedPane) the files on the clipboard were cut or copied from; -1 for none.
  short ShellClipSourcePane = -1;
  // A cut makes it 1 and each paste adds 1: 2 after a paste means the paste followed our cut.
  // Every other pane command makes it 0 (NoteOtherCommand).
  short CutPasteCount = 0;
  void NoteOtherCommand() { CutPasteCount = 0; }

 private:
  Master& m_;
  ShellClipboard::Contents put_;  // what we last put on the clipboard
};

}  // namespace varnello
