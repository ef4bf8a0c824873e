// The scroll bar: its range and value, and the bar drawn and driven by the mouse as the
// platform's own, sending its parent WM_VSCROLL / WM_HSCROLL.
#include <algorithm>

#include "toolkit/Controls.h"
#include "toolkit/Gdi.h"

namespace tk {

namespace {
constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kFirstDelayMs = 200;
constexpr UINT kRepeatDelayMs = 50;
}  // namespace

bool ScrollBar::Create(HWND parent, bool vertical) {
  vertical_ = vertical;
  info_.cbSize = sizeof info_;
  return CreateOwn(parent, WS_CHILD);
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
  // Setting what the bar already shows costs a repaint: skip it.
  if (shown_ && shown_->min == min_ && shown_->max == max_ && shown_->value == value_) return;
  shown_ = Shown{min_, max_, value_};
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_POS | SIF_PAGE | SIF_DISABLENOSCROLL;
  si.nMin = min_;
  si.nMax = max_;
  si.nPage = 0;
  si.nPos = value_;
  // Painted with the next paint, once for however many changes a layout makes.
  SetScrollInfo(Handle(), SB_CTL, &si, FALSE);
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

// ---- The bar on screen ----

ScrollBar::Track ScrollBar::Measure() const {
  RECT r{};
  GetClientRect(Handle(), &r);
  const int length = vertical_ ? r.bottom : r.right;
  const int thickness = vertical_ ? r.right : r.bottom;
  // Arrows are square; a bar too short for both shares its length between them.
  const int arrow = std::min(thickness, length / 2);
  Track t;
  t.start = arrow;
  t.end = length - arrow;
  const bool scrolls = info_.nMax > info_.nMin && IsWindowEnabled(Handle());
  const int thumb = std::max(arrow, 8);
  if (!scrolls || t.end - t.start < thumb) return t;
  const std::int32_t pos = pressed_ == Part::Thumb ? trackPos_ : info_.nPos;
  const double share = static_cast<double>(pos - info_.nMin) / (info_.nMax - info_.nMin);
  t.thumbStart = t.start + static_cast<int>(share * (t.end - t.start - thumb) + 0.5);
  t.thumbEnd = t.thumbStart + thumb;
  return t;
}

ScrollBar::Part ScrollBar::HitTest(POINT p) const {
  RECT r{};
  GetClientRect(Handle(), &r);
  if (!PtInRect(&r, p)) return Part::None;
  const Track t = Measure();
  const int at = Along(p);
  if (at < t.start) return Part::LineUp;
  if (at >= t.end) return Part::LineDown;
  if (t.thumbEnd <= t.thumbStart) return Part::None;  // disabled: the track does nothing
  if (at < t.thumbStart) return Part::PageUp;
  if (at >= t.thumbEnd) return Part::PageDown;
  return Part::Thumb;
}

std::int32_t ScrollBar::PositionAt(int along) const {
  const Track t = Measure();
  const int room = t.end - t.start - (t.thumbEnd - t.thumbStart);
  if (room <= 0) return info_.nMin;
  const double share =
      std::clamp(static_cast<double>(along - grab_ - t.start) / room, 0.0, 1.0);
  return info_.nMin + static_cast<std::int32_t>(share * (info_.nMax - info_.nMin) + 0.5);
}

void ScrollBar::Paint(HDC dc) const {
  RECT r{};
  GetClientRect(Handle(), &r);
  const Track t = Measure();
  auto span = [&](int from, int to) {
    return vertical_ ? RECT{0, from, r.right, to} : RECT{from, 0, to, r.bottom};
  };
  const RECT track = span(t.start, t.end);
  FillRect(dc, &track, GetSysColorBrush(COLOR_SCROLLBAR));
  const bool scrolls = t.thumbEnd > t.thumbStart;
  if (scrolls) {
    RECT thumb = span(t.thumbStart, t.thumbEnd);
    DrawEdge(dc, &thumb, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    if (pressed_ == Part::PageUp || pressed_ == Part::PageDown) {
      // The held part of the track shows dark while it pages.
      const RECT held = pressed_ == Part::PageUp ? span(t.start, t.thumbStart)
                                                 : span(t.thumbEnd, t.end);
      if (overPressed_) FillRect(dc, &held, GetSysColorBrush(COLOR_3DDKSHADOW));
    }
  }
  Brush arrowBrush(CreateSolidBrush(GetSysColor(scrolls ? COLOR_BTNTEXT : COLOR_GRAYTEXT)));
  Pen arrowPen(CreatePen(PS_SOLID, 1, GetSysColor(scrolls ? COLOR_BTNTEXT : COLOR_GRAYTEXT)));
  SelectObjectScope brush(dc, arrowBrush.Get());
  SelectObjectScope pen(dc, arrowPen.Get());
  const int length = vertical_ ? r.bottom : r.right;
  for (bool first : {true, false}) {
    RECT box = first ? span(0, t.start) : span(t.end, length);
    const bool down = overPressed_ && pressed_ == (first ? Part::LineUp : Part::LineDown);
    DrawEdge(dc, &box, down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_MIDDLE);
    const int cx = (box.left + box.right) / 2 + (down ? 1 : 0);
    const int cy = (box.top + box.bottom) / 2 + (down ? 1 : 0);
    const int h = std::max<int>(1, std::min<int>(box.right - box.left, box.bottom - box.top) / 5);
    POINT tri[3];
    if (vertical_) {
      const int tip = first ? cy - h : cy + h, base = first ? cy + h / 2 : cy - h / 2;
      tri[0] = {cx, tip}, tri[1] = {cx - h * 2 + 1, base}, tri[2] = {cx + h * 2 - 1, base};
    } else {
      const int tip = first ? cx - h : cx + h, base = first ? cx + h / 2 : cx - h / 2;
      tri[0] = {tip, cy}, tri[1] = {base, cy - h * 2 + 1}, tri[2] = {base, cy + h * 2 - 1};
    }
    Polygon(dc, tri, 3);
  }
}

// ---- The mouse ----

void ScrollBar::Send(WORD code, std::int32_t position) {
  const WPARAM w = MAKEWPARAM(code, static_cast<WORD>(std::clamp(position, 0, 0xFFFF)));
  SendMessageW(GetParent(Handle()), vertical_ ? WM_VSCROLL : WM_HSCROLL, w,
               reinterpret_cast<LPARAM>(Handle()));
}

void ScrollBar::Repeat() {
  if (!overPressed_) return;
  switch (pressed_) {
    case Part::LineUp: Send(SB_LINEUP); break;
    case Part::LineDown: Send(SB_LINEDOWN); break;
    case Part::PageUp:
    case Part::PageDown: {
      // Paging stops once the thumb has reached the pointer.
      if (HitTest(pointer_) != pressed_) return;
      Send(pressed_ == Part::PageUp ? SB_PAGEUP : SB_PAGEDOWN);
      break;
    }
    default: break;
  }
}

void ScrollBar::EndTracking() {
  if (pressed_ == Part::None) return;
  const Part ended = pressed_;
  pressed_ = Part::None;
  overPressed_ = false;
  KillTimer(Handle(), kRepeatTimer);
  if (GetCapture() == Handle()) ReleaseCapture();
  if (ended == Part::Thumb) Send(SB_THUMBPOSITION, trackPos_);
  Send(SB_ENDSCROLL);
  InvalidateRect(Handle(), nullptr, FALSE);
}

LRESULT ScrollBar::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case SBM_SETSCROLLINFO: {
      const auto* si = reinterpret_cast<const SCROLLINFO*>(lParam);
      if (!si) return info_.nPos;
      if (si->fMask & SIF_RANGE) info_.nMin = si->nMin, info_.nMax = si->nMax;
      if (si->fMask & SIF_PAGE) info_.nPage = si->nPage;
      if (si->fMask & SIF_POS) info_.nPos = si->nPos;
      info_.nPos = std::clamp(info_.nPos, info_.nMin, std::max(info_.nMin, info_.nMax));
      InvalidateRect(Handle(), nullptr, FALSE);
      if (wParam) UpdateWindow(Handle());
      return info_.nPos;
    }
    case SBM_GETSCROLLINFO: {
      auto* si = reinterpret_cast<SCROLLINFO*>(lParam);
      if (!si) return FALSE;
      if (si->fMask & SIF_RANGE) si->nMin = info_.nMin, si->nMax = info_.nMax;
      if (si->fMask & SIF_PAGE) si->nPage = info_.nPage;
      if (si->fMask & SIF_POS) si->nPos = info_.nPos;
      if (si->fMask & SIF_TRACKPOS) si->nTrackPos = pressed_ == Part::Thumb ? trackPos_ : info_.nPos;
      return TRUE;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(Handle(), &ps);
      Paint(dc);
      EndPaint(Handle(), &ps);
      return 0;
    }
    case WM_SETFOCUS:
      if (GotFocus) {
        auto handler = GotFocus;  // it may replace itself
        handler();
      }
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      // As the platform's bar: a bar that is a tab stop takes the focus when pressed.
      if (GetWindowLongPtrW(Handle(), GWL_STYLE) & WS_TABSTOP) SetFocus(Handle());
      const POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      pointer_ = p;
      pressed_ = HitTest(p);
      if (pressed_ == Part::None) return 0;
      overPressed_ = true;
      SetCapture(Handle());
      if (pressed_ == Part::Thumb) {
        const Track t = Measure();
        grab_ = Along(p) - t.thumbStart;
        trackPos_ = info_.nPos;
        Send(SB_THUMBTRACK, trackPos_);
      } else {
        Repeat();
        SetTimer(Handle(), kRepeatTimer, kFirstDelayMs, nullptr);
      }
      InvalidateRect(Handle(), nullptr, FALSE);
      return 0;
    }
    case WM_MOUSEMOVE: {
      if (pressed_ == Part::None) return 0;
      const POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      pointer_ = p;
      if (pressed_ == Part::Thumb) {
        const std::int32_t at = PositionAt(Along(p));
        if (at != trackPos_) {
          trackPos_ = at;
          Send(SB_THUMBTRACK, trackPos_);
          InvalidateRect(Handle(), nullptr, FALSE);
        }
        return 0;
      }
      const bool over = HitTest(p) == pressed_ ||
                        ((pressed_ == Part::PageUp || pressed_ == Part::PageDown) &&
                         HitTest(p) != Part::None);
      if (over != overPressed_) {
        overPressed_ = over;
        InvalidateRect(Handle(), nullptr, FALSE);
      }
      return 0;
    }
    case WM_TIMER:
      if (wParam != kRepeatTimer) break;
      SetTimer(Handle(), kRepeatTimer, kRepeatDelayMs, nullptr);
      Repeat();
      return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
      EndTracking();
      return 0;
    case WM_KEYDOWN: {
      const bool up = wParam == VK_UP || wParam == VK_LEFT;
      const bool down = wParam == VK_DOWN || wParam == VK_RIGHT;
      if (up || down) Send(up ? SB_LINEUP : SB_LINEDOWN);
      else if (wParam == VK_PRIOR || wParam == VK_NEXT) Send(wParam == VK_PRIOR ? SB_PAGEUP : SB_PAGEDOWN);
      else if (wParam == VK_HOME || wParam == VK_END) Send(wParam == VK_HOME ? SB_TOP : SB_BOTTOM);
      else break;
      Send(SB_ENDSCROLL);
      return 0;
    }
    case WM_ENABLE:
      InvalidateRect(Handle(), nullptr, FALSE);
      return 0;
    default:
      break;
  }
  return Window::OnMessage(msg, wParam, lParam);
}

}  // namespace tk
