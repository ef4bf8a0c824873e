#pragma once
// The program's skins: loading one from the skin folder into the colours, and the skin
// chooser dialog, opened once and kept while the main window lives.
#include <memory>
#include <string>

#include "settings/SkinFiles.h"

namespace varnello {

class Master;
class frmSkinChooser;

class Skins {
 public:
  explicit Skins(Master& master);
  ~Skins();
  Skins(const Skins&) = delete;
  Skins& operator=(const Skins&) = delete;

  // Reads skin `skinName` and applies it everywhere; false (after telling the user) when it
  // could not be read: then the default skin is applied and made current, when it is there.
  bool LoadSkin(const std::wstring& skinName);
  // Opens the chooser centred on the main window, modeless.
  void ColorChooser();
  // The chooser while it is open, else null.
  frmSkinChooser* Chooser() const;
  // The main window closes: unsaved edits in the chooser are offered for saving (when `ask`),
  // then the chooser goes without asking again.
  void CloseChooser(bool ask);
  SkinFolder Folder() const;

 private:
  void Apply(const std::string& bytes);

  Master& m_;
  std::unique_ptr<frmSkinChooser> chooser_;
};

}  // namespace varnello
