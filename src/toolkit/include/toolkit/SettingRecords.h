#pragma once
// The record files the program keeps its settings and skins in: one record a line, a quoted key
// and five values separated by commas. Numbers always use "." whatever the locale. Files are
// UTF-8; a line that is not valid UTF-8 is read in the ANSI code page.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tk {

// One loosely typed value as read or to be written.
class SettingValue {
 public:
  enum class Kind : std::uint8_t { Null, Empty, Text, Whole, Real, Truth };

  SettingValue() = default;  // "no value"
  static SettingValue Null() { return {}; }
  static SettingValue Empty();
  static SettingValue Text(std::wstring text);
  static SettingValue Whole(std::int64_t value);
  // `single` writes the shortest text that reads back as the same 32-bit real.
  static SettingValue Real(double value, bool single = false);
  static SettingValue Truth(bool value);

  Kind GetKind() const { return kind_; }
  bool IsNull() const { return kind_ == Kind::Null; }

  // The conversions the settings apply; nullopt where the value does not convert (no value,
  // text that is not a number, NaN, infinities, a number outside the type).
  std::optional<bool> AsTruth() const;
  std::optional<std::int32_t> AsWhole() const;
  std::optional<std::int16_t> AsShort() const;
  std::optional<double> AsReal() const;
  // Numbers become their decimal text with "."; no value does not convert.
  std::optional<std::wstring> AsText() const;

  // The value as a field of a record line; nullopt for a text that a line cannot hold (a
  // double quote, CR, LF or NUL in it).
  std::optional<std::wstring> Format() const;
  // Appends the field to `line`; false (and `line` unchanged) where Format has none.
  bool AppendTo(std::wstring& line) const;

  bool operator==(const SettingValue& o) const;

 private:
  Kind kind_ = Kind::Null;
  std::wstring text_;
  std::int64_t whole_ = 0;
  double real_ = 0;
  bool single_ = false;
  bool truth_ = false;
};

struct SettingRecord {
  std::wstring Key;
  std::array<SettingValue, 5> Values{};
  bool operator==(const SettingRecord& o) const = default;
};

// The record of one line (without its line end); nullopt for a line without a key. A line
// with fewer than five values leaves the rest "no value"; values past the fifth are ignored.
std::optional<SettingRecord> ParseSettingLine(std::wstring_view line);
// The record as a line without its line end; nullopt when one of its texts cannot be stored.
std::optional<std::wstring> FormatSettingLine(const SettingRecord& record);

// Every record of a file's bytes, in order; damaged lines are skipped.
std::vector<SettingRecord> ParseSettingRecords(std::string_view bytes);
// The same into `records` (emptied first), whose storage a caller reading again can keep.
void ParseSettingRecords(std::string_view bytes, std::vector<SettingRecord>& records);
// The records as file bytes, each line ended by CR LF; records that cannot be stored are left
// out. UTF-8 without a mark: an ASCII-only file is plain ASCII.
std::string FormatSettingRecords(const std::vector<SettingRecord>& records);

// The file's bytes; nullopt when it cannot be opened or read.
std::optional<std::string> ReadFileBytes(const std::wstring& path);
// Writes `bytes` to a temporary file beside `path`, flushes it and moves it over `path`: a
// failure leaves the old file as it was. A read-only target is not replaced. Returns 0 or the
// system error number.
unsigned long ReplaceFileContents(const std::wstring& path, std::string_view bytes);

}  // namespace tk
