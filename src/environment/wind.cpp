// Wind areas: fixed rectangles of the world in which air moves. An area shows
// its wind as a stream of falling coloured particles and pushes the entities
// inside it. Slot 0 stays unused.
#include "defs/random.h"
#include "game.h"

void InitialiseWinds() {
  wslot = 0;
  for (int i = 1; i < MAX_WINDS; i++) WindAreas[i].width = 0;
  // tiles for position and size, world units per frame for velocity
  SpawnWind(1, 153, 38, 1, 128, 0, -384);
  SpawnWind(2, 154, 38, 1, 128, 0, -768);
  SpawnWind(3, 134, 41, 2, 2, 0, 768);
  SpawnWind(4, 0, 0, 80, 20, 3072, 0);
  SpawnWind(5, 160, 0, 96, 20, -3072, 0);
  SpawnWind(6, 80, 0, 16, 20, 384, 0);   // 6 and 7 are the same area: twice the push
  SpawnWind(7, 80, 0, 16, 20, 384, 0);
}

void SpawnWind(int idx, int lx, int ty, int w, int h, int wvx, int wvy) {
  TWindArea& a = WindAreas[idx];
  a.x = lx * TILE_WSCALE;
  a.y = ty * TILE_HSCALE;
  a.width = w * TILE_WSCALE;
  a.height = h * TILE_HSCALE;
  a.wsize = w;
  a.vx = wvx;
  a.vy = wvy;
}

int32_t randL() {
  int32_t a = Rand();
  int32_t b = Rand();
  return a + (b << 16);
}

void UpdateWind(int idx) {
  TWindArea& a = WindAreas[idx];
  // an area of no height has no point to emit from
  if (a.width != 0 && a.height != 0) {
    for (int32_t n = 0; n < a.wsize; n++) {
      int32_t px = randL() % a.width;
      int32_t py = randL() % a.height;
      if (ml <= a.x + px && a.x + px < mr) {   // no vertical bound
        int32_t r1 = Rand();
        int32_t r2 = Rand();
        SpawnParticle(a.x + px, a.y + py, a.vx, a.vy, r1 % 255, r2 % 24 + 16, ptGravDot);
      }
    }
  }
  if ((framectr & 31) == 31 && a.vx != 0 && a.vy != 0) {
    a.vx = -a.vx;
    a.vy = -a.vy;
  }
}

void DisplayWind() {
  ml = mapx * TILE_WSCALE;
  mr = ml + 12 * TILE_WSCALE;
  for (int i = 0; i < MAX_WINDS; i++) UpdateWind(i);
}

void WindAdjust(TEntity* ent, int32_t m) {
  if (m == 0) return;   // massless entities are never pushed
  for (int i = 1; i < MAX_WINDS; i++) {
    const TWindArea& a = WindAreas[i];
    if (a.width == 0) continue;
    // vertical winds come in gusts: nearly always early in each 64-frame
    // cycle, never from phase 62 on
    if (a.vx == 0 && !((framectr & 63) < Rand() % 63)) continue;
    if (ent->x < a.x || ent->x > a.x + a.width || ent->y < a.y || ent->y > a.y + a.height)
      continue;
    int32_t wdx = a.vx / m;
    int32_t wdy = a.vy / m;
    if (wdx != 0) {
      int32_t r1 = Rand();
      int32_t r2 = Rand();
      ent->dx += wdx + r1 % 8 - r2 % 8;
    }
    if (wdy != 0) {
      int32_t r3 = Rand();
      int32_t r4 = Rand();
      ent->dy += wdy + r3 % 8 - r4 % 8;
    }
  }
}
