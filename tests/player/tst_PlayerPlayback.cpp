// Real playback on the generated clips: each second of colors.mp4 is one
// solid colour, so a captured frame tells which second it shows.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include "tests/player/PlayerTestSupport.h"

namespace {

bool WaitForSeekDone(TRecordingPlayer& p, int ATimeoutMs = 8000) {
  return WaitUntil([&] { return p->CanMfPosThread.load(); }, ATimeoutMs);
}

// Waits for a status report after the call and answers it.
TStatusReport NextReport(TRecordingPlayer& p) {
  const size_t seen = p.Reports.size();
  WaitUntil([&] { return p.Reports.size() > seen; }, 2000);
  return p.Reports.empty() ? TStatusReport{0, 0, false} : p.Reports.back();
}

}  // namespace

TEST(PlayerPlayback, OpenShowsTheFirstFrameAndStandsPausedAtTheStart) {
  TRecordingPlayer p;
  ASSERT_TRUE(p.OpenAndWait("colors.mp4"));
  EXPECT_EQ(p.DurationCount, 1);
  EXPECT_NEAR(static_cast<double>(p.LastDuration), static_cast<double>(Hns(10)), Hns(0.1));
  EXPECT_GE(p.FrameCount, 1);
  EXPECT_EQ(p.LastFrame.size(), QSize(640, 360));
  EXPECT_TRUE(CenterIsColor(p.LastFrame, FixtureColorAt(0)));
  EXPECT_TRUE(p->HasVideo());
  EXPECT_TRUE(WaitUntil([&] { return p->State() == TPlayerState::Paused; }, 2000));
  const TStatusReport r = NextReport(p);
  EXPECT_FALSE(r.isPlaying);
  EXPECT_LT(r.Time, Hns(0.2 * Slack));
  EXPECT_NEAR(r.Volume, 1.0f, 1e-6);
}

TEST(PlayerPlayback, PlayRunsInRealTimeAndPauseHolds) {
  TRecordingPlayer p;
  ASSERT_TRUE(p.OpenAndWait("colors.mp4"));
  const int framesAtStart = p.FrameCount;
  QElapsedTimer clock;
  p->StartPause();
  clock.start();
  ASSERT_TRUE(WaitUntil([&] { return p.LastReport() && p.LastReport()->isPlaying; }, 2000));
  Pump(1500);
  const TStatusReport playing = NextReport(p);
  const double elapsed = clock.elapsed() / 1000.0;
  EXPECT_TRUE(playing.isPlaying);
  EXPECT_NEAR(playing.Time / 1e7, elapsed, 0.35 * Slack);
  EXPECT_GT(p.FrameCount - framesAtStart, 20 / Slack);  // ~33 ticks a second while playing
  EXPECT_EQ(SecondShownIn(p.LastFrame), static_cast<int>(playing.Time / HnsPerSecond));

  p->StartPause();
  ASSERT_TRUE(WaitUntil([&] { return p->State() == TPlayerState::Paused; }, 2000));
  const TStatusReport paused = NextReport(p);
  const int framesAtPause = p.FrameCount;
  Pump(600);
  const TStatusReport later = NextReport(p);
  EXPECT_FALSE(later.isPlaying);
  EXPECT_EQ(later.Time, paused.Time);
  EXPECT_EQ(p.FrameCount, framesAtPause);
}

TEST(PlayerPlayback, SeekWhilePausedShowsTheTargetFrameAndStaysPaused) {
  TRecordingPlayer p;
  ASSERT_TRUE(p.OpenAndWait("colors.mp4"));
  // Keyframes sit every 2 s; these land on one, just after one and deep in a GOP.
  for (double target : {4.0, 2.2, 7.9, 0.0, 9.5, 5.5}) {
    SCOPED_TRACE(target);
    const int frames = p.FrameCount;
    p->SetNewPosition(Hns(target));
    ASSERT_TRUE(WaitForSeekDone(p));
    EXPECT_GT(p.FrameCount, frames);
    EXPECT_EQ(SecondShownIn(p.LastFrame), static_cast<int>(target));
    EXPECT_EQ(p->State(), TPlayerState::Paused);
    const TStatusReport r = NextReport(p);
    EXPECT_FALSE(r.isPlaying);
    EXPECT_NEAR(r.Time / 1e7, target, 0.15);
  }
}

