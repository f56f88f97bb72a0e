#pragma once
// An auto-reset event: Set wakes one wait (or the next one), then clears.
#include <chrono>
#include <condition_variable>
#include <mutex>

class TAutoResetEvent {
 public:
  void Set() {
    {
      std::lock_guard lock(FLock);
      isSignalled = true;
    }
    FCond.notify_one();
  }
  // True when signalled within AMs milliseconds.
  bool WaitFor(unsigned AMs) {
    std::unique_lock lock(FLock);
    if (!FCond.wait_for(lock, std::chrono::milliseconds(AMs), [this] { return isSignalled; })) return false;
    isSignalled = false;
    return true;
  }

 private:
  std::mutex FLock;
  std::condition_variable FCond;
  bool isSignalled = false;
};
