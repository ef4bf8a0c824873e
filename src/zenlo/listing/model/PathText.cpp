#include "listing/model/PathText.h"

#include <algorithm>

#include "toolkit/Text.h"

namespace zenlo {

bool SameFolderPath(const std::wstring& a, const std::wstring& b) {
  if (a.empty() || b.empty()) return a.empty() && b.empty();
  std::size_t na = a.size(), nb = b.size();
  if (a[na - 1] == L'\\') --na;
  if (b[nb - 1] == L'\\') --nb;
  if (na != nb) return false;
  return CompareStringOrdinal(a.c_str(), static_cast<int>(na), b.c_str(), static_cast<int>(nb),
                              TRUE) == CSTR_EQUAL;
}

std::wstring NameKeyOf(const std::wstring& fullPath) {
  std::wstring key = tk::UpperCase(fullPath);
  std::replace(key.begin(), key.end(), L' ', L'_');
  return key;
}

}  // namespace zenlo
