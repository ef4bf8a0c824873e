#include "mainwindow/Master.h"

#include <olectl.h>
#include <windowsx.h>

#include "commands/MainMenu.h"
#include "commands/MainToolbar.h"
#include "mainwindow/OsVersion.h"
#include "mainwindow/ProgramMessageBox.h"
#include "settings/OptionsForm.h"
#include "toolkit/Error.h"
#include "toolkit/MousePointer.h"
#include "toolkit/PathText.h"
#include "toolkit/Text.h"

namespace varnello {

namespace {

constexpr COLORREF kSeparatorColour = RGB(0, 0, 0);
const wchar_t kSupportAddress[] = L"support@varnello.example";

// Paths past 49 characters show as their first 3, "..." and their last 44.
std::wstring ShortDisplay(const std::wstring& text) {
  if (text.size() <= 49) return text;
  return text.substr(0, 3) + L"..." + text.substr(text.size() - 44);
}

std::wstring PaneMenuCaption(short pane, const std::wstring& display) {
  return L"Show Pane &" + std::to_wstring(pane + 1) + L" - " + display;
}

std::wstring PaneKey(short pane) { return L"pane" + std::to_wstring(pane); }

void SetText(HWND w, const std::wstring& text) {
  if (w) SetWindowTextW(w, text.c_str());
}

std::wstring GetText(HWND w) {
  if (!w) return {};
  std::wstring s(static_cast<size_t>(GetWindowTextLengthW(w)) + 1, L'\0');
  s.resize(static_cast<size_t>(GetWindowTextW(w, s.data(), static_cast<int>(s.size()))));
  return s;
}

// Skins may name system colours; the lists get the colour they stand for.
zenlo::Variant Colour(COLORREF c) {
  return static_cast<std::int32_t>(tk::SkinColour(static_cast<std::int32_t>(c)));
}
COLORREF Shown(COLORREF c) { return tk::SkinColour(static_cast<std::int32_t>(c)); }

}  // namespace

Master::BusyScope::~BusyScope() { --m_.busy_; }

Master::Master(std::wstring programFolder, PaneListFactory& lists, bool inParts)
    : folder_(std::move(programFolder)), factory_(lists) {
  while (!folder_.empty() && folder_.back() == L'\\') folder_.pop_back();
  closeRetry_.SetEnabled(false);
  closeRetry_.OnTick = [this] {
    if (busy_ > 0 || AnyListReading()) return;
    closeRetry_.SetEnabled(false);
    Form_Unload();
  };
  CreateWindowAndMenu();
  while (!inParts && MakeNextPart()) {
  }
}

Master::~Master() {
  keyPreview_.reset();
  closeRetry_.SetEnabled(false);
  for (auto& l : listings_) l.reset();
  for (auto& t : trees_) t.reset();
  menuIcons_.Detach();
  Destroy();
  if (trayMenu_) DestroyMenu(trayMenu_);
}

void Master::CreateWindowAndMenu() {
  if (!CreateOwn(nullptr, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN)) return;
  SetWindowTextW(Handle(), L"Varnello");
  const int w = 1000, h = 700;
  SetWindowPos(Handle(), nullptr, (GetSystemMetrics(SM_CXSCREEN) - w) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - h) / 2, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
  menu_ = CreateMainMenu();
  SetMenu(Handle(), menu_);
  uiFont_.Reset(CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                            L"Tahoma"));
}

bool Master::MakeNextPart() {
  constexpr int kParts = 4;
  // A window that could not be made gets no parts.
  if (!Handle() || partsMade_ >= kParts) return false;
  switch (partsMade_++) {
    case 0:
      toolbar_.Create(Handle());
      AddMainToolbarButtons(toolbar_);
      trayMenu_ = CreateTrayMenu();
      toolbar_.ButtonClick = [this](const std::wstring& key) { Toolbar1_ButtonClick(key); };
      RegisterCommands();
      currentPath_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_READONLY |
                                     ES_AUTOHSCROLL, 0, 0, 0, 0, Handle(), nullptr, nullptr,
                                     nullptr);
      SendMessageW(currentPath_, WM_SETFONT, reinterpret_cast<WPARAM>(uiFont_.Get()), FALSE);
      command_.Create(Handle(), 200, 200);
      command_.SetVisible(false);
      break;
    case 1:
      for (short i = 0; i < kPaneCount; ++i) {
        titleBars_[i] = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | ES_READONLY | ES_AUTOHSCROLL,
                                        0, 0, 0, 0, Handle(), nullptr, nullptr, nullptr);
        SendMessageW(titleBars_[i], WM_SETFONT, reinterpret_cast<WPARAM>(uiFont_.Get()), FALSE);
        HookTitleBar(titleBars_[i], i);
      }
      txtFocus_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_READONLY, 0, 0, 0,
                                  0, Handle(), nullptr, nullptr, nullptr);
      chrome_.Create(Handle(), uiFont_.Get());
      // The title button is pressed and clicked like its title bar.
      for (short i = 0; i < kPaneCount; ++i) HookTitleBar(chrome_.TitleButton(i), i);
      RegisterForm(L"Master", Handle());
      keyPreview_ = std::make_unique<KeyPreview>([this](const MSG& m) { PreviewKey(m); });
      keyPreview_->OnMouse = [this](const MSG& m) { return PreviewMouse(m); };
      break;
    case 2:
      // Pane 0's pair belongs to the window from the start.
      trees_[0] = factory_.Create(0, Handle(), *this);
      break;
    default:
      listings_[0] = factory_.Create(100, Handle(), *this);
      break;
  }
  return true;
}

