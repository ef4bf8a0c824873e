// The real input box and pop-up menu on the screen, answered by a second thread as a user would.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <optional>
#include <string>
#include <thread>

#include "toolkit/InputBox.h"
#include "toolkit/PopupMenu.h"

namespace {

// Waits for the box titled `title` in this process, types `text` and presses `button`.
void AnswerBox(const std::wstring& title, const std::wstring& text, int button) {
  HWND box = nullptr;
  for (int i = 0; i < 200 && !box; ++i) {
    box = FindWindowW(L"#32770", title.c_str());
    if (!box) Sleep(25);
  }
  if (!box) return;
  SetWindowTextW(GetDlgItem(box, 101), text.c_str());
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
}

void PressKeys(std::initializer_list<WORD> keys) {
  for (WORD key : keys) {
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = key;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
    Sleep(50);
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
    std::thread user([&] {
      Sleep(400);
      PressKeys(k.keys);
    });
    const UINT chosen = tk::TrackPopup(menu, owner, POINT{100, 100});
    user.join();
    EXPECT_EQ(chosen, k.expected);
  }
  DestroyMenu(menu);
  DestroyWindow(owner);
}
