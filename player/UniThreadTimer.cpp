#include "player/UniThreadTimer.h"

#include <chrono>

TTimerThread::TTimerThread(TUniThreadedTimer* ATimer) : FTimer(ATimer) {
  FThread = std::thread([this] { Execute(); });
}

TTimerThread::~TTimerThread() {
  Terminate();
  Join();
}

void TTimerThread::Terminate() {
  {
    std::lock_guard lock(FLock);
    isTerminated = true;
  }
  FWake.notify_all();
  FHandOver.Cancel();
}

void TTimerThread::Join() {
  if (FThread.joinable()) FThread.join();
}

void TTimerThread::Execute() {
  while (!isTerminated && FTimer->bEnabled) {
    {
      std::unique_lock lock(FLock);
      // The period is read afresh before each wait; only a terminate cuts it short.
      FWake.wait_for(lock, std::chrono::milliseconds(FTimer->dwPeriod.load()),
                     [this] { return isTerminated.load(); });
    }
    if (isTerminated) break;
    FHandOver.Run([this] {
      if (!isTerminated) FTimer->DeliverTick();
    });
  }
  isFinished = true;
}

TUniThreadedTimer::TUniThreadedTimer() { SetPeriod(100); }

TUniThreadedTimer::~TUniThreadedTimer() {
  std::lock_guard lock(FRestartLock);
  if (thTimerThread) thTimerThread->Terminate();
  for (auto& t : FRetired) t->Terminate();
  thTimerThread.reset();
  FRetired.clear();
}

void TUniThreadedTimer::SetEnabled(bool AValue) {
  bEnabled = AValue;
  RestartTimerThread();
}

void TUniThreadedTimer::SetPeriod(uint32_t AValue) {
  if (dwPeriod.exchange(AValue) == AValue) return;
  RestartTimerThread();
}

TNotifyEvent TUniThreadedTimer::OnTimerEvent() const {
  std::lock_guard lock(FEventLock);
  return neOnTimer;
}

void TUniThreadedTimer::SetOnTimerEvent(TNotifyEvent AValue) {
  std::lock_guard lock(FEventLock);
  neOnTimer = std::move(AValue);
}

void TUniThreadedTimer::DeliverTick() {
  TNotifyEvent handler = OnTimerEvent();
  if (handler) handler(this);
}

void TUniThreadedTimer::RestartTimerThread() {
  std::lock_guard lock(FRestartLock);
  // A retired worker is never joined while it may still wait for the UI
  // thread: this can run on any thread, the UI thread included.
  std::erase_if(FRetired, [](const std::unique_ptr<TTimerThread>& t) {
    if (!t->IsFinished()) return false;
    t->Join();
    return true;
  });
  if (thTimerThread) {
    thTimerThread->Terminate();
    FRetired.push_back(std::move(thTimerThread));
  }
  if (bEnabled) thTimerThread = std::make_unique<TTimerThread>(this);
}
