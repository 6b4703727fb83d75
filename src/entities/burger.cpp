#include "game.h"

// Not built yet: an empty entry point with its final signature.
void BurgerThink(TEntity* ent) { (void)ent; }
