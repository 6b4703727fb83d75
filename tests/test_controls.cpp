#include <cstdio>

#include "test_player_fixture.h"

TEST_F(PlayerWorld, WalkingTurningAndTheJetpack) {
  V dx;
  for (int i = 0; i < 5; ++i) MoveRight(P), dx.push_back(E->dx);
  AboutFace(P), dx.push_back(E->dx);   // turn left and take one step
  E->frame = 4, E->dx = 760;           // airborne: steps of 8 (16 with boost) to about 768
  MoveRight(P), dx.push_back(E->dx), MoveRight(P), dx.push_back(E->dx);
  P->boost = 1, E->dx = -760;
  MoveLeft(P), dx.push_back(E->dx);
  EXPECT_EQ(dx, V({32, 64, 96, 128, 128, 96, 768, 768, -776}));
  // the exhaust burns at the back of the pack; the energy is needed, never spent
  EXPECT_EQ(V({P->jetactive, P->nrg[6], Fountains[0].colour, Fountains[0].x, Fountains[0].y}),
            V({1, 512, 79, E->x + E->w - 512, E->y}));

  V dy;
  P->equip[6] = 0;   // boost without the booster: still 8
  JetpackUp(P), dy.push_back(E->dy);
  P->equip[6] = 1, E->flipy = 1, E->dy = -1020;
  JetpackUp(P), dy.insert(dy.end(), {E->dy, E->flipy}), JetpackUp(P), dy.push_back(E->dy);
  E->dy = 256;
  JetpackDown(P), dy.insert(dy.end(), {E->dy, E->flipy}), JetpackDown(P), dy.push_back(E->flipy);
  P->nrg[6] = 0;   // no energy: no dive, a plain jump (lower with boost), walking steps in the air
  JetpackDown(P), dy.push_back(E->dy), JetpackUp(P), dy.push_back(E->dy);
  P->boost = 0;
  JetpackUp(P), dy.push_back(E->dy);
  EXPECT_EQ(dy, V({-8, -1036, 0, -1036, 272, 0, 1, 288, -128, -256}));
  E->dx = 0;
  MoveRight(P);
  EXPECT_EQ(E->dx, 32);
}

TEST_F(PlayerWorld, AimAcceleratesStopsAtItsEndsAndShowsADot) {
  V aim;
  for (void (*op)(TPlayerState*) : {AimUp, AimDown, AimDown}) op(P), aim.insert(aim.end(), {P->aimdx, P->vangle});
  P->vangle = 1;
  AimDown(P), aim.push_back(P->vangle);
  P->aimdx = 2, P->vangle = 179;
  AimUp(P), aim.push_back(P->vangle);
  AimCentre(P), aim.insert(aim.end(), {P->aimdx, P->vangle});
  EXPECT_EQ(aim, V({2, 92, -1, 91, -2, 89, 0, 180, 0, 90}));
  const TParticle& dot = Particles[pslot];   // the last one, level and ahead
  EXPECT_EQ(V({dot.ptype, dot.lifespan, dot.colour >= 241 && dot.colour <= 247, dot.x - E->x, dot.dx, dot.dy}),
            V({ptStaticDot, 32, 1, 2048, 1023, 0}));
}

TEST_F(PlayerWorld, FireEveryFifteenthFrameByEnergyRules) {
  P->held.kind = wpPistol, P->nrg[0] = 101;
  testing::internal::CaptureStdout();
  for (int i = 0; i < 14; ++i) Fire(P);
  EXPECT_EQ(P->nrg[0], 101);
  Fire(P);   // above the threshold: sure to fire, level to the right
  EXPECT_EQ(V({P->nrg[0], Entities[1].kind, Entities[1].dx, Entities[1].x - E->x - E->w}), V({98, bullet, 799, 1024}));
  int fired = 0;   // at or below it, one shot in twenty, decided by the next draw
  for (int shot = 0; shot < 60; ++shot) {
    for (int i = 0; i < 14; ++i) Fire(P);
    uint32_t s = randstate;
    int lucky = Rand() % 20 == 1, before = P->nrg[0];
    randstate = s;
    Fire(P);
    EXPECT_EQ(P->nrg[0], before - 3 * lucky);
    fired += lucky;
  }
  P->nrg[0] = 2;   // the cost floors the energy at 0; then nothing at all, not even a draw
  for (int i = 0; i < 15 * 400 && P->nrg[0] == 2; ++i) Fire(P);
  uint32_t state = randstate;
  for (int i = 0; i < 30; ++i) Fire(P);
  EXPECT_EQ(V({P->nrg[0], randstate == state, fired > 0}), V({0, 1, 1}));
  EXPECT_EQ(Count(testing::internal::GetCapturedStdout(), "sound 2 not found"), fired + 2);

  P->held.kind = wpRandom, E->flipx = 1, P->vangle = 0;   // facing left, straight down is 0, not 360
  testing::internal::CaptureStdout();
  for (int i = 0; i < 15; ++i) Fire(P);
  const TEntity& g = Entities[eslot];   // an armed grenade, free and silent
  EXPECT_EQ(V({g.kind, g.dx, g.dy, g.rangle, g.x}), V({grenadeact, 0, 800, 0, E->x - 2048}));
  P->held.kind = wpBlaster, P->nrg[2] = 300;   // a blast around the player, no projectile
  int32_t slot = eslot;
  for (int i = 0; i < 15; ++i) Fire(P);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "sound 4 not found in cache");
  EXPECT_EQ(V({P->nrg[2], eslot}), V({175, slot}));
}

