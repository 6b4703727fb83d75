// Drawing the 12 x 12 tiles around player 0: the camera it sets, the quads
// with their shading, mirroring and texture coordinates, and the seeding tiles.
#include <algorithm>
#include <cstring>

#include "defs/random.h"
#include "platform/testseams.h"
#include "test_support.h"

namespace {

struct MapDraw : Fresh {
  RecordDraw rec;
  void SetUp() override {
    Fresh::SetUp();
    draw = &rec;
  }
  // camera on tile (tx, ty) exactly: the view's top-left cell is (tx - 5, ty - 7)
  static void LookAt(int32_t x, int32_t y) {
    oldx = x;
    oldy = y;
  }
  // how many values Rand() gave since the last reset, by replaying it
  static int DrawsSinceReset() {
    uint32_t now = randstate;
    ResetRand();
    int n = 0;
    while (randstate != now && n < 100000) {
      Rand();
      ++n;
    }
    randstate = now;
    return n;
  }
};

uint32_t Word(uint32_t tile, uint32_t set, uint32_t flip) { return tile | set << 8 | flip << 28; }

}  // namespace

TEST_F(MapDraw, CameraFollowsPlayerZero) {
  LookAt(0, 0);
  DisplayMap();
  EXPECT_EQ(mapx, -5);
  EXPECT_EQ(mapy, -7);
  EXPECT_EQ(ax, 64);
  EXPECT_EQ(ay, 0);

  LookAt(8192 * 10 + 128, 8192 * 10 + 128);   // one pixel into tile (10, 10)
  DisplayMap();
  EXPECT_EQ(mapx, 5);
  EXPECT_EQ(ax, 63);
  EXPECT_EQ(mapy, 3);
  EXPECT_EQ(ay, -1);

  LookAt(8192 * 3 + 8191, 8192 * 3 + 8191);   // last pixel of the tile
  DisplayMap();
  EXPECT_EQ(mapx, -2);
  EXPECT_EQ(ax, 1);
  EXPECT_EQ(ay, -63);
}

