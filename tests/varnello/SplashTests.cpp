// The splash's ticks, driven by hand: status texts, the main window's loading and hand-over,
// the reset question and the About box.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include <windows.h>
#include <commctrl.h>

#include "GifFixtures.h"
#include "RecordingLists.h"
#include "mainwindow/Splash.h"
#include "toolkit/MessageBox.h"

namespace {

using varnello::Splash;
using varnello::SplashShared;

struct Host final : varnello::SplashHost {
  std::vector<std::wstring> Calls;
  std::function<void(varnello::StartupReporter&)> OnLoadMaster;
  // Unset: nothing to prepare, and nothing recorded.
  std::function<bool()> OnPrepare;
  bool PrepareMaster() override {
    if (!OnPrepare) return false;
    Calls.push_back(L"Prepare");
    return OnPrepare();
  }
  void LoadMaster(varnello::StartupReporter& s) override {
    Calls.push_back(L"LoadMaster");
    if (OnLoadMaster) OnLoadMaster(s);
  }
  void ShowMaster() override { Calls.push_back(L"ShowMaster"); }
  void UnloadSplash() override { Calls.push_back(L"UnloadSplash"); }
  void ShowTip() override { Calls.push_back(L"ShowTip"); }
  void CheckForUpdate() override { Calls.push_back(L"CheckForUpdate"); }
  void EndProgram() override { Calls.push_back(L"EndProgram"); }
  int Count(const std::wstring& c) const {
    return static_cast<int>(std::count(Calls.begin(), Calls.end(), c));
  }
};

// The answers to the system message box (the reset question), in order.
struct Questions {
  std::vector<tk::MessageBoxRequest> Asked;
  std::vector<bool> TimerWasRunning;
  Questions(std::vector<int> answers, Splash* splash = nullptr) : answers_(std::move(answers)) {
    tk::SetMessageBoxSeam([this, splash](const tk::MessageBoxRequest& r) {
      Asked.push_back(r);
      if (splash) TimerWasRunning.push_back(splash->Timer1().Enabled());
      return next_ < answers_.size() ? answers_[next_++] : IDCANCEL;
    });
  }
  ~Questions() {
    tk::SetMessageBoxSeam([](const tk::MessageBoxRequest&) {
      ADD_FAILURE() << "unexpected message box";
      return IDCANCEL;
    });
  }

