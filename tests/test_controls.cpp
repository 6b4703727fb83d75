#include <cstdio>
#include <vector>

#include "test_player_fixture.h"

using V = std::vector<int>;

TEST_F(PlayerWorld, WalkingFlyingSidewaysAndTurning) {
  V walked;
  for (int i = 0; i < 5; ++i) MoveRight(P), walked.push_back(E->dx);
  EXPECT_EQ(walked, V({32, 64, 96, 128, 128}));
  AboutFace(P);   // turn left and take one step
  EXPECT_EQ(V({E->flipx, E->dx, P->jetactive}), V({1, 96, 0}));

  // airborne with jetpack energy: steps of 8, or 16 with boost, to about 768
  E->frame = 4;
  E->dx = 760;
  MoveRight(P), walked = {E->dx}, MoveRight(P), walked.push_back(E->dx);
  P->boost = 1, E->dx = -760;
  MoveLeft(P), walked.push_back(E->dx);
  EXPECT_EQ(walked, V({768, 768, -776}));
  // the exhaust sits at the back of the pack: facing left it moves by w - 512
  EXPECT_EQ(V({P->jetactive, P->nrg[6], Fountains[0].colour, Fountains[0].x, Fountains[0].y}),
            V({1, 512, 79, E->x + E->w - 512, E->y}));
  P->nrg[6] = 0, E->dx = 0;   // no energy in the air: a walking step
  MoveLeft(P);
  EXPECT_EQ(E->dx, -32);
}

TEST_F(PlayerWorld, JetpackThrustAndJump) {
  V dy;
  JetpackUp(P), dy.push_back(E->dy);
  P->boost = 1, P->equip[6] = 0;   // boost without the booster: still 8
  JetpackUp(P), dy.push_back(E->dy);
  P->equip[6] = 1, E->flipy = 1, E->dy = -1020;
  JetpackUp(P), dy.push_back(E->dy), dy.push_back(E->flipy);
  JetpackUp(P), dy.push_back(E->dy);
  E->dy = 256;
  JetpackDown(P), dy.push_back(E->dy), dy.push_back(E->flipy);
  JetpackDown(P), dy.push_back(E->dy), dy.push_back(E->flipy);
  P->nrg[6] = 0;
  JetpackDown(P), dy.push_back(E->dy);
  JetpackUp(P), dy.push_back(E->dy);   // a plain jump, lower with boost
  P->boost = 0;
  JetpackUp(P), dy.push_back(E->dy);
  EXPECT_EQ(dy, V({-8, -16, -1036, 0, -1036, 272, 0, 288, 1, 288, -128, -256}));
  EXPECT_EQ(Fountains[0].x, E->x);   // facing right: at the left edge
}

TEST_F(PlayerWorld, AimAcceleratesStopsAtItsEndsAndShowsADot) {
  V aim;
  AimUp(P), aim.insert(aim.end(), {P->aimdx, P->vangle});
  AimDown(P), aim.insert(aim.end(), {P->aimdx, P->vangle});
  AimDown(P), aim.insert(aim.end(), {P->aimdx, P->vangle});
  P->vangle = 1;
  AimDown(P), aim.push_back(P->vangle);
  P->aimdx = 2, P->vangle = 179;
  AimUp(P), aim.push_back(P->vangle);
  AimCentre(P), aim.insert(aim.end(), {P->aimdx, P->vangle});
  EXPECT_EQ(aim, V({2, 92, -1, 91, -2, 89, 0, 180, 0, 90}));

  int dots = 0;
  for (const TParticle& d : Particles) {
    if (d.colour == 0) continue;
    ++dots;
    EXPECT_EQ(V({d.ptype, d.lifespan, d.colour >= 241 && d.colour <= 247}), V({ptStaticDot, 32, 1}));
  }
  EXPECT_EQ(dots, 6);
  const TParticle& level = Particles[pslot];   // the last, level dot: ahead of a player facing right
  EXPECT_EQ(V({level.x, level.y, level.dx, level.dy}), V({E->x + 2048, E->y + 1024, 1023, 0}));
}

TEST_F(PlayerWorld, ReticleFollowsAimAndFacing) {
  int32_t dx, dy, ix, iy;
  CalcReticleDxDyFromPlayer(P, &dx, &dy, &ix, &iy);
  EXPECT_EQ(V({dx, dy, ix, iy}), V({1008, 0, E->x + E->w + 1024, E->y + 1024}));
  E->flipx = 1, P->vangle = 45;
  CalcReticleDxDyFromPlayer(P, &dx, &dy, &ix, &iy);
  EXPECT_EQ(V({dx, dy, ix}), V({-720, 720, E->x - 2048}));
}

