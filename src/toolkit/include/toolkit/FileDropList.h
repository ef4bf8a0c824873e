#pragma once
// The shell's list of files (a DROPFILES block, as CF_HDROP carries it on the clipboard and in
// drag and drop).
#include <windows.h>

#include <string>
#include <vector>

namespace tk {

// A DROPFILES block with wide paths, each ended by NUL, and a final NUL. The caller owns it;
// null when no memory could be had.
HGLOBAL MakeDropFilesBlock(const std::vector<std::wstring>& paths);

// Each path NUL-ended and the whole ended by one more NUL, as the shell takes lists.
std::wstring DoubleNulList(const std::vector<std::wstring>& paths);

// The names a DROPFILES block holds (wide or ANSI), read within the block's size.
std::vector<std::wstring> ReadDropFilesBlock(HGLOBAL block);

}  // namespace tk
