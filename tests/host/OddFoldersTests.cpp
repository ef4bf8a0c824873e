// A host reads folders of awkward names through the published headers alone: names outside
// the BMP, leading and trailing blanks and dots, near-twins ("name", "name ", "name."), and
// what it sees must name exactly the item on disk. Win32 drops a trailing dot or blank unless
// the "\\?\" form is used, so a path that loses it names another file, or none.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "HostKit.h"

namespace {

using hostkit::Host;
using zenlo::ZenloFileControl;

struct OddFile {
  std::wstring Name;
  std::uint64_t Size;
  std::wstring Extension;
};

// Sizes are all different and unrelated to the names' order, so a size names its file.
const OddFile kFiles[] = {
    {L"name", 505, L""},
    {L"name ", 101, L""},
    {L" name", 909, L""},
    {L"name.", 303, L""},
    {L"name..", 707, L""},
    {L"..name", 202, L"name"},
    {L"\u00dcn\u00efc\u00f8d\u00e9 \u00f1ame.txt", 808, L"txt"},
    {L"\u540d\u524d.\u30c6\u30ad\u30b9\u30c8", 404, L"\u30c6\u30ad\u30b9\u30c8"},
    {L"smile \U0001F600.\U0001F600", 606, L"\U0001F600"},
};

// Each folder holds "inside.txt" and "sub.\deep " of sizes of its own.
struct OddFolder {
  std::wstring Name;
  std::uint64_t Inside;
  std::uint64_t Deep;
};
const OddFolder kFolders[] = {
    {L"dir", 11, 1100},     {L"dir ", 12, 1200},   {L" dir", 13, 1300},
    {L"dir.", 14, 1400},    {L"dir..", 15, 1500},  {L"..dir", 16, 1600},
    {L"\U0001F4C1 \u00f1", 17, 1700},
};

class OddFolders : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    scratch_ = new hostkit::ScratchFolder(L"odd");
    const std::wstring& root = scratch_->Path();
    for (const OddFile& f : kFiles) ASSERT_TRUE(hostkit::MakeFile(root + f.Name, f.Size));
    for (const OddFolder& d : kFolders) {
      ASSERT_TRUE(hostkit::MakeFolder(root + d.Name));
      ASSERT_TRUE(hostkit::MakeFile(root + d.Name + L"\\inside.txt", d.Inside));
      ASSERT_TRUE(hostkit::MakeFolder(root + d.Name + L"\\sub."));
      ASSERT_TRUE(hostkit::MakeFile(root + d.Name + L"\\sub.\\deep ", d.Deep));
    }
  }
  static void TearDownTestSuite() {
    delete scratch_;
    scratch_ = nullptr;
  }

  void SetUp() override { window_ = hostkit::MakeHostWindow(); }
  void TearDown() override {
    for (ZenloFileControl* c : made_) c->Release();
    DestroyWindow(window_);
  }

  ZenloFileControl& Make(zenlo::ListType type) {
    hosts_.push_back(std::make_unique<Host>());
    ZenloFileControl* c = hostkit::SetUpControl(window_, *hosts_.back(), type);
    EXPECT_NE(c, nullptr);
    // Wine marks every name that begins with a dot hidden; Windows does not.
    c->ShowHiddenItems = true;
    made_.push_back(c);
    return *c;
  }
  Host& HostOf(std::size_t i) { return *hosts_[i]; }

  // A listing of the odd folder, read as a host does after its tree's click.
  ZenloFileControl& Listing() {
    ZenloFileControl& list = Make(zenlo::fbFileAndFolder);
    EXPECT_TRUE(list.GetFolderContents(Root(), true));
    return list;
  }

  static const std::wstring& Root() { return scratch_->Path(); }

  static hostkit::ScratchFolder* scratch_;
  HWND window_ = nullptr;
  std::vector<std::unique_ptr<Host>> hosts_;
  std::vector<ZenloFileControl*> made_;
};
hostkit::ScratchFolder* OddFolders::scratch_ = nullptr;

const zenlo::TypeListItem* Find(const ZenloFileControl& c, const std::wstring& name) {
  for (std::int32_t i = 0; i < c.ItemCount(); ++i)
    if (c.ListItems()[static_cast<std::size_t>(i)].Name == name)
      return &c.ListItems()[static_cast<std::size_t>(i)];
  return nullptr;
}

