// Grubs (pinkgrub, yellowgrub): only wriggle while something moves them.
#include "entities/behaviour.h"

void MaggotThink(TEntity* ent) {
  if (ent->dx != 0) CycleFrame(ent, 8);
}
