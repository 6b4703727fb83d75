// Objects that mostly sit still: the urn, which fills in water and spills when
// a full one moves fast, and the power pod, which only animates.
#include "entities/behaviour.h"

void UrnThink(TEntity* ent) {
  if (ent->inwater != 0) {
    ent->kind = urnfull;
    ent->sprite = EntityClass[urnfull].sprite;
    return;
  }
  if (ent->kind == urnfull &&
      (ent->dx > 256 || ent->dx < -256 || ent->dy > 256 || ent->dy < -256)) {
    ent->kind = urn;
    ent->sprite = EntityClass[urn].sprite;
    SpawnExplosionSpd(ent->x + 4, ent->y + 32, 244, 128, 127);   // the water sprays out
  }
}

void PowerPodThink(TEntity* ent) {
  CycleFrame(ent, 16);
}
