// The options dialog on a started main window with recording lists: what each box, the limit
// and the buttons leave in the options and send to which lists.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>

#include "DesktopInput.h"
#include "MasterFixture.h"
#include "commands/MainMenu.h"
#include "settings/FileCountLimit.h"
#include "settings/OptionsForm.h"
#include "support/HostWindow.h"
#include "toolkit/EventLoop.h"
#include "toolkit/Text.h"

namespace {

using vtest::MasterTest;

class OptionsTest : public MasterTest {
 protected:
  void SetUp() override {
    StartUp();
    Open();
  }
  void Open() {
    master->ShowOptions();
    options = master->OptionsDialog();
    ASSERT_NE(options, nullptr);
  }
  // The loaded panes' tree and listing indexes.
  std::vector<short> Trees() const {
    std::vector<short> out;
    for (short i = 0; i < varnello::kPaneCount; ++i)
      if (master->Panes[i].Loaded) out.push_back(i);
    return out;
  }
  const zenlo::Variant* Sent(short list, const wchar_t* name) {
    const auto& p = lists[list].Properties;
    const auto at = p.find(name);
    return at == p.end() ? nullptr : &at->second;
  }
  void CloseBox() {
    SendMessageW(options->Handle(), WM_CLOSE, 0, 0);
    tk::PumpPendingMessages();
  }
  varnello::frmOptions* options = nullptr;
};

TEST_F(OptionsTest, OpensOnTheGeneralPageFromTheOptionsAndOnlyOnce) {
  EXPECT_EQ(options->CurrentPage(), 1);
  EXPECT_EQ(options->lblGeneral.ForeColor(), varnello::frmOptions::kSelectedColor);
  EXPECT_TRUE(options->chk[0].Value());   // file icons on by default
  EXPECT_FALSE(options->chk[1].Value());
  EXPECT_FALSE(options->chk[2].Value());  // folder icons off
  EXPECT_TRUE(options->chk[3].Value());
  EXPECT_TRUE(options->optMin[0].Value());
  EXPECT_FALSE(options->optMin[1].Value());
  EXPECT_EQ(options->txtNumColor.Text(), L"50");
  EXPECT_TRUE(IsWindowEnabled(master->Handle()));
  // Outer size as given, inside the work area of the main window's monitor.
  RECT r{};
  GetWindowRect(options->Handle(), &r);
  EXPECT_EQ(r.right - r.left, tk::TwipsToPixels(6360, tk::TwipsPerPixelX()));
  EXPECT_EQ(r.bottom - r.top, tk::TwipsToPixels(6870, tk::TwipsPerPixelY()));
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoW(MonitorFromWindow(master->Handle(), MONITOR_DEFAULTTONEAREST), &info);
  EXPECT_GE(r.left, info.rcWork.left);
  EXPECT_GE(r.top, info.rcWork.top);
  EXPECT_LE(r.right, info.rcWork.right);
  EXPECT_LE(r.bottom, info.rcWork.bottom);

  // The menu entry works and brings the same dialog forward.
  const HWND first = options->Handle();
  SendMessageW(master->Handle(), WM_COMMAND, varnello::mnuOptions, 0);
  EXPECT_EQ(master->OptionsDialog(), options);
  EXPECT_EQ(options->Handle(), first);
}

TEST_F(OptionsTest, TabLabelsSwapThePagesAndHoverOnlyOverTheOtherPage) {
  auto visibleX = [&](tk::Window& w) { return tk::RectInParent(w.Handle()).left; };
  RECT client{};
  GetClientRect(options->Handle(), &client);
  EXPECT_LT(visibleX(options->chkNotifyFold), client.right);
  EXPECT_GE(visibleX(options->chk[0]), client.right);

  options->lblGeneral_MouseMove();
  EXPECT_EQ(options->lblGeneral.ForeColor(), varnello::frmOptions::kSelectedColor);
  options->lblSpeed_MouseMove();
  EXPECT_EQ(options->lblSpeed.ForeColor(), varnello::frmOptions::kHoverColor);
  options->Frame1_MouseMove();
  EXPECT_EQ(options->lblSpeed.ForeColor(), varnello::frmOptions::kNormalColor);

  options->lblSpeed_Click();
  EXPECT_EQ(options->CurrentPage(), 2);
  EXPECT_LT(visibleX(options->chk[0]), client.right);
  EXPECT_GE(visibleX(options->chkNotifyFold), client.right);
  EXPECT_EQ(options->lblSpeed.ForeColor(), varnello::frmOptions::kSelectedColor);
  EXPECT_EQ(options->lblGeneral.ForeColor(), varnello::frmOptions::kNormalColor);
  const RECT before = tk::RectInParent(options->chk[0].Handle());
  options->lblSpeed_Click();
  EXPECT_TRUE(tk::SameRect(before, tk::RectInParent(options->chk[0].Handle())));
}

TEST_F(OptionsTest, ApplyReadsTheLimitStrictlyAndSendsTrackingToListingsOnly) {
  struct Case {
    const wchar_t* typed;
    std::int32_t limit;
    const wchar_t* shown;
  };
  const Case cases[] = {
      {L"", 50, L"50"},
      {L"abc", 50, L"50"},
      {L"-1", 50, L"50"},
      {L"0", 0, L"0"},
      {L"12.5", 12, L"12.5"},
      {L"13.5", 14, L"13.5"},
      {L"2147483647", 2147483647, L"2147483647"},
      {L"2147483648", 50, L"50"},
      {L"1e3", 50, L"50"},
      {L"&H10", 50, L"50"},
      {L"1,5", 50, L"50"},
  };
  bool track = false;
  for (const Case& c : cases) {
    SCOPED_TRACE(tk::ToUtf8(c.typed));
    // Start every case from another limit so a missing send shows.
    master->SendProperty(L"FileCountMax", std::int32_t{777});
    track = !track;
    options->chkNotifyFile.SetValue(track);
    options->chkNotifyFold.SetValue(!track);
    options->txtNumColor.SetText(c.typed);
    options->Apply();
    EXPECT_EQ(master->Options.FileCountMax, c.limit);
    EXPECT_EQ(options->txtNumColor.Text(), c.shown);
    EXPECT_EQ(master->Options.TrackFileChanges, track);
    EXPECT_EQ(master->Options.TrackFoldChanges, !track);
    for (short tree : Trees()) {
      const short listing = static_cast<short>(tree + 100);
      ASSERT_NE(Sent(listing, L"FileCountMax"), nullptr);
      EXPECT_EQ(*Sent(listing, L"FileCountMax"), zenlo::Variant(c.limit));
      EXPECT_EQ(*Sent(tree, L"FileCountMax"), zenlo::Variant(c.limit));
      EXPECT_EQ(*Sent(listing, L"TrackFileChanges"), zenlo::Variant(track));
      EXPECT_EQ(*Sent(tree, L"TrackFileChanges"), zenlo::Variant(false));
      EXPECT_EQ(*Sent(tree, L"TrackFoldChanges"), zenlo::Variant(!track));
      EXPECT_EQ(*Sent(listing, L"TrackFoldChanges"), zenlo::Variant(!track));
    }
  }
}

TEST_F(OptionsTest, SpeedBoxesKeepOneTickPerPairAndActAtTheClick) {
  struct Case {
    std::vector<int> clicks;
    bool fileIcons, folderIcons, colour;
  };
  // Defaults: file icons on, folder icons off, colour coding off.
  const Case cases[] = {
      {{1}, false, false, false},        // "No" of a row that was on
      {{0}, false, false, false},        // clearing the ticked "Yes" ticks "No"
      {{1, 1}, true, false, false},      // and clicking "No" again switches it back
      {{3}, true, true, false},          // the ticked "No" clears and "Yes" takes over
      {{2, 2}, true, false, false},
      {{4}, true, false, true},
      {{4, 5, 3, 0}, false, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.clicks));
    master->Options.ShowFileIcons = true;
    master->Options.ShowFolderIcons = false;
    master->ShowColor(false);
    options->Close();
    tk::PumpPendingMessages();
    Open();
    lists.Log.Calls.clear();
    for (int box : c.clicks) options->chk[static_cast<std::size_t>(box)].Press();
    for (std::size_t pair = 0; pair < 3; ++pair)
      EXPECT_NE(options->chk[pair * 2].Value(), options->chk[pair * 2 + 1].Value()) << pair;
    EXPECT_EQ(options->chk[0].Value(), c.fileIcons);
    EXPECT_EQ(options->chk[2].Value(), c.folderIcons);
    EXPECT_EQ(options->chk[4].Value(), c.colour);
    EXPECT_EQ(master->Options.ShowFileIcons, c.fileIcons);
    EXPECT_EQ(master->Options.ShowFolderIcons, c.folderIcons);
    EXPECT_EQ(master->Options.ColorCodingOn, c.colour);
    EXPECT_EQ(master->ColorMenuOn(), c.colour);
    for (short tree : Trees()) {
      for (short list : {tree, static_cast<short>(tree + 100)}) {
        EXPECT_EQ(*Sent(list, L"ShowFileIcons"), zenlo::Variant(c.fileIcons));
        EXPECT_EQ(*Sent(list, L"ShowFolderIcons"), zenlo::Variant(c.folderIcons));
        EXPECT_EQ(*Sent(list, L"ShowColor"), zenlo::Variant(c.colour));
        // Each click sends both icon options once.
        const auto calls = lists.Log.For(list);
        EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                                [](const std::wstring& s) {
                                  return s.rfind(L"ApplyProperty(ShowFileIcons,", 0) == 0;
                                }),
                  static_cast<std::ptrdiff_t>(c.clicks.size()));
      }
    }
  }
}

