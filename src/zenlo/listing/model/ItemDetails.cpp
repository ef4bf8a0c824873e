#include "listing/model/ItemDetails.h"

#include "listing/model/PathText.h"
#include "listing/model/ShellFileInfo.h"
#include "toolkit/Text.h"
#include "zenlo/ZenloFileControl.h"

namespace zenlo {

std::wstring FormatAttributeLetters(DWORD a) {
  std::wstring text(5, L'_');
  if (a & FILE_ATTRIBUTE_ARCHIVE) text[0] = L'a';
  if (a & FILE_ATTRIBUTE_SYSTEM) text[1] = L's';
  if (a & FILE_ATTRIBUTE_READONLY) text[2] = L'r';
  if (a & FILE_ATTRIBUTE_HIDDEN) text[3] = L'h';
  if (a & FILE_ATTRIBUTE_NORMAL) text[4] = L'c';
  return text;
}

namespace {
// Answers by name need no folder: a file name alone never runs into the path limits that a
// long path makes the shell fail on.
std::wstring NameOnly(const std::wstring& path) {
  const auto cut = path.find_last_of(L"\\/");
  return cut == std::wstring::npos ? path : path.substr(cut + 1);
}

bool IsOwnIconKey(const std::wstring& key) {
  return tk::SameText(key, L"EXE") || tk::SameText(key, L"ICO") || tk::SameText(key, L"LNK") ||
         tk::SameText(key, L"FOLDER");
}

void DrawIconCell(ItemDetails& d, tk::MemorySurface& plain, tk::MemorySurface* trans, int icon,
                  std::int32_t x, std::int32_t y) {
  if (!d.ImageList) return;
  ImageList_Draw(d.ImageList, icon, plain.Dc(), kIconCell * x, kIconCell * y, ILD_TRANSPARENT);
  if (trans)
    ImageList_Draw(d.ImageList, icon, trans->Dc(), kIconCell * x, kIconCell * y, ILD_TRANSPARENT);
}
}  // namespace

void ZenloFileControl::StoreExtension(std::wstring& FileExt) {
  if (FileExt.empty()) return;
  if (listedExtensionKeys_.insert(tk::UpperCase(FileExt)).second)
    listedExtensions_.push_back(FileExt);
}

void ZenloFileControl::GetFileInfo(std::wstring FilePath, std::wstring& FileType,
                                   std::int16_t& IconPalette, std::int16_t& X, std::int16_t& Y,
                                   std::wstring FileExt) {
  try {
    ItemDetails& d = *details_;
    std::wstring key;
    // Icon index of this very path when the type-name query below asked the shell; otherwise a
    // query for the icon alone is made, so no item ever shows another item's icon.
    std::optional<int> icon;
    if (tk::SameText(FileType, L"File Folder")) {
      key = L"FOLDER";
    } else if (FileExt.empty()) {
      FileType = L"File";
    } else {
      key = FileExt;
      if (const std::wstring* cached = d.TypeNameCache.Find(key)) {
        FileType = *cached;
      } else {
        // A program, icon or shortcut needs its own icon anyway: one query by path gives both.
        const bool own = IsOwnIconKey(key);
        ShellFileInfoAnswer a = own ? shell_->Query(FilePath, kShellTypeAndIcon)
                                    : shell_->Query(NameOnly(FilePath), kShellTypeByName);
        FileType = a.TypeName.substr(0, a.TypeName.find(L'\0'));
        if (FileType.empty()) FileType = FileExt + L" File";
        // A query that failed says nothing about the extension: the next file asks again.
        if (a.Ok) d.TypeNameCache.Add(key, FileType);
        if (a.ImageList) {
          d.ImageList = a.ImageList;
          icon = a.IconIndex;
        }
      }
    }

    auto askIcon = [&](UINT extra) -> std::optional<int> {
      ShellFileInfoAnswer a = shell_->Query(FilePath, kShellIconOnly | extra);
      if (!a.ImageList) return std::nullopt;
      d.ImageList = a.ImageList;
      return a.IconIndex;
    };

    if (IsOwnIconKey(key)) {
      IconPalette = 1;
      if ((d.OwnIconCount + 1) / kIconCellsPerRow >= d.IconCacheRows || !d.Own.Built()) {
        // The own-icon cache is full: the item gets the generic picture, and no answer that
        // would be thrown away is asked for.
        X = -1;
        Y = 0;
        return;
      }
      if (!icon) icon = askIcon(0);
      if (!icon) {
        X = -1;
        return;
      }
      ++d.OwnIconCount;
      const std::int32_t x = d.OwnIconCount % kIconCellsPerRow;
      const std::int32_t y = d.OwnIconCount / kIconCellsPerRow;
      X = static_cast<std::int16_t>(x);
      Y = static_cast<std::int16_t>(y);
      DrawIconCell(d, d.Own, &d.OwnTrans, *icon, x, y);
      return;
    }

    IconPalette = 0;
    if (const std::int32_t* cell = d.IconCellCache.Find(key)) {
      X = static_cast<std::int16_t>(*cell % kIconCellsPerRow);
      Y = static_cast<std::int16_t>(*cell / kIconCellsPerRow);
      return;
    }
    if (!icon) {
      ShellFileInfoAnswer a = shell_->Query(NameOnly(FilePath), kShellIconOnly | kShellByName);
      if (a.ImageList) {
        d.ImageList = a.ImageList;
        icon = a.IconIndex;
      }
    }
    const auto cell = static_cast<std::int32_t>(d.IconCellCache.Count());
    d.IconCellCache.Add(key, cell);
    X = static_cast<std::int16_t>(cell % kIconCellsPerRow);
    Y = static_cast<std::int16_t>(cell / kIconCellsPerRow);
    if (icon && d.Shared.Built()) DrawIconCell(d, d.Shared, &d.SharedTrans, *icon, X, Y);
  } catch (...) {
    // Details are decoration: a failure leaves the item without them.
  }
}

void ZenloFileControl::PlaceFileType(TypeListItem& item, std::wstring& extKey) {
  ItemDetails& d = *details_;
  if (!ShowFileIcons) {
    item.IconX = -1;
    item.SetTypeEntry(InternItemType(extKey, L""));
    StoreExtension(extKey);
    return;
  }
  auto settled = d.SettledTypes.find(extKey);
  if (settled != d.SettledTypes.end()) {
    ItemDetails::SettledType& known = settled->second;
    item.SetTypeEntry(known.Entry);
    item.IconPalette = 0;
    item.IconX = static_cast<std::int16_t>(known.Cell % kIconCellsPerRow);
    item.IconY = static_cast<std::int16_t>(known.Cell / kIconCellsPerRow);
    if (known.ListedInRead != d.ListingRead) {
      known.ListedInRead = d.ListingRead;
      StoreExtension(extKey);
    }
    return;
  }
  StoreExtension(extKey);
  std::wstring type;
  GetFileInfo(item.FullPath, type, item.IconPalette, item.IconX, item.IconY, extKey);
  const ItemTypeEntry* entry = InternItemType(extKey, type);
  item.SetTypeEntry(entry);
  // Once the shell has answered for the extension, its files cost one look-up each.
  if (IsOwnIconKey(extKey) || (!extKey.empty() && !d.TypeNameCache.Contains(extKey))) return;
  if (const std::int32_t* cell = d.IconCellCache.Find(extKey))
    d.SettledTypes.emplace(extKey, ItemDetails::SettledType{entry, *cell, d.ListingRead});
}

void ZenloFileControl::PlaceFolderPicture(TypeListItem& item) {
  if (!ShowFolderIcons) {
    item.IconX = -1;
    return;
  }
  // Only a folder the shell may give a picture of its own (read-only or system, with a
  // desktop.ini inside) is asked about by path; every other folder shares one picture.
  const std::uint32_t a = item.Attributes();
  if (a & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM)) {
    const std::wstring ini = LongPathForm(AddTrailingBackslash(item.RealPath()) + L"desktop.ini");
    const DWORD iniAttributes = GetFileAttributesW(ini.c_str());
    if (iniAttributes != INVALID_FILE_ATTRIBUTES && !(iniAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      std::wstring type = L"File Folder";
      GetFileInfo(item.RealPath(), type, item.IconPalette, item.IconX, item.IconY, L"");
      return;
    }
  }
  try {
    ItemDetails& d = *details_;
    item.IconPalette = 0;
    std::int32_t cell = 0;
    if (const std::int32_t* known = d.IconCellCache.Find(kFolderPictureKey)) {
      cell = *known;
    } else {
      ShellFileInfoAnswer a =
          shell_->Query(L"folder", kShellIconOnly | kShellByName | kShellAsFolder);
      // No picture from the shell: folders show the library's own folder picture, and the
      // shell is not asked again for every folder.
      cell = a.ImageList ? static_cast<std::int32_t>(d.IconCellCache.Count()) : -1;
      d.IconCellCache.Add(kFolderPictureKey, cell);
      if (a.ImageList) {
        d.ImageList = a.ImageList;
        if (d.Shared.Built())
          DrawIconCell(d, d.Shared, &d.SharedTrans, a.IconIndex, cell % kIconCellsPerRow,
                       cell / kIconCellsPerRow);
      }
    }
    if (cell < 0) {
      item.IconX = -1;
      return;
    }
    item.IconX = static_cast<std::int16_t>(cell % kIconCellsPerRow);
    item.IconY = static_cast<std::int16_t>(cell / kIconCellsPerRow);
  } catch (...) {
    item.IconX = -1;  // details are decoration
  }
}

void ZenloFileControl::GetIconPos(std::wstring& path, std::wstring& ext, std::int16_t& X,
                                  std::int16_t& Y) {
  try {
    ItemDetails& d = *details_;
    if (const std::int32_t* cell = d.IconCellCache.Find(ext)) {
      X = static_cast<std::int16_t>(*cell % kIconCellsPerRow);
      Y = static_cast<std::int16_t>(*cell / kIconCellsPerRow);
      return;
    }
    auto unc = path.find(L"\\\\");
    ShellFileInfoAnswer a =
        shell_->Query(unc == std::wstring::npos ? path : path.substr(unc), kShellTypeAndIcon);
    if (a.ImageList) d.ImageList = a.ImageList;
    const auto cell = static_cast<std::int32_t>(d.IconCellCache.Count());
    d.IconCellCache.Add(ext, cell);
    X = static_cast<std::int16_t>(cell % kIconCellsPerRow);
    Y = static_cast<std::int16_t>(cell / kIconCellsPerRow);
    if (a.ImageList && d.Shared.Built()) DrawIconCell(d, d.Shared, nullptr, a.IconIndex, X, Y);
  } catch (...) {
  }
}

}  // namespace zenlo
