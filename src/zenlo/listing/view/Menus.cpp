// The control's three pop-up menus: headings (show or hide a column), list mode and mimic.
// The headings marks follow the headings table; the list-mode marks follow the list mode; the
// mimic menu offers the panes the host has open, never the control's own.
#include <windows.h>
#include <commctrl.h>

#include "listing/CallGuard.h"
#include "listing/view/ViewState.h"
#include "toolkit/PopupMenu.h"
#include "toolkit/Text.h"
#include "zenlo/ZenloFileControl.h"

namespace zenlo {

namespace {
struct MenuRow {
  const wchar_t* name;
  const wchar_t* caption;
};
const MenuRow kHeadingItems[] = {
    {L"mnuHeadingExtension", L"Extension"},
    {L"mnuHeadingSize", L"Size"},
    {L"mnuHeadingDateLastModified", L"Date - Last Modified"},
    {L"mnuHeadingDateCreated", L"Date - Created"},
    {L"mnuHeadingDateLastAccessed", L"Date - Last Accessed"},
    {L"mnuHeadingFileType", L"File Type"},
    {L"mnuHeadingAttributes", L"Attributes"},
    {L"mnuHeadingComments", L"Comments"},
};
constexpr UINT kFirstHeadingItem = 100;
constexpr UINT kListModeDetails = 200;
constexpr UINT kListModeList = 201;
constexpr UINT kFirstMimicItem = 301;  // "Make same as pane 1"; pane k is item 301 + k
constexpr std::int16_t kPanes = 5;

// The toolbar's tip stays out of the way while a menu opened from its button is up: a
// top-most tip would be drawn over the menu.
class QuietToolbarTips {
 public:
  explicit QuietToolbarTips(HWND toolbar)
      : tips_(toolbar ? reinterpret_cast<HWND>(SendMessageW(toolbar, TB_GETTOOLTIPS, 0, 0))
                      : nullptr) {
    if (!tips_) return;
    SendMessageW(tips_, TTM_POP, 0, 0);
    SendMessageW(tips_, TTM_ACTIVATE, FALSE, 0);
  }
  ~QuietToolbarTips() {
    if (tips_ && IsWindow(tips_)) SendMessageW(tips_, TTM_ACTIVATE, TRUE, 0);
  }
  QuietToolbarTips(const QuietToolbarTips&) = delete;
  QuietToolbarTips& operator=(const QuietToolbarTips&) = delete;

