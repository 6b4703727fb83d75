#include "test_player_fixture.h"

TEST_F(Fresh, StartUpSpawnsVeskInSlotZeroOwningEverything) {
  mnu_disp = hud_disp = -1;
  EXPECT_EQ(Said([&] { InitialisePlayers(); }), "Spawned player(0) Vesk at (753664,434176)\n");
  const TPlayerState& p = players[0];
  EXPECT_EQ(V({p.active, p.ent, Entities[0].kind, Entities[0].x, Entities[0].y, p.held.kind, p.vangle,
               p.aimdx, p.firecount, p.tx[3], p.ty[3], mnu_disp, hud_disp}),
            V({1, 0, man, 753664, 434176, blank, 90, 1, 1, 753664, 434176, 0, 0}));
  EXPECT_EQ(V(p.nrg, p.nrg + 7), V({0, 0, 0, 0, 0, 0, 512}));
  EXPECT_EQ(V(p.equip, p.equip + 10), V(10, 1));
  EXPECT_STREQ(players[14].name, "a quarn");
  // a name too long for its field is cut to 15 characters; a sixteenth player is ignored
  EXPECT_EQ(PlayerWorld::Count(Said([&] { for (int i = 1; i <= MAX_PLAYERS; ++i) SpawnPlayer(man, 0, 0, "a name far too long"); }), "Spawned"), MAX_PLAYERS - 1);
  EXPECT_STREQ(players[3].name, "a name far too ");
  EXPECT_EQ(players[3].frags, 0);
}

TEST_F(PlayerWorld, PreThinkTiltsInFlightWalksOnTheGroundAndUprightsWithoutThrust) {
  // |dy / dx| in the air, mirrored facing left; at rest standing, the tilt kept
  struct { int32_t dx, dy, flipx, rangle; } air[] = {{100, 0, 0, -90}, {100, 0, 1, 450}, {0, 0, 0, 450},
                                                    {100, 99, 0, -90}, {100, 300, 0, -18}, {-50, -500, 1, 365}};
  for (const auto& a : air) {
    E->dx = a.dx, E->dy = a.dy, E->flipx = a.flipx;
    PlayerPreThink(P);
    EXPECT_EQ(V({E->rangle, E->frame}), V({a.rangle, a.dx ? 4 : 0})) << a.dx << "," << a.dy;
  }
  mapt[92][54] = 1;   // landed on rock: upright at once, then a step every eighth frame
  for (int i = 0; i < 64 * 64; ++i) mapmasks[0][(i / 64) * 1024 + 64 + i % 64] = 255;
  E->y = 54 * 8192 - E->h, E->flipy = 1;
  V frames;
  for (framectr = 1; framectr < 40; framectr += 4) PlayerPreThink(P), frames.push_back(E->frame);
  EXPECT_EQ(frames, V({1, 1, 2, 2, 0, 0, 1, 1, 2, 2}));
  EXPECT_EQ(E->rangle | E->flipy, 0);

  E->dy = 400;   // diving on the jetpack: upside down and exhaust on for that frame only
  keys.Down(1, 'L');
  Frame(1);
  EXPECT_EQ(V({E->flipy, Fountains[0].colour}), V({1, 79}));
  Frame(2);
  EXPECT_EQ(V({E->flipy, Fountains[0].colour, P->jetactive}), V({0, 0, 0}));
}
