#include "listing/view/HeadingStrip.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "listing/view/ViewState.h"
#include "toolkit/MousePointer.h"
#include "toolkit/Text.h"
#include "toolkit/Window.h"
#include "zenlo/button_headings.h"
#include "zenlo/button_headingsEvents.h"

namespace zenlo {

namespace {
constexpr UINT_PTR kFocusSubclassId = 0x7B02;
constexpr std::int32_t kFillerReach = HeadingsTable::kFillerReach;
const wchar_t kPlacementError[] = L"An error occurred while drawing the heading titles.";

int Px(double twips) { return std::max(0, tk::TwipsToPixels(twips, tk::TwipsPerPixelX())); }
}  // namespace

// Hands one button's events to the strip's handlers, each run while the control is kept
// alive. Nothing here is touched after the handler returns: the host may have let go.
class HeadingStrip::Relay final : public button_headingsEvents {
 public:
  Relay(HeadingStrip& strip, int index) : strip_(strip), index_(index) {}

  void Click() override {
    Run([this] { strip_.cmdSort_Click(index_); });
  }
  void DblClick(short& Button, short& Shift, float&, float&) override {
    Run([&] { strip_.cmdSort_DblClick(index_, Button, Shift); });
  }
  void ResizeButton(float& Diff) override {
    Run([&] { strip_.cmdSort_ResizeButton(index_, Diff); });
  }
  void ResizeFinished() override {
    Run([this] { strip_.cmdSort_ResizeFinished(index_); });
  }
  void ResizeColumn() override {}
  void ResizeColumn1(short& Shift1) override {
    Run([&] { strip_.cmdSort_ResizeColumn1(index_, Shift1); });
  }
  void SetMousePointer(short& PointerType) override {
    Run([&] { strip_.cmdSort_SetMousePointer(PointerType); });
  }
  void MouseMove(short&, short&, float&, float&, bool& DoResize) override {
    Run([&] { strip_.cmdSort_MouseMove(index_, DoResize); });
  }
  void MouseDown(short&, short&, float&, float&) override {
    Run([this] { strip_.cmdSort_MouseDown(index_); });
  }
  void GetMinMaxX(float& Xmin, float& Xmax) override {
    Run([&] { strip_.cmdSort_GetMinMaxX(index_, Xmin, Xmax); });
  }
  void LostFocus() {
    Run([this] { strip_.cmdSort_LostFocus(index_); });
  }

