// One frame of movement against the map and the other entities; line of
// sight, distance and blasts.
#include <climits>

#include "test_entities_fixture.h"

namespace {

int thinks = 0, hurts = 0;
void CountThink(TEntity*) { ++thinks; }
void CountHurt(TEntity*) { ++hurts; }

}  // namespace

TEST_F(EntWorld, GravityBuoyancyAndTheMassless) {
  Class(rock, 16, 16, 1, 1);
  TEntity* e = Spawn(rock, 100000, 100000, 0, 192);
  Ints fall;
  for (int i = 0; i < 6; ++i) MoveEntity(e), fall.push_back(e->dy);
  EXPECT_EQ(fall, (Ints{384, 576, 768, 960, 1152, 1152}));
  EXPECT_EQ(e->y, 100000 + 192 + 384 + 576 + 768 + 960 + 1152);

  Class(urn, 16, 16, 3, 1).think = nullptr;
  TEntity* a = Spawn(urn, 300000, 100000);
  Tile(20, 20, 128);
  TEntity* w = Spawn(urn, 164000, 164000);
  w->inwater = 1;
  MoveEntity(a);
  MoveEntity(w);
  EXPECT_EQ((Ints{a->dy, w->dy}), (Ints{64, -85}));

  Class(button, 16, 16, 0, 1).think = CountThink;
  TEntity* b = Spawn(button, 400000, 100000, 50, 50);
  MoveEntity(b);
  EXPECT_EQ((Ints{thinks, b->x, b->dx, b->dy}), (Ints{1, 400000, 50, 50}));
}

TEST_F(EntWorld, WallsBounceStepsAreClimbedFloorsLand) {
  Class(rock, 16, 16, 1);
  Tile(10, 5, 255);
  // right edge against the rock: the bounce moves it left in the same frame
  TEntity* e = Spawn(rock, 81920 - 2048, 41960, 100);
  MoveEntity(e);
  EXPECT_EQ((Ints{e->x, e->y, e->dx}), (Ints{81920 - 2048 - 50, 41960, -49}));

  Tile(10, 7, 255);   // feet in the rock row, head clear: one step up
  TEntity* s = Spawn(rock, 81920 - 2048, 57344 - 2048 + 100, 100);
  MoveEntity(s);
  EXPECT_EQ((Ints{s->x, s->y, s->dx}), (Ints{81920 - 2048 + 100, 57344 - 2048 + 100 - 512, 99}));

  Class(urn, 16, 16, 1, 1).think = nullptr;
  Tile(5, 6, 255);
  TEntity* l = Spawn(urn, 40960, 49152 - 20 - 2048, 0, 40);
  TEntity* m = Spawn(urn, 40960 + 4096, 49152 - 4 - 2048, 0, 8);
  MoveEntity(l);
  MoveEntity(m);
  EXPECT_EQ((Ints{l->dy, l->y}), (Ints{-10 + 192, 49152 - 20 - 2048 - 10}));
  EXPECT_EQ((Ints{m->dy, m->y}), (Ints{192, 49152 - 4 - 2048}));
  // the ground test looks at the pixel under the feet, not one further
  TEntity* near = Spawn(urn, 40960, 49152 - 128 - 2048);
  TEntity* far = Spawn(urn, 45056, 49152 - 256 - 2048);
  EXPECT_EQ((Ints{OnGround(near), OnGround(far)}), (Ints{1, 0}));
}

TEST_F(EntWorld, FrictionThenSettling) {
  Class(rock, 16, 16, 1);
  TEntity* e = Spawn(rock, 100000, 100000, 8, -1);
  TEntity* f = Spawn(rock, 200000, 100000, 0, 2);   // 2 is not settled
  e->rangle = 45;
  MoveEntity(e), MoveEntity(f);
  EXPECT_EQ((Ints{e->dx, e->rangle, e->dy, f->dy}), (Ints{7, 45, 0, 2}));
  MoveEntity(e);
  EXPECT_EQ((Ints{e->dx, e->rangle, e->x}), (Ints{0, 0, 100000 + 8 + 7}));
}

