#include "game.h"

// Not built yet: an empty entry point with its final signature.
void SelectPistol(TPlayerState* p) { (void)p; }
void SelectIcer(TPlayerState* p) { (void)p; }
void SelectBlaster(TPlayerState* p) { (void)p; }
void SelectPlasma(TPlayerState* p) { (void)p; }
void SelectSuit(TPlayerState* p) { (void)p; }
void SelectJetpack(TPlayerState* p) { (void)p; }
void SelectRandom(TPlayerState* p) { (void)p; }
void FireAtEnt(TEntity* firer, TEntity* target, int32_t speed) { (void)firer; (void)target; (void)speed; }
void PlayEntityFiringSound(TEntityClass* eclass) { (void)eclass; }
void GuidedIceThink(TEntity* ent) { (void)ent; }
void SpawnIcerShot() { }
void SpawnPlasmaShot() { }
void FireBlaster() { }
void SpawnCannonShot() { }
