#include "toolkit/Controls.h"

#include <commctrl.h>

namespace tk {

bool ScrollBar::Create(HWND parent, bool vertical) {
  vertical_ = vertical;
  return CreateStandard(L"SCROLLBAR", parent, WS_CHILD | (vertical ? SBS_VERT : SBS_HORZ));
}

void ScrollBar::SetRange(std::int32_t min, std::int32_t max) {
  min_ = min;
  max_ = max < min ? min : max;
  const std::int32_t old = value_;
  if (value_ < min_) value_ = min_;
  if (value_ > max_) value_ = max_;
  Apply();
  if (value_ != old && Change) Change();
}

bool ScrollBar::SetValue(std::int32_t v) {
  if (v < min_ || v > max_) return false;
  if (v == value_) return true;
  value_ = v;
  Apply();
  if (Change) Change();
  return true;
}

void ScrollBar::Apply() {
  if (!Handle()) return;
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_POS | SIF_PAGE | SIF_DISABLENOSCROLL;
  si.nMin = min_;
  si.nMax = max_;
  si.nPage = 0;
  si.nPos = value_;
  SetScrollInfo(Handle(), SB_CTL, &si, TRUE);
}

void ScrollBar::OnScroll(WORD code) {
  std::int32_t v = value_;
  switch (code) {
    case SB_LINEUP: v -= SmallChange; break;
    case SB_LINEDOWN: v += SmallChange; break;
    case SB_PAGEUP: v -= LargeChange; break;
    case SB_PAGEDOWN: v += LargeChange; break;
    case SB_TOP: v = min_; break;
    case SB_BOTTOM: v = max_; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      // The 32-bit position, not the message's 16-bit one.
      SCROLLINFO si{};
      si.cbSize = sizeof si;
      si.fMask = SIF_TRACKPOS;
      GetScrollInfo(Handle(), SB_CTL, &si);
      v = si.nTrackPos;
      break;
    }
    default: return;
  }
  if (v < min_) v = min_;
  if (v > max_) v = max_;
  SetValue(v);
}

bool ComboBox::Create(HWND parent, int widthPx, int heightPx) {
  if (!CreateStandard(L"COMBOBOX", parent,
                      WS_CHILD | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL))
    return false;
  SetBounds(0, 0, widthPx, heightPx);
  SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
               TRUE);
  return true;
}

std::wstring ComboBox::Text() const {
  if (!Handle()) return {};
  int n = GetWindowTextLengthW(Handle());
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  GetWindowTextW(Handle(), text.data(), n + 1);
  text.resize(static_cast<std::size_t>(n));
  return text;
}

void ComboBox::SetText(const std::wstring& text) {
  if (Handle()) SetWindowTextW(Handle(), text.c_str());
}

void ComboBox::Clear() {
  if (Handle()) SendMessageW(Handle(), CB_RESETCONTENT, 0, 0);
}

void ComboBox::AddItem(const std::wstring& text) {
  if (Handle()) SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::vector<std::wstring> ComboBox::Items() const {
  std::vector<std::wstring> items;
  if (!Handle()) return items;
  LRESULT n = SendMessageW(Handle(), CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < n; ++i) {
    LRESULT len = SendMessageW(Handle(), CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    std::wstring t(static_cast<std::size_t>(len) + 1, L'\0');
    SendMessageW(Handle(), CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(t.data()));
    t.resize(static_cast<std::size_t>(len));
    items.push_back(t);
  }
  return items;
}

}  // namespace tk
