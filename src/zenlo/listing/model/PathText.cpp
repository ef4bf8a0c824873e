#include "listing/model/PathText.h"

#include <algorithm>

#include "toolkit/Text.h"

namespace zenlo {

std::wstring NameKeyOf(const std::wstring& fullPath) {
  std::wstring key = tk::UpperCase(fullPath);
  std::replace(key.begin(), key.end(), L' ', L'_');
  return key;
}

}  // namespace zenlo
