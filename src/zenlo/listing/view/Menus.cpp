// The control's three pop-up menus: headings (show or hide a column), list mode and mimic.
// Their check marks follow the headings table; showing them belongs to their commands.
#include "listing/view/ViewState.h"
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
    {L"mnuHeadingDateLastModified", L"Date Last Modified"},
    {L"mnuHeadingDateCreated", L"Date Created"},
    {L"mnuHeadingDateLastAccessed", L"Date Last Accessed"},
    {L"mnuHeadingFileType", L"File Type"},
    {L"mnuHeadingAttributes", L"Attributes"},
    {L"mnuHeadingComments", L"Comments"},
};
constexpr UINT kFirstHeadingItem = 100;
}  // namespace

void ZenloFileControl::CreateMenus() {
  ViewState& v = *view_;
  v.HeadingsMenu = CreatePopupMenu();
  for (UINT i = 0; i < std::size(kHeadingItems); ++i)
    AppendMenuW(v.HeadingsMenu, MF_STRING, kFirstHeadingItem + i, kHeadingItems[i].caption);
  v.ListModeMenu = CreatePopupMenu();
  AppendMenuW(v.ListModeMenu, MF_STRING, 200, L"Details");
  AppendMenuW(v.ListModeMenu, MF_STRING, 201, L"List");
  v.MimicMenu = CreatePopupMenu();
  for (UINT pane = 1; pane <= 5; ++pane)
    AppendMenuW(v.MimicMenu, MF_STRING, 300 + pane, (L"Pane " + std::to_wstring(pane)).c_str());
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
