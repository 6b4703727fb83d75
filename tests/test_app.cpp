// The application frame: start-up order, a frame's order, resizing, mouse
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
    draw = &rec, window = &win, gameclock = &clock;
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
  for (int d = 0; d < 360; ++d) ASSERT_LE(std::max(std::abs(xsin[d]), std::abs(xcos[d])), 524288);
}

TEST_F(App, MouseClicksAndReshapes) {
  auto click = [](int b, int s, int x, int y) {
    glutMouse(b, s, x, y);
    return std::make_tuple(mouseX, mouseY, mouseB);
  };
  EXPECT_EQ(click(0, 0, 0, 0), std::make_tuple(0, 31, 0));
  EXPECT_EQ(click(2, 0, 8, 8), std::make_tuple(1, 30, 2));
  EXPECT_EQ(click(0, 0, 799, 599), std::make_tuple(50, -6, 0));
  EXPECT_EQ(click(0, 1, 799, 599), std::make_tuple(50, -6, 0));   // its release: the same

  glutResize(400, 300);   // half the size: half as many pixels per cell
  EXPECT_EQ(click(0, 0, 190, 150), std::make_tuple(24, 12, 0));
  ASSERT_EQ(rec.Only("Reshape").size(), 1u);
  EXPECT_EQ(rec.Only("Reshape")[0].v, (std::vector<float>{400, 300, 90, 1.33f, 1, 9999}));
  EXPECT_EQ(win.requests, (std::vector<std::string>{"PostRedisplay"}));

  glutResize(640, 0);   // ignored
  EXPECT_EQ(std::make_tuple(winW, winH), std::make_tuple(400, 300));
  EXPECT_EQ(rec.Only("Reshape").size(), 1u);
  EXPECT_EQ(win.requests.size(), 1u);

  glutResize(0, 100);   // a window of width 0 takes no clicks rather than dividing by 0
  mouseB = -1;
  glutMouse(0, 0, 5, 5);
  EXPECT_EQ(mouseB, -1);
}

TEST_F(App, OneFrameClearsWaitsDrawsAndSwaps) {
  clock.now = 5000;
  zoomfac = 200;
  framectr = 511;
  glutDisplay();
  EXPECT_EQ(clock.waits, (std::vector<uint32_t>{5008}));
  EXPECT_EQ(rec.calls[0].op + rec.calls[1].op + rec.calls[2].op, "ClearSelectModelviewLoadIdentity");
  EXPECT_EQ(rec.calls.back().op, "SwapBuffers");
  auto views = rec.Only("Translate");   // the view is reset four times
  ASSERT_EQ(views.size(), 4u);
  for (auto& m : views) EXPECT_EQ(m.v, (std::vector<float>{-416, -416, -200}));
  EXPECT_EQ(framectr, 0);
}

// The menu freezes the world; the editor hides water, particles and wind and
// shows its palette last.
TEST_F(App, MenuAndEditorChangeTheFrame) {
  auto particle = [] {
    for (TParticle& p : Particles) p = TParticle{};
    SpawnParticle(100000, 100000, 64, 0, 7, 100, ptDot);
    for (const TParticle& p : Particles)
      if (p.colour == 7) return &p;
    return static_cast<const TParticle*>(nullptr);
  };
  auto water = [&] {
    for (auto& c : rec.Only("BindTexture"))
      if (c.v[0] == 1024) return true;
    return false;
  };
  InitialiseMapEditor();
  const TParticle* p = particle();
  drawScene();
  EXPECT_EQ(p->x, 100064);
  EXPECT_TRUE(water());

  p = particle();
  mnu_disp = -1;
  drawScene();
  EXPECT_EQ(p->x, 100000);

  p = particle();
  mnu_disp = 0;
  MapEditState.editing = -1;
  rec.calls.clear();
  drawScene();
  EXPECT_EQ(p->x, 100000);
  EXPECT_FALSE(water());
  EXPECT_EQ(rec.Quads().back().texture, 1);   // the palette, at depth 3
  EXPECT_EQ(rec.Quads().back().v[0].z, 3.f);
}

TEST_F(App, StartUpRunsInOrder) {
  FakeAudio sound;
  audio = &sound;
  win.handle = 0x2a;
  Folder("map");
  WriteFile("map/phoebus.ent", {'c', '\n'});
  WriteFile("map/phoebus.trg", {'\n'});
  std::string out = Said([&] { EXPECT_EQ(WinMain(), 0); });
  EXPECT_EQ(win.requests, (std::vector<std::string>{"Create QuarnGLX 800 600", "RegisterCallbacks",
                                                     "FullScreen", "MainLoop"}));
  EXPECT_EQ(out.find("made sin table\nmap map\\phoebus.qnm not found!\ninit map\n"
                     "init particles\ninit wind\n"), 0u) << out;
  std::vector<size_t> at;   // the sound line, then classes, tiles, the player, placements, triggers
  for (const char* line : {"init sound ok 2a\n", "spawning entity classes\n", "loaded 1 tile tex(s)",
                           "Spawned player(0) Vesk", "spawning entities\n", "spawning triggers map\\phoebus.trg\n"})
    at.push_back(out.find(line));
  EXPECT_TRUE(std::is_sorted(at.begin(), at.end()) && at.back() != std::string::npos) << out;
  EXPECT_EQ(std::make_tuple(watery, waterbob, wbobdx, MapEditState.tile), std::make_tuple(8576, 0, 1, 1));
  EXPECT_EQ(rec.calls.front().op, "SetupState");

  audio = NoAudio();
  EXPECT_NE(Said([&] { EXPECT_EQ(InitApplication(0), 1); }).find("init wind\ninit sound failed\n"), std::string::npos);
}

// Escape shuts down in order; the rest of that frame, fire key down, must not
// touch the released sound device.
TEST_F(App, TheQuitKeyReleasesSoundThenQuits) {
  Folder("sfx");
  WriteFile("sfx/pistolshot.wav", {'R', 'I', 'F', 'F', 44, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't',
                                   ' ', 16, 0, 0, 0, 1, 0, 1, 0, 0x11, 0x2B, 0, 0, 0x11, 0x2B, 0, 0,
                                   1, 0, 8, 0, 'd', 'a', 't', 'a', 4, 0, 0, 0, 1, 2, 3, 4});
  FakeAudio sound;
  ScriptKeys keys;
  audio = &sound, keyboard = &keys;
  Said([&] { InitApplication(0); glInit(); });
  players[0].held.kind = wpPistol;
  players[0].nrg[0] = 1000;
  keys.held = {VK_RETURN};
  players[0].firecount = 15;   // fires in this frame
  glutIdle();
  ASSERT_EQ(sound.plays.size(), 1u);

  keys.held = {VK_ESCAPE, VK_RETURN};
  players[0].firecount = 15;
  win.requests.clear();
  EXPECT_EQ(Said([&] { glutIdle(); }).find("sound freed\nmasks freed\n"), 0u);
  EXPECT_FALSE(sound.open);
  EXPECT_EQ(sound.plays.size(), 1u);
  EXPECT_EQ(sound.misuse, 0);
  ASSERT_FALSE(win.requests.empty());
  EXPECT_EQ(win.requests.front(), "Quit");
}
