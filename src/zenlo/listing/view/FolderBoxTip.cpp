#include "listing/view/FolderBoxTip.h"

#include <commctrl.h>

namespace zenlo {

namespace {
TTTOOLINFOW ToolFor(HWND box) {
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;  // understood by every common-controls version
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = GetParent(box);
  tool.uId = reinterpret_cast<UINT_PTR>(box);
  return tool;
}
}  // namespace

FolderBoxTip::~FolderBoxTip() {
  // The host may already have destroyed its window and, with it, the tip.
  if (tip_ && IsWindow(tip_)) DestroyWindow(tip_);
}

void FolderBoxTip::Attach(HWND box) {
  if (tip_ || !box) return;
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                         WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, box, nullptr, GetModuleHandleW(nullptr),
                         nullptr);
  if (!tip_) return;
  box_ = box;
  // Long hints wrap instead of running off the screen.
  SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, 400);
  Apply();
}

void FolderBoxTip::SetText(const std::wstring& text) {
  if (text == text_) return;
  text_ = text;
  Apply();
}

void FolderBoxTip::Apply() {
  if (!tip_) return;
  TTTOOLINFOW tool = ToolFor(box_);
  if (text_.empty()) {
    if (toolAdded_) SendMessageW(tip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    toolAdded_ = false;
    return;
  }
  tool.lpszText = const_cast<wchar_t*>(text_.c_str());
  if (toolAdded_)
    SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  else
    toolAdded_ = SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)) != FALSE;
}

}  // namespace zenlo
