#include "settings/Skins.h"

#include <windows.h>

#include <optional>

#include "mainwindow/Master.h"
#include "settings/SkinChooser.h"
#include "toolkit/Error.h"
#include "toolkit/SettingRecords.h"
#include "toolkit/Text.h"

namespace varnello {

Skins::Skins(Master& master) : m_(master) {}

Skins::~Skins() = default;

SkinFolder Skins::Folder() const { return SkinFolder(m_.ProgramFolder()); }

frmSkinChooser* Skins::Chooser() const {
  return chooser_ && chooser_->Loaded() ? chooser_.get() : nullptr;
}

namespace {

// The skin file's bytes, or nothing with the reason in `error`. Only a plain file name in the
// skin folder: a name from the settings file never reaches a file anywhere else.
std::optional<std::string> ReadSkin(const SkinFolder& folder, const std::wstring& skinName,
                                    unsigned long& error) {
  error = IsPlainFileName(skinName) ? ERROR_FILE_NOT_FOUND : ERROR_INVALID_NAME;
  const auto path = folder.Find(skinName);
  if (!path) return std::nullopt;
  auto bytes = tk::ReadFileBytes(*path);
  const DWORD failed = bytes ? 0 : GetLastError();
  if (!bytes) error = failed ? failed : ERROR_READ_FAULT;
  return bytes;
}

}  // namespace

void Skins::Apply(const std::string& bytes) {
  ApplySkinFile(bytes, m_.Skin);
  m_.ApplySkinChange();
  if (frmSkinChooser* chooser = Chooser()) chooser->FillPictureBoxes();
}

bool Skins::LoadSkin(const std::wstring& skinName) {
  m_.Options.SkinName = tk::UpperCase(skinName);
  unsigned long error = 0;
  const auto bytes = ReadSkin(Folder(), skinName, error);
  if (bytes) {
    Apply(*bytes);
    return true;
  }
  std::wstring text =
      L"The last used 'skin' could not be found.\r\n\r\nIt is recommended that you create a "
      L"suitable color scheme by selecting 'Choose Skin' from the 'Layout' menu.";
  m_.Message(text, 0, L"", static_cast<long>(error), tk::SystemErrorText(error));
  // Said once: the default skin takes the missing one's place and is the one remembered, so
  // the next start does not report the same file again.
  if (tk::SameText(skinName, kDefaultSkinName)) return false;
  unsigned long ignored = 0;
  if (const auto fallback = ReadSkin(Folder(), kDefaultSkinName, ignored)) {
    m_.Options.SkinName = tk::UpperCase(kDefaultSkinName);
    Apply(*fallback);
  }
  return false;
}

void Skins::ColorChooser() {
  if (!chooser_) chooser_ = std::make_unique<frmSkinChooser>(m_);
  chooser_->Load();
  if (!chooser_->Loaded()) return;
  chooser_->CentreOn(m_.Handle());
  chooser_->ShowModeless();
  const auto items = chooser_->lstSkins.Items();
  int selected = -1;
  for (std::size_t i = 0; i < items.size() && selected < 0; ++i)
    if (tk::SameText(items[i], m_.Options.SkinName)) selected = static_cast<int>(i);
  chooser_->lstSkins.SetListIndex(selected);
}

void Skins::CloseChooser(bool ask) {
  frmSkinChooser* chooser = Chooser();
  if (chooser && ask && chooser->Changed()) {
    std::wstring text =
        L"You have made changes to the skin but have not saved these changes.\r\n\r\nDo you "
        L"wish to save these changes now? (Choose 'No' to lose your changes.)";
    m_.Message(text, 1, L"frmSkinChooser");
    if (m_.MsgBoxAnswer == L"YES") chooser->SaveSkin(L"OK");
  }
  chooser_.reset();
}

}  // namespace varnello
