#pragma once
// A modal box that asks for one line of text, with a seam that tests use to answer it.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace tk {

struct InputBoxRequest {
  std::wstring Prompt;
  std::wstring Title;
  std::wstring Default;
  std::optional<POINT> Position;
};

// The text typed and confirmed with OK, or nothing when the box was cancelled. The box starts
// with `defaultAnswer` selected; `position` is its top-left corner on the screen in pixels
// (centred on the screen when there is none).
std::optional<std::wstring> ShowInputBox(HWND owner, const std::wstring& prompt,
                                         const std::wstring& title,
                                         const std::wstring& defaultAnswer = L"",
                                         std::optional<POINT> position = std::nullopt);

// Tests: every box goes to the seam instead of the screen. An empty function restores the screen.
using InputBoxSeam = std::function<std::optional<std::wstring>(const InputBoxRequest&)>;
void SetInputBoxSeam(InputBoxSeam seam);

}  // namespace tk
