#pragma once
// The program's own modal message box: a picture, the text and one of three button sets.
// Every call gets a box of its own, so a message raised while another box is open is answered
// in its own box.
#include <windows.h>

#include <array>
#include <functional>
#include <string>

#include "toolkit/Gdi.h"
#include "toolkit/Window.h"

namespace varnello {

class MessageBoxForm final : public tk::Window {
 public:
  MessageBoxForm() = default;
  ~MessageBoxForm() override;

  // Shows the box centred on `owner` (disabled meanwhile) and returns the upper-cased caption of
  // the pressed button, or the empty string when the box was closed without one.
  std::wstring ShowModal(HWND owner, const std::wstring& text, long buttons);

  // c1 (rightmost) to c4, as the user sees them.
  std::wstring ButtonCaption(int n) const;
  bool ButtonVisible(int n) const;
  std::wstring Text() const;
  // Presses button cN, or closes the box without a button.
  void Press(int n);
  void CloseWithoutAnswer();

  // Tests: called once each box is up, from inside its modal loop.
  static void SetShownHook(std::function<void(MessageBoxForm&)> hook);

  static constexpr int kClientWidthTwips = 7665;
  static constexpr int kClientHeightTwips = 2325;

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void CreateChildren();
  void SetButtons(long buttons);
  void Finish(std::wstring answer);
  void OnPaint();

  std::array<HWND, 4> buttons_{};  // c1..c4
  HWND text_ = nullptr;
  tk::Font font_;
  tk::Brush white_;
  bool done_ = false;
  std::wstring answer_;
};

// Button sets: 1 Yes/No, 2 Yes/No/Cancel, anything else OK.
struct ButtonSet {
  std::array<std::wstring, 4> Captions;  // c1..c4; empty = hidden
};
ButtonSet ButtonsFor(long buttons);

// The message with the system's error appended after a blank line.
std::wstring WithErrorSuffix(const std::wstring& text, long errNum, const std::wstring& errDes);

}  // namespace varnello
