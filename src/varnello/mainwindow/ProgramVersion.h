#pragma once
// The program's own version number.
namespace varnello {
constexpr int kVersionMajor = 1;
constexpr int kVersionMinor = 0;
constexpr int kVersionRevision = 0;
}  // namespace varnello
