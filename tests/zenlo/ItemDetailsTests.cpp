#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "listing/model/ItemDetails.h"
#include "listing/model/ShellFileInfo.h"
#include "support/ControlFixture.h"
#include "support/ListingLookup.h"
#include "support/TempFolder.h"
#include "toolkit/Gdi.h"
#include "zenlo/ZenloFileControl.h"

namespace {

using testsupport::TempFolder;
using testsupport::FindItem;
using zenlo::TypeListItem;
using zenlo::ZenloFileControl;

constexpr COLORREF kKeyColour = RGB(253, 254, 255);
constexpr COLORREF kListWhite = RGB(255, 255, 255);

using Control = testsupport::ControlHolder;

// The real shell, with every query logged; `adjust` may rewrite an answer before the control
// sees it.
class CountingShell final : public zenlo::ShellFileInfo {
 public:
  struct Call {
    std::wstring Path;
    UINT Flags;
  };

  zenlo::ShellFileInfoAnswer Query(const std::wstring& path, UINT flags) override {
    Calls.push_back({path, flags});
    zenlo::ShellFileInfoAnswer a = real_->Query(path, flags);
    if (Adjust) Adjust(path, a);
    return a;
  }

  // Queries for paths ending in suffix whose flags include all of mustHave.
  int CountEndingWith(const std::wstring& suffix, UINT mustHave = 0) const {
    return static_cast<int>(std::count_if(Calls.begin(), Calls.end(), [&](const Call& c) {
      return (c.Flags & mustHave) == mustHave && c.Path.size() >= suffix.size() &&
             _wcsicmp(c.Path.c_str() + c.Path.size() - suffix.size(), suffix.c_str()) == 0;
    }));
  }
  int TypeNameQueries() const {
    return static_cast<int>(std::count_if(Calls.begin(), Calls.end(), [](const Call& c) {
      return (c.Flags & SHGFI_TYPENAME) != 0;
    }));
  }

  std::vector<Call> Calls;
  std::function<void(const std::wstring&, zenlo::ShellFileInfoAnswer&)> Adjust;

 private:
  std::shared_ptr<zenlo::ShellFileInfo> real_ = zenlo::MakeShellFileInfo();
};

std::vector<COLORREF> CellPixels(HDC dc, int x, int y) {
  std::vector<COLORREF> px;
  for (int j = 0; j < 16; ++j)
    for (int i = 0; i < 16; ++i) px.push_back(GetPixel(dc, 16 * x + i, 16 * y + j));
  return px;
}

int CellNumber(const TypeListItem& item) { return item.IconY * 10 + item.IconX; }

// ---- Type names ----

// Type names from a table whose answers are known; icons come from the real shell. An
// extension listed in Failing gets a failed answer, as the shell gives for a path it cannot take.
class TableShell final : public zenlo::ShellFileInfo {
 public:
  zenlo::ShellFileInfoAnswer Query(const std::wstring& path, UINT flags) override {
    zenlo::ShellFileInfoAnswer a = real_->Query(path, flags | zenlo::kShellByName);
    if (!(flags & SHGFI_TYPENAME)) return a;
    const auto dot = path.rfind(L'.');
    std::wstring ext = dot == std::wstring::npos ? L"" : path.substr(dot + 1);
    for (auto& ch : ext) ch = static_cast<wchar_t>(towupper(ch));
    ++TypeQueries[ext];
    a.Ok = !Failing.count(ext);
    a.TypeName = a.Ok && Names.count(ext) ? Names[ext] : L"";
    return a;
  }
  std::map<std::wstring, std::wstring> Names;
  std::set<std::wstring> Failing;
  std::map<std::wstring, int> TypeQueries;

