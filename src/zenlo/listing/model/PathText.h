#pragma once
// Small path helpers on text.
#include <string>

namespace zenlo {

inline std::wstring AddTrailingBackslash(const std::wstring& path) {
  if (!path.empty() && path.back() == L'\\') return path;
  return path + L'\\';
}

// The form of a local or UNC path that the file functions accept beyond MAX_PATH.
std::wstring LongPathForm(const std::wstring& path);

// FullPath upper-cased with every blank replaced by "_".
std::wstring NameKeyOf(const std::wstring& fullPath);

}  // namespace zenlo
