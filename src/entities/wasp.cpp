// Wasps (whitewasp, greenwasp): like birds, but faster, buzzing and animated.
#include "defs/random.h"
#include "entities/behaviour.h"

// In sight, one chance in 16 to swoop at the player's entity over 20..39
// frames, buzzing one time in four; otherwise drift. Wings beat every 4th frame.
void WaspThink(TEntity* ent) {
  TEntity* e0 = &Entities[0];
  if (TraceLOS(ent, e0) && Rand() % 16 == 1) {
    int32_t s = 20 + Rand() % 20;
    if (Rand() % 4 == 1) PlaySFXWithTint(es_waspbuzz, 500);
    ent->dx = (e0->x - ent->x) / s;
    ent->dy = (e0->y - ent->y) / s;
  } else {
    WaspMoveRandom(ent);
  }
  CycleFrame(ent, 4);
}

// One chance in 16 of a new random velocity, else slow down by 2 per axis.
void WaspMoveRandom(TEntity* ent) { DriftRandomly(ent, 16, 2); }
