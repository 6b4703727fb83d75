// Frames through the idle and display passes with a scripted keyboard: player
// 0 flies on the jetpack, walks onto a pistol, picks it up, selects it and
// shoots a creature dead.
#include "test_player_fixture.h"

TEST_F(Fresh, ScenarioFlyWalkPickUpAPistolAndShootACreature) {
  // kind, w, h, sprite, mass, hp, lifespan, regen, walks, gravity, frames, death, dmg, colour, dies on contact
  SpawnEntityClass(man, 16, 32, 1, 64, -1, -1, 0, 1, 1, 0, edtNothing, 0, 0, 0);
  SpawnEntityClass(pistol, 8, 8, 2, 1, -1, -1, 0, 0, 1, 0, edtNothing, 0, 0, 0);
  SpawnEntityClass(bullet, 2, 2, 3, 1, 1, 200, 0, 0, 0, 0, edtRicochet, 5, 0, 1);
  SpawnEntityClass(stonedcrew, 16, 32, 4, 1, 12, -1, 0, 0, 1, 0, edtExplosion, 0, 241, 0);
  InitialiseSinCos();
  InitialiseParticles();
  watery = 8576;
  testing::internal::CaptureStdout();
  InitialisePlayers();   // 32 pixels above the floor laid below
  for (int tx = 80; tx < 110; ++tx) mapt[tx][54] = 1;
  for (int i = 0; i < 64 * 64; ++i) mapmasks[0][(i / 64) * 1024 + 64 + i % 64] = 255;
  SpawnEntity(pistol, 753664 + 40 * 128, 54 * 8192 - 1024, blank, 0, flNorm, 0, 30);
  SpawnEntity(stonedcrew, 753664 + 300 * 128, 54 * 8192 - 4096, blank, 0, flNorm, 0, 100);
  ScriptKeys keys;
  keyboard = &keys;
  int frame = 0;
  auto run = [&](int frames, std::initializer_list<int> held, bool (*until)() = nullptr) {
    for (int f = 0; f < frames && !(until && until()); ++f, ++frame) {
      for (int vk : held) keys.Down(frame, vk);
      keys.SetFrame(frame);
      glutIdle();
      glutDisplay();
    }
  };
  TPlayerState* p = &players[0];
  TEntity* me = &Entities[0];
  run(200, {});   // fall onto the floor and settle
  const int32_t floor = me->y;
  ASSERT_EQ(OnGround(me), 1);
  run(40, {'P'});   // the jetpack lifts the player with its exhaust burning
  EXPECT_EQ(V({me->y < floor - 16 * 128, Fountains[0].colour}), V({1, 79}));
  run(250, {});   // and lands again once it stops
  EXPECT_EQ(V({OnGround(me), std::abs(me->y - floor) < 128, Fountains[0].colour}), V({1, 1, 0}));

  run(100, {'W', 'N'}, [] { return Entities[1].kind != pistol; });
  run(40, {});
  run(1, {VK_F1});
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(PlayerWorld::Count(out, "sound 1 not found"), 1);   // the fanfare
  EXPECT_EQ(V({Entities[1].kind, p->nrg[0], p->score, p->held.kind}), V({blank, 512, 30, wpPistol}));

  testing::internal::CaptureStdout();
  run(600, {VK_RETURN}, [] { return Entities[2].estate == esDying; });
  int shots = PlayerWorld::Count(testing::internal::GetCapturedStdout(), "sound 2 not found");
  EXPECT_GE(shots, 3);   // 5 damage a hit against 12 hit points; more may still be in flight
  EXPECT_EQ(V({Entities[2].estate, p->nrg[0], p->score}), V({esDying, 512 - 3 * shots, 130}));
}
