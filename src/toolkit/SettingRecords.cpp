#include "toolkit/SettingRecords.h"

#include <windows.h>

#include "toolkit/Text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace tk {

namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

bool SameAscii(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    wchar_t x = a[i], y = b[i];
    if (x >= L'a' && x <= L'z') x = static_cast<wchar_t>(x - 32);
    if (y >= L'a' && y <= L'z') y = static_cast<wchar_t>(y - 32);
    if (x != y) return false;
  }
  return true;
}

std::wstring_view TrimBlanks(std::wstring_view s) {
  while (!s.empty() && (s.front() == L' ' || s.front() == L'\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == L' ' || s.back() == L'\t')) s.remove_suffix(1);
  return s;
}

// A number in plain or exponent form with "." as the point: sign, digits, point, digits,
// exponent. nullopt for anything else, and for a real outside the double's range.
std::optional<SettingValue> ParseNumber(std::wstring_view s) {
  std::size_t i = 0;
  std::string ascii;
  if (i < s.size() && (s[i] == L'-' || s[i] == L'+')) {
    if (s[i] == L'-') ascii += '-';
    ++i;
  }
  std::size_t digits = 0;
  bool real = false;
  while (i < s.size() && IsDigit(s[i])) ascii += static_cast<char>(s[i++]), ++digits;
  if (i < s.size() && s[i] == L'.') {
    real = true;
    ascii += '.';
    ++i;
    while (i < s.size() && IsDigit(s[i])) ascii += static_cast<char>(s[i++]), ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (i < s.size() && (s[i] == L'e' || s[i] == L'E')) {
    real = true;
    ascii += 'e';
    ++i;
    if (i < s.size() && (s[i] == L'-' || s[i] == L'+')) ascii += static_cast<char>(s[i++]);
    std::size_t expDigits = 0;
    while (i < s.size() && IsDigit(s[i])) ascii += static_cast<char>(s[i++]), ++expDigits;
    if (expDigits == 0) return std::nullopt;
  }
  if (i != s.size()) return std::nullopt;
  const char* first = ascii.data();
  const char* last = ascii.data() + ascii.size();
  if (!real) {
    std::int64_t v = 0;
    auto [p, ec] = std::from_chars(first, last, v);
    if (ec == std::errc() && p == last) return SettingValue::Whole(v);
  }
  double d = 0;
  auto [p, ec] = std::from_chars(first, last, d);
  if (ec != std::errc() || p != last || !std::isfinite(d)) return std::nullopt;
  return SettingValue::Real(d);
}

bool Storable(const std::wstring& text) {
  return text.find_first_of(std::wstring_view(L"\"\r\n\0", 4)) == std::wstring::npos;
}

std::wstring WideOf(std::string_view bytes, UINT codePage, DWORD flags) {
  if (bytes.empty()) return {};
  const int n = MultiByteToWideChar(codePage, flags, bytes.data(), static_cast<int>(bytes.size()),
                                    nullptr, 0);
  if (n <= 0) return {};
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(codePage, flags, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
  return out;
}

// UTF-8 when the bytes are valid UTF-8, else the ANSI code page.
void DecodeLine(std::string_view bytes, std::wstring& out) {
  // Most lines are plain ASCII, the same in UTF-8 and every ANSI code page: widened here
  // without two conversion calls per line, into a buffer the next line reuses.
  if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; })) {
    out.assign(bytes.begin(), bytes.end());
    return;
  }
  if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(),
                          static_cast<int>(bytes.size()), nullptr, 0) > 0)
    out = WideOf(bytes, CP_UTF8, MB_ERR_INVALID_CHARS);
  else
    out = WideOf(bytes, CP_ACP, 0);
}

}  // namespace

SettingValue SettingValue::Empty() {
  SettingValue v;
  v.kind_ = Kind::Empty;
  return v;
}

SettingValue SettingValue::Text(std::wstring text) {
  SettingValue v;
  v.kind_ = Kind::Text;
  v.text_ = std::move(text);
  return v;
}

SettingValue SettingValue::Whole(std::int64_t value) {
  SettingValue v;
  v.kind_ = Kind::Whole;
  v.whole_ = value;
  return v;
}

SettingValue SettingValue::Real(double value, bool single) {
  SettingValue v;
  v.kind_ = Kind::Real;
  v.real_ = value;
  v.single_ = single;
  return v;
}

SettingValue SettingValue::Truth(bool value) {
  SettingValue v;
  v.kind_ = Kind::Truth;
  v.truth_ = value;
  return v;
}

