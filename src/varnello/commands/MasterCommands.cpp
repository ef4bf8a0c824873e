// What the menu entries, the toolbar buttons and the command-line box do. Each command is one
// line here; the work is done by the command classes and the pane methods they name.
#include "commands/MainMenu.h"
#include "mainwindow/Master.h"
#include "mainwindow/ProgramVersion.h"

namespace varnello {

namespace {

short PaneOf(short index) { return index >= 100 ? static_cast<short>(index - 100) : index; }

}  // namespace

void Master::RegisterCommands() {
  for (short i = 0; i < kPaneCount; ++i) {
    commands_.OnMenu(mnuPane0 + static_cast<UINT>(i), [this, i] { ChangePanes(i); });
    commands_.OnButton(L"pane" + std::to_wstring(i), [this, i] { ChangePanes(i); });
  }
  commands_.OnMenu(mnuExit, [this] { RequestClose(); });
  commands_.OnMenu(mPopRestore, [this] { RestoreWindow(); });
  commands_.OnMenu(mPopExit, [this] {
    if (tray_) tray_->UnhookWindow();
    RequestClose();
  });
  commands_.OnMenu(mnuHidden, [this] {
    BusyScope busy(*this);
    HiddenShowHide();
  });
  commands_.OnMenu(mnuSystem, [this] {
    BusyScope busy(*this);
    SystemShowHide();
  });

  // Heading and sort commands act on the list clicked last.
  auto onClicked = [this](auto call) {
    return [this, call] {
      BusyScope busy(*this);
      if (PaneList* l = ClickedList()) call(*l);
    };
  };
  const std::pair<UINT, const wchar_t*> shifts[] = {{mnuHeadLeft, L"headleft"},
                                                    {mnuHeadRight, L"headright"}};
  for (const auto& [id, direction] : shifts) {
    const std::wstring d = direction;
    auto run = onClicked([d](PaneList& l) { l.ShiftHeading(d); });
    commands_.OnMenu(id, run);
    commands_.OnButton(d, run);
  }
  const std::tuple<UINT, const wchar_t*, const wchar_t*> sorts[] = {
      {mnuSortAsc, L"headasc", L"asc"},
      {mnuSortDes, L"headdes", L"des"},
      {mnuSortAscAdd, L"headascadd", L"ascadd"},
      {mnuSortAddDes, L"headdesadd", L"desadd"}};
  for (const auto& [id, key, order] : sorts) {
    const std::wstring o = order;
    const bool addsLevel = o.size() > 3;
    auto run = [this, o, addsLevel] {
      BusyScope busy(*this);
      // A further sort level is a listing's; a tree has one order.
      if (addsLevel && Options.ClickedPane < 100) return;
      if (PaneList* l = ClickedList()) l->DoSorting(o);
    };
    commands_.OnMenu(id, run);
    commands_.OnButton(key, run);
  }
  const std::pair<UINT, const wchar_t*> columns[] = {
      {mnuHeadingExtension, L"mnuHeadingExtension"},
      {mnuHeadingSize, L"mnuHeadingSize"},
      {mnuHeadingDateLastModified, L"mnuHeadingDateLastModified"},
      {mnuHeadingDateCreated, L"mnuHeadingDateCreated"},
      {mnuHeadingDateLastAccessed, L"mnuHeadingDateLastAccessed"},
      {mnuHeadingFileType, L"mnuHeadingFileType"},
      {mnuHeadingAttributes, L"mnuHeadingAttributes"},
      {mnuHeadingComments, L"mnuHeadingComments"}};
  for (const auto& [id, name] : columns) {
    const std::wstring n = name;
    commands_.OnMenu(id, onClicked([n](PaneList& l) { l.ModifyHeadings(n); }));
  }
  commands_.OnMenu(mnuCalculateFolderSizes, onClicked([](PaneList& l) { l.CalculateFolderSize(); }));

  // Tools.
  commands_.OnMenu(mnuCompareSize, [this] {
    toolbar_.SetValue(L"compare_size", !MenuChecked(menu_, mnuCompareSize));
    SetCompareMode();
  });
  commands_.OnMenu(mnuCompareDate, [this] {
    toolbar_.SetValue(L"compare_date", !MenuChecked(menu_, mnuCompareDate));
    SetCompareMode();
  });
  commands_.OnButton(L"compare_size", [this] { SetCompareMode(); });
  commands_.OnButton(L"compare_date", [this] { SetCompareMode(); });
  commands_.OnMenu(mnuCompare, [this] { CompareFolders(); });
  commands_.OnButton(L"compare", [this] { CompareFolders(); });
  commands_.OnMenu(mnuSaveFileListing, [this] { SaveFileListing(); });
  commands_.OnMenu(mnuRCOpenRecycleBin, [this] { OpenRecycleBin(); });
  commands_.OnButton(L"recyclebin", [this] { OpenRecycleBin(); });
  commands_.OnMenu(mnuRCEmptyRecycleBin, [this] { EmptyRecycleBin(L""); });
  commands_.OnMenu(mnuMapNetworkDrive, [this] { MapNetworkDrive(); });
  commands_.OnMenu(mnuDisconnectNetworkDrive, [this] { DisconnectNetworkDrive(); });
  commands_.OnMenu(mnuShowTips, [this] { ShowTip(true); });

  // Layout and display modes; a toggle button passes on the state the click left it in.
  commands_.OnMenu(mnuVertical, [this] { SwitchLayout(L"vertical"); });
  commands_.OnMenu(mnuHorizontal, [this] { SwitchLayout(L"horizontal"); });
  commands_.OnButton(L"layoutvertical", [this] { SwitchLayout(L"vertical"); });
  commands_.OnButton(L"layouthorizontal", [this] { SwitchLayout(L"horizontal"); });
  commands_.OnMenu(mnuAutoExpandOn, [this] { SwitchAutoExpand(true); });
  commands_.OnMenu(mnuAutoExpandOff, [this] { SwitchAutoExpand(false); });
  commands_.OnButton(L"layoutautoexpand",
                     [this] { SwitchAutoExpand(toolbar_.Value(L"layoutautoexpand")); });
  commands_.OnMenu(mnuCommandOn, [this] { ShowCommandLine(true, false); });
  commands_.OnMenu(mnuCommandOff, [this] { ShowCommandLine(false, false); });
  commands_.OnButton(L"showcommandline",
                     [this] { ShowCommandLine(toolbar_.Value(L"showcommandline"), false); });
  commands_.OnMenu(mnuColorOn, [this] { ShowColor(true); });
  commands_.OnMenu(mnuColorOff, [this] { ShowColor(false); });
  commands_.OnButton(L"showcolor", [this] { ShowColor(toolbar_.Value(L"showcolor")); });

  // Skins.
  commands_.OnMenu(mnuChooseSkin, [this] { ColorChooser(); });
  commands_.OnButton(L"choosecolors", [this] { ColorChooser(); });
  commands_.OnButton(L"skindefault", [this] { LoadSkin(L"earl grey"); });
  commands_.OnButton(L"skinsecond", [this] { LoadSkin(L"grasshopper"); });

  // Software.
  commands_.OnMenu(mnuHelp, [this] { OpenHelp(); });
  commands_.OnMenu(mnuWebsite, [this] { OpenWebSite(); });
  commands_.OnMenu(mnuCheckUpdate, [this] { CheckForUpdate(true); });
  commands_.OnMenu(mnuAbout, [this] {
    if (OnAbout) OnAbout();
  });
  ApplyCommandStates();
}

bool Master::OnCommand(UINT id) { return commands_.RunMenu(id); }

void Master::Toolbar1_ButtonClick(const std::wstring& key) { commands_.RunButton(key); }

void Master::cboCommand_KeyDown(short KeyCode, short Shift) {
  if (KeyCode != VK_RETURN) return;
  BusyScope busy(*this);
  commandLine_.Enter((Shift & 1) != 0);
}

void Master::OpenRecycleBin() { recycleBin_.Open(); }

bool Master::EmptyRecycleBin(const std::wstring& RootPath) {
  BusyScope busy(*this);
  return recycleBin_.Empty(RootPath);
}

void Master::OpenWebSite() {
  const DWORD error = shell_->Run(nullptr, L"", kWebSiteAddress, L"", L"");
  if (error == 0 || error == ERROR_CANCELLED) return;
  std::wstring text = L"The Varnello web site could not be opened.\r\n\r\n" +
                      SystemErrorSentence(error);
  Message(text, 0, L"");
}

void Master::CompareFolders() {
  BusyScope busy(*this);
  folderCompare_.Run();
}

void Master::SaveFileListing() {
  BusyScope busy(*this);
  listingExport_.Run();
}

void Master::MapNetworkDrive() {
  BusyScope busy(*this);
  networkDrives_.Map();
}

void Master::DisconnectNetworkDrive() {
  BusyScope busy(*this);
  networkDrives_.Disconnect();
}

short Master::ClickedPaneNumber() const {
  const short clicked = Options.ClickedPane;
  if (!((clicked >= 0 && clicked < kPaneCount) || (clicked >= 100 && clicked < 100 + kPaneCount)))
    return -1;
  const short pane = PaneOf(clicked);
  return Panes[pane].Loaded && Panes[pane].Status == 0 ? pane : -1;
}

PaneList* Master::ClickedList() const {
  return ClickedPaneNumber() < 0 ? nullptr : List(Options.ClickedPane);
}

std::wstring Master::CommandFolder() const {
  const short pane = ClickedPaneNumber();
  if (pane < 0) return {};
  const PaneRecord& p = Panes[pane];
  return p.LastChildFolder.empty() ? p.CurrentFolder : p.LastChildFolder;
}

}  // namespace varnello