 private:
  std::vector<int> answers_;
  size_t next_ = 0;
};

std::string Frames(int n) { return vtest::MakeGif(8, 8, std::vector<vtest::GifFrame>(n)); }

class SplashTest : public testing::Test {
 protected:
  void Start(const std::string& gif) {
    dir.Write(L"ring6full.gif", gif);
    splash = std::make_unique<Splash>(host, shared, dir.Path());
    ASSERT_TRUE(splash->Load());
  }
  // Ticks until the host is asked to load the main window; the number of ticks it took.
  int TicksToLoad(int limit = 100) {
    for (int t = 1; t <= limit; ++t) {
      splash->Timer1_Tick();
      if (host.Count(L"LoadMaster")) return t;
    }
    return -1;
  }
  vtest::TempDir dir;
  Host host;
  SplashShared shared;
  std::unique_ptr<Splash> splash;
};

TEST_F(SplashTest, StatusLineAndTheTickThatLoadsTheMainWindow) {
  struct Case {
    const char* name;
    std::string gif;
    int loadTick;
    bool showsLoading;
  } cases[] = {
      {"24 frames", Frames(24), 24, true},
      {"5 frames", Frames(5), 5, false},  // fewer than 13 frames never show it
      {"not a GIF", "not a picture", 24, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    host = Host{};
    shared = SplashShared{};
    Start(c.gif);
    EXPECT_EQ(splash->Status(), L"initializing...");
    bool sawLoading = false;
    for (int t = 1; t <= 60; ++t) {
      splash->Timer1_Tick();
      if (splash->Status() == L"loading main window...") {
        if (!sawLoading) {
          EXPECT_EQ(t, 12);
        }
        sawLoading = true;
      }
      if (t == c.loadTick) {
        EXPECT_EQ(host.Count(L"LoadMaster"), 1) << "tick " << t;
      }
      if (t == c.loadTick - 1) {
        EXPECT_EQ(host.Count(L"LoadMaster"), 0);
      }
    }
    EXPECT_EQ(sawLoading, c.showsLoading);
    // The main window never said it loaded: it is asked once, and nothing else happens.
    EXPECT_EQ(host.Calls, std::vector<std::wstring>{L"LoadMaster"});
  }
}

TEST_F(SplashTest, FramesAreDecodedAsTheyFirstShowAndABadOneIsSkipped) {
  std::vector<vtest::GifFrame> frames(4);
  frames[2].Corrupt = true;
  Questions boxes({});
  Start(vtest::MakeGif(8, 8, frames));
  const auto& elements = splash->Image1().Elements;
  ASSERT_EQ(elements.size(), 4u);
  EXPECT_TRUE(elements[0].Image);
  EXPECT_FALSE(elements[1].Image);
  // Each tick shows the next frame; the one that is no picture stays empty, silently, and the
  // cycle keeps its length.
  for (int t = 1; t <= 3; ++t) splash->Timer1_Tick();
  EXPECT_TRUE(elements[1].Image);
  EXPECT_FALSE(elements[2].Image);
  EXPECT_TRUE(elements[3].Image);
  EXPECT_TRUE(boxes.Asked.empty());
  EXPECT_EQ(TicksToLoad(), 1);
}

TEST_F(SplashTest, NestedTicksNeitherLoadAgainNorOverwriteThePhase) {
  Start(Frames(24));
  host.OnLoadMaster = [&](varnello::StartupReporter& s) {
    s.SetStatus(L"getting last settings used...");
    // A read yields: the timer ticks on inside the load, past another whole cycle.
    for (int n = 0; n < 30; ++n) splash->Timer1_Tick();
    EXPECT_EQ(s.Status(), L"getting last settings used...");
    s.SetLoadedFlag();
  };
  EXPECT_EQ(TicksToLoad(), 24);
  EXPECT_EQ(host.Calls, (std::vector<std::wstring>{L"LoadMaster", L"ShowMaster", L"UnloadSplash",
                                                    L"ShowTip", L"CheckForUpdate"}));
  EXPECT_TRUE(shared.StartupDone);
  EXPECT_FALSE(splash->Timer1().Enabled());
}

TEST_F(SplashTest, TheMainWindowIsPreparedAPieceATickOfTheFirstCycleOnly) {
  const struct {
    const char* name;
    int piecesLeft;  // pieces the host has to do; -1 for more than the cycle has ticks
    int piecesDone;
  } cases[] = {{"five pieces", 5, 5}, {"more than the cycle", -1, 23}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    host = Host{};
    shared = SplashShared{};
    Start(Frames(24));
    int pieces = 0;
    host.OnPrepare = [&] { return ++pieces != c.piecesLeft; };
    // The cycle is as long as without preparation, and loading waits for no piece.
    EXPECT_EQ(TicksToLoad(), 24);
    EXPECT_EQ(pieces, c.piecesDone);
    std::vector<std::wstring> calls(static_cast<size_t>(c.piecesDone), L"Prepare");
    calls.push_back(L"LoadMaster");
    EXPECT_EQ(host.Calls, calls);
    // Nothing is prepared once loading has begun.
    for (int n = 0; n < 30; ++n) splash->Timer1_Tick();
    EXPECT_EQ(pieces, c.piecesDone);
  }
}

TEST_F(SplashTest, ACycleCompletedInsideAPieceLoadsOnlyOnceThePieceHasUnwound) {
  Start(Frames(24));
  int pieces = 0;
  host.OnPrepare = [&] {
    if (++pieces == 2) {
      // The piece yields (a message box, say) long enough for the cycle to complete in it.
      for (int n = 0; n < 30; ++n) splash->Timer1_Tick();
      EXPECT_EQ(host.Count(L"LoadMaster"), 0);
      EXPECT_EQ(pieces, 2);  // no piece runs inside another
    }
    return true;
  };
  splash->Timer1_Tick();
  splash->Timer1_Tick();
  EXPECT_EQ(pieces, 2);
  EXPECT_EQ(host.Count(L"LoadMaster"), 0);
  splash->Timer1_Tick();
  EXPECT_EQ(host.Count(L"LoadMaster"), 1);
  EXPECT_EQ(pieces, 2);
}

TEST_F(SplashTest, AFailedStartEndsTheProgramWithoutTipOrUpdateCheck) {
  Start(Frames(3));
  host.OnLoadMaster = [](varnello::StartupReporter& s) { s.SetShutDown(); };
  EXPECT_EQ(TicksToLoad(), 3);
  EXPECT_EQ(host.Calls, (std::vector<std::wstring>{L"LoadMaster", L"EndProgram"}));
  EXPECT_FALSE(shared.StartupDone);
}

TEST_F(SplashTest, ResetQuestionIsAskedOnceAndTheAnswerDecidesTheSettingsFile) {
  struct Case {
    int answer;
    bool fileKept;
  } cases[] = {{IDYES, false}, {IDNO, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    host = Host{};
    shared = SplashShared{};
    Start(Frames(24));
    dir.Write(L"user.usr", "\"SkinName\",\"x\",0,0,0,0\r\n");
    Questions q({c.answer}, splash.get());
    // Two presses of R before the next tick.
    SendMessageW(splash->Handle(), WM_KEYDOWN, 'R', 0);
    splash->Form_KeyDown(82);
    for (int t = 0; t < 5; ++t) splash->Timer1_Tick();
    ASSERT_EQ(q.Asked.size(), 1u);
    EXPECT_EQ(q.Asked[0].Text, L"Do you want to reset Varnello?");
    EXPECT_EQ(q.Asked[0].Title, L"Varnello");
    EXPECT_EQ(q.Asked[0].Style & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
    EXPECT_EQ(q.TimerWasRunning, std::vector<bool>{false});  // no tick runs on meanwhile
    EXPECT_TRUE(splash->Timer1().Enabled());
    EXPECT_EQ(dir.Exists(L"user.usr"), c.fileKept);
  }
}

TEST_F(SplashTest, NoResetQuestionOnceTheMainWindowLoads) {
  Start(Frames(24));
  dir.Write(L"user.usr", "settings");
  Questions q({IDYES});
  host.OnLoadMaster = [&](varnello::StartupReporter&) {
    splash->Form_KeyDown(82);  // R pressed while the settings are being read
    for (int n = 0; n < 5; ++n) splash->Timer1_Tick();
  };
  TicksToLoad();
  for (int n = 0; n < 5; ++n) splash->Timer1_Tick();
  EXPECT_TRUE(q.Asked.empty());
  EXPECT_TRUE(dir.Exists(L"user.usr"));
}

TEST_F(SplashTest, TheAboutBoxOnlyAnimates) {
  shared.StartupDone = true;
  Start(Frames(4));
  EXPECT_TRUE(splash->IsAboutBox());
  EXPECT_EQ(splash->Status(), L"");
  EXPECT_EQ(splash->FrameIndex(), 0);
  splash->Form_KeyDown(82);
  for (int n = 0; n < 10; ++n) splash->Timer1_Tick();
  EXPECT_TRUE(host.Calls.empty());
  EXPECT_EQ(splash->FrameIndex(), 10 % 4);  // a cycle of four ticks
  // The status line is a link in the About box only.
  splash->txtStatus_Click();
  EXPECT_FALSE(splash->AcknowledgementsShown());
  splash->SetStatus(L"Acknowledgements and Disclaimer...");
  splash->txtStatus_Click();
  EXPECT_TRUE(splash->AcknowledgementsShown());
}

// A child window of `parent` of class `cls`, or null.
HWND ChildOfClass(HWND parent, const wchar_t* cls) {
  return FindWindowExW(parent, nullptr, cls, nullptr);
}

TEST_F(SplashTest, TheAboutBoxCloseButtonSaysWhatItDoes) {
  shared.StartupDone = true;
  Start(Frames(4));
  HWND close = ChildOfClass(splash->Handle(), L"Button");
  ASSERT_NE(close, nullptr);
  // The tip window the splash owns knows the button.
  HWND tip = nullptr;
  for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, TOOLTIPS_CLASSW, nullptr)) != nullptr;)
    if (GetWindow(w, GW_OWNER) == splash->Handle()) tip = w;
  ASSERT_NE(tip, nullptr) << "no tip for the close button";
  wchar_t text[64] = L"";
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = splash->Handle();
  tool.uId = reinterpret_cast<UINT_PTR>(close);
  tool.lpszText = text;
  SendMessageW(tip, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&tool));
  EXPECT_STREQ(text, L"Press to close.");
}

