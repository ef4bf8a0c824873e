#include "settings/SkinChooser.h"

#include "mainwindow/Master.h"
#include "settings/CommonDialogs.h"
#include "toolkit/Error.h"
#include "toolkit/InputBox.h"
#include "toolkit/PathText.h"
#include "toolkit/SettingRecords.h"
#include "toolkit/Text.h"

namespace varnello {

namespace {

const wchar_t kOwnerName[] = L"frmSkinChooser";
const wchar_t kCrLf2[] = L"\r\n\r\n";

struct SwatchPlace {
  const wchar_t* Label;
  const wchar_t* Key;
  int Column;  // 0 left, 1 right, -1 hidden
  int Top;     // twips inside the frame
};

// Indexed by swatch number.
constexpr std::array<SwatchPlace, frmSkinChooser::kSwatchCount> kSwatches{{
    {L"Program Background", L"ColorProgramBackground", 0, 300},
    {L"List Background", L"ColorListBackground", 0, 1140},
    {L"Main Text", L"ColorListText", 0, 1500},
    {L"Main Toolbar", L"ColorMainToolbar", -1, 0},
    {L"Minor Toolbars", L"ColorMinorToolbar", -1, 0},
    {L"Active List Outline", L"ColorActiveListOutline", 0, 2340},
    {L"Active Title", L"ColorActiveTitle", 0, 3180},
    {L"Inactive Title", L"ColorInactiveTitle", 0, 3540},
    {L"Active Heading", L"ColorActiveHeading", 1, 300},
    {L"Inactive Heading", L"ColorInactiveHeading", 1, 660},
    {L"Drive List", L"ColorDriveList", 0, 4740},
    {L"Drive List Text", L"ColorDriveText", 0, 5100},
    {L"Status Text", L"ColorStatusText", 1, 2580},
    {L"Active Item Outline", L"ColorActiveItemOutline", 1, 3060},
    {L"Item Underline", L"ColorActiveItemUnderline", 1, 3420},
    {L"Active Title Text", L"ColorActiveTitleText", 0, 3900},
    {L"Active Heading Text", L"ColorActiveHeadingText", 1, 1020},
    {L"Inactive Title Text", L"ColorInactiveTitleText", 0, 4260},
    {L"Inactive Heading Text", L"ColorInactiveHeadingText", 1, 1380},
    {L"Heading Hover Text", L"ColorHeadingHoverText", 1, 1740},
    {L"Pane Background", L"ColorPaneBackground", 0, 660},
    {L"Status Background", L"ColorStatusBackground", 1, 2220},
    {L"Current Folder Text", L"ColorCurrentFolderText", 1, 3900},
    {L"Command Line List", L"ColorCommandLineList", 1, 4380},
    {L"Command Line Text", L"ColorCommandLineText", 1, 4740},
    {L"Main Menu", L"ColorMainMenu", 1, 5220},
    {L"Inactive List Outline", L"ColorInActiveListOutline", 0, 2700},
    {L"Secondary Text", L"ColorTextSecondary", 0, 1860},
}};

constexpr int kFrameLeft = 135, kFrameTop = 420, kFrameWidth = 5835;
constexpr int kColumnLeft[2] = {120, 2910};  // swatches, inside the frame
constexpr int kLabelOffset = 1095;           // from the swatch's left, just past its button
// A label reaches to the next column's swatches, or to the frame's edge, so that the longest
// ("Inactive Heading Text") is shown whole.
constexpr int kLabelWidth[2] = {kColumnLeft[1] - kColumnLeft[0] - kLabelOffset - 30,
                                kFrameWidth - kColumnLeft[1] - kLabelOffset - 45};

}  // namespace

// Esc closes the chooser as its Cancel button does. The program's message loop runs no dialog
// navigation, so the key is taken from the queue before the focused control sees it; boxes
// the chooser opens are windows of their own and keep their Esc.
class frmSkinChooser::EscapeKey {
 public:
  explicit EscapeKey(HWND form) : form_(form), previous_(current_) {
    hook_ = SetWindowsHookExW(WH_GETMESSAGE, &EscapeKey::Hook, nullptr, GetCurrentThreadId());
    current_ = this;
  }
  ~EscapeKey() {
    if (hook_) UnhookWindowsHookEx(hook_);
    if (current_ == this) current_ = previous_;
  }
  EscapeKey(const EscapeKey&) = delete;
  EscapeKey& operator=(const EscapeKey&) = delete;

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE && current_) {
      MSG& msg = *reinterpret_cast<MSG*>(lParam);
      const HWND form = current_->form_;
      if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE && msg.hwnd &&
          (msg.hwnd == form || IsChild(form, msg.hwnd))) {
        msg.message = WM_NULL;
        PostMessageW(form, WM_CLOSE, 0, 0);
      }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }

  static thread_local EscapeKey* current_;
  HWND form_;
  EscapeKey* previous_;
  HHOOK hook_ = nullptr;
};

