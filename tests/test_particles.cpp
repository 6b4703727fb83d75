// Particles and fountains: the allocator, fountain periods, motion of every
// particle type, and how a particle is drawn (fade, under-water tint, view
// window, the icer trail).
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "defs/random.h"
#include "platform/testseams.h"
#include "test_support.h"

namespace {

int Live() {
  int n = 0;
  for (const TParticle& p : Particles) n += p.colour != 0;
  return n;
}

struct ParticleTest : Fresh {
  RecordDraw rec;
  void SetUp() override {
    Fresh::SetUp();
    draw = &rec;
    watery = 8576;
  }
};

}  // namespace

// ---- the allocator --------------------------------------------------------------

TEST_F(ParticleTest, CursorWrapsPastTheLastSlotToOneNeverZero) {
  Particles[MAX_PARTICLES - 1].colour = 0xF1;
  pslot = MAX_PARTICLES - 1;
  SpawnParticle(1, 2, 3, 4, 0xF2, 10, ptGravDot);
  EXPECT_EQ(pslot, 1);
  EXPECT_EQ(Particles[0].colour, 0);   // free, but behind the wrap
  const TParticle& p = Particles[1];
  EXPECT_EQ(p.colour, 0xF2);
  EXPECT_EQ(p.x, 1);
  EXPECT_EQ(p.y, 2);
  EXPECT_EQ(p.dx, 3);
  EXPECT_EQ(p.dy, 4);
  EXPECT_EQ(p.lifespan, 10);
  EXPECT_EQ(p.ptype, ptGravDot);

  // the cursor stays on the slot just filled; the next spawn moves past it
  SpawnParticle(0, 0, 0, 0, 0xF3, 10, ptDot);
  EXPECT_EQ(pslot, 2);
  EXPECT_EQ(Particles[2].colour, 0xF3);
}

TEST_F(ParticleTest, FullTableDropsTheSpawnSilently) {
  for (TParticle& p : Particles) p = {0x11, 5, 5, 0, 0, 9, ptDot};
  std::vector<TParticle> before(Particles, Particles + MAX_PARTICLES);
  pslot = 12345;
  testing::internal::CaptureStdout();
  SpawnParticle(1, 1, 1, 1, 0xF7, 50, ptGravDot);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(std::memcmp(before.data(), Particles, sizeof Particles), 0);
}

TEST_F(ParticleTest, CursorLeftOutOfRangeRestartsAtOne) {
  for (int32_t bad : {MAX_PARTICLES, 70000, -3}) {
    pslot = bad;
    SpawnParticle(0, 0, 0, 0, 0xF1, 5, ptDot);
    EXPECT_EQ(pslot, 1);
    Particles[1].colour = 0;
  }
  fslot = 500;
  SpawnFountain(0, 0, 0, 0, 0xF1, 0);
  EXPECT_EQ(fslot, 1);
  EXPECT_EQ(Fountains[1].colour, 0xF1);
}

TEST_F(ParticleTest, InitialiseLeavesSlotZeroAndCreatesTheJetpackFountain) {
  Particles[0].colour = 0x55;
  Particles[7].colour = 0x55;
  Fountains[3].colour = 0x55;
  pslot = 9;
  InitialiseParticles();
  EXPECT_EQ(Particles[0].colour, 0x55);
  EXPECT_EQ(Particles[7].colour, 0);
  EXPECT_EQ(Fountains[3].colour, 0);
  EXPECT_EQ(pslot, 0);
  const TFountain& f = Fountains[0];
  EXPECT_EQ(f.colour, 34);
  EXPECT_EQ(f.x, 32768);
  EXPECT_EQ(f.y, 32768);
  EXPECT_EQ(f.dx, 32);
  EXPECT_EQ(f.dy, 16);
  EXPECT_EQ(f.ctr, 1);
  EXPECT_EQ(f.freq, 0);
}

// ---- fountains --------------------------------------------------------------------

