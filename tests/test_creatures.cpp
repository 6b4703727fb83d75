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

// In sight, a bird (1 in 16), a wasp (1 in 16) and a buzzball (1 in 4) swoop
// at the player's entity with a divisor of 50 + r % 10, 20 + r % 20 and
// 20 + r % 30; out of sight a buzzball rolls level, 1 in 4 with a new dx of
// r % 64 - r % 64.
TEST_F(Creatures, SwoopsAndRolls) {
  struct { TEntityKind kind; TEntityOp think; int chance, base, spread; } swoops[] = {
      {greenbird, BirdThink, 16, 50, 10}, {whitewasp, WaspThink, 16, 20, 20}, {buzzball, BuzzBallThink, 4, 20, 30}};
  for (const auto& s : swoops) {
    TEntity* c = Put(1, s.kind, X + 30000, Y + 20000);
    Seed([&] { return Rand() % s.chance == 1; });
    const int32_t divisor = s.base + NextDraw(1) % s.spread;
    s.think(c);
    EXPECT_EQ((V{c->dx, c->dy}), (V{-30000 / divisor, -20000 / divisor})) << s.kind;
  }
  TEntity* b = Put(1, buzzball, X + 60000, Y);
  b->dy = 300;
  Seed([] { return Rand() % 4 == 1; });
  const int32_t dx = NextDraw(1) % 64 - NextDraw(2) % 64;
  BuzzBallThink(b);
  EXPECT_EQ((V{b->dx, b->dy}), (V{dx, 0}));
}

// Animated things step their frame 0, 1, 2, 3, 0 on the frames whose counter
// is 1 modulo k: wasps, buzzballs, grenades, armed grenades and fire every
// 4th, grubs every 8th while they move, power pods every 16th.
TEST_F(Creatures, AnimationsStepEveryKthFrame) {
  struct { TEntityKind kind; TEntityOp think; int k; } animated[] = {
      {whitewasp, WaspThink, 4}, {buzzball, BuzzBallThink, 4}, {grenade, GrenadeThink, 4},
      {grenadeact, GrenadeActThink, 4}, {fire, FireThink, 4}, {pinkgrub, MaggotThink, 8},
      {powerpod, PowerPodThink, 16}};
  for (const auto& a : animated) {
    TEntity* t = Put(1, a.kind, X + 200000, Y);
    V steps;
    for (framectr = 0; framectr <= 4 * a.k + 1; framectr++) {
      const int32_t before = t->frame;
      t->dx = 5, a.think(t);
      if (t->frame != before) steps.push_back(framectr);
    }
    EXPECT_EQ(steps, (V{1, a.k + 1, 2 * a.k + 1, 3 * a.k + 1, 4 * a.k + 1})) << a.kind;
    EXPECT_EQ(t->frame, 1) << a.kind;
  }
  TEntity* g = Put(1, pinkgrub, X + 200000, Y);   // a grub at rest does not wriggle
  for (framectr = 0; framectr < 20; framectr++) MaggotThink(g);
  EXPECT_EQ(g->frame, 0);
}

// A burger fires its subtype at the player's entity with that kind's firing
// sound; with subtype 0, or dying, it never fires.
TEST_F(Creatures, BurgerFiresOnlyWithASubtype) {
  Put(2, bullet, 0, 0, 4, 4)->kind = blank;
  for (int st : {0, int(bullet), -int(bullet)}) {
    TEntity* t = Put(1, whiteburger, X - 4096, Y);
    t->subtype = st < 0 ? bullet : st, t->estate = st < 0 ? esDying : esAlive;
    const int before = Count(bullet);
    for (int f = 0; f < 1000; f++) BurgerThink(t);
    EXPECT_EQ(Played(), V(size_t(Count(bullet) - before), es_pistolshot));
    EXPECT_EQ(Count(bullet) > before, st > 0);
  }
}

