#pragma once
// The skin chooser: the 28 colours as swatches (two hidden), the skin files as a list, and the
// buttons that load, save, resave, rename, delete, import and export skins. Every colour change
// shows at once; closing with unsaved changes offers to save them.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "settings/SkinFiles.h"
#include "toolkit/Form.h"

namespace varnello {

class Master;

class frmSkinChooser final : public tk::Form {
 public:
  static constexpr int kSwatchCount = 28;

  explicit frmSkinChooser(Master& master);
  ~frmSkinChooser() override;

  // Form_Load: creates the dialog when it is not loaded.
  void Load();

  void FillPictureBoxes();
  bool SaveSkin(const std::wstring& HowCalled);
  void LoadFromList();
  // Some swatch differs from the colours last loaded or saved.
  bool Changed() const;

  // The controls, for the handlers below and for tests that press them.
  std::array<tk::Swatch, kSwatchCount> Picture1;
  std::array<tk::Button, kSwatchCount> cmdChoose;
  std::array<tk::FormLabel, kSwatchCount> lblItem;
  tk::ListBox lstSkins;
  tk::Button cmdSave, cmdLoad, cmdRename, cmdResave, cmdDel, cmdImport, cmdExport, cmdCancel,
      cmdOK;
  tk::Frame Frame1;
  // The skin key swatch `index` edits.
  static const wchar_t* SwatchKey(int index);

  void Picture1_Click(int Index);
  void cmdChoose_Click(int Index);
  void lstSkins_DblClick() { LoadFromList(); }
  void cmdLoad_Click() { LoadFromList(); }
  void cmdSave_Click() { SaveSkin(L""); }
  void cmdResave_Click();
  void cmdRename_Click();
  void cmdDel_Click();
  void cmdImport_Click();
  void cmdExport_Click();
  void cmdOK_Click() { Close(); }
  void cmdCancel_Click() { Close(); }
  // The close check: false keeps the dialog open.
  bool Form_Unload();

 private:
  class EscapeKey;
  void CreateControls();
  void RefreshSkinList();
  void SetSwatchColor(int Index, std::optional<std::int32_t> Colour);
  void KeepInFront();
  bool IsValidSkinName(const std::wstring& name);
  bool WriteSkinFile(const std::wstring& name);
  // Asks for a name with the input box at the dialog's usual place.
  std::optional<std::wstring> AskName(const std::wstring& prompt, const std::wstring& title,
                                      const std::wstring& answer);
  // The Open (or Save) dialog for a skin file; nothing when cancelled.
  std::optional<std::wstring> AskSkinFile(bool save, const std::wstring& title,
                                          const std::wstring& fileName);
  // Shows a message centred on this dialog; the answer ("YES", "NO", ...) is returned.
  std::wstring Say(std::wstring text, long buttons = 0, std::optional<long> errNum = std::nullopt);
  // Asks whether skin `name` may be replaced.
  bool MayReplace(const std::wstring& name);
  SkinFolder Folder() const;

  Master& m_;
  std::array<std::int32_t, kSwatchCount> SavedSwatchColors{};
  std::optional<std::int32_t> PickedColor;
  tk::TabHeader TabStrip1;
  std::unique_ptr<EscapeKey> escape_;
};

}  // namespace varnello
