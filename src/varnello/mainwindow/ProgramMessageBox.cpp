#include "mainwindow/ProgramMessageBox.h"

#include <utility>

#include "toolkit/EventLoop.h"
#include "toolkit/MousePointer.h"
#include "toolkit/Text.h"

namespace varnello {

namespace {

constexpr int kFirstButtonId = 101;  // c1; c2..c4 follow

// Design positions in twips: c1 rightmost, c4 leftmost.
constexpr int kButtonLeft[4] = {6555, 5475, 4395, 3315};
constexpr int kButtonTop = 1905, kButtonWidth = 1095, kButtonHeight = 375;

std::function<void(MessageBoxForm&)>& ShownHook() {
  static std::function<void(MessageBoxForm&)> hook;
  return hook;
}

constexpr UINT kShownMessage = WM_APP + 41;

int X(double twips) { return tk::TwipsToPixels(twips, tk::TwipsPerPixelX()); }
int Y(double twips) { return tk::TwipsToPixels(twips, tk::TwipsPerPixelY()); }

}  // namespace

ButtonSet ButtonsFor(long buttons) {
  if (buttons == 1) return {{L"No", L"Yes", L"", L""}};
  if (buttons == 2) return {{L"Cancel", L"No", L"Yes", L""}};
  return {{L"OK", L"", L"", L""}};
}

std::wstring WithErrorSuffix(const std::wstring& text, long errNum, const std::wstring& errDes) {
  return text + L"\r\n\r\nThe system also returned the following error information:\r\n\r\n" +
         std::to_wstring(errNum) + L" - " + errDes;
}

void MessageBoxForm::SetShownHook(std::function<void(MessageBoxForm&)> hook) {
  ShownHook() = std::move(hook);
}

MessageBoxForm::~MessageBoxForm() = default;

void MessageBoxForm::CreateChildren() {
  font_.Reset(CreateFontW(-MulDiv(9, 96, 72), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                          0, 0, L"Arial"));
  white_.Reset(CreateSolidBrush(RGB(255, 255, 255)));
  // c1 first: it has the first tab stop and the focus when the box opens.
  for (int n = 0; n < 4; ++n) {
    buttons_[n] = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON,
                                  X(kButtonLeft[n]), Y(kButtonTop), X(kButtonWidth),
                                  Y(kButtonHeight), Handle(),
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstButtonId + n)),
                                  nullptr, nullptr);
    SendMessageW(buttons_[n], WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
  }
  text_ = CreateWindowExW(0, L"EDIT", L"",
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_READONLY |
                              ES_AUTOVSCROLL,
                          X(2100), Y(60), X(5475), Y(1755), Handle(), nullptr, nullptr, nullptr);
  SendMessageW(text_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
}

void MessageBoxForm::SetButtons(long buttons) {
  const ButtonSet set = ButtonsFor(buttons);
  for (int n = 0; n < 4; ++n) ShowWindow(buttons_[n], set.Captions[n].empty() ? SW_HIDE : SW_SHOW);
  for (int n = 0; n < 4; ++n)
    if (!set.Captions[n].empty()) SetWindowTextW(buttons_[n], set.Captions[n].c_str());
}

