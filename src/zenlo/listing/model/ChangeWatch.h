#pragma once
// One change notification on one folder (no sub-folders), polled by the control's timer.
#include <windows.h>

#include <string>

#include "toolkit/Timer.h"

namespace zenlo {

class ChangeWatch {
 public:
  ChangeWatch() = default;
  ~ChangeWatch() { Close(); }
  ChangeWatch(const ChangeWatch&) = delete;
  ChangeWatch& operator=(const ChangeWatch&) = delete;

  // Closes any open notification and opens one on folder (none for an empty folder). A folder
  // that cannot be watched leaves no notification, so polls never report a change.
  void Open(const std::wstring& folder, DWORD filter);
  void Close();
  // True when the folder changed since the notification was opened; never waits.
  bool Signalled() const;
  bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }

  // The poll timer: interval 0 stopped, 10 ms first poll after a (re)start, 2000 ms steady.
  tk::Timer Timer1;

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

constexpr unsigned kFirstPollMs = 10;
constexpr unsigned kSteadyPollMs = 2000;

}  // namespace zenlo