std::int32_t IndexOf(const ZenloFileControl& c, const std::wstring& name) {
  for (std::int32_t i = 0; i < c.ItemCount(); ++i)
    if (c.ListItems()[static_cast<std::size_t>(i)].Name == name) return i;
  return -1;
}

TEST_F(OddFolders, TheListingNamesEveryItemExactlyWithItsPathSizeAndExtension) {
  ZenloFileControl& list = Listing();
  EXPECT_EQ(list.ItemCount(), 16);
  EXPECT_EQ(list.FoldersShown(), 7);
  EXPECT_EQ(list.FilesShown(), 9);
  for (const OddFile& f : kFiles) {
    SCOPED_TRACE(testing::Message() << "file [" << f.Name << "]");
    const zenlo::TypeListItem* item = Find(list, f.Name);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->ItemType, zenlo::sFile);
    EXPECT_EQ(item->FullPath, Root() + f.Name);
    EXPECT_EQ(item->Size(), f.Size);
    EXPECT_EQ(item->SizeText(), hostkit::Grouped(f.Size));
    EXPECT_EQ(item->Extension(), f.Extension);
    // The path handed to the host names this very file, not its near-twin.
    EXPECT_EQ(hostkit::FileSizeOnDisk(item->FullPath), static_cast<std::int64_t>(f.Size));
  }
  for (const OddFolder& d : kFolders) {
    SCOPED_TRACE(testing::Message() << "folder [" << d.Name << "]");
    const zenlo::TypeListItem* item = Find(list, d.Name);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->ItemType, zenlo::sFolder);
    EXPECT_EQ(item->FullPath, Root() + d.Name);
    EXPECT_EQ(item->SizeText(), L"--");
    EXPECT_EQ(hostkit::FileSizeOnDisk(item->FullPath + L"\\inside.txt"),
              static_cast<std::int64_t>(d.Inside));
  }
  EXPECT_TRUE(HostOf(0).Messages.empty());
}

TEST_F(OddFolders, SortingBySizeAndByNameKeepsFoldersAheadAndReversesExactly) {
  ZenloFileControl& list = Listing();
  std::vector<OddFile> bySize(std::begin(kFiles), std::end(kFiles));
  std::sort(bySize.begin(), bySize.end(),
            [](const OddFile& a, const OddFile& b) { return a.Size < b.Size; });
  std::vector<std::wstring> expected;
  for (const OddFile& f : bySize) expected.push_back(f.Name);

  list.SetSortOrder(0, L"sSize", L"asc");
  list.SortList(true);
  std::vector<std::wstring> shown = hostkit::ShownNames(list);
  ASSERT_EQ(shown.size(), 16u);
  EXPECT_EQ(std::vector<std::wstring>(shown.begin() + 7, shown.end()), expected);

  std::reverse(expected.begin(), expected.end());
  list.SetSortOrder(0, L"sSize", L"des");
  list.SortList(true);
  shown = hostkit::ShownNames(list);
  EXPECT_EQ(std::vector<std::wstring>(shown.begin() + 7, shown.end()), expected);

  // By name: distinct names, so descending is ascending turned round, folders first both ways.
  list.SetSortOrder(0, L"sName", L"asc");
  list.SortList(true);
  const std::vector<std::wstring> ascending = hostkit::ShownNames(list);
  list.SetSortOrder(0, L"sName", L"des");
  list.SortList(true);
  const std::vector<std::wstring> descending = hostkit::ShownNames(list);
  for (std::size_t i = 0; i < 7; ++i) {
    EXPECT_EQ(ascending[i], descending[6 - i]);
    EXPECT_NE(Find(list, ascending[i])->ItemType, zenlo::sFile);
  }
  for (std::size_t i = 7; i < 16; ++i) EXPECT_EQ(ascending[i], descending[22 - i]);
  EXPECT_TRUE(HostOf(0).Messages.empty());
}

