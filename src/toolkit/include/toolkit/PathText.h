#pragma once
// Path text rules shared by the library and the program.
#include <string>

namespace tk {

inline std::wstring AddTrailingBackslash(const std::wstring& path) {
  if (!path.empty() && path.back() == L'\\') return path;
  return path + L'\\';
}

// True when Win32 would change the path on its way to the file system: a segment ending in a
// dot or a blank loses it ("data." opens "data"), and long paths need the "\\?\" form.
bool NeedsLongPathForm(const std::wstring& path);

// The "\\?\" form of a local or UNC path where NeedsLongPathForm says so; other paths (and
// paths with "." or ".." segments or "/", which that form would not resolve) come back as given.
// Every path handed to the file system goes through it, so that a file or folder is reached by
// the name it has.
std::wstring LongPathForm(const std::wstring& path);

// The ordinary form of a path given in the "\\?\" form; other paths come back as given.
std::wstring OrdinaryPathForm(const std::wstring& path);

}  // namespace tk
