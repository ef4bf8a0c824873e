// The file commands on real temporary trees: copy and move (within C:, from C: to Z:, into
// their own folder, refused into themselves), drops, delete, duplicate, new folder and rename,
// with every file's checksum compared after each case; the dialogs' verdicts; the name rules;
// and failures the system really makes, each reported once.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <tuple>

#include "DialogAnswers.h"
#include "MasterFixture.h"
#include "commands/FileOperations.h"
#include "toolkit/EventLoop.h"
#include "toolkit/PathText.h"

namespace {

using vtest::BoxAnswers;
using vtest::DialogAnswers;
using vtest::MasterTest;
using vtest::TempDir;
using Tree = std::map<std::wstring, std::string>;  // relative path -> checksum ("dir" for folders)

std::string Narrow(const std::wstring& w) {
  std::string s;
  for (wchar_t c : w) s += c == L'\0' ? '|' : static_cast<char>(c < 128 ? c : '?');
  return s;
}

std::string Checksum(const std::wstring& file) {
  std::ifstream in(tk::LongPathForm(file, 0).c_str(), std::ios::binary);
  std::uint64_t h = 1469598103934665603ull;
  char c;
  while (in.get(c)) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  return std::to_string(h);
}

// Every file and folder below `root`, by path relative to it.
Tree Snapshot(const std::wstring& root, const std::wstring& rel = L"") {
  Tree out;
  WIN32_FIND_DATAW d;
  const std::wstring folder = root + (rel.empty() ? L"" : L"\\" + rel);
  HANDLE h = FindFirstFileW(tk::LongPathForm(folder + L"\\*", 0).c_str(), &d);
  if (h == INVALID_HANDLE_VALUE) return out;
  do {
    const std::wstring name = d.cFileName;
    if (name == L"." || name == L"..") continue;
    const std::wstring r = rel.empty() ? name : rel + L"\\" + name;
    if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      out[r] = "dir";
      Tree below = Snapshot(root, r);
      out.insert(below.begin(), below.end());
    } else {
      out[r] = Checksum(root + L"\\" + r);
    }
  } while (FindNextFileW(h, &d));
  FindClose(h);
  return out;
}

