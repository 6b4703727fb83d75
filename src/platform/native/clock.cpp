// The game clock: milliseconds of the monotonic clock, and a frame wait that
// sleeps until its time has come.
#include <cerrno>
#include <ctime>

#include "platform/native/native.h"

namespace {

struct MonotonicClock final : Clock {
  uint32_t TickCount() override {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return uint32_t(uint64_t(ts.tv_sec) * 1000u + uint64_t(ts.tv_nsec) / 1000000u);
  }
  void WaitUntil(uint32_t t) override {
    for (uint32_t now = TickCount(); now < t; now = TickCount()) {
      uint32_t ms = t - now;
      timespec ts{time_t(ms / 1000), long(ms % 1000) * 1000000L};
      while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
      }
    }
  }
};

}  // namespace

Clock* NativeClock() {
  static MonotonicClock c;
  return &c;
}
