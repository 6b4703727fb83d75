// The entity pass and the drawing of one entity, through the drawing recorder.
#include "test_entities_fixture.h"

namespace {

// on its first frame, spawns one urn into the free slot below it and one above
void SpawnBelowAndAbove(TEntity* ent) {
  if (ent->awake++) return;
  eslot = 0;
  SpawnEntity(urn, 98304, 38400, blank, 0, flNorm, 0, 0);
  SpawnEntity(urn, 114688, 38400, blank, 0, flNorm, 0, 0);
}

struct DrawWorld : EntWorld {
  RecordDraw rec;
  void SetUp() override {
    EntWorld::SetUp();
    draw = &rec;
    Class(rock, 16, 16, 1, 0, 12, -1, edtNothing, 0, 0, 11);
  }
  // a rock at world pixel (640, 300): view column 10, row 3
  TEntity* Rock(int32_t dx = 0) { return Spawn(rock, 81920, 38400, dx); }
  std::vector<RecordDraw::Quad> DrawOne(TEntity* e) {
    rec.calls.clear();
    DisplayEntity(e);
    return rec.Quads();
  }
  Ints Bound() const {
    Ints out;
    for (const DrawCall& c : rec.Only("BindTexture")) out.push_back(int32_t(c.v[0]));
    return out;
  }
};

}  // namespace

TEST_F(DrawWorld, PassRunsFromTheTopSlotDownAndTakesInWhatSpawnsBelow) {
  Class(urn, 16, 16, 1, 0, -1, -1, edtNothing, 0, 0, 12).think = nullptr;
  Class(crystal, 16, 16, 1, 0, -1, -1, edtNothing, 0, 0, 13).think = SpawnBelowAndAbove;
  Rock();
  Spawn(urn, 0, 0);
  Spawn(crystal, 81920, 38400);
  Entities[1].kind = blank;
  DisplayEntities();
  EXPECT_EQ(Bound(), (Ints{256 + 13, 256 + 12, 256 + 11}));
  // spawned below: drawn and moved this frame; above: waits for the next
  EXPECT_EQ((Ints{Entities[1].y, Entities[3].kind, Entities[3].y}), (Ints{38592, urn, 38400}));
  EXPECT_EQ(rec.calls.front().op, "Texturing");
  EXPECT_EQ(rec.calls.back().op, "LoadIdentity");

  rec.calls.clear();
  DisplayEntsOnly();
  EXPECT_EQ(Bound(), (Ints{256 + 11, 256 + 12, 256 + 13, 256 + 12}));
  EXPECT_EQ(Entities[3].y, 38400);
}

TEST_F(DrawWorld, PlacedOnTheMapPixelAndMirroredByTextureCoordinates) {
  TEntity* e = Rock(-10);
  auto q = DrawOne(e);
  ASSERT_EQ(q.size(), 1u);
  EXPECT_EQ((Ints{e->flipx, q[0].texture}), (Ints{flFlipped, 256 + 11}));
  EXPECT_EQ(rec.Only("Translate").at(0).v,
            (std::vector<float>{640 - 416 + 8, 516 - 416 + 8, -256}));
  EXPECT_TRUE(rec.Only("Rotate").empty());
  std::vector<float> got;
  for (const auto& v : q[0].v) got.insert(got.end(), {v.x, v.y, v.s, v.t, v.z});
  EXPECT_EQ(got, (std::vector<float>{-8, -8, 1, 0, -0.01f, 8, -8, 0, 0, -0.01f,
                                     8, 8, 0, 1, -0.01f, -8, 8, 1, 1, -0.01f}));
  // at rest it keeps its facing; upside down swaps the rows
  e->dx = 0;
  e->flipy = 1;
  q = DrawOne(e);
  EXPECT_EQ((std::vector<float>{q[0].v[0].s, q[0].v[0].t, q[0].v[2].s, q[0].v[2].t}),
            (std::vector<float>{1, 1, 0, 0}));
}

