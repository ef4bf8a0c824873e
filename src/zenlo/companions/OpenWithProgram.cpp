#include "companions/OpenWithProgram.h"

#include <shellapi.h>

#include "toolkit/Error.h"
#include "toolkit/MessageBox.h"
#include "toolkit/MousePointer.h"
#include "toolkit/PathText.h"

namespace zenlo {

namespace {

constexpr INT_PTR kNoAssociation = SE_ERR_NOASSOC;
constexpr INT_PTR kStarted = 33;

// A listing path or folder with a display prefix starts at its network part.
std::wstring FromNetworkStart(const std::wstring& text) {
  const std::size_t at = text.find(L"\\\\");
  return at == std::wstring::npos ? text : text.substr(at);
}

// The shell takes the long form only where it must: past the platform's length limit, or
// where a trailing dot or blank would be dropped. Short of the limit it wants the plain form.
std::wstring ShellPathForm(const std::wstring& path) { return tk::LongPathForm(path, MAX_PATH); }

struct StartResult {
  INT_PTR code = 0;
  DWORD systemError = 0;
};

ShellStarter& ShellStart() {
  static ShellStarter starter;
  return starter;
}

// The result number a failed call stands for when its hInstApp does not say one.
INT_PTR ResultOfError(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND: return SE_ERR_FNF;
    case ERROR_PATH_NOT_FOUND: return SE_ERR_PNF;
    case ERROR_ACCESS_DENIED: return SE_ERR_ACCESSDENIED;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY: return SE_ERR_OOM;
    case ERROR_BAD_FORMAT: return ERROR_BAD_FORMAT;
    case ERROR_SHARING_VIOLATION: return SE_ERR_SHARE;
    case ERROR_NO_ASSOCIATION: return kNoAssociation;
    default: return SE_ERR_DLLNOTFOUND;  // one of the results with no sentence of its own
  }
}

StartResult Start(const std::wstring& path, int showState, const std::wstring& directory,
                  HWND owner) {
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  // The shell's own error boxes would repeat (or contradict) the one shown here.
  info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  info.hwnd = owner;
  info.lpFile = path.c_str();
  info.lpDirectory = directory.empty() ? nullptr : directory.c_str();
  info.nShow = showState;
  const bool started = ShellStart() ? ShellStart()(info) : ShellExecuteExW(&info) != FALSE;
  const DWORD error = started ? 0 : GetLastError();
  const INT_PTR code = reinterpret_cast<INT_PTR>(info.hInstApp);
  // hInstApp is promised only for some calls: a call that succeeded counts unless it names an
  // error, and one that failed failed, whatever hInstApp holds.
  const bool namesError = code > 0 && code <= 32;
  if (started) return {namesError ? code : kStarted, 0};
  return {namesError ? code : ResultOfError(error), error};
}

CommandStarter& Starter() {
  static CommandStarter starter;
  return starter;
}

// Started and not waited for; a failure to start is not reported.
void StartOpenWithDialog(const std::wstring& path) {
  std::wstring command = L"rundll32.exe shell32.dll,OpenAs_RunDLL " + path;
  if (Starter()) {
    Starter()(command);
    return;
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &process)) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
}

}  // namespace

void SetCommandStarter(CommandStarter starter) { Starter() = std::move(starter); }
void SetShellStarter(ShellStarter starter) { ShellStart() = std::move(starter); }

std::wstring OpenFailureText(INT_PTR result, DWORD systemError) {
  std::wstring text;
  switch (result) {
    case SE_ERR_ACCESSDENIED:
      text = L"The operating system denied access to the specified file.";
      break;
    case SE_ERR_OOM: text = L"File could not be opened. Out of Memory/Resources."; break;
    case ERROR_BAD_FORMAT: text = L"File could not be opened. Bad File Format."; break;
    case SE_ERR_SHARE: text = L"A sharing violation occurred."; break;
    default: text = L"File cannot be opened."; break;
  }
  // The system says what went wrong; the results that match its numbers stand for its reasons.
  DWORD reason = systemError;
  if (!reason) {
    switch (result) {
      case SE_ERR_FNF:
      case SE_ERR_PNF:
      case SE_ERR_ACCESSDENIED:
      case SE_ERR_OOM:
      case ERROR_BAD_FORMAT: reason = static_cast<DWORD>(result); break;
      case SE_ERR_SHARE: reason = ERROR_SHARING_VIOLATION; break;
      default: break;
    }
  }
  const std::wstring why = reason ? tk::SystemErrorText(reason) : std::wstring();
  return why.empty() ? text : text + L" " + why;
}

void OpenWithAssociatedProgram(const std::wstring& path, std::int32_t showState,
                               const std::wstring& directory, HWND owner) {
  try {
    const std::wstring file = !path.empty() && path[0] == L'*' ? FromNetworkStart(path) : path;
    const std::wstring folder = directory.empty() ? directory : FromNetworkStart(directory);
    StartResult result;
    {
      tk::HourglassPointer hourglass;
      result = Start(ShellPathForm(file), showState, ShellPathForm(folder), owner);
    }
    if (result.code > 32) return;
    if (result.code == kNoAssociation) {
      const std::wstring question =
          L"No program has been associated with this file. Do you wish to choose a program to "
          L"open this file with?\r\n\r\nYour file: " +
          file;
      if (tk::ShowMessageBox(owner, question, L"Varnello", MB_YESNO | MB_ICONQUESTION) == IDYES)
        StartOpenWithDialog(ShellPathForm(file));
      return;
    }
    // Any other failure: say why instead of doing nothing.
    tk::ShowMessageBox(owner,
                       OpenFailureText(result.code, result.systemError) + L"\r\n\r\nYour file: " + file,
                       L"Varnello",
                       MB_OK | MB_ICONEXCLAMATION);
  } catch (...) {
    // Nothing escapes to the caller; the library boundary carries no exceptions.
  }
}

}  // namespace zenlo
