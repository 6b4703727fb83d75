#include <cstdio>

#include "test_player_fixture.h"

TEST_F(PlayerWorld, WalkingTurningAndTheJetpack) {
  V dx;
  for (int i = 0; i < 5; ++i) MoveRight(P), dx.push_back(E->dx);
  AboutFace(P), dx.push_back(E->dx);   // turn left and take one step
  E->frame = 4, E->dx = 760;   // airborne: steps of 8 to about 768, 16 with the boost key alone
  MoveRight(P), dx.push_back(E->dx), MoveRight(P), dx.push_back(E->dx);
  P->boost = 1, P->equip[6] = 0, E->dx = 0;
  MoveRight(P), dx.push_back(E->dx);
  E->dx = -760;
  MoveLeft(P), dx.push_back(E->dx);
  EXPECT_EQ(dx, V({32, 64, 96, 128, 128, 96, 768, 768, 16, -776}));
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
  const int32_t colour = 241 + NextDraw() % 7;
  AimCentre(P), aim.insert(aim.end(), {P->aimdx, P->vangle});
  EXPECT_EQ(aim, V({2, 92, -1, 91, -2, 89, 0, 180, 0, 90}));
  const TParticle& dot = Particles[pslot];   // the last one, level and ahead
  EXPECT_EQ(V({dot.ptype, dot.lifespan, dot.colour, dot.x - E->x, dot.dx, dot.dy}),
            V({ptStaticDot, 32, colour, 2048, 1023, 0}));
}

// The fire key acts every fifteenth frame. An energy weapon is sure to fire
// above its threshold, at or below it only on a draw of 1 in 20; a shot plays
// its sound and takes its cost, never below 0; with no energy nothing at all
// happens, not even a draw.
TEST_F(PlayerWorld, FireEveryFifteenthFrameByEnergyRules) {
  P->held.kind = wpPistol, P->nrg[0] = 101;
  testing::internal::CaptureStdout();
  for (int i = 0; i < 14; ++i) Fire(P);
  EXPECT_EQ(P->nrg[0], 101);
  Fire(P);   // level to the right
  EXPECT_EQ(V({P->nrg[0], Entities[1].kind, Entities[1].dx, Entities[1].x - E->x - E->w}), V({98, bullet, 799, 1024}));
  testing::internal::GetCapturedStdout();

  struct { TEntityKind kind; int slot, sure, cost, sound; } weapons[] = {
      {wpPistol, 0, 100, 3, es_pistolshot}, {wpIcer, 1, 100, 8, es_icershot},
      {wpBlaster, 2, 250, 125, es_blastershot}, {wpPlasma, 3, 200, 25, es_plasmashot}};
  for (const auto& w : weapons) {
    P->held.kind = w.kind;
    const int shots[][2] = {{w.sure + 1, 0}, {w.sure, 0}, {w.sure, 1}, {2, 1}, {0, 1}};   // energy, lucky
    V left;
    testing::internal::CaptureStdout();
    for (const auto& s : shots) {
      P->nrg[w.slot] = s[0], P->firecount = 15;
      Seed([&] { return (Rand() % 20 == 1) == bool(s[1]); });
      const uint32_t state = randstate;
      Fire(P);
      left.push_back(P->nrg[w.slot]);
      if (s[0] == 0) left.push_back(randstate == state);
    }
    EXPECT_EQ(left, V({w.sure + 1 - w.cost, w.sure, w.sure - w.cost, 0, 0, 1})) << w.kind;
    EXPECT_EQ(Count(testing::internal::GetCapturedStdout(), "sound " + std::to_string(w.sound) + " not"), 3) << w.kind;
  }

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
  struct { int key; int32_t* toggled; } latched[] = {
      {'0', &mnu_disp}, {'1', &hud_disp}, {'2', &MapEditState.editing}, {VK_TAB, &E->flipx}};
  for (int k = 0; k < 4; ++k) {   // up at frames 0 and 5, down for four frames and then two
    const int base = 10 * k;
    for (int f : {1, 2, 3, 4, 6, 7}) keys.Down(base + f, latched[k].key);
    V acted;
    for (int f = base; f < base + 9; ++f) {
      const int32_t before = *latched[k].toggled;
      Frame(f), acted.push_back(*latched[k].toggled != before);
    }
    EXPECT_EQ(acted, V({0, 1, 0, 0, 0, 0, 1, 0, 0})) << latched[k].key;
  }

  E->dx = 0;
  keys.Down(100, '0');
  Frame(100);
  keys.held = {'W', 'P', 'O', VK_RETURN, VK_F1, 'J', VK_F9, VK_F10, VK_NUMPAD2, '1', VK_ESCAPE};
  std::string out = Said([&] { Frame(101); });
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

// Keypad 2 zooms in by 4 a frame down to 128 and keypad 8 out to 256, saying
// so every frame; A tells the view's middle tile and the mask byte at the
// player's corner; W runs before Q, so with both held the player ends facing
// left, where it started.
TEST_F(PlayerWorld, ZoomWhereAmIAndBothWalkingKeys) {
  V zoom;
  testing::internal::CaptureStdout();
  for (int key : {VK_NUMPAD2, VK_NUMPAD8}) {
    keys.held = {key};
    for (int f = 0; f < 34; ++f) Frame(f), zoom.push_back(zoomfac);
  }
  const std::string said = testing::internal::GetCapturedStdout();
  EXPECT_EQ(V({zoom[30], zoom[31], zoom[33], zoom[34 + 30], zoom[34 + 31], zoom[34 + 33]}),
            V({132, 128, 128, 252, 256, 256}));
  EXPECT_EQ(V({Count(said, "zoom in\n"), Count(said, "zoom out\n")}), V({34, 34}));

  mapt[92][53] = 1, mapmasks[0][64] = 200;   // the player's corner: pixel (0, 0) of tile 1
  mapx = 10, mapy = 20, keys.held = {'A'};
  EXPECT_EQ(Said([&] { Frame(0); }), "X: 15 Y: 27\nGET: 200\n");

  E->dx = 0, keys.held = {'W', 'Q'};
  Frame(1);
  EXPECT_EQ(V({E->flipx, E->dx}), V({1, 0}));
}
