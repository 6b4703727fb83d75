// Burgers (whiteburger, cyanburger): turrets that never move by themselves and
// fire their subtype at the player's entity now and then.
#include "defs/random.h"
#include "game.h"

void BurgerThink(TEntity* ent) {
  if (ent->subtype == 0 || ent->estate == esDying) return;
  TEntity* e0 = &Entities[0];
  if (Rand() % 64 == 1 && TraceLOS(ent, e0)) FireAtEnt(ent, e0, 24 + Rand() % 4);
}
