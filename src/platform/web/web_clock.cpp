// The game's clock in the page. A page cannot sleep, so the frame wait does
// not wait: it moves the game's time on to the moment asked for, and the
// window's loop runs the next frame only once the browser's clock has come
// that far. The world so keeps the pace of the native frame wait, at most one
// frame every 8 ms, whatever the display's refresh rate.
#include "platform/web/web.h"

namespace {

struct PageClock final : Clock {
  double now = 0;   // milliseconds since the page started, as the frames reached them
  uint32_t TickCount() override { return uint32_t(now); }
  void WaitUntil(uint32_t t) override {
    if (double(t) > now) now = double(t);
  }
};

PageClock pageclock;

}  // namespace

Clock* WebClock() { return &pageclock; }

double WebClockNow() { return pageclock.now; }

void WebClockSet(double ms) { pageclock.now = ms; }
