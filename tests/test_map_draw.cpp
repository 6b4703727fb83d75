// Drawing the 12 x 12 tiles around player 0: the camera, the quads with their
// shading, mirroring and texture coordinates, and the seeding tiles.
#include <algorithm>
#include <cstring>
#include <tuple>
#include <vector>

#include "defs/random.h"
#include "platform/testseams.h"
#include "test_support.h"

namespace {

struct MapDraw : Fresh {
  RecordDraw rec;
  void SetUp() override {
    Fresh::SetUp();
    draw = &rec;
    oldx = oldy = 8192 * 10;   // view cell (i, j) is map cell (5 + i, 3 + j)
  }
};
uint32_t Word(uint32_t tile, uint32_t set, uint32_t flip) { return tile | set << 8 | flip << 28; }

}  // namespace

TEST_F(MapDraw, CameraFollowsPlayerZero) {
  auto camera = [](int32_t x, int32_t y) {
    oldx = x, oldy = y;
    DisplayMap();
    return std::make_tuple(mapx, mapy, ax, ay);
  };
  EXPECT_EQ(camera(0, 0), std::make_tuple(-5, -7, 64, 0));
  EXPECT_EQ(camera(8192 * 10 + 128, 8192 * 10 + 128), std::make_tuple(5, 3, 63, -1));
  EXPECT_EQ(camera(8192 * 3 + 8191, 8192 * 3 + 8191), std::make_tuple(-2, -4, 1, -63));

  // a view partly off the map draws only the cells inside it: at the top left
  // corner 7 columns by 5 rows, near the bottom right 9 by 11
  for (auto& column : mapt)
    for (uint32_t& w : column) w = 3;
  for (auto [at, cells] : {std::pair{0, 7 * 5}, std::pair{252 * 8192, 9 * 11}}) {
    rec.calls.clear();
    camera(at, at);
    EXPECT_EQ(rec.Quads().size(), size_t(cells)) << at;
  }
}

TEST_F(MapDraw, OneFrameOfTilesInRowOrder) {
  mapt[6][3] = Word(17, 0, mtX);       // cell (1, 0)
  mapt[5][3] = Word(17, 0, mtNorm);    // cell (0, 0): drawn first all the same
  mapt[7][3] = Word(17, 1, mtY);       // cell (2, 0)
  mapt[8][3] = Word(17, 0, mtXY);      // cell (3, 0)
  mapt[11][9] = Word(200, 0, mtNorm);  // cell (6, 6), the centre
  mapt[16][14] = Word(3, 0, mtNorm);   // cell (11, 11)
  mapt[10][8] = Word(0, 1, mtXY);      // empty
  mapt[10][9] = Word(40, 2, mtNorm);   // unknown tile set: not drawn
  mapt[10][10] = Word(40, 0, 9);       // unknown flip: not drawn
  DisplayMap();
  auto quads = rec.Quads();
  ASSERT_EQ(quads.size(), 6u);
  // (x1, y1) and (x2, y2): vertices 0 and 2; mirroring exchanges them.
  struct Want { float x1, y1, x2, y2, shade; int texture; } want[] = {
      {64, 768, 128, 832, 1 / 12.f, 1},   {192, 768, 128, 832, 2 / 12.f, 1},
      {192, 832, 256, 768, 3 / 12.f, 2},  {320, 832, 256, 768, 4 / 12.f, 1},
      {448, 384, 512, 448, 13 / 12.f, 1}, {768, 64, 832, 128, 3 / 12.f, 1}};
  for (int q = 0; q < 6; ++q) {
    const auto& v = quads[q].v;
    EXPECT_EQ((std::vector<float>{v[0].x, v[0].y, v[2].x, v[2].y, v[1].x, v[1].y, v[3].x, v[3].y}),
              (std::vector<float>{want[q].x1, want[q].y1, want[q].x2, want[q].y2, want[q].x2,
                                  want[q].y1, want[q].x1, want[q].y2})) << q;
    EXPECT_EQ((std::vector<float>{v[0].z, v[1].z, v[2].z, v[3].z}),
              (std::vector<float>{0.0001f, 0.0001f, 0, 0}));
    EXPECT_FLOAT_EQ(v[0].r, want[q].shade);
    EXPECT_FLOAT_EQ(v[0].a, 1.f);
    EXPECT_EQ(quads[q].texture, want[q].texture);
  }
  // Texture coordinates never mirror: tile 17 samples column 1, row 1 from the top.
  const float s1 = 0.0625f + 0.00005f, t1 = 14 * 0.0625f + 0.00005f;
  for (int q = 0; q < 4; ++q)
    EXPECT_EQ((std::vector<float>{quads[q].v[0].s, quads[q].v[0].t, quads[q].v[2].s, quads[q].v[2].t}),
              (std::vector<float>{s1, t1, s1 + 0.061f, t1 + 0.061f}));
  EXPECT_FLOAT_EQ(quads[4].v[0].t, 3 * 0.0625f + 0.00005f);   // tile 200: row 12
  int white = 0;   // every empty cell leaves white; unknown words set no colour
  for (auto& c : rec.Only("Color3")) white += c.v == std::vector<float>{1, 1, 1};
  EXPECT_EQ(white, 144 - 6 - 2);
  EXPECT_EQ(rec.calls.back().op, "Texturing");
  EXPECT_EQ(rec.Only("BindTexture").size(), 142u);   // not for the two unknown words
}

