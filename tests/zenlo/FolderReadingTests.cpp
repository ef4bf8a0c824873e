// Reading real folders into the item array: fields, order, counts, visibility rules and the
// properties pass.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "listing/model/FilePropertyStore.h"
#include "support/ControlFixture.h"
#include "support/ListingLookup.h"
#include "support/TempFolder.h"
#include "toolkit/Error.h"
#include "toolkit/EventLoop.h"
#include "toolkit/Text.h"

using namespace zenlo;
using testsupport::ControlHolder;
using testsupport::TempFolder;
using testsupport::FindItem;

namespace {

// A message as UTF-8, for failure output.
std::string Narrow(const std::wstring& text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                    nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

std::vector<std::wstring> Names(const ZenloFileControl& c) {
  std::vector<std::wstring> names;
  for (std::int32_t i = 0; i < c.ItemCount(); ++i)
    names.push_back(c.ListItems()[static_cast<std::size_t>(i)].Name);
  return names;
}

// The extension key is upper-cased in place for plain ASCII and by the locale for anything
// else; a key that turns out non-ASCII after an ASCII start is still mapped whole.
TEST(FolderReading, ExtensionKeysAreUpperCasedInEveryScript) {
  const struct {
    const wchar_t* name;
    const wchar_t* extKey;
  } cases[] = {
      {L"Photo.JpEg", L"JPEG"},
      {L"\u043e\u0442\u0447\u0435\u0442.\u0434\u043e\u043a", L"\u0414\u041e\u041a"},
      {L"half.ab\u00e9c", L"AB\u00c9C"},
      {L"lead.\u00e9t\u00e9", L"\u00c9T\u00c9"},
  };
  TempFolder dir;
  for (const auto& k : cases) dir.File(k.name, 1);
  ControlHolder c;
  ASSERT_TRUE(c->GetFolderContents(dir.Path(), true));
  for (const auto& k : cases) {
    const TypeListItem* item = FindItem(*c, k.name);
    ASSERT_NE(item, nullptr) << Narrow(k.name);
    EXPECT_EQ(item->ExtKey(), k.extKey) << Narrow(k.name);
  }
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
  EXPECT_EQ(folder->RealPath(), dir.Path() + L"My Files");
  std::wstring key = dir.Path() + L"MY_FILES";
  std::transform(key.begin(), key.end(), key.begin(), ::towupper);
  std::replace(key.begin(), key.end(), L' ', L'_');
  EXPECT_EQ(folder->NameKey(), key);
  EXPECT_EQ(folder->SizeText(), L"--");
  EXPECT_EQ(folder->Extension(), L"dir");
  EXPECT_EQ(folder->FileType(), L"File Folder");
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
    EXPECT_EQ(item->Extension(), f.ext) << f.name;
    EXPECT_EQ(item->ExtKey(), f.extKey) << f.name;
    EXPECT_EQ(item->SizeText(), f.size) << f.name;
    EXPECT_EQ(item->FullPath, dir.Path() + f.name) << f.name;
    EXPECT_EQ(item->RealPath(), item->FullPath) << f.name;
    EXPECT_TRUE(item->NameKey().empty()) << f.name;
    EXPECT_EQ(item->Level, 1) << f.name;
    EXPECT_EQ(item->DateLastModified().size(), 17u) << f.name;
    EXPECT_EQ(item->AttributesText().size(), 5u) << f.name;
  }
  EXPECT_EQ(FindItem(*c, L"README")->FileType(), L"File");

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
    EXPECT_NE(GetFileAttributesW(item.RealPath().c_str()), INVALID_FILE_ATTRIBUTES)
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
  dir.Folder(L"c\\.config");         // only a dot (hidden) sub-folder: nothing to open
  dir.Folder(L"d\\secret", FILE_ATTRIBUTE_HIDDEN);  // only a hidden sub-folder: the same
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
      {L"b", 1, sNotExpanded},       {L"c", 1, sNoSubFolders},    {L"d", 1, sNoSubFolders},
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
  // Sparse files on the host file system: past 2^32 the high half of the size matters.
  const struct {
    const wchar_t* name;
    unsigned long long bytes;
    const wchar_t* text;
  } cases[] = {
      {L"just-past.bin", 4294967297ULL, L"4,294,967,297"},
      {L"five-gib.bin", 5368709120ULL, L"5,368,709,120"},
      {L"below.bin", 3000000000ULL, L"3,000,000,000"},
  };
  TempFolder dir;
  for (const auto& k : cases) dir.File(k.name, static_cast<std::size_t>(k.bytes));
  ControlHolder c;
  ASSERT_TRUE(c->GetFolderContents(dir.Path(), true));
  for (const auto& k : cases) {
    const TypeListItem* item = FindItem(*c, k.name);
    ASSERT_NE(item, nullptr) << k.name;
    EXPECT_EQ(item->SizeText(), k.text) << k.name;
  }
}

TEST(FolderReading, SubFolderProbeFollowsTheListingsVisibilityRules) {
  TempFolder dir;
  dir.Folder(L"dot\\.config");  // hidden by the file system
  dir.Folder(L"hid\\secret", FILE_ATTRIBUTE_HIDDEN);
  dir.Folder(L"sys\\core", FILE_ATTRIBUTE_SYSTEM);
  dir.Folder(L"plain\\open");
  struct Case {
    bool hidden, system;
    sFolderStatus dot, hid, sys;
  } cases[] = {
      {false, false, sNoSubFolders, sNoSubFolders, sNoSubFolders},
      {true, false, sNotExpanded, sNotExpanded, sNoSubFolders},
      {false, true, sNoSubFolders, sNoSubFolders, sNotExpanded},
      {true, true, sNotExpanded, sNotExpanded, sNotExpanded},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(testing::Message() << "hidden=" << k.hidden << " system=" << k.system);
    ControlHolder tree(fbFolder);
    tree->ShowHiddenItems = k.hidden;
    tree->ShowSystemItems = k.system;
    ASSERT_TRUE(tree->GetFolderContents(dir.Path(), true));
    EXPECT_EQ(FindItem(*tree, L"dot")->FolderStatus, k.dot);
    EXPECT_EQ(FindItem(*tree, L"hid")->FolderStatus, k.hid);
    EXPECT_EQ(FindItem(*tree, L"sys")->FolderStatus, k.sys);
    EXPECT_EQ(FindItem(*tree, L"plain")->FolderStatus, sNotExpanded);
    // Whatever the probe counts, expanding shows: an expander never opens to nothing.
    for (const wchar_t* name : {L"dot", L"hid", L"sys"}) {
      tree->AddToExpandedFolderString(dir.Path() + name);
    }
    ASSERT_TRUE(tree->GetFolderContents(dir.Path(), true));
    for (std::int32_t i = 1; i < tree->ItemCount(); ++i) {
      const auto& item = tree->ListItems()[static_cast<std::size_t>(i)];
      if (item.Level != 1 || item.FolderStatus != sExpanded) continue;
      ASSERT_LT(i + 1, tree->ItemCount()) << item.Name;
      EXPECT_EQ(tree->ListItems()[static_cast<std::size_t>(i + 1)].Level, 2) << item.Name;
    }
  }
}

// Each row follows its parent directly: the nearest row above it one level up is its parent.
void ExpectTreeStructure(const ZenloFileControl& tree) {
  for (std::int32_t i = 1; i < tree.ItemCount(); ++i) {
    const auto& item = tree.ListItems()[static_cast<std::size_t>(i)];
    if (item.Level < 2) continue;
    std::int32_t p = i - 1;
    while (p > 0 && tree.ListItems()[static_cast<std::size_t>(p)].Level >= item.Level) --p;
    const auto& parent = tree.ListItems()[static_cast<std::size_t>(p)];
    EXPECT_EQ(parent.FullPath + L"\\" + item.Name, item.FullPath) << "row " << i;
  }
}

TEST(FolderReading, TreeRowsFollowTheirParentWhateverCharactersTheNamesHold) {
  TempFolder dir;
  dir.Folder(L"A\\SUB\\DEEP\\bottom");
  dir.Folder(L"A\\SUB!");
  dir.Folder(L"A\\SUB.x");
  dir.Folder(L"A\\SUB-y\\z");
  for (const wchar_t* name : {L"A!", L"A.old", L"A-B", L"A B", L"A_C", L"A0", L"\u00c4rger", L"a~"})
    dir.Folder(name);
  ControlHolder tree(fbFolder);
  for (const wchar_t* open : {L"A", L"A\\SUB", L"A\\SUB\\DEEP", L"A\\SUB-y"})
    tree->AddToExpandedFolderString(dir.Path() + open);
  ASSERT_TRUE(tree->GetFolderContents(dir.Path(), true));
  ASSERT_EQ(tree->ItemCount(), 1 + 9 + 4 + 1 + 1 + 1);
  ExpectTreeStructure(*tree);
  // Siblings stand in name order (the user's locale, case aside).
  for (std::int32_t i = 1; i < tree->ItemCount(); ++i) {
    const auto& item = tree->ListItems()[static_cast<std::size_t>(i)];
    for (std::int32_t j = i + 1; j < tree->ItemCount(); ++j) {
      const auto& later = tree->ListItems()[static_cast<std::size_t>(j)];
      if (later.Level < item.Level) break;
      if (later.Level == item.Level) {
        EXPECT_LT(tk::CompareText(item.Name, later.Name), 0) << i << " before " << j;
      }
    }
  }
}

TEST(FolderReading, AListingShowsFoldersThenFilesEachByNameAscending) {
  TempFolder dir;
  for (const wchar_t* name : {L"Photos 2026", L"Drafts", L"Archive"}) dir.Folder(name);
  for (const wchar_t* name : {L"b.txt", L"C.txt", L"a.doc", L"zeta.bin"}) dir.File(name);
  const std::vector<std::wstring> expected = {L"Archive", L"Drafts", L"Photos 2026",
                                              L"a.doc",   L"b.txt",  L"C.txt", L"zeta.bin"};
  for (EnumListMode mode : {listDetails, listNamesIconsSmall}) {
    SCOPED_TRACE(mode == listDetails ? "details mode" : "list mode");
    ControlHolder c;
    c->ListMode = mode;
    ASSERT_TRUE(c->GetFolderContents(dir.Path(), true));
    EXPECT_EQ(Names(*c), expected);
    c->RefreshList();
    EXPECT_EQ(Names(*c), expected);
  }
}

TEST(FolderReading, APathThatCannotBeListedIsRefusedAndKeepsTheListing) {
  TempFolder good, other;
  good.File(L"kept.txt");
  const std::wstring file = other.File(L"plain.txt");
  std::wstring huge = L"C:\\";
  while (huge.size() < 32000) huge += L"abcdefghij\\";
  struct Case {
    std::wstring path;
    const wchar_t* reason;
  } cases[] = {
      {other.Path() + L"missing\\", L"The folder does not exist."},
      {file, L"The path names a file, not a folder."},
      {L"Q:\\nothing\\", L"The folder does not exist."},  // a drive that is not there
      {other.Path() + L"*.txt", L"wildcard"},
      {L"relative\\folder\\", L"not a full path"},
      {L"C:relative", L"not a full path"},
      {huge, L"The path is too long."},
      {other.Path() + std::wstring(1, L'\0') + L"x", L"NUL"},
  };
  ControlHolder c;
  ASSERT_TRUE(c->GetFolderContents(good.Path(), true));
  for (const auto& k : cases) {
    SCOPED_TRACE(testing::Message() << "path of " << k.path.size() << " characters");
    c.host.Events.clear();
    EXPECT_FALSE(c->GetFolderContents(k.path, true));
    ASSERT_EQ(c.host.Messages().size(), 1u);
    const std::wstring text = c.host.Messages()[0];
    EXPECT_EQ(text.rfind(L"The folder could not be read.\r\n\r\nFolder: ", 0), 0u) << Narrow(text);
    EXPECT_NE(text.find(k.reason), std::wstring::npos) << Narrow(text);
    EXPECT_LT(text.size(), 400u) << "the path is cut to a readable length";
    EXPECT_NE(text.find(k.path.substr(0, 12)), std::wstring::npos) << "it names the folder";
    EXPECT_EQ(c->currentFolder(), good.Path());
    ASSERT_EQ(c->ItemCount(), 1);
    EXPECT_EQ(c->ListItems()[0].Name, L"kept.txt");
    EXPECT_FALSE(c->ReadBusy());
  }
}

TEST(FolderReading, DotSegmentsAreResolvedBeforeTheRead) {
  TempFolder dir;
  dir.File(L"top.txt");
  dir.Folder(L"sub\\inner");
  struct Case {
    std::wstring given;
  } cases[] = {
      {dir.Path() + L"sub\\..\\"},
      {dir.Path() + L"sub\\inner\\..\\..\\.\\"},
      {dir.Path() + L"sub\\..\\\\"},
  };
  for (const auto& k : cases) {
    ControlHolder c;
    ASSERT_TRUE(c->GetFolderContents(k.given, true));
    EXPECT_EQ(c->currentFolder(), dir.Path());
    ASSERT_EQ(c->ItemCount(), 2);
    for (std::int32_t i = 0; i < c->ItemCount(); ++i) {
      const auto& item = c->ListItems()[static_cast<std::size_t>(i)];
      EXPECT_EQ(item.FullPath, dir.Path() + item.Name);
      EXPECT_EQ(item.RealPath(), dir.Path() + item.Name);
    }
  }
}

// Makes a folder whose name Win32 would change ("data." becomes "data").
std::wstring ExactFolder(const std::wstring& path) {
  EXPECT_TRUE(CreateDirectoryW((L"\\\\?\\" + path).c_str(), nullptr)) << GetLastError();
  return path;
}

void ExactFile(const std::wstring& path) {
  HANDLE h = CreateFileW((L"\\\\?\\" + path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  CloseHandle(h);
}

TEST(FolderReading, NamesEndingInADotOrABlankAreReadAsThemselves) {
  TempFolder dir;
  dir.File(L"data\\in-plain.txt");
  for (const wchar_t* name : {L"data.", L"data "}) {
    ExactFolder(dir.Path() + name);
    ExactFile(dir.Path() + name + L"\\in-" + (name[4] == L'.' ? L"dot" : L"blank") + L".txt");
  }
  ExactFolder(dir.Path() + L"data.\\sub");
  ExactFolder(dir.Path() + L"only.");  // no "only" beside it
  struct Case {
    const wchar_t* folder;
    const wchar_t* file;
  } cases[] = {{L"data.", L"in-dot.txt"}, {L"data ", L"in-blank.txt"}, {L"data", L"in-plain.txt"}};
  for (const auto& k : cases) {
    SCOPED_TRACE(testing::Message() << "[" << std::string(k.folder, k.folder + wcslen(k.folder)) << "]");
    ControlHolder c;
    ASSERT_TRUE(c->GetFolderContents(dir.Path() + k.folder, true));
    EXPECT_EQ(c->currentFolder(), dir.Path() + k.folder + L"\\");
    auto names = Names(*c);
    std::sort(names.begin(), names.end());
    std::vector<std::wstring> expected = {k.file};
    if (k.folder == std::wstring(L"data.")) expected.push_back(L"sub");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected);
  }
  ControlHolder tree(fbFolder);
  ASSERT_TRUE(tree->GetFolderContents(dir.Path(), true));
  EXPECT_EQ(FindItem(*tree, L"data.")->FolderStatus, sNotExpanded) << "its own sub-folder";
  EXPECT_EQ(FindItem(*tree, L"data")->FolderStatus, sNoSubFolders);
  EXPECT_TRUE(tree->CheckFolderAccess(dir.Path() + L"only.", true));
  EXPECT_TRUE(tree->CheckFolderAccess(dir.Path() + L"only.\\", true));
  EXPECT_TRUE(tree.host.Messages().empty());
  // Display texts keep the ordinary form.
  EXPECT_EQ(FindItem(*tree, L"data.")->FullPath, dir.Path() + L"data.");
  testsupport::RemoveTree(L"\\\\?\\" + dir.Path() + L"data.");
  testsupport::RemoveTree(L"\\\\?\\" + dir.Path() + L"data ");
  testsupport::RemoveTree(L"\\\\?\\" + dir.Path() + L"only.");
}

// Past the first thousand entries the names' sort keys are made beside the enumeration and
// taken by the sort after the read: the order must still be the locale's, for names of any
// script, with hidden items and folders moving between the keyed rows.
TEST(FolderReading, AListingReadAheadIsInTheLocalesOrderWhateverTheNames) {
  TempFolder dir;
  const wchar_t* stems[] = {L"Zeta", L"alpha", L"\u00c4rger", L"\u00e9clair", L"co-op",
                            L"coop",  L"it's",  L"\u65e5\u672c", L"\u03a9mega", L"10 items",
                            L"9 items", L"_under"};
  std::vector<std::wstring> files;
  for (int i = 0; i < 1500; ++i) {
    const std::wstring name =
        stems[i % (sizeof stems / sizeof stems[0])] + std::to_wstring(i * 7919 % 1500) + L".dat";
    dir.File(name);
    files.push_back(name);
  }
  for (const wchar_t* name : {L"zz-folder", L"Beta folder"}) dir.Folder(name);
  // A hidden file among them: left out of the listing, so rows and entries part ways.
  const std::wstring hidden = dir.File(L"hidden.dat");
  SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);

  std::sort(files.begin(), files.end(), [](const std::wstring& a, const std::wstring& b) {
    return CompareStringEx(LOCALE_NAME_USER_DEFAULT, NORM_IGNORECASE, a.c_str(),
                           static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                           nullptr, nullptr, 0) == CSTR_LESS_THAN;
  });
  std::vector<std::wstring> expected = {L"Beta folder", L"zz-folder"};
  expected.insert(expected.end(), files.begin(), files.end());

  ControlHolder c;
  ASSERT_TRUE(c->GetFolderContents(dir.Path(), true));
  EXPECT_EQ(Names(*c), expected);
  // A re-read into the same control goes the same way.
  c->RefreshList();
  EXPECT_EQ(Names(*c), expected);
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
  // Read ahead in batches on a worker: every entry arrives, none twice.
  std::vector<std::wstring> listed = Names(*c);
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(std::adjacent_find(listed.begin(), listed.end()), listed.end());
}

TEST(FolderReading, EscDuringAReadAheadKeepsWhatWasReadAndTheNextReadIsWhole) {
  constexpr int kItems = 33001;
  const std::wstring folder = testsupport::TestDataFolder(L"big33k");
  ASSERT_FALSE(folder.empty()) << "ZENLO_TEST_DATA is not set: run the tests through ctest";
  ControlHolder c;
  tk::SetYieldHook([&](unsigned long n) {
    if (n == 5000) c->IsCancelled = true;
  });
  EXPECT_TRUE(c->GetFolderContents(folder, true));
  tk::SetYieldHook({});
  EXPECT_GT(c->ItemCount(), 4000);
  EXPECT_LE(c->ItemCount(), 5000);
  std::vector<std::wstring> listed = Names(*c);
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(std::adjacent_find(listed.begin(), listed.end()), listed.end());

  ASSERT_TRUE(c->GetFolderContents(folder, true));
  EXPECT_EQ(c->ItemCount(), kItems);
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
  EXPECT_EQ(FindItem(*c, L"red.txt")->ColorWord(), L"Red");
  EXPECT_EQ(FindItem(*c, L"red.txt")->ItemColor, static_cast<std::int32_t>(RGB(255, 0, 0)));
  EXPECT_EQ(FindItem(*c, L"note.txt")->Comments(), L"a comment");
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
