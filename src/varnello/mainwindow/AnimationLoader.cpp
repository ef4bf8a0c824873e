#include "mainwindow/AnimationLoader.h"

#include <fstream>
#include <iterator>

#include "toolkit/Error.h"
#include "toolkit/EventLoop.h"
#include "toolkit/Gdi.h"
#include "toolkit/MessageBox.h"
#include "toolkit/Window.h"

namespace varnello {

namespace {

const std::string kSeparator("\x00\x21\xF9", 3);

int Byte(const std::string& s, size_t oneBased) {
  return oneBased <= s.size() ? static_cast<unsigned char>(s[oneBased - 1]) : 0;
}

struct ChunkValues {
  long Delay = 0, Left = 0, Top = 0;
};

// Byte 1 of a chunk is the 0xF9 of its graphic control block.
ChunkValues ReadChunk(const std::string& chunk) {
  return {Byte(chunk, 4) + 256L * Byte(chunk, 5), Byte(chunk, 9) + 256L * Byte(chunk, 10),
          Byte(chunk, 11) + 256L * Byte(chunk, 12)};
}

bool ReadWholeFile(const std::wstring& path, std::string& bytes) {
  std::ifstream in(path.c_str(), std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

bool FileExists(const std::wstring& path) {
  const DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

// Loads one frame into element n - 1 (1-based n), placing elements after the first by the
// frame's offset.
void PlaceFrame(AnimationFrames& frames, size_t n, const std::string& header,
                const std::string& chunk) {
  const ChunkValues v = ReadChunk(chunk);
  if (v.Delay * 10 > 32767) throw tk::RuntimeError(tk::kErrOverflow, L"Overflow");
  std::string encoded = CompleteGifPiece(header + chunk);
  // The first frame shows as the splash opens; a file whose first frame is no picture is
  // reported here.
  Picture picture;
  if (n == 1) {
    picture = DecodePicture(encoded);
    if (!picture) throw tk::RuntimeError(481, L"Invalid picture");
    encoded.clear();
  }
  if (n >= 2) {
    frames.Elements.resize(n);
    AnimationFrame& base = frames.Elements[0];
    AnimationFrame& e = frames.Elements[n - 1];
    e.Left = base.Left + v.Left * tk::TwipsPerPixelX();
    e.Top = base.Top + v.Top * tk::TwipsPerPixelY();
  }
  AnimationFrame& e = frames.Elements[n - 1];
  e.Tag = static_cast<std::int16_t>(v.Delay * 10);
  e.Image = std::move(picture);
  e.Encoded = std::move(encoded);
}

}  // namespace

bool AnimationFrame::Decode() {
  if (!Image && !Encoded.empty()) {
    // A frame that is no picture stays empty: the animation skips it rather than holding up
    // the start-up with a message in the middle of its cycle.
    Image = DecodePicture(Encoded);
    Encoded.clear();
  }
  return static_cast<bool>(Image);
}

SIZE Picture::PixelSize() const {
  SIZE size{0, 0};
  if (!p_) return size;
  OLE_XSIZE_HIMETRIC w = 0;
  OLE_YSIZE_HIMETRIC h = 0;
  p_->get_Width(&w);
  p_->get_Height(&h);
  HDC screen = GetDC(nullptr);
  size.cx = MulDiv(w, GetDeviceCaps(screen, LOGPIXELSX), 2540);
  size.cy = MulDiv(h, GetDeviceCaps(screen, LOGPIXELSY), 2540);
  ReleaseDC(nullptr, screen);
  return size;
}

void Picture::Render(HDC dc, int x, int y) const {
  if (!p_) return;
  OLE_XSIZE_HIMETRIC w = 0;
  OLE_YSIZE_HIMETRIC h = 0;
  p_->get_Width(&w);
  p_->get_Height(&h);
  const SIZE px = PixelSize();
  p_->Render(dc, x, y, px.cx, px.cy, 0, h, w, -h, nullptr);
}

COLORREF Picture::PixelAt(int x, int y, COLORREF background) const {
  const SIZE px = PixelSize();
  if (px.cx <= 0 || px.cy <= 0) return CLR_INVALID;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  tk::Bitmap bitmap(CreateCompatibleBitmap(screen, px.cx, px.cy));
  ReleaseDC(nullptr, screen);
  COLORREF colour;
  {
    tk::SelectObjectScope keep(dc, bitmap.Get());
    tk::Brush back(CreateSolidBrush(background));
    RECT all{0, 0, px.cx, px.cy};
    FillRect(dc, &all, back.Get());
    Render(dc, 0, 0);
    colour = GetPixel(dc, x, y);
  }
  DeleteDC(dc);
  return colour;
}

std::optional<GifPieces> SplitAniGif(const std::string& bytes) {
  const size_t first = bytes.find(kSeparator);
  GifPieces pieces;
  // Without any separator the header is the first byte only, which is never "GIF".
  pieces.Header = bytes.substr(0, first == std::string::npos ? 1 : first + 2);
  if (pieces.Header.compare(0, 3, "GIF") != 0) return std::nullopt;
  size_t start = first + 2;  // the 0xF9, 0-based
  for (;;) {
    const size_t next = bytes.find(kSeparator, start + 1);
    if (next == std::string::npos) break;
    pieces.Chunks.push_back(bytes.substr(start, next + 2 - start));
    start = next + 2;
  }
  // The last chunk runs to the end less the file's last two bytes.
  if (start + 2 < bytes.size())
    pieces.Chunks.push_back(bytes.substr(start, bytes.size() - 2 - start));
  return pieces;
}

std::string CompleteGifPiece(std::string piece) {
  // A frame cut at a separator ends with the next block's introducer; one cut at the file's end
  // lacks its block terminator. Either way the trailer the picture loader needs is missing.
  if (!piece.empty() && static_cast<unsigned char>(piece.back()) == 0x21)
    piece.back() = '\x3B';
  else
    piece += std::string("\x00\x3B", 2);
  return piece;
}

Picture DecodePicture(const std::string& bytes) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (!memory) return {};
  if (void* p = GlobalLock(memory)) {
    std::copy(bytes.begin(), bytes.end(), static_cast<char*>(p));
    GlobalUnlock(memory);
  }
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
    GlobalFree(memory);
    return {};
  }
  IPicture* picture = nullptr;
  const HRESULT hr = OleLoadPicture(stream, static_cast<LONG>(bytes.size()), FALSE, IID_IPicture,
                                    reinterpret_cast<void**>(&picture));
  stream->Release();
  if (FAILED(hr)) return {};
  return Picture(picture);
}

bool LoadAniGifFrames(const std::wstring& fileName, AnimationFrames& frames, long& frameLast) {
  if (fileName.empty() || !FileExists(fileName)) {
    tk::ShowMessageBox(nullptr, L"File " + fileName + L" not found", L"Varnello",
                       MB_OK | MB_ICONERROR);
    return false;
  }
  bool isGif = false;
  try {
    frames.Elements.resize(1);  // frames of an earlier load go
    frames.Elements[0].Image.Reset();
    frames.Elements[0].Encoded.clear();
    std::string bytes;
    if (!ReadWholeFile(fileName, bytes)) throw tk::RuntimeError(75, L"Path/File access error");
    const size_t first = bytes.find(kSeparator);
    const std::string header = bytes.substr(0, first == std::string::npos ? 1 : first + 2);
    if (header.compare(0, 3, "GIF") != 0) {
      frameLast = 23;
      return false;
    }
    isGif = true;
    size_t start = first + 2;
    size_t n = 0;
    for (;;) {
      ++n;
      const size_t next = bytes.find(kSeparator, start + 1);
      if (next != std::string::npos) {
        PlaceFrame(frames, n, header, bytes.substr(start, next + 2 - start));
        start = next + 2;
      }
      tk::DoEvents();
      if (next == std::string::npos) break;
    }
    if (start + 2 < bytes.size())
      PlaceFrame(frames, n, header, bytes.substr(start, bytes.size() - 2 - start));
    frameLast = static_cast<long>(frames.Elements.size()) - 1;
    return true;
  } catch (...) {
    const tk::ErrorInfo err = tk::CurrentError();
    tk::ShowMessageBox(nullptr, L"Error No. " + std::to_wstring(err.Number) + L" when reading file",
                       L"Varnello", MB_OK | MB_ICONERROR);
    // The frames loaded so far stay, and the cycle runs over exactly those.
    if (isGif) frameLast = static_cast<long>(frames.Elements.size()) - 1;
    return isGif;
  }
}

}  // namespace varnello
