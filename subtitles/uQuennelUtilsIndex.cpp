// The per-second index, the lookups the panel and the wheel use, the panel
// text and the measurement of all texts for the automatic font size.
#include "subtitles/uQuennelUtils.h"

#include <QFont>
#include <QFontMetricsF>
#include <QRectF>

#include <algorithm>

const float SrtFontSizes[6] = {9, 6, 9, 11, 16, 24};

namespace {

constexpr uint16_t NoEntry = 0xFFFF;
constexpr uint64_t LastSecond = 0xFFFF;
constexpr uint64_t HnsPerSec = 10000000;

// Seconds are not cut to 16 bits: a position past the table is past every
// subtitle, never a second near the start.
uint64_t HnsToSec(uint64_t time) { return time / HnsPerSec; }
uint64_t SecToHns(uint64_t sec) { return sec * HnsPerSec; }
// The reader refuses later times; an entry of a list built by hand is cut
// at the last second the table can hold.
uint64_t MSecToSec(uint64_t msec) { return msec / 1000; }
uint64_t EndSec(uint64_t msec) { return std::min(MSecToSec(msec), LastSecond); }

}  // namespace

TSrtIndex MakeSrtIndex(const TSrtLists& list) {
  if (list.empty()) return {};
  // Sized by the latest end of any entry, not of the last one: an earlier
  // entry that ends later must still fit.
  uint64_t lastSec = 0;
  for (const TSrtList& entry : list) lastSec = std::max(lastSec, EndSec(entry.Time1));
  TSrtIndex index(lastSec + 1, NoEntry);
  // Positions from 0xFFFF on cannot be stored; the reader never makes them.
  const size_t count = std::min<size_t>(list.size(), NoEntry);
  for (size_t i = 0; i < count; ++i) {
    const uint64_t first = MSecToSec(list[i].Time0);
    const uint64_t last = EndSec(list[i].Time1);
    // The end second is included; an entry that ends before it starts gets none.
    if (first <= last) std::fill(index.begin() + first, index.begin() + last + 1, uint16_t(i));
  }
  return index;
}

uint16_t GetSrtIndex(uint64_t time, const TSrtIndex& index) {
  const uint64_t sec = HnsToSec(time);
  return sec < index.size() ? index[sec] : NoEntry;
}

QString GetSrtText(uint16_t entry, const TSrtLists& list) {
  if (entry == NoEntry) return QString();
  return list.at(entry).SubStr;
}

// The first second after the current one that belongs to another entry.
uint64_t NextSrtTime(uint64_t time, const TSrtIndex& index) {
  uint64_t sec = HnsToSec(time);
  if (sec >= index.size()) return time;
  const uint16_t current = index[sec];
  while (sec < index.size() && (index[sec] == NoEntry || index[sec] == current)) ++sec;
  return sec == index.size() ? time : SecToHns(sec);
}

// The first second of the entry before the current one (or before the gap).
// A walk that reaches second 0 answers 0.
uint64_t PrevSrtTime(uint64_t time, const TSrtIndex& index) {
  if (index.empty()) return time;
  uint64_t sec = HnsToSec(time);
  uint16_t previous;
  if (sec < index.size()) {
    const uint16_t current = index[sec];
    while (sec > 0 && (index[sec] == NoEntry || index[sec] == current)) --sec;
    if (sec == 0) return 0;
    previous = index[sec];
  } else {
    // After the table: the last entry it shows. Empty seconds at its end come
    // from an entry that ends before it starts; they are not an entry.
    sec = index.size() - 1;
    while (sec > 0 && index[sec] == NoEntry) --sec;
    previous = index[sec];
  }
  while (sec > 0 && index[sec] == previous) --sec;
  if (sec > 0) ++sec;
  return SecToHns(sec);
}

QPointF GetSrtPoint(const TSrtLists& list, const QString& fontFamily) {
  if (list.empty()) return {0, 0};
  QFont font(fontFamily);
  font.setPointSizeF(SrtFontSizes[0]);
  const QFontMetricsF metrics(font);
  qreal width = 0;
  qreal height = 0;
  for (const TSrtList& entry : list) {
    // All lines at once, no wrapping: as wide as the widest line, as tall as
    // all of them together.
    const QRectF extent = metrics.boundingRect(QRectF(), Qt::AlignLeft | Qt::AlignTop, entry.SubStr);
    if (extent.width() > width) width = extent.width();
    if (extent.height() > height) height = extent.height();
  }
  return {width, height * 0.65};
}
