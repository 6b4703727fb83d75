// Fire: a flickering object.
#include "entities/behaviour.h"

void FireThink(TEntity* ent) {
  CycleFrame(ent, 4);
}
