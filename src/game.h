// Every entry point of the game, by family, in the order the game is built.
#pragma once
#include <cstdio>

#include "defs/defs.h"

// ---- application frame (app/main.cpp) ------------------------------------------
int WinMain();                       // the program entry; runs the main loop
int InitApplication(long hwnd);
void glInit();
void glutIdle();
void glutDisplay();
void drawScene();
void glutResize(int w, int h);
void glutMouse(int button, int state, int x, int y);
void InitialiseSinCos();
void QuitQuarn();
void FreeRest();
// ---- overlays (app/hud.cpp, app/menu.cpp) ----------------------------------------
void DisplayHUD();
void DisplayScore();
void DisplayMenu();

// ---- tile map (world/map.cpp) ------------------------------------------------
void InitialiseMap(const char* f);
void SaveMap(const char* f);
uint8_t GetXY(int32_t x, int32_t y);
// ---- map drawing and the editor (world/map.cpp) --------------------------------
void DisplayMap();
void CharAtXY(const char* c, int x, int y, int d);
void TileAtXY(int aTile, int x, int y, int w, int h, int d);
void InitialiseMapEditor();
void DisplayMapEditor();
void DisplayTileSet(int setno);
void DisplaySelectedTile(int aTile);
// ---- images and textures (world/tga.cpp) -----------------------------------------
enum { TGA_FILE_NOT_FOUND = 13, TGA_BAD_IMAGE_TYPE = 14, TGA_BAD_DIMENSION = 15,
       TGA_BAD_BITS = 16, TGA_BAD_DATA = 17 };
uint8_t* ImageAddAlpha(const uint8_t* src, int imgsize);   // caller frees with delete[]
void ImageUpload(const uint8_t* image, int texId, int imgx);
void ImageUploadXY(const uint8_t* image, int texId, int imgx, int imgy);
void LoadRaw(const char* name, int texidx, int imgx);
void LoadRawXY(const char* name, int texidx, int imgx, int imgy);
void LoadMask(const char* name, int idx);
void LoadEntityFrameXY(const char* fn, int i, int xsiz, int ysiz);
void LoadMultiEntityFrameXY(const char* fn, int i, int xsiz, int ysiz);
void LoadMapTiles();
int loadTGA(const char* name, int id);

// ---- entity classes (entities/entities.cpp) ---------------------------------------
void InitialiseEntities(const char* fname);
void SpawnEntityClass(TEntityKind i, int w, int h, int spr, int m, int hits, int ls, int regen,
                      int canwalk, int hasgravity, int framedx, int dmgtype, int dmg, int dmgclr,
                      int doc);
void SetEntityClassAI(TEntityClass* eclass);
// ---- spawning, lifespan and death --------------------------------------------------
void SpawnEntity(TEntityKind e, int32_t xp, int32_t yp, TEntityKind st, int32_t stm, TFlip fs,
                 int32_t tid, int32_t score);
void SpawnVelEntity(TEntityKind e, int32_t xp, int32_t yp, TEntityKind st, int32_t stm, TFlip fs,
                    int32_t tid, int32_t score, int32_t dx, int32_t dy, int32_t vangle);
void SpawnProjectileV(TEntityKind e, int32_t xp, int32_t yp, int32_t dx, int32_t dy);
void SpawnProjectile(TEntityKind e, int32_t xp, int32_t yp, int32_t vangle, int32_t vel);
void CloneEntity(TEntity e);
// The spawns above, answering the entity they made, or null when they made
// none (a full table, or a kind outside the class table).
TEntity* PlaceEntity(TEntityKind e, int32_t xp, int32_t yp, TEntityKind st, int32_t stm, TFlip fs,
                     int32_t tid, int32_t score);
TEntity* PlaceVelEntity(TEntityKind e, int32_t xp, int32_t yp, TEntityKind st, int32_t stm,
                        TFlip fs, int32_t tid, int32_t score, int32_t dx, int32_t dy,
                        int32_t vangle);
