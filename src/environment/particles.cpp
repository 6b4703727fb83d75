// Particles and fountains: one global table of 65535 particles and one of 128
// fountains. Particles are tiny textured squares that fly straight or under
// gravity for a fixed number of frames and fade out; fountains are fixed
// emitters. Fountain 0 is the player's jetpack exhaust.
#include "defs/random.h"
#include "game.h"
#include "platform/platform.h"

namespace {

// The smoke image every particle is drawn with.
constexpr int SMOKE_TEXTURE = 1025;
constexpr int PARTICLE_SIZE = 8;   // pixels

// A cursor left out of its table's range by someone else (the player set-up
// borrows pslot as its counter) restarts the search at 1 instead of indexing
// outside the table.
int32_t& InRange(int32_t& cursor, int32_t size) {
  if (cursor < 0 || cursor >= size) cursor = 1;
  return cursor;
}

}  // namespace

void InitialiseParticles() {
  // slot 0 of each table is left as it is
  for (int i = 1; i < MAX_PARTICLES; i++) Particles[i].colour = 0;
  for (int i = 1; i < MAX_FOUNTAINS; i++) Fountains[i].colour = 0;
  pslot = 0;
  fslot = 0;
  // the jetpack exhaust
  SpawnFountain(32768, 32768, 32, 16, 34, 0);
}

void SpawnParticle(int32_t ix, int32_t iy, int32_t vx, int32_t vy, int32_t c, int32_t ls,
                   TParticleType pt) {
  InRange(pslot, MAX_PARTICLES);
  int32_t k = 0;
  while (k < MAX_PARTICLES && Particles[pslot].colour != 0) {
    k++;
    pslot++;
    if (pslot == MAX_PARTICLES) pslot = 1;   // wraps to 1, never to 0
  }
  if (k >= MAX_PARTICLES) return;            // every slot busy: dropped
  TParticle& p = Particles[pslot];
  p.x = ix;
  p.y = iy;
  p.dx = vx;
  p.dy = vy;
  p.colour = c;
  p.lifespan = ls;
  p.ptype = pt;
}

void SpawnExplosion(int32_t ox, int32_t oy, int32_t clr) {
  for (int n = 0; n < 31; n++) {
    int32_t r1 = Rand(), r2 = Rand(), r3 = Rand(), r4 = Rand(), r5 = Rand();
    SpawnParticle(ox, oy, r1 % 1024 - r2 % 1024, r3 % 1024 - r4 % 1024, clr, r5 % 32 + 32, ptDot);
  }
}

void SpawnExplosionSpd(int32_t ox, int32_t oy, int32_t clr, int32_t speed, int32_t noof) {
  if (speed <= 0) return;   // no spread to take a remainder of
  for (int32_t n = 0; n < noof; n++) {
    int32_t r1 = Rand(), r2 = Rand(), r3 = Rand(), r4 = Rand(), r5 = Rand();
    SpawnParticle(ox, oy, r1 % speed - r2 % speed, r3 % speed - r4 % speed, clr, r5 % 32 + 128,
                  ptDot);
  }
}

// The caller's velocity (dx, dy) is not added: the cloud drifts only by its
// own random spread.
void SpawnSpray(int32_t ox, int32_t oy, int32_t dx, int32_t dy, int32_t clr) {
  (void)dx;
  (void)dy;
  int32_t n = 0;
  while (n < Rand() % 8) {   // a fresh bound on every pass: 0..7, mostly few
    int32_t r[9];
    for (int32_t& v : r) v = Rand();
    SpawnParticle(ox + r[0] % 128 - r[1] % 128, oy + r[2] % 128 - r[3] % 128,
                  r[4] % 128 - r[5] % 128, r[6] % 128 - r[7] % 128, clr, r[8] % 32 + 32, ptDot);
    n++;
  }
}

void SpawnFountain(int32_t ix, int32_t iy, int32_t vx, int32_t vy, int32_t c, int32_t ls) {
  InRange(fslot, MAX_FOUNTAINS);
  int32_t k = 0;
  while (k < MAX_FOUNTAINS && Fountains[fslot].colour != 0) {
    k++;
    fslot++;
    if (fslot == MAX_FOUNTAINS) fslot = 1;
  }
  if (k >= MAX_FOUNTAINS) return;
  TFountain& f = Fountains[fslot];
  f.colour = c;
  f.x = ix;
  f.y = iy;
  f.dx = vx;
  f.dy = vy;
  f.ctr = 1;
  f.freq = ls;   // vx, vy and lifespan of the record stay as they were
}

