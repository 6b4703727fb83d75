#include <vector>

#include "test_player_fixture.h"

using V = std::vector<int>;

TEST_F(PlayerWorld, SelectionsNeedTheirEquipment) {
  P->equip[0] = 0;
  SelectPistol(P);
  EXPECT_EQ(P->held.kind, blank);
  P->held.kind = rock;   // a carried object is overwritten by a selection
  SelectIcer(P);
  EXPECT_EQ(P->held.kind, wpIcer);
  for (int& e : P->equip) e = 0;
  SelectRandom(P);
  SelectJetpack(P);
  EXPECT_EQ(P->held.kind, wpRandom);
  keys.Down(0, VK_F3);   // the F keys select while held
  P->equip[2] = 1;
  Frame(0);
  EXPECT_EQ(P->held.kind, wpBlaster);
}

TEST_F(PlayerWorld, CreatureFiresAtItsTargetWithTheSoundOfItsShot) {
  TEntity* firer = Place(3, rock, 100000, 200000);
  TEntity* target = Place(4, man, 100000 + 3200, 200000 + 640);
  firer->subtype = ice;
  testing::internal::CaptureStdout();
  FireAtEnt(firer, target, 32);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "sound 3 not found in cache");
  const TEntity* shot = &Entities[eslot];
  EXPECT_EQ(V({shot->kind, shot->dx, shot->dy, shot->x, shot->y, firer->flipx}),
            V({ice, 100, 20, firer->x + firer->w + 512, firer->y + firer->h / 2, 0}));
  EXPECT_EQ(shot->target, target);

  firer->subtype = plasma;   // straight above: faces left, fires from its left, silently
  target->x = firer->x, target->y = firer->y - 6400;
  testing::internal::CaptureStdout();
  FireAtEnt(firer, target, 32);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  shot = &Entities[eslot];
  EXPECT_EQ(V({firer->flipx, shot->kind, shot->x, shot->dx, shot->dy}), V({1, plasma, firer->x - 512 - 1024, 0, -200}));

  for (int i = 1; i < MAX_ENTITIES; ++i) Entities[i].kind = Entities[i].kind ? Entities[i].kind : rock;
  for (TEntity& e : Entities) e.target = nullptr;
  FireAtEnt(firer, target, 32);   // a full table: no shot, so no target is set anywhere
  for (const TEntity& e : Entities) ASSERT_EQ(e.target, nullptr);
}

TEST_F(PlayerWorld, GuidedIceSteersAtItsTarget) {
  TEntity* shot = Place(9, guidedice, 50000, 50000);
  GuidedIceThink(shot);   // no target: nothing
  shot->target = Place(10, man, 40000, 60000);   // lower left
  GuidedIceThink(shot);
  V v = {shot->dx, shot->dy};
  shot->dx = -500, shot->dy = 512;
  GuidedIceThink(shot);   // may pass 512 by up to 31, then holds
  v.insert(v.end(), {shot->dx, shot->dy});
  GuidedIceThink(shot);
  v.push_back(shot->dx);
  EXPECT_EQ(v, V({-32, 32, -532, 512, -532}));
}
