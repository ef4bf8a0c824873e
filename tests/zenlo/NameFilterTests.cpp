// The pattern a filter box's text stands for, and what a pattern that cannot be used does.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "listing/model/NameFilter.h"

using zenlo::NameFilter;

namespace {

const std::vector<std::wstring> kNames = {L"report.txt", L"mytxt",   L"notes.TXT.bak",
                                          L"Archive",    L"1999.doc", L"a.b"};

struct BoxCase {
  const wchar_t* boxText;
  bool active;
  std::vector<std::wstring> shown;
};

TEST(NameFilter, ABoxTextShowsTheNamesItStandsFor) {
  const BoxCase cases[] = {
      {L"", false, kNames},
      {L"All", false, kNames},
      {L"all", false, kNames},
      // Plain text: every name that ends with it, with or without a dot.
      {L"txt", true, {L"report.txt", L"mytxt"}},
      {L"*.txt", true, {L"report.txt"}},
      {L"a*", true, {L"Archive", L"a.b"}},
      {L"#*", true, {L"1999.doc"}},
      {L"?.?", true, {L"a.b"}},
      {L"[!a-m]*", true, {L"report.txt", L"notes.TXT.bak", L"1999.doc"}},
  };
  for (const BoxCase& c : cases) {
    std::wstring message = L"untouched";
    const NameFilter filter = NameFilter::FromBoxText(c.boxText, message);
    EXPECT_TRUE(message.empty()) << testing::PrintToString(std::wstring(c.boxText));
    EXPECT_EQ(filter.Active(), c.active) << testing::PrintToString(std::wstring(c.boxText));
    std::vector<std::wstring> shown;
    for (const std::wstring& name : kNames)
      if (filter.Matches(name)) shown.push_back(name);
    EXPECT_EQ(shown, c.shown) << testing::PrintToString(std::wstring(c.boxText));
  }
}

TEST(NameFilter, AnInvalidPatternIsReportedAndEverythingIsShown) {
  for (const wchar_t* text : {L"[txt", L"*.[z-a]"}) {
    std::wstring message;
    const NameFilter filter = NameFilter::FromBoxText(text, message);
    EXPECT_EQ(message, L"The filter could not be applied. Varnello will show all items.");
    EXPECT_FALSE(filter.Active());
    EXPECT_EQ(filter.Pattern(), L"*");
    for (const std::wstring& name : kNames) EXPECT_TRUE(filter.Matches(name)) << name;
  }
}

}  // namespace
