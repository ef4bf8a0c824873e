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

struct ShellFileInfoAnswer {
  bool Ok = false;
  std::wstring TypeName;
  int IconIndex = 0;
  HIMAGELIST ImageList = nullptr;
};

class ShellFileInfo {
 public:
  virtual ~ShellFileInfo() = default;
  virtual ShellFileInfoAnswer Query(const std::wstring& path, UINT flags) = 0;
};

std::shared_ptr<ShellFileInfo> MakeShellFileInfo();

}  // namespace zenlo
