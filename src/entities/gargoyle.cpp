// Gargoyles: fixed turrets mounted on a wall or a ceiling; once they have seen
// the player's entity they spit plasma every 32nd frame.
#include "game.h"

void GargoyleThink(TEntity* ent) {
  if (ent->estate != esAlive) return;
  if (TraceLOS(ent, &Entities[0])) ent->awake = 1;
  if (ent->awake != 1 || framectr % 32 != 1) return;
  // the muzzle and the direction follow the way the gargoyle is mounted
  if (ent->flipx == 0 && ent->flipy == 0)
    SpawnProjectile(plasma, ent->x + ent->w, ent->y - 1280, 105, 90);
  else if (ent->flipx == 0)
    SpawnProjectile(plasma, ent->x + ent->w - 1024, ent->y + ent->h, 45, 90);
  else if (ent->flipy == 0)
    SpawnProjectile(plasma, ent->x, ent->y - 1280, 225, 90);
  else
    SpawnProjectile(plasma, ent->x, ent->y + ent->h, 315, 90);
}
