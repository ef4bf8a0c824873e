#include <gtest/gtest.h>

#include "toolkit/Error.h"
#include "toolkit/KeyedCollection.h"
#include "toolkit/Text.h"

namespace {

TEST(GroupedNumber, GroupsDigitsByThrees) {
  struct Case {
    std::uint64_t value;
    const wchar_t* text;
  } cases[] = {
      {0, L"0"},
      {999, L"999"},
      {1000, L"1,000"},
      {999999, L"999,999"},
      {1000000, L"1,000,000"},
      {3000000000ULL, L"3,000,000,000"},  // beyond 32 bits, never negative
      {18446744073709551615ULL, L"18,446,744,073,709,551,615"},
  };
  for (const auto& c : cases) EXPECT_EQ(tk::GroupedNumber(c.value), c.text) << c.value;
}

TEST(DateText, FormatsLocalTimeWithTwoBlanks) {
  SYSTEMTIME local{2023, 4, 0, 5, 7, 8, 59, 0};
  EXPECT_EQ(tk::SystemTimeToDateText(local), L"2023-04-05  07:08");

  FILETIME lft, utc;
  ASSERT_TRUE(SystemTimeToFileTime(&local, &lft));
  ASSERT_TRUE(LocalFileTimeToFileTime(&lft, &utc));
  EXPECT_EQ(tk::FileTimeToDateText(utc), L"2023-04-05  07:08");
}

TEST(DateText, UnconvertibleTimeGivesTheZeroDate) {
  FILETIME bad{0xFFFFFFFFu, 0xFFFFFFFFu};
  EXPECT_EQ(tk::FileTimeToDateText(bad), L"1899-12-30  00:00");
}

TEST(CompareText, IgnoresCaseIncludingBeyondAscii) {
  EXPECT_EQ(tk::CompareText(L"readme.TXT", L"README.txt"), 0);
  EXPECT_EQ(tk::CompareText(L"\u00e9t\u00e9", L"\u00c9T\u00c9"), 0);
  EXPECT_LT(tk::CompareText(L"apple", L"Banana"), 0);
  EXPECT_GT(tk::CompareText(L"b", L"A"), 0);
  EXPECT_EQ(tk::UpperCase(L"c:\\my files\\\u00e9"), L"C:\\MY FILES\\\u00c9");
}

TEST(SameText, EqualOnlyWhenEveryCharacterMatchesIgnoringCase) {
  EXPECT_TRUE(tk::SameText(L"C:\\Program Files\\", L"c:\\PROGRAM FILES\\"));
  EXPECT_TRUE(tk::SameText(L"\u00e9t\u00e9", L"\u00c9T\u00c9"));
  // Names that a locale's collation might treat alike are still different names.
  EXPECT_FALSE(tk::SameText(L"co-op", L"coop"));
  EXPECT_FALSE(tk::SameText(L"resume", L"r\u00e9sum\u00e9"));
  EXPECT_FALSE(tk::SameText(L"a", L"a "));
}

TEST(Trim, RemovesOnlyOuterBlanks) {
  EXPECT_EQ(tk::Trim(L"  a b  "), L"a b");
  EXPECT_EQ(tk::Trim(L"   "), L"");
  EXPECT_EQ(tk::Trim(L"\tx"), L"\tx");
}

TEST(KeyedCollection, KeysIgnoreCaseAndKeepOrder) {
  tk::KeyedCollection<int> c;
  EXPECT_TRUE(c.Add(L"txt", 1));
  EXPECT_TRUE(c.Add(L"Exe", 2));
  EXPECT_FALSE(c.Add(L"TXT", 3));  // present already: nothing changes
  ASSERT_EQ(c.Count(), 2u);
  EXPECT_EQ(*c.Find(L"EXE"), 2);
  EXPECT_EQ(*c.Find(L"Txt"), 1);
  EXPECT_EQ(c.Find(L"zip"), nullptr);
  EXPECT_EQ(c.Items()[0].first, L"txt");
}

TEST(ErrorMessages, AppendNumberAndDescription) {
  tk::ErrorInfo err{53, L"File not found"};
  EXPECT_EQ(tk::MessageWithError(L"An unknown error has occurred.", err, L"Error Description: "),
            L"An unknown error has occurred.\r\n\r\nError Number: 53\r\n\r\n"
            L"Error Description: File not found");
}

TEST(ErrorMessages, CurrentErrorMapsExceptions) {
  auto capture = [](auto thrower) {
    try {
      thrower();
    } catch (...) {
      return tk::CurrentError();
    }
    return tk::ErrorInfo{};
  };
  EXPECT_EQ(capture([] { throw tk::RuntimeError(76, L"Path not found"); }).Number, 76);
  EXPECT_EQ(capture([] { throw std::bad_alloc(); }).Number, tk::kErrOutOfMemory);
  EXPECT_EQ(capture([] { throw std::out_of_range("x"); }).Number, tk::kErrSubscript);
}

}  // namespace