 private:
  std::shared_ptr<zenlo::ShellFileInfo> real_ = zenlo::MakeShellFileInfo();
};

TEST(ItemTypeNames, ShellNameOrFallbackAndOnlyAnsweredQueriesAreKept) {
  TempFolder dir;
  struct Case {
    const wchar_t* Name;
    const wchar_t* Expected;
  } cases[] = {
      {L"notes.txt", L"Text Document"},
      {L"archive.ZIP", L"Compressed Archive"},  // the key is the upper-cased extension
      {L"data.xyz", L"XYZ File"},               // answered, but with no name
      {L"Mixed.Qqq", L"QQQ File"},              // the query failed
      {L"README", L"File"},                     // no extension: never asked
  };
  for (const auto& tc : cases) dir.File(tc.Name, 10);
  dir.Folder(L"sub");
  auto shell = std::make_shared<TableShell>();
  shell->Names = {{L"TXT", L"Text Document"}, {L"ZIP", L"Compressed Archive"}, {L"QQQ", L"Queue"}};
  shell->Failing = {L"QQQ"};
  Control ctl;
  ctl->SetShellFileInfo(shell);
  ASSERT_TRUE(ctl->GetFolderContents(dir.Path(), true));
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.Name);
    const TypeListItem* item = FindItem(*ctl, tc.Name);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->FileType(), tc.Expected);
    EXPECT_EQ(item->IconPalette, 0) << "a shared-cache icon";
  }
  EXPECT_EQ(shell->TypeQueries.count(L""), 0u) << "no type-name query for README";
  const TypeListItem* sub = FindItem(*ctl, L"sub");
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(sub->FileType(), L"File Folder");
  EXPECT_EQ(sub->IconPalette, 0) << "a plain folder shows the shared folder picture";

  // Answers are kept for the control's life; a failed one is asked again, and its later
  // answer is shown.
  shell->TypeQueries.clear();
  shell->Failing.clear();
  ASSERT_TRUE(ctl->GetFolderContents(dir.Path(), true));
  EXPECT_EQ(shell->TypeQueries, (std::map<std::wstring, int>{{L"QQQ", 1}}));
  EXPECT_EQ(FindItem(*ctl, L"Mixed.Qqq")->FileType(), L"Queue");
  EXPECT_EQ(FindItem(*ctl, L"data.xyz")->FileType(), L"XYZ File");
}

TEST(ItemTypeNames, AFileOnAVeryLongPathDoesNotSpoilItsExtension) {
  TempFolder dir;
  const std::wstring deep = dir.DeepRelative(330);
  const std::wstring longFile = dir.File(deep + L"far.txt", 1);
  ASSERT_GT(longFile.size(), 334u);
  dir.File(L"near.txt", 1);
  Control ctl;
  ASSERT_TRUE(ctl->GetFolderContents(dir.Path() + deep, true));
  const std::wstring farType = FindItem(*ctl, L"far.txt")->FileType();
  ASSERT_TRUE(ctl->GetFolderContents(dir.Path(), true));
  const std::wstring nearType = FindItem(*ctl, L"near.txt")->FileType();
  EXPECT_NE(farType, L"File");
  EXPECT_NE(nearType, L"File");
  EXPECT_EQ(farType, nearType) << "one extension, one type name";
}

TEST(ItemTypeNames, CacheOutlivesTheReadSoARereadAsksTheShellNothing) {
  TempFolder dir;
  dir.File(L"a.txt", 1);
  dir.File(L"b.xyz", 1);
  dir.File(L"c.zip", 1);
  auto shell = std::make_shared<CountingShell>();
  Control ctl;
  ctl->SetShellFileInfo(shell);
  ASSERT_TRUE(ctl->GetFolderContents(dir.Path(), true));
  EXPECT_EQ(shell->TypeNameQueries(), 3);
  const std::wstring xyzName = FindItem(*ctl, L"b.xyz")->FileType();
  shell->Calls.clear();

  ASSERT_TRUE(ctl->GetFolderContents(dir.Path(), true));
  EXPECT_EQ(shell->Calls.size(), 0u) << "type names and shared icons are both kept per extension";
  EXPECT_EQ(FindItem(*ctl, L"b.xyz")->FileType(), xyzName);
}

TEST(ItemTypeNames, TreeReadDropsSharedCellsButKeepsTypeNames) {
  TempFolder dir;
  dir.File(L"a.txt", 1);
  auto shell = std::make_shared<CountingShell>();
  Control ctl;
  ctl->SetShellFileInfo(shell);
  ASSERT_TRUE(ctl->GetFolderContents(dir.Path(), true));
  const std::wstring typeName = FindItem(*ctl, L"a.txt")->FileType();

  ctl->ltFolderListType = zenlo::fbFolder;
  ASSERT_TRUE(ctl->GetFolderContents(dir.Path(), true));
  ctl->ltFolderListType = zenlo::fbFileAndFolder;
  shell->Calls.clear();
  ASSERT_TRUE(ctl->GetFolderContents(dir.Path(), true));

  // The cell was released with the tree read: one query for the icon alone, none for the name.
  ASSERT_EQ(shell->Calls.size(), 1u);
  EXPECT_EQ(shell->Calls[0].Flags & SHGFI_TYPENAME, 0u);
  EXPECT_EQ(FindItem(*ctl, L"a.txt")->FileType(), typeName);
  const TypeListItem* txt = FindItem(*ctl, L"a.txt");
  EXPECT_EQ(txt->IconPalette, 0);
  EXPECT_NE(CellPixels(ctl->IconSurface(false, false), txt->IconX, txt->IconY),
            std::vector<COLORREF>(256, kKeyColour))
      << "the icon is drawn again into its cell";
}

