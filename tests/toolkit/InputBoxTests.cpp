// The real input box and pop-up menu on the screen, answered from a second thread.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <optional>
#include <string>
#include <thread>

#include "DesktopInput.h"
#include "toolkit/InputBox.h"
#include "toolkit/PopupMenu.h"

namespace {

// Waits for the box titled `title` in this process, types `text` and presses `button`.
void AnswerBox(const std::wstring& title, const std::wstring& text, int button) {
  HWND box = nullptr;
  for (int i = 0; i < 2400 && !box; ++i) {
    box = FindWindowW(L"#32770", title.c_str());
    if (!box) Sleep(25);
  }
  if (!box) return;
  SetWindowTextW(GetDlgItem(box, 101), text.c_str());
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
}

// The pop-up menu window of this process once it is shown; null when none came.
HWND ShownMenu() { return e2e::WaitForShownWindow(L"#32768", 60000); }

// Keys for the menu, sent to the menu itself so that no other window's focus gets in the way.
void PressKeys(HWND owner, std::initializer_list<WORD> keys) {
  HWND menu = ShownMenu();
  if (!menu) {
    PostMessageW(owner, WM_CANCELMODE, 0, 0);
    return;
  }
  for (WORD key : keys) {
    PostMessageW(menu, WM_KEYDOWN, key, 0);
    PostMessageW(menu, WM_KEYUP, key, 0xC0000000);
    Sleep(30);
  }
}

}  // namespace

TEST(InputBox, GivesTheTextOnOkAndNothingOnCancel) {
  struct Case {
    const wchar_t* typed;
    int button;
    std::optional<std::wstring> expected;
  };
  const Case cases[] = {{L"z", IDOK, L"z"}, {L"", IDOK, L""}, {L"z", IDCANCEL, std::nullopt}};
  for (const Case& k : cases) {
    std::thread user(AnswerBox, L"Select Folder...", k.typed, k.button);
    const auto answer = tk::ShowInputBox(nullptr, L"Which drive?", L"Select Folder...");
    user.join();
    EXPECT_EQ(answer, k.expected);
  }
}

TEST(PopupMenu, ReturnsTheItemChosenWithTheKeyboard) {
  HWND owner = CreateWindowExW(0, L"STATIC", L"menu owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50,
                               50, 300, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(owner, nullptr);
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, 200, L"Details");
  AppendMenuW(menu, MF_STRING, 201, L"List");
  struct Case {
    std::initializer_list<WORD> keys;
    UINT expected;
  };
  const Case cases[] = {{{VK_DOWN, VK_DOWN, VK_RETURN}, 201}, {{VK_ESCAPE}, 0}};
  for (const Case& k : cases) {
    std::thread user([&] { PressKeys(owner, k.keys); });
    const UINT chosen = tk::TrackPopup(menu, owner, POINT{100, 100});
    user.join();
    EXPECT_EQ(chosen, k.expected);
  }
  DestroyMenu(menu);
  DestroyWindow(owner);
}
