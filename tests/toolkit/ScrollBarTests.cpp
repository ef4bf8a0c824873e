// The toolkit's own scroll bar under the mouse: what a press on each of its parts tells the
// parent, and what the bar's value becomes once the parent hands that on.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "toolkit/Controls.h"

namespace {

// A parent that hands the bar's scroll messages back to it, as the control's surface does.
class ScrollParent {
 public:
  ScrollParent() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &ScrollParent::Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ScrollBarTestParent";
    RegisterClassW(&wc);
    hwnd_ = CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300,
                            300, nullptr, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~ScrollParent() { DestroyWindow(hwnd_); }
  HWND Handle() const { return hwnd_; }
  tk::ScrollBar* Bar = nullptr;
  std::vector<WORD> Codes;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<ScrollParent*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && msg == WM_VSCROLL && self->Bar &&
        reinterpret_cast<HWND>(lParam) == self->Bar->Handle()) {
      self->Codes.push_back(LOWORD(wParam));
      self->Bar->OnScroll(LOWORD(wParam));
      return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
  HWND hwnd_;
};

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

TEST(ScrollBar, PressesOnItsPartsScrollAsThePlatformBarDoes) {
  // A 20 x 200 bar: arrows of 20 pixels at both ends, the track between them.
  struct Case {
    const char* what;
    std::int32_t max;
    std::int32_t start;
    int pressY, releaseY;
    std::vector<WORD> codes;
    std::int32_t value;
  };
  const std::vector<Case> cases = {
      {"down arrow", 100, 10, 190, 190, {SB_LINEDOWN, SB_ENDSCROLL}, 11},
      {"up arrow", 100, 10, 5, 5, {SB_LINEUP, SB_ENDSCROLL}, 9},
      {"track below the thumb", 100, 0, 150, 150, {SB_PAGEDOWN, SB_ENDSCROLL}, 7},
      {"thumb dragged to the end", 100, 0, 25, 199,
       {SB_THUMBTRACK, SB_THUMBTRACK, SB_THUMBPOSITION, SB_ENDSCROLL}, 100},
      {"nothing to scroll: the track does nothing", 0, 0, 100, 100, {}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScrollParent parent;
    tk::ScrollBar bar;
    ASSERT_TRUE(bar.Create(parent.Handle(), true));
    parent.Bar = &bar;
    SetWindowPos(bar.Handle(), nullptr, 0, 0, 20, 200, SWP_NOZORDER | SWP_SHOWWINDOW);
    bar.SetRange(0, c.max);
    bar.SetValue(c.start);
    bar.LargeChange = 7;
    int changes = 0;
    bar.Change = [&] { ++changes; };
    SendMessageW(bar.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(10, c.pressY));
    SendMessageW(bar.Handle(), WM_MOUSEMOVE, MK_LBUTTON, At(10, c.releaseY));
    SendMessageW(bar.Handle(), WM_LBUTTONUP, 0, At(10, c.releaseY));
    EXPECT_EQ(parent.Codes, c.codes);
    EXPECT_EQ(bar.Value(), c.value);
    EXPECT_EQ(changes > 0, c.value != c.start);
    // What the platform's scroll calls read from the bar is what it shows.
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_POS;
    ASSERT_TRUE(GetScrollInfo(bar.Handle(), SB_CTL, &si));
    EXPECT_EQ(si.nPos, c.value);
    EXPECT_EQ(si.nMax, c.max);
    EXPECT_NE(GetCapture(), bar.Handle());
  }
}

}  // namespace
