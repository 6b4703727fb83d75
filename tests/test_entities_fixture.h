// A small world for the entity tests: classes made on the spot, entities spawned
// through the game's own spawn, map tiles of rock and water written directly.
#pragma once
#include <string>
#include <vector>

#include "defs/random.h"
#include "platform/testseams.h"
#include "test_support.h"

using Ints = std::vector<int32_t>;

struct EntWorld : Fresh {
  void SetUp() override {
    Fresh::SetUp();
    watery = 20000;   // the water line below the map: nothing starts in water
  }
  // a class as the loader makes it
  static TEntityClass& Class(TEntityKind k, int w, int h, int mass, int grav = 0, int hp = -1,
                             int ls = -1, int dtype = edtNothing, int dmg = 0, int doc = 0,
                             int spr = 0, int frames = 0) {
    SpawnEntityClass(k, w, h, spr, mass, hp, ls, 0, 0, grav, frames, dtype, dmg, 7, doc);
    return EntityClass[k];
  }
  // spawns k at (x, y), at rest
  static TEntity* Spawn(TEntityKind k, int32_t x, int32_t y, int32_t dx = 0, int32_t dy = 0) {
    SpawnEntity(k, x, y, blank, 0, flNorm, 0, 0);
    Entities[eslot].dx = dx;
    Entities[eslot].dy = dy;
    return &Entities[eslot];
  }
  // map tile (tx, ty) all rock (255, tile 1) or all water (128, tile 2)
  static void Tile(int tx, int ty, uint8_t value) {
    int n = value == 255 ? 1 : 2;
    mapt[tx][ty] = n;
    for (int r = 0; r < 64; ++r)
      for (int c = 0; c < 64; ++c) mapmasks[0][r * 1024 + n * 64 + c] = value;
  }
};
