#pragma once
// A player on the fixtures with everything its callbacks report recorded.
#include <QImage>
#include <functional>
#include <memory>
#include <vector>

#include "player/uFMXMfPlayerClass.h"
#include "tests/common/Fixtures.h"

struct TStatusReport {
  uint64_t Time;
  float Volume;
  bool isPlaying;
};

class TRecordingPlayer {
 public:
  explicit TRecordingPlayer(std::shared_ptr<IMFMediaFramework> AFramework = {});
  ~TRecordingPlayer();

  TMfPlayer& operator*() { return *FPlayer; }
  TMfPlayer* operator->() { return FPlayer.get(); }
  TMfPlayer* get() { return FPlayer.get(); }
  void Reset() { FPlayer.reset(); }

  // Opens a fixture and waits until the start worker has delivered the duration.
  bool OpenAndWait(const QString& AFixture, int ATimeoutMs = 10000);

  int FrameCount = 0;
  QImage LastFrame;
  int DurationCount = 0;
  uint64_t LastDuration = 0;
  std::vector<TStatusReport> Reports;
  const TStatusReport* LastReport() const { return Reports.empty() ? nullptr : &Reports.back(); }

 private:
  std::unique_ptr<TMfPlayer> FPlayer;
};

// Pumps the event loop until ADone or the time-out; answers ADone().
bool WaitUntil(const std::function<bool()>& ADone, int ATimeoutMs);
// Pumps the event loop for AMs milliseconds.
void Pump(int AMs);

// Sanitizer builds run several times slower: timing tolerances widen by this.
#if defined(__SANITIZE_THREAD__) || defined(__SANITIZE_ADDRESS__)
constexpr int Slack = 4;
constexpr bool isSanitized = true;
#else
constexpr int Slack = 1;
constexpr bool isSanitized = false;
#endif

// Player units from seconds.
constexpr uint64_t Hns(double ASeconds) { return static_cast<uint64_t>(ASeconds * 1e7); }
