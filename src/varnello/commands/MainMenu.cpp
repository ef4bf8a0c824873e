#include "commands/MainMenu.h"

namespace varnello {

namespace {

void Add(HMENU menu, UINT id, const wchar_t* caption, bool ready = false) {
  AppendMenuW(menu, MF_STRING | (ready ? 0 : MF_GRAYED), id, caption);
}

}  // namespace

HMENU CreateMainMenu() {
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  Add(file, mnuExit, L"E&xit", true);
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");

  HMENU headings = CreatePopupMenu();
  Add(headings, mnuHeadLeft, L"Move &Left");
  Add(headings, mnuHeadRight, L"Move &Right");
  Add(headings, mnuHeadAsc, L"Sort &Ascending - Start New Sort");
  Add(headings, mnuHeadDes, L"Sort &Descending - Start New Sort");
  Add(headings, mnuHeadAscAdd, L"Sort Asc - Add to Current Sort");
  Add(headings, mnuHeadDesAdd, L"Sort Des - Add to Current Sort");
  AppendMenuW(headings, MF_SEPARATOR, 0, nullptr);
  Add(headings, mnuHeadingExtension, L"&Extension");
  Add(headings, mnuHeadingSize, L"Si&ze");
  Add(headings, mnuHeadingDateLastModified, L"Date - Last Modi&fied");
  Add(headings, mnuHeadingDateCreated, L"Date - &Created");
  Add(headings, mnuHeadingDateLastAccessed, L"Date Last - Acce&ssed");
  Add(headings, mnuHeadingFileType, L"File &Type");
  Add(headings, mnuHeadingAttributes, L"Attrib&utes");
  Add(headings, mnuHeadingComments, L"Co&mments");
  AppendMenuW(headings, MF_SEPARATOR, 0, nullptr);
  Add(headings, mnuCalculate, L"&Calculate Folder Sizes");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(headings), L"&Headings");

  HMENU layout = CreatePopupMenu();
  HMENU orientation = CreatePopupMenu();
  Add(orientation, mnuVertical, L"&Vertical");
  Add(orientation, mnuHorizontal, L"&Horizontal");
  AppendMenuW(layout, MF_POPUP, reinterpret_cast<UINT_PTR>(orientation), L"&Orientation");
  HMENU autoExpand = CreatePopupMenu();
  Add(autoExpand, mnuAutoExpandOn, L"On");
  Add(autoExpand, mnuAutoExpandOff, L"Off");
  AppendMenuW(layout, MF_POPUP, reinterpret_cast<UINT_PTR>(autoExpand), L"Auto Expand Pane Size");
  HMENU command = CreatePopupMenu();
  Add(command, mnuCommandOn, L"On");
  Add(command, mnuCommandOff, L"Off");
  AppendMenuW(layout, MF_POPUP, reinterpret_cast<UINT_PTR>(command), L"Command &Line");
  AppendMenuW(layout, MF_SEPARATOR, 0, nullptr);
  for (UINT i = 0; i < 5; ++i) {
    const std::wstring caption = L"Show Pane &" + std::to_wstring(i + 1);
    Add(layout, mnuPane0 + i, caption.c_str());
  }
  AppendMenuW(layout, MF_SEPARATOR, 0, nullptr);
  Add(layout, mnuHidden, L"Show &Hidden Items");
  Add(layout, mnuSystem, L"Show S&ystem Items");
  AppendMenuW(layout, MF_SEPARATOR, 0, nullptr);
  Add(layout, mnuChooseSkin, L"Choose &Skin...");
  Add(layout, mnuOptions, L"&Options...");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(layout), L"&Layout");

  HMENU tools = CreatePopupMenu();
  Add(tools, mnuCompare, L"Com&pare Folder Contents");
  Add(tools, mnuCompareSize, L"Compare &Size");
  Add(tools, mnuCompareDate, L"Compare &Date");
  AppendMenuW(tools, MF_SEPARATOR, 0, nullptr);
  Add(tools, mnuColorCoding, L"&Color Coding && Comments");
  AppendMenuW(tools, MF_SEPARATOR, 0, nullptr);
  Add(tools, mnuRecycleBin, L"&Recycle Bin...");
  Add(tools, mnuRecycleEmpty, L"&Empty Recycle Bin");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(tools), L"&Tools");

  HMENU help = CreatePopupMenu();
  Add(help, mnuHelp, L"&Help...");
  Add(help, mnuWebsite, L"Varnello &Website...");
  AppendMenuW(help, MF_SEPARATOR, 0, nullptr);
  Add(help, mnuAbout, L"&About Varnello...", true);
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"H&elp");
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