// An imp does nothing until it has seen the player's entity (when hurt it
// only cries). Awake, with or without sight: on a 1-in-4 draw it wanders
// unless falling (1 in 8 a new dx of (r % 12 - r % 12) x 128, after a hop of
// dy (-2 - r % 4) x 128 one time in four; else it slows by 4), otherwise it
// climbs a wall at its upper left (dx 1024 one time in four) or leaps off one
// at its upper right (1 in 4); last, 1 in 256, it fires at the player's entity.
TEST_F(Creatures, ImpSleepsUntilItSeesThePlayerThenWandersClimbsAndFires) {
  auto rock = [](int tx, int n, int c0, int c1) {   // tile n: a floor, and a wall in columns c0..c1 above it
    mapt[tx][100] = n;
    for (int r = 0; r < 64; ++r)
      for (int c = 0; c < 64; ++c)
        if (r >= 25 || (c >= c0 && c < c1)) mapmasks[0][((n / 16) * 64 + r) * 1024 + (n % 16) * 64 + c] = 255;
  };
  rock(200, 5, 0, 0), rock(229, 7, 0, 64), rock(230, 5, 0, 0), rock(210, 6, 17, 18);   // a pillar at pixel 17
  Put(3, bullet, 0, 0, 4, 4)->kind = blank;
  struct Row { const char* what; int tx, awake; int32_t dx, dy; bool (*draws)(); V (*want)(); const char* said; } rows[] = {
      {"asleep", 230, 0, 5, 7, [] { return Rand() % 4 != 1 && Rand() % 4 == 1 && Rand() % 256 == 1; }, [] { return V{5, 7, 0, 0}; }, ""},
      {"hop", 200, 1, 0, 0, [] { return Rand() % 4 == 1 && Rand() % 8 == 1 && Rand() % 4 == 1 && (Rand(), Rand(), Rand(), Rand() % 256 != 1); },
       [] { return V{(NextDraw(4) % 12 - NextDraw(5) % 12) * 128, (-2 - NextDraw(3) % 4) * 128, 0, 0}; }, ""},
      {"new dx", 200, 1, 0, 0, [] { return Rand() % 4 == 1 && Rand() % 8 == 1 && Rand() % 4 != 1 && (Rand(), Rand(), Rand() % 256 != 1); },
       [] { return V{(NextDraw(3) % 12 - NextDraw(4) % 12) * 128, 0, 0, 0}; }, ""},
      {"slow", 200, 1, 10, -10, [] { return Rand() % 4 == 1 && Rand() % 8 != 1 && Rand() % 256 != 1; }, [] { return V{6, -6, 0, 0}; }, ""},
      {"falling", 220, 1, 10, 100, [] { return Rand() % 4 == 1 && Rand() % 256 != 1; }, [] { return V{10, 100, 0, 0}; }, ""},
      {"climb", 230, 1, 0, 0, [] { return Rand() % 4 != 1 && Rand() % 4 == 1 && Rand() % 256 != 1; },
       [] { return V{1024, -512, 1, 0}; }, "imp climb l\n"},
      {"leap", 210, 1, 0, 0, [] { return Rand() % 4 != 1 && Rand() % 4 == 1 && Rand() % 256 != 1; },
       [] { return V{-1024, -512, 0, 0}; }, "imp leap off to l\n"},
      {"no leap", 210, 1, 0, 0, [] { return Rand() % 4 != 1 && Rand() % 4 != 1 && Rand() % 256 != 1; }, [] { return V{0, -512, 0, 0}; }, ""},
      {"fire", 200, 1, 0, 0, [] { return Rand() % 4 != 1 && Rand() % 256 == 1; }, [] { return V{0, 0, 1, 1}; }, ""}};
  for (const Row& r : rows) {
    TEntity* imp = Put(1, redimp, r.tx * 8192, 100 * 8192, 16, 24);
    imp->awake = r.awake, imp->subtype = bullet, imp->dx = r.dx, imp->dy = r.dy;
    Seed(r.draws);
    const V want = r.want();
    const int shots = Count(bullet);
    EXPECT_EQ(Said([&] { ImpThink(imp); }), r.said) << r.what;
    EXPECT_EQ((V{imp->dx, imp->dy, imp->flipx, Count(bullet) - shots}), want) << r.what;
  }
  Played(), ImpHurt(&Entities[1]);
  V cry = Played();
  EXPECT_TRUE(cry == V{es_chimppain1} || cry == V{es_chimppain2});
  ImpThink(Put(2, blueimp, X + 4096, Y));   // in sight: awake for good
  EXPECT_EQ(Entities[2].awake, 1);
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
