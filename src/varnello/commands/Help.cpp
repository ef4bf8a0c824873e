#include "commands/Help.h"

#include <algorithm>

namespace varnello {

namespace {

constexpr COLORREF kHeadingColour = RGB(22, 96, 177);
constexpr int kInnerWidthTwips = 6915;
constexpr int kInnerHeightTwips = 7515;
constexpr int kScrollWidthTwips = 300;
constexpr int kMarginTwips = 90;
constexpr int kPageExtraTwips = 30;
constexpr int kSmallChangePx = 13;
// A page narrower than this would break every word into letters.
constexpr int kMinTextWidthPx = 24;
const wchar_t kSupport[] = L"support@varnello.example";

int Px(int twips) { return tk::TwipsToPixels(twips, tk::TwipsPerPixelX()); }
int PxY(int twips) { return tk::TwipsToPixels(twips, tk::TwipsPerPixelY()); }

struct Topic {
  const wchar_t* Heading;
  const wchar_t* Text;
};

const Topic kTopics[] = {
    {L"Selecting Files",
     L"Click in the small gap between an item's icon and its name to select the item; an arrow "
     L"marks every selected item. This is the easy way to pick several files one after the "
     L"other. You can also press the mouse button beside the items and drag over them."},
    {L"Sorting Files and Folders",
     L"Double-click a heading to sort the list by it.\r\n\r\nTo sort by a further heading, "
     L"click that heading once and press the toolbar button with the sort arrow and the plus "
     L"sign, or hold Shift and double-click the heading. A plain double-click starts a sort by "
     L"a single heading again."},
    {L"Color Coding Files",
     L"Select some files, right-click them, choose the colour-code entry and pick a colour. "
     L"Colour coding can be switched off in the Layout menu: listing folders is quicker "
     L"without it."},
    {L"Duplicating Items",
     L"The right-click entry \"duplicate\" copies an item under its own name followed by the "
     L"current date and time, so that the copy sorts next to the original by name."},
    {L"Escape Key",
     L"Esc stops a running folder-size calculation and the reading of a folder."},
    {L"Command Line",
     L"The command line runs a command in the current folder, much like the system's Run box. "
     L"Hold Shift while you press Enter to keep the command window open afterwards."},
    {L"Filtering",
     L"Pick an extension from the drop-down list in the listing's toolbar, or type a filter of "
     L"your own: * stands for any characters, ? for one character and # for one digit."},
    {L"Calculating Folder Sizes",
     L"The calculator button computes the sizes of all folders in the listing; Esc stops it. "
     L"F3 computes the size of the folder under the mouse pointer. The size column must be "
     L"visible. Later runs are faster than the first."},
    {L"File and Folder Change Notifications",
     L"When they are switched on (Options, General page), the status line below a pane shows "
     L"a red notice when files or folders are added to or removed from the active folder. "
     L"Watching starts when the folder first becomes active, and the toolbar's refresh button "
     L"resets it; the first notice comes from a change made outside the active pane.\r\n\r\n"
     L"With the audible chime switched on a short sound plays too. A sound file of your own, "
     L"named like the chime file (CHIME.WAV) and placed in the program folder, replaces the "
     L"built-in sound."},
};

constexpr WORD kNoScroll = 0xFFFF;

// Home and End reach the ends with or without Ctrl, as on a scroll bar.
WORD ScrollCodeOfKey(WPARAM key) {
  switch (key) {
    case VK_UP: return SB_LINEUP;
    case VK_DOWN: return SB_LINEDOWN;
    case VK_PRIOR: return SB_PAGEUP;
    case VK_NEXT: return SB_PAGEDOWN;
    case VK_HOME: return SB_TOP;
    case VK_END: return SB_BOTTOM;
    default: return kNoScroll;
  }
}

}  // namespace

HelpForm::~HelpForm() { Destroy(); }

int HelpForm::InnerHeight() const {
  RECT r{};
  if (Handle()) GetClientRect(Handle(), &r);
  return r.bottom - r.top;
}

HFONT HelpForm::FontOf(Style s) const {
  return s == Style::Title ? title_.Get() : s == Style::Heading ? heading_.Get() : paragraph_.Get();
}

bool HelpForm::Form_Load() {
  const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  if (!CreateOwn(nullptr, style)) return false;
  SetWindowTextW(Handle(), L"Help");
  RECT frame{0, 0, Px(kInnerWidthTwips), PxY(kInnerHeightTwips)};
  AdjustWindowRectEx(&frame, style, FALSE, 0);
  SetWindowPos(Handle(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
  auto font = [](int points, int weight) {
    return CreateFontW(-MulDiv(points, 96, 72), 0, 0, 0, weight, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                       0, 0, L"Arial");
  };
  title_.Reset(font(12, FW_BOLD));
  heading_.Reset(font(10, FW_BOLD));
  paragraph_.Reset(font(10, FW_NORMAL));

  blocks_.clear();
  auto add = [&](std::wstring caption, Style s) { blocks_.push_back({std::move(caption), s}); };
  add(L"Varnello - What's this all about?", Style::Title);
  add(L"Varnello is a file manager for Windows, made to ease your everyday work with files and "
      L"folders. This page gives a few pointers to get the most out of it.",
      Style::Paragraph);
  add(L"Additional Support", Style::Title);
  add(std::wstring(L"Questions, suggestions, bug reports and requests for customisations are "
                   L"welcome by e-mail at ") +
          kSupport + L".",
      Style::Paragraph);
  add(L"Tips", Style::Title);
  for (const Topic& t : kTopics) {
    add(t.Heading, Style::Heading);
    add(t.Text, Style::Paragraph);
  }

  vscroll_.Create(Handle(), true);
  vscroll_.SmallChange = kSmallChangePx;
  vscroll_.LargeChange = std::max(1, InnerHeight());
  vscroll_.Change = [this] { VScroll1_Scroll(); };
  LayOut();
  return true;
}

void HelpForm::LayOut() {
  RECT client{};
  GetClientRect(Handle(), &client);
  const int innerWidth = client.right, innerHeight = client.bottom;
  const int scrollWidth = Px(kScrollWidthTwips);
  // Widths are clamped: a window of any size keeps a page the text can wrap in.
  pageWidth_ = std::max(kMinTextWidthPx + Px(kMarginTwips),
                        innerWidth - scrollWidth - Px(kMarginTwips));
  textWidth_ = pageWidth_ - Px(kMarginTwips);
  HDC dc = GetDC(Handle());
  int top = 0;
  for (Block& b : blocks_) {
    tk::SelectObjectScope font(dc, FontOf(b.Kind));
    RECT r{0, 0, textWidth_, 0};
    DrawTextW(dc, b.Caption.c_str(), static_cast<int>(b.Caption.size()), &r,
              DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    b.Top = top;
    // A paragraph ends in a blank line before the next heading.
    b.Height = (r.bottom - r.top) + (b.Kind == Style::Paragraph ? tm.tmHeight : 0);
    top += b.Height;
  }
  ReleaseDC(Handle(), dc);
  pageHeight_ = top + PxY(kPageExtraTwips);
  SetScrollRange();
  vscroll_.SetBounds(innerWidth - scrollWidth, 0, scrollWidth, innerHeight);
  InvalidateRect(Handle(), nullptr, TRUE);
}

void HelpForm::SetScrollRange() {
  const int hidden = pageHeight_ - InnerHeight();
  if (hidden >= 1) {
    vscroll_.SetRange(0, hidden);
    vscroll_.SetVisible(true);
  } else {
    vscroll_.SetVisible(false);
    vscroll_.SetRange(0, 0);
  }
  pageTop_ = -vscroll_.Value();
}

void HelpForm::Form_Resize() {
  if (!Handle() || IsIconic(Handle())) return;
  LayOut();
}

void HelpForm::VScroll1_Scroll() {
  pageTop_ = -vscroll_.Value();
  InvalidateRect(Handle(), nullptr, TRUE);
}

void HelpForm::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(Handle(), &ps);
  RECT client{};
  GetClientRect(Handle(), &client);
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SetBkMode(dc, TRANSPARENT);
  const int left = Px(kMarginTwips);
  for (const Block& b : blocks_) {
    const int y = pageTop_ + b.Top;
    if (y + b.Height < ps.rcPaint.top || y > ps.rcPaint.bottom) continue;
    tk::SelectObjectScope font(dc, FontOf(b.Kind));
    SetTextColor(dc, b.Kind == Style::Heading ? kHeadingColour : RGB(0, 0, 0));
    RECT r{left, y, left + textWidth_, y + b.Height};
    DrawTextW(dc, b.Caption.c_str(), static_cast<int>(b.Caption.size()), &r,
              DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
  }
  EndPaint(Handle(), &ps);
}

LRESULT HelpForm::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_SIZE:
      Form_Resize();
      return 0;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_VSCROLL:
      if (reinterpret_cast<HWND>(lParam) == vscroll_.Handle()) vscroll_.OnScroll(LOWORD(wParam));
      return 0;
    case WM_KEYDOWN:
      // The keys a focused scroll bar takes; the page has the focus, not the bar.
      if (const WORD code = ScrollCodeOfKey(wParam); code != kNoScroll && vscroll_.Visible()) {
        vscroll_.OnScroll(code);
        return 0;
      }
      break;
    case WM_MOUSEWHEEL:
      if (vscroll_.Visible()) {
        const int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
        const int v = std::clamp(vscroll_.Value() - notches * 3 * kSmallChangePx, vscroll_.Min(),
                                 vscroll_.Max());
        vscroll_.SetValue(v);
      }
      return 0;
    default:
      break;
  }
  return ModelessForm::OnMessage(msg, wParam, lParam);
}

}  // namespace varnello
