#include "defs/problems.h"

#include <sys/stat.h>

#include <cstdarg>
#include <cstring>

LoadListener* loadlistener = nullptr;

namespace {

void Tell(const char* file, long at, const char* fmt, va_list args) {
  char text[512];
  std::vsnprintf(text, sizeof text, fmt, args);
  size_t n = std::strlen(text);
  if (n > 0 && text[n - 1] == '\n') text[n - 1] = 0;
  const char* start = text;
  while (*start == ' ') start++;
  loadlistener->OnProblem(file, at, start);
}

}  // namespace

void LoadProblem(const char* file, long at, const char* fmt, ...) {
  if (!loadlistener) return;
  va_list args;
  va_start(args, fmt);
  Tell(file, at, fmt, args);
  va_end(args);
}

void SayProblem(const char* file, long at, const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  if (loadlistener) {
    va_list copy;
    va_copy(copy, args);
    Tell(file, at, fmt, copy);
    va_end(copy);
  }
  std::vprintf(fmt, args);
  va_end(args);
  std::fflush(stdout);
}

void LoadRecord(const char* file, long at, int index) {
  if (loadlistener) loadlistener->OnRecord(file, at, index);
}

void LoadSizeProblem(const char* file, FILE* f, long want, const char* what) {
  struct stat st;
  if (!loadlistener || fstat(fileno(f), &st) != 0 || !S_ISREG(st.st_mode)) return;
  long size = long(st.st_size);
  if (size < want)
    LoadProblem(file, -1, "%ld bytes, short of %s (%ld): the rest is left empty", size, what, want);
  else if (size > want)
    LoadProblem(file, -1, "%ld bytes, more than %s (%ld): the last %ld are ignored", size, what,
                want, size - want);
}