// Tiles 1 and 2 of tile set 0 seed shrooms (a red one 5632 units down) and
// tile 191 rising particles, the random numbers drawn in a fixed order: the
// chance, the position, the last. Other tile sets and unknown flips seed
// nothing and draw no number.
TEST_F(MapDraw, SeedingTilesDrawTheirRandomNumbersInOrder) {
  mapt[5][3] = Word(1, 0, mtNorm);
  mapt[6][3] = Word(2, 0, mtX);
  mapt[7][3] = Word(2, 1, mtNorm);
  mapt[8][3] = Word(1, 0, 7);
  mapt[9][3] = Word(191, 1, mtNorm);   // translucent blue in any set
  uint32_t replay = 1;
  auto next = [&] { return int32_t(((replay = replay * 214013u + 2531011u) >> 16) & 0x7FFF); };
  int shrooms[2] = {0, 0}, risers = 0;
  for (int frame = 0; frame < 400; ++frame) {
    std::vector<std::tuple<int, int32_t, int32_t, int32_t>> want;   // kind, x, y, flipx
    for (int tile : {1, 2})
      if (next() % 64 == 1) {
        int32_t x = (4 + tile) * 8192 + next() % 7936;
        want.emplace_back(tile == 1 ? blueshroom : redshroom, x, 3 * 8192 + (tile - 1) * 5632, next() % 7 & 1);
      }
    int32_t px = -1, py = 0, pdy = 0;
    if (next() % 32 == 0) px = 9 * 8192 + next() % 8192, py = 3 * 8192 + next() % 8192, pdy = -(next() % 64);
    std::memset(static_cast<void*>(Entities), 0, sizeof Entities);
    std::memset(static_cast<void*>(Particles), 0, sizeof Particles);
    eslot = 0;
    rec.calls.clear();
    DisplayMap();
    ASSERT_EQ(randstate, replay) << "frame " << frame;
    std::vector<std::tuple<int, int32_t, int32_t, int32_t>> got;
    for (const TEntity& e : Entities)
      if (e.kind) got.emplace_back(e.kind, e.x, e.y, e.flipx), ++shrooms[e.kind == redshroom];
    EXPECT_EQ(got, want) << "frame " << frame;
    const TParticle* p = nullptr;
    for (const TParticle& q : Particles)
      if (q.colour) p = &q;
    ASSERT_EQ(p != nullptr, px >= 0);
    if (p) {
      ++risers;
      EXPECT_EQ(std::make_tuple(p->x, p->y, p->dx, p->dy, p->colour, p->lifespan),
                std::make_tuple(px, py, 0, pdy, 68, 32));
    }
    auto blue = rec.Quads().back().v[0];
    EXPECT_EQ((std::vector<float>{blue.r, blue.g, blue.b, blue.a}), (std::vector<float>{0.1f, 0.1f, 1, 0.5f}));
  }
  EXPECT_GT(shrooms[0] * shrooms[1] * risers, 0);
}
