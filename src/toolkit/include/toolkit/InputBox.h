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
};

// The text typed and confirmed with OK, or nothing when the box was cancelled.
std::optional<std::wstring> ShowInputBox(HWND owner, const std::wstring& prompt,
                                         const std::wstring& title);

// Tests: every box goes to the seam instead of the screen. An empty function restores the screen.
using InputBoxSeam = std::function<std::optional<std::wstring>(const InputBoxRequest&)>;
void SetInputBoxSeam(InputBoxSeam seam);

}  // namespace tk
