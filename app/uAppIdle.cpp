#include "app/uAppIdle.h"

#include <QCoreApplication>
#include <QTimer>

#include <map>

namespace {

// A zero-interval timer fires only after all pending events have been
// processed, which is exactly "idle" for us. It runs only while someone
// listens, so an idle program does not spin.
class TAppIdle {
 public:
  int Subscribe(TIdleHandler AHandler) {
    const int id = FNextId++;
    FHandlers.emplace(id, std::move(AHandler));
    Timer().start();
    return id;
  }

  void Unsubscribe(int AId) {
    FHandlers.erase(AId);
    if (FHandlers.empty() && FTimer) FTimer->stop();
  }

  int Count() const { return static_cast<int>(FHandlers.size()); }

 private:
  QTimer& Timer() {
    if (!FTimer) {
      // Parented to the application so it goes away with it.
      FTimer = new QTimer(QCoreApplication::instance());
      FTimer->setInterval(0);
      QObject::connect(FTimer, &QTimer::timeout, FTimer, [this] { RunAll(); });
      QObject::connect(FTimer, &QObject::destroyed, [this] { FTimer = nullptr; });
    }
    return *FTimer;
  }

  void RunAll() {
    // Handlers may unsubscribe themselves or others while we walk the list,
    // so look each id up again before calling it.
    std::vector<int> ids;
    ids.reserve(FHandlers.size());
    for (const auto& [id, handler] : FHandlers) ids.push_back(id);
    for (int id : ids) {
      auto it = FHandlers.find(id);
      if (it == FHandlers.end()) continue;
      TIdleHandler handler = it->second;  // a copy survives its own unsubscription
      handler();
    }
  }

  std::map<int, TIdleHandler> FHandlers;
  QTimer* FTimer = nullptr;
  int FNextId = 1;
};

TAppIdle& Idle() {
  static TAppIdle idle;
  return idle;
}

}  // namespace

int AppIdleSubscribe(TIdleHandler AHandler) { return Idle().Subscribe(std::move(AHandler)); }
void AppIdleUnsubscribe(int AId) { Idle().Unsubscribe(AId); }
int AppIdleCount() { return Idle().Count(); }