TEST_F(OddFolders, TheFilterBoxOffersEachExtensionAndShowsWhatAPatternNames) {
  ZenloFileControl& list = Listing();
  HWND box = hostkit::FilterBox(list);
  ASSERT_NE(box, nullptr);
  std::vector<std::wstring> entries = hostkit::FilterBoxEntries(box);
  ASSERT_FALSE(entries.empty());
  EXPECT_EQ(entries[0], L"All");
  EXPECT_EQ(std::set<std::wstring>(entries.begin() + 1, entries.end()),
            (std::set<std::wstring>{L"name", L"txt", L"\u30c6\u30ad\u30b9\u30c8", L"\U0001F600"}));
  EXPECT_EQ(entries.size(), 5u);

  struct Case {
    std::wstring Typed;
    std::set<std::wstring> Shown;
  };
  const Case cases[] = {
      {L"name", {L"name", L" name", L"..name"}},  // plain text: names ending in it
      {L"*.", {L"name.", L"name..", L"dir.", L"dir.."}},
      {L"* ", {L"name ", L"dir "}},
      {L"[ ]*", {L" name", L" dir"}},
      {L"..*", {L"..name", L"..dir"}},
      {L"*\U0001F600", {L"smile \U0001F600.\U0001F600"}},
      {L"\U0001F4C1*", {L"\U0001F4C1 \u00f1"}},
      {L"*.TXT", {L"\u00dcn\u00efc\u00f8d\u00e9 \u00f1ame.txt"}},
      {L"\u00fcN*", {L"\u00dcn\u00efc\u00f8d\u00e9 \u00f1ame.txt"}},  // case-blind past ASCII
      {L"All", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "typed [" << c.Typed << "]");
    hostkit::TypeIntoFilterBox(box, c.Typed);
    const std::vector<std::wstring> shown = hostkit::ShownNames(list);
    if (c.Shown.empty()) {
      EXPECT_EQ(shown.size(), 16u);
      EXPECT_FALSE(list.FilterActive());
      continue;
    }
    EXPECT_EQ(std::set<std::wstring>(shown.begin(), shown.end()), c.Shown);
    EXPECT_EQ(shown.size(), c.Shown.size());
    EXPECT_TRUE(list.FilterActive());
  }

  // An entry chosen from the list: the non-BMP extension.
  hostkit::ChooseInFilterBox(box, L"\U0001F600");
  EXPECT_EQ(hostkit::ShownNames(list), std::vector<std::wstring>{L"smile \U0001F600.\U0001F600"});
  EXPECT_EQ(list.FilesShown(), 1);
  EXPECT_EQ(list.FoldersShown(), 0);
  EXPECT_TRUE(HostOf(0).Messages.empty());
}

// "?" stands for a whole character, also one outside the BMP.
TEST_F(OddFolders, AQuestionMarkInTheFilterBoxStandsForOneWholeCharacter) {
  ZenloFileControl& list = Listing();
  HWND box = hostkit::FilterBox(list);
  ASSERT_NE(box, nullptr);
  hostkit::TypeIntoFilterBox(box, L"smile ?.?");
  EXPECT_EQ(hostkit::ShownNames(list), std::vector<std::wstring>{L"smile \U0001F600.\U0001F600"});
}

TEST_F(OddFolders, FolderSizesAddUpTheFilesOfEachOddFolderAndNoTwin) {
  ZenloFileControl& list = Listing();
  list.CalculateFolderSize();
  for (const OddFolder& d : kFolders) {
    SCOPED_TRACE(testing::Message() << "folder [" << d.Name << "]");
    const zenlo::TypeListItem* item = Find(list, d.Name);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->SizeText(), hostkit::Grouped(d.Inside + d.Deep));
  }
  EXPECT_TRUE(HostOf(0).Messages.empty());
}

