#pragma once
// Owners of the standard child controls with the toolkit's semantics.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/Window.h"

namespace tk {

// A scroll bar with 32-bit Min/Max/Value. Setting a range or value that moves the value raises
// Change at once, as the user's scrolling does. The owner forwards WM_VSCROLL/WM_HSCROLL.
// The bar draws itself: the platform's bar takes milliseconds per paint under Wine, and every
// listing has two. It answers SBM_SETSCROLLINFO and SBM_GETSCROLLINFO as the platform's does,
// and sends its parent the same scroll codes.
class ScrollBar : public Window {
 public:
  bool Create(HWND parent, bool vertical);
  std::int32_t Min() const { return min_; }
  std::int32_t Max() const { return max_; }
  std::int32_t Value() const { return value_; }
  void SetMin(std::int32_t v) { SetRange(v, max_ < v ? v : max_); }
  void SetMax(std::int32_t v) { SetRange(min_ > v ? v : min_, v); }
  void SetRange(std::int32_t min, std::int32_t max);
  // A value outside Min..Max is refused; returns whether it was taken.
  bool SetValue(std::int32_t v);
  std::int32_t SmallChange = 1;
  std::int32_t LargeChange = 1;
  // Handles the scroll message this bar sent to its parent.
  void OnScroll(WORD code);
  std::function<void()> Change;
  std::function<void()> GotFocus;

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  enum class Part { None, LineUp, PageUp, Thumb, PageDown, LineDown };
  struct Track {
    int start = 0, end = 0;             // the room between the arrows, pixels along the bar
    int thumbStart = 0, thumbEnd = 0;   // empty when there is no thumb
  };
  void Apply();
  Track Measure() const;
  Part HitTest(POINT p) const;
  int Along(POINT p) const { return vertical_ ? p.y : p.x; }
  std::int32_t PositionAt(int along) const;
  void Paint(HDC dc) const;
  void Send(WORD code, std::int32_t position = 0);
  void Repeat();
  void EndTracking();
  bool vertical_ = true;
  std::int32_t min_ = 0, max_ = 0, value_ = 0;
  struct Shown {
    std::int32_t min, max, value;
  };
  std::optional<Shown> shown_;  // what the bar was last told to show
  SCROLLINFO info_{};           // what it shows
  Part pressed_ = Part::None;   // held by the mouse
  bool overPressed_ = false;
  POINT pointer_{};             // where the mouse was last seen while a part is held
  int grab_ = 0;                // pixels from the thumb's start to the pointer
  std::int32_t trackPos_ = 0;   // where a dragged thumb stands
};

// A drop-down combo box whose text can also be typed.
class ComboBox : public Window {
 public:
  bool Create(HWND parent, int widthPx, int heightPx);
  std::wstring Text() const;
  void SetText(const std::wstring& text);
  void Clear();
  void AddItem(const std::wstring& text);
  std::vector<std::wstring> Items() const;
};

// An image list whose images are found by key.
class ImageList {
 public:
  ImageList() = default;
  ~ImageList();
  ImageList(const ImageList&) = delete;
  ImageList& operator=(const ImageList&) = delete;
  bool Create(int width, int height);
  // Adds a bitmap whose maskColour pixels are transparent; returns its index or -1.
  int Add(const std::wstring& key, HBITMAP bitmap, COLORREF maskColour);
  int IndexOf(const std::wstring& key) const;
  HIMAGELIST Handle() const { return list_; }

 private:
  HIMAGELIST list_ = nullptr;
  std::vector<std::wstring> keys_;
};

// A toolbar whose buttons are found by key; the owner forwards WM_COMMAND and WM_NOTIFY.
class Toolbar : public Window {
 public:
  struct Button {
    std::wstring Key;
    std::wstring ToolTip;
    bool Separator = false;
    bool DropDown = false;
    bool Check = false;
    int SpaceWidth = 0;  // pixels of empty room instead of a button (room for another control)
  };
  bool Create(HWND parent);
  void SetImageList(const ImageList& images);
  void AddButton(const Button& button);
  bool HasButton(const std::wstring& key) const { return IndexOf(key) >= 0; }
  void SetImage(const std::wstring& key, int image);
  void SetVisible(const std::wstring& key, bool visible);
  void SetEnabled(const std::wstring& key, bool enabled);
  bool Value(const std::wstring& key) const;  // a check button is pressed
  void SetValue(const std::wstring& key, bool pressed);
  // The tip shown over a button, changeable while the program runs.
  std::wstring ToolTip(const std::wstring& key) const;
  void SetToolTip(const std::wstring& key, const std::wstring& text);
  RECT ButtonRect(const std::wstring& key) const;  // pixels in the toolbar
  int PreferredHeight() const;
  const std::vector<Button>& Buttons() const { return buttons_; }
  // Handles the notifications the toolbar sent to its parent; true when they were its own.
  bool OnCommand(WPARAM wParam, LPARAM lParam);
  bool OnNotify(LPARAM lParam, LRESULT& result);
  std::function<void(const std::wstring& key)> ButtonClick;

 private:
  int IndexOf(const std::wstring& key) const;
  std::vector<Button> buttons_;
  std::vector<std::wstring> tips_;
};

}  // namespace tk
