#pragma once
// The Like pattern matcher, comparing as text (without regard to case):
//   *        any run of characters, the empty one included
//   ?        any one character
//   #        one digit 0-9
//   [list]   one character of the list; "a-z" is a range, "-" first or last is itself
//   [!list]  one character not in the list
// Any other character, "!" and "]" outside brackets included, matches itself. "[]" matches
// nothing (no character). An unclosed "[" or a descending range makes the pattern invalid.
#include <string>
#include <vector>

namespace tk {

constexpr long kErrInvalidPattern = 93;

// A pattern parsed once, for matching many names.
class LikePattern {
 public:
  explicit LikePattern(const std::wstring& pattern);
  bool Valid() const { return valid_; }
  // False for every text when the pattern is invalid.
  bool Matches(const std::wstring& text) const;

 private:
  enum class Kind { AnyRun, AnyOne, Digit, Literal, Set };
  struct Range {
    wchar_t From;
    wchar_t To;
  };
  struct Token {
    Kind Type = Kind::Literal;
    wchar_t Char = 0;         // Literal, folded
    bool Negated = false;     // Set
    std::size_t First = 0;    // Set: its ranges in ranges_
    std::size_t Count = 0;
  };
  bool TokenMatches(const Token& t, wchar_t folded) const;

  std::vector<Token> tokens_;
  std::vector<Range> ranges_;
  bool valid_ = true;
};

// text Like pattern. An invalid pattern throws RuntimeError kErrInvalidPattern.
bool Like(const std::wstring& text, const std::wstring& pattern);

}  // namespace tk
