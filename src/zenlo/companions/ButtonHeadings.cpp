#include "zenlo/button_headings.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cstdint>
#include <cwchar>

#include "companions/ButtonHeadingsWindow.h"
#include "library/CallLifetime.h"
#include "library/ModuleLocks.h"
#include "listing/model/HeadingsTable.h"
#include "toolkit/Gdi.h"
#include "toolkit/MousePointer.h"
#include "toolkit/Text.h"

namespace zenlo {

namespace {

const wchar_t kColourSortTip[] = L"After color coding files, double click to sort by color.";
const wchar_t kResizeReady[] = L"ResizeReady";
const wchar_t kResize[] = L"Resize";

// Edge zone: within 100 twips of the right edge, inside 30-twip top and bottom margins.
constexpr float kEdgeZone = 100;
constexpr float kEdgeMargin = 30;

// The value as a 32-bit number; texts may be decimal or "&H" hexadecimal. False when it is
// none, so a damaged skin value leaves the colour as it was.
bool ColourNumber(const Variant& value, std::int32_t& n) {
  const auto* text = std::get_if<std::wstring>(&value);
  if (!text) {
    if (std::holds_alternative<std::monostate>(value)) return false;
    n = VariantLong(value);
    return true;
  }
  const std::wstring t = tk::Trim(*text);
  if (t.empty()) return false;
  const bool hex = t.size() > 2 && t[0] == L'&' && (t[1] == L'H' || t[1] == L'h');
  const wchar_t* start = t.c_str() + (hex ? 2 : 0);
  wchar_t* end = nullptr;
  const long long v = std::wcstoll(start, &end, hex ? 16 : 10);
  if (end == start || *end != L'\0') return false;
  if (hex ? (v < 0 || v > 0xFFFFFFFFLL) : (v < INT32_MIN || v > INT32_MAX)) return false;
  n = static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
  return true;
}

short ShiftState(WPARAM wParam) {
  return static_cast<short>(((wParam & MK_SHIFT) ? 1 : 0) | ((wParam & MK_CONTROL) ? 2 : 0) |
                            ((GetKeyState(VK_MENU) < 0) ? 4 : 0));
}

HFONT MakeFont(int points, const wchar_t* face) {
  HDC screen = GetDC(nullptr);
  const int height = -MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face);
}

int FontHeightPx(HFONT font) {
  HDC screen = GetDC(nullptr);
  HGDIOBJ old = SelectObject(screen, font);
  TEXTMETRICW tm{};
  GetTextMetricsW(screen, &tm);
  SelectObject(screen, old);
  ReleaseDC(nullptr, screen);
  return tm.tmHeight;
}

RECT TwipsRect(int left, int top, int width, int height) {
  return RECT{left, top, left + width, top + height};
}
}  // namespace

// Keeps the button alive while one of its handlers is on the stack.
class button_headings::Hold {
 public:
  explicit Hold(button_headings& b) : hold_(b, *b.lifetime_) {}

 private:
  CallLifetime::Hold hold_;
};

button_headings* button_headings::Create() { return new button_headings(); }

button_headings::button_headings()
    : lifetime_(std::make_unique<CallLifetime>()),
      faceColour_(GetSysColor(COLOR_BTNFACE)),
      window_(std::make_unique<ButtonHeadingsWindow>()) {
  ModuleLocks().Add();
  // Nothing starts the timer; a tick only stops it.
  window_->Timer1.OnTick = [this] { window_->Timer1.SetInterval(0); };
}

button_headings::~button_headings() {
  if (GetCapture() == window_->Frame.Handle() && window_->Frame.Handle()) {
    releasingCapture_ = true;
    ReleaseCapture();
  }
  window_.reset();
  ModuleLocks().Remove();
}

HRESULT STDMETHODCALLTYPE button_headings::QueryInterface(REFIID riid, void** ppv) {
  return QueryPublishedInterface(this, IID_button_headings, riid, ppv);
}

ULONG STDMETHODCALLTYPE button_headings::AddRef() { return lifetime_->AddRef(); }

ULONG STDMETHODCALLTYPE button_headings::Release() {
  // When only running handlers still hold it, the owner has let go: nothing more is raised.
  const ULONG left = lifetime_->Release([this] {
    closing_ = true;
    sink_ = nullptr;
  });
  if (left == 0) delete this;
  return left;
}

void button_headings::AttachEvents(button_headingsEvents* sink) {
  sink_ = closing_ ? nullptr : sink;
}

// An exception of the owner's handler never comes back into the button. The caller holds the
// button (the owner may let go inside the event).
template <typename F>
void button_headings::Raise(F&& f) {
  if (!sink_ || closing_) return;
  try {
    f(*sink_);
  } catch (...) {
  }
}

// ---- The window ----

