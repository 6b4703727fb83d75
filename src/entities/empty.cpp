// Behaviours that do nothing: these creatures and objects move only as the
// entity movement moves them.
#include "game.h"

void RedGlookThink(TEntity* ent) { (void)ent; }
void ChatterThink(TEntity* ent) { (void)ent; }
void TeleBotThink(TEntity* ent) { (void)ent; }
void BigFishThink(TEntity* ent) { (void)ent; }
void FishThink(TEntity* ent) { (void)ent; }
void FrogThink(TEntity* ent) { (void)ent; }
void FluffyThink(TEntity* ent) { (void)ent; }
void HarryThink(TEntity* ent) { (void)ent; }
void TriaxThink(TEntity* ent) { (void)ent; }
void SuckNestThink(TEntity* ent) { (void)ent; }
void ShroomThink(TEntity* ent) { (void)ent; }