std::wstring MessageBoxForm::ShowModal(HWND owner, const std::wstring& text, long buttons) {
  answer_.clear();
  done_ = false;
  if (!CreateOwn(owner, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, WS_EX_DLGMODALFRAME))
    return {};
  SetWindowTextW(Handle(), L"Varnello");
  CreateChildren();
  SetWindowTextW(text_, text.c_str());

  RECT frame{0, 0, X(kClientWidthTwips), Y(kClientHeightTwips)};
  AdjustWindowRectEx(&frame, WS_POPUP | WS_CAPTION | WS_SYSMENU, FALSE, WS_EX_DLGMODALFRAME);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  // Centred on the owner's centre, not clamped: a small owner leaves the box sticking out.
  RECT o{};
  if (owner && GetWindowRect(owner, &o)) {
  } else {
    o = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  const double left = o.left + (o.right - o.left) / 2.0 - width / 2.0;
  const double top = o.top + (o.bottom - o.top) / 2.0 - height / 2.0;
  SetWindowPos(Handle(), nullptr, static_cast<int>(left), static_cast<int>(top), width, height,
               SWP_NOZORDER | SWP_NOACTIVATE);
  SetButtons(buttons);

  const int savedPointer = tk::ScreenMousePointer();
  tk::SetScreenMousePointer(tk::PointerArrow);
  const bool ownerWasEnabled = owner && IsWindowEnabled(owner);
  if (ownerWasEnabled) EnableWindow(owner, FALSE);
  ShowWindow(Handle(), SW_SHOW);
  SetFocus(buttons_[0]);
  if (ShownHook()) PostMessageW(Handle(), kShownMessage, 0, 0);

  const tk::ModalEnd end = tk::RunModalLoop([this] { return Handle(); }, done_);
  if (ownerWasEnabled) EnableWindow(owner, TRUE);
  if (Handle()) ShowWindow(Handle(), SW_HIDE);
  Destroy();
  if (owner) SetActiveWindow(owner);
  tk::SetScreenMousePointer(savedPointer);
  if (end.Quit) PostQuitMessage(end.Code);  // the loop that owns the quit gets it back
  return answer_;
}

std::wstring MessageBoxForm::ButtonCaption(int n) const {
  if (n < 1 || n > 4 || !buttons_[n - 1]) return {};
  wchar_t text[64] = L"";
  GetWindowTextW(buttons_[n - 1], text, 64);
  return text;
}

bool MessageBoxForm::ButtonVisible(int n) const {
  return n >= 1 && n <= 4 && buttons_[n - 1] && IsWindowVisible(buttons_[n - 1]);
}

std::wstring MessageBoxForm::Text() const {
  if (!text_) return {};
  std::wstring s(static_cast<size_t>(GetWindowTextLengthW(text_)) + 1, L'\0');
  s.resize(static_cast<size_t>(GetWindowTextW(text_, s.data(), static_cast<int>(s.size()))));
  return s;
}

void MessageBoxForm::Press(int n) {
  if (n >= 1 && n <= 4 && ButtonVisible(n)) Finish(tk::UpperCase(ButtonCaption(n)));
}

void MessageBoxForm::CloseWithoutAnswer() { Finish(L""); }

void MessageBoxForm::Finish(std::wstring answer) {
  if (done_) return;
  answer_ = std::move(answer);
  done_ = true;
  PostMessageW(Handle(), WM_NULL, 0, 0);  // wakes the modal loop
}

void MessageBoxForm::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(Handle(), &ps);
  RECT client;
  GetClientRect(Handle(), &client);
  FillRect(dc, &client, white_.Get());
  // The picture: our own small emblem, drawn left of the dividing line.
  const int cx = X(1000), cy = Y(1000), r = X(600);
  tk::Brush ring(CreateSolidBrush(RGB(50, 67, 149)));
  tk::Brush inner(CreateSolidBrush(RGB(255, 255, 255)));
  {
    tk::SelectObjectScope b(dc, ring.Get());
    tk::SelectObjectScope p(dc, GetStockObject(NULL_PEN));
    Ellipse(dc, cx - r, cy - r, cx + r, cy + r);
  }
  {
    tk::SelectObjectScope b(dc, inner.Get());
    tk::SelectObjectScope p(dc, GetStockObject(NULL_PEN));
    Ellipse(dc, cx - r / 2, cy - r / 2, cx + r / 2, cy + r / 2);
  }
  tk::Pen line(CreatePen(PS_SOLID, 1, RGB(128, 128, 128)));
  tk::SelectObjectScope lp(dc, line.Get());
  MoveToEx(dc, X(2000), Y(120), nullptr);
  LineTo(dc, X(2000), Y(2100));
  EndPaint(Handle(), &ps);
}

LRESULT MessageBoxForm::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
      SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
      return reinterpret_cast<LRESULT>(white_.Get());
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (id >= kFirstButtonId && id < kFirstButtonId + 4) {
        Press(id - kFirstButtonId + 1);
      } else if (id == IDOK) {
        // Enter: the button with the focus, else c1.
        HWND focus = GetFocus();
        for (int n = 0; n < 4; ++n)
          if (buttons_[n] == focus) return Press(n + 1), 0;
        Press(1);
      } else if (id == IDCANCEL) {
        CloseWithoutAnswer();
      }
      return 0;
    }
    case WM_CLOSE:
      CloseWithoutAnswer();
      return 0;
    case kShownMessage:
      if (ShownHook()) ShownHook()(*this);
      return 0;
    default:
      return Window::OnMessage(msg, wParam, lParam);
  }
}

}  // namespace varnello
