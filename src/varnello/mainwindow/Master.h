#pragma once
// The main window: its start-up phases, the pane records and pane pairs, the program's
// message box and the shutdown. Event routing, layout, settings and commands hand work to it
// through the members below.
#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "commands/Bookmarks.h"
#include "commands/ClipboardCommands.h"
#include "commands/CommandLine.h"
#include "commands/CommandTable.h"
#include "commands/FileDialogs.h"
#include "commands/FileOperations.h"
#include "commands/FolderCompare.h"
#include "commands/Help.h"
#include "commands/KeyCommands.h"
#include "commands/ListingExport.h"
#include "commands/UpdateCheck.h"
#include "commands/MenuIcons.h"
#include "commands/NetworkDrives.h"
#include "commands/RecycleBin.h"
#include "commands/RightClick.h"
#include "commands/ShellRunner.h"
#include "mainwindow/PaneArrangement.h"
#include "mainwindow/PaneChrome.h"
#include "mainwindow/KeyPreview.h"
#include "mainwindow/PaneList.h"
#include "mainwindow/PaneRecords.h"
#include "mainwindow/SplitterDrag.h"
#include "mainwindow/WindowResize.h"
#include "mainwindow/StartupReporter.h"
#include "mainwindow/TipOfDay.h"
#include "settings/SettingsStore.h"
#include "settings/SkinColours.h"
#include "settings/Skins.h"
#include "toolkit/Controls.h"
#include "toolkit/Gdi.h"
#include "toolkit/Timer.h"
#include "toolkit/Window.h"

namespace varnello {

class frmOptions;

// The file dialogs answer through the verdict variables (currOperation, DestinationFolder,
// SendToRecycleBin) it inherits.
class Master final : public tk::Window, public PaneListEvents, public FileVerdicts {
 public:
  // With `inParts` only the window and its menu are made here; MakeNextPart makes the rest.
  Master(std::wstring programFolder, PaneListFactory& lists, bool inParts = false);
  ~Master() override;

  // ---- Made ahead, while the splash idles before start-up ----
  // Makes the next of the window's own parts (pane 0's lists last); false when all existed
  // already. Form_Load makes whatever is left first.
  bool MakeNextPart();
  // Makes list `index` (1-4 tree, 101-104 listing) ahead of its pane's set-up, hidden. A list
  // that cannot be made is left to the set-up, which tries again and fails in its own phase.
  void MakeListAhead(short index);
  // The program's pictures, and the menu's, ahead of the phases that use them; a failure is
  // theirs to report.
  void MakeImagesAhead();

  // Form_Load: the start-up phases, reported to `splash`. Ends with the splash's LoadedFlag, or
  // after the start-up error message with its ShutDown.
  void Form_Load(StartupReporter& splash);
  // Shows the window; the first resize arranges the panes and focuses the active list.
  void Show();
  // The close box, Exit and ForceQuit come here. While a read or a message box is on the stack
  // the close waits for it to unwind; then the unload runs from the message loop.
  void RequestClose();
  bool Unloaded() const { return unloaded_; }
  std::function<void()> OnUnloaded;
  std::function<void()> OnAbout;

  // ---- Start-up and settings ----
  void LoadLastSettings();
  void PlaceRunFile();
  void SetToolbarIcons();
  void SetControlProperties();
  // The skins (settings/Skins): false when the skin could not be read.
  bool LoadSkin(const std::wstring& skinName) { return skins_.LoadSkin(skinName); }
  void ColorChooser() { skins_.ColorChooser(); }
  varnello::Skins& SkinSet() { return skins_; }
  // Opens the options dialog centred on this window, or brings the open one forward.
  void ShowOptions();
  frmOptions* OptionsDialog() const;  // while open
  void MakeBookmarkDisplayPaths();
  // The lowest shown pane becomes the start and active pane.
  void ChooseStartPane();
  // The settings file (settings/SettingsStore): written whole, read once, replayed per pane.
  void SaveSettings() { settings_.SaveSettings(); }
  // False when the record was refused.
  bool ApplySetting(const std::wstring& currProperty, const SettingValues& values,
                    short PaneNum = -1) {
    return settings_.ApplySetting(currProperty, values, PaneNum);
  }
  void ResetStartItems() { settings_.ResetStartItems(); }
  SettingsStore& Settings() { return settings_; }
  // The window is shown maximised (a stored place said so).
  bool StartMaximised = false;

