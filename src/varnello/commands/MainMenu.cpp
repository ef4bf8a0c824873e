#include "commands/MainMenu.h"

namespace varnello {

namespace {

void Add(HMENU menu, UINT id, const wchar_t* caption) { AppendMenuW(menu, MF_STRING, id, caption); }

void Separator(HMENU menu) { AppendMenuW(menu, MF_SEPARATOR, 0, nullptr); }

HMENU AddPopup(HMENU menu, UINT id, const wchar_t* caption) {
  HMENU popup = CreatePopupMenu();
  AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), caption);
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_ID;
  info.wID = id;
  SetMenuItemInfoW(menu, static_cast<UINT>(GetMenuItemCount(menu) - 1), TRUE, &info);
  return popup;
}

}  // namespace

HMENU CreateMainMenu() {
  HMENU bar = CreateMenu();
  HMENU file = AddPopup(bar, mnuFile, L"&File");
  Add(file, mnuOptions, L"&Options...");
  Separator(file);
  Add(file, mnuExit, L"E&xit");

  HMENU panes = AddPopup(bar, mnuPane, L"&Panes");
  for (UINT i = 0; i < 5; ++i) {
    const std::wstring caption = L"Show Pane &" + std::to_wstring(i + 1);
    Add(panes, mnuPane0 + i, caption.c_str());
  }
  Separator(panes);
  Add(panes, mnuHidden, L"Show &Hidden Files");
  Add(panes, mnuSystem, L"Show &System Files");

  HMENU headings = AddPopup(bar, mnuHeadings, L"&Headings");
  Add(headings, mnuHeadLeft, L"Move &Left");
  Add(headings, mnuHeadRight, L"Move &Right");
  Separator(headings);
  Add(headings, mnuSortAsc, L"Sort &Ascending - Start New Sort");
  Add(headings, mnuSortDes, L"Sort &Descending - Start New Sort");
  Add(headings, mnuSortAscAdd, L"Sort Asc - Add to Current Sort");
  Add(headings, mnuSortAddDes, L"Sort Des - Add to Current Sort");
  Separator(headings);
  Add(headings, mnuHeadingExtension, L"&Extension");
  Add(headings, mnuHeadingSize, L"Si&ze");
  Add(headings, mnuHeadingDateLastModified, L"Date - Last Modi&fied");
  Add(headings, mnuHeadingDateCreated, L"Date - &Created");
  Add(headings, mnuHeadingDateLastAccessed, L"Date Last - Acce&ssed");
  Add(headings, mnuHeadingFileType, L"File &Type");
  Add(headings, mnuHeadingAttributes, L"Attrib&utes");
  Add(headings, mnuHeadingComments, L"Co&mments");

  HMENU tools = AddPopup(bar, mnuMenus, L"&Tools");
  Add(tools, mnuCalculateFolderSizes, L"&Calculate Folder Sizes");
  Separator(tools);
  Add(tools, mnuCompareSize, L"Use Si&ze when Comparing");
  Add(tools, mnuCompareDate, L"Use &Date when Comparing");
  Add(tools, mnuCompare, L"Com&pare Folder Contents");
  Separator(tools);
  Add(tools, mnuSaveFileListing, L"E&xport File Listing...");
  Separator(tools);
  Add(tools, mnuRCOpenRecycleBin, L"&Recycle Bin...");
  Add(tools, mnuRCEmptyRecycleBin, L"&Empty Recycle Bin");
  Separator(tools);
  Add(tools, mnuMapNetworkDrive, L"&Map Network Drive...");
  Add(tools, mnuDisconnectNetworkDrive, L"Disconnect &Network Drive...");
  Separator(tools);
  Add(tools, mnuShowTips, L"Sho&w Tips...");

  HMENU layout = AddPopup(bar, mnuLayout, L"&Layout");
  HMENU orientation = AddPopup(layout, mnuOrientation, L"&Orientation");
  Add(orientation, mnuVertical, L"&Vertical");
  Add(orientation, mnuHorizontal, L"&Horizontal");
  HMENU autoExpand = AddPopup(layout, mnuAutoExpand, L"&Auto Expand Pane Size");
  Add(autoExpand, mnuAutoExpandOn, L"&On");
  Add(autoExpand, mnuAutoExpandOff, L"O&ff");
  HMENU command = AddPopup(layout, mnuShowCommandLine, L"Command &Line");
  Add(command, mnuCommandOn, L"&On");
  Add(command, mnuCommandOff, L"O&ff");
  HMENU colour = AddPopup(layout, mnuUseEnhancedMode, L"&Color Coding && Comments");
  Add(colour, mnuColorOn, L"&On");
  Add(colour, mnuColorOff, L"O&ff");
  Add(layout, mnuChooseSkin, L"Choose &Skin...");

  HMENU software = AddPopup(bar, mnuSoftware, L"&Software");
  Add(software, mnuHelp, L"&Help...");
  Add(software, mnuWebsite, L"Varnello &Website...");
  Add(software, mnuAbout, L"&About Varnello...");
  Separator(software);
  Add(software, mnuCheckUpdate, L"Check for &Update...");
  return bar;
}

const std::vector<std::pair<UINT, std::wstring>>& MenuPictures() {
  static const std::vector<std::pair<UINT, std::wstring>> table = {
      {mnuHeadLeft, L"headleft2"},
      {mnuHeadRight, L"headright2"},
      {mnuSortAsc, L"headasc1"},
      {mnuSortDes, L"headdes1"},
      {mnuSortAscAdd, L"headascadd1"},
      {mnuSortAddDes, L"headdesadd1"},
      {mnuCalculateFolderSizes, L"calculate"},
      {mnuChooseSkin, L"choosecolors"},
      {mnuVertical, L"layoutvertical"},
      {mnuHorizontal, L"layouthorizontal"},
      {mnuAutoExpand, L"layoutautoexpand"},
      {mnuShowCommandLine, L"commandline"},
      {mnuRCOpenRecycleBin, L"recyclebin"},
      {mnuRCEmptyRecycleBin, L"recycleempty2"},
      {mnuWebsite, L"vr1"},
      {mnuHelp, L"about4"},
      {mnuExit, L"exit"},
      {mnuCompare, L"compare"},
      {mnuUseEnhancedMode, L"colorcode"},
      {mnuOptions, L"options"},
  };
  return table;
}

HMENU CreateTrayMenu() {
  HMENU bar = CreateMenu();
  HMENU tray = AddPopup(bar, mPopupSys, L"&SysTray");
  Add(tray, mPopRestore, L"&Restore");
  Add(tray, mPopExit, L"&Exit");
  return bar;
}

void SetMenuCheck(HMENU menu, UINT id, bool checked) {
  CheckMenuItem(menu, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

bool MenuChecked(HMENU menu, UINT id) {
  return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

void SetMenuCaption(HMENU menu, UINT id, const std::wstring& caption) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STRING;
  info.dwTypeData = const_cast<wchar_t*>(caption.c_str());
  SetMenuItemInfoW(menu, id, FALSE, &info);
}

std::wstring MenuCaption(HMENU menu, UINT id) {
  wchar_t text[512] = L"";
  GetMenuStringW(menu, id, text, 512, MF_BYCOMMAND);
  return text;
}

}  // namespace varnello

namespace varnello {

UINT MenuEntryId(HMENU menu, int position) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_ID | MIIM_FTYPE;
  if (!GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info)) return 0;
  return (info.fType & MFT_SEPARATOR) ? 0 : info.wID;
}

}  // namespace varnello