TEST_F(ParticleTest, FountainSpraysSevenEveryFreqFrames) {
  Fountains[0].vx = 77;   // left as it was
  SpawnFountain(64000, 32000, 100, -50, 0xF4, 3);
  EXPECT_EQ(Fountains[0].vx, 77);
  std::vector<int> counts;
  for (int frame = 1; frame <= 9; frame++) {
    SprayFountain(0);
    counts.push_back(Live());
  }
  EXPECT_EQ(counts, (std::vector<int>{7, 7, 7, 14, 14, 14, 21, 21, 21}));
  for (const TParticle& p : Particles) {
    if (p.colour == 0) continue;
    EXPECT_EQ(p.colour, 0xF4);
    EXPECT_EQ(p.ptype, ptDot);
    EXPECT_GE(p.lifespan, 96);
    EXPECT_LE(p.lifespan, 127);
    EXPECT_LE(std::abs(p.x - 64000), 63);
    EXPECT_LE(std::abs(p.y - 32000), 63);
    EXPECT_LE(std::abs(p.dx - 100), 63);
    EXPECT_LE(std::abs(p.dy + 50), 63);
  }
}

TEST_F(ParticleTest, FountainWithPeriodZeroOrOneSpraysEveryFrame) {
  SpawnFountain(0, 0, 0, 0, 0xF1, 0);
  SpawnFountain(0, 0, 0, 0, 0xF1, 1);
  for (int frame = 0; frame < 4; frame++) {
    SprayFountain(0);
    SprayFountain(1);
  }
  EXPECT_EQ(Live(), 4 * 14);
}

// The menu's pass: fountains go on spraying but nothing moves or ages.
TEST_F(ParticleTest, DrawOnlyPassSpraysButFreezesParticles) {
  SpawnFountain(8192 * 3, 8192 * 3, 0, 0, 0xF1, 0);
  SpawnParticle(8192 * 2, 8192 * 2, 500, 500, 0xF2, 3, ptGravDot);
  const int slot = pslot;
  for (int frame = 0; frame < 5; frame++) DisplayParticlesOnly();
  EXPECT_EQ(Particles[slot].x, 8192 * 2);
  EXPECT_EQ(Particles[slot].dy, 500);
  EXPECT_EQ(Particles[slot].lifespan, 3);
  EXPECT_EQ(Live(), 1 + 5 * 7);

  DisplayParticles();
  EXPECT_EQ(Particles[slot].x, 8192 * 2 + 500);
  EXPECT_EQ(Particles[slot].lifespan, 2);
}

// ---- motion -----------------------------------------------------------------------

TEST_F(ParticleTest, OnlyDotsIgnoreGravityAndBuoyancy) {
  const int32_t above = (watery - 100) * 128, below = (watery + 100) * 128;
  for (TParticleType t : {ptDot, ptGravDot, ptBullet, ptIcer, ptStaticDot, ptColdetGravDot}) {
    TParticle air{0xF1, 1000, above, 10, 20, 50, t};
    TParticle sea{0xF1, 1000, below, 10, 20, 50, t};
    MoveParticle(&air);
    MoveParticle(&sea);
    EXPECT_EQ(air.x, 1010);
    EXPECT_EQ(air.y, above + 20);
    EXPECT_EQ(air.dy, t == ptDot ? 20 : 21) << "type " << t;
    EXPECT_EQ(sea.dy, t == ptDot ? 20 : 18) << "type " << t;
    EXPECT_EQ(air.lifespan, 49);
  }
}

TEST_F(ParticleTest, WaterLineAndNegativeYCountAsUnderWater) {
  TParticle atLine{0xF1, 0, watery * 128, 0, 0, 50, ptGravDot};
  TParticle aboveWorld{0xF1, 0, -1000, 0, 0, 50, ptGravDot};
  MoveParticle(&atLine);
  MoveParticle(&aboveWorld);
  EXPECT_EQ(atLine.dy, -2);
  EXPECT_EQ(aboveWorld.dy, -2);
}

TEST_F(ParticleTest, ParticleDiesWhenItsLifespanRunsOut) {
  TParticle p{0xF1, 0, 0, 0, 0, 2, ptDot};
  MoveParticle(&p);
  EXPECT_EQ(p.colour, 0xF1);
  MoveParticle(&p);
  EXPECT_EQ(p.colour, 0);
}

