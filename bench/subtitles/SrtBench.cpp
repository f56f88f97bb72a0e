// How fast a large subtitle file loads and is searched. Writes a 65,000-entry
// SRT file and prints the median of several runs of each step, next to the
// floor: reading the same file and decoding it to a QString.
//   subtitles_bench [RUNS]   (default 15)
#include "subtitles/uQuennelUtils.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <ctime>

namespace {

constexpr int EntryCount = 65000;

// Two lines of 20 to 42 characters per entry, mostly plain English with the
// tags, digits and accented letters real files have.
QByteArray MakeSrtFile() {
  static const char* const words[] = {
      "I",     "you",    "we",     "they",   "know",  "think", "never", "always", "tomorrow",
      "night", "house",  "money",  "really", "going", "to",    "the",   "a",      "what",
      "where", "friend", "father", "café",   "door",  "wait",  "here",  "there",  "told",
      "about", "time",   "100",    "2",      "okay",  "right", "come",  "back",   "now"};
  std::mt19937 random(42);
  std::uniform_int_distribution<int> pick(0, int(std::size(words)) - 1);
  std::uniform_int_distribution<int> length(20, 42);
  auto line = [&] {
    QByteArray text;
    const int target = length(random);
    while (text.size() < target) {
      if (!text.isEmpty()) text += ' ';
      text += words[pick(random)];
    }
    return text;
  };
  auto time = [](int ms) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d,%03d", ms / 3600000, ms / 60000 % 60, ms / 1000 % 60,
                  ms % 1000);
    return QByteArray(text);
  };
  QByteArray file;
  file.reserve(EntryCount * 110);
  // Short entries: 65,000 of them must end before 65,536 s, the last second
  // the index can hold.
  int start = 1000;
  for (int i = 0; i < EntryCount; ++i) {
    const int end = start + 400 + int(random() % 400);
    QByteArray first = line();
    if (i % 17 == 0) first = "<i>" + first + "</i>";
    file += QByteArray::number(i + 1) + "\r\n" + time(start) + " --> " + time(end) + "\r\n- " + first + "\r\n- " +
            line() + ".\r\n\r\n";
    start = end + 50 + int(random() % 100);
  }
  return file;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double ThreadCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// Wall-clock and CPU milliseconds of each call. On a busy machine the CPU
// time is the steadier figure; both are printed.
struct TSamples {
  std::vector<double> Wall, Cpu;
  void Time(const std::function<void()>& step) {
    QElapsedTimer timer;
    const double cpu = ThreadCpuMs();
    timer.start();
    step();
    Wall.push_back(timer.nsecsElapsed() / 1e6);
    Cpu.push_back(ThreadCpuMs() - cpu);
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 15;

  QTemporaryDir dir;
  const QString path = dir.filePath("bench.srt");
  {
    QFile file(path);
    const QByteArray content = MakeSrtFile();
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size()) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
      return 1;
    }
  }

  TSrtLists list;
  TSrtIndex index;
  TSamples floor, load, plain, regex, point;
  size_t plainMatches = 0, regexMatches = 0;
  QPointF extent;
  for (int run = 0; run < runs; ++run) {
    floor.Time([&] {
      QFile file(path);
      if (!file.open(QIODevice::ReadOnly)) std::abort();
      const QString text = QString::fromUtf8(file.readAll());
      if (text.isEmpty()) std::abort();
    });
    list.clear();
    load.Time([&] {
      LoadSrtFile(list, path);
      index = MakeSrtIndex(list);
    });
    isRegEx = false;
    plain.Time([&] { SearchSrtList(list, "tomorrow night"); });
    plainMatches = SrtMatches.size();
    isRegEx = true;
    regex.Time([&] { SearchSrtList(list, "\\b(never|always) \\w+ money\\b"); });
    regexMatches = SrtMatches.size();
    // Measuring every text is slow; a few runs give its median.
    if (run < 5) point.Time([&] { extent = GetSrtPoint(list, "DejaVu Sans"); });
  }
  if (list.size() != size_t(EntryCount)) {
    std::fprintf(stderr, "read %zu entries, wrote %d\n", list.size(), EntryCount);
    return 1;
  }

  std::printf("subtitle engine: %d entries, %.1f MB; medians of %d runs (GetSrtPoint: %zu)\n", EntryCount,
              QFile(path).size() / 1e6, runs, point.Wall.size());
  std::printf("  %-32s %10s %10s\n", "", "wall ms", "cpu ms");
  auto row = [](const char* name, const TSamples& samples, const QString& note) {
    std::printf("  %-32s %10.2f %10.2f  %s\n", name, Median(samples.Wall), Median(samples.Cpu), qPrintable(note));
  };
  auto ratio = [&](const TSamples& samples) {
    return QStringLiteral("%1 x floor (wall), %2 x (cpu); goal <= 3 x")
        .arg(Median(samples.Wall) / Median(floor.Wall), 0, 'f', 2)
        .arg(Median(samples.Cpu) / Median(floor.Cpu), 0, 'f', 2);
  };
  row("read + decode to QString (floor)", floor, QString());
  row("LoadSrtFile + MakeSrtIndex", load, ratio(load));
  row("plain search", plain, QStringLiteral("%1 matches; goal <= 10 ms").arg(plainMatches));
  row("regular-expression search", regex, QStringLiteral("%1 matches; goal <= 20 ms").arg(regexMatches));
  row("GetSrtPoint", point, QStringLiteral("extent %1 x %2").arg(extent.x()).arg(extent.y()));
  return 0;
}
