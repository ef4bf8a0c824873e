#pragma once
// The strip of column heading buttons above a listing (the control's cmdSort array): creating
// the buttons on first need, placing and captioning them from the headings table with the
// horizontal scroll, their colours and sort marks, and what a click, a double click and a drag
// of a button's edge do to the headings.
#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "zenlo/ZenloTypes.h"

namespace zenlo {

class button_headings;
struct ViewState;

class HeadingStrip {
 public:
  static constexpr int kButtons = 11;
  static constexpr int kFiller = 10;
  static constexpr std::int32_t kButtonHeight = 240;  // twips
  static constexpr std::int32_t kMinimumWidth = 300;  // a column is always wider than this
  static constexpr std::int32_t kHoverMargin = 50;    // twips kept clear at the strip's ends

  // What the strip needs of the control it belongs to.
  class Owner {
   public:
    virtual ~Owner() = default;
    // Runs a button's handler while the control is kept alive; nothing runs once the host has
    // let go of it. The strip may be gone when this returns.
    virtual void Guarded(const std::function<void()>& handler) = 0;
    virtual bool Closing() const = 0;
    virtual void Message(const std::wstring& text) = 0;
    virtual void SetActiveButton(std::int16_t index) = 0;
    virtual void SetMasterMousePointer(std::int16_t pointer) = 0;
    // The direction word of the next sort, shared by all headings.
    virtual std::wstring& SortDirection() = 0;
    virtual void DoSorting(const std::wstring& direction) = 0;
    // The listing and its active and hover highlights, drawn again.
    virtual void RedrawListing() = 0;
    // Details geometry: the columns slide with the horizontal scroll bar.
    virtual bool ColumnsScroll() const = 0;
  };

  HeadingStrip(ViewState& view, Owner& owner);
  ~HeadingStrip();
  HeadingStrip(const HeadingStrip&) = delete;
  HeadingStrip& operator=(const HeadingStrip&) = delete;

  // The control's surface: buttons get their windows in it (those loaded before, and every
  // later one at once).
  void SetParent(HWND surface);
  // Creates button `index` unless it exists: its height, the listing's heading colours, no
  // highlight and the sort mark the view holds for it.
  void Load(int index);
  bool Loaded(int index) const;
  button_headings* Button(int index) const;

  // The buttons of the shown slots exist; the others are hidden. Then DrawTitles, which shows
  // the shown slots' buttons that lie in the visible width.
  void ShowColumns();
  // Places and captions the buttons of the shown slots from the table and the scroll offset.
  void DrawTitles();
  void HideAll();
  // Invalidates the strip's whole row, buttons and gaps: moved buttons leave pieces of where they
  // were in the gaps between them (the platform copies their pixels along).
  void RepaintBand();
  // Highlights button `index` and no other.
  void Colour(int index);
  // Colour, then the host hears which button is active.
  void HighLight(int index);
  void ForwardProperty(const std::wstring& name, const Variant& value);
  void ShowSortMarks();
  void StopTimers();

  // What the button handlers keep between a press and a release.
  std::int16_t ResizeButtonIndex() const { return resizeButtonIndex_; }
  std::int32_t ResizeStartWidth() const { return resizeStartWidth_; }
  std::int32_t ResizeWidthDelta() const { return resizeWidthDelta_; }

  // ---- Handlers of the buttons' events ----
  void cmdSort_Click(int index);
  void cmdSort_DblClick(int index, short button, short shift);
  void cmdSort_MouseDown(int index);
  void cmdSort_MouseMove(int index, bool doResize);
  void cmdSort_GetMinMaxX(int index, float& xMin, float& xMax);
  void cmdSort_ResizeButton(int index, float diff);
  void cmdSort_ResizeFinished(int index);
  void cmdSort_ResizeColumn1(int index, short shift1);
  void cmdSort_SetMousePointer(short pointerType);
  void cmdSort_LostFocus(int index);

 private:
  class Relay;
  struct Slot {
    button_headings* button = nullptr;
    std::unique_ptr<Relay> relay;
  };

  void CreateWindowOf(int index);
  static LRESULT CALLBACK FocusProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR id, DWORD_PTR data);
  // The slot (0 to 9) whose heading button `index` shows; -1 when none does.
  int SlotShowing(int index) const;
  std::int32_t ScrollOffset() const;
  // The button's place in the control, twips.
  std::int32_t ButtonLeft(int index) const;
  std::int32_t ButtonWidth(int index) const;
  void MoveButton(int index, std::int32_t left, std::int32_t top, std::int32_t width);
  void SetButtonLeft(int index, std::int32_t left);
  void SetButtonWidth(int index, std::int32_t width);
  void SetVisible(int index, bool visible);
  void PlaceButton(int slot);

  ViewState& view_;
  Owner& owner_;
  HWND parent_ = nullptr;
  std::array<Slot, kButtons> buttons_;
  std::int16_t resizeButtonIndex_ = -1;
  std::int32_t resizeStartWidth_ = 0;
  std::int32_t resizeWidthDelta_ = 0;
  bool placementFailed_ = false;
};

}  // namespace zenlo