TEST_F(OddFolders, TheMarkedPathsHandedOutNameEachItemOnDisk) {
  ZenloFileControl& list = Listing();
  list.SelectAll(L"all");
  EXPECT_EQ(list.GetFileSpecs(), L"7 folders 9 files");

  std::set<std::wstring> expected;
  for (const OddFile& f : kFiles) expected.insert(Root() + f.Name);
  for (const OddFolder& d : kFolders) expected.insert(Root() + d.Name);

  // FileSpecs: each path NUL-ended, then one more NUL.
  const std::wstring& specs = list.FileSpecs;
  ASSERT_GE(specs.size(), 2u);
  EXPECT_EQ(specs.substr(specs.size() - 2), std::wstring(2, L'\0'));
  std::set<std::wstring> fromSpecs;
  for (std::size_t at = 0; at < specs.size() - 1;) {
    const std::size_t end = specs.find(L'\0', at);
    fromSpecs.insert(specs.substr(at, end - at));
    at = end + 1;
  }
  EXPECT_EQ(fromSpecs, expected);

  // One at a time, as a host that copies them elsewhere does.
  list.LastListItem = 0;
  std::set<std::wstring> fromIterator;
  for (int guard = 0; guard < 100; ++guard) {
    const std::wstring path = list.GetFileSpecsExternal();
    if (path == L"end") break;
    EXPECT_TRUE(hostkit::Exists(path)) << "[" << path << "]";
    fromIterator.insert(path);
  }
  EXPECT_EQ(fromIterator, expected);
  EXPECT_EQ(list.GetFileSpecsExternal(), L"end");

  // Marks survive a re-read by path: the twins of the marked names stay unmarked.
  list.SelectAll(L"none");
  for (const wchar_t* name : {L"name.", L"name ", L"dir."})
    ASSERT_TRUE(list.AddArrowToItem(IndexOf(list, name), 1));
  list.RefreshList();
  std::set<std::wstring> marked;
  for (std::int32_t i = 0; i < list.ItemCount(); ++i)
    if (list.ListItems()[static_cast<std::size_t>(i)].Selected == 1)
      marked.insert(list.ListItems()[static_cast<std::size_t>(i)].Name);
  EXPECT_EQ(marked, (std::set<std::wstring>{L"name.", L"name ", L"dir."}));

  // One marked file: the summary is its name, blanks and dots kept.
  for (const wchar_t* name : {L"name ", L"name.", L" name"}) {
    list.SelectAll(L"none");
    ASSERT_TRUE(list.AddArrowToItem(IndexOf(list, name), 1));
    EXPECT_EQ(list.GetFileSpecs(), name);
    EXPECT_EQ(list.FileSpecs, Root() + name + std::wstring(1, L'\0') + std::wstring(1, L'\0'));
  }
}

// The host makes an item active by its path: exactly that item, never its twin.
TEST_F(OddFolders, AnItemMadeActiveByPathIsThatItem) {
  for (zenlo::ListType type : {zenlo::fbFileAndFolder, zenlo::fbFolder}) {
    ZenloFileControl& c = Make(type);
    if (type == zenlo::fbFolder) {
      HostOf(hosts_.size() - 1).Bookmark = Root();
      std::wstring key = L"0";
      c.SetFolder(key);
    } else {
      ASSERT_TRUE(c.GetFolderContents(Root(), true));
    }
    for (std::int32_t i = type == zenlo::fbFolder ? 1 : 0; i < c.ItemCount(); ++i) {
      const std::wstring path = c.ListItems()[static_cast<std::size_t>(i)].FullPath;
      SCOPED_TRACE(testing::Message() << "[" << path << "]");
      c.MakeItemActive(0, path);
      EXPECT_EQ(c.GetActiveItemNum(), i);
    }
  }
}

TEST_F(OddFolders, OpeningAFolderOrAFileFromTheListingReachesThatItem) {
  ZenloFileControl& list = Listing();
  std::vector<std::wstring> opened;
  list.SetFileOpener([&](const std::wstring& path, std::int32_t, const std::wstring&, HWND) {
    opened.push_back(path);
  });
  for (const OddFile& f : kFiles) {
    SCOPED_TRACE(testing::Message() << "file [" << f.Name << "]");
    opened.clear();
    list.DoubleClick(IndexOf(list, f.Name));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], Root() + f.Name);
  }

  Host& host = HostOf(0);
  for (const OddFolder& d : kFolders) {
    SCOPED_TRACE(testing::Message() << "folder [" << d.Name << "]");
    host.PushedDown.clear();
    list.DoubleClick(IndexOf(list, d.Name));
    ASSERT_EQ(host.PushedDown.size(), 1u);
    EXPECT_EQ(host.PushedDown[0], Root() + d.Name + L"\\");
  }

  // The host shows each folder it was asked for in a listing of its own.
  ZenloFileControl& inner = Make(zenlo::fbFileAndFolder);
  for (const OddFolder& d : kFolders) {
    SCOPED_TRACE(testing::Message() << "folder [" << d.Name << "]");
    ASSERT_TRUE(inner.GetFolderContents(Root() + d.Name + L"\\", true));
    ASSERT_EQ(inner.ItemCount(), 2);
    const zenlo::TypeListItem* file = Find(inner, L"inside.txt");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->Size(), d.Inside);
    EXPECT_EQ(file->FullPath, Root() + d.Name + L"\\inside.txt");
    ASSERT_NE(Find(inner, L"sub."), nullptr);
    inner.CalculateFolderSize();
    EXPECT_EQ(Find(inner, L"sub.")->SizeText(), hostkit::Grouped(d.Deep));
  }
  EXPECT_TRUE(host.Messages.empty());
  EXPECT_TRUE(HostOf(1).Messages.empty());
}

