// Fire: a flickering object.
#include "game.h"

void FireThink(TEntity* ent) {
  if (framectr % 4 == 1) {
    ent->frame = TFrame(ent->frame + 1);
    if (ent->frame == 4) ent->frame = TFrame(0);
  }
}
