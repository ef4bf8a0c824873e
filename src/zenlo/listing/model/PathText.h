#pragma once
// Small path helpers on text; the rules the program shares live in the toolkit.
#include <string>

#include "toolkit/PathText.h"

namespace zenlo {

using tk::AddTrailingBackslash;
using tk::LongPathForm;
using tk::NeedsLongPathForm;
using tk::OrdinaryPathForm;

// True when both name the same folder: case-blind, with or without a trailing backslash
// ("C:\\data\\" is "c:\\DATA").
bool SameFolderPath(const std::wstring& a, const std::wstring& b);

// FullPath upper-cased with every blank replaced by "_".
std::wstring NameKeyOf(const std::wstring& fullPath);

}  // namespace zenlo
