#include "game.h"

// Not built yet: an empty entry point with its final signature.
void BirdThink(TEntity* ent) { (void)ent; }
void BirdMoveRandom(TEntity* ent) { (void)ent; }
