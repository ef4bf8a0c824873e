#pragma once
// The main window's toolbar (31 entries) and the image list its buttons and the menus share.
#include <string>
#include <utility>
#include <vector>

#include "toolkit/Controls.h"

namespace varnello {

// The 44 image keys, in the order the image list holds them.
const std::vector<std::wstring>& MainImageKeys();
// The toolbar's entries from left to right.
const std::vector<tk::Toolbar::Button>& MainToolbarButtons();
// Button key -> image key, in the order the pictures are assigned.
const std::vector<std::pair<std::wstring, std::wstring>>& ToolbarPictures();

// Draws every image of MainImageKeys into `images` (16 x 16, our own artwork).
bool BuildMainImages(tk::ImageList& images);
// Adds the entries of MainToolbarButtons to a created toolbar.
void AddMainToolbarButtons(tk::Toolbar& toolbar);

}  // namespace varnello
