#pragma once
// Which Windows the program runs on; only the old 9x family changes anything.
#include <string>

namespace varnello {

bool GetOSVersion(long& major, long& minor, long& build, long& platformId);
// Platform 1 is the 9x family; its minor number tells 95 (<10), 98 (10-89) and Me (>=90).
bool IsWin95();
bool IsWin98();
bool IsWinME();
// "Windows 95", "Windows 98", "Windows Me", or empty for any other system.
std::wstring OldWindowsName(long platformId, long minor);
// The text before the first NUL; empty when there is none or it comes first.
std::wstring TrimAtNull2(const std::wstring& text);

}  // namespace varnello