  // ---- Pane pairs ----
  void InitializePaneSet(short index);
  void LoadFolders(short index);
  void UpdateChildPane(short index);
  // Pane `index`'s title, menu caption, button tip and path box show its CurrentFolder, which
  // becomes the folder its listing last asked for; returns that folder with its backslash.
  std::wstring ShowPaneFolder(short index);
  void SetPaneFolder(short index);
  // List `index` (0-4 tree, 100-104 listing), or null when it is not loaded.
  PaneList* List(short index) const;

  // ---- Skin and options push ----
  void SendProperty(const std::wstring& name, const zenlo::Variant& value);
  // As SendProperty, to the pane listings only.
  void SendListingProperty(const std::wstring& name, const zenlo::Variant& value);
  void ApplySkinChange();
  // The skin every loaded pair holds, given to pair `index` as it is set up: the other pairs
  // keep theirs, and its lists are drawn by the layout that first shows them.
  void ApplySkinToPair(short index);
  void ColourMenuBar(HWND window, COLORREF colour, bool includeSubmenus);
  static COLORREF TranslateColour(COLORREF colour);
  // Marks the clicked list and its pane's title; only a forced call does anything.
  void HighlightActiveList(bool forceUpdate);
  bool TitleBarActive(short pane) const;

  // ---- Pane arrangement, resize, pane set and display modes ----
  void ArrangePanes2();
  // Lays out what changed; DoSkip forces a pass when the size and layout are unchanged.
  void ResizeForm(bool DoSkip = false);
  void ChangePanes(short PaneNum);
  void EqualizePaneSizes();
  void SwitchLayout(const std::wstring& selected);
  void SwitchAutoExpand(bool ONoff);
  void DoAutoExpand();
  void ShowCommandLine(bool ONoff = false, bool skipResize = false);
  void ShowColor(bool ONoff = false);
  void SetCompareMode();
  void TitleBar_MouseMove(short index);
  // Mouse on the main window itself, in twips of its inner area.
  void Form_MouseMove(double X, double Y);
  void Form_MouseDown(double X, double Y);
  void Form_MouseUp();
  // A mouse move or press over a list, seen first: over a splitter's band (which reaches into
  // the lists' empty edges) the main window takes it. True when it was taken.
  bool PreviewMouse(const MSG& msg);
  void SetTray(TrayIcon* tray) { tray_ = tray; }
  const Arrangement& LastArrangement() const { return arrangement_; }
  const LayoutValues& LayoutNow() const { return layoutValues_; }
  ArrangeInput ArrangementInput() const;
  WindowResizeState& ResizeState() { return resize_; }
  const SplitterDrag& Splitter() const { return splitter_; }
  PaneChrome& Chrome() { return chrome_; }
  HWND TitleBarWindow(short pane) const { return pane >= 0 && pane < kPaneCount ? titleBars_[pane] : nullptr; }
  HWND CurrentPathWindow() const { return currentPath_; }
  HWND CommandWindow() const { return command_.Handle(); }
  int MousePointer() const { return mousePointer_; }
  // The check of mnuColorOn: colour coding as the menus show it.
  bool ColorMenuOn() const;
  long SplitterThickness = 60;
  long CommandLineBoxHeight = 335;
  // Ready for the next key command: set at start-up and by every key release.
  bool KeyRearmed = false;
  // The copy cursor loaded from the program's resources at start-up.
  HCURSOR CopyCursorPicture() const { return copyCursor_; }

  // ---- Update check, help, tip of the day and the tray (MasterPeriphery.cpp) ----
  // The automatic check (false) speaks only of a newer version; the answer comes later, from
  // the message loop.
  void CheckForUpdate(bool ManualCheck);
  UpdateCheck& Updates();
  // Opens the help, or brings the open one forward; centred on this window.
  void OpenHelp();
  HelpForm* Help() const;  // while open
  // The tip of the day; SkipCheck shows it even when tips at start-up are off.
  void ShowTip(bool SkipCheck = false);
  TipForm* Tip() const;  // while open
  // Back from the tray, maximised when it was.
  void RestoreWindow();
  // The per-user store's application name, which keeps "Show Tips at Startup".
  std::wstring UserStoreName;

  // ---- Message box ----
  // Shows the program's box; the answer is left in MsgBoxAnswer.
  void Message(std::wstring& strMessage, long VRbuttons, const std::wstring& FormOwner,
               std::optional<long> ErrNum = std::nullopt, const std::wstring& ErrDes = L"");
  void RegisterForm(const std::wstring& name, HWND window);
  void UnregisterForm(HWND window);
  std::wstring MsgBoxAnswer;

