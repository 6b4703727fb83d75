#include "game.h"

// Not built yet: an empty entry point with its final signature.
void InitialiseParticles() { }
void SpawnParticle(int32_t ix, int32_t iy, int32_t vx, int32_t vy, int32_t c, int32_t ls, TParticleType pt) { (void)ix; (void)iy; (void)vx; (void)vy; (void)c; (void)ls; (void)pt; }
void SpawnExplosion(int32_t ox, int32_t oy, int32_t clr) { (void)ox; (void)oy; (void)clr; }
void SpawnExplosionSpd(int32_t ox, int32_t oy, int32_t clr, int32_t speed, int32_t noof) { (void)ox; (void)oy; (void)clr; (void)speed; (void)noof; }
void SpawnSpray(int32_t ox, int32_t oy, int32_t dx, int32_t dy, int32_t clr) { (void)ox; (void)oy; (void)dx; (void)dy; (void)clr; }
void SpawnFountain(int32_t ix, int32_t iy, int32_t vx, int32_t vy, int32_t c, int32_t ls) { (void)ix; (void)iy; (void)vx; (void)vy; (void)c; (void)ls; }
void SprayFountain(int i) { (void)i; }
void MoveParticle(TParticle* p) { (void)p; }
void DisplayParticle(int i) { (void)i; }
void DisplayParticles() { }
void DisplayParticlesOnly() { }
