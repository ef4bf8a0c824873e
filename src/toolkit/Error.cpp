#include "toolkit/Error.h"

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

std::wstring MessageWithError(const std::wstring& intro, const ErrorInfo& err,
                              const std::wstring& label) {
  return intro + L"\r\n\r\nError Number: " + std::to_wstring(err.Number) + L"\r\n\r\n" + label +
         err.Description;
}

}  // namespace tk