bool button_headings::CreateFrame(HWND parent, std::int16_t Index, const std::wstring& Name) {
  ButtonHeadingsWindow& w = *window_;
  if (w.Frame.Handle()) return true;
  index_ = Index;
  name_ = Name;
  caption_ = Name;
  // The colour-sort hint belongs to the colour heading only.
  toolTip_ = Index == 0 ? kColourSortTip : L"";
  if (!w.Frame.Create(parent, WS_CHILD | WS_VISIBLE,
                      [this](UINT m, WPARAM wp, LPARAM lp, LRESULT& r) {
                        return OnMessage(m, wp, lp, r);
                      }))
    return false;
  w.CaptionFont.Reset(MakeFont(8, L"MS Sans Serif"));
  w.NumberFont.Reset(MakeFont(7, L"Arial"));
  DoResize = true;
  LayOutParts();
  DoResize = false;
  return true;
}

void ButtonHeadingsWindow::EnsureTip(const std::wstring& text) {
  if (Tip || !Frame.Handle()) return;
  // A host may site the button alone: the tip's window class is registered here, not only by
  // the listing's toolbar.
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  Tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, Frame.Handle(), nullptr,
                        GetModuleHandleW(nullptr), nullptr);
  if (!Tip) return;
  TTTOOLINFOW info{};
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = Frame.Handle();
  info.uId = reinterpret_cast<UINT_PTR>(Frame.Handle());
  info.lpszText = const_cast<wchar_t*>(text.c_str());
  SendMessageW(Tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

HWND button_headings::Window() const { return window_->Frame.Handle(); }

unsigned button_headings::TimerInterval() const { return window_->Timer1.Interval(); }

float button_headings::WidthTwips() const {
  return static_cast<float>(window_->Frame.Width() * tk::TwipsPerPixelX());
}

float button_headings::HeightTwips() const {
  return static_cast<float>(window_->Frame.Height() * tk::TwipsPerPixelY());
}

// ---- Persisted property ----

void button_headings::ReadProperties(const PropertyBag& bag) {
  const Variant* caption = bag.Find(L"Caption");
  caption_ = caption ? VariantText(*caption) : name_;
  propertiesChanged_ = false;
  Repaint();
}

void button_headings::WriteProperties(PropertyBag& bag) {
  bag.Write(L"Caption", caption_);
  propertiesChanged_ = false;
}

void button_headings::SetCaption(const std::wstring& value) {
  caption_ = value;
  propertiesChanged_ = true;
  Repaint();
}

// ---- Published methods ----

void button_headings::Highlight(const bool& OnOff) {
  faceColour_ = OnOff ? colorActiveHeading_ : colorInactiveHeading_;
  SetCaptionColour(OnOff ? colorActiveHeadingText_ : colorInactiveHeadingText_);
  savedTextColour_ = captionColour_;
}

void button_headings::SetToolTip(const std::wstring& tip) {
  if (tip == toolTip_) return;
  toolTip_ = tip;
  HWND tipWindow = window_->Tip;
  if (!tipWindow) return;
  TTTOOLINFOW info{};
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.hwnd = window_->Frame.Handle();
  info.uId = reinterpret_cast<UINT_PTR>(window_->Frame.Handle());
  info.lpszText = const_cast<wchar_t*>(toolTip_.c_str());
  SendMessageW(tipWindow, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}

void button_headings::ResetLabelTextColour(const bool& hilightColor) {
  SetCaptionColour(hilightColor ? colorActiveHeadingText_ : colorInactiveHeadingText_);
}

void button_headings::ApplyProperty(const std::wstring& PropName, const Variant& TheValue) {
  COLORREF* field = nullptr;
  // Compared exactly: a name in other letter case is not one of the button's.
  if (PropName == L"ColorActiveHeading")
    field = &colorActiveHeading_;
  else if (PropName == L"ColorInactiveHeading")
    field = &colorInactiveHeading_;
  else if (PropName == L"ColorActiveHeadingText")
    field = &colorActiveHeadingText_;
  else if (PropName == L"ColorInactiveHeadingText")
    field = &colorInactiveHeadingText_;
  else if (PropName == L"ColorHeadingHoverText")
    field = &colorHeadingHoverText_;
  std::int32_t n = 0;
  if (field && ColourNumber(TheValue, n)) *field = tk::SkinColour(n);
}

void button_headings::ShowSort(const std::wstring& sortOrder, const std::wstring& strNum) {
  const std::wstring order = tk::UpperCase(sortOrder);
  sortArrow_ = order == L"ASC" || order == L"DES" ? order : L"";
  sortNumber_ = strNum;
  parts_.SortArrow = POINT{30, 0};
  parts_.SortNumber = POINT{30 + 150, 30};
  Repaint();
}

void button_headings::StopTimer() { window_->Timer1.SetInterval(0); }

// ---- Layout and look ----

void button_headings::LayOutParts() {
  if (!DoResize) return;
  const int w = static_cast<int>(WidthTwips());
  const int h = static_cast<int>(HeightTwips());
  const int p = 2 * tk::TwipsPerPixelX();
  int outlineWidth = w - 15 - p;
  if (outlineWidth <= 0) outlineWidth = w - p;
  parts_.Outline = TwipsRect(p, 0, outlineWidth, h);
  if (w - 80 < 0) {
    parts_.Caption = RECT{};
  } else {
    const int labelHeight = FontHeightPx(window_->CaptionFont.Get()) * tk::TwipsPerPixelY();
    parts_.Caption = TwipsRect(40, (h - labelHeight) / 2 + 25, w - 80, labelHeight);
  }
  parts_.Cover = TwipsRect(0, 0, w, h);
  parts_.SortNumber = POINT{230, 30};
  parts_.SortArrow = POINT{30, 0};
  Repaint();
}

void button_headings::Repaint() {
  if (window_->Frame.Handle()) InvalidateRect(window_->Frame.Handle(), nullptr, FALSE);
}

void button_headings::SetCaptionColour(COLORREF colour) {
  if (colour == captionColour_) return;
  captionColour_ = colour;
  Repaint();
}

void button_headings::SetPointer(int shape) { tk::SetScreenMousePointer(shape); }

// ---- The pointer ----

// Hover: the pointer over the covering area while the button does not hold the capture.
void button_headings::OnCoverMove(short button, short shift, float x, float y) {
  const RECT& c = parts_.Caption;
  if (x >= static_cast<float>(c.left) && x < static_cast<float>(c.right) &&
      y >= static_cast<float>(c.top) && y < static_cast<float>(c.bottom)) {
    bool doResize = false;
    Raise([&](button_headingsEvents& s) { s.MouseMove(button, shift, x, y, doResize); });
    if (closing_) return;
  }
  if (!CanBeResized || FixedSlot()) {
    SetPointer(tk::PointerDefault);
    short pointer = 0;
    Raise([&](button_headingsEvents& s) { s.SetMousePointer(pointer); });
    // The colour heading explains its double click; any other keeps the tip its owner gave.
    if (index_ == 0) SetToolTip(kColourSortTip);
    return;
  }
  HWND self = window_->Frame.Handle();
  if (GetCapture() == self) {
    if (x < 0 || x > WidthTwips() || y < 0 || y > HeightTwips()) {
      releasingCapture_ = true;
      ReleaseCapture();
      releasingCapture_ = false;
    }
  } else {
    SetCapture(self);
  }
  // Asked once per hover: the caption leaves the plain colours until the hover ends.
  if (captionColour_ == colorActiveHeadingText_ || captionColour_ == colorInactiveHeadingText_) {
    SetCaptionColour(colorHeadingHoverText_);
    float minX = hoverMinX_, maxX = hoverMaxX_;
    Raise([&](button_headingsEvents& s) { s.GetMinMaxX(minX, maxX); });
    hoverMinX_ = minX;
    hoverMaxX_ = maxX;
  }
  // A fast pointer may reach the edge with this very move: the press that follows must find
  // the edge ready.
  if (GetCapture() == self && OnEdge(x, y)) MakeEdgeReady(x);
}

bool button_headings::InHoverArea(float x, float y) const {
  return x >= hoverMinX_ && x >= 0 && x <= WidthTwips() && x <= hoverMaxX_ && y >= 0 &&
         y <= HeightTwips();
}

bool button_headings::OnEdge(float x, float y) const {
  return InHoverArea(x, y) && x > WidthTwips() - kEdgeZone && y > kEdgeMargin &&
         y < HeightTwips() - kEdgeMargin;
}

void button_headings::MakeEdgeReady(float x) {
  resizeState_ = kResizeReady;
  resizeStartX_ = x;
  SetPointer(tk::PointerSizeWE);
}

void button_headings::SetModes(const float& X, const float& Y) {
  if (FixedSlot()) return;
  Hold hold(*this);
  if (resizeState_ == kResize) {
    float diff = X - resizeStartX_;
    Raise([&](button_headingsEvents& s) { s.ResizeButton(diff); });
    return;
  }
  if (!InHoverArea(X, Y)) {
    EndHover();
    return;
  }
  if (OnEdge(X, Y)) {
    MakeEdgeReady(X);
    return;
  }
  resizeState_.clear();
  SetPointer(tk::PointerDefault);
  short pointer = 0;
  Raise([&](button_headingsEvents& s) { s.SetMousePointer(pointer); });
}

// The pointer left the hover area: the caption, the capture and the pointer go back, and an
// edge that was ready is no longer (a size arrow must not outlive the edge).
void button_headings::EndHover() {
  SetCaptionColour(savedTextColour_);
  if (GetCapture() == window_->Frame.Handle()) {
    releasingCapture_ = true;
    ReleaseCapture();
    releasingCapture_ = false;
  }
  resizeState_.clear();
  SetPointer(tk::PointerDefault);
  short pointer = 0;
  Raise([&](button_headingsEvents& s) { s.SetMousePointer(pointer); });
}

void button_headings::OnCoverDown(short button) {
  if (button == 1) coverPressed_ = true;
}

void button_headings::OnCoverUp(short button, short shift, float x, float y) {
  const bool pressed = coverPressed_;
  coverPressed_ = false;
  if (button != 1) return;
  if (doubleClickSeen_) {
    doubleClickSeen_ = false;
    Raise([&](button_headingsEvents& s) { s.DblClick(button, shift, x, y); });
    return;
  }
  if (pressed) Raise([](button_headingsEvents& s) { s.Click(); });
}

void button_headings::OnOwnDown(short button, short shift, float x, float y) {
  if (button != 1) return;
  // The press is judged where it lands too: no move may have been judged on the edge yet.
  if (resizeState_.empty() && CanBeResized && !FixedSlot() && OnEdge(x, y)) MakeEdgeReady(x);
  if (resizeState_ != kResizeReady) return;
  resizeState_ = kResize;
  Raise([&](button_headingsEvents& s) { s.MouseDown(button, shift, x, y); });
}

void button_headings::OnOwnUp(short button, short shift, float x, float y) {
  if (button != 1) return;
  if (doubleClickSeen_) {
    doubleClickSeen_ = false;
    if (tk::ScreenMousePointer() == tk::PointerSizeWE) {
      short shift1 = shift;
      Raise([&](button_headingsEvents& s) { s.ResizeColumn1(shift1); });
    } else {
      Raise([&](button_headingsEvents& s) { s.DblClick(button, shift, x, y); });
    }
    return;
  }
  if (resizeState_ != kResize) {
    Raise([](button_headingsEvents& s) { s.Click(); });
    return;
  }
  resizeState_.clear();
  Raise([](button_headingsEvents& s) { s.ResizeFinished(); });
  if (closing_) return;
  SetPointer(tk::PointerDefault);
  SetModes(x, y);
}

void button_headings::OnDoubleClick() { doubleClickSeen_ = true; }

// Another window took the capture (a menu, a dialog): a running drag ends as a release would,
// so the owner keeps the width it shows.
void button_headings::OnCaptureLost() {
  if (releasingCapture_) return;
  const bool dragging = resizeState_ == kResize;
  resizeState_.clear();
  SetCaptionColour(savedTextColour_);
  SetPointer(tk::PointerDefault);
  if (dragging) Raise([](button_headingsEvents& s) { s.ResizeFinished(); });
}

bool button_headings::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  ButtonHeadingsWindow& w = *window_;
  const float x = static_cast<float>(GET_X_LPARAM(lParam) * tk::TwipsPerPixelX());
  const float y = static_cast<float>(GET_Y_LPARAM(lParam) * tk::TwipsPerPixelY());
  const bool captured = GetCapture() == w.Frame.Handle();
  switch (msg) {
    case WM_MOUSEMOVE: {
      Hold hold(*this);
      if (!w.Tip) {
        w.EnsureTip(toolTip_);
        // The tip watches the button from the next message on; this one it is handed.
        MSG move{w.Frame.Handle(), msg, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {}};
        if (w.Tip) SendMessageW(w.Tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
      }
      if (captured) {
        SetModes(x, y);
      } else {
        OnCoverMove((wParam & MK_LBUTTON) ? 1 : 0, ShiftState(wParam), x, y);
      }
      result = 0;
      return true;
    }
    case WM_LBUTTONDOWN: {
      Hold hold(*this);
      if (captured)
        OnOwnDown(1, ShiftState(wParam), x, y);
      else
        OnCoverDown(1);
      result = 0;
      return true;
    }
    case WM_LBUTTONUP: {
      Hold hold(*this);
      if (captured)
        OnOwnUp(1, ShiftState(wParam), x, y);
      else
        OnCoverUp(1, ShiftState(wParam), x, y);
      result = 0;
      return true;
    }
    case WM_LBUTTONDBLCLK:
      OnDoubleClick();
      if (!captured) coverPressed_ = true;
      result = 0;
      return true;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != w.Frame.Handle()) {
        Hold hold(*this);
        OnCaptureLost();
      }
      return false;
    case WM_SETCURSOR:
      if (tk::ScreenMousePointer() == tk::PointerSizeWE) {
        SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
        result = TRUE;
        return true;
      }
      return false;
    case WM_SIZE:
      LayOutParts();
      return false;
    case WM_ERASEBKGND:
      result = 1;
      return true;
    case WM_PAINT:
      Paint();
      result = 0;
      return true;
    default:
      return false;
  }
}

}  // namespace zenlo
