#include "GifFixtures.h"

namespace vtest {

namespace {

void Word(std::string& out, int v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}

// Every pixel as its own literal code, with a clear code before each so the code width stays 3.
std::string ImageData(int pixels, int colour) {
  std::string data;
  const int minCodeSize = 2, clear = 4, end = 5, width = 3;
  std::vector<int> codes;
  for (int i = 0; i < pixels; ++i) {
    codes.push_back(clear);
    codes.push_back(colour);
  }
  codes.push_back(end);
  std::string packed;
  unsigned acc = 0;
  int bits = 0;
  for (int c : codes) {
    acc |= static_cast<unsigned>(c) << bits;
    bits += width;
    while (bits >= 8) {
      packed += static_cast<char>(acc & 0xFF);
      acc >>= 8;
      bits -= 8;
    }
  }
  if (bits) packed += static_cast<char>(acc & 0xFF);
  data += static_cast<char>(minCodeSize);
  for (size_t i = 0; i < packed.size(); i += 255) {
    const std::string chunk = packed.substr(i, 255);
    data += static_cast<char>(chunk.size());
    data += chunk;
  }
  data += '\0';
  return data;
}

}  // namespace

std::string MakeGif(int width, int height, const std::vector<GifFrame>& frames) {
  std::string out = "GIF89a";
  Word(out, width);
  Word(out, height);
  out += static_cast<char>(0x81);  // global table of 4 colours
  out += '\0';
  out += '\0';
  // Green last: the palette ends in a zero byte, as the loader's cut at "00 21 F9" needs to
  // find the first frame.
  const unsigned char palette[12] = {255, 255, 255, 255, 0, 0, 0, 0, 255, 0, 255, 0};
  out.append(reinterpret_cast<const char*>(palette), 12);
  for (const GifFrame& f : frames) {
    if (f.ControlBlock) {
      out += "\x21\xF9\x04";
      out += static_cast<char>(0x04);
      Word(out, f.Delay);
      out += '\0';
      out += '\0';
    }
    out += '\x2C';
    Word(out, f.Left);
    Word(out, f.Top);
    Word(out, f.Width);
    Word(out, f.Height);
    out += '\0';
    if (f.Corrupt) {
      // A code width of 12 with data that is no valid stream.
      out += std::string("\x0C\x04\xFF\xFF\xFF\xFF\x00", 7);
    } else {
      out += ImageData(f.Width * f.Height, f.Colour);
    }
  }
  out += '\x3B';
  return out;
}

}  // namespace vtest