 private:
  template <typename F>
  void Run(F&& f) {
    strip_.owner_.Guarded(std::forward<F>(f));
  }
  HeadingStrip& strip_;
  int index_;
};

HeadingStrip::HeadingStrip(ViewState& view, Owner& owner) : view_(view), owner_(owner) {}

HeadingStrip::~HeadingStrip() {
  for (Slot& s : buttons_) {
    if (!s.button) continue;
    if (HWND w = s.button->Window())
      RemoveWindowSubclass(w, &HeadingStrip::FocusProc, kFocusSubclassId);
    s.button->AttachEvents(nullptr);
    s.button->Release();
    s.button = nullptr;
  }
}

// ---- Creating the buttons ----

void HeadingStrip::SetParent(HWND surface) {
  parent_ = surface;
  for (int i = 0; i < kButtons; ++i)
    if (Loaded(i)) CreateWindowOf(i);
}

void HeadingStrip::Load(int index) {
  if (index < 0 || index >= kButtons || Loaded(index)) return;
  Slot& s = buttons_[static_cast<std::size_t>(index)];
  s.relay = std::make_unique<Relay>(*this, index);
  s.button = button_headings::Create();
  s.button->AttachEvents(s.relay.get());
  s.button->ButtonIndexMax = 10;
  const SkinSettings& skin = view_.Skin;
  const std::pair<const wchar_t*, COLORREF> colours[] = {
      {L"ColorActiveHeading", skin.ActiveHeading},
      {L"ColorInactiveHeading", skin.InactiveHeading},
      {L"ColorActiveHeadingText", skin.ActiveHeadingText},
      {L"ColorInactiveHeadingText", skin.InactiveHeadingText},
      {L"ColorHeadingHoverText", skin.HeadingHoverText},
      {L"ColorProgramBackground", skin.PaneBackground}};
  for (const auto& [name, colour] : colours)
    s.button->ApplyProperty(name, static_cast<std::int32_t>(colour));
  s.button->Highlight(false);
  // A button made after a sort shows the mark its heading already has.
  const SortMark& mark = view_.SortMarks[static_cast<std::size_t>(index)];
  s.button->ShowSort(mark.Order, mark.Number);
  // The strip is as high as button 1.
  if (index == 1) view_.HeadingHeight = kButtonHeight;
  if (parent_) CreateWindowOf(index);
}

void HeadingStrip::CreateWindowOf(int index) {
  button_headings& b = *buttons_[static_cast<std::size_t>(index)].button;
  if (b.Window()) return;
  if (!b.CreateFrame(parent_, static_cast<std::int16_t>(index), L"cmdSort")) return;
  HWND w = b.Window();
  // Placed and shown by the next heading layout.
  ShowWindow(w, SW_HIDE);
  b.DoResize = true;
  SetWindowPos(w, nullptr, 0, 0, 0,
               std::max(0, tk::TwipsToPixels(kButtonHeight, tk::TwipsPerPixelY())),
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  b.DoResize = false;
  SetWindowSubclass(w, &HeadingStrip::FocusProc, kFocusSubclassId,
                    reinterpret_cast<DWORD_PTR>(buttons_[static_cast<std::size_t>(index)].relay.get()));
}

// A button takes the focus when pressed, as any control of a form does; losing it again resets
// its caption colour.
LRESULT CALLBACK HeadingStrip::FocusProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR data) {
  switch (msg) {
    case WM_LBUTTONDOWN:
      if (GetFocus() != hwnd) SetFocus(hwnd);
      break;
    case WM_KILLFOCUS:
      reinterpret_cast<Relay*>(data)->LostFocus();
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, &HeadingStrip::FocusProc, id);
      break;
    default:
      break;
  }
  return DefSubclassProc(hwnd, msg, wParam, lParam);
}

bool HeadingStrip::Loaded(int index) const {
  return index >= 0 && index < kButtons && buttons_[static_cast<std::size_t>(index)].button;
}

button_headings* HeadingStrip::Button(int index) const {
  return Loaded(index) ? buttons_[static_cast<std::size_t>(index)].button : nullptr;
}

// ---- Geometry ----

std::int32_t HeadingStrip::ScrollOffset() const {
  return owner_.ColumnsScroll() ? view_.HScroll1.Value() : 0;
}

std::int32_t HeadingStrip::ButtonLeft(int index) const {
  HWND w = Loaded(index) ? Button(index)->Window() : nullptr;
  if (!w) return 0;
  RECT r;
  GetWindowRect(w, &r);
  MapWindowPoints(nullptr, GetParent(w), reinterpret_cast<POINT*>(&r), 2);
  return r.left * tk::TwipsPerPixelX();
}

std::int32_t HeadingStrip::ButtonWidth(int index) const {
  HWND w = Loaded(index) ? Button(index)->Window() : nullptr;
  if (!w) return 0;
  RECT r;
  GetWindowRect(w, &r);
  return (r.right - r.left) * tk::TwipsPerPixelX();
}

