// Every entry point of the game, by family, in the order the game is built.
#pragma once
#include <cstddef>
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
// Only tile sets 0 and 1 and the four flips are ever written; any other word
// is treated as empty by the query, is not drawn and is not picked up.
inline bool KnownTile(uint32_t set, uint32_t flip) { return set <= 1 && flip <= mtXY; }
// Writes the map to the file named as the game names files; false with the
// reason in why when the file is left as it was.
bool WriteMapFile(const char* f, char* why, size_t size);
// ---- map drawing (world/map.cpp) ------------------------------------------------
void DisplayMap();
void CharAtXY(const char* c, int x, int y, int d);
void TileAtXY(int aTile, int x, int y, int w, int h, int d);
// ---- the map editor (world/editor.cpp) --------------------------------------------
void InitialiseMapEditor();
void DisplayMapEditor();
void DisplayTileSet(int setno);
void DisplaySelectedTile(int aTile);
// The drawing-plane point (x, y) under window pixel (px, py), counted from the
// window's top-left, on the layer `depth` units in front of the map's plane,
// through the view the last frame drew with.
void ClickPoint(int px, int py, float depth, double* x, double* y);
void EditorClick();   // what the click at (clickX, clickY) hit
void EditorViewCentre(int32_t* x, int32_t* y);
void DisplayEditorCell(int32_t i, int32_t j, int32_t x, int32_t y, bool inside);
void CentreEditorView();
void PanEditorView(int32_t dx, int32_t dy);
void UndoPainting();
void SwitchTileSet();
void ForgetPainting();   // the map in memory is the file's: nothing to undo, nothing unsaved
void SaveUnsavedPainting();
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
// ---- the collision grid (entities/grid.cpp) ----------------------------------------
// The moving pass opens the grid, tells it of every slot that moves or is
// spawned while it runs, and closes it; the collision search asks it while
// it is open. GridFirstAccepted answers the lowest slot near the box
// [ix, ix + w] x [iy, iy + h] that `accepts` takes, -1 for none, or
// GRID_CANNOT when the grid is closed or the box is too large for it.
constexpr int GRID_CANNOT = -2;
void ResetEntityGrid();
void OpenEntityGrid();
void CloseEntityGrid();
void RegridEntity(int slot);
int GridFirstAccepted(int32_t ix, int32_t iy, int32_t w, int32_t h, const TEntity* ent,
                      bool (*accepts)(const TEntity* ent, int slot));
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
void ResetParticleCounts();   // the live counts are taken afresh when next needed
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
// numbers (id, x, y, w, h in tiles), the line the label stands on and the
// byte offset just after the label.
struct TTriggerRecord {
  char label[64];
  int32_t n[5];
  int line;
  long at;
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

// ---- the fast searches and the straightforward ones they stand for ---------------------
// The collision search and the particle slot search and pass have a fast way
// and the straightforward one, which is the reference. smChecked runs both,
// keeps the straightforward answer and counts every disagreement. A setting of
// the process, not of the world: ResetGlobals leaves both as they are.
enum TSearchMode { smFast, smLiteral, smChecked };
extern TSearchMode searchmode;
extern int64_t searchmismatches;
