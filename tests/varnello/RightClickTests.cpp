// The right-click menu on real files: the menu as built (read back through the pop-up seam),
// the tables that tell entries apart, and what the main window does for the entry chosen, on
// recording lists.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "MasterFixture.h"
#include "commands/ContextMenu.h"
#include "commands/ShellClipboard.h"
#include "commands/ShellRunner.h"
#include "toolkit/Gdi.h"
#include "toolkit/MessageBox.h"
#include "toolkit/PopupMenu.h"

namespace {

using namespace varnello;
using vtest::BoxAnswers;
using vtest::MasterTest;
using vtest::TempDir;

std::string Narrow(const std::wstring& w) {
  std::string s;
  for (wchar_t c : w) s += static_cast<char>(c < 128 ? c : '?');
  return s;
}

struct Entry {
  UINT Id = 0;  // 0: a separator
  std::wstring Caption;
  HMENU Sub = nullptr;
  HBITMAP Checked = nullptr, Unchecked = nullptr;
};

std::vector<Entry> Entries(HMENU menu) {
  std::vector<Entry> out;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[512] = L"";
    MENUITEMINFOW mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_ID | MIIM_FTYPE | MIIM_SUBMENU | MIIM_STRING | MIIM_CHECKMARKS;
    mi.dwTypeData = text;
    mi.cch = 512;
    GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mi);
    Entry e;
    if (!(mi.fType & MFT_SEPARATOR)) {
      e.Id = mi.wID;
      e.Caption = text;
    }
    e.Sub = mi.hSubMenu;
    e.Checked = mi.hbmpChecked;
    e.Unchecked = mi.hbmpUnchecked;
    out.push_back(e);
  }
  return out;
}

std::wstring Line(const Entry& e) {
  return e.Id ? std::to_wstring(e.Id) + L" " + e.Caption : L"-";
}

std::vector<std::wstring> Lines(const std::vector<Entry>& entries) {
  std::vector<std::wstring> out;
  for (const Entry& e : entries) out.push_back(Line(e));
  return out;
}

bool IsShellId(UINT id) { return id >= kFirstShellId && id <= kLastShellId; }

// Every id in the menu and its submenus.
void AllIds(HMENU menu, std::vector<UINT>& ids) {
  for (const Entry& e : Entries(menu)) {
    if (e.Id) ids.push_back(e.Id);
    if (e.Sub) AllIds(e.Sub, ids);
  }
}

COLORREF CentrePixel(HBITMAP bitmap) {
  BITMAP info{};
  GetObjectW(bitmap, sizeof info, &info);
  tk::MemoryDc dc;
  tk::SelectObjectScope selected(dc.Get(), bitmap);
  return GetPixel(dc.Get(), info.bmWidth / 2, info.bmHeight / 2);
}

// Records what would be started instead of starting it.
struct RecordingShell final : ShellRunner {
  std::vector<std::wstring>* Runs;
  explicit RecordingShell(std::vector<std::wstring>* runs) : Runs(runs) {}
  DWORD Run(HWND, const std::wstring& verb, const std::wstring& file, const std::wstring& params,
            const std::wstring& folder) override {
    Runs->push_back(verb + L"|" + file + L"|" + params + L"|" + folder);
    return 0;
  }
};