TEST_F(DrawWorld, OnlyTheWindowOfTilesIsDrawn) {
  mapx = mapy = 5;
  ax = 3;
  const int32_t rowY = 432 * 128, colX = 10 * 8192;   // row 1, column 5
  struct { int32_t x, y; size_t quads; } cases[] = {
      {4 * 8192, rowY, 1}, {3 * 8192, rowY, 0},     {20 * 8192, rowY, 0},
      {colX, 304 * 128, 0}, {colX, 1264 * 128, 0}, {colX, 1263 * 128, 1}};
  for (auto& c : cases)
    EXPECT_EQ(DrawOne(Spawn(rock, c.x, c.y)).size(), c.quads) << c.x << "," << c.y;
  DrawOne(Spawn(rock, 4 * 8192, rowY));
  EXPECT_EQ(rec.Only("Translate").at(0).v[0], 256 - 320 + 3 - 416 + 8);
}

TEST_F(DrawWorld, ProjectilesTurnToTheirHeadingAndTrail) {
  Class(bullet, 4, 4, 1, 0, 1, -1, edtNothing, 0, 0, 20).particlecolour = 255;
  struct { int32_t dx, dy, angle; } cases[] = {
      {0, -100, 90}, {0, 100, 270}, {-100, 0, 180}, {100, 0, 360}, {0, 0, 360}};
  for (auto& c : cases) {
    TEntity* b = Spawn(bullet, 81920, 38400, c.dx, c.dy);
    DrawOne(b);
    EXPECT_EQ(b->rangle, c.angle) << c.dx << "," << c.dy;
    EXPECT_EQ(rec.Only("Rotate").at(0).v[0], float(c.angle));
  }
  EXPECT_GT(LiveParticles(), 0);
}

TEST_F(DrawWorld, HurtFlashesRedAndTheDyingFlickerAndFade) {
  TEntity* e = Rock();
  e->estate = esHurtFlash;
  std::vector<float> green;
  for (int f : {15, 16, 31, 32}) framectr = f, green.push_back(DrawOne(e)[0].v[0].g);
  EXPECT_EQ(green, (std::vector<float>{0, 1, 1, 0}));

  e->estate = esDying;
  e->lifespan = 32;
  framectr = 15;
  uint32_t before = randstate;
  auto v = DrawOne(e)[0].v[0];
  EXPECT_EQ((std::vector<float>{v.r, v.g, v.b, v.a}), (std::vector<float>{1, 1, 1, 0.5f}));
  EXPECT_EQ(randstate, before);
  framectr = 14;
  v = DrawOne(e)[0].v[0];
  EXPECT_NE(randstate, before);   // fresh draws for red, green and blue
  for (float c : {v.r, v.g, v.b}) EXPECT_TRUE(c == 0 || c == 1);
}

TEST_F(DrawWorld, AnimationStripColumnsAndTheShellsHalo) {
  Class(buzzball, 16, 16, 1, 0, -1, -1, edtNothing, 0, 0, 30, 4);
  TEntity* b = Spawn(buzzball, 81920, 38400);
  b->frame = 2;
  auto q = DrawOne(b);
  EXPECT_EQ((std::vector<float>{q[0].v[0].s, q[0].v[1].s, q[0].v[0].z}),
            (std::vector<float>{0.5f, 0.75f, 0}));
  b->dx = -1;
  q = DrawOne(b);
  EXPECT_EQ((std::vector<float>{q[0].v[0].s, q[0].v[1].s}), (std::vector<float>{0.75f, 0.5f}));

  Class(yellowshell, 16, 16, 1, 0, -1, -1, edtNothing, 0, 0, 40);
  q = DrawOne(Spawn(yellowshell, 81920, 38400));
  ASSERT_EQ(q.size(), 2u);
  const auto &lo = q[1].v[0], &hi = q[1].v[2];
  EXPECT_EQ((std::vector<float>{lo.x, lo.y, hi.x, hi.y, lo.a, lo.z, float(q[1].texture)}),
            (std::vector<float>{-40, -40, 40, 40, 0.1f, -0.02f, 256 + 40}));
}
