#include "game.h"

// Not built yet: an empty entry point with its final signature.
void UrnThink(TEntity* ent) { (void)ent; }
void PowerPodThink(TEntity* ent) { (void)ent; }
