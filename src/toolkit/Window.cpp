#include "toolkit/Window.h"

#include <commctrl.h>

#include <cmath>

#include "toolkit/Gdi.h"

namespace tk {

namespace {
const wchar_t kClassName[] = L"VarnelloToolkitWindow";
ATOM g_classAtom = 0;

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

bool RegisterWindowClass() {
  if (g_classAtom) return true;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = &Window::Proc;
  wc.hInstance = ThisModule();
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kClassName;
  g_classAtom = RegisterClassExW(&wc);
  if (!g_classAtom && GetLastError() == ERROR_CLASS_ALREADY_EXISTS) {
    // Left behind by an earlier copy of this module at the same address: its procedure may be
    // gone with it.
    UnregisterClassW(kClassName, ThisModule());
    g_classAtom = RegisterClassExW(&wc);
  }
  return g_classAtom != 0;
}

void UnregisterWindowClass() {
  if (!g_classAtom) return;
  if (UnregisterClassW(kClassName, ThisModule())) g_classAtom = 0;
}

Window::~Window() {
  if (deleted_) *deleted_ = true;
  Destroy();
}

Window* Window::FromHandle(HWND hwnd) {
  if (!hwnd) return nullptr;
  const auto proc = GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
  const bool ours = proc == reinterpret_cast<LONG_PTR>(&Window::StandardProc) ||
                    (g_classAtom && GetClassLongPtrW(hwnd, GCW_ATOM) == g_classAtom);
  return ours ? reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)) : nullptr;
}

void Window::Destroy() {
  if (!hwnd_) return;
  HWND h = hwnd_;
  hwnd_ = nullptr;
  SetWindowLongPtrW(h, GWLP_USERDATA, 0);
  if (standard_ && GetWindowLongPtrW(h, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&Window::StandardProc))
    SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(standardProc_));
  DestroyWindow(h);
}

bool Window::CreateOwn(HWND parent, DWORD style, DWORD exStyle) {
  if (!RegisterWindowClass()) return false;
  standard_ = false;
  hwnd_ = CreateWindowExW(exStyle, kClassName, L"", style, 0, 0, 0, 0, parent, nullptr,
                          ThisModule(), this);
  return hwnd_ != nullptr;
}

bool Window::CreateStandard(const wchar_t* className, HWND parent, DWORD style, DWORD exStyle,
                            const wchar_t* text) {
  hwnd_ = CreateWindowExW(exStyle, className, text, style, 0, 0, 0, 0, parent, nullptr,
                          ThisModule(), nullptr);
  if (!hwnd_) return false;
  standard_ = true;
  // Only to hear of its end: a parent destroyed first takes the control with it. A stored
  // procedure, not SetWindowSubclass: under Wine that makes every message ~100 times slower.
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  standardProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Window::StandardProc)));
  return true;
}

LRESULT CALLBACK Window::StandardProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  // Let go by its owner while another subclass still sits above: the class's own procedure.
  const WNDPROC next = self ? self->standardProc_
                            : reinterpret_cast<WNDPROC>(GetClassLongPtrW(hwnd, GCLP_WNDPROC));
  if (msg == WM_NCDESTROY && self) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    if (self->hwnd_ == hwnd) self->hwnd_ = nullptr;
  }
  return CallWindowProcW(next, hwnd, msg, wParam, lParam);
}

// The boundary between user32 and our handlers: no exception passes it, the handler may delete
// the object, and the handle is forgotten when the window ends.
LRESULT CALLBACK Window::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
    auto* self = static_cast<Window*>(cs->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
  bool deleted = false;
  bool* const outer = self->deleted_;
  self->deleted_ = &deleted;
  LRESULT result = 0;
  try {
    result = self->OnMessage(msg, wParam, lParam);
  } catch (...) {
    if (!deleted) self->ReportError();
    result = deleted ? 0 : DefWindowProcW(hwnd, msg, wParam, lParam);
  }
  if (deleted) {
    if (outer) *outer = true;
    return result;
  }
  self->deleted_ = outer;
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    if (self->hwnd_ == hwnd) self->hwnd_ = nullptr;
  }
  return result;
}

void Window::ReportError() {
  if (!errorHandler_) return;
  try {
    errorHandler_();
  } catch (...) {
    // A failing report has nowhere further to go.
  }
}

LRESULT Window::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

LRESULT ModelessForm::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CLOSE) {
    Destroy();
    return 0;
  }
  return Window::OnMessage(msg, wParam, lParam);
}

RECT RectInParent(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

void ChildPlacement::Move(HWND hwnd, int x, int y, int width, int height) {
  if (!hwnd) return;
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  const RECT asked{x, y, x + width, y + height};
  const bool child = (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD) != 0;
  if (child && hwnd == hwnd_ && SameRect(asked, asked_) && SameRect(RectInParent(hwnd), kept_))
    return;
  MoveWindow(hwnd, x, y, width, height, TRUE);
  hwnd_ = child ? hwnd : nullptr;
  asked_ = asked;
  if (child) kept_ = RectInParent(hwnd);
}

void Window::SetBounds(int x, int y, int width, int height) {
  placement_.Move(hwnd_, x, y, width, height);
}

void ShowChild(HWND hwnd, bool visible) {
  if (hwnd && ((GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0) != visible)
    ShowWindow(hwnd, visible ? SW_SHOWNA : SW_HIDE);
}

void Window::SetVisible(bool visible) { ShowChild(hwnd_, visible); }

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
  // The handler may delete this object: keep what the default handling needs.
  const HWND hwnd = Handle();
  if (handler_ && handler_(msg, wParam, lParam, result)) return result;
  return DefWindowProcW(hwnd, msg, wParam, lParam);
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

void Label::SetTextInset(int pixels) {
  if (pixels == inset_) return;
  inset_ = pixels;
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
      r.left += inset_;
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
