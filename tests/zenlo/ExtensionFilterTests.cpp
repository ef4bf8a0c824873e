// The extension filter through the control and its filter box: patterns, counts and change
// texts, the box's list and Enter key, re-reads, trees, and filtering that fails.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "listing/model/ReadSeams.h"
#include "listing/view/ViewState.h"
#include "support/ControlFixture.h"
#include "support/HostWindow.h"
#include "support/TempFolder.h"
#include "toolkit/EventLoop.h"

using namespace zenlo;
using testsupport::ControlHolder;
using testsupport::TempFolder;

namespace {

const wchar_t kNotApplied[] = L"The filter could not be applied. Varnello will show all items.";

// A listing in a window, so that it has its filter box.
struct FilteredListing {
  TempFolder dir;
  testsupport::HostWindow window{700, 400};
  ControlHolder c;
  explicit FilteredListing(ListType type = fbFileAndFolder) : c(type) {
    dir.Folder(L"Atxt");
    dir.Folder(L"docs");
    for (const wchar_t* f : {L"report.txt", L"notes.TXT", L"mytxt", L"archive.zip", L"1999.doc", L"a.b"})
      dir.File(f, 10);
    c->CreateFrame(window.Handle());
    MoveWindow(c->Window(), 0, 0, 690, 390, TRUE);
  }
  HWND Box() const { return c->View().cboFilter.Handle(); }
  void Type(const std::wstring& text) { SetWindowTextW(Box(), text.c_str()); }
  std::vector<std::wstring> Shown() const {
    std::vector<std::wstring> names;
    for (std::int32_t i = 0; i <= c->LastShownItem() && i < c->ItemCount(); ++i)
      names.push_back(c->ListItems()[static_cast<std::size_t>(i)].Name);
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST(ExtensionFilter, PatternsShowTheMatchingNamesAndCountThem) {
  FilteredListing l;
  ASSERT_TRUE(l.c->GetFolderContents(l.dir.Path(), true));
  const std::vector<std::wstring> all = {L"1999.doc", L"Atxt",  L"a.b",       L"archive.zip",
                                         L"docs",     L"mytxt", L"notes.TXT", L"report.txt"};
  struct Case {
    const wchar_t* text;
    std::vector<std::wstring> shown;
    const wchar_t* folders;
    const wchar_t* files;
    bool active;
  };
  const Case cases[] = {
      {L"", all, L"2 Folders", L"6 Files", false},
      {L"All", all, L"2 Folders", L"6 Files", false},
      {L"all", all, L"2 Folders", L"6 Files", false},
      // A plain text: names ending with it, with or without a dot, folders too.
      {L"txt", {L"Atxt", L"mytxt", L"notes.TXT", L"report.txt"}, L"1 Folder", L"3 Files", true},
      {L"*.txt", {L"notes.TXT", L"report.txt"}, L"0 Folders", L"2 Files", true},
      {L"a*", {L"Atxt", L"a.b", L"archive.zip"}, L"1 Folder", L"2 Files", true},
      {L"#*", {L"1999.doc"}, L"0 Folders", L"1 File", true},
      {L"[!a-m]*", {L"1999.doc", L"notes.TXT", L"report.txt"}, L"0 Folders", L"3 Files", true},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(std::wstring(L"box text: ") + k.text);
    l.Type(k.text);
    l.c->NewFilterSelected();
    EXPECT_EQ(l.Shown(), k.shown);
    EXPECT_EQ(l.c->FolderCountText(), k.folders);
    EXPECT_EQ(l.c->FileCountText(), k.files);
    EXPECT_EQ(l.c->FilterActive(), k.active);
    // Shown folders, then shown files, then the hidden items.
    for (std::int32_t i = 0; i < l.c->ItemCount(); ++i) {
      const TypeListItem& it = l.c->ListItems()[static_cast<std::size_t>(i)];
      const EnumFilterStatus expected = i < l.c->FoldersShown() ? fFolderShow
                                        : i <= l.c->LastShownItem() ? fFileShow
                                                                    : fHide;
      EXPECT_EQ(it.FilterState, expected) << i;
    }
  }
  EXPECT_TRUE(l.c.host.Messages().empty());

  // A pattern that cannot be used: told once, and everything shown.
  l.Type(L"[txt");
  l.c->NewFilterSelected();
  EXPECT_EQ(l.c.host.Messages(), std::vector<std::wstring>{kNotApplied});
  EXPECT_EQ(l.Shown(), all);
  EXPECT_FALSE(l.c->FilterActive());
}

TEST(ExtensionFilter, TheBoxListsTheExtensionsAndFiltersOnAChoiceOrOnEnter) {
  FilteredListing l;
  ASSERT_TRUE(l.c->GetFolderContents(l.dir.Path(), true));
  EXPECT_EQ(l.c->View().cboFilter.Items(),
            (std::vector<std::wstring>{L"All", L"b", L"doc", L"txt", L"zip"}));

  // Choosing "zip" from the list; the selection is cleared by a new filter.
  l.c->SetActiveItemNum(0);
  const_cast<TypeListItem&>(l.c->ListItems()[3]).Selected = 1;
  SendMessageW(l.Box(), CB_SETCURSEL, 4, 0);
  SendMessageW(l.c->Window(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(l.Box()), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(l.Box()));
  EXPECT_EQ(l.Shown(), std::vector<std::wstring>{L"archive.zip"});
  EXPECT_EQ(l.c->FilterText(), L"zip");
  for (std::int32_t i = 0; i < l.c->ItemCount(); ++i)
    EXPECT_NE(l.c->ListItems()[static_cast<std::size_t>(i)].Selected, 1) << i;

  // Typing alone changes nothing; Enter in the box's text applies it.
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  ASSERT_TRUE(GetComboBoxInfo(l.Box(), &info));
  l.Type(L"*.doc");
  EXPECT_EQ(l.Shown(), std::vector<std::wstring>{L"archive.zip"});
  SendMessageW(info.hwndItem, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(l.Shown(), std::vector<std::wstring>{L"1999.doc"});
  EXPECT_TRUE(l.c.host.Messages().empty());
}

TEST(ExtensionFilter, TheExactExtensionVariantKeepsFoldersAndMatchesWholeExtensions) {
  FilteredListing l;
  ASSERT_TRUE(l.c->GetFolderContents(l.dir.Path(), true));
  struct Case {
    const wchar_t* text;
    std::vector<std::wstring> shown;
    std::int32_t files;
  };
  const Case cases[] = {
      // "txt" is the whole extension: mytxt has none, so it stays hidden here.
      {L"txt", {L"Atxt", L"docs", L"notes.TXT", L"report.txt"}, 2},
      {L"ZIP", {L"Atxt", L"archive.zip", L"docs"}, 1},
      {L"tx", {L"Atxt", L"docs"}, 0},
      {L"All", {L"1999.doc", L"Atxt", L"a.b", L"archive.zip", L"docs", L"mytxt", L"notes.TXT",
                L"report.txt"}, 6},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.text);
    l.Type(k.text);
    l.c->ApplyExtensionFilter();
    EXPECT_EQ(l.Shown(), k.shown);
    EXPECT_EQ(l.c->FoldersShown(), 2);
    EXPECT_EQ(l.c->FilesShown(), k.files);
  }
}

TEST(ExtensionFilter, AFilterTypedBeforeAReReadAppliesToTheNewListing) {
  FilteredListing l;
  ASSERT_TRUE(l.c->GetFolderContents(l.dir.Path(), true));
  l.Type(L"*.txt");  // not applied yet
  l.dir.File(L"later.txt");
  l.dir.File(L"later.doc");
  l.c->RefreshList();
  EXPECT_EQ(l.Shown(), (std::vector<std::wstring>{L"later.txt", L"notes.TXT", L"report.txt"}));
  EXPECT_EQ(l.c->FileCountText(), L"3 Files");
  EXPECT_EQ(l.c->View().cboFilter.Text(), L"*.txt");
}

TEST(ExtensionFilter, ATreeIsNeverFiltered) {
  FilteredListing l(fbFolder);
  ASSERT_TRUE(l.c->GetFolderContents(l.dir.Path(), true));
  ASSERT_EQ(l.c->ItemCount(), 3);  // the root and its two folders
  l.Type(L"zzz*");
  l.c->NewFilterSelected();
  EXPECT_EQ(l.c->LastShownItem(), l.c->ItemCount() - 1);
  EXPECT_FALSE(l.c->FilterActive());
}

TEST(ExtensionFilter, ChangeTextsMeasureAgainstTheListingLastSeen) {
  FilteredListing l;
  ASSERT_TRUE(l.c->GetFolderContents(l.dir.Path(), true));
  EXPECT_EQ(l.c->FileChangeText(), L"");
  DeleteFileW((l.dir.Path() + L"a.b").c_str());
  ASSERT_TRUE(tk::PumpUntil([&] { return l.c->ItemCount() == 7; }, 4000));
  EXPECT_TRUE(l.c->FolderChanged());
  EXPECT_EQ(l.c->FileChangeText(), L"-1 File");
  EXPECT_EQ(l.c->FolderChangeText(), L"0 Folders");
  DeleteFileW((l.dir.Path() + L"mytxt").c_str());
  ASSERT_TRUE(tk::PumpUntil([&] { return l.c->ItemCount() == 6; }, 4000));
  EXPECT_EQ(l.c->FileChangeText(), L"-2 Files");
  EXPECT_EQ(l.c->FileCountText(), L"4 Files");
}

TEST(ExtensionFilter, AFailingFilterShowsAllAndGivesUpAtTheThirdFailure) {
  FilteredListing l;
  ASSERT_TRUE(l.c->GetFolderContents(l.dir.Path(), true));
  for (int failures : {1, 2, 3}) {
    SCOPED_TRACE(failures);
    l.c.host.Events.clear();
    int passes = 0;
    TestReadSeams().OnFilterPass = [&] {
      if (++passes <= failures) throw std::runtime_error("filter pass");
    };
    l.Type(L"*.txt");
    l.c->NewFilterSelected();
    TestReadSeams().OnFilterPass = nullptr;
    EXPECT_EQ(passes, std::min(failures + 1, 3));
    EXPECT_EQ(l.c.host.Messages(),
              std::vector<std::wstring>(static_cast<std::size_t>(std::min(failures, 2)), kNotApplied));
    if (failures < 3) {
      EXPECT_EQ(l.c->LastShownItem(), l.c->ItemCount() - 1);  // shown all instead
      EXPECT_FALSE(l.c->FilterActive());
    }
  }
}

}  // namespace
