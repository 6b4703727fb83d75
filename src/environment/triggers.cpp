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

namespace {

// Skips blanks and line breaks, counting the breaks.
void SkipSpace(FILE* f, int* line) {
  int c;
  while ((c = fgetc(f)) != EOF && isspace(c))
    if (c == '\n') ++*line;
  if (c != EOF) ungetc(c, f);
}

// Skips the rest of the line, its break included.
void SkipLine(FILE* f, int* line) {
  int c;
  while ((c = fgetc(f)) != EOF && c != '\n') {
  }
  if (c == '\n') ++*line;
}

// Whether the word just read ends here (white space or the end of the file).
bool WordEnds(FILE* f) {
  int c = fgetc(f);
  if (c != EOF) ungetc(c, f);
  return c == EOF || isspace(c);
}

}  // namespace

TTriggerRead ReadTriggerRecord(FILE* f, int* line, TTriggerRecord* r) {
  SkipSpace(f, line);
  r->line = *line;
  if (fscanf(f, "%63s", r->label) != 1) return trEnd;
  r->at = ftell(f);
  if (!WordEnds(f)) {
    SkipLine(f, line);
    return trLongLabel;
  }
  SkipSpace(f, line);
  bool sameLine = *line == r->line;
  int got = fscanf(f, "%d,%d,%d,%d,%d", &r->n[0], &r->n[1], &r->n[2], &r->n[3], &r->n[4]);
  if (got == 5 && WordEnds(f)) return trGood;
  // A later line that does not start with a number starts the next record;
  // otherwise what is left of the line goes with the bad record.
  if (sameLine || got > 0) SkipLine(f, line);
  return trBadNumbers;
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
  TTriggerRecord r;
  int line = 1;
  for (TTriggerRead got; (got = ReadTriggerRecord(f, &line, &r)) != trEnd;) {
    if (got == trLongLabel) {
      SayProblem(fname, r.at, "  trigger label too long: record skipped\n");
      continue;
    }
    if (got == trBadNumbers) {
      SayProblem(fname, r.at, "  trigger %s: bad numbers, record skipped\n", r.label);
      continue;
    }
    if (tslot >= MAX_TRIGGERS) {
      SayProblem(fname, r.at, "  trigger table full: %s skipped\n", r.label);
      continue;
    }
    SpawnTrigger(r.n[0], r.n[1] * TILE_WSCALE, r.n[2] * TILE_HSCALE, r.n[3] * TILE_WSCALE,
                 r.n[4] * TILE_HSCALE);
    Say("  spawned trigger %d\n", r.n[0]);
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
