#pragma once
// GDI objects owned by small RAII classes.
#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>

namespace tk {

// A colour as skins and hosts send it: RGB with red in the low byte, or a system colour
// (0x80000000 + the GetSysColor index), which is looked up now.
COLORREF SkinColour(std::int32_t value);

// Red + 256 green + 65536 blue for a colour word of the colour coding; -1 for "default", 0 for
// a word that is none of them.
std::int32_t ColorWordToRgb(const std::wstring& word);

// Owns one GDI object (pen, brush, font, bitmap, region).
template <typename H>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(H h) : h_(h) {}
  ~GdiObject() { Reset(); }
  GdiObject(GdiObject&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  GdiObject& operator=(GdiObject&& o) noexcept {
    if (this != &o) {
      Reset();
      h_ = std::exchange(o.h_, nullptr);
    }
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;

  H Get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  void Reset(H h = nullptr) {
    if (h_) DeleteObject(h_);
    h_ = h;
  }
  H Release() { return std::exchange(h_, nullptr); }

 private:
  H h_ = nullptr;
};

using Brush = GdiObject<HBRUSH>;
using Pen = GdiObject<HPEN>;
using Font = GdiObject<HFONT>;
using Bitmap = GdiObject<HBITMAP>;

// Selects an object into a DC for a scope.
class SelectObjectScope {
 public:
  SelectObjectScope(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
  ~SelectObjectScope() {
    if (old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_);
  }
  SelectObjectScope(const SelectObjectScope&) = delete;
  SelectObjectScope& operator=(const SelectObjectScope&) = delete;
  bool Ok() const { return old_ && old_ != HGDI_ERROR; }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A memory DC owning a DC (screen-compatible or compatible with another DC).
class MemoryDc {
 public:
  explicit MemoryDc(HDC compatibleWith = nullptr) : dc_(CreateCompatibleDC(compatibleWith)) {}
  ~MemoryDc() {
    if (dc_) DeleteDC(dc_);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  HDC Get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HDC dc_;
};

// An off-screen drawing surface: a memory DC with its own bitmap selected into it.
class MemorySurface {
 public:
  MemorySurface() = default;
  ~MemorySurface() { Destroy(); }
  MemorySurface(const MemorySurface&) = delete;
  MemorySurface& operator=(const MemorySurface&) = delete;

  // Builds a width x height surface compatible with `like` (the screen when null) and fills it.
  // Returns false, holding nothing, when a step fails.
  bool Create(int width, int height, COLORREF fill, HDC like = nullptr);
  // The same, keeping the bitmap when it is already large enough: a surface drawn again and
  // again is built only when it must grow. Width and Height are the size asked for.
  bool Reuse(int width, int height, COLORREF fill, HDC like = nullptr);
  void Destroy();
  void Fill(COLORREF colour);

  HDC Dc() const { return dc_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Built() const { return dc_ != nullptr; }

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  int capacityWidth_ = 0;
  int capacityHeight_ = 0;
};

}  // namespace tk