TEST_F(ParticleTest, ColdetDotRestsOnRockAndFallsWhenItIsGone) {
  // tile (5, 5) solid throughout
  std::memset(mapmasks[0], 255, sizeof mapmasks[0]);
  mapt[5][5] = 1;
  const int32_t x = 5 * 8192 + 4000, y = 5 * 8192 - 2048 + 100;   // 16 px above the rock
  ASSERT_EQ(GetXY(x, y + 2048), 255);
  TParticle p{0xF1, x, y, 40, 300, 50, ptColdetGravDot};
  for (int i = 0; i < 3; i++) MoveParticle(&p);
  EXPECT_EQ(p.x, x);
  EXPECT_EQ(p.y, y);   // the gravity added after each stop never carries it
  EXPECT_EQ(p.dx, 0);
  EXPECT_EQ(p.dy, 1);

  mapt[5][5] = 0;
  MoveParticle(&p);
  MoveParticle(&p);
  EXPECT_EQ(p.y, y + 1 + 2);
}

// ---- spawners ---------------------------------------------------------------------

TEST_F(ParticleTest, ExplosionsAndSpraysSpreadAroundTheirOrigin) {
  SpawnExplosion(50000, 60000, 0xF1);
  EXPECT_EQ(Live(), 31);
  for (const TParticle& p : Particles) {
    if (p.colour == 0) continue;
    EXPECT_EQ(p.x, 50000);
    EXPECT_LT(std::abs(p.dx), 1024);
    EXPECT_GE(p.lifespan, 32);
    EXPECT_LT(p.lifespan, 64);
  }

  std::memset(static_cast<void*>(Particles), 0, sizeof Particles);
  SpawnExplosionSpd(0, 0, 0xF2, 40, 12);
  EXPECT_EQ(Live(), 12);
  for (const TParticle& p : Particles)
    if (p.colour != 0) {
      EXPECT_LT(std::abs(p.dx), 40);
      EXPECT_GE(p.lifespan, 128);
      EXPECT_LT(p.lifespan, 160);
    }

  // many sprays: 0..7 particles each, both ends reached, all close by
  std::memset(static_cast<void*>(Particles), 0, sizeof Particles);
  int least = 99, most = -1;
  for (int i = 0; i < 400; i++) {
    int before = Live();
    SpawnSpray(100000, 100000, 5000, 5000, 0xF3);
    int n = Live() - before;
    least = std::min(least, n);
    most = std::max(most, n);
  }
  EXPECT_EQ(least, 0);
  EXPECT_GE(most, 4);
  EXPECT_LE(most, 7);
  for (const TParticle& p : Particles)
    if (p.colour != 0) {
      EXPECT_LT(std::abs(p.x - 100000), 128);
      EXPECT_LT(std::abs(p.dx), 128);   // the caller's velocity is not added
    }
}

TEST_F(ParticleTest, ExplosionWithNoSpeedSpawnsNothing) {
  for (int32_t speed : {0, -7}) {
    SpawnExplosionSpd(0, 0, 0xF1, speed, 20);
    EXPECT_EQ(Live(), 0);
  }
  EXPECT_EQ(Rand(), 41);   // and draws no random numbers
}

// ---- drawing ----------------------------------------------------------------------

TEST_F(ParticleTest, ParticleIsAnEightPixelQuadAtItsOwnDepth) {
  mapx = 1;
  mapy = 2;
  ax = 5;
  ay = -7;
  // pixel (100 + 64, 100 + 128 + 48)
  Particles[300] = {0xF3, (164) * 128, (276) * 128, 0, 0, 100, ptDot};
  DisplayParticle(300);
  auto quads = rec.Quads();
  ASSERT_EQ(quads.size(), 1u);
  const auto& q = quads[0];
  const float sx = 164 - 64 + 5, sy = 768 - (228 - 128 - 7);
  const float z = 1.0f + 0.0001f * 300.0f;
  const float want[4][4] = {{sx, sy, 0, 0}, {sx + 8, sy, 1, 0}, {sx + 8, sy + 8, 1, 1},
                            {sx, sy + 8, 0, 1}};
  for (int k = 0; k < 4; k++) {
    EXPECT_FLOAT_EQ(q.v[k].x, want[k][0]);
    EXPECT_FLOAT_EQ(q.v[k].y, want[k][1]);
    EXPECT_FLOAT_EQ(q.v[k].s, want[k][2]);
    EXPECT_FLOAT_EQ(q.v[k].t, want[k][3]);
    EXPECT_EQ(q.v[k].z, z);
  }
  EXPECT_EQ(q.v[0].r, 1.0f);
  EXPECT_EQ(q.v[0].g, 1.0f);
  EXPECT_EQ(q.v[0].b, 0.0f);
  EXPECT_FLOAT_EQ(q.v[0].a, 240 / 255.0f);
}

