#include "listing/model/PathText.h"

#include <algorithm>

#include "toolkit/Text.h"

namespace zenlo {

std::wstring LongPathForm(const std::wstring& path) {
  constexpr std::size_t kRoom = 240;  // leave room for a name and "*.*"
  if (path.size() < kRoom || path.rfind(L"\\\\?\\", 0) == 0) return path;
  if (path.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + path.substr(2);
  if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') return L"\\\\?\\" + path;
  return path;
}

std::wstring NameKeyOf(const std::wstring& fullPath) {
  std::wstring key = tk::UpperCase(fullPath);
  std::replace(key.begin(), key.end(), L' ', L'_');
  return key;
}

}  // namespace zenlo
