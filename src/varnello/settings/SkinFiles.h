#pragma once
// Skin files: a version record and the 28 colours in the record syntax of the settings file,
// one file per skin in the program's "skins" folder, named after the skin.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/SkinColours.h"
#include "toolkit/SettingRecords.h"

namespace varnello {

// The skin a fresh program starts in, and the one that stands in for a missing skin.
inline constexpr wchar_t kDefaultSkinName[] = L"Cloud 9";

// The program version as a skin file records it: major, minor in four digits, revision in four.
std::int64_t SkinVersionNumber();

// The 29 records of a skin file for `colours`, in file order.
std::vector<tk::SettingRecord> SkinFileRecords(const SkinColours& colours);
std::string SkinFileBytes(const SkinColours& colours);

// An RGB colour or one of the system's colours (0x80000000 + its index).
bool IsSkinColourValue(std::int64_t value);

// Takes the colour records of a skin file into `colours`, in file order; any other key, and
// any value that is not a colour, changes nothing. Returns how many records were taken.
int ApplySkinFile(std::string_view bytes, SkinColours& colours);

// The skins the program protects from being changed, renamed or deleted (case-blind).
bool IsProtectedSkin(const std::wstring& name);

// Why `name` cannot name a new skin file, as a sentence for the user; nothing when it can.
std::optional<std::wstring> SkinNameProblem(const std::wstring& name);

// A name that stands for one file in the skin folder and nowhere else.
bool IsPlainFileName(const std::wstring& name);

// The folder "skins" in the program folder.
class SkinFolder {
 public:
  explicit SkinFolder(std::wstring programFolder);
  const std::wstring& Path() const { return path_; }
  // The skins present, sorted without regard to case.
  std::vector<std::wstring> Names() const;
  // The file of skin `name`, found without regard to case; nothing when there is none or the
  // name is not a plain file name.
  std::optional<std::wstring> Find(const std::wstring& name) const;
  // The skin's file name as stored (its letter case), or nothing.
  std::optional<std::wstring> StoredName(const std::wstring& name) const;
  // The path a new skin of that name gets (in the long form where the folder needs it).
  std::wstring PathFor(const std::wstring& name) const;
  // Writes the skin through a temporary file (making the folder when needed); 0 or the
  // system's error number.
  unsigned long Write(const std::wstring& name, const SkinColours& colours) const;
  unsigned long Remove(const std::wstring& name) const;
  // Never replaces another skin; a change of letter case alone is allowed.
  unsigned long Rename(const std::wstring& from, const std::wstring& to) const;

 private:
  std::wstring path_;
};

}  // namespace varnello
