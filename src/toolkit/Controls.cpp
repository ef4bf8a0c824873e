#include "toolkit/Controls.h"

#include <commctrl.h>

namespace tk {

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

namespace tk {

namespace {
constexpr int kFirstCommand = 1000;
}

ImageList::~ImageList() {
  if (list_) ImageList_Destroy(list_);
}

bool ImageList::Create(int width, int height) {
  if (list_) ImageList_Destroy(list_);
  list_ = ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, 8, 4);
  keys_.clear();
  return list_ != nullptr;
}

int ImageList::Add(const std::wstring& key, HBITMAP bitmap, COLORREF maskColour) {
  if (!list_ || !bitmap) return -1;
  const int index = ImageList_AddMasked(list_, bitmap, maskColour);
  if (index >= 0) {
    if (keys_.size() <= static_cast<std::size_t>(index)) keys_.resize(static_cast<std::size_t>(index) + 1);
    keys_[static_cast<std::size_t>(index)] = key;
  }
  return index;
}

int ImageList::IndexOf(const std::wstring& key) const {
  for (std::size_t i = 0; i < keys_.size(); ++i)
    if (CompareStringOrdinal(keys_[i].c_str(), -1, key.c_str(), -1, TRUE) == CSTR_EQUAL)
      return static_cast<int>(i);
  return -1;
}

bool Toolbar::Create(HWND parent) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  // Other controls may sit in the room a button leaves: the toolbar paints around them.
  if (!CreateStandard(TOOLBARCLASSNAMEW, parent,
                      WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS |
                          CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER))
    return false;
  SendMessageW(Handle(), TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageW(Handle(), TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
  return true;
}

void Toolbar::SetImageList(const ImageList& images) {
  if (Handle()) SendMessageW(Handle(), TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images.Handle()));
}

void Toolbar::AddButton(const Button& button) {
  const int index = static_cast<int>(buttons_.size());
  buttons_.push_back(button);
  tips_.push_back(button.ToolTip);
  if (!Handle()) return;
  TBBUTTON b{};
  const bool space = button.Separator || button.SpaceWidth > 0;
  b.iBitmap = button.SpaceWidth > 0 ? button.SpaceWidth : (button.Separator ? 6 : I_IMAGENONE);
  b.idCommand = kFirstCommand + index;
  b.fsState = TBSTATE_ENABLED;
  b.fsStyle = static_cast<BYTE>(space ? BTNS_SEP
                                                 : (button.DropDown ? BTNS_DROPDOWN : BTNS_BUTTON) |
                                                       (button.Check ? BTNS_CHECK : 0));
  SendMessageW(Handle(), TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&b));
}

int Toolbar::IndexOf(const std::wstring& key) const {
  if (key.empty()) return -1;
  for (std::size_t i = 0; i < buttons_.size(); ++i)
    if (CompareStringOrdinal(buttons_[i].Key.c_str(), -1, key.c_str(), -1, TRUE) == CSTR_EQUAL)
      return static_cast<int>(i);
  return -1;
}

void Toolbar::SetImage(const std::wstring& key, int image) {
  const int i = IndexOf(key);
  if (i < 0 || !Handle()) return;
  TBBUTTONINFOW info{};
  info.cbSize = sizeof info;
  info.dwMask = TBIF_IMAGE;
  info.iImage = image;
  SendMessageW(Handle(), TB_SETBUTTONINFOW, kFirstCommand + i, reinterpret_cast<LPARAM>(&info));
}

void Toolbar::SetVisible(const std::wstring& key, bool visible) {
  const int i = IndexOf(key);
  if (i < 0 || !Handle()) return;
  // Hiding a hidden button still lays the whole bar out again.
  const bool hidden = SendMessageW(Handle(), TB_ISBUTTONHIDDEN, kFirstCommand + i, 0) != 0;
  if (hidden == visible) SendMessageW(Handle(), TB_HIDEBUTTON, kFirstCommand + i, !visible);
}

void Toolbar::SetEnabled(const std::wstring& key, bool enabled) {
  const int i = IndexOf(key);
  if (i >= 0 && Handle()) SendMessageW(Handle(), TB_ENABLEBUTTON, kFirstCommand + i, enabled);
}

bool Toolbar::Value(const std::wstring& key) const {
  const int i = IndexOf(key);
  return i >= 0 && Handle() &&
         SendMessageW(Handle(), TB_ISBUTTONCHECKED, kFirstCommand + i, 0) != 0;
}

void Toolbar::SetValue(const std::wstring& key, bool pressed) {
  const int i = IndexOf(key);
  if (i >= 0 && Handle()) SendMessageW(Handle(), TB_CHECKBUTTON, kFirstCommand + i, pressed);
}

std::wstring Toolbar::ToolTip(const std::wstring& key) const {
  const int i = IndexOf(key);
  return i >= 0 ? tips_[static_cast<std::size_t>(i)] : std::wstring();
}

void Toolbar::SetToolTip(const std::wstring& key, const std::wstring& text) {
  const int i = IndexOf(key);
  if (i >= 0) tips_[static_cast<std::size_t>(i)] = text;
}

RECT Toolbar::ButtonRect(const std::wstring& key) const {
  RECT r{};
  const int i = IndexOf(key);
  if (i >= 0 && Handle()) SendMessageW(Handle(), TB_GETRECT, kFirstCommand + i, reinterpret_cast<LPARAM>(&r));
  return r;
}

int Toolbar::PreferredHeight() const {
  if (!Handle()) return 0;
  const LRESULT size = SendMessageW(Handle(), TB_GETBUTTONSIZE, 0, 0);
  return HIWORD(size) + 4;
}

bool Toolbar::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (reinterpret_cast<HWND>(lParam) != Handle() || !Handle()) return false;
  const int i = LOWORD(wParam) - kFirstCommand;
  if (i < 0 || i >= static_cast<int>(buttons_.size())) return false;
  if (ButtonClick) {
    auto click = ButtonClick;
    click(buttons_[static_cast<std::size_t>(i)].Key);
  }
  return true;
}

bool Toolbar::OnNotify(LPARAM lParam, LRESULT& result) {
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  if (!Handle()) return false;
  if (header->code == TTN_GETDISPINFOW) {
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
    const int i = static_cast<int>(header->idFrom) - kFirstCommand;
    if (i < 0 || i >= static_cast<int>(tips_.size())) return false;
    info->lpszText = tips_[static_cast<std::size_t>(i)].data();
    result = 0;
    return true;
  }
  if (header->hwndFrom != Handle()) return false;
  if (header->code == TBN_DROPDOWN) {
    // The arrow shows the same menu as the button.
    auto* tb = reinterpret_cast<NMTOOLBARW*>(lParam);
    const int i = tb->iItem - kFirstCommand;
    if (i >= 0 && i < static_cast<int>(buttons_.size()) && ButtonClick) {
      auto click = ButtonClick;
      click(buttons_[static_cast<std::size_t>(i)].Key);
    }
    result = TBDDRET_DEFAULT;
    return true;
  }
  return false;
}

}  // namespace tk
