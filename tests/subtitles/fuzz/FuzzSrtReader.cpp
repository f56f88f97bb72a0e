// Feeds arbitrary bytes to LoadSrtFile as a file and compares its entries
// with a slow, obvious reading of the same bytes; then walks what it built:
// the index, the lookups and a plain search. A difference or a broken promise
// aborts like a crash.
#include "subtitles/uQuennelUtils.h"

#include <QStringDecoder>
#include <QStringList>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <sys/mman.h>
#include <unistd.h>

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

// One in-memory file for the whole run, opened by path on every input.
struct TMemoryFile {
  int Fd = memfd_create("fuzz.srt", 0);
  QString Path = QStringLiteral("/proc/self/fd/%1").arg(Fd);
  void Write(const uint8_t* data, size_t size) {
    Require(Fd >= 0 && ftruncate(Fd, 0) == 0);
    Require(pwrite(Fd, data, size, 0) == ssize_t(size));
  }
};

bool isTimeLineChar(QChar c) { return (c >= u'0' && c <= u'9') || c == u':' || c == u','; }

bool AllTimeLineChars(QStringView part) {
  return !part.isEmpty() && std::all_of(part.begin(), part.end(), isTimeLineChar);
}

// "^[\d:,]+ --> [\d:,]+$" by hand. With any line break counting as newline,
// "$" also matches before one final VT, FF, NEL, LS or PS, which a line can
// still hold.
bool isTimeLine(QStringView line) {
  if (!line.isEmpty() && QStringView(u"\v\f\u0085\u2028\u2029").contains(line.back())) line.chop(1);
  const qsizetype arrow = line.indexOf(u" --> ");
  return arrow >= 0 && AllTimeLineChars(line.first(arrow)) && AllTimeLineChars(line.sliced(arrow + 5));
}

// The reader's rules, one step at a time over the whole decoded text.
// Returns false where the file must be refused.
bool ReadSlowly(QByteArrayView bytes, TSrtLists& entries) {
  if (bytes.startsWith("\xEF\xBB\xBF")) bytes = bytes.sliced(3);
  QStringDecoder decoder(QStringDecoder::Utf8,
                         QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
  const QString text = decoder(bytes);
  QStringList lines;
  qsizetype start = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] != u'\r' && text[i] != u'\n') continue;
    lines << text.mid(start, i - start);
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines << text.mid(start);

  bool isInEntry = false;
  QString timeLine;
  QString pending;
  for (const QString& line : lines) {
    if (isInEntry && !line.isEmpty()) {
      pending += line + QStringLiteral("\r\n");
    } else if (isInEntry) {
      const auto [time0, time1] = ParseSrtTimeLine(timeLine);
      if (time0 >= 65536000 || time1 >= 65536000 || entries.size() + 1 >= 0xFFFF) return false;
      entries.push_back({time0, time1, pending});
      pending.clear();
      isInEntry = false;
    }
    if (isTimeLine(line)) {
      timeLine = line;
      isInEntry = true;
    }
  }
  return true;
}

void CheckEntries(const TSrtLists& list) {
  Require(list.size() < 0xFFFF);
  for (const TSrtList& entry : list) {
    Require(entry.Time0 < 65536000 && entry.Time1 < 65536000);
    Require(entry.SubStr.isEmpty() || entry.SubStr.endsWith(QStringLiteral("\r\n")));
  }
}

void CheckIndex(const TSrtLists& list) {
  const TSrtIndex index = MakeSrtIndex(list);
  Require(index.size() <= 65536);
  for (uint16_t slot : index) Require(slot == 0xFFFF || slot < list.size());
  constexpr uint64_t Sec = 10000000;
  // The walks are linear in the index: a few places keep an input fast.
  const uint64_t step = index.size() / 8 + 1;
  for (uint64_t s = 0; s <= index.size() + 1; s += step) {
    const uint64_t time = s * Sec + Sec / 2;
    GetSrtText(GetSrtIndex(time, index), list);  // raises on a slot outside the list
    const uint64_t next = NextSrtTime(time, index);
    Require(next == time || (next > time && next % Sec == 0));
    Require(PrevSrtTime(time, index) <= time);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static TMemoryFile file;
  file.Write(data, size);
  TSrtLists expected;
  const bool isReadable = ReadSlowly(QByteArrayView(data, qsizetype(size)), expected);
  TSrtLists list;
  try {
    LoadSrtFile(list, file.Path);
  } catch (const std::exception&) {
    // Refused: beyond 16-bit entries or seconds. Nothing may be left behind.
    Require(!isReadable && list.empty());
    return 0;
  }
  Require(isReadable);
  Require(list.size() == expected.size());
  for (size_t i = 0; i < list.size(); ++i)
    Require(list[i].Time0 == expected[i].Time0 && list[i].Time1 == expected[i].Time1 &&
            list[i].SubStr == expected[i].SubStr);
  CheckEntries(list);
  CheckIndex(list);
  isRegEx = false;
  SearchSrtList(list, list.empty() ? QStringLiteral("a") : list.front().SubStr.left(3));
  Require(SrtMatches.size() <= list.size());
  Require(list.empty() || list.front().SubStr.isEmpty() || (!SrtMatches.empty() && SrtMatches.front() == 0));
  return 0;
}