TEST_F(SplashTest, TheAcknowledgementsCloseWithTheirButton) {
  shared.StartupDone = true;
  Start(Frames(4));
  auto forms = [] {
    std::vector<HWND> out;
    for (HWND w = nullptr;
         (w = FindWindowExW(nullptr, w, nullptr, L"Acknowledgements and Disclaimer")) != nullptr;)
      out.push_back(w);
    return out;
  };
  const std::vector<HWND> before = forms();
  splash->SetStatus(L"Acknowledgements and Disclaimer...");
  splash->txtStatus_Click();
  HWND form = nullptr;
  for (HWND w : forms())
    if (std::find(before.begin(), before.end(), w) == before.end()) form = w;
  ASSERT_NE(form, nullptr);
  HWND close = ChildOfClass(form, L"Button");
  ASSERT_NE(close, nullptr) << "the form has no button to close it";
  EXPECT_TRUE(IsWindowVisible(close));
  SendMessageW(close, BM_CLICK, 0, 0);
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  EXPECT_FALSE(IsWindow(form));
}

TEST_F(SplashTest, AStatusClickDuringStartUpDoesNothing) {
  Start(Frames(4));
  splash->txtStatus_Click();
  EXPECT_FALSE(splash->AcknowledgementsShown());
}

}  // namespace
