#pragma once
// Hands work from a worker thread to the UI thread (the thread of the
// QCoreApplication) and blocks until it has run there. Cancel releases every
// waiter at once, and work that has not started by then never runs, so a
// shutdown on the UI thread can join workers that were waiting for it.
#include <atomic>
#include <functional>
#include <memory>

class TUiHandOver {
 public:
  TUiHandOver();
  ~TUiHandOver();
  TUiHandOver(const TUiHandOver&) = delete;
  TUiHandOver& operator=(const TUiHandOver&) = delete;

  // True when AWork ran; false when the hand-over was cancelled before it started.
  bool Run(std::function<void()> AWork);
  void Cancel();
  bool IsCancelled() const;
  static bool IsUiThread();

  struct TState;

 private:
  std::shared_ptr<TState> FState;
};
