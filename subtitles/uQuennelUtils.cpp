// The SRT reader and the time-text conversions.
#include "subtitles/uQuennelUtils.h"

#include "subtitles/uSrtRegex.h"

#include <QByteArray>
#include <QFile>
#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

// The fuzzer builds with tiny pieces so that its short inputs cross piece
// boundaries too.
#ifndef QUENNEL_SRT_PIECE_BYTES
#define QUENNEL_SRT_PIECE_BYTES (64 * 1024)
#endif

namespace {

// The index stores seconds and entry positions in 16 bits (0xFFFF = none):
// files beyond that are refused rather than indexed wrongly.
constexpr size_t FirstRefusedCount = 0xFFFF;
constexpr uint64_t FirstRefusedMSec = 65536ull * 1000;

[[noreturn]] void ThrowSystemError(int error, const char* what, const QString& fileName) {
  throw std::system_error(error, std::generic_category(),
                          std::string(what) + " subtitle file \"" + fileName.toStdString() + "\"");
}

[[noreturn]] void ThrowRefusal(const QString& fileName, const char* why) {
  throw std::runtime_error("Cannot load subtitle file \"" + fileName.toStdString() + "\": " + why);
}

// The whole file in one buffer; errno tells the reason, which QFile would hide.
QByteArray ReadWholeFile(const QString& fileName) {
  const QByteArray name = QFile::encodeName(fileName);
  if (name.contains('\0')) ThrowSystemError(ENOENT, "Cannot open", fileName);
  const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) ThrowSystemError(errno, "Cannot open", fileName);

  struct stat info {};
  qsizetype capacity = 64 * 1024;
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size >= capacity)
    capacity = qsizetype(info.st_size) + 1;  // +1: the final read sees the end at once
  QByteArray data(capacity, Qt::Uninitialized);
  qsizetype used = 0;
  for (;;) {
    if (used == data.size()) data.resize(data.size() * 2);
    const ssize_t got = ::read(fd, data.data() + used, size_t(data.size() - used));
    if (got < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      ::close(fd);
      ThrowSystemError(error, "Cannot read", fileName);
    }
    if (got == 0) break;
    used += got;
  }
  ::close(fd);
  data.truncate(used);
  return data;
}

// Decodes UTF-8 a piece at a time into one reused buffer, so the text is
// walked while it is still in the cache. Pieces end just after a line break:
// CR and LF never occur inside a UTF-8 sequence, so a piece decodes exactly
// as it would inside the whole file, invalid bytes (U+FFFD) included.
class TUtf8Pieces {
public:
  explicit TUtf8Pieces(QByteArrayView bytes) : FRest(bytes) {
    if (FRest.startsWith("\xEF\xBB\xBF")) FRest = FRest.sliced(3);
  }
  // The next piece, or an empty view at the end; valid until the next call.
  QStringView Next() {
    constexpr qsizetype PieceBytes = QUENNEL_SRT_PIECE_BYTES;
    qsizetype end = std::min(PieceBytes, FRest.size());
    // Never between the CR and the LF of a pair.
    while (end < FRest.size() && !(FRest[end - 1] == '\n' || (FRest[end - 1] == '\r' && FRest[end] != '\n')))
      ++end;
    const QByteArrayView piece = FRest.first(end);
    FRest = FRest.sliced(end);
    if (FBuffer.size() < piece.size()) FBuffer.resize(piece.size());
    QChar* const out = FBuffer.data();
    return QStringView(out, FDecoder.appendToBuffer(out, piece) - out);
  }

private:
  QByteArrayView FRest;
  QString FBuffer;  // UTF-8 never decodes to more code units than bytes
  // Each piece ends at a line break, so nothing is carried between pieces.
  QStringDecoder FDecoder{QStringDecoder::Utf8,
                          QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom};
};

// Calls onLine for every line of text; CR LF, LF and a lone CR end a line,
// and a break at the very end adds no empty line.
template <typename F>
void ForEachLine(QStringView text, F onLine) {
  const char16_t* const data = text.utf16();
  const qsizetype size = text.size();
  qsizetype lineStart = 0;
  auto onBreak = [&](qsizetype at) {
    if (at < lineStart) return;  // the LF of a CR LF
    onLine(QStringView(data + lineStart, at - lineStart));
    lineStart = at + ((data[at] == u'\r' && at + 1 < size && data[at + 1] == u'\n') ? 2 : 1);
  };
  qsizetype i = 0;
#ifdef __SSE2__
  // Eight code units at a time, every break of a block from one mask: lines
  // are short, so restarting a search after each one would cost more.
  const __m128i cr = _mm_set1_epi16(u'\r');
  const __m128i lf = _mm_set1_epi16(u'\n');
  for (; i + 8 <= size; i += 8) {
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
    // Two mask bits per code unit.
    unsigned mask = unsigned(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi16(chunk, cr), _mm_cmpeq_epi16(chunk, lf))));
    while (mask) {
      const int bit = __builtin_ctz(mask);
      onBreak(i + bit / 2);
      mask &= ~(3u << bit);
    }
  }
#endif
  for (; i < size; ++i)
    if (data[i] == u'\r' || data[i] == u'\n') onBreak(i);
  if (lineStart < size) onLine(QStringView(data + lineStart, size - lineStart));
}

bool isTimeChar(char16_t c) { return (c >= u'0' && c <= u'9') || c == u':' || c == u','; }

