// The Tools commands and the command line on real lists, real files, the real Save dialog and
// the real recycle bin (this executable's recycle bin is a folder of its own: see CMakeLists).
#include <gtest/gtest.h>
#include <windows.h>

#include <commdlg.h>
#include <dlgs.h>
#include <shellapi.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#include "MasterFixture.h"
#include "commands/CommandLine.h"
#include "commands/ListingExport.h"
#include "commands/MainMenu.h"
#include "commands/RecycleBin.h"
#include "mainwindow/ZenloPaneList.h"
#include "toolkit/EventLoop.h"

namespace {

using namespace varnello;
using vtest::BoxAnswers;
using vtest::TempDir;

std::string Narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }

std::wstring Env(const wchar_t* name) {
  wchar_t value[MAX_PATH] = L"";
  const DWORD n = GetEnvironmentVariableW(name, value, MAX_PATH);
  return n > 0 && n < MAX_PATH ? value : L"";
}

std::wstring CurrentFolder() {
  wchar_t folder[MAX_PATH] = L"";
  GetCurrentDirectoryW(MAX_PATH, folder);
  return folder;
}

std::string ReadFile(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Varnello on the library's real lists, panes 0 and 1 shown.
class RealCommandTest : public testing::Test {
 protected:
  RealCommandTest() : factory(vtest::ExeFolder()) {}
  void SetUp() override {
    ASSERT_TRUE(factory.Loaded());
    master = std::make_unique<Master>(vtest::WithShippedSkins(program.Path()), factory);
    master->Form_Load(reporter);
    ASSERT_TRUE(reporter.Loaded);
    master->Show();
  }
  void TearDown() override {
    if (master) master->RequestClose();
  }
  // Shows pane `pane` on `folder` (a folder at the top of drive C).
  void ShowFolder(short pane, const std::wstring& folder) {
    if (master->Panes[pane].Status != 0) master->ChangePanes(pane);
    master->List(pane)->StoreActiveFolder(L"C", folder);
    master->LoadFolders(pane);
    ASSERT_EQ(master->List(static_cast<short>(pane + 100))->currentFolder(), folder + L"\\");
  }
  // Name -> compare mark of the items list `index` shows.
  std::map<std::wstring, zenlo::CompareStatus> MarksOf(short index) const {
    std::map<std::wstring, zenlo::CompareStatus> marks;
    for (const auto& [path, mark] : master->List(index)->CompareMarks())
      marks[path.substr(path.find_last_of(L'\\') + 1)] = mark;
    return marks;
  }
  ZenloPaneListFactory factory;
  TempDir program;
  vtest::Reporter reporter;
  std::unique_ptr<Master> master;
};

class CompareOnRealLists : public RealCommandTest {
 protected:
  void SetUp() override {
    RealCommandTest::SetUp();
    a.Write(L"same.txt", "1");
    a.Write(L"bigger.txt", "22");
    a.Write(L"only a.txt", "x");
    b.Write(L"same.txt", "1");
    b.Write(L"bigger.txt", "333");
    b.Write(L"only b.txt", "x");
    c.Write(L"bigger.txt", "22");
    ASSERT_NO_FATAL_FAILURE(ShowFolder(0, a.Path()));
    ASSERT_NO_FATAL_FAILURE(ShowFolder(1, b.Path()));
    // By name and size: the files were written too close together for their minutes to say
    // anything.
    master->Toolbar1().SetValue(L"compare_date", false);
    master->SetCompareMode();
  }
  TempDir a{L"C:\\"}, b{L"C:\\"}, c{L"C:\\"};
};

using Marks = std::map<std::wstring, zenlo::CompareStatus>;
constexpr auto kMatch = zenlo::IsMatch;
constexpr auto kNoMatch = zenlo::IsNotMatch;
constexpr auto kNone = zenlo::NotActive;

TEST_F(CompareOnRealLists, TwoPanesMarkBothListings) {
  master->List_SetLockedIndex(100);
  master->OnCommand(mnuCompare);
  EXPECT_EQ(MarksOf(101), (Marks{{L"same.txt", kMatch}, {L"bigger.txt", kNoMatch},
                               {L"only b.txt", kNoMatch}}));
  EXPECT_EQ(MarksOf(100), (Marks{{L"same.txt", kMatch}, {L"bigger.txt", kNoMatch},
                               {L"only a.txt", kNoMatch}}));
}

TEST_F(CompareOnRealLists, FromATreeTheTreesListingIsTheSource) {
  ASSERT_NO_FATAL_FAILURE(ShowFolder(1, c.Path()));
  master->TitleBar_MouseDown(1);  // pane 2's tree: its listing (c) is compared with a
  master->OnCommand(mnuCompare);
  EXPECT_EQ(MarksOf(100), (Marks{{L"same.txt", kNoMatch}, {L"bigger.txt", kMatch},
                               {L"only a.txt", kNoMatch}}));
  EXPECT_EQ(MarksOf(101), (Marks{{L"bigger.txt", kMatch}}));
}

TEST_F(CompareOnRealLists, ThreePanesMarkTheOtherTwoOnly) {
  ASSERT_NO_FATAL_FAILURE(ShowFolder(2, c.Path()));
  ASSERT_EQ(master->Options.ShownPaneCount, 3);
  master->List_SetLockedIndex(100);
  master->OnCommand(mnuCompare);
  EXPECT_EQ(MarksOf(101), (Marks{{L"same.txt", kMatch}, {L"bigger.txt", kNoMatch},
                               {L"only b.txt", kNoMatch}}));
  EXPECT_EQ(MarksOf(102), (Marks{{L"bigger.txt", kMatch}}));
  EXPECT_EQ(MarksOf(100), (Marks{{L"same.txt", kNone}, {L"bigger.txt", kNone},
                               {L"only a.txt", kNone}}));
}

TEST_F(CompareOnRealLists, OnePaneOnlyGetsTheMessage) {
  master->ChangePanes(1);
  ASSERT_EQ(master->Options.ShownPaneCount, 1);
  BoxAnswers boxes({BoxAnswers::Press(1)});
  master->OnCommand(mnuCompare);
  ASSERT_EQ(boxes.Seen.size(), 1u);
  EXPECT_EQ(boxes.Seen[0].Text,
            L"You are only showing one folder currently, so there is nothing to compare.");
  EXPECT_EQ(MarksOf(100), (Marks{{L"same.txt", kNone}, {L"bigger.txt", kNone},
                               {L"only a.txt", kNone}}));
}

// Export through the real Save dialog, which the hook answers as a user would.
class ExportTest : public RealCommandTest {
 protected:
  void SetUp() override {
    RealCommandTest::SetUp();
    folder.Write(L"one.txt", "1");
    folder.Write(L"two, with comma.txt", "22");
    ASSERT_NO_FATAL_FAILURE(ShowFolder(0, folder.Path()));
    master->List_SetLockedIndex(100);
    SetCurrentDirectoryW(program.Path().c_str());
  }
  void TearDown() override {
    ListingExport::SetShownHook(nullptr);
    RealCommandTest::TearDown();
  }
  // Answers the next Save dialog with `name` (empty: Cancel); records where it started.
  void Answer(const std::wstring& name) {
    ListingExport::SetShownHook([this, name](HWND dialog) {
      wchar_t start[MAX_PATH] = L"";
      SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(start));
      started.push_back(start);
      wchar_t proposed[MAX_PATH] = L"";
      SendMessageW(dialog, CDM_GETSPEC, MAX_PATH, reinterpret_cast<LPARAM>(proposed));
      proposals.push_back(proposed);
      if (name.empty()) {
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        return;
      }
      SendMessageW(dialog, CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>(name.c_str()));
      PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
  }
  TempDir folder{L"C:\\"}, target;
  std::vector<std::wstring> started, proposals;
};

TEST_F(ExportTest, WritesTheClickedListingAndRemembersTheFolder) {
  Answer(target.File(L"listing.csv"));
  master->OnCommand(mnuSaveFileListing);
  ASSERT_EQ(started.size(), 1u) << "the Save dialog did not come up";
  EXPECT_EQ(proposals[0].rfind(L"FileListing", 0), 0u);
  EXPECT_EQ(proposals[0].size(), std::wstring(L"FileListing24-05-07-134501.csv").size());
  // With no folder remembered the dialog starts in the user's documents.
  EXPECT_NE(started[0].find(L"Documents"), std::wstring::npos) << Narrow(started[0]);
  const std::string csv = ReadFile(target.File(L"listing.csv"));
  std::istringstream lines(csv);
  std::string header, line;
  std::getline(lines, header);
  EXPECT_EQ(header.rfind("\"Type\",\"Name\",\"Size\"", 0), 0u) << header;
  std::vector<std::string> names;
  while (std::getline(lines, line))
    if (line.size() > 8) names.push_back(line.substr(0, line.find("\",\"", 8) + 1));
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"\"File\",\"one.txt\"",
                                             "\"File\",\"two, with comma.txt\""}));
  EXPECT_EQ(master->Options.FolderFileListing, target.Path());
  EXPECT_EQ(_wcsicmp(CurrentFolder().c_str(), program.Path().c_str()), 0);

  // The second export of the run starts where the first one went.
  Answer(target.File(L"second.csv"));
  master->OnCommand(mnuSaveFileListing);
  ASSERT_EQ(started.size(), 2u);
  EXPECT_EQ(_wcsicmp(started[1].c_str(), target.Path().c_str()), 0) << Narrow(started[1]);
  EXPECT_TRUE(target.Exists(L"second.csv"));
}