  // ---- Shutdown ----
  void Form_Unload();
  void UnloadAllForms();

  // ---- State other parts of the program read ----
  PaneRecords Panes;
  ProgramOptions Options;
  SkinColours Skin;
  bool ResizeAllowed = false;
  bool FirstResize = false;
  long UseShellVerbs = 0;
  bool MenuIconsFailed = false;
  bool OldWindows = false;
  std::wstring OSName;
  const std::wstring& ProgramFolder() const { return folder_; }
  tk::Toolbar& Toolbar1() { return toolbar_; }
  const tk::Toolbar& Toolbar1() const { return toolbar_; }
  const tk::ImageList& ImageList1() const { return images_; }
  MenuIconComponent& MenuIcons() { return menuIcons_; }
  // The commands behind menu entries and toolbar buttons; ApplyCommandStates greys the
  // entries that have none.
  CommandTable& Commands() { return commands_; }
  void ApplyCommandStates();
  std::wstring TitleBarText(short pane) const;
  std::wstring CurrentPathText() const;
  std::wstring CommandText() const;
  HMENU MenuBar() const { return menu_; }
  int MenuBrushesAlive() const { return menuBrush_ ? 1 : 0; }
  HBRUSH MenuBrush() const { return menuBrush_.Get(); }

  // ---- Events of the lists ----
  void List_Click(short index) override;
  void List_DriveClick(short index) override;
  void List_Message(short index, std::wstring& text) override;
  void List_ForceQuit(short index) override;
  void List_UpdateFileName(short index, std::wstring& fileName) override;
  void List_GetBookmark(short index, short& slot, std::wstring& path) override;
  void List_IsPaneActive(short index, short& pane, bool& result) override;
  void List_MouseMoveBasic(short index) override;
  void List_PushedDownFolder(short index, std::wstring& currentFolder,
                             std::wstring& parentFolder) override;
  void List_PushedUpFolder2(short index) override;
  void List_SetActiveIndex(short index) override;
  void List_SetLockedIndex(short index) override;
  void List_SetMasterMousePointer(short index, short& pointer) override;
  void List_SetActiveButton(short index, short& buttonIndex) override;
  void List_UpdateMasterHeadings(short index) override;
  void List_KeyPressed(short index, short& keyCode) override;
  void List_SpaceKeyUp(short index) override;
  void List_MouseLocked(short index, bool& locked) override;
  void List_NotifySourceIndex(short index) override;
  void List_PaneWantsToMimicFolder(short index, short& pane) override;
  void List_PasteItems(short index, std::wstring& source, std::wstring& sourceText,
                       std::wstring& operation) override {
    fileOps_->PasteItems(index, source, sourceText, operation);
  }
  void List_PushedNewFolder2(short) override { CreateNewFolder(true); }
  // ---- Right-click menu (commands/RightClick.cpp) ----
  // The right-click engine: verb mode 0 shows the pane menu at (x, y) in client twips; 1 copy,
  // 2 cut, 3 paste and 4 delete act on list ClickedPane without a menu.
  void RunPaneCommand(float x, float y, short shift, std::wstring folderPath, short verbMode);
  // What the last right click reported: its folder, the folder above it and the item's path.
  std::wstring RightClickFolder, RightClickParentFolder, RightClickItemPath;
  // Bookmark slot BMindex (0-9): Flag "CLEAR SLOT" frees it, else it takes GetClickedFolder.
  void AddRemoveBookMark(long BMindex, const std::wstring& Flag);
  // The folder of the item last right-clicked in list ClickedPane, or empty.
  std::wstring GetClickedFolder();
  void OpenCommandLine();

 private:
  friend class RightClickCommands;
  RightClickCommands rightClick_{*this};
  BookmarkCommands bookmarks_{*this};

 public:

  // ---- Files on the clipboard (commands/ClipboardCommands.cpp) ----
  // Verb modes 1 to 4 of RunPaneCommand: copy, cut, paste or delete list ClickedPane's items.
  void RunPaneVerb(short verbMode);
  // Puts `paths` on the clipboard to be copied or (cut) moved.
  void ClipboardCopy(const std::vector<std::wstring>& paths, bool cut);
  // Copies or moves the clipboard's files into `folder` and refreshes the lists concerned.
  void ClipboardPaste(const std::wstring& folder);
  // ShellClipSourcePane and CutPasteCount live here.
  ClipboardCommands& Clipboard() { return *clipboard_; }
  // ---- The window's keys (commands/KeyCommands) ----
  void Form_KeyDown(short KeyCode, short Shift) { keys_->Form_KeyDown(KeyCode, Shift); }
  void Form_KeyUp(short KeyCode, short Shift) { keys_->Form_KeyUp(KeyCode, Shift); }
  void List_FBRightClick(short index, short button, short shift, float x, float y,
                         std::wstring& currentFolder, std::wstring& parentFolder,
                         std::wstring& currentItemPath, std::wstring& currentName, bool useCurrent,
                         zenlo::sTypes currType) override;

