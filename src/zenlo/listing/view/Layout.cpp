// Placing the control's parts in whatever size the host gives it.
#include <algorithm>

#include "listing/view/HeadingStrip.h"
#include "listing/view/ViewState.h"
#include "toolkit/Window.h"
#include "zenlo/ZFCombo.h"
#include "zenlo/ZenloFileControl.h"

namespace zenlo {

namespace {
// A part refuses a negative size and keeps the one it had.
void SetWidth(PartRect& p, std::int32_t w) {
  if (w >= 0) p.Width = w;
}
void SetHeight(PartRect& p, std::int32_t h) {
  if (h >= 0) p.Height = h;
}
}  // namespace

void ZenloFileControl::ResizeControl(Orient TheLayout) {
  ViewState& v = *view_;
  v.Layout = TheLayout;
  if (HWND w = v.Surface.Handle()) {
    RECT r;
    GetClientRect(w, &r);
    v.Width = r.right * tk::TwipsPerPixelX();
    v.Height = r.bottom * tk::TwipsPerPixelY();
  }
  // Placing, the geometry pass and the drawing each change sizes; the windows follow once,
  // at the end, instead of after every step.
  ++v.PlacementHeld;
  try {
    PlaceControls();
  } catch (...) {
  }
  try {
    SetFolderBoxProperties(false);
  } catch (...) {
  }
  try {
    DrawFolderBox();
  } catch (...) {
  }
  if (--v.PlacementHeld == 0 && v.PlacementPending) ApplyPlacement();
}

void ZenloFileControl::PlaceControls() {
  ViewState& v = *view_;
  v.DoDrawing = true;
  const std::int32_t W = v.Width, H = v.Height, G = v.EdgeGap, P = tk::TwipsPerPixelX();
  const std::int32_t heading = v.HeadingHeight;
  const bool tree = ltFolderListType == fbFolder;
  for (const wchar_t* key : {L"showfolders", L"listmode", L"placeholder012"})
    v.Toolbar1.SetVisible(key, !tree);
  for (const wchar_t* key : {L"collapse", L"mimic"}) v.Toolbar1.SetVisible(key, tree);
  if (v.Toolbar1.Handle()) {
    const RECT calculate = v.Toolbar1.ButtonRect(L"calculate");
    v.CalculateButtonRight = v.Toolbar1Rect.Left + calculate.right * tk::TwipsPerPixelX();
  }
  v.lblStatusRect.Left = G - P;

  std::int32_t room;
  if (tree) {
    v.cboFilterRect.Visible = false;
    v.ZFCombo1.Height = 260;
    v.lblStatusRect.Visible = true;
    room = H - v.HScroll1Rect.Height - v.ZFCombo1.Height - heading - v.Toolbar1Rect.Height -
           v.lblStatusRect.Height - 2 * G;
    SetWidth(v.ZFCombo1, W - 2 * G);
    v.ZFCombo1.Left = G;
    v.ZFCombo1.Top = G;
    v.ZFCombo1.Visible = true;
    if (room > 0) {
      v.Toolbar1Rect.Top = v.ZFCombo1.Top + v.ZFCombo1.Height + 10;
      SetWidth(v.Toolbar1Rect, W - 2 * G);
    }
  } else {
    v.Toolbar1Rect.Top = G;
    SetWidth(v.Toolbar1Rect, W - 2 * G);
    v.cboFilterRect.Visible = true;
    v.cboFilterRect.Left = v.CalculateButtonRight + 130;
    v.cboFilterRect.Top = v.Toolbar1Rect.Top + 50;
    v.ZFCombo1.Visible = false;
    room = H - v.HScroll1Rect.Height - v.lblStatusRect.Height - heading - v.Toolbar1Rect.Height;
  }

  std::int32_t listingHeight = room;
  bool placed = true;
  if (room > 0) {
    v.NoRoom = false;
    v.lblStatusRect.Height = 225;
    v.lblStatusRect.Top = H - v.lblStatusRect.Height - G + P;
    SetWidth(v.lblStatusRect, v.Toolbar1Rect.Width + 2 * P);
    v.lblStatusRect.Visible = true;
    const std::int32_t T = v.Toolbar1Rect.Top + v.Toolbar1Rect.Height + heading;
    listingHeight = v.lblStatusRect.Top - T - v.HScroll1Rect.Height;
    const std::int32_t C = W - 2 * G - v.VScroll1Rect.Width + 30;
    if (C + 60 < 0 || listingHeight + 30 < 0) {
      placed = false;  // the listing box refuses the move: nothing below it changes
    } else {
      v.BoundBoxRect = {G, T, C + 60, listingHeight + 30, v.BoundBoxRect.Visible};
      v.FolderBoxRect.Height = v.BoundBoxRect.Height;
      v.VScroll1Rect.Top = v.BoundBoxRect.Top;
      v.VScroll1Rect.Left = v.BoundBoxRect.Left + v.BoundBoxRect.Width - 60 - 2 * P;
      SetHeight(v.VScroll1Rect, v.BoundBoxRect.Height - 5);
      v.HScroll1Rect.Top = v.BoundBoxRect.Top + v.BoundBoxRect.Height - 30;
      v.HScroll1Rect.Left = v.BoundBoxRect.Left;
      SetWidth(v.HScroll1Rect, v.VScroll1Rect.Left - v.HScroll1Rect.Left);
      v.Toolbar1Rect.Visible = true;
      v.BoundBoxRect.Visible = true;
      v.shpUserControlBackground.Visible = v.shpBackground.Visible = v.shpButBack.Visible = true;
    }
  } else {
    v.NoRoom = true;
    strip_->HideAll();
    v.Toolbar1Rect.Visible = v.BoundBoxRect.Visible = v.lblStatusRect.Visible = false;
    v.VScroll1Rect.Visible = v.HScroll1Rect.Visible = false;
    v.shpButBack.Visible = v.shpBackground.Visible = false;
  }

  if (placed) {
    v.shpOutline = {G - P, G - P, W - 2 * G + 2 * P, H - 2 * G + 2 * P, true};
    if (listingHeight < 0) v.shpOutline.Height = v.ZFCombo1.Height + 20;
    v.shpButBack = {v.shpOutline.Left, v.Toolbar1Rect.Top + v.Toolbar1Rect.Height, v.shpOutline.Width,
                    250, v.shpButBack.Visible};
    v.shpBackground = {G, G, W - 2 * G + P, H - 2 * G, v.shpBackground.Visible};
    v.shpUserControlBackground = {0, 0, W, H, v.shpUserControlBackground.Visible};
  }
  ApplyPlacement();
}

void ZenloFileControl::ApplyPlacement() {
  ViewState& v = *view_;
  if (!v.Surface.Handle()) return;
  if (v.PlacementHeld > 0) {
    v.PlacementPending = true;
    return;
  }
  v.PlacementPending = false;
  const int tppX = tk::TwipsPerPixelX(), tppY = tk::TwipsPerPixelY();
  auto place = [&](tk::Window& w, const PartRect& p) {
    w.SetBounds(tk::TwipsToPixels(p.Left, tppX), tk::TwipsToPixels(p.Top, tppY),
                tk::TwipsToPixels(p.Width, tppX), tk::TwipsToPixels(p.Height, tppY));
    w.SetVisible(p.Visible);
  };
  place(v.Toolbar1, v.Toolbar1Rect);
  if (HWND selector = zfCombo1_->Window()) {
    v.ZFCombo1Placement.Move(selector, tk::TwipsToPixels(v.ZFCombo1.Left, tppX),
                             tk::TwipsToPixels(v.ZFCombo1.Top, tppY),
                             tk::TwipsToPixels(v.ZFCombo1.Width, tppX),
                             tk::TwipsToPixels(v.ZFCombo1.Height, tppY));
    tk::ShowChild(selector, v.ZFCombo1.Visible);
    zfCombo1_->PlaceControls();
  }
  place(v.BoundBox, v.BoundBoxRect);
  place(v.FolderBox, {v.FolderBoxRect.Left, 0, v.FolderBoxRect.Width, v.FolderBoxRect.Height, true});
  place(v.VScroll1, v.VScroll1Rect);
  place(v.HScroll1, v.HScroll1Rect);
  place(v.lblStatus, v.lblStatusRect);
  // The label starts on the outline: its text starts clear of the frame's line.
  v.lblStatus.SetTextInset(std::max<int>(1, v.Skin.BorderWidth) + 3);
  // A tree never shows the filter box: it is made for a listing, or when a list first shows it.
  const bool filterWanted = v.cboFilterRect.Visible || ltFolderListType != fbFolder;
  if (filterWanted && !v.cboFilter.Handle() &&
      v.cboFilter.Create(v.Surface.Handle(), tk::TwipsToPixels(v.cboFilterRect.Width, tppX),
                         tk::TwipsToPixels(v.cboFilterRect.Height * 8, tppY))) {
    SyncFilterBox();
    AttachFilterBox();
    // It lies in the toolbar's row, above it.
    SetWindowPos(v.cboFilter.Handle(), HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  if (v.cboFilter.Handle()) {
    v.cboFilter.SetBounds(tk::TwipsToPixels(v.cboFilterRect.Left, tppX),
                          tk::TwipsToPixels(v.cboFilterRect.Top, tppY),
                          tk::TwipsToPixels(v.cboFilterRect.Width, tppX),
                          tk::TwipsToPixels(v.cboFilterRect.Height * 8, tppY));
    v.cboFilter.SetVisible(v.cboFilterRect.Visible);
  }
  InvalidateRect(v.Surface.Handle(), nullptr, TRUE);
}

}  // namespace zenlo
