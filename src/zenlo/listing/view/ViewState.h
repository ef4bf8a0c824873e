#pragma once
// What the control's view holds: its windows, the placement of its parts in twips, the headings,
// the drawing surfaces, the listing geometry and the skin.
#include <windows.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "listing/model/HeadingsTable.h"
#include "listing/view/DragDrop.h"
#include "listing/view/FolderBoxTip.h"
#include "toolkit/Controls.h"
#include "toolkit/Gdi.h"
#include "toolkit/TextMeasure.h"
#include "toolkit/Window.h"

namespace zenlo {

// A part's place in the control, in twips.
struct PartRect {
  std::int32_t Left = 0, Top = 0, Width = 0, Height = 0;
  bool Visible = true;
};

// The skin's colours and options as the control uses them.
struct SkinSettings {
  COLORREF ListBackground = RGB(255, 255, 255);
  COLORREF PreviousListBackground = RGB(255, 255, 255);
  COLORREF ListText = RGB(0, 0, 0);
  COLORREF TextSecondary = RGB(128, 128, 128);
  COLORREF StatusText = RGB(0, 0, 0);
  COLORREF StatusBackground = RGB(236, 233, 216);
  // The control's own background and the border of its whole-background shape: the pane's
  // active or inactive look (HiLightControl).
  COLORREF ControlBackground = RGB(236, 233, 216);
  COLORREF UserControlBorder = RGB(160, 160, 160);
  COLORREF Outline = RGB(160, 160, 160);
  COLORREF ActiveListOutline = RGB(0, 84, 227);
  COLORREF InActiveListOutline = RGB(160, 160, 160);
  COLORREF ActiveItemOutline = RGB(49, 106, 197);
  COLORREF ActiveItemUnderline = RGB(49, 106, 197);
  COLORREF MinorToolbar = RGB(236, 233, 216);
  COLORREF PaneBackground = RGB(236, 233, 216);
  COLORREF ActiveHeading = RGB(255, 255, 255);
  COLORREF InactiveHeading = RGB(236, 233, 216);
  COLORREF ActiveHeadingText = RGB(0, 0, 0);
  COLORREF InactiveHeadingText = RGB(0, 0, 0);
  COLORREF HeadingHoverText = RGB(0, 84, 227);
  COLORREF HeadingBackdrop = RGB(255, 255, 255);
  std::int16_t BorderWidth = 1;  // pixels, of the outline and the whole-background shape
  bool TrackFoldChanges = true;
  bool TrackFileChanges = true;
  bool TrackChime = false;
};

// The sort mark a heading button shows: order "asc"/"des" ("" none) and its level number
// ("" for the first level).
struct SortMark {
  std::wstring Order;
  std::wstring Number;
};

struct ColumnZone {
  std::int32_t Left = 0, Right = 0;
};

struct ViewState {
  // Windows (only once the host has sited the control).
  tk::HandlerWindow Surface;
  tk::HandlerWindow BoundBox;
  tk::HandlerWindow FolderBox;
  tk::ScrollBar VScroll1;
  tk::ScrollBar HScroll1;
  tk::Label lblStatus;
  tk::ComboBox cboFilter;
  tk::Toolbar Toolbar1;
  // The "showfolders" button of a listing: unset until LoadSetup or the user sets it.
  std::optional<bool> ShowFoldersPressed;
  tk::Font ListFont;  // Arial 8 pt: text and measurements of the listing
  mutable tk::TextMeasure Measure;
  HMENU HeadingsMenu = nullptr;
  HMENU ListModeMenu = nullptr;
  HMENU MimicMenu = nullptr;

  // Placement in twips (FolderBox inside BoundBox; the rest in the control).
  PartRect Toolbar1Rect{0, 0, 0, 390, true};
  PartRect ZFCombo1{0, 0, 0, 260, false};
  tk::ChildPlacement ZFCombo1Placement;  // the drive selector's window
  PartRect cboFilterRect{0, 0, 1300, 315, false};
  PartRect BoundBoxRect;
  PartRect FolderBoxRect;
  std::int32_t FolderBoxScaleTop = 0;
  PartRect VScroll1Rect{0, 0, 250, 0, false};
  PartRect HScroll1Rect{0, 0, 0, 250, false};
  PartRect lblStatusRect{0, 0, 0, 255, true};
  PartRect shpOutline, shpButBack, shpBackground, shpUserControlBackground;
  std::int32_t HeadingHeight = 285;  // heading button 1's height
  std::int32_t CalculateButtonRight = 0;  // toolbar "calculate" button's left + width
  std::int32_t Width = 0, Height = 0;     // the control's inner size in twips
  bool NoRoom = false;
  Orient Layout = vertical;

  // Headings and sort levels.
  HeadingsTable Headings;
  SortOrderList Sorts;
  std::array<SortMark, 11> SortMarks{};  // by heading button index

  // Surfaces: the listing composed off screen, and the front copy that painting shows.
  tk::MemorySurface List;
  tk::MemorySurface Front;
  HGDIOBJ ListPreviousFont = nullptr;

  // Geometry.
  std::int16_t RowHeight = 265;
  std::int32_t TopItem = 0;
  std::int32_t VisibleRows = 1;
  std::int32_t VisibleColumns = 1;
  std::int32_t ColumnWidth = 0;
  std::int32_t ColumnCount = 1;
  std::vector<ColumnZone> ColumnZones{1};
  std::int32_t FirstVisible = -1;
  std::int32_t LastVisible = -1;
  bool EmptyTextShown = false;
  bool DoDrawing = false;  // set by the first placement
  bool ScrollRedrawEnabled = true;
  std::int32_t HoverItem = -1;
  std::int32_t LastHoverItem = -1;
  // The hover item's screen row: a scroll keeps the row, so the hover moves to another item.
  std::int32_t HoverRow = -1;
  struct {
    double Top = 0, Bottom = 0, Left = 0, Right = 0;
  } ActiveFrame;
  struct {
    std::int32_t X1 = 0, X2 = 0, Y1 = 0, Y2 = 0;
  } HoverLine;
  std::wstring LastActiveTreePath;
  std::int16_t EdgeGap = 105;
  std::wstring FolderBoxToolTip;  // what the drawing wants the tip to say
  FolderBoxTip Tip;               // the tip window that says it
  // ResizeControl moves the child windows once, after all its steps.
  int PlacementHeld = 0;
  bool PlacementPending = false;

  // Layout constants of the drawing, stored by every read.
  std::int32_t IndentBase = 300, IndentStep = 150, TextOffsetX = 200, IconOffsetX = -250,
               ExpanderOffsetX = -400, ExtWidthPad = 50, SizeWidthPad = 100;

  SkinSettings Skin;
  std::wstring SelectionText;
  // Said in front of the counts until the next read (a folder gone from under the listing).
  std::wstring StatusNotice;

  DragDropState Drag;

  // Pointer pictures loaded at start-up.
  tk::Bitmap PointerSelect;
  std::array<HCURSOR, 6> Cursors{};
};

}  // namespace zenlo
