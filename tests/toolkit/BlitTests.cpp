#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "toolkit/Gdi.h"
#include "toolkit/TransparentBlt.h"

namespace {

using Rows = std::vector<std::string>;

constexpr COLORREF kIconKey = RGB(253, 254, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);

// One letter per colour, so that pictures and expected results read as small grids.
struct PaletteEntry {
  char letter;
  COLORREF colour;
};
constexpr PaletteEntry kPalette[] = {
    {'k', kIconKey},            // the icon key
    {'n', RGB(253, 254, 254)},  // one step off the icon key: opaque
    {'g', kGreen},              // the picture key
    {'R', RGB(255, 0, 0)},      {'B', RGB(0, 0, 255)},     {'W', RGB(255, 255, 255)},
    {'X', RGB(0, 0, 0)},        {'Y', RGB(200, 180, 20)},  {'m', RGB(255, 0, 255)},
    {'C', RGB(0, 255, 255)},    {'y', RGB(255, 255, 0)},
    // destination colours
    {'a', RGB(10, 20, 30)},     {'b', RGB(90, 60, 30)},    {'c', RGB(30, 120, 200)},
};

COLORREF Colour(char letter) {
  for (const auto& e : kPalette)
    if (e.letter == letter) return e.colour;
  ADD_FAILURE() << "no colour for '" << letter << "'";
  return 0;
}

char Letter(COLORREF colour) {
  for (const auto& e : kPalette)
    if (e.colour == colour) return e.letter;
  return '?';
}

enum class Format { Dib32, Dib24, ScreenDdb };

const char* Name(Format f) {
  switch (f) {
    case Format::Dib32: return "32-bit DIB";
    case Format::Dib24: return "24-bit DIB";
    case Format::ScreenDdb: return "screen bitmap";
  }
  return "?";
}

tk::Bitmap MakeBitmap(int width, int height, Format format) {
  if (format == Format::ScreenDdb) {
    HDC screen = GetDC(nullptr);
    tk::Bitmap bitmap(CreateCompatibleBitmap(screen, width, height));
    ReleaseDC(nullptr, screen);
    return bitmap;
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = format == Format::Dib32 ? 32 : 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  return tk::Bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
}

void Paint(HDC dc, const Rows& rows) {
  for (int y = 0; y < static_cast<int>(rows.size()); ++y)
    for (int x = 0; x < static_cast<int>(rows[y].size()); ++x) SetPixel(dc, x, y, Colour(rows[y][x]));
}

Rows Read(HDC dc, int width, int height) {
  Rows rows(height, std::string(width, '?'));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) rows[y][x] = Letter(GetPixel(dc, x, y));
  return rows;
}

// A picture in a bitmap that is selected nowhere.
tk::Bitmap Picture(const Rows& rows, Format format = Format::Dib32) {
  tk::Bitmap bitmap = MakeBitmap(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), format);
  tk::MemoryDc dc;
  tk::SelectObjectScope select(dc.Get(), bitmap.Get());
  Paint(dc.Get(), rows);
  return bitmap;
}

Rows ReadPicture(HBITMAP picture) {
  BITMAP info{};
  GetObjectW(picture, sizeof info, &info);
  tk::MemoryDc dc;
  tk::SelectObjectScope select(dc.Get(), picture);
  return Read(dc.Get(), info.bmWidth, info.bmHeight);
}

// A picture in a memory DC, drawn from a grid of colour letters.
class Canvas {
 public:
  explicit Canvas(const Rows& rows, Format format = Format::Dib32)
      : width_(static_cast<int>(rows[0].size())),
        height_(static_cast<int>(rows.size())),
        bitmap_(MakeBitmap(width_, height_, format)),
        select_(dc_.Get(), bitmap_.Get()) {
    EXPECT_TRUE(select_.Ok()) << Name(format);
    Paint(dc_.Get(), rows);
  }
  HDC Dc() const { return dc_.Get(); }
  Rows Pixels() const { return Read(dc_.Get(), width_, height_); }

 private:
  int width_;
  int height_;
  tk::MemoryDc dc_;
  tk::Bitmap bitmap_;
  tk::SelectObjectScope select_;
};

