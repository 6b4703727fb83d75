#include "game.h"

// Not built yet: an empty entry point with its final signature.
void ImpThink(TEntity* ent) { (void)ent; }
void ImpHurt(TEntity* ent) { (void)ent; }
void ImpClimb(TEntity* ent) { (void)ent; }
