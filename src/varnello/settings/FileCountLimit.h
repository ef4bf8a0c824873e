#pragma once
// The colour-coding file-count limit as typed in the options or read from the settings file.
#include <cstdint>
#include <optional>
#include <string_view>

namespace varnello {

// Digits with an optional "." fraction, rounded half to even; nothing for anything else (signs,
// separators, exponents, hex or currency forms) and for values past the 32-bit range.
std::optional<std::int32_t> ReadFileCountLimit(std::wstring_view text);

}  // namespace varnello
