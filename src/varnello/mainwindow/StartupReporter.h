#pragma once
// What the main window's start-up tells the splash: the phase it is in, and how it ended.
#include <string>

namespace varnello {

class StartupReporter {
 public:
  virtual ~StartupReporter() = default;
  // Writes the phase text into the status line and repaints it at once.
  virtual void SetStatus(const std::wstring& text) = 0;
  virtual std::wstring Status() const = 0;
  virtual void SetLoadedFlag() = 0;
  virtual void SetShutDown() = 0;
};

}  // namespace varnello
