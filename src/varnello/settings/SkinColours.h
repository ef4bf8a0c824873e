#pragma once
// The 28 skin colours, named by their settings keys, with the default skin's values.
#include <windows.h>

#include <array>
#include <string>
#include <utility>

#include <wchar.h>

namespace varnello {

struct SkinColour {
  const wchar_t* Key;
  COLORREF Value;
};

struct SkinColours {
  COLORREF ColorTextSecondary = RGB(96, 96, 112);
  COLORREF ColorMainMenu = RGB(222, 232, 246);
  COLORREF ColorProgramBackground = RGB(208, 222, 242);
  COLORREF ColorPaneBackground = RGB(232, 240, 250);
  COLORREF ColorListBackground = RGB(255, 255, 255);
  COLORREF ColorListText = RGB(0, 0, 0);
  COLORREF ColorMainToolbar = RGB(222, 232, 246);
  COLORREF ColorMinorToolbar = RGB(232, 240, 250);
  COLORREF ColorActiveListOutline = RGB(70, 110, 190);
  COLORREF ColorInActiveListOutline = RGB(180, 196, 220);
  COLORREF ColorActiveTitle = RGB(70, 110, 190);
  COLORREF ColorInactiveTitle = RGB(180, 196, 220);
  COLORREF ColorActiveTitleText = RGB(255, 255, 255);
  COLORREF ColorInactiveTitleText = RGB(40, 40, 60);
  COLORREF ColorDriveList = RGB(255, 255, 255);
  COLORREF ColorDriveText = RGB(0, 0, 0);
  COLORREF ColorActiveHeading = RGB(150, 180, 230);
  COLORREF ColorInactiveHeading = RGB(214, 226, 244);
  COLORREF ColorActiveHeadingText = RGB(0, 0, 0);
  COLORREF ColorInactiveHeadingText = RGB(40, 40, 60);
  COLORREF ColorHeadingHoverText = RGB(0, 60, 170);
  COLORREF ColorStatusBackground = RGB(214, 226, 244);
  COLORREF ColorStatusText = RGB(0, 0, 0);
  COLORREF ColorActiveItemOutline = RGB(70, 110, 190);
  COLORREF ColorActiveItemUnderline = RGB(150, 180, 230);
  COLORREF ColorCurrentFolderText = RGB(0, 0, 0);
  COLORREF ColorCommandLineList = RGB(255, 255, 255);
  COLORREF ColorCommandLineText = RGB(0, 0, 0);

  bool operator==(const SkinColours&) const = default;

  // The 28 colours by their settings keys, in the order the key dispatcher tests them.
  static const std::array<std::pair<const wchar_t*, COLORREF SkinColours::*>, 28>& KeyTable() {
    static const std::array<std::pair<const wchar_t*, COLORREF SkinColours::*>, 28> table{{
        {L"ColorProgramBackground", &SkinColours::ColorProgramBackground},
        {L"ColorPaneBackground", &SkinColours::ColorPaneBackground},
        {L"ColorListBackground", &SkinColours::ColorListBackground},
        {L"ColorListText", &SkinColours::ColorListText},
        {L"ColorMainToolbar", &SkinColours::ColorMainToolbar},
        {L"ColorMinorToolbar", &SkinColours::ColorMinorToolbar},
        {L"ColorActiveListOutline", &SkinColours::ColorActiveListOutline},
        {L"ColorInActiveListOutline", &SkinColours::ColorInActiveListOutline},
        {L"ColorActiveTitle", &SkinColours::ColorActiveTitle},
        {L"ColorInactiveTitle", &SkinColours::ColorInactiveTitle},
        {L"ColorActiveTitleText", &SkinColours::ColorActiveTitleText},
        {L"ColorInactiveTitleText", &SkinColours::ColorInactiveTitleText},
        {L"ColorDriveList", &SkinColours::ColorDriveList},
        {L"ColorDriveText", &SkinColours::ColorDriveText},
        {L"ColorActiveHeading", &SkinColours::ColorActiveHeading},
        {L"ColorInactiveHeading", &SkinColours::ColorInactiveHeading},
        {L"ColorActiveHeadingText", &SkinColours::ColorActiveHeadingText},
        {L"ColorInactiveHeadingText", &SkinColours::ColorInactiveHeadingText},
        {L"ColorHeadingHoverText", &SkinColours::ColorHeadingHoverText},
        {L"ColorStatusBackground", &SkinColours::ColorStatusBackground},
        {L"ColorStatusText", &SkinColours::ColorStatusText},
        {L"ColorActiveItemOutline", &SkinColours::ColorActiveItemOutline},
        {L"ColorActiveItemUnderline", &SkinColours::ColorActiveItemUnderline},
        {L"ColorCurrentFolderText", &SkinColours::ColorCurrentFolderText},
        {L"ColorCommandLineList", &SkinColours::ColorCommandLineList},
        {L"ColorCommandLineText", &SkinColours::ColorCommandLineText},
        {L"ColorMainMenu", &SkinColours::ColorMainMenu},
        {L"ColorTextSecondary", &SkinColours::ColorTextSecondary},
    }};
    return table;
  }
  // The colour a settings key names (without regard to case), or null.
  COLORREF* ByKey(const std::wstring& key) {
    for (const auto& [name, member] : KeyTable())
      if (_wcsicmp(name, key.c_str()) == 0) return &(this->*member);
    return nullptr;
  }

  // The 19 colours every list gets, in the order they are pushed.
  std::array<SkinColour, 19> PaneColours() const {
    return {{{L"ColorActiveHeading", ColorActiveHeading},
             {L"ColorActiveHeadingText", ColorActiveHeadingText},
             {L"ColorInactiveHeading", ColorInactiveHeading},
             {L"ColorInactiveHeadingText", ColorInactiveHeadingText},
             {L"ColorHeadingHoverText", ColorHeadingHoverText},
             {L"ColorProgramBackground", ColorProgramBackground},
             {L"ColorPaneBackground", ColorPaneBackground},
             {L"ColorDriveList", ColorDriveList},
             {L"ColorDriveText", ColorDriveText},
             {L"ColorStatusBackground", ColorStatusBackground},
             {L"ColorStatusText", ColorStatusText},
             {L"ColorMinorToolbar", ColorMinorToolbar},
             {L"ColorListBackground", ColorListBackground},
             {L"ColorListText", ColorListText},
             {L"ColorActiveListOutline", ColorActiveListOutline},
             {L"ColorInActiveListOutline", ColorInActiveListOutline},
             {L"ColorActiveItemOutline", ColorActiveItemOutline},
             {L"ColorActiveItemUnderline", ColorActiveItemUnderline},
             {L"ColorTextSecondary", ColorTextSecondary}}};
  }
};

}  // namespace varnello
