// Grenades: a grenade lying about only spins; an armed grenade spins until it
// is hurt, and from then on blasts everything around it in every frame that it
// is not alive.
#include "defs/random.h"
#include "entities/behaviour.h"

void GrenadeThink(TEntity* ent) { CycleFrame(ent, 4); }

void GrenadeActThink(TEntity* ent) {
  if (ent->estate != esAlive) {
    RadiusDamage(ent, 16384, 1024);
    SpawnExplosion(ent->x, ent->y, 240 + Rand() % 15);
    return;
  }
  CycleFrame(ent, 4);
}
