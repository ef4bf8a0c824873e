#pragma once
// Measures text in one font quickly: advance widths are cached per character, which gives the
// same width as GetTextExtentPoint32W for text without combining or surrogate characters; such
// text is measured by GDI itself.
#include <windows.h>

#include <array>
#include <string>
#include <unordered_map>

namespace tk {

class TextMeasure {
 public:
  TextMeasure() { latin_.fill(-1); }
  ~TextMeasure();
  TextMeasure(const TextMeasure&) = delete;
  TextMeasure& operator=(const TextMeasure&) = delete;

  void SetFont(HFONT font);
  // Width in pixels.
  int Width(const std::wstring& text);

 private:
  HDC dc_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  std::array<int, 256> latin_;  // -1 until measured
  std::unordered_map<wchar_t, int> widths_;
};

}  // namespace tk
