// Particles and fountains: one global table of 65535 particles and one of 128
// fountains. Particles are tiny textured squares that fly straight or under
// gravity for a fixed number of frames and fade out; fountains are fixed
// emitters. Fountain 0 is the player's jetpack exhaust.
#include <cstdint>
#include <cstring>

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

// Live particles per block of 64 slots, and in all, so that the slot search
// passes over full blocks and the pass over empty ones. SpawnParticle and
// MoveParticle keep them: a particle comes to life only through the one and
// dies only through the other. After a reset they are counted afresh when
// first needed.
constexpr int BLOCK_SHIFT = 6;
constexpr int BLOCKS = (MAX_PARTICLES >> BLOCK_SHIFT) + 1;
bool pcounted = false;
uint8_t pcount[BLOCKS];
int32_t plive = 0;

int BlockEnd(int b) { return b + 1 < BLOCKS ? (b + 1) << BLOCK_SHIFT : MAX_PARTICLES; }

void CountParticles() {
  plive = 0;
  for (int b = 0; b < BLOCKS; b++) {
    pcount[b] = 0;
    for (int i = b << BLOCK_SHIFT; i < BlockEnd(b); i++) pcount[b] += Particles[i].colour != 0;
    plive += pcount[b];
  }
  pcounted = true;
}

// Whether the counts agree with the table.
bool CountsHold() {
  if (!pcounted) return true;
  uint8_t keep[BLOCKS];
  std::memcpy(keep, pcount, sizeof keep);
  const int32_t keepLive = plive;
  CountParticles();
  return std::memcmp(keep, pcount, sizeof keep) == 0 && keepLive == plive;
}

// The straightforward search from pslot (wrapping to 1): answers whether a
// free slot was found, at pslot.
bool ScanForFreeSlot() {
  int32_t k = 0;
  while (k < MAX_PARTICLES && Particles[pslot].colour != 0) {
    k++;
    pslot++;
    if (pslot == MAX_PARTICLES) pslot = 1;   // wraps to 1, never to 0
  }
  return k < MAX_PARTICLES;   // else every slot was busy
}

// The same search, passing over full blocks and answering at once for a full
// table, where the straightforward one would probe 65535 slots and stop one
// past where it began.
bool FindFreeSlot() {
  if (!pcounted) CountParticles();
  const int32_t zeroLive = Particles[0].colour != 0;
  if (pslot == 0 ? plive == MAX_PARTICLES : plive - zeroLive == MAX_PARTICLES - 1) {
    pslot = pslot == MAX_PARTICLES - 1 ? 1 : pslot + 1;
    return false;
  }
  if (pslot == 0) {
    if (zeroLive == 0) return true;
    pslot = 1;
  }
  const int32_t start = pslot;
  for (int32_t probes = 0; probes < MAX_PARTICLES - 1;) {
    const int b = pslot >> BLOCK_SHIFT, end = BlockEnd(b);
    const int32_t first = b == 0 ? 1 : b << BLOCK_SHIFT;   // slot 0 lies behind the wrap
    if (pcount[b] - (b == 0 ? zeroLive : 0) == end - first) {
      probes += end - pslot;
      pslot = end;
    } else {
      for (; pslot < end; pslot++, probes++)
        if (Particles[pslot].colour == 0) return true;
    }
    if (pslot == MAX_PARTICLES) pslot = 1;
  }
  // only counts that disagree with the table get here
  pslot = start == MAX_PARTICLES - 1 ? 1 : start + 1;
  return false;
}

}  // namespace

void ResetParticleCounts() { pcounted = false; }

void InitialiseParticles() {
  // slot 0 of each table is left as it is
  for (int i = 1; i < MAX_PARTICLES; i++) Particles[i].colour = 0;
  for (int i = 1; i < MAX_FOUNTAINS; i++) Fountains[i].colour = 0;
  pslot = 0;
  fslot = 0;
  ResetParticleCounts();
  // the jetpack exhaust
  SpawnFountain(32768, 32768, 32, 16, 34, 0);
}

