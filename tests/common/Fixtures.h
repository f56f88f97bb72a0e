#pragma once
// Helpers around the media fixtures that scripts/make-fixtures writes.
#include <QImage>
#include <QRgb>
#include <QString>

// The fixture file NAME in $QUENNEL_FIXTURES.
QString FixturePath(const QString& name);

// The solid colour of second SECOND (0..9) of colors.mp4 and colors-video.mp4.
QRgb FixtureColorAt(int second);

// Whether two colours differ by at most TOLERANCE in each channel (the
// encoder moves solid colours by a few steps).
bool ColorsClose(QRgb a, QRgb b, int tolerance = 40);

// Whether the pixel at the centre of IMAGE is close to COLOR.
bool CenterIsColor(const QImage& image, QRgb color, int tolerance = 40);

// The second of colors.mp4 whose colour the centre of IMAGE shows, or -1.
int SecondShownIn(const QImage& image);
