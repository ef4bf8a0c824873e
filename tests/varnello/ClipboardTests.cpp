// Copy, cut and paste of real files through the system clipboard in the shell's own formats:
// ours to ours, another program's files to us and ours to another program (the other program's
// side written with raw clipboard calls, as it would), and which lists each paste refreshes.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "MasterFixture.h"
#include "commands/ClipboardCommands.h"

namespace {

using vtest::MasterTest;
using vtest::TempDir;

std::string Contents(const std::wstring& file) {
  std::ifstream in(file.c_str(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

UINT DropEffectFormat() { return RegisterClipboardFormatW(L"Preferred DropEffect"); }

// Another program's side of the clipboard.
struct OtherProgram {
  // Puts a file-drop list, with a drop effect unless `effect` is 0.
  static void Put(const std::vector<std::wstring>& paths, DWORD effect) {
    size_t chars = 1;
    for (const auto& p : paths) chars += p.size() + 1;
    HGLOBAL drop = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + chars * 2);
    auto* header = static_cast<DROPFILES*>(GlobalLock(drop));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    auto* out = reinterpret_cast<wchar_t*>(header + 1);
    for (const auto& p : paths) {
      wcscpy(out, p.c_str());
      out += p.size() + 1;
    }
    GlobalUnlock(drop);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    SetClipboardData(CF_HDROP, drop);
    if (effect) {
      HGLOBAL e = GlobalAlloc(GMEM_MOVEABLE, sizeof(DWORD));
      *static_cast<DWORD*>(GlobalLock(e)) = effect;
      GlobalUnlock(e);
      SetClipboardData(DropEffectFormat(), e);
    }
    CloseClipboard();
  }
  static void PutText(const std::wstring& text) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * 2);
    wcscpy(static_cast<wchar_t*>(GlobalLock(h)), text.c_str());
    GlobalUnlock(h);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, h);
    CloseClipboard();
  }
  static std::wstring Text() {
    std::wstring text;
    if (!OpenClipboard(nullptr)) return L"(clipboard busy)";
    if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
      text = static_cast<const wchar_t*>(GlobalLock(h));
      GlobalUnlock(h);
    }
    CloseClipboard();
    return text;
  }
  // The files on the clipboard and its drop effect (0 when it names none).
  static std::vector<std::wstring> Files(DWORD& effect) {
    std::vector<std::wstring> files;
    effect = 0;
    if (!OpenClipboard(nullptr)) return files;
    if (HANDLE h = GetClipboardData(CF_HDROP)) {
      const auto* header = static_cast<const DROPFILES*>(GlobalLock(h));
      const auto* p = reinterpret_cast<const wchar_t*>(
          reinterpret_cast<const BYTE*>(header) + header->pFiles);
      for (; *p; p += wcslen(p) + 1) files.emplace_back(p);
      GlobalUnlock(h);
    }
    if (HANDLE h = GetClipboardData(DropEffectFormat())) {
      effect = *static_cast<const DWORD*>(GlobalLock(h));
      GlobalUnlock(h);
    }
    CloseClipboard();
    return files;
  }
};

class ClipboardTest : public MasterTest {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(StartUp());
    src.Write(L"a.txt", "alpha");
    src.Write(L"b.dat", "beta");
    CreateDirectoryW(src.File(L"f").c_str(), nullptr);
    src.Write(L"f\\inner.txt", "inner");
    lists[101].NewFolderPlace = dest.Path() + L"\\";
  }
  // Marks `names` in listing 100, which holds the mouse, and runs `verb` there.
  void CopyFrom100(short verb, const std::vector<std::wstring>& names) {
    lists[100].Marked.clear();
    for (const auto& n : names) lists[100].Marked.push_back(src.File(n));
    master->List_SetLockedIndex(100);
    master->RunPaneVerb(verb);
  }
  // Ctrl+V in listing 101; returns the lists refreshed.
  std::vector<std::wstring> PasteIn101() {
    master->List_SetLockedIndex(101);
    lists.Log.Calls.clear();
    master->RunPaneVerb(3);
    std::vector<std::wstring> refreshed;
    for (const auto& c : lists.Log.Calls)
      if (c.find(L"RefreshList") != std::wstring::npos) refreshed.push_back(c);
    return refreshed;
  }
  TempDir src, dest;
};

TEST_F(ClipboardTest, OurCopyPastesIntoTheClickedListsFolderAndRefreshesOnlyIt) {
  CopyFrom100(1, {L"a.txt", L"f"});
  DWORD effect = 0;
  EXPECT_EQ(OtherProgram::Files(effect),
            (std::vector<std::wstring>{src.File(L"a.txt"), src.File(L"f")}));
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
  EXPECT_EQ(PasteIn101(), std::vector<std::wstring>{L"101:RefreshList"});
  EXPECT_EQ(Contents(dest.File(L"a.txt")), "alpha");
  EXPECT_EQ(Contents(dest.File(L"f\\inner.txt")), "inner");
  EXPECT_FALSE(dest.Exists(L"b.dat"));
  EXPECT_EQ(Contents(src.File(L"a.txt")), "alpha");
  // A copy stays on the clipboard: pasting it into its own folder makes a second copy there.
  EXPECT_EQ(OtherProgram::Files(effect).size(), 2u);
  lists[101].NewFolderPlace = src.Path() + L"\\";
  PasteIn101();
  EXPECT_EQ(Contents(src.File(L"a (2).txt")), "alpha");
  EXPECT_EQ(Contents(src.File(L"f (2)\\inner.txt")), "inner");
}

