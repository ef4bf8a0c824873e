// The item record on its own: texts formatted from what it stores, and copies that own their
// side texts.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "zenlo/ZenloTypes.h"

using zenlo::TypeListItem;

namespace {

std::uint64_t LocalTime(WORD y, WORD mo, WORD d, WORD h, WORD mi) {
  SYSTEMTIME local{y, mo, 0, d, h, mi, 0, 0};
  FILETIME lt{}, utc{};
  SystemTimeToFileTime(&local, &lt);
  LocalFileTimeToFileTime(&lt, &utc);
  return (static_cast<std::uint64_t>(utc.dwHighDateTime) << 32) | utc.dwLowDateTime;
}

TEST(ItemRecord, TextsFollowWhatTheEntryGave) {
  const std::uint64_t written = LocalTime(2023, 4, 5, 7, 8);
  const struct Case {
    const wchar_t* Name;
    TypeListItem::Details Kind;
    bool Sized;
    std::uint64_t Bytes;
    const wchar_t *Size, *Ext, *Type, *Date, *Letters;
  } cases[] = {
      {L"root", TypeListItem::Details::None, false, 0, L"", L"", L"", L"", L""},
      {L"My Files", TypeListItem::Details::Folder, false, 0, L"--", L"dir", L"File Folder",
       L"2023-04-05  07:08", L"a_r__"},
      {L"summed", TypeListItem::Details::Folder, true, 5000, L"5,000", L"dir", L"File Folder",
       L"2023-04-05  07:08", L"a_r__"},
      {L"archive.tar.gz", TypeListItem::Details::File, true, 5368709120ULL, L"5,368,709,120",
       L"gz", L"GZ File", L"2023-04-05  07:08", L"a_r__"},
      {L"README", TypeListItem::Details::File, true, 0, L"0", L"", L"GZ File",
       L"2023-04-05  07:08", L"a_r__"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TypeListItem item;
    item.Name = c.Name;
    if (c.Kind != TypeListItem::Details::None)
      item.SetDetails(c.Kind, written, written, written,
                      FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);
    if (c.Sized) item.SetSize(c.Bytes);
    item.SetTypeEntry(zenlo::InternItemType(L"GZ", L"GZ File"));
    EXPECT_EQ(item.SizeText(), c.Size);
    EXPECT_EQ(item.Extension(), c.Ext);
    EXPECT_EQ(item.FileType(), c.Kind == TypeListItem::Details::None ? L"GZ File" : c.Type);
    EXPECT_EQ(item.DateLastModified(), c.Date);
    EXPECT_EQ(item.DateCreated(), c.Date);
    EXPECT_EQ(item.DateLastAccessed(), c.Date);
    EXPECT_EQ(item.AttributesText(), c.Letters);
  }
}

TEST(ItemRecord, SharedTypeEntriesAndKeyedNames) {
  const auto* a = zenlo::InternItemType(L"TXT", L"Text Document");
  EXPECT_EQ(zenlo::InternItemType(L"TXT", L"Text Document"), a);
  EXPECT_NE(zenlo::InternItemType(L"TXT", L""), a) << "the same key without a type name";
  EXPECT_EQ(a->ExtKey, L"TXT");

  TypeListItem folder;
  folder.FullPath = L"C:\\My Files";
  EXPECT_EQ(folder.NameKey(), L"");
  folder.SetNameKeyed(true);
  EXPECT_EQ(folder.NameKey(), L"C:\\MY_FILES");
}

TEST(ItemRecord, CopiesOwnTheirSideTextsAndRealPathDiffersOnlyWhereSet) {
  TypeListItem a;
  a.FullPath = L"*:\\\\server\\share\\docs";
  EXPECT_EQ(a.RealPath(), a.FullPath) << "nothing stored: the same as FullPath";
  a.SetRealPath(L"\\\\server\\share\\docs");
  a.SetComments(L"first");
  a.SetColorWord(L"red");

  TypeListItem b = a;
  b.SetComments(L"second");
  b.SetRealPath(b.FullPath);
  EXPECT_EQ(a.Comments(), L"first");
  EXPECT_EQ(a.RealPath(), L"\\\\server\\share\\docs");
  EXPECT_EQ(b.Comments(), L"second");
  EXPECT_EQ(b.ColorWord(), L"red");
  EXPECT_EQ(b.RealPath(), b.FullPath);

  a = b;
  b.SetColorWord(L"");
  EXPECT_EQ(a.ColorWord(), L"red");
  EXPECT_EQ(a.Comments(), L"second");

  std::vector<TypeListItem> items{a, b};
  items.reserve(100);  // moved, not copied: the side texts go along
  std::swap(items[0], items[1]);
  EXPECT_EQ(items[1].ColorWord(), L"red");
  EXPECT_EQ(items[0].ColorWord(), L"");
}

}  // namespace
