#include "test_player_fixture.h"

namespace {
struct Pockets : PlayerWorld {
  // an item lying where the player's next move overlaps it
  TEntity* Item(int slot, TEntityKind k, int32_t score = 0) { return Place(slot, k, E->x + E->w, E->y, score); }
};
}  // namespace

// Keys sort above the weapon selections, yet a carried key is an object like
// any other: walking over something else must not throw it away. The kinds
// between the selections and the keys do not fill the hand.
TEST_F(Pockets, PickingUpEquipmentOrAnObjectIntoAFreeHand) {
  // each weapon and the suit equips, adds its energy and the item's score with
  // the fanfare, and leaves the world; the hand stays empty
  struct { TEntityKind kind; int slot, energy; } gear[] = {
      {pistol, 0, 512}, {icer, 1, 512}, {blaster, 2, 256}, {plasmagun, 3, 512}, {protsuit, 4, 256}};
  for (const auto& g : gear) {
    P->equip[g.slot] = 0;
    Item(5, g.kind, 25);
    EXPECT_EQ(Count(Said([&] { CheckPickupObject(P); }), "sound 1 not found"), 1);
    EXPECT_EQ(V({P->equip[g.slot], P->nrg[g.slot], Entities[5].kind, P->held.kind}), V({1, g.energy, blank, blank}));
  }
  EXPECT_EQ(P->score, 5 * 25);
  P->held.kind = wpIcer;   // an object replaces a weapon selection
  Item(6, key1)->dx = 300;
  CheckPickupObject(P);
  EXPECT_EQ(V({P->held.kind, P->held.uid, P->held.dx, Entities[6].kind}), V({key1, 6, 0, blank}));
  // an object or a key fills the hand; a selection or a kind above them does not
  for (TEntityKind held : {key1, key6, grenade, wpRandom, spawner, dropper, guidedice}) {
    P->held.kind = held;
    Item(7, rock);
    CheckPickupObject(P);
    bool full = held <= grenade || held >= key1;
    EXPECT_EQ(V({P->held.kind, Entities[7].kind}), V({full ? held : rock, full ? rock : blank})) << held;
  }
}

TEST_F(Pockets, DropArmsAGrenadeThrowSendsItAlongTheAim) {
  P->held.kind = grenade, E->flipx = 1;
  DropObject(P);   // one pixel clear on the side it faces, centred on its height
  TEntity* n = &Entities[eslot];
  EXPECT_EQ(V({n->kind, n->subtype, n->flipx, n->x, n->y, n->dy, P->held.kind}),
            V({grenadeact, -1, 1, E->x - 1024 - 128, E->y + E->h / 2 - 512, 0, blank}));
  P->held = *n, P->held.kind = grenade, E->flipx = 0;   // at rest it leaves on the left
  ThrowObject(P);
  n = &Entities[eslot];
  EXPECT_EQ(V({n->kind, n->x, n->y, n->dx, n->dy}), V({grenade, E->x - n->w - 128, E->y, 1008, 0}));
  P->held.kind = wpIcer, E->dx = 50;   // a selection goes out as an entity of its kind
  ThrowObject(P);
  ThrowObject(P);   // an empty hand throws nothing
  n = &Entities[eslot];
  EXPECT_EQ(V({n->kind, n->x, P->held.kind}), V({wpIcer, E->x + E->w + 128, blank}));
  P->held = TEntity{}, P->held.kind = wpIcer, P->held.uid = 77, P->held.score = 9;   // dropped as it is
  DropObject(P);
  n = &Entities[eslot];
  EXPECT_EQ(V({n->kind, n->uid, n->score, P->held.kind}), V({wpIcer, 77, 9, blank}));

  for (int i = 1; i < MAX_ENTITIES; ++i) Entities[i].kind = rock;   // a full table loses the object
  eslot = 7, Entities[7].x = 7000, P->held.kind = grenade;
  DropObject(P);
  P->held.kind = rock;
  ThrowObject(P);
  EXPECT_EQ(V({P->held.kind, Entities[7].x, Entities[0].x}), V({blank, 7000, 753664}));
}

TEST_F(Pockets, TeleportStack) {
  V at;   // four jumps back to the spawn point, then the fallback
  for (int i = 0; i < 5; ++i) E->dx = 99, Teleport(P), at.insert(at.end(), {E->x, E->y, E->dx});
  EXPECT_EQ(at, V({753664, 434176, 0, 753664, 434176, 0, 753664, 434176, 0, 753664, 434176, 0, 1040384, 8192, 0}));
  E->x = 100, E->y = 200;   // remember A by key, then B: back to B, then A, then the fallback
  keys.Down(1, 'R'), keys.Down(2, 'R');
  Frame(0), Frame(1), Frame(2);
  E->x = 300, E->y = 400;
  Remember(P);
  at.clear();
  for (int i = 0; i < 3; ++i) Teleport(P), at.insert(at.end(), {E->x, E->y});
  EXPECT_EQ(at, V({300, 400, 100, 200, 1040384, 8192}));
}
