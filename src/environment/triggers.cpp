// Triggers: invisible rectangles read from the trigger file at start-up. When
// player 0 stands in an armed one, every live entity carrying its id is marked
// triggered and the trigger is spent.
#include <cctype>
#include <cstdarg>
#include <cstdio>

#include "defs/console.h"
#include "defs/problems.h"
#include "game.h"
#include "platform/platform.h"

// Skips what is left of the current word (up to white space or the end).
static void SkipWord(FILE* f) {
  int c;
  while ((c = fgetc(f)) != EOF && !isspace(c)) {
  }
}

// Reads the five numbers of a record. They must be one word of the form
// "%d,%d,%d,%d,%d": anything short of that, or with more after it, is
// refused, and the rest of the word is skipped so that reading goes on with
// the next record.
static bool ReadNumbers(FILE* f, int32_t n[5]) {
  int got = fscanf(f, "%d,%d,%d,%d,%d", &n[0], &n[1], &n[2], &n[3], &n[4]);
  int c = fgetc(f);
  bool wordEnds = c == EOF || isspace(c);
  if (!wordEnds) SkipWord(f);
  return got == 5 && wordEnds;
}

void InitialiseTriggers(const char* fname) {
  for (TTrigger& t : Triggers) t = {0, 0, 0, 0, 0, 1};   // unused slots never fire
  tslot = 1;
  FILE* f = OpenDataFile(fname, "r");
  if (f == nullptr) {
    LoadProblem(fname, -1, "missing: the world has no triggers");
    return;
  }
  Say("spawning triggers %s\n", fname);
  char label[64];
  int32_t n[5];
  while (fscanf(f, "%63s", label) == 1) {
    long at = ftell(f);
    int c = fgetc(f);
    if (c != EOF && !isspace(c)) {
      // the label is longer than 63 characters: skip it and its numbers
      SkipWord(f);
      ReadNumbers(f, n);
      SayProblem(fname, at, "  trigger label too long: record skipped\n");
      continue;
    }
    if (!ReadNumbers(f, n)) {
      SayProblem(fname, at, "  trigger %s: bad numbers, record skipped\n", label);
      continue;
    }
    if (tslot >= MAX_TRIGGERS) {
      SayProblem(fname, at, "  trigger table full: %s skipped\n", label);
      continue;
    }
    SpawnTrigger(n[0], n[1] * TILE_WSCALE, n[2] * TILE_HSCALE, n[3] * TILE_WSCALE,
                 n[4] * TILE_HSCALE);
    Say("  spawned trigger %d\n", n[0]);
  }
  fclose(f);
}

// Stores a trigger in slot tslot; w and h become the right and bottom edges.
void SpawnTrigger(int32_t id, int32_t x, int32_t y, int32_t w, int32_t h) {
  if (tslot < 0 || tslot >= MAX_TRIGGERS) return;
  TTrigger& t = Triggers[tslot];
  t.id = id;
  t.x = x;
  t.y = y;
  t.w = x + w;
  t.h = y + h;
  t.triggered = 0;
  tslot += 1;
}

// Fires every armed trigger whose rectangle, edges included, holds (x, y).
// The entity scan runs to the end, so every matching entity is triggered in
// the same frame.
void CheckTriggers(int32_t x, int32_t y) {
  for (int i = 0; i < MAX_TRIGGERS; i++) {
    TTrigger& t = Triggers[i];
    if (t.id < 0 || t.triggered != 0) continue;
    if (x < t.x || x > t.w || y < t.y || y > t.h) continue;
    for (int j = 0; j < MAX_ENTITIES; j++) {
      TEntity& e = Entities[j];
      if (e.kind == blank || e.triggered != 0 || e.triggerid < 0) continue;
      if (t.id == 0 || e.triggerid != t.id) continue;
      e.triggered = 1;
      t.triggered = 1;
      Say("%d triggered %d\n", i, j);
    }
  }
}
