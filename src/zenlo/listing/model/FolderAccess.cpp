// Whether a folder can be listed: local and UNC folders are probed, network levels are looked
// up in the network enumeration.
#include "listing/model/FolderPathCheck.h"
#include "listing/model/FolderProbe.h"
#include "listing/model/NetEnumerator.h"
#include "listing/model/NetworkPaths.h"
#include "listing/model/PathText.h"
#include "toolkit/Text.h"
#include "zenlo/ZenloFileControl.h"

namespace zenlo {

bool FolderExistsAndOpens(const std::wstring& path) {
  // The folder the read would list: resolved, and in the form that keeps a trailing dot.
  const std::wstring resolved = ResolveFolderPath(path);
  if (resolved.empty()) return false;
  std::wstring folder = resolved;
  if (folder.size() > 3) folder.pop_back();
  const DWORD attributes = GetFileAttributesW(LongPathForm(folder).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
    return false;
  // Existing is not enough: the folder must let us search it.
  const std::wstring pattern = LongPathForm(resolved) + L"*";
  WIN32_FIND_DATAW entry;
  HANDLE search = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry,
                                   FindExSearchNameMatch, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
  FindClose(search);
  return true;
}

bool ZenloFileControl::CheckFolderAccess(std::wstring path, bool ShowErrorMessage) {
  bool ok = false;
  if (tk::UpperCase(path).find(L"SYSTEM VOLUME INFORMATION") == std::wstring::npos) {
    const sTypes type = GetObjectType(path);
    if (type == sEntireNetwork) return true;
    // A network level is accessible when the network enumeration knows it; such a failure
    // never shows a message.
    if (type == sNetwork || type == sDomain || type == sComputer)
      return CheckNetworkPathAccess(path, netEnumerator_ ? netEnumerator_ : MakeWNetEnumerator());
    const auto unc = path.find(L"\\\\");
    ok = FolderExistsAndOpens(unc == std::wstring::npos ? path : path.substr(unc));
  }
  if (!ok && ShowErrorMessage) {
    const std::wstring shown = !path.empty() && path[0] == L'*' && path.size() >= 3 ? path.substr(3) : path;
    RaiseMessage(L"The selected folder (folder path and name shown below) could not be accessed."
                 L"\r\n\r\nSelected folder: " + shown);
  }
  return ok;
}

}  // namespace zenlo
