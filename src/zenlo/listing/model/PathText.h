#pragma once
// Small path helpers on text.
#include <string>

namespace zenlo {

inline std::wstring AddTrailingBackslash(const std::wstring& path) {
  if (!path.empty() && path.back() == L'\\') return path;
  return path + L'\\';
}

// True when both name the same folder: case-blind, with or without a trailing backslash
// ("C:\\data\\" is "c:\\DATA").
bool SameFolderPath(const std::wstring& a, const std::wstring& b);

// True when Win32 would change the path on its way to the file system: a segment ending in a
// dot or a blank loses it ("data." opens "data"), and long paths need the "\\?\" form.
bool NeedsLongPathForm(const std::wstring& path);

// The "\\?\" form of a local or UNC path where NeedsLongPathForm says so; other paths (and
// paths with "." or ".." segments or "/", which that form would not resolve) come back as given.
std::wstring LongPathForm(const std::wstring& path);

// The ordinary form of a path given in the "\\?\" form; other paths come back as given.
std::wstring OrdinaryPathForm(const std::wstring& path);

// FullPath upper-cased with every blank replaced by "_".
std::wstring NameKeyOf(const std::wstring& fullPath);

}  // namespace zenlo
