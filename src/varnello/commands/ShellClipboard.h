#pragma once
// Files on the system clipboard in the shell's own formats: a file-drop list (CF_HDROP) and the
// "Preferred DropEffect" that tells a cut from a copy. Other programs read what is put here and
// fill it for us; the shell's own paste command cannot be relied on everywhere we run.
#include <windows.h>

#include <string>
#include <vector>

namespace varnello {

class ShellClipboard {
 public:
  struct Contents {
    std::vector<std::wstring> Paths;
    bool Cut = false;  // the files are to be moved, not copied
  };

  // `owner` holds the clipboard while it is written.
  explicit ShellClipboard(HWND owner) : owner_(owner) {}

  // Puts `paths` on the clipboard (replacing what was there) as a copy or, with `cut`, a move.
  // False, with the reason in `error`, when the clipboard could not be had.
  bool Put(const std::vector<std::wstring>& paths, bool cut, std::wstring& error) const;
  // The file list on the clipboard; no paths when it holds none.
  Contents Read() const;
  // Empties the clipboard when it still holds `contents` (a cut that was pasted has moved the
  // files; pasting it again would find nothing).
  void ClearIfHolding(const Contents& contents) const;

 private:
  HWND owner_;
};

}  // namespace varnello
