#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "toolkit/Gdi.h"

// The library's pictures are linked into this executable, so they are found in its own module.
namespace {

constexpr COLORREF kKey = RGB(0, 255, 0);

HMODULE Self() { return GetModuleHandleW(nullptr); }

// A bitmap resource loaded as a DIB section, with its pixels read straight from the section.
class LoadedBitmap {
 public:
  explicit LoadedBitmap(const wchar_t* name)
      : bitmap_(static_cast<HBITMAP>(LoadImageW(Self(), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))) {
    if (bitmap_ && GetObjectW(bitmap_.Get(), sizeof(section_), &section_) != sizeof(section_)) section_ = {};
  }
  bool Loaded() const { return static_cast<bool>(bitmap_); }
  int Width() const { return section_.dsBm.bmWidth; }
  int Height() const { return section_.dsBm.bmHeight; }
  int BitsPerPixel() const { return section_.dsBm.bmBitsPixel; }

  // Only for 24-bit sections; rows are stored bottom-up when biHeight is positive.
  COLORREF At(int x, int y) const {
    const auto* bits = static_cast<const std::uint8_t*>(section_.dsBm.bmBits);
    int row = section_.dsBmih.biHeight > 0 ? Height() - 1 - y : y;
    const std::uint8_t* p = bits + row * section_.dsBm.bmWidthBytes + x * 3;
    return RGB(p[2], p[1], p[0]);
  }

  std::vector<COLORREF> Pixels() const {
    std::vector<COLORREF> out;
    for (int y = 0; y < Height(); ++y)
      for (int x = 0; x < Width(); ++x) out.push_back(At(x, y));
    return out;
  }

