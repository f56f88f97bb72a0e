// Frames for a picture shown much smaller than the video arrive reduced,
// converted straight from the decoder's planes.
#include <gtest/gtest.h>

#include "tests/player/PlayerTestSupport.h"

TEST(PlayerDisplaySize, FramesArriveReducedToCoverTheShownPicture) {
  TRecordingPlayer p;
  p->SetDisplaySize(QSize(320, 180));
  ASSERT_TRUE(p.OpenAndWait("colors.mp4"));
  EXPECT_EQ(p.LastFrame.size(), QSize(320, 180));
  EXPECT_TRUE(CenterIsColor(p.LastFrame, FixtureColorAt(0)));
  ASSERT_TRUE(WaitUntil([&] { return p->State() == TPlayerState::Paused; }, 2000));

  // While paused the frame on hand comes again at each new size. The picture
  // is fitted into the size with its aspect ratio kept.
  const struct {
    QSize Display;
    QSize Frame;
  } cases[] = {
      {QSize(400, 300), QSize(640, 360)},  // less than twice: full size
      {QSize(), QSize(640, 360)},          // no size: full size
      {QSize(200, 100), QSize(213, 120)},  // 3.2 and 3.6 times: reduced by 3
      {QSize(400, 100), QSize(213, 120)},  // the height limits the fit
      {QSize(100, 50), QSize(91, 51)},     // 7 times, still covering 89x50
      {QSize(320, 180), QSize(320, 180)},
  };
  QImage full;
  for (const auto& c : cases) {
    SCOPED_TRACE(QStringLiteral("%1x%2").arg(c.Display.width()).arg(c.Display.height()).toStdString());
    const int frames = p.FrameCount;
    p->SetDisplaySize(c.Display);
    EXPECT_GT(p.FrameCount, frames);
    EXPECT_EQ(p.LastFrame.size(), c.Frame);
    EXPECT_TRUE(CenterIsColor(p.LastFrame, FixtureColorAt(0)));
    // The reduced picture has the colours of the full one, not just roughly.
    if (full.isNull()) full = p.LastFrame.copy();
    EXPECT_TRUE(CenterIsColor(p.LastFrame, full.pixel(full.width() / 2, full.height() / 2), 6));
  }

  // A seek shows the target's frame at the reduced size, and so does playback.
  p->SetDisplaySize(QSize(200, 100));
  const int frames = p.FrameCount;
  p->SetNewPosition(Hns(7.9));
  ASSERT_TRUE(WaitUntil([&] { return p->CanMfPosThread.load(); }, 8000));
  EXPECT_GT(p.FrameCount, frames);
  EXPECT_EQ(p.LastFrame.size(), QSize(213, 120));
  EXPECT_EQ(SecondShownIn(p.LastFrame), 7);
  p->StartPause();
  ASSERT_TRUE(WaitUntil([&] { return SecondShownIn(p.LastFrame) == 8; }, 3000 * Slack));
  EXPECT_EQ(p.LastFrame.size(), QSize(213, 120));
}
