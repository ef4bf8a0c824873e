#pragma once
// The error value the library and program carry (number and description), the exception
// that carries it inside one routine, and the message texts built from it.
#include <stdexcept>
#include <string>

namespace tk {

struct ErrorInfo {
  long Number = 0;
  std::wstring Description;
};

// Thrown inside a routine and caught by the same routine's handler; never crosses the
// library boundary.
class RuntimeError : public std::exception {
 public:
  explicit RuntimeError(ErrorInfo info) : info_(std::move(info)) {}
  RuntimeError(long number, std::wstring description) : info_{number, std::move(description)} {}
  const ErrorInfo& Info() const noexcept { return info_; }
  const char* what() const noexcept override { return "tk::RuntimeError"; }

 private:
  ErrorInfo info_;
};

// Common run-time error numbers.
constexpr long kErrOutOfMemory = 7;
constexpr long kErrSubscript = 9;
constexpr long kErrOverflow = 6;
constexpr long kErrInvalidCall = 5;

// Turns any exception in flight into an error value (use inside a catch block).
ErrorInfo CurrentError();

// intro & CRLF CRLF & "Error Number: " & n & CRLF CRLF & label & description,
// label being "Error Description: " or "Error Message: ".
std::wstring MessageWithError(const std::wstring& intro, const ErrorInfo& err,
                              const std::wstring& label);

// The system's own sentence for a system error number, on one line; empty when it has none.
std::wstring SystemErrorText(unsigned long error);

inline const wchar_t* kCrLf = L"\r\n";

}  // namespace tk