TEST_F(EntWorld, SplashOnlyWhenStillFastAfterBuoyancy) {
  Class(rock, 16, 16, 1, 1);
  Tile(12, 5, 128);
  TEntity* e = Spawn(rock, 99304, 41960, 0, 500);
  EXPECT_EQ(Said([&] { MoveEntity(e); }), "sound 7 not found in cache");   // the splash
  EXPECT_EQ((Ints{e->inwater, e->dy}), (Ints{1, 244 - 61}));
  int sprayed = LiveParticles();
  EXPECT_TRUE(sprayed >= 1 && sprayed <= 245) << sprayed;
  TEntity* f = Spawn(rock, 102304, 41960, 0, 300);
  EXPECT_EQ(Said([&] { MoveEntity(f); }), "");
  EXPECT_EQ((Ints{f->dy, LiveParticles()}), (Ints{44, sprayed}));
  EXPECT_EQ(Said([&] { MoveEntity(Spawn(rock, 104400, 41960, 0, 384)); }), "sound 7 not found in cache");
}

TEST_F(EntWorld, CollisionsPushOpenDoorsAndSkipClones) {
  Class(rock, 16, 16, 2);
  Class(urn, 16, 16, 1);
  Class(greendoor, 16, 64, 0);
  TEntity* m = Spawn(rock, 100000, 100000, 100);
  TEntity* o = Spawn(urn, 100000 + 2048 + 50, 100000);
  MoveEntity(m);
  EXPECT_EQ((Ints{m->dx, m->x, o->dx}), (Ints{-50, 100000, 100}));

  o->kind = blank;
  TEntity* d = nullptr;
  Said([&] { d = Spawn(greendoor, 100000 + 2100, 100000); });
  d->dstate = esClosed;
  m->dx = 100;
  MoveEntity(m);
  EXPECT_EQ((Ints{d->dstate, d->counter, m->dx}), (Ints{esOpening, 16, 100}));
  d->dstate = esLocked;
  MoveEntity(m);
  EXPECT_EQ(m->dx, -50);

  d->kind = blank;
  CloneEntity(*m);   // same uid: never collides with its source
  m->dx = 100;
  MoveEntity(m);
  EXPECT_EQ(m->x, 100100);
}

// Two harmless bodies caught inside each other (a step climb lifts a body
// into whatever rests above it) move apart; touching edges still collide,
// and so does a pair caught inside each other whose contact does more than
// bounce.
TEST_F(EntWorld, BodiesCaughtInsideEachOtherComeApart) {
  Class(man, 20, 32, 48, 1);
  Class(grenade, 10, 10, 8);
  TEntity* m = Spawn(man, 100000, 100000, 0, -40);
  TEntity* g = Spawn(grenade, 100000 + 512, 100000 + 32 * 128 - 512);   // 4 pixels inside his feet
  MoveEntity(m);
  EXPECT_EQ(m->y, 100000 - 40) << "held by the grenade he stands in";

  g->y = m->y + 32 * 128;   // feet on its top edge: a fall still lands
  m->dy = 200;
  MoveEntity(m);
  EXPECT_EQ((Ints{m->y, m->dy}), (Ints{100000 - 40, -100}));

  Class(bullet, 2, 2, 1, 0, 1, -1, edtNothing, 5, 1);
  Class(redimp, 16, 16, 1, 0, 12);
  TEntity* c = Spawn(redimp, 300000, 100000);
  TEntity* b = Spawn(bullet, 300000 + 256, 100000 + 256, 200);   // inside the imp
  MoveEntity(b);
  EXPECT_EQ((Ints{c->hp, b->estate}), (Ints{7, esDying}));

  // a contact that does more than bounce is never skipped: an armed grenade
  // fired into an imp bursts there and its blast kills it, and a spawner takes
  // back the child it has just made inside itself
  Class(grenadeact, 4, 4, 1, 0, 1, -1, edtNothing, 0, 1);
  TEntity* imp = Spawn(redimp, 500000, 100000);
  TEntity* shot = Spawn(grenadeact, 500000 + 256, 100000 + 256, 800);
  MoveEntity(shot), MoveEntity(shot);
  Class(spawner, 16, 16, 1);
  TEntity* nest = Spawn(spawner, 700000, 100000);
  nest->subtype = redimp, nest->subtypecount = 1;
  TEntity* child = Spawn(redimp, 700000 + 1024, 100000, 0, -64);
  MoveEntity(child);
  EXPECT_EQ((Ints{shot->estate, imp->estate, child->estate, nest->subtypecount}),
            (Ints{esDying, esDying, esDying, 0}));
}

