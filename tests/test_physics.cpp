// One frame of movement against the map and the other entities, and the
// geometric queries: line of sight, distance, blasts.
#include <climits>

#include "test_entities_fixture.h"

namespace {

int thinks = 0, hurts = 0;
void CountThink(TEntity*) { ++thinks; }
void CountHurt(TEntity*) { ++hurts; }

}  // namespace

TEST_F(EntWorld, GravityAndBuoyancyByMass) {
  Class(rock, 16, 16, 1, 1);
  TEntity* e = Spawn(rock, 100000, 100000);
  e->dy = 192;
  const int32_t fall[] = {384, 576, 768, 960, 1152, 1152};
  for (int32_t want : fall) {
    MoveEntity(e);
    EXPECT_EQ(e->dy, want);
  }
  EXPECT_EQ(e->y, 100000 + 192 + 384 + 576 + 768 + 960 + 1152);

  Class(urn, 16, 16, 3, 1);
  TEntity* a = Spawn(urn, 300000, 100000);
  MoveEntity(a);
  EXPECT_EQ(a->dy, 64);
  Tile(20, 20, 128);
  TEntity* w = Spawn(urn, 164000, 164000);
  w->inwater = 1;
  MoveEntity(w);
  EXPECT_EQ(w->dy, -85);

  // no mass: the behaviour runs but nothing moves
  TEntityClass& still = Class(button, 16, 16, 0, 1);
  still.think = CountThink;
  TEntity* b = Spawn(button, 400000, 100000);
  b->dx = b->dy = 50;
  MoveEntity(b);
  EXPECT_EQ(thinks, 1);
  EXPECT_EQ(b->x, 400000);
  EXPECT_EQ(b->dx, 50);
  EXPECT_EQ(b->dy, 50);
}

TEST_F(EntWorld, WallBounceIsSeenByTheLeftProbesInTheSameFrame) {
  Class(rock, 16, 16, 1);
  Tile(10, 5, 255);
  TEntity* e = Spawn(rock, 81920 - 2048, 41960);   // right edge touching the rock
  e->dx = 100;
  MoveEntity(e);
  EXPECT_EQ(e->x, 81920 - 2048 - 50);
  EXPECT_EQ(e->dx, -49);
  EXPECT_EQ(e->y, 41960);
}

TEST_F(EntWorld, OneStepHighWallIsClimbed) {
  Class(rock, 16, 16, 1);
  Tile(10, 6, 255);
  TEntity* e = Spawn(rock, 81920 - 2048, 49152 - 2048 + 100);   // feet in the rock row
  e->dx = 100;
  MoveEntity(e);
  EXPECT_EQ(e->x, 81920 - 2048 + 100);
  EXPECT_EQ(e->y, 49152 - 2048 + 100 - 512);
  EXPECT_EQ(e->dx, 99);
}

TEST_F(EntWorld, LandingBouncesOrStopsBeforeGravity) {
  Class(rock, 16, 16, 1, 1);
  Tile(9, 6, 255);
  TEntity* e = Spawn(rock, 77824, 49152 - 20 - 2048);
  e->dy = 40;
  MoveEntity(e);
  EXPECT_EQ(e->dy, -10 + 192);
  EXPECT_EQ(e->y, 49152 - 20 - 2048 - 10);

  TEntity* f = Spawn(rock, 73728 + 100, 49152 - 4 - 2048);
  f->dy = 8;
  MoveEntity(f);
  EXPECT_EQ(f->dy, 192);
  EXPECT_EQ(f->y, 49152 - 4 - 2048);
}

TEST_F(EntWorld, FrictionThenSettling) {
  Class(rock, 16, 16, 1);
  TEntity* e = Spawn(rock, 100000, 100000);
  e->dx = 8;
  e->rangle = 45;
  MoveEntity(e);
  EXPECT_EQ(e->dx, 7);
  EXPECT_EQ(e->rangle, 45);
  MoveEntity(e);
  EXPECT_EQ(e->dx, 0);
  EXPECT_EQ(e->rangle, 0);
  EXPECT_EQ(e->x, 100000 + 8 + 7);
  e->dy = -1;
  MoveEntity(e);
  EXPECT_EQ(e->dy, 0);
}