void Master::MakeListAhead(short index) {
  const short pane = index >= 100 ? static_cast<short>(index - 100) : index;
  // Pane 0's pair is one of the window's own parts.
  if (pane <= 0 || pane >= kPaneCount || !Handle()) return;
  std::unique_ptr<PaneList>& slot = index >= 100 ? listings_[pane] : trees_[pane];
  if (slot) return;
  try {
    slot = factory_.Create(index, Handle(), *this);
  } catch (...) {
    slot.reset();
  }
  // Out of sight until its pane is set up and laid out (or opened, if it starts hidden).
  if (slot && slot->Window()) ShowWindow(slot->Window(), SW_HIDE);
}

void Master::MakeImagesAhead() {
  if (images_.Handle() || imagesFailed_) return;
  try {
    imagesFailed_ = !BuildMainImages(images_);
    // The menu's pictures as the phases give them; one that cannot attach leaves it to them.
    if (imagesFailed_ || !menuIcons_.Attach(Handle())) return;
    menuIcons_.SetUseMenuColour(true);
    menuIcons_.SetImageList(&images_);
    menuIcons_.SetImages(MenuPictureIndexes());
    menuPicturesAhead_ = true;
  } catch (...) {
    imagesFailed_ = true;
  }
}

std::vector<std::pair<UINT, int>> Master::MenuPictureIndexes() const {
  std::vector<std::pair<UINT, int>> pictures;
  for (const auto& [id, key] : MenuPictures()) pictures.emplace_back(id, images_.IndexOf(key));
  return pictures;
}

PaneList* Master::List(short index) const {
  if (index >= 0 && index < kPaneCount) return trees_[index].get();
  if (index >= 100 && index < 100 + kPaneCount) return listings_[index - 100].get();
  return nullptr;
}

// The long form where the folder's name needs it, so that a program folder ending in a dot or a
// blank is the folder written to.
std::wstring Master::FilePath(const wchar_t* name) const {
  return tk::LongPathForm(folder_ + L"\\" + name);
}

std::wstring Master::TitleBarText(short pane) const {
  return pane >= 0 && pane < kPaneCount ? GetText(titleBars_[pane]) : std::wstring();
}
std::wstring Master::CurrentPathText() const { return GetText(currentPath_); }
std::wstring Master::CommandText() const { return command_.Text(); }

// ---------------------------------------------------------------------------------------------
// Start-up

void Master::Status(const std::wstring& text) {
  if (splash_) splash_->SetStatus(text);
}