TEST_F(OptionsTest, FollowsColourCodingSwitchedOnTheMenuWithoutActing) {
  lists.Log.Calls.clear();
  SendMessageW(master->Handle(), WM_COMMAND, varnello::mnuColorOn, 0);
  EXPECT_TRUE(options->chk[4].Value());
  EXPECT_FALSE(options->chk[5].Value());
  EXPECT_FALSE(lists.Log.Has(L"0:ApplyProperty(ShowFileIcons,1)"));
  SendMessageW(master->Handle(), WM_COMMAND, varnello::mnuColorOff, 0);
  EXPECT_FALSE(options->chk[4].Value());
  EXPECT_TRUE(options->chk[5].Value());
}

TEST_F(OptionsTest, CloseBoxDropsTheApplyTimeOptionsWhileApplyAndOkKeepThem) {
  enum class Way { CloseBox, ApplyThenCloseBox, Ok };
  for (Way way : {Way::CloseBox, Way::ApplyThenCloseBox, Way::Ok}) {
    SCOPED_TRACE(static_cast<int>(way));
    master->Options = varnello::ProgramOptions{};
    master->ShowColor(false);
    if (!master->OptionsDialog()) Open();
    options = master->OptionsDialog();
    options->Close();
    tk::PumpPendingMessages();
    Open();
    options->chkNotifyFold.Press();
    options->chkNotifyFile.Press();
    options->chkChime.Press();
    options->chkDefaultMoveOrCopy.Press();
    options->txtNumColor.SetText(L"75");
    options->optMin[1].SetValue(true);
    options->optMin_Click(1);
    options->chk[1].Press();
    if (way == Way::ApplyThenCloseBox) options->cmdApply.Press();
    if (way == Way::Ok) {
      options->cmdOK.Press();
      tk::PumpPendingMessages();
    } else {
      CloseBox();
    }
    EXPECT_EQ(master->OptionsDialog(), nullptr);
    const bool applied = way != Way::CloseBox;
    const varnello::ProgramOptions& o = master->Options;
    EXPECT_EQ(o.TrackFoldChanges, applied);
    EXPECT_EQ(o.TrackFileChanges, applied);
    EXPECT_EQ(o.TrackChime, applied);
    EXPECT_EQ(o.DefaultActionMove, applied);
    EXPECT_EQ(o.FileCountMax, applied ? 75 : 50);
    // Taken over at the click whatever the way out.
    EXPECT_FALSE(o.MinimizeToTaskBar);
    EXPECT_FALSE(o.ShowFileIcons);
    // Never pushed to the panes.
    EXPECT_EQ(Sent(100, L"DefaultActionMove"), nullptr);
    Open();
  }
}

