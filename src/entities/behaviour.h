// Small steps that several behaviours share.
#pragma once
#include "defs/random.h"
#include "game.h"

// The four-frame animation cycle, one step on every frame whose counter is
// 1 modulo `every`.
inline void CycleFrame(TEntity* ent, int32_t every) {
  if (framectr % every == 1) {
    ent->frame = TFrame(ent->frame + 1);
    if (ent->frame == 4) ent->frame = TFrame(0);
  }
}

// One chance in `chance` of a new random velocity (each axis a difference of
// two draws below 512), else slow down by `slow` per axis. The two tests of
// an axis run one after the other, so a value that crosses 0 is pushed back.
inline void DriftRandomly(TEntity* ent, int32_t chance, int32_t slow) {
  if (Rand() % chance == 1) {
    int32_t a = Rand() % 512;
    int32_t b = Rand() % 512;
    ent->dx = a - b;
    a = Rand() % 512;
    b = Rand() % 512;
    ent->dy = a - b;
    return;
  }
  if (ent->dx > 0) ent->dx -= slow;
  if (ent->dx < 0) ent->dx += slow;
  if (ent->dy > 0) ent->dy -= slow;
  if (ent->dy < 0) ent->dy += slow;
}
