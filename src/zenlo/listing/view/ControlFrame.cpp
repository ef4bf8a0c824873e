// The control as a window: its child parts, start-up and tear-down, persisted properties and
// the small host queries.
#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "library/LibraryModule.h"
#include "listing/CallGuard.h"
#include "listing/model/ItemDetails.h"
#include "listing/view/HeadingStrip.h"
#include "listing/view/PointerState.h"
#include "listing/view/ViewState.h"
#include "listing/CallGuard.h"
#include "toolkit/Error.h"
#include "toolkit/MessageBox.h"
#include "zenlo/ZFCombo.h"
#include "toolkit/Text.h"
#include "zenlo/ZenloFileControl.h"

namespace zenlo {

namespace {
const wchar_t* const kCursorNames[6] = {L"curselect",           L"curselectshift",
                                        L"curselectshiftfirst", L"curselectshiftsecond",
                                        L"curexpand",           L"curdefault"};
}  // namespace

bool ZenloFileControl::CreateFrame(HWND parent) {
  ViewState& v = *view_;
  if (v.Surface.Handle()) return true;
  auto route = [this](bool (ZenloFileControl::*handler)(UINT, WPARAM, LPARAM, LRESULT&)) {
    return [this, handler](UINT m, WPARAM w, LPARAM l, LRESULT& r) {
      return (this->*handler)(m, w, l, r);
    };
  };
  if (!v.Surface.Create(parent, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                        route(&ZenloFileControl::OnSurfaceMessage)))
    return false;
  HWND surface = v.Surface.Handle();
  // A handler that fails ends at its window procedure; the host hears of it once.
  auto report = [this] {
    RaiseMessage(tk::MessageWithError(L"An unknown error has occurred.", tk::CurrentError(),
                                      L"Error Description: "));
  };
  v.Surface.SetErrorHandler(report);
  // The scroll bars lie over the listing box's right and bottom edges, above it: the box leaves
  // them out, so the listing sliding sideways neither copies a bar's pixels along nor covers it.
  v.BoundBox.Create(surface, WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                    route(&ZenloFileControl::OnBoundBoxMessage));
  v.FolderBox.Create(v.BoundBox.Handle(), WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                     route(&ZenloFileControl::OnFolderBoxMessage));
  v.BoundBox.SetErrorHandler(report);
  v.FolderBox.SetErrorHandler(report);
  v.Tip.Attach(v.FolderBox.Handle());
  v.Tip.SetText(v.FolderBoxToolTip);
  v.VScroll1.Create(surface, true);
  v.HScroll1.Create(surface, false);
  for (HWND bar : {v.HScroll1.Handle(), v.VScroll1.Handle()})
    SetWindowPos(bar, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  v.VScroll1.Change = [this] { VScrollHasChanged(); };
  v.HScroll1.Change = [this] { HScrollHasChanged(); };
  v.VScroll1.GotFocus = [this] {
    // The host makes this the clicked list; the keys then go to the listing.
    RaiseHost([](ZenloFileControlEvents& s) { s.SetLockedIndex(); });
    if (view_->FolderBox.Handle()) SetFocus(view_->FolderBox.Handle());
  };
  v.lblStatus.Create(surface);
  SetWindowSubclass(v.lblStatus.Handle(), &ZenloFileControl::StatusPointerProc, 1,
                    reinterpret_cast<DWORD_PTR>(this));
  v.HScroll1.GotFocus = [this] {
    RaiseHost([](ZenloFileControlEvents& s) { s.SetLockedIndex(); });
    if (view_->FolderBox.Handle()) SetFocus(view_->FolderBox.Handle());
  };
  v.lblStatus.SetFont(v.ListFont.Get());
  v.lblStatus.SetCaption(statusCaption_);
  v.lblStatus.SetColours(v.Skin.StatusText, v.Skin.StatusBackground);
  zfCombo1_->CreateFrame(surface);
  strip_->SetParent(surface);
  CreateToolbar();
  RegisterDropTargets();
  // Makes the filter box too, if the list shows one.
  ApplyPlacement();
  return true;
}

HWND ZenloFileControl::Window() const { return view_->Surface.Handle(); }

HWND ZenloFileControl::ItemWindow() const { return view_->FolderBox.Handle(); }

void ZenloFileControl::ReadProperties(const PropertyBag& bag) {
  const Variant* child = bag.Find(L"ChildControl");
  const Variant* folder = bag.Find(L"CurrentFolder");
  const Variant* type = bag.Find(L"FolderListType");
  childControl_ = child ? VariantText(*child) : L"";
  currentFolder_ = folder ? VariantText(*folder) : L"C:";
  const std::int32_t t = type ? VariantLong(*type) : fbFolder;
  ltFolderListType = t >= fbFile && t <= fbFileAndFolder ? static_cast<ListType>(t) : fbFolder;
}

void ZenloFileControl::WriteProperties(PropertyBag& bag) const {
  bag.Write(L"ChildControl", childControl_);
  bag.Write(L"CurrentFolder", currentFolder_);
  bag.Write(L"FolderListType", static_cast<std::int32_t>(ltFolderListType));
}

HFONT ZenloFileControl::CreateMyFont(std::int16_t nSize, std::int32_t nDegrees) const {
  HDC screen = GetDC(nullptr);
  const int height = -MulDiv(nSize, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  return CreateFontW(height, 0, nDegrees * 10, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY, DEFAULT_PITCH,
                     L"Arial");
}

bool ZenloFileControl::SetInitialProperties() {
  ViewState& v = *view_;
  const int tppX = tk::TwipsPerPixelX();
  v.EdgeGap = static_cast<std::int16_t>(tppX * 7);
  v.Skin.HeadingBackdrop = RGB(255, 255, 255);
  details_->IconCacheColumns = 15;
  details_->IconCacheRows = 30;
  sortDirection_ = L"asc";
  defaultIndent_ = 450;
  activeItem_ = -1;
  v.HoverItem = -1;
  v.TopItem = 0;
  v.VScroll1Rect.Width = 250;
  v.VScroll1.SetRange(0, 0);
  v.HScroll1Rect.Height = 250;
  v.HScroll1.SmallChange = tppX;
  v.HScroll1Rect.Left = v.EdgeGap;
  v.lblStatusRect.Left = 50 + v.EdgeGap;
  v.lblStatusRect.Height = 255;
  v.Toolbar1Rect.Left = v.EdgeGap;
  // Heading button 1 exists from the start; the strip is as high as it is.
  strip_->Load(1);
  return true;
}

void ZenloFileControl::LoadPictures() {
  ViewState& v = *view_;
  HMODULE module = LibraryModule();
  bool missing = false;
  v.PointerSelect.Reset(static_cast<HBITMAP>(
      LoadImageW(module, L"pointerselect", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  missing |= !v.PointerSelect;
  for (std::size_t i = 0; i < v.Cursors.size(); ++i) {
    v.Cursors[i] = static_cast<HCURSOR>(LoadImageW(module, kCursorNames[i], IMAGE_CURSOR, 0, 0, 0));
    missing |= v.Cursors[i] == nullptr;
  }
  if (missing)
    RaiseMessage(
        L"All image files could not be located. Varnello cannot continue. Reinstalling Varnello "
        L"should replace these files.");
}

void ZenloFileControl::LoadSetup() {
  ViewState& v = *view_;
  if (ltFolderListType == fbFile || ltFolderListType == fbFileAndFolder) {
    v.ShowFoldersPressed = ltFolderListType == fbFileAndFolder;
    v.Toolbar1.SetValue(L"showfolders", *v.ShowFoldersPressed);
  }
  // A listing shows its mode in its menu marks and on the "listmode" button. The re-read
  // this may start yields, and the host may let go of the control meanwhile.
  if (ltFolderListType != fbFolder) {
    CallGuard guard(*this);
    ChangeListMode(ListMode);
    if (closing_) return;
  }
  if (v.Headings.Headings[2].MenuName.empty()) SetHeadingsDefaults();
  // Slots 2 to 9 decide the marks of their menu items (a restored table may differ).
  for (int slot = 2; slot <= 9; ++slot) {
    const TypeHeading& h = v.Headings.Headings[static_cast<std::size_t>(slot)];
    v.Headings.SetMenuChecked(h.MenuName, h.Active);
  }
  SyncHeadingsMenu();
  CalculateHeadingPositions();
}

std::wstring ZenloFileControl::StatusGet() const { return statusCaption_; }

void ZenloFileControl::StatusLet(const std::wstring& NewStatus) {
  statusCaption_ = NewStatus;
  view_->lblStatus.SetCaption(NewStatus);
}

std::wstring ZenloFileControl::GetActiveItemPath() const {
  if (activeItem_ < 0 || activeItem_ > lastShownItem_ || activeItem_ >= itemCount_) return {};
  return listItems_[static_cast<std::size_t>(activeItem_)].FullPath;
}

std::int32_t ZenloFileControl::GetActiveItemLevel() const {
  if (activeItem_ < 0 || activeItem_ > lastShownItem_ || activeItem_ >= itemCount_) return -1;
  return listItems_[static_cast<std::size_t>(activeItem_)].Level;
}

void ZenloFileControl::SetActiveItemNum(std::int32_t ActiveItem) { activeItem_ = ActiveItem; }

void ZenloFileControl::SetDoDrawing(bool value) { view_->DoDrawing = value; }

void ZenloFileControl::SendFileNameToMaster(std::wstring TheName) {
  RaiseHost([&](ZenloFileControlEvents& s) { s.UpdateFileName(TheName); });
}

void ZenloFileControl::UnselectForbiddenItems() {
  const std::int32_t last = std::min(lastShownItem_, itemCount_ - 1);
  if (ltFolderListType == fbFolder && itemCount_ > 0) {
    listItems_[0].Selected = -1;
    EraseSelectionMark(0);
  }
  for (std::int32_t i = 0; i <= last; ++i) {
    TypeListItem& item = listItems_[static_cast<std::size_t>(i)];
    if (item.ItemType != sFile && item.ItemType != sFolder && item.ItemType != sShare) {
      item.Selected = -1;
      EraseSelectionMark(i);
    }
  }
}

void ZenloFileControl::SyncFilterBox() {
  ViewState& v = *view_;
  if (!v.cboFilter.Handle()) return;
  v.cboFilter.Clear();
  for (const auto& entry : filterEntries_) v.cboFilter.AddItem(entry);
  v.cboFilter.SetText(filterText_);
}

void ZenloFileControl::PaintSurface(HDC dc) {
  ViewState& v = *view_;
  const int tppX = tk::TwipsPerPixelX(), tppY = tk::TwipsPerPixelY();
  auto rect = [&](const PartRect& p) {
    return RECT{tk::TwipsToPixels(p.Left, tppX), tk::TwipsToPixels(p.Top, tppY),
                tk::TwipsToPixels(p.Left + p.Width, tppX),
                tk::TwipsToPixels(p.Top + p.Height, tppY)};
  };
  // A shape's border lies inside its bounds, BorderWidth pixels wide.
  const int border = std::max<int>(1, v.Skin.BorderWidth);
  auto frame = [&](const PartRect& p, COLORREF colour) {
    if (!p.Visible) return;
    const RECT r = rect(p);
    tk::Brush brush(CreateSolidBrush(colour));
    const RECT sides[4] = {{r.left, r.top, r.right, std::min(r.bottom, r.top + border)},
                           {r.left, std::max(r.top, r.bottom - border), r.right, r.bottom},
                           {r.left, r.top, std::min(r.right, r.left + border), r.bottom},
                           {std::max(r.left, r.right - border), r.top, r.right, r.bottom}};
    for (const RECT& side : sides) FillRect(dc, &side, brush.Get());
  };
  auto fill = [&](const PartRect& p, COLORREF colour) {
    if (!p.Visible) return;
    const RECT r = rect(p);
    tk::Brush brush(CreateSolidBrush(colour));
    FillRect(dc, &r, brush.Get());
  };
  RECT all;
  GetClientRect(v.Surface.Handle(), &all);
  tk::Brush back(CreateSolidBrush(v.Skin.ControlBackground));
  FillRect(dc, &all, back.Get());
  fill(v.shpBackground, v.Skin.PaneBackground);
  fill(v.shpButBack, v.Skin.HeadingBackdrop);
  frame(v.shpUserControlBackground, v.Skin.UserControlBorder);
  frame(v.shpOutline, v.Skin.Outline);
}

bool ZenloFileControl::OnSurfaceMessage(UINT msg, WPARAM wParam, LPARAM lParam,
                                        LRESULT& result) {
  CallGuard guard(*this);
  ViewState& v = *view_;
  switch (msg) {
    case WM_ERASEBKGND:
      // The flat toolbar asks for its background this way: it shows what the surface paints.
      if (WindowFromDC(reinterpret_cast<HDC>(wParam)) != v.Surface.Handle())
        PaintSurface(reinterpret_cast<HDC>(wParam));
      result = 1;
      return true;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(v.Surface.Handle(), &ps);
      PaintSurface(dc);
      EndPaint(v.Surface.Handle(), &ps);
      return true;
    }
    case WM_COMMAND:
      if (OnFilterBoxCommand(wParam, lParam)) return true;
      return v.Toolbar1.OnCommand(wParam, lParam);
    case WM_NOTIFY:
      return v.Toolbar1.OnNotify(lParam, result);
    case WM_VSCROLL:
    case WM_HSCROLL:
      if (reinterpret_cast<HWND>(lParam) == v.VScroll1.Handle())
        v.VScroll1.OnScroll(LOWORD(wParam));
      else if (reinterpret_cast<HWND>(lParam) == v.HScroll1.Handle())
        v.HScroll1.OnScroll(LOWORD(wParam));
      return true;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      // The margins around the parts take a right click as the area below the items does,
      // and a host that locked the mouse hears that it may let go.
      const std::int16_t button = msg == WM_LBUTTONUP   ? kLeftButton
                                  : msg == WM_RBUTTONUP ? kRightButton
                                                        : kMiddleButton;
      NonFolderListMouseUp(button, ModifiersOf(wParam),
                           static_cast<float>(GET_X_LPARAM(lParam) * tk::TwipsPerPixelX()),
                           static_cast<float>(GET_Y_LPARAM(lParam) * tk::TwipsPerPixelY()));
      return true;
    }
    case WM_MOUSEMOVE: {
      // Over the bare control the host shows its default pointer.
      SetCursor(LoadCursorW(nullptr, IDC_ARROW));
      std::int16_t pointer = 0;
      RaiseHost([&](ZenloFileControlEvents& s) { s.SetMasterMousePointer(pointer); });
      return true;
    }
    default:
      return false;
  }
}

bool ZenloFileControl::OnBoundBoxMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  CallGuard guard(*this);
  ViewState& v = *view_;
  // A window going before the control takes its drop target registration with it.
  if (msg == WM_DESTROY) RevokeDragDrop(v.BoundBox.Handle());
  if (OnBoundBoxInput(msg, wParam, lParam)) return true;
  if (msg != WM_ERASEBKGND) return false;
  // The area below the last row shows the list background.
  RECT r;
  GetClientRect(v.BoundBox.Handle(), &r);
  tk::Brush back(CreateSolidBrush(v.Skin.ListBackground));
  FillRect(reinterpret_cast<HDC>(wParam), &r, back.Get());
  result = 1;
  return true;
}

bool ZenloFileControl::OnFolderBoxMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  CallGuard guard(*this);
  ViewState& v = *view_;
  switch (msg) {
    case WM_DESTROY:
      RevokeDragDrop(v.FolderBox.Handle());
      return false;
    case WM_ERASEBKGND:
      result = 1;
      return true;
    case WM_PAINT: {
      // A repaint copies what was composed; the listing is never drawn again for it.
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(v.FolderBox.Handle(), &ps);
      RECT r;
      GetClientRect(v.FolderBox.Handle(), &r);
      tk::Brush back(CreateSolidBrush(v.Skin.ListBackground));
      FillRect(dc, &r, back.Get());
      if (v.Front.Built()) BitBlt(dc, 0, 0, v.Front.Width(), v.Front.Height(), v.Front.Dc(), 0, 0, SRCCOPY);
      EndPaint(v.FolderBox.Handle(), &ps);
      return true;
    }
    default:
      return OnFolderBoxKey(msg, wParam) || OnFolderBoxInput(msg, wParam, lParam, result);
  }
}

}  // namespace zenlo