TEST_F(OddFolders, ATreeExpandsEachOddFolderIntoItsOwnSubFolder) {
  ZenloFileControl& tree = Make(zenlo::fbFolder);
  Host& host = HostOf(0);
  host.Bookmark = Root();
  std::wstring key = L"0";
  tree.SetFolder(key);
  ASSERT_EQ(tree.ItemCount(), 8);  // the root and its seven folders
  EXPECT_EQ(tree.ListItems()[0].FullPath, Root());

  for (const OddFolder& d : kFolders) {
    SCOPED_TRACE(testing::Message() << "folder [" << d.Name << "]");
    const zenlo::TypeListItem* item = Find(tree, d.Name);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->FullPath, Root() + d.Name);
    // Every folder holds "sub.", so none may look empty.
    EXPECT_EQ(item->FolderStatus, zenlo::sNotExpanded);
    tree.ExpandFolder(Root() + d.Name, zenlo::Expand);
  }
  ASSERT_EQ(tree.ItemCount(), 15);
  for (const OddFolder& d : kFolders) {
    SCOPED_TRACE(testing::Message() << "folder [" << d.Name << "]");
    const std::int32_t at = IndexOf(tree, d.Name);
    ASSERT_GE(at, 0);
    EXPECT_EQ(tree.ListItems()[static_cast<std::size_t>(at)].FolderStatus, zenlo::sExpanded);
    const zenlo::TypeListItem& sub = tree.ListItems()[static_cast<std::size_t>(at) + 1];
    EXPECT_EQ(sub.Name, L"sub.");
    EXPECT_EQ(sub.FullPath, Root() + d.Name + L"\\sub.");
    EXPECT_EQ(sub.Level, 2);
    EXPECT_EQ(sub.FolderStatus, zenlo::sNoSubFolders);
  }

  // Closing one twin leaves the others open, and a re-read keeps exactly that.
  auto expanded = [&tree] {
    std::set<std::wstring> open;
    for (std::int32_t i = 1; i < tree.ItemCount(); ++i)
      if (tree.ListItems()[static_cast<std::size_t>(i)].FolderStatus == zenlo::sExpanded)
        open.insert(tree.ListItems()[static_cast<std::size_t>(i)].Name);
    return open;
  };
  tree.ExpandFolder(Root() + L"dir", zenlo::Collapse);
  tree.ExpandFolder(Root() + L"dir.", zenlo::Collapse);
  const std::set<std::wstring> stillOpen{L"dir ", L" dir", L"dir..", L"..dir", L"\U0001F4C1 \u00f1"};
  EXPECT_EQ(expanded(), stillOpen);
  EXPECT_EQ(tree.ItemCount(), 13);
  tree.RefreshList();
  EXPECT_EQ(expanded(), stillOpen);
  EXPECT_EQ(tree.ItemCount(), 13);

  // A marked tree folder is handed out as itself, its blank kept and no "\\" added.
  for (const wchar_t* name : {L"dir ", L" dir", L"dir.."}) {
    tree.SelectAll(L"none");
    ASSERT_TRUE(tree.AddArrowToItem(IndexOf(tree, name), 1));
    tree.LastListItem = 0;
    EXPECT_EQ(tree.GetFileSpecsExternal(), Root() + name);
    EXPECT_EQ(tree.GetFileSpecsExternal(), L"end");
  }
  EXPECT_TRUE(host.Messages.empty());
}

