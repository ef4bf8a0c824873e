#pragma once
// Path text rules shared by the library and the program.
#include <cstddef>
#include <string>

namespace tk {

inline std::wstring AddTrailingBackslash(const std::wstring& path) {
  if (!path.empty() && path.back() == L'\\') return path;
  return path + L'\\';
}

// Paths from this length on take the long form: a folder's path leaves room for a name and
// "*.*" below the platform's limit.
constexpr std::size_t kLongPathRoom = 240;

// True when Win32 would change the path on its way to the file system: a segment ending in a
// dot or a blank loses it ("data." opens "data"), and paths from `room` characters on need the
// "\\?\" form.
bool NeedsLongPathForm(const std::wstring& path, std::size_t room = kLongPathRoom);

// The "\\?\" form of a local or UNC path where NeedsLongPathForm says so; other paths (and
// paths with "." or ".." segments or "/", which that form would not resolve) come back as given.
// Every path handed to the file system goes through it, so that a file or folder is reached by
// the name it has.
std::wstring LongPathForm(const std::wstring& path, std::size_t room = kLongPathRoom);

// The ordinary form of a path given in the "\\?\" form; other paths come back as given.
std::wstring OrdinaryPathForm(const std::wstring& path);

}  // namespace tk
