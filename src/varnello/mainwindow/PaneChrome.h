#pragma once
// The pane area's own windows besides the lists and the title bars: each pane's title and
// close buttons, the no-room labels, the outlines and frames (painted by the main window) and
// the splitter marker bars.
#include <windows.h>

#include <array>

#include "mainwindow/PaneArrangement.h"
#include "mainwindow/PaneRecords.h"

namespace varnello {

class PaneChrome {
 public:
  static constexpr UINT kTitleButtonId = 41100;  // + pane
  static constexpr UINT kCloseButtonId = 41110;  // + pane
  static constexpr COLORREF kMarkerColour = RGB(166, 202, 240);
  static constexpr COLORREF kMarkerColour2 = RGB(150, 150, 150);
  static constexpr const wchar_t* kNoRoomText = L"Area too small to display items.";

  PaneChrome() = default;
  ~PaneChrome();
  PaneChrome(const PaneChrome&) = delete;
  PaneChrome& operator=(const PaneChrome&) = delete;

  void Create(HWND parent, HFONT font);

  HWND TitleButton(short pane) const { return titleButtons_[pane]; }
  HWND CloseButton(short pane) const { return closeButtons_[pane]; }
  // lblNoRoom of list `index` (0-4 tree, 100-104 listing).
  HWND NoRoom(short index) const;
  HWND LineVert() const { return lines_[0]; }
  HWND LineVert2() const { return lines_[1]; }
  HWND LineHorz() const { return lines_[2]; }
  HWND LineHorz2() const { return lines_[3]; }
  // Colour of a marker bar, or false when `w` is none of them.
  bool MarkerColour(HWND w, COLORREF& colour) const;

  // shpPlaceHolder(index) and shpBack(pane): drawn as outlines when visible (pixels).
  struct Shape {
    bool Visible = false;
    RECT Bounds{};
  };
  Shape& PlaceHolder(short index) { return index >= 100 ? holders_[index - 100 + 5] : holders_[index]; }
  Shape& Back(short pane) { return backs_[pane]; }
  // The pane frames filled with the pane background, then every visible outline.
  void Paint(HDC dc, COLORREF outline, COLORREF paneBackground) const;

  // Hides every window of pane `pane` that the layout pass moves (lists excepted).
  void HidePane(short pane);

 private:
  std::array<HWND, kPaneCount> titleButtons_{};
  std::array<HWND, kPaneCount> closeButtons_{};
  std::array<HWND, 2 * kPaneCount> noRoom_{};
  std::array<HWND, 4> lines_{};
  std::array<Shape, 2 * kPaneCount> holders_{};
  std::array<Shape, kPaneCount> backs_{};
};

// Twips to pixels for a window rectangle.
RECT ToPixels(const TwipRect& r, int tppX, int tppY);

}  // namespace varnello