TEST_F(MapDraw, OneFrameOfTilesInRowOrder) {
  LookAt(8192 * 10, 8192 * 10);   // view cells (i, j) are map cells (5 + i, 3 + j)
  mapt[5][3] = Word(17, 0, mtNorm);    // cell (0, 0)
  mapt[6][3] = Word(17, 0, mtX);       // cell (1, 0)
  mapt[7][3] = Word(17, 1, mtY);       // cell (2, 0)
  mapt[8][3] = Word(17, 0, mtXY);      // cell (3, 0)
  mapt[11][9] = Word(200, 0, mtNorm);  // cell (6, 6), the centre
  mapt[16][14] = Word(3, 0, mtNorm);   // cell (11, 11)
  mapt[10][8] = Word(0, 1, mtXY);      // empty: nothing drawn
  DisplayMap();

  auto quads = rec.Quads();
  ASSERT_EQ(quads.size(), 6u);
  // Cell (i, j) covers x from i*64 + 64, y from (12 - j)*64 (ax 64, ay 0).
  struct Want { float left, bottom, shade; int tex; };
  Want want[] = {{64, 768, 1 / 12.f, 1},  {128, 768, 2 / 12.f, 1},  {192, 768, 3 / 12.f, 2},
                 {256, 768, 4 / 12.f, 1}, {448, 384, 13 / 12.f, 1}, {768, 64, 3 / 12.f, 1}};
  for (int q = 0; q < 6; ++q) {
    SCOPED_TRACE(q);
    const auto& v = quads[q].v;
    EXPECT_TRUE(quads[q].textured);
    EXPECT_EQ(quads[q].texture, want[q].tex);
    for (int k = 0; k < 4; ++k) {
      EXPECT_FLOAT_EQ(v[k].r, want[q].shade);
      EXPECT_FLOAT_EQ(v[k].g, want[q].shade);
      EXPECT_FLOAT_EQ(v[k].a, 1.f);
    }
    float left = std::min({v[0].x, v[1].x, v[2].x, v[3].x});
    float bottom = std::min({v[0].y, v[1].y, v[2].y, v[3].y});
    EXPECT_FLOAT_EQ(left, want[q].left);
    EXPECT_FLOAT_EQ(bottom, want[q].bottom);
    EXPECT_FLOAT_EQ(std::max({v[0].x, v[1].x, v[2].x, v[3].x}) - left, 64.f);
    EXPECT_FLOAT_EQ(std::max({v[0].y, v[1].y, v[2].y, v[3].y}) - bottom, 64.f);
    EXPECT_FLOAT_EQ(v[0].z, 0.0001f);
    EXPECT_FLOAT_EQ(v[1].z, 0.0001f);
    EXPECT_FLOAT_EQ(v[2].z, 0.f);
    EXPECT_FLOAT_EQ(v[3].z, 0.f);
  }
  // Texture coordinates never mirror: tile 17 samples column 1, row 1 from the top.
  const float s1 = 0.0625f + 0.00005f, t1 = 14 * 0.0625f + 0.00005f;
  for (int q = 0; q < 4; ++q) {
    const auto& v = quads[q].v;
    EXPECT_FLOAT_EQ(v[0].s, s1);
    EXPECT_FLOAT_EQ(v[0].t, t1);
    EXPECT_FLOAT_EQ(v[1].s, s1 + 0.061f);
    EXPECT_FLOAT_EQ(v[2].t, t1 + 0.061f);
    EXPECT_FLOAT_EQ(v[3].s, s1);
  }
  // Mirroring exchanges the corners: vertex 0 is (x1, y1).
  auto x1y1 = [&](int q) { return std::make_pair(quads[q].v[0].x, quads[q].v[0].y); };
  auto x2y2 = [&](int q) { return std::make_pair(quads[q].v[2].x, quads[q].v[2].y); };
  EXPECT_EQ(x1y1(0), std::make_pair(64.f, 768.f));
  EXPECT_EQ(x2y2(0), std::make_pair(128.f, 832.f));
  EXPECT_EQ(x1y1(1), std::make_pair(192.f, 768.f));    // mtX: x1 and x2 exchanged
  EXPECT_EQ(x2y2(1), std::make_pair(128.f, 832.f));
  EXPECT_EQ(x1y1(2), std::make_pair(192.f, 832.f));    // mtY: y1 and y2 exchanged
  EXPECT_EQ(x2y2(2), std::make_pair(256.f, 768.f));
  EXPECT_EQ(x1y1(3), std::make_pair(320.f, 832.f));    // mtXY: both
  EXPECT_EQ(x2y2(3), std::make_pair(256.f, 768.f));
  // Tile 200: column 8, row 12 from the top.
  EXPECT_FLOAT_EQ(quads[4].v[0].s, 8 * 0.0625f + 0.00005f);
  EXPECT_FLOAT_EQ(quads[4].v[0].t, 3 * 0.0625f + 0.00005f);
  EXPECT_EQ(rec.calls.back().op, "Texturing");
  EXPECT_EQ(rec.calls.back().v[0], 0.f);
}

TEST_F(MapDraw, CellsOutsideTheMapAreNeitherReadNorDrawn) {
  LookAt(0, 0);
  mapt[0][0] = Word(9, 0, mtNorm);
  mapt[7][5] = Word(9, 0, mtNorm);   // view cell (12, 12): out of view
  DisplayMap();
  auto quads = rec.Quads();
  ASSERT_EQ(quads.size(), 1u);
  EXPECT_FLOAT_EQ(quads[0].v[0].x, 5 * 64 + 64);       // view cell (5, 7)
  EXPECT_FLOAT_EQ(quads[0].v[0].y, (12 - 7) * 64);
  EXPECT_EQ(rec.Only("BindTexture").size(), 7u * 5u);  // only the 35 cells inside
}

