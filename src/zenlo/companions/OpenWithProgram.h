#pragma once
// Handing a file to the program associated with its type, with the shell's open-with
// dialog offered when there is none.
#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <functional>
#include <string>

namespace zenlo {

// `path` may carry a listing's display prefix ("*" before a network path). `showState` is a
// ShowWindow code; `directory` may be empty. Asks before the open-with dialog; tells the user
// why when the file could not be opened for another reason.
void OpenWithAssociatedProgram(const std::wstring& path, std::int32_t showState,
                               const std::wstring& directory, HWND owner);

// Tests: receives the open-with command line instead of starting it (the dialog is a process
// of its own that a test cannot watch). An empty function restores the real start.
using CommandStarter = std::function<void(const std::wstring& commandLine)>;
void SetCommandStarter(CommandStarter starter);

// Tests: stands in for the shell's start, filling hInstApp and answering as ShellExecuteExW
// would (the last error set on failure). An empty function restores the real start.
using ShellStarter = std::function<bool(SHELLEXECUTEINFOW& info)>;
void SetShellStarter(ShellStarter starter);

// The sentence shown for a failed start (a result below 33 other than "no association"),
// followed by the system's reason: `systemError`, or the error the result stands for.
std::wstring OpenFailureText(INT_PTR result, DWORD systemError = 0);

}  // namespace zenlo
