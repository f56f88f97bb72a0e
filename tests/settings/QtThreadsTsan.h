// Qt D-Bus and Qt's X11 connection hand data between our thread and threads
// of their own under Qt's futex locks, which ThreadSanitizer cannot see; it
// then takes Qt's own frees and copies for races. Such executables let TSan
// check only what instrumented code does. Include in exactly one source file.
#pragma once

#if defined(__SANITIZE_THREAD__)
extern "C" const char* __tsan_default_options() {
  return "ignore_noninstrumented_modules=1";
}
#endif