void HeadingStrip::MoveButton(int index, std::int32_t left, std::int32_t top, std::int32_t width) {
  HWND w = Button(index)->Window();
  if (!w) return;
  const int x = tk::TwipsToPixels(left, tk::TwipsPerPixelX());
  const int y = tk::TwipsToPixels(top, tk::TwipsPerPixelY());
  const int cx = Px(width);
  const int cy = std::max(0, tk::TwipsToPixels(kButtonHeight, tk::TwipsPerPixelY()));
  // A layout runs on every redraw: a button already in place is left alone.
  RECT r;
  GetWindowRect(w, &r);
  MapWindowPoints(nullptr, GetParent(w), reinterpret_cast<POINT*>(&r), 2);
  if (r.left == x && r.top == y && r.right - r.left == cx && r.bottom - r.top == cy) return;
  SetWindowPos(w, nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void HeadingStrip::SetButtonLeft(int index, std::int32_t left) {
  HWND w = Button(index)->Window();
  if (!w) return;
  RECT r;
  GetWindowRect(w, &r);
  MapWindowPoints(nullptr, GetParent(w), reinterpret_cast<POINT*>(&r), 2);
  SetWindowPos(w, nullptr, tk::TwipsToPixels(left, tk::TwipsPerPixelX()), r.top, 0, 0,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
}

void HeadingStrip::SetButtonWidth(int index, std::int32_t width) {
  button_headings& b = *Button(index);
  HWND w = b.Window();
  if (!w) return;
  RECT r;
  GetWindowRect(w, &r);
  b.DoResize = true;
  SetWindowPos(w, nullptr, 0, 0, Px(width), r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  b.DoResize = false;
}

void HeadingStrip::SetVisible(int index, bool visible) {
  if (Loaded(index)) tk::ShowChild(Button(index)->Window(), visible);
}

int HeadingStrip::SlotShowing(int index) const {
  for (int slot = 0; slot < HeadingsTable::kSlots; ++slot)
    if (view_.Headings.Headings[static_cast<std::size_t>(slot)].Index == index) return slot;
  return -1;
}

// ---- Placing ----

void HeadingStrip::ShowColumns() {
  for (const TypeHeading& h : view_.Headings.Headings) {
    if (h.Index < 0 || h.Index >= kButtons) continue;  // DrawTitles reports it
    if (h.Active) {
      // Shown or hidden by DrawTitles, which knows whether it lies in the visible width: showing
      // it here first would hide and show every button past the edge on each layout.
      Load(h.Index);
      Button(h.Index)->DoResize = false;
    } else {
      SetVisible(h.Index, false);
    }
  }
}

void HeadingStrip::DrawTitles() {
  bool failed = false;
  for (int slot = 0; slot < HeadingsTable::kSlots; ++slot) {
    if (!view_.Headings.Headings[static_cast<std::size_t>(slot)].Active) continue;
    try {
      PlaceButton(slot);
    } catch (...) {
      failed = true;  // the other headings are still placed
    }
  }
  // Said once when it starts, not on every redraw of a table that stays damaged.
  if (failed && !placementFailed_) owner_.Message(kPlacementError);
  placementFailed_ = failed;
}

void HeadingStrip::PlaceButton(int slot) {
  const TypeHeading& h = view_.Headings.Headings[static_cast<std::size_t>(slot)];
  // A table restored from a damaged file may name a button that cannot exist.
  if (h.Index < 0 || h.Index >= kButtons) throw std::out_of_range("heading button");
  const int b = h.Index;
  Load(b);
  button_headings& button = *Button(b);
  const std::int32_t p = tk::TwipsPerPixelX();
  const std::int32_t x0 = h.Left - ScrollOffset();
  const std::int32_t x1 = x0 + h.Width;
  const std::int32_t L = view_.shpOutline.Left;
  const std::int32_t R = L + view_.shpOutline.Width;
  const std::int32_t top = view_.Toolbar1Rect.Top + view_.Toolbar1Rect.Height;
  const bool room = !view_.NoRoom;
  button.DoResize = false;
  button.CanBeResized = true;
  if (x0 >= L && x0 > R - 2 * p) {
    SetVisible(b, false);
  } else if (x0 >= L && x1 <= R) {
    button.DoResize = true;
    MoveButton(b, x0 + p, top, h.Width - p);
    SetVisible(b, room);
  } else if (x0 >= L) {
    // Cut by the right edge: its grip is not on screen.
    button.CanBeResized = false;
    button.DoResize = true;
    MoveButton(b, x0 + p, top, R - x0 - 2 * p);
    SetVisible(b, room);
  } else if (x1 <= L) {
    SetVisible(b, false);  // wholly left of the visible area
  } else {
    // Scrolled past its start: only the visible part, from just inside the outline.
    button.DoResize = true;
    if (x1 > R) {
      button.CanBeResized = false;
      MoveButton(b, L + p, top, R - L - 2 * p);
    } else {
      MoveButton(b, L + p, top, x1 - L - p);
    }
    SetVisible(b, room);
  }
  if (button.Caption() != h.Caption) button.SetCaption(h.Caption);
  button.SetToolTip(h.ToolTip);
}

void HeadingStrip::HideAll() {
  for (int i = 0; i < kButtons; ++i) SetVisible(i, false);
}

// ---- Colours and marks ----

void HeadingStrip::Colour(int index) {
  for (int i = 0; i < kButtons; ++i)
    if (button_headings* b = Button(i)) b->Highlight(i == index);
}

void HeadingStrip::HighLight(int index) {
  Colour(index);
  owner_.SetActiveButton(static_cast<std::int16_t>(index));
}

void HeadingStrip::ForwardProperty(const std::wstring& name, const Variant& value) {
  for (int i = 0; i < kButtons; ++i)
    if (button_headings* b = Button(i)) b->ApplyProperty(name, value);
}

void HeadingStrip::ShowSortMarks() {
  for (int i = 0; i < kButtons; ++i)
    if (button_headings* b = Button(i)) {
      const SortMark& mark = view_.SortMarks[static_cast<std::size_t>(i)];
      b->ShowSort(mark.Order, mark.Number);
    }
}

void HeadingStrip::StopTimers() {
  for (int i = 0; i < kButtons; ++i)
    if (button_headings* b = Button(i)) b->StopTimer();
}

// ---- Handlers of the buttons' events ----

void HeadingStrip::cmdSort_Click(int index) {
  if (index == kFiller) return;
  HeadingsTable& t = view_.Headings;
  t.ActiveButtonIndex = static_cast<std::int16_t>(index);
  for (int slot = 0; slot < kFiller; ++slot)
    if (t.Headings[static_cast<std::size_t>(slot)].Index == index) {
      t.ActiveHeadingIndex = static_cast<std::int16_t>(slot);
      break;
    }
  HighLight(index);
  if (owner_.Closing()) return;  // the host let go when it heard of the button
  t.FindAdjacent(t.ActiveHeadingIndex, t.LeftHeading, t.RightHeading);
}

void HeadingStrip::cmdSort_DblClick(int index, short, short shift) {
  if (index == kFiller) return;
  // Every double click sorts opposite to the sort before it, whichever heading that was.
  std::wstring& direction = owner_.SortDirection();
  std::wstring next = tk::UpperCase(direction).find(L"ASC") != std::wstring::npos ? L"des" : L"asc";
  if (shift & 1) next += L"add";
  direction = next;
  if (index == 0) {
    cmdSort_Click(0);
    if (owner_.Closing()) return;
  }
  owner_.DoSorting(next);
}

void HeadingStrip::cmdSort_MouseDown(int index) {
  if (index == kFiller) return;
  HeadingsTable& t = view_.Headings;
  resizeButtonIndex_ = static_cast<std::int16_t>(index);
  const int slot = SlotShowing(index);
  t.ResizeHeadingSlot = static_cast<std::int16_t>(slot);
  resizeStartWidth_ = ButtonWidth(index);
  resizeWidthDelta_ =
      slot >= 0 ? t.Headings[static_cast<std::size_t>(slot)].Width - resizeStartWidth_ : 0;
  if (slot >= 0) {
    t.FindAdjacent(slot, t.MoveLeftHeading, t.MoveRightHeading);
  } else {
    t.MoveLeftHeading = t.MoveRightHeading = -1;  // no column of this button moves anything
  }
}

void HeadingStrip::cmdSort_MouseMove(int index, bool doResize) {
  if (index == 0 || index == kFiller) return;
  tk::SetScreenMousePointer(doResize ? tk::PointerSizeWE : tk::PointerDefault);
}

// The hover's limits are in the button's own coordinates, measured from where the button now
// is: its place already holds the scroll offset, so the offset does not enter them again.
void HeadingStrip::cmdSort_GetMinMaxX(int index, float& xMin, float& xMax) {
  xMin = static_cast<float>(kHoverMargin);
  xMax = static_cast<float>(view_.Width - ButtonLeft(index) - kHoverMargin);
}

void HeadingStrip::cmdSort_ResizeButton(int index, float diff) {
  if (index == kFiller || !Loaded(index)) return;
  const HeadingsTable& t = view_.Headings;
  const auto travel = static_cast<std::int32_t>(std::lround(diff));
  const std::int32_t w = resizeStartWidth_ + travel;
  // Narrower than the minimum: the column keeps the width of the last step.
  if (w <= kMinimumWidth) return;
  const std::int32_t s = ScrollOffset();
  if (t.ResizeHeadingSlot == kFiller) {
    if (ButtonLeft(index) + w + s < kFillerReach) SetButtonWidth(index, w);
    return;
  }
  SetButtonWidth(index, w);
  if (t.MoveRightHeading < 0) return;
  // The columns to the right follow the edge; the table changes only on release.
  for (int slot = t.MoveRightHeading; slot < HeadingsTable::kSlots; ++slot) {
    const TypeHeading& h = t.Headings[static_cast<std::size_t>(slot)];
    if (h.Active && Loaded(h.Index)) SetButtonLeft(h.Index, h.Left + travel - s);
  }
  RepaintBand();
}

void HeadingStrip::RepaintBand() {
  if (!parent_ || view_.NoRoom) return;
  // From the toolbar's foot, where the buttons stand, to the listing's top.
  const int tppY = tk::TwipsPerPixelY();
  RECT band;
  GetClientRect(parent_, &band);
  band.top = tk::TwipsToPixels(view_.Toolbar1Rect.Top + view_.Toolbar1Rect.Height, tppY);
  band.bottom = tk::TwipsToPixels(view_.BoundBoxRect.Top, tppY);
  RedrawWindow(parent_, &band, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void HeadingStrip::cmdSort_ResizeFinished(int index) {
  if (index == kFiller || !Loaded(index)) return;
  HeadingsTable& t = view_.Headings;
  const int slot = t.ResizeHeadingSlot;
  if (slot < 0 || slot >= HeadingsTable::kSlots) return;
  t.Headings[static_cast<std::size_t>(slot)].Width = ButtonWidth(index) + resizeWidthDelta_;
  if (slot != kFiller && t.MoveRightHeading >= 0) {
    const std::int32_t s = ScrollOffset();
    for (int k = t.MoveRightHeading; k < HeadingsTable::kSlots; ++k) {
      TypeHeading& h = t.Headings[static_cast<std::size_t>(k)];
      if (h.Active && Loaded(h.Index)) h.Left = ButtonLeft(h.Index) + s;
    }
  }
  RepaintBand();
  owner_.RedrawListing();
}

void HeadingStrip::cmdSort_ResizeColumn1(int index, short shift1) {
  const int slot = SlotShowing(index);
  if (slot < 0) return;
  TypeHeading& h = view_.Headings.Headings[static_cast<std::size_t>(slot)];
  const std::int32_t fit = (shift1 & 2) ? h.DrawnWidth : h.MaxTextWidth;
  // Nothing measured (an empty listing) would make the column vanish: it keeps its width, as
  // a drag that narrow would.
  if (fit <= kMinimumWidth || fit == h.Width) return;
  h.Width = fit;
  owner_.RedrawListing();
}

void HeadingStrip::cmdSort_SetMousePointer(short pointerType) {
  owner_.SetMasterMousePointer(pointerType);
}

void HeadingStrip::cmdSort_LostFocus(int index) {
  if (index == kFiller || !Loaded(index)) return;
  Button(index)->ResetLabelTextColour(index == view_.Headings.ActiveButtonIndex);
}

}  // namespace zenlo