// A main window on recording lists; listing 100 is the clicked list and shows a real folder
// holding two files and a subfolder.
class RightClickTest : public MasterTest {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(StartUp());
    master->Show();
    master->List_SetLockedIndex(100);
    files.Write(L"a.txt", "alpha");
    files.Write(L"b.txt", "beta");
    ASSERT_TRUE(CreateDirectoryW(files.File(L"sub").c_str(), nullptr));
    files.Write(L"sub\\c.txt", "gamma");
    tk::SetPopupMenuSeam([this](const tk::PopupMenuRequest& r) -> UINT {
      ++shown;
      logAtShow = lists.Log.Calls.size();
      menu = Entries(r.Menu);
      std::vector<UINT> ids;
      AllIds(r.Menu, ids);
      allIds = ids;
      for (const Entry& e : menu) {
        if (e.Id == kIdBookmarks) bookmarks = ReadBookmarks(e.Sub);
        if (e.Id == kIdColourCode) colours = Entries(e.Sub);
      }
      for (Entry& c : colours)
        swatches.push_back(c.Checked ? CentrePixel(c.Checked) : CLR_INVALID);
      return choose ? choose(menu) : 0;
    });
  }
  void TearDown() override { tk::SetPopupMenuSeam(nullptr); }

  // Each slot line with its submenu's two entries.
  static std::vector<std::wstring> ReadBookmarks(HMENU menu) {
    std::vector<std::wstring> out;
    for (const Entry& line : Entries(menu)) {
      std::wstring text = Line(line);
      if (line.Sub)
        for (const Entry& e : Entries(line.Sub)) text += L" / " + Line(e);
      out.push_back(text);
    }
    return out;
  }

  // A right click on `item` of listing 100 (the item under the pointer), or on the listing's
  // own folder when `item` is empty.
  void RightClick(const std::wstring& item) {
    lists[100].PointerItem = item;
    std::wstring folder = files.Path() + L"\\", parent = L"", path = item, name = L"";
    master->List_FBRightClick(100, 2, 0, 300, 300, folder, parent, path, name, item.empty(),
                              zenlo::sFile);
  }
  void Choose(UINT id) {
    choose = [id](const std::vector<Entry>&) { return id; };
  }
  bool HasShellEntries() const {
    return std::any_of(menu.begin(), menu.end(), [](const Entry& e) { return IsShellId(e.Id); });
  }
  std::vector<std::wstring> CallsOf(short index) const { return lists.Log.For(index); }
  bool Called(short index, const std::wstring& call) const {
    const auto c = CallsOf(index);
    return std::find(c.begin(), c.end(), call) != c.end();
  }

  // The names in the folder that match `pattern`.
  std::vector<std::wstring> Named(const std::wstring& pattern) const {
    std::vector<std::wstring> out;
    WIN32_FIND_DATAW d;
    HANDLE h = FindFirstFileW(files.File(pattern).c_str(), &d);
    if (h == INVALID_HANDLE_VALUE) return out;
    do out.push_back(d.cFileName);
    while (FindNextFileW(h, &d));
    FindClose(h);
    return out;
  }

  TempDir files;
  std::function<UINT(const std::vector<Entry>&)> choose;
  int shown = 0;
  size_t logAtShow = 0;
  std::vector<Entry> menu, colours;
  std::vector<UINT> allIds;
  std::vector<std::wstring> bookmarks;
  std::vector<COLORREF> swatches;
};

// ---------------------------------------------------------------------------------------------
// The menu as built

TEST_F(RightClickTest, OurEntriesStandAboveTheShellsInOrderWithIdsThatFitAMenuId) {
  RightClick(files.File(L"a.txt"));
  ASSERT_EQ(shown, 1);
  const std::vector<std::wstring> ours = {
      L"28673 New Folder", L"-", L"28674 Rename", L"28675 Duplicate", L"28676 Command Line", L"-",
      L"28677 Bookmarks", L"28678 Colour Code", L"-"};
  const std::vector<std::wstring> lines = Lines(menu);
  ASSERT_GT(lines.size(), ours.size());
  EXPECT_EQ(std::vector<std::wstring>(lines.begin(), lines.begin() + 9), ours);
  // Everything below is the shell's, and there is some of it.
  for (size_t i = ours.size(); i < menu.size(); ++i)
    EXPECT_TRUE(menu[i].Id == 0 || IsShellId(menu[i].Id)) << Narrow(Line(menu[i]));
  EXPECT_TRUE(HasShellEntries());
  for (UINT id : allIds) EXPECT_LE(id, 0xFFFFu);
  // Bookmarks and Colour Code open their submenus.
  EXPECT_NE(menu[6].Sub, nullptr);
  EXPECT_NE(menu[7].Sub, nullptr);
}

