// The off-screen surfaces: the listing, the icon caches (shared and own, plain and on the list
// background), and the copy of the listing to the screen.
#include "listing/model/ChangeWatch.h"
#include "listing/model/ItemDetails.h"
#include "listing/view/HeadingStrip.h"
#include "listing/view/ViewState.h"
#include "toolkit/TransparentBlt.h"
#include "toolkit/Window.h"
#include "zenlo/ZenloFileControl.h"

namespace zenlo {

namespace {
const wchar_t kSurfaceError[] = L"Error showing the folder contents.";

int SurfaceWidth(const ItemDetails& d) { return d.IconCacheColumns * kIconCell; }
int SurfaceHeight(const ItemDetails& d) { return d.IconCacheRows * kIconCell; }
}  // namespace

bool ZenloFileControl::DCSetup() {
  ViewState& v = *view_;
  HWND box = v.FolderBox.Handle();
  const int w = tk::TwipsToPixels(v.FolderBoxRect.Width, tk::TwipsPerPixelX());
  const int h = tk::TwipsToPixels(v.FolderBoxRect.Height, tk::TwipsPerPixelY());
  // The surface of the last draw serves again when it is large enough; its font stays in it.
  const bool reuse = v.List.Built();
  bool ok;
  if (reuse) {
    const HDC before = v.List.Dc();
    ok = v.List.Reuse(w > 0 ? w : 1, h > 0 ? h : 1, v.Skin.ListBackground);
    // Grown: a new surface, which takes the font as a new one does.
    if (ok && v.List.Dc() != before)
      v.ListPreviousFont = SelectObject(v.List.Dc(), v.ListFont.Get());
  } else {
    HDC boxDc = GetDC(box);  // the screen's when the control has no window yet
    ok = v.List.Create(w > 0 ? w : 1, h > 0 ? h : 1, v.Skin.ListBackground, boxDc);
    ReleaseDC(box, boxDc);
    if (ok) v.ListPreviousFont = SelectObject(v.List.Dc(), v.ListFont.Get());
  }
  if (!ok) {
    v.ListPreviousFont = nullptr;
    RaiseMessage(kSurfaceError);
    return false;
  }
  SetBkColor(v.List.Dc(), v.Skin.ListBackground);
  if (v.BoundBox.Handle()) InvalidateRect(v.BoundBox.Handle(), nullptr, TRUE);
  return true;
}

void ZenloFileControl::DCDestroy() {
  ViewState& v = *view_;
  if (v.List.Built() && v.ListPreviousFont) SelectObject(v.List.Dc(), v.ListPreviousFont);
  v.ListPreviousFont = nullptr;
  v.List.Destroy();
}

static bool BuildIconSurface(tk::MemorySurface& s, const ItemDetails& d, COLORREF fill) {
  return s.Create(SurfaceWidth(d), SurfaceHeight(d), fill);
}

bool ZenloFileControl::DCSetupIcon() {
  if (BuildIconSurface(details_->Shared, *details_, kIconKeyColour)) return true;
  RaiseMessage(kSurfaceError);
  return false;
}

bool ZenloFileControl::DCSetupIconTrans() {
  if (BuildIconSurface(details_->SharedTrans, *details_, view_->Skin.ListBackground)) return true;
  RaiseMessage(kSurfaceError);
  return false;
}

bool ZenloFileControl::DCSetupIconEXE() {
  if (BuildIconSurface(details_->Own, *details_, kIconKeyColour)) return true;
  RaiseMessage(kSurfaceError);
  return false;
}

bool ZenloFileControl::DCSetupIconEXETrans() {
  if (BuildIconSurface(details_->OwnTrans, *details_, view_->Skin.ListBackground)) return true;
  RaiseMessage(kSurfaceError);
  return false;
}

void ZenloFileControl::DCDestroyIcon() { details_->Shared.Destroy(); }
void ZenloFileControl::DCDestroyIconTrans() { details_->SharedTrans.Destroy(); }
void ZenloFileControl::DCDestroyIconEXE() { details_->Own.Destroy(); }
void ZenloFileControl::DCDestroyIconEXETrans() { details_->OwnTrans.Destroy(); }

HDC ZenloFileControl::IconSurface(bool ownIcons, bool onBackground) const {
  const ItemDetails& d = *details_;
  if (ownIcons) return onBackground ? d.OwnTrans.Dc() : d.Own.Dc();
  return onBackground ? d.SharedTrans.Dc() : d.Shared.Dc();
}

void ZenloFileControl::BitBltBase(bool SkipDrawingSelected) {
  ViewState& v = *view_;
  if (v.List.Built()) {
    if (v.Front.Width() != v.List.Width() || v.Front.Height() != v.List.Height())
      v.Front.Reuse(v.List.Width(), v.List.Height(), v.Skin.ListBackground, v.List.Dc());
    if (v.Front.Built())
      BitBlt(v.Front.Dc(), 0, 0, v.List.Width(), v.List.Height(), v.List.Dc(), 0, 0, SRCCOPY);
  }
  if (!SkipDrawingSelected) {
    DrawSelectedItems();
    RestoreHighlights();
  }
  if (v.FolderBox.Handle()) {
    InvalidateRect(v.FolderBox.Handle(), nullptr, FALSE);
    UpdateWindow(v.FolderBox.Handle());
  }
  if (v.BoundBox.Handle()) InvalidateRect(v.BoundBox.Handle(), nullptr, TRUE);
}

void ZenloFileControl::MakeIconTransPalette() {
  ItemDetails& d = *details_;
  const int usedWidth = kIconCellsPerRow * kIconCell;
  const int height = SurfaceHeight(d);
  if (d.Shared.Built() && d.SharedTrans.Built())
    tk::ChromaBlt(d.SharedTrans.Dc(), 0, 0, usedWidth, height, d.Shared.Dc(), 0, 0, usedWidth,
                  height, kIconKeyColour, false);
  if (d.Own.Built() && d.OwnTrans.Built())
    tk::ChromaBlt(d.OwnTrans.Dc(), 0, 0, usedWidth, height, d.Own.Dc(), 0, 0, usedWidth, height,
                  kIconKeyColour, false);
}

void ZenloFileControl::TransBlt(HDC dsthDC, HDC srchDC, std::int16_t X, std::int16_t Y,
                                std::int16_t Width, std::int16_t Height, COLORREF& TransColor) {
  tk::TransBlt(dsthDC, srchDC, X, Y, Width, Height, TransColor);
}

void ZenloFileControl::StopOD() {
  watch_->Timer1.SetInterval(0);
  strip_->StopTimers();
}

}  // namespace zenlo
