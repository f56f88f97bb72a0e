// Wheel seeking over the image, the panel and the position bar, and the
// click on the image that toggles play and pause.
#include "app/uFrmMain.h"

#include "app/uImageView.h"
#include "controls/uFMXBtnMedia.h"
#include "controls/uFMXIcons.h"
#include "player/uFMXMfPlayerClass.h"

#include <QPropertyAnimation>
#include <QSequentialAnimationGroup>
#include <QTimer>


// Where a pending wheel seek will go, as the overlay shows it.
static QString WheelText(int64_t ATime, int64_t AWheelCount, bool AisSubtitleMode) {
  if (!AisSubtitleMode) return HnsToStr(std::max<int64_t>(0, ATime + AWheelCount));
  if (AWheelCount > 0) return QStringLiteral("\u226B");
  if (AWheelCount < 0) return QStringLiteral("\u226A");
  return QString();
}

void TFrmMain::ImageMouseWheel(int WheelDelta) {
  // Scroll phases and sideways scrolling carry no vertical notch.
  if (!MfPlayer || WheelDelta == 0) return;
  const int64_t step = static_cast<int64_t>(DefaultSkipCount);
  // Turning towards the user (negative delta) goes forward.
  const int64_t notch = WheelDelta < 0 ? step : -step;
  if (FWheelCount == WheelIdle) {
    FWheelCount = notch;
    LWheelCount = FWheelCount;
    falbImg->stop();
    falbImg->setStartValue(0.0);
    falbImg->setEndValue(1.0);
    lbImg->setText(WheelText(FTime, FWheelCount, !SrtIndex.empty()));
    falbImg->start();
    ImageTimer->start();
  } else {
    FWheelCount += notch;
    lbImg->setText(WheelText(FTime, FWheelCount, !SrtIndex.empty()));
  }
}

void TFrmMain::ImageTimerTimer() {
  if (FWheelCount != LWheelCount) {
    LWheelCount = FWheelCount;
    return;
  }
  // The wheel rested a whole interval: seek from the latest reported position.
  ImageTimer->stop();
  falbImg->stop();
  falbImg->setStartValue(1.0);
  falbImg->setEndValue(0.0);
  falbImg->start();
  const int64_t count = FWheelCount;
  FWheelCount = WheelIdle;
  if (!MfPlayer || count == 0) return;
  if (!SrtIndex.empty()) {
    const uint64_t now = static_cast<uint64_t>(std::max<int64_t>(0, FTime));
    MfPlayer->SetNewPosition(count > 0 ? NextSrtTime(now, SrtIndex) : PrevSrtTime(now, SrtIndex));
  } else if (count > 0) {
    SkipFwd(MfPlayer, static_cast<uint64_t>(count));
  } else {
    SkipRwd(MfPlayer, static_cast<uint64_t>(-count));
  }
}

void TFrmMain::ImageClick() {
  if (!MfPlayer) return;
  // The symbol of the action the click takes, as on the play/pause button.
  ptImg->SetData(QString::fromLatin1(FisPlaying ? IconPause : IconPlay));
  faptImg->stop();
  faptImg->start();
  MfPlayer->StartPause();
}
