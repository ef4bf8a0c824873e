#pragma once
// What the e2e tests do and see as a user at the desktop: real input through SendInput and the
// on-screen places of the program's lists.
#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// The toolbars of the lists in `main` as screen rectangles, left to right and top to bottom:
// with the panes stacked, the trees' come first (the main window's own is left out).
std::vector<RECT> ListToolbars(HWND main);

// The screen rectangle of a state report line "<tag> left top right bottom <name>" whose name
// starts with `name`.
bool ReportRect(const std::vector<std::wstring>& report, const std::wstring& tag,
                const std::wstring& name, RECT& r);

// The first visible window of class `className` of this process; null after `timeoutMs`.
HWND WaitForShownWindow(const wchar_t* className, DWORD timeoutMs);

void RealLeftClick(int x, int y);
void RealRightClick(int x, int y);
void RealKey(WORD key);
// The key pressed while `modifier` (VK_SHIFT, VK_CONTROL) is held.
void RealKeyWith(WORD modifier, WORD key);
// Types the text as the keyboard would, character by character.
void RealText(const std::wstring& text);
// Presses the left button at `from`, moves to `to` in steps and releases it there; with
// `holdShift` Shift goes down once the drag has started and up after the release.
void RealDrag(POINT from, POINT to, bool holdShift);
// Positive notches roll away from the user.
void RealWheel(int notches);

}  // namespace e2e
