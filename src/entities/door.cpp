#include "game.h"

// Not built yet: an empty entry point with its final signature.
void VertDoorThink(TEntity* ent) { (void)ent; }
void HoriDoorThink(TEntity* ent) { (void)ent; }
