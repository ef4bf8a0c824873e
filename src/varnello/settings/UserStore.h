#pragma once
// The per-user store of small named values, kept by application and section in the user's part
// of the registry (HKEY_CURRENT_USER\Software\<application>\<section>).
#include <optional>
#include <string>

namespace varnello {

std::optional<std::wstring> ReadUserValue(const std::wstring& application,
                                          const std::wstring& section, const std::wstring& name);
bool WriteUserValue(const std::wstring& application, const std::wstring& section,
                    const std::wstring& name, const std::wstring& value);
// A whole number; `fallback` when the value is missing or not a number.
long ReadUserNumber(const std::wstring& application, const std::wstring& section,
                    const std::wstring& name, long fallback);
// Removes everything the application stored.
void DeleteUserApplication(const std::wstring& application);

}  // namespace varnello
