#include "player/uUiHandOver.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <condition_variable>
#include <deque>
#include <mutex>

struct TUiHandOver::TState {
  std::mutex Lock;
  std::condition_variable Cond;
  bool isCancelled = false;
};

namespace {

struct TCall {
  std::shared_ptr<TUiHandOver::TState> State;
  std::function<void()> Work;
  bool isStarted = false;
  bool isDone = false;
};

// Lives on the UI thread and runs the queued calls there. The calls travel
// in a queue under our own lock; Qt's queued call only says "look now".
class TUiDispatcher : public QObject {
  Q_OBJECT
 public:
  static TUiDispatcher& Instance() {
    static TUiDispatcher* dispatcher = [] {
      auto* d = new TUiDispatcher;  // lives as long as the process
      d->moveToThread(QCoreApplication::instance()->thread());
      return d;
    }();
    return *dispatcher;
  }

  void Post(std::shared_ptr<TCall> ACall) {
    {
      std::lock_guard lock(FLock);
      FCalls.push_back(std::move(ACall));
    }
    QMetaObject::invokeMethod(this, "Drain", Qt::QueuedConnection);
  }

 public slots:
  void Drain() {
    std::deque<std::shared_ptr<TCall>> calls;
    {
      std::lock_guard lock(FLock);
      calls.swap(FCalls);
    }
    for (auto& call : calls) Run(*call);
  }

 private:
  static void Run(TCall& ACall) {
    auto& state = *ACall.State;
    {
      std::lock_guard lock(state.Lock);
      if (state.isCancelled) return;
      ACall.isStarted = true;
    }
    ACall.Work();
    {
      std::lock_guard lock(state.Lock);
      ACall.isDone = true;
    }
    state.Cond.notify_all();
  }

  std::mutex FLock;
  std::deque<std::shared_ptr<TCall>> FCalls;
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
  call->State = state;
  call->Work = std::move(AWork);
  TUiDispatcher::Instance().Post(call);
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

#include "uUiHandOver.moc"
