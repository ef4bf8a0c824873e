// Reading real folders into the item array: fields, order, counts, visibility rules and the
// properties pass.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "listing/model/FilePropertyStore.h"
#include "support/ControlFixture.h"
#include "support/TempFolder.h"
#include "toolkit/Error.h"

using namespace zenlo;
using testsupport::ControlHolder;
using testsupport::TempFolder;

namespace {

const TypeListItem* FindItem(const ZenloFileControl& c, const std::wstring& name) {
  for (std::int32_t i = 0; i < c.ItemCount(); ++i)
    if (c.ListItems()[static_cast<std::size_t>(i)].Name == name)
      return &c.ListItems()[static_cast<std::size_t>(i)];
  return nullptr;
}

std::vector<std::wstring> Names(const ZenloFileControl& c) {
  std::vector<std::wstring> names;
  for (std::int32_t i = 0; i < c.ItemCount(); ++i)
    names.push_back(c.ListItems()[static_cast<std::size_t>(i)].Name);
  return names;
}

TEST(FolderReading, ListingFillsEveryFieldAndPutsFoldersFirst) {
  TempFolder dir;
  dir.File(L"archive.tar.gz", 5);
  dir.File(L"README", 0);
  dir.File(L"notes.txt", 1234);
  dir.Folder(L"My Files");
  ControlHolder c;
  ASSERT_TRUE(c->GetFolderContents(dir.Path(), true));

  ASSERT_EQ(c->ItemCount(), 4);
  EXPECT_EQ(c->ListItems()[0].Name, L"My Files");  // the one folder comes first
  EXPECT_EQ(c->FoldersShown(), 1);
  EXPECT_EQ(c->FilesShown(), 3);
  EXPECT_EQ(c->LastShownItem(), 3);
  EXPECT_EQ(c->currentFolder(), dir.Path());

  const TypeListItem* folder = FindItem(*c, L"My Files");
  ASSERT_NE(folder, nullptr);
  EXPECT_EQ(folder->ItemType, sFolder);
  EXPECT_EQ(folder->FullPath, dir.Path() + L"My Files");
  EXPECT_EQ(folder->RealPath, dir.Path() + L"My Files");
  std::wstring key = dir.Path() + L"MY_FILES";
  std::transform(key.begin(), key.end(), key.begin(), ::towupper);
  std::replace(key.begin(), key.end(), L' ', L'_');
  EXPECT_EQ(folder->NameKey, key);
  EXPECT_EQ(folder->SizeText, L"--");
  EXPECT_EQ(folder->Extension, L"dir");
  EXPECT_EQ(folder->FileType, L"File Folder");
  EXPECT_EQ(folder->Level, 1);
  EXPECT_EQ(folder->IndentX, 450);
  EXPECT_EQ(folder->RowTop, -1);
  EXPECT_EQ(folder->Selected, -1);

  struct Expect {
    const wchar_t* name;
    const wchar_t* ext;
    const wchar_t* extKey;
    const wchar_t* size;
  } files[] = {
      {L"archive.tar.gz", L"gz", L"GZ", L"5"},
      {L"README", L"", L"", L"0"},
      {L"notes.txt", L"txt", L"TXT", L"1,234"},
  };
  for (const auto& f : files) {
    const TypeListItem* item = FindItem(*c, f.name);
    ASSERT_NE(item, nullptr) << f.name;
    EXPECT_EQ(item->ItemType, sFile) << f.name;
    EXPECT_EQ(item->Extension, f.ext) << f.name;
    EXPECT_EQ(item->ExtKey, f.extKey) << f.name;
    EXPECT_EQ(item->SizeText, f.size) << f.name;
    EXPECT_EQ(item->FullPath, dir.Path() + f.name) << f.name;
    EXPECT_EQ(item->RealPath, item->FullPath) << f.name;
    EXPECT_TRUE(item->NameKey.empty()) << f.name;
    EXPECT_EQ(item->Level, 1) << f.name;
    EXPECT_EQ(item->DateLastModified.size(), 17u) << f.name;
    EXPECT_EQ(item->AttributesText.size(), 5u) << f.name;
  }
  EXPECT_EQ(FindItem(*c, L"README")->FileType, L"File");

  // The filter box offers "All" and the extensions met, lower case, sorted.
  EXPECT_EQ(c->FilterEntries(), (std::vector<std::wstring>{L"All", L"gz", L"txt"}));
  EXPECT_EQ(c->FolderCountText(), L"1 Folder");
  EXPECT_EQ(c->FileCountText(), L"3 Files");
}

TEST(FolderReading, EmptyFolderGivesNoItemsInAListingAndTheRootInATree) {
  TempFolder dir;
  ControlHolder listing;
  ASSERT_TRUE(listing->GetFolderContents(dir.Path(), true));
  EXPECT_EQ(listing->ItemCount(), 0);
  EXPECT_EQ(listing->ListItems().size(), 1u);  // the placeholder record, which is no item
  EXPECT_EQ(listing->FoldersShown(), 0);
  EXPECT_EQ(listing->FilesShown(), 0);
  EXPECT_EQ(listing->FilterEntries(), std::vector<std::wstring>{L"All"});
  EXPECT_EQ(listing->FileCountText(), L"0 Files");

  ControlHolder tree(fbFolder);
  ASSERT_TRUE(tree->GetFolderContents(dir.Path(), true));
  ASSERT_EQ(tree->ItemCount(), 1);
  EXPECT_EQ(tree->ListItems()[0].FullPath, dir.Path());
  EXPECT_EQ(tree->ListItems()[0].ItemType, sFolder);
  EXPECT_EQ(tree->ListItems()[0].IndentX, 450 - 150);
}

TEST(FolderReading, NamesAreKeptAsWrittenWhateverTheirCharacters) {
  TempFolder dir;
  dir.Folder(L" data");  // a leading blank is part of the name
  dir.File(L"\u6587\u4ef6.txt");
  dir.File(L"\u03b5\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac.txt");
  dir.File(L"\u00fcml\u00e4ut.txt");
  ControlHolder c;
  ASSERT_TRUE(c->GetFolderContents(dir.Path(), true));
  ASSERT_EQ(c->ItemCount(), 4);
  const TypeListItem* blank = FindItem(*c, L" data");
  ASSERT_NE(blank, nullptr);
  EXPECT_EQ(blank->FullPath, dir.Path() + L" data");
  for (std::int32_t i = 0; i < c->ItemCount(); ++i) {
    const auto& item = c->ListItems()[static_cast<std::size_t>(i)];
    EXPECT_NE(GetFileAttributesW(item.RealPath.c_str()), INVALID_FILE_ATTRIBUTES)
        << "cannot reopen " << item.Name.size();
  }
}

TEST(FolderReading, HiddenSystemAndDotRules) {
  TempFolder dir;
  dir.File(L"plain.txt");
  dir.File(L"hidden.txt", 0, FILE_ATTRIBUTE_HIDDEN);
  dir.File(L"system.txt", 0, FILE_ATTRIBUTE_SYSTEM);
  dir.Folder(L".git", FILE_ATTRIBUTE_HIDDEN);  // dot folders are listed like any folder
  dir.Folder(L"visible");
  struct Case {
    bool hidden, system;
    std::vector<std::wstring> names;
  } cases[] = {
      {false, false, {L"plain.txt", L"visible"}},
      {true, false, {L".git", L"hidden.txt", L"plain.txt", L"visible"}},
      {false, true, {L"plain.txt", L"system.txt", L"visible"}},
      {true, true, {L".git", L"hidden.txt", L"plain.txt", L"system.txt", L"visible"}},
  };
  for (const auto& k : cases) {
    ControlHolder c;
    c->ShowHiddenItems = k.hidden;
    c->ShowSystemItems = k.system;
    ASSERT_TRUE(c->GetFolderContents(dir.Path(), true));
    auto names = Names(*c);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, k.names) << "hidden=" << k.hidden << " system=" << k.system;
  }
}

