// Wind areas: steady sideways pushes, gusty vertical ones, pushes divided by
// mass, and streams shown only inside the view band.
#include <algorithm>

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

}  // namespace

TEST_F(WindTest, SidewaysWindPushesEveryFrameDividedByMass) {
  TEntity e = At(10 * 8192, 20 * 8192);   // area 4, on its bottom edge
  for (framectr = 0; framectr < 128; framectr++) {
    int32_t before = e.dx;
    WindAdjust(&e, 4);
    ASSERT_GE(e.dx - before, 768 - 7);
    ASSERT_LE(e.dx - before, 768 + 7);
  }
  EXPECT_EQ(e.dy, 0);
  TEntity past = At(10 * 8192, 20 * 8192 + 1);
  WindAdjust(&past, 4);
  EXPECT_EQ(past.dx, 0);
}

// Vertical winds act early in each 64-frame cycle, never from phase 62 on.
TEST_F(WindTest, VerticalWindComesInGusts) {
  TEntity e = At(153 * 8192 + 100, 50 * 8192);   // area 1 (up, 384)
  int early = 0;
  for (int cycle = 0; cycle < 20; cycle++) {
    for (framectr = 0; framectr < 64; framectr++) {
      int32_t before = e.dy;
      WindAdjust(&e, 1);
      int32_t push = e.dy - before;
      if (push != 0) {
        ASSERT_GE(push, -384 - 7);
        ASSERT_LE(push, -384 + 7);
      }
      if (framectr >= 62) {
        ASSERT_EQ(push, 0) << "phase " << framectr;
      }
      if (framectr < 8) early += push != 0;
    }
  }
  EXPECT_GE(early, 20 * 8 * 8 / 10);
  framectr = 62;   // even a draw of 62 modulo 63 (63 modulo 64) lets nothing through
  Seed([] { return Rand() % 64 == 63; });
  const int32_t dy = e.dy;
  WindAdjust(&e, 1);
  EXPECT_EQ(e.dy, dy);
}

TEST_F(WindTest, HeavyEntityGetsNoPushWhenTheWindDividesToZero) {
  TEntity e = At(153 * 8192 + 100, 50 * 8192);   // area 1, vy -384
  for (framectr = 0; framectr < 64; framectr++) WindAdjust(&e, 400);
  EXPECT_EQ(e.dx, 0);
  EXPECT_EQ(e.dy, 0);
}

TEST_F(WindTest, StreamShowsOnlyInsideTheViewBand) {
  mapx = 100;   // tiles 100..111: no area reaches into it
  DisplayWind();
  for (const TParticle& p : Particles) ASSERT_EQ(p.lifespan, 0);

  // The band is tiles 4..15 of area 4's 80. A wide draw (a + b x 65536)
  // modulo the width reaches the first four tiles of every eight, so the
  // points that show fall on tiles 8..11, and on tile 16 if the band were wider.
  mapx = 4;
  for (int frame = 0; frame < 20; frame++) DisplayWind();
  int n = 0;
  int32_t left = INT32_MAX, right = 0;
  for (const TParticle& p : Particles) {
    if (p.lifespan == 0) continue;   // colour 0 may come out: a dead particle
    n++, left = std::min(left, p.x), right = std::max(right, p.x);
    EXPECT_EQ(p.dx, 3072);   // area 4's stream
    EXPECT_EQ(p.ptype, ptGravDot);
  }
  EXPECT_TRUE(n > 0 && n <= 20 * 80) << n;
  EXPECT_EQ((std::vector<int32_t>{left / 8192, right / 8192}), (std::vector<int32_t>{8, 11}));
}

// A wind with both a sideways and a vertical part turns round on every frame
// whose counter is 31 modulo 32; the built-in areas, never both, never turn.
TEST_F(WindTest, OnlyADiagonalWindTurnsRound) {
  SpawnWind(8, 0, 0, 1, 1, 100, -50);
  std::vector<int> turns;
  for (framectr = 0; framectr < 96; framectr++) {
    const int32_t before = WindAreas[8].vx;
    for (int i = 0; i < MAX_WINDS; i++) UpdateWind(i);
    if (WindAreas[8].vx != before) turns.push_back(framectr);
  }
  EXPECT_EQ(turns, (std::vector<int>{31, 63, 95}));
  EXPECT_EQ((std::vector<int32_t>{WindAreas[8].vx, WindAreas[8].vy, WindAreas[4].vx, WindAreas[1].vy}),
            (std::vector<int32_t>{-100, 50, 3072, -384}));
}
