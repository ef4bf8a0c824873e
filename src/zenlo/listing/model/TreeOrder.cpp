#include "listing/model/TreeOrder.h"

#include <windows.h>

#include <string_view>

#include "toolkit/Text.h"

namespace zenlo {

namespace {
int CompareSegments(std::wstring_view a, std::wstring_view b) {
  int r = CompareStringEx(LOCALE_NAME_USER_DEFAULT, NORM_IGNORECASE, a.data(),
                          static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()),
                          nullptr, nullptr, 0);
  if (r == 0)
    r = CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                             static_cast<int>(b.size()), TRUE);
  if (r != CSTR_EQUAL) return r - CSTR_EQUAL;
  r = CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                           static_cast<int>(b.size()), FALSE);
  return r == 0 ? 0 : r - CSTR_EQUAL;
}

// The next segment of path from pos on; an empty view once the path is used up (a trailing
// "\" adds no segment).
std::wstring_view NextSegment(std::wstring_view path, std::size_t& pos) {
  if (pos >= path.size()) return {};
  std::size_t end = path.find(L'\\', pos);
  if (end == std::wstring_view::npos) end = path.size();
  std::wstring_view seg = path.substr(pos, end - pos);
  pos = end + 1;
  return seg;
}
}  // namespace

int CompareTreePaths(const std::wstring& a, const std::wstring& b, bool descending) {
  std::wstring_view va(a), vb(b);
  std::size_t pa = 0, pb = 0;
  for (;;) {
    const bool endA = pa >= va.size();
    const bool endB = pb >= vb.size();
    if (endA || endB) return endA == endB ? 0 : (endA ? -1 : 1);  // the parent first
    const std::wstring_view sa = NextSegment(va, pa);
    const std::wstring_view sb = NextSegment(vb, pb);
    const int c = CompareSegments(sa, sb);
    if (c != 0) return descending ? -c : c;
  }
}

int CompareNames(const std::wstring& a, const std::wstring& b) { return CompareSegments(a, b); }

}  // namespace zenlo
