// The listing written as comma-separated text, compared byte for byte.
#include <gtest/gtest.h>

#include <map>

#include "listing/model/ShellFileInfo.h"
#include "support/ControlFixture.h"
#include "support/TempFolder.h"
#include "toolkit/Text.h"

using namespace zenlo;
using testsupport::ControlHolder;
using testsupport::ReadAll;
using testsupport::TempFolder;

namespace {

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Type names from a table; icons from the real shell.
class NamedTypes final : public ShellFileInfo {
 public:
  ShellFileInfoAnswer Query(const std::wstring& path, UINT flags) override {
    ShellFileInfoAnswer a = real_->Query(path, flags | kShellByName);
    if (!(flags & SHGFI_TYPENAME)) return a;
    const std::wstring ext = tk::UpperCase(path.substr(path.rfind(L'.') + 1));
    a.Ok = true;
    a.TypeName = ext == L"Q" ? L"Quoted \"Q\" File" : L"Text Document";
    return a;
  }

 private:
  std::shared_ptr<ShellFileInfo> real_ = MakeShellFileInfo();
};

const char kHeader[] =
    "\"Type\",\"Name\",\"Size\",\"Date Created\",\"Date Last Modified\",\"Date Last Accessed\","
    "\"Extension\",\"File Type\",\"Full Path\",\"Attributes\",\"Folder Level\"\r\n";

std::string U8(const std::wstring& s) { return tk::ToUtf8(s); }

TEST(FileListingExport, SmallListingByteForByte) {
  TempFolder dir, out;
  dir.File(L"sized\\in.txt", 1234);
  dir.Folder(L"plain");
  dir.File(L"a,b.txt", 3);
  dir.File(L"\u00e9t\u00e9.txt", 5);
  dir.File(L"note.q", 0);
  ControlHolder c;
  c->SetShellFileInfo(std::make_shared<NamedTypes>());
  ASSERT_TRUE(c->GetFolderContents(dir.Path(), true));
  ASSERT_EQ(c->ItemCount(), 5);
  for (std::int32_t i = 0; i < c->ItemCount(); ++i)
    if (c->ListItems()[static_cast<std::size_t>(i)].Name == L"sized") c->CalculateFolderSize(i);

  // Per name: kind, size, extension and type, as they must be written; the dates and
  // attribute letters are the item's own.
  struct Line {
    const char* kind;
    const char* size;
    const char* ext;
    const char* type;
  };
  const std::map<std::wstring, Line> lines = {
      {L"sized", {"Folder", "1,234", "dir", "File Folder"}},
      {L"plain", {"Folder", "--", "dir", "File Folder"}},
      {L"a,b.txt", {"File", "3", "txt", "Text Document"}},
      {L"\u00e9t\u00e9.txt", {"File", "5", "txt", "Text Document"}},
      {L"note.q", {"File", "0", "q", "Quoted \"\"Q\"\" File"}},
  };
  std::string expected = std::string("\xEF\xBB\xBF") + kHeader;
  for (std::int32_t i = 0; i < c->ItemCount(); ++i) {
    const TypeListItem& item = c->ListItems()[static_cast<std::size_t>(i)];
    const Line& l = lines.at(item.Name);
    expected += std::string("\"") + l.kind + "\",\"" + U8(item.Name) + "\",\"" + l.size + "\",\"" +
                U8(item.DateCreated()) + "\",\"" + U8(item.DateLastModified()) + "\",\"" +
                U8(item.DateLastAccessed()) + "\",\"" + l.ext + "\",\"" + l.type + "\",\"" +
                U8(dir.Path() + item.Name) + "\",\"" + U8(item.AttributesText()) + "\",1\r\n";
  }
  const std::wstring file = out.Path() + L"listing.csv";
  ASSERT_TRUE(c->WriteFileListing(file));
  EXPECT_EQ(ReadAll(file), expected);
  // The folders come first, as in the listing.
  EXPECT_EQ(c->ListItems()[0].ItemType, sFolder);

  // Written again over the old file, as a new file.
  dir.File(L"more.txt", 1);
  ASSERT_TRUE(c->GetFolderContents(dir.Path(), true));
  ASSERT_TRUE(c->WriteFileListing(file));
  EXPECT_NE(ReadAll(file).find("more.txt"), std::string::npos);
  EXPECT_FALSE(Exists(file + L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp"));
}

TEST(FileListingExport, EmptyFolderGivesTheHeaderAlone) {
  TempFolder dir, out;
  ControlHolder c;
  ASSERT_TRUE(c->GetFolderContents(dir.Path(), true));
  ASSERT_EQ(c->ItemCount(), 0);
  const std::wstring file = out.Path() + L"empty.csv";
  ASSERT_TRUE(c->WriteFileListing(file));
  EXPECT_EQ(ReadAll(file), kHeader);  // all ASCII: no mark, no line for the empty listing
}

TEST(FileListingExport, PathThatCannotBeCreatedAnswersFalseAndLeavesNoFile) {
  TempFolder dir, out;
  dir.File(L"x.txt", 1);
  ControlHolder c;
  ASSERT_TRUE(c->GetFolderContents(dir.Path(), true));
  const std::wstring missing = out.Path() + L"no such folder\\list.csv";
  EXPECT_FALSE(c->WriteFileListing(missing));
  EXPECT_FALSE(Exists(missing));
  // A file that cannot be replaced keeps what it held.
  const std::wstring locked = out.Path() + L"locked.csv";
  HANDLE h = CreateFileW(locked.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(h, "old", 3, &written, nullptr);
  CloseHandle(h);
  ASSERT_TRUE(SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(c->WriteFileListing(locked));
  EXPECT_EQ(ReadAll(locked), "old");
  SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Folders whose paths Win32 would change (a trailing dot or blank dropped) or refuse (past its
// length limit): the listing is written where it was asked for.
TEST(FileListingExport, WrittenIntoAnOddOrDeepFolder) {
  TempFolder dir, out;
  dir.File(L"x.txt", 1);
  ControlHolder c;
  ASSERT_TRUE(c->GetFolderContents(dir.Path(), true));
  const std::wstring deep = out.DeepRelative();
  struct Case {
    const char* name;
    std::wstring folder;
  } cases[] = {
      {"a folder ending in a dot", L"trail dot."},
      {"a folder ending in a blank", L"trail blank "},
      {"past 260 characters", deep + L"deep blank "},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    const std::wstring file = out.Folder(k.folder) + L"\\listing.csv";
    EXPECT_TRUE(c->WriteFileListing(file));
    EXPECT_EQ(ReadAll(file), std::string(kHeader) + ReadAll(file).substr(sizeof kHeader - 1));
    EXPECT_NE(ReadAll(file).find("\"x.txt\""), std::string::npos);
  }
  EXPECT_TRUE(c.host.Messages().empty());
}

// The platform would stop at the NUL and write over the file the part before it names.
TEST(FileListingExport, ANulInTheNameIsRefusedAndTouchesNoFile) {
  TempFolder dir, out;
  dir.File(L"x.txt", 1);
  const std::wstring unrelated = out.Path() + L"unrelated.csv";
  HANDLE h = CreateFileW(unrelated.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(h, "keep me", 7, &written, nullptr);
  CloseHandle(h);
  ControlHolder c;
  ASSERT_TRUE(c->GetFolderContents(dir.Path(), true));
  EXPECT_FALSE(c->WriteFileListing(unrelated + std::wstring(1, L'\0') + L"listing.csv"));
  EXPECT_EQ(ReadAll(unrelated), "keep me");
  ASSERT_EQ(c.host.Messages().size(), 1u);
  EXPECT_NE(c.host.Messages()[0].find(L"The path holds a NUL character."), std::wstring::npos);
  // Nothing else was made beside it either.
  WIN32_FIND_DATAW e;
  HANDLE search = FindFirstFileW((out.Path() + L"*").c_str(), &e);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  int entries = 0;
  do {
    if (wcscmp(e.cFileName, L".") && wcscmp(e.cFileName, L"..")) ++entries;
  } while (FindNextFileW(search, &e));
  FindClose(search);
  EXPECT_EQ(entries, 1);
}

// Past 32,767 items (the big folder is made natively for the test run).
TEST(FileListingExport, EveryItemOfALargeListingIsWritten) {
  const std::wstring folder = testsupport::TestDataFolder(L"big33k");
  if (folder.empty()) GTEST_SKIP() << "ZENLO_TEST_DATA is not set";
  TempFolder out;
  ControlHolder c;
  c->ShowHiddenItems = true;
  ASSERT_TRUE(c->GetFolderContents(folder, true));
  ASSERT_GT(c->ItemCount(), 33000);
  const std::wstring file = out.Path() + L"big.csv";
  ASSERT_TRUE(c->WriteFileListing(file));
  const std::string text = ReadAll(file);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1 + c->ItemCount());
  const TypeListItem& last = c->ListItems()[static_cast<std::size_t>(c->ItemCount() - 1)];
  EXPECT_NE(text.rfind("\"" + U8(last.Name) + "\""), std::string::npos);
}

}  // namespace
