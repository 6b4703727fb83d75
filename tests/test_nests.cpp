#include "test_creatures_fixture.h"

using Nests = BehaviourWorld;

// A producer in sight, on a draw of 1 in 256, makes a child with itself as
// the parent and one more in its count: a monster nest 512 units beyond the
// edge it faces, moving away at 64; a spawner just above itself moving down
// at 64 (hanging: at itself, moving up), with a dx of r % 128 - r % 128 and,
// for red imps, blue mushrooms to throw.
TEST_F(Nests, ProducersPlaceTheirChildren) {
  Put(2, whitewasp, 0, 0, 32, 16), Put(2, redimp, 0, 0, 16, 24);
  for (int row = 0; row < 4; row++) {
    const bool spawns = row >= 2, flip = row % 2;
    TEntity* n = Put(1, spawns ? spawner : waspnest, X + 8192, Y, 32, 32);
    n->subtype = spawns ? redimp : whitewasp, n->subtypemax = 3, n->flipx = !spawns && flip, n->flipy = spawns && flip;
    Entities[2].kind = blank, eslot = 2;
    Seed([] { return Rand() % 256 == 1; });
    const int32_t dx = NextDraw(1) % 128 - NextDraw(2) % 128;
    (spawns ? SpawnerNestThink : MonsterNestThink)(n);
    const TEntity& c = Entities[2];
    EXPECT_EQ((V{c.kind, c.subtype, c.x, c.y, c.dx, c.dy, c.flipx, n->subtypecount}),
              spawns ? (V{redimp, blueshroom, n->x + 2048, flip ? n->y : n->y - 24 * 128 - 256, dx, flip ? -64 : 64, 0, 1})
                     : (V{whitewasp, 0, flip ? n->x - 4608 : n->x + n->w + 512, n->y, flip ? -64 : 64, 192, flip, 1}))
        << row;
    EXPECT_EQ(c.parentent, n);
  }
}

// A monster nest keeps at most subtypemax alive and a death makes room for one
// more; a kind outside the class table, or a full table, makes and counts
// nothing.
TEST_F(Nests, MonsterNestKeepsItsCount) {
  TEntity* n = Put(1, waspnest, X + 8192, Y, 32, 32);
  Put(2, whitewasp, 0, 0, 32, 16)->kind = blank;
  n->subtype = whitewasp, n->subtypemax = 3;
  for (int f = 0; f < 5000; f++) MonsterNestThink(n);
  EXPECT_EQ(Count(whitewasp), 3);
  KillEntity(&Entities[2]);
  EXPECT_EQ(n->subtypecount, 2);
  for (int f = 0; f < 5000; f++) MonsterNestThink(n);
  EXPECT_EQ((V{Count(whitewasp), n->subtypecount}), (V{3, 3}));

  n->subtypecount = 0, n->subtype = 300, eslot = 9, Entities[9] = TEntity{};
  for (int f = 0; f < 5000; f++) MonsterNestThink(n);
  EXPECT_EQ((V{n->subtypecount, Entities[9].dx, Entities[9].parentent != nullptr}), (V{0, 0, 0}));
  n->subtype = whitewasp;
  for (TEntity& e : Entities) e.kind = e.kind == blank ? rock : e.kind;
  for (int f = 0; f < 5000; f++) MonsterNestThink(n);
  EXPECT_EQ(n->subtypecount, 0);
}

// A dropper waits for its trigger, drops on frames that are 1 modulo 32,
// replaces a child that dies, removes itself on the next frame it runs once it
// has made subtypemax, and is killed (and scores) once only.
TEST_F(Nests, DropperDropsReplacesAndRemovesItselfOnce) {
  TEntity* d = Put(1, dropper, X + 8192, Y);
  d->subtype = bat, d->subtypemax = 2, d->score = 10;
  Put(2, bat, 0, 0)->kind = blank;
  for (int f = 0; f < 200; f++) framectr = f, DropperThink(d);
  EXPECT_EQ(Count(bat), 0);
  d->triggered = 1;
  V drops;
  int killedAt = -1;
  for (int f = 0; f < 300; f++) {
    int before = Count(bat);
    framectr = f, DropperThink(d);
    if (Count(bat) > before) drops.push_back(f);
    if (f == 10) KillEntity(&Entities[2]);
    if (d->estate == esDying && killedAt < 0) killedAt = f;
  }
  EXPECT_EQ(drops, (V{1, 33, 65}));
  EXPECT_EQ((V{Entities[2].x, killedAt, players[0].score}), (V{d->x + d->w + 512, 66, 10}));

  // shot after its first drop, it still drops the rest while it dies, and
  // it is not killed (nor scored) a second time
  d = Put(1, dropper, X + 8192, Y);
  d->subtype = bat, d->subtypemax = 3, d->score = 10, d->triggered = 1;
  drops.clear();
  for (int f = 0; f < 300; f++) {
    int before = Count(bat);
    framectr = f, DropperThink(d);
    if (Count(bat) > before) drops.push_back(f);
    if (f == 5) KillEntity(d);
  }
  EXPECT_EQ(drops, (V{1, 33, 65}));
  EXPECT_EQ(players[0].score, 20);

  // a kind outside the class table drops and counts nothing, so it never ends
  d = Put(1, dropper, X + 8192, Y);
  d->subtype = 300, d->subtypemax = 2, d->triggered = 1;
  for (int f = 0; f < 300; f++) framectr = f, DropperThink(d);
  EXPECT_EQ((V{d->subtypecount, d->estate}), (V{0, esAlive}));
}
