#include "test_creatures_fixture.h"

using Nests = BehaviourWorld;

// A nest in sight puts its child 512 units beyond the edge it faces, moving
// away; it keeps at most subtypemax alive and a death makes room for one more.
// With the entity table full it makes and counts nothing.
TEST_F(Nests, MonsterNestFacingAndChildCount) {
  TEntity* n = Put(1, waspnest, X + 8192, Y, 32, 32);
  for (int fx : {0, 1}) {
    n->subtype = whitewasp, n->subtypemax = 3, n->subtypecount = 0, n->flipx = fx;
    Put(2, whitewasp, 0, 0, 32, 16)->kind = blank;
    Seed([] { return Rand() % 256 == 1; });
    MonsterNestThink(n);
    const TEntity& c = Entities[2];
    EXPECT_EQ((V{c.kind, c.x, c.y, c.dx, c.flipx, n->subtypecount}),
              (V{whitewasp, fx ? n->x - 4608 : n->x + n->w + 512, n->y, fx ? -64 : 64, fx, 1}));
    EXPECT_EQ(c.parentent, n);
  }
  for (int f = 0; f < 5000; f++) MonsterNestThink(n);
  EXPECT_EQ(Count(whitewasp), 3);
  KillEntity(&Entities[2]);
  EXPECT_EQ(n->subtypecount, 2);
  for (int f = 0; f < 5000; f++) MonsterNestThink(n);
  EXPECT_EQ((V{Count(whitewasp), n->subtypecount}), (V{3, 3}));

  // a kind outside the class table, or a full table, makes and counts nothing
  n->subtypecount = 0, n->subtype = 300, eslot = 9, Entities[9] = TEntity{};
  for (int f = 0; f < 5000; f++) MonsterNestThink(n);
  EXPECT_EQ((V{n->subtypecount, Entities[9].dx, Entities[9].parentent != nullptr}), (V{0, 0, 0}));
  n->subtype = whitewasp;
  for (TEntity& e : Entities) e.kind = e.kind == blank ? rock : e.kind;
  for (int f = 0; f < 5000; f++) MonsterNestThink(n);
  EXPECT_EQ(n->subtypecount, 0);
}

// A standing spawner puts its child just above itself moving down, a hanging
// one at itself moving up; either way the child gets a random dx of
// r % 128 - r % 128, the spawner as its parent, and one more in the count.
TEST_F(Nests, SpawnerPlacesItsChildAboveOrAtItself) {
  TEntity* n = Put(1, spawner, X + 8192, Y, 32, 16);
  for (int hanging : {0, 1}) {
    n->subtype = redimp, n->subtypemax = 2, n->subtypecount = 0, n->flipy = hanging;
    Put(2, redimp, 0, 0, 16, 24)->kind = blank;
    Seed([] { return Rand() % 256 == 1; });
    const int32_t dx = NextDraw(1) % 128 - NextDraw(2) % 128;
    SpawnerNestThink(n);
    const TEntity& c = Entities[2];
    EXPECT_EQ((V{c.kind, c.subtype, c.x, c.y, c.dy, c.dx, n->subtypecount}),
              (V{redimp, blueshroom, n->x + 2048, hanging ? n->y : n->y - 24 * 128 - 256,
                 hanging ? -64 : 64, dx, 1}));
    EXPECT_EQ(c.parentent, n);
  }
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