// ---- Shared icon cache ----

TEST(ItemSharedIcons, SameExtensionSharesOneDrawnCellAndOneQuery) {
  TempFolder dir;
  dir.File(L"one.txt", 5);
  dir.File(L"two.TXT", 7);
  dir.File(L"three.xyz", 7);
  auto shell = std::make_shared<CountingShell>();
  Control ctl;
  ctl->SetShellFileInfo(shell);
  ASSERT_TRUE(ctl->GetFolderContents(dir.Path(), true));

  const TypeListItem* one = FindItem(*ctl, L"one.txt");
  const TypeListItem* two = FindItem(*ctl, L"two.TXT");
  const TypeListItem* three = FindItem(*ctl, L"three.xyz");
  ASSERT_TRUE(one && two && three);
  EXPECT_EQ(one->IconPalette, 0);
  EXPECT_EQ(two->IconPalette, 0);
  EXPECT_EQ(one->IconX, two->IconX);
  EXPECT_EQ(one->IconY, two->IconY);
  EXPECT_NE(CellNumber(*one), CellNumber(*three));
  EXPECT_EQ(shell->CountEndingWith(L".txt"), 1) << "the second text file costs no query";

  // Plain surface: the icon on the key colour; background surface: the same icon on the
  // list's white wherever the icon lets the background through.
  const auto plain = CellPixels(ctl->IconSurface(false, false), one->IconX, one->IconY);
  const auto onWhite = CellPixels(ctl->IconSurface(false, true), one->IconX, one->IconY);
  int keyPixels = 0, iconPixels = 0;
  for (std::size_t i = 0; i < plain.size(); ++i) {
    if (plain[i] == kKeyColour) {
      ++keyPixels;
      EXPECT_EQ(onWhite[i], kListWhite) << "pixel " << i;
    } else {
      ++iconPixels;
    }
    EXPECT_NE(onWhite[i], kKeyColour) << "pixel " << i;
  }
  EXPECT_GT(iconPixels, 0) << "the icon is drawn";
  EXPECT_GT(keyPixels, 0) << "the icon has transparent parts";
  EXPECT_TRUE(std::any_of(onWhite.begin(), onWhite.end(),
                          [](COLORREF c) { return c != kListWhite; }));
}

// ---- Own icons ----

TEST(ItemOwnIcons, ProgramsGetConsecutiveCellsEachWithItsOwnIcon) {
  TempFolder dir;
  dir.File(L"a.exe", 64);
  dir.File(L"b.exe", 64);
  TempFolder refs;
  const std::wstring txt = refs.File(L"ref.txt", 1);
  const std::wstring folder = refs.Folder(L"ref");

  // Give each program a clearly different icon: a.exe the text icon, b.exe the folder icon.
  auto shell = std::make_shared<CountingShell>();
  const auto txtIcon = shell->Query(txt, zenlo::kShellIconOnly);
  const auto folderIcon = shell->Query(folder, zenlo::kShellIconOnly);
  ASSERT_TRUE(txtIcon.ImageList);
  ASSERT_NE(txtIcon.IconIndex, folderIcon.IconIndex);
  shell->Adjust = [&](const std::wstring& path, zenlo::ShellFileInfoAnswer& a) {
    if (path.ends_with(L"a.exe")) a.IconIndex = txtIcon.IconIndex;
    if (path.ends_with(L"b.exe")) a.IconIndex = folderIcon.IconIndex;
  };
  shell->Calls.clear();

  Control ctl;
  ctl->SetShellFileInfo(shell);
  for (int read = 0; read < 2; ++read) {
    SCOPED_TRACE(read == 0 ? "first read" : "re-read");
    ASSERT_TRUE(ctl->GetFolderContents(dir.Path(), true));
    const TypeListItem* a = FindItem(*ctl, L"a.exe");
    const TypeListItem* b = FindItem(*ctl, L"b.exe");
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->IconPalette, 1);
    EXPECT_EQ(b->IconPalette, 1);
    // Cells 0 and 1 in read order; every read starts the own-icon cache afresh.
    EXPECT_EQ((std::set<int>{CellNumber(*a), CellNumber(*b)}), (std::set<int>{0, 1}));

    // Each cell holds the icon the shell gave for that very file.
    tk::MemorySurface expected;
    ASSERT_TRUE(expected.Create(32, 16, kKeyColour));
    ImageList_Draw(txtIcon.ImageList, txtIcon.IconIndex, expected.Dc(), 0, 0, ILD_TRANSPARENT);
    ImageList_Draw(txtIcon.ImageList, folderIcon.IconIndex, expected.Dc(), 16, 0,
                   ILD_TRANSPARENT);
    ASSERT_NE(CellPixels(expected.Dc(), 0, 0), CellPixels(expected.Dc(), 1, 0));
    HDC own = ctl->IconSurface(true, false);
    EXPECT_EQ(CellPixels(own, a->IconX, a->IconY), CellPixels(expected.Dc(), 0, 0));
    EXPECT_EQ(CellPixels(own, b->IconX, b->IconY), CellPixels(expected.Dc(), 1, 0));
  }
  EXPECT_EQ(shell->CountEndingWith(L"a.exe"), 2) << "one query per program per read";
  EXPECT_EQ(shell->CountEndingWith(L"b.exe"), 2);
}