// The listing written as text holds each name and path whole: UTF-8 of the characters
// themselves (a non-BMP character is four bytes, not two encoded halves).
std::string Utf8(const std::wstring& text) {
  const int n = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(),
                                    static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                      out.data(), n, nullptr, nullptr);
  return out;
}

TEST_F(OddFolders, TheWrittenListingHoldsEveryNameAndPathWhole) {
  ZenloFileControl& list = Listing();
  hostkit::ScratchFolder out(L"export");
  const std::wstring file = out.Path() + L"listing \U0001F600.csv.";
  ASSERT_TRUE(list.WriteFileListing(file));
  EXPECT_FALSE(hostkit::Exists(file.substr(0, file.size() - 1)));  // the dot kept, no twin made
  std::string bytes;
  HANDLE h = CreateFileW(hostkit::Long(file).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(h);
  EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");  // not all ASCII: marked as UTF-8
  for (const OddFile& f : kFiles) {
    SCOPED_TRACE(testing::Message() << "file [" << f.Name << "]");
    EXPECT_NE(bytes.find("\"File\",\"" + Utf8(f.Name) + "\",\"" + Utf8(hostkit::Grouped(f.Size)) + "\","),
              std::string::npos);
    EXPECT_NE(bytes.find("\"" + Utf8(Root() + f.Name) + "\""), std::string::npos);
  }
  for (const OddFolder& d : kFolders) {
    SCOPED_TRACE(testing::Message() << "folder [" << d.Name << "]");
    EXPECT_NE(bytes.find("\"Folder\",\"" + Utf8(d.Name) + "\",\"--\","), std::string::npos);
  }
}

// A bookmark may name an odd folder itself: the tree opens at that folder, not at a twin.
void OpensAtEachBookmark(ZenloFileControl& tree, Host& host, const std::wstring& root,
                         const std::wstring& end) {
  for (const OddFolder& d : kFolders) {
    SCOPED_TRACE(testing::Message() << "bookmark [" << d.Name << end << "]");
    host.Bookmark = root + d.Name + end;
    std::wstring key = L"0";
    tree.SetFolder(key);
    ASSERT_EQ(tree.ItemCount(), 2);
    EXPECT_EQ(tree.ListItems()[0].FullPath, root + d.Name + L"\\");
    EXPECT_EQ(tree.ListItems()[1].FullPath, root + d.Name + L"\\sub.");
  }
  EXPECT_TRUE(host.Messages.empty());
}

TEST_F(OddFolders, ATreeOpensAtABookmarkedOddFolder) {
  ZenloFileControl& tree = Make(zenlo::fbFolder);
  OpensAtEachBookmark(tree, HostOf(0), Root(), L"\\");
}

// A bookmark of a folder whose name ends in a blank opens that folder, not its trimmed twin.
TEST_F(OddFolders, ATreeOpensAtAnOddBookmarkWrittenWithoutItsBackslash) {
  ZenloFileControl& tree = Make(zenlo::fbFolder);
  OpensAtEachBookmark(tree, HostOf(0), Root(), L"");
}

// Past 260 characters, given in the ordinary form or the "\\?\" form.
TEST(LongPaths, AListingATreeAndFolderSizesWorkPastTheOldLimit) {
  hostkit::ScratchFolder scratch(L"long");
  std::wstring deep = scratch.Path();
  const std::wstring segment = L"\u0141ong \U0001F600 " + std::wstring(90, L'x') + L" end.";
  for (int i = 0; i < 3; ++i) {
    deep += segment + std::to_wstring(i) + L" \\";
    ASSERT_TRUE(hostkit::MakeFolder(deep.substr(0, deep.size() - 1)));
  }
  ASSERT_GT(deep.size(), 300u);
  ASSERT_TRUE(hostkit::MakeFile(deep + L"end.", 77));
  ASSERT_TRUE(hostkit::MakeFile(deep + L"\U0001F600 ", 78));
  ASSERT_TRUE(hostkit::MakeFolder(deep + L"last "));
  ASSERT_TRUE(hostkit::MakeFile(deep + L"last \\x", 5));

  HWND window = hostkit::MakeHostWindow();
  Host host;
  ZenloFileControl* list = hostkit::SetUpControl(window, host, zenlo::fbFileAndFolder);
  ASSERT_NE(list, nullptr);
  for (const std::wstring& given : {deep, hostkit::Long(deep)}) {
    SCOPED_TRACE(testing::Message() << "given [" << given << "]");
    ASSERT_TRUE(list->GetFolderContents(given, true));
    ASSERT_EQ(list->ItemCount(), 3);
    const zenlo::TypeListItem* a = Find(*list, L"end.");
    const zenlo::TypeListItem* b = Find(*list, L"\U0001F600 ");
    const zenlo::TypeListItem* f = Find(*list, L"last ");
    ASSERT_TRUE(a && b && f);
    EXPECT_EQ(a->FullPath, deep + L"end.");
    EXPECT_EQ(a->Size(), 77u);
    EXPECT_EQ(b->FullPath, deep + L"\U0001F600 ");
    EXPECT_EQ(f->FullPath, deep + L"last ");
    list->CalculateFolderSize();
    EXPECT_EQ(Find(*list, L"last ")->SizeText(), L"5");
    list->SelectAll(L"all");
    list->LastListItem = 0;
    for (std::wstring p = list->GetFileSpecsExternal(); p != L"end"; p = list->GetFileSpecsExternal())
      EXPECT_TRUE(hostkit::Exists(p)) << "[" << p << "]";
  }

  // The tree opens the chain down to the last folder.
  Host treeHost;
  treeHost.Bookmark = scratch.Path();
  ZenloFileControl* tree = hostkit::SetUpControl(window, treeHost, zenlo::fbFolder);
  ASSERT_NE(tree, nullptr);
  std::wstring key = L"0";
  tree->SetFolder(key);
  std::wstring open = scratch.Path();
  for (int i = 0; i < 3; ++i) {
    open += segment + std::to_wstring(i) + L" ";
    tree->ExpandFolder(open, zenlo::Expand);
    open += L"\\";
  }
  ASSERT_EQ(tree->ItemCount(), 5);
  EXPECT_EQ(tree->ListItems()[4].Name, L"last ");
  EXPECT_EQ(tree->ListItems()[4].FullPath, deep + L"last ");
  EXPECT_EQ(tree->ListItems()[4].Level, 4);

  EXPECT_TRUE(host.Messages.empty());
  EXPECT_TRUE(treeHost.Messages.empty());
  tree->Release();
  list->Release();
  DestroyWindow(window);
}

}  // namespace

