#pragma once
// The shapes a control is drawn from. They are plain members of the control,
// not widgets: the control paints them itself in its paintEvent.

#include <QPainterPath>
#include <QRectF>
#include <QRgb>

class QPainter;

// A filled rectangle without outline, optionally with round corners.
struct TFMXRectShape {
  QRectF Bounds;      // in the control's own coordinates
  qreal Radius = 0;   // corner radius, the same horizontally and vertically
  QRgb Fill = 0;      // 0 (transparent) until the control colours it
  bool Visible = true;
};

// A filled path without outline, in the coordinates it is painted at.
struct TFMXPathShape {
  QPainterPath Data;
  QRgb Fill = 0;
};

void PaintShape(QPainter& APainter, const TFMXRectShape& AShape);
void PaintShape(QPainter& APainter, const TFMXPathShape& AShape);
