#pragma once
// The main window's state as text, for tools outside the program (the end-to-end run): a
// WM_COPYDATA request carrying a file path makes the window write its panes into that file.
#include <windows.h>

#include <string>

namespace varnello {

class Master;

// dwData of the request; lpData holds the UTF-16 path of the file to write (UTF-8 text).
constexpr ULONG_PTR kDescribePanesRequest = 0x56524450;

// One line per shown pane ("pane <i> <folder its listing shows>"), then "tree <path>" and "list <path>" lines
// for the items its two lists show.
std::wstring DescribePanes(const Master& master);
void InstallStateReport(Master& master);

}  // namespace varnello
