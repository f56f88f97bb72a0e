#include "app/uImageView.h"

#include "controls/uFMXSvgPath.h"

#include <QPainter>

TImageView::TImageView(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void TImageView::SetBitmap(const QImage& ABitmap) {
  FBitmap = ABitmap;  // implicitly shared: the player's next write detaches its own copy
  update();
}

QRectF TImageView::PictureRect() const {
  if (FBitmap.isNull()) return {};
  QSizeF size = FBitmap.size();
  size.scale(QSizeF(width(), height()), Qt::KeepAspectRatio);
  return QRectF(QPointF((width() - size.width()) / 2, (height() - size.height()) / 2), size);
}

void TImageView::paintEvent(QPaintEvent*) {
  if (FBitmap.isNull()) return;
  QPainter p(this);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  p.drawImage(PictureRect(), FBitmap);
}

TOverlayLabel::TOverlayLabel(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  hide();
}

void TOverlayLabel::setText(const QString& AText) {
  if (AText == FText) return;
  FText = AText;
  update();
}

void TOverlayLabel::SetOpacity(qreal AValue) {
  FOpacity = AValue;
  // Hidden while transparent, so frames repaint without the overlay.
  setVisible(FOpacity > 0);
  update();
}

void TOverlayLabel::paintEvent(QPaintEvent*) {
  if (FOpacity <= 0 || FText.isEmpty()) return;
  QPainter p(this);
  p.setOpacity(FOpacity);
  p.setFont(font());
  p.setPen(Qt::white);
  p.drawText(rect(), Qt::AlignCenter, FText);
}

TOverlayPath::TOverlayPath(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  hide();
}

void TOverlayPath::SetData(const QString& ASvgData) {
  FData = ASvgData;
  if (!ParseSvgPath(ASvgData, FPath)) FPath = QPainterPath();
  update();
}

void TOverlayPath::SetOpacity(qreal AValue) {
  FOpacity = AValue;
  // Hidden while transparent, so frames repaint without the overlay.
  setVisible(FOpacity > 0);
  update();
}

void TOverlayPath::paintEvent(QPaintEvent*) {
  if (FOpacity <= 0 || FPath.isEmpty()) return;
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.setOpacity(FOpacity);
  p.setPen(Qt::NoPen);
  // Stretched onto the box like the icons of the buttons.
  p.fillPath(StretchPath(FPath, QRectF(rect())), QColor(0xE0, 0xE0, 0xE0));
}
