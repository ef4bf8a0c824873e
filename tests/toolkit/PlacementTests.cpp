// Scroll bars and child windows skip platform calls that would change nothing. What is checked
// here is that the skipping never leaves the platform's window showing something stale.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <vector>

#include "toolkit/Controls.h"
#include "toolkit/Window.h"

namespace {

// Counts the messages a standard control receives that the skipping is meant to spare.
class MessageCount {
 public:
  MessageCount(HWND hwnd, UINT message) : hwnd_(hwnd), message_(message) {
    SetWindowSubclass(hwnd_, &MessageCount::Proc, 77, reinterpret_cast<DWORD_PTR>(this));
  }
  ~MessageCount() { RemoveWindowSubclass(hwnd_, &MessageCount::Proc, 77); }
  int Take() {
    const int n = count_;
    count_ = 0;
    return n;
  }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR data) {
    auto* self = reinterpret_cast<MessageCount*>(data);
    if (msg == self->message_) ++self->count_;
    return DefSubclassProc(hwnd, msg, wParam, lParam);
  }
  HWND hwnd_;
  UINT message_;
  int count_ = 0;
};

class Parent {
 public:
  Parent() {
    hwnd_ = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                            nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  ~Parent() { DestroyWindow(hwnd_); }
  HWND Handle() const { return hwnd_; }

 private:
  HWND hwnd_;
};

TEST(ScrollBar, ThePlatformBarAlwaysShowsTheRangeAndValueAfterEachStep) {
  Parent parent;
  tk::ScrollBar bar;
  ASSERT_TRUE(bar.Create(parent.Handle(), true));
  MessageCount sets(bar.Handle(), SBM_SETSCROLLINFO);

  enum Op { Range, Value };
  struct Step {
    Op op;
    std::int32_t a, b;
    std::int32_t min, max, value;  // what the platform's bar shows afterwards
    bool reachesPlatform;
  };
  const std::vector<Step> steps = {
      {Range, 0, 100, 0, 100, 0, true},
      {Value, 60, 0, 0, 100, 60, true},
      {Range, 0, 100, 0, 100, 60, false},  // nothing changed
      {Value, 60, 0, 0, 100, 60, false},
      {Range, 0, 10, 0, 10, 10, true},      // the value is pulled into the range
      {Range, 0, 100, 0, 100, 10, true},    // and stays where it was pulled
      {Value, 200, 0, 0, 100, 10, false},   // refused: outside the range
      {Range, 20, 30, 20, 30, 20, true},
      {Range, 20, 30, 20, 30, 20, false},
  };
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const Step& s = steps[i];
    if (s.op == Range)
      bar.SetRange(s.a, s.b);
    else
      bar.SetValue(s.a);
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_POS;
    ASSERT_TRUE(GetScrollInfo(bar.Handle(), SB_CTL, &si)) << "step " << i;
    EXPECT_EQ(si.nMin, s.min) << "step " << i;
    EXPECT_EQ(si.nMax, s.max) << "step " << i;
    EXPECT_EQ(si.nPos, s.value) << "step " << i;
    EXPECT_EQ(bar.Value(), s.value) << "step " << i;
    EXPECT_EQ(sets.Take() > 0, s.reachesPlatform) << "step " << i;
  }
}

TEST(ChildPlacement, AWindowIsMovedOnlyWhenItIsNotWhereItWasPut) {
  Parent parent;
  tk::ComboBox box;
  ASSERT_TRUE(box.Create(parent.Handle(), 120, 24));
  MessageCount moves(box.Handle(), WM_WINDOWPOSCHANGING);

  // A drop-down box keeps its closed height, not the open list's height it is given.
  box.SetBounds(10, 20, 150, 200);
  EXPECT_GT(moves.Take(), 0);
  const RECT kept = tk::RectInParent(box.Handle());
  EXPECT_EQ(kept.left, 10);
  EXPECT_EQ(kept.top, 20);
  EXPECT_EQ(kept.right - kept.left, 150);
  EXPECT_LT(kept.bottom - kept.top, 200);

  box.SetBounds(10, 20, 150, 200);
  EXPECT_EQ(moves.Take(), 0) << "the same place again";

  // Moved by someone else: putting it back where it was asked to be is not skipped.
  MoveWindow(box.Handle(), 50, 60, 150, 200, TRUE);
  moves.Take();
  box.SetBounds(10, 20, 150, 200);
  EXPECT_GT(moves.Take(), 0);
  const RECT back = tk::RectInParent(box.Handle());
  EXPECT_EQ(back.left, 10);
  EXPECT_EQ(back.top, 20);

  // A new size is always taken, and a negative one counts as none.
  box.SetBounds(10, 20, 180, 200);
  EXPECT_EQ(tk::RectInParent(box.Handle()).right, 190);
  box.SetBounds(10, 20, -5, 200);
  EXPECT_EQ(tk::RectInParent(box.Handle()).right, 10);
}

}  // namespace
