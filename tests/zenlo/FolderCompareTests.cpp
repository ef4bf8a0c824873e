// Folder compare between two real listings: the rules of each compare mode, the marks written
// into both listings and the entries handed back.
#include <gtest/gtest.h>

#include <map>

#include "listing/view/ViewState.h"
#include "support/ControlFixture.h"
#include "support/HostWindow.h"
#include "support/ListingLookup.h"
#include "support/TempFolder.h"

using namespace zenlo;
using testsupport::ControlHolder;
using testsupport::TempFolder;
using testsupport::IndexOf;
using testsupport::Item;

namespace {

void SetWriteTime(const std::wstring& path, WORD hour, WORD minute, WORD second) {
  SYSTEMTIME local{2024, 3, 0, 14, hour, minute, second, 0};
  FILETIME lft, utc;
  SystemTimeToFileTime(&local, &lft);
  LocalFileTimeToFileTime(&lft, &utc);
  HANDLE f = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  SetFileTime(f, nullptr, nullptr, &utc);
  CloseHandle(f);
}

// The pane compared from and the pane compared with.
struct TwoPanes {
  TwoPanes() {
    struct File {
      const wchar_t* left;
      const wchar_t* right;
      std::size_t leftBytes, rightBytes;
      WORD leftMinute, leftSecond, rightMinute, rightSecond;
    } files[] = {
        // Names that differ only in case, in the same minute with different seconds.
        {L"Report.TXT", L"report.txt", 10, 10, 1, 5, 1, 50},
        {L"sizes.bin", L"sizes.bin", 5, 6, 1, 0, 1, 0},
        {L"dates.log", L"dates.log", 8, 8, 1, 0, 2, 0},
        {L"onlyleft.txt", nullptr, 1, 0, 1, 0, 0, 0},
        {nullptr, L"onlyright.txt", 0, 1, 0, 0, 1, 0},
    };
    for (const File& f : files) {
      if (f.left) SetWriteTime(left.File(f.left, f.leftBytes), 10, f.leftMinute, f.leftSecond);
      if (f.right)
        SetWriteTime(right.File(f.right, f.rightBytes), 10, f.rightMinute, f.rightSecond);
    }
    right.File(L"sub\\inside.txt", 3);
    for (TempFolder* side : {&left, &right}) SetWriteTime(side->Folder(L"sub"), 9, 0, 0);
    EXPECT_TRUE(from->GetFolderContents(left.Path(), true));
    EXPECT_TRUE(with->GetFolderContents(right.Path(), true));
  }
  TempFolder left, right;
  ControlHolder from, with;
};

TEST(FolderCompare, EachModeMatchesByNameAndItsTexts) {
  TwoPanes p;
  struct Case {
    EnumCompareMode mode;
    std::map<std::wstring, bool> match;  // by the compared-with pane's names
  } cases[] = {
      {ByFileName,
       {{L"report.txt", true}, {L"sizes.bin", true}, {L"dates.log", true}, {L"sub", true},
        {L"onlyright.txt", false}}},
      // Both folders still show "--": that text matches.
      {ByFileNameSize,
       {{L"report.txt", true}, {L"sizes.bin", false}, {L"dates.log", true}, {L"sub", true},
        {L"onlyright.txt", false}}},
      // Dates compare to the minute: 10:01:05 and 10:01:50 are the same.
      {ByFileNameDate,
       {{L"report.txt", true}, {L"sizes.bin", true}, {L"dates.log", false}, {L"sub", true},
        {L"onlyright.txt", false}}},
      {ByFileNameSizeDate,
       {{L"report.txt", true}, {L"sizes.bin", false}, {L"dates.log", false}, {L"sub", true},
        {L"onlyright.txt", false}}},
  };
  const SkinSettings& skin = p.with->View().Skin;
  for (const Case& k : cases) {
    SCOPED_TRACE(static_cast<int>(k.mode));
    std::vector<TypeFolderContents> array = p.from->FileArrayForCompare();
    ASSERT_EQ(array.size(), static_cast<std::size_t>(p.from->ItemCount()));
    p.with->CompareFolder(array, k.mode);
    for (const auto& [name, match] : k.match) {
      const TypeListItem& item = Item(*p.with, name);
      EXPECT_EQ(item.CompareState, match ? IsMatch : IsNotMatch) << name.c_str();
      EXPECT_EQ(item.ItemColor,
                static_cast<std::int32_t>(match ? skin.ListText : skin.TextSecondary));
    }
    // The array says the same of the entries, by the first pane's upper-cased names.
    std::map<std::wstring, bool> made;
    for (const auto& e : array) made[e.TheFileName] = e.MatchMade;
    EXPECT_EQ(made[L"REPORT.TXT"], k.match.at(L"report.txt"));
    EXPECT_EQ(made[L"SIZES.BIN"], k.match.at(L"sizes.bin"));
    EXPECT_FALSE(made[L"ONLYLEFT.TXT"]);
  }
}

TEST(FolderCompare, ItemsHiddenByTheFilterAreComparedToo) {
  TwoPanes p;
  // The pane compared with hides report.txt and onlyright.txt behind its filter.
  testsupport::HostWindow window(600, 300);
  ASSERT_TRUE(p.with->CreateFrame(window.Handle()));
  SetWindowTextW(p.with->View().cboFilter.Handle(), L"[!or]*");
  p.with->NewFilterSelected();
  for (const wchar_t* hidden : {L"report.txt", L"onlyright.txt"})
    ASSERT_GT(IndexOf(*p.with, hidden), p.with->LastShownItem()) << hidden;
  auto array = p.from->FileArrayForCompare();
  p.with->CompareFolder(array, ByFileName);
  EXPECT_EQ(Item(*p.with, L"report.txt").CompareState, IsMatch);
  EXPECT_EQ(Item(*p.with, L"onlyright.txt").CompareState, IsNotMatch);
  for (const auto& e : array)
    if (e.TheFileName == L"REPORT.TXT") {
      EXPECT_TRUE(e.MatchMade);
    }
}

TEST(FolderCompare, FolderSizedOnOneSideOnlyNoLongerMatchesBySize) {
  TwoPanes p;
  p.with->CalculateFolderSize();
  ASSERT_EQ(Item(*p.with, L"sub").SizeText(), L"3");
  auto array = p.from->FileArrayForCompare();
  p.with->CompareFolder(array, ByFileNameSize);
  EXPECT_EQ(Item(*p.with, L"sub").CompareState, IsNotMatch);
  // Once both show the same total they match again.
  p.left.File(L"sub\\other.txt", 3);
  p.from->CalculateFolderSize();
  array = p.from->FileArrayForCompare();
  p.with->CompareFolder(array, ByFileNameSize);
  EXPECT_EQ(Item(*p.with, L"sub").CompareState, IsMatch);
}

TEST(FolderCompare, ResultsComeBackToThePaneThatBuiltTheArray) {
  TwoPanes p;
  auto array = p.from->FileArrayForCompare();
  p.with->CompareFolder(array, ByFileNameSize);
  // Entries past the first pane's items (an array from a longer listing) are ignored.
  array.push_back({L"EXTRA", L"1", L"", true});
  array.push_back({L"MORE", L"1", L"", true});
  p.from->CompareResultsUpdate(array);
  const std::map<std::wstring, bool> expected = {{L"Report.TXT", true},  {L"sizes.bin", false},
                                                 {L"dates.log", true},   {L"sub", true},
                                                 {L"onlyleft.txt", false}};
  for (const auto& [name, match] : expected)
    EXPECT_EQ(Item(*p.from, name).CompareState, match ? IsMatch : IsNotMatch) << name.c_str();

  // An array in which nothing matched marks every item as not matching.
  auto none = p.from->FileArrayForCompare();
  p.from->CompareResultsUpdate(none);
  for (std::int32_t i = 0; i < p.from->ItemCount(); ++i)
    EXPECT_EQ(p.from->ListItems()[static_cast<std::size_t>(i)].CompareState, IsNotMatch);
  // A shorter array (from a listing with fewer items) leaves no earlier mark past its end.
  auto shorter = p.from->FileArrayForCompare();
  shorter.resize(2);
  shorter[0].MatchMade = true;
  p.from->CompareResultsUpdate(shorter);
  EXPECT_EQ(p.from->ListItems()[0].CompareState, IsMatch);
  EXPECT_EQ(p.from->ListItems()[1].CompareState, IsNotMatch);
  for (std::int32_t i = 2; i < p.from->ItemCount(); ++i) {
    const TypeListItem& item = p.from->ListItems()[static_cast<std::size_t>(i)];
    EXPECT_EQ(item.CompareState, NotActive) << i;
    EXPECT_EQ(item.ItemColor, -1) << i;  // no colour code: the list's own text colour
  }
  // A read brings the items back unmarked.
  p.from->RefreshList();
  for (std::int32_t i = 0; i < p.from->ItemCount(); ++i)
    EXPECT_EQ(p.from->ListItems()[static_cast<std::size_t>(i)].CompareState, NotActive);
}

}  // namespace
