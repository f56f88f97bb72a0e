// The idle notification: handlers run once the queue is empty, until they
// unsubscribe, and may unsubscribe from inside.
#include "app/uAppIdle.h"
#include "tests/app/AppTestUtil.h"

#include <QTimer>

TEST(AppIdle, RunsAfterQueuedWorkUntilUnsubscribed) {
  std::vector<std::string> order;
  int id = -1;
  int runs = 0;
  id = AppIdleSubscribe([&] {
    order.push_back("idle");
    if (++runs == 2) AppIdleUnsubscribe(id);
  });
  EXPECT_NE(id, -1);
  QTimer::singleShot(0, [&] { order.push_back("queued"); });
  EXPECT_TRUE(WaitUntil([&] { return runs == 2; }, 2000));
  Pump(50);
  EXPECT_EQ(runs, 2);
  ASSERT_GE(order.size(), 2u);
  EXPECT_EQ(order.front(), "queued");
  EXPECT_EQ(AppIdleCount(), 0);
}

TEST(AppIdle, UnsubscribingAnotherHandlerFromInsideIsSafe) {
  int a = 0, b = 0;
  int idB = -1;
  int idA = AppIdleSubscribe([&] {
    ++a;
    AppIdleUnsubscribe(idB);
  });
  idB = AppIdleSubscribe([&] { ++b; });
  EXPECT_TRUE(WaitUntil([&] { return a >= 1; }, 2000));
  AppIdleUnsubscribe(idA);
  AppIdleUnsubscribe(12345);  // unknown ids are ignored
  Pump(30);
  EXPECT_EQ(b, 0);
  EXPECT_EQ(AppIdleCount(), 0);
}