// A latched key acts once per press, and only once it has been seen up; the
// menu stops the player but not zoom, window, HUD, boost and quit keys.
TEST_F(PlayerWorld, KeyLatchesAndTheMenu) {
  for (int f : {0, 1, 3, 4, 6}) keys.Down(f, VK_TAB);
  V facing;
  for (int f = 0; f < 8; ++f) Frame(f), facing.push_back(E->flipx);
  EXPECT_EQ(facing, V({0, 0, 0, 1, 1, 1, 0, 0}));

  E->dx = 0;
  keys.Down(9, '0');
  Frame(9);
  keys.held = {'W', 'P', 'O', VK_RETURN, VK_F1, 'J', VK_F9, VK_F10, VK_NUMPAD2, '1', VK_ESCAPE};
  testing::internal::CaptureStdout();
  Frame(10);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(V({E->dx, E->dy, P->vangle, P->held.kind, zoomfac, P->boost, hud_disp, mnu_disp}),
            V({0, 0, 90, blank, 252, 1, -1, -1}));
  EXPECT_EQ(V({Count(out, "zoom in\n"), Count(out, "sound freed\n"), Count(out, "masks freed\n")}), V({1, 1, 1}));
  EXPECT_EQ(win.requests, std::vector<std::string>({"FullScreen", "Reshape 640 480", "Position 32 32", "Quit"}));
}

// A man heavy enough for the jetpack to beat gravity, held against a wall by
// a walking key, can still fly up it: his step stops at the wall's face, so
// the probe over his leading top corner stays open. From a standing walk and
// from full sideways flight, towards a wall on either side, at odd
// sub-pixel positions.
TEST_F(PlayerWorld, PressedAgainstAWallTheJetpackStillLiftsHim) {
  SpawnEntityClass(man, 20, 32, 0, 48, -1, -1, 0, 0, 1, 0, 0, 0, 0, 0);
  E->w = 20 * 128, E->h = 32 * 128;
  const int rock = 1;   // tile 1 all rock: walls at columns 90 and 95, a floor in row 54
  for (int i = 0; i < 64 * 64; ++i) mapmasks[0][(i / 64) * 1024 + 64 + i % 64] = 255;
  for (int ty = 40; ty <= 60; ++ty) mapt[90][ty] = mapt[95][ty] = rock;
  for (int tx = 90; tx <= 95; ++tx) mapt[tx][54] = rock;
  const int32_t floorY = 54 * 8192 - 32 * 128 - 60;
  struct { int key; int32_t x, y, dx; const char* what; } cases[] = {
      {'W', 93 * 8192 + 77, floorY, 0, "walking right"},
      {'Q', 92 * 8192 + 33, floorY, 0, "walking left"},
      {'W', 93 * 8192 + 5, 50 * 8192 + 99, 700, "flying right"},
      {'Q', 92 * 8192 + 101, 50 * 8192 + 99, -700, "flying left"},
  };
  int f = 0;
  for (const auto& c : cases) {
    E->x = c.x, E->y = c.y, E->dx = c.dx, E->dy = 0, E->frame = c.dx ? 4 : 0;
    keys.held = {c.key};
    bool inRock = false;
    for (int i = 0; i < 200; ++i, ++f)   // the leading top corner, where the side probes look
      Frame(f), MoveEntity(E), inRock = inRock || GetXY(c.key == 'W' ? E->x + E->w : E->x - 1, E->y) == 255;
    EXPECT_FALSE(inRock) << c.what;
    int32_t y0 = E->y;
    keys.held = {c.key, 'P'};
    for (int i = 0; i < 120; ++i, ++f) Frame(f), MoveEntity(E);
    EXPECT_LT(E->y, y0 - 16 * 128) << c.what << ": he did not rise along the wall";
  }
}
