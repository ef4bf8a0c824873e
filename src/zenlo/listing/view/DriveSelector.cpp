// The control's drive and place selector: choosing a place reads its tree and tells the host.
#include <cwctype>

#include "listing/CallGuard.h"
#include "listing/view/SelectorEvents.h"
#include "listing/view/ViewState.h"
#include "toolkit/Text.h"
#include "zenlo/ZFCombo.h"
#include "zenlo/ZFComboEvents.h"
#include "zenlo/ZenloFileControl.h"

namespace zenlo {

void ZenloFileControl::CreateSelector() {
  selectorEvents_ = std::make_unique<SelectorEvents>(*this);
  zfCombo1_ = ZFCombo::Create();
  zfCombo1_->AttachEvents(selectorEvents_.get());
}

void ZenloFileControl::ReleaseSelector() {
  if (!zfCombo1_) return;
  zfCombo1_->AttachEvents(nullptr);
  zfCombo1_->Release();
  zfCombo1_ = nullptr;
}

void ZenloFileControl::SetFolder(std::wstring& str, bool DisplayMessage) {
  CallGuard guard(*this);
  if (closing_) return;
  ViewState& v = *view_;
  v.DoDrawing = false;
  const std::wstring asked = str;
  const std::wstring shown = zfCombo1_->GetDrives(str, false, DisplayMessage);
  if (closing_) return;  // the host let go while the place was read
  currentFolder_ = shown;
  v.DoDrawing = true;
  // A drive text ("D:") comes from a folder path already checked (ValidateFolder); the
  // selector reports a drive that is not ready itself.
  const bool driveText = asked.size() == 2 && asked[1] == L':' && iswalpha(asked[0]);
  if (DisplayMessage && !asked.empty() && !driveText) ReportUnknownPlace(asked);
}

// The selector falls back to its first drive for a key it does not list; the user who asked
// for that place is told.
void ZenloFileControl::ReportUnknownPlace(const std::wstring& key) {
  const auto& entries = zfCombo1_->PlaceEntries();
  for (const PlaceEntry& entry : entries)
    if (!entry.Key.empty() && tk::SameText(entry.Key, key)) return;
  std::wstring text = L"The drive or place \"" + key + L"\" is not available.";
  const std::int32_t shownIndex = zfCombo1_->ListIndex();
  if (shownIndex >= 0 && shownIndex < static_cast<std::int32_t>(entries.size()))
    text += L" " + entries[static_cast<std::size_t>(shownIndex)].PlaceName + L" is shown instead.";
  RaiseMessage(text);
}

void ZenloFileControl::ZFCombo1_Click(std::wstring& strSelect) {
  CallGuard guard(*this);
  if (closing_) return;
  ViewState& v = *view_;
  ListPositionSave(currentDrive_.empty() ? currentFolder_ : currentDrive_, v.TopItem);
  std::wstring placeName;
  const auto gap = strSelect.find(L"  ");
  if (tk::SameText(strSelect, L"My Network Places"))
    placeName = L"My Network Places";
  else if (gap != std::wstring::npos)
    placeName = tk::Trim(strSelect.substr(0, gap + 1));
  else
    placeName = strSelect;
  currentDrive_ = GetDriveLetter(placeName);
  RemoteDriveSelected =
      tk::LowerCase(strSelect.substr(0, 10)).find(L"remote") != std::wstring::npos ||
      tk::SameText(placeName, L"My Network Places");
  std::wstring unusedKey;
  ListRootSave(strSelect, unusedKey);
  if (closing_) return;
  ListPositionLoad(currentDrive_, v.TopItem);
  const std::wstring root = ListRootLoad(currentDrive_);
  std::wstring networkObject;
  if (GetFolderContents(root, true, defaultIndent_, sDefault, false, networkObject, false))
    RaiseHost([](ZenloFileControlEvents& s) { s.DriveClick(); });
}

ZFCombo& ZenloFileControl::Selector() { return *zfCombo1_; }

}  // namespace zenlo