TEST(ItemOwnIcons, FullCacheGivesLaterItemsTheGenericPictureWithoutAsking) {
  constexpr int kPrograms = 305;
  TempFolder dir;
  for (int i = 0; i < kPrograms; ++i) dir.File(L"p" + std::to_wstring(i) + L".exe", 1);

  auto shell = std::make_shared<CountingShell>();
  Control ctl;
  ctl->SetShellFileInfo(shell);
  ASSERT_TRUE(ctl->GetFolderContents(dir.Path(), true));
  ASSERT_EQ(ctl->ItemCount(), kPrograms);

  std::map<int, int> cellUse;
  std::vector<std::wstring> generic;
  for (std::int32_t i = 0; i < ctl->ItemCount(); ++i) {
    const TypeListItem& item = ctl->ListItems()[static_cast<std::size_t>(i)];
    EXPECT_EQ(item.IconPalette, 1);
    if (item.IconX == -1)
      generic.push_back(item.Name);
    else
      ++cellUse[CellNumber(item)];
  }
  // 30 rows of 10 cells: the first 300 programs fill them once each, the other five get none.
  EXPECT_EQ(generic.size(), static_cast<std::size_t>(kPrograms - 300));
  ASSERT_EQ(cellUse.size(), 300u);
  EXPECT_EQ(cellUse.begin()->first, 0);
  EXPECT_EQ(cellUse.rbegin()->first, 299);
  for (const auto& [cell, uses] : cellUse) EXPECT_EQ(uses, 1) << "cell " << cell;
  EXPECT_NE(CellPixels(ctl->IconSurface(true, false), 9, 29),
            std::vector<COLORREF>(256, kKeyColour))
      << "the last cell is drawn";
  // An answer that could not be shown is not asked for.
  for (const auto& name : generic) EXPECT_EQ(shell->CountEndingWith(L"\\" + name), 0) << name;
}

TEST(ItemOwnIcons, ShellWithoutImageListLeavesOwnIconsBlankAndSharedCellsUndrawn) {
  TempFolder dir;
  dir.File(L"tool.exe", 8);
  dir.File(L"page.txt", 8);
  dir.Folder(L"box1");
  dir.Folder(L"box2");
  auto shell = std::make_shared<CountingShell>();
  shell->Adjust = [](const std::wstring&, zenlo::ShellFileInfoAnswer& a) {
    a.Ok = false;
    a.ImageList = nullptr;
  };
  Control ctl;
  ctl->SetShellFileInfo(shell);
  ASSERT_TRUE(ctl->GetFolderContents(dir.Path(), true));
  const TypeListItem* tool = FindItem(*ctl, L"tool.exe");
  const TypeListItem* page = FindItem(*ctl, L"page.txt");
  ASSERT_TRUE(tool && page);
  EXPECT_EQ(tool->IconPalette, 1);
  EXPECT_EQ(tool->IconX, -1);
  EXPECT_EQ(page->IconPalette, 0);
  ASSERT_GE(page->IconX, 0) << "the extension still gets its cell";
  EXPECT_EQ(CellPixels(ctl->IconSurface(false, false), page->IconX, page->IconY),
            std::vector<COLORREF>(256, kKeyColour));
  // Folders fall back to the library's folder picture; the shell is asked once for them all.
  for (const wchar_t* name : {L"box1", L"box2"}) {
    const TypeListItem* box = FindItem(*ctl, name);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->IconX, -1) << "no blank cell";
  }
  EXPECT_EQ(std::count_if(shell->Calls.begin(), shell->Calls.end(),
                          [](const CountingShell::Call& c) { return (c.Flags & zenlo::kShellAsFolder) != 0; }),
            1);
  EXPECT_TRUE(ctl.host.Messages().empty());
}