TEST_F(EntWorld, SplashOnlyWhenStillFastAfterBuoyancy) {
  Class(rock, 16, 16, 1, 1);
  Tile(12, 5, 128);
  TEntity* e = Spawn(rock, 98304 + 1000, 40960 + 1000);
  e->dy = 500;
  MoveEntity(e);
  EXPECT_EQ(e->inwater, 1);
  EXPECT_EQ(e->dy, 183);   // 500 - 256, then less a quarter
  int sprayed = LiveParticles();
  EXPECT_GE(sprayed, 1);
  EXPECT_LE(sprayed, 245);

  TEntity* f = Spawn(rock, 98304 + 4000, 40960 + 1000);
  f->dy = 300;
  MoveEntity(f);
  EXPECT_EQ(f->dy, 44);
  EXPECT_EQ(LiveParticles(), sprayed);
}

TEST_F(EntWorld, MoverBouncesAndPushesByMassRatio) {
  Class(rock, 16, 16, 2);
  Class(urn, 16, 16, 1);
  TEntity* m = Spawn(rock, 100000, 100000);
  TEntity* o = Spawn(urn, 100000 + 2048 + 50, 100000);
  m->dx = 100;
  MoveEntity(m);
  EXPECT_EQ(m->dx, -50);
  EXPECT_EQ(m->x, 100000);   // touched: no move against the map this frame
  EXPECT_EQ(o->dx, 100);

  // a copy shares its source's identity and never collides with it
  m->dx = 100;
  CloneEntity(*m);
  o->kind = blank;
  MoveEntity(m);
  EXPECT_EQ(m->x, 100100);
}

TEST_F(EntWorld, ClosedDoorOpensForAToucherAndALockedOneBounces) {
  Class(rock, 16, 16, 1);
  Class(greendoor, 16, 64, 0);
  TEntity* m = Spawn(rock, 100000, 100000);
  TEntity* d = Spawn(greendoor, 100000 + 2100, 100000);
  d->dstate = esClosed;
  m->dx = 100;
  MoveEntity(m);
  EXPECT_EQ(d->dstate, esOpening);
  EXPECT_EQ(d->counter, 16);
  EXPECT_EQ(m->dx, 100);
  d->dstate = esLocked;
  MoveEntity(m);
  EXPECT_EQ(m->dx, -50);
}

TEST_F(EntWorld, ContactDamageAndHurt) {
  Class(bullet, 2, 2, 1, 0, 1, -1, edtNothing, 5, 1);
  TEntityClass& imp = Class(redimp, 16, 16, 1, 0, 12);
  imp.hurt = CountHurt;
  imp.think = nullptr;
  TEntity* c = Spawn(redimp, 100000, 100000);
  c->score = 30;
  TEntity* b = Spawn(bullet, 100000 - 300, 100000);
  b->dx = 200;
  MoveEntity(b);
  EXPECT_EQ(c->hp, 7);
  EXPECT_EQ(hurts, 1);
  EXPECT_EQ(b->estate, esDying);   // dies on contact
  EXPECT_EQ(c->estate, esAlive);
  c->hp = 5;
  TEntity* b2 = Spawn(bullet, 100000 - 300, 100000);
  b2->dx = 200;
  MoveEntity(b2);
  EXPECT_EQ(c->estate, esDying);
  EXPECT_EQ(players[0].score, 30);

  // a creature with its own contact damage hurts the mover and takes none
  Class(whitewasp, 16, 16, 1, 0, 20, -1, edtNothing, 3);
  Class(rock, 16, 16, 1, 0, 10);
  TEntity* w = Spawn(whitewasp, 200000, 100000);
  TEntity* r = Spawn(rock, 200000 - 2100, 100000);
  r->dx = 200;
  MoveEntity(r);
  EXPECT_EQ(r->hp, 7);
  EXPECT_EQ(w->hp, 20);
}

