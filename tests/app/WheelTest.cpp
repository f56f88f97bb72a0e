// Wheel seeking over the image, the panel and the position bar, in subtitle
// and time mode, and the click on the image.
#include "app/uFrmMain.h"
#include "app/uImageView.h"
#include "app/uSrtPanel.h"
#include "controls/uFMXBtnMedia.h"
#include "controls/uFMXIcons.h"
#include "player/uFMXMfPlayerClass.h"
#include "tests/app/AppTestUtil.h"
#include "tests/common/Fixtures.h"

#include <QAbstractAnimation>
#include <QPropertyAnimation>
#include <QSequentialAnimationGroup>
#include <QTest>
#include <QTimer>

namespace {

constexpr int Towards = -120;  // turning the wheel towards the user: forwards
constexpr int Away = 120;
constexpr int64_t Sec = 10000000;

class WheelTest : public ::testing::Test {
 protected:
  void Open(bool AwithSubtitles) {
    const QString video = FDir.AddClip(QStringLiteral("a.mp4"));
    if (AwithSubtitles) FDir.AddFile(QStringLiteral("a.srt"), ClipSrt);
    FForm = std::make_unique<TFrmMain>();
    FForm->show();
    ASSERT_TRUE(OpenAndWait(*FForm, video));
    ASSERT_TRUE(WaitForPosition(*FForm, 0));
  }
  void Seek(int ASeconds) {
    FForm->MfPlayer->SetNewPosition(uint64_t(ASeconds) * Sec);
    ASSERT_TRUE(WaitForPosition(*FForm, ASeconds));
  }
  bool Settled() {
    return WaitUntil([&] { return FForm->FWheelCount == WheelIdle; }, 3000);
  }
  // Notches on ASurface; answers the overlay's text after each.
  QStringList Turn(QWidget* ASurface, std::initializer_list<int> ADeltas) {
    QStringList texts;
    for (int d : ADeltas) {
      SendWheel(ASurface, d);
      texts << FForm->lbImg->text();
    }
    return texts;
  }

  TClipDir FDir;
  std::unique_ptr<TFrmMain> FForm;
};

}  // namespace

TEST_F(WheelTest, SubtitleModeStepsOneEntryPerTurn) {
  Open(true);
  FForm->JumpToEntry(2);
  ASSERT_TRUE(WaitForPosition(*FForm, 5));

  // However many notches, one entry forward.
  const QString fwd = QStringLiteral("\u226B"), back = QStringLiteral("\u226A");
  EXPECT_EQ(Turn(FForm->Image, {Towards, Towards, Towards, Towards, Towards}),
            QStringList({fwd, fwd, fwd, fwd, fwd}));
  EXPECT_EQ(FForm->FWheelCount, 5 * int64_t(DefaultSkipCount));
  EXPECT_TRUE(FForm->ImageTimer->isActive());
  EXPECT_EQ(FForm->falbImg->endValue().toDouble(), 1.0);
  EXPECT_TRUE(Settled());
  EXPECT_FALSE(FForm->ImageTimer->isActive());
  EXPECT_EQ(FForm->falbImg->endValue().toDouble(), 0.0);  // fading out
  EXPECT_TRUE(WaitForPosition(*FForm, 7));
  EXPECT_TRUE(WaitForSecondOnScreen(*FForm, 7));
  EXPECT_TRUE(WaitUntil([&] { return !FForm->FisPlaying; }));

  // Notches that cancel out: no seek at all.
  EXPECT_EQ(Turn(FForm->Image, {Towards, Away}), QStringList({fwd, QString()}));
  EXPECT_TRUE(Settled());
  Pump(300);
  EXPECT_TRUE(WaitForPosition(*FForm, 7));

  // The panel and the position bar act like the image.
  EXPECT_EQ(Turn(FForm->lbSrt, {Away}), QStringList({back}));
  EXPECT_TRUE(Settled());
  EXPECT_TRUE(WaitForPosition(*FForm, 5));
  EXPECT_EQ(Turn(FForm->TimeBar, {Towards, Towards}), QStringList({fwd, fwd}));
  EXPECT_TRUE(Settled());
  EXPECT_TRUE(WaitForPosition(*FForm, 7));
  EXPECT_TRUE(WaitUntil([&] { return FForm->lbImg->Opacity() == 0; }, 2000));
}

TEST_F(WheelTest, TimeModeStepsThreeSecondsPerNotch) {
  Open(false);
  ASSERT_TRUE(FForm->SrtIndex.empty());
  Seek(1);
  // Back past the start: the label and the seek stop at 0.
  EXPECT_EQ(Turn(FForm->Image, {Away}), QStringList({QStringLiteral("00:00:00")}));
  EXPECT_TRUE(FForm->ImageTimer->isActive());
  EXPECT_TRUE(Settled());
  EXPECT_TRUE(WaitForPosition(*FForm, 0));

  // The label shows where the seek will go: 00:00:03, 00:00:06 from 0.
  const int64_t from = FForm->FTime;
  EXPECT_EQ(Turn(FForm->lbSrt, {Towards, Towards}),
            QStringList({HnsToStr(from + 3 * Sec), HnsToStr(from + 6 * Sec)}));
  if (SlowFactor == 1) EXPECT_EQ(FForm->lbImg->text(), QStringLiteral("00:00:06"));
  // Nothing moves until the wheel has rested.
  EXPECT_NE(FForm->FWheelCount, WheelIdle);
  EXPECT_TRUE(Settled());
  EXPECT_TRUE(WaitForPosition(*FForm, 6));
  EXPECT_TRUE(WaitForSecondOnScreen(*FForm, 6));
}

TEST_F(WheelTest, ClickTogglesPlayAndFlashesTheActionsSymbol) {
  Open(false);
  ASSERT_FALSE(FForm->FisPlaying);
  QTest::mouseClick(FForm->Image, Qt::LeftButton);
  EXPECT_EQ(FForm->ptImg->Data(), QString::fromLatin1(IconPlay));
  EXPECT_EQ(FForm->faptImg->state(), QAbstractAnimation::Running);
  EXPECT_FALSE(FForm->FisPlaying);  // the next report says so, not the click
  ASSERT_TRUE(WaitUntil([&] { return FForm->FisPlaying; }));
  // The player is still settling its resume for a moment; a pause sent in
  // that window is the player's business, not the window's.
  EXPECT_TRUE(WaitUntil([&] { return FForm->MfPlayer->CanMfPosThread.load(); }));
  EXPECT_TRUE(WaitUntil([&] { return FForm->faptImg->state() == QAbstractAnimation::Stopped; }));
  EXPECT_EQ(FForm->ptImg->Opacity(), 0);

  QTest::mouseClick(FForm->Image, Qt::LeftButton);
  EXPECT_EQ(FForm->ptImg->Data(), QString::fromLatin1(IconPause));
  ASSERT_TRUE(WaitUntil([&] { return !FForm->FisPlaying; }));
  // A press on the image released elsewhere is no click.
  QTest::mousePress(FForm->Image, Qt::LeftButton, {}, QPoint(5, 5));
  QTest::mouseRelease(FForm->Image, Qt::LeftButton, {}, QPoint(-20, -20));
  Pump(400);
  EXPECT_FALSE(FForm->FisPlaying);
}