TEST_F(MapDraw, EmptyUnknownAndBlueTiles) {
  LookAt(8192 * 10, 8192 * 10);
  mapt[5][3] = Word(0, 1, mtX);      // empty: white, no quad
  mapt[6][3] = Word(40, 2, mtNorm);  // unknown set: not drawn
  mapt[7][3] = Word(40, 0, 7);       // unknown flip: not drawn
  mapt[8][3] = Word(191, 1, mtNorm); // translucent blue, whatever the set
  DisplayMap();
  auto quads = rec.Quads();
  ASSERT_EQ(quads.size(), 1u);
  EXPECT_EQ(quads[0].texture, 2);
  EXPECT_FLOAT_EQ(quads[0].v[0].r, 0.1f);
  EXPECT_FLOAT_EQ(quads[0].v[0].b, 1.0f);
  EXPECT_FLOAT_EQ(quads[0].v[0].a, 0.5f);
  auto colours = rec.Only("Color3");
  ASSERT_FALSE(colours.empty());
  EXPECT_EQ(colours[0].v, (std::vector<float>{1, 1, 1}));
  EXPECT_EQ(DrawsSinceReset(), 1);   // only tile 191 took its chance
}

// Tiles 1 and 2 of tile set 0 seed shrooms and tile 191 rising particles, with
// the random numbers drawn in a fixed order: the chance, then the position,
// then the last value.
TEST_F(MapDraw, SeedingTilesDrawTheirRandomNumbersInOrder) {
  LookAt(8192 * 10, 8192 * 10);
  mapt[5][3] = Word(1, 0, mtNorm);
  mapt[6][3] = Word(2, 1, mtNorm);   // tile set 1 does not seed
  mapt[7][3] = Word(191, 0, mtNorm);

  // Replay the generator to know when each spawn is due and where.
  uint32_t replay = 1;
  auto next = [&] {
    replay = replay * 214013u + 2531011u;
    return int32_t((replay >> 16) & 0x7FFF);
  };
  int shrooms = 0, particles = 0;
  for (int frame = 0; frame < 400; ++frame) {
    int32_t r1 = next();
    int32_t shroomX = -1, shroomFlip = -1;
    if (r1 % 64 == 1) {
      shroomX = 5 * 8192 + next() % 7936;
      shroomFlip = next() % 7;
    }
    int32_t p1 = next();
    int32_t px = -1, py = -1, pdy = 1;
    if (p1 % 32 == 0) {
      px = 7 * 8192 + next() % 8192;
      py = 3 * 8192 + next() % 8192;
      pdy = -(next() % 64);
    }
    eslot = 0;
    std::memset(static_cast<void*>(Entities), 0, sizeof Entities);
    std::memset(static_cast<void*>(Particles), 0, sizeof Particles);
    DisplayMap();
    ASSERT_EQ(randstate, replay) << "frame " << frame;
    const TEntity* shroom = nullptr;
    for (const TEntity& e : Entities)
      if (e.kind == blueshroom || e.kind == redshroom) shroom = &e;
    if (shroomX >= 0) {
      ++shrooms;
      ASSERT_NE(shroom, nullptr);
      EXPECT_EQ(shroom->kind, blueshroom);
      EXPECT_EQ(shroom->x, shroomX);
      EXPECT_EQ(shroom->y, 3 * 8192);
      EXPECT_EQ(shroom->flipx, shroomFlip & 1);   // the last draw is the flip state
    } else {
      EXPECT_EQ(shroom, nullptr);
    }
    const TParticle* rising = nullptr;
    for (const TParticle& p : Particles)
      if (p.colour) rising = &p;
    if (px >= 0) {
      ++particles;
      ASSERT_NE(rising, nullptr);
      EXPECT_EQ(rising->x, px);
      EXPECT_EQ(rising->y, py);
      EXPECT_EQ(rising->dx, 0);
      EXPECT_EQ(rising->dy, pdy);
      EXPECT_EQ(rising->colour, 68);
    } else {
      EXPECT_EQ(rising, nullptr);
    }
  }
  EXPECT_GT(shrooms, 0);
  EXPECT_GT(particles, 0);
}
