#include "commands/CommandItems.h"

#include "commands/FileOperations.h"
#include "mainwindow/PaneList.h"

namespace varnello {

CommandItems CollectCommandItems(PaneList& list, const std::wstring& folderPath,
                                 const std::wstring& itemPath) {
  CommandItems items;
  if (!folderPath.empty()) {
    std::wstring path = ValidatePath(folderPath);
    if (!path.empty()) {
      // A listing of a drive's top folder: the drive itself, which is neither renamed nor
      // copied whole.
      items.DriveRoot = IsDriveRoot(path);
      items.Paths.push_back(std::move(path));
    }
    return items;
  }
  std::wstring first;
  if (!itemPath.empty() && itemPath[0] == L'*') {
    first = ValidatePath(itemPath);
    if (first.empty()) return items;
  } else if (IsDriveRoot(itemPath)) {
    items.Paths.push_back(itemPath);
    items.DriveRoot = true;
    return items;
  } else {
    first = RemoveRightSlash(itemPath);
  }
  if (!first.empty()) items.Paths.push_back(first);
  list.SetLastListItem(0);
  for (std::wstring item = list.GetFileSpecsExternal(); item != L"end";
       item = list.GetFileSpecsExternal()) {
    if (item.empty()) break;  // a list that ran dry without saying "end"
    if (item != first) items.Paths.push_back(std::move(item));
  }
  return items;
}

}  // namespace varnello
