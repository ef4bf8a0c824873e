// Colour coding through the control on real files. Every test here keeps its colours in the
// real property store's per-user records (plain files on this file system carry no property
// sets), under a profile folder of its own; one test adds a store that refuses writes the way
// a read-only document's property sets do.
#include <gtest/gtest.h>

#include "listing/model/FilePropertyStore.h"
#include "listing/view/ViewState.h"
#include "support/ControlFixture.h"
#include "support/HostWindow.h"
#include "support/ListingLookup.h"
#include "support/TempFolder.h"
#include "toolkit/Error.h"
#include "toolkit/EventLoop.h"
#include "toolkit/Text.h"

namespace {

using namespace zenlo;
using testsupport::ControlHolder;
using testsupport::TempFolder;
using testsupport::IndexOf;
using testsupport::Item;

constexpr wchar_t kColor[] = L"VarnelloColor";

// Marks exactly the named items, as the user's marking does.
void Mark(ZenloFileControl& c, std::initializer_list<const wchar_t*> names) {
  for (std::int32_t i = 0; i < c.ItemCount(); ++i) {
    auto& item = const_cast<TypeListItem&>(c.ListItems()[static_cast<std::size_t>(i)]);
    item.Selected = 0;
    for (const wchar_t* n : names)
      if (item.Name == n) item.Selected = 1;
  }
}

std::int32_t Rgb(int r, int g, int b) { return static_cast<std::int32_t>(RGB(r, g, b)); }

struct Coloured : ::testing::Test {
  TempFolder files;
  TempFolder profile;  // the per-user records
  std::shared_ptr<FilePropertyStore> NewStore() const { return MakeFilePropertyStore(profile.Path()); }
  std::optional<std::wstring> Stored(const std::wstring& name) const {
    return NewStore()->Open(files.Path() + name)->UserProperty(kColor);
  }
  // A control as after a start of the program: fresh store, fresh read.
  void Read(ControlHolder& c) const {
    c->SetPropertyStore(NewStore());
    ASSERT_TRUE(c->GetFolderContents(files.Path(), true));
  }
};

TEST_F(Coloured, WordsInAnyCaseGiveTheirColourAndAreStoredAsTyped) {
  struct Case {
    const wchar_t* file;
    const wchar_t* word;
    std::int32_t colour;
  } cases[] = {
      {L"a.txt", L"Red", Rgb(255, 0, 0)},       {L"b.txt", L"RED", Rgb(255, 0, 0)},
      {L"c.txt", L"red", Rgb(255, 0, 0)},       {L"d.txt", L"DARK green", Rgb(54, 151, 58)},
      {L"e.txt", L"lavender", Rgb(183, 21, 217)}, {L"f.txt", L"Burgundy", Rgb(121, 10, 30)},
      {L"g.txt", L"Purpel", Rgb(0, 0, 0)},  // a typing error: black, kept as typed
  };
  for (const Case& k : cases) files.File(k.file, 2);
  ControlHolder c;
  Read(c);
  for (const Case& k : cases) {
    SCOPED_TRACE(k.word);
    Mark(*c, {k.file});
    std::int32_t total = -1;
    c->ColorFiles(k.word, total);
    EXPECT_EQ(total, c->FilesShown());
    EXPECT_EQ(Item(*c, k.file).ItemColor, k.colour);
    EXPECT_EQ(Item(*c, k.file).ColorWord(), k.word);
    EXPECT_EQ(Stored(k.file), k.word);
  }
  EXPECT_TRUE(c.host.Messages().empty());
  EXPECT_EQ(c->ColorCount(), -1);

  // The colours come back with a re-read and after a restart.
  c->RefreshList();
  ControlHolder restarted;
  Read(restarted);
  for (const Case& k : cases) {
    EXPECT_EQ(Item(*c, k.file).ItemColor, k.colour) << k.file;
    EXPECT_EQ(Item(*restarted, k.file).ItemColor, k.colour) << k.file;
  }
}

TEST_F(Coloured, ReplacingAndDefault) {
  files.File(L"x.txt", 1);
  files.File(L"never.txt", 1);
  ControlHolder c;
  Read(c);
  Mark(*c, {L"x.txt"});
  c->ColorFiles(L"blue");
  c->ColorFiles(L"orange");  // the property exists: its value is replaced
  EXPECT_EQ(Stored(L"x.txt"), L"orange");
  EXPECT_EQ(Item(*c, L"x.txt").ItemColor, Rgb(255, 120, 0));

  // "default" removes it; a file without one is left alone and not reported.
  Mark(*c, {L"x.txt", L"never.txt"});
  c->ColorFiles(L"Default");
  EXPECT_FALSE(Stored(L"x.txt"));
  EXPECT_FALSE(Stored(L"never.txt"));
  EXPECT_EQ(Item(*c, L"x.txt").ItemColor, -1);
  EXPECT_EQ(Item(*c, L"never.txt").ItemColor, -1);
  EXPECT_TRUE(c.host.Messages().empty());
  c->RefreshList();
  EXPECT_EQ(Item(*c, L"x.txt").ItemColor, -1);
}

TEST_F(Coloured, OnlyShownFilesAreColouredAndFoldersAreToldOnce) {
  files.Folder(L"d1");
  files.Folder(L"d2");
  files.File(L"shown.txt", 1);
  files.File(L"zz hidden.txt", 1);
  testsupport::HostWindow window(600, 300);
  ControlHolder c;
  ASSERT_TRUE(c->CreateFrame(window.Handle()));
  Read(c);
  // The filter hides a file that is marked all the same (marks of hidden items stay).
  SetWindowTextW(c->View().cboFilter.Handle(), L"[!z]*");
  c->NewFilterSelected();
  ASSERT_GT(IndexOf(*c, L"zz hidden.txt"), c->LastShownItem());
  Mark(*c, {L"d1", L"d2", L"shown.txt", L"zz hidden.txt"});
  std::int32_t total = -1;
  c->ColorFiles(L"cyan", total);
  EXPECT_EQ(total, 1);
  EXPECT_EQ(Item(*c, L"shown.txt").ItemColor, Rgb(0, 210, 255));
  EXPECT_EQ(Stored(L"shown.txt"), L"cyan");
  EXPECT_EQ(Item(*c, L"zz hidden.txt").ItemColor, -1);
  EXPECT_FALSE(Stored(L"zz hidden.txt"));
  EXPECT_EQ(Item(*c, L"d1").ColorWord(), L"");
  EXPECT_EQ(c.host.Messages(), std::vector<std::wstring>{L"Sorry, only files can be color coded."});
}

TEST_F(Coloured, ColourThatCannotBeStoredIsReportedRememberedAndNotKept) {
  files.File(L"one.txt", 1);
  files.File(L"two.txt", 1);
  ControlHolder c;
  Read(c);
  // The records cannot be replaced: the temporary file's name is taken by a folder.
  const std::wstring blocker =
      profile.Path() + L"properties." + std::to_wstring(GetCurrentProcessId()) + L".tmp";
  ASSERT_TRUE(CreateDirectoryW(blocker.c_str(), nullptr));
  Mark(*c, {L"one.txt", L"two.txt"});
  c->ColorFiles(L"red");
  c->ColorFiles(L"yellow");
  ASSERT_EQ(c.host.Messages().size(), 2u);
  EXPECT_EQ(c.host.Messages()[1],
            L"Sorry, the following files you selected can't be color coded and will return to "
            L"their default color when the list is refreshed.\r\n\r\nThe file(s) may not support "
            L"this feature.\r\n\r\n   one.txt\r\n   two.txt\r\n");
  // One entry per file, with the last colour it was given.
  ASSERT_EQ(c->ColorCount(), 1);
  EXPECT_EQ(c->ColorItemPath(0), tk::UpperCase(files.Path() + L"one.txt"));
  EXPECT_EQ(c->ColorWord(0), L"yellow");
  EXPECT_EQ(c->ColorItemPath(1), tk::UpperCase(files.Path() + L"two.txt"));
  EXPECT_EQ(c->ColorItemPath(2), L"");
  EXPECT_EQ(c->ColorWord(-1), L"");
  // Shown until the next read, which finds nothing stored.
  EXPECT_EQ(Item(*c, L"one.txt").ItemColor, Rgb(255, 255, 0));
  EXPECT_FALSE(Stored(L"one.txt"));
  RemoveDirectoryW(blocker.c_str());

  // The change watch was started again after the failures.
  files.File(L"three.txt", 1);
  ASSERT_TRUE(tk::PumpUntil([&] { return IndexOf(*c, L"three.txt") >= 0; }, 3000));
  EXPECT_EQ(Item(*c, L"one.txt").ItemColor, -1);
}

// The property sets of a read-only document refuse the write after they opened.
class ReadOnlyAwareStore final : public FilePropertyStore {
 public:
  explicit ReadOnlyAwareStore(std::shared_ptr<FilePropertyStore> real) : real_(std::move(real)) {}
  std::unique_ptr<FileProperties> Open(const std::wstring& path) override {
    auto props = real_->Open(path);
    if (!(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_READONLY)) return props;
    struct Refusing final : FileProperties {
      std::unique_ptr<FileProperties> inner;
      std::wstring Comments() override { return inner->Comments(); }
      std::optional<std::wstring> UserProperty(const std::wstring& n) override {
        return inner->UserProperty(n);
      }
      void AddUserProperty(const std::wstring&, const std::wstring&) override {
        throw tk::RuntimeError(static_cast<long>(STG_E_ACCESSDENIED), L"Access denied.");
      }
    };
    auto refusing = std::make_unique<Refusing>();
    refusing->inner = std::move(props);
    return refusing;
  }

