#pragma once
// Pictures beside menu entries: the entry is found by its command id (entries that open a
// drop-down carry one too) and gets a bitmap drawn from the shared image list.
#include <windows.h>

#include <utility>
#include <vector>

#include "toolkit/Controls.h"

namespace varnello {

class MenuIconComponent {
 public:
  MenuIconComponent() = default;
  ~MenuIconComponent();
  MenuIconComponent(const MenuIconComponent&) = delete;
  MenuIconComponent& operator=(const MenuIconComponent&) = delete;

  // Draw pictures over the menu's own background colour.
  void SetUseMenuColour(bool on) { useMenuColour_ = on; }
  void SetImageList(const tk::ImageList* images) { images_ = images; }
  // False when the window has no menu bar. Pictures given before a Detach come back.
  bool Attach(HWND window);
  // Takes every picture off the menus and keeps it for the next Attach.
  void Detach();
  // Gives the entry with that id (anywhere in the menu bar) picture `index`.
  bool SetImage(UINT id, int index);
  // Gives each entry (command id, picture index) its picture as SetImage does, and draws the
  // menu bar once, after the last.
  void SetImages(const std::vector<std::pair<UINT, int>>& pictures);
  // The picture an entry shows now, or null.
  HBITMAP ImageOf(UINT id) const;

 private:
  struct Placed {
    HMENU Menu;
    UINT Position;
    HBITMAP Bitmap;
    int Index;
    const tk::ImageList* Images;
    bool MenuColour;
  };
  // Puts the picture on the entry; `changed` says whether the menu bar needs drawing.
  bool Place(UINT id, int index, bool& changed);
  static bool Find(HMENU menu, UINT id, HMENU& owner, UINT& position);
  static void Show(const Placed& p, HBITMAP bitmap);
  HWND window_ = nullptr;
  const tk::ImageList* images_ = nullptr;
  bool useMenuColour_ = true;
  std::vector<Placed> placed_;
};

}  // namespace varnello