// "^[\d:,]+ --> [\d:,]+$" over the whole line. The cheap checks in front are
// things the pattern requires anyway; they keep index and text lines away
// from the matcher.
class TTimeLineTest {
public:
  TTimeLineTest() : FPattern(u"^[\\d:,]+ --> [\\d:,]+$") {}
  bool operator()(QStringView line) const {
    if (line.size() < 7 || !isTimeChar(line.front().unicode())) return false;
    // Nearly every time line has the standard shape; one the pattern is
    // sure to match needs no trip through the matcher.
    if (isStandardTimeLine(line)) return true;
    return FPattern.Match(line, PCRE2_NOTEMPTY) > 0;
  }

private:
  // "hh:mm:ss,mmm --> hh:mm:ss,mmm": time characters around " --> ".
  static bool isStandardTimeLine(QStringView line) {
    if (line.size() != 29) return false;
    const char16_t* t = line.utf16();
    for (int i = 0; i < 12; ++i)
      if (!isTimeChar(t[i]) || !isTimeChar(t[i + 17])) return false;
    return t[12] == u' ' && t[13] == u'-' && t[14] == u'-' && t[15] == u'>' && t[16] == u' ';
  }

  TSrtRegex FPattern;
};

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Leading spaces, then only decimal digits; anything else counts as 0.
uint64_t PartValue(QStringView part) {
  qsizetype i = 0;
  while (i < part.size() && part[i] == u' ') ++i;
  if (i == part.size()) return 0;
  uint64_t value = 0;
  for (; i < part.size(); ++i) {
    const char16_t c = part[i].unicode();
    if (!isDigit(c)) return 0;
    value = value * 10 + (c - u'0');
  }
  return value;
}

// hh?mm?ss?mmm: the separators are not looked at.
uint64_t TimeTextToMSec(QStringView text) {
  if (text.size() != 12) return 0;
  const char16_t* t = text.utf16();
  // The usual case, all digits where digits belong, without the part-by-part walk.
  auto digit = [t](int i) { return uint64_t(t[i] - u'0'); };
  if (isDigit(t[0]) && isDigit(t[1]) && isDigit(t[3]) && isDigit(t[4]) && isDigit(t[6]) && isDigit(t[7]) &&
      isDigit(t[9]) && isDigit(t[10]) && isDigit(t[11]))
    return (digit(0) * 10 + digit(1)) * 3600000 + (digit(3) * 10 + digit(4)) * 60000 +
           (digit(6) * 10 + digit(7)) * 1000 + digit(9) * 100 + digit(10) * 10 + digit(11);
  return PartValue(text.sliced(0, 2)) * 3600000 + PartValue(text.sliced(3, 2)) * 60000 +
         PartValue(text.sliced(6, 2)) * 1000 + PartValue(text.sliced(9, 3));
}

// Start text: characters 1-12; end text: characters 18-29 (fewer when short).
std::pair<uint64_t, uint64_t> TimeLineToMSec(QStringView line) {
  const QStringView start = line.first(std::min<qsizetype>(line.size(), 12));
  const QStringView end = line.size() > 17 ? line.sliced(17).first(std::min<qsizetype>(line.size() - 17, 12))
                                           : QStringView();
  return {TimeTextToMSec(start), TimeTextToMSec(end)};
}

// Cuts the list back to its old length unless the load went through, so a
// refused file (or one we ran out of memory on) leaves it as it was.
class TAppendGuard {
public:
  explicit TAppendGuard(TSrtLists& list) : FList(list), FOldSize(list.size()) {}
  ~TAppendGuard() {
    if (!isDone) FList.resize(FOldSize);
  }
  bool isDone = false;

private:
  TSrtLists& FList;
  const size_t FOldSize;
};

}  // namespace

uint64_t SrtTimeToMSec(const QString& timeText) { return TimeTextToMSec(timeText); }

std::pair<uint64_t, uint64_t> ParseSrtTimeLine(const QString& timeLine) {
  return TimeLineToMSec(timeLine);
}

void LoadSrtFile(TSrtLists& list, const QString& fileName) {
  const QByteArray bytes = ReadWholeFile(fileName);
  const TTimeLineTest isTimeLine;
  TAppendGuard guard(list);

  // The pending entry: the times of its time line and its text so far, each
  // line already followed by CR LF.
  bool isInEntry = false;
  std::pair<uint64_t, uint64_t> pendingTimes;
  std::u16string pendingText;  // plain buffer: QString::append costs more
  auto onLine = [&](QStringView line) {
    if (isInEntry) {
      if (!line.isEmpty()) {
        pendingText.append(line.utf16(), size_t(line.size())).append(u"\r\n", 2);
      } else {
        const auto [time0, time1] = pendingTimes;
        if (time0 >= FirstRefusedMSec || time1 >= FirstRefusedMSec)
          ThrowRefusal(fileName, "it has a time at 65536 seconds (18:12:16) or later; "
                                 "the limit is 65535 seconds");
        if (list.size() + 1 >= FirstRefusedCount)
          ThrowRefusal(fileName, "it has 65535 entries or more; the limit is 65534 entries");
        // A copy of its own size (pendingText keeps its room for the next
        // one), and a plain one: fromUtf16 would take a leading U+FEFF or
        // U+FFFE for a byte-order mark and drop it or swap the bytes.
        list.push_back({time0, time1, QString(reinterpret_cast<const QChar*>(pendingText.data()),
                                              qsizetype(pendingText.size()))});
        pendingText.clear();
        isInEntry = false;
      }
    }
    if (isTimeLine(line)) {
      pendingTimes = TimeLineToMSec(line);
      isInEntry = true;
    }
  };
  TUtf8Pieces pieces(bytes);
  for (QStringView piece = pieces.Next(); !piece.isEmpty(); piece = pieces.Next()) ForEachLine(piece, onLine);
  // An entry still pending here has no closing empty line: it is dropped.
  guard.isDone = true;
}
