// The program's message box: button sets, answers, the error suffix, its owner and nesting.
#include <gtest/gtest.h>

#include "MasterFixture.h"

namespace {

using vtest::BoxAnswers;
using vtest::MasterTest;

TEST_F(MasterTest, ButtonSetsAndTheirAnswers) {
  struct Case {
    long set;
    std::vector<std::wstring> buttons;  // left to right
  } cases[] = {{0, {L"OK"}},
               {3, {L"OK"}},
               {-1, {L"OK"}},
               {1, {L"Yes", L"No"}},
               {2, {L"Yes", L"No", L"Cancel"}}};
  for (const Case& c : cases) {
    // Press each button in turn (1 = rightmost); the answer is its caption in capitals.
    for (int n = 1; n <= static_cast<int>(c.buttons.size()); ++n) {
      SCOPED_TRACE(testing::Message() << "set " << c.set << " button " << n);
      BoxAnswers boxes({BoxAnswers::Press(n)});
      std::wstring text = L"Question?";
      master->Message(text, c.set, L"");
      ASSERT_EQ(boxes.Seen.size(), 1u);
      EXPECT_EQ(boxes.Seen[0].Buttons, c.buttons);
      std::wstring want = c.buttons[c.buttons.size() - static_cast<size_t>(n)];
      for (auto& ch : want) ch = static_cast<wchar_t>(towupper(ch));
      EXPECT_EQ(master->MsgBoxAnswer, want);
    }
  }
}

TEST_F(MasterTest, ClosingWithoutAButtonLeavesNoAnswer) {
  master->MsgBoxAnswer = L"YES";
  BoxAnswers boxes({BoxAnswers::Close()});
  std::wstring text = L"Really?";
  master->Message(text, 1, L"");
  EXPECT_EQ(master->MsgBoxAnswer, L"");
}

TEST_F(MasterTest, TheRightmostButtonHasTheFocus) {
  BoxAnswers boxes({[](varnello::MessageBoxForm& box) {
    // Enter on a freshly opened box presses the focused button.
    SendMessageW(box.Handle(), WM_COMMAND, IDOK, 0);
  }});
  std::wstring text = L"Delete?";
  master->Message(text, 2, L"");
  EXPECT_EQ(master->MsgBoxAnswer, L"CANCEL");
}

TEST_F(MasterTest, ErrorSuffixOnlyWithAnErrorNumber) {
  BoxAnswers boxes({BoxAnswers::Press(1), BoxAnswers::Press(1)});
  std::wstring text = L"An error occurred while pasting the items.";
  master->Message(text, 0, L"", 53, L"File not found");
  const std::wstring want =
      L"An error occurred while pasting the items.\r\n\r\nThe system also returned the following "
      L"error information:\r\n\r\n53 - File not found";
  EXPECT_EQ(text, want);  // the caller's text carries it too
  std::wstring plain = L"Nothing to add.";
  master->Message(plain, 0, L"", std::nullopt, L"ignored without a number");
  ASSERT_EQ(boxes.Seen.size(), 2u);
  EXPECT_EQ(boxes.Seen[0].Text, want);
  EXPECT_EQ(boxes.Seen[1].Text, L"Nothing to add.");
}

TEST_F(MasterTest, TheBoxIsCentredOnItsOwner) {
  // A small form far from the main window; the box sticks out on both sides of it.
  HWND form = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 100, 120, 200, 80, nullptr,
                              nullptr, nullptr, nullptr);
  master->RegisterForm(L"frmSkinChooser", form);
  auto centre = [](const RECT& r) {
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  };
  RECT main{};
  GetWindowRect(master->Handle(), &main);
  struct Case {
    const wchar_t* owner;
    RECT on;
  } cases[] = {{L"FRMSKINCHOOSER", {100, 120, 300, 200}},
               {L"frmSkinChooser", {100, 120, 300, 200}},
               {L"", main},
               {L"frmNoSuchForm", main}};  // no such form: the main window
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::string(c.owner, c.owner + wcslen(c.owner)));
    BoxAnswers boxes({BoxAnswers::Press(1)});
    std::wstring text = L"Saved.";
    master->Message(text, 0, c.owner);
    ASSERT_EQ(boxes.Seen.size(), 1u);
    const POINT got = centre(boxes.Seen[0].Bounds), want = centre(c.on);
    EXPECT_LE(std::abs(got.x - want.x), 1);
    EXPECT_LE(std::abs(got.y - want.y), 1);
  }
  DestroyWindow(form);
}

TEST_F(MasterTest, AMessageRaisedWhileABoxIsOpenGetsItsOwnBox) {
  std::wstring innerAnswer;
  BoxAnswers boxes({
      [&](varnello::MessageBoxForm& outer) {
        // A list reports an error while the question is open.
        std::wstring text = L"The folder contents changed.";
        master->Message(text, 1, L"");
        innerAnswer = master->MsgBoxAnswer;
        EXPECT_TRUE(IsWindowVisible(outer.Handle()));
        outer.Press(2);  // "Yes" to the outer question
      },
      BoxAnswers::Press(1),  // "No" to the inner one
  });
  std::wstring question = L"Replace the file?";
  master->Message(question, 1, L"");
  ASSERT_EQ(boxes.Seen.size(), 2u);
  EXPECT_EQ(boxes.Seen[0].Text, L"Replace the file?");
  EXPECT_EQ(boxes.Seen[1].Text, L"The folder contents changed.");
  EXPECT_EQ(innerAnswer, L"NO");
  EXPECT_EQ(master->MsgBoxAnswer, L"YES");
}

}  // namespace