TEST_F(ExportTest, CancelWritesNothingAndKeepsEverything) {
  master->Options.FolderFileListing = target.Path();
  Answer(L"");
  BoxAnswers none({});
  master->OnCommand(mnuSaveFileListing);
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(_wcsicmp(started[0].c_str(), target.Path().c_str()), 0);
  EXPECT_EQ(master->Options.FolderFileListing, target.Path());
  WIN32_FIND_DATAW found;
  HANDLE h = FindFirstFileW(target.File(L"*.csv").c_str(), &found);
  EXPECT_EQ(h, INVALID_HANDLE_VALUE);
  if (h != INVALID_HANDLE_VALUE) FindClose(h);
  EXPECT_EQ(_wcsicmp(CurrentFolder().c_str(), program.Path().c_str()), 0);
}

// The listing cannot be put in place of a file another program holds open; the user is asked
// first whether to replace it, and says yes.
TEST_F(ExportTest, AnUnwritableTargetIsReportedAndItsFolderStillRemembered) {
  target.Write(L"held.csv", "held");
  HANDLE held = CreateFileW(target.File(L"held.csv").c_str(), GENERIC_READ, 0, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Answer(target.File(L"held.csv"));
  // The dialog's own question about replacing the file, answered from outside as a user would.
  const DWORD self = GetCurrentProcessId();
  std::atomic<bool> done{false};
  std::thread replace([&] {
    for (int i = 0; i < 200 && !done; ++i) {
      Sleep(50);
      HWND box = nullptr;
      while ((box = FindWindowExW(nullptr, box, L"#32770", nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(box, &owner);
        if (owner == self && IsWindowVisible(box) && GetDlgItem(box, IDYES)) {
          PostMessageW(box, WM_COMMAND, IDYES, 0);
          return;
        }
      }
    }
  });
  BoxAnswers boxes({BoxAnswers::Press(1)});
  master->OnCommand(mnuSaveFileListing);
  done = true;
  replace.join();
  CloseHandle(held);
  ASSERT_EQ(boxes.Seen.size(), 1u);
  EXPECT_EQ(boxes.Seen[0].Text,
            L"There was a problem writing the folder / file listing to the specified file.");
  EXPECT_EQ(ReadFile(target.File(L"held.csv")), "held");
  EXPECT_EQ(master->Options.FolderFileListing, target.Path());
  EXPECT_EQ(_wcsicmp(CurrentFolder().c_str(), program.Path().c_str()), 0);
}

// Enter in the command-line box starts the program in the folder of the clicked pane's record,
// which the path box shows shortened when it is long; a quoted program keeps its blanks.
TEST_F(RealCommandTest, TheCommandLineStartsAProgramInThePanesFolder) {
  const std::wstring marker = Env(L"OPEN_MARKER");
  ASSERT_FALSE(marker.empty());
  // At the top of drive C, so the drive's tree shows it without expanding anything.
  TempDir top(L"C:\\a folder whose name is long enough for the path box ");
  const std::wstring pane = top.Path();
  const std::wstring programFolder = top.File(L"program with blanks");
  ASSERT_TRUE(CreateDirectoryW(programFolder.c_str(), nullptr));
  const std::wstring exe = programFolder + L"\\open marker.exe";
  ASSERT_TRUE(CopyFileW(marker.c_str(), exe.c_str(), FALSE));
  ASSERT_NO_FATAL_FAILURE(ShowFolder(1, pane));
  master->List_SetLockedIndex(101);
  master->ShowCommandLine(true, false);
  ASSERT_GT(pane.size(), 49u);
  EXPECT_NE(master->CurrentPathText() + L"\\", pane + L"\\");  // the box shows it shortened

  master->SetCommandText(L"  \"" + exe + L"\"   note one.txt  ");
  HWND edit = FindWindowExW(master->CommandWindow(), nullptr, L"Edit", nullptr);
  ASSERT_NE(edit, nullptr);
  SetFocus(edit);
  PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
  const std::wstring written = pane + L"\\note.opened";
  EXPECT_TRUE(tk::PumpUntil([&] { return GetFileAttributesW(written.c_str()) != INVALID_FILE_ATTRIBUTES; }, 15000))
      << "the program did not write its marker";
  const std::string bytes = ReadFile(written);
  const std::wstring where(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
  EXPECT_EQ(_wcsicmp(where.c_str(), pane.c_str()), 0) << Narrow(where);
  // The line stays in the box, trimmed, for the next Enter.
  EXPECT_EQ(master->CommandText(), L"\"" + exe + L"\"   note one.txt");
  Sleep(200);
}

// Emptying asks first with the count, then says honestly what the shell left behind.
TEST_F(RealCommandTest, EmptyRecycleBinEmptiesOrSaysWhatIsLeft) {
  if (Env(L"XDG_DATA_HOME").empty()) GTEST_SKIP() << "run through ctest: it empties the bin";
  TempDir junk;
  for (const wchar_t* name : {L"one.txt", L"two.txt", L"three.txt"}) junk.Write(name, "bytes");
  CreateDirectoryW(junk.File(L"folder").c_str(), nullptr);
  junk.Write(L"folder\\inside.txt", "in");
  const std::wstring from = junk.File(L"one.txt") + L'\0' + junk.File(L"two.txt") + L'\0' +
                            junk.File(L"three.txt") + L'\0' + junk.File(L"folder") + L'\0' + L'\0';
  SHFILEOPSTRUCTW op{};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
  const std::int64_t before = RecycleBin::ItemCount(L"");
  ASSERT_GE(before, 0);
  ASSERT_EQ(SHFileOperationW(&op), 0);
  const std::int64_t binned = RecycleBin::ItemCount(L"");
  ASSERT_EQ(binned, before + 4);

  BoxAnswers boxes({BoxAnswers::Press(2), BoxAnswers::Press(1)});
  master->OnCommand(mnuRCEmptyRecycleBin);
  ASSERT_GE(boxes.Seen.size(), 1u);
  EXPECT_EQ(boxes.Seen[0].Text, L"Are you sure you want to permanently delete the " +
                                    std::to_wstring(binned) + L" items in the recycle bin?");
  EXPECT_EQ(boxes.Seen[0].Buttons, (std::vector<std::wstring>{L"Yes", L"No"}));
  const std::int64_t left = RecycleBin::ItemCount(L"");
  if (left == 0) {
    EXPECT_EQ(boxes.Seen.size(), 1u);
  } else {
    ASSERT_EQ(boxes.Seen.size(), 2u);
    const std::wstring count = std::to_wstring(left) + (left == 1 ? L" item is" : L" items are");
    EXPECT_EQ(boxes.Seen[1].Text, L"The recycle bin could not be emptied completely: " + count +
                                      L" still in it.");
  }
  // An empty bin is not asked about.
  if (left == 0) {
    BoxAnswers again({BoxAnswers::Press(1)});
    master->OnCommand(mnuRCEmptyRecycleBin);
    ASSERT_EQ(again.Seen.size(), 1u);
    EXPECT_EQ(again.Seen[0].Text, L"The recycle bin is already empty.");
  }
}

}  // namespace
