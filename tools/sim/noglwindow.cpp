// The tools' window for a build that has no GL (the runner built for node):
// --gl is refused.
#include <cstdio>
#include <cstdlib>

#include "glwindow.h"

namespace glwin {

namespace {

[[noreturn]] void NoGL() {
  std::fprintf(stderr, "quarn-sim: this build has no GL window; --gl is not available\n");
  std::exit(2);
}

}  // namespace

Window* TheWindow() { NoGL(); }
Draw* Drawer(bool) { NoGL(); }
void Pump() {}
void Finish() {}
void SaveFrames(const char* (*)()) {}

}  // namespace glwin
