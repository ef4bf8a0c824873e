#include "listing/model/NameFilter.h"

#include "toolkit/Text.h"

namespace zenlo {

const wchar_t kFilterNotAppliedMessage[] =
    L"The filter could not be applied. Varnello will show all items.";

NameFilter NameFilter::FromBoxText(const std::wstring& boxText, std::wstring& failureMessage) {
  failureMessage.clear();
  std::wstring pattern = tk::UpperCase(boxText);
  if (pattern.empty() || pattern == L"ALL") pattern = L"*";
  if (pattern.find_first_of(L"?*#") == std::wstring::npos) pattern = L"*" + pattern;
  NameFilter filter(std::move(pattern));
  if (filter.compiled_.Valid()) return filter;
  failureMessage = kFilterNotAppliedMessage;
  return NameFilter(L"*");
}

}  // namespace zenlo
