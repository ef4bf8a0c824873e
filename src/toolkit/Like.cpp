#include "toolkit/Like.h"

#include <windows.h>

#include "toolkit/Error.h"

namespace tk {

namespace {
// One character's upper case in the user's locale, so that "é" and "É" compare equal.
wchar_t Fold(wchar_t c) {
  if (c < 0x80) return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 32) : c;
  wchar_t out = c;
  if (LCMapStringEx(LOCALE_NAME_USER_DEFAULT, LCMAP_UPPERCASE, &c, 1, &out, 1, nullptr, nullptr,
                    0) != 1)
    return c;
  return out;
}
// 2 where a surrogate pair starts at `at`, else 1.
std::size_t UnitsOfCharAt(const std::wstring& text, std::size_t at) {
  return at + 1 < text.size() && IS_HIGH_SURROGATE(text[at]) && IS_LOW_SURROGATE(text[at + 1]) ? 2
                                                                                                 : 1;
}
}  // namespace

LikePattern::LikePattern(const std::wstring& pattern) {
  const std::size_t n = pattern.size();
  for (std::size_t i = 0; i < n; ++i) {
    const wchar_t c = pattern[i];
    Token t;
    if (c == L'*') {
      // A run of stars is one star.
      if (!tokens_.empty() && tokens_.back().Type == Kind::AnyRun) continue;
      t.Type = Kind::AnyRun;
    } else if (c == L'?') {
      t.Type = Kind::AnyOne;
    } else if (c == L'#') {
      t.Type = Kind::Digit;
    } else if (c == L'[') {
      const std::size_t close = pattern.find(L']', i + 1);
      if (close == std::wstring::npos) {
        valid_ = false;
        break;
      }
      std::size_t j = i + 1;
      if (close == j) {  // "[]" stands for no character at all
        i = close;
        continue;
      }
      t.Type = Kind::Set;
      if (pattern[j] == L'!' && j + 1 < close) {
        t.Negated = true;
        ++j;
      }
      t.First = ranges_.size();
      while (j < close) {
        const wchar_t from = Fold(pattern[j]);
        if (pattern[j] != L'-' && j + 2 < close && pattern[j + 1] == L'-') {
          const wchar_t to = Fold(pattern[j + 2]);
          if (to < from) {
            valid_ = false;
            break;
          }
          ranges_.push_back({from, to});
          j += 3;
        } else {
          ranges_.push_back({from, from});
          ++j;
        }
      }
      if (!valid_) break;
      t.Count = ranges_.size() - t.First;
      i = close;
    } else {
      t.Type = Kind::Literal;
      t.Char = Fold(c);
    }
    tokens_.push_back(t);
  }
  if (!valid_) {
    tokens_.clear();
    ranges_.clear();
  }
}

bool LikePattern::TokenMatches(const Token& t, wchar_t folded) const {
  switch (t.Type) {
    case Kind::AnyOne:
      return true;
    case Kind::Digit:
      return folded >= L'0' && folded <= L'9';
    case Kind::Literal:
      return folded == t.Char;
    case Kind::Set: {
      bool in = false;
      for (std::size_t k = t.First; k < t.First + t.Count && !in; ++k)
        in = folded >= ranges_[k].From && folded <= ranges_[k].To;
      return in != t.Negated;
    }
    case Kind::AnyRun:
      break;
  }
  return false;
}

// Every token but the star takes exactly one character, so going back to the last star is
// enough: no deeper backtracking is ever needed.
bool LikePattern::Matches(const std::wstring& text) const {
  if (!valid_) return false;
  const std::size_t nt = tokens_.size();
  const std::size_t ns = text.size();
  std::size_t p = 0, s = 0;
  std::size_t starP = std::wstring::npos, starS = 0;
  while (s < ns) {
    if (p < nt && tokens_[p].Type == Kind::AnyRun) {
      starP = p++;
      starS = s;
    } else if (p < nt && TokenMatches(tokens_[p], Fold(text[s]))) {
      // "?" takes a whole character, also one written as a surrogate pair.
      s += tokens_[p].Type == Kind::AnyOne ? UnitsOfCharAt(text, s) : 1;
      ++p;
    } else if (starP != std::wstring::npos) {
      p = starP + 1;
      starS += UnitsOfCharAt(text, starS);
      s = starS;
    } else {
      return false;
    }
  }
  while (p < nt && tokens_[p].Type == Kind::AnyRun) ++p;
  return p == nt;
}

bool Like(const std::wstring& text, const std::wstring& pattern) {
  const LikePattern compiled(pattern);
  if (!compiled.Valid()) throw RuntimeError(kErrInvalidPattern, L"Invalid pattern string");
  return compiled.Matches(text);
}

}  // namespace tk