std::optional<double> SettingValue::AsReal() const {
  switch (kind_) {
    case Kind::Empty:
      return 0.0;
    case Kind::Whole:
      return static_cast<double>(whole_);
    case Kind::Real:
      return std::isfinite(real_) ? std::optional<double>(real_) : std::nullopt;
    case Kind::Truth:
      return truth_ ? -1.0 : 0.0;
    case Kind::Text: {
      auto n = ParseNumber(TrimBlanks(text_));
      return n ? n->AsReal() : std::nullopt;
    }
    case Kind::Null:
      break;
  }
  return std::nullopt;
}

std::optional<std::int32_t> SettingValue::AsWhole() const {
  if (kind_ == Kind::Whole) {
    if (whole_ < std::numeric_limits<std::int32_t>::min() ||
        whole_ > std::numeric_limits<std::int32_t>::max())
      return std::nullopt;
    return static_cast<std::int32_t>(whole_);
  }
  if (kind_ == Kind::Text) {
    auto n = ParseNumber(TrimBlanks(text_));
    return n ? n->AsWhole() : std::nullopt;
  }
  auto r = AsReal();
  if (!r) return std::nullopt;
  const double rounded = std::nearbyint(*r);  // halves to even
  if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) return std::nullopt;
  return static_cast<std::int32_t>(rounded);
}

std::optional<std::int16_t> SettingValue::AsShort() const {
  auto w = AsWhole();
  if (!w || *w < -32768 || *w > 32767) return std::nullopt;
  return static_cast<std::int16_t>(*w);
}

std::optional<bool> SettingValue::AsTruth() const {
  switch (kind_) {
    case Kind::Truth:
      return truth_;
    case Kind::Empty:
      return false;
    case Kind::Text: {
      const std::wstring_view t = TrimBlanks(text_);
      if (SameAscii(t, L"True")) return true;
      if (SameAscii(t, L"False")) return false;
      break;
    }
    default:
      break;
  }
  auto r = AsReal();
  if (!r) return std::nullopt;
  return *r != 0;
}

std::optional<std::wstring> SettingValue::AsText() const {
  switch (kind_) {
    case Kind::Null:
      return std::nullopt;
    case Kind::Empty:
      return std::wstring();
    case Kind::Text:
      return text_;
    case Kind::Truth:
      return std::wstring(truth_ ? L"True" : L"False");
    case Kind::Whole:
    case Kind::Real:
      break;
  }
  return Format();
}

std::optional<std::wstring> SettingValue::Format() const {
  std::wstring field;
  if (!AppendTo(field)) return std::nullopt;
  return field;
}

bool SettingValue::AppendTo(std::wstring& line) const {
  switch (kind_) {
    case Kind::Null:
      line += L"#NULL#";
      return true;
    case Kind::Empty:
      return true;
    case Kind::Truth:
      line += truth_ ? L"#TRUE#" : L"#FALSE#";
      return true;
    case Kind::Text:
      if (!Storable(text_)) return false;
      line += L'"';
      line += text_;
      line += L'"';
      return true;
    case Kind::Whole:
    case Kind::Real: {
      if (kind_ == Kind::Real && !std::isfinite(real_)) return false;
      char buf[64];
      auto [p, ec] = kind_ == Kind::Whole ? std::to_chars(buf, buf + sizeof buf, whole_)
                     : single_            ? std::to_chars(buf, buf + sizeof buf, static_cast<float>(real_))
                                          : std::to_chars(buf, buf + sizeof buf, real_);
      if (ec != std::errc()) return false;
      line.append(buf, p);
      return true;
    }
  }
  return false;
}

bool SettingValue::operator==(const SettingValue& o) const {
  if (kind_ != o.kind_) return false;
  switch (kind_) {
    case Kind::Text:
      return text_ == o.text_;
    case Kind::Whole:
      return whole_ == o.whole_;
    case Kind::Real:
      return real_ == o.real_;
    case Kind::Truth:
      return truth_ == o.truth_;
    default:
      return true;
  }
}