TEST_F(RightClickTest, BookmarkLinesShowTheSlotNumberAndTheShortenedPath) {
  const std::wstring hundred = L"C:\\" + std::wstring(97, L'h');
  const std::wstring hundredOne = L"C:\\0123456" + std::wstring(84, L'm') + L"0123456";
  ASSERT_EQ(hundred.size(), 100u);
  ASSERT_EQ(hundredOne.size(), 101u);
  master->Options.BookMarks[0].Path = hundred;
  master->Options.BookMarks[1].Path = hundredOne;
  master->Options.BookMarks[9].Path = L"C:\\Tom & Jerry";
  master->MakeBookmarkDisplayPaths();
  RightClick(files.File(L"a.txt"));
  ASSERT_EQ(bookmarks.size(), 10u);
  auto slot = [](int n, const std::wstring& shown) {
    const std::wstring k = std::to_wstring(n);
    return std::to_wstring(kIdSlotLine + n) + L" " + shown + L" / " +
           std::to_wstring(kIdAddToSlot + n) + L" Add to Slot " + k + L" / " +
           std::to_wstring(kIdClearSlot + n) + L" Clear Slot " + k;
  };
  EXPECT_EQ(bookmarks[0], slot(1, L"1    " + hundred));
  // 101 characters: the first 10, "...", the last 87.
  EXPECT_EQ(bookmarks[1], slot(2, L"2    " + hundredOne.substr(0, 10) + L"..." +
                                      hundredOne.substr(101 - 87)));
  for (int n = 3; n <= 9; ++n)
    EXPECT_EQ(bookmarks[static_cast<size_t>(n - 1)], slot(n, std::to_wstring(n) + L"    (empty)"));
  // A path's "&" shows as itself, not as an underline.
  EXPECT_EQ(bookmarks[9], slot(10, L"10  C:\\Tom && Jerry"));
}

TEST_F(RightClickTest, ColourEntriesComeInOrderAndAllButDefaultShowTheirColour) {
  RightClick(files.File(L"a.txt"));
  const std::vector<std::wstring> captions = {
      L"Default", L"Black", L"Gray", L"Dark Green", L"Light Green", L"Blue",
      L"Cyan", L"Yellow", L"Orange", L"Red", L"Burgundy", L"Lavender"};
  ASSERT_EQ(colours.size(), captions.size());
  for (size_t i = 0; i < captions.size(); ++i) {
    SCOPED_TRACE(Narrow(captions[i]));
    EXPECT_EQ(colours[i].Caption, captions[i]);
    EXPECT_EQ(colours[i].Id, kIdColour + i);
    if (i == 0) {
      EXPECT_EQ(colours[i].Checked, nullptr);
      continue;
    }
    ASSERT_NE(colours[i].Checked, nullptr);
    EXPECT_EQ(colours[i].Checked, colours[i].Unchecked);
    EXPECT_EQ(swatches[i], static_cast<COLORREF>(tk::ColorWordToRgb(ColourEntries()[i].Keyword)));
  }
}