// ---- Folder pictures ----

// The pixels the shell's small icon for this path draws in a cell.
std::vector<COLORREF> ShellIconPixels(const std::wstring& path) {
  auto shell = zenlo::MakeShellFileInfo();
  const auto a = shell->Query(path, zenlo::kShellIconOnly);
  tk::MemorySurface cell;
  if (!a.ImageList || !cell.Create(16, 16, kKeyColour)) return {};
  ImageList_Draw(a.ImageList, a.IconIndex, cell.Dc(), 0, 0, ILD_TRANSPARENT);
  return CellPixels(cell.Dc(), 0, 0);
}

TEST(ItemFolderPictures, PlainFoldersShareOnePictureAskedForOnceByAttributes) {
  TempFolder dir;
  for (int i = 0; i < 4; ++i) dir.Folder(L"plain" + std::to_wstring(i));
  TempFolder refs;
  const std::vector<COLORREF> folderIcon = ShellIconPixels(refs.Folder(L"ref"));
  ASSERT_FALSE(folderIcon.empty());

  auto shell = std::make_shared<CountingShell>();
  Control ctl;
  ctl->SetShellFileInfo(shell);
  for (int read = 0; read < 2; ++read) {
    SCOPED_TRACE(read == 0 ? "first read" : "re-read");
    shell->Calls.clear();
    ASSERT_TRUE(ctl->GetFolderContents(dir.Path(), true));
    ASSERT_EQ(ctl->ItemCount(), 4);
    std::set<int> cells;
    for (std::int32_t i = 0; i < ctl->ItemCount(); ++i) {
      const TypeListItem& item = ctl->ListItems()[static_cast<std::size_t>(i)];
      EXPECT_EQ(item.IconPalette, 0) << "the shared cache";
      EXPECT_NE(item.IconX, -1);
      cells.insert(CellNumber(item));
    }
    ASSERT_EQ(cells.size(), 1u) << "one picture for every plain folder";
    const int cell = *cells.begin();
    EXPECT_EQ(CellPixels(ctl->IconSurface(false, false), cell % 10, cell / 10), folderIcon);
    // One query by attributes, none by any folder's path; the re-read keeps the cell.
    ASSERT_EQ(shell->Calls.size(), read == 0 ? 1u : 0u);
    if (read == 0) {
      EXPECT_NE(shell->Calls[0].Flags & zenlo::kShellByName, 0u);
      EXPECT_EQ(shell->Calls[0].Path.find(dir.Path()), std::wstring::npos);
    }
  }
}

TEST(ItemFolderPictures, OnlyAFolderThatCanCarryItsOwnIconIsAskedForByPath) {
  const struct {
    const wchar_t* Name;
    DWORD Attributes;
    bool Ini;
    bool Own;
  } cases[] = {
      // Wine keeps no read-only attribute on a folder; the system attribute takes the same road.
      {L"system-ini", FILE_ATTRIBUTE_SYSTEM, true, true},
      {L"system-ini-2", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY, true, true},
      {L"system-bare", FILE_ATTRIBUTE_SYSTEM, false, false},
      {L"plain-ini", 0, true, false},
  };
  TempFolder dir;
  for (const auto& tc : cases) {
    const std::wstring path = dir.Folder(tc.Name);
    if (tc.Ini) {
      // A desktop.ini that names an icon, as the shell's custom-folder dialog writes it.
      HANDLE h = CreateFileW((path + L"\\desktop.ini").c_str(), GENERIC_WRITE, 0, nullptr,
                             CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
      ASSERT_NE(h, INVALID_HANDLE_VALUE);
      const char ini[] =
          "[.ShellClassInfo]\r\nIconResource=C:\\windows\\system32\\shell32.dll,4\r\n";
      DWORD written = 0;
      WriteFile(h, ini, sizeof ini - 1, &written, nullptr);
      CloseHandle(h);
    }
    if (tc.Attributes) {
      ASSERT_TRUE(SetFileAttributesW(path.c_str(), tc.Attributes));
      // Precondition: the platform keeps the attribute on a folder.
      ASSERT_NE(GetFileAttributesW(path.c_str()) & tc.Attributes, 0u) << "set on " << tc.Name;
    }
  }

  auto shell = std::make_shared<CountingShell>();
  Control ctl;
  ctl->ShowSystemItems = true;
  ctl->SetShellFileInfo(shell);
  ASSERT_TRUE(ctl->GetFolderContents(dir.Path(), true));
  int ownCell = 0;
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.Name);
    const TypeListItem* item = FindItem(*ctl, tc.Name);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(shell->CountEndingWith(std::wstring(L"\\") + tc.Name), tc.Own ? 1 : 0);
    EXPECT_EQ(item->IconPalette, tc.Own ? 1 : 0);
    ASSERT_NE(item->IconX, -1);
    if (tc.Own) {
      // Its own cell, holding the picture the shell gives for that very folder.
      EXPECT_EQ(CellNumber(*item), ownCell++);
      EXPECT_EQ(CellPixels(ctl->IconSurface(true, false), item->IconX, item->IconY),
                ShellIconPixels(dir.Path() + tc.Name));
    }
  }
}

