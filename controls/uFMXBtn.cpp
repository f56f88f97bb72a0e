#include "controls/uFMXBtn.h"

#include <QMouseEvent>
#include <QPainter>

#include "controls/uFMXSvgPath.h"
#include "settings/uFMXUtils.h"

TFMXMouseMode GetMouseMode(bool isDown, bool isHover) {
  if (isDown)
    return TFMXMouseMode::isDown;
  return isHover ? TFMXMouseMode::isHover : TFMXMouseMode::isNone;
}

_TFMXBtn::_TFMXBtn(QWidget* AOwner) : QWidget(AOwner) {
  FPath.Data.setFillRule(Qt::OddEvenFill);
  setCursor(Qt::PointingHandCursor);
  // The colours reach the shapes at the first layout, icon, accent or pointer
  // change; the owner sets size and icon right after creating the button.
}

_TFMXBtn::~_TFMXBtn() = default;

void _TFMXBtn::SetAccent(bool AValue) {
  if (AValue == FAccent)
    return;
  FAccent = AValue;
  UpdateColor();
}

void _TFMXBtn::SetSvgData(const QString& AValue) {
  if (AValue == FSvgData)
    return;
  FSvgData = AValue;
  ParseSvgPath(AValue, FPath.Data);  // malformed text leaves the icon empty
  UpdateColor();
}

void _TFMXBtn::SetSize(float AWidth, float AHeight) {
  setFixedSize(qRound(AWidth), qRound(AHeight));
  UpdateLayout(AWidth, AHeight);
}

QRectF _TFMXBtn::GetIconArea() const {
  return QRectF(rect()).marginsRemoved(QMarginsF(FIconMargin, FIconMargin, FIconMargin, FIconMargin));
}

QPainterPath _TFMXBtn::GetIconOutline() const { return StretchPath(FPath.Data, GetIconArea()); }

// Corner radius and icon inset both follow the height only, so wide buttons
// keep the same look as square ones.
void _TFMXBtn::UpdateLayout(float /*AWidth*/, float AHeight) {
  FMXMouseMode = GetMouseMode(isDown, isHover);
  const qreal r = static_cast<float>(double(AHeight) * 0.1);
  FRect.Bounds = QRectF(rect());
  FRect.Radius = r;
  FIconMargin = r;
  UpdateColor();
}

void _TFMXBtn::UpdateColor() {
  // An accent button keeps near-white icons; a plain one inverts under the pointer.
  switch (FMXMouseMode) {
    case TFMXMouseMode::isNone:
      FRect.Fill = FAccent ? AccentNoneColor : BackColor2;
      FPath.Fill = FAccent ? 0xFFDDDDDD : ForeColor2;
      break;
    case TFMXMouseMode::isHover:
      FRect.Fill = FAccent ? AccentColor : ForeColor1;
      FPath.Fill = FAccent ? 0xFFEEEEEE : BackColor1;
      break;
    case TFMXMouseMode::isDown:
      FRect.Fill = FAccent ? AccentDownColor : ForeColor0;
      FPath.Fill = FAccent ? 0xFFFFFFFF : BackColor0;
      break;
  }
  update();
}

void _TFMXBtn::UpdateMouseMode() {
  const TFMXMouseMode old = FMXMouseMode;
  FMXMouseMode = GetMouseMode(isDown, isHover);
  if (FMXMouseMode != old)
    UpdateColor();
}

bool _TFMXBtn::BtnReleased(float X, float Y) {
  isDown = false;
  UpdateMouseMode();
  // Left and top edges belong to the button, right and bottom ones do not.
  return X >= 0 && Y >= 0 && X < width() && Y < height();
}

void _TFMXBtn::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  PaintShape(painter, FRect);
  PaintShape(painter, TFMXPathShape{GetIconOutline(), FPath.Fill});
}

void _TFMXBtn::resizeEvent(QResizeEvent*) { UpdateLayout(width(), height()); }

void _TFMXBtn::mousePressEvent(QMouseEvent* AEvent) {
  // Qt grabs the mouse for us from here to the release.
  isDown = true;
  UpdateMouseMode();
  AEvent->accept();
}

void _TFMXBtn::mouseReleaseEvent(QMouseEvent* AEvent) {
  const QPointF p = AEvent->position();
  BtnMouseUp(this, AEvent->button(), AEvent->modifiers(), p.x(), p.y());
  AEvent->accept();
}

void _TFMXBtn::enterEvent(QEnterEvent*) {
  isHover = true;
  UpdateMouseMode();
}

void _TFMXBtn::leaveEvent(QEvent*) {
  isHover = false;
  UpdateMouseMode();
}

TFMXBtn::TFMXBtn(QWidget* AOwner) : _TFMXBtn(AOwner) {}

void TFMXBtn::BtnMouseUp(QObject* Sender, Qt::MouseButton, Qt::KeyboardModifiers, float X, float Y) {
  // A copy, so a handler may even destroy this button.
  if (BtnReleased(X, Y) && FExecute) {
    const TFMXNotifyEvent handler = FExecute;
    handler(Sender);
  }
}
