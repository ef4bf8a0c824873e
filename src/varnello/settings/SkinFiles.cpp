#include "settings/SkinFiles.h"

#include <windows.h>

#include <algorithm>
#include <array>

#include "mainwindow/ProgramVersion.h"
#include "toolkit/PathText.h"
#include "toolkit/Text.h"

namespace varnello {

namespace {

using tk::SettingRecord;
using tk::SettingValue;

// The file's order, which is not the order of the colours in memory.
constexpr std::array<const wchar_t*, 28> kFileOrder{
    L"ColorProgramBackground",   L"ColorPaneBackground",    L"ColorListBackground",
    L"ColorListText",            L"ColorMainToolbar",       L"ColorMinorToolbar",
    L"ColorActiveListOutline",   L"ColorInActiveListOutline", L"ColorActiveTitle",
    L"ColorInactiveTitle",       L"ColorActiveTitleText",   L"ColorInactiveTitleText",
    L"ColorDriveList",           L"ColorDriveText",         L"ColorActiveHeading",
    L"ColorInactiveHeading",     L"ColorActiveHeadingText", L"ColorInactiveHeadingText",
    L"ColorHeadingHoverText",    L"ColorStatusBackground",  L"ColorStatusText",
    L"ColorActiveItemOutline",   L"ColorActiveItemUnderline", L"ColorCurrentFolderText",
    L"ColorCommandLineList",     L"ColorCommandLineText",   L"ColorMainMenu",
    L"ColorTextSecondary"};

constexpr std::array<const wchar_t*, 5> kProtected{L"CLOUD 9", L"TRADITIONAL", L"EARL GREY",
                                                   L"GRASSHOPPER", L"ROXY"};

// Longest skin name: the folder and the extension must still fit the platform's path limit.
constexpr std::size_t kMaxNameLength = 100;

const wchar_t kExtension[] = L".vrk";

bool IsDeviceName(const std::wstring& name) {
  const std::wstring upper = tk::UpperCase(name);
  for (const wchar_t* d : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"})
    if (upper == d) return true;
  if (upper.size() == 4 && (upper.rfind(L"COM", 0) == 0 || upper.rfind(L"LPT", 0) == 0) &&
      upper[3] >= L'0' && upper[3] <= L'9')
    return true;
  return false;
}

std::wstring WithoutExtension(const std::wstring& fileName) {
  return fileName.size() > 4 && tk::SameText(fileName.substr(fileName.size() - 4), kExtension)
             ? fileName.substr(0, fileName.size() - 4)
             : std::wstring();
}

}  // namespace

std::int64_t SkinVersionNumber() {
  return static_cast<std::int64_t>(kVersionMajor) * 100000000 +
         static_cast<std::int64_t>(kVersionMinor) * 10000 + kVersionRevision;
}

std::vector<SettingRecord> SkinFileRecords(const SkinColours& colours) {
  const SettingValue zero = SettingValue::Whole(0);
  std::vector<SettingRecord> out;
  out.push_back({L"Version",
                 {SettingValue::Whole(SkinVersionNumber()),
                  SettingValue::Text(L"Varnello Skin"), zero, zero, zero}});
  SkinColours copy = colours;
  for (const wchar_t* key : kFileOrder) {
    const auto value = static_cast<std::int32_t>(*copy.ByKey(key));
    out.push_back({key, {SettingValue::Whole(value), zero, zero, zero, zero}});
  }
  return out;
}

std::string SkinFileBytes(const SkinColours& colours) {
  return tk::FormatSettingRecords(SkinFileRecords(colours));
}

bool IsSkinColourValue(std::int64_t value) {
  if (value >= 0 && value <= 0xFFFFFF) return true;
  const auto bits = static_cast<std::uint32_t>(value);
  // System colours as a signed 32-bit Long: 0x80000000 plus an index the system knows.
  return value < 0 && value >= INT32_MIN && (bits & 0xFFFFFF00u) == 0x80000000u &&
         (bits & 0xFFu) <= COLOR_MENUBAR;
}

int ApplySkinFile(std::string_view bytes, SkinColours& colours) {
  int taken = 0;
  for (const SettingRecord& r : tk::ParseSettingRecords(bytes)) {
    COLORREF* target = colours.ByKey(r.Key);
    if (!target) continue;
    // Only whole numbers: a text or a truth value that happens to convert is no colour.
    if (r.Values[0].GetKind() != SettingValue::Kind::Whole &&
        r.Values[0].GetKind() != SettingValue::Kind::Real)
      continue;
    const auto value = r.Values[0].AsWhole();
    if (!value || !IsSkinColourValue(*value)) continue;
    *target = static_cast<COLORREF>(*value);
    ++taken;
  }
  return taken;
}

bool IsProtectedSkin(const std::wstring& name) {
  const std::wstring upper = tk::UpperCase(name);
  return std::find(kProtected.begin(), kProtected.end(), upper) != kProtected.end();
}

std::optional<std::wstring> SkinNameProblem(const std::wstring& name) {
  if (name.empty()) return L"Please provide a name for this skin.";
  for (const wchar_t c : name)
    if (c < 32 || std::wstring_view(L".?'\"\\/<>:|*").find(c) != std::wstring_view::npos)
      return L"Please don't use unusual punctuation in the skin name.";
  if (name.front() == L' ' || name.back() == L' ')
    return L"Please don't begin or end the skin name with a blank.";
  if (name.size() > kMaxNameLength)
    return L"Please use a skin name of at most " + std::to_wstring(kMaxNameLength) +
           L" characters.";
  if (IsDeviceName(name))
    return L"Windows keeps the name " + name + L" for a device. Please use a different name.";
  return std::nullopt;
}

bool IsPlainFileName(const std::wstring& name) {
  if (name.empty() || name == L"." || name == L".." || name.size() > 240) return false;
  for (const wchar_t c : name)
    if (c < 32 || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos)
      return false;
  return true;
}

SkinFolder::SkinFolder(std::wstring programFolder) : path_(std::move(programFolder)) {
  while (!path_.empty() && path_.back() == L'\\') path_.pop_back();
  path_ += L"\\skins";
}

std::vector<std::wstring> SkinFolder::Names() const {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW d;
  HANDLE h = FindFirstFileW(tk::LongPathForm(path_ + L"\\*.vrk").c_str(), &d);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    // The search also matches short names: keep only files whose own name ends so.
    std::wstring name = WithoutExtension(d.cFileName);
    if (!name.empty()) names.push_back(std::move(name));
  } while (FindNextFileW(h, &d));
  FindClose(h);
  std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
    return tk::CompareText(a, b) < 0;
  });
  return names;
}

