// Particles and fountains: the allocator, fountain periods, each type's
// motion, and the colour a particle is drawn with.
#include <cstring>
#include <vector>

#include "defs/random.h"
#include "platform/testseams.h"
#include "test_support.h"

namespace {

struct ParticleTest : Fresh {
  RecordDraw rec;
  void SetUp() override {
    Fresh::SetUp();
    draw = &rec;
    watery = 8576;
  }
};

}  // namespace

// The slot search, run checked: the fast search (which passes over full
// blocks and answers a full table at once) beside the straightforward one,
// on tables all free or all busy but for a few slots.
struct Layout {
  const char* name;
  bool busy;                 // every slot busy, else every slot free
  std::vector<int> except;   // slots the other way
  int32_t cursor;
  int slot;                  // where the spawn lands, -1 dropped
  int32_t after;             // the cursor afterwards
};

const Layout kLayouts[] = {
    {"at the cursor", false, {}, 7, 7, 7},
    {"past busy slots", false, {7, 8, 9}, 7, 10, 10},
    {"wrapping to 1, never to 0", false, {65534}, 65534, 1, 1},
    {"a cursor out of range starts at 1", false, {}, 70000, 1, 1},
    {"the one free slot behind the cursor", true, {100}, 40000, 100, 100},
    {"the one free slot in the first block", true, {30}, 40000, 30, 30},
    {"the one free slot in the last block", true, {65533}, 1, 65533, 65533},
    {"full: dropped, the cursor one on", true, {}, 500, -1, 501},
    {"full from the last slot: the cursor wraps", true, {}, 65534, -1, 1},
    {"full from slot 0", true, {}, 0, -1, 1},
    {"only slot 0 free, from slot 0", true, {0}, 0, 0, 0},
    {"only slot 0 free, from slot 5: behind the wrap", true, {0}, 5, -1, 6},
};

TEST_F(ParticleTest, SlotSearchFindsTheFirstFreeSlotFromTheCursorOrDrops) {
  for (const Layout& l : kLayouts) {
    ResetGlobals();
    for (TParticle& p : Particles) p.colour = l.busy ? 0x11 : 0;
    for (int i : l.except) Particles[i].colour = l.busy ? 0 : 0x11;
    std::vector<TParticle> before(Particles, Particles + MAX_PARTICLES);
    pslot = l.cursor;
    searchmode = smChecked;
    searchmismatches = 0;
    EXPECT_EQ(Said([&] { SpawnParticle(1, 2, 3, 4, 0xF2, 10, ptGravDot); }), "") << l.name;
    searchmode = smFast;
    EXPECT_EQ(searchmismatches, 0) << l.name;
    EXPECT_EQ(pslot, l.after) << l.name;
    if (l.slot >= 0) {
      EXPECT_EQ((std::vector<int>{Particles[l.slot].colour, Particles[l.slot].dy}),
                (std::vector<int>{0xF2, 4}))
          << l.name;
      before[size_t(l.slot)] = Particles[l.slot];
    }
    EXPECT_EQ(std::memcmp(before.data(), Particles, sizeof Particles), 0) << l.name;
  }
}

TEST_F(ParticleTest, FountainSpraysSevenEveryFreqFrames) {
  SpawnFountain(64000, 32000, 100, -50, 0xF4, 3);
  SpawnFountain(0, 0, 0, 0, 0xF1, 0);
  std::vector<int> every3, every1;
  for (int frame = 1; frame <= 7; frame++) {
    SprayFountain(0);
    SprayFountain(1);
    every3.push_back(LiveParticles(0xF4));
    every1.push_back(LiveParticles(0xF1));
  }
  EXPECT_EQ(every3, (std::vector<int>{7, 7, 7, 14, 14, 14, 21}));
  EXPECT_EQ(every1, (std::vector<int>{7, 14, 21, 28, 35, 42, 49}));
  for (const TParticle& p : Particles)
    if (p.colour == 0xF4) {
      EXPECT_LE(std::abs(p.dx - 100), 63);
      EXPECT_GE(p.lifespan, 96);
      EXPECT_LE(p.lifespan, 127);
    }
}

TEST_F(ParticleTest, OnlyDotsIgnoreGravityAndBuoyancy) {
  const int32_t above = (watery - 100) * 128, below = (watery + 100) * 128;
  for (TParticleType t : {ptDot, ptGravDot, ptBullet, ptIcer, ptStaticDot, ptColdetGravDot}) {
    TParticle air{0xF1, 1000, above, 10, 20, 50, t};
    TParticle sea{0xF1, 1000, below, 10, 20, 50, t};
    TParticle sky{0xF1, 0, -1000, 0, 0, 50, t};   // negative y counts as under water
    MoveParticle(&air);
    MoveParticle(&sea);
    MoveParticle(&sky);
    EXPECT_EQ(air.x, 1010);
    EXPECT_EQ(air.dy, t == ptDot ? 20 : 21) << "type " << t;
    EXPECT_EQ(sea.dy, t == ptDot ? 20 : 18) << "type " << t;
    EXPECT_EQ(sky.dy, t == ptDot ? 0 : -2) << "type " << t;
  }
  // after the move: above the line it falls, on the line it floats
  TParticle over{0xF1, 0, watery * 128 - 11, 0, 10, 50, ptGravDot}, on{0xF1, 0, watery * 128 - 10, 0, 10, 50, ptGravDot};
  MoveParticle(&over);
  MoveParticle(&on);
  EXPECT_EQ(over.dy - on.dy, 11 - 8);
  TParticle last{0xF1, 0, 0, 0, 0, 1, ptDot};
  MoveParticle(&last);
  EXPECT_EQ(last.colour, 0);   // its slot is free
}

