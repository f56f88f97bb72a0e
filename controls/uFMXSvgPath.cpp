#include "controls/uFMXSvgPath.h"

#include <QTransform>

#include <cmath>
#include <optional>

namespace {

class TPathReader {
 public:
  explicit TPathReader(const QString& AText) : FText(AText) {}

  void SkipSeparators() {
    while (FPos < FText.size() && (FText[FPos].isSpace() || FText[FPos] == u','))
      ++FPos;
  }

  bool AtEnd() {
    SkipSeparators();
    return FPos >= FText.size();
  }

  // The next character if it is a command letter.
  std::optional<QChar> Command() {
    SkipSeparators();
    if (FPos < FText.size() && FText[FPos].isLetter() && FText[FPos] != u'e' &&
        FText[FPos] != u'E')
      return FText[FPos++];
    return std::nullopt;
  }

  bool NextIsNumber() {
    SkipSeparators();
    if (FPos >= FText.size())
      return false;
    const QChar c = FText[FPos];
    return c.isDigit() || c == u'.' || c == u'-' || c == u'+';
  }

  // sign? digits? ('.' digits?)? (e sign? digits)?, with at least one digit
  // before the exponent.
  std::optional<double> Number() {
    SkipSeparators();
    const qsizetype start = FPos;
    qsizetype p = FPos;
    auto digits = [&] {
      const qsizetype from = p;
      while (p < FText.size() && FText[p] >= u'0' && FText[p] <= u'9')
        ++p;
      return p - from;
    };
    if (p < FText.size() && (FText[p] == u'-' || FText[p] == u'+'))
      ++p;
    qsizetype mantissa = digits();
    if (p < FText.size() && FText[p] == u'.') {
      ++p;
      mantissa += digits();
    }
    if (mantissa == 0)
      return std::nullopt;
    if (p < FText.size() && (FText[p] == u'e' || FText[p] == u'E')) {
      ++p;
      if (p < FText.size() && (FText[p] == u'-' || FText[p] == u'+'))
        ++p;
      if (digits() == 0)
        return std::nullopt;
    }
    bool ok = false;
    const double value = FText.mid(start, p - start).toDouble(&ok);
    if (!ok || !std::isfinite(value))
      return std::nullopt;
    FPos = p;
    return value;
  }

  std::optional<QPointF> Point() {
    const auto x = Number();
    if (!x)
      return std::nullopt;
    const auto y = Number();
    if (!y)
      return std::nullopt;
    return QPointF(*x, *y);
  }

 private:
  const QString& FText;
  qsizetype FPos = 0;
};

bool Parse(const QString& AText, QPainterPath& APath) {
  TPathReader reader(AText);
  QChar last;             // command that further coordinates repeat
  QPointF subpathStart;
  bool hasCurrent = false;  // a current point exists (a subpath was begun)
  bool closed = false;      // the last command was Z

  // After Z the pen is back at the start of the subpath; a drawing command
  // there begins a new subpath at that point.
  auto reopen = [&] {
    if (closed) {
      APath.moveTo(subpathStart);
      closed = false;
    }
  };

  while (!reader.AtEnd()) {
    QChar cmd;
    if (const auto c = reader.Command()) {
      cmd = *c;
    } else if (reader.NextIsNumber() && (last == u'M' || last == u'L' || last == u'C')) {
      cmd = last == u'M' ? QChar(u'L') : last;
    } else {
      return false;
    }

    if (cmd == u'M') {
      const auto p = reader.Point();
      if (!p)
        return false;
      APath.moveTo(*p);
      subpathStart = *p;
      hasCurrent = true;
      closed = false;
    } else if (cmd == u'L') {
      const auto p = reader.Point();
      if (!p || !hasCurrent)
        return false;
      reopen();
      APath.lineTo(*p);
    } else if (cmd == u'C') {
      const auto c1 = reader.Point();
      const auto c2 = c1 ? reader.Point() : std::nullopt;
      const auto p = c2 ? reader.Point() : std::nullopt;
      if (!p || !hasCurrent)
        return false;
      reopen();
      APath.cubicTo(*c1, *c2, *p);
    } else if (cmd == u'Z') {
      if (!hasCurrent)
        return false;
      if (!closed)
        APath.closeSubpath();
      closed = true;
    } else {
      return false;  // relative commands, arcs, H/V, ...: not ours
    }
    last = cmd;
  }
  return true;
}

}  // namespace

bool ParseSvgPath(const QString& AText, QPainterPath& APath) {
  QPainterPath path;
  path.setFillRule(Qt::OddEvenFill);
  if (!Parse(AText, path)) {
    APath = QPainterPath();
    APath.setFillRule(Qt::OddEvenFill);
    return false;
  }
  APath = path;
  return true;
}

QPainterPath StretchPath(const QPainterPath& APath, const QRectF& ATarget) {
  if (APath.isEmpty())
    return APath;
  const QRectF box = APath.boundingRect();
  qreal sx = 1, sy = 1, dx, dy;
  if (box.width() > 0) {
    sx = ATarget.width() / box.width();
    dx = ATarget.left() - box.left() * sx;
  } else {
    dx = ATarget.center().x() - box.left();
  }
  if (box.height() > 0) {
    sy = ATarget.height() / box.height();
    dy = ATarget.top() - box.top() * sy;
  } else {
    dy = ATarget.center().y() - box.top();
  }
  return QTransform(sx, 0, 0, sy, dx, dy).map(APath);
}
