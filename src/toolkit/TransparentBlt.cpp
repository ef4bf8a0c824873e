#include "toolkit/TransparentBlt.h"

#include "toolkit/Gdi.h"

namespace tk {

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kPictureKey = RGB(0, 255, 0);

// Sets a DC's text and background colours for a scope. They decide how a 1-bit mask turns into
// colour (0 bits become the text colour, 1 bits the background colour).
class MonoColoursScope {
 public:
  MonoColoursScope(HDC dc, COLORREF text, COLORREF background)
      : dc_(dc), oldText_(SetTextColor(dc, text)), oldBack_(SetBkColor(dc, background)) {}
  ~MonoColoursScope() {
    if (oldText_ != CLR_INVALID) SetTextColor(dc_, oldText_);
    if (oldBack_ != CLR_INVALID) SetBkColor(dc_, oldBack_);
  }
  MonoColoursScope(const MonoColoursScope&) = delete;
  MonoColoursScope& operator=(const MonoColoursScope&) = delete;
  bool Ok() const { return oldText_ != CLR_INVALID && oldBack_ != CLR_INVALID; }

 private:
  HDC dc_;
  COLORREF oldText_;
  COLORREF oldBack_;
};

// Sets a DC's stretch mode for a scope.
class StretchModeScope {
 public:
  StretchModeScope(HDC dc, int mode) : dc_(dc), old_(SetStretchBltMode(dc, mode)) {}
  ~StretchModeScope() {
    if (old_) SetStretchBltMode(dc_, old_);
  }
  StretchModeScope(const StretchModeScope&) = delete;
  StretchModeScope& operator=(const StretchModeScope&) = delete;

 private:
  HDC dc_;
  int old_;
};

// ChromaBlt through an off-screen copy of the destination area, so the destination never shows
// the intermediate black holes of the masked combination.
bool BufferedChromaBlt(HDC hdcDest, int xDest, int yDest, int widthDest, int heightDest, HDC hdcSrc,
                       int xSrc, int ySrc, int widthSrc, int heightSrc, COLORREF keyColor) {
  // GDI hands out its shared 1x1 stock bitmap for an empty size, which is no buffer.
  if (widthDest <= 0 || heightDest <= 0) return false;
  MemoryDc buffer;
  if (!buffer) return false;
  Bitmap bitmap(CreateCompatibleBitmap(hdcDest, widthDest, heightDest));
  if (!bitmap) return false;
  SelectObjectScope select(buffer.Get(), bitmap.Get());
  if (!select.Ok()) return false;
  if (!BitBlt(buffer.Get(), 0, 0, widthDest, heightDest, hdcDest, xDest, yDest, SRCCOPY)) return false;
  if (!ChromaBlt(buffer.Get(), 0, 0, widthDest, heightDest, hdcSrc, xSrc, ySrc, widthSrc, heightSrc,
                 keyColor, false)) {
    return false;
  }
  return BitBlt(hdcDest, xDest, yDest, widthDest, heightDest, buffer.Get(), 0, 0, SRCCOPY) != 0;
}

}  // namespace

HBITMAP CreateMaskBitmap(HDC hdcSrc, int x, int y, int width, int height, COLORREF keyColor) {
  if (width <= 0 || height <= 0) return nullptr;
  MemoryDc dc(hdcSrc);
  if (!dc) return nullptr;
  Bitmap mask(CreateBitmap(width, height, 1, 1, nullptr));
  if (!mask) return nullptr;
  bool copied = false;
  {
    SelectObjectScope select(dc.Get(), mask.Get());
    if (!select.Ok()) return nullptr;
    // A colour-to-mono copy turns the pixels equal to the source's background colour into 1s.
    const COLORREF oldBack = SetBkColor(hdcSrc, keyColor);
    if (oldBack == CLR_INVALID) return nullptr;
    copied = BitBlt(dc.Get(), 0, 0, width, height, hdcSrc, x, y, SRCCOPY) != 0;
    SetBkColor(hdcSrc, oldBack);
  }
  return copied ? mask.Release() : nullptr;
}

