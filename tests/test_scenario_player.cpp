// A whole run of frames through the idle and display passes: player 0 flies on
// the jetpack, walks onto a pistol, picks it up, selects it and shoots a
// creature dead, with the keyboard scripted frame by frame.
#include <string>

#include "test_player_fixture.h"

namespace {

struct Scenario : Fresh {
  ScriptKeys keys;
  int frame = 0;

  void SetUp() override {
    Fresh::SetUp();
    // kind, w, h, sprite, mass, hp, lifespan, regen, walks, gravity, frames, death, dmg, colour, dies on contact
    SpawnEntityClass(man, 16, 32, 1, 64, -1, -1, 0, 1, 1, 0, edtNothing, 0, 0, 0);
    SpawnEntityClass(pistol, 8, 8, 2, 1, -1, -1, 0, 0, 1, 0, edtNothing, 0, 0, 0);
    SpawnEntityClass(bullet, 2, 2, 3, 1, 1, 200, 0, 0, 0, 0, edtRicochet, 5, 0, 1);
    SpawnEntityClass(stonedcrew, 16, 32, 4, 1, 12, -1, 0, 0, 1, 0, edtExplosion, 0, 241, 0);
    InitialiseSinCos();
    InitialiseParticles();
    watery = 8576;
    testing::internal::CaptureStdout();
    InitialisePlayers();   // at pixel (5888, 3392), 32 pixels above the floor below
    testing::internal::GetCapturedStdout();
    for (int tx = 80; tx < 110; ++tx) mapt[tx][54] = 1;   // a floor of solid rock
    for (int i = 0; i < 64 * 64; ++i) mapmasks[0][(i / 64) * 1024 + 64 + i % 64] = 255;
    SpawnEntity(pistol, 753664 + 40 * 128, 54 * 8192 - 1024, blank, 0, flNorm, 0, 30);
    SpawnEntity(stonedcrew, 753664 + 300 * 128, 54 * 8192 - 4096, blank, 0, flNorm, 0, 100);
    keyboard = &keys;
  }
  void Run(int frames, std::initializer_list<int> held) {
    for (int f = 0; f < frames; ++f, ++frame) {
      for (int vk : held) keys.Down(frame, vk);
      keys.SetFrame(frame);
      glutIdle();
      glutDisplay();
    }
  }
};

}  // namespace

TEST_F(Scenario, FlyWalkPickUpAPistolAndShootACreature) {
  TPlayerState* p = &players[0];
  TEntity* me = &Entities[p->ent];
  Run(200, {});   // fall onto the floor and settle
  const int32_t floor = me->y;
  ASSERT_EQ(OnGround(me), 1);

  Run(40, {'P'});   // the jetpack lifts the player; the exhaust burns while it thrusts
  EXPECT_LT(me->y, floor - 128 * 16);
  EXPECT_EQ(Fountains[0].colour, 79);
  Run(250, {});   // and lands again once it stops
  EXPECT_EQ(OnGround(me), 1);
  EXPECT_NEAR(me->y, floor, 128);
  EXPECT_EQ(Fountains[0].colour, 0);

  testing::internal::CaptureStdout();
  for (int i = 0; i < 100 && Entities[1].kind == pistol; ++i) Run(1, {'W', 'N'});
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(Entities[1].kind, blank);
  EXPECT_EQ(p->nrg[0], 512);
  EXPECT_EQ(p->score, 30);
  EXPECT_NE(out.find("sound 1 not found in cache"), std::string::npos);   // the fanfare
  EXPECT_EQ(p->held.kind, blank);

  Run(40, {});   // stand still, then select the pistol and hold fire
  Run(1, {VK_F1});
  EXPECT_EQ(p->held.kind, wpPistol);
  testing::internal::CaptureStdout();
  for (int i = 0; i < 600 && Entities[2].estate != esDying; ++i) Run(1, {VK_RETURN});
  out = testing::internal::GetCapturedStdout();
  int shots = PlayerWorld::Count(out, "sound 2 not found in cache");
  EXPECT_EQ(Entities[2].estate, esDying);
  EXPECT_GE(shots, 3);   // 5 damage a shot against 12 hit points; more are still in flight
  EXPECT_EQ(p->nrg[0], 512 - 3 * shots);
  EXPECT_EQ(p->score, 130);
}
