#include "about/uFMXFrmAbout.h"

#include <QColor>
#include <QEvent>
#include <QFont>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>

#include "resources/uResources.h"
#include "settings/uFMXUtils.h"

TFMXFrmAbout* FMXFrmAbout = nullptr;

namespace {

// The labels keep their own family, size and colour; only the font style
// (weight, slant) comes from the desktop's font.
QLabel* makeInfoLabel(QWidget* parent, QRect r, QRgb color) {
  auto* l = new QLabel(parent);
  l->setGeometry(r);
  l->setAlignment(Qt::AlignCenter);
  QFont f = l->font();
  f.setFamily(QStringLiteral("Tahoma"));
  f.setPixelSize(15);
  l->setFont(f);
  QPalette p = l->palette();
  p.setColor(QPalette::WindowText, QColor::fromRgba(color));
  l->setPalette(p);
  return l;
}

QPixmap resourcePixmap(const QString& name) {
  QImage image;
  LoadFromResource(image, name);
  return QPixmap::fromImage(image);
}

}  // namespace

TFMXFrmAbout::TFMXFrmAbout(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("FMXFrmAbout"));
  setFixedSize(512, 256);
  setModal(true);
  QPalette p = palette();
  p.setColor(QPalette::Window, QColor(0x88, 0x88, 0x88));
  setPalette(p);
  setAutoFillBackground(true);

  Image1 = new QLabel(this);
  Image1->setGeometry(0, 0, 512, 256);
  Image1->setScaledContents(true);
  Image2 = new QLabel(Image1);
  Image2->setGeometry(0, 0, 512, 128);
  Image2->setAlignment(Qt::AlignCenter);  // own pixel size, never stretched

  Layout1 = new QWidget(Image1);
  Layout1->setGeometry(0, 128, 512, 128);
  LbVersion = makeInfoLabel(Layout1, {0, 8, 512, 17}, 0xFFFFFFFF);
  LbURL = makeInfoLabel(Layout1, {0, 65, 512, 20}, 0xFF00FFFF);
  LbURL->setCursor(Qt::PointingHandCursor);
  LbURL->installEventFilter(this);

  ButtonOK = new QPushButton(QStringLiteral("OK"), Layout1);
  ButtonOK->setObjectName(QStringLiteral("ButtonOK"));
  ButtonOK->setGeometry(429, 95, 75, 25);
  ButtonOK->setFocusPolicy(Qt::NoFocus);
  // ButtonOKStyle1: a light glass button that sits on the artwork.
  ButtonOK->setStyleSheet(
      QStringLiteral("QPushButton { color: #FFFFFF; background-color: rgba(255, 255, 255, 48);"
                     " border: 1px solid rgba(255, 255, 255, 160); border-radius: 3px; }"
                     "QPushButton:hover { background-color: rgba(255, 255, 255, 80); }"
                     "QPushButton:pressed { background-color: rgba(255, 255, 255, 120); }"));
  connect(ButtonOK, &QPushButton::clicked, this, &QDialog::accept);

  FormCreate();
}

void TFMXFrmAbout::FormCreate() {
  Image1->setPixmap(resourcePixmap(QStringLiteral(":/SPLASHBACK")));
  Image2->setPixmap(resourcePixmap(QStringLiteral(":/SPLASHTEXT")));

  setWindowTitle(IsLangJA() ? QStringLiteral("このプログラムについて")
                            : QStringLiteral("About this program"));

  const QString version = GetVersionStr();
  LbVersion->setText(version.isEmpty() ? QStringLiteral("Ver.1.0")
                                       : QStringLiteral("Ver.") + version);
  SetURLLabel();
}

void TFMXFrmAbout::FormShow() { SetDarkTitleBar(this); }

void TFMXFrmAbout::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

void TFMXFrmAbout::Execute() { exec(); }

QString TFMXFrmAbout::ProductPageURL() {
  return IsLangJA() ? QStringLiteral(QUENNEL_URL_JA) : QStringLiteral(QUENNEL_URL_EN);
}

void TFMXFrmAbout::SetURLLabel() { LbURL->setText(ProductPageURL()); }

void TFMXFrmAbout::LbURLClick() { ShellOpen(ProductPageURL()); }

bool TFMXFrmAbout::eventFilter(QObject* watched, QEvent* event) {
  // A click is a left release over the link, as with a button.
  if (watched == LbURL && event->type() == QEvent::MouseButtonRelease) {
    auto* me = static_cast<QMouseEvent*>(event);
    if (me->button() == Qt::LeftButton && LbURL->rect().contains(me->position().toPoint())) {
      LbURLClick();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}