TEST_F(OptionsTest, ClosingTheMainWindowClosesTheDialogUnapplied) {
  options->chkChime.Press();
  master->Form_Unload();
  EXPECT_EQ(master->OptionsDialog(), nullptr);
  EXPECT_FALSE(master->Options.TrackChime);
}

TEST_F(OptionsTest, ChosenValuesSurviveARestart) {
  options->chkNotifyFile.Press();
  options->chkChime.Press();
  options->chkDefaultMoveOrCopy.Press();
  options->chk[3].Press();  // folder icons on
  options->chk[4].Press();  // colour coding on
  options->optMin[1].SetValue(true);
  options->optMin_Click(1);
  options->txtNumColor.SetText(L"250");
  options->cmdOK_Click();
  tk::PumpPendingMessages();
  master->Form_Unload();
  const std::string bytes = tk::ReadFileBytes(dir.File(L"user.usr")).value_or("");
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < bytes.size();) {
    std::size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) end = bytes.size();
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  ASSERT_GE(lines.size(), 17u);
  const std::vector<std::string> rows(lines.begin() + 8, lines.begin() + 17);
  EXPECT_EQ(rows, (std::vector<std::string>{
                      "\"ShowColor\",#TRUE#,0,0,0,0",
                      "\"ShowFileIcons\",#TRUE#,0,0,0,0",
                      "\"ShowFolderIcons\",#TRUE#,0,0,0,0",
                      "\"FileCountMax\",250,0,0,0,0",
                      "\"MinimizeToTaskBar\",#FALSE#,0,0,0,0",
                      "\"TrackFoldChanges\",#FALSE#,0,0,0,0",
                      "\"TrackFileChanges\",#TRUE#,0,0,0,0",
                      "\"TrackChime\",#TRUE#,0,0,0,0",
                      "\"DefaultActionMove\",#TRUE#,0,0,0,0",
                  }));

  master.reset();
  DeleteFileW(dir.File(L"run.txt").c_str());
  lists.Lists.clear();
  lists.Log.Calls.clear();
  reporter = vtest::Reporter{};
  master = std::make_unique<varnello::Master>(dir.Path(), lists);
  StartUp();
  Open();
  EXPECT_TRUE(options->chk[0].Value());
  EXPECT_TRUE(options->chk[2].Value());
  EXPECT_TRUE(options->chk[4].Value());
  EXPECT_EQ(options->txtNumColor.Text(), L"250");
  EXPECT_TRUE(options->optMin[1].Value());
  EXPECT_FALSE(options->optMin[0].Value());
  EXPECT_FALSE(options->chkNotifyFold.Value());
  EXPECT_TRUE(options->chkNotifyFile.Value());
  EXPECT_TRUE(options->chkChime.Value());
  EXPECT_TRUE(options->chkDefaultMoveOrCopy.Value());
}

