#include "game.h"

// Not built yet: an empty entry point with its final signature.
void MonsterNestThink(TEntity* ent) { (void)ent; }
void SpawnerNestThink(TEntity* ent) { (void)ent; }
void DropperThink(TEntity* ent) { (void)ent; }
