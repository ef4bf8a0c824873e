#pragma once
// Small GIF files made by the tests: a global palette of four colours, frames of one colour
// each, with or without a graphic control block.
#include <cstdint>
#include <string>
#include <vector>

namespace vtest {

struct GifFrame {
  int Left = 0, Top = 0, Width = 8, Height = 8;
  int Colour = 1;  // palette index: 0 white, 1 red, 2 blue, 3 green
  int Delay = 10;  // hundredths of a second
  bool ControlBlock = true;
  bool Corrupt = false;  // image data no decoder accepts
};

std::string MakeGif(int width, int height, const std::vector<GifFrame>& frames);

}  // namespace vtest