namespace {

// Messages pumped as a host's loop does, until `done` or about five seconds.
template <typename F>
bool PumpUntil(F done) {
  for (int i = 0; i < 500 && !done(); ++i) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(10);
  }
  return done();
}

// The listing keeps itself current in an odd folder: new odd names appear exactly, counted.
TEST(ChangeWatch, NewOddNamesInAWatchedOddFolderAppearAndAreCounted) {
  hostkit::ScratchFolder scratch(L"watch");
  const std::wstring folder = scratch.Path() + L"watch. \U0001F600 \\";
  ASSERT_TRUE(hostkit::MakeFolder(folder.substr(0, folder.size() - 1)));
  ASSERT_TRUE(hostkit::MakeFile(folder + L"was", 1));
  HWND window = hostkit::MakeHostWindow();
  Host host;
  ZenloFileControl* list = hostkit::SetUpControl(window, host, zenlo::fbFileAndFolder);
  ASSERT_NE(list, nullptr);
  ASSERT_TRUE(list->GetFolderContents(folder, true));
  ASSERT_EQ(list->ItemCount(), 1);

  ASSERT_TRUE(hostkit::MakeFile(folder + L"new. ", 2));
  ASSERT_TRUE(hostkit::MakeFolder(folder + L" new."));
  EXPECT_TRUE(PumpUntil([&] { return list->ItemCount() == 3; }));
  EXPECT_NE(Find(*list, L"new. "), nullptr);
  EXPECT_NE(Find(*list, L" new."), nullptr);
  EXPECT_EQ(list->currentFolder(), folder);
  EXPECT_TRUE(list->FolderChanged());
  EXPECT_EQ(list->FolderChangeText(), L"1 Folder");
  EXPECT_EQ(list->FileChangeText(), L"1 File");
  EXPECT_TRUE(host.Messages.empty());
  list->Release();
  DestroyWindow(window);
}

}  // namespace