 private:
  tk::Bitmap bitmap_;
  DIBSECTION section_{};
};

std::string Narrow(const wchar_t* w) { return std::string(w, w + wcslen(w)); }

struct BitmapCase {
  const wchar_t* Name;
  int Width;
  int Height;
};

const BitmapCase kBitmaps[] = {
    {L"FILEGENERICBMP", 16, 16},      {L"FOLDERCLOSEDBMP2", 16, 16},
    {L"FOLDERPLUSBMP", 9, 9},         {L"FOLDERMINUSBMP", 9, 9},
    {L"NETWORKCOMPUTERBMP", 16, 16},  {L"NETWORKMWNBMP", 16, 16},
    {L"NETWORKWORKGROUPBMP", 16, 16}, {L"POINTERSELECT", 8, 10},
    {L"TB_UPFOLDER", 16, 16},         {L"TB_NEWFOLDER", 16, 16},
    {L"TB_SHOWFOLDERS", 16, 16},      {L"TB_REFRESH", 16, 16},
    {L"TB_HEADINGS", 16, 16},         {L"TB_CALCULATE", 16, 16},
    {L"TB_COLLAPSE", 16, 16},         {L"TB_MIMIC", 16, 16},
    {L"TB_LIST_DETAILS", 16, 16},     {L"TB_LIST_BRIEF", 16, 16},
};

void PrintTo(const BitmapCase& c, std::ostream* os) { *os << Narrow(c.Name); }

class LibraryResourceBitmap : public testing::TestWithParam<BitmapCase> {};

TEST_P(LibraryResourceBitmap, LoadsByNameAtItsOwnSizeIn24Bits) {
  const BitmapCase& c = GetParam();
  LoadedBitmap b(c.Name);
  ASSERT_TRUE(b.Loaded()) << "error " << GetLastError();
  EXPECT_EQ(b.Width(), c.Width);
  EXPECT_EQ(b.Height(), c.Height);
  // The key colour must survive loading exactly, which a palette or 16-bit depth would not promise.
  EXPECT_EQ(b.BitsPerPixel(), 24);
}

TEST_P(LibraryResourceBitmap, HasArtworkBesideTheKeyColour) {
  LoadedBitmap b(GetParam().Name);
  ASSERT_TRUE(b.Loaded());
  ASSERT_EQ(b.BitsPerPixel(), 24);
  int art = 0;
  for (COLORREF c : b.Pixels()) art += c != kKey;
  EXPECT_GE(art * 4, b.Width() * b.Height()) << "at least a quarter of the picture is drawn";
}

INSTANTIATE_TEST_SUITE_P(Pictures, LibraryResourceBitmap, testing::ValuesIn(kBitmaps),
                         [](const testing::TestParamInfo<BitmapCase>& i) { return Narrow(i.param.Name); });

TEST(LibraryResourceBitmaps, AreAllDifferentPictures) {
  // Two names pointing at one file would pass every other check.
  for (size_t i = 0; i < std::size(kBitmaps); ++i) {
    for (size_t j = i + 1; j < std::size(kBitmaps); ++j) {
      LoadedBitmap a(kBitmaps[i].Name), b(kBitmaps[j].Name);
      ASSERT_TRUE(a.Loaded() && b.Loaded());
      if (a.Width() != b.Width() || a.Height() != b.Height()) continue;
      EXPECT_FALSE(a.Pixels() == b.Pixels()) << Narrow(kBitmaps[i].Name) << " and " << Narrow(kBitmaps[j].Name);
    }
  }
}

// Where the listing's transparent copy must show the row behind the picture, and where it must not.
struct KeyProbe {
  const wchar_t* Name;
  int X;
  int Y;
  bool Transparent;
};

const KeyProbe kKeyProbes[] = {
    {L"FILEGENERICBMP", 0, 0, true},    {L"FILEGENERICBMP", 15, 0, true},
    {L"FILEGENERICBMP", 0, 15, true},   {L"FILEGENERICBMP", 15, 15, true},
    {L"FILEGENERICBMP", 8, 8, false},   {L"FILEGENERICBMP", 7, 12, false},
    {L"FOLDERCLOSEDBMP2", 0, 0, true},  {L"FOLDERCLOSEDBMP2", 8, 9, false},
    {L"NETWORKMWNBMP", 0, 0, true},     {L"NETWORKMWNBMP", 8, 8, false},
    {L"NETWORKCOMPUTERBMP", 0, 0, true}, {L"NETWORKCOMPUTERBMP", 8, 6, false},
    {L"POINTERSELECT", 7, 0, true},     {L"POINTERSELECT", 7, 9, true},
    {L"POINTERSELECT", 1, 4, false},    {L"POINTERSELECT", 7, 4, false},
    // Toolbar images: see-through corners and gaps, drawn marks; the framed ones are opaque to the edge.
    {L"TB_UPFOLDER", 0, 0, true},       {L"TB_UPFOLDER", 15, 0, true},
    {L"TB_UPFOLDER", 0, 15, true},      {L"TB_UPFOLDER", 15, 15, true},
    {L"TB_UPFOLDER", 8, 8, false},      {L"TB_NEWFOLDER", 0, 0, true},
    {L"TB_NEWFOLDER", 15, 0, true},     {L"TB_NEWFOLDER", 12, 3, false},
    {L"TB_NEWFOLDER", 8, 10, false},    {L"TB_SHOWFOLDERS", 0, 0, true},
    {L"TB_SHOWFOLDERS", 15, 0, true},   {L"TB_SHOWFOLDERS", 0, 15, true},
    {L"TB_SHOWFOLDERS", 15, 4, true},   {L"TB_SHOWFOLDERS", 3, 4, false},
    {L"TB_SHOWFOLDERS", 12, 12, false}, {L"TB_REFRESH", 0, 0, true},
    {L"TB_REFRESH", 15, 0, true},       {L"TB_REFRESH", 0, 15, true},
    {L"TB_REFRESH", 15, 15, true},      {L"TB_REFRESH", 7, 7, true},
    {L"TB_REFRESH", 7, 2, false},       {L"TB_REFRESH", 12, 7, false},
    {L"TB_HEADINGS", 0, 0, false},      {L"TB_HEADINGS", 15, 15, false},
    {L"TB_HEADINGS", 8, 3, false},      {L"TB_CALCULATE", 0, 0, true},
    {L"TB_CALCULATE", 15, 0, true},     {L"TB_CALCULATE", 0, 15, true},
    {L"TB_CALCULATE", 15, 15, true},    {L"TB_CALCULATE", 6, 6, false},
    {L"TB_CALCULATE", 8, 9, false},     {L"TB_COLLAPSE", 15, 0, true},
    {L"TB_COLLAPSE", 0, 15, true},      {L"TB_COLLAPSE", 15, 15, true},
    {L"TB_COLLAPSE", 1, 10, true},      {L"TB_COLLAPSE", 3, 3, false},
    {L"TB_COLLAPSE", 3, 12, false},     {L"TB_MIMIC", 0, 0, false},
    {L"TB_MIMIC", 15, 15, false},       {L"TB_MIMIC", 8, 12, false},
    {L"TB_LIST_DETAILS", 0, 0, true},   {L"TB_LIST_DETAILS", 15, 0, true},
    {L"TB_LIST_DETAILS", 15, 15, true}, {L"TB_LIST_DETAILS", 3, 2, true},
    {L"TB_LIST_DETAILS", 1, 2, false},  {L"TB_LIST_DETAILS", 5, 2, false},
    {L"TB_LIST_BRIEF", 0, 0, true},     {L"TB_LIST_BRIEF", 15, 0, true},
    {L"TB_LIST_BRIEF", 15, 15, true},   {L"TB_LIST_BRIEF", 8, 2, true},
    {L"TB_LIST_BRIEF", 10, 2, false},   {L"TB_LIST_BRIEF", 13, 2, false},
};

void PrintTo(const KeyProbe& p, std::ostream* os) { *os << Narrow(p.Name) << " at " << p.X << "," << p.Y; }

class LibraryResourceKeyColour : public testing::TestWithParam<KeyProbe> {};

TEST_P(LibraryResourceKeyColour, IsWhereThePictureIsSeeThrough) {
  const KeyProbe& p = GetParam();
  LoadedBitmap b(p.Name);
  ASSERT_TRUE(b.Loaded());
  ASSERT_EQ(b.BitsPerPixel(), 24);
  ASSERT_LT(p.X, b.Width());
  ASSERT_LT(p.Y, b.Height());
  EXPECT_EQ(b.At(p.X, p.Y) == kKey, p.Transparent) << "pixel " << std::hex << b.At(p.X, p.Y);
}

INSTANTIATE_TEST_SUITE_P(Pictures, LibraryResourceKeyColour, testing::ValuesIn(kKeyProbes),
                         [](const testing::TestParamInfo<KeyProbe>& i) {
                           return Narrow(i.param.Name) + "_" + std::to_string(i.param.X) + "_" +
                                  std::to_string(i.param.Y);
                         });

TEST(LibraryResourceMarker, IsAnAccentColourNotGrey) {
  LoadedBitmap b(L"POINTERSELECT");
  ASSERT_TRUE(b.Loaded());
  COLORREF c = b.At(3, 4);
  EXPECT_GT(GetBValue(c), GetRValue(c) + 60) << std::hex << c;
}

// The tree expanders: a grey box, opaque everywhere inside its outline, with a dark sign.
struct ExpanderCase {
  const wchar_t* Name;
  bool VerticalBar;  // plus has one, minus has none
};

const ExpanderCase kExpanders[] = {{L"FOLDERPLUSBMP", true}, {L"FOLDERMINUSBMP", false}};

void PrintTo(const ExpanderCase& c, std::ostream* os) { *os << Narrow(c.Name); }

class LibraryResourceExpander : public testing::TestWithParam<ExpanderCase> {};

bool IsDark(COLORREF c) { return GetRValue(c) < 90 && GetGValue(c) < 90 && GetBValue(c) < 90; }
bool IsWhite(COLORREF c) { return GetRValue(c) > 230 && GetGValue(c) > 230 && GetBValue(c) > 230; }

TEST_P(LibraryResourceExpander, IsAnOpaqueGreyBoxWithADarkSign) {
  const ExpanderCase& c = GetParam();
  LoadedBitmap b(c.Name);
  ASSERT_TRUE(b.Loaded());
  ASSERT_EQ(b.BitsPerPixel(), 24);

  // The box is the smallest rectangle holding every drawn pixel.
  int left = b.Width(), top = b.Height(), right = -1, bottom = -1;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (b.At(x, y) != kKey) {
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
      }
  ASSERT_GE(right - left, 6);
  ASSERT_GE(bottom - top, 6);
  for (int y = top; y <= bottom; ++y)
    for (int x = left; x <= right; ++x) EXPECT_NE(b.At(x, y), kKey) << "at " << x << "," << y;

  COLORREF outline = b.At(left, top);
  EXPECT_EQ(GetRValue(outline), GetGValue(outline));
  EXPECT_EQ(GetGValue(outline), GetBValue(outline));
  EXPECT_GE(GetRValue(outline), 96);
  EXPECT_LE(GetRValue(outline), 176);

  int cx = (left + right) / 2, cy = (top + bottom) / 2;
  EXPECT_TRUE(IsWhite(b.At(left + 1, top + 1)));
  EXPECT_TRUE(IsDark(b.At(cx, cy)));
  EXPECT_TRUE(IsDark(b.At(cx - 2, cy)));
  EXPECT_TRUE(IsDark(b.At(cx + 2, cy)));
  EXPECT_EQ(IsDark(b.At(cx, cy - 2)), c.VerticalBar);
  EXPECT_EQ(IsDark(b.At(cx, cy + 2)), c.VerticalBar);
}

INSTANTIATE_TEST_SUITE_P(Pictures, LibraryResourceExpander, testing::ValuesIn(kExpanders),
                         [](const testing::TestParamInfo<ExpanderCase>& i) { return Narrow(i.param.Name); });

// Cursors, looked up by the lower-case names the control uses.
const wchar_t* const kCursors[] = {L"curdefault",          L"curselect",           L"curselectshift",
                                   L"curselectshiftfirst", L"curselectshiftsecond", L"curexpand"};

// What a cursor looks like: drawn onto black and onto white, 32-bit top-down.
struct CursorPicture {
  std::vector<std::uint32_t> OnBlack, OnWhite;
};

std::vector<std::uint32_t> DrawOn(HCURSOR cursor, COLORREF background) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = 32;
  bi.bmiHeader.biHeight = -32;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  tk::Bitmap surface(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  tk::MemoryDc dc;
  if (!surface || !dc) return {};
  tk::SelectObjectScope select(dc.Get(), surface.Get());
  tk::Brush brush(CreateSolidBrush(background));
  RECT all{0, 0, 32, 32};
  FillRect(dc.Get(), &all, brush.Get());
  if (!DrawIconEx(dc.Get(), 0, 0, cursor, 32, 32, 0, nullptr, DI_NORMAL)) return {};
  GdiFlush();
  const auto* p = static_cast<const std::uint32_t*>(bits);
  std::vector<std::uint32_t> out;
  for (int i = 0; i < 32 * 32; ++i) out.push_back(p[i] & 0xFFFFFF);
  return out;
}

CursorPicture Picture(HCURSOR c) { return {DrawOn(c, RGB(0, 0, 0)), DrawOn(c, RGB(255, 255, 255))}; }

class LibraryResourceCursor : public testing::TestWithParam<const wchar_t*> {};

TEST_P(LibraryResourceCursor, LoadsByLowerCaseNameWithBothCalls) {
  EXPECT_NE(LoadCursorW(Self(), GetParam()), nullptr) << "error " << GetLastError();
  HANDLE image = LoadImageW(Self(), GetParam(), IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE);
  ASSERT_NE(image, nullptr) << "error " << GetLastError();
  DestroyCursor(static_cast<HCURSOR>(image));
}

TEST_P(LibraryResourceCursor, Is32PixelsWithItsHotspotOnTheArrowTip) {
  HCURSOR c = LoadCursorW(Self(), GetParam());
  ASSERT_NE(c, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(c, &info));
  tk::Bitmap mask(info.hbmMask), colour(info.hbmColor);
  EXPECT_FALSE(info.fIcon);
  BITMAP bm{};
  ASSERT_TRUE(GetObjectW(mask.Get(), sizeof(bm), &bm));
  EXPECT_EQ(bm.bmWidth, 32);
  // A monochrome cursor keeps its image under the mask, doubling the mask's height.
  EXPECT_EQ(bm.bmHeight, colour ? 32 : 64);
  EXPECT_EQ(info.xHotspot, 0u);
  EXPECT_EQ(info.yHotspot, 0u);

  CursorPicture p = Picture(c);
  ASSERT_EQ(p.OnBlack.size(), 32u * 32u);
  ASSERT_EQ(p.OnWhite.size(), 32u * 32u);
  // The hotspot pixel is solid black whatever lies behind; the far corner is see-through.
  EXPECT_EQ(p.OnBlack[0], 0u);
  EXPECT_EQ(p.OnWhite[0], 0u);
  EXPECT_EQ(p.OnBlack[32 * 32 - 1], 0u);
  EXPECT_EQ(p.OnWhite[32 * 32 - 1], 0xFFFFFFu);
  // A white body inside the black outline, just below the tip's diagonal.
  EXPECT_EQ(p.OnBlack[6 * 32 + 2], 0xFFFFFFu);
}

INSTANTIATE_TEST_SUITE_P(Pictures, LibraryResourceCursor, testing::ValuesIn(kCursors),
                         [](const testing::TestParamInfo<const wchar_t*>& i) { return Narrow(i.param); });

TEST(LibraryResourceCursors, AreAllDifferentPictures) {
  std::vector<CursorPicture> seen;
  for (const wchar_t* name : kCursors) {
    HCURSOR c = LoadCursorW(Self(), name);
    ASSERT_NE(c, nullptr) << Narrow(name);
    CursorPicture p = Picture(c);
    ASSERT_FALSE(p.OnBlack.empty());
    for (size_t i = 0; i < seen.size(); ++i)
      EXPECT_FALSE(seen[i].OnBlack == p.OnBlack && seen[i].OnWhite == p.OnWhite)
          << Narrow(name) << " looks like " << Narrow(kCursors[i]);
    seen.push_back(p);
  }
}

}  // namespace
