// The application frame: start-up order, one frame's order, resizing, mouse
// clicks, the sine tables and the shutdown.
#include <algorithm>

#include "platform/fakeaudio.h"
#include "platform/testseams.h"
#include "test_map_files.h"

namespace {

struct App : InTempFolder {
  RecordDraw rec;
  RecordWindow win;
  FakeClock clock;
  void SetUp() override {
    InTempFolder::SetUp();
    draw = &rec;
    window = &win;
    gameclock = &clock;
  }
  // index of the first call named op at or after `from`, or -1
  int Find(const std::string& op, size_t from = 0) const {
    for (size_t k = from; k < rec.calls.size(); ++k)
      if (rec.calls[k].op == op) return int(k);
    return -1;
  }
  static size_t At(const std::string& text, const std::string& line, size_t from = 0) {
    return text.find(line, from);
  }
};

}  // namespace

TEST(SinCos, WholeDegreesTimes524288) {
  InitialiseSinCos();
  EXPECT_EQ(xsin[0], 0);
  EXPECT_EQ(xcos[0], 524288);
  EXPECT_EQ(xsin[30], 262144);
  EXPECT_EQ(xsin[90], 524287);   // the angle is rounded to single precision first
  EXPECT_EQ(xcos[90], 0);
  EXPECT_EQ(xcos[180], -524287);
  EXPECT_EQ(xsin[270], -524287);
  for (int d = 0; d < 360; ++d) {
    EXPECT_GE(xsin[d], -524288);
    EXPECT_LE(xsin[d], 524288);
    EXPECT_GE(xcos[d], -524288);
    EXPECT_LE(xcos[d], 524288);
  }
}

TEST_F(App, MouseClicksBecomeDesignScreenCells) {
  glutMouse(0, 0, 0, 0);
  EXPECT_EQ(std::make_tuple(mouseX, mouseY, mouseB), std::make_tuple(0, 31, 0));
  glutMouse(2, 0, 8, 8);
  EXPECT_EQ(std::make_tuple(mouseX, mouseY, mouseB), std::make_tuple(1, 30, 2));
  glutMouse(0, 0, 799, 599);
  EXPECT_EQ(std::make_tuple(mouseX, mouseY), std::make_tuple(50, -6));

  // A press and its release leave what the press alone left.
  glutMouse(0, 0, 380, 300);
  auto pressed = std::make_tuple(mouseX, mouseY, mouseB);
  glutMouse(0, 1, 380, 300);
  EXPECT_EQ(std::make_tuple(mouseX, mouseY, mouseB), pressed);

  // In a window of half the size the same cells are half as many pixels.
  glutResize(400, 300);
  glutMouse(0, 0, 190, 150);
  EXPECT_EQ(std::make_tuple(mouseX, mouseY), std::make_tuple(24, 12));
}

TEST_F(App, ReshapeSetsTheProjectionButNeverToHeightZero) {
  glutResize(1024, 768);
  EXPECT_EQ(std::make_tuple(winW, winH), std::make_tuple(1024, 768));
  auto reshapes = rec.Only("Reshape");
  ASSERT_EQ(reshapes.size(), 1u);
  EXPECT_EQ(reshapes[0].v, (std::vector<float>{1024, 768, 90, 1.33f, 1, 9999}));
  EXPECT_EQ(win.requests, (std::vector<std::string>{"PostRedisplay"}));

  glutResize(640, 0);
  EXPECT_EQ(std::make_tuple(winW, winH), std::make_tuple(1024, 768));
  EXPECT_EQ(rec.Only("Reshape").size(), 1u);
  EXPECT_EQ(win.requests.size(), 1u);

  // A window of width 0 takes no clicks, rather than dividing by zero.
  glutResize(0, 100);
  mouseB = -1;
  glutMouse(0, 0, 5, 5);
  EXPECT_EQ(mouseB, -1);
}

TEST_F(App, OneFrameClearsWaitsDrawsAndSwaps) {
  clock.now = 5000;
  zoomfac = 200;
  framectr = 510;
  glutDisplay();
  EXPECT_EQ(clock.waits, (std::vector<uint32_t>{5008}));
  EXPECT_EQ(rec.calls.front().op, "Clear");
  EXPECT_EQ(rec.calls[1].op, "SelectModelview");
  EXPECT_EQ(rec.calls[2].op, "LoadIdentity");
  EXPECT_EQ(rec.calls.back().op, "SwapBuffers");
  // the view is reset four times, each at the zoom
  auto moves = rec.Only("Translate");
  ASSERT_EQ(moves.size(), 4u);
  for (auto& m : moves) EXPECT_EQ(m.v, (std::vector<float>{-416, -416, -200}));
  EXPECT_EQ(framectr, 511);
  glutDisplay();
  EXPECT_EQ(framectr, 0);
}

TEST_F(App, TheCameraFollowsPlayerZerosEntity) {
  players[0].ent = 3;
  Entities[3].x = 8192 * 20 + 640;
  Entities[3].y = 8192 * 30;
  drawScene();
  EXPECT_EQ(std::make_tuple(oldx, oldy), std::make_tuple(8192 * 20 + 640, 8192 * 30));
  EXPECT_EQ(std::make_tuple(mapx, mapy, ax), std::make_tuple(15, 23, 59));
}

