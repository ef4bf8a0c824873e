#include "toolkit/Form.h"

#include <commctrl.h>

namespace tk {

namespace {

// Posted to a form by Close: the window ends once the handler that closed it has returned.
constexpr UINT kDestroyForm = WM_APP + 0x3F1;

std::wstring TextOf(HWND w) {
  if (!w) return {};
  std::wstring s(static_cast<std::size_t>(GetWindowTextLengthW(w)) + 1, L'\0');
  s.resize(static_cast<std::size_t>(GetWindowTextW(w, s.data(), static_cast<int>(s.size()))));
  return s;
}

bool UseFormFont(const Form& form, HWND made) {
  if (!made) return false;
  SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(form.Font()), FALSE);
  return true;
}

}  // namespace

bool Form::Create(const std::wstring& caption, int innerWidthTwips, int innerHeightTwips) {
  if (Handle()) return true;
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  if (!CreateOwn(nullptr, style, WS_EX_DLGMODALFRAME)) return false;
  closing_ = false;
  SetWindowTextW(Handle(), caption.c_str());
  font_.Reset(CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                          L"Tahoma"));
  face_.Reset(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
  RECT r{0, 0, TwipsToPixels(innerWidthTwips, TwipsPerPixelX()),
         TwipsToPixels(innerHeightTwips, TwipsPerPixelY())};
  AdjustWindowRectEx(&r, style, FALSE, WS_EX_DLGMODALFRAME);
  SetWindowPos(Handle(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  return true;
}

void Form::Place(Window& child, int left, int top, int width, int height) {
  const int tx = TwipsPerPixelX(), ty = TwipsPerPixelY();
  child.SetBounds(TwipsToPixels(left, tx), TwipsToPixels(top, ty), TwipsToPixels(width, tx),
                  TwipsToPixels(height, ty));
}

void Form::CentreOn(HWND owner) {
  if (!Handle()) return;
  RECT mine{}, theirs{};
  GetWindowRect(Handle(), &mine);
  if (!owner || !GetWindowRect(owner, &theirs)) {
    theirs = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  const int w = mine.right - mine.left, h = mine.bottom - mine.top;
  const int x = theirs.left + (theirs.right - theirs.left) / 2 - w / 2;
  const int y = theirs.top + (theirs.bottom - theirs.top) / 2 - h / 2;
  SetWindowPos(Handle(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::ShowModeless() {
  if (!Handle()) return;
  ShowWindow(Handle(), SW_SHOW);
  SetForegroundWindow(Handle());
}

bool Form::Close() {
  if (!Handle() || closing_) return !Handle();
  closing_ = true;
  bool keep = false;
  try {
    keep = QueryUnload && !QueryUnload();
  } catch (...) {
    closing_ = false;
    throw;
  }
  if (keep || !Handle()) {
    closing_ = false;
    return !Handle();
  }
  ShowWindow(Handle(), SW_HIDE);
  PostMessageW(Handle(), kDestroyForm, 0, 0);
  return true;
}

LRESULT Form::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CLOSE:
      Close();
      return 0;
    case kDestroyForm: {
      if (!closing_) return 0;
      closing_ = false;
      Destroy();
      if (Unloaded) {
        auto unloaded = Unloaded;
        unloaded();
      }
      return 0;
    }
    case WM_COMMAND: {
      Window* child = Window::FromHandle(reinterpret_cast<HWND>(lParam));
      if (auto* source = dynamic_cast<CommandSource*>(child)) source->OnCommand(HIWORD(wParam));
      return 0;
    }
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(Handle(), &r);
      FillRect(reinterpret_cast<HDC>(wParam), &r, face_.Get());
      return 1;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
      return reinterpret_cast<LRESULT>(face_.Get());
    }
    default:
      return Window::OnMessage(msg, wParam, lParam);
  }
}

bool Button::Create(Form& form, const std::wstring& caption) {
  return CreateStandard(L"BUTTON", form.Handle(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                        0, caption.c_str()) &&
         UseFormFont(form, Handle());
}

std::wstring Button::Caption() const { return TextOf(Handle()); }

void Button::SetEnabled(bool enabled) {
  if (Handle()) EnableWindow(Handle(), enabled);
}

bool Button::Enabled() const { return Handle() && IsWindowEnabled(Handle()); }

void Button::OnCommand(WORD code) {
  if (code == BN_CLICKED && Click) {
    auto click = Click;  // the handler may replace or end this button
    click();
  }
}

bool Frame::Create(Form& form, const std::wstring& caption) {
  return CreateStandard(L"BUTTON", form.Handle(), WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0,
                        caption.c_str()) &&
         UseFormFont(form, Handle());
}

bool ListBox::Create(Form& form, bool sorted) {
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY |
                      LBS_NOINTEGRALHEIGHT | (sorted ? LBS_SORT : 0);
  return CreateStandard(L"LISTBOX", form.Handle(), style, WS_EX_CLIENTEDGE) &&
         UseFormFont(form, Handle());
}

void ListBox::Clear() {
  if (Handle()) SendMessageW(Handle(), LB_RESETCONTENT, 0, 0);
}

void ListBox::AddItem(const std::wstring& text) {
  if (Handle()) SendMessageW(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::vector<std::wstring> ListBox::Items() const {
  std::vector<std::wstring> out;
  if (!Handle()) return out;
  const auto n = SendMessageW(Handle(), LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < n; ++i) {
    const auto len = SendMessageW(Handle(), LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    if (len < 0) continue;
    std::wstring s(static_cast<std::size_t>(len) + 1, L'\0');
    SendMessageW(Handle(), LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(s.data()));
    s.resize(static_cast<std::size_t>(len));
    out.push_back(std::move(s));
  }
  return out;
}

int ListBox::ListIndex() const {
  if (!Handle()) return -1;
  const auto i = SendMessageW(Handle(), LB_GETCURSEL, 0, 0);
  return i == LB_ERR ? -1 : static_cast<int>(i);
}

void ListBox::SetListIndex(int index) {
  if (Handle()) SendMessageW(Handle(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::wstring ListBox::Text() const {
  const int i = ListIndex();
  if (i < 0) return {};
  const auto items = Items();
  return static_cast<std::size_t>(i) < items.size() ? items[static_cast<std::size_t>(i)]
                                                      : std::wstring();
}

void ListBox::OnCommand(WORD code) {
  std::function<void()> run = code == LBN_SELCHANGE ? Click
                              : code == LBN_DBLCLK  ? DblClick
                                                    : nullptr;
  if (run) run();
}

bool TabHeader::Create(Form& form, const std::vector<std::wstring>& tabs) {
  if (!CreateStandard(WC_TABCONTROLW, form.Handle(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS) ||
      !UseFormFont(form, Handle()))
    return false;
  for (std::size_t i = 0; i < tabs.size(); ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(tabs[i].c_str());
    SendMessageW(Handle(), TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
  return true;
}

bool Swatch::Create(Form& form) {
  return CreateOwn(form.Handle(), WS_CHILD | WS_VISIBLE, WS_EX_CLIENTEDGE);
}

void Swatch::SetBackColor(std::int32_t colour) {
  colour_ = colour;
  if (Handle()) InvalidateRect(Handle(), nullptr, TRUE);
}

LRESULT Swatch::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(Handle(), &ps);
      RECT r;
      GetClientRect(Handle(), &r);
      Brush fill(CreateSolidBrush(SkinColour(colour_)));
      FillRect(dc, &r, fill.Get());
      EndPaint(Handle(), &ps);
      return 0;
    }
    case WM_LBUTTONUP:
      if (Click) {
        auto click = Click;
        click();
      }
      return 0;
    default:
      return Window::OnMessage(msg, wParam, lParam);
  }
}

bool FormLabel::Create(Form& form, const std::wstring& caption) {
  return CreateStandard(L"STATIC", form.Handle(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                        0, caption.c_str()) &&
         UseFormFont(form, Handle());
}

std::wstring FormLabel::Caption() const { return TextOf(Handle()); }

}  // namespace tk
