#include "player/uUiHandOver.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <condition_variable>
#include <mutex>

struct TUiHandOver::TState {
  std::mutex Lock;
  std::condition_variable Cond;
  bool isCancelled = false;
};

namespace {
struct TCall {
  std::function<void()> Work;
  bool isStarted = false;
  bool isDone = false;
};
}  // namespace

TUiHandOver::TUiHandOver() : FState(std::make_shared<TState>()) {}

TUiHandOver::~TUiHandOver() { Cancel(); }

bool TUiHandOver::IsUiThread() {
  auto* app = QCoreApplication::instance();
  return app == nullptr || QThread::currentThread() == app->thread();
}

bool TUiHandOver::Run(std::function<void()> AWork) {
  auto state = FState;
  {
    std::lock_guard lock(state->Lock);
    if (state->isCancelled) return false;
  }
  if (IsUiThread()) {
    AWork();
    return true;
  }
  auto call = std::make_shared<TCall>();
  call->Work = std::move(AWork);
  QMetaObject::invokeMethod(
      QCoreApplication::instance(),
      [state, call] {
        {
          std::lock_guard lock(state->Lock);
          if (state->isCancelled) return;
          call->isStarted = true;
        }
        call->Work();
        {
          std::lock_guard lock(state->Lock);
          call->isDone = true;
        }
        state->Cond.notify_all();
      },
      Qt::QueuedConnection);
  std::unique_lock lock(state->Lock);
  // Work already running finishes first: its caller must not run ahead of it.
  state->Cond.wait(lock, [&] { return call->isDone || (state->isCancelled && !call->isStarted); });
  return call->isDone;
}

void TUiHandOver::Cancel() {
  {
    std::lock_guard lock(FState->Lock);
    FState->isCancelled = true;
  }
  FState->Cond.notify_all();
}

bool TUiHandOver::IsCancelled() const {
  std::lock_guard lock(FState->Lock);
  return FState->isCancelled;
}
