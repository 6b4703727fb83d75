#include "test_creatures_fixture.h"

using Creatures = BehaviourWorld;

// With no new velocity drawn, drift slows each axis to rest, but the wasp's
// step of 2 overshoots from 1 and is pushed back, so it settles at dx 1.
TEST_F(Creatures, DriftSlowsToRestAndTheWaspOvershoots) {
  TEntity *b = Put(1, greenbird, 0, 0), *w = Put(2, whitewasp, 0, 0);
  b->dx = w->dx = 3, b->dy = w->dy = -2;
  Seed([] { return Rand() % 64 > 1 && Rand() % 64 > 1 && Rand() % 64 > 1 && Rand() % 16 > 1 &&
                   Rand() % 16 > 1 && Rand() % 16 > 1; });
  for (int i = 0; i < 3; i++) BirdMoveRandom(b);
  for (int i = 0; i < 3; i++) WaspMoveRandom(w);
  EXPECT_EQ((V{b->dx, b->dy, w->dx, w->dy}), (V{0, 0, 1, 0}));
}

// Sight reaches 49152 units between centres. A dalek patrols toward a target
// it sees, keeps its dx when level with it, and stands still out of sight.
TEST_F(Creatures, DalekPatrolsOnlyInSight) {
  TEntity* d = Put(1, pinkdalek, X - 49152, Y, 16, 32);
  V dx;
  for (int32_t x : {X - 49152, X + 100, X, X - 49153})
    d->x = x, d->dx = 77, DalekThink(d), dx.push_back(d->dx);
  EXPECT_EQ(dx, (V{16, -16, 77, 0}));
  EXPECT_EQ(d->target, E0);
}

// A burger fires its subtype at the player's entity with that kind's firing
// sound; with subtype 0 it never fires.
TEST_F(Creatures, BurgerFiresOnlyWithASubtype) {
  Put(2, bullet, 0, 0, 4, 4)->kind = blank;
  for (int st : {0, int(bullet)}) {
    TEntity* t = Put(1, whiteburger, X - 4096, Y);
    t->subtype = st;
    for (int f = 0; f < 1000; f++) BurgerThink(t);
    EXPECT_EQ(Played(), V(size_t(Count(bullet)), es_pistolshot));
    EXPECT_EQ(Count(bullet) > 0, st != 0);
  }
}

// An imp that has never seen the player's entity does nothing, even beside a
// wall, and only cries when hurt; once it has seen it, it climbs with no
// sight at all.
TEST_F(Creatures, ImpSleepsUntilItSeesThePlayer) {
  mapt[199][100] = 1;   // a rock tile left of the imp
  for (int r = 0; r < 64; ++r) std::fill_n(&mapmasks[0][r * 1024 + 64], 64, 255);
  TEntity* imp = Put(1, redimp, 200 * 8192, 100 * 8192, 16, 24);
  imp->dx = 5, imp->dy = 7;
  testing::internal::CaptureStdout();
  for (int f = 0; f < 500; f++) ImpThink(imp);
  ImpHurt(imp);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ((V{imp->awake, imp->dx, imp->dy}), (V{0, 5, 7}));
  V cry = Played();
  EXPECT_TRUE(cry == V{es_chimppain1} || cry == V{es_chimppain2});

  ImpThink(Put(2, blueimp, X + 4096, Y));   // in sight
  EXPECT_EQ(Entities[2].awake, 1);
  imp->awake = 1;
  Seed([] { return Rand() % 4 != 1 && Rand() % 4 == 1 && Rand() % 256 != 1; });
  testing::internal::CaptureStdout();
  ImpThink(imp);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "imp climb l\n");
  EXPECT_EQ((V{imp->flipx, imp->dx, imp->dy}), (V{1, 1024, -512}));
}

// Once awake a gargoyle spits plasma on frames 1, 33, 65, ... from the corner
// and at the angle its mounting gives, and not while hurt.
TEST_F(Creatures, GargoyleMuzzlesAnglesAndRhythm) {
  Put(2, plasma, 0, 0, 8, 8)->kind = blank;
  const int32_t gx = X + 100000, W = 32 * 128;
  TEntity* g = Put(1, gargoyle, gx, Y, 32, 32);
  g->awake = 1;
  V rows[4] = {{0, 0, gx + W, Y - 1280, 105}, {0, 1, gx + W - 1024, Y + W, 45},
               {1, 0, gx, Y - 1280, 225}, {1, 1, gx, Y + W, 315}};
  V fired;
  for (V& r : rows)
    for (int f = 0; f < 100; f++) {
      g->flipx = r[0], g->flipy = r[1], framectr = f, GargoyleThink(g);
      TEntity& p = Entities[eslot];
      if (p.kind != plasma) continue;
      fired.push_back(f), p.kind = blank;
      EXPECT_EQ((V{r[0], r[1], p.x, p.y, p.rangle}), r);
    }
  EXPECT_EQ(fired, (V{1, 33, 65, 97, 1, 33, 65, 97, 1, 33, 65, 97, 1, 33, 65, 97}));
  g->estate = esHurtFlash, framectr = 1, GargoyleThink(g);
  EXPECT_EQ(Count(plasma), 0);
}
