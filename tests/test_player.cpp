#include <vector>

#include "test_player_fixture.h"

TEST_F(Fresh, StartUpSpawnsVeskInSlotZeroOwningEverything) {
  mnu_disp = hud_disp = -1;
  testing::internal::CaptureStdout();
  InitialisePlayers();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Spawned player(0) Vesk at (753664,434176)\n");
  const TPlayerState& p = players[0];
  EXPECT_STREQ(p.name, "Vesk");
  EXPECT_EQ(std::vector<int>({p.active, p.ent, Entities[0].kind, Entities[0].x, Entities[0].y}),
            std::vector<int>({1, 0, man, 753664, 434176}));
  EXPECT_EQ(std::vector<int>(p.nrg, p.nrg + 7), std::vector<int>({0, 0, 0, 0, 0, 0, 512}));
  EXPECT_EQ(std::vector<int>(p.equip, p.equip + 10), std::vector<int>(10, 1));
  EXPECT_EQ(std::vector<int>(p.tx, p.tx + 4), std::vector<int>(4, 753664));
  EXPECT_EQ(std::vector<int>(p.ty, p.ty + 4), std::vector<int>(4, 434176));
  EXPECT_EQ(std::vector<int>({p.held.kind, p.vangle, p.aimdx, p.firecount, pslot, mnu_disp, hud_disp}),
            std::vector<int>({blank, 90, 1, 1, 1, 0, 0}));
  for (int i = 1; i < MAX_PLAYERS; ++i) EXPECT_STREQ(players[i].name, "a quarn");
}

// A sixteenth player is ignored; a name too long for its field is cut to 15
// characters rather than written over the fields after it.
TEST_F(Fresh, SpawnPlayerKeepsWithinItsTables) {
  testing::internal::CaptureStdout();
  for (int i = 0; i <= MAX_PLAYERS; ++i) SpawnPlayer(man, 0, 0, "a name far too long for it");
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(pslot, MAX_PLAYERS);
  EXPECT_STREQ(players[3].name, "a name far too ");
  EXPECT_EQ(PlayerWorld::Count(out, "Spawned player("), MAX_PLAYERS);
}

TEST_F(PlayerWorld, PreThinkTiltsInFlightAndWalksOnTheGround) {
  Fountains[0].colour = 79;
  P->jetactive = E->frame = 2;
  PlayersPreThink();   // at rest: standing frame, exhaust off
  EXPECT_EQ(std::vector<int>({E->frame, Fountains[0].colour, P->jetactive}), std::vector<int>({0, 0, 0}));

  // in the air the tilt follows |dy / dx|, mirrored when facing left
  struct { int32_t dx, dy, flipx, rangle; } air[] = {
      {100, 0, 0, -90}, {100, 0, 1, 450}, {100, 99, 0, -90}, {100, 300, 0, -18}, {-50, -500, 1, 365}};
  for (const auto& a : air) {
    E->dx = a.dx, E->dy = a.dy, E->flipx = a.flipx;
    PlayerPreThink(P);
    EXPECT_EQ(E->rangle, a.rangle) << a.dx << "," << a.dy;
    EXPECT_EQ(E->frame, 4);
  }

  // landed on rock: upright at once, then the walking cycle steps every eighth frame
  mapt[92][54] = 1;
  for (int i = 0; i < 64 * 64; ++i) mapmasks[0][(i / 64) * 1024 + 64 + i % 64] = 255;
  E->y = 54 * 8192 - E->h;
  E->flipy = 1;
  std::vector<int> frames;
  for (framectr = 1; framectr < 40; framectr += 4) {   // modulo 8 it is 1 every other time
    PlayerPreThink(P);
    frames.push_back(E->frame);
  }
  EXPECT_EQ(frames, std::vector<int>({1, 1, 2, 2, 0, 0, 1, 1, 2, 2}));
  EXPECT_EQ(E->rangle | E->flipy, 0);
}

TEST_F(PlayerWorld, SpriteIsUpsideDownOnlyInFramesWithThrust) {
  E->dy = 400;
  keys.Down(1, 'L');   // diving fast on the jetpack
  Frame(1);
  EXPECT_EQ(std::vector<int>({E->flipy, Fountains[0].colour}), std::vector<int>({1, 79}));
  Frame(2);
  EXPECT_EQ(std::vector<int>({E->flipy, Fountains[0].colour, P->jetactive}), std::vector<int>({0, 0, 0}));
}
