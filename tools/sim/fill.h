// Full tables for the benchmark and the tests: every free entity slot filled
// with entities of the classes that have mass, at random open cells of the
// map, and every free particle slot with particles around player 0, both
// through the game's own spawns. The positions come from a generator of our
// own, so the game's random sequence is not touched.
#pragma once
#include "game.h"

namespace sim {

struct Filler {
  uint64_t s = 12345;
  int next = 0;   // the class whose turn it is

  uint32_t Next() {
    s = s * 6364136223846793005ull + 1442695040888963407ull;
    return uint32_t(s >> 33);
  }

  void Entities() {
    int kinds[MAX_CLASSES];
    int nkinds = 0;
    for (int k = 1; k < MAX_CLASSES; ++k)
      if (k != man && EntityClass[k].mass != 0 && EntityClass[k].width > 0) kinds[nkinds++] = k;
    if (nkinds == 0) return;
    for (int i = 1; i < MAX_ENTITIES; ++i) {
      if (::Entities[i].kind != blank) continue;
      int32_t x = 0, y = 0;
      for (int tries = 0; tries < 64; ++tries) {
        x = int32_t(Next() % uint32_t(MAP_TILES * TILE_WSCALE));
        y = int32_t(Next() % uint32_t(MAP_TILES * TILE_HSCALE));
        if (GetXY(x, y) != 255) break;
      }
      eslot = i;   // the slot search starts here, so this slot is the one filled
      SpawnEntity(TEntityKind(kinds[next % nkinds]), x, y, blank, 0, flNorm, 0, 0);
      next = (next + 1) % nkinds;
    }
  }

  // The particle cursor is left where the game had it.
  void Particles() {
    const TEntity& me = ::Entities[players[0].ent];
    const int32_t cursor = pslot;
    for (int i = 1; i < MAX_PARTICLES; ++i) {
      if (::Particles[i].colour != 0) continue;
      int32_t x = me.x + int32_t(Next() % 102400) - 51200;
      int32_t y = me.y + int32_t(Next() % 76800) - 38400;
      int32_t dx = int32_t(Next() % 256) - 128;
      int32_t dy = int32_t(Next() % 256) - 128;
      int32_t colour = 0xF0 | int32_t(1 + Next() % 7);
      pslot = i;   // the slot search starts here, so this slot is the one filled
      SpawnParticle(x, y, dx, dy, colour, 500, (i & 1) ? ptDot : ptGravDot);
    }
    pslot = cursor;
  }
};

}  // namespace sim