TEST_F(ParticleTest, FadesInItsLastFramesUnlessStatic) {
  Particles[1] = {0xF1, 128 * 100, 128 * 148, 0, 0, 8, ptDot};
  Particles[2] = {0xF1, 128 * 100, 128 * 148, 0, 0, 5, ptStaticDot};
  Particles[3] = {0x11, 128 * 100, 128 * 148, 0, 0, 1, ptGravDot};   // would go negative
  Particles[4] = {0xF1, 128 * 100, 128 * 148, 0, 0, 32, ptDot};
  for (int i = 1; i <= 4; i++) DisplayParticle(i);
  auto quads = rec.Quads();
  ASSERT_EQ(quads.size(), 4u);
  EXPECT_FLOAT_EQ(quads[0].v[0].a, 240 / 255.0f - 24 / 32.0f);
  EXPECT_FLOAT_EQ(quads[1].v[0].a, 240 / 255.0f);
  EXPECT_EQ(quads[2].v[0].a, 0.0f);
  EXPECT_FLOAT_EQ(quads[3].v[0].a, 240 / 255.0f);
}

TEST_F(ParticleTest, UnderWaterOnlyBlueShows) {
  watery = 100;
  Particles[1] = {0xF7, 128 * 100, 128 * 200, 0, 0, 100, ptDot};   // deeper than the line
  Particles[2] = {0xF7, 128 * 100, 128 * 100, 0, 0, 100, ptDot};   // on the line: dry
  DisplayParticle(1);
  DisplayParticle(2);
  auto quads = rec.Quads();
  ASSERT_EQ(quads.size(), 2u);
  EXPECT_EQ(quads[0].v[0].r, 0.0f);
  EXPECT_EQ(quads[0].v[0].g, 0.0f);
  EXPECT_EQ(quads[0].v[0].b, 1.0f);
  EXPECT_EQ(quads[1].v[0].r, 1.0f);
  EXPECT_EQ(quads[1].v[0].g, 1.0f);
}

TEST_F(ParticleTest, IcerLeavesAnInvisibleTrailOnlyWhileInView) {
  Particles[10] = {0xF6, 128 * 300, 128 * 300, 64, -64, 100, ptIcer};
  DisplayParticle(10);
  int trail = 0;
  for (int i = 0; i < MAX_PARTICLES; i++) {
    if (i == 10 || Particles[i].colour == 0) continue;
    trail++;
    const TParticle& p = Particles[i];
    EXPECT_TRUE(p.colour == 6 || p.colour == 7);
    EXPECT_EQ(p.lifespan, 8);
    EXPECT_EQ(p.ptype, ptDot);
    EXPECT_LT(std::abs(p.x - 128 * 300), 512);
    EXPECT_GT(p.dx, 64 - 256);
    EXPECT_LT(p.dx, 64 + 1024);
  }
  EXPECT_EQ(trail, 16);
  // the trail's own quads draw with no alpha
  rec.calls.clear();
  DisplayParticle(pslot);
  EXPECT_EQ(rec.Quads().at(0).v[0].a, 0.0f);
}

TEST_F(ParticleTest, OutsideTheViewNothingIsDrawnButItStillMoves) {
  mapx = 10;
  mapy = 10;
  // cells relative to the view: x 14 columns right, y one row above
  Particles[1] = {0xF1, 128 * (64 * 24), 128 * (64 * 15 + 48), 10, 0, 50, ptIcer};
  Particles[2] = {0xF1, 128 * (64 * 15), 128 * (64 * 8 + 48), 10, 0, 50, ptDot};
  // just inside: column -1 and row 12
  Particles[3] = {0xF1, 128 * (64 * 9), 128 * (64 * 22 + 48), 10, 0, 50, ptDot};
  DisplayParticles();
  EXPECT_EQ(rec.Quads().size(), 1u);
  EXPECT_EQ(Live(), 3);   // no trail
  EXPECT_EQ(Particles[1].x, 128 * 64 * 24 + 10);
  EXPECT_EQ(Particles[2].lifespan, 49);
  // one texture bind for the whole pass: the smoke image
  auto binds = rec.Only("BindTexture");
  ASSERT_EQ(binds.size(), 1u);
  EXPECT_EQ(binds[0].v[0], 1025.0f);
}
