#include "listing/model/PathText.h"

#include <algorithm>

#include "toolkit/Text.h"

namespace zenlo {

namespace {
bool IsDotSegment(const std::wstring& path, std::size_t begin, std::size_t end) {
  const std::size_t n = end - begin;
  return (n == 1 && path[begin] == L'.') || (n == 2 && path[begin] == L'.' && path[begin + 1] == L'.');
}
}  // namespace

bool SameFolderPath(const std::wstring& a, const std::wstring& b) {
  if (a.empty() || b.empty()) return a.empty() && b.empty();
  std::size_t na = a.size(), nb = b.size();
  if (na > 0 && a[na - 1] == L'\\') --na;
  if (nb > 0 && b[nb - 1] == L'\\') --nb;
  if (na != nb) return false;
  return CompareStringOrdinal(a.c_str(), static_cast<int>(na), b.c_str(), static_cast<int>(nb),
                              TRUE) == CSTR_EQUAL;
}

bool NeedsLongPathForm(const std::wstring& path) {
  constexpr std::size_t kRoom = 240;  // leave room for a name and "*.*"
  if (path.size() >= kRoom) return true;
  std::size_t begin = 0;
  while (begin <= path.size()) {
    std::size_t end = path.find(L'\\', begin);
    if (end == std::wstring::npos) end = path.size();
    if (end > begin && !IsDotSegment(path, begin, end)) {
      const wchar_t last = path[end - 1];
      if (last == L'.' || last == L' ') return true;
    }
    begin = end + 1;
  }
  return false;
}

std::wstring LongPathForm(const std::wstring& path) {
  if (path.rfind(L"\\\\?\\", 0) == 0 || !NeedsLongPathForm(path)) return path;
  if (path.find(L'/') != std::wstring::npos) return path;
  for (std::size_t begin = 0; begin < path.size();) {
    std::size_t end = path.find(L'\\', begin);
    if (end == std::wstring::npos) end = path.size();
    if (IsDotSegment(path, begin, end)) return path;
    begin = end + 1;
  }
  if (path.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + path.substr(2);
  if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') return L"\\\\?\\" + path;
  return path;
}

std::wstring OrdinaryPathForm(const std::wstring& path) {
  if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) return L"\\\\" + path.substr(8);
  if (path.rfind(L"\\\\?\\", 0) == 0) return path.substr(4);
  return path;
}

std::wstring NameKeyOf(const std::wstring& fullPath) {
  std::wstring key = tk::UpperCase(fullPath);
  std::replace(key.begin(), key.end(), L' ', L'_');
  return key;
}

}  // namespace zenlo
