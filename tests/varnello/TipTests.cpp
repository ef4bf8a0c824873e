// The tip of the day: reading the tip file, the order the tips come in, the missing and empty
// file, the "Show Tips at Startup" box in the per-user store, and F1.
#include <gtest/gtest.h>

#include "MasterFixture.h"
#include "settings/UserStore.h"
#include "toolkit/EventLoop.h"

namespace {

using namespace varnello;

const std::wstring kStore = L"VarnelloTipTests" + std::to_wstring(GetCurrentProcessId());

TEST(ReadTips, OneTipALineAndNoEmptyTipFromTheLastLineEnd) {
  struct Case {
    const char* Name;
    std::string Bytes;
    std::vector<std::wstring> Tips;
  };
  const Case cases[] = {
      {"closing line end", "one\r\ntwo\r\n", {L"one", L"two"}},
      {"no closing line end", "one\r\ntwo", {L"one", L"two"}},
      {"an empty line is a tip", "one\r\n\r\ntwo\r\n", {L"one", L"", L"two"}},
      {"one empty line", "\r\n", {L""}},
      {"empty file", "", {}},
      {"line feeds only", "one\ntwo\n", {L"one", L"two"}},
      {"UTF-8 with its mark", "\xEF\xBB\xBF" "caf\xC3\xA9\r\n", {L"caf\u00E9"}},
      {"ANSI", "caf\xE9\r\n", {L"caf\u00E9"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(ReadTips(c.Bytes), c.Tips);
  }
}

class TipTest : public vtest::MasterTest {
 protected:
  ~TipTest() override { DeleteUserApplication(kStore); }
  std::unique_ptr<TipForm> Open(bool firstRun, bool skipCheck = false) {
    auto form = std::make_unique<TipForm>(
        TipForm::Setup{dir.Path(), kStore, firstRun, [this] { ++HelpOpened; }});
    form->SkipCheck = skipCheck;
    if (!form->Form_Load()) return nullptr;
    return form;
  }
  void ClickNext(TipForm& form) {
    SendMessageW(form.NextTipButton(), BM_CLICK, 0, 0);
    tk::PumpPendingMessages();
  }
  int HelpOpened = 0;
};

TEST_F(TipTest, AFirstRunStartsAtTheFirstTipAndNextTipGoesRound) {
  dir.Write(L"TIPOFDAY.TXT", "one\r\ntwo\r\nthree\r\n");
  auto form = Open(true);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->Tips().size(), 3u);
  std::vector<std::wstring> seen{form->TipText()};
  for (int i = 0; i < 4; ++i) {
    ClickNext(*form);
    seen.push_back(form->TipText());
  }
  EXPECT_EQ(seen, (std::vector<std::wstring>{L"one", L"two", L"three", L"one", L"two"}));
}

TEST_F(TipTest, TheTipsShownForEachFile) {
  struct Case {
    const char* Name;
    std::optional<std::string> File;  // none: no file
    bool FirstRun;
    std::wstring First, AfterNext;
  };
  const std::wstring howTo =
      L"That the TIPOFDAY.TXT file was not found? \r\n\r\nCreate a text file named TIPOFDAY.TXT "
      L"using NotePad with 1 tip per line. Then place it in the same directory as the "
      L"application. ";
  const Case cases[] = {
      {"one tip, first run", "only\r\n", true, L"only", L"only"},
      {"one tip, a later run", "only\r\n", false, L"only", L"only"},
      {"missing file", std::nullopt, true, howTo, howTo},
      {"empty file", "", true, L"", L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    DeleteFileW(dir.File(L"TIPOFDAY.TXT").c_str());
    if (c.File) dir.Write(L"TIPOFDAY.TXT", *c.File);
    auto form = Open(c.FirstRun);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->TipText(), c.First);
    ClickNext(*form);
    EXPECT_EQ(form->TipText(), c.AfterNext);
  }
}

TEST_F(TipTest, TheCheckBoxKeepsTheChoiceInTheUserStore) {
  dir.Write(L"TIPOFDAY.TXT", "one\r\n");
  auto form = Open(true);
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(form->ShowAtStartupChecked());  // nothing stored yet: on
  for (const wchar_t* want : {L"0", L"1", L"0"}) {
    SendMessageW(form->CheckBox(), BM_CLICK, 0, 0);
    EXPECT_EQ(ReadUserValue(kStore, L"Options", L"Show Tips at Startup"), std::wstring(want));
  }
  form.reset();
  // Off: the start-up tip unloads itself; the menu's still shows, with the box clear.
  EXPECT_EQ(Open(false), nullptr);
  form = Open(false, true);
  ASSERT_NE(form, nullptr);
  EXPECT_FALSE(form->ShowAtStartupChecked());
  EXPECT_EQ(form->TipText(), L"one");
}

TEST_F(TipTest, F1OnTheFormOrItsButtonsOpensTheHelp) {
  dir.Write(L"TIPOFDAY.TXT", "one\r\n");
  auto form = Open(true);
  ASSERT_NE(form, nullptr);
  for (HWND w : {form->Handle(), form->OkButton(), form->NextTipButton()})
    SendMessageW(w, WM_KEYDOWN, VK_F1, 0);
  EXPECT_EQ(HelpOpened, 3);
  // Esc on a button is OK: the form goes.
  SendMessageW(form->NextTipButton(), WM_KEYDOWN, VK_ESCAPE, 0);
  tk::PumpPendingMessages();
  EXPECT_EQ(form->Handle(), nullptr);
}

TEST_F(TipTest, TheMainWindowShowsTheShippedTips) {
  master->UserStoreName = kStore;
  master->Options.FirstRun = true;
  master->ShowTip();
  TipForm* tip = master->Tip();
  ASSERT_NE(tip, nullptr);
  ASSERT_GE(tip->Tips().size(), 3u);
  for (const auto& t : tip->Tips()) EXPECT_FALSE(t.empty());
  EXPECT_EQ(tip->TipText(), tip->Tips()[0]);
  // F1 in the tip opens the program's help.
  SendMessageW(tip->NextTipButton(), WM_KEYDOWN, VK_F1, 0);
  EXPECT_NE(master->Help(), nullptr);
}

}  // namespace
