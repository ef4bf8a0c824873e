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

// The colour that is see-through in the program's pictures.
constexpr COLORREF kPictureKeyColour = RGB(0, 255, 0);
// The key's 16 x 16 picture from the executable's resources, or null when it has none.
HBITMAP LoadMainPicture(const std::wstring& key);
// Fills `images` (16 x 16) with the picture of every key of MainImageKeys; a key whose resource
// is missing gets a plain lettered tile so the list's indexes still hold.
bool BuildMainImages(tk::ImageList& images);
// Adds the entries of MainToolbarButtons to a created toolbar.
void AddMainToolbarButtons(tk::Toolbar& toolbar);

}  // namespace varnello