TEST_F(ClipboardTest, OurCutIsAMoveForOtherProgramsAndItsPasteRefreshesBothListsAndClearsIt) {
  CopyFrom100(2, {L"a.txt", L"b.dat"});
  DWORD effect = 0;
  EXPECT_EQ(OtherProgram::Files(effect),
            (std::vector<std::wstring>{src.File(L"a.txt"), src.File(L"b.dat")}));
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_MOVE));
  std::vector<std::wstring> refreshed = PasteIn101();
  std::sort(refreshed.begin(), refreshed.end());
  EXPECT_EQ(refreshed, (std::vector<std::wstring>{L"100:RefreshList", L"101:RefreshList"}));
  EXPECT_EQ(Contents(dest.File(L"a.txt")), "alpha");
  EXPECT_EQ(Contents(dest.File(L"b.dat")), "beta");
  EXPECT_FALSE(src.Exists(L"a.txt"));
  EXPECT_FALSE(src.Exists(L"b.dat"));
  EXPECT_TRUE(OtherProgram::Files(effect).empty());
  EXPECT_EQ(master->Clipboard().ShellClipSourcePane, -1);
}

TEST_F(ClipboardTest, AnotherProgramsFilesPasteAsCopyOrMoveAsItsDropEffectSays) {
  // A plain file list (no drop effect) is a copy.
  OtherProgram::Put({src.File(L"a.txt"), src.File(L"f")}, 0);
  EXPECT_EQ(PasteIn101(), std::vector<std::wstring>{L"101:RefreshList"});
  EXPECT_EQ(Contents(dest.File(L"a.txt")), "alpha");
  EXPECT_EQ(Contents(dest.File(L"f\\inner.txt")), "inner");
  EXPECT_TRUE(src.Exists(L"a.txt"));
  // Its cut moves; the list it came from is not ours to refresh.
  TempDir other;
  other.Write(L"moved.txt", "moved");
  OtherProgram::Put({other.File(L"moved.txt")}, DROPEFFECT_MOVE);
  EXPECT_EQ(PasteIn101(), std::vector<std::wstring>{L"101:RefreshList"});
  EXPECT_EQ(Contents(dest.File(L"moved.txt")), "moved");
  EXPECT_FALSE(other.Exists(L"moved.txt"));
  DWORD effect = 0;
  EXPECT_TRUE(OtherProgram::Files(effect).empty());
}

TEST_F(ClipboardTest, ACutPastedIntoItsOwnFolderLeavesTheFilesAsTheyWere) {
  CopyFrom100(2, {L"a.txt"});
  lists[101].NewFolderPlace = src.Path() + L"\\";
  PasteIn101();
  EXPECT_EQ(Contents(src.File(L"a.txt")), "alpha");
  EXPECT_FALSE(src.Exists(L"a (2).txt"));
}

TEST_F(ClipboardTest, NothingMarkedOrNoClickedListLeavesTheClipboardAsItWas) {
  OtherProgram::PutText(L"keep me");
  CopyFrom100(1, {});
  CopyFrom100(2, {});
  EXPECT_EQ(OtherProgram::Text(), L"keep me");
  // Nothing to paste: no list is refreshed.
  EXPECT_TRUE(PasteIn101().empty());
  src.Write(L"c.txt", "c");
  lists[100].Marked = {src.File(L"c.txt")};
  for (short none : {short{-1}, short{-99}}) {
    master->Options.ClickedPane = none;
    lists.Log.Calls.clear();
    for (short verb = 1; verb <= 4; ++verb) master->RunPaneVerb(verb);
    EXPECT_TRUE(lists.Log.Calls.empty());
  }
  EXPECT_EQ(OtherProgram::Text(), L"keep me");
  EXPECT_TRUE(src.Exists(L"c.txt"));
}

TEST(PasteFolder, ADrivesTopFolderKeepsItsBackslash) {
  const std::pair<std::wstring, std::wstring> cases[] = {
      {L"C:\\", L"C:\\"},
      {L"z:\\", L"z:\\"},
      {L"C:\\data\\", L"C:\\data"},
      {L"C:\\data", L"C:\\data"},
      {L"\\\\server\\share\\", L"\\\\server\\share"},
  };
  for (const auto& [place, folder] : cases) EXPECT_EQ(varnello::PasteFolder(place), folder);
}

}  // namespace
