// The Like matcher the extension filter uses, as one table of names and patterns.
#include <gtest/gtest.h>

#include <string>

#include "toolkit/Error.h"
#include "toolkit/Like.h"

namespace {

struct LikeCase {
  const wchar_t* text;
  const wchar_t* pattern;
  bool matches;
};

const LikeCase kCases[] = {
    // Stars: any run, the empty one included, anywhere; a failed tail goes back to the star.
    {L"report.txt", L"*", true},
    {L"", L"*", true},
    {L"report.txt", L"*TXT", true},
    {L"mytxt", L"*TXT", true},
    {L"report.txt.bak", L"*.TXT", false},
    {L"a.txt.txt", L"*.TXT", true},
    {L"abcabd", L"*ABD", true},
    {L"abcabc", L"A*C*C", true},
    {L"abcab", L"A*C*C", false},
    {L"apple", L"A*", true},
    {L"banana", L"A*", false},
    {L"", L"", true},
    {L"x", L"", false},
    // Text mode: letter case never matters, also beyond ASCII.
    {L"README.TXT", L"*.txt", true},
    {L"\u00e9t\u00e9.doc", L"\u00c9T\u00c9*", true},
    // "?" takes exactly one character.
    {L"ab", L"A?", true},
    {L"a", L"A?", false},
    {L"abc", L"A?", false},
    // ... also a character outside the BMP, written as two units; a star never ends in its middle.
    {L"a\U0001F600", L"A?", true},
    {L"a\U0001F600b", L"A?B", true},
    {L"a\U0001F600", L"A??", false},
    {L"\U0001F600.\U0001F600", L"?.?", true},
    {L"x\U0001F600\U0001F600", L"*?\U0001F600", true},
    // "#" is one digit, and nothing else.
    {L"7up", L"#*", true},
    {L"up7", L"#*", false},
    {L"2026-01.log", L"####-##*", true},
    {L"x1", L"?#", true},
    {L"xy", L"?#", false},
    // Lists, ranges, negation.
    {L"b.txt", L"[ABC]*", true},
    {L"d.txt", L"[ABC]*", false},
    {L"m", L"[A-Z]", true},
    {L"M", L"[a-z]", true},
    {L"5", L"[A-Z]", false},
    {L"d.txt", L"[!ABC]*", true},
    {L"a.txt", L"[!ABC]*", false},
    {L"x", L"[A-CX-Z]", true},
    {L"-", L"[A-]", true},
    {L"-", L"[-A]", true},
    {L"b", L"[!-A]", true},
    {L"!", L"[!]", true},
    // Special characters inside brackets stand for themselves.
    {L"*", L"[*]", true},
    {L"a", L"[*]", false},
    {L"?x", L"[?]X", true},
    {L"#1", L"[#]#", true},
    {L"[", L"[[]", true},
    // Outside brackets "!" and "]" are plain characters; "[]" takes no character.
    {L"hi!", L"HI!", true},
    {L"a]", L"A]", true},
    {L"ab", L"A[]B", true},
};

TEST(Like, MatchesTheTableOfNamesAndPatterns) {
  for (const LikeCase& c : kCases) {
    const tk::LikePattern pattern(c.pattern);
    EXPECT_TRUE(pattern.Valid()) << c.pattern;
    EXPECT_EQ(pattern.Matches(c.text), c.matches) << "'" << testing::PrintToString(std::wstring(c.text))
                                                  << "' Like " << testing::PrintToString(std::wstring(c.pattern));
    EXPECT_EQ(tk::Like(c.text, c.pattern), c.matches) << c.pattern;
  }
}

TEST(Like, AnUnclosedListOrADescendingRangeIsAnInvalidPattern) {
  for (const wchar_t* bad : {L"[", L"*[A", L"[!", L"A[B-", L"[Z-A]", L"[9-0]*"}) {
    const tk::LikePattern pattern(bad);
    EXPECT_FALSE(pattern.Valid()) << testing::PrintToString(std::wstring(bad));
    EXPECT_FALSE(pattern.Matches(L"anything")) << testing::PrintToString(std::wstring(bad));
    try {
      tk::Like(L"a", bad);
      ADD_FAILURE() << "no error for " << testing::PrintToString(std::wstring(bad));
    } catch (const tk::RuntimeError& e) {
      EXPECT_EQ(e.Info().Number, tk::kErrInvalidPattern);
      EXPECT_EQ(e.Info().Description, L"Invalid pattern string");
    }
  }
}

}  // namespace
