// The entity pass and the drawing of one entity, through the drawing recorder.
#include "test_entities_fixture.h"

namespace {

// on its first frame, spawns one urn into the free slot below it and one above
void SpawnBelowAndAbove(TEntity* ent) {
  if (ent->awake) return;
  ent->awake = 1;
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
  // rock at world pixel (640, 300): view column 10, row 3
  TEntity* Rock() { return Spawn(rock, 81920, 38400); }
  std::vector<RecordDraw::Quad> DrawOne(TEntity* e) {
    rec.calls.clear();
    DisplayEntity(e);
    return rec.Quads();
  }
};

std::vector<int> Bound(const RecordDraw& rec) {
  std::vector<int> out;
  for (const DrawCall& c : rec.Only("BindTexture")) out.push_back(int(c.v[0]));
  return out;
}

}  // namespace

TEST_F(DrawWorld, PassRunsFromTheTopSlotDownAndTakesInWhatSpawnsBelow) {
  Class(urn, 16, 16, 1, 0, -1, -1, edtNothing, 0, 0, 12);
  Class(crystal, 16, 16, 1, 0, -1, -1, edtNothing, 0, 0, 13).think = SpawnBelowAndAbove;
  Rock();
  Spawn(urn, 0, 0);
  Spawn(crystal, 81920, 38400);
  Entities[1].kind = blank;
  DisplayEntities();
  EXPECT_EQ(Bound(rec), (std::vector<int>{256 + 13, 256 + 12, 256 + 11}));
  EXPECT_EQ(Entities[1].y, 38400 + 192);   // spawned below: drawn and moved this frame
  EXPECT_EQ(Entities[3].kind, urn);
  EXPECT_EQ(Entities[3].y, 38400);         // spawned above: waits for the next frame
  EXPECT_EQ(rec.calls.front().op, "Texturing");
  EXPECT_EQ(rec.calls.back().op, "LoadIdentity");

  rec.calls.clear();
  DisplayEntsOnly();
  EXPECT_EQ(Bound(rec), (std::vector<int>{256 + 11, 256 + 12, 256 + 13, 256 + 12}));
  EXPECT_EQ(Entities[3].y, 38400);
}

TEST_F(DrawWorld, PlacedOnTheMapPixelAndMirroredByTextureCoordinates) {
  TEntity* e = Rock();
  e->dx = -10;
  auto q = DrawOne(e);
  ASSERT_EQ(q.size(), 1u);
  EXPECT_EQ(e->flipx, flFlipped);
  EXPECT_EQ(q[0].texture, 256 + 11);
  auto t = rec.Only("Translate");
  ASSERT_EQ(t.size(), 1u);
  EXPECT_EQ(t[0].v, (std::vector<float>{640 - 416 + 8, 768 - 252 - 416 + 8, -256}));
  EXPECT_TRUE(rec.Only("Rotate").empty());
  const float want[4][4] = {{-8, -8, 1, 0}, {8, -8, 0, 0}, {8, 8, 0, 1}, {-8, 8, 1, 1}};
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(q[0].v[k].x, want[k][0]);
    EXPECT_EQ(q[0].v[k].y, want[k][1]);
    EXPECT_EQ(q[0].v[k].s, want[k][2]);
    EXPECT_EQ(q[0].v[k].t, want[k][3]);
    EXPECT_FLOAT_EQ(q[0].v[k].z, -0.01f);
  }
  // at rest it keeps its facing; upside down swaps the rows
  e->dx = 0;
  e->flipy = 1;
  q = DrawOne(e);
  EXPECT_EQ(q[0].v[0].s, 1);
  EXPECT_EQ(q[0].v[0].t, 1);
  EXPECT_EQ(q[0].v[2].s, 0);
  EXPECT_EQ(q[0].v[2].t, 0);
}

