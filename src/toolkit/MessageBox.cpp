#include "toolkit/MessageBox.h"

namespace tk {

namespace {
MessageBoxSeam g_seam;
}

int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& title, UINT style) {
  if (g_seam) return g_seam(MessageBoxRequest{text, title, style});
  return MessageBoxW(owner, text.c_str(), title.c_str(), style);
}

void SetMessageBoxSeam(MessageBoxSeam seam) { g_seam = std::move(seam); }

}  // namespace tk
