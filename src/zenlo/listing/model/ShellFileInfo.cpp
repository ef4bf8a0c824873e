#include "listing/model/ShellFileInfo.h"

namespace zenlo {

namespace {
class SystemShellFileInfo final : public ShellFileInfo {
 public:
  ShellFileInfoAnswer Query(const std::wstring& path, UINT flags) override {
    SHFILEINFOW info{};
    const bool folder = (flags & kShellAsFolder) != 0;
    flags &= ~kShellAsFolder;
    const DWORD attributes = !(flags & SHGFI_USEFILEATTRIBUTES) ? 0
                             : folder                          ? FILE_ATTRIBUTE_DIRECTORY
                                                               : FILE_ATTRIBUTE_NORMAL;
    DWORD_PTR result = SHGetFileInfoW(path.c_str(), attributes, &info, sizeof info, flags);
    ShellFileInfoAnswer answer;
    answer.Ok = result != 0;
    answer.TypeName = info.szTypeName;
    answer.IconIndex = info.iIcon;
    if (flags & SHGFI_SYSICONINDEX) answer.ImageList = reinterpret_cast<HIMAGELIST>(result);
    return answer;
  }
};
}  // namespace

std::shared_ptr<ShellFileInfo> MakeShellFileInfo() {
  return std::make_shared<SystemShellFileInfo>();
}

}  // namespace zenlo
