#pragma once
// The screen's mouse pointer shared by every window of the program.

namespace tk {

enum MousePointerShape : int {
  PointerDefault = 0,
  PointerArrow = 1,
  PointerSizeWE = 9,  // the west-east size arrow over a column edge
  PointerHourglass = 11,
};

int ScreenMousePointer();
void SetScreenMousePointer(int shape);

// Shows the hourglass for the lifetime of the object and puts back the pointer it found.
class HourglassPointer {
 public:
  HourglassPointer();
  ~HourglassPointer();
  HourglassPointer(const HourglassPointer&) = delete;
  HourglassPointer& operator=(const HourglassPointer&) = delete;

 private:
  int saved_;
};

}  // namespace tk
