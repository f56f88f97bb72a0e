#pragma once
#include <QtCore/QString>
#include <QtGui/QImage>

// Replaces bitmap with the image resource of that name (":/SPLASHBACK", or
// just "SPLASHBACK"); the format is recognised from the data. Returns true.
// Throws std::runtime_error naming the resource when it is missing or unreadable.
bool LoadFromResource(QImage& bitmap, const QString& name);