void SpawnParticle(int32_t ix, int32_t iy, int32_t vx, int32_t vy, int32_t c, int32_t ls,
                   TParticleType pt) {
  InRange(pslot, MAX_PARTICLES);
  bool found;
  if (searchmode == smFast) {
    found = FindFreeSlot();
  } else if (searchmode == smLiteral) {
    found = ScanForFreeSlot();
  } else {
    const int32_t start = pslot;
    const bool fast = FindFreeSlot();
    const int32_t fastSlot = pslot;
    pslot = start;
    found = ScanForFreeSlot();
    if (fast != found || fastSlot != pslot) ++searchmismatches;
  }
  if (!found) return;   // every slot busy: dropped
  if (c != 0 && pcounted) {
    pcount[pslot >> BLOCK_SHIFT]++;
    plive++;
  }
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

namespace {

// Alpha (colour & 0xF0) / 255 less the fade (32 - lifespan) / 32, not below 0,
// by the colour's bits 4-7 and the fade in 32nds.
struct AlphaTable {
  float a[16][33];
  constexpr AlphaTable() : a() {
    for (int k = 0; k < 16; k++)
      for (int f = 0; f <= 32; f++) {
        double v = (k << 4) / 255.0 - f / 32.0;
        a[k][f] = static_cast<float>(v < 0.0 ? 0.0 : v);
      }
  }
};
constexpr AlphaTable kAlpha;

// Red, green and blue by the colour's bits 0, 1 and 2; under water only blue.
struct ChannelTable {
  float rgb[2][8][3];
  constexpr ChannelTable() : rgb() {
    for (int w = 0; w < 2; w++)
      for (int c = 0; c < 8; c++) {
        rgb[w][c][0] = (c & 1) && !w ? 1.0f : 0.0f;
        rgb[w][c][1] = (c & 2) && !w ? 1.0f : 0.0f;
        rgb[w][c][2] = (c & 4) ? 1.0f : 0.0f;
      }
  }
};
constexpr ChannelTable kChannels;

// One frame of movement and ageing; answers whether the particle died in it.
bool Step(TParticle& p) {
  // stops dead on solid rock 16 pixels below
  if (p.ptype == ptColdetGravDot && (GetXY(p.x, p.y + 2048) & 0xFF) == 255) {
    p.dx = 0;
    p.dy = 0;
  }
  p.x += p.dx;
  p.y += p.dy;
  if (p.ptype != ptDot) {
    // unsigned: a negative y counts as under water
    if (uint32_t(p.y) < uint32_t(watery * 128)) p.dy += 1;   // gravity
    else p.dy -= 2;                                          // buoyancy
  }
  p.lifespan--;
  if (p.lifespan > 0) return false;
  const bool lived = p.colour != 0;
  p.colour = 0;
  return lived;
}

void Died(int i) {
  if (!pcounted) return;
  pcount[i >> BLOCK_SHIFT]--;
  plive--;
}

}  // namespace

void MoveParticle(TParticle* p) {
  // a particle of the table (tests move records of their own as well)
  const uintptr_t at = reinterpret_cast<uintptr_t>(p) - reinterpret_cast<uintptr_t>(Particles);
  if (Step(*p) && at < sizeof Particles) Died(int(at / sizeof(TParticle)));
}

void DisplayParticle(int i) {
  const TParticle& p = Particles[i];
  const int32_t px = p.x / 128;
  const int32_t py = p.y / 128 - 48;
  const int32_t cx = px / 64 - mapx;
  const int32_t cy = py / 64 - mapy;
  if (cx < -1 || cx >= 14 || cy < -1 || cy >= 13) return;

  const float z = 1.0f + 0.0001f * float(i);   // every slot at its own depth
  const float sx = float(px - 64 * mapx + ax);
  const float sy = float(768 - (py - 64 * mapy + ay));

  // the fade of the last 32 frames, in 32nds; from 32 on nothing shows
  int fade = 0;
  if (p.lifespan < 32 && p.ptype != ptStaticDot) fade = p.lifespan > 0 ? 32 - p.lifespan : 32;
  const bool underwater = uint32_t(p.y) > uint32_t(watery * 128);   // only blue shows
  const float* rgb = kChannels.rgb[underwater][p.colour & 7];

  Draw& d = *draw;
  d.Color4(rgb[0], rgb[1], rgb[2], kAlpha.a[(p.colour & 0xF0) >> 4][fade]);
  d.Begin(dpQuads);
  d.TexCoord(0, 0);
  d.Vertex(sx, sy, z);
  d.TexCoord(1, 0);
  d.Vertex(sx + PARTICLE_SIZE, sy, z);
  d.TexCoord(1, 1);
  d.Vertex(sx + PARTICLE_SIZE, sy + PARTICLE_SIZE, z);
  d.TexCoord(0, 1);
  d.Vertex(sx, sy + PARTICLE_SIZE, z);
  d.End();

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
  // moved) in this same pass; the fast pass passes over empty blocks
  if (searchmode == smChecked && !CountsHold()) ++searchmismatches;
  if (searchmode == smFast && !pcounted) CountParticles();
  for (int b = 0; b < BLOCKS; b++) {
    if (searchmode == smFast && pcount[b] == 0) continue;
    for (int i = b << BLOCK_SHIFT; i < BlockEnd(b); i++) {
      if (Particles[i].colour == 0) continue;
      DisplayParticle(i);
      if (move && Step(Particles[i])) Died(i);
    }
  }
  draw->Texturing(false);
}

}  // namespace

void DisplayParticles() { DrawAllParticles(true); }

void DisplayParticlesOnly() { DrawAllParticles(false); }