// Which items the menu is for decides its entries: the shell's only for items of one folder.
TEST_F(RightClickTest, ShellEntriesOnlyForItemsOfOneFolderAndNoRenameForADriveRoot) {
  struct Case {
    const char* Name;
    std::wstring Item;
    std::vector<std::wstring> Marked;
    bool Shell;
    bool RenameAndDuplicate;
  };
  const std::vector<Case> cases = {
      {"one file", files.File(L"a.txt"), {}, true, true},
      {"two files of one folder", files.File(L"a.txt"),
       {files.File(L"a.txt"), files.File(L"b.txt")}, true, true},
      {"a folder and a file of it", files.File(L"a.txt"),
       {files.File(L"a.txt"), files.File(L"sub\\c.txt")}, false, true},
      {"a drive root, other items marked", L"C:\\", {files.File(L"a.txt")}, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    lists[100].Marked = c.Marked;
    shown = 0;
    RightClick(c.Item);
    ASSERT_EQ(shown, 1);
    EXPECT_EQ(HasShellEntries(), c.Shell);
    const auto has = [&](UINT id) {
      return std::any_of(menu.begin(), menu.end(), [&](const Entry& e) { return e.Id == id; });
    };
    EXPECT_EQ(has(kIdRename), c.RenameAndDuplicate);
    EXPECT_EQ(has(kIdDuplicate), c.RenameAndDuplicate);
    EXPECT_TRUE(has(kIdNewFolder) && has(kIdCommandLine) && has(kIdBookmarks) && has(kIdColourCode));
    // Without shell entries no separator is left hanging at the bottom.
    if (!c.Shell) {
      EXPECT_NE(menu.back().Id, 0u);
    }
  }
}

// A right click on the empty part of a listing of a drive's top folder is for the drive
// itself: no Rename, and no Duplicate that would copy the whole drive.
TEST_F(RightClickTest, TheEmptyAreaOfADrivesTopFolderOffersNoRenameOrDuplicate) {
  std::wstring folder = L"C:\\", parent, path, name;
  master->List_FBRightClick(100, 2, 0, 300, 300, folder, parent, path, name, true, zenlo::sFolder);
  ASSERT_EQ(shown, 1);
  for (const Entry& e : menu) {
    EXPECT_NE(e.Id, static_cast<UINT>(kIdRename));
    EXPECT_NE(e.Id, static_cast<UINT>(kIdDuplicate));
  }
  EXPECT_TRUE(HasShellEntries());
}

// ---------------------------------------------------------------------------------------------
// The tables

TEST(PaneMenuTables, EachOfOurIdsGivesItsKeywordAndSlot) {
  struct Case {
    UINT Id;
    const wchar_t* Keyword;
    int Slot;
  };
  const Case cases[] = {
      {kIdNewFolder, L"newfolder", -1},      {kIdRename, L"rename", -1},
      {kIdDuplicate, L"duplicate", -1},      {kIdCommandLine, L"commandline", -1},
      {kIdAddToSlot + 1, L"ADD TO SLOT", 0}, {kIdAddToSlot + 10, L"ADD TO SLOT", 9},
      {kIdClearSlot + 1, L"CLEAR SLOT", 0},  {kIdClearSlot + 10, L"CLEAR SLOT", 9},
      {kIdColour, L"default", -1},           {kIdColour + 3, L"dark green", -1},
      {kIdColour + 11, L"lavender", -1},
      // Entries that only open a submenu, ids past the tables, and shell ids are not ours.
      {kIdBookmarks, L"", -1},               {kIdColourCode, L"", -1},
      {kIdSlotLine + 1, L"", -1},            {kIdAddToSlot, L"", -1},
      {kIdAddToSlot + 11, L"", -1},          {kIdClearSlot + 11, L"", -1},
      {kIdColour + 12, L"", -1},             {26, L"", -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Id);
    const MenuChoice got = ProgramEntryChoice(c.Id);
    EXPECT_EQ(got.Keyword, c.Keyword);
    EXPECT_EQ(got.Slot, c.Slot);
  }
}

TEST(PaneMenuTables, ShellVerbsTakeTheProgramsRoadsOrRunInTheShell) {
  struct Case {
    const wchar_t* Verb;
    const wchar_t* Keyword;
    bool ShellRuns;
  };
  const Case cases[] = {
      {L"copy", L"copy", false},     {L"cut", L"cut", false},
      {L"paste", L"paste", false},   {L"delete", L"delete", false},
      {L"rename", L"rename", false}, {L"Copy", L"copy", false},
      {L"link", L"refresh", true},   {L"open", L"unknown", true},
      {L"properties", L"unknown", true},
      // Only the whole verb counts.
      {L"copyto", L"unknown", true}, {L"", L"unknown", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.Verb));
    EXPECT_EQ(ShellVerbKeyword(c.Verb), c.Keyword);
    EXPECT_EQ(ShellRunsKeyword(ShellVerbKeyword(c.Verb), false), c.ShellRuns);
  }
  // A folder's own menu lets the shell delete that folder: the list's marks are not its items.
  EXPECT_TRUE(ShellRunsKeyword(L"delete", true));
  EXPECT_FALSE(ShellRunsKeyword(L"copy", true));
}

