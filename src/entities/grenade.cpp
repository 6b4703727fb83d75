#include "game.h"

// Not built yet: an empty entry point with its final signature.
void GrenadeThink(TEntity* ent) { (void)ent; }
void GrenadeActThink(TEntity* ent) { (void)ent; }
