// Subtitle engine: the SRT reader, the per-second index with its lookups and
// the plain / regular-expression search over the loaded entries.
#pragma once

#include <QPointF>
#include <QString>

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

// One subtitle entry. Times in milliseconds; SubStr holds the text lines,
// each followed by CR LF (empty when the entry has no text).
struct TSrtList {
  uint64_t Time0;
  uint64_t Time1;
  QString SubStr;
};
using TSrtLists = std::vector<TSrtList>;  // .at(i) raises std::out_of_range
// One slot per second of the timeline: the entry to show, or 0xFFFF for none.
using TSrtIndex = std::vector<uint16_t>;

// Appends the entries of an SRT file (UTF-8) to list. Raises std::system_error
// naming the file and the system's reason when it cannot be opened or read,
// and std::runtime_error naming the file and the limit when it holds 65,535
// entries or more or a time at 65,536 s or later; list is unchanged then.
void LoadSrtFile(TSrtLists& list, const QString& fileName);
std::pair<uint64_t, uint64_t> ParseSrtTimeLine(const QString& timeLine);
uint64_t SrtTimeToMSec(const QString& timeText);

// Times below are in 100-nanosecond units (the player's).
TSrtIndex MakeSrtIndex(const TSrtLists& list);
uint16_t GetSrtIndex(uint64_t time, const TSrtIndex& index);
QString GetSrtText(uint16_t entry, const TSrtLists& list);
uint64_t NextSrtTime(uint64_t time, const TSrtIndex& index);
uint64_t PrevSrtTime(uint64_t time, const TSrtIndex& index);
// Widest text and 0.65 x the tallest, measured at SrtFontSizes[0]; needs a
// QGuiApplication.
QPointF GetSrtPoint(const TSrtLists& list, const QString& fontFamily);

// Subtitle font sizes by the FontSize setting: Auto, Smaller, Small, Normal,
// Large, Larger.
extern const float SrtFontSizes[6];

// Search state: the mode, the list positions of the matches in list order and
// the current match.
extern bool isRegEx;
extern std::vector<int32_t> SrtMatches;
extern int32_t SrtMatchIndex;
void SearchSrtList(const TSrtLists& list, const QString& text);
// Shows a regular-expression error; while empty the text goes to stderr.
extern std::function<void(const QString&)> SrtMessageHandler;
