#pragma once
// A timer whose waiting happens on a worker thread of its own while every
// tick runs on the UI thread; the worker blocks until the tick has returned,
// so ticks never overlap and never pile up.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "player/uUiHandOver.h"

class TUniThreadedTimer;
using TNotifyEvent = std::function<void(TUniThreadedTimer* ASender)>;

class TTimerThread {
 public:
  explicit TTimerThread(TUniThreadedTimer* ATimer);
  ~TTimerThread();
  // Asks the loop to end: cuts its wait short and drops a tick not yet run.
  void Terminate();
  bool IsFinished() const { return isFinished; }
  void Join();

 private:
  void Execute();

  TUniThreadedTimer* FTimer;
  std::mutex FLock;
  std::condition_variable FWake;
  std::atomic<bool> isTerminated{false};
  std::atomic<bool> isFinished{false};
  TUiHandOver FHandOver;
  std::thread FThread;
};

class TUniThreadedTimer {
 public:
  TUniThreadedTimer();
  // Stops every worker and waits for it; no tick reaches a destroyed timer.
  ~TUniThreadedTimer();
  TUniThreadedTimer(const TUniThreadedTimer&) = delete;
  TUniThreadedTimer& operator=(const TUniThreadedTimer&) = delete;

  bool Enabled() const { return bEnabled; }
  void SetEnabled(bool AValue);
  uint32_t Period() const { return dwPeriod; }
  void SetPeriod(uint32_t AValue);
  TNotifyEvent OnTimerEvent() const;
  void SetOnTimerEvent(TNotifyEvent AValue);

  void DeliverTick();

 private:
  friend class TTimerThread;
  void RestartTimerThread();

  std::atomic<bool> bEnabled{true};
  std::atomic<uint32_t> dwPeriod{0};
  mutable std::mutex FEventLock;
  TNotifyEvent neOnTimer;
  // Serialises restarts, so that at most one live worker belongs to the timer.
  std::mutex FRestartLock;
  std::unique_ptr<TTimerThread> thTimerThread;
  std::vector<std::unique_ptr<TTimerThread>> FRetired;
};