// Pumps this thread's messages until `done` holds; false after `timeoutMs`.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000) {
  const DWORD start = GetTickCount();
  for (;;) {
    tk::PumpPendingMessages();
    if (done()) return true;
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(20);
  }
}

void ClickOn(const tk::Window& control, int fromLeft = -1) {
  RECT r{};
  GetWindowRect(control.Handle(), &r);
  e2e::RealLeftClick(fromLeft < 0 ? (r.left + r.right) / 2 : r.left + fromLeft,
                     (r.top + r.bottom) / 2);
}

struct RecordingTray final : varnello::TrayIcon {
  std::vector<std::wstring> Calls;
  long ShellTrayAdd() override { return Calls.push_back(L"add"), 1; }
  void ShellTrayDelete() override { Calls.push_back(L"delete"); }
  void HookWindow(HWND) override { Calls.push_back(L"hook"); }
  void UnhookWindow() override { Calls.push_back(L"unhook"); }
};

TEST_F(OptionsTest, RealClicksAndKeysOnBothPagesThenTheTrayOnMinimise) {
  options->Close();
  tk::PumpPendingMessages();
  RecordingTray tray;
  master->SetTray(&tray);
  master->Show();
  tk::PumpPendingMessages();
  Open();
  ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == options->Handle(); }));
  EXPECT_TRUE(testsupport::SaveWindowPicture(options->Handle(),
                                             testsupport::ScreenshotPath(L"options-general.bmp")));

  // The box of a check box or option button is at its left end.
  ClickOn(options->optMin[1], 7);
  ASSERT_TRUE(PumpUntil([&] { return !master->Options.MinimizeToTaskBar; }));
  ClickOn(options->chkNotifyFile, 7);
  ClickOn(options->chkChime, 7);
  ASSERT_TRUE(PumpUntil([&] { return options->chkChime.Value(); }));
  EXPECT_TRUE(options->chkNotifyFile.Value());
  EXPECT_FALSE(master->Options.TrackFileChanges);  // not before Apply

  ClickOn(options->lblSpeed, 10);
  ASSERT_TRUE(PumpUntil([&] { return options->CurrentPage() == 2; }));
  ClickOn(options->chk[3], 7);  // folder icons: the ticked "No" hands over to "Yes"
  ASSERT_TRUE(PumpUntil([&] { return master->Options.ShowFolderIcons; }));
  EXPECT_FALSE(options->chk[3].Value());
  ClickOn(options->chk[4], 7);
  ASSERT_TRUE(PumpUntil([&] { return master->Options.ColorCodingOn; }));
  // The space bar on the focused "Yes" box clears it, and its "No" box takes the tick.
  e2e::RealKey(VK_SPACE);
  ASSERT_TRUE(PumpUntil([&] { return !master->Options.ColorCodingOn; }));
  EXPECT_TRUE(options->chk[5].Value());
  EXPECT_FALSE(options->chk[4].Value());

  RECT box{};
  GetWindowRect(options->txtNumColor.Handle(), &box);
  e2e::RealLeftClick(box.right - 3, (box.top + box.bottom) / 2);
  for (int i = 0; i < 4; ++i) e2e::RealKey(VK_BACK);
  for (WORD key : {WORD{'1'}, WORD{'2'}, WORD{'0'}}) e2e::RealKey(key);
  ASSERT_TRUE(PumpUntil([&] { return options->txtNumColor.Text() == L"120"; }));
  EXPECT_TRUE(testsupport::SaveWindowPicture(options->Handle(),
                                             testsupport::ScreenshotPath(L"options-speed.bmp")));
  ClickOn(options->cmdApply);
  ASSERT_TRUE(PumpUntil([&] { return master->Options.FileCountMax == 120; }));
  EXPECT_TRUE(master->Options.TrackFileChanges);
  EXPECT_TRUE(master->Options.TrackChime);
  EXPECT_EQ(*Sent(100, L"FileCountMax"), zenlo::Variant(std::int32_t{120}));
  EXPECT_EQ(*Sent(100, L"TrackFileChanges"), zenlo::Variant(true));

  // Minimising now goes to the tray: the tray is asked for its icon.
  ShowWindow(master->Handle(), SW_MINIMIZE);
  ASSERT_TRUE(PumpUntil([&] { return !tray.Calls.empty(); }));
  EXPECT_EQ(tray.Calls.front(), L"add");
  master->SetTray(nullptr);
}

TEST(FileCountLimitFromSettings, ReadsTheSameStrictWay) {
  struct Case {
    const wchar_t* text;
    std::optional<std::int32_t> limit;
  };
  const Case cases[] = {{L"50", 50},         {L" 7 ", 7},        {L"12.5", 12},
                        {L"13.5", 14},       {L"1e3", {}},       {L"-1", {}},
                        {L"", {}},           {L"2147483648", {}}, {L"&H10", {}},
                        {L"1,5", {}},        {L".", {}},         {L"$5", {}}};
  for (const Case& c : cases)
    EXPECT_EQ(varnello::ReadFileCountLimit(c.text), c.limit) << tk::ToUtf8(c.text);
}

}  // namespace
