#pragma once
// Owners of the standard child controls with the toolkit's semantics.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "toolkit/Window.h"

namespace tk {

// A scroll bar with 32-bit Min/Max/Value. Setting a range or value that moves the value raises
// Change at once, as the user's scrolling does. The owner forwards WM_VSCROLL/WM_HSCROLL.
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

 private:
  void Apply();
  bool vertical_ = true;
  std::int32_t min_ = 0, max_ = 0, value_ = 0;
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

}  // namespace tk
