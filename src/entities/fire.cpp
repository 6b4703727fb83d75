#include "game.h"

// Not built yet: an empty entry point with its final signature.
void FireThink(TEntity* ent) { (void)ent; }
