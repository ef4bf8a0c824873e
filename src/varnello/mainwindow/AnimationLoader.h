#pragma once
// The splash animation: a GIF cut into one small GIF per frame at each graphic control block,
// every piece decoded from memory into its own picture.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace varnello {

// Owns one decoded picture.
class Picture {
 public:
  Picture() = default;
  explicit Picture(IPicture* p) : p_(p) {}
  ~Picture() { Reset(); }
  Picture(Picture&& o) noexcept : p_(o.p_) { o.p_ = nullptr; }
  Picture& operator=(Picture&& o) noexcept {
    if (this != &o) {
      Reset();
      p_ = o.p_;
      o.p_ = nullptr;
    }
    return *this;
  }
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;
  IPicture* Get() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  void Reset() {
    if (p_) p_->Release();
    p_ = nullptr;
  }
  // Size in pixels; 0 x 0 when empty.
  SIZE PixelSize() const;
  // Draws the picture with its top-left corner at (x, y) pixels.
  void Render(HDC dc, int x, int y) const;
  // Colour of one pixel of the picture (drawn on `background`), for tests.
  COLORREF PixelAt(int x, int y, COLORREF background = RGB(255, 255, 255)) const;

 private:
  IPicture* p_ = nullptr;
};

// One image element of the splash's control array.
struct AnimationFrame {
  Picture Image;
  std::int16_t Tag = 0;  // the frame's delay in milliseconds
  long Left = 0;         // twips, in the splash
  long Top = 0;
  bool Visible = false;
  // The frame's GIF, kept until the frame is first shown: decoding all of them up front held
  // the splash back by a few dozen milliseconds before its cycle could start.
  std::string Encoded;

  // Decodes the frame's picture unless that was done; false when there is none.
  bool Decode();
};

// The control array: element 0 always exists and keeps its own position.
struct AnimationFrames {
  std::vector<AnimationFrame> Elements = std::vector<AnimationFrame>(1);
};

// The byte pieces the file is cut into (positions as the file has them).
struct GifPieces {
  std::string Header;               // through the 0x21 of the first separator
  std::vector<std::string> Chunks;  // each from a 0xF9 on
};
// Cuts a file's bytes; no value when the header does not begin with "GIF".
std::optional<GifPieces> SplitAniGif(const std::string& bytes);

// One piece (header and chunk) as a whole GIF: the trailer its cut took away is put back.
std::string CompleteGifPiece(std::string piece);

// Decodes a GIF held in memory with the platform's picture loader.
Picture DecodePicture(const std::string& bytes);

// Loads every frame of `fileName` into `frames`: the first decoded, the others cut out and
// decoded when first shown (AnimationFrame::Decode). Returns whether the file is a GIF. Sets
// frameLast to the last element's index, 23 for a file that is not a GIF, and leaves it
// unchanged for a missing file (after a critical message box).
bool LoadAniGifFrames(const std::wstring& fileName, AnimationFrames& frames, long& frameLast);

}  // namespace varnello
