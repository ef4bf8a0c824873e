#pragma once
// Text helpers shared by the library and the program. Text is always std::wstring.
#include <cstdint>
#include <string>
#include <string_view>
#include <windows.h>

namespace tk {

// Orders in the user's locale without regard to case: <0, 0 or >0.
int CompareText(const std::wstring& a, const std::wstring& b);
// Equal without regard to case, character by character as file systems compare names (never
// equal just because the locale's collation ignores a hyphen or an accent).
bool SameText(std::wstring_view a, std::wstring_view b);

std::wstring UpperCase(const std::wstring& s);
std::wstring LowerCase(const std::wstring& s);
std::wstring Trim(const std::wstring& s);  // leading and trailing blanks only

// Whole number with its digits grouped by threes with the locale's thousands separator
// ("3,000,000,000"); Wine's default grouping is wrong, so the grouping is ours.
std::wstring GroupedNumber(std::uint64_t value);

// A file time (UTC) as local "YYYY-MM-DD  HH:MM". A time that cannot be converted gives the
// zero date "1899-12-30  00:00".
std::wstring FileTimeToDateText(const FILETIME& utc);
std::wstring SystemTimeToDateText(const SYSTEMTIME& local);

std::wstring FromUtf8(const std::string& s);
std::string ToUtf8(const std::wstring& s);
// A text file's bytes: UTF-8 (with or without its mark) when they are valid UTF-8, otherwise
// the ANSI code page.
std::wstring DecodeText(std::string_view bytes);

}  // namespace tk