  // ---- File commands (commands/FileOperations) ----
  void FileOperate(std::wstring& operation, short SourceListIndex, short& DestListIndex,
                   std::wstring& DestFolder, bool& RefreshChild,
                   const std::wstring& SourceFileSpecs = {}) {
    fileOps_->FileOperate(operation, SourceListIndex, DestListIndex, DestFolder, RefreshChild,
                          SourceFileSpecs);
  }
  // The clicked list's marked items; Permanent asks and deletes for good.
  void DeleteItems(bool Permanent) { fileOps_->DeleteItems(Permanent); }
  void DuplicateItems(const std::vector<std::wstring>& asPaths) {
    fileOps_->DuplicateItems(asPaths);
  }
  void CreateNewFolder(bool UseActiveFolder = false) { fileOps_->CreateNewFolder(UseActiveFolder); }
  void RenameItem(bool UseActive = false) { fileOps_->RenameItem(UseActive); }
  static std::wstring GetFolderPath(const std::wstring& FullPath) {
    return varnello::GetFolderPath(FullPath);
  }
  static std::wstring RemoveRightSlash(const std::wstring& str) {
    return varnello::RemoveRightSlash(str);
  }
  static std::wstring ValidatePath(const std::wstring& Path) { return varnello::ValidatePath(Path); }
  FileOperations& FileCommands() { return *fileOps_; }

  // ---- Active pane, title bars, keys and the wheel (ListRouting.cpp) ----
  void ColourTitleBar(short index);
  // The mouse moved over list `index`: it becomes the active one.
  void ClearGraphics(short index);
  void MoveFocusUpOneFolder(short index);
  // One turn of the wheel over the window; `delta` as WM_MOUSEWHEEL gives it.
  void MouseWheelTurned(short delta);
  void TitleBar_Click(short pane);
  void TitleBar_MouseDown(short pane);
  // A key message of the thread, seen before its window: keys pressed in a list's item area go
  // to the active list as KeyPressed and SpaceKeyUp; those and the keys of the window itself
  // then reach Form_KeyDown and Form_KeyUp.
  void PreviewKey(const MSG& msg);
  short LockedPane = 0;
  bool SpaceKeyDown = false;
  short LastClearedList = 0;
  short LastAutoExpandPane = 0;

  // ---- Menu, toolbar and command-line commands (commands/MasterCommands.cpp) ----
  // A menu entry chosen; false when it has no command.
  bool OnCommand(UINT id);
  void Toolbar1_ButtonClick(const std::wstring& key);
  // A key pressed in the command-line box; Enter starts the line (Shift: in the interpreter).
  void cboCommand_KeyDown(short KeyCode, short Shift);
  void OpenRecycleBin();
  bool EmptyRecycleBin(const std::wstring& RootPath);
  void OpenWebSite();
  void CompareFolders();
  void SaveFileListing();
  void MapNetworkDrive();
  void DisconnectNetworkDrive();
  // The pane ClickedPane names when that pane is loaded and shown, else -1.
  short ClickedPaneNumber() const;
  // The list ClickedPane names when its pane is loaded and shown, else null.
  PaneList* ClickedList() const;
  // The folder the clicked pane's listing shows: the command line's working folder.
  std::wstring CommandFolder() const;
  void SetCommandText(const std::wstring& text) { command_.SetText(text); }
  ShellRunner& Shell() { return *shell_; }
  NetworkDialogs& Network() { return *network_; }
  // Tests put stand-ins for the shell and the network dialogs here.
  void SetShellRunner(std::unique_ptr<ShellRunner> shell) { shell_ = std::move(shell); }
  void SetNetworkDialogs(std::unique_ptr<NetworkDialogs> n) { network_ = std::move(n); }
  HMENU TrayMenu() const { return trayMenu_; }