// The menu freezes the world; the editor hides the water, the particles and
// the wind, and shows its palette over the HUD.
TEST_F(App, MenuAndEditorChangeTheFrame) {
  InitialiseParticles();
  auto moving = [] {
    for (int k = 0; k < MAX_PARTICLES; ++k) Particles[k] = TParticle{};
    SpawnParticle(100000, 100000, 64, 0, 7, 100, ptDot);
    for (const TParticle& p : Particles)
      if (p.colour == 7) return &p;
    return static_cast<const TParticle*>(nullptr);
  };
  const TParticle* p = moving();
  ASSERT_NE(p, nullptr);
  drawScene();
  EXPECT_EQ(p->x, 100064);
  EXPECT_NE(Find("BindTexture"), -1);
  bool water = false;
  for (auto& c : rec.Only("BindTexture")) water |= c.v[0] == 1024;
  EXPECT_TRUE(water);

  p = moving();
  mnu_disp = -1;
  drawScene();
  EXPECT_EQ(p->x, 100000);

  p = moving();
  mnu_disp = 0;
  InitialiseMapEditor();
  MapEditState.editing = -1;
  rec.calls.clear();
  drawScene();
  EXPECT_EQ(p->x, 100000);
  for (auto& c : rec.Only("BindTexture")) EXPECT_NE(c.v[0], 1024) << "water drawn in the editor";
  // the palette is the last quad of the frame: texture 1 at depth 3
  auto quads = rec.Quads();
  ASSERT_FALSE(quads.empty());
  EXPECT_EQ(quads.back().texture, 1);
  EXPECT_FLOAT_EQ(quads.back().v[0].z, 3.f);
}

TEST_F(App, StartUpRunsInOrder) {
  FakeAudio sound;
  audio = &sound;
  win.handle = 0x2a;
  testing::internal::CaptureStdout();
  EXPECT_EQ(WinMain(), 0);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(win.requests, (std::vector<std::string>{"Create QuarnGLX 800 600", "RegisterCallbacks",
                                                     "FullScreen", "MainLoop"}));
  EXPECT_EQ(out.rfind("made sin table\n"
                      "map map\\phoebus.qnm not found!\n"
                      "init map\n"
                      "init particles\n"
                      "init wind\n", 0), 0u) << out;
  size_t sound_line = At(out, "init sound ok 2a\n");
  size_t tiles = At(out, "loaded 1 tile tex(s)");
  ASSERT_NE(sound_line, std::string::npos) << out;
  ASSERT_NE(tiles, std::string::npos) << out;
  EXPECT_LT(sound_line, tiles);
  EXPECT_STREQ(MapEditState.mapname, "map\\phoebus.qnm");
  EXPECT_EQ(xcos[0], 524288);
  EXPECT_EQ(std::make_tuple(watery, waterbob, wbobdx), std::make_tuple(8576, 0, 1));
  EXPECT_EQ(std::make_tuple(MapEditState.tileset, MapEditState.tile), std::make_tuple(1, 1));
  EXPECT_EQ(rec.calls.front().op, "SetupState");
}

TEST_F(App, WithoutASoundDeviceTheGameRunsOn) {
  testing::internal::CaptureStdout();
  EXPECT_EQ(InitApplication(0), 1);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(At(out, "init wind\ninit sound failed\n"), std::string::npos) << out;
}

// Escape shuts down in order; the rest of that frame must not touch the
// released sound device, even with the fire key down.
TEST_F(App, TheQuitKeyReleasesSoundThenQuits) {
  Folder("sfx");
  std::vector<uint8_t> wav = {'R', 'I', 'F', 'F', 44, 0, 0, 0, 'W', 'A', 'V', 'E',
                              'f', 'm', 't', ' ', 16, 0, 0, 0, 1, 0, 1, 0,
                              0x11, 0x2B, 0, 0, 0x11, 0x2B, 0, 0, 1, 0, 8, 0,
                              'd', 'a', 't', 'a', 8, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8};
  WriteFile("sfx/pistolshot.wav", wav);
  FakeAudio sound;
  audio = &sound;
  ScriptKeys keys;
  keyboard = &keys;
  testing::internal::CaptureStdout();
  InitApplication(0);
  glInit();
  testing::internal::GetCapturedStdout();
  ASSERT_TRUE(sound.open);
  players[0].held.kind = wpPistol;
  players[0].nrg[0] = 1000;

  keys.held = {VK_RETURN};
  players[0].firecount = 15;   // fires in this very frame
  glutIdle();
  ASSERT_EQ(sound.plays.size(), 1u);   // the shot is heard while the game runs

  keys.held = {VK_ESCAPE, VK_RETURN};
  players[0].firecount = 15;
  win.requests.clear();
  testing::internal::CaptureStdout();
  glutIdle();
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(out.rfind("sound freed\nmasks freed\n", 0), 0u) << out;
  EXPECT_FALSE(sound.open);
  EXPECT_EQ(sound.plays.size(), 1u);
  EXPECT_EQ(sound.misuse, 0);
  ASSERT_FALSE(win.requests.empty());
  EXPECT_EQ(win.requests.front(), "Quit");
}