TEntity* PlaceClone(const TEntity& e);
void EntityFire(TEntity e);
void SpawnEntities(const char* fname);
int ProcessEntityLifespan(TEntity* ent, TEntityClass* eclass);
void RegenerateEnt(TEntity* ent, TEntityClass* eclass);
void CheckRandomKill(TEntity* ent, TEntityClass* eclass);
void KillEntity(TEntity* ent);
void DyingEntity(TEntity* ent);
// ---- movement, collision and damage ------------------------------------------------
void MoveEntity(TEntity* ent);
int coldet(TEntity* ent);
int coldetidxholdable(int i);
int coldetidx(int i);
int TraceLOS(TEntity* e1, TEntity* e2);
int OnGround(TEntity* ent);
int32_t GetDist(TEntity* e1, TEntity* e2);
int32_t GetVect(TEntity e1, TEntity e2);
void ClampDxDy(TEntity* ent);
int32_t RoughRadialDamage(int32_t basedmg, int32_t dist, int32_t radius);
void RadiusDamage(TEntity* ent, int32_t radius, int32_t dmg);
void DoMoveEntity(TEntity* ent);
// ---- entity drawing ----------------------------------------------------------------
void DisplayEntities();
void DisplayEntsOnly();
void DisplayEntity(TEntity* ent);

// ---- creature behaviours (one source per family) -----------------------------------
void BirdThink(TEntity* ent);
void BirdMoveRandom(TEntity* ent);
void WaspThink(TEntity* ent);
void WaspMoveRandom(TEntity* ent);
void BuzzBallThink(TEntity* ent);
void BurgerThink(TEntity* ent);
void DalekThink(TEntity* ent);
void ImpThink(TEntity* ent);
void ImpHurt(TEntity* ent);
void ImpClimb(TEntity* ent);
void GargoyleThink(TEntity* ent);
void MaggotThink(TEntity* ent);
void RedGlookThink(TEntity* ent);
void ChatterThink(TEntity* ent);
void TeleBotThink(TEntity* ent);
void BigFishThink(TEntity* ent);
void FishThink(TEntity* ent);
void FrogThink(TEntity* ent);
void FluffyThink(TEntity* ent);
void HarryThink(TEntity* ent);
void TriaxThink(TEntity* ent);
// ---- weapons and projectiles (entities/weaponry.cpp) --------------------------------
void SelectPistol(TPlayerState* p);
void SelectIcer(TPlayerState* p);
void SelectBlaster(TPlayerState* p);
void SelectPlasma(TPlayerState* p);
void SelectSuit(TPlayerState* p);
void SelectJetpack(TPlayerState* p);
void SelectRandom(TPlayerState* p);
void FireAtEnt(TEntity* firer, TEntity* target, int32_t speed);
void PlayEntityFiringSound(TEntityClass* eclass);
void GuidedIceThink(TEntity* ent);
void SpawnIcerShot();
void SpawnPlasmaShot();
void FireBlaster();
void SpawnCannonShot();
// ---- doors, nests and static objects ------------------------------------------------
void VertDoorThink(TEntity* ent);
void HoriDoorThink(TEntity* ent);
void MonsterNestThink(TEntity* ent);
void SpawnerNestThink(TEntity* ent);
void DropperThink(TEntity* ent);
void UrnThink(TEntity* ent);
void PowerPodThink(TEntity* ent);
void FireThink(TEntity* ent);
void GrenadeThink(TEntity* ent);
void GrenadeActThink(TEntity* ent);
void SuckNestThink(TEntity* ent);
void ShroomThink(TEntity* ent);

