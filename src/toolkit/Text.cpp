#include "toolkit/Text.h"

#include <algorithm>
#include <cwchar>
#include <vector>

namespace tk {

int CompareText(const std::wstring& a, const std::wstring& b) {
  int r = CompareStringEx(LOCALE_NAME_USER_DEFAULT, NORM_IGNORECASE, a.c_str(),
                          static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                          nullptr, nullptr, 0);
  if (r == 0) {  // invalid input: fall back to ordinal without case
    r = CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                             static_cast<int>(b.size()), TRUE);
  }
  return r - CSTR_EQUAL;
}

// Views: a literal on either side costs no string of its own.
bool SameText(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

static std::wstring MapCase(const std::wstring& s, DWORD flag) {
  if (s.empty()) return s;
  // Plain ASCII maps the same in every locale without linguistic casing: no call needed.
  if (std::all_of(s.begin(), s.end(), [](wchar_t c) { return c < 0x80; })) {
    std::wstring out(s);
    for (wchar_t& c : out) {
      if (flag == LCMAP_UPPERCASE && c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - 32);
      if (flag == LCMAP_LOWERCASE && c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c + 32);
    }
    return out;
  }
  std::wstring out(s);
  // In place, same length: simple case mapping keeps indexes stable.
  int n = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, flag, s.c_str(), static_cast<int>(s.size()),
                        out.data(), static_cast<int>(out.size()), nullptr, nullptr, 0);
  if (n == static_cast<int>(s.size())) return out;
  out = s;
  if (flag == LCMAP_UPPERCASE)
    CharUpperBuffW(out.data(), static_cast<DWORD>(out.size()));
  else
    CharLowerBuffW(out.data(), static_cast<DWORD>(out.size()));
  return out;
}

std::wstring UpperCase(const std::wstring& s) { return MapCase(s, LCMAP_UPPERCASE); }
std::wstring LowerCase(const std::wstring& s) { return MapCase(s, LCMAP_LOWERCASE); }

std::wstring Trim(const std::wstring& s) {
  auto first = s.find_first_not_of(L' ');
  if (first == std::wstring::npos) return {};
  auto last = s.find_last_not_of(L' ');
  return s.substr(first, last - first + 1);
}

static std::wstring ThousandsSeparator() {
  wchar_t buf[8] = {};
  if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_STHOUSAND, buf, 8) > 0 && buf[0])
    return buf;
  return L",";
}

std::wstring GroupedNumber(std::uint64_t value) {
  static const std::wstring sep = ThousandsSeparator();
  std::wstring digits = std::to_wstring(value);
  std::wstring out;
  out.reserve(digits.size() + digits.size() / 3 * sep.size());
  const std::size_t lead = digits.size() % 3 == 0 ? 3 : digits.size() % 3;
  out.append(digits, 0, lead);
  for (std::size_t i = lead; i < digits.size(); i += 3) {
    out += sep;
    out.append(digits, i, 3);
  }
  return out;
}

std::wstring SystemTimeToDateText(const SYSTEMTIME& t) {
  // Built by hand: a read formats three dates per item.
  wchar_t text[17];
  auto two = [&](int at, unsigned v) {
    text[at] = static_cast<wchar_t>(L'0' + v / 10 % 10);
    text[at + 1] = static_cast<wchar_t>(L'0' + v % 10);
  };
  two(0, t.wYear / 100u);
  two(2, t.wYear % 100u);
  text[4] = L'-';
  two(5, t.wMonth);
  text[7] = L'-';
  two(8, t.wDay);
  text[10] = text[11] = L' ';
  two(12, t.wHour);
  text[14] = L':';
  two(15, t.wMinute);
  return std::wstring(text, 17);
}

std::wstring FileTimeToDateText(const FILETIME& utc) {
  FILETIME local{};
  SYSTEMTIME st{};
  if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &st))
    return L"1899-12-30  00:00";
  return SystemTimeToDateText(st);
}

std::wstring FromUtf8(const std::string& s) {
  if (s.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
  return out;
}

std::wstring DecodeText(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  UINT codePage = CP_UTF8;
  DWORD flags = MB_ERR_INVALID_CHARS;
  int n = MultiByteToWideChar(codePage, flags, bytes.data(), size, nullptr, 0);
  if (n <= 0) {
    codePage = CP_ACP;
    flags = 0;
    n = MultiByteToWideChar(codePage, flags, bytes.data(), size, nullptr, 0);
  }
  if (n <= 0) return {};
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(codePage, flags, bytes.data(), size, out.data(), n);
  return out;
}

std::string ToUtf8(const std::wstring& s) {
  if (s.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr,
                      nullptr);
  return out;
}

}  // namespace tk
