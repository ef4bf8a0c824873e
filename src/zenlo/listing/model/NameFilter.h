#pragma once
// The name pattern a listing's filter box stands for. "All" and an empty box show every item;
// a text without "*", "?" or "#" shows the names that end with it (txt: report.txt, mytxt).
#include <string>
#include <utility>

#include "toolkit/Like.h"

namespace zenlo {

class NameFilter {
 public:
  // The pattern for a box text, or, when that pattern is invalid, the show-all pattern with
  // failureMessage set to what the host is told (left empty otherwise).
  static NameFilter FromBoxText(const std::wstring& boxText, std::wstring& failureMessage);

  const std::wstring& Pattern() const { return pattern_; }
  // False when every item is shown.
  bool Active() const { return pattern_ != L"*"; }
  bool Matches(const std::wstring& name) const { return compiled_.Matches(name); }

 private:
  explicit NameFilter(std::wstring pattern)
      : pattern_(std::move(pattern)), compiled_(pattern_) {}
  std::wstring pattern_;
  tk::LikePattern compiled_;
};

extern const wchar_t kFilterNotAppliedMessage[];

}  // namespace zenlo
