#include "commands/KeyCommands.h"

#include "mainwindow/Master.h"

namespace varnello {

namespace {

constexpr UINT kRunKeys = WM_APP + 63;
constexpr short kShift = 1, kCtrl = 2, kAlt = 4;

bool Held(int key) { return GetKeyState(key) < 0; }

}  // namespace

KeyCommands::KeyCommands(Master& master) : m_(master) {
  poster_.Create(HWND_MESSAGE, 0, [this](UINT msg, WPARAM, LPARAM, LRESULT& result) {
    if (msg != kRunKeys) return false;
    RunQueued();
    result = 0;
    return true;
  });
}

KeyCommands::~KeyCommands() = default;

short KeyCommands::ShiftMask(const MSG& msg) {
  const bool down = msg.message == WM_KEYDOWN;
  short shift = 0;
  if (Held(VK_SHIFT) || (down && msg.wParam == VK_SHIFT)) shift |= kShift;
  if (Held(VK_CONTROL) || (down && msg.wParam == VK_CONTROL)) shift |= kCtrl;
  if (Held(VK_MENU)) shift |= kAlt;
  return shift;
}

void KeyCommands::Queue(const MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_KEYUP) return;
  // Bit 30: the key was already down, so this is the keyboard's repeat of a held key.
  if (msg.message == WM_KEYDOWN && (msg.lParam & (1L << 30))) return;
  pending_.push_back({msg.message == WM_KEYDOWN, static_cast<short>(msg.wParam), ShiftMask(msg)});
  PostMessageW(poster_.Handle(), kRunKeys, 0, 0);
}

void KeyCommands::RunQueued() {
  while (!pending_.empty()) {
    const Key key = pending_.front();
    pending_.pop_front();
    if (key.Down)
      Form_KeyDown(key.Code, key.Shift);
    else
      Form_KeyUp(key.Code, key.Shift);
  }
}

void KeyCommands::Form_KeyDown(short KeyCode, short Shift) {
  HWND box = m_.CommandWindow();
  HWND focus = GetFocus();
  if (box && focus && (focus == box || IsChild(box, focus))) return;

  const short active = m_.Options.ActivePane;
  // Esc works whatever state the window is in: a running read or size sum stops at its next
  // check. A tree's read may be filling its listing too.
  if (KeyCode == VK_ESCAPE) {
    if (PaneList* l = m_.List(active)) l->SetCancelled(true);
    if (active >= 0 && active < 100)
      if (PaneList* l = m_.List(static_cast<short>(active + 100))) l->SetCancelled(true);
  }
  // Until a key is let go only Delete acts, so a held key gives one command.
  if (KeyCode != VK_DELETE && !m_.KeyRearmed) return;

  PaneList* activeList = m_.List(active);
  if (Shift & kShift) {
    if (!m_.OldWindows && activeList) activeList->SetFolderFocus(L"shift");
    m_.KeyRearmed = false;
  }
  if ((Shift & kCtrl) && !m_.OldWindows && activeList) activeList->SetFolderFocus(L"ctrl");

  const bool ctrl = (Shift & kCtrl) != 0;
  switch (KeyCode) {
    case VK_F2:
      m_.RenameItem(true);
      break;
    case VK_F1:
      m_.OpenHelp();
      break;
    case 'A':
      if (!ctrl) break;
      if (activeList) activeList->SelectAll(active >= 100 ? L"" : L"none");
      m_.KeyRearmed = false;
      break;
    case VK_DOWN:
    case VK_UP:
      if (activeList) activeList->SetFolderFocus();
      m_.KeyRearmed = false;
      break;
    case 'X':
      if (ctrl) m_.RunPaneVerb(2);
      break;
    case 'C':
      if (!ctrl) break;
      if (PaneList* clicked = m_.List(m_.Options.ClickedPane)) {
        std::int32_t item = 0;
        clicked->PreDragCheckKeepSelected(item);
        m_.RunPaneVerb(1);
      }
      break;
    case 'V':
      if (ctrl) m_.RunPaneVerb(3);
      break;
    case VK_DELETE:
      if ((Shift & (kCtrl | kAlt)) != 0) break;
      if (Shift & kShift)
        m_.DeleteItems(true);
      else
        m_.RunPaneVerb(4);
      break;
    default:
      break;
  }
}

void KeyCommands::Form_KeyUp(short, short) {
  m_.KeyRearmed = true;
  m_.ResetStartItems();
}

}  // namespace varnello
