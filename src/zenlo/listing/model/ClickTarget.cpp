#include "listing/model/ClickTarget.h"

#include "toolkit/Error.h"
#include "toolkit/Text.h"

namespace zenlo {

std::wstring ClickParentOf(const std::wstring& folder) {
  if (folder.size() < 2) return folder;
  const auto slash = folder.find_last_of(L'\\', folder.size() - 2);
  if (slash == std::wstring::npos) return folder;
  std::wstring parent = folder.substr(0, slash + 1);
  if (parent.size() >= 2 && parent.compare(parent.size() - 2, 2, L"\\\\") == 0) parent.pop_back();
  return parent;
}

ClickContext TargetFolderForItem(const ItemArray& items, std::int32_t index,
                                 ListType type, const std::wstring& currentFolder,
                                 const std::wstring& keyword) {
  if (index < -1 || index >= static_cast<std::int32_t>(items.size()))
    throw tk::RuntimeError(tk::kErrSubscript, L"Subscript out of range");
  const TypeListItem* item = index >= 0 ? &items[static_cast<std::size_t>(index)] : nullptr;
  std::wstring folder = currentFolder;
  if (item && (type == fbFolder || !tk::SameText(keyword, L"newfolder"))) folder = item->FullPath;
  if (folder.empty() || folder.back() != L'\\') folder += L'\\';
  ClickContext c;
  c.Folder = folder;
  c.ParentFolder = ClickParentOf(folder);
  if (item) {
    c.ItemPath = item->FullPath;
    if (item->ItemType == sFolder && (c.ItemPath.empty() || c.ItemPath.back() != L'\\'))
      c.ItemPath += L'\\';
    c.ItemName = item->Name;
  }
  return c;
}

}  // namespace zenlo
