#include "listing/view/LibraryPictures.h"

#include "library/LibraryModule.h"
#include "toolkit/Text.h"

namespace zenlo {

namespace {
const wchar_t* const kPictureNames[ListPictures::kCount] = {
    L"FOLDERCLOSEDBMP2", L"FILEGENERICBMP", L"NETWORKWORKGROUPBMP", L"NETWORKCOMPUTERBMP",
    L"NETWORKMWNBMP",    L"FOLDERPLUSBMP",  L"FOLDERMINUSBMP"};
const wchar_t* const kToolbarKeys[] = {L"upfolder", L"newfolder", L"showfolders", L"refresh",
                                       L"headings", L"calculate", L"collapse",    L"mimic",
                                       L"list_details", L"list_brief"};

HBITMAP LoadPicture(const std::wstring& name) {
  return static_cast<HBITMAP>(
      LoadImageW(LibraryModule(), name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}
}  // namespace

const ListPictures& ListPictures::Shared() {
  // Made on the user-interface thread at the first draw or toolbar; gone with the library.
  static const ListPictures pictures;
  return pictures;
}

ListPictures::ListPictures() {
  for (std::size_t i = 0; i < bitmaps_.size(); ++i) bitmaps_[i].Reset(LoadPicture(kPictureNames[i]));
  if (!toolbar_.Create(16, 16)) return;
  for (const wchar_t* key : kToolbarKeys) {
    tk::Bitmap picture(LoadPicture(L"TB_" + tk::UpperCase(key)));
    if (picture) toolbar_.Add(key, picture.Get(), RGB(0, 255, 0));
  }
}

}  // namespace zenlo
