#include "commands/MenuIcons.h"

#include <commctrl.h>

#include "commands/MainMenu.h"

namespace varnello {

MenuIconComponent::~MenuIconComponent() {
  Detach();
  for (const Placed& p : placed_) DeleteObject(p.Bitmap);
}

void MenuIconComponent::Show(const Placed& p, HBITMAP bitmap) {
  if (!IsMenu(p.Menu)) return;
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_BITMAP;
  info.hbmpItem = bitmap;
  SetMenuItemInfoW(p.Menu, p.Position, TRUE, &info);
}

bool MenuIconComponent::Attach(HWND window) {
  if (!window || !GetMenu(window)) return false;
  window_ = window;
  for (const Placed& p : placed_) Show(p, p.Bitmap);
  if (!placed_.empty()) DrawMenuBar(window_);
  return true;
}

void MenuIconComponent::Detach() {
  for (const Placed& p : placed_) Show(p, nullptr);
  window_ = nullptr;
}

bool MenuIconComponent::Find(HMENU menu, UINT id, HMENU& owner, UINT& position) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    if (MenuEntryId(menu, i) == id) {
      owner = menu;
      position = static_cast<UINT>(i);
      return true;
    }
    if (HMENU sub = GetSubMenu(menu, i))
      if (Find(sub, id, owner, position)) return true;
  }
  return false;
}

bool MenuIconComponent::SetImage(UINT id, int index) {
  bool changed = false;
  const bool placed = Place(id, index, changed);
  if (changed) DrawMenuBar(window_);
  return placed;
}

void MenuIconComponent::SetImages(const std::vector<std::pair<UINT, int>>& pictures) {
  bool changed = false;
  for (const auto& [id, index] : pictures) {
    bool one = false;
    Place(id, index, one);
    changed = changed || one;
  }
  if (changed) DrawMenuBar(window_);
}

bool MenuIconComponent::Place(UINT id, int index, bool& changed) {
  changed = false;
  if (!window_ || !images_ || index < 0) return false;
  HMENU owner = nullptr;
  UINT position = 0;
  if (!Find(GetMenu(window_), id, owner, position)) return false;
  // The same picture again (a settings file restating a default) is not drawn anew.
  for (const Placed& p : placed_)
    if (p.Menu == owner && p.Position == position && p.Index == index && p.Images == images_ &&
        p.MenuColour == useMenuColour_)
      return true;
  const int size = 16;
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
  HDC dc = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT all{0, 0, size, size};
  FillRect(dc, &all, GetSysColorBrush(useMenuColour_ ? COLOR_MENU : COLOR_WINDOW));
  ImageList_Draw(images_->Handle(), index, dc, 0, 0, ILD_TRANSPARENT);
  SelectObject(dc, old);
  DeleteDC(dc);

  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_BITMAP;
  info.hbmpItem = bitmap;
  if (!SetMenuItemInfoW(owner, position, TRUE, &info)) {
    DeleteObject(bitmap);
    return false;
  }
  // A picture given again replaces the earlier one, which is freed.
  for (auto it = placed_.begin(); it != placed_.end(); ++it)
    if (it->Menu == owner && it->Position == position) {
      DeleteObject(it->Bitmap);
      placed_.erase(it);
      break;
    }
  placed_.push_back({owner, position, bitmap, index, images_, useMenuColour_});
  changed = true;
  return true;
}

HBITMAP MenuIconComponent::ImageOf(UINT id) const {
  if (!window_) return nullptr;
  HMENU owner = nullptr;
  UINT position = 0;
  if (!Find(GetMenu(window_), id, owner, position)) return nullptr;
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_BITMAP;
  if (!GetMenuItemInfoW(owner, position, TRUE, &info)) return nullptr;
  return info.hbmpItem;
}

}  // namespace varnello