// In the moving pass the collision search asks the grid. In every scene one
// mover (slot 2000) moves right into massless bodies; the one it deals with
// loses a hit point to its contact damage, and it must be the first touching
// body in slot order wherever the bodies lie, however they came there in the
// pass. The pass runs checked: the grid's answer is compared with the table
// scan's at every call.
namespace {

struct Body {
  int slot;
  int32_t x, y;
  TEntityKind kind = block;
};

struct Scene {
  const char* name;
  int32_t x, y;               // the mover, moving 100 units right
  std::vector<Body> bodies;
  int dealt;                  // the slot that loses a hit point
};

constexpr int32_t X = 100000, Y = 100000, NEAR = X + 2048 + 50;   // just ahead of the mover
const int32_t EDGE = 7 * 16384;                                     // between two grid cells

// Higher slots move first in the pass: these bodies act before the mover.
void SpawnAhead(TEntity* e) {
  if (e->counter++ == 0) SpawnEntity(block, NEAR, Y, blank, 0, flNorm, 0, 0);
}
void TeleportTheMan(TEntity* e) {
  if (e->counter++ == 0) Teleport(&players[0]);
}

const Scene kScenes[] = {
    {"lowest slot in one cell", X, Y, {{9, NEAR, Y}, {3, NEAR, Y + 100}, {5, NEAR, Y - 100}}, 3},
    {"in the next cell", EDGE - 2048, Y, {{8, EDGE - 700, Y + 2048}, {4, EDGE + 10, Y}}, 4},
    {"left of and above the map", -500000, -300000,
     {{2, -400000, -300000}, {6, -500000 + 2148, -300000}}, 6},
    {"across the right edge of the map", 2097152 - 2148, Y, {{9, 2500000, Y}, {6, 2097152, Y}},
     6},
    {"wider than four cells", X, Y, {{5, NEAR, Y}, {1, NEAR - 89000, Y, piano}}, 1},
    {"right edge past 32 bits", INT32_MAX - 5000, Y,
     {{2, INT32_MAX - 2800, Y}, {7, INT32_MAX - 2852, Y + 2000}}, 7},
    {"moved earlier in the pass, from another cell", X, Y, {{3000, NEAR - 16384, Y, crystal}},
     3000},
    {"spawned earlier in the pass", X, Y, {{3000, 0, 0, button}}, 1},
    {"teleported earlier in the pass", X, Y, {{10, 0, 0, man}, {3000, 0, 0, bat}}, 10},
};

void PrintTo(const Scene& s, std::ostream* os) { *os << s.name; }

}  // namespace

struct GridScene : EntWorld, ::testing::WithParamInterface<Scene> {};

TEST_P(GridScene, TheMoverDealsWithTheFirstTouchingSlot) {
  const Scene& s = GetParam();
  Class(rock, 16, 16, 1, 0, -1, -1, edtNothing, 1);
  for (TEntityKind k : {block, man}) Class(k, 16, 16, 0, 0, 10);
  Class(piano, 700, 16, 0, 0, 10);
  Class(crystal, 16, 16, 1, 0, 10);
  Class(button, 16, 16, 0).think = SpawnAhead;
  Class(bat, 16, 16, 0).think = TeleportTheMan;
  players[0].ent = 10;
  players[0].tx[0] = NEAR;
  players[0].ty[0] = Y;
  for (const Body& b : s.bodies) {
    eslot = b.slot;
    Spawn(b.kind, b.x, b.y, b.kind == crystal ? 16384 : 0);
  }
  eslot = 2000;
  Spawn(rock, s.x, s.y, 100);
  eslot = 1;   // where a spawn in the pass lands

  searchmode = smChecked;
  searchmismatches = 0;
  DisplayEntities();
  searchmode = smFast;
  EXPECT_EQ(searchmismatches, 0);
  Ints hurt;
  for (int i = 0; i < MAX_ENTITIES; ++i)
    if (Entities[i].kind != blank && Entities[i].hp == 9) hurt.push_back(i);
  EXPECT_EQ(hurt, Ints{s.dealt});
}