std::string Contents(const std::wstring& file) {
  std::ifstream in(tk::LongPathForm(file, 0).c_str(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const std::wstring& path, const std::string& bytes) {
  std::ofstream out(tk::LongPathForm(path, 0).c_str(), std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::wstring Specs(const std::vector<std::wstring>& paths) {
  std::wstring s;
  for (const auto& p : paths) s += p + L'\0';
  return s + L'\0';
}

// A source tree: two files, a file with a Unicode name, a folder with a file and a child folder.
struct SourceTree {
  TempDir dir;
  explicit SourceTree(const std::wstring& base = L"") : dir(base.empty() ? TempDir() : TempDir(base)) {
    dir.Write(L"a.txt", "alpha");
    dir.Write(L"b.dat", std::string(5000, 'b'));
    WriteFile(dir.File(L"\u00fcml\u00e4ut \u6587\u4ef6.txt"), "unicode");
    CreateDirectoryW(dir.File(L"f").c_str(), nullptr);
    dir.Write(L"f\\inner.txt", "inner");
    CreateDirectoryW(dir.File(L"f\\child").c_str(), nullptr);
  }
};

class FileCommandsTest : public MasterTest {
 protected:
  void SetUp() override { ASSERT_NO_FATAL_FAILURE(StartUp()); }
  // Runs FileOperate as a drop on pane 1's listing would.
  void Operate(std::wstring word, const std::vector<std::wstring>& sources, std::wstring dest,
               short sourceIndex = 100) {
    short destIndex = 101;
    bool refreshChild = false;
    master->FileOperate(word, sourceIndex, destIndex, dest, refreshChild, Specs(sources));
  }
};

TEST_F(FileCommandsTest, CopyAndMoveOnRealTreesKeepEveryFileIntact) {
  const std::wstring uni = L"\u00fcml\u00e4ut \u6587\u4ef6.txt";
  struct Case {
    const char* name;
    const wchar_t* word;
    bool toZ;          // the destination is on drive Z:
    bool intoSource;   // the destination is the source folder itself
    std::vector<std::wstring> items;
    // What the destination holds afterwards (relative), and what left the source.
    std::vector<std::pair<std::wstring, std::wstring>> arrived;  // source name -> new name
  } cases[] = {
      {"copy files within C:", L"copy", false, false, {L"a.txt", uni}, {{L"a.txt", L"a.txt"}, {uni, uni}}},
      {"move a file and a folder within C:", L"move", false, false, {L"b.dat", L"f"},
       {{L"b.dat", L"b.dat"}, {L"f", L"f"}}},
      {"copy from C: to Z:", L"copy", true, false, {L"a.txt", L"f"}, {{L"a.txt", L"a.txt"}, {L"f", L"f"}}},
      {"move from C: to Z:", L"move", true, false, {uni, L"b.dat"}, {{uni, uni}, {L"b.dat", L"b.dat"}}},
      {"copy into the same folder", L"copy", false, true, {L"a.txt", L"f"},
       {{L"a.txt", L"a (2).txt"}, {L"f", L"f (2)"}}},
      {"move into the same folder", L"move", false, true, {L"b.dat"}, {{L"b.dat", L"b (2).dat"}}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    SourceTree src;
    TempDir dest = k.toZ ? TempDir(L"Z:\\tmp\\") : TempDir();
    const Tree before = Snapshot(src.dir.Path());
    std::vector<std::wstring> paths;
    for (const auto& i : k.items) paths.push_back(src.dir.File(i));
    Operate(k.word, paths, k.intoSource ? src.dir.Path() : dest.Path());

    // Expected: the source less what moved away; the destination with what arrived, each file
    // with the checksum it had.
    Tree wantSource = before, wantDest;
    Tree& target = k.intoSource ? wantSource : wantDest;
    for (const auto& [from, to] : k.arrived) {
      for (const auto& [rel, sum] : before) {
        if (rel != from && rel.rfind(from + L"\\", 0) != 0) continue;
        target[to + rel.substr(from.size())] = sum;
        if (std::wstring(k.word) == L"move") wantSource.erase(rel);
      }
    }
    EXPECT_EQ(Snapshot(src.dir.Path()), wantSource);
    if (!k.intoSource) {
      EXPECT_EQ(Snapshot(dest.Path()), wantDest);
    }
  }
  // A second copy into the same folder takes the next free name, never the first copy's.
  SourceTree src;
  Operate(L"copy", {src.dir.File(L"a.txt")}, src.dir.Path());
  Operate(L"copy", {src.dir.File(L"a.txt")}, src.dir.Path());
  EXPECT_TRUE(src.dir.Exists(L"a (2).txt"));
  EXPECT_TRUE(src.dir.Exists(L"a (3).txt"));
}

TEST_F(FileCommandsTest, AFolderIsNeverCopiedOrMovedIntoItselfOrItsChildren) {
  struct Case {
    const char* name;
    const wchar_t* word;
    std::wstring dest;  // relative to the source tree
  } cases[] = {
      {"copy onto itself", L"copy", L"f"},
      {"move onto itself", L"move", L"f"},
      {"copy into its child", L"copy", L"f\\child"},
      {"move into its child, named in other case", L"move", L"F\\CHILD\\"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    SourceTree src;
    const Tree before = Snapshot(src.dir.Path());
    BoxAnswers boxes({BoxAnswers::Press(1)});
    Operate(k.word, {src.dir.File(L"f")}, src.dir.File(k.dest));
    ASSERT_EQ(boxes.Seen.size(), 1u);
    EXPECT_NE(boxes.Seen[0].Text.find(L"into itself"), std::wstring::npos)
        << Narrow(boxes.Seen[0].Text);
    EXPECT_EQ(Snapshot(src.dir.Path()), before);
  }
}

TEST_F(FileCommandsTest, ADestinationThatIsNoExistingAbsoluteFolderDoesNothing) {
  SourceTree src;
  const Tree before = Snapshot(src.dir.Path());
  for (const std::wstring& dest : {src.dir.File(L"missing"), std::wstring(L"relative\\dir"),
                                  src.dir.File(L"a.txt"), std::wstring()}) {
    SCOPED_TRACE(Narrow(dest));
    BoxAnswers boxes({BoxAnswers::Press(1)});
    Operate(L"copy", {src.dir.File(L"b.dat")}, dest);
    ASSERT_EQ(boxes.Seen.size(), 1u);
    EXPECT_NE(boxes.Seen[0].Text.find(L"not an existing folder"), std::wstring::npos);
    EXPECT_EQ(Snapshot(src.dir.Path()), before);
  }
}

// Removes a tree without the shell, which cannot reach paths this long.
void RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW d;
  HANDLE h = FindFirstFileW(tk::LongPathForm(folder + L"\\*", 0).c_str(), &d);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = d.cFileName, path = folder + L"\\" + name;
      if (name == L"." || name == L"..") continue;
      if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(path);
      else
        DeleteFileW(tk::LongPathForm(path, 0).c_str());
    } while (FindNextFileW(h, &d));
    FindClose(h);
  }
  RemoveDirectoryW(tk::LongPathForm(folder, 0).c_str());
}

// Past MAX_PATH the shell's operation cannot be trusted (under Wine it has emptied the current
// folder instead): such items are refused, named, and left as they are.
TEST_F(FileCommandsTest, PathsTooLongForTheShellAreRefusedAndADriveRootTakesCopies) {
  TempDir deep;
  const std::wstring top = deep.File(std::wstring(80, L'p'));
  // Gone before the temporary folder is removed through the shell, whatever happens here.
  struct RemovedTree {
    std::wstring path;
    ~RemovedTree() { RemoveTree(path); }
  } removed{top};
  std::wstring folder = deep.Path();
  for (int i = 0; i < 3; ++i) {
    folder += L"\\" + std::wstring(80, static_cast<wchar_t>(L'p' + i));
    ASSERT_TRUE(CreateDirectoryW(tk::LongPathForm(folder, 0).c_str(), nullptr));
  }
  const std::wstring file = folder + L"\\" + std::wstring(40, L'n') + L".txt";
  ASSERT_GT(file.size(), 300u);
  WriteFile(file, "deep");
  const Tree before = Snapshot(deep.Path());
  TempDir dest;
  for (const auto& [word, item, into] :
       {std::tuple{L"copy", file, dest.Path()}, std::tuple{L"copy", file, folder},
        std::tuple{L"move", top, dest.Path()}, std::tuple{L"delete", top, std::wstring()}}) {
    SCOPED_TRACE(Narrow(word));
    BoxAnswers boxes({BoxAnswers::Press(1)});
    Operate(word, {item}, into);
    ASSERT_EQ(boxes.Seen.size(), 1u);
    EXPECT_NE(boxes.Seen[0].Text.find(item), std::wstring::npos) << Narrow(boxes.Seen[0].Text);
    EXPECT_NE(boxes.Seen[0].Text.find(L"too long"), std::wstring::npos);
    EXPECT_EQ(Snapshot(deep.Path()), before);
    EXPECT_TRUE(Snapshot(dest.Path()).empty());
  }

  // "C:" takes its separator: the copy goes to the drive's top folder.
  SourceTree src;
  const std::wstring name = L"vtest root copy " + std::to_wstring(GetCurrentProcessId()) + L".txt";
  MoveFileW(src.dir.File(L"a.txt").c_str(), src.dir.File(name).c_str());
  Operate(L"copy", {src.dir.File(name)}, L"C:");
  EXPECT_EQ(Contents(L"C:\\" + name), "alpha");
  DeleteFileW((L"C:\\" + name).c_str());
}

// The verdict words: only "copy", "move" and "delete" reach the shell; "cancel" and every
// other word leave the files alone, and every way out runs the stopped watches again.
TEST_F(FileCommandsTest, OnlyTheThreeOperationWordsRunAndEveryExitRestartsTheWatches) {
  struct Case {
    const wchar_t* word;
    UINT code;
    bool refreshes;
  } cases[] = {
      {L"copy", FO_COPY, true}, {L"move", FO_MOVE, true}, {L"delete", FO_DELETE, true},
      {L"rename", 0, true},     {L"", 0, true},           {L"Copy", 0, true},
      {L"cancel", 0, false},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(Narrow(k.word));
    EXPECT_EQ(varnello::FileOperationWords(k.word), k.code);
    if (k.code) continue;
    SourceTree src;
    TempDir dest;
    const Tree before = Snapshot(src.dir.Path());
    lists.Log.Calls.clear();
    Operate(k.word, {src.dir.File(L"a.txt")}, dest.Path());
    EXPECT_EQ(Snapshot(src.dir.Path()), before);
    EXPECT_TRUE(Snapshot(dest.Path()).empty());
    EXPECT_EQ(lists.Log.Has(L"101:RefreshList"), k.refreshes);
    for (short list : {0, 1, 100, 101}) {
      const auto calls = lists.Log.For(list);
      ASSERT_FALSE(calls.empty()) << list;
      EXPECT_NE(calls.back().find(L"Watch"), std::wstring::npos) << list;
      EXPECT_NE(calls.back(), L"WatchStop") << list;
    }
  }
  // Nothing marked: the message, and the watches again.
  lists.Log.Calls.clear();
  BoxAnswers boxes({BoxAnswers::Press(1)});
  std::wstring word = L"copy", dest = L"C:\\";
  short destIndex = 101;
  bool refreshChild = false;
  master->FileOperate(word, 100, destIndex, dest, refreshChild);
  ASSERT_EQ(boxes.Seen.size(), 1u);
  EXPECT_EQ(boxes.Seen[0].Text, L"No files selected for this operation.");
  EXPECT_EQ(lists.Log.For(100).back(), L"WatchResume");
}

TEST(FileCommandPaths, PathFunctionsAndDuplicateNames) {
  using namespace varnello;
  struct Case {
    std::wstring in, folder, trimmed, valid;
  } paths[] = {
      {L"C:\\a\\b.txt", L"C:\\a\\", L"C:\\a\\b.txt", L"C:\\a\\b.txt"},
      {L"name", L"", L"name", L"name"},
      {L"C:\\", L"C:\\", L"C:", L"C:\\"},
      {L"\\\\srv", L"\\\\", L"\\\\srv", L""},
      {L"\\\\srv\\", L"\\\\srv\\", L"\\\\srv", L""},
      {L"\\\\srv\\share", L"\\\\srv\\", L"\\\\srv\\share", L"\\\\srv\\share"},
      {L"*Network\\\\srv\\share", L"*Network\\\\srv\\", L"*Network\\\\srv\\share", L"\\\\srv\\share"},
  };
  for (const Case& k : paths) {
    SCOPED_TRACE(Narrow(k.in));
    EXPECT_EQ(GetFolderPath(k.in), k.folder);
    EXPECT_EQ(RemoveRightSlash(k.in), k.trimmed);
    EXPECT_EQ(ValidatePath(k.in), k.valid);
  }
  SYSTEMTIME t{};
  t.wYear = 2024, t.wMonth = 3, t.wDay = 5, t.wHour = 14, t.wMinute = 22, t.wSecond = 33;
  const std::wstring stamp = DuplicateStamp(t);
  EXPECT_EQ(stamp, L"240305-142233");
  struct Dup {
    std::wstring in, out;
  } dups[] = {
      {L"C:\\t\\report.v2.txt", L"C:\\t\\report.v2240305-142233.txt"},
      {L"C:\\t\\README", L"C:\\t\\README240305-142233"},
      {L"C:\\my.dir\\notes", L"C:\\my.dir\\notes240305-142233"},
      {L"C:\\t\\.profile", L"C:\\t\\.profile240305-142233"},
      {L"C:\\t\\folder\\", L"C:\\t\\folder240305-142233"},
  };
  for (const Dup& d : dups) EXPECT_EQ(DuplicatePath(d.in, stamp), d.out) << Narrow(d.in);
  EXPECT_EQ(SplitFileSpecs(std::wstring(L"C:\\a\0C:\\b\0\0", 11)),
            (std::vector<std::wstring>{L"C:\\a", L"C:\\b"}));
  EXPECT_TRUE(SplitFileSpecs(std::wstring(1, L'\0')).empty());
}

TEST(FileCommandPaths, NameRules) {
  struct Case {
    std::wstring name;
    bool allowed;
  } cases[] = {
      {L"New Folder", true},    {L"cancel", true},     {L"report.v2.txt", true},
      {L"\u6587\u4ef6", true},  {L"COM10", true},      {L"console", true},
      {L"", false},             {L"   ", false},       {L".", false},
      {L"..", false},           {L"a\\b", false},      {L"a/b", false},
      {L"a:b", false},          {L"a*", false},        {L"a?", false},
      {L"\"a\"", false},        {L"<a>", false},       {L"a|b", false},
      {L"trailing.", false},    {L"trailing ", false}, {L"CON", false},
      {L"nul.txt", false},      {L"Com1", false},      {L"LPT9.log", false},
      {std::wstring(256, L'x'), false},
  };
  for (const Case& k : cases) {
    const std::wstring problem = varnello::NameProblem(k.name);
    EXPECT_EQ(problem.empty(), k.allowed) << Narrow(k.name) << ": " << Narrow(problem);
  }
}

TEST(FileCommandPaths, SamePathComparesAsTheFileSystemDoes) {
  TempDir dir;
  CreateDirectoryW(dir.File(L"Long Folder Name").c_str(), nullptr);
  wchar_t shortName[MAX_PATH];
  ASSERT_GT(GetShortPathNameW(dir.File(L"Long Folder Name").c_str(), shortName, MAX_PATH), 0u);
  EXPECT_TRUE(varnello::SamePath(shortName, dir.File(L"LONG FOLDER NAME\\")));
  EXPECT_TRUE(varnello::SamePath(dir.File(L"long folder name\\..\\Long Folder Name"),
                                 dir.File(L"Long Folder Name")));
  EXPECT_FALSE(varnello::SamePath(dir.File(L"Long Folder Name"), dir.File(L"Long Folder")));
  EXPECT_TRUE(varnello::IsSameOrBelow(dir.File(L"long folder name"),
                                      dir.File(L"Long Folder Name\\x\\y")));
  EXPECT_FALSE(varnello::IsSameOrBelow(dir.File(L"Long Folder"), dir.File(L"Long Folder Name")));
}

// The dialogs leave their verdicts in the main window's variables.
TEST_F(FileCommandsTest, TheCopyOrMoveDialogsVerdicts) {
  struct Case {
    const char* name;
    bool defaultMove;
    DialogAnswers::Action action;
    std::wstring operation, destination;
  } cases[] = {
      {"copy", false, DialogAnswers::Click(L"cmdCopy"), L"copy", L"D:\\x\\"},
      {"move", false, DialogAnswers::Click(L"cmdMove"), L"move", L"D:\\x\\"},
      {"cancel", false, DialogAnswers::Click(L"cmdCancel"), L"cancel", L"D:\\x\\"},
      {"close box", false, DialogAnswers::CloseBox(), L"", L"D:\\x\\"},
      {"edited", false, DialogAnswers::Type(L"txtDest", L"E:\\y", L"cmdMove"), L"move", L"E:\\y"},
      {"enter copies", false, [](varnello::FileDialog& d) { d.Click(d.DefaultButton()); }, L"copy",
       L"D:\\x\\"},
      {"enter moves", true, [](varnello::FileDialog& d) { d.Click(d.DefaultButton()); }, L"move",
       L"D:\\x\\"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    master->currOperation.clear();
    DialogAnswers answers({k.action});
    varnello::popCopyMove dialog(*master);
    dialog.Show(master->Handle(), L"2 items", L"D:\\x\\", k.defaultMove);
    ASSERT_EQ(answers.Seen.size(), 1u);
    EXPECT_EQ(answers.Seen[0].Caption, L"File Operation...");
    EXPECT_EQ(answers.Seen[0].Texts[L"txtSource"], L"2 items");
    EXPECT_EQ(master->currOperation, k.operation);
    EXPECT_EQ(master->DestinationFolder, k.destination);
  }
}

TEST_F(FileCommandsTest, TheRenameDialogPlacesTheCaretAndKeepsOnlyAChange) {
  struct Case {
    std::wstring old;
    DWORD caret, selected;  // when the dialog shows
    DialogAnswers::Action action;
    std::wstring verdict;
  } cases[] = {
      {L"report.v2.txt", 9, 0, DialogAnswers::Click(L"cmdRename"), L""},
      {L"README", 0, 6, DialogAnswers::Type(L"txtDest", L"readme", L"cmdRename"), L"readme"},
      {L"a.txt", 1, 0, DialogAnswers::Type(L"txtDest", L"b.txt", L"cmdCancel"), L"cancel"},
      {L"a.txt", 1, 0, DialogAnswers::Type(L"txtDest", L"cancel", L"cmdRename"), L"cancel"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(Narrow(k.old));
    master->currOperation.clear();
    DWORD caret = 99, selected = 99;
    DialogAnswers answers({[&](varnello::FileDialog& d) {
      caret = d.SelStart(L"txtDest");
      selected = d.SelLength(L"txtDest");
      k.action(d);
    }});
    varnello::popRename dialog(*master);
    dialog.Show(master->Handle(), k.old);
    EXPECT_EQ(caret, k.caret);
    EXPECT_EQ(selected, k.selected);
    EXPECT_EQ(master->currOperation, k.verdict);
  }
}

// A drop asks nothing and changes nothing while the drop is on the stack; the question and the
// work come from the message loop.
TEST_F(FileCommandsTest, ADropIsHandledAfterItReturnedAndAShiftDropAsksCopyOrMove) {
  SourceTree src;
  TempDir dest;
  lists[101].DropFolder = dest.Path();
  master->Options.DragSourceIndex = 100;
  std::wstring source = Specs({src.dir.File(L"a.txt"), src.dir.File(L"b.dat")});
  std::wstring text = L"2 items", operation;
  DialogAnswers answers({DialogAnswers::Click(L"cmdMove")});
  lists.Log.Calls.clear();
  master->List_PasteItems(101, source, text, operation);
  EXPECT_TRUE(answers.Seen.empty());
  EXPECT_TRUE(src.dir.Exists(L"a.txt"));
  EXPECT_EQ(master->Options.DragSourceIndex, -2);
  ASSERT_TRUE(tk::PumpUntil([&] { return !answers.Seen.empty() && !src.dir.Exists(L"b.dat"); },
                            5000));
  EXPECT_EQ(answers.Seen[0].Texts[L"txtDest"], dest.Path() + L"\\");
  EXPECT_EQ(answers.Seen[0].Texts[L"txtSource"], L"2 items");
  EXPECT_FALSE(src.dir.Exists(L"a.txt"));
  EXPECT_TRUE(dest.Exists(L"a.txt"));
  EXPECT_TRUE(dest.Exists(L"b.dat"));
  // Both ends of the move are read again and watched.
  for (const wchar_t* call : {L"101:RefreshList", L"100:RefreshList", L"101:WatchStart",
                              L"100:WatchStart"})
    EXPECT_TRUE(lists.Log.Has(call)) << Narrow(call);

  // A plain drop copies without asking; a drop where the list takes nothing does nothing.
  operation = L"copy";
  source = Specs({src.dir.File(L"f")});
  master->List_PasteItems(101, source, text, operation);
  lists[100].DropFolder.clear();
  master->List_PasteItems(100, source, text, operation);
  tk::PumpUntil([&] { return dest.Exists(L"f\\inner.txt"); }, 5000);
  tk::PumpPendingMessages();
  EXPECT_EQ(Snapshot(dest.Path() + L"\\f"), Snapshot(src.dir.File(L"f")));
  EXPECT_EQ(answers.Seen.size(), 1u);
}

// Failures the system makes for real: each leaves its sources intact and is reported once,
// naming what was not done and the system's reason.
TEST_F(FileCommandsTest, FailuresAreReportedOnceAndLeaveTheSourcesIntact) {
  {
    SCOPED_TRACE("a source locked without sharing");
    SourceTree src;
    TempDir dest;
    const Tree before = Snapshot(src.dir.Path());
    HANDLE lock = CreateFileW(src.dir.File(L"b.dat").c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    BoxAnswers boxes({BoxAnswers::Press(1)});
    Operate(L"copy", {src.dir.File(L"a.txt"), src.dir.File(L"b.dat")}, dest.Path());
    CloseHandle(lock);
    ASSERT_EQ(boxes.Seen.size(), 1u);
    EXPECT_NE(boxes.Seen[0].Text.find(src.dir.File(L"b.dat")), std::wstring::npos)
        << Narrow(boxes.Seen[0].Text);
    EXPECT_EQ(boxes.Seen[0].Text.find(src.dir.File(L"a.txt")), std::wstring::npos);
    EXPECT_NE(boxes.Seen[0].Text.find(L"The system returned the following message:"),
              std::wstring::npos);
    EXPECT_EQ(Snapshot(src.dir.Path()), before);
    EXPECT_FALSE(dest.Exists(L"b.dat"));
  }
  {
    SCOPED_TRACE("a source deleted between the dialog and the call");
    SourceTree src;
    TempDir dest;
    lists[101].DropFolder = dest.Path();
    std::wstring source = Specs({src.dir.File(L"a.txt"), src.dir.File(L"b.dat")});
    std::wstring text = L"2 items", operation;
    BoxAnswers boxes({BoxAnswers::Press(1)});
    DialogAnswers answers({[&](varnello::FileDialog& d) {
      DeleteFileW(src.dir.File(L"a.txt").c_str());
      d.Click(L"cmdCopy");
    }});
    master->List_PasteItems(101, source, text, operation);
    tk::PumpUntil([&] { return !boxes.Seen.empty(); }, 5000);
    ASSERT_EQ(boxes.Seen.size(), 1u);
    const std::wstring& said = boxes.Seen[0].Text;
    EXPECT_NE(said.find(src.dir.File(L"a.txt")), std::wstring::npos) << Narrow(said);
    // The shell may give up on the whole list: b.dat then is named too, and stays where it is.
    const bool copied = dest.Exists(L"b.dat");
    EXPECT_EQ(said.find(src.dir.File(L"b.dat")) == std::wstring::npos, copied) << Narrow(said);
    if (copied) {
      EXPECT_EQ(Checksum(dest.File(L"b.dat")), Checksum(src.dir.File(L"b.dat")));
    }
    EXPECT_EQ(Contents(src.dir.File(L"b.dat")), std::string(5000, 'b'));
  }
  {
    SCOPED_TRACE("cancel in the dialog");
    SourceTree src;
    TempDir dest;
    const Tree before = Snapshot(src.dir.Path());
    lists[101].DropFolder = dest.Path();
    std::wstring source = Specs({src.dir.File(L"a.txt")}), text = L"a.txt", operation;
    DialogAnswers answers({DialogAnswers::Click(L"cmdCancel")});
    master->List_PasteItems(101, source, text, operation);
    tk::PumpUntil([&] { return !answers.Seen.empty(); }, 5000);
    tk::PumpPendingMessages();
    EXPECT_EQ(Snapshot(src.dir.Path()), before);
    EXPECT_TRUE(Snapshot(dest.Path()).empty());
  }
  {
    SCOPED_TRACE("the shell's overwrite question answered Cancel");
    SourceTree src;
    TempDir dest;
    dest.Write(L"a.txt", "older");
    const Tree before = Snapshot(src.dir.Path());
    vtest::ShellAnswers shell(L"Confirm", IDCANCEL);
    BoxAnswers boxes({BoxAnswers::Press(1)});
    Operate(L"copy", {src.dir.File(L"a.txt")}, dest.Path());
    EXPECT_EQ(shell.Answered(), 1);
    ASSERT_EQ(boxes.Seen.size(), 1u);
    EXPECT_NE(boxes.Seen[0].Text.find(L"The system returned the following message:"),
              std::wstring::npos);
    EXPECT_EQ(Snapshot(src.dir.Path()), before);
    EXPECT_EQ(Contents(dest.File(L"a.txt")), "older");
  }
}

TEST_F(FileCommandsTest, ShiftDeleteAsksAndDeletesForGood) {
  SourceTree src;
  master->Options.ClickedPane = 100;
  struct Case {
    const char* name;
    std::vector<std::wstring> marked;
    DialogAnswers::Action action;  // null: no dialog
    std::wstring shown;
    bool deleted;
  } cases[] = {
      {"cancel", {L"a.txt"}, DialogAnswers::Click(L"cmdCancel"), L"a.txt", false},
      {"close box", {L"a.txt"}, DialogAnswers::CloseBox(), L"a.txt", false},
      {"a folder", {L"f"}, DialogAnswers::Click(L"cmdDelete"), L"Folder: f", true},
      {"two files", {L"a.txt", L"b.dat"}, DialogAnswers::Click(L"cmdDelete"),
       L"0 folders 2 files", true},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    lists[100].Marked.clear();
    for (const auto& m : k.marked) lists[100].Marked.push_back(src.dir.File(m));
    DialogAnswers scripted({[&](varnello::FileDialog& d) {
      EXPECT_FALSE(d.Visible(L"chkSendToRecycleBin"));
      EXPECT_EQ(d.Text(L"Label1"), L"Permanently Delete?");
      k.action(d);
    }});
    lists.Log.Calls.clear();
    master->DeleteItems(true);
    ASSERT_EQ(scripted.Seen.size(), 1u);
    EXPECT_EQ(scripted.Seen[0].Texts[L"txtSource"], k.shown);
    for (const auto& m : k.marked) EXPECT_EQ(src.dir.Exists(m), !k.deleted) << Narrow(m);
    EXPECT_EQ(lists.Log.Has(L"100:RefreshList"), k.deleted);
  }
  // Nothing marked, or a drive: no question at all.
  lists[100].Marked = {L"C:"};
  master->DeleteItems(true);
  lists[100].Marked.clear();
  master->DeleteItems(true);
}

TEST_F(FileCommandsTest, DeleteRecyclesAfterTheShellsOwnQuestion) {
  SourceTree src;
  master->Options.ClickedPane = 100;
  lists[100].Marked = {src.dir.File(L"a.txt")};
  {
    vtest::ShellAnswers no(L"Confirm", IDNO);
    master->DeleteItems(false);
    EXPECT_EQ(no.Answered(), 1);
  }
  EXPECT_TRUE(src.dir.Exists(L"a.txt"));  // "no" is an answer, not a failure: no message
  vtest::ShellAnswers yes(L"Confirm", IDYES);
  master->DeleteItems(false);
  EXPECT_EQ(yes.Answered(), 1);
  EXPECT_FALSE(src.dir.Exists(L"a.txt"));
}

TEST_F(FileCommandsTest, DuplicatesNeverOverwriteEachOther) {
  TempDir dotted;
  const std::wstring folder = dotted.File(L"my.dir");
  CreateDirectoryW(folder.c_str(), nullptr);
  WriteFile(folder + L"\\notes", "notes");
  WriteFile(folder + L"\\report.v2.txt", "report");
  const std::wstring stamp = L"240305-142233";
  const std::vector<std::wstring> items = {folder + L"\\notes", folder + L"\\report.v2.txt"};
  master->FileCommands().DuplicateItems(items, stamp);
  master->FileCommands().DuplicateItems(items, stamp);
  const Tree got = Snapshot(dotted.Path());
  const std::string notes = Checksum(folder + L"\\notes"), report = Checksum(folder + L"\\report.v2.txt");
  const Tree want = {{L"my.dir", "dir"},
                     {L"my.dir\\notes", notes},
                     {L"my.dir\\notes240305-142233", notes},
                     {L"my.dir\\notes240305-142233 (2)", notes},
                     {L"my.dir\\report.v2.txt", report},
                     {L"my.dir\\report.v2240305-142233.txt", report},
                     {L"my.dir\\report.v2240305-142233 (2).txt", report}};
  EXPECT_EQ(got, want);
  // A folder is duplicated with what it holds.
  master->FileCommands().DuplicateItems({folder}, stamp);
  EXPECT_EQ(Snapshot(dotted.File(L"my240305-142233.dir")).size(), 6u);
  // A missing item is named with the system's reason.
  BoxAnswers boxes({BoxAnswers::Press(1)});
  master->FileCommands().DuplicateItems({folder + L"\\gone.txt"}, stamp);
  ASSERT_EQ(boxes.Seen.size(), 1u);
  EXPECT_EQ(boxes.Seen[0].Text.rfind(L"There was an error duplicating the following items:\r\n\r\n" +
                                         folder + L"\\gone.txt - ",
                                     0),
            0u)
      << Narrow(boxes.Seen[0].Text);
}

TEST_F(FileCommandsTest, NewFolderTakesAnyValidNameAndExplainsARefusal) {
  TempDir dir;
  dir.Write(L"taken", "x");
  master->Options.ClickedPane = 100;
  lists[100].NewFolderPlace = dir.Path() + L"\\";
  struct Case {
    const char* name;
    DialogAnswers::Action action;
    const wchar_t* created;     // the folder that must exist afterwards
    const wchar_t* message;     // the start of the message, when one is shown
  } cases[] = {
      {"a name", DialogAnswers::Type(L"txtNewFolderName", L"New Stuff", L"cmdCopy"), L"New Stuff",
       nullptr},
      {"cancel typed as a name", DialogAnswers::Type(L"txtNewFolderName", L"cancel", L"cmdCopy"),
       L"cancel", nullptr},
      {"the Cancel button", DialogAnswers::Type(L"txtNewFolderName", L"x1", L"cmdCancel"), nullptr,
       nullptr},
      {"the close box", DialogAnswers::CloseBox(), nullptr, nullptr},
      {"empty", DialogAnswers::Click(L"cmdCopy"), nullptr, L"Sorry, you cannot make a new folder with"},
      {"a path", DialogAnswers::Type(L"txtNewFolderName", L"..\\up", L"cmdCopy"), nullptr,
       L"Sorry, you cannot make a new folder with"},
      {"a device", DialogAnswers::Type(L"txtNewFolderName", L"aux", L"cmdCopy"), nullptr,
       L"Sorry, you cannot make a new folder with"},
      {"a name a file has", DialogAnswers::Type(L"txtNewFolderName", L"taken", L"cmdCopy"), nullptr,
       L"Sorry, you cannot make a new folder here.\r\n\r\nThe system returned the following message:"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    const Tree before = Snapshot(dir.Path());
    DialogAnswers answers({k.action});
    BoxAnswers boxes(k.message ? std::vector<BoxAnswers::Action>{BoxAnswers::Press(1)}
                               : std::vector<BoxAnswers::Action>{});
    lists.Log.Calls.clear();
    master->List_PushedNewFolder2(100);
    ASSERT_EQ(answers.Seen.size(), 1u);
    EXPECT_EQ(answers.Seen[0].Texts[L"txtDest"], dir.Path() + L"\\");
    Tree want = before;
    if (k.created) want[k.created] = "dir";
    EXPECT_EQ(Snapshot(dir.Path()), want);
    if (k.message) {
      ASSERT_EQ(boxes.Seen.size(), 1u);
      EXPECT_EQ(boxes.Seen[0].Text.rfind(k.message, 0), 0u) << Narrow(boxes.Seen[0].Text);
    }
    EXPECT_EQ(lists.Log.For(100).back(), L"WatchStart");
  }
  lists[100].NewFolderPlace.clear();
  BoxAnswers boxes({BoxAnswers::Press(1)});
  master->CreateNewFolder(true);
  ASSERT_EQ(boxes.Seen.size(), 1u);
  EXPECT_EQ(boxes.Seen[0].Text, L"Sorry, you cannot make a new folder here.");
}

TEST_F(FileCommandsTest, RenameNeverMovesOrOverwrites) {
  TempDir dir;
  dir.Write(L"old.txt", "old");
  dir.Write(L"other.txt", "other");
  master->Options.ClickedPane = 100;
  lists[100].RenamePath = dir.Path() + L"\\";
  struct Case {
    const char* name;
    const wchar_t* from;
    DialogAnswers::Action action;
    std::vector<std::wstring> after;  // names in the folder afterwards
    bool message;
  } cases[] = {
      {"unchanged", L"old.txt", DialogAnswers::Click(L"cmdRename"), {L"old.txt", L"other.txt"}, false},
      {"renamed", L"old.txt", DialogAnswers::Type(L"txtDest", L"new.txt", L"cmdRename"),
       {L"new.txt", L"other.txt"}, false},
      {"only the case", L"new.txt", DialogAnswers::Type(L"txtDest", L"NEW.txt", L"cmdRename"),
       {L"NEW.txt", L"other.txt"}, false},
      {"onto another item", L"NEW.txt", DialogAnswers::Type(L"txtDest", L"other.txt", L"cmdRename"),
       {L"NEW.txt", L"other.txt"}, true},
      {"into a folder", L"NEW.txt", DialogAnswers::Type(L"txtDest", L"..\\moved.txt", L"cmdRename"),
       {L"NEW.txt", L"other.txt"}, true},
      {"empty", L"NEW.txt", DialogAnswers::Type(L"txtDest", L"", L"cmdRename"),
       {L"NEW.txt", L"other.txt"}, true},
      {"cancel as a name", L"NEW.txt", DialogAnswers::Type(L"txtDest", L"cancel", L"cmdRename"),
       {L"cancel", L"other.txt"}, false},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    lists[100].RenameName = k.from;
    DialogAnswers answers({k.action});
    BoxAnswers boxes(k.message ? std::vector<BoxAnswers::Action>{BoxAnswers::Press(1)}
                               : std::vector<BoxAnswers::Action>{});
    master->RenameItem(true);
    std::vector<std::wstring> names;
    for (const auto& [rel, sum] : Snapshot(dir.Path())) names.push_back(rel);
    std::vector<std::wstring> want = k.after;
    std::sort(want.begin(), want.end());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, want);
    EXPECT_EQ(boxes.Seen.size(), k.message ? 1u : 0u);
  }
  EXPECT_EQ(Contents(dir.File(L"other.txt")), "other");
  // A share, a tree's root (no name) and a drive root are not renamed: no dialog.
  for (auto [name, type] : {std::pair{L"share", zenlo::sShare}, std::pair{L"", zenlo::sFolder},
                            std::pair{L"C:", zenlo::sFolder}}) {
    lists[100].RenameName = name;
    lists[100].RenameType = type;
    master->RenameItem(true);
  }
}

}  // namespace