TEST_F(EntWorld, BlastDamagesByDistanceInLineOfSight) {
  Class(grenadeact, 16, 16, 1, 0, 1);
  Class(redimp, 16, 16, 1, 0, 12);
  Class(block, 16, 16, 1, 0, -1);
  TEntity* g = Spawn(grenadeact, 164840, 164840);
  TEntity* near = Spawn(redimp, 164840 + 4096, 164840);
  TEntity* hidden = Spawn(redimp, 164840, 164840 + 14000);
  TEntity* far = Spawn(redimp, 164840 + 20000, 164840);
  TEntity* hard = Spawn(block, 164840 - 4096, 164840);
  Tile(20, 21, 255);
  RadiusDamage(g, 16384, 40);
  EXPECT_EQ(near->hp, 12 - (40 >> 3));
  EXPECT_EQ(near->dx, 1024);   // 40 x 262144 / 4096, clamped
  EXPECT_EQ(near->dy, 0);
  EXPECT_EQ(hidden->hp, 12);
  EXPECT_EQ(far->hp, 12);
  EXPECT_EQ(hard->hp, -1);
  EXPECT_EQ(hard->dx, -1024);
  EXPECT_EQ(g->hp, 1);
  EXPECT_EQ(RoughRadialDamage(40, 0, 16384), 40);
  EXPECT_EQ(RoughRadialDamage(40, 10, 16384), 20);
  EXPECT_EQ(RoughRadialDamage(40, 40, 16384), 10);
}

TEST_F(EntWorld, LineOfSightReachAndRock) {
  TEntity a{}, b{};
  a.x = 100000;
  a.y = 100000;
  b.y = 100000;
  b.x = 100000 + 49152;
  EXPECT_EQ(TraceLOS(&a, &b), 1);
  b.x = 100000 + 49153;
  EXPECT_EQ(TraceLOS(&a, &b), 0);
  b.x = 100000 + 40000;
  Tile(14, 12, 255);
  EXPECT_EQ(TraceLOS(&a, &b), 0);
}

TEST_F(EntWorld, DistanceClampAndGround) {
  TEntity a{}, b{};
  b.x = 3;
  b.y = 4;
  EXPECT_EQ(GetDist(&a, &b), 5);
  b.x = b.y = 2097151;
  EXPECT_EQ(GetDist(&a, &b), 2965819);
  a.x = a.y = INT_MIN;
  b.x = b.y = INT_MAX;
  EXPECT_EQ(GetDist(&a, &b), INT32_MAX);
  b.dx = 2000;
  b.dy = -3000;
  ClampDxDy(&b);
  EXPECT_EQ(b.dx, 1024);
  EXPECT_EQ(b.dy, -1024);

  Tile(3, 4, 255);
  TEntity s{};
  s.w = s.h = 2048;
  s.x = 3 * 8192;
  s.y = 4 * 8192 - 2048 - 128;
  EXPECT_EQ(OnGround(&s), 1);
  s.y -= 1;
  EXPECT_EQ(OnGround(&s), 0);
}

TEST_F(EntWorld, OverlapSearchesWithAndWithoutMass) {
  Class(man, 16, 32, 1);
  Class(button, 16, 16, 0);
  Class(rock, 16, 16, 1);
  Spawn(man, 100000, 100000);
  Spawn(button, 100000, 100000);
  Spawn(rock, 100000 + 2048, 100000);
  Spawn(rock, 300000, 100000);
  EXPECT_EQ(coldetidx(0), 1);
  EXPECT_EQ(coldetidxholdable(0), 2);
  EXPECT_EQ(coldetidxholdable(3), -1);
}
