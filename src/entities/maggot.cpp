// Grubs (pinkgrub, yellowgrub): only wriggle while something moves them.
#include "game.h"

void MaggotThink(TEntity* ent) {
  if (ent->dx != 0 && framectr % 8 == 1) {
    ent->frame = TFrame(ent->frame + 1);
    if (ent->frame == 4) ent->frame = TFrame(0);
  }
}
