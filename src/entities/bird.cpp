// Birds (greenbird, whitebird, bat, pinkbird): drift about at random and now
// and then swoop at the player's entity when they can see it.
#include "defs/random.h"
#include "entities/behaviour.h"

// Swoops at the player's entity with divisor 50..59 when in sight; otherwise
// drifts.
void BirdThink(TEntity* ent) {
  TEntity* e0 = &Entities[0];
  if (TraceLOS(ent, e0) && Rand() % 16 == 1) {
    int32_t s = 50 + Rand() % 10;
    ent->dx = (e0->x - ent->x) / s;
    ent->dy = (e0->y - ent->y) / s;
    return;
  }
  BirdMoveRandom(ent);
}

// One chance in 64 of a new random velocity, else slow down by 1 per axis.
void BirdMoveRandom(TEntity* ent) { DriftRandomly(ent, 64, 1); }
