#include "app/uFrmSplash.h"

#include "app/uImageView.h"
#include "resources/uResources.h"

#include <QGuiApplication>
#include <QScreen>

TSplashFrm::TSplashFrm(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setAttribute(Qt::WA_DeleteOnClose, false);
  Image1 = new TImageView(this);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image2 = new TImageView(Image1);
  Image2->setObjectName(QStringLiteral("Image2"));
  Image2->setGeometry(0, 64, 512, 128);
  FormCreate();
}

void TSplashFrm::FormCreate() {
  QImage back, title;
  LoadFromResource(back, QStringLiteral("SPLASHBACK"));
  LoadFromResource(title, QStringLiteral("SPLASHTEXT"));
  Image1->SetBitmap(back);
  Image2->SetBitmap(title);
  setFixedSize(512, 256);
  Image1->setGeometry(0, 0, 512, 256);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame(QPoint(0, 0), size());
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
}
