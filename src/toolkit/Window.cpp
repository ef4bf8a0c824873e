#include "toolkit/Window.h"

#include <cmath>

#include "toolkit/Gdi.h"

namespace tk {

namespace {
const wchar_t kClassName[] = L"VarnelloToolkitWindow";

int ScreenTwipsPerPixel(int index) {
  HDC screen = GetDC(nullptr);
  int dpi = screen ? GetDeviceCaps(screen, index) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? 1440 / dpi : 15;
}

HINSTANCE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                         GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}
}  // namespace

// The screen's resolution is read once: the program does not follow DPI changes while it runs.
int TwipsPerPixelX() {
  static const int tpp = ScreenTwipsPerPixel(LOGPIXELSX);
  return tpp;
}
int TwipsPerPixelY() {
  static const int tpp = ScreenTwipsPerPixel(LOGPIXELSY);
  return tpp;
}

int TwipsToPixels(double twips, int twipsPerPixel) {
  return static_cast<int>(std::nearbyint(twips / twipsPerPixel));  // default mode: halves to even
}

Window::~Window() { Destroy(); }

void Window::Destroy() {
  if (!hwnd_) return;
  HWND h = hwnd_;
  hwnd_ = nullptr;
  SetWindowLongPtrW(h, GWLP_USERDATA, 0);
  DestroyWindow(h);
}

bool Window::CreateOwn(HWND parent, DWORD style, DWORD exStyle) {
  static ATOM atom = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &Window::Proc;
    wc.hInstance = ThisModule();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    return RegisterClassExW(&wc);
  }();
  if (!atom) return false;
  hwnd_ = CreateWindowExW(exStyle, kClassName, L"", style, 0, 0, 0, 0, parent, nullptr,
                          ThisModule(), this);
  return hwnd_ != nullptr;
}

bool Window::CreateStandard(const wchar_t* className, HWND parent, DWORD style, DWORD exStyle,
                            const wchar_t* text) {
  hwnd_ = CreateWindowExW(exStyle, className, text, style, 0, 0, 0, 0, parent, nullptr,
                          ThisModule(), nullptr);
  return hwnd_ != nullptr;
}

LRESULT CALLBACK Window::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
    auto* self = static_cast<Window*>(cs->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
  return self->OnMessage(msg, wParam, lParam);
}

LRESULT Window::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

void Window::SetBounds(int x, int y, int width, int height) {
  if (hwnd_) MoveWindow(hwnd_, x, y, width < 0 ? 0 : width, height < 0 ? 0 : height, TRUE);
}

void Window::SetVisible(bool visible) {
  if (hwnd_) ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}

bool Window::Visible() const { return hwnd_ && IsWindowVisible(hwnd_); }

int Window::Width() const {
  RECT r{};
  if (hwnd_) GetClientRect(hwnd_, &r);
  return r.right;
}

int Window::Height() const {
  RECT r{};
  if (hwnd_) GetClientRect(hwnd_, &r);
  return r.bottom;
}

bool HandlerWindow::Create(HWND parent, DWORD style, Handler handler, DWORD exStyle) {
  handler_ = std::move(handler);
  return CreateOwn(parent, style, exStyle);
}

LRESULT HandlerWindow::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (handler_ && handler_(msg, wParam, lParam, result)) return result;
  return Window::OnMessage(msg, wParam, lParam);
}

bool Label::Create(HWND parent) { return CreateOwn(parent, WS_CHILD | WS_VISIBLE); }

void Label::SetCaption(const std::wstring& text) {
  if (text == caption_) return;
  caption_ = text;
  if (Handle()) InvalidateRect(Handle(), nullptr, TRUE);
}

void Label::SetColours(COLORREF text, COLORREF background) {
  fore_ = text;
  back_ = background;
  if (Handle()) InvalidateRect(Handle(), nullptr, TRUE);
}

void Label::Refresh() {
  if (!Handle()) return;
  InvalidateRect(Handle(), nullptr, TRUE);
  UpdateWindow(Handle());
}

LRESULT Label::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(Handle(), &ps);
      RECT r;
      GetClientRect(Handle(), &r);
      Brush back(CreateSolidBrush(back_));
      FillRect(dc, &r, back.Get());
      HGDIOBJ oldFont = font_ ? SelectObject(dc, font_) : nullptr;
      SetTextColor(dc, fore_);
      SetBkMode(dc, TRANSPARENT);
      DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &r,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
      if (oldFont) SelectObject(dc, oldFont);
      EndPaint(Handle(), &ps);
      return 0;
    }
    default:
      return Window::OnMessage(msg, wParam, lParam);
  }
}

}  // namespace tk
