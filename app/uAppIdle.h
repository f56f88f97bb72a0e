#pragma once
// The application's idle notification: handlers subscribed here run on the
// UI thread once the event queue has been worked off, again at every idle
// moment until they unsubscribe.

#include <functional>

using TIdleHandler = std::function<void()>;

// Returns the id to unsubscribe with (never -1).
int AppIdleSubscribe(TIdleHandler AHandler);
// Unknown ids are ignored; safe from inside a running handler.
void AppIdleUnsubscribe(int AId);
// How many handlers are subscribed, for callers that check the bookkeeping.
int AppIdleCount();