TEST_F(ParticleTest, ColdetDotRestsOnRockAndFallsWhenItIsGone) {
  std::memset(mapmasks[0], 255, sizeof mapmasks[0]);
  mapt[5][5] = 1;   // tile (5, 5) solid throughout
  const int32_t x = 5 * 8192 + 4000, y = 5 * 8192 - 2048 + 100;   // 16 px above the rock
  ASSERT_EQ(GetXY(x, y + 2048), 255);
  TParticle p{0xF1, x, y, 40, 300, 50, ptColdetGravDot};
  for (int i = 0; i < 3; i++) MoveParticle(&p);
  EXPECT_EQ(p.x, x);
  EXPECT_EQ(p.y, y);   // the gravity added after each stop never carries it
  mapt[5][5] = 0;
  MoveParticle(&p);
  MoveParticle(&p);
  EXPECT_EQ(p.y, y + 1 + 2);
}

TEST_F(ParticleTest, ExplosionWithNoSpeedSpawnsNothing) {
  SpawnExplosionSpd(0, 0, 0xF1, 0, 20);
  SpawnExplosionSpd(0, 0, 0xF1, -7, 20);
  EXPECT_EQ(LiveParticles(), 0);
  SpawnExplosionSpd(0, 0, 0xF1, 40, 12);
  EXPECT_EQ(LiveParticles(), 12);
}

TEST_F(ParticleTest, FadesInItsLastFramesUnlessStatic) {
  Particles[1] = {0xF1, 128 * 100, 128 * 148, 0, 0, 8, ptDot};
  Particles[2] = {0xF1, 128 * 100, 128 * 148, 0, 0, 5, ptStaticDot};
  Particles[3] = {0x11, 128 * 100, 128 * 148, 0, 0, 1, ptGravDot};   // would go negative
  for (int i = 1; i <= 3; i++) DisplayParticle(i);
  auto quads = rec.Quads();
  ASSERT_EQ(quads.size(), 3u);
  EXPECT_FLOAT_EQ(quads[0].v[0].a, 240 / 255.0f - 24 / 32.0f);
  EXPECT_FLOAT_EQ(quads[1].v[0].a, 240 / 255.0f);
  EXPECT_EQ(quads[2].v[0].a, 0.0f);
  EXPECT_EQ(quads[0].v[2].x - quads[0].v[0].x, 8.0f);
  EXPECT_EQ(quads[1].v[0].z, 1.0f + 0.0001f * 2.0f);   // every slot at its own depth
}

TEST_F(ParticleTest, UnderWaterOnlyBlueShows) {
  watery = 100;
  Particles[1] = {0xF7, 128 * 100, 128 * 200, 0, 0, 100, ptDot};   // deeper than the line
  Particles[2] = {0xF7, 128 * 100, 128 * 100, 0, 0, 100, ptDot};   // on the line: dry
  DisplayParticle(1);
  DisplayParticle(2);
  auto quads = rec.Quads();
  ASSERT_EQ(quads.size(), 2u);
  EXPECT_EQ(quads[0].v[0].r + quads[0].v[0].g, 0.0f);
  EXPECT_EQ(quads[0].v[0].b, 1.0f);
  EXPECT_EQ(quads[1].v[0].r + quads[1].v[0].g, 2.0f);
}

// In view an icer leaves 16 invisible trail particles; out of view nothing is
// drawn or spawned, but every particle still moves and ages.
TEST_F(ParticleTest, OnlyParticlesInViewDrawOrLeaveATrail) {
  mapx = 10;
  mapy = 10;
  Particles[1] = {0xF6, 128 * (64 * 24), 128 * (64 * 15 + 48), 10, 0, 50, ptIcer};  // column 14
  Particles[2] = {0xF6, 128 * (64 * 9 + 32), 128 * (64 * 22 + 80), 10, 0, 50, ptIcer};  // (-1, 12)
  pslot = 3;
  DisplayParticles();
  EXPECT_EQ(Particles[1].x, 128 * 64 * 24 + 10);
  EXPECT_EQ(Particles[1].lifespan, 49);
  EXPECT_EQ(LiveParticles(), 2 + 16);
  EXPECT_EQ(LiveParticles(6) + LiveParticles(7), 16);
  auto quads = rec.Quads();
  ASSERT_EQ(quads.size(), 1u + 16u);   // the trail is drawn in the same pass
  for (size_t i = 1; i < quads.size(); i++) EXPECT_EQ(quads[i].v[0].a, 0.0f);
  EXPECT_EQ(quads[0].texture, 1025);

  // the window of cells: columns -1 to 13, rows -1 to 12 of the view
  const int cells[][3] = {{-2, 5, 0}, {-1, 5, 1}, {13, 5, 1}, {14, 5, 0},
                          {5, -2, 0}, {5, -1, 1}, {5, 12, 1}, {5, 13, 0}};
  for (const auto& c : cells) {
    rec.calls.clear();
    Particles[1] = {0xF1, 128 * (64 * (10 + c[0]) + 32), 128 * (64 * (10 + c[1]) + 32 + 48), 0, 0, 50, ptDot};
    DisplayParticle(1);
    EXPECT_EQ(rec.Quads().size(), size_t(c[2])) << c[0] << "," << c[1];
  }
}
