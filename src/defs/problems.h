// What the loaders refuse, misread or cannot find in a data folder, told to a
// listener: the world checker sets one, the game none. Without a listener
// these calls do nothing, so the game prints and does exactly what it did.
#pragma once
#include <cstdio>

// `file` is the data file as the game names it ("map\phoebus.ent"); `at` is a
// byte offset inside or just after the first word of the record concerned,
// -1 for the file as a whole.
struct LoadListener {
  virtual ~LoadListener() = default;
  virtual void OnProblem(const char* file, long at, const char* message) = 0;
  // A record was taken in: `index` is the class's kind, the placed entity's
  // slot (-1 when nothing was placed) or the cached sound's id. The game's
  // tables hold the record as it was read at the moment of the call.
  virtual void OnRecord(const char* file, long at, int index) = 0;
};
extern LoadListener* loadlistener;   // null in the game

void LoadProblem(const char* file, long at, const char* fmt, ...) __attribute__((format(printf, 3, 4)));
// A console line that is also a problem: printed as Say prints it, and told to
// the listener without its line break.
void SayProblem(const char* file, long at, const char* fmt, ...) __attribute__((format(printf, 3, 4)));
void LoadRecord(const char* file, long at, int index);
// Tells the listener when the open file f is not `want` bytes long; `what`
// names what a whole file holds ("a whole map").
void LoadSizeProblem(const char* file, FILE* f, long want, const char* what);
