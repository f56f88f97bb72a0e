#include "ControlsTestUtil.h"

#include <QCoreApplication>
#include <QEnterEvent>
#include <QTest>

#include "settings/uFMXUtils.h"

QImage Shot(QWidget* AWidget) {
  QImage image(AWidget->size(), QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  AWidget->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
  return image;
}

void Settle() {
  QCoreApplication::processEvents();
  QTest::qWait(30);
  QCoreApplication::processEvents();
}

void SetTestColors() {
  AccentColor = 0xFF0078D4;
  AccentNoneColor = 0xFF3399DD;
  AccentDownColor = 0xFF005A9E;
  BackColor0 = 0xFFFFFFFF;
  BackColor1 = 0xFFF0F0F0;
  BackColor2 = 0xFFE0E0E0;
  ForeColor0 = 0xFF000000;
  ForeColor1 = 0xFF404040;
  ForeColor2 = 0xFF808080;
}

void SendEnter(QWidget* AWidget) {
  QEnterEvent event(QPointF(1, 1), AWidget->mapTo(AWidget->window(), QPointF(1, 1)),
                    AWidget->mapToGlobal(QPointF(1, 1)));
  QCoreApplication::sendEvent(AWidget, &event);
}

void SendLeave(QWidget* AWidget) {
  QEvent event(QEvent::Leave);
  QCoreApplication::sendEvent(AWidget, &event);
}