bool ChromaBlt(HDC hdcDest, int xDest, int yDest, int widthDest, int heightDest, HDC hdcSrc, int xSrc,
               int ySrc, int widthSrc, int heightSrc, COLORREF keyColor, bool useBuffer) {
  if (useBuffer) {
    return BufferedChromaBlt(hdcDest, xDest, yDest, widthDest, heightDest, hdcSrc, xSrc, ySrc, widthSrc,
                             heightSrc, keyColor);
  }
  Bitmap mask(CreateMaskBitmap(hdcSrc, xSrc, ySrc, widthSrc, heightSrc, keyColor));
  if (!mask) return false;
  MemoryDc maskDc(hdcDest);
  MemoryDc imageDc(hdcDest);
  if (!maskDc || !imageDc) return false;
  Bitmap image(CreateCompatibleBitmap(hdcDest, widthSrc, heightSrc));
  if (!image) return false;
  SelectObjectScope selectMask(maskDc.Get(), mask.Get());
  SelectObjectScope selectImage(imageDc.Get(), image.Get());
  if (!selectMask.Ok() || !selectImage.Ok()) return false;

  // The image is the source with its key pixels turned black: XOR with the mask drawn as key
  // colour (1 bits) on black (0 bits).
  {
    MonoColoursScope imageColours(imageDc.Get(), kBlack, keyColor);
    if (!BitBlt(imageDc.Get(), 0, 0, widthSrc, heightSrc, hdcSrc, xSrc, ySrc, SRCCOPY) ||
        !BitBlt(imageDc.Get(), 0, 0, widthSrc, heightSrc, maskDc.Get(), 0, 0, SRCINVERT)) {
      return false;
    }
  }

  // AND with the mask as white (key) on black blanks the opaque pixels; XOR with the image then
  // puts the source colours into them and leaves the key pixels as they were.
  MonoColoursScope destColours(hdcDest, kBlack, kWhite);
  if (!destColours.Ok()) return false;
  if (widthDest == widthSrc && heightDest == heightSrc) {
    return BitBlt(hdcDest, xDest, yDest, widthDest, heightDest, maskDc.Get(), 0, 0, SRCAND) &&
           BitBlt(hdcDest, xDest, yDest, widthDest, heightDest, imageDc.Get(), 0, 0, SRCINVERT);
  }
  // The mask and the image must be sampled from the same source pixels: a mode that blends or
  // ANDs neighbours (the default one included) mixes them differently and leaves edge pixels in
  // colours of neither picture.
  StretchModeScope sampled(hdcDest, COLORONCOLOR);
  return StretchBlt(hdcDest, xDest, yDest, widthDest, heightDest, maskDc.Get(), 0, 0, widthSrc, heightSrc,
                    SRCAND) &&
         StretchBlt(hdcDest, xDest, yDest, widthDest, heightDest, imageDc.Get(), 0, 0, widthSrc, heightSrc,
                    SRCINVERT);
}

void TransBlt(HDC dst, HDC src, int x, int y, int width, int height, COLORREF& transColor) {
  // GDI hands out its shared 1x1 stock bitmap for an empty size: there is nothing to draw.
  if (width <= 0 || height <= 0) return;
  MemoryDc maskDc(dst);
  MemoryDc colourDc(dst);
  if (!maskDc || !colourDc) return;
  Bitmap mask(CreateBitmap(width, height, 1, 1, nullptr));
  Bitmap colour(CreateCompatibleBitmap(dst, width, height));
  if (!mask || !colour) return;
  SelectObjectScope selectMask(maskDc.Get(), mask.Get());
  SelectObjectScope selectColour(colourDc.Get(), colour.Get());
  if (!selectMask.Ok() || !selectColour.Ok()) return;
  MonoColoursScope colourDcColours(colourDc.Get(), kBlack, kWhite);

  // Mask: 1 where the source has the key.
  const COLORREF oldBack = SetBkColor(src, transColor);
  if (oldBack == CLR_INVALID) return;
  const bool masked = BitBlt(maskDc.Get(), 0, 0, width, height, src, 0, 0, SRCCOPY) != 0;
  transColor = SetBkColor(src, oldBack);
  // Nothing reaches the destination unless the mask is complete.
  if (!masked || !BitBlt(colourDc.Get(), 0, 0, width, height, maskDc.Get(), 0, 0, SRCCOPY)) return;

  // Opaque pixels of the destination turn white, key pixels stay.
  BitBlt(dst, x, y, width, height, colourDc.Get(), 0, 0, MERGEPAINT);
  // The source with its key pixels turned white...
  BitBlt(maskDc.Get(), 0, 0, width, height, maskDc.Get(), 0, 0, NOTSRCCOPY);
  BitBlt(colourDc.Get(), 0, 0, width, height, src, 0, 0, SRCCOPY);
  BitBlt(colourDc.Get(), 0, 0, width, height, maskDc.Get(), 0, 0, MERGEPAINT);
  // ...ANDed in: white keeps the destination, the white holes take the source.
  BitBlt(dst, x, y, width, height, colourDc.Get(), 0, 0, SRCAND);
}

bool DrawTransparentScaled(HBITMAP picture, HDC hdc, int x, int y, int width, int height, DWORD rop) {
  if (!picture || GetObjectType(picture) != OBJ_BITMAP) return false;
  BITMAP info{};
  if (!GetObjectW(picture, sizeof info, &info)) return false;
  MemoryDc dc;
  if (!dc) return false;
  SelectObjectScope select(dc.Get(), picture);
  if (!select.Ok()) return false;

  const int pictureWidth = info.bmWidth;
  const int pictureHeight = info.bmHeight;
  if (width == 0) width = pictureWidth;
  if (height == 0) height = pictureHeight;
  if (width == pictureWidth && height == pictureHeight) {
    return ChromaBlt(hdc, x, y, width, height, dc.Get(), 0, 0, width, height, kPictureKey, false);
  }
  StretchModeScope colourOnColour(hdc, COLORONCOLOR);
  return StretchBlt(hdc, x, y, width, height, dc.Get(), 0, 0, pictureWidth, pictureHeight, rop) != 0;
}

}  // namespace tk
