// The artwork built into the program and the splash window made from it.
#include "app/uFrmSplash.h"
#include "app/uImageView.h"
#include "resources/uResources.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(Resources, BothPicturesLoadWithTheirSizes) {
  QImage back, title;
  EXPECT_TRUE(LoadFromResource(back, QStringLiteral("SPLASHBACK")));
  EXPECT_TRUE(LoadFromResource(title, QStringLiteral(":/SPLASHTEXT")));
  EXPECT_EQ(back.size(), QSize(512, 256));
  EXPECT_EQ(title.size(), QSize(512, 128));
  // The title lies on transparency, in white.
  ASSERT_TRUE(title.hasAlphaChannel());
  EXPECT_EQ(qAlpha(title.pixel(2, 2)), 0);
  int white = 0;
  for (int y = 0; y < title.height(); ++y)
    for (int x = 0; x < title.width(); ++x)
      if (title.pixel(x, y) == 0xffffffff) ++white;
  EXPECT_GT(white, 1000);
  // The background is blue-violet, opaque everywhere.
  const QRgb c = back.pixel(20, 128);
  EXPECT_EQ(qAlpha(c), 255);
  EXPECT_GT(qBlue(c), qGreen(c) + 60);
}

TEST(Resources, MissingNameThrowsAndKeepsTheBitmap) {
  QImage keep(4, 4, QImage::Format_RGB32);
  keep.fill(Qt::red);
  EXPECT_THROW(LoadFromResource(keep, QStringLiteral("NOSUCHPICTURE")), std::runtime_error);
  EXPECT_EQ(keep.size(), QSize(4, 4));
}

TEST(Splash, IsFramelessWithTheTitleOverTheBackground) {
  TSplashFrm splash;
  EXPECT_EQ(splash.size(), QSize(512, 256));
  EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(splash.Image1->geometry(), QRect(0, 0, 512, 256));
  EXPECT_EQ(splash.Image2->geometry(), QRect(0, 64, 512, 128));
  const QImage shot = splash.grab().toImage();
  // The title's white strokes show over the middle band.
  int white = 0;
  for (int x = 0; x < 512; ++x)
    if (shot.pixel(x, 128) == 0xffffffff) ++white;
  EXPECT_GT(white, 20);
}
