#pragma once
// Test builds of the program only: the main window's state as text for the end-to-end run.
// A message-only window of the program answers a WM_COPYDATA request by sending the text back
// to the window that asked (its handle in wParam); nothing is written anywhere.
#include <windows.h>

#include <string>

namespace varnello {

class Master;
class VarnelloApp;

// The class of the report window, and dwData of the request and of the answer (UTF-16 text).
constexpr const wchar_t* kStateReportClass = L"VarnelloStateReport";
constexpr ULONG_PTR kDescribePanesRequest = 0x56524450;
constexpr ULONG_PTR kDescribePanesAnswer = 0x56524441;
// The per-user store's application name of the test build: its options never mix with the
// shipped program's, and the tests remove them after a run.
constexpr const wchar_t* kReportingStoreName = L"VarnelloReporting";

// One line per shown pane ("pane <i> <folder its listing shows>"), then "tree <path>",
// "list <path>" and "mark <path>" lines for the items its two lists show and mark, "match
// <path>" and "nomatch <path>" for its listing's compare marks, "column <list> <name>" for each
// column its lists show, and "row" and "button" lines with the screen places of its listing's
// rows and toolbar buttons; then
// "reading <list>" for each list whose read is on the stack, "active <list>", "clicked <list>"
// and a "title <pane>" line for each marked title; then
// "menu <left> <top> <right> <bottom> <caption>" for each entry of the menu bar and "item ..."
// likewise for each entry of a drop-down menu that is open (screen pixels); last "tip <text>"
// while the tip of the day is open.
std::wstring DescribePanes(const Master& master);

// The report window of a running program; it answers while `app` has a main window.
class StateReportWindow {
 public:
  explicit StateReportWindow(const VarnelloApp& app);
  ~StateReportWindow();
  StateReportWindow(const StateReportWindow&) = delete;
  StateReportWindow& operator=(const StateReportWindow&) = delete;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  const VarnelloApp& app_;
  HWND hwnd_ = nullptr;
};

}  // namespace varnello
