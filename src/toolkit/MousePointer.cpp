#include "toolkit/MousePointer.h"

#include <windows.h>

namespace tk {

namespace {
int g_shape = PointerDefault;
}

int ScreenMousePointer() { return g_shape; }

void SetScreenMousePointer(int shape) {
  g_shape = shape;
  LPCWSTR id = shape == PointerHourglass ? IDC_WAIT
               : shape == PointerSizeWE ? IDC_SIZEWE
                                        : IDC_ARROW;
  SetCursor(LoadCursorW(nullptr, id));
}

HourglassPointer::HourglassPointer() : saved_(g_shape) { SetScreenMousePointer(PointerHourglass); }
HourglassPointer::~HourglassPointer() { SetScreenMousePointer(saved_); }

}  // namespace tk
