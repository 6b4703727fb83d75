#include "game.h"

// Not built yet: an empty entry point with its final signature.
void InitialiseEntities(const char* fname) { (void)fname; }
void SpawnEntityClass(TEntityKind i, int w, int h, int spr, int m, int hits, int ls, int regen, int canwalk, int hasgravity, int framedx, int dmgtype, int dmg, int dmgclr, int doc) { (void)i; (void)w; (void)h; (void)spr; (void)m; (void)hits; (void)ls; (void)regen; (void)canwalk; (void)hasgravity; (void)framedx; (void)dmgtype; (void)dmg; (void)dmgclr; (void)doc; }
void SetEntityClassAI(TEntityClass* eclass) { (void)eclass; }
void SpawnEntity(TEntityKind e, int32_t xp, int32_t yp, TEntityKind st, int32_t stm, TFlip fs, int32_t tid, int32_t score) { (void)e; (void)xp; (void)yp; (void)st; (void)stm; (void)fs; (void)tid; (void)score; }
void SpawnVelEntity(TEntityKind e, int32_t xp, int32_t yp, TEntityKind st, int32_t stm, TFlip fs, int32_t tid, int32_t score, int32_t dx, int32_t dy, int32_t vangle) { (void)e; (void)xp; (void)yp; (void)st; (void)stm; (void)fs; (void)tid; (void)score; (void)dx; (void)dy; (void)vangle; }
void SpawnProjectileV(TEntityKind e, int32_t xp, int32_t yp, int32_t dx, int32_t dy) { (void)e; (void)xp; (void)yp; (void)dx; (void)dy; }
void SpawnProjectile(TEntityKind e, int32_t xp, int32_t yp, int32_t vangle, int32_t vel) { (void)e; (void)xp; (void)yp; (void)vangle; (void)vel; }
void CloneEntity(TEntity e) { (void)e; }
void EntityFire(TEntity e) { (void)e; }
void SpawnEntities(const char* fname) { (void)fname; }
int ProcessEntityLifespan(TEntity* ent, TEntityClass* eclass) { (void)ent; (void)eclass; return 0; }
void RegenerateEnt(TEntity* ent, TEntityClass* eclass) { (void)ent; (void)eclass; }
void CheckRandomKill(TEntity* ent, TEntityClass* eclass) { (void)ent; (void)eclass; }
void KillEntity(TEntity* ent) { (void)ent; }
void DyingEntity(TEntity* ent) { (void)ent; }
void MoveEntity(TEntity* ent) { (void)ent; }
int coldet(TEntity* ent) { (void)ent; return 0; }
int coldetidxholdable(int i) { (void)i; return 0; }
int coldetidx(int i) { (void)i; return 0; }
int TraceLOS(TEntity* e1, TEntity* e2) { (void)e1; (void)e2; return 0; }
int OnGround(TEntity* ent) { (void)ent; return 0; }
int32_t GetDist(TEntity* e1, TEntity* e2) { (void)e1; (void)e2; return 0; }
int32_t GetVect(TEntity e1, TEntity e2) { (void)e1; (void)e2; return 0; }
void ClampDxDy(TEntity* ent) { (void)ent; }
int32_t RoughRadialDamage(int32_t basedmg, int32_t dist, int32_t radius) { (void)basedmg; (void)dist; (void)radius; return 0; }
void RadiusDamage(TEntity* ent, int32_t radius, int32_t dmg) { (void)ent; (void)radius; (void)dmg; }
void DoMoveEntity(TEntity* ent) { (void)ent; }
void DisplayEntities() { }
void DisplayEntsOnly() { }
void DisplayEntity(TEntity* ent) { (void)ent; }
