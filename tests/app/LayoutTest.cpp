// Where the controls sit, their fixed sizes, the overlays' sizing and the
// regular-expression toggle.
#include "app/uFrmMain.h"
#include "app/uImageView.h"
#include "app/uSrtPanel.h"
#include "controls/uFMXBtn.h"
#include "controls/uFMXBtnMedia.h"
#include "tests/app/AppTestUtil.h"

#include <QLabel>
#include <QLineEdit>
#include <QSplitter>
#include <QTest>
#include <QTimer>

namespace {

// A widget's rectangle in the window's coordinates.
QRect InWindow(const TFrmMain& AForm, const QWidget* AWidget) {
  return QRect(AWidget->mapTo(&AForm, QPoint(0, 0)), AWidget->size());
}

}  // namespace

TEST(Layout, PositionsInA640WideWindow) {
  TFrmMain form;
  form.show();
  ASSERT_EQ(form.width(), 640);
  // Control bar: 65 high at the bottom; transport row above the search row.
  EXPECT_EQ(InWindow(form, form.Rectangle), QRect(0, 415, 640, 65));
  EXPECT_EQ(InWindow(form, form.LayoutML), QRect(0, 420, 205, 25));
  EXPECT_EQ(InWindow(form, form.LayoutB), QRect(0, 450, 640, 25));

  struct { const QWidget* w; int x; } left[] = {{form.BtOpen, 0},      {form.BtSrtOpen, 30},
                                                {form.BtPlayPause, 60}, {form.BtPlayRwd, 90},
                                                {form.BtPlayFwd, 120}};
  for (const auto& b : left) {
    EXPECT_EQ(b.w->geometry(), QRect(b.x, 0, 25, 25)) << b.w->objectName().toStdString();
  }
  EXPECT_EQ(form.lbTime->geometry().left(), 155);
  EXPECT_EQ(form.lbTime->geometry().right() + 1, 205);
  EXPECT_EQ(InWindow(form, form.VolumeBar), QRect(640 - 5 - 80, 420, 80, 25));
  EXPECT_EQ(InWindow(form, form.TimeBar), QRect(210, 420, 640 - 210 - 5 - 80 - 5, 25));

  // Search row: toggle at the left, the box between, five buttons at the right.
  EXPECT_EQ(InWindow(form, form.BtSrtRegEx), QRect(5, 450, 25, 25));
  EXPECT_EQ(InWindow(form, form.EdSrt), QRect(35, 450, 640 - 35 - 5 - 145 - 5, 25));
  struct { const QWidget* w; int x; } right[] = {{form.BtSearch, 0}, {form.BtSrtBack, 30},
                                                 {form.BtSrtNext, 60}, {form.BtGear, 90},
                                                 {form.BtInfo, 120}};
  for (const auto& b : right)
    EXPECT_EQ(InWindow(form, b.w), QRect(490 + b.x, 450, 25, 25)) << b.w->objectName().toStdString();

  // The image and the panel share the rest; the panel keeps its margin.
  EXPECT_EQ(InWindow(form, form.LayoutI), QRect(0, 0, 640, 415));
  EXPECT_EQ(InWindow(form, form.lbSrt).bottom() + 1, 415 - 5);
  EXPECT_GE(form.lbSrt->height(), 16);
  EXPECT_EQ(form.Splitter1->handleWidth(), 5);
}

TEST(Layout, WideningGivesTheExtraWidthToTheSearchBoxAndPositionBar) {
  TFrmMain form;
  form.show();
  const int edit = form.EdSrt->width(), bar = form.TimeBar->width();
  form.resize(1000, 480);
  QTest::qWait(20);
  EXPECT_EQ(form.EdSrt->width(), edit + 360);
  EXPECT_EQ(form.TimeBar->width(), bar + 360);
  EXPECT_EQ(InWindow(form, form.BtInfo).left(), 1000 - 5 - 25);
  EXPECT_EQ(InWindow(form, form.BtSearch).left(), 1000 - 5 - 145);
  EXPECT_EQ(form.LayoutML->width(), 205);
}

TEST(Layout, OverlaysFollowTheImageSize) {
  TFrmMain form;
  form.Image->resize(800, 300);
  form.ImageResize();
  EXPECT_EQ(form.ptImg->size(), QSize(60, 72));
  EXPECT_EQ(form.lbImg->size(), QSize(800, 150));
  EXPECT_EQ(form.lbImg->font().pixelSize(), 75);
  // Both stay centred.
  EXPECT_EQ(form.lbImg->geometry().center(), QRect(0, 0, 800, 300).center());
  EXPECT_EQ(form.ptImg->geometry(), QRect(370, 114, 60, 72));
  // Portrait: the width decides.
  form.Image->resize(300, 800);
  form.ImageResize();
  EXPECT_EQ(form.ptImg->size(), QSize(60, 72));
}

TEST(Layout, RegExToggleFlipsModeAndAccentTogether) {
  TFrmMain form;
  form.show();
  EXPECT_FALSE(form.BtSrtRegEx->GetAccent());
  QTest::mouseClick(form.BtSrtRegEx, Qt::LeftButton);
  EXPECT_TRUE(form.BtSrtRegEx->GetAccent());
  EXPECT_TRUE(isRegEx);
  QTest::mouseClick(form.BtSrtRegEx, Qt::LeftButton);
  EXPECT_FALSE(form.BtSrtRegEx->GetAccent());
  EXPECT_FALSE(isRegEx);
}

TEST(Layout, WithoutAVideoWheelClickAndSubtitleButtonDoNothing) {
  TFrmMain form;
  form.show();
  SendWheel(form.Image, -120);
  QTest::mouseClick(form.Image, Qt::LeftButton);
  QTest::mouseClick(form.BtSrtOpen, Qt::LeftButton);  // would open a dialog with a player
  EXPECT_EQ(form.FWheelCount, WheelIdle);
  EXPECT_FALSE(form.ImageTimer->isActive());
  EXPECT_EQ(form.lbImg->Opacity(), 0);
  EXPECT_EQ(form.ptImg->Opacity(), 0);
  EXPECT_TRUE(form.ptImg->Data().isEmpty());
}
