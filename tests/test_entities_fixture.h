// A small world for the entity tests: classes made on the spot, entities spawned
// through the game's own spawn, and map tiles of rock and water written directly.
#pragma once
#include <string>

#include "defs/random.h"
#include "platform/testseams.h"
#include "test_support.h"

struct EntWorld : Fresh {
  void SetUp() override {
    Fresh::SetUp();
    watery = 20000;   // the water line below the map: nothing starts in water
  }
  // a class as the loader would make it: size, mass, gravity, hit points,
  // lifespan, damage type, contact damage, dies on contact, sprite, frames
  static TEntityClass& Class(TEntityKind k, int w, int h, int mass, int grav = 0, int hp = -1,
                             int ls = -1, int dtype = edtNothing, int dmg = 0, int doc = 0,
                             int spr = 0, int frames = 0) {
    SpawnEntityClass(k, w, h, spr, mass, hp, ls, 0, 0, grav, frames, dtype, dmg, 7, doc);
    return EntityClass[k];
  }
  // spawns k at (x, y) and leaves it at rest
  static TEntity* Spawn(TEntityKind k, int32_t x, int32_t y) {
    SpawnEntity(k, x, y, blank, 0, flNorm, 0, 0);
    TEntity* e = &Entities[eslot];
    e->dx = e->dy = 0;
    return e;
  }
  // map tile (tx, ty) filled with one mask value: tile 1 is rock, tile 2 water
  static void Tile(int tx, int ty, uint8_t value) {
    int n = value == 255 ? 1 : 2;
    mapt[tx][ty] = n;
    for (int r = 0; r < 64; ++r)
      for (int c = 0; c < 64; ++c) mapmasks[0][r * 1024 + n * 64 + c] = value;
  }
  static int LiveParticles() {
    int n = 0;
    for (const TParticle& p : Particles) n += p.colour != 0;
    return n;
  }
};

// The console output of f, without the image loader's own lines.
template <class F>
std::string Console(F f) {
  testing::internal::CaptureStdout();
  f();
  std::string all = testing::internal::GetCapturedStdout(), out;
  size_t at = 0;
  while (at < all.size()) {
    size_t nl = all.find('\n', at);
    size_t end = nl == std::string::npos ? all.size() : nl + 1;
    std::string line = all.substr(at, end - at);
    if (line.rfind("spawned frame", 0) != 0) out += line;
    at = end;
  }
  return out;
}
