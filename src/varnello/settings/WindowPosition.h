#pragma once
// The main window's place in the settings file: its restored rectangle in twips and whether it
// was maximised. A minimised window is kept by its restored place.
#include <windows.h>

#include <optional>

#include "toolkit/SettingRecords.h"

namespace varnello {

struct WindowPlace {
  double Top = 0;
  double Left = 0;
  std::optional<double> Width;  // twips; none keeps the window's own size
  std::optional<double> Height;
  bool Maximised = false;
};

// The "ProgramPosition" record of the window as it stands; a window not shown yet is
// maximised when `showMaximised` says it will be.
tk::SettingRecord WindowPositionRecord(HWND window, bool showMaximised);

// Gives the window its restored rectangle (never smaller than the window allows, never off
// every monitor). A hidden window keeps its state; `showMaximised` says how to show it.
void PlaceWindow(HWND window, const WindowPlace& place, bool& showMaximised);

}  // namespace varnello
