// The settings record reader and writer, and replacing a file whole.
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <random>

#include "support/TempFolder.h"
#include "toolkit/SettingRecords.h"
#include "toolkit/Text.h"

namespace {

using tk::SettingValue;
using Kind = tk::SettingValue::Kind;

TEST(SettingRecords, ParsesEveryValueKind) {
  struct Case {
    const wchar_t* line;
    Kind kinds[5];
    const wchar_t* texts[5];  // AsText of each value, or nullptr for none
  };
  const Case cases[] = {
      {L"\"ProgramPosition\",1500,2200,9000,6600,0",
       {Kind::Whole, Kind::Whole, Kind::Whole, Kind::Whole, Kind::Whole},
       {L"1500", L"2200", L"9000", L"6600", L"0"}},
      {L"\"k\",#TRUE#,#false#,#NULL#,,\"a, b\"",
       {Kind::Truth, Kind::Truth, Kind::Null, Kind::Empty, Kind::Text},
       {L"True", L"False", nullptr, L"", L"a, b"}},
      {L"\"k\",.5,-0.25,1e3,2.5E-1,-7",
       {Kind::Real, Kind::Real, Kind::Real, Kind::Real, Kind::Whole},
       {L"0.5", L"-0.25", L"1000", L"0.25", L"-7"}},
      // A short line leaves the rest without a value; the sixth value on is ignored.
      {L"\"Status\",0,1", {Kind::Whole, Kind::Whole, Kind::Null, Kind::Null, Kind::Null},
       {L"0", L"1", nullptr, nullptr, nullptr}},
      {L"\"k\",1,2,3,4,5,6,7", {Kind::Whole, Kind::Whole, Kind::Whole, Kind::Whole, Kind::Whole},
       {L"1", L"2", L"3", L"4", L"5"}},
      // Words that are no number stay texts; a comma decimal is two values.
      {L"\"k\",nan,inf,1e999,0,5",
       {Kind::Text, Kind::Text, Kind::Text, Kind::Whole, Kind::Whole},
       {L"nan", L"inf", L"1e999", L"0", L"5"}},
      {L"\"k\",\"unclosed", {Kind::Text, Kind::Null, Kind::Null, Kind::Null, Kind::Null},
       {L"unclosed", nullptr, nullptr, nullptr, nullptr}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << tk::ToUtf8(c.line));
    auto r = tk::ParseSettingLine(c.line);
    ASSERT_TRUE(r.has_value());
    for (int k = 0; k < 5; ++k) {
      EXPECT_EQ(r->Values[k].GetKind(), c.kinds[k]) << "value " << k + 1;
      auto t = r->Values[k].AsText();
      if (c.texts[k])
        EXPECT_EQ(t.value_or(L"<none>"), c.texts[k]) << "value " << k + 1;
      else
        EXPECT_FALSE(t.has_value()) << "value " << k + 1;
    }
  }
}

TEST(SettingRecords, LinesWithoutAKeyAreNoRecords) {
  for (const wchar_t* line : {L"", L",1,2", L"5,1", L"\"\",1", L"#NULL#,1"})
    EXPECT_FALSE(tk::ParseSettingLine(line).has_value()) << tk::ToUtf8(line);
  EXPECT_FALSE(tk::ParseSettingLine(std::wstring(L"\"k\",1\0", 6)).has_value());
}

TEST(SettingRecords, ConversionsRefuseWhatDoesNotFit) {
  struct Case {
    SettingValue v;
    std::optional<bool> truth;
    std::optional<std::int32_t> whole;
    std::optional<std::int16_t> shortValue;
  };
  const Case cases[] = {
      {SettingValue::Null(), {}, {}, {}},
      {SettingValue::Empty(), false, 0, 0},
      {SettingValue::Whole(0), false, 0, 0},
      {SettingValue::Whole(3000000000LL), true, {}, {}},
      {SettingValue::Whole(40000), true, 40000, {}},
      {SettingValue::Real(2.5), true, 2, 2},  // halves to even
      {SettingValue::Real(3.5), true, 4, 4},
      {SettingValue::Real(NAN), {}, {}, {}},
      {SettingValue::Real(INFINITY), {}, {}, {}},
      {SettingValue::Real(1e12), true, {}, {}},
      {SettingValue::Truth(true), true, -1, -1},
      {SettingValue::Text(L"True"), true, {}, {}},
      {SettingValue::Text(L"false"), false, {}, {}},
      {SettingValue::Text(L" 12 "), true, 12, 12},
      {SettingValue::Text(L"1,5"), {}, {}, {}},
      {SettingValue::Text(L"nan"), {}, {}, {}},
      {SettingValue::Text(L"C"), {}, {}, {}},
  };
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(row++);
    EXPECT_EQ(c.v.AsTruth(), c.truth);
    EXPECT_EQ(c.v.AsWhole(), c.whole);
    EXPECT_EQ(c.v.AsShort(), c.shortValue);
  }
  EXPECT_FALSE(SettingValue::Real(NAN).AsReal().has_value());
  EXPECT_EQ(SettingValue::Text(L"0.65").AsReal(), 0.65);
}

