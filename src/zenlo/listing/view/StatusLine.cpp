#include "listing/view/StatusLine.h"

#include "toolkit/Text.h"

namespace zenlo {

StatusLine ComposeStatusLine(const StatusInputs& in) {
  StatusLine line;
  std::wstring& t = line.text;
  t = in.folderCountText;
  if (in.listType == fbFile) t += L" (not shown) ";
  if (in.listType != fbFolder) t += L" / " + in.fileCountText;
  if (!in.selectionText.empty()) t += L"   " + in.selectionText;
  if (in.filterActive) t = L"FILTERED: " + t;
  if (!in.notice.empty()) t = in.notice + L"   " + t;
  if (in.listType == fbFolder) return line;

  if (in.trackFolderChanges && !in.folderChangeText.empty()) {
    t += L"   Changes: " + in.folderChangeText;
    line.changeColours = true;
    if (in.trackChime && !in.skipSound) line.chime = true;
  }
  if (in.trackFileChanges && !in.fileChangeText.empty()) {
    if (tk::UpperCase(t).find(L"CHANGES") != std::wstring::npos)
      t += L" / " + in.fileChangeText;
    else
      t += L"   Changes: " + in.fileChangeText;
    line.changeColours = true;
    if (in.trackChime && !in.skipSound) line.chime = true;  // at most once per refresh
  }
  return line;
}

std::wstring SelectionText(ListType listType, std::int32_t folders, std::int32_t files) {
  std::wstring text = L"Selected: " + std::to_wstring(folders) +
                      (folders == 1 ? L" Folder" : L" Folders");
  if (listType != fbFolder)
    text += L" / " + std::to_wstring(files) + (files == 1 ? L" File" : L" Files");
  return text;
}

}  // namespace zenlo
