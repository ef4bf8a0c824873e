#pragma once
// The shell's type names and system image list, behind an interface so that tests can count
// and fake the queries.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <memory>
#include <string>

namespace zenlo {

// Type name and small icon index. The executable-type flag is left out on purpose: it cannot
// be combined with the others, and with it the shell answers nothing at all.
constexpr UINT kShellTypeAndIcon =
    SHGFI_SYSICONINDEX | SHGFI_TYPENAME | SHGFI_DISPLAYNAME | SHGFI_SHELLICONSIZE | SHGFI_SMALLICON;
constexpr UINT kShellIconOnly = SHGFI_SYSICONINDEX | SHGFI_SMALLICON;
// Per-extension answers are asked by name: the type and icon of an extension do not depend on
// the file, and looking a file up in a folder of 100,000 entries costs far more than the answer.
constexpr UINT kShellByName = SHGFI_USEFILEATTRIBUTES;
// The display name is never used, and asking for it by name crashes the shell under Wine.
constexpr UINT kShellTypeByName = SHGFI_SYSICONINDEX | SHGFI_TYPENAME | SHGFI_SMALLICON | kShellByName;

// With kShellByName: ask about a folder rather than a normal file. Not a shell flag; the
// system implementation turns it into the folder attribute.
constexpr UINT kShellAsFolder = 0x80000000u;

struct ShellFileInfoAnswer {
  bool Ok = false;
  std::wstring TypeName;
  int IconIndex = 0;
  HIMAGELIST ImageList = nullptr;
};

class ShellFileInfo {
 public:
  virtual ~ShellFileInfo() = default;
  // With kShellByName in flags the path need not exist; it is taken as a normal file.
  virtual ShellFileInfoAnswer Query(const std::wstring& path, UINT flags) = 0;
};

std::shared_ptr<ShellFileInfo> MakeShellFileInfo();

}  // namespace zenlo
