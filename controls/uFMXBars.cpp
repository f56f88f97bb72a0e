// The position bar and the volume bar of the transport row.
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <cmath>

#include "controls/uFMXBtnMedia.h"
#include "player/uFMXMfPlayerClass.h"
#include "settings/uFMXUtils.h"

namespace {

struct TBarColors {
  QRgb Track;
  QRgb Value;
};

TBarColors BarColors(TFMXMouseMode AMode) {
  switch (AMode) {
    case TFMXMouseMode::isHover:
      return {ForeColor1, AccentColor};
    case TFMXMouseMode::isDown:
      return {ForeColor0, AccentDownColor};
    case TFMXMouseMode::isNone:
    default:
      return {ForeColor2, AccentNoneColor};
  }
}

bool ShowsVideo(TMfPlayer* APlayer) { return APlayer && APlayer->HasVideo(); }

// Pointer x as a share of the width, never negative; right of the bar it
// grows past 1 and the setters cap it.
double PointerShare(float X, int AWidth) {
  if (AWidth <= 0 || !(X > 0))
    return 0;
  return double(X) / AWidth;
}

// Whole pixels of the value part, the unit in which a repaint is worth it.
int64_t PixelExtent(double AShare, int AWidth) {
  return static_cast<int64_t>(std::trunc(AShare * AWidth));
}

}  // namespace

// ---------------------------------------------------------------- TFMXPosBar

TFMXPosBar::TFMXPosBar(QWidget* AOwner) : QWidget(AOwner) {
  FRectB.Bounds = QRectF(0, height() * 2.0 / 5, width(), height() / 5.0);
  FRectF.Visible = false;
}

TFMXPosBar::~TFMXPosBar() = default;

void TFMXPosBar::SetValue(uint64_t a) {
  const int64_t old = PixelExtent(double(FValue) / double(FMax), width());
  const uint64_t limit = LastSeekablePosition(FMax);
  if (!ShowsVideo(FMfPlayer))
    FValue = 0;
  else
    FValue = a > limit ? limit : a;
  if (PixelExtent(double(FValue) / double(FMax), width()) != old)
    UpdateBar();
}

void TFMXPosBar::SetMax(uint64_t a) {
  FMax = a == 0 ? 1 : a;
  SetValue(0);
}

void TFMXPosBar::MouseToValue(float X) {
  if (!FMfPlayer)
    return;
  // Capped far beyond any duration so the conversion stays defined.
  const double v = std::min(PointerShare(X, width()) * double(FMax), 1.8e19);
  SetValue(static_cast<uint64_t>(v));
  FMfPlayer->SetNewPosition(FValue);
}

void TFMXPosBar::UpdateBar() {
  const TBarColors colors = BarColors(FMXMouseMode);
  FRectB.Fill = colors.Track;
  FRectF.Fill = colors.Value;
  FRectF.Visible = FValue > 0;
  if (FRectF.Visible) {
    FRectF.Bounds = FRectB.Bounds;
    FRectF.Bounds.setWidth(double(FValue) / double(FMax) * width());
  }
  update();
}

void TFMXPosBar::UpdateMouseMode() {
  const TFMXMouseMode old = FMXMouseMode;
  FMXMouseMode = GetMouseMode(isDown, isHover);
  if (FMXMouseMode != old)
    UpdateBar();
}

void TFMXPosBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  PaintShape(painter, FRectB);
  PaintShape(painter, FRectF);
}

void TFMXPosBar::resizeEvent(QResizeEvent*) {
  FMXMouseMode = GetMouseMode(isDown, isHover);
  // The track is the middle fifth of the height, across the whole width.
  FRectB.Bounds = QRectF(0, height() * 2.0 / 5, width(), height() / 5.0);
  UpdateBar();
}

void TFMXPosBar::mousePressEvent(QMouseEvent* AEvent) {
  // The whole bar takes the press, not only the track; Qt's grab keeps the
  // drag going past either end.
  isDown = true;
  MouseToValue(AEvent->position().x());
  UpdateMouseMode();
}

void TFMXPosBar::mouseMoveEvent(QMouseEvent* AEvent) {
  if (isDown)
    MouseToValue(AEvent->position().x());
}

void TFMXPosBar::mouseReleaseEvent(QMouseEvent*) {
  isDown = false;
  UpdateMouseMode();
}

void TFMXPosBar::enterEvent(QEnterEvent*) {
  isHover = true;
  UpdateMouseMode();
}

void TFMXPosBar::leaveEvent(QEvent*) {
  isHover = false;
  UpdateMouseMode();
}

void TFMXPosBar::wheelEvent(QWheelEvent* AEvent) {
  if (FOnMouseWheel)
    FOnMouseWheel(this, AEvent);
  else
    AEvent->ignore();
}

// ---------------------------------------------------------------- TFMXVolBar

TFMXVolBar::TFMXVolBar(QWidget* AOwner) : QWidget(AOwner) {}

TFMXVolBar::~TFMXVolBar() = default;

void TFMXVolBar::SetValue(float x) {
  const int64_t old = PixelExtent(FValue, width());
  if (!ShowsVideo(FMfPlayer) || !(x > 0))  // also NaN
    FValue = 0;
  else
    FValue = x > 1 ? 1.0f : x;
  if (PixelExtent(FValue, width()) != old)
    UpdateBar();
}

void TFMXVolBar::MouseToValue(float X) {
  if (!FMfPlayer)
    return;
  SetValue(static_cast<float>(std::min(PointerShare(X, width()), 2.0)));
  FMfPlayer->SetVolume(FValue);
}

void TFMXVolBar::UpdateBar() {
  const TBarColors colors = BarColors(FMXMouseMode);
  const qreal w = width(), h = height(), c = FValue * w;
  // A right triangle rising to the top-right corner, and the part of it left
  // of x = c, whose sloping edge lies on the track's.
  QPainterPath back;
  back.moveTo(0, h);
  back.lineTo(w, 0);
  back.lineTo(w, h);
  back.lineTo(0, h);
  QPainterPath front;
  front.moveTo(0, h);
  front.lineTo(c, h * (1 - FValue));
  front.lineTo(c, h);
  front.lineTo(0, h);
  FPathB = {back, colors.Track};
  FPathF = {front, colors.Value};
  update();
}

void TFMXVolBar::UpdateMouseMode() {
  const TFMXMouseMode old = FMXMouseMode;
  FMXMouseMode = GetMouseMode(isDown, isHover);
  if (FMXMouseMode != old)
    UpdateBar();
}

void TFMXVolBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  PaintShape(painter, FPathB);
  PaintShape(painter, FPathF);
}

void TFMXVolBar::resizeEvent(QResizeEvent*) {
  FMXMouseMode = GetMouseMode(isDown, isHover);
  UpdateBar();
}

void TFMXVolBar::mousePressEvent(QMouseEvent* AEvent) {
  isDown = true;
  MouseToValue(AEvent->position().x());
  UpdateMouseMode();
}

void TFMXVolBar::mouseMoveEvent(QMouseEvent* AEvent) {
  if (isDown)
    MouseToValue(AEvent->position().x());
}

void TFMXVolBar::mouseReleaseEvent(QMouseEvent*) {
  isDown = false;
  UpdateMouseMode();
}

void TFMXVolBar::enterEvent(QEnterEvent*) {
  isHover = true;
  UpdateMouseMode();
}

void TFMXVolBar::leaveEvent(QEvent*) {
  isHover = false;
  UpdateMouseMode();
}