void Master::Form_Load(StartupReporter& splash) {
  // What was not made ahead is made now, as the constructor would have.
  while (MakeNextPart()) {
  }
  splash_ = &splash;
  ResizeAllowed = true;
  FirstResize = true;
  UseShellVerbs = 1;
  MenuIconsFailed = false;
  try {
    Status(L"setting up menus...");
    Status(L"creating menu links...");
    // Attached ahead, it keeps the pictures it was given; giving them again draws nothing.
    if (!menuPicturesAhead_ && !menuIcons_.Attach(Handle())) MenuIconsFailed = true;
    if (!MenuIconsFailed) {
      Status(L"assigning images...");
      menuIcons_.SetUseMenuColour(true);
      if (imagesFailed_ || (!images_.Handle() && !BuildMainImages(images_)))
        throw tk::RuntimeError(7, L"The program's pictures could not be made.");
      menuIcons_.SetImageList(&images_);
      menuIcons_.SetImages(MenuPictureIndexes());
    }
    Status(L"detecting environment...");
    if (IsWin95()) OSName = L"Windows 95", OldWindows = true;
    if (IsWin98()) OSName = L"Windows 98", OldWindows = true;
    if (IsWinME()) OSName = L"Windows Me", OldWindows = true;
    Status(L"creating toolbars...");
    SetToolbarIcons();
    Status(L"setting intial properties...");
    SetControlProperties();
    Status(L"checking for proper shut down...");
    if (GetFileAttributesW(FilePath(L"run.txt").c_str()) != INVALID_FILE_ATTRIBUTES) {
      std::wstring text =
          L"It appears as though Varnello did not shut down properly or another copy is "
          L"already running.\r\n\r\nDo you want to reset to all of Varnello's default settings?";
      Message(text, 1, L"");
      if (MsgBoxAnswer == L"YES") DeleteFileW(settings_.Location().WritePath.c_str());
    }
    Status(L"getting last settings used...");
    LoadLastSettings();
    Status(L"storing start up information...");
    PlaceRunFile();
    Status(L"preparing initial views...");
    for (short i = 0; i < kPaneCount; ++i) {
      ShowWindow(titleBars_[i], SW_HIDE);
      if (Panes[i].Loaded) {
        if (HWND w = List(i)->Window()) ShowWindow(w, SW_HIDE);
        if (HWND w = List(static_cast<short>(i + 100))->Window()) ShowWindow(w, SW_HIDE);
      }
    }
    ShowWindow(toolbar_.Handle(), SW_HIDE);
    RedrawWindow(toolbar_.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ShowWindow(toolbar_.Handle(), SW_SHOW);
    Status(L"getting mouse information...");
    Options.ClickedPane = Options.StartPane;
    Status(L"highlighting active list...");
    HighlightActiveList(false);
    ResizeAllowed = true;
    splash.SetLoadedFlag();
  } catch (...) {
    std::wstring text =
        L"An error has occurred while starting Varnello.\r\n\r\nThe error occurred during this "
        L"stage: " +
        splash.Status() + L"\r\n\r\nPlease send an e-mail to " + kSupportAddress +
        L" regarding possible fixes to this issue and quote error number: VR0101. Varnello "
        L"must now close.";
    Message(text, 0, L"");
    splash.SetShutDown();
  }
  splash_ = nullptr;
}

void Master::PlaceRunFile() {
  HANDLE file = CreateFileW(FilePath(L"run.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    throw tk::RuntimeError(75, L"Path/File access error");
  CloseHandle(file);
}

void Master::SetToolbarIcons() {
  if (imagesFailed_ || (!images_.Handle() && !BuildMainImages(images_)))
    throw tk::RuntimeError(7, L"The program's pictures could not be made.");
  toolbar_.SetImageList(images_);
  for (const auto& [button, image] : ToolbarPictures()) {
    const int index = images_.IndexOf(image);
    if (index < 0 || !toolbar_.HasButton(button))
      throw tk::RuntimeError(35601, L"Element not found");
    toolbar_.SetImage(button, index);
  }
}

void Master::SetControlProperties() {
  try {
    background_.Reset(CreateSolidBrush(Skin.ColorProgramBackground));
    SplitterThickness = 60;
    CommandLineBoxHeight = 335;
    for (HWND w :
         {chrome_.LineVert(), chrome_.LineHorz(), chrome_.LineVert2(), chrome_.LineHorz2()})
      if (w) ShowWindow(w, SW_HIDE);
    layoutValues_.PaneAreaTop = 410;
    KeyRearmed = true;
    copyCursor_ = LoadCursorW(GetModuleHandleW(nullptr), L"CURCOPY");
    if (!copyCursor_)
      throw tk::RuntimeError(326, L"Resource with identifier 'curcopy' not found");
  } catch (const tk::RuntimeError& e) {
    std::wstring text = L"A error occurred while setting up the initial form properties.";
    Message(text, 0, L"", e.Info().Number, e.Info().Description);
  }
}

void Master::LoadLastSettings() {
  Status(L"getting program defaults...");
  for (short i = 0; i < kPaneCount; ++i) {
    const bool loaded = Panes[i].Loaded;  // a pane's lists live as long as the window
    Panes[i] = DefaultPaneRecords()[i];
    Panes[i].Loaded = loaded;
  }
  Options = ProgramOptions{};
  SetMenuCheck(menu_, mnuCompareDate, true);
  SetMenuCheck(menu_, mnuCompareSize, true);
  toolbar_.SetValue(L"compare_size", true);
  toolbar_.SetValue(L"compare_date", true);
  if (!MenuIconsFailed) menuIcons_.SetImage(mnuOrientation, images_.IndexOf(L"layouthorizontal"));
  toolbar_.SetValue(L"layoutvertical", false);
  toolbar_.SetValue(L"layouthorizontal", true);
  SetMenuCheck(menu_, mnuHidden, false);
  SetMenuCheck(menu_, mnuSystem, false);
  SetMenuCheck(menu_, mnuCommandOff, true);
  SetMenuCheck(menu_, mnuCommandOn, false);
  toolbar_.SetValue(L"showcommandline", false);
  Options.ColorCodingOn = false;
  toolbar_.SetValue(L"showcolor", false);
  SetMenuCheck(menu_, mnuColorOn, false);
  SetMenuCheck(menu_, mnuColorOff, true);
  SetMenuCheck(menu_, mnuAutoExpandOn, false);
  SetMenuCheck(menu_, mnuAutoExpandOff, true);
  toolbar_.SetValue(L"layoutautoexpand", false);
  for (short i = 0; i < kPaneCount; ++i) {
    toolbar_.SetValue(PaneKey(i), i < 2);
    SetMenuCheck(menu_, mnuPane0 + static_cast<UINT>(i), i < 2);
  }

  Status(L"loading initial pane defaults...");
  short allPanes = -1;
  settings_.CacheUserSettings(allPanes);
  settings_.SettleShares();
  MakeBookmarkDisplayPaths();

  ChooseStartPane();

  Status(L"arranging setup...");
  Status(L"loading initial pane...");
  LoadSkin(Options.SkinName);
  InitializePaneSet(0);
  for (short n = 1; n < kPaneCount; ++n) {
    if (Panes[n].Status != 0) continue;
    Status(L"loading pane " + std::to_wstring(n + 1) + L"...");
    InitializePaneSet(n);
  }
  Status(L"loading skin...");
}

void Master::ChooseStartPane() {
  // At least one pane is always open: with every pane hidden, pane 0 is shown.
  if (LowestShownPane(Panes) < 0) {
    Panes[0].Status = 0;
    Options.ShownPaneCount = 1;
    toolbar_.SetValue(PaneKey(0), true);
    SetMenuCheck(menu_, mnuPane0, true);
  }
  Options.StartPane = LowestShownPane(Panes);
  Options.ActivePane = Options.StartPane;
}

void Master::MakeBookmarkDisplayPaths() {
  for (Bookmark& b : Options.BookMarks) {
    const std::wstring& p = b.Path;
    b.DisplayPath = p.size() > 100 ? p.substr(0, 10) + L"..." + p.substr(p.size() - 87) : p;
  }
}

// ---------------------------------------------------------------------------------------------
// Pane pairs

void Master::InitializePaneSet(short i) {
  if (i < 0 || i >= kPaneCount) throw tk::RuntimeError(tk::kErrSubscript, L"Subscript out of range");
  const int savedPointer = tk::ScreenMousePointer();
  tk::SetScreenMousePointer(tk::PointerHourglass);
  struct RestorePointer {
    int saved;
    ~RestorePointer() { tk::SetScreenMousePointer(saved); }
  } restore{savedPointer};

  if (i != 0) {
    if (!trees_[i]) trees_[i] = factory_.Create(i, Handle(), *this);
    if (!listings_[i]) listings_[i] = factory_.Create(static_cast<short>(i + 100), Handle(), *this);
  }
  PaneList* tree = trees_[i].get();
  PaneList* listing = listings_[i].get();
  if (!tree || !listing) throw tk::RuntimeError(429, L"The folder lists could not be created.");
  Panes[i].Loaded = true;
  try {
    SetUpPaneSet(i, *tree, *listing);
  } catch (...) {
    // Half set up is not loaded: the next open sets the pair up again.
    Panes[i].Loaded = false;
    throw;
  }
}

void Master::SetUpPaneSet(short i, PaneList& treeList, PaneList& listingList) {
  PaneList* tree = &treeList;
  PaneList* listing = &listingList;
  tree->SetSortOrder(0, L"sName", L"asc");
  listing->SetSortOrder(0, L"sName", L"asc");
  tree->SetIsWin9X(OldWindows);
  listing->SetIsWin9X(OldWindows);
  listing->SetListType(zenlo::fbFileAndFolder);
  listing->SetListMode(zenlo::listDetails);
  settings_.ReplayCachedSettings(i);
  const std::pair<const wchar_t*, std::pair<zenlo::Variant, zenlo::Variant>> options[] = {
      {L"FileCountMax", {static_cast<std::int32_t>(Options.FileCountMax),
                         static_cast<std::int32_t>(Options.FileCountMax)}},
      {L"ShowColor", {Options.ColorCodingOn, Options.ColorCodingOn}},
      {L"ShowFileIcons", {Options.ShowFileIcons, Options.ShowFileIcons}},
      {L"TrackFoldChanges", {Options.TrackFoldChanges, Options.TrackFoldChanges}},
      // The tree never reports file changes.
      {L"TrackFileChanges", {false, Options.TrackFileChanges}},
      {L"TrackChime", {Options.TrackChime, Options.TrackChime}},
      {L"ShowFolderIcons", {Options.ShowFolderIcons, Options.ShowFolderIcons}},
      {L"ActiveHeading", {std::int16_t{1}, std::int16_t{1}}},
      {L"ActiveButton", {std::int16_t{0}, std::int16_t{0}}},
  };
  for (const auto& [name, values] : options) {
    tree->ApplyProperty(name, values.first);
    listing->ApplyProperty(name, values.second);
  }
  tree->SetListType(zenlo::fbFolder);
  ApplySkinToPair(i);
  tree->LoadSetup();
  listing->LoadSetup();
  tree->ResetStartItem();
  listing->ResetStartItem();
  LoadFolders(i);
}

void Master::LoadFolders(short i) {
  PaneList* tree = List(i);
  PaneList* listing = List(static_cast<short>(i + 100));
  if (!tree || !listing) throw tk::RuntimeError(tk::kErrSubscript, L"Subscript out of range");
  tree->SetShowHiddenItems(Options.ShowHidden);
  listing->SetShowHiddenItems(Options.ShowHidden);
  tree->SetShowSystemItems(Options.ShowSystem);
  listing->SetShowSystemItems(Options.ShowSystem);
  std::wstring folder = tree->GetActiveFolder(Panes[i].InitialDrive);
  if (!tree->CheckFolderAccess(folder)) {
    Panes[i].InitialDrive = L"C";
    folder = L"C:\\";
    tree->StoreActiveFolder(Panes[i].InitialDrive, folder);
  }
  folder = tk::AddTrailingBackslash(folder);
  Panes[i].CurrentFolder = folder;
  const std::wstring display = tk::UpperCase(ShortDisplay(folder));
  toolbar_.SetToolTip(PaneKey(i), display);
  SetMenuCaption(menu_, mnuPane0 + static_cast<UINT>(i), PaneMenuCaption(i, display));
  SetPaneFolder(i);
}

void Master::SetPaneFolder(short i) {
  PaneList* tree = List(i);
  {
    BusyScope busy(*this);
    tree->SetFolder(Panes[i].InitialDrive, false);
  }
  if (!List(i)) return;
  Panes[i].CurrentFolder = tree->currentFolder();
  Panes[i].FolderSet = true;
}

std::wstring Master::ShowPaneFolder(short i) {
  const std::wstring path = tk::AddTrailingBackslash(Panes[i].CurrentFolder);
  std::wstring display = path.rfind(L"*", 0) == 0 ? path.substr(2) : path;
  SetText(titleBars_[i], display);
  SetMenuCaption(menu_, mnuPane0 + static_cast<UINT>(i), PaneMenuCaption(i, display));
  display = ShortDisplay(display);
  toolbar_.SetToolTip(PaneKey(i), display);
  command_.SetText(L"");
  SetText(currentPath_, display);
  Panes[i].LastChildFolder = path;
  return path;
}

void Master::UpdateChildPane(short i) {
  if (i < 0 || i >= kPaneCount) return;
  PaneList* tree = List(i);
  PaneList* listing = List(static_cast<short>(i + 100));
  if (!tree || !listing || tree->FolderListType() != zenlo::fbFolder) return;
  const std::wstring path = ShowPaneFolder(i);
  listing->ApplyProperty(L"ActiveString", std::wstring());
  {
    BusyScope busy(*this);
    try {
      listing->GetFolderContents(path, true);
    } catch (...) {
      // A read that fails still leaves the list on the folder it was asked for.
    }
  }
  if (!List(static_cast<short>(i + 100))) return;
  // A later request for this pane that ran while the read yielded wins.
  const std::wstring& latest = Panes[i].LastChildFolder;
  listing->currentFolder(latest);
  listing->SetActiveFolder(latest);
}

// ---------------------------------------------------------------------------------------------
// Skin push

void Master::SendProperty(const std::wstring& name, const zenlo::Variant& value) {
  try {
    for (short i = 0; i < kPaneCount; ++i) {
      if (!Panes[i].Loaded) continue;
      if (PaneList* l = List(i)) l->ApplyProperty(name, value);
      if (PaneList* l = List(static_cast<short>(i + 100))) l->ApplyProperty(name, value);
    }
  } catch (...) {
    std::wstring text = L"There was an error applying the skin change.";
    Message(text, 0, L"");
  }
}

void Master::SendListingProperty(const std::wstring& name, const zenlo::Variant& value) {
  try {
    for (short i = 0; i < kPaneCount; ++i) {
      if (!Panes[i].Loaded) continue;
      if (PaneList* l = List(static_cast<short>(i + 100))) l->ApplyProperty(name, value);
    }
  } catch (...) {
    std::wstring text = L"There was an error applying the skin change.";
    Message(text, 0, L"");
  }
}

void Master::ShowOptions() {
  if (!optionsForm_) optionsForm_ = std::make_unique<frmOptions>(*this);
  if (!optionsForm_->Loaded()) {
    optionsForm_->Load();
    if (!optionsForm_->Loaded()) return;
    optionsForm_->SetOuterSize(6360, 6870);
    optionsForm_->CentreOn(Handle());
    optionsForm_->KeepInWorkArea(Handle());
  }
  optionsForm_->ShowModeless();
}

frmOptions* Master::OptionsDialog() const {
  return optionsForm_ && optionsForm_->Loaded() ? optionsForm_.get() : nullptr;
}

void Master::ApplySkinChange() {
  try {
    for (const SkinColour& c : Skin.PaneColours()) SendProperty(c.Key, Colour(c.Value));
    if (OldWindows) SendProperty(L"BorderWidth", std::int16_t{2});
    ColourMenuBar(Handle(), Skin.ColorMainMenu, false);
    background_.Reset(CreateSolidBrush(TranslateColour(Skin.ColorProgramBackground)));
    // The flat toolbar shows the background: refreshed once the new brush is there (the menu
    // bar's redraw can paint it at once).
    if (toolbar_.Handle()) InvalidateRect(toolbar_.Handle(), nullptr, TRUE);
    HighlightActiveList(true);
    for (short i = 0; i < kPaneCount; ++i) {
      if (!Panes[i].Loaded) continue;
      PaneList* lists[2] = {List(i), List(static_cast<short>(i + 100))};
      for (PaneList* l : lists) l->ApplySkinChange();
      for (PaneList* l : lists) l->DrawFolderBox();
      for (PaneList* l : lists) l->RedrawTemporaryLines();
    }
    if (Handle()) InvalidateRect(Handle(), nullptr, TRUE);
    // The window's children that take skin colours repaint with them.
    for (short i : {0, 1, 2, 3, 4, 100, 101, 102, 103, 104})
      if (HWND label = chrome_.NoRoom(i)) InvalidateRect(label, nullptr, TRUE);
    if (command_.Handle())
      RedrawWindow(command_.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    skinShown_ = Skin;
  } catch (...) {
    std::wstring text = L"There was an error applying the skin change.";
    Message(text, 0, L"");
  }
}

void Master::ApplySkinToPair(short i) {
  // A skin the window and the other pairs do not show yet (none could be read, or a pane's
  // settings changed a colour) goes to all of them.
  if (skinShown_ != Skin) return ApplySkinChange();
  PaneList* lists[2] = {List(i), List(static_cast<short>(i + 100))};
  if (!lists[0] || !lists[1]) return;
  try {
    for (const SkinColour& c : Skin.PaneColours())
      for (PaneList* l : lists) l->ApplyProperty(c.Key, Colour(c.Value));
    if (OldWindows)
      for (PaneList* l : lists) l->ApplyProperty(L"BorderWidth", std::int16_t{2});
    for (PaneList* l : lists) l->ApplySkinChange();
  } catch (...) {
    std::wstring text = L"There was an error applying the skin change.";
    Message(text, 0, L"");
  }
}

COLORREF Master::TranslateColour(COLORREF colour) {
  COLORREF rgb = 0;
  if (FAILED(OleTranslateColor(colour, nullptr, &rgb))) return 0;
  return rgb;
}

void Master::ColourMenuBar(HWND window, COLORREF colour, bool includeSubmenus) {
  HMENU menu = GetMenu(window);
  if (!menu) return;
  tk::Brush brush(CreateSolidBrush(TranslateColour(colour)));
  MENUINFO info{};
  info.cbSize = sizeof info;
  info.fMask = MIM_BACKGROUND | (includeSubmenus ? MIM_APPLYTOSUBMENUS : 0);
  info.hbrBack = brush.Get();
  SetMenuInfo(menu, &info);
  DrawMenuBar(window);
  // The menu now paints with the new brush; the one it replaced is freed.
  menuBrush_ = std::move(brush);
}

void Master::HighlightActiveList(bool forceUpdate) {
  if (!forceUpdate) return;
  for (short i = 0; i < kPaneCount; ++i) {
    if (!Panes[i].Loaded) continue;
    titleActive_[i] = false;
    if (PaneList* l = List(i)) l->HiLightControl(false);
    if (PaneList* l = List(static_cast<short>(i + 100))) l->HiLightControl(false);
  }
  const short clicked = Options.ClickedPane;
  const short pane = clicked >= 100 ? static_cast<short>(clicked - 100) : clicked;
  // Before a list has been chosen there is nothing to mark.
  if (PaneList* l = List(clicked)) {
    l->HiLightControl(true);
    titleActive_[pane] = true;
    command_.SetText(L"");
    SetText(currentPath_, GetText(titleBars_[pane]));
  }
  EnableSortLevelButtons();
  SyncHeadingMenus();
  for (HWND t : titleBars_)
    if (t) InvalidateRect(t, nullptr, TRUE);
}

bool Master::TitleBarActive(short pane) const {
  return pane >= 0 && pane < kPaneCount && titleActive_[pane];
}

// ---------------------------------------------------------------------------------------------
// Message box

void Master::RegisterForm(const std::wstring& name, HWND window) {
  forms_.emplace_back(name, window);
}

void Master::UnregisterForm(HWND window) {
  std::erase_if(forms_, [&](const auto& f) { return f.second == window; });
}

void Master::Message(std::wstring& strMessage, long VRbuttons, const std::wstring& FormOwner,
                     std::optional<long> ErrNum, const std::wstring& ErrDes) {
  try {
    HWND owner = Handle();
    if (!FormOwner.empty()) {
      // A name that no loaded form has leaves the box on the main window.
      for (const auto& [name, window] : forms_)
        if (tk::UpperCase(name) == tk::UpperCase(FormOwner) && IsWindow(window)) owner = window;
    }
    if (ErrNum) strMessage = WithErrorSuffix(strMessage, *ErrNum, ErrDes);
    MsgBoxAnswer.clear();
    BusyScope busy(*this);
    // Each message gets a box of its own, so a box raised while another is open answers
    // its own question.
    MessageBoxForm box;
    std::wstring answer = box.ShowModal(owner, strMessage, VRbuttons);
    MsgBoxAnswer = answer;
  } catch (...) {
  }
}

// ---------------------------------------------------------------------------------------------
// Events of the lists

void Master::List_Click(short index) {
  HighlightActiveList(false);
  PaneList* tree = List(index);
  if (!tree || index >= kPaneCount || tree->FolderListType() != zenlo::fbFolder) return;
  if (PaneList* listing = List(static_cast<short>(index + 100))) listing->ChangeNoticeClear();
  Panes[index].CurrentFolder = tree->currentFolder();
  UpdateChildPane(index);
}

void Master::List_DriveClick(short index) {
  const short pane = index >= 100 ? static_cast<short>(index - 100) : index;
  PaneList* list = List(index);
  if (!list || pane < 0 || pane >= kPaneCount) return;
  Panes[pane].CurrentFolder = list->GetActiveFolder();
  // A tree's drive choice fills its listing; a listing has read the drive itself already.
  if (index >= 100)
    ShowPaneFolder(pane);
  else
    UpdateChildPane(pane);
}

void Master::List_Message(short, std::wstring& text) { Message(text, 0, L""); }

void Master::List_ForceQuit(short) { RequestClose(); }

void Master::List_UpdateFileName(short, std::wstring& fileName) { command_.SetText(fileName); }

void Master::List_GetBookmark(short, short& slot, std::wstring& path) {
  if (slot >= 0 && slot < 10) path = Options.BookMarks[static_cast<size_t>(slot)].Path;
}

void Master::List_PaneWantsToMimicFolder(short index, short& pane) {
  BusyScope busy(*this);
  settings_.PaneWantsToMimicFolder(index, pane);
}

void Master::List_IsPaneActive(short, short& pane, bool& result) {
  result = pane >= 0 && pane < kPaneCount && Panes[pane].Status == 0;
}

// ---------------------------------------------------------------------------------------------
// Window

void Master::Show() {
  shown_ = true;
  // The first layout runs while the window is still hidden, where lists shown and moved
  // neither paint nor invalidate what is already on the screen; showing it then finds the
  // panes in place. A maximised window learns its size only as it shows.
  if (FirstResize && !StartMaximised) ResizeForm(false);
  ShowWindow(Handle(), StartMaximised ? SW_SHOWMAXIMIZED : SW_SHOW);
  SetForegroundWindow(Handle());
  if (FirstResize) Form_Resize();
}

void Master::Form_Resize() {
  if (!ResizeAllowed) return;
  ResizeForm(false);
  if (FirstResize && !IsIconic(Handle())) {
    // No shown pane, no list to focus.
    if (PaneList* l = List(Options.ActivePane)) l->SetFolderFocus();
    FirstResize = false;
  }
}

void Master::Form_Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(Handle(), &ps);
  RECT client;
  GetClientRect(Handle(), &client);
  FillRect(dc, &client, background_ ? background_.Get() : GetSysColorBrush(COLOR_BTNFACE));
  const int y = toolbar_.PreferredHeight();
  tk::Pen pen(CreatePen(PS_SOLID, 1, kSeparatorColour));
  tk::SelectObjectScope keep(dc, pen.Get());
  MoveToEx(dc, 0, y, nullptr);
  LineTo(dc, client.right, y);
  chrome_.Paint(dc, Shown(Skin.ColorInActiveListOutline), Shown(Skin.ColorPaneBackground));
  EndPaint(Handle(), &ps);
}

void Master::ApplyCommandStates() {
  commands_.ApplyTo(menu_);
  commands_.ApplyTo(trayMenu_);
  commands_.ApplyTo(toolbar_);
  EnableSortLevelButtons();
}

void Master::EnableSortLevelButtons() {
  // Adding a sort level is a listing's: enabled for a listing, when the command is there.
  const bool listing = Options.ClickedPane >= 100;
  for (const wchar_t* key : {L"headascadd", L"headdesadd"})
    toolbar_.SetEnabled(key, listing && commands_.HasButton(key));
  for (const UINT id : {mnuSortAscAdd, mnuSortAddDes})
    EnableMenuItem(menu_, id,
                   MF_BYCOMMAND | (listing && commands_.HasMenu(id) ? MF_ENABLED : MF_GRAYED));
}

// ---------------------------------------------------------------------------------------------
// Shutdown

bool Master::AnyListReading() const {
  for (short i = 0; i < kPaneCount; ++i) {
    if (trees_[i] && trees_[i]->Reading()) return true;
    if (listings_[i] && listings_[i]->Reading()) return true;
  }
  return false;
}

void Master::RequestClose() {
  if (unloading_ || unloaded_) return;
  if (busy_ > 0 || AnyListReading()) {
    // Something below us on the stack still uses the window: stop the reads and close once
    // they have unwound.
    closePending_ = true;
    for (short i = 0; i < kPaneCount; ++i) {
      if (trees_[i]) trees_[i]->SetCancelled(true);
      if (listings_[i]) listings_[i]->SetCancelled(true);
    }
    closeRetry_.SetInterval(30);
    closeRetry_.SetEnabled(true);
    return;
  }
  Form_Unload();
}

void Master::Form_Unload() {
  if (unloading_ || unloaded_) return;
  unloading_ = true;
  closeRetry_.SetEnabled(false);
  // Unsaved skin edits are offered first: saving one changes the skin the settings name.
  try {
    skins_.CloseChooser(!endingSession_);
  } catch (...) {
  }
  // The options dialog goes without applying what it holds.
  optionsForm_.reset();
  // Saved while every list still holds its view.
  try {
    settings_.SaveSettings(endingSession_);
  } catch (...) {
  }
  DeleteFileW(FilePath(L"run.txt").c_str());
  // However the program ends, no icon is left behind in the notification area.
  if (tray_) {
    tray_->ShellTrayDelete();
    tray_->UnhookWindow();
  }
  UnloadAllForms();
  help_.reset();
  tip_.reset();
  updates_.reset();
  unloaded_ = true;
  if (OnUnloaded) OnUnloaded();
}

void Master::UnloadAllForms() {
  for (short i = 0; i < kPaneCount; ++i) {
    if (!Panes[i].Loaded) continue;
    try {
      if (PaneList* l = List(i)) l->StopOD();
      if (PaneList* l = List(static_cast<short>(i + 100))) l->StopOD();
    } catch (...) {
    }
  }
  for (const auto& [name, window] : forms_)
    if (window != Handle() && IsWindow(window)) PostMessageW(window, WM_CLOSE, 0, 0);
  forms_.clear();
  for (auto& l : listings_) l.reset();
  for (auto& t : trees_) t.reset();
  if (!MenuIconsFailed) menuIcons_.Detach();
  if (Handle()) ShowWindow(Handle(), SW_HIDE);
}

LRESULT Master::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CLOSE:
      RequestClose();  // the main window never refuses to close
      return 0;
    case WM_SIZE:
      Form_Resize();
      return 0;
    case WM_ENDSESSION:
      // Windows ends the program after this: save now, without asking anything.
      if (wParam && !unloading_ && !unloaded_) {
        endingSession_ = true;
        try {
          settings_.SaveSettings(true);
        } catch (...) {
        }
        DeleteFileW(FilePath(L"run.txt").c_str());
      }
      return 0;
    case WM_GETMINMAXINFO: {
      // The window never gets smaller than 5000 twips either way.
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize.x = (5000 + tk::TwipsPerPixelX() - 1) / tk::TwipsPerPixelX();
      info->ptMinTrackSize.y = (5000 + tk::TwipsPerPixelY() - 1) / tk::TwipsPerPixelY();
      return 0;
    }
    case WM_MOUSEMOVE:
      Form_MouseMove(static_cast<double>(GET_X_LPARAM(lParam)) * tk::TwipsPerPixelX(),
                     static_cast<double>(GET_Y_LPARAM(lParam)) * tk::TwipsPerPixelY());
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      Form_MouseDown(static_cast<double>(GET_X_LPARAM(lParam)) * tk::TwipsPerPixelX(),
                     static_cast<double>(GET_Y_LPARAM(lParam)) * tk::TwipsPerPixelY());
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      Form_MouseUp();
      return 0;
    case WM_SETCURSOR: {
      HWND over = reinterpret_cast<HWND>(wParam);
      for (short i = 0; i < kPaneCount; ++i)
        if (over == titleBars_[i] && HIWORD(lParam) == WM_MOUSEMOVE) TitleBar_MouseMove(i);
      if (over != Handle() || LOWORD(lParam) != HTCLIENT) break;
      const wchar_t* shape = mousePointer_ == kPointerSizeNS   ? IDC_SIZENS
                             : mousePointer_ == kPointerSizeWE ? IDC_SIZEWE
                                                               : IDC_ARROW;
      SetCursor(LoadCursorW(nullptr, shape));
      return TRUE;
    }
    case WM_PAINT:
      Form_Paint();
      return 0;
    case WM_ERASEBKGND: {
      // Also paints behind the flat toolbar, which shows its parent's background.
      RECT client;
      GetClientRect(Handle(), &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client,
               background_ ? background_.Get() : GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    case WM_COMMAND:
      if (toolbar_.OnCommand(wParam, lParam)) return 0;
      if (lParam != 0 && LOWORD(wParam) >= PaneChrome::kCloseButtonId &&
          LOWORD(wParam) < PaneChrome::kCloseButtonId + kPaneCount) {
        ChangePanes(static_cast<short>(LOWORD(wParam) - PaneChrome::kCloseButtonId));
        return 0;
      }
      if (lParam == 0) OnCommand(LOWORD(wParam));
      return 0;
    case WM_NOTIFY: {
      LRESULT result = 0;
      if (toolbar_.OnNotify(lParam, result)) return result;
      break;
    }
    case WM_MOUSEWHEEL:
      MouseWheelTurned(static_cast<short>(GET_WHEEL_DELTA_WPARAM(wParam)));
      return 0;
    case WM_CTLCOLORSTATIC: {
      HWND child = reinterpret_cast<HWND>(lParam);
      HDC dc = reinterpret_cast<HDC>(wParam);
      if (COLORREF marker; chrome_.MarkerColour(child, marker)) {
        SetDCBrushColor(dc, marker);
        return reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
      }
      for (short i = 0; i < kPaneCount; ++i) {
        if (titleBars_[i] != child) continue;
        const bool active = titleActive_[i];
        SetTextColor(dc, Shown(active ? Skin.ColorActiveTitleText : Skin.ColorInactiveTitleText));
        SetBkColor(dc, Shown(active ? Skin.ColorActiveTitle : Skin.ColorInactiveTitle));
        SetDCBrushColor(dc, Shown(active ? Skin.ColorActiveTitle : Skin.ColorInactiveTitle));
        return reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
      }
      if (child == currentPath_) {
        SetTextColor(dc, Shown(Skin.ColorCurrentFolderText));
        SetBkColor(dc, Shown(Skin.ColorProgramBackground));
        SetDCBrushColor(dc, Shown(Skin.ColorProgramBackground));
        return reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
      }
      for (short i : {0, 1, 2, 3, 4, 100, 101, 102, 103, 104}) {
        if (chrome_.NoRoom(i) != child) continue;
        SetBkColor(dc, Shown(Skin.ColorPaneBackground));
        SetDCBrushColor(dc, Shown(Skin.ColorPaneBackground));
        return reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
      }
      break;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: {
      // The command-line box passes on the colour requests of its edit field and drop-down.
      HWND child = reinterpret_cast<HWND>(lParam);
      HWND box = command_.Handle();
      if (!box || (child != box && !IsChild(box, child) && GetParent(child) != box)) break;
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, Shown(Skin.ColorCommandLineText));
      SetBkColor(dc, Shown(Skin.ColorCommandLineList));
      SetDCBrushColor(dc, Shown(Skin.ColorCommandLineList));
      return reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
    }
    default:
      break;
  }
  return Window::OnMessage(msg, wParam, lParam);
}

}  // namespace varnello
