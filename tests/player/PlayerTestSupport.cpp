#include "tests/player/PlayerTestSupport.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTest>

TRecordingPlayer::TRecordingPlayer(std::shared_ptr<IMFMediaFramework> AFramework) {
  auto onFrame = [this](const QImage& ABitmap) {
    ++FrameCount;
    LastFrame = ABitmap.copy();
  };
  auto onDuration = [this](uint64_t ATime) {
    ++DurationCount;
    LastDuration = ATime;
  };
  auto onStatus = [this](uint64_t ATime, float AVolume, bool AisPlaying) {
    Reports.push_back({ATime, AVolume, AisPlaying});
  };
  if (AFramework)
    FPlayer = std::make_unique<TMfPlayer>(AFramework, onFrame, onDuration, onStatus);
  else
    FPlayer = std::make_unique<TMfPlayer>(onFrame, onDuration, onStatus);
}

TRecordingPlayer::~TRecordingPlayer() {
  if (FPlayer) FPlayer->MediaShutDown();
}

bool TRecordingPlayer::OpenAndWait(const QString& AFixture, int ATimeoutMs) {
  if (FAILED(FPlayer->OpenURL(FixturePath(AFixture)))) return false;
  return WaitUntil([this] { return DurationCount > 0; }, ATimeoutMs);
}

bool WaitUntil(const std::function<bool()>& ADone, int ATimeoutMs) {
  QDeadlineTimer deadline(ATimeoutMs);
  while (!ADone()) {
    if (deadline.hasExpired()) return ADone();
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QTest::qSleep(1);
  }
  return true;
}

void Pump(int AMs) {
  WaitUntil([] { return false; }, AMs);
}
