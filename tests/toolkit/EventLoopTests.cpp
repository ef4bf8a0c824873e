#include <gtest/gtest.h>

#include "toolkit/EventLoop.h"
#include "toolkit/MousePointer.h"
#include "toolkit/Timer.h"

namespace {

TEST(YieldHook, SeesEveryYieldWithItsNumber) {
  std::vector<unsigned long> seen;
  tk::SetYieldHook([&](unsigned long n) { seen.push_back(n); });
  for (int i = 0; i < 3; ++i) tk::DoEvents();
  tk::SetYieldHook({});
  tk::DoEvents();
  EXPECT_EQ(seen, (std::vector<unsigned long>{1, 2, 3}));
}

TEST(Timer, TicksFromTheMessageLoopUntilStopped) {
  tk::Timer timer;
  int ticks = 0;
  timer.OnTick = [&] { ++ticks; };
  timer.SetInterval(10);
  ASSERT_TRUE(tk::PumpUntil([&] { return ticks >= 2; }, 2000));
  timer.SetInterval(0);  // interval 0 stops it
  const int stopped = ticks;
  tk::PumpUntil([] { return false; }, 100);
  EXPECT_EQ(ticks, stopped);
}

TEST(Timer, DisabledTimerKeepsItsIntervalButDoesNotTick) {
  tk::Timer timer;
  int ticks = 0;
  timer.OnTick = [&] { ++ticks; };
  timer.SetEnabled(false);
  timer.SetInterval(10);
  tk::PumpUntil([] { return false; }, 80);
  EXPECT_EQ(ticks, 0);
  EXPECT_EQ(timer.Interval(), 10u);
  timer.SetEnabled(true);
  EXPECT_TRUE(tk::PumpUntil([&] { return ticks >= 1; }, 2000));
}

TEST(Timer, DestroyedTimerNeverTicks) {
  int ticks = 0;
  {
    tk::Timer timer;
    timer.OnTick = [&] { ++ticks; };
    timer.SetInterval(1);
  }
  tk::PumpUntil([] { return false; }, 50);
  EXPECT_EQ(ticks, 0);
}

TEST(MousePointer, HourglassPutsBackWhatItFound) {
  tk::SetScreenMousePointer(tk::PointerArrow);
  {
    tk::HourglassPointer busy;
    EXPECT_EQ(tk::ScreenMousePointer(), tk::PointerHourglass);
    {
      tk::HourglassPointer nested;
    }
    EXPECT_EQ(tk::ScreenMousePointer(), tk::PointerHourglass);
  }
  EXPECT_EQ(tk::ScreenMousePointer(), tk::PointerArrow);
  tk::SetScreenMousePointer(tk::PointerDefault);
}

}  // namespace
