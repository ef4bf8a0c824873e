// What the main window does with the events of its lists: the active and clicked list, the
// title bars, keys and the wheel.
#include "mainwindow/Master.h"

#include <commctrl.h>

#include "commands/MainMenu.h"
#include "toolkit/MousePointer.h"
#include "toolkit/Text.h"

namespace varnello {

namespace {

short PaneOf(short index) { return index >= 100 ? static_cast<short>(index - 100) : index; }

bool ValidPane(short pane) { return pane >= 0 && pane < kPaneCount; }

// "C:\a\b" -> "C:\a"; "C:\a" -> "C:\".
std::wstring ParentPath(std::wstring path) {
  while (path.size() > 3 && path.back() == L'\\') path.pop_back();
  const size_t slash = path.find_last_of(L'\\');
  if (slash == std::wstring::npos) return path;
  if (slash > 0 && path[slash - 1] == L':') return path.substr(0, slash + 1);
  return path.substr(0, slash);
}

// The subclass id is the pane number.
LRESULT CALLBACK TitleBarProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR pane,
                              DWORD_PTR ref) {
  auto* master = reinterpret_cast<Master*>(ref);
  if (msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN)
    master->TitleBar_MouseDown(static_cast<short>(pane));
  LRESULT result = DefSubclassProc(w, msg, wp, lp);
  if (msg == WM_LBUTTONUP) master->TitleBar_Click(static_cast<short>(pane));
  if (msg == WM_NCDESTROY) RemoveWindowSubclass(w, &TitleBarProc, pane);
  return result;
}

}  // namespace

void Master::HookTitleBar(HWND titleBar, short pane) {
  if (titleBar) SetWindowSubclass(titleBar, &TitleBarProc, static_cast<UINT_PTR>(pane),
                                  reinterpret_cast<DWORD_PTR>(this));
}

void Master::List_MouseMoveBasic(short index) {
  mousePointer_ = tk::PointerDefault;
  SpaceKeyDown = false;
  ClearGraphics(index);
}

void Master::List_PushedDownFolder(short index, std::wstring& currentFolder,
                                   std::wstring& parentFolder) {
  PaneList* tree = List(PaneOf(index));
  if (!tree) return;
  tree->ExpandFolder(parentFolder, zenlo::Expand);
  tree->MakeItemActive(currentFolder);
}

void Master::List_PushedUpFolder2(short index) { MoveFocusUpOneFolder(index); }

void Master::List_SetActiveIndex(short index) { ColourTitleBar(index); }

void Master::List_SetLockedIndex(short index) {
  // A press on the list that already holds the mouse still moves the highlight when another
  // list was chosen since (a title bar press, the start-up choice).
  const bool moved = index != LockedPane || index != Options.ClickedPane;
  Options.ClickedPane = index;
  if (moved) HighlightActiveList(true);
  LockedPane = index;
}

void Master::List_SetMasterMousePointer(short, short& pointer) { mousePointer_ = pointer; }

void Master::List_SetActiveButton(short index, short&) {
  Options.ClickedPane = index;
  HighlightActiveList(true);
}

void Master::List_UpdateMasterHeadings(short) { SyncHeadingMenus(); }

void Master::List_KeyPressed(short, short& keyCode) {
  // Keys act on the list under the mouse, whichever list raised them.
  PaneList* target = List(Options.ActivePane);
  if (!target) return;
  try {
    switch (keyCode) {
      case VK_SPACE:
        SpaceKeyDown = true;
        target->KeySpacePressed();
        break;
      case VK_UP:
      case VK_DOWN:
        target->KeyUpDownPressed(keyCode, SpaceKeyDown);
        break;
      case VK_F3:
        target->CalculateFolderSizeSingle();
        break;
      default:
        break;
    }
  } catch (...) {
    std::wstring text = L"An error occurred while handling the key presses.";
    Message(text, 0, L"");
  }
}

void Master::List_SpaceKeyUp(short) { SpaceKeyDown = false; }

void Master::List_MouseLocked(short, bool& locked) { MouseLocked(locked); }

void Master::List_NotifySourceIndex(short index) { Options.DragSourceIndex = index; }

