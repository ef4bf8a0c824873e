#include "toolkit/PathText.h"

namespace tk {

namespace {
bool IsDotSegment(const std::wstring& path, std::size_t begin, std::size_t end) {
  const std::size_t n = end - begin;
  return (n == 1 && path[begin] == L'.') || (n == 2 && path[begin] == L'.' && path[begin + 1] == L'.');
}
}  // namespace

bool NeedsLongPathForm(const std::wstring& path, std::size_t room) {
  if (path.size() >= room) return true;
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

std::wstring LongPathForm(const std::wstring& path, std::size_t room) {
  if (path.rfind(L"\\\\?\\", 0) == 0 || !NeedsLongPathForm(path, room)) return path;
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

}  // namespace tk