 private:
  HWND tips_;
};
}  // namespace

void ZenloFileControl::CreateMenus() {
  ViewState& v = *view_;
  v.HeadingsMenu = CreatePopupMenu();
  for (UINT i = 0; i < std::size(kHeadingItems); ++i)
    AppendMenuW(v.HeadingsMenu, MF_STRING, kFirstHeadingItem + i, kHeadingItems[i].caption);
  v.ListModeMenu = CreatePopupMenu();
  AppendMenuW(v.ListModeMenu, MF_STRING, kListModeDetails, L"Details");
  AppendMenuW(v.ListModeMenu, MF_STRING, kListModeList, L"List");
  v.MimicMenu = CreatePopupMenu();
  for (std::int16_t pane = 0; pane < kPanes; ++pane)
    AppendMenuW(v.MimicMenu, MF_STRING, kFirstMimicItem + static_cast<UINT>(pane),
                (L"Make same as pane " + std::to_wstring(pane + 1)).c_str());
}

POINT ZenloFileControl::MenuPointUnder(const std::wstring& buttonKey) const {
  const ViewState& v = *view_;
  POINT p{0, 0};
  HWND toolbar = v.Toolbar1.Handle();
  if (!toolbar) {
    // Not sited: the menu opens at the pointer.
    GetCursorPos(&p);
    return p;
  }
  // Just below the button, slightly right of its left edge.
  const RECT button = v.Toolbar1.ButtonRect(buttonKey);
  p.x = button.left + tk::TwipsToPixels(30, tk::TwipsPerPixelX());
  p.y = button.bottom;
  ClientToScreen(toolbar, &p);
  return p;
}

void ZenloFileControl::ShowHeadingsMenu() {
  if (closing_) return;
  CallGuard guard(*this);
  UINT command = 0;
  {
    QuietToolbarTips quiet(view_->Toolbar1.Handle());
    command = tk::TrackPopup(view_->HeadingsMenu, view_->Surface.Handle(),
                             MenuPointUnder(L"headings"));
  }
  if (closing_) return;
  if (command >= kFirstHeadingItem && command < kFirstHeadingItem + std::size(kHeadingItems))
    ModifyHeadings(kHeadingItems[command - kFirstHeadingItem].name);
}

void ZenloFileControl::ShowListModeMenu() {
  if (closing_) return;
  CallGuard guard(*this);
  UINT command = 0;
  {
    QuietToolbarTips quiet(view_->Toolbar1.Handle());
    command = tk::TrackPopup(view_->ListModeMenu, view_->Surface.Handle(),
                             MenuPointUnder(L"listmode"));
  }
  if (closing_) return;
  OnListModeOrMimicCommand(command);
}

void ZenloFileControl::ChangeListMode(std::int32_t newListMode) {
  if (closing_) return;
  CallGuard guard(*this);
  ViewState& v = *view_;
  if (v.ListModeMenu) {
    CheckMenuItem(v.ListModeMenu, kListModeDetails, MF_BYCOMMAND | MF_UNCHECKED);
    CheckMenuItem(v.ListModeMenu, kListModeList, MF_BYCOMMAND | MF_UNCHECKED);
  }
  if (newListMode == listDetails || newListMode == listNamesIconsSmall) {
    ListMode = static_cast<EnumListMode>(newListMode);
    if (v.ListModeMenu)
      CheckMenuItem(v.ListModeMenu,
                    newListMode == listDetails ? kListModeDetails : kListModeList,
                    MF_BYCOMMAND | MF_CHECKED);
  }
  if (v.DoDrawing) {
    // The new layout starts at its first item and first column; the re-read draws it.
    const bool redraw = v.ScrollRedrawEnabled;
    v.ScrollRedrawEnabled = false;
    v.HScroll1.SetValue(0);
    v.VScroll1.SetValue(v.VScroll1.Min());
    v.ScrollRedrawEnabled = redraw;
    v.FolderBoxRect.Left = 0;
    v.TopItem = 0;
    ApplyPlacement();
    RefreshList();
    if (closing_) return;
  }
  SetToolbarListIcon(static_cast<EnumListMode>(newListMode));
}

bool ZenloFileControl::ListModeMenuChecked(std::int32_t listMode) const {
  const ViewState& v = *view_;
  const UINT item = listMode == listDetails ? kListModeDetails
                    : listMode == listNamesIconsSmall ? kListModeList
                                                      : 0;
  return item && v.ListModeMenu &&
         (GetMenuState(v.ListModeMenu, item, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

void ZenloFileControl::ShowMimicMenu() {
  if (closing_) return;
  CallGuard guard(*this);
  HMENU menu = view_->MimicMenu;
  // One answer for all five questions: a host that does not answer leaves the last one.
  bool result = false;
  for (std::int16_t pane = 0; pane < kPanes; ++pane) {
    std::int16_t asked = pane;
    RaiseHost([&](ZenloFileControlEvents& s) { s.IsPaneActive(asked, result); });
    if (closing_) return;
    EnableMenuItem(menu, kFirstMimicItem + static_cast<UINT>(pane),
                   MF_BYCOMMAND | (result ? MF_ENABLED : MF_GRAYED));
  }
  if (ControlIndex >= 0 && ControlIndex < kPanes)
    EnableMenuItem(menu, kFirstMimicItem + static_cast<UINT>(ControlIndex),
                   MF_BYCOMMAND | MF_GRAYED);
  UINT command = 0;
  {
    QuietToolbarTips quiet(view_->Toolbar1.Handle());
    command = tk::TrackPopup(menu, view_->Surface.Handle(), MenuPointUnder(L"mimic"));
  }
  if (closing_) return;
  OnListModeOrMimicCommand(command);
}

void ZenloFileControl::MimicFolder(std::int16_t PaneNum) {
  RaiseHost([&](ZenloFileControlEvents& s) { s.PaneWantsToMimicFolder(PaneNum); });
}

void ZenloFileControl::OnListModeOrMimicCommand(UINT command) {
  if (command == kListModeDetails) {
    ChangeListMode(listDetails);
  } else if (command == kListModeList) {
    ChangeListMode(listNamesIconsSmall);
  } else if (command >= kFirstMimicItem && command < kFirstMimicItem + kPanes) {
    MimicFolder(static_cast<std::int16_t>(command - kFirstMimicItem));
  }
}

void ZenloFileControl::SyncHeadingsMenu() {
  ViewState& v = *view_;
  if (!v.HeadingsMenu) return;
  for (UINT i = 0; i < std::size(kHeadingItems); ++i)
    CheckMenuItem(v.HeadingsMenu, kFirstHeadingItem + i,
                  MF_BYCOMMAND | (v.Headings.MenuChecked(kHeadingItems[i].name) ? MF_CHECKED
                                                                                 : MF_UNCHECKED));
}

bool ZenloFileControl::HeadingsMenuChecked(const std::wstring& menuName) const {
  const ViewState& v = *view_;
  for (UINT i = 0; i < std::size(kHeadingItems); ++i)
    if (tk::SameText(menuName, kHeadingItems[i].name))
      return (GetMenuState(v.HeadingsMenu, kFirstHeadingItem + i, MF_BYCOMMAND) & MF_CHECKED) != 0;
  return false;
}

void ZenloFileControl::DestroyMenus() {
  ViewState& v = *view_;
  for (HMENU* m : {&v.HeadingsMenu, &v.ListModeMenu, &v.MimicMenu}) {
    if (*m) DestroyMenu(*m);
    *m = nullptr;
  }
}

}  // namespace zenlo