TEST(PlayerPlayback, SeekWhilePlayingGoesOnFromTheTarget) {
  TRecordingPlayer p;
  ASSERT_TRUE(p.OpenAndWait("colors.mp4"));
  p->StartPause();
  ASSERT_TRUE(WaitUntil([&] { return p.LastReport() && p.LastReport()->isPlaying; }, 2000));
  p->SetNewPosition(Hns(6.3));
  ASSERT_TRUE(WaitForSeekDone(p));
  EXPECT_EQ(p->State(), TPlayerState::Started);
  const TStatusReport r = NextReport(p);
  EXPECT_TRUE(r.isPlaying);
  EXPECT_NEAR(r.Time / 1e7, 6.4, 0.25 * Slack);
  Pump(1000);
  const TStatusReport later = NextReport(p);
  EXPECT_TRUE(later.isPlaying);
  EXPECT_NEAR(later.Time / 1e7, 7.4, 0.3 * Slack);
  if (!isSanitized) EXPECT_EQ(SecondShownIn(p.LastFrame), 7);
}

TEST(PlayerPlayback, EndOfMediumReportsNotPlayingAndPlayStartsOver) {
  TRecordingPlayer p;
  ASSERT_TRUE(p.OpenAndWait("colors.mp4"));
  p->SetNewPosition(Hns(9.4));
  ASSERT_TRUE(WaitForSeekDone(p));
  p->StartPause();
  ASSERT_TRUE(WaitUntil([&] { return p->IsPresentationEnded(); }, 3000 * Slack));
  const TStatusReport end = NextReport(p);
  EXPECT_FALSE(end.isPlaying);
  EXPECT_EQ(p->State(), TPlayerState::Started);
  EXPECT_GT(end.Time, Hns(9.8));

  p->StartPause();
  ASSERT_TRUE(WaitForSeekDone(p));
  ASSERT_TRUE(WaitUntil([&] { return p.LastReport()->isPlaying; }, 2000));
  Pump(500);
  const TStatusReport again = NextReport(p);
  EXPECT_TRUE(again.isPlaying);
  EXPECT_LT(again.Time, Hns(1.2 * Slack));

  // After the end a seek shows its frame and pauses.
  p->SetNewPosition(Hns(9.6));
  ASSERT_TRUE(WaitForSeekDone(p));
  ASSERT_TRUE(WaitUntil([&] { return p->IsPresentationEnded(); }, 3000 * Slack));
  p->SetNewPosition(Hns(3.5));
  ASSERT_TRUE(WaitForSeekDone(p));
  EXPECT_EQ(p->State(), TPlayerState::Paused);
  EXPECT_EQ(SecondShownIn(p.LastFrame), 3);
}

TEST(PlayerPlayback, SeekDuringARunningSeekIsDropped) {
  TRecordingPlayer p;
  ASSERT_TRUE(p.OpenAndWait("colors.mp4"));
  p->SetNewPosition(Hns(3.5));
  EXPECT_FALSE(p->CanMfPosThread);
  p->SetNewPosition(Hns(8.5));  // dropped
  ASSERT_TRUE(WaitForSeekDone(p));
  EXPECT_EQ(SecondShownIn(p.LastFrame), 3);
  p->SetNewPosition(Hns(8.5));  // accepted once the first has finished
  ASSERT_TRUE(WaitForSeekDone(p));
  EXPECT_EQ(SecondShownIn(p.LastFrame), 8);
}

