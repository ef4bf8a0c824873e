// The splash animation loader on GIF files the tests make.
#include <gtest/gtest.h>

#include "GifFixtures.h"
#include "RecordingLists.h"
#include "mainwindow/AnimationLoader.h"
#include "toolkit/MessageBox.h"
#include "toolkit/Window.h"

namespace {

using varnello::AnimationFrames;
using varnello::LoadAniGifFrames;
using vtest::GifFrame;

// Catches the loader's plain message boxes for one test.
struct PlainBoxes {
  std::vector<tk::MessageBoxRequest> Seen;
  PlainBoxes() {
    tk::SetMessageBoxSeam([this](const tk::MessageBoxRequest& r) {
      Seen.push_back(r);
      return IDOK;
    });
  }
  ~PlainBoxes() {
    tk::SetMessageBoxSeam([](const tk::MessageBoxRequest&) {
      ADD_FAILURE() << "unexpected message box";
      return IDCANCEL;
    });
  }
};

bool Near(COLORREF a, COLORREF b) {
  return std::abs(GetRValue(a) - GetRValue(b)) < 8 && std::abs(GetGValue(a) - GetGValue(b)) < 8 &&
         std::abs(GetBValue(a) - GetBValue(b)) < 8;
}

TEST(AnimationLoader, OneFrameGoesIntoElementZero) {
  vtest::TempDir dir;
  GifFrame f;
  f.Colour = 3;
  dir.Write(L"one.gif", vtest::MakeGif(8, 8, {f}));
  AnimationFrames frames;
  long frameLast = 99;
  ASSERT_TRUE(LoadAniGifFrames(dir.File(L"one.gif"), frames, frameLast));
  EXPECT_EQ(frameLast, 0);
  ASSERT_EQ(frames.Elements.size(), 1u);
  ASSERT_TRUE(frames.Elements[0].Image);
  EXPECT_EQ(frames.Elements[0].Tag, 100);
  EXPECT_TRUE(Near(frames.Elements[0].Image.PixelAt(3, 3), RGB(0, 255, 0)));
}

TEST(AnimationLoader, ThreeFramesArePlacedByTheirOffsets) {
  vtest::TempDir dir;
  std::vector<GifFrame> f(3);
  f[0] = {0, 0, 16, 16, 1, 10};
  f[1] = {4, 2, 8, 8, 3, 20};
  f[2] = {6, 5, 4, 4, 2, 7};
  dir.Write(L"three.gif", vtest::MakeGif(16, 16, f));
  AnimationFrames frames;
  frames.Elements[0].Left = 300;
  frames.Elements[0].Top = 600;
  long frameLast = 0;
  ASSERT_TRUE(LoadAniGifFrames(dir.File(L"three.gif"), frames, frameLast));
  ASSERT_EQ(frames.Elements.size(), 3u);
  EXPECT_EQ(frameLast, 2);
  const int tx = tk::TwipsPerPixelX(), ty = tk::TwipsPerPixelY();
  struct Want {
    long left, top;
    short tag;
    COLORREF colour;
  } want[3] = {{300, 600, 100, RGB(255, 0, 0)},
               {300 + 4 * tx, 600 + 2 * ty, 200, RGB(0, 255, 0)},
               {300 + 6 * tx, 600 + 5 * ty, 70, RGB(0, 0, 255)}};
  // Only the first frame is decoded by the load; the others when first shown.
  EXPECT_TRUE(frames.Elements[0].Image);
  EXPECT_FALSE(frames.Elements[1].Image);
  EXPECT_FALSE(frames.Elements[2].Image);
  for (size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    auto& e = frames.Elements[i];
    EXPECT_EQ(e.Left, want[i].left);
    EXPECT_EQ(e.Top, want[i].top);
    EXPECT_EQ(e.Tag, want[i].tag);
    ASSERT_TRUE(e.Decode());
    EXPECT_TRUE(Near(e.Image.PixelAt(1, 1), want[i].colour)) << std::hex << e.Image.PixelAt(1, 1);
  }
  // Loading again leaves exactly one element per frame.
  GifFrame single;
  dir.Write(L"three.gif", vtest::MakeGif(8, 8, {single}));
  ASSERT_TRUE(LoadAniGifFrames(dir.File(L"three.gif"), frames, frameLast));
  EXPECT_EQ(frames.Elements.size(), 1u);
  EXPECT_EQ(frameLast, 0);
}

TEST(AnimationLoader, FilesThatAreNoAnimation) {
  vtest::TempDir dir;
  GifFrame still;
  still.ControlBlock = false;
  dir.Write(L"still.gif", vtest::MakeGif(8, 8, {still}));
  dir.Write(L"text.gif", "This is no picture at all\x00\x21\xF9 really");
  struct Case {
    const wchar_t* file;
    bool result;
    long frameLast;
    size_t boxes;
  } cases[] = {
      {L"still.gif", false, 23, 0},    // no graphic control block: not a GIF to the loader
      {L"text.gif", false, 23, 0},     // a separator, but no "GIF" header
      {L"missing.gif", false, 5, 1},   // missing: a message, FrameLast untouched
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::string(c.file, c.file + wcslen(c.file)));
    PlainBoxes boxes;
    AnimationFrames frames;
    long frameLast = 5;
    EXPECT_EQ(LoadAniGifFrames(dir.File(c.file), frames, frameLast), c.result);
    EXPECT_EQ(frameLast, c.frameLast);
    EXPECT_FALSE(frames.Elements[0].Image);
    ASSERT_EQ(boxes.Seen.size(), c.boxes);
    if (c.boxes) {
      EXPECT_EQ(boxes.Seen[0].Text, L"File " + dir.File(c.file) + L" not found");
      EXPECT_TRUE(boxes.Seen[0].Style & MB_ICONERROR);
    }
  }
  PlainBoxes boxes;
  AnimationFrames frames;
  long frameLast = 5;
  EXPECT_FALSE(LoadAniGifFrames(L"", frames, frameLast));
  ASSERT_EQ(boxes.Seen.size(), 1u);
  EXPECT_EQ(boxes.Seen[0].Text, L"File  not found");
  EXPECT_EQ(frameLast, 5);
}