thread_local frmSkinChooser::EscapeKey* frmSkinChooser::EscapeKey::current_ = nullptr;

const wchar_t* frmSkinChooser::SwatchKey(int index) {
  return index >= 0 && index < kSwatchCount ? kSwatches[static_cast<std::size_t>(index)].Key
                                            : L"";
}

frmSkinChooser::frmSkinChooser(Master& master) : m_(master) {}

frmSkinChooser::~frmSkinChooser() {
  if (Handle()) m_.UnregisterForm(Handle());
}

SkinFolder frmSkinChooser::Folder() const { return SkinFolder(m_.ProgramFolder()); }

void frmSkinChooser::Load() {
  if (Loaded()) return;
  if (!Create(L"Skin Chooser...", 9615, 6735)) return;
  CreateControls();
  QueryUnload = [this] { return Form_Unload(); };
  const HWND window = Handle();
  Unloaded = [this, window] {
    m_.UnregisterForm(window);
    PickedColor.reset();
    escape_.reset();
  };
  escape_ = std::make_unique<EscapeKey>(Handle());
  m_.RegisterForm(kOwnerName, Handle());
  PickedColor.reset();
  FillPictureBoxes();
  RefreshSkinList();
}

void frmSkinChooser::CreateControls() {
  TabStrip1.Create(*this, {L"Skins"});
  Place(TabStrip1, 60, 60, 9495, 6165);
  Frame1.Create(*this, L"Color Scheme");
  Place(Frame1, kFrameLeft, kFrameTop, kFrameWidth, 5700);
  for (int i = 0; i < kSwatchCount; ++i) {
    const auto n = static_cast<std::size_t>(i);
    const SwatchPlace& s = kSwatches[n];
    Picture1[n].Create(*this);
    cmdChoose[n].Create(*this, L"...");
    lblItem[n].Create(*this, s.Label);
    Picture1[n].Click = [this, i] { Picture1_Click(i); };
    cmdChoose[n].Click = [this, i] { cmdChoose_Click(i); };
    if (s.Column < 0) {
      Picture1[n].SetVisible(false);
      cmdChoose[n].SetVisible(false);
      lblItem[n].SetVisible(false);
      continue;
    }
    const int left = kFrameLeft + kColumnLeft[s.Column];
    const int top = kFrameTop + s.Top;
    Place(Picture1[n], left, top, 645, 345);
    Place(cmdChoose[n], left + 690, top, 375, 345);
    Place(lblItem[n], left + kLabelOffset, top + 60, kLabelWidth[s.Column], 225);
  }
  lstSkins.Create(*this);
  Place(lstSkins, 6060, 510, 3405, 4710);
  lstSkins.DblClick = [this] { lstSkins_DblClick(); };
  struct ButtonPlace {
    tk::Button* Button;
    const wchar_t* Caption;
    int Left, Top, Width, Height;
    void (frmSkinChooser::*Handler)();
  };
  const ButtonPlace buttons[] = {
      {&cmdSave, L"Save", 6060, 5280, 585, 420, &frmSkinChooser::cmdSave_Click},
      {&cmdLoad, L"Load", 6645, 5280, 600, 420, &frmSkinChooser::cmdLoad_Click},
      {&cmdRename, L"Rename", 7245, 5280, 750, 420, &frmSkinChooser::cmdRename_Click},
      {&cmdResave, L"Resave", 7995, 5280, 720, 420, &frmSkinChooser::cmdResave_Click},
      {&cmdDel, L"Delete", 8715, 5280, 720, 420, &frmSkinChooser::cmdDel_Click},
      {&cmdImport, L"Import", 6060, 5685, 1700, 420, &frmSkinChooser::cmdImport_Click},
      {&cmdExport, L"Export", 7740, 5685, 1700, 420, &frmSkinChooser::cmdExport_Click},
      {&cmdCancel, L"Cancel", 7110, 6270, 1170, 405, &frmSkinChooser::cmdCancel_Click},
      {&cmdOK, L"OK", 8370, 6270, 1170, 405, &frmSkinChooser::cmdOK_Click},
  };
  for (const ButtonPlace& b : buttons) {
    b.Button->Create(*this, b.Caption);
    Place(*b.Button, b.Left, b.Top, b.Width, b.Height);
    b.Button->Click = [this, handler = b.Handler] { (this->*handler)(); };
  }
  // The tab header is drawn first: everything else lies above it.
  SetWindowPos(TabStrip1.Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetWindowPos(Frame1.Handle(), TabStrip1.Handle(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void frmSkinChooser::FillPictureBoxes() {
  for (int i = 0; i < kSwatchCount; ++i) {
    const auto n = static_cast<std::size_t>(i);
    const auto colour = static_cast<std::int32_t>(*m_.Skin.ByKey(kSwatches[n].Key));
    Picture1[n].SetBackColor(colour);
    SavedSwatchColors[n] = colour;
  }
}

bool frmSkinChooser::Changed() const {
  for (std::size_t n = 0; n < SavedSwatchColors.size(); ++n)
    if (Picture1[n].BackColor() != SavedSwatchColors[n]) return true;
  return false;
}

void frmSkinChooser::RefreshSkinList() {
  lstSkins.Clear();
  const auto names = Folder().Names();
  int selected = -1;
  for (std::size_t i = 0; i < names.size(); ++i) {
    lstSkins.AddItem(names[i]);
    if (selected < 0 && tk::SameText(names[i], m_.Options.SkinName))
      selected = static_cast<int>(i);
  }
  lstSkins.SetListIndex(selected);
}

std::wstring frmSkinChooser::Say(std::wstring text, long buttons, std::optional<long> errNum) {
  m_.Message(text, buttons, kOwnerName, errNum,
             errNum ? tk::SystemErrorText(static_cast<unsigned long>(*errNum)) : L"");
  return m_.MsgBoxAnswer;
}

std::optional<std::wstring> frmSkinChooser::AskName(const std::wstring& prompt,
                                                    const std::wstring& title,
                                                    const std::wstring& answer) {
  RECT r{};
  GetWindowRect(Handle(), &r);
  const POINT at{r.left + tk::TwipsToPixels(500, tk::TwipsPerPixelX()),
                 r.top + tk::TwipsToPixels(1400, tk::TwipsPerPixelY())};
  auto typed = tk::ShowInputBox(Handle(), prompt, title, answer, at);
  if (!typed || typed->empty()) return std::nullopt;
  return typed;
}

void frmSkinChooser::SetSwatchColor(int Index, std::optional<std::int32_t> Colour) {
  if (!Colour) return;  // the colour dialog was cancelled
  try {
    const auto n = static_cast<std::size_t>(Index);
    Picture1.at(n).SetBackColor(*Colour);
    *m_.Skin.ByKey(kSwatches[n].Key) = static_cast<COLORREF>(*Colour);
    m_.ApplySkinChange();
    KeepInFront();
  } catch (...) {
    Say(L"An error occurred while making the skin change.");
  }
}

void frmSkinChooser::cmdChoose_Click(int Index) {
  try {
    clsCommonDia dialog(Handle());
    const std::int32_t chosen =
        dialog.ShowColor(Picture1.at(static_cast<std::size_t>(Index)).BackColor());
    SetSwatchColor(Index, chosen == -1 ? std::nullopt : std::optional<std::int32_t>(chosen));
  } catch (...) {
    Say(L"An error occurred while making the skin change.");
  }
}

void frmSkinChooser::Picture1_Click(int Index) {
  if (Index < 0 || Index >= kSwatchCount) return;
  if (!PickedColor) {
    PickedColor = Picture1[static_cast<std::size_t>(Index)].BackColor();
    return;
  }
  const std::int32_t picked = *PickedColor;
  PickedColor.reset();
  SetSwatchColor(Index, picked);
}

void frmSkinChooser::LoadFromList() {
  const std::wstring name = lstSkins.Text();
  if (name.empty()) {
    Say(L"Please choose a skin name first from the list.");
    return;
  }
  // The swatches follow a skin that loaded (the load refreshes them).
  m_.LoadSkin(name);
  KeepInFront();
}

void frmSkinChooser::KeepInFront() {
  // Colours applied to the main window redraw its menu bar, which under Wine also raises the
  // main window: the chooser the user is working in stays in front of it.
  if (Handle() && GetForegroundWindow() == Handle())
    SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool frmSkinChooser::IsValidSkinName(const std::wstring& name) {
  if (const auto problem = SkinNameProblem(name)) {
    Say(*problem);
    return false;
  }
  return true;
}

bool frmSkinChooser::MayReplace(const std::wstring& name) {
  const auto stored = Folder().StoredName(name);
  if (!stored) return true;
  return Say(L"You already have a skin by that name (" + *stored + L")." + kCrLf2 +
                 L"Do you want to replace it with the current colors?",
             1) == L"YES";
}

bool frmSkinChooser::WriteSkinFile(const std::wstring& name) {
  const SkinFolder folder = Folder();
  const unsigned long error = folder.Write(name, m_.Skin);
  if (error != 0) {
    Say(L"The skin " + name + L" could not be saved in " + folder.Path() + L"." + kCrLf2 +
            L"Your color changes are still on screen and have not been saved.",
        0, static_cast<long>(error));
    return false;
  }
  for (std::size_t n = 0; n < SavedSwatchColors.size(); ++n)
    SavedSwatchColors[n] = Picture1[n].BackColor();
  m_.Options.SkinName = name;
  RefreshSkinList();
  return true;
}

bool frmSkinChooser::SaveSkin(const std::wstring& HowCalled) {
  try {
    const std::wstring prompt =
        HowCalled == L"OK"
            ? L"You have changed the skin but have not yet saved it. Please provide a name for "
              L"this skin now:"
            : L"Please provide a name for this skin:";
    std::wstring answer;
    for (;;) {
      const auto typed = AskName(prompt, L"Save Current Skin", answer);
      if (!typed) return false;
      answer = *typed;
      if (IsProtectedSkin(answer)) {
        Say(L"Sorry, you cannot save over any of the default skins." + std::wstring(kCrLf2) +
            L"Please use a different name.");
        continue;
      }
      if (!IsValidSkinName(answer) || !MayReplace(answer)) continue;
      return WriteSkinFile(answer);
    }
  } catch (...) {
    return false;
  }
}

void frmSkinChooser::cmdResave_Click() {
  const std::wstring selected = lstSkins.Text();
  if (selected.empty()) {
    Say(L"Please choose a skin to resave first.");
    return;
  }
  if (IsProtectedSkin(selected)) {
    Say(L"Sorry, you cannot resave any of the default skins.");
    return;
  }
  for (;;) {
    const auto answer = AskName(L"Press OK to resave the skin. Change name first if desired.",
                                L"Resave skin...", selected);
    if (!answer) return;
    if (IsProtectedSkin(*answer)) {
      Say(L"Sorry, you cannot resave over any of the default skins." + std::wstring(kCrLf2) +
          L"Please use a different name.");
      continue;
    }
    if (!IsValidSkinName(*answer)) continue;
    const bool sameSkin = tk::SameText(*answer, selected);
    if (!sameSkin && !MayReplace(*answer)) continue;
    // The new file first: a failed write leaves the old skin where it was.
    if (!WriteSkinFile(*answer)) return;
    if (sameSkin) return;
    if (const unsigned long error = Folder().Remove(selected); error != 0)
      Say(L"The skin was saved as " + *answer + L", but the old skin " + selected +
              L" could not be removed.",
          0, static_cast<long>(error));
    RefreshSkinList();
    return;
  }
}

void frmSkinChooser::cmdRename_Click() {
  const std::wstring selected = lstSkins.Text();
  if (selected.empty()) {
    Say(L"Please select a skin to rename first.");
    return;
  }
  if (IsProtectedSkin(selected)) {
    Say(L"Sorry, you cannot rename any of the default skins.");
    return;
  }
  for (;;) {
    const auto answer =
        AskName(L"Please provide a new name for this skin:", L"Save Current Skin", selected);
    if (!answer) return;
    if (!IsValidSkinName(*answer)) continue;
    if (IsProtectedSkin(*answer)) {
      Say(L"Sorry, you cannot use the name of any of the default skins." +
          std::wstring(kCrLf2) + L"Please use a different name.");
      continue;
    }
    const unsigned long error = Folder().Rename(selected, *answer);
    if (error == ERROR_ALREADY_EXISTS) {
      Say(L"You already have a skin by that name (" + *answer + L")." + kCrLf2 +
          L"Please use a different name.");
      continue;
    }
    if (error != 0) {
      Say(L"The skin " + selected + L" could not be renamed.", 0, static_cast<long>(error));
      return;
    }
    // The next start looks for the current skin under its new name.
    if (tk::SameText(m_.Options.SkinName, selected)) m_.Options.SkinName = *answer;
    RefreshSkinList();
    return;
  }
}

void frmSkinChooser::cmdDel_Click() {
  const std::wstring selected = lstSkins.Text();
  if (selected.empty()) {
    Say(L"Please choose a skin to delete first.");
    return;
  }
  if (IsProtectedSkin(selected)) {
    Say(L"Sorry, you cannot delete any of the default skins.");
    return;
  }
  if (Say(L"Are you sure you want to delete the skin: " + selected + L" ?", 1) != L"YES") return;
  if (const unsigned long error = Folder().Remove(selected); error != 0) {
    Say(L"The skin " + selected + L" could not be deleted.", 0, static_cast<long>(error));
    return;
  }
  // The colours stay on screen; the next start opens in the default skin, which is there.
  if (tk::SameText(m_.Options.SkinName, selected)) m_.Options.SkinName = kDefaultSkinName;
  RefreshSkinList();
}

std::optional<std::wstring> frmSkinChooser::AskSkinFile(bool save, const std::wstring& title,
                                                        const std::wstring& fileName) {
  FileDialogRequest request;
  request.Owner = Handle();
  request.Save = save;
  request.Title = title;
  request.FileName = fileName;
  request.FilterName = L"Varnello Skins";
  request.FilterPattern = L"*.vrk";
  request.DefaultExtension = L"vrk";
  request.InitialFolder = L"c:\\";
  return ShowFileDialog(request);
}

void frmSkinChooser::cmdImport_Click() {
  const auto chosen = AskSkinFile(false, L"Import Varnello Skin", L"*.vrk");
  if (!chosen) return;
  const std::wstring path = tk::Trim(*chosen);
  std::wstring name = path.substr(path.find_last_of(L"\\/") == std::wstring::npos
                                      ? 0
                                      : path.find_last_of(L"\\/") + 1);
  const auto dot = name.rfind(L'.');
  if (dot != std::wstring::npos && dot > 0) name.resize(dot);
  if (const auto problem = SkinNameProblem(name)) {
    Say(L"The file " + path + L" cannot be imported under the name " + name + L"." + kCrLf2 +
        *problem);
    return;
  }
  const SkinFolder folder = Folder();
  if (IsProtectedSkin(name) || folder.StoredName(name)) {
    Say(L"You already have a skin by that name (" + name + L")." + kCrLf2 +
        L"Please delete or rename the existing skin first if you wish to import the new one.");
    return;
  }
  const auto bytes = tk::ReadFileBytes(path);
  SkinColours probe;
  if (bytes && ApplySkinFile(*bytes, probe) == 0) {
    Say(L"The file " + path + L" is not a Varnello skin: it holds no colors.");
    return;
  }
  CreateDirectoryW(tk::LongPathForm(folder.Path()).c_str(), nullptr);
  const unsigned long error =
      !bytes ? ERROR_READ_FAULT : tk::ReplaceFileContents(folder.PathFor(name), *bytes);
  if (error != 0) {
    Say(L"An error has occurred while importing the skin.", 0, static_cast<long>(error));
    return;
  }
  RefreshSkinList();
}

void frmSkinChooser::cmdExport_Click() {
  const std::wstring selected = lstSkins.Text();
  if (selected.empty()) {
    Say(L"Please select a skin to export first.");
    return;
  }
  const auto chosen = AskSkinFile(true, L"Export Varnello Skin", selected + L".vrk");
  if (!chosen) return;
  const auto source = Folder().Find(selected);
  const auto bytes = source ? tk::ReadFileBytes(*source) : std::nullopt;
  const unsigned long error = !bytes ? ERROR_FILE_NOT_FOUND
                                     : tk::ReplaceFileContents(tk::Trim(*chosen), *bytes);
  if (error != 0) Say(L"An error occurred while exporting the skin.", 0, static_cast<long>(error));
}

bool frmSkinChooser::Form_Unload() {
  if (!Changed()) return true;
  const std::wstring answer =
      Say(L"You have made changes to the skin but have not saved these changes." +
              std::wstring(kCrLf2) +
              L"Do you wish to save these changes now? (Choose 'No' to lose your changes.)",
          2);
  if (answer == L"NO") {
    m_.LoadSkin(m_.Options.SkinName);
    return true;
  }
  if (answer != L"YES") return false;
  if (SaveSkin(L"")) return true;
  if (Say(L"Skin not saved." + std::wstring(kCrLf2) + L"Do you wish to lose your changes?", 1) !=
      L"YES")
    return false;
  m_.LoadSkin(m_.Options.SkinName);
  return true;
}

}  // namespace varnello
