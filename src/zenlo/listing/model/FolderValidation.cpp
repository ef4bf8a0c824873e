// Making a start folder usable, and the network and folder-probe services the checks use.
#include "listing/model/FolderProbe.h"
#include "listing/model/NetResource.h"
#include "listing/model/NetworkPaths.h"
#include "listing/CallGuard.h"
#include "listing/view/ViewState.h"
#include "toolkit/InputBox.h"
#include "toolkit/Text.h"
#include "zenlo/ZFCombo.h"
#include "zenlo/ZenloFileControl.h"

namespace zenlo {

namespace {
bool IsDriveLetterAnswer(const std::wstring& answer) {
  if (answer.size() != 1) return false;
  const wchar_t c = answer[0];
  return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}
}  // namespace

void ZenloFileControl::SetNetEnumerator(std::shared_ptr<NetEnumerator> enumerator) {
  netEnumerator_ = std::move(enumerator);
}

void ZenloFileControl::SetFolderProbe(std::function<bool(const std::wstring&)> probe) {
  folderProbe_ = std::move(probe);
}

std::unique_ptr<NetResource> ZenloFileControl::NewNetRoot() const {
  return std::make_unique<NetResource>(netEnumerator_ ? netEnumerator_ : MakeWNetEnumerator());
}

bool ZenloFileControl::ProbeFolder(const std::wstring& path) const {
  try {
    return folderProbe_ ? folderProbe_(path) : FolderExistsAndOpens(path);
  } catch (...) {
    return false;  // a probe that fails confirms nothing
  }
}

void ZenloFileControl::ValidateFolder(std::wstring& FolderPath) {
  if (closing_) return;
  CallGuard guard(*this);
  const auto unc = FolderPath.find(L"\\\\");
  if (unc != std::wstring::npos) {
    const std::wstring text = FolderPath.substr(unc);
    if (!IsComputerPath(text) && !ProbeFolder(text))
      RaiseMessage(L"Sorry, that folder or drive isn't available right now.");
    return;
  }
  if (!ProbeFolder(FolderPath)) {
    const std::wstring original = FolderPath;
    const std::wstring candidates[] = {FolderPath.size() < 4 ? L"c:\\" : FolderPath.substr(0, 3),
                                       L"c:\\", L"d:\\"};
    bool found = false;
    for (const std::wstring& candidate : candidates) {
      FolderPath = candidate;
      if (ProbeFolder(candidate)) {
        found = true;
        break;
      }
    }
    if (!found) {
      const auto answer = tk::ShowInputBox(
          view_->Surface.Handle(),
          L"Can't find drive c or d, please enter a single letter for the drive you want to see...",
          L"Select Folder...");
      if (closing_) return;
      // Only a drive letter is a drive; Cancel or anything else leaves the folder alone.
      const std::wstring letter = answer ? tk::Trim(*answer) : std::wstring();
      if (!IsDriveLetterAnswer(letter)) {
        FolderPath = original;
        return;
      }
      FolderPath = letter + L":\\";
    }
  }
  std::wstring drive = FolderPath.substr(0, 2);
  const std::wstring shown = zfCombo1_ ? zfCombo1_->currDrive.substr(0, 2) : std::wstring();
  if (!tk::SameText(drive, shown)) SetFolder(drive, true);
}

}  // namespace zenlo
