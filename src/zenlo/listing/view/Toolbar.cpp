// The control's own toolbar: its buttons, images and what each does.
#include <windows.h>
#include <commctrl.h>

#include "listing/CallGuard.h"
#include "listing/model/FolderSizes.h"
#include "listing/view/LibraryPictures.h"
#include "listing/view/ViewState.h"
#include "toolkit/MousePointer.h"
#include "toolkit/Text.h"
#include "toolkit/Window.h"
#include "zenlo/ZenloFileControl.h"

namespace zenlo {

namespace {

struct ButtonRow {
  const wchar_t* key;
  const wchar_t* tip;
  bool dropDown;
};

const ButtonRow kButtons[] = {
    {L"placeholder234", L"", false},
    {L"upfolder", L"Go up one folder (show contents of parent folder).", false},
    {L"newfolder", L"Create new folder.", false},
    {L"showfolders", L"Show/hide folders in list.", false},
    {L"refresh", L"Refresh list.", false},
    {nullptr, L"", false},  // separator
    {L"headings", L"Hide/Show headings.", true},
    {L"calculate", L"Press to calculate folder sizes.", false},
    {L"placeholder012", L"", false},
    {L"listmode", L"Change list mode.", true},
    {L"collapse", L"Collapse all folders/subfolders.", false},
    {L"mimic", L"Give this folder to another pane.", true},
};

constexpr UINT_PTR kPointerSubclassId = 0x7B01;

}  // namespace

void ZenloFileControl::CreateToolbar() {
  ViewState& v = *view_;
  if (!v.Toolbar1.Create(v.Surface.Handle())) return;
  // Every control's toolbar shows the one image list of the library.
  v.Toolbar1.SetImageList(ListPictures::Shared().ToolbarImages());
  for (const ButtonRow& row : kButtons) {
    tk::Toolbar::Button b;
    b.Separator = row.key == nullptr;
    b.Key = row.key ? row.key : L"";
    b.ToolTip = row.tip;
    b.DropDown = row.dropDown;
    b.Check = b.Key == L"showfolders";
    // The filter box sits in this room, 130 twips after the "calculate" button.
    if (b.Key == L"placeholder012")
      b.SpaceWidth = tk::TwipsToPixels(v.cboFilterRect.Width + 2 * 130, tk::TwipsPerPixelX());
    v.Toolbar1.AddButton(b);
  }
  v.Toolbar1.ButtonClick = [this](const std::wstring& key) { Toolbar1_ButtonClick(key); };
  SetWindowSubclass(v.Toolbar1.Handle(), &ZenloFileControl::ToolbarPointerProc,
                    kPointerSubclassId, reinterpret_cast<DWORD_PTR>(this));
  SetToolbarIcons();
  SetToolbarListIcon(ListMode);
  v.Toolbar1.SetValue(L"showfolders", ltFolderListType != fbFile);
  const int height = v.Toolbar1.PreferredHeight();
  if (height > 0) v.Toolbar1Rect.Height = height * tk::TwipsPerPixelY();
}

bool ZenloFileControl::SetToolbarIcons() {
  ViewState& v = *view_;
  const tk::ImageList& images = ListPictures::Shared().ToolbarImages();
  v.Toolbar1.SetImageList(images);
  for (const wchar_t* key : {L"upfolder", L"newfolder", L"showfolders", L"refresh", L"headings",
                             L"calculate", L"collapse", L"mimic"})
    v.Toolbar1.SetImage(key, images.IndexOf(key));
  return true;
}

bool ZenloFileControl::SetToolbarListIcon(EnumListMode newListMode) {
  ViewState& v = *view_;
  const tk::ImageList& images = ListPictures::Shared().ToolbarImages();
  v.Toolbar1.SetImageList(images);
  v.Toolbar1.SetImage(L"listmode", images.IndexOf(newListMode == listDetails
                                                                   ? L"list_details"
                                                                   : L"list_brief"));
  return true;
}

// A press on the toolbar makes this pane the clicked one; over it the host shows its default
// pointer. The press itself then goes on to the toolbar.
LRESULT CALLBACK ZenloFileControl::ToolbarPointerProc(HWND hwnd, UINT msg, WPARAM wParam,
                                                      LPARAM lParam, UINT_PTR id, DWORD_PTR data) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_MOUSEMOVE:
      // The host may let go of the control (and its toolbar) in its handler.
      if (reinterpret_cast<ZenloFileControl*>(data)->OnToolbarPointer(msg)) return 0;
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, &ZenloFileControl::ToolbarPointerProc, id);
      break;
    default:
      break;
  }
  return DefSubclassProc(hwnd, msg, wParam, lParam);
}

bool ZenloFileControl::OnToolbarPointer(UINT msg) {
  CallGuard guard(*this);
  if (closing_) return true;
  if (msg == WM_MOUSEMOVE) {
    // The hourglass while folders are summed, as over the rest of the screen.
    SetCursor(LoadCursorW(nullptr, sizes_->Running() ? IDC_WAIT : IDC_ARROW));
    std::int16_t pointer = 0;
    RaiseHost([&](ZenloFileControlEvents& s) { s.SetMasterMousePointer(pointer); });
  } else {
    RaiseHost([](ZenloFileControlEvents& s) { s.SetLockedIndex(); });
  }
  return closing_;
}

void ZenloFileControl::Toolbar1_ButtonClick(const std::wstring& key) {
  CallGuard guard(*this);
  if (closing_) return;
  ViewState& v = *view_;
  if (tk::SameText(key, L"upfolder")) {
    tk::HourglassPointer busy;
    RaiseHost([](ZenloFileControlEvents& s) { s.PushedUpFolder2(); });
  } else if (tk::SameText(key, L"newfolder")) {
    RaiseHost([](ZenloFileControlEvents& s) { s.PushedNewFolder2(); });
  } else if (tk::SameText(key, L"showfolders")) {
    v.ShowFoldersPressed = v.Toolbar1.Handle() ? v.Toolbar1.Value(L"showfolders")
                                               : !v.ShowFoldersPressed.value_or(true);
    SetFolderBoxProperties(true);
    Update(updateToggleShowHideFolders);
  } else if (tk::SameText(key, L"refresh")) {
    folderChanged_ = false;
    RefreshList();
  } else if (tk::SameText(key, L"headings")) {
    ShowHeadingsMenu();
  } else if (tk::SameText(key, L"calculate")) {
    CalculateFolderSize(-99);
  } else if (tk::SameText(key, L"collapse")) {
    CollapseAllFolders();
  } else if (tk::SameText(key, L"listmode")) {
    ShowListModeMenu();
  } else if (tk::SameText(key, L"mimic")) {
    ShowMimicMenu();
  }
}

}  // namespace zenlo
