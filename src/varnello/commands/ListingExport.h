#pragma once
// Export File Listing: the clicked pane's listing written as comma-separated text to a file
// chosen in the system's Save dialog.
#include <windows.h>

#include <functional>
#include <string>

namespace varnello {

class Master;

class ListingExport {
 public:
  explicit ListingExport(Master& master) : m_(master) {}
  void Run();

  // "FileListing" followed by the time as yy-mm-dd-hhmmss (24-hour clock) and ".csv".
  static std::wstring ProposedName(const SYSTEMTIME& now);
  // The folder part of a file path ("C:\a\b.csv" -> "C:\a", "C:\b.csv" -> "C:\").
  static std::wstring FolderOf(const std::wstring& path);
  // Tests: called with the Save dialog once it is up, from inside its modal loop.
  static void SetShownHook(std::function<void(HWND dialog)> hook);

 private:
  void Export();
  static UINT_PTR CALLBACK DialogHook(HWND child, UINT msg, WPARAM wParam, LPARAM lParam);
  Master& m_;
};

}  // namespace varnello
