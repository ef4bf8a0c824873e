#include "toolkit/Error.h"

#include <windows.h>

#include <new>

#include "toolkit/Text.h"

namespace tk {

ErrorInfo CurrentError() {
  try {
    throw;
  } catch (const RuntimeError& e) {
    return e.Info();
  } catch (const std::bad_alloc&) {
    return {kErrOutOfMemory, L"Out of memory"};
  } catch (const std::length_error&) {
    return {kErrOutOfMemory, L"Out of memory"};
  } catch (const std::out_of_range&) {
    return {kErrSubscript, L"Subscript out of range"};
  } catch (const std::exception& e) {
    return {kErrInvalidCall, FromUtf8(e.what())};
  } catch (...) {
    return {kErrInvalidCall, L"Unexpected error"};
  }
}

std::wstring SystemErrorText(unsigned long error) {
  wchar_t* buffer = nullptr;
  const DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = n && buffer ? std::wstring(buffer, n) : std::wstring();
  if (buffer) LocalFree(buffer);
  for (wchar_t& c : text)
    if (c == L'\r' || c == L'\n') c = L' ';
  while (!text.empty() && text.back() == L' ') text.pop_back();
  return text;
}

std::wstring MessageWithError(const std::wstring& intro, const ErrorInfo& err,
                              const std::wstring& label) {
  return intro + L"\r\n\r\nError Number: " + std::to_wstring(err.Number) + L"\r\n\r\n" + label +
         err.Description;
}

}  // namespace tk