void Master::PreviewKey(const MSG& msg) {
  // A key let go anywhere re-arms: a Shift released inside a dialog (Shift+Delete's question)
  // must not leave the next key command dead.
  if (msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP) KeyRearmed = true;
  // Ctrl+A selects a text box's whole text, as current Windows text boxes do; not every
  // platform we run on does it for them (a rename box, the filter box, the command line).
  if (msg.message == WM_KEYDOWN && msg.wParam == 'A' && GetKeyState(VK_CONTROL) < 0 &&
      GetKeyState(VK_MENU) >= 0) {
    wchar_t cls[16] = L"";
    if (GetClassNameW(msg.hwnd, cls, 16) && tk::SameText(cls, L"Edit"))
      SendMessageW(msg.hwnd, EM_SETSEL, 0, -1);
  }
  // The command-line box's edit field is a child of the box.
  HWND box = command_.Handle();
  if (box && (msg.hwnd == box || IsChild(box, msg.hwnd))) {
    if (msg.message == WM_KEYDOWN)
      cboCommand_KeyDown(static_cast<short>(msg.wParam),
                         static_cast<short>(GetKeyState(VK_SHIFT) < 0 ? 1 : 0));
    return;
  }
  // The hook sees every key of the thread: only keys typed in a list's item area or in the
  // window itself are the window's. A filter box, a title bar or a dialog keeps its own, so
  // its Delete or Ctrl+A never touches a file.
  short raiser = -1;
  for (const short base : {short{0}, short{100}}) {
    for (short i = 0; i < kPaneCount; ++i) {
      const short n = static_cast<short>(base + i);
      if (PaneList* l = List(n); l && l->IsItemArea(msg.hwnd)) raiser = n;
    }
  }
  // The main window's focus box stands for the active list, which never sees these keys itself.
  const bool focusBox = msg.hwnd == txtFocus_ && List(Options.ActivePane);
  if (raiser < 0 && msg.hwnd != Handle() && msg.hwnd != txtFocus_) return;
  if (focusBox) raiser = Options.ActivePane;
  if (raiser >= 0 && (focusBox || !List(raiser)->RaisesOwnKeys())) {
    short key = static_cast<short>(msg.wParam);
    if (msg.message == WM_KEYDOWN)
      List_KeyPressed(raiser, key);
    else if (msg.message == WM_KEYUP && key == VK_SPACE)
      List_SpaceKeyUp(raiser);
  }
  keys_->Queue(msg);
}

void Master::ColourTitleBar(short index) {
  if (Options.ActivePane != index) Options.ActivePane = index;
}

void Master::ClearGraphics(short index) {
  for (const short base : {short{0}, short{100}}) {
    for (short i = 0; i < kPaneCount; ++i) {
      if (!Panes[i].Loaded) continue;
      const short n = static_cast<short>(base + i);
      PaneList* l = List(n);
      if (!l) continue;
      l->SetSkipScrollEvent(false);
      if (n != index) l->SetSkipMoveEvent(false);
    }
  }
  // Hover marks of the other lists go only when the mouse arrives from another list.
  if (index != LastClearedList) {
    for (const short base : {short{0}, short{100}}) {
      for (short i = 0; i < kPaneCount; ++i) {
        const short n = static_cast<short>(base + i);
        if (!Panes[i].Loaded || n == index) continue;
        if (PaneList* l = List(n)) l->ClearTempGraphics();
      }
    }
  }
  LastClearedList = index;
  Options.ActivePane = index;
  // With auto-expand on, a pane grows once each time the mouse enters it.
  const short pane = PaneOf(index);
  if (pane != LastAutoExpandPane && MenuChecked(menu_, mnuAutoExpandOn)) DoAutoExpand();
  LastAutoExpandPane = pane;
}

void Master::MoveFocusUpOneFolder(short index) {
  tk::HourglassPointer hourglass;
  const short pane = PaneOf(index);
  PaneList* tree = ValidPane(pane) ? List(pane) : nullptr;
  if (!tree) return;
  const std::wstring title = TitleBarText(pane);
  if (title == L"\\" || (title.size() >= 2 && title.compare(title.size() - 2, 2, L":\\") == 0))
    return;  // a root has no folder above it
  if (tree->GetActiveItemLevel() != 1)
    tree->MakeItemActive(ParentPath(tree->GetActiveItemPath()));
  else
    tree->MakeItemActive(std::wstring());
}

void Master::MouseWheelTurned(short delta) {
  // A fine-stepped wheel reports less than a notch per message; the sign still tells the way,
  // and a message that turned nothing scrolls nothing.
  if (delta == 0) return;
  if (PaneList* l = List(Options.ActivePane)) l->MimimMouseScroll(delta > 0);
}

void Master::TitleBar_Click(short pane) {
  if (!ValidPane(pane)) return;
  ColourTitleBar(pane);
  HighlightActiveList(false);
}

void Master::TitleBar_MouseDown(short pane) {
  if (!ValidPane(pane)) return;
  Options.ClickedPane = pane;
  HighlightActiveList(false);
}

}  // namespace varnello