// ---------------------------------------------------------------------------------------------
// What the entry chosen does

TEST_F(RightClickTest, AddToSlotStoresTheClickedFolderAndClearFreesTheSlot) {
  struct Case {
    const char* Name;
    zenlo::sTypes Type;
    std::wstring Path, Item, Stored;
  };
  const std::vector<Case> cases = {
      {"a file: its folder", zenlo::sFile, L"C:\\dir\\", L"a.txt", L"C:\\dir\\"},
      {"a folder: itself", zenlo::sFolder, L"C:\\dir\\", L"sub", L"C:\\dir\\sub"},
      {"a share: itself", zenlo::sShare, L"\\\\srv\\", L"docs", L"\\\\srv\\docs"},
      {"a computer: nothing", zenlo::sComputer, L"\\\\", L"srv", L"(empty)"},
      {"nothing clicked", zenlo::sFile, L"", L"", L"(empty)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    master->Options.BookMarks[2] = Bookmark{};
    lists[100].RenameType = c.Type;
    lists[100].RenamePath = c.Path;
    lists[100].RenameName = c.Item;
    Choose(kIdAddToSlot + 3);
    RightClick(files.File(L"a.txt"));
    EXPECT_EQ(master->Options.BookMarks[2].Path, c.Stored);
    EXPECT_EQ(master->Options.BookMarks[2].DisplayPath, c.Stored);
  }
  // One folder may stand in two slots.
  lists[100].RenameType = zenlo::sFolder;
  lists[100].RenamePath = L"C:\\dir\\";
  lists[100].RenameName = L"sub";
  for (UINT n : {3u, 7u}) {
    Choose(kIdAddToSlot + n);
    RightClick(files.File(L"sub"));
  }
  EXPECT_EQ(master->Options.BookMarks[2].Path, L"C:\\dir\\sub");
  EXPECT_EQ(master->Options.BookMarks[6].Path, L"C:\\dir\\sub");
  // Clearing frees both fields; clearing a free slot leaves it free.
  for (int round = 0; round < 2; ++round) {
    Choose(kIdClearSlot + 3);
    RightClick(files.File(L"sub"));
    EXPECT_EQ(master->Options.BookMarks[2].Path, L"(empty)");
    EXPECT_EQ(master->Options.BookMarks[2].DisplayPath, L"(empty)");
  }
  EXPECT_EQ(master->Options.BookMarks[6].Path, L"C:\\dir\\sub");
}

TEST_F(RightClickTest, DuplicateCopiesTheItemBesideItselfAndRereadsTheList) {
  Choose(kIdDuplicate);
  lists.Log.Calls.clear();
  RightClick(files.File(L"a.txt"));
  const std::vector<std::wstring> copies = Named(L"a*.txt");
  ASSERT_EQ(copies.size(), 2u) << "no duplicate was made";
  const std::wstring copy = copies[0] == L"a.txt" ? copies[1] : copies[0];
  HANDLE f = CreateFileW(files.File(copy).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  char text[16] = "";
  DWORD got = 0;
  ReadFile(f, text, sizeof text, &got, nullptr);
  CloseHandle(f);
  EXPECT_EQ(std::string(text, got), "alpha");
  EXPECT_TRUE(Called(100, L"RefreshList"));
  EXPECT_EQ(Named(L"b*.txt").size(), 1u);  // only the item clicked
}

// The colour notes come once each ever, in this order, both in one call when both apply.
TEST_F(RightClickTest, ColourCodingColoursTheItemsAndShowsEachFirstTimeNoteOnce) {
  const std::wstring first =
      L"Note: This is the first time you are color coding a file.\r\n\r\nTo see your files in "
      L"color, make sure you 'turn on' color coding under the Layout menu. Varnello runs a "
      L"little slower with this on, so turn it off whenever you have the need for speed.";
  const std::wstring overMax =
      L"When there are over 50 files in a folder, Varnello doesn't show the color coding because "
      L"it takes too long to check each file.\r\n\r\nFeel free to override this behaviour in the "
      L"Options if you wish.";
  master->Options.FileCountMax = 50;
  ASSERT_TRUE(master->Options.FirstColorEver);
  ASSERT_TRUE(master->Options.IsFirstColorCodingOverMax);
  lists[100].FileCount = 51;
  Choose(kIdColour + 11);  // Lavender
  {
    BoxAnswers boxes({BoxAnswers::Press(1), BoxAnswers::Press(1)});
    RightClick(files.File(L"a.txt"));
    ASSERT_EQ(boxes.Seen.size(), 2u);
    EXPECT_EQ(boxes.Seen[0].Text, first);
    EXPECT_EQ(boxes.Seen[1].Text, overMax);
  }
  EXPECT_TRUE(Called(100, L"ColorFiles(lavender)"));
  EXPECT_FALSE(master->Options.FirstColorEver);
  EXPECT_FALSE(master->Options.IsFirstColorCodingOverMax);
  // Again, and with Default: no note (a box now would fail the test).
  lists.Log.Calls.clear();
  Choose(kIdColour);
  RightClick(files.File(L"a.txt"));
  EXPECT_TRUE(Called(100, L"ColorFiles(default)"));
}

TEST_F(RightClickTest, TheOverMaxNoteWaitsForAFolderOverTheLimit) {
  master->Options.FirstColorEver = false;
  master->Options.FileCountMax = 50;
  lists[100].FileCount = 50;  // at the limit: no note
  Choose(kIdColour + 9);      // Red
  RightClick(files.File(L"a.txt"));
  EXPECT_TRUE(master->Options.IsFirstColorCodingOverMax);
  lists[100].FileCount = 51;
  BoxAnswers boxes({BoxAnswers::Press(1)});
  RightClick(files.File(L"a.txt"));
  ASSERT_EQ(boxes.Seen.size(), 1u);
  EXPECT_EQ(boxes.Seen[0].Text.rfind(L"When there are over 50 files", 0), 0u);
}

TEST_F(RightClickTest, CommandLineOpensAPromptInTheClickedFolder) {
  std::vector<std::wstring> runs;
  master->SetShellRunner(std::make_unique<RecordingShell>(&runs));
  lists[100].RenameType = zenlo::sFile;
  lists[100].RenamePath = files.Path() + L"\\";
  lists[100].RenameName = L"a.txt";
  Choose(kIdCommandLine);
  RightClick(files.File(L"a.txt"));
  EXPECT_EQ(runs, std::vector<std::wstring>{L"|cmd||" + files.Path() + L"\\"});
}

// The shell's own Create Link (known by its verb, "link") runs in the shell; the list is read
// again to show the shortcut. Wine offers the entry but makes no shortcut, so only the re-read
// is checked here.
TEST_F(RightClickTest, ChoosingTheShellsCreateLinkReadsTheListAgain) {
  choose = [](const std::vector<Entry>& entries) -> UINT {
    for (const Entry& e : entries) {
      std::wstring plain;
      for (wchar_t c : e.Caption)
        if (c != L'&') plain += c;
      if (IsShellId(e.Id) && (plain.find(L"Link") != std::wstring::npos ||
                              plain.find(L"Shortcut") != std::wstring::npos))
        return e.Id;
    }
    return 0;
  };
  lists.Log.Calls.clear();
  RightClick(files.File(L"b.txt"));
  ASSERT_TRUE(HasShellEntries());
  EXPECT_TRUE(Called(100, L"RefreshList"));
}

// Where the shell offers a folder no Paste, files on the clipboard still paste with the mouse
// into that folder; a file's menu offers none of ours.
TEST_F(RightClickTest, AFoldersMenuPastesFilesOnTheClipboardWhereTheShellOffersNoPaste) {
  std::wstring error;
  ASSERT_TRUE(ShellClipboard(master->Handle()).Put({files.File(L"a.txt")}, false, error))
      << Narrow(error);
  const auto hasOurPaste = [this] {
    return std::any_of(menu.begin(), menu.end(), [](const Entry& e) { return e.Id == kIdPaste; });
  };
  const auto shellPaste = [this] {
    return std::any_of(menu.begin(), menu.end(), [](const Entry& e) {
      return IsShellId(e.Id) && e.Caption.find(L"Paste") != std::wstring::npos;
    });
  };
  RightClick(files.File(L"a.txt"));
  EXPECT_FALSE(hasOurPaste());
  choose = [](const std::vector<Entry>& entries) -> UINT {
    for (const Entry& e : entries)
      if (e.Id == kIdPaste) return e.Id;
    return 0;
  };
  RightClick(files.File(L"sub"));
  ASSERT_TRUE(hasOurPaste() != shellPaste()) << "one Paste entry, ours or the shell's";
  if (!hasOurPaste()) GTEST_SKIP() << "this shell offers its own Paste";
  EXPECT_EQ(Named(L"sub\\a.txt"), std::vector<std::wstring>{L"a.txt"});
}

// Esc: nothing runs, but the watches stopped around the menu run again and the forbidden marks
// go.
TEST_F(RightClickTest, DismissingTheMenuRunsNothingButTheTail) {
  lists.Log.Calls.clear();
  RightClick(files.File(L"a.txt"));
  ASSERT_EQ(shown, 1);
  const std::vector<std::wstring> before(lists.Log.Calls.begin(),
                                         lists.Log.Calls.begin() + static_cast<long>(logAtShow));
  const std::vector<std::wstring> after(lists.Log.Calls.begin() + static_cast<long>(logAtShow),
                                        lists.Log.Calls.end());
  for (const wchar_t* l : {L"0:WatchStop", L"100:WatchStop", L"100:PreDragCheck"})
    EXPECT_NE(std::find(before.begin(), before.end(), l), before.end()) << Narrow(l);
  for (const wchar_t* l : {L"0:WatchResume", L"100:WatchResume", L"100:UnselectForbiddenItems"})
    EXPECT_NE(std::find(after.begin(), after.end(), l), after.end()) << Narrow(l);
  for (const auto& c : after) {
    EXPECT_EQ(c.find(L"RefreshList"), std::wstring::npos) << Narrow(c);
    EXPECT_EQ(c.find(L"ColorFiles"), std::wstring::npos) << Narrow(c);
  }
}

// An item that is gone by the time of the click: no menu, and the shell's error is said once.
TEST_F(RightClickTest, AnItemThatIsGoneShowsNoMenuAndSaysWhy) {
  std::vector<std::wstring> boxes;
  tk::SetMessageBoxSeam([&](const tk::MessageBoxRequest& r) {
    boxes.push_back(r.Text);
    return IDOK;
  });
  lists.Log.Calls.clear();
  RightClick(files.File(L"gone.txt"));
  tk::SetMessageBoxSeam([](const tk::MessageBoxRequest&) {
    ADD_FAILURE() << "unexpected message box";
    return IDCANCEL;
  });
  EXPECT_EQ(shown, 0);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].rfind(L"Error: &H", 0), 0u) << Narrow(boxes[0]);
  EXPECT_TRUE(Called(100, L"UnselectForbiddenItems"));
  EXPECT_TRUE(Called(100, L"WatchResume"));
}

// Before any list was chosen, and with the clicked pane unknown, no list is reached.
TEST_F(RightClickTest, AClickedPaneOfNoListShowsNoMenuAndTouchesNoList) {
  for (short clicked : {short{-1}, short{-99}}) {
    SCOPED_TRACE(clicked);
    master->Options.ClickedPane = clicked;
    lists.Log.Calls.clear();
    shown = 0;
    RightClick(files.File(L"a.txt"));
    EXPECT_EQ(shown, 0);
    for (const auto& c : lists.Log.Calls)
      EXPECT_TRUE(c.find(L":Watch") != std::wstring::npos) << Narrow(c);
  }
}

}  // namespace
