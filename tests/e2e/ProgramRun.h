#pragma once
// Runs Varnello.exe from a program folder and watches it from outside, as a user's desktop
// would: its windows, its files and, in the test build of the program, its state report.
#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// Lays out a fresh program folder (Varnello.exe, Zenlo.dll and the shipped files from `bin`)
// under `parent`; returns its path, or empty on failure.
std::wstring MakeProgramFolder(const std::wstring& bin, const std::wstring& parent);
// Copies the files of folder `from` into a new folder `to`; false when any could not be copied.
bool CopyFolderFiles(const std::wstring& from, const std::wstring& to);
// The temporary folder without its trailing backslash, a parent for MakeProgramFolder.
std::wstring TempBase();
// Removes a folder made by MakeProgramFolder with everything the run left in it.
void RemoveProgramFolder(const std::wstring& folder);
// The test build's program files: VARNELLO_BIN, else the running program's folder when it holds
// Varnello.exe, else the build's e2e-bin folder beside it.
std::wstring BinFolder();
// The shipped build's program files: VARNELLO_RELEASE_BIN, else the build's bin folder.
std::wstring ReleaseBinFolder();

class ProgramRun {
 public:
  ProgramRun() = default;
  ~ProgramRun();  // a program still running is ended
  ProgramRun(const ProgramRun&) = delete;
  ProgramRun& operator=(const ProgramRun&) = delete;

  // Tips at start-up are off in a run unless the test asks for them before Start; the option
  // is removed again when the run ends.
  bool ShowTips = false;
  bool Start(const std::wstring& folder);
  // The visible main window of the run (titled "Varnello", with a menu bar), or null.
  HWND MainWindow() const;
  // The visible splash of the run, or null.
  HWND SplashWindow() const;
  HWND WaitForMainWindow(DWORD timeoutMs) const;
  // The state report of the run's main window, line by line; empty when the program has no
  // report window (the shipped build) or no main window yet.
  std::vector<std::wstring> DescribePanes() const;
  // The report window of a test build, or null.
  HWND ReportWindow() const;
  // Closes the main window and waits for the program to end; its exit code, or -1.
  long Close(DWORD timeoutMs);
  DWORD ProcessId() const { return process_.dwProcessId; }
  // Waits until the program waits for input (a menu or dialog loop ready for keys included).
  void WaitIdle(DWORD timeoutMs) const {
    if (process_.hProcess) WaitForInputIdle(process_.hProcess, timeoutMs);
  }
  bool Running() const {
    return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
  }

 private:
  HWND FindWindowOf(bool main) const;
  PROCESS_INFORMATION process_{};
};

}  // namespace e2e
