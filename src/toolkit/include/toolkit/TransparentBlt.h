#pragma once
// Copies that leave the destination showing through wherever the source has a key colour.
#include <windows.h>

namespace tk {

// A 1-bit mask of the width x height area at (x, y) of hdcSrc: 1 where the pixel is keyColor,
// 0 elsewhere. The caller owns (and deletes) the result; 0 for an empty size or any failure.
HBITMAP CreateMaskBitmap(HDC hdcSrc, int x, int y, int width, int height, COLORREF keyColor);

// Draws the source area onto the destination area, stretching (colour on colour, whatever the
// destination's stretch mode) when the sizes differ; destination pixels stay where the source has
// keyColor. With useBuffer the work is done in an off-screen copy
// of the destination area, which then reaches the destination in one plain copy. The destination's
// text and background colours are left as they were. False when nothing could be drawn.
bool ChromaBlt(HDC hdcDest, int xDest, int yDest, int widthDest, int heightDest, HDC hdcSrc, int xSrc,
               int ySrc, int widthSrc, int heightSrc, COLORREF keyColor, bool useBuffer);

// Draws the width x height area at (0, 0) of src onto dst at (x, y), leaving dst unchanged where
// src has transColor. transColor receives what putting back src's background colour replaced,
// i.e. the key as src held it. Reports no failure; an empty size draws nothing.
void TransBlt(HDC dst, HDC src, int x, int y, int width, int height, COLORREF& transColor);

// Draws a picture whose pure green RGB(0,255,0) is transparent at (x, y). A width or height of 0
// means the picture's own one. At its own size the green shows the destination; at another size
// the whole picture is stretched (colour on colour) with the raster operation rop. The picture is
// left untouched and selected into no DC afterwards.
bool DrawTransparentScaled(HBITMAP picture, HDC hdc, int x, int y, int width, int height, DWORD rop);

}  // namespace tk
