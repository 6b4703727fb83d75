// Wind areas: the pushes they give entities (steady sideways, gusty
// vertical, divided by mass), the particle streams they show in the view band,
// and the direction flip.
#include <cstdlib>

#include "defs/random.h"
#include "test_support.h"

namespace {

struct WindTest : Fresh {
  void SetUp() override {
    Fresh::SetUp();
    InitialiseWinds();
  }
  static TEntity At(int32_t x, int32_t y) {
    TEntity e{};
    e.kind = rock;
    e.x = x;
    e.y = y;
    return e;
  }
};

int Live() {
  int n = 0;
  for (const TParticle& p : Particles) n += p.colour != 0;
  return n;
}

}  // namespace

TEST_F(WindTest, BuiltInAreasFromTiles) {
  const TWindArea& a = WindAreas[5];
  EXPECT_EQ(a.x, 160 * 8192);
  EXPECT_EQ(a.y, 0);
  EXPECT_EQ(a.width, 96 * 8192);
  EXPECT_EQ(a.height, 20 * 8192);
  EXPECT_EQ(a.vx, -3072);
  EXPECT_EQ(a.wsize, 96);
  EXPECT_EQ(WindAreas[0].width, 0);
  EXPECT_EQ(WindAreas[8].width, 0);
}

TEST_F(WindTest, SidewaysWindPushesEveryFrameDividedByMass) {
  TEntity e = At(10 * 8192, 5 * 8192);   // area 4 only
  for (framectr = 0; framectr < 128; framectr++) {
    int32_t before = e.dx;
    WindAdjust(&e, 4);
    EXPECT_GE(e.dx - before, 768 - 7);
    EXPECT_LE(e.dx - before, 768 + 7);
  }
  EXPECT_EQ(e.dy, 0);
}

TEST_F(WindTest, AreasOverlapAndAddUp) {
  TEntity e = At(85 * 8192, 5 * 8192);   // areas 6 and 7, the same rectangle
  WindAdjust(&e, 1);
  EXPECT_GE(e.dx, 2 * 384 - 14);
  EXPECT_LE(e.dx, 2 * 384 + 14);
}

TEST_F(WindTest, EdgesOfAnAreaAreInside) {
  TEntity on = At(10 * 8192, 20 * 8192);       // bottom edge of area 4
  TEntity past = At(10 * 8192, 20 * 8192 + 1);
  WindAdjust(&on, 4);
  WindAdjust(&past, 4);
  EXPECT_NE(on.dx, 0);
  EXPECT_EQ(past.dx, 0);
}

// Vertical winds act early in each 64-frame cycle, never from phase 62 on.
TEST_F(WindTest, VerticalWindComesInGusts) {
  TEntity e = At(153 * 8192 + 100, 50 * 8192);   // area 1 (up, 384)
  int early = 0, earlyFrames = 0;
  for (int cycle = 0; cycle < 20; cycle++) {
    for (framectr = 0; framectr < 64; framectr++) {
      int32_t before = e.dy;
      WindAdjust(&e, 1);
      int32_t push = e.dy - before;
      if (push != 0) {
        EXPECT_GE(push, -384 - 7);
        EXPECT_LE(push, -384 + 7);
      }
      if ((framectr & 63) >= 62) {
        EXPECT_EQ(push, 0) << "phase " << framectr;
      }
      if (framectr < 8) {
        earlyFrames++;
        early += push != 0;
      }
    }
  }
  EXPECT_GE(early, earlyFrames * 8 / 10);
  EXPECT_EQ(e.dx, 0);
}

TEST_F(WindTest, HeavyEntityGetsNoPushWhenTheWindDividesToZero) {
  TEntity e = At(153 * 8192 + 100, 50 * 8192);   // area 1, vy -384
  for (framectr = 0; framectr < 64; framectr++) WindAdjust(&e, 400);
  EXPECT_EQ(e.dx, 0);
  EXPECT_EQ(e.dy, 0);
}

TEST_F(WindTest, RandLJoinsTwoDraws) {
  EXPECT_EQ(randL(), 41 + (18467 << 16));
}

TEST_F(WindTest, StreamShowsOnlyInsideTheViewBand) {
  // area 4 covers tiles 0..79; a view band from tile 100 sees none of it
  mapx = 100;
  DisplayWind();
  EXPECT_EQ(ml, 100 * 8192);
  EXPECT_EQ(mr, 112 * 8192);
  EXPECT_EQ(Live(), 0);

  // the points outside the band cost their two wide draws each and no more
  ResetRand();
  UpdateWind(4);
  uint32_t after = randstate;
  ResetRand();
  for (int i = 0; i < 80 * 4; i++) Rand();
  EXPECT_EQ(after, randstate);

  mapx = 0;
  ml = 0;
  mr = 12 * 8192;
  UpdateWind(4);
  int n = 0;
  for (const TParticle& p : Particles) {
    if (p.lifespan == 0) continue;   // colour 0 can come out as a dead particle
    n++;
    EXPECT_LT(p.x, 12 * 8192);
    EXPECT_LT(p.y, 20 * 8192);
    EXPECT_EQ(p.dx, 3072);
    EXPECT_EQ(p.dy, 0);
    EXPECT_EQ(p.ptype, ptGravDot);
    EXPECT_GE(p.lifespan, 16);
    EXPECT_LT(p.lifespan, 40);
  }
  EXPECT_GT(n, 0);
  EXPECT_LE(n, 80);
}

TEST_F(WindTest, OnlyAnAreaWithBothVelocitiesFlipsEvery32Frames) {
  SpawnWind(9, 0, 0, 1, 1, 100, -200);
  framectr = 30;
  DisplayWind();
  EXPECT_EQ(WindAreas[9].vx, 100);
  framectr = 31;
  DisplayWind();
  EXPECT_EQ(WindAreas[9].vx, -100);
  EXPECT_EQ(WindAreas[9].vy, 200);
  EXPECT_EQ(WindAreas[4].vx, 3072);
  EXPECT_EQ(WindAreas[1].vy, -384);
}
