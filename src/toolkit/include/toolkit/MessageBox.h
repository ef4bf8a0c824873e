#pragma once
// The library's and program's plain message box, with a seam that tests use to answer it.
#include <functional>
#include <string>
#include <windows.h>

namespace tk {

struct MessageBoxRequest {
  std::wstring Text;
  std::wstring Title;
  UINT Style = MB_OK;
};

// Returns IDOK, IDYES, ...
int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& title,
                   UINT style = MB_OK);

// Tests: every box goes to the seam instead of the screen. Empty function restores the screen.
using MessageBoxSeam = std::function<int(const MessageBoxRequest&)>;
void SetMessageBoxSeam(MessageBoxSeam seam);

}  // namespace tk