TEST_F(PlayerWorld, FireEveryFifteenthFrameByEnergyRules) {
  P->held.kind = wpPistol;
  P->nrg[0] = 101;
  testing::internal::CaptureStdout();
  for (int i = 0; i < 14; ++i) Fire(P);
  EXPECT_EQ(P->nrg[0], 101);
  Fire(P);   // above the threshold: sure to fire, level to the right
  EXPECT_EQ(V({P->nrg[0], Entities[1].kind, Entities[1].dx, Entities[1].dy}), V({98, bullet, 799, 0}));

  int fired = 0;   // at or below it, one shot in twenty, decided by the next draw
  for (int shot = 0; shot < 60; ++shot) {
    for (int i = 0; i < 14; ++i) Fire(P);
    int32_t before = P->nrg[0];
    uint32_t s = randstate;
    bool lucky = Rand() % 20 == 1;
    randstate = s;
    Fire(P);
    EXPECT_EQ(P->nrg[0], lucky ? before - 3 : before);
    fired += lucky;
  }
  EXPECT_GT(fired, 0);
  P->nrg[0] = 2;   // the cost floors the energy at 0
  for (int i = 0; i < 15 * 400 && P->nrg[0] == 2; ++i) Fire(P);
  EXPECT_EQ(P->nrg[0], 0);
  uint32_t state = randstate;
  for (int i = 0; i < 30; ++i) Fire(P);   // nothing at all, not even a draw
  EXPECT_EQ(randstate, state);
  EXPECT_EQ(Count(testing::internal::GetCapturedStdout(), "sound 2 not found"), fired + 2);

  // armed grenades, free and silent; facing left straight down is 0 degrees, not 360
  P->held.kind = wpRandom, E->flipx = 1, P->vangle = 0;
  testing::internal::CaptureStdout();
  for (int i = 0; i < 15; ++i) Fire(P);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  const TEntity& g = Entities[eslot];
  EXPECT_EQ(V({g.kind, g.dx, g.dy, g.x}), V({grenadeact, 0, 800, E->x - 2048}));

  P->held.kind = wpBlaster, P->nrg[2] = 300;   // a blast around the player, no projectile
  int32_t slot = eslot;
  testing::internal::CaptureStdout();
  for (int i = 0; i < 15; ++i) Fire(P);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "sound 4 not found in cache");
  EXPECT_EQ(V({P->nrg[2], eslot}), V({175, slot}));
}

// A latched key acts once per press, and only after it has been seen up.
TEST_F(PlayerWorld, LatchedKeyActsOncePerPress) {
  for (int f : {0, 1, 2, 3, 5, 6, 7, 8, 10}) keys.Down(f, VK_TAB);
  V facing;
  for (int f = 0; f < 12; ++f) Frame(f), facing.push_back(E->flipx);
  EXPECT_EQ(facing, V({0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 0, 0}));
}

TEST_F(PlayerWorld, MenuStopsTheControlsButNotTheApplicationKeys) {
  keys.Down(1, '0');
  Frame(0), Frame(1);
  ASSERT_EQ(mnu_disp, -1);
  keys.held = {'W', 'P', 'O', VK_RETURN, VK_F1, 'J', VK_F9, VK_F10, VK_NUMPAD2, '1'};
  P->firecount = 15;
  testing::internal::CaptureStdout();
  Frame(2);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "zoom in\n");
  EXPECT_EQ(V({E->dx, E->dy, P->vangle, P->held.kind, P->firecount}), V({0, 0, 90, blank, 15}));
  EXPECT_EQ(V({zoomfac, P->boost, hud_disp}), V({252, 1, -1}));
  EXPECT_EQ(win.requests, std::vector<std::string>({"FullScreen", "Reshape 640 480", "Position 32 32"}));
}

TEST_F(PlayerWorld, ZoomStopsAtItsLimitsAndStillReports) {
  keys.held = {VK_NUMPAD2};
  testing::internal::CaptureStdout();
  V zoom;
  for (int f = 0; f < 40; ++f) Frame(f), zoom.push_back(zoomfac);
  EXPECT_EQ(Count(testing::internal::GetCapturedStdout(), "zoom in\n"), 40);
  EXPECT_EQ(V({zoom[30], zoom[31], zoom[39]}), V({132, 128, 128}));
  keys.held = {VK_NUMPAD8};
  for (int f = 0; f < 40; ++f) Frame(f);
  EXPECT_EQ(zoomfac, 256);
}

TEST_F(PlayerWorld, EditorKeysReloadAndSaveOnlyWhileEditing) {
  std::string path = testing::TempDir() + "quarn_controls_map.qnm";
  std::remove(path.c_str());
  std::snprintf(MapEditState.mapname, sizeof MapEditState.mapname, "%s", path.c_str());
  keys.held = {'5', '8', '7'};
  testing::internal::CaptureStdout();
  Frame(0);   // mirroring works with the editor off; reload and save do not
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(MapEditState.tileflip, mtY);

  keys.held = {};
  keys.Down(2, '2');
  Frame(1), Frame(2);
  ASSERT_NE(MapEditState.editing, 0);
  keys.held = {'7', '8'};
  testing::internal::CaptureStdout();
  for (int f = 3; f < 6; ++f) Frame(f);   // held: once per frame, reload before save
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(V({Count(out, " not found!\n"), Count(out, " loaded\n"), Count(out, "map saved to " + path)}),
            V({1, 2, 3}));
  MapEditState.saving = 1;   // a reload or save already running
  testing::internal::CaptureStdout();
  Frame(6);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  std::remove(path.c_str());
}

TEST_F(PlayerWorld, EscapeQuitsAndTheFrameRunsOn) {
  keys.held = {VK_ESCAPE, 'W'};
  testing::internal::CaptureStdout();
  Frame(0);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(V({Count(out, "sound freed\n"), Count(out, "masks freed\n"), E->dx}), V({1, 1, 32}));
  EXPECT_EQ(win.requests, std::vector<std::string>({"Quit"}));
}
