#include "test_creatures_fixture.h"

using Objects = BehaviourWorld;

// An urn fills in water; a full urn moving faster than 256 on either axis out
// of the water empties as a spray of 127 particles.
TEST_F(Objects, UrnFillsAndSpills) {
  EntityClass[urnfull].sprite = 6;
  TEntity* u = Put(1, urn, X + 8192, Y);
  u->inwater = 1, UrnThink(u);
  EXPECT_EQ((V{u->kind, u->sprite}), (V{urnfull, 6}));
  u->inwater = 0, u->dx = 256, u->dy = -256, UrnThink(u);
  EXPECT_EQ(u->kind, urnfull);
  u->dy = -257, UrnThink(u), UrnThink(u);
  EXPECT_EQ((V{u->kind, u->sprite, LiveParticles()}), (V{urn, 0, 127}));
}

// An armed grenade spins while alive; once hurt it blasts its neighbours and
// explodes again in every frame.
TEST_F(Objects, ArmedGrenadeBlastsInEveryFrameItIsNotAlive) {
  TEntity *g = Put(1, grenadeact, X + 30000, Y, 8, 8), *v = Put(2, rock, X + 34096, Y);
  v->hp = 1000, framectr = 1, GrenadeActThink(g);
  EXPECT_EQ((V{g->frame, v->hp, LiveParticles()}), (V{1, 1000, 0}));
  g->estate = esHurtFlash, GrenadeActThink(g);
  EXPECT_EQ((V{v->hp, v->dx, LiveParticles()}), (V{872, 1024, 31}));   // 1024 >> 3, pushed away
  GrenadeActThink(g);
  EXPECT_EQ((V{v->hp, g->frame}), (V{744, 1}));
}