TEST(FolderReading, TreeReadsExpandedFoldersInPathOrderWithTheirStatus) {
  TempFolder dir;
  dir.Folder(L"b\\inner");           // has a sub-folder, not expanded
  dir.Folder(L"a\\a2\\deep");        // expanded, and a2 expanded too
  dir.Folder(L"a\\a1");              // leaf
  dir.Folder(L"c\\.config");         // only a dot sub-folder: still has sub-folders
  dir.Folder(L"d\\secret", FILE_ATTRIBUTE_HIDDEN);  // hidden sub-folder counts for the parent
  dir.File(L"a\\file.txt");          // files never enter a tree
  ControlHolder tree(fbFolder);
  tree->AddToExpandedFolderString(dir.Path() + L"a");
  tree->AddToExpandedFolderString(dir.Path() + L"A\\A2");  // case does not matter
  ASSERT_TRUE(tree->GetFolderContents(dir.Path(), true));

  struct Row {
    const wchar_t* relative;
    std::int16_t level;
    sFolderStatus status;
  } rows[] = {
      {L"", 0, sNotExpanded},        {L"a", 1, sExpanded},        {L"a\\a1", 2, sNoSubFolders},
      {L"a\\a2", 2, sExpanded},      {L"a\\a2\\deep", 3, sNoSubFolders},
      {L"b", 1, sNotExpanded},       {L"c", 1, sNotExpanded},     {L"d", 1, sNotExpanded},
  };
  ASSERT_EQ(tree->ItemCount(), static_cast<std::int32_t>(std::size(rows)));
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    const auto& item = tree->ListItems()[i];
    EXPECT_EQ(item.FullPath, dir.Path() + rows[i].relative) << i;
    if (i == 0) continue;
    EXPECT_EQ(item.Level, rows[i].level) << i;
    EXPECT_EQ(item.FolderStatus, rows[i].status) << i;
    EXPECT_EQ(item.IndentX, 450 + 150 * (rows[i].level - 1)) << i;
  }
  EXPECT_EQ(tree->LastShownItem(), tree->ItemCount() - 1);
}

