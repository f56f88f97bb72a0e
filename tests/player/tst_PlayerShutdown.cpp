// Shutting down at awkward moments: nothing may hang, and nothing may reach
// a player that is gone.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include "tests/player/PlayerTestSupport.h"

namespace {

int ThreadCount() { return static_cast<int>(QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot).size()); }

long ResidentKb() {
  QFile f("/proc/self/status");
  if (!f.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : f.readAll().split('\n'))
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
  return 0;
}

// Shuts down and destroys, answering how long it took in milliseconds.
qint64 TimedShutDown(TRecordingPlayer& p) {
  QElapsedTimer clock;
  clock.start();
  EXPECT_TRUE(p->MediaShutDown());
  p.Reset();
  return clock.elapsed();
}

}  // namespace

TEST(PlayerShutdown, ReturnsPromptlyAtEveryStageOfPlayback) {
  // A generous bound: a hang would block for good, a timed-out close takes 2 s.
  constexpr qint64 Prompt = 2500 * Slack;
  const struct {
    const char* Stage;
    std::function<void(TRecordingPlayer&)> Reach;
  } stages[] = {
      {"right after the open, start worker waiting for the UI",
       [](TRecordingPlayer& p) { ASSERT_TRUE(SUCCEEDED(p->OpenURL(FixturePath("colors.mp4")))); }},
      {"start worker blocked on a busy UI thread",
       [](TRecordingPlayer& p) {
         ASSERT_TRUE(SUCCEEDED(p->OpenURL(FixturePath("colors.mp4"))));
         std::this_thread::sleep_for(std::chrono::milliseconds(300));  // no events pumped
       }},
      {"seek running while paused",
       [](TRecordingPlayer& p) {
         ASSERT_TRUE(p.OpenAndWait("colors.mp4"));
         p->SetNewPosition(Hns(7.3));
       }},
      {"seek running while playing",
       [](TRecordingPlayer& p) {
         ASSERT_TRUE(p.OpenAndWait("colors.mp4"));
         p->StartPause();
         Pump(300);
         p->SetNewPosition(Hns(5.3));
         std::this_thread::sleep_for(std::chrono::milliseconds(20));
       }},
      {"playing",
       [](TRecordingPlayer& p) {
         ASSERT_TRUE(p.OpenAndWait("colors.mp4"));
         p->StartPause();
         Pump(400);
       }},
      {"at the end of the medium",
       [](TRecordingPlayer& p) {
         ASSERT_TRUE(p.OpenAndWait("colors.mp4"));
         p->SetNewPosition(Hns(9.7));
         WaitUntil([&] { return p->CanMfPosThread.load(); }, 5000);
         p->StartPause();
         WaitUntil([&] { return p->IsPresentationEnded(); }, 3000);
       }},
  };
  for (const auto& stage : stages) {
    SCOPED_TRACE(stage.Stage);
    TRecordingPlayer p;
    stage.Reach(p);
    const int framesBefore = p.FrameCount;
    const size_t reportsBefore = p.Reports.size();
    EXPECT_LT(TimedShutDown(p), Prompt);
    Pump(150);  // hand-overs posted before the shutdown must not run now
    EXPECT_EQ(p.FrameCount, framesBefore);
    EXPECT_EQ(p.Reports.size(), reportsBefore);
  }
}

TEST(PlayerShutdown, DestructionWithoutShutDownStopsEverything) {
  int frames = 0;
  {
    TMfPlayer player([&](const QImage&) { ++frames; }, nullptr, nullptr);
    ASSERT_TRUE(SUCCEEDED(player.OpenURL(FixturePath("colors.mp4"))));
    Pump(200);
    player.StartPause();
    Pump(200);
  }
  const int atDestruction = frames;
  Pump(200);
  EXPECT_EQ(frames, atDestruction);
}

TEST(PlayerShutdown, FiftyOpenShutdownCyclesLeaveNoThreadsOrMemoryBehind) {
  auto cycle = [] {
    TRecordingPlayer p;
    ASSERT_TRUE(p.OpenAndWait("colors.mp4"));
    p->StartPause();
    Pump(30);
    ASSERT_TRUE(p->MediaShutDown());
  };
  for (int i = 0; i < 5; ++i) cycle();  // GStreamer's pools and caches settle first
  Pump(200);
  const int threads = ThreadCount();
  const long memory = ResidentKb();
  for (int i = 0; i < (isSanitized ? 10 : 50); ++i) cycle();
  Pump(200);
  EXPECT_LE(ThreadCount(), threads + 2);
  // AddressSanitizer keeps freed memory in quarantine, so only a plain build tells.
  if (!isSanitized) EXPECT_LT(ResidentKb() - memory, 40 * 1024);
}
