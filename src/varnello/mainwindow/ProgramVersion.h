#pragma once
// The program's own version number and web site.
namespace varnello {
constexpr int kVersionMajor = 1;
constexpr int kVersionMinor = 0;
constexpr int kVersionRevision = 0;
constexpr const wchar_t kWebSiteAddress[] = L"https://www.varnello.example/";
}  // namespace varnello
