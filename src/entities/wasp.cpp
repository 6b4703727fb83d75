#include "game.h"

// Not built yet: an empty entry point with its final signature.
void WaspThink(TEntity* ent) { (void)ent; }
void WaspMoveRandom(TEntity* ent) { (void)ent; }