// ---- player state and update (player/player.cpp) -------------------------------------
void InitialisePlayers();
void SpawnPlayer(TEntityKind kind, int32_t xp, int32_t yp, const char* name);
void PlayersPreThink();
void PlayerPreThink(TPlayerState* p);
void PlayerPostThink();
// ---- player controls --------------------------------------------------------------
void PlayerKeyCheck(TPlayerState* p);
void MoveLeft(TPlayerState* p);
void MoveRight(TPlayerState* p);
void AboutFace(TPlayerState* p);
void UseJetpackEnergy(TPlayerState* p);
void JetpackUp(TPlayerState* p);
void JetpackDown(TPlayerState* p);
void AimUp(TPlayerState* p);
void AimDown(TPlayerState* p);
void AimCentre(TPlayerState* p);
void SpawnAimAngle(TPlayerState* p);
void CalcReticleDxDyFromPlayer(TPlayerState* p, int32_t* dx, int32_t* dy, int32_t* ix,
                               int32_t* iy);
void Fire(TPlayerState* p);
// ---- pockets, equipment, carried objects and teleport -----------------------------------
void CheckPickupObject(TPlayerState* p);
int CheckEquipPlayer(TPlayerState* p, TEntity* ent);
void DropObject(TPlayerState* p);
void ThrowObject(TPlayerState* p);
void Remember(TPlayerState* p);
void Teleport(TPlayerState* p);
void StoreObject(TPlayerState* p);
void RetrieveObject(TPlayerState* p);
void LieDown(TPlayerState* p);
void BlowActivateWhistle(TPlayerState* p);
void BlowPodWhistle(TPlayerState* p);

// ---- particles and fountains (environment/particles.cpp) -------------------------------
void InitialiseParticles();
void SpawnParticle(int32_t ix, int32_t iy, int32_t vx, int32_t vy, int32_t c, int32_t ls,
                   TParticleType pt);
void SpawnExplosion(int32_t ox, int32_t oy, int32_t clr);
void SpawnExplosionSpd(int32_t ox, int32_t oy, int32_t clr, int32_t speed, int32_t noof);
void SpawnSpray(int32_t ox, int32_t oy, int32_t dx, int32_t dy, int32_t clr);
void SpawnFountain(int32_t ix, int32_t iy, int32_t vx, int32_t vy, int32_t c, int32_t ls);
void SprayFountain(int i);
void MoveParticle(TParticle* p);
void DisplayParticle(int i);
void DisplayParticles();
void DisplayParticlesOnly();
// ---- wind and water (environment/wind.cpp, environment/water.cpp) -----------------------
void InitialiseWinds();
void SpawnWind(int idx, int lx, int ty, int w, int h, int wvx, int wvy);
int32_t randL();
void UpdateWind(int idx);
void DisplayWind();
void WindAdjust(TEntity* ent, int32_t m);
void DisplayWater();
// ---- triggers (environment/triggers.cpp) ----------------------------------------------
void InitialiseTriggers(const char* fname);
// One record of the trigger file as the reader finds it: the label, the five
// numbers (id, x, y, w, h in tiles) and the line the label stands on.
struct TTriggerRecord {
  char label[64];
  int32_t n[5];
  int line;
};
enum TTriggerRead { trEnd, trGood, trLongLabel, trBadNumbers };
// Reads the next record; *line counts the file's lines (1 at its start). A bad
// record ends with its line, so every good record after it is still read.
TTriggerRead ReadTriggerRecord(FILE* f, int* line, TTriggerRecord* r);
void SpawnTrigger(int32_t id, int32_t x, int32_t y, int32_t w, int32_t h);
void CheckTriggers(int32_t x, int32_t y);

// ---- sound (sound/quarnsound.cpp, sound/sounds.cpp) --------------------------------------
int InitSoundSystem(long hwnd);
void LoadSoundsFromFile();
void CacheSound(const char* aFileName, TSoundId aIndex);
int LoadWavToStaticBuffer(const uint8_t* lpBuffer, int fsize, int lpdsBuffer);
void PlaySFX(TSoundId snd);
void PlaySFXWithTint(TSoundId snd, int variance);
void FreeSoundSystem();
int InitQuarnListener();
void PlayWav(int idx);
void LoopWav(int idx);
void StopWav(int idx);
void ResetSoundGlobals();   // the sound module's own tables back to start values
