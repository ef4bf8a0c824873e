#include "toolkit/TextMeasure.h"

namespace tk {

TextMeasure::~TextMeasure() {
  if (dc_) {
    if (previous_) SelectObject(dc_, previous_);
    DeleteDC(dc_);
  }
}

void TextMeasure::SetFont(HFONT font) {
  if (!dc_) dc_ = CreateCompatibleDC(nullptr);
  if (!dc_) return;
  HGDIOBJ old = SelectObject(dc_, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
  if (!previous_) previous_ = old;
  widths_.clear();
  latin_.fill(-1);
}

int TextMeasure::Width(const std::wstring& text) {
  if (text.empty() || !dc_) return 0;
  int total = 0;
  for (wchar_t ch : text) {
    // Surrogates and combining marks need the shaping GDI does: measure the whole text there.
    if ((ch >= 0xD800 && ch <= 0xDFFF) || (ch >= 0x0300 && ch <= 0x036F)) {
      SIZE size{};
      GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &size);
      return size.cx;
    }
    if (ch < 256) {
      int& w = latin_[ch];
      if (w < 0 && !GetCharWidth32W(dc_, ch, ch, &w)) w = 0;
      total += w;
      continue;
    }
    auto it = widths_.find(ch);
    if (it == widths_.end()) {
      INT w = 0;
      if (!GetCharWidth32W(dc_, ch, ch, &w)) w = 0;
      it = widths_.emplace(ch, w).first;
    }
    total += it->second;
  }
  return total;
}

}  // namespace tk
