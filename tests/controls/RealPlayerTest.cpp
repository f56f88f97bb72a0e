// The controls on a real player with colors.mp4 (one solid colour per second),
// wired the way the main window wires them.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>

#include <functional>
#include <memory>

#include "controls/uFMXBtnMedia.h"
#include "controls/uFMXIcons.h"
#include "player/uFMXMfPlayerClass.h"
#include "tests/common/Fixtures.h"

namespace {
constexpr uint64_t s = 10000000;

bool WaitUntil(const std::function<bool()>& ADone, int ATimeoutMs) {
  QElapsedTimer clock;
  clock.start();
  while (!ADone()) {
    if (clock.elapsed() > ATimeoutMs)
      return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  return true;
}
}  // namespace

TEST(ControlsOnARealPlayer, SeekSkipPlayAndVolume) {
  QWidget host;
  host.resize(800, 60);
  auto* playPause = new TFMXPlayPauseBtn(&host);
  auto* fwd = new TFMXPlayFwdBtn(&host);
  auto* pos = new TFMXPosBar(&host);
  auto* vol = new TFMXVolBar(&host);
  playPause->SetSize(25, 25);
  fwd->SetSize(25, 25);
  fwd->move(30, 0);
  pos->setGeometry(100, 0, 600, 25);
  vol->setGeometry(710, 0, 80, 25);
  host.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));

  QImage frame;
  uint64_t reported = 0;
  float volume = -1;
  bool isPlaying = false;
  int reports = 0;
  auto player = std::make_unique<TMfPlayer>(
      [&](const QImage& ABitmap) { frame = ABitmap; },
      [&](uint64_t ATime) { pos->SetMax(ATime); },
      [&](uint64_t ATime, float AVolume, bool AisPlaying) {
        reported = ATime;
        volume = AVolume;
        isPlaying = AisPlaying;
        ++reports;
        pos->SetValue(ATime);
        vol->SetValue(AVolume);
        playPause->IconSet(AisPlaying);
      });
  ASSERT_GE(player->OpenURL(FixturePath(QStringLiteral("colors.mp4"))), 0);
  playPause->SetMfPlayer(player.get());
  fwd->SetMfPlayer(player.get());
  pos->SetMfPlayer(player.get());
  vol->SetMfPlayer(player.get());
  ASSERT_TRUE(WaitUntil([&] { return pos->GetMax() > 9 * s; }, 10000));
  EXPECT_NEAR(double(pos->GetMax()), double(10 * s), double(s) / 10);
  ASSERT_TRUE(WaitUntil([&] { return player->CanMfPosThread.load() && reports > 0; }, 5000));

  // A press in the middle of the bar seeks to 5 s; the frame and the bar follow.
  QTest::mousePress(pos, Qt::LeftButton, {}, QPoint(300, 12));
  QTest::mouseRelease(pos, Qt::LeftButton, {}, QPoint(300, 12));
  ASSERT_TRUE(WaitUntil([&] { return SecondShownIn(frame) == 5; }, 8000));
  ASSERT_TRUE(WaitUntil([&] { return reported >= 5 * s && reported < 5 * s + s / 2; }, 3000));
  EXPECT_NEAR(pos->GetRectF().Bounds.width(), 300, 30);

  // Skip forward 3 s.
  ASSERT_TRUE(WaitUntil([&] { return player->CanMfPosThread.load(); }, 5000));
  QTest::mouseClick(fwd, Qt::LeftButton, {}, QPoint(12, 12));
  ASSERT_TRUE(WaitUntil([&] { return SecondShownIn(frame) == 8; }, 8000));

  // The volume bar sets the player's volume; the report brings it back.
  QTest::mouseClick(vol, Qt::LeftButton, {}, QPoint(20, 12));
  EXPECT_NEAR(player->GetVolume(), 0.25f, 1e-3);
  ASSERT_TRUE(WaitUntil([&] { return std::abs(volume - 0.25f) < 1e-3; }, 3000));
  EXPECT_NEAR(vol->GetValue(), 0.25f, 1e-3);

  // Play, and the icon turns to pause with the report; pause again.
  ASSERT_TRUE(WaitUntil([&] { return player->CanMfPosThread.load(); }, 5000));
  QTest::mouseClick(playPause, Qt::LeftButton, {}, QPoint(12, 12));
  ASSERT_TRUE(WaitUntil([&] { return isPlaying; }, 3000));
  ASSERT_TRUE(WaitUntil([&] { return playPause->GetSvgData() == QLatin1String(IconPause); }, 1000));
  QTest::mouseClick(playPause, Qt::LeftButton, {}, QPoint(12, 12));
  ASSERT_TRUE(WaitUntil([&] { return !isPlaying; }, 3000));
  ASSERT_TRUE(WaitUntil([&] { return playPause->GetSvgData() == QLatin1String(IconPlay); }, 1000));

  // The window empties the controls' reference before it destroys a player.
  playPause->SetMfPlayer(nullptr);
  fwd->SetMfPlayer(nullptr);
  pos->SetMfPlayer(nullptr);
  vol->SetMfPlayer(nullptr);
  player->MediaShutDown();
  player.reset();
}
