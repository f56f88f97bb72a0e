#pragma once
// Our reader for the icon path data: the commands M, L, C and Z with absolute
// coordinates, numbers such as 0, 1.000, .5 or -2e-1, separated by spaces or
// commas; a command letter may be left out to repeat the last L or C (after M
// the pairs continue as lines).

#include <QPainterPath>
#include <QRectF>
#include <QString>

// Returns false and leaves APath empty when the text is malformed or uses
// anything else (relative commands, arcs, ...).
bool ParseSvgPath(const QString& AText, QPainterPath& APath);

// Maps the path's own bounding box onto ATarget, each axis scaled separately.
// A path without extent along an axis is centred on that axis.
QPainterPath StretchPath(const QPainterPath& APath, const QRectF& ATarget);
