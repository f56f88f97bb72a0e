#include "tests/app/AppTestUtil.h"

#include "app/uFrmMain.h"
#include "app/uImageView.h"
#include "controls/uFMXBtnMedia.h"
#include "player/uFMXMfPlayerClass.h"
#include "settings/uFMXUtils.h"
#include "tests/common/Fixtures.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include <cmath>

bool WaitUntil(const std::function<bool()>& APred, int AMs) {
  QElapsedTimer clock;
  clock.start();
  while (!APred()) {
    if (clock.elapsed() > qint64(AMs) * SlowFactor) return APred();
    QTest::qWait(10);
  }
  return true;
}

void Pump(int AMs) { QTest::qWait(AMs); }

void RemoveSettingsFile() { QFile::remove(SettingsFileName()); }
void TSettingsFileCleanup::SetUp() { RemoveSettingsFile(); }
void TSettingsFileCleanup::TearDown() { RemoveSettingsFile(); }

struct TBoxCatcher::TImpl {
  QTimer Timer;
  QStringList Texts;
};

TBoxCatcher::TBoxCatcher() : FImpl(std::make_unique<TImpl>()) {
  // Polls from inside the box's own event loop.
  FImpl->Timer.setInterval(20);
  QObject::connect(&FImpl->Timer, &QTimer::timeout, [impl = FImpl.get()] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) return;
    impl->Texts << box->text();
    QAbstractButton* bt = box->defaultButton();
    if (!bt) bt = box->escapeButton();
    if (bt)
      bt->click();
    else
      box->reject();
  });
  FImpl->Timer.start();
}

TBoxCatcher::~TBoxCatcher() = default;
QStringList TBoxCatcher::Texts() const { return FImpl->Texts; }

TClipDir::TClipDir() { EXPECT_TRUE(FDir.isValid()); }

QString TClipDir::AddClip(const QString& AName, const QString& AFixture) {
  const QString path = FDir.filePath(AName);
  EXPECT_TRUE(QFile::link(FixturePath(AFixture), path)) << path.toStdString();
  return path;
}

QString TClipDir::AddFile(const QString& AName, const QByteArray& ABody) {
  const QString path = FDir.filePath(AName);
  QFile f(path);
  EXPECT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(ABody);
  return path;
}

const QByteArray ClipSrt =
    "1\r\n00:00:01,000 --> 00:00:01,900\r\nHello apple\r\n\r\n"
    "2\r\n00:00:03,000 --> 00:00:03,900\r\nBanana time\r\nsecond line\r\n\r\n"
    "3\r\n00:00:05,000 --> 00:00:05,900\r\nAn apple a day\r\n\r\n"
    "4\r\n00:00:07,000 --> 00:00:07,900\r\nCherry APPLE pie\r\n\r\n"
    "5\r\n00:00:08,000 --> 00:00:08,900\r\nunique kiwi\r\n\r\n";

int SecondOnScreen(const TFrmMain& AForm) { return SecondShownIn(AForm.Image->Bitmap()); }

bool OpenAndWait(TFrmMain& AForm, const QString& AVideo) {
  AForm.OpenVideoFile(AVideo);
  const bool ok = AForm.MfPlayer && WaitUntil([&] {
           const uint64_t duration = AForm.MfPlayer->mfpControl.uiDuration;
           return !AForm.Image->Bitmap().isNull() && duration > 0 &&
                  AForm.TimeBar->GetMax() == duration &&
                  AForm.MfPlayer->State() == TPlayerState::Paused;
         }, 15000);
  if (!ok && AForm.MfPlayer)
    ADD_FAILURE() << "open " << AVideo.toStdString() << ": frame " << !AForm.Image->Bitmap().isNull()
                  << ", duration " << AForm.MfPlayer->mfpControl.uiDuration << ", bar max "
                  << AForm.TimeBar->GetMax() << ", state " << int(AForm.MfPlayer->State());
  return ok;
}

bool WaitForPosition(TFrmMain& AForm, double ASeconds, int ASlackMs) {
  const double target = ASeconds * 1e7;
  const double late = SlowFactor > 1 ? 5e7 : ASlackMs * 1e4;
  const bool at = WaitUntil([&] {
    const double d = double(AForm.FTime) - target;
    return d >= -ASlackMs * 1e4 && d <= late;
  }, 8000);
  if (AForm.MfPlayer) WaitUntil([&] { return AForm.MfPlayer->CanMfPosThread.load(); }, 5000);
  return at;
}

bool WaitForSecondOnScreen(const TFrmMain& AForm, int ASecond) {
  return WaitUntil([&] {
    const int shown = SecondOnScreen(AForm);
    return shown == ASecond || (SlowFactor > 1 && shown > ASecond && shown <= ASecond + 5);
  });
}

void SendWheel(QWidget* AWidget, int ADelta) {
  const QPointF at(AWidget->width() / 2.0, AWidget->height() / 2.0);
  QWheelEvent ev(at, AWidget->mapToGlobal(at), QPoint(), QPoint(0, ADelta), Qt::NoButton,
                 Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(AWidget, &ev);
}
