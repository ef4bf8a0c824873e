#include "commands/ShellRunner.h"

#include <shellapi.h>

#include "toolkit/Error.h"

namespace varnello {

namespace {

class RealShellRunner final : public ShellRunner {
 public:
  DWORD Run(HWND owner, const std::wstring& verb, const std::wstring& file,
            const std::wstring& parameters, const std::wstring& folder) override {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // Failures are ours to word: the shell's own error boxes would come on top of ours.
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.hwnd = owner;
    info.lpVerb = verb.empty() ? nullptr : verb.c_str();
    info.lpFile = file.c_str();
    info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
    info.lpDirectory = folder.empty() ? nullptr : folder.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (ShellExecuteExW(&info)) return 0;
    const DWORD error = GetLastError();
    if (error != 0) return error;
    const auto code = reinterpret_cast<INT_PTR>(info.hInstApp);
    if (code == SE_ERR_NOASSOC || code == SE_ERR_ASSOCINCOMPLETE) return ERROR_NO_ASSOCIATION;
    if (code == SE_ERR_ACCESSDENIED) return ERROR_ACCESS_DENIED;
    if (code == SE_ERR_PNF) return ERROR_PATH_NOT_FOUND;
    return ERROR_FILE_NOT_FOUND;
  }
};

}  // namespace

std::unique_ptr<ShellRunner> MakeShellRunner() { return std::make_unique<RealShellRunner>(); }

std::wstring SystemErrorSentence(DWORD error) {
  const std::wstring text = tk::SystemErrorText(error);
  return text.empty() ? L"System error " + std::to_wstring(error) + L"." : text;
}

}  // namespace varnello