TEST(SettingRecords, WritesThePointInEveryLocaleAndReadsItBack) {
  // The user's locale with a decimal comma must not reach the file.
  wchar_t before[16] = {};
  GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, before, 16);
  SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, L",");
  setlocale(LC_ALL, "German");
  tk::SettingRecord r;
  r.Key = L"PercentHeightH";
  r.Values = {SettingValue::Real(0.65f, true), SettingValue::Real(0.35f, true),
              SettingValue::Real(-1.5), SettingValue::Real(1e20), SettingValue::Whole(-3)};
  const auto line = tk::FormatSettingLine(r);
  setlocale(LC_ALL, "C");
  SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, before);
  ASSERT_TRUE(line.has_value());
  EXPECT_EQ(*line, L"\"PercentHeightH\",0.65,0.35,-1.5,1e+20,-3");
  auto back = tk::ParseSettingLine(*line);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->Values[0].AsText(), L"0.65");
  EXPECT_FLOAT_EQ(static_cast<float>(*back->Values[0].AsReal()), 0.65f);
  EXPECT_EQ(back->Values[3].AsReal(), 1e20);
}

TEST(SettingRecords, TextsALineCannotHoldAreNotWritten) {
  for (const wchar_t* text : {L"say \"hi\"", L"two\r\nlines", L"cr\r", L"lf\n"}) {
    tk::SettingRecord r;
    r.Key = L"SkinName";
    r.Values[0] = SettingValue::Text(text);
    EXPECT_FALSE(tk::FormatSettingLine(r).has_value());
  }
  tk::SettingRecord good;
  good.Key = L"SkinName";
  good.Values[0] = SettingValue::Text(L"Cloud 9");
  tk::SettingRecord bad = good;
  bad.Values[1] = SettingValue::Text(L"a\"b");
  EXPECT_EQ(tk::FormatSettingRecords({good, bad, good}),
            "\"SkinName\",\"Cloud 9\",#NULL#,#NULL#,#NULL#,#NULL#\r\n"
            "\"SkinName\",\"Cloud 9\",#NULL#,#NULL#,#NULL#,#NULL#\r\n");
}

TEST(SettingRecords, FilesAreUtf8WithAnAnsiFallbackPerLine) {
  // A mark, a UTF-8 line, a line in the ANSI code page (é as one byte), LF and CR endings.
  const std::string bytes =
      "\xEF\xBB\xBF\"BookMark\",0,\"C:\\Caf\xC3\xA9\\\",0,0,0\n"
      "\"BookMark\",1,\"C:\\Caf\xE9\\\",0,0,0\r"
      "\r\n\r\n"
      "\"End\",0,0,0,0,0";
  const auto records = tk::ParseSettingRecords(bytes);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].Values[1].AsText(), L"C:\\Caf\u00e9\\");
  EXPECT_EQ(records[1].Values[1].AsText(), L"C:\\Caf\u00e9\\");
  EXPECT_EQ(records[2].Key, L"End");
  // Written back as UTF-8 without a mark; ASCII stays ASCII.
  EXPECT_EQ(tk::FormatSettingRecords({records[0]}),
            "\"BookMark\",0,\"C:\\Caf\xC3\xA9\\\",0,0,0\r\n");
}

TEST(SettingRecords, AnyBytesReadWithoutHarm) {
  std::mt19937 random(23);
  std::string seed = "\"ProgramPosition\",1500,2200,9000,6600,0\r\n\"SkinName\",\"Cloud 9\",0,0,0,0\r\n";
  for (int round = 0; round < 2000; ++round) {
    std::string bytes = seed;
    const int flips = 1 + static_cast<int>(random() % 8);
    for (int f = 0; f < flips; ++f)
      bytes[random() % bytes.size()] = static_cast<char>(random() % 256);
    for (const auto& r : tk::ParseSettingRecords(bytes)) {
      ASSERT_FALSE(r.Key.empty());
      // Whatever was read writes back as a line that reads and writes as the same line.
      if (auto line = tk::FormatSettingLine(r)) {
        auto again = tk::ParseSettingLine(*line);
        ASSERT_TRUE(again.has_value()) << tk::ToUtf8(*line);
        EXPECT_EQ(tk::FormatSettingLine(*again), line) << tk::ToUtf8(*line);
        EXPECT_EQ(again->Key, r.Key);
      }
    }
  }
}

TEST(ReplaceFileContents, ReplacesWholeAndKeepsTheOldFileOnFailure) {
  testsupport::TempFolder dir;
  const std::wstring path = dir.Path() + L"user.usr";
  ASSERT_EQ(tk::ReplaceFileContents(path, "first\r\n"), 0u);
  EXPECT_EQ(tk::ReadFileBytes(path), "first\r\n");
  ASSERT_EQ(tk::ReplaceFileContents(path, "second\r\n"), 0u);
  EXPECT_EQ(tk::ReadFileBytes(path), "second\r\n");

  // A read-only file is not replaced.
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_NE(tk::ReplaceFileContents(path, "third\r\n"), 0u);
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(tk::ReadFileBytes(path), "second\r\n");

  // The temporary file held open elsewhere: the write fails and the old file stays.
  const std::wstring temp = path + L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp";
  HANDLE lock = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  EXPECT_NE(tk::ReplaceFileContents(path, "fourth\r\n"), 0u);
  CloseHandle(lock);
  DeleteFileW(temp.c_str());
  EXPECT_EQ(tk::ReadFileBytes(path), "second\r\n");
  EXPECT_FALSE(tk::ReadFileBytes(dir.Path() + L"missing.usr").has_value());
}

}  // namespace
