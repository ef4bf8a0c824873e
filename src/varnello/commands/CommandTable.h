#pragma once
// Which menu entries and toolbar buttons have a command behind them, and running it. An entry
// is enabled exactly when it has one: the table greys the rest of the menu bar and toolbar.
#include <windows.h>

#include <functional>
#include <map>
#include <string>

#include "toolkit/Controls.h"

namespace varnello {

class CommandTable {
 public:
  using Command = std::function<void()>;

  void OnMenu(UINT id, Command run) { menu_[id] = std::move(run); }
  void OnButton(const std::wstring& key, Command run) { buttons_[key] = std::move(run); }
  bool HasMenu(UINT id) const { return menu_.count(id) != 0; }
  bool HasButton(const std::wstring& key) const { return buttons_.count(key) != 0; }
  // Runs the entry's command; false when it has none.
  bool RunMenu(UINT id) const;
  bool RunButton(const std::wstring& key) const;

  // Enables every command entry of `menu` and its drop-downs that has a command, greys the
  // others; entries that open a drop-down are left as they are.
  void ApplyTo(HMENU menu) const;
  // The same for the toolbar's buttons (separators and placeholders aside).
  void ApplyTo(tk::Toolbar& toolbar) const;

 private:
  std::map<UINT, Command> menu_;
  std::map<std::wstring, Command> buttons_;
};

}  // namespace varnello