TEST(FolderReading, SizesBeyondThirtyTwoBitsStayWhole) {
  TempFolder dir;
  dir.File(L"big.bin", 3000000000ULL);  // sparse on the host file system
  ControlHolder c;
  ASSERT_TRUE(c->GetFolderContents(dir.Path(), true));
  ASSERT_EQ(c->ItemCount(), 1);
  EXPECT_EQ(c->ListItems()[0].SizeText, L"3,000,000,000");
}

TEST(FolderReading, MoreItemsThanASixteenBitIndexHoldsAreReadSortedAndHandedOver) {
  // 33,000 files and one folder, made natively by the test run (scripts/make-test-data).
  constexpr int kFiles = 33000;
  const std::wstring folder = testsupport::TestDataFolder(L"big33k");
  ASSERT_FALSE(folder.empty()) << "ZENLO_TEST_DATA is not set: run the tests through ctest";
  ControlHolder c;
  ASSERT_TRUE(c->GetFolderContents(folder, true));
  ASSERT_EQ(c->ItemCount(), kFiles + 1);
  EXPECT_EQ(c->ListItems()[0].Name, L"zz-folder");
  EXPECT_EQ(c->FoldersShown(), 1);
  EXPECT_EQ(c->FilesShown(), kFiles);
  EXPECT_EQ(c->LastShownItem(), kFiles);
  EXPECT_TRUE(c.host.Messages().empty());
}

TEST(FolderReading, APathTooShortIsRefused) {
  ControlHolder c;
  EXPECT_FALSE(c->GetFolderContents(L"C", true));
  EXPECT_EQ(c.host.Messages(), std::vector<std::wstring>{L"No Folder Specified."});
  EXPECT_FALSE(c->ReadBusy());
}

// A property store that answers from a table and fails for files in use.
class TableStore : public FilePropertyStore {
 public:
  struct Entry {
    std::wstring comment, colour;
    bool inUse = false;
  };
  std::map<std::wstring, Entry> byName;
  int opens = 0;

  std::unique_ptr<FileProperties> Open(const std::wstring& path) override {
    ++opens;
    auto name = path.substr(path.find_last_of(L'\\') + 1);
    auto it = byName.find(name);
    if (it != byName.end() && it->second.inUse)
      throw tk::RuntimeError(kErrPropertiesUnavailable, L"in use");
    struct Props : FileProperties {
      Entry e;
      std::wstring Comments() override { return e.comment; }
      std::optional<std::wstring> UserProperty(const std::wstring& n) override {
        if (n != L"VarnelloColor" || e.colour.empty()) return std::nullopt;
        return e.colour;
      }
    };
    auto p = std::make_unique<Props>();
    if (it != byName.end()) p->e = it->second;
    return p;
  }
};

TEST(FolderReading, PropertiesPassReadsCommentsAndColoursOfFilesOnly) {
  TempFolder dir;
  dir.File(L"red.txt");
  dir.File(L"note.txt");
  dir.File(L"busy.doc");
  dir.Folder(L"folder");
  auto store = std::make_shared<TableStore>();
  store->byName[L"red.txt"] = {L"", L"Red"};
  store->byName[L"note.txt"] = {L"a comment", L""};
  store->byName[L"busy.doc"] = {L"", L"", true};
  ControlHolder c;
  c->SetPropertyStore(store);
  ASSERT_TRUE(c->GetFolderContents(dir.Path(), true));

  EXPECT_EQ(store->opens, 3);  // the folder is never opened
  EXPECT_EQ(FindItem(*c, L"red.txt")->ColorWord, L"Red");
  EXPECT_EQ(FindItem(*c, L"red.txt")->ItemColor, static_cast<std::int32_t>(RGB(255, 0, 0)));
  EXPECT_EQ(FindItem(*c, L"note.txt")->Comments, L"a comment");
  EXPECT_EQ(FindItem(*c, L"note.txt")->ItemColor, -1);
  EXPECT_TRUE(FindItem(*c, L"busy.doc")->IsOpen);
  EXPECT_FALSE(FindItem(*c, L"note.txt")->IsOpen);
}

TEST(FolderReading, PropertiesPassIsSkippedForLargeListingsUnlessEnhanced) {
  TempFolder dir;
  for (int i = 0; i < 5; ++i) dir.File(L"f" + std::to_wstring(i) + L".txt");
  struct Case {
    std::int32_t max;
    bool enhanced, showColor;
    int opens;
  } cases[] = {
      {6, false, true, 5},  {5, false, true, 0}, {3, true, true, 5},
      {6, false, false, 0},  // colour display off: nothing is opened
  };
  for (const auto& k : cases) {
    auto store = std::make_shared<TableStore>();
    ControlHolder c;
    c->SetPropertyStore(store);
    c->FileCountMax = k.max;
    c->ShowColor = k.showColor;
    c->SetMode(k.enhanced);
    ASSERT_TRUE(c->GetFolderContents(dir.Path(), true));
    EXPECT_EQ(store->opens, k.opens) << "max=" << k.max << " enhanced=" << k.enhanced;
  }
}

}  // namespace
