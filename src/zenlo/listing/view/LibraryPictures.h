#pragma once
// The library's resource pictures, loaded once and shared by every control: the listing's
// seven drawing pictures and the toolbar's image list. Drawing and toolbars only read them.
#include <windows.h>

#include <array>

#include "toolkit/Controls.h"
#include "toolkit/Gdi.h"

namespace zenlo {

class ListPictures {
 public:
  enum Picture { FolderClosed, FileGeneric, Workgroup, Computer, WholeNetwork, Plus, Minus, kCount };
  // Loaded at the first call; a picture that cannot be loaded stays null.
  static const ListPictures& Shared();
  HBITMAP operator[](Picture p) const { return bitmaps_[static_cast<std::size_t>(p)].Get(); }
  // The toolbar's pictures by key ("upfolder", ..., "list_details", "list_brief").
  const tk::ImageList& ToolbarImages() const { return toolbar_; }

  ListPictures(const ListPictures&) = delete;
  ListPictures& operator=(const ListPictures&) = delete;

 private:
  ListPictures();
  std::array<tk::Bitmap, kCount> bitmaps_;
  tk::ImageList toolbar_;
};

}  // namespace zenlo
