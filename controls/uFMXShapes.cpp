#include "controls/uFMXShapes.h"

#include <QColor>
#include <QPainter>

void PaintShape(QPainter& APainter, const TFMXRectShape& AShape) {
  if (!AShape.Visible || AShape.Bounds.isEmpty())
    return;
  APainter.setPen(Qt::NoPen);
  APainter.setBrush(QColor::fromRgba(AShape.Fill));
  if (AShape.Radius > 0)
    APainter.drawRoundedRect(AShape.Bounds, AShape.Radius, AShape.Radius);
  else
    APainter.drawRect(AShape.Bounds);
}

void PaintShape(QPainter& APainter, const TFMXPathShape& AShape) {
  if (AShape.Data.isEmpty())
    return;
  APainter.fillPath(AShape.Data, QColor::fromRgba(AShape.Fill));
}
