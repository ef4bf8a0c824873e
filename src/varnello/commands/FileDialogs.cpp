#include "commands/FileDialogs.h"

#include <utility>

#include "toolkit/EventLoop.h"
#include "toolkit/MousePointer.h"

namespace varnello {

namespace {

constexpr int kFirstControlId = 1000;
constexpr UINT kShownMessage = WM_APP + 42;
constexpr COLORREF kLightBlue = RGB(166, 202, 240);
constexpr COLORREF kWhite = RGB(255, 255, 255);

std::function<void(FileDialog&)>& ShownHook() {
  static std::function<void(FileDialog&)> hook;
  return hook;
}

int X(int twips) { return tk::TwipsToPixels(twips, tk::TwipsPerPixelX()); }
int Y(int twips) { return tk::TwipsToPixels(twips, tk::TwipsPerPixelY()); }

std::wstring WindowText(HWND w) {
  if (!w) return {};
  std::wstring s(static_cast<size_t>(GetWindowTextLengthW(w)) + 1, L'\0');
  s.resize(static_cast<size_t>(GetWindowTextW(w, s.data(), static_cast<int>(s.size()))));
  return s;
}

// The row of buttons at the bottom right, as wide as a form of `width` twips allows.
constexpr int kButtonWidth = 1215, kButtonHeight = 375, kButtonGap = 120;
int ButtonLeft(int formWidth, int fromRight) {
  return formWidth - kButtonGap - (fromRight + 1) * kButtonWidth - fromRight * kButtonGap;
}

}  // namespace

void FileDialog::SetShownHook(std::function<void(FileDialog&)> hook) {
  ShownHook() = std::move(hook);
}

FileDialog::FileDialog(std::wstring name, FileVerdicts& verdicts)
    : verdicts_(verdicts), name_(std::move(name)) {}

FileDialog::~FileDialog() = default;

void FileDialog::Build(const std::wstring& caption, int widthTwips, int heightTwips) {
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  if (!CreateOwn(nullptr, style, WS_EX_DLGMODALFRAME)) return;
  SetWindowTextW(Handle(), caption.c_str());
  RECT frame{0, 0, X(widthTwips), Y(heightTwips)};
  AdjustWindowRectEx(&frame, style, FALSE, WS_EX_DLGMODALFRAME);
  SetWindowPos(Handle(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  font_.Reset(CreateFontW(-MulDiv(9, 96, 72), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                          0, 0, L"Arial"));
  lightBlue_.Reset(CreateSolidBrush(kLightBlue));
  white_.Reset(CreateSolidBrush(kWhite));
}

void FileDialog::Add(Kind kind, const std::wstring& name, const std::wstring& caption, int left,
                     int top, int width, int height) {
  const wchar_t* cls = L"STATIC";
  DWORD style = WS_CHILD | WS_VISIBLE;
  DWORD ex = 0;
  switch (kind) {
    case Kind::Label:
      break;
    case Kind::TextBox:
    case Kind::ReadOnlyTextBox:
      cls = L"EDIT";
      style |= WS_TABSTOP | ES_AUTOHSCROLL | (kind == Kind::ReadOnlyTextBox ? ES_READONLY : 0);
      ex = WS_EX_CLIENTEDGE;
      break;
    case Kind::Button:
      cls = L"BUTTON";
      style |= WS_TABSTOP | (name == defaultButton_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
      break;
    case Kind::CheckBox:
      cls = L"BUTTON";
      style |= WS_TABSTOP | BS_AUTOCHECKBOX;
      break;
  }
  const int id = kFirstControlId + static_cast<int>(items_.size());
  HWND w = CreateWindowExW(ex, cls, caption.c_str(), style, X(left), Y(top), X(width), Y(height),
                           Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr,
                           nullptr);
  SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
  items_.push_back({name, kind, w});
}

HWND FileDialog::Control(const std::wstring& control) const {
  for (const Item& i : items_)
    if (i.Name == control) return i.Handle;
  return nullptr;
}

std::wstring FileDialog::Caption() const { return WindowText(Handle()); }
std::wstring FileDialog::Text(const std::wstring& control) const {
  return WindowText(Control(control));
}
void FileDialog::SetText(const std::wstring& control, const std::wstring& text) {
  if (HWND w = Control(control)) SetWindowTextW(w, text.c_str());
}
bool FileDialog::Visible(const std::wstring& control) const {
  HWND w = Control(control);
  return w && (GetWindowLongW(w, GWL_STYLE) & WS_VISIBLE) != 0;
}
bool FileDialog::Checked(const std::wstring& control) const {
  HWND w = Control(control);
  return w && SendMessageW(w, BM_GETCHECK, 0, 0) != BST_UNCHECKED;
}
void FileDialog::SetChecked(const std::wstring& control, bool checked) {
  if (HWND w = Control(control))
    SendMessageW(w, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}
DWORD FileDialog::SelStart(const std::wstring& control) const {
  DWORD start = 0, end = 0;
  if (HWND w = Control(control))
    SendMessageW(w, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return start;
}
DWORD FileDialog::SelLength(const std::wstring& control) const {
  DWORD start = 0, end = 0;
  if (HWND w = Control(control))
    SendMessageW(w, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return end - start;
}
void FileDialog::Focus(const std::wstring& control) { focus_ = control; }

void FileDialog::Click(const std::wstring& control) {
  for (const Item& i : items_)
    if (i.Name == control && i.Type == Kind::Button && IsWindowEnabled(i.Handle)) {
      pressed_ = control;
      ButtonClick(control);
      return;
    }
}

void FileDialog::CloseBox() { Unload(); }

void FileDialog::Unload() {
  if (done_) return;
  Form_Unload();
  done_ = true;
  PostMessageW(Handle(), WM_NULL, 0, 0);  // wakes the modal loop
}

void FileDialog::ShowModal(HWND owner) {
  if (!Handle()) return;
  // Centred over the owner.
  RECT o{}, me{};
  if (!owner || !GetWindowRect(owner, &o))
    o = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  GetWindowRect(Handle(), &me);
  const int w = me.right - me.left, h = me.bottom - me.top;
  SetWindowPos(Handle(), nullptr, o.left + ((o.right - o.left) - w) / 2,
               o.top + ((o.bottom - o.top) - h) / 2, 0, 0,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
  if (owner) SetWindowLongPtrW(Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));

  const int savedPointer = tk::ScreenMousePointer();
  tk::SetScreenMousePointer(tk::PointerArrow);
  const bool ownerWasEnabled = owner && IsWindowEnabled(owner);
  if (ownerWasEnabled) EnableWindow(owner, FALSE);
  ShowWindow(Handle(), SW_SHOW);
  SetForegroundWindow(Handle());
  if (HWND first = Control(focus_.empty() ? defaultButton_ : focus_)) SetFocus(first);
  if (ShownHook()) PostMessageW(Handle(), kShownMessage, 0, 0);

  const tk::ModalEnd end = tk::RunModalLoop([this] { return Handle(); }, done_);
  if (!done_) Unload();
  if (ownerWasEnabled) EnableWindow(owner, TRUE);
  if (Handle()) ShowWindow(Handle(), SW_HIDE);
  Destroy();
  if (owner) SetActiveWindow(owner);
  tk::SetScreenMousePointer(savedPointer);
  if (end.Quit) PostQuitMessage(end.Code);  // the loop that owns the quit gets it back
}

LRESULT FileDialog::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (id >= kFirstControlId && id < kFirstControlId + static_cast<int>(items_.size())) {
        const Item& item = items_[static_cast<size_t>(id - kFirstControlId)];
        if (item.Type == Kind::Button && HIWORD(wParam) == BN_CLICKED) Click(item.Name);
      } else if (id == IDOK) {
        Click(defaultButton_);
      } else if (id == IDCANCEL) {
        CloseBox();  // Esc: as the close box
      }
      return 0;
    }
    case DM_GETDEFID:
      for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].Name == defaultButton_)
          return MAKELRESULT(kFirstControlId + static_cast<int>(i), DC_HASDEFID);
      return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
      HWND child = reinterpret_cast<HWND>(lParam);
      for (const Item& i : items_) {
        if (i.Handle != child) continue;
        if (i.Type == Kind::TextBox || i.Type == Kind::ReadOnlyTextBox) {
          const bool shows = i.Type == Kind::ReadOnlyTextBox;
          SetBkColor(reinterpret_cast<HDC>(wParam), shows ? kLightBlue : kWhite);
          return reinterpret_cast<LRESULT>(shows ? lightBlue_.Get() : white_.Get());
        }
      }
      break;
    }
    case WM_CLOSE:
      CloseBox();
      return 0;
    case kShownMessage:
      if (ShownHook()) ShownHook()(*this);
      return 0;
    default:
      break;
  }
  return Window::OnMessage(msg, wParam, lParam);
}

// ---------------------------------------------------------------------------------------------

namespace {
constexpr int kFormWidth = 6480;
constexpr int kBoxLeft = 1440, kBoxWidth = kFormWidth - kBoxLeft - 120, kBoxHeight = 315;
}  // namespace

void popCopyMove::Show(HWND owner, const std::wstring& source, const std::wstring& destination,
                       bool defaultActionMove) {
  SetDefaultButton(defaultActionMove ? L"cmdMove" : L"cmdCopy");
  Build(L"File Operation...", kFormWidth, 1560);
  Add(Kind::Label, L"lblSource", L"Source:", 120, 165, 1260, 255);
  Add(Kind::ReadOnlyTextBox, L"txtSource", source, kBoxLeft, 120, kBoxWidth, kBoxHeight);
  Add(Kind::Label, L"lblDest", L"Destination:", 120, 585, 1260, 255);
  Add(Kind::TextBox, L"txtDest", destination, kBoxLeft, 540, kBoxWidth, kBoxHeight);
  Add(Kind::Button, L"cmdCopy", L"&Copy Here", ButtonLeft(kFormWidth, 2), 1065, kButtonWidth,
      kButtonHeight);
  Add(Kind::Button, L"cmdMove", L"&Move Here", ButtonLeft(kFormWidth, 1), 1065, kButtonWidth,
      kButtonHeight);
  Add(Kind::Button, L"cmdCancel", L"Ca&ncel", ButtonLeft(kFormWidth, 0), 1065, kButtonWidth,
      kButtonHeight);
  ShowModal(owner);
}

void popCopyMove::ButtonClick(const std::wstring& control) {
  if (control == L"cmdCopy") verdicts_.currOperation = L"copy";
  if (control == L"cmdMove") verdicts_.currOperation = L"move";
  if (control == L"cmdCancel") verdicts_.currOperation = L"cancel";
  Unload();
}

void popCopyMove::Form_Unload() { verdicts_.DestinationFolder = Text(L"txtDest"); }

void popDelete::Show(HWND owner, const std::wstring& source, bool permanent) {
  SetDefaultButton(L"cmdDelete");
  Build(L"File Operation...", kFormWidth, 1560);
  Add(Kind::Label, L"Label1", permanent ? L"Permanently Delete?" : L"Delete:", 120, 165, 1260,
      420);
  Add(Kind::ReadOnlyTextBox, L"txtSource", source, kBoxLeft, 120, kBoxWidth, kBoxHeight);
  if (!permanent) {
    Add(Kind::CheckBox, L"chkSendToRecycleBin", L"", kBoxLeft, 585, 255, 255);
    Add(Kind::Label, L"Label2", L"Send to Recycle Bin", kBoxLeft + 300, 585, 2400, 255);
    SetChecked(L"chkSendToRecycleBin", true);
  }
  Add(Kind::Button, L"cmdDelete", L"&Delete", ButtonLeft(kFormWidth, 1), 1065, kButtonWidth,
      kButtonHeight);
  Add(Kind::Button, L"cmdCancel", L"Ca&ncel", ButtonLeft(kFormWidth, 0), 1065, kButtonWidth,
      kButtonHeight);
  ShowModal(owner);
}

void popDelete::ButtonClick(const std::wstring& control) {
  if (control == L"cmdDelete") {
    verdicts_.currOperation = L"delete";
    verdicts_.SendToRecycleBin = Checked(L"chkSendToRecycleBin");
  }
  if (control == L"cmdCancel") verdicts_.currOperation = L"cancel";
  Unload();
}

void popNewFolder::Show(HWND owner, const std::wstring& folder) {
  SetDefaultButton(L"cmdCopy");
  Build(L"New Folder...", kFormWidth, 1560);
  Add(Kind::Label, L"Label1", L"Create In:", 120, 165, 1260, 255);
  Add(Kind::ReadOnlyTextBox, L"txtDest", folder, kBoxLeft, 120, kBoxWidth, kBoxHeight);
  Add(Kind::Label, L"Label3", L"New Folder Name:", 120, 585, 1300, 420);
  Add(Kind::TextBox, L"txtNewFolderName", L"", kBoxLeft, 540, kBoxWidth, kBoxHeight);
  Add(Kind::Button, L"cmdCopy", L"&Create", ButtonLeft(kFormWidth, 1), 1065, kButtonWidth,
      kButtonHeight);
  Add(Kind::Button, L"cmdCancel", L"Ca&ncel", ButtonLeft(kFormWidth, 0), 1065, kButtonWidth,
      kButtonHeight);
  Focus(L"txtNewFolderName");
  ShowModal(owner);
}

void popNewFolder::ButtonClick(const std::wstring& control) {
  if (control == L"cmdCopy") verdicts_.currOperation = typed_ = Text(L"txtNewFolderName");
  if (control == L"cmdCancel") verdicts_.currOperation = L"cancel";
  Unload();
}

void popRename::Show(HWND owner, const std::wstring& oldName) {
  SetDefaultButton(L"cmdRename");
  Build(L"Rename...", kFormWidth, 1560);
  Add(Kind::Label, L"Label1", L"Old Name:", 120, 165, 1260, 255);
  Add(Kind::ReadOnlyTextBox, L"txtSource", oldName, kBoxLeft, 120, kBoxWidth, kBoxHeight);
  Add(Kind::Label, L"Label3", L"New Name:", 120, 585, 1260, 255);
  Add(Kind::TextBox, L"txtDest", oldName, kBoxLeft, 540, kBoxWidth, kBoxHeight);
  Add(Kind::Button, L"cmdRename", L"&Rename", ButtonLeft(kFormWidth, 1), 1065, kButtonWidth,
      kButtonHeight);
  Add(Kind::Button, L"cmdCancel", L"Ca&ncel", ButtonLeft(kFormWidth, 0), 1065, kButtonWidth,
      kButtonHeight);
  Focus(L"txtDest");
  SendMessageW(Control(L"txtDest"), EM_SETSEL, 0, static_cast<LPARAM>(oldName.size()));
  PositionCursor();
  ShowModal(owner);
}

void popRename::PositionCursor() {
  const std::wstring text = Text(L"txtDest");
  const size_t dot = text.rfind(L'.');
  if (dot == std::wstring::npos) return;
  SendMessageW(Control(L"txtDest"), EM_SETSEL, dot, static_cast<LPARAM>(dot));
}

void popRename::ButtonClick(const std::wstring& control) {
  if (control == L"cmdRename") {
    // An unchanged name leaves no verdict; a change of case is a change.
    typed_ = Text(L"txtDest");
    if (typed_ != Text(L"txtSource")) verdicts_.currOperation = typed_;
  }
  if (control == L"cmdCancel") verdicts_.currOperation = L"cancel";
  Unload();
}

}  // namespace varnello
