#include "tests/common/Fixtures.h"

#include <QDir>
#include <cstdlib>

namespace {
// Keep in step with the colour list in scripts/make-fixtures.
constexpr QRgb Colors[] = {0xffff0000, 0xff00ff00, 0xff0000ff, 0xffffff00, 0xff00ffff,
                           0xffff00ff, 0xffffffff, 0xff808080, 0xffff8000, 0xff8000ff};
constexpr int ColorCount = sizeof(Colors) / sizeof(Colors[0]);
}  // namespace

QString FixturePath(const QString& name) {
  // The build folder's fixtures unless the environment names others.
  const char* dir = std::getenv("QUENNEL_FIXTURES");
  return QDir(QString::fromLocal8Bit(dir && *dir ? dir : QUENNEL_FIXTURES_DIR)).absoluteFilePath(name);
}

QRgb FixtureColorAt(int second) {
  if (second < 0) second = 0;
  if (second >= ColorCount) second = ColorCount - 1;
  return Colors[second];
}

bool ColorsClose(QRgb a, QRgb b, int tolerance) {
  return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
         std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

bool CenterIsColor(const QImage& image, QRgb color, int tolerance) {
  if (image.isNull()) return false;
  return ColorsClose(image.pixel(image.width() / 2, image.height() / 2), color, tolerance);
}

int SecondShownIn(const QImage& image) {
  for (int s = 0; s < ColorCount; ++s)
    if (CenterIsColor(image, Colors[s])) return s;
  return -1;
}
