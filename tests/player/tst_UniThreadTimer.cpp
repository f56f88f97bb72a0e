#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <atomic>
#include <thread>

#include "player/UniThreadTimer.h"
#include "tests/player/PlayerTestSupport.h"

TEST(UniThreadTimer, TicksOnTheUiThreadOncePerPeriod) {
  TUniThreadedTimer timer;  // runs from construction
  int ticks = 0;
  bool isOnUi = true;
  timer.SetOnTimerEvent([&](TUniThreadedTimer* ASender) {
    ++ticks;
    isOnUi = isOnUi && TUiHandOver::IsUiThread() && ASender == &timer;
  });
  Pump(1050);
  EXPECT_GE(ticks, 7 / Slack);
  EXPECT_LE(ticks, 11);
  EXPECT_TRUE(isOnUi);
}

TEST(UniThreadTimer, SamePeriodKeepsTheScheduleAndEnableRestartsIt) {
  TUniThreadedTimer timer;
  timer.SetPeriod(300);
  QElapsedTimer clock;
  clock.start();
  qint64 firstTick = -1;
  timer.SetOnTimerEvent([&](TUniThreadedTimer*) {
    if (firstTick < 0) firstTick = clock.elapsed();
  });
  Pump(150);
  timer.SetPeriod(300);  // unchanged: the tick due at 300 ms stays due
  ASSERT_TRUE(WaitUntil([&] { return firstTick >= 0; }, 1000));
  EXPECT_LT(firstTick, 300 + 120 * Slack);

  firstTick = -1;
  clock.restart();
  Pump(150);
  timer.SetEnabled(true);  // a restart: the next tick is a full period away
  const qint64 restartedAt = clock.elapsed();
  ASSERT_TRUE(WaitUntil([&] { return firstTick >= 0; }, 1000));
  EXPECT_GE(firstTick - restartedAt, 280);
}

TEST(UniThreadTimer, DisabledTimerStoresThePeriodAndStartsWhenEnabled) {
  TUniThreadedTimer timer;
  int ticks = 0;
  timer.SetOnTimerEvent([&](TUniThreadedTimer*) { ++ticks; });
  timer.SetEnabled(false);
  timer.SetPeriod(20);
  Pump(200);
  EXPECT_EQ(ticks, 0);
  EXPECT_EQ(timer.Period(), 20u);
  timer.SetEnabled(true);
  Pump(200);
  EXPECT_GE(ticks, 4 / Slack);
}

TEST(UniThreadTimer, ZeroPeriodTicksBackToBackWithoutOverlap) {
  TUniThreadedTimer timer;
  std::atomic<int> inside{0};
  int ticks = 0;
  bool isOverlapped = false;
  timer.SetOnTimerEvent([&](TUniThreadedTimer*) {
    isOverlapped = isOverlapped || inside.fetch_add(1) != 0;
    ++ticks;
    inside.fetch_sub(1);
  });
  timer.SetPeriod(0);
  Pump(200);
  EXPECT_GT(ticks, 20 / Slack);
  EXPECT_FALSE(isOverlapped);
}

TEST(UniThreadTimer, LargestPeriodNeverTicksAndStillDestroysAtOnce) {
  QElapsedTimer clock;
  clock.start();
  {
    TUniThreadedTimer timer;
    int ticks = 0;
    timer.SetOnTimerEvent([&](TUniThreadedTimer*) { ++ticks; });
    timer.SetPeriod(4294967295u);
    Pump(300);
    EXPECT_EQ(ticks, 0);
  }
  EXPECT_LT(clock.elapsed(), 2000);
}

TEST(UniThreadTimer, DestroyedWhileATickWaitsForTheUiThread) {
  // The UI thread is busy when the tick is due; destroying the timer then must
  // neither deadlock nor run the handler later.
  int ticks = 0;
  {
    auto timer = std::make_unique<TUniThreadedTimer>();
    timer->SetPeriod(10);
    timer->SetOnTimerEvent([&](TUniThreadedTimer*) { ++ticks; });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));  // no events pumped
    timer.reset();
  }
  Pump(100);
  EXPECT_EQ(ticks, 0);
}

TEST(UniThreadTimer, RestartsFromManyThreadsLeaveOneWorker) {
  TUniThreadedTimer timer;
  timer.SetPeriod(50);
  int ticks = 0;
  timer.SetOnTimerEvent([&](TUniThreadedTimer*) { ++ticks; });
  std::vector<std::thread> writers;
  for (int i = 0; i < 4; ++i)
    writers.emplace_back([&timer] {
      for (int n = 0; n < 50; ++n) timer.SetEnabled(true);
    });
  for (auto& w : writers) w.join();
  Pump(520);
  EXPECT_GE(ticks, 8 / Slack);
  EXPECT_LE(ticks, 11);  // one worker: no doubled ticks
}