// ---- Attributes and dates ----

struct AttributeCase {
  const wchar_t* Name;
  bool Folder;
  DWORD Attributes;
  const wchar_t* Letters;
};

TEST(ItemAttributes, FiveLettersFromRealFilesAndFolders) {
  // This platform marks every file archived and never reports the normal bit, so files carry
  // the archive bit here and the normal bit is checked on the letters alone below.
  const AttributeCase cases[] = {
      {L"archive-readonly.txt", false, FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY,
       L"a_r__"},
      {L"hidden.txt", false, FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN, L"a__h_"},
      {L"system.txt", false, FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_SYSTEM, L"as___"},
      {L"all.txt", false,
       FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY |
           FILE_ATTRIBUTE_HIDDEN,
       L"asrh_"},
      {L"plain-folder", true, FILE_ATTRIBUTE_DIRECTORY, L"_____"},
      {L"hidden-folder", true, FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN, L"___h_"},
  };
  TempFolder dir;
  for (const auto& tc : cases) {
    const std::wstring path = tc.Folder ? dir.Folder(tc.Name) : dir.File(tc.Name, 1);
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), tc.Attributes));
  }

  Control ctl;
  ctl->ShowHiddenItems = true;
  ctl->ShowSystemItems = true;
  ASSERT_TRUE(ctl->GetFolderContents(dir.Path(), true));
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.Name);
    // Precondition: the platform keeps what was set.
    const DWORD onDisk = GetFileAttributesW((dir.Path() + tc.Name).c_str());
    ASSERT_EQ(onDisk & 0xB7, tc.Attributes & 0xB7) << std::hex << onDisk;
    const TypeListItem* item = FindItem(*ctl, tc.Name);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->AttributesText(), tc.Letters);
  }
}

TEST(ItemAttributes, LettersLookAtFiveBitsOnly) {
  const std::pair<DWORD, const wchar_t*> cases[] = {
      {0, L"_____"},
      {FILE_ATTRIBUTE_NORMAL, L"____c"},
      {FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_READONLY, L"__r_c"},
      {FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_COMPRESSED | FILE_ATTRIBUTE_OFFLINE, L"_____"},
      {0xFFFFFFFFu, L"asrhc"},
  };
  for (const auto& [attributes, letters] : cases)
    EXPECT_EQ(zenlo::FormatAttributeLetters(attributes), letters) << std::hex << attributes;
}

TEST(ItemDates, LastWriteTimeInLocalTimeAsYearMonthDayTwoBlanksHourMinute) {
  TempFolder dir;
  const std::wstring file = dir.File(L"dated.txt", 3);
  const std::wstring folder = dir.Folder(L"dated");
  testsupport::SetLastWriteLocal(file, 2023, 4, 5, 7, 8);
  testsupport::SetLastWriteLocal(folder, 1999, 12, 31, 23, 59);

  Control ctl;
  ASSERT_TRUE(ctl->GetFolderContents(dir.Path(), true));
  ASSERT_NE(FindItem(*ctl, L"dated.txt"), nullptr);
  ASSERT_NE(FindItem(*ctl, L"dated"), nullptr);
  EXPECT_EQ(FindItem(*ctl, L"dated.txt")->DateLastModified(), L"2023-04-05  07:08");
  EXPECT_EQ(FindItem(*ctl, L"dated")->DateLastModified(), L"1999-12-31  23:59");
}

}  // namespace