namespace {

// Reads one line into `record` (its values "no value" where the line ends early); false when
// the line holds no record.
bool ParseInto(std::wstring_view line, SettingRecord& record) {
  if (line.find(L'\0') != std::wstring_view::npos) return false;
  std::size_t i = 0;
  for (std::size_t field = 0;; ++field) {
    while (i < line.size() && (line[i] == L' ' || line[i] == L'\t')) ++i;
    SettingValue value;
    if (i < line.size() && line[i] == L'"') {
      const std::size_t close = line.find(L'"', i + 1);
      const std::size_t end = close == std::wstring_view::npos ? line.size() : close;
      const std::wstring_view text = line.substr(i + 1, end - i - 1);
      if (field == 0) {
        record.Key.assign(text);
      } else {
        value = SettingValue::Text(std::wstring(text));
      }
      // Anything between the closing quote and the next comma is not part of the value.
      i = close == std::wstring_view::npos ? line.size() : line.find(L',', close);
      if (i == std::wstring_view::npos) i = line.size();
    } else {
      std::size_t comma = line.find(L',', i);
      if (comma == std::wstring_view::npos) comma = line.size();
      const std::wstring_view token = TrimBlanks(line.substr(i, comma - i));
      i = comma;
      if (token.empty())
        value = SettingValue::Empty();
      else if (SameAscii(token, L"#TRUE#"))
        value = SettingValue::Truth(true);
      else if (SameAscii(token, L"#FALSE#"))
        value = SettingValue::Truth(false);
      else if (SameAscii(token, L"#NULL#"))
        value = SettingValue::Null();
      else if (auto n = ParseNumber(token))
        value = std::move(*n);
      else if (token.find(L'"') == std::wstring_view::npos)
        value = SettingValue::Text(std::wstring(token));
      // A stray quote leaves the field without a value.
    }
    if (field > 0) {
      record.Values[field - 1] = std::move(value);
    } else if (value.GetKind() == SettingValue::Kind::Text) {
      record.Key = *value.AsText();  // a key written without its quotes
    } else if (record.Key.empty()) {
      return false;  // a number, truth or nothing where the key belongs
    }
    if (field == 5 || i >= line.size()) break;
    ++i;  // past the comma
  }
  return !record.Key.empty();
}

}  // namespace

std::optional<SettingRecord> ParseSettingLine(std::wstring_view line) {
  SettingRecord record;
  if (!ParseInto(line, record)) return std::nullopt;
  return record;
}

namespace {

// The record as one line into `line` (emptied first); false for a record no line can hold.
bool FormatInto(const SettingRecord& record, std::wstring& line) {
  line.clear();
  if (record.Key.empty() || !Storable(record.Key)) return false;
  line += L'"';
  line += record.Key;
  line += L'"';
  for (const SettingValue& v : record.Values) {
    line += L',';
    if (!v.AppendTo(line)) return false;
  }
  return true;
}

}  // namespace

std::optional<std::wstring> FormatSettingLine(const SettingRecord& record) {
  std::wstring line;
  if (!FormatInto(record, line)) return std::nullopt;
  return line;
}

std::vector<SettingRecord> ParseSettingRecords(std::string_view bytes) {
  std::vector<SettingRecord> records;
  ParseSettingRecords(bytes, records);
  return records;
}

void ParseSettingRecords(std::string_view bytes, std::vector<SettingRecord>& records) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  records.clear();
  records.reserve(static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1);
  std::wstring line;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = bytes.size();
    if (end > start) {
      DecodeLine(bytes.substr(start, end - start), line);
      if (!ParseInto(line, records.emplace_back())) records.pop_back();
    }
    start = end + 1;
  }
}

std::string FormatSettingRecords(const std::vector<SettingRecord>& records) {
  std::string out;
  std::wstring text;  // one line at a time, its buffer reused
  for (const SettingRecord& r : records) {
    if (!FormatInto(r, text)) continue;
    if (std::all_of(text.begin(), text.end(), [](wchar_t c) { return c < 0x80; }))
      out.append(text.begin(), text.end());  // ASCII is its own UTF-8
    else
      out += ToUtf8(text);
    out += "\r\n";
  }
  return out;
}

std::optional<std::string> ReadFileBytes(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char buffer[65536];
  bool ok = true;
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file, buffer, sizeof buffer, &got, nullptr)) {
      ok = false;
      break;
    }
    if (got == 0) break;
    bytes.append(buffer, got);
  }
  CloseHandle(file);
  if (!ok) return std::nullopt;
  return bytes;
}

unsigned long ReplaceFileContents(const std::wstring& path, std::string_view bytes) {
  const DWORD existing = GetFileAttributesW(path.c_str());
  if (existing != INVALID_FILE_ATTRIBUTES &&
      (existing & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
    return ERROR_ACCESS_DENIED;
  const std::wstring temp = path + L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp";
  HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return GetLastError();
  DWORD error = ERROR_SUCCESS;
  std::size_t done = 0;
  while (error == ERROR_SUCCESS && done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr))
      error = GetLastError();
    else if (written == 0)
      error = ERROR_DISK_FULL;
    done += written;
  }
  if (error == ERROR_SUCCESS && !FlushFileBuffers(file)) error = GetLastError();
  if (!CloseHandle(file) && error == ERROR_SUCCESS) error = GetLastError();
  if (error == ERROR_SUCCESS &&
      !MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    error = GetLastError();
  if (error != ERROR_SUCCESS) DeleteFileW(temp.c_str());
  return error;
}

}  // namespace tk
