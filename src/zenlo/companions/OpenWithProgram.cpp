#include "companions/OpenWithProgram.h"

#include <shellapi.h>

#include "toolkit/Error.h"
#include "toolkit/MessageBox.h"
#include "toolkit/MousePointer.h"

namespace zenlo {

namespace {

constexpr INT_PTR kNoAssociation = 31;  // SE_ERR_NOASSOC

// A listing path or folder with a display prefix starts at its network part.
std::wstring FromNetworkStart(const std::wstring& text) {
  const std::size_t at = text.find(L"\\\\");
  return at == std::wstring::npos ? text : text.substr(at);
}

struct StartResult {
  INT_PTR code = 0;
  DWORD systemError = 0;
};

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
  const bool started = ShellExecuteExW(&info) != FALSE;
  return {reinterpret_cast<INT_PTR>(info.hInstApp), started ? 0 : GetLastError()};
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

std::wstring OpenFailureText(INT_PTR result, DWORD systemError) {
  switch (result) {
    case 2: return L"File could not be opened. The file was not found.";
    case 3: return L"File could not be opened. The path was not found.";
    case 5: return L"The operating system denied access to the specified file.";
    case 8: return L"File could not be opened. Out of Memory/Resources.";
    case 11: return L"File could not be opened. Bad File Format.";
    case 26: return L"A sharing violation occurred.";
    default: {
      // Whatever else went wrong, the system usually can say what it was.
      const std::wstring why = systemError ? tk::SystemErrorText(systemError) : std::wstring();
      return why.empty() ? L"File cannot be opened." : L"File cannot be opened. " + why;
    }
  }
}

void OpenWithAssociatedProgram(const std::wstring& path, std::int32_t showState,
                               const std::wstring& directory, HWND owner) {
  try {
    const std::wstring file = !path.empty() && path[0] == L'*' ? FromNetworkStart(path) : path;
    const std::wstring folder = directory.empty() ? directory : FromNetworkStart(directory);
    StartResult result;
    {
      tk::HourglassPointer hourglass;
      result = Start(file, showState, folder, owner);
    }
    if (result.code > 32) return;
    if (result.code == kNoAssociation) {
      const std::wstring question =
          L"No program has been associated with this file. Do you wish to choose a program to "
          L"open this file with?\r\n\r\nYour file: " +
          file;
      if (tk::ShowMessageBox(owner, question, L"Varnello", MB_YESNO | MB_ICONQUESTION) == IDYES)
        StartOpenWithDialog(file);
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
