#pragma once
// Small path helpers on text; the rules the program shares live in the toolkit.
#include <string>

#include "toolkit/PathText.h"

namespace zenlo {

using tk::AddTrailingBackslash;
using tk::LongPathForm;
using tk::NeedsLongPathForm;
using tk::OrdinaryPathForm;

// FullPath upper-cased with every blank replaced by "_".
std::wstring NameKeyOf(const std::wstring& fullPath);

}  // namespace zenlo