 private:
  std::shared_ptr<FilePropertyStore> real_;
};

TEST_F(Coloured, ReadOnlyFileIsReportedNotCountedAsColoured) {
  const std::wstring locked = files.File(L"locked.doc", 1);
  files.File(L"free.doc", 1);
  ASSERT_TRUE(SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_READONLY));
  ControlHolder c;
  c->SetPropertyStore(std::make_shared<ReadOnlyAwareStore>(NewStore()));
  ASSERT_TRUE(c->GetFolderContents(files.Path(), true));
  Mark(*c, {L"locked.doc", L"free.doc"});
  c->ColorFiles(L"gray");
  ASSERT_EQ(c.host.Messages().size(), 1u);
  EXPECT_NE(c.host.Messages()[0].find(L"\r\n\r\n   locked.doc\r\n"), std::wstring::npos);
  EXPECT_EQ(c.host.Messages()[0].find(L"free.doc"), std::wstring::npos);
  EXPECT_EQ(c->ColorCount(), 0);
  EXPECT_EQ(Stored(L"free.doc"), L"gray");
  EXPECT_FALSE(Stored(L"locked.doc"));
  SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Folders whose paths Win32 would change (a trailing dot or blank dropped) or refuse (past its
// length limit): the colour is stored with the file itself, and a new control shows it.
TEST_F(Coloured, ColourOfAFileInAnOddFolderSurvivesARestart) {
  const std::wstring deep = files.DeepRelative();
  struct Case {
    const char* name;
    std::wstring folder;
  } cases[] = {
      {"a folder ending in a dot", L"trail dot."},
      {"past 260 characters", deep + L"deep blank "},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    files.File(k.folder + L"\\a.txt", 2);
    const std::wstring folder = files.Path() + k.folder;
    ControlHolder c;
    c->SetPropertyStore(NewStore());
    ASSERT_TRUE(c->GetFolderContents(folder, true));
    Mark(*c, {L"a.txt"});
    c->ColorFiles(L"blue");
    EXPECT_TRUE(c.host.Messages().empty());
    EXPECT_EQ(c->ColorCount(), -1);
    ControlHolder restarted;
    restarted->SetPropertyStore(NewStore());
    ASSERT_TRUE(restarted->GetFolderContents(folder, true));
    EXPECT_EQ(Item(*restarted, L"a.txt").ItemColor, Rgb(0, 0, 255));
  }
}

TEST_F(Coloured, ColourFollowsTheFileThroughRenameMoveAndRestart) {
  files.File(L"a.txt", 4);
  files.Folder(L"sub");
  ControlHolder c;
  Read(c);
  Mark(*c, {L"a.txt"});
  c->ColorFiles(L"light green");
  ASSERT_TRUE(MoveFileW((files.Path() + L"a.txt").c_str(), (files.Path() + L"b.txt").c_str()));
  c->RefreshList();
  EXPECT_EQ(Item(*c, L"b.txt").ItemColor, Rgb(0, 255, 0));
  ASSERT_TRUE(MoveFileW((files.Path() + L"b.txt").c_str(), (files.Path() + L"sub\\c.txt").c_str()));
  ControlHolder restarted;
  restarted->SetPropertyStore(NewStore());
  ASSERT_TRUE(restarted->GetFolderContents(files.Path() + L"sub", true));
  EXPECT_EQ(Item(*restarted, L"c.txt").ItemColor, Rgb(0, 255, 0));
  EXPECT_EQ(Item(*restarted, L"c.txt").ColorWord(), L"light green");
}

}  // namespace