INSTANTIATE_TEST_SUITE_P(Collisions, GridScene, ::testing::ValuesIn(kScenes));

TEST_F(EntWorld, ContactDamageAndHurt) {
  Class(bullet, 2, 2, 1, 0, 1, -1, edtNothing, 5, 1);
  TEntityClass& imp = Class(redimp, 16, 16, 1, 0, 12);
  imp.hurt = CountHurt;
  TEntity* c = Spawn(redimp, 100000, 100000);
  c->score = 30;
  TEntity* b = Spawn(bullet, 100000 - 300, 100000, 200);
  MoveEntity(b);
  EXPECT_EQ((Ints{c->hp, hurts, b->estate, c->estate}), (Ints{7, 1, esDying, esAlive}));
  c->hp = 5;
  MoveEntity(Spawn(bullet, 100000 - 300, 100000, 200));
  EXPECT_EQ((Ints{c->estate, players[0].score}), (Ints{esDying, 30}));

  // a creature with contact damage of its own hurts the mover and takes none
  Class(whitewasp, 16, 16, 1, 0, 20, -1, edtNothing, 3);
  Class(rock, 16, 16, 1, 0, 10);
  TEntity* w = Spawn(whitewasp, 200000, 100000);
  TEntity* r = Spawn(rock, 200000 - 2100, 100000, 200);
  MoveEntity(r);
  EXPECT_EQ((Ints{r->hp, w->hp}), (Ints{7, 20}));
}

TEST_F(EntWorld, BlastHurtsByDistanceInLineOfSight) {
  Class(grenadeact, 16, 16, 1, 0, 1);
  Class(redimp, 16, 16, 1, 0, 12);
  Class(block, 16, 16, 1, 0, -1);
  TEntity* g = Spawn(grenadeact, 164840, 164840);
  TEntity* near = Spawn(redimp, 164840 + 4096, 164840);
  TEntity* hidden = Spawn(redimp, 164840, 164840 + 14000);
  TEntity* far = Spawn(redimp, 164840 + 16384, 164840);
  TEntity* hard = Spawn(block, 164840 - 4096, 164840);
  Tile(20, 21, 255);
  RadiusDamage(g, 16384, 40);
  EXPECT_EQ((Ints{near->hp, near->dx, near->dy}), (Ints{12 - (40 >> 3), 1024, 0}));
  EXPECT_EQ((Ints{hidden->hp, far->hp, hard->hp, hard->dx, g->hp}), (Ints{12, 12, -1, -1024, 1}));
  RadiusDamage(g, 16385, 40);   // just in reach: pushed by 40 x 262144 / 16384, unclamped
  EXPECT_EQ(far->dx, 640);
  EXPECT_EQ((Ints{RoughRadialDamage(40, 0, 16384), RoughRadialDamage(40, 10, 16384),
                  RoughRadialDamage(40, 40, 16384)}),
            (Ints{40, 20, 10}));
  for (Ints v : {Ints{2000, -3000, 1024, -1024}, Ints{-3000, 2000, -1024, 1024}, Ints{1024, -1024, 1024, -1024}}) {
    TEntity t{};   // the push is clamped to 1024 either way on each axis
    t.dx = v[0], t.dy = v[1];
    ClampDxDy(&t);
    EXPECT_EQ((Ints{t.dx, t.dy}), (Ints{v[2], v[3]}));
  }
}

TEST_F(EntWorld, LineOfSightReachAndDistance) {
  TEntity a{}, b{};
  a.x = a.y = b.y = 100000;
  b.x = 100000 + 49152;
  EXPECT_EQ(TraceLOS(&a, &b), 1);
  b.x = 100000 + 49153;
  EXPECT_EQ(TraceLOS(&a, &b), 0);
  b.x = 100000 + 40000;
  Tile(14, 12, 255);
  EXPECT_EQ(TraceLOS(&a, &b), 0);

  TEntity c{}, d{};
  d.x = 3, d.y = 4;
  EXPECT_EQ(GetDist(&c, &d), 5);
  d.x = d.y = 2097151;
  EXPECT_EQ(GetDist(&c, &d), 2965819);
  c.x = c.y = INT_MIN;
  d.x = d.y = INT_MAX;
  EXPECT_EQ(GetDist(&c, &d), INT32_MAX);
}
