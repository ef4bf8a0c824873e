#include "commands/CommandTable.h"

namespace varnello {

bool CommandTable::RunMenu(UINT id) const {
  const auto it = menu_.find(id);
  if (it == menu_.end()) return false;
  // A copy: the command may change the table while it runs.
  const Command run = it->second;
  run();
  return true;
}

bool CommandTable::RunButton(const std::wstring& key) const {
  const auto it = buttons_.find(key);
  if (it == buttons_.end()) return false;
  const Command run = it->second;
  run();
  return true;
}

void CommandTable::ApplyTo(HMENU menu) const {
  if (!menu) return;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    if (HMENU sub = GetSubMenu(menu, i)) {
      ApplyTo(sub);
      continue;
    }
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info) || (info.fType & MFT_SEPARATOR))
      continue;
    EnableMenuItem(menu, static_cast<UINT>(i),
                   MF_BYPOSITION | (HasMenu(info.wID) ? MF_ENABLED : MF_GRAYED));
  }
}

void CommandTable::ApplyTo(tk::Toolbar& toolbar) const {
  for (const auto& b : toolbar.Buttons())
    if (!b.Separator && b.SpaceWidth == 0 && !b.Key.empty()) toolbar.SetEnabled(b.Key, HasButton(b.Key));
}

}  // namespace varnello