  // ---- Pane-wide toggles (PaneToggles.cpp) ----
  void MouseLocked(bool locked);
  void HiddenShowHide();
  void SystemShowHide();
  void WatchStopPanes();
  void WatchStartPanes();
  void WatchResumePanesAll();
  // Resumes the shown panes' lists other than the two given, which refresh themselves.
  void WatchResumePanes(std::optional<short> indexLower = std::nullopt,
                        std::optional<short> indexUpper = std::nullopt);
  void TestSound();
  void SyncHeadingMenus();

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  friend class FileOperations;
  // Counts the routines on the stack that can yield; a close waits until none is left.
  class BusyScope {
   public:
    explicit BusyScope(Master& m) : m_(m) { ++m_.busy_; }
    ~BusyScope();
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

   private:
    Master& m_;
  };

  void Status(const std::wstring& text);
  // The menu's pictures: each entry's command id and its index in the program's images.
  std::vector<std::pair<UINT, int>> MenuPictureIndexes() const;
  // Title bar presses and clicks come to TitleBar_MouseDown and TitleBar_Click.
  void HookTitleBar(HWND titleBar, short pane);
  void CreateWindowAndMenu();
  // InitializePaneSet's work once both lists exist.
  void SetUpPaneSet(short index, PaneList& tree, PaneList& listing);
  void Form_Resize();
  SplitterGeometry SplitterInput() const;
  void PlaceWindow(HWND w, const TwipRect& r);
  void Form_Paint();
  void RegisterCommands();
  void EnableSortLevelButtons();
  bool AnyListReading() const;
  std::wstring FilePath(const wchar_t* name) const;

  std::wstring folder_;
  PaneListFactory& factory_;
  StartupReporter* splash_ = nullptr;
  std::array<std::unique_ptr<PaneList>, kPaneCount> trees_;
  std::array<std::unique_ptr<PaneList>, kPaneCount> listings_;
  std::array<HWND, kPaneCount> titleBars_{};
  std::array<bool, kPaneCount> titleActive_{};
  HWND currentPath_ = nullptr;
  HWND txtFocus_ = nullptr;  // takes the focus after each layout pass
  HCURSOR copyCursor_ = nullptr;  // a shared resource cursor: never destroyed
  tk::ComboBox command_;
  tk::Toolbar toolbar_;
  tk::ImageList images_;
  bool imagesFailed_ = false;  // made ahead, and not all of them could be made
  bool menuPicturesAhead_ = false;  // the menu-icon component attached and given its pictures
  // The skin the window and every loaded pair took last; none before the first.
  std::optional<SkinColours> skinShown_;
  int partsMade_ = 0;
  MenuIconComponent menuIcons_;
  CommandTable commands_;
  HMENU menu_ = nullptr;
  HMENU trayMenu_ = nullptr;
  std::unique_ptr<ShellRunner> shell_ = MakeShellRunner();
  std::unique_ptr<NetworkDialogs> network_ = MakeNetworkDialogs();
  CommandLine commandLine_{*this};
  RecycleBin recycleBin_{*this};
  FolderCompare folderCompare_{*this};
  ListingExport listingExport_{*this};
  NetworkDrives networkDrives_{*this};
  tk::Brush menuBrush_;
  tk::Brush background_;
  tk::Font uiFont_;
  std::vector<std::pair<std::wstring, HWND>> forms_;
  tk::Timer closeRetry_;
  PaneChrome chrome_;
  Arrangement arrangement_;
  LayoutValues layoutValues_;
  SplitterDrag splitter_;
  MarkerBars dragBars_;  // where the marker bars stood at the press
  WindowResizeState resize_;
  HDWP placing_ = nullptr;  // the batch an arrangement moves its windows in
  TrayIcon* tray_ = nullptr;
  int mousePointer_ = 0;
  bool shown_ = false;
  std::unique_ptr<KeyPreview> keyPreview_;
  int busy_ = 0;
  bool closePending_ = false;
  bool unloading_ = false;
  bool unloaded_ = false;
  bool endingSession_ = false;
  SettingsStore settings_{*this};
  std::unique_ptr<FileOperations> fileOps_ = std::make_unique<FileOperations>(*this);
  std::unique_ptr<ClipboardCommands> clipboard_ = std::make_unique<ClipboardCommands>(*this);
  std::unique_ptr<KeyCommands> keys_ = std::make_unique<KeyCommands>(*this);
  std::unique_ptr<UpdateCheck> updates_;
  std::unique_ptr<HelpForm> help_;
  std::unique_ptr<TipForm> tip_;
  varnello::Skins skins_{*this};
  std::unique_ptr<frmOptions> optionsForm_;
};

}  // namespace varnello
