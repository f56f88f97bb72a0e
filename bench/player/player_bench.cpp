// Player benchmark on the 1080p fixture. Each figure is measured against a
// bare GStreamer reference in the same run:
//  1. CPU seconds per second of playback with frames reaching a callback that
//     keeps them, shown at the default window's image area and at full size,
//     against decode-only playback in real time;
//  2. seek latency, SetNewPosition to the target's frame at the callback,
//     paused and playing, against a flushing accurate seek on a bare playbin;
//  3. OpenURL to the first frame, against a bare playbin prerolling the file.
#include <gst/gst.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "player/uFMXMfPlayerClass.h"
#include "tests/common/Fixtures.h"

namespace {

constexpr double PlaySeconds = 10.0;

double CpuSeconds() {
  rusage r{};
  getrusage(RUSAGE_SELF, &r);
  return r.ru_utime.tv_sec + r.ru_utime.tv_usec / 1e6 + r.ru_stime.tv_sec + r.ru_stime.tv_usec / 1e6;
}

bool Pump(const std::function<bool()>& ADone, int ATimeoutMs) {
  QDeadlineTimer deadline(ATimeoutMs);
  while (!ADone()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
    QThread::usleep(200);
  }
  return true;
}

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

GstElement* BarePlaybin(const QString& AFile) {
  GstElement* playbin = gst_element_factory_make("playbin", nullptr);
  const QByteArray uri = QUrl::fromLocalFile(AFile).toEncoded();
  g_object_set(playbin, "uri", uri.constData(), "video-sink", gst_element_factory_make("fakesink", nullptr),
               nullptr);
  return playbin;
}

bool WaitAsyncDone(GstElement* APipeline) {
  GstBus* bus = gst_element_get_bus(APipeline);
  GstMessage* msg = gst_bus_timed_pop_filtered(bus, 10 * GST_SECOND,
                                               static_cast<GstMessageType>(GST_MESSAGE_ASYNC_DONE | GST_MESSAGE_ERROR));
  const bool isOk = msg && GST_MESSAGE_TYPE(msg) == GST_MESSAGE_ASYNC_DONE;
  if (msg) gst_message_unref(msg);
  gst_object_unref(bus);
  return isOk;
}

// A player whose frame callback keeps the frame, as the window does.
struct TBenchPlayer {
  TBenchPlayer()
      : Player(
            [this](const QImage& ABitmap) {
              Kept = ABitmap;
              ++Frames;
              uint64_t pos = 0;
              if (SUCCEEDED(Player.GetPosition(pos))) LastFramePosition = pos;
              FrameTime = Clock.nsecsElapsed();
            },
            [this](uint64_t) { isDurationKnown = true; }, nullptr) {
    Clock.start();
  }
  TMfPlayer Player;
  QElapsedTimer Clock;
  QImage Kept;
  int Frames = 0;
  uint64_t LastFramePosition = 0;
  qint64 FrameTime = 0;
  bool isDurationKnown = false;
};

// CPU seconds per second of wall time while the player plays AFile, its
// frames shown at ADisplaySize (empty: full size).
double PlayerCpu(const QString& AFile, QSize ADisplaySize, int& AFrames, QSize& AFrameSize) {
  TBenchPlayer p;
  p.Player.SetDisplaySize(ADisplaySize);
  p.Player.OpenURL(AFile);
  Pump([&] { return p.isDurationKnown; }, 10000);
  const int frames0 = p.Frames;
  const double cpu0 = CpuSeconds();
  QElapsedTimer wall;
  wall.start();
  p.Player.StartPause();
  // A real event loop, as in the program: a polling one would add its own CPU.
  QEventLoop loop;
  QTimer::singleShot(static_cast<int>(PlaySeconds * 1000), &loop, &QEventLoop::quit);
  loop.exec();
  const double cpu = (CpuSeconds() - cpu0) / (wall.nsecsElapsed() / 1e9);
  AFrames = p.Frames - frames0;
  AFrameSize = p.Kept.size();
  p.Player.MediaShutDown();
  return cpu;
}

void CpuFigure(const QString& AFile) {
  // Reference: decode only, in real time.
  const QByteArray description = "filesrc location=\"" + AFile.toUtf8() +
                                 "\" ! qtdemux ! h264parse ! avdec_h264 ! fakesink sync=true";
  GstElement* pipeline = gst_parse_launch(description.constData(), nullptr);
  gst_element_set_state(pipeline, GST_STATE_PAUSED);
  WaitAsyncDone(pipeline);
  const double cpu0 = CpuSeconds();
  QElapsedTimer wall;
  wall.start();
  gst_element_set_state(pipeline, GST_STATE_PLAYING);
  QThread::msleep(static_cast<unsigned long>(PlaySeconds * 1000));
  const double reference = (CpuSeconds() - cpu0) / (wall.nsecsElapsed() / 1e9);
  gst_element_set_state(pipeline, GST_STATE_NULL);
  gst_object_unref(pipeline);

  // The image area of the main window at its default size, then full size.
  for (QSize display : {QSize(640, 400), QSize()}) {
    int frames = 0;
    QSize frameSize;
    const double ours = PlayerCpu(AFile, display, frames, frameSize);
    const QString shown = display.isEmpty() ? QStringLiteral("at full size")
                                            : QStringLiteral("shown at %1x%2").arg(display.width()).arg(display.height());
    std::printf("1. CPU per second of playback, frames %s: player %.3f s/s (%d frames of %dx%d to the callback), "
                "decode-only reference %.3f s/s, ratio %.2fx (goal <= 1.3x)\n",
                qPrintable(shown), ours, frames, frameSize.width(), frameSize.height(), reference,
                ours / reference);
    std::fflush(stdout);
  }
}

std::vector<uint64_t> SeekTargets() {
  // Twenty targets through the 2 s GOPs of 30 fps: on a keyframe and 15, 30,
  // 45 and 57 frames after one, in GOPs spread over the file.
  const int offsets[] = {0, 15, 30, 45, 57};
  std::vector<uint64_t> targets;
  for (int i = 0; i < 20; ++i) {
    const int gop = (i * 7 + 3) % 28;  // keeps consecutive targets far apart
    targets.push_back(static_cast<uint64_t>(gop) * 2 * HnsPerSecond +
                      static_cast<uint64_t>(offsets[i % 5]) * HnsPerSecond / 30);
  }
  return targets;
}

std::vector<double> ReferenceSeeks(const QString& AFile, const std::vector<uint64_t>& ATargets, bool AisPlaying) {
  GstElement* playbin = BarePlaybin(AFile);
  gst_element_set_state(playbin, GST_STATE_PAUSED);
  WaitAsyncDone(playbin);
  if (AisPlaying) {
    gst_element_set_state(playbin, GST_STATE_PLAYING);
    gst_element_get_state(playbin, nullptr, nullptr, 5 * GST_SECOND);
  }
  std::vector<double> ms;
  for (uint64_t t : ATargets) {
    QThread::msleep(150);
    QElapsedTimer clock;
    clock.start();
    gst_element_seek_simple(playbin, GST_FORMAT_TIME,
                            static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                            static_cast<gint64>(t * 100));
    WaitAsyncDone(playbin);
    ms.push_back(clock.nsecsElapsed() / 1e6);
  }
  gst_element_set_state(playbin, GST_STATE_NULL);
  gst_object_unref(playbin);
  return ms;
}

std::vector<double> PlayerSeeks(const QString& AFile, const std::vector<uint64_t>& ATargets, bool AisPlaying) {
  TBenchPlayer p;
  p.Player.OpenURL(AFile);
  Pump([&] { return p.isDurationKnown; }, 10000);
  if (AisPlaying) {
    p.Player.StartPause();
    Pump([&] { return p.Player.CanMfPosThread.load(); }, 5000);
  }
  std::vector<double> ms;
  for (uint64_t t : ATargets) {
    Pump([] { return false; }, 150);
    const qint64 start = p.Clock.nsecsElapsed();
    const int frames = p.Frames;
    p.Player.SetNewPosition(t);
    // The first frame that reaches the callback from the target on.
    Pump([&] {
      return p.Frames > frames && p.LastFramePosition + HnsPerSecond / 30 >= t &&
             p.LastFramePosition < t + HnsPerSecond / 3;
    }, 5000);
    ms.push_back((p.FrameTime - start) / 1e6);
    Pump([&] { return p.Player.CanMfPosThread.load(); }, 5000);
  }
  p.Player.MediaShutDown();
  return ms;
}

void SeekFigure(const QString& AFile) {
  const std::vector<uint64_t> targets = SeekTargets();
  for (bool playing : {false, true}) {
    const std::vector<double> reference = ReferenceSeeks(AFile, targets, playing);
    const std::vector<double> ours = PlayerSeeks(AFile, targets, playing);
    std::vector<double> ratios, keyframe;
    for (size_t i = 0; i < targets.size(); ++i) {
      ratios.push_back(ours[i] / reference[i]);
      if (i % 5 == 0) keyframe.push_back(ours[i]);
    }
    std::printf("2. Seek latency %s: player median %.1f ms, reference median %.1f ms, median ratio %.2f "
                "(goal <= 1.2); at a keyframe player median %.1f ms, max %.1f ms (goal <= 50 ms)\n",
                playing ? "playing" : "paused ", Median(ours), Median(reference), Median(ratios),
                Median(keyframe), *std::max_element(keyframe.begin(), keyframe.end()));
  }
}

void OpenFigure(const QString& AFile) {
  std::vector<double> reference, ours;
  for (int i = 0; i < 5; ++i) {
    QElapsedTimer clock;
    clock.start();
    GstElement* playbin = BarePlaybin(AFile);
    gst_element_set_state(playbin, GST_STATE_PAUSED);
    WaitAsyncDone(playbin);
    reference.push_back(clock.nsecsElapsed() / 1e6);
    gst_element_set_state(playbin, GST_STATE_NULL);
    gst_object_unref(playbin);

    TBenchPlayer p;
    const qint64 start = p.Clock.nsecsElapsed();
    p.Player.OpenURL(AFile);
    Pump([&] { return p.Frames > 0; }, 10000);
    ours.push_back((p.FrameTime - start) / 1e6);
    Pump([&] { return p.isDurationKnown; }, 10000);
    p.Player.MediaShutDown();
  }
  std::printf("3. OpenURL to the first frame: player median %.1f ms, bare preroll median %.1f ms, ratio "
              "%.2fx (goal <= 1.5x)\n",
              Median(ours), Median(reference), Median(ours) / Median(reference));
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  if (argc > 1) qputenv("QUENNEL_FIXTURES", argv[1]);
  QGuiApplication app(argc, argv);
  gst_init(nullptr, nullptr);
  const QString file = FixturePath("hd.mp4");
  std::printf("player benchmark on %s\n", qPrintable(file));
  std::fflush(stdout);
  if (!qEnvironmentVariableIsSet("QUENNEL_BENCH_CPU_ONLY")) {
    OpenFigure(file);  // also warms the file cache for the others
    std::fflush(stdout);
    SeekFigure(file);
    std::fflush(stdout);
  }
  CpuFigure(file);
  return 0;
}