TEST(AnimationLoader, APartlyFailedLoadCountsOnlyTheFramesLoaded) {
  vtest::TempDir dir;
  std::vector<GifFrame> f(4);
  f[1].Delay = 5000;  // 50 s: the frame's delay in milliseconds does not fit
  dir.Write(L"slow.gif", vtest::MakeGif(8, 8, f));
  PlainBoxes boxes;
  AnimationFrames frames;
  long frameLast = 23;
  EXPECT_TRUE(LoadAniGifFrames(dir.File(L"slow.gif"), frames, frameLast));
  ASSERT_EQ(boxes.Seen.size(), 1u);
  EXPECT_EQ(boxes.Seen[0].Text, L"Error No. 6 when reading file");
  EXPECT_EQ(frames.Elements.size(), 1u);
  EXPECT_EQ(frameLast, 0);  // the cycle runs over the one frame there is, not 24
}

TEST(AnimationLoader, SplitsAtEveryGraphicControlBlock) {
  std::vector<GifFrame> f(3);
  const std::string bytes = vtest::MakeGif(8, 8, f);
  const auto pieces = varnello::SplitAniGif(bytes);
  ASSERT_TRUE(pieces);
  const size_t first = bytes.find(std::string("\x00\x21\xF9", 3));
  EXPECT_EQ(pieces->Header, bytes.substr(0, first + 2));
  ASSERT_EQ(pieces->Chunks.size(), 3u);
  for (const auto& chunk : pieces->Chunks) EXPECT_EQ(static_cast<unsigned char>(chunk[0]), 0xF9);
  // Laid end to end the pieces are the file less its last two bytes.
  std::string joined = pieces->Header;
  for (const auto& chunk : pieces->Chunks) joined += chunk;
  EXPECT_EQ(joined + bytes.substr(bytes.size() - 2), bytes);
  EXPECT_FALSE(varnello::SplitAniGif("PNG...\x00\x21\xF9"));
}

}  // namespace