std::optional<std::wstring> SkinFolder::StoredName(const std::wstring& name) const {
  if (!IsPlainFileName(name)) return std::nullopt;
  for (const std::wstring& n : Names())
    if (tk::SameText(n, name)) return n;
  return std::nullopt;
}

std::optional<std::wstring> SkinFolder::Find(const std::wstring& name) const {
  if (const auto stored = StoredName(name)) return PathFor(*stored);
  return std::nullopt;
}

std::wstring SkinFolder::PathFor(const std::wstring& name) const {
  return tk::LongPathForm(path_ + L"\\" + name + kExtension);
}

unsigned long SkinFolder::Write(const std::wstring& name, const SkinColours& colours) const {
  if (!IsPlainFileName(name)) return ERROR_INVALID_NAME;
  if (!CreateDirectoryW(tk::LongPathForm(path_).c_str(), nullptr) &&
      GetLastError() != ERROR_ALREADY_EXISTS)
    return GetLastError();
  return tk::ReplaceFileContents(Find(name).value_or(PathFor(name)), SkinFileBytes(colours));
}

unsigned long SkinFolder::Remove(const std::wstring& name) const {
  const auto path = Find(name);
  if (!path) return ERROR_FILE_NOT_FOUND;
  return DeleteFileW(path->c_str()) ? 0 : GetLastError();
}

unsigned long SkinFolder::Rename(const std::wstring& from, const std::wstring& to) const {
  const auto source = Find(from);
  if (!source) return ERROR_FILE_NOT_FOUND;
  if (!IsPlainFileName(to)) return ERROR_INVALID_NAME;
  if (!tk::SameText(from, to)) {
    if (Find(to)) return ERROR_ALREADY_EXISTS;
    return MoveFileExW(source->c_str(), PathFor(to).c_str(), 0) ? 0 : GetLastError();
  }
  // A change of letter case alone goes through another name: a case-blind file system may
  // take a move onto the same name as nothing to do.
  const std::wstring step =
      tk::LongPathForm(path_ + L"\\~rename-" + std::to_wstring(GetCurrentProcessId()) + L".tmp");
  if (!MoveFileExW(source->c_str(), step.c_str(), 0)) return GetLastError();
  if (MoveFileExW(step.c_str(), PathFor(to).c_str(), 0)) return 0;
  const DWORD error = GetLastError();
  MoveFileExW(step.c_str(), source->c_str(), 0);
  return error;
}

}  // namespace varnello
