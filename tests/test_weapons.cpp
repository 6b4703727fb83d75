#include "test_player_fixture.h"

TEST_F(PlayerWorld, SelectionsNeedTheirEquipmentAndReplaceTheHand) {
  P->equip[0] = 0;
  SelectPistol(P);
  V held = {P->held.kind};
  P->held.kind = rock;
  SelectIcer(P), held.push_back(P->held.kind);
  for (int& e : P->equip) e = 0;
  SelectRandom(P), SelectJetpack(P), held.push_back(P->held.kind);
  keys.Down(0, VK_F3), P->equip[2] = 1;   // while the F key is held
  Frame(0), held.push_back(P->held.kind);
  EXPECT_EQ(held, V({blank, wpIcer, wpRandom, wpBlaster}));
}

TEST_F(PlayerWorld, CreaturesFireAtTargetsAndGuidedIceHomes) {
  TEntity* firer = Place(3, rock, 100000, 200000);
  TEntity* target = Place(4, man, 103200, 200640);
  firer->subtype = ice;
  EXPECT_EQ(Said([&] { FireAtEnt(firer, target, 32); }), "sound 3 not found in cache");
  TEntity* shot = &Entities[eslot];
  EXPECT_EQ(V({shot->kind, shot->dx, shot->dy, shot->x - firer->x - firer->w, shot->y - firer->y, firer->flipx}),
            V({ice, 100, 20, 512, 512, 0}));
  EXPECT_EQ(shot->target, target);
  firer->subtype = plasma, target->x = firer->x;   // straight above: faces left, fires silently
  EXPECT_EQ(Said([&] { FireAtEnt(firer, target, 32); }), "");
  shot = &Entities[eslot];
  EXPECT_EQ(V({firer->flipx, shot->kind, firer->x - shot->x, shot->dx}), V({1, plasma, 512 + 1024, 0}));

  shot->dx = shot->dy = 0;   // guided ice at rest, target to the lower left
  target->x -= 9000;
  GuidedIceThink(shot);
  V v = {shot->dx, shot->dy};
  shot->dx = -500, shot->dy = 512;
  GuidedIceThink(shot), v.insert(v.end(), {shot->dx, shot->dy}), GuidedIceThink(shot), v.push_back(shot->dx);
  EXPECT_EQ(v, V({-32, 32, -532, 512, -532}));   // past 512 by up to 31, then holds

  for (TEntity& e : Entities) e.target = nullptr, e.kind = e.kind ? e.kind : rock;
  FireAtEnt(firer, target, 32);   // a full table: no shot, so no target anywhere
  for (const TEntity& e : Entities) ASSERT_EQ(e.target, nullptr);
}

// A creature's projectile kind comes from the placement file: a kind outside
// the class table fires nothing, aims nothing and reads nothing past the table.
TEST_F(PlayerWorld, AFiringKindOutsideTheClassTableFiresNothing) {
  TEntity* firer = Place(3, rock, 100000, 200000);
  TEntity* target = Place(4, man, 103200, 200640);
  for (int32_t kind : {-1, 256, 1 << 30}) {
    firer->subtype = kind;
    eslot = 5;
    FireAtEnt(firer, target, 32);
    for (int i = 5; i < 16; ++i) EXPECT_EQ(V({Entities[i].kind, Entities[i].target != nullptr}), V({blank, 0})) << kind;
  }
}