TEST_F(DrawWorld, OnlyTheWindowOfTilesIsDrawn) {
  mapx = mapy = 5;
  ax = 3;
  const int32_t inRowY = 432 * 128, inColX = 10 * 8192;
  struct { int32_t x, y; size_t quads; } cases[] = {
      {4 * 8192, inRowY, 1},  {3 * 8192, inRowY, 0},      {20 * 8192, inRowY, 0},
      {inColX, 304 * 128, 0}, {inColX, 1264 * 128, 0},    {inColX, 1263 * 128, 1}};
  for (auto& c : cases) {
    TEntity* e = Spawn(rock, c.x, c.y);
    EXPECT_EQ(DrawOne(e).size(), c.quads) << c.x << "," << c.y;
  }
  DrawOne(Spawn(rock, 4 * 8192, inRowY));
  EXPECT_EQ(rec.Only("Translate")[0].v[0], 256 - 320 + 3 - 416 + 8);
}

TEST_F(DrawWorld, ProjectilesTurnToTheirHeading) {
  Class(bullet, 4, 4, 1, 0, 1, -1, edtNothing, 0, 0, 20).particlecolour = 255;
  struct { int32_t dx, dy, angle; } cases[] = {
      {0, -100, 90}, {0, 100, 270}, {-100, 0, 180}, {100, 0, 360}, {0, 0, 360}};
  for (auto& c : cases) {
    TEntity* b = Spawn(bullet, 81920, 38400);
    b->dx = c.dx;
    b->dy = c.dy;
    DrawOne(b);
    EXPECT_EQ(b->rangle, c.angle) << c.dx << "," << c.dy;
    ASSERT_EQ(rec.Only("Rotate").size(), 1u);
    EXPECT_EQ(rec.Only("Rotate")[0].v, (std::vector<float>{float(c.angle), 0, 0, 1}));
  }
  EXPECT_GT(LiveParticles(), 0);   // each trails a spray
}

TEST_F(DrawWorld, HurtFlashesRedAndTheDyingFlickerAndFade) {
  TEntity* e = Rock();
  e->estate = esHurtFlash;
  const int frames[] = {15, 16, 31, 32};
  const float green[] = {0, 1, 1, 0};
  for (int k = 0; k < 4; ++k) {
    framectr = frames[k];
    auto q = DrawOne(e);
    EXPECT_EQ(q[0].v[0].r, 1);
    EXPECT_EQ(q[0].v[0].g, green[k]) << frames[k];
  }
  e->estate = esDying;
  e->lifespan = 32;
  framectr = 15;
  uint32_t before = randstate;
  auto q = DrawOne(e);
  EXPECT_EQ(randstate, before);
  EXPECT_EQ(q[0].v[0].g, 1);
  EXPECT_FLOAT_EQ(q[0].v[0].a, 0.5f);
  framectr = 14;
  q = DrawOne(e);
  EXPECT_NE(randstate, before);   // three fresh draws for red, green and blue
  for (float c : {q[0].v[0].r, q[0].v[0].g, q[0].v[0].b}) EXPECT_TRUE(c == 0 || c == 1);
}

TEST_F(DrawWorld, AnimationStripColumnsAndTheShellsHalo) {
  Class(buzzball, 16, 16, 1, 0, -1, -1, edtNothing, 0, 0, 30, 4);
  TEntity* b = Spawn(buzzball, 81920, 38400);
  b->frame = 2;
  auto q = DrawOne(b);
  EXPECT_FLOAT_EQ(q[0].v[0].s, 0.5f);
  EXPECT_FLOAT_EQ(q[0].v[1].s, 0.75f);
  EXPECT_EQ(q[0].v[0].z, 0.0f);
  b->dx = -1;
  q = DrawOne(b);
  EXPECT_FLOAT_EQ(q[0].v[0].s, 0.75f);
  EXPECT_FLOAT_EQ(q[0].v[1].s, 0.5f);

  Class(yellowshell, 16, 16, 1, 0, -1, -1, edtNothing, 0, 0, 40);
  q = DrawOne(Spawn(yellowshell, 81920, 38400));
  ASSERT_EQ(q.size(), 2u);
  EXPECT_EQ(q[1].v[0].x, -40);
  EXPECT_EQ(q[1].v[2].x, 40);
  EXPECT_EQ(q[1].v[2].y, 40);
  EXPECT_FLOAT_EQ(q[1].v[0].a, 0.1f);
  EXPECT_FLOAT_EQ(q[1].v[0].z, -0.02f);
  EXPECT_EQ(q[1].texture, 256 + 40);
}
