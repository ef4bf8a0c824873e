#include "toolkit/Gdi.h"

#include "toolkit/Text.h"

namespace tk {

COLORREF SkinColour(std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  if (bits & 0x80000000u) return GetSysColor(static_cast<int>(bits & 0xFFu));
  return static_cast<COLORREF>(bits & 0xFFFFFFu);
}

std::int32_t ColorWordToRgb(const std::wstring& word) {
  struct Entry {
    const wchar_t* word;
    COLORREF colour;
  };
  static const Entry table[] = {
      {L"red", RGB(255, 0, 0)},         {L"blue", RGB(0, 0, 255)},
      {L"black", RGB(0, 0, 0)},         {L"gray", RGB(120, 120, 120)},
      {L"dark green", RGB(54, 151, 58)}, {L"light green", RGB(0, 255, 0)},
      {L"cyan", RGB(0, 210, 255)},      {L"lavender", RGB(183, 21, 217)},
      {L"orange", RGB(255, 120, 0)},    {L"yellow", RGB(255, 255, 0)},
      {L"burgundy", RGB(121, 10, 30)},
  };
  if (SameText(word, L"default")) return -1;
  for (const auto& e : table)
    if (SameText(word, e.word)) return static_cast<std::int32_t>(e.colour);
  return 0;
}

bool MemorySurface::Create(int width, int height, COLORREF fill, HDC like) {
  Destroy();
  HDC reference = like ? like : GetDC(nullptr);
  HDC dc = CreateCompatibleDC(reference);
  HBITMAP bitmap = dc ? CreateCompatibleBitmap(reference, width, height) : nullptr;
  if (!like) ReleaseDC(nullptr, reference);
  if (!dc || !bitmap) {
    if (bitmap) DeleteObject(bitmap);
    if (dc) DeleteDC(dc);
    return false;
  }
  HGDIOBJ previous = SelectObject(dc, bitmap);
  if (!previous || previous == HGDI_ERROR) {
    DeleteObject(bitmap);
    DeleteDC(dc);
    return false;
  }
  dc_ = dc;
  bitmap_ = bitmap;
  previous_ = previous;
  width_ = capacityWidth_ = width;
  height_ = capacityHeight_ = height;
  Fill(fill);
  return true;
}

bool MemorySurface::Reuse(int width, int height, COLORREF fill, HDC like) {
  if (!dc_ || width > capacityWidth_ || height > capacityHeight_)
    return Create(width, height, fill, like);
  width_ = width;
  height_ = height;
  Fill(fill);
  return true;
}

void MemorySurface::Fill(COLORREF colour) {
  if (!dc_) return;
  Brush brush(CreateSolidBrush(colour));
  RECT all{0, 0, width_, height_};
  FillRect(dc_, &all, brush.Get());
  SetBkColor(dc_, colour);
}

void MemorySurface::Destroy() {
  if (dc_ && previous_) SelectObject(dc_, previous_);
  if (bitmap_) DeleteObject(bitmap_);
  if (dc_) DeleteDC(dc_);
  dc_ = nullptr;
  bitmap_ = nullptr;
  previous_ = nullptr;
  width_ = height_ = capacityWidth_ = capacityHeight_ = 0;
}

}  // namespace tk
