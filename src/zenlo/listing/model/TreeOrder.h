#pragma once
// The order of a folder tree: paths compared segment by segment, so that a folder is directly
// followed by its own sub-folders whatever characters the names hold, at any depth.
#include <string>

namespace zenlo {

// < 0, 0, > 0. Segments compare in the user's locale without regard to case (names that only
// differ in case keep a fixed order); a folder comes before everything below it in either
// direction, and `descending` reverses only the order of siblings.
int CompareTreePaths(const std::wstring& a, const std::wstring& b, bool descending = false);

// Names in the user's locale without regard to case, with a fixed order for names that differ
// only in case.
int CompareNames(const std::wstring& a, const std::wstring& b);

}  // namespace zenlo
