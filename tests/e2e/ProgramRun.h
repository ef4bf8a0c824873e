#pragma once
// Runs Varnello.exe from a program folder and watches it from outside, as a user's desktop
// would: its windows, its files and the state report its main window answers.
#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// Lays out a fresh program folder (Varnello.exe, Zenlo.dll and the shipped files from `bin`)
// under `parent`; returns its path, or empty on failure.
std::wstring MakeProgramFolder(const std::wstring& bin, const std::wstring& parent);
// Removes a folder made by MakeProgramFolder with everything the run left in it.
void RemoveProgramFolder(const std::wstring& folder);
// The build's program files: VARNELLO_BIN, else the running program's folder when it holds
// Varnello.exe, else the build's bin folder beside it.
std::wstring BinFolder();

class ProgramRun {
 public:
  ProgramRun() = default;
  ~ProgramRun();  // a program still running is ended
  ProgramRun(const ProgramRun&) = delete;
  ProgramRun& operator=(const ProgramRun&) = delete;

  bool Start(const std::wstring& folder);
  // The visible main window of the run (titled "Varnello", with a menu bar), or null.
  HWND MainWindow() const;
  // The visible splash of the run, or null.
  HWND SplashWindow() const;
  HWND WaitForMainWindow(DWORD timeoutMs) const;
  // Asks the main window to write its panes into `file`; returns the lines.
  std::vector<std::wstring> DescribePanes(const std::wstring& file) const;
  // Closes the main window and waits for the program to end; its exit code, or -1.
  long Close(DWORD timeoutMs);
  DWORD ProcessId() const { return process_.dwProcessId; }
  bool Running() const {
    return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
  }

 private:
  HWND FindWindowOf(bool main) const;
  PROCESS_INFORMATION process_{};
};

}  // namespace e2e
