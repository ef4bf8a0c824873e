#include "settings/FileCountLimit.h"

#include <charconv>
#include <cmath>
#include <string>

namespace varnello {

std::optional<std::int32_t> ReadFileCountLimit(std::wstring_view text) {
  while (!text.empty() && (text.front() == L' ' || text.front() == L'\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == L' ' || text.back() == L'\t')) text.remove_suffix(1);
  std::string ascii;
  std::size_t digits = 0;
  bool point = false;
  for (wchar_t c : text) {
    if (c >= L'0' && c <= L'9') {
      ++digits;
    } else if (c == L'.' && !point) {
      point = true;
    } else {
      return std::nullopt;
    }
    ascii += static_cast<char>(c);
  }
  if (digits == 0) return std::nullopt;
  double value = 0;
  auto [end, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
  if (ec != std::errc() || end != ascii.data() + ascii.size()) return std::nullopt;
  const double rounded = std::nearbyint(value);  // halves to even
  if (!(rounded <= 2147483647.0)) return std::nullopt;
  return static_cast<std::int32_t>(rounded);
}

}  // namespace varnello
