#include "defs/console.h"

#include <cstdarg>
#include <cstdio>

void Say(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  std::vprintf(fmt, args);
  va_end(args);
  std::fflush(stdout);
}
