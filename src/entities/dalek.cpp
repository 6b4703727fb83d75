// Daleks (pinkdalek, reddalek, bluedalek): patrol toward their target while
// they can see it, stand still when they cannot, and fire their subtype.
#include "defs/random.h"
#include "game.h"

void DalekThink(TEntity* ent) {
  TEntity* e0 = &Entities[0];
  if (ent->target == nullptr) ent->target = e0;
  if (!TraceLOS(ent, ent->target)) {
    ent->dx = 0;
    return;
  }
  if (ent->subtype != 0 && ent->estate != esDying) {
    if (Rand() % 128 == 1 && TraceLOS(ent, e0)) FireAtEnt(ent, e0, 32 + Rand() % 32);
  }
  if (ent->x < ent->target->x) ent->dx = 16;
  else if (ent->x > ent->target->x) ent->dx = -16;
}