// The bits of a 1-bit bitmap as '1' and '0', rows top to bottom.
Rows MaskBits(HBITMAP mask) {
  BITMAP info{};
  if (!GetObjectW(mask, sizeof info, &info) || info.bmBitsPixel != 1) return {"not a 1-bit bitmap"};
  std::vector<unsigned char> bits(static_cast<size_t>(info.bmWidthBytes) * info.bmHeight);
  GetBitmapBits(mask, static_cast<LONG>(bits.size()), bits.data());
  Rows rows(info.bmHeight, std::string(info.bmWidth, '0'));
  for (int y = 0; y < info.bmHeight; ++y)
    for (int x = 0; x < info.bmWidth; ++x)
      if (bits[y * info.bmWidthBytes + x / 8] & (0x80 >> (x % 8))) rows[y][x] = '1';
  return rows;
}

const Rows kDest6x5 = {"abcabc", "bcabca", "cabcab", "abcabc", "bcabca"};

// ---------------------------------------------------------------------------------------------

TEST(BlitMask, MarksExactlyTheKeyPixelsOfTheArea) {
  const Rows source = {"kRnBk", "XkWkY", "kkRkk"};
  struct Case {
    const char* name;
    int x, y, width, height;
    COLORREF key;
    Rows expected;
  };
  const Case cases[] = {
      {"whole source, icon key", 0, 0, 5, 3, kIconKey, {"10001", "01010", "11011"}},
      {"inner area", 1, 1, 3, 2, kIconKey, {"101", "101"}},
      {"black key", 0, 1, 2, 2, RGB(0, 0, 0), {"10", "00"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Canvas src(source);
    SetBkColor(src.Dc(), RGB(7, 8, 9));
    tk::Bitmap mask(tk::CreateMaskBitmap(src.Dc(), c.x, c.y, c.width, c.height, c.key));
    ASSERT_TRUE(mask);
    BITMAP info{};
    GetObjectW(mask.Get(), sizeof info, &info);
    EXPECT_EQ(info.bmWidth, c.width);
    EXPECT_EQ(info.bmHeight, c.height);
    EXPECT_EQ(MaskBits(mask.Get()), c.expected);
    EXPECT_EQ(GetBkColor(src.Dc()), RGB(7, 8, 9)) << "source background colour not restored";
    // The caller gets a mask that is selected nowhere.
    tk::MemoryDc dc;
    tk::SelectObjectScope select(dc.Get(), mask.Get());
    EXPECT_TRUE(select.Ok());
  }
}

TEST(BlitMask, NoMaskForAnEmptySizeOrWithoutASource) {
  Canvas src({"kRk", "RkR"});
  const int sizes[][2] = {{0, 2}, {3, 0}, {0, 0}, {-1, 2}, {3, -2}};
  for (const auto& s : sizes) {
    SCOPED_TRACE(testing::Message() << s[0] << " x " << s[1]);
    EXPECT_EQ(tk::CreateMaskBitmap(src.Dc(), 0, 0, s[0], s[1], kIconKey), nullptr);
  }
  EXPECT_EQ(tk::CreateMaskBitmap(nullptr, 0, 0, 3, 2, kIconKey), nullptr);
}

// ---------------------------------------------------------------------------------------------

struct ChromaCase {
  const char* name;
  Rows source;
  int xSrc, ySrc, widthSrc, heightSrc;
  Rows dest;
  int xDest, yDest, widthDest, heightDest;
  COLORREF key;
  Rows expected;
};

const ChromaCase kChromaCases[] = {
    {"same size at an offset",
     {"kRnk", "XkWY", "kkBk"}, 0, 0, 4, 3,
     kDest6x5, 1, 1, 4, 3, kIconKey,
     {"abcabc", "bcRnca", "cXbWYb", "abcBbc", "bcabca"}},
    {"from inside the source",
     {"WWWWW", "WkRkW", "WBkXW"}, 1, 1, 3, 2,
     {"abca", "bcab", "cabc"}, 1, 0, 3, 2, kIconKey,
     {"abRa", "bBaX", "cabc"}},
    {"black as the key",
     {"kRnk", "XkWY", "kkBk"}, 0, 0, 4, 3,
     kDest6x5, 1, 1, 4, 3, RGB(0, 0, 0),
     {"abcabc", "bkRnka", "cakWYb", "akkBkc", "bcabca"}},
    {"stretched twice the size",
     {"kRk", "BkX"}, 0, 0, 3, 2,
     {"abcabc", "bcabca", "cabcab", "abcabc"}, 0, 0, 6, 4, kIconKey,
     {"abRRbc", "bcRRca", "BBbcXX", "BBcaXX"}},
};

TEST(BlitChroma, KeyPixelsKeepTheDestinationOthersTakeTheSource) {
  for (const Format format : {Format::Dib32, Format::Dib24, Format::ScreenDdb}) {
    for (const bool useBuffer : {false, true}) {
      for (const auto& c : kChromaCases) {
        SCOPED_TRACE(testing::Message() << c.name << ", " << Name(format) << (useBuffer ? ", buffered" : ""));
        Canvas src(c.source, format);
        Canvas dest(c.dest, format);
        ASSERT_TRUE(tk::ChromaBlt(dest.Dc(), c.xDest, c.yDest, c.widthDest, c.heightDest, src.Dc(), c.xSrc,
                                  c.ySrc, c.widthSrc, c.heightSrc, c.key, useBuffer));
        EXPECT_EQ(dest.Pixels(), c.expected);
        EXPECT_EQ(src.Pixels(), c.source) << "the source was changed";
      }
    }
  }
}

// The destination's own text and background colours must not colour the mask.
TEST(BlitChroma, PutsBackTheColoursAndStretchModeItChanged) {
  struct Case {
    int widthDest;
    Rows expected;
  };
  const Case cases[] = {{4, {"aRnabcab", "XcWYcabc"}}, {8, {"abRRnnab", "XXabWWYY"}}};
  for (const bool useBuffer : {false, true}) {
    for (const auto& [widthDest, expected] : cases) {
      SCOPED_TRACE(testing::Message() << "width " << widthDest << (useBuffer ? ", buffered" : ""));
      Canvas src({"kRnk", "XkWY"});
      Canvas dest({"abcabcab", "bcabcabc"});
      SetTextColor(dest.Dc(), RGB(1, 2, 3));
      SetBkColor(dest.Dc(), RGB(4, 5, 6));
      SetStretchBltMode(dest.Dc(), HALFTONE);
      SetBkColor(src.Dc(), RGB(7, 8, 9));
      ASSERT_TRUE(tk::ChromaBlt(dest.Dc(), 0, 0, widthDest, 2, src.Dc(), 0, 0, 4, 2, kIconKey, useBuffer));
      EXPECT_EQ(dest.Pixels(), expected);
      EXPECT_EQ(GetTextColor(dest.Dc()), RGB(1, 2, 3));
      EXPECT_EQ(GetBkColor(dest.Dc()), RGB(4, 5, 6));
      EXPECT_EQ(GetStretchBltMode(dest.Dc()), HALFTONE);
      EXPECT_EQ(GetBkColor(src.Dc()), RGB(7, 8, 9));
    }
  }
}

// Shrinking merges source pixels. Whatever stretch mode the destination has, each pixel must end
// up as the destination's or as one of the opaque source pixels it covers, never a mix.
TEST(BlitChroma, ShrinkingShowsOnlySourceOrDestinationColours) {
  const Rows source = {"kRkRkkRR", "RkRkkkBB"};
  const std::string dest = "abca";
  for (const int mode : {BLACKONWHITE, WHITEONBLACK, COLORONCOLOR, HALFTONE}) {
    for (const bool useBuffer : {false, true}) {
      SCOPED_TRACE(testing::Message() << "stretch mode " << mode << (useBuffer ? ", buffered" : ""));
      Canvas src(source);
      Canvas dst({dest});
      SetStretchBltMode(dst.Dc(), mode);
      ASSERT_TRUE(tk::ChromaBlt(dst.Dc(), 0, 0, 4, 1, src.Dc(), 0, 0, 8, 2, kIconKey, useBuffer));
      const std::string got = dst.Pixels()[0];
      for (int i = 0; i < 4; ++i) {
        std::string allowed(1, dest[i]);
        for (const auto& row : source)
          for (int x = 2 * i; x < 2 * i + 2; ++x)
            if (row[x] != 'k') allowed += row[x];
        EXPECT_NE(allowed.find(got[i]), std::string::npos)
            << "pixel " << i << " is '" << got[i] << "', not one of \"" << allowed << '"';
      }
      EXPECT_EQ(GetStretchBltMode(dst.Dc()), mode);
    }
  }
}

TEST(BlitChroma, FailsAndDrawsNothingForAnEmptySize) {
  struct Case {
    const char* name;
    int widthDest, heightDest, widthSrc, heightSrc;
    bool buffered;
  };
  const Case cases[] = {
      {"no source width", 4, 2, 0, 2, false},   {"no source width", 4, 2, 0, 2, true},
      {"negative source height", 4, 2, 4, -2, false}, {"negative source height", 4, 2, 4, -2, true},
      {"no destination width", 0, 2, 4, 2, true},     {"negative destination height", 4, -1, 4, 2, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.name << (c.buffered ? ", buffered" : ""));
    Canvas src({"RRRR", "RRRR"});
    Canvas dest({"abca", "bcab"});
    SetTextColor(dest.Dc(), RGB(1, 2, 3));
    SetBkColor(dest.Dc(), RGB(4, 5, 6));
    EXPECT_FALSE(tk::ChromaBlt(dest.Dc(), 0, 0, c.widthDest, c.heightDest, src.Dc(), 0, 0, c.widthSrc,
                               c.heightSrc, kIconKey, c.buffered));
    EXPECT_EQ(dest.Pixels(), (Rows{"abca", "bcab"}));
    EXPECT_EQ(GetTextColor(dest.Dc()), RGB(1, 2, 3));
    EXPECT_EQ(GetBkColor(dest.Dc()), RGB(4, 5, 6));
  }
}

TEST(BlitChroma, FailsWithoutASourceOrADestination) {
  for (const bool useBuffer : {false, true}) {
    SCOPED_TRACE(useBuffer ? "buffered" : "direct");
    Canvas src({"RkR"});
    Canvas dest({"abc"});
    EXPECT_FALSE(tk::ChromaBlt(nullptr, 0, 0, 3, 1, src.Dc(), 0, 0, 3, 1, kIconKey, useBuffer));
    EXPECT_FALSE(tk::ChromaBlt(dest.Dc(), 0, 0, 3, 1, nullptr, 0, 0, 3, 1, kIconKey, useBuffer));
    EXPECT_EQ(dest.Pixels(), (Rows{"abc"}));
  }
}

// ---------------------------------------------------------------------------------------------

TEST(BlitTrans, KeyPixelsKeepTheDestinationOthersTakeTheSource) {
  const Rows source = {"kWXR", "XkBW"};
  const Rows dest = {"abcab", "bcabc", "cabca"};
  struct Case {
    const char* name;
    COLORREF key;
    Rows expected;
  };
  const Case cases[] = {
      {"icon key", kIconKey, {"abcab", "bcWXR", "cXbBW"}},
      {"white key", RGB(255, 255, 255), {"abcab", "bkaXR", "cXkBa"}},
      {"black key", RGB(0, 0, 0), {"abcab", "bkWbR", "cakBW"}},
  };
  for (const Format format : {Format::Dib32, Format::Dib24, Format::ScreenDdb}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(testing::Message() << c.name << ", " << Name(format));
      Canvas src(source, format);
      Canvas dst(dest, format);
      COLORREF key = c.key;
      tk::TransBlt(dst.Dc(), src.Dc(), 1, 1, 4, 2, key);
      EXPECT_EQ(dst.Pixels(), c.expected);
      EXPECT_EQ(src.Pixels(), source) << "the source was changed";
    }
  }
}

// The key variable gets back the key the source held, not the source's old background colour,
// so it can be passed again unchanged.
TEST(BlitTrans, KeyComesBackUnchangedAndSourceKeepsItsBackground) {
  Canvas src({"kR", "Rk"});
  SetBkColor(src.Dc(), RGB(7, 8, 9));
  COLORREF key = kIconKey;
  for (int pass = 0; pass < 2; ++pass) {
    SCOPED_TRACE(testing::Message() << "pass " << pass);
    Canvas dst({"ab", "ca"});
    tk::TransBlt(dst.Dc(), src.Dc(), 0, 0, 2, 2, key);
    EXPECT_EQ(key, kIconKey);
    EXPECT_EQ(GetBkColor(src.Dc()), RGB(7, 8, 9));
    EXPECT_EQ(dst.Pixels(), (Rows{"aR", "Ra"}));
  }
}

TEST(BlitTrans, EmptySizeOrNoSourceDrawsNothing) {
  Canvas src({"RR", "RR"});
  Canvas dst({"ab", "ca"});
  const int sizes[][2] = {{0, 2}, {2, 0}, {-2, 2}, {2, -1}};
  for (const auto& s : sizes) {
    SCOPED_TRACE(testing::Message() << s[0] << " x " << s[1]);
    COLORREF key = kIconKey;
    tk::TransBlt(dst.Dc(), src.Dc(), 0, 0, s[0], s[1], key);
    EXPECT_EQ(dst.Pixels(), (Rows{"ab", "ca"}));
    EXPECT_EQ(key, kIconKey);
  }
  COLORREF key = kIconKey;
  tk::TransBlt(dst.Dc(), nullptr, 0, 0, 2, 2, key);
  EXPECT_EQ(dst.Pixels(), (Rows{"ab", "ca"}));
}

// ---------------------------------------------------------------------------------------------

TEST(BlitPicture, AtItsOwnSizeGreenShowsTheDestination) {
  const Rows picture = {"gRgB", "XggW", "RBgg"};
  const Rows expected = {"abcabc", "bcaRcB", "caXcaW", "abRBbc", "bcabca"};
  const int sizes[][2] = {{0, 0}, {4, 3}, {0, 3}, {4, 0}};
  for (const Format format : {Format::Dib32, Format::ScreenDdb}) {
    for (const auto& s : sizes) {
      SCOPED_TRACE(testing::Message() << s[0] << " x " << s[1] << ", " << Name(format));
      tk::Bitmap pic = Picture(picture, format);
      Canvas dest(kDest6x5, format);
      ASSERT_TRUE(tk::DrawTransparentScaled(pic.Get(), dest.Dc(), 2, 1, s[0], s[1], SRCCOPY));
      EXPECT_EQ(dest.Pixels(), expected);
      // Reading it back selects it into another DC, which fails while it is still selected.
      EXPECT_EQ(ReadPicture(pic.Get()), picture);
    }
  }
}

TEST(BlitPicture, AtAnotherSizeStretchesAllOfItWithTheRasterOperation) {
  const Rows picture = {"gR", "BX"};
  struct Case {
    const char* name;
    int width, height;
    DWORD rop;
    Rows expected;
  };
  const Case cases[] = {
      {"twice, copied", 4, 4, SRCCOPY, {"abcabc", "bggRRa", "cggRRb", "aBBXXc", "bBBXXa"}},
      {"twice, inverted", 4, 4, NOTSRCCOPY, {"abcabc", "bmmCCa", "cmmCCb", "ayyWWc", "byyWWa"}},
      {"twice as wide", 4, 0, SRCCOPY, {"abcabc", "bggRRa", "cBBXXb", "abcabc", "bcabca"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    tk::Bitmap pic = Picture(picture);
    Canvas dest(kDest6x5);
    SetStretchBltMode(dest.Dc(), BLACKONWHITE);
    ASSERT_TRUE(tk::DrawTransparentScaled(pic.Get(), dest.Dc(), 1, 1, c.width, c.height, c.rop));
    EXPECT_EQ(dest.Pixels(), c.expected);
    EXPECT_EQ(GetStretchBltMode(dest.Dc()), BLACKONWHITE);
    EXPECT_EQ(ReadPicture(pic.Get()), picture);
  }
}

TEST(BlitPicture, FailsWithoutAUsablePicture) {
  Canvas dest({"abc", "bca"});
  EXPECT_FALSE(tk::DrawTransparentScaled(nullptr, dest.Dc(), 0, 0, 0, 0, SRCCOPY));

  tk::Brush brush(CreateSolidBrush(RGB(1, 2, 3)));
  EXPECT_FALSE(tk::DrawTransparentScaled(reinterpret_cast<HBITMAP>(brush.Get()), dest.Dc(), 0, 0, 0, 0,
                                         SRCCOPY));

  // A bitmap can be selected into one DC at a time: one that is in use cannot be drawn.
  tk::Bitmap pic = Picture({"RB", "BR"});
  {
    tk::MemoryDc holder;
    tk::SelectObjectScope held(holder.Get(), pic.Get());
    ASSERT_TRUE(held.Ok());
    EXPECT_FALSE(tk::DrawTransparentScaled(pic.Get(), dest.Dc(), 0, 0, 0, 0, SRCCOPY));
    EXPECT_FALSE(tk::DrawTransparentScaled(pic.Get(), dest.Dc(), 0, 0, 3, 2, SRCCOPY));
  }
  EXPECT_EQ(dest.Pixels(), (Rows{"abc", "bca"}));
}

// ---------------------------------------------------------------------------------------------

// GDI objects held by this process. Wine's GetGuiResources answers 0 (not implemented); there
// the count is taken from the other side: how many brushes can still be made before GDI's handle
// table is full. Either way the difference of two readings is the number of objects kept.
long GdiObjectsHeld() {
  if (const DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return static_cast<long>(n);
  std::vector<HBRUSH> brushes;
  while (HBRUSH b = CreateSolidBrush(RGB(1, 2, 3))) brushes.push_back(b);
  for (HBRUSH b : brushes) DeleteObject(b);
  return -static_cast<long>(brushes.size());
}

TEST(BlitResources, NoPathKeepsAGdiObject) {
  Canvas src({"kRnk", "XkWY", "kkBk"});
  Canvas dest(kDest6x5);
  tk::Bitmap pic = Picture({"gRgB", "XggW", "RBgg"});
  tk::MemoryDc holder;  // holds `inUse`, which then cannot be drawn

  tk::Bitmap inUse = Picture({"gR"});
  tk::SelectObjectScope held(holder.Get(), inUse.Get());
  ASSERT_TRUE(held.Ok());

  // The reading must see a single kept object, or it proves nothing.
  {
    const long before = GdiObjectsHeld();
    tk::Brush kept(CreateSolidBrush(RGB(9, 9, 9)));
    ASSERT_EQ(GdiObjectsHeld() - before, 1);
  }

  struct Routine {
    const char* name;
    std::function<void()> call;
  };
  const Routine routines[] = {
      {"CreateMaskBitmap",
       [&] {
         tk::Bitmap mask(tk::CreateMaskBitmap(src.Dc(), 0, 0, 4, 3, kIconKey));
         EXPECT_TRUE(mask);
         EXPECT_EQ(tk::CreateMaskBitmap(src.Dc(), 0, 0, 0, 3, kIconKey), nullptr);
         EXPECT_EQ(tk::CreateMaskBitmap(nullptr, 0, 0, 4, 3, kIconKey), nullptr);
       }},
      {"ChromaBlt",
       [&] {
         for (const bool useBuffer : {false, true}) {
           EXPECT_TRUE(tk::ChromaBlt(dest.Dc(), 1, 1, 4, 3, src.Dc(), 0, 0, 4, 3, kIconKey, useBuffer));
           EXPECT_TRUE(tk::ChromaBlt(dest.Dc(), 0, 0, 6, 5, src.Dc(), 0, 0, 4, 3, kIconKey, useBuffer));
           EXPECT_FALSE(tk::ChromaBlt(dest.Dc(), 0, 0, 4, 3, src.Dc(), 0, 0, -4, 3, kIconKey, useBuffer));
           EXPECT_FALSE(tk::ChromaBlt(nullptr, 0, 0, 4, 3, src.Dc(), 0, 0, 4, 3, kIconKey, useBuffer));
           EXPECT_FALSE(tk::ChromaBlt(dest.Dc(), 0, 0, 4, 3, nullptr, 0, 0, 4, 3, kIconKey, useBuffer));
         }
       }},
      {"TransBlt",
       [&] {
         COLORREF key = kIconKey;
         tk::TransBlt(dest.Dc(), src.Dc(), 1, 1, 4, 3, key);
         tk::TransBlt(dest.Dc(), src.Dc(), 0, 0, 0, 3, key);
         tk::TransBlt(dest.Dc(), nullptr, 0, 0, 4, 3, key);
       }},
      {"DrawTransparentScaled",
       [&] {
         EXPECT_TRUE(tk::DrawTransparentScaled(pic.Get(), dest.Dc(), 1, 1, 0, 0, SRCCOPY));
         EXPECT_TRUE(tk::DrawTransparentScaled(pic.Get(), dest.Dc(), 0, 0, 6, 5, SRCCOPY));
         EXPECT_FALSE(tk::DrawTransparentScaled(inUse.Get(), dest.Dc(), 0, 0, 0, 0, SRCCOPY));
         EXPECT_FALSE(tk::DrawTransparentScaled(nullptr, dest.Dc(), 0, 0, 0, 0, SRCCOPY));
       }},
  };
  for (const auto& r : routines) {
    SCOPED_TRACE(r.name);
    r.call();  // first-use allocations inside GDI are not ours
    const long before = GdiObjectsHeld();
    for (int i = 0; i < 200 && !HasFailure(); ++i) r.call();
    EXPECT_EQ(GdiObjectsHeld() - before, 0);
  }
}

}  // namespace
