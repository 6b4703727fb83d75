// Buzzballs (buzzball, invisbuzzball): roll about level, lunging at the
// player's entity when they see it.
#include "defs/random.h"
#include "entities/behaviour.h"

void BuzzBallThink(TEntity* ent) {
  TEntity* e0 = &Entities[0];
  if (TraceLOS(ent, e0)) {
    if (Rand() % 4 == 1) {
      int32_t s = 20 + Rand() % 30;
      ent->dx = (e0->x - ent->x) / s;
      ent->dy = (e0->y - ent->y) / s;
    } else {
      int32_t a = Rand() % 64;
      int32_t b = Rand() % 64;
      ent->dx += a - b;   // a random walk of dx; dy kept
    }
  } else {
    if (Rand() % 4 == 1) {
      int32_t a = Rand() % 64;
      int32_t b = Rand() % 64;
      ent->dx = a - b;
    }
    ent->dy = 0;
  }
  CycleFrame(ent, 4);
}
