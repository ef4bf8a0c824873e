#pragma once
// Composing the status line under a listing: counts, selection, filter and noticed changes.
#include <windows.h>

#include <cstdint>
#include <string>

#include "zenlo/ZenloTypes.h"

namespace zenlo {

struct StatusInputs {
  ListType listType = fbFileAndFolder;
  std::wstring folderCountText, fileCountText;
  std::wstring folderChangeText, fileChangeText;
  std::wstring selectionText;
  bool filterActive = false;
  bool trackFolderChanges = false, trackFileChanges = false, trackChime = false;
  bool skipSound = false;
  std::wstring notice = {};  // leads the line
};

struct StatusLine {
  std::wstring text;
  bool changeColours = false;  // white on red instead of the skin's status colours
  bool chime = false;          // play the chime once
};

constexpr COLORREF kChangeText = RGB(255, 255, 255);
constexpr COLORREF kChangeBackground = RGB(204, 0, 0);

StatusLine ComposeStatusLine(const StatusInputs& in);

// "Selected: 1 Folder / 3 Files"; a tree shows folders only.
std::wstring SelectionText(ListType listType, std::int32_t folders, std::int32_t files);

}  // namespace zenlo
