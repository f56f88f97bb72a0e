#include "controls/uFMXBtnMedia.h"

#include "controls/uFMXIcons.h"
#include "player/uFMXMfPlayerClass.h"

namespace {
// Neither a skip nor the position bar lands in the last 0.3 s of a medium.
constexpr uint64_t EndMargin = 3000000;
}  // namespace

uint64_t DefaultSkipCount = MsToHns(3000);

uint64_t LastSeekablePosition(uint64_t ADuration) {
  return ADuration > EndMargin ? ADuration - EndMargin : 0;
}

QString HnsToStr(int64_t t) {
  // Negating in unsigned arithmetic keeps INT64_MIN defined.
  const uint64_t abs = t < 0 ? 0 - static_cast<uint64_t>(t) : static_cast<uint64_t>(t);
  const uint64_t hours = abs / 36000000000ULL;
  const uint64_t minutes = (abs % 36000000000ULL) / 600000000ULL;
  const uint64_t seconds = (abs % 600000000ULL) / 10000000ULL;
  const QString text = QStringLiteral("%1:%2:%3")
                           .arg(hours, 2, 10, QChar(u'0'))
                           .arg(minutes, 2, 10, QChar(u'0'))
                           .arg(seconds, 2, 10, QChar(u'0'));
  // Truncated to nothing (e.g. -0.5 s) shows no sign.
  return t < 0 && abs >= 10000000ULL ? u'-' + text : text;
}

void SkipFwd(TMfPlayer* APlayer, uint64_t AAmount) {
  if (!APlayer)
    return;
  const uint64_t limit = LastSeekablePosition(APlayer->mfpControl.uiDuration.load());
  const uint64_t position = APlayer->mfpControl.CurrentPosition.load();
  // Saturate instead of wrapping for absurd amounts.
  uint64_t target = AAmount > UINT64_MAX - position ? UINT64_MAX : position + AAmount;
  if (target > limit)
    target = limit;
  APlayer->SetNewPosition(target);
}

void SkipRwd(TMfPlayer* APlayer, uint64_t AAmount) {
  if (!APlayer)
    return;
  const uint64_t position = APlayer->mfpControl.CurrentPosition.load();
  APlayer->SetNewPosition(position > AAmount ? position - AAmount : 0);
}

TFMXPlayPauseBtn::TFMXPlayPauseBtn(QWidget* AOwner) : _TFMXBtn(AOwner) { IconSet(false); }

void TFMXPlayPauseBtn::IconSet(bool AisPlaying) {
  // The icon names the action a click takes, so a playing player shows pause.
  // SetSvgData repaints only when the icon really changes.
  SetSvgData(QString::fromLatin1(AisPlaying ? IconPause : IconPlay));
}

void TFMXPlayPauseBtn::BtnMouseUp(QObject*, Qt::MouseButton, Qt::KeyboardModifiers, float X,
                                  float Y) {
  // The icon follows the player's next status report, not the click.
  if (BtnReleased(X, Y) && FMfPlayer)
    FMfPlayer->StartPause();
}

TFMXPlayFwdBtn::TFMXPlayFwdBtn(QWidget* AOwner) : _TFMXBtn(AOwner), FCount(MsToHns(3000)) {
  SetSvgData(QString::fromLatin1(IconSkipFwd));
}

void TFMXPlayFwdBtn::BtnMouseUp(QObject*, Qt::MouseButton, Qt::KeyboardModifiers, float X,
                                float Y) {
  if (BtnReleased(X, Y) && FMfPlayer)
    SkipFwd(FMfPlayer, FCount);
}

TFMXPlayRwdBtn::TFMXPlayRwdBtn(QWidget* AOwner) : _TFMXBtn(AOwner), FCount(MsToHns(1000)) {
  SetSvgData(QString::fromLatin1(IconSkipRwd));
}

void TFMXPlayRwdBtn::BtnMouseUp(QObject*, Qt::MouseButton, Qt::KeyboardModifiers, float X,
                                float Y) {
  if (BtnReleased(X, Y))
    SkipRwd(FMfPlayer, FCount);
}
