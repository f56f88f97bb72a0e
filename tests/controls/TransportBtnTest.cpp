// The play/pause and skip buttons act on their player only on a click.
#include <gtest/gtest.h>

#include <QTest>

#include "ControlsTestUtil.h"
#include "controls/uFMXBtnMedia.h"
#include "controls/uFMXIcons.h"

namespace {
constexpr uint64_t s = 10000000;

class TransportBtnTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetTestColors();
    for (_TFMXBtn* btn : {static_cast<_TFMXBtn*>(PlayPause), static_cast<_TFMXBtn*>(Fwd),
                          static_cast<_TFMXBtn*>(Rwd)})
      btn->SetSize(25, 25);
    Fwd->move(30, 0);
    Rwd->move(60, 0);
    Host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Host));
  }
  void Click(QWidget* AWidget) { QTest::mouseClick(AWidget, Qt::LeftButton, {}, QPoint(12, 12)); }

  QWidget Host;
  TFMXPlayPauseBtn* PlayPause = new TFMXPlayPauseBtn(&Host);
  TFMXPlayFwdBtn* Fwd = new TFMXPlayFwdBtn(&Host);
  TFMXPlayRwdBtn* Rwd = new TFMXPlayRwdBtn(&Host);
  TRecordingPlayer Player{true, 60 * s, 5 * s};
};
}  // namespace

TEST_F(TransportBtnTest, StartsWithTheirIconsAndAmounts) {
  EXPECT_EQ(PlayPause->GetSvgData(), QString::fromLatin1(IconPlay));
  EXPECT_EQ(Fwd->GetSvgData(), QString::fromLatin1(IconSkipFwd));
  EXPECT_EQ(Rwd->GetSvgData(), QString::fromLatin1(IconSkipRwd));
  EXPECT_EQ(Fwd->GetCount(), 3 * s);
  EXPECT_EQ(Rwd->GetCount(), 1 * s);
  EXPECT_EQ(PlayPause->GetMfPlayer(), nullptr);
}

TEST_F(TransportBtnTest, WithoutAPlayerAClickDoesNothing) {
  Click(PlayPause);
  Click(Fwd);
  Click(Rwd);
  EXPECT_EQ(PlayPause->GetSvgData(), QString::fromLatin1(IconPlay));
}

TEST_F(TransportBtnTest, PlayPauseTogglesAndTheIconFollowsTheReports) {
  PlayPause->SetMfPlayer(&Player);
  Click(PlayPause);
  Click(PlayPause);
  EXPECT_EQ(Player.StartPauseCalls, 2);
  // The click does not switch the icon; the status report does.
  EXPECT_EQ(PlayPause->GetSvgData(), QString::fromLatin1(IconPlay));
  PlayPause->IconSet(true);
  EXPECT_EQ(PlayPause->GetSvgData(), QString::fromLatin1(IconPause));
  Settle();
  TPaintCounter paints(PlayPause);
  PlayPause->IconSet(true);  // every report calls it; unchanged, no repaint
  Settle();
  EXPECT_EQ(paints.Count, 0);
  PlayPause->IconSet(false);
  Settle();
  EXPECT_GE(paints.Count, 1);
  EXPECT_EQ(PlayPause->GetSvgData(), QString::fromLatin1(IconPlay));

  // Released outside: no request.
  QTest::mousePress(PlayPause, Qt::LeftButton, {}, QPoint(12, 12));
  QTest::mouseRelease(PlayPause, Qt::LeftButton, {}, QPoint(25, 12));
  EXPECT_EQ(Player.StartPauseCalls, 2);
}

TEST_F(TransportBtnTest, SkipsByTheirCount) {
  Fwd->SetMfPlayer(&Player);
  Rwd->SetMfPlayer(&Player);
  Click(Fwd);
  Click(Rwd);
  Fwd->SetCount(10 * s);  // only the next click changes
  Click(Fwd);
  Player.mfpControl.CurrentPosition = 58 * s;
  Click(Fwd);
  EXPECT_EQ(Player.Seeks, (std::vector<uint64_t>{8 * s, 4 * s, 15 * s, 597 * s / 10}));
}
