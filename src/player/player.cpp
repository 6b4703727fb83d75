#include "game.h"

// Not built yet: an empty entry point with its final signature.
void InitialisePlayers() { }
void SpawnPlayer(TEntityKind kind, int32_t xp, int32_t yp, const char* name) { (void)kind; (void)xp; (void)yp; (void)name; }
void PlayersPreThink() { }
void PlayerPreThink(TPlayerState* p) { (void)p; }
void PlayerPostThink() { }
void PlayerKeyCheck(TPlayerState* p) { (void)p; }
void MoveLeft(TPlayerState* p) { (void)p; }
void MoveRight(TPlayerState* p) { (void)p; }
void AboutFace(TPlayerState* p) { (void)p; }
void UseJetpackEnergy(TPlayerState* p) { (void)p; }
void JetpackUp(TPlayerState* p) { (void)p; }
void JetpackDown(TPlayerState* p) { (void)p; }
void AimUp(TPlayerState* p) { (void)p; }
void AimDown(TPlayerState* p) { (void)p; }
void AimCentre(TPlayerState* p) { (void)p; }
void SpawnAimAngle(TPlayerState* p) { (void)p; }
void CalcReticleDxDyFromPlayer(TPlayerState* p, int32_t* dx, int32_t* dy, int32_t* ix, int32_t* iy) { (void)p; (void)dx; (void)dy; (void)ix; (void)iy; }
void Fire(TPlayerState* p) { (void)p; }
void CheckPickupObject(TPlayerState* p) { (void)p; }
int CheckEquipPlayer(TPlayerState* p, TEntity* ent) { (void)p; (void)ent; return 0; }
void DropObject(TPlayerState* p) { (void)p; }
void ThrowObject(TPlayerState* p) { (void)p; }
void Remember(TPlayerState* p) { (void)p; }
void Teleport(TPlayerState* p) { (void)p; }
void StoreObject(TPlayerState* p) { (void)p; }
void RetrieveObject(TPlayerState* p) { (void)p; }
void LieDown(TPlayerState* p) { (void)p; }
void BlowActivateWhistle(TPlayerState* p) { (void)p; }
void BlowPodWhistle(TPlayerState* p) { (void)p; }
