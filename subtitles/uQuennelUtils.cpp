// The SRT reader and the time-text conversions.
#include "subtitles/uQuennelUtils.h"

#include "subtitles/uSrtRegex.h"

#include <QByteArray>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

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

// Bytes that are not UTF-8 become U+FFFD; a leading byte-order mark is dropped.
QString DecodeUtf8(const QByteArray& bytes) {
  QByteArrayView view(bytes);
  if (view.startsWith("\xEF\xBB\xBF")) view = view.sliced(3);
  return QString::fromUtf8(view);
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
    // Lines come from decoded text split at CR and LF: valid UTF-16.
    return FPattern.Match(line, PCRE2_NOTEMPTY | PCRE2_NO_UTF_CHECK) > 0;
  }

private:
  TSrtRegex FPattern;
};

// Leading spaces, then only decimal digits; anything else counts as 0.
uint64_t PartValue(QStringView part) {
  qsizetype i = 0;
  while (i < part.size() && part[i] == u' ') ++i;
  if (i == part.size()) return 0;
  uint64_t value = 0;
  for (; i < part.size(); ++i) {
    const char16_t c = part[i].unicode();
    if (c < u'0' || c > u'9') return 0;
    value = value * 10 + (c - u'0');
  }
  return value;
}

uint64_t TimeTextToMSec(QStringView text) {
  if (text.size() != 12) return 0;
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

QString JoinTextLines(const std::vector<QStringView>& lines) {
  qsizetype length = 0;
  for (QStringView line : lines) length += line.size() + 2;
  QString text;
  text.reserve(length);
  for (QStringView line : lines) {
    text.append(line);
    text.append(u"\r\n");
  }
  return text;
}

// Calls onLine for every line of text; CR LF, LF and a lone CR end a line,
// and a break at the very end adds no empty line.
template <typename F>
void ForEachLine(QStringView text, F onLine) {
  const char16_t* const data = text.utf16();
  const qsizetype size = text.size();
  qsizetype begin = 0;
  qsizetype i = 0;
  while (i < size) {
    const char16_t c = data[i];
    if (c > u'\r' || (c != u'\n' && c != u'\r')) {
      ++i;
      continue;
    }
    onLine(QStringView(data + begin, i - begin));
    i += (c == u'\r' && i + 1 < size && data[i + 1] == u'\n') ? 2 : 1;
    begin = i;
  }
  if (begin < size) onLine(QStringView(data + begin, size - begin));
}

}  // namespace

uint64_t SrtTimeToMSec(const QString& timeText) { return TimeTextToMSec(timeText); }

std::pair<uint64_t, uint64_t> ParseSrtTimeLine(const QString& timeLine) {
  return TimeLineToMSec(timeLine);
}

void LoadSrtFile(TSrtLists& list, const QString& fileName) {
  const QString text = DecodeUtf8(ReadWholeFile(fileName));
  const TTimeLineTest isTimeLine;

  // Entries are collected apart and appended only once the whole file fits
  // the model, so a refused file leaves the caller's list as it was.
  TSrtLists entries;
  std::vector<QStringView> pendingText;
  QStringView pendingTimeLine;
  bool isInEntry = false;
  ForEachLine(text, [&](QStringView line) {
    if (isInEntry) {
      if (!line.isEmpty()) {
        pendingText.push_back(line);
      } else {
        const auto [time0, time1] = TimeLineToMSec(pendingTimeLine);
        if (time0 >= FirstRefusedMSec || time1 >= FirstRefusedMSec)
          ThrowRefusal(fileName, "it has a time at 65536 seconds (18:12:16) or later; "
                                 "the limit is 65535 seconds");
        if (list.size() + entries.size() + 1 >= FirstRefusedCount)
          ThrowRefusal(fileName, "it has 65535 entries or more; the limit is 65534 entries");
        entries.push_back({time0, time1, JoinTextLines(pendingText)});
        pendingText.clear();
        isInEntry = false;
      }
    }
    if (isTimeLine(line)) {
      pendingTimeLine = line;
      isInEntry = true;
    }
  });
  // An entry still pending here has no closing empty line: it is dropped.
  list.insert(list.end(), std::make_move_iterator(entries.begin()),
              std::make_move_iterator(entries.end()));
}
