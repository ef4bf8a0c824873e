#pragma once
// A top-level window that hosts controls in tests, and a way to save what it shows.
#include <windows.h>

#include <string>

namespace testsupport {

class HostWindow {
 public:
  HostWindow(int width, int height, const wchar_t* title = L"Zenlo test host");
  ~HostWindow();
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;
  HWND Handle() const { return hwnd_; }

 private:
  HWND hwnd_ = nullptr;
};

// Pixels of a window as they are on the screen now, written as a 24-bit BMP file.
bool SaveWindowPicture(HWND hwnd, const std::wstring& path);

// A real pointer event at a screen point, for SendInput: a move there with `flags` added.
INPUT RealMouseAt(POINT screen, DWORD flags);

// Where tests put pictures for people to look at (build/screenshots), created on demand.
std::wstring ScreenshotPath(const std::wstring& name);

}  // namespace testsupport
