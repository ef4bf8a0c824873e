#pragma once
// Starting a program or opening a document through the shell. Behind an interface so that
// tests can see what would be started without starting it.
#include <windows.h>

#include <memory>
#include <string>

namespace varnello {

class ShellRunner {
 public:
  virtual ~ShellRunner() = default;
  // 0 when it started, else the system error code. The shell shows no box of its own.
  virtual DWORD Run(HWND owner, const std::wstring& verb, const std::wstring& file,
                    const std::wstring& parameters, const std::wstring& folder) = 0;
};

std::unique_ptr<ShellRunner> MakeShellRunner();

// The system's sentence for an error code, or its number when the system has none.
std::wstring SystemErrorSentence(DWORD error);

}  // namespace varnello