TEST(PlayerPlayback, VolumeClampsAndReadsBack) {
  TRecordingPlayer p;
  ASSERT_TRUE(p.OpenAndWait("colors.mp4"));
  const struct {
    float Set, Expected;
  } cases[] = {{0.5f, 0.5f}, {1.5f, 1.0f}, {-0.2f, 0.0f}, {0.25f, 0.25f}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Set);
    p->SetVolume(c.Set);
    EXPECT_NEAR(p->Volume(), c.Expected, 1e-4);
    EXPECT_NEAR(p->GetVolume(), c.Expected, 1e-4);
  }
  EXPECT_NEAR(NextReport(p).Volume, 0.25f, 1e-4);
}

TEST(PlayerPlayback, AudioOnlyMediumPausesDeliversTheDurationAndPlays) {
  TRecordingPlayer p;
  ASSERT_TRUE(p.OpenAndWait("colors-audio.mp4"));
  EXPECT_NEAR(static_cast<double>(p.LastDuration), static_cast<double>(Hns(10)), Hns(0.1));
  EXPECT_FALSE(p->HasVideo());
  EXPECT_EQ(p.FrameCount, 0);
  EXPECT_TRUE(WaitUntil([&] { return p->State() == TPlayerState::Paused; }, 2000));
  QImage shot;
  EXPECT_EQ(p->TakeSnapShot(shot), E_FAIL);
  p->StartPause();
  Pump(1000);
  const TStatusReport r = NextReport(p);
  EXPECT_TRUE(r.isPlaying);
  EXPECT_NEAR(r.Time / 1e7, 1.0, 0.35 * Slack);
  p->SetNewPosition(Hns(5));
  ASSERT_TRUE(WaitForSeekDone(p));
  EXPECT_NEAR(NextReport(p).Time / 1e7, 5.1, 0.3 * Slack);
  EXPECT_EQ(p.FrameCount, 0);
}

TEST(PlayerPlayback, VideoOnlyMediumPlaysWithoutVolume) {
  TRecordingPlayer p;
  ASSERT_TRUE(p.OpenAndWait("colors-video.mp4"));
  EXPECT_TRUE(CenterIsColor(p.LastFrame, FixtureColorAt(0)));
  EXPECT_EQ(p->GetVolume(), 0.0f);
  p->SetVolume(0.5f);
  EXPECT_EQ(p->Volume(), 0.0f);
  p->SetNewPosition(Hns(2.5));
  ASSERT_TRUE(WaitForSeekDone(p));
  EXPECT_EQ(SecondShownIn(p.LastFrame), 2);
  p->StartPause();
  Pump(1000);
  const TStatusReport r = NextReport(p);
  EXPECT_TRUE(r.isPlaying);
  EXPECT_NEAR(r.Time / 1e7, 3.5, 0.35 * Slack);
}

TEST(PlayerPlayback, UnplayableInputFailsTheOpenAndLeavesThePlayerClosed) {
  const struct {
    const char* Name;
    HRESULT Expected;  // 0: any failure
  } cases[] = {{"missing.mp4", 0}, {"text.mp4", 0}, {"subtitles-only.mp4", MF_E_NOT_AUDIO_OR_VIDEO}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TRecordingPlayer p;
    const HRESULT hr = p->OpenURL(FixturePath(c.Name));
    EXPECT_TRUE(FAILED(hr));
    if (c.Expected) EXPECT_EQ(hr, c.Expected);
    EXPECT_EQ(p->State(), TPlayerState::Closed);
    EXPECT_FALSE(p->HasTimers());
    EXPECT_FALSE(p->HasVideo());
    p->SetNewPosition(Hns(1));  // harmless
    p->StartPause();
    Pump(150);
    EXPECT_TRUE(p.Reports.empty());
    EXPECT_TRUE(p->MediaShutDown());
  }
}

TEST(PlayerPlayback, TruncatedFilePlaysWhatItHoldsAndShutsDown) {
  TRecordingPlayer p;
  ASSERT_TRUE(p.OpenAndWait("truncated.mp4"));
  EXPECT_TRUE(CenterIsColor(p.LastFrame, FixtureColorAt(0)));
  p->StartPause();
  Pump(800);
  EXPECT_TRUE(NextReport(p).isPlaying);
  EXPECT_TRUE(p->MediaShutDown());
}