void SprayFountain(int i) {
  TFountain& f = Fountains[i];
  if (f.ctr == 1) {
    for (int n = 0; n < 7; n++) {
      int32_t r[9];
      for (int32_t& v : r) v = Rand();
      SpawnParticle(f.x + r[0] % 64 - r[1] % 64, f.y + r[2] % 64 - r[3] % 64,
                    f.dx + r[4] % 64 - r[5] % 64, f.dy + r[6] % 64 - r[7] % 64, f.colour,
                    r[8] % 32 + 96, ptDot);
    }
  }
  f.ctr++;
  if (f.ctr > f.freq) f.ctr = 1;
}

void MoveParticle(TParticle* p) {
  // stops dead on solid rock 16 pixels below
  if (p->ptype == ptColdetGravDot && (GetXY(p->x, p->y + 2048) & 0xFF) == 255) {
    p->dx = 0;
    p->dy = 0;
  }
  p->x += p->dx;
  p->y += p->dy;
  if (p->ptype != ptDot) {
    // unsigned: a negative y counts as under water
    if (uint32_t(p->y) < uint32_t(watery * 128)) p->dy += 1;   // gravity
    else p->dy -= 2;                                            // buoyancy
  }
  p->lifespan--;
  if (p->lifespan <= 0) p->colour = 0;
}

void DisplayParticle(int i) {
  const TParticle& p = Particles[i];
  const float z = 1.0f + 0.0001f * float(i);   // every slot at its own depth

  int32_t px = p.x / 128;
  int32_t py = p.y / 128 - 48;
  int32_t cx = px / 64 - mapx;
  int32_t cy = py / 64 - mapy;
  if (cx < -1 || cx >= 14 || cy < -1 || cy >= 13) return;

  float sx = float(px - 64 * mapx + ax);
  float sy = float(768 - (py - 64 * mapy + ay));

  double f = 0.0;
  if (p.lifespan < 32 && p.ptype != ptStaticDot) f = (32 - p.lifespan) / 32.0;

  bool underwater = uint32_t(p.y) > uint32_t(watery * 128);   // only blue shows
  float r = (p.colour & 1) && !underwater ? 1.0f : 0.0f;
  float g = (p.colour & 2) && !underwater ? 1.0f : 0.0f;
  float b = (p.colour & 4) ? 1.0f : 0.0f;
  double a = (p.colour & 0xF0) / 255.0 - f;
  if (a < 0.0) a = 0.0;

  draw->Color4(r, g, b, float(a));
  draw->Begin(dpQuads);
  draw->TexCoord(0, 0);
  draw->Vertex(sx, sy, z);
  draw->TexCoord(1, 0);
  draw->Vertex(sx + PARTICLE_SIZE, sy, z);
  draw->TexCoord(1, 1);
  draw->Vertex(sx + PARTICLE_SIZE, sy + PARTICLE_SIZE, z);
  draw->TexCoord(0, 1);
  draw->Vertex(sx, sy + PARTICLE_SIZE, z);
  draw->End();

  if (p.ptype == ptIcer) {
    // the trail: colours 6 and 7 carry no alpha bits, so it draws invisible
    const int32_t x = p.x, y = p.y, dx = p.dx, dy = p.dy;
    for (int n = 0; n < 16; n++) {
      int32_t r9[9];
      for (int32_t& v : r9) v = Rand();
      SpawnParticle(x + r9[0] % 512 - r9[1] % 512, y + r9[2] % 512 - r9[3] % 512,
                    dx + r9[4] % 1024 - r9[5] % 256, dy + r9[6] % 1024 - r9[7] % 256,
                    r9[8] % 2 + 6, 8, ptDot);
    }
  }
}

namespace {

void DrawAllParticles(bool move) {
  for (int i = 0; i < MAX_FOUNTAINS; i++)
    if (Fountains[i].colour != 0) SprayFountain(i);
  draw->Texturing(true);
  draw->BindTexture(SMOKE_TEXTURE);
  // a particle spawned during the pass into a higher slot is drawn (and
  // moved) in this same pass
  for (int i = 0; i < MAX_PARTICLES; i++) {
    if (Particles[i].colour == 0) continue;
    DisplayParticle(i);
    if (move) MoveParticle(&Particles[i]);
  }
  draw->Texturing(false);
}

}  // namespace

void DisplayParticles() { DrawAllParticles(true); }

void DisplayParticlesOnly() { DrawAllParticles(false); }
