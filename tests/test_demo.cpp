// Demos: a session recorded the way the window's loop calls the game replays
// headless to the same world, without touching the world's files; a demo file
// that is cut short, damaged, of another version or of another world is
// refused; a recording is a valid demo at every moment.
#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>

#include "../tools/sim/session.h"
#include "app/digest.h"
#include "platform/demo.h"
#include "platform/fakeaudio.h"
#include "platform/testseams.h"
#include "test_map_files.h"

namespace fs = std::filesystem;

namespace {

// The files of a folder and their bytes.
std::map<std::string, std::vector<uint8_t>> Snapshot(const fs::path& dir) {
  std::map<std::string, std::vector<uint8_t>> out;
  for (const auto& e : fs::recursive_directory_iterator(dir))
    if (e.is_regular_file()) out[e.path().string()] = InTempFolder::ReadFile(e.path().string());
  return out;
}

std::vector<char> Tags(const Demo& d) {
  std::vector<char> tags;
  size_t at = 0;
  DemoRecord r;
  while (NextDemoRecord(d.Records(), d.length, &at, &r)) tags.push_back(r.tag);
  return tags;
}

struct Demos : InTempFolder {
  sim::SimKeys keys;
  sim::SimWindow win;
  Demo demo;
  std::string why;
  uint64_t recorded = 0;

  // Plays `script` into demo.dem as the window's loop calls the game: a
  // reshape and a display pass before the first idle pass; then in each frame
  // the idle pass, the frame's clicks (press and release), the reshapes named
  // in `reshapes` and the display pass; nothing after the quit. `during` runs
  // after every frame.
  void Record(const std::string& script, AudioDevice* sound, std::map<int, std::pair<int, int>> reshapes = {},
              const std::function<void(int)>& during = nullptr) {
    sim::KeyScript k;
    ASSERT_TRUE(k.Parse(script, &why)) << why;
    QuietConsole quiet;
    ResetGlobals();
    keys.Clear();
    win = sim::SimWindow{};
    keyboard = &keys, window = &win, audio = sound;
    ASSERT_TRUE(StartRecording("demo.dem", &why)) << why;
    WinMain();
    RecordReshape(800, 600);
    RecordDisplay();
    std::vector<sim::Click> clicks;
    for (int f = 0; f < k.End() && !win.quit; ++f) {
      keys.Clear();
      k.KeysAt(f, keys);
      RecordIdle();
      if (win.quit) break;
      clicks.clear();
      k.ClicksAt(f, clicks);
      for (const sim::Click& c : clicks) {
        RecordMouse(c.button, 0, c.x, c.y);
        RecordMouse(c.button, 1, c.x, c.y);
      }
      if (reshapes.count(f)) RecordReshape(reshapes[f].first, reshapes[f].second);
      RecordDisplay();
      if (during) during(f);
    }
    recorded = DigestWorld().all;
    uint32_t frames;
    ASSERT_TRUE(FinishRecording(recorded, &frames, &why)) << why;
    ASSERT_TRUE(LoadDemo("demo.dem", &demo, &why)) << why;
  }

  // Replays the demo headless from a fresh start: the world's digest after it.
  uint64_t Replay(int* status) {
    QuietConsole quiet;
    ResetGlobals();
    ResetPlatform();
    win = sim::SimWindow{};
    keyboard = &keys, window = &win;
    EXPECT_TRUE(StartReplay(demo, NoAudio(), &why)) << why;
    WinMain();
    while (ReplayStep()) {
    }
    uint64_t digest = DigestWorld().all;
    *status = ReportReplay("demo.dem", demo, digest, false);
    EndReplay();
    return digest;
  }
};

// A session in the default world with every kind of input: walking, firing
// grenades and their explosions (sounds with a random tint, on a device that
// keeps every sound playing, so that plays are skipped), the editor's clicks
// and keys, a reshape, a save, painting after it and a reload of the saved
// map, painting left unsaved at the quit.
const char kSession[] =
    "0-99 W N\n"
    "100-139 P\n"
    "140 F6\n"
    "150-330 RETURN\n"
    "340 2\n"
    "350 click 100 100\n"
    "360 click 500 400\n"
    "370 click 560 400 2\n"
    "380 8\n"
    "390 click 600 300\n"
    "400 7\n"
    "410 click 650 350\n"
    "420 9\n"
    "430 click 300 450\n"
    "440 Z\n"
    "450 click 420 260\n"
    "460 ESC\n";

}  // namespace

TEST_F(Demos, ASessionReplaysToTheSameWorldAndLeavesTheWorldAlone) {
  fs::copy(BuildDir() / "data", "world", fs::copy_options::recursive);
  ASSERT_EQ(chdir("world"), 0);
  std::vector<uint8_t> startMap = ReadFile("map/phoebus.qnm");
  FakeAudio sound;
  uint32_t sofar = 0;
  // a recording is a whole demo of the frames so far at every moment
  Record(kSession, &sound, {{200, {640, 480}}, {300, {800, 600}}}, [&](int f) {
    Demo now;
    if (f % 97 != 0) return;
    ASSERT_TRUE(LoadDemo("demo.dem", &now, &why)) << "at frame " << f << ": " << why;
    EXPECT_FALSE(now.ended);
    EXPECT_EQ(now.frames, uint32_t(f + 1));
    sofar = now.frames;
  });
  ASSERT_GT(sofar, 0u);
  EXPECT_EQ(demo.frames, 461u);
  ASSERT_TRUE(demo.ended);
  EXPECT_EQ(demo.digest, recorded);
  std::vector<char> tags = Tags(demo);
  EXPECT_GT(std::count(tags.begin(), tags.end(), 'A'), 20) << "the sound device was asked little";
  EXPECT_EQ(std::count(tags.begin(), tags.end(), 'S'), 1) << "the map saved over is kept once";
  // the recording saved over the map and kept its painting beside it
  ASSERT_NE(ReadFile("map/phoebus.qnm"), startMap);
  ASSERT_FALSE(ReadFile("map/phoebus.qnm.unsaved").empty());

  // the replay starts from the map as it was, plays silent and saves nowhere
  ASSERT_TRUE(SameWorld(demo, &why)) << why;
  auto before = Snapshot(".");
  int status = -1;
  EXPECT_EQ(Replay(&status), recorded);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(Replaying().frames, 461u);
  EXPECT_EQ(Replaying().writes, 2);   // the save and the unsaved painting
  EXPECT_TRUE(Snapshot(".") == before) << "the replay changed the world's files";
}

// A short demo of a small world: one key, the editor, a click, a save over a
// map file of 64 bytes, the window closed.
struct ShortDemo : Demos {
  std::vector<uint8_t> bytes;
  void SetUp() override {
    Demos::SetUp();
    Folder("map");
    Folder("gfx");
    WriteFile("map/phoebus.qnm", std::vector<uint8_t>(64, 1));
    WriteFile("gfx/tiles.raw", std::vector<uint8_t>(48, 7));
    FakeAudio sound;
    Record("0 W\n1 2\n2 click 400 300\n3 8\n", &sound, {{1, {640, 480}}}, [](int f) {
      if (f == 3) RecordClose();
    });
    bytes = ReadFile("demo.dem");
  }
  bool Read(std::vector<uint8_t> b) { return ReadDemo(std::move(b), &demo, &why); }
};

TEST_F(ShortDemo, EveryLengthCutShortIsRefused) {
  ASSERT_TRUE(Read(bytes)) << why;
  ASSERT_LT(bytes.size(), 4000u);
  std::vector<char> tags = Tags(demo);
  for (char tag : std::string("KDMRAFSCE")) EXPECT_NE(std::count(tags.begin(), tags.end(), tag), 0) << tag;
  for (size_t n = 0; n < bytes.size(); ++n)
    ASSERT_FALSE(Read(std::vector<uint8_t>(bytes.begin(), bytes.begin() + long(n)))) << "cut at " << n;
}

TEST_F(ShortDemo, DamagedAndForeignFilesAreRefusedWithTheirReason) {
  auto put32 = [](std::vector<uint8_t> b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
    return b;
  };
  auto with = [&](size_t at, uint8_t v) {
    std::vector<uint8_t> b = bytes;
    b[at] = v;
    return b;
  };
  std::string text(bytes.begin(), bytes.end());
  size_t name = text.find("map\\phoebus.qnm");
  ASSERT_NE(name, std::string::npos);
  std::vector<uint8_t> outside = bytes;
  std::memcpy(&outside[name], "..\\x", 4);   // "..\xphoebus.qnm": out of the data folder
  const std::string later = "a demo of version " + std::to_string(DEMO_VERSION + 1) +
                            "; this quarn plays version " + std::to_string(DEMO_VERSION);
  struct Case {
    const char* what;
    std::vector<uint8_t> file;
    const char* reason;
  };
  const Case cases[] = {
      {"another magic", with(0, 'q'), "not a demo"},
      {"a later version", put32(bytes, 8, DEMO_VERSION + 1), later.c_str()},
      {"an older version", put32(bytes, 8, 0), "a demo of version 0"},
      {"a frame more", put32(bytes, 12, demo.frames + 1), "damaged: 4 frames, the header says 5"},
      {"longer records", put32(bytes, 16, demo.length + 1), "cut short"},
      {"an unknown record", with(DEMO_HEADER, 'X'), "damaged: no record at byte 28"},
      {"another world digest", with(20, bytes[20] ^ 1), "damaged: the world digest differs"},
      {"a name out of the folder", outside, "damaged: no record"},
  };
  ASSERT_TRUE(Read(bytes));
  for (const Case& c : cases) {
    EXPECT_FALSE(Read(c.file)) << c.what;
    EXPECT_EQ(why.rfind(c.reason, 0), 0u) << c.what << ": " << why;
  }

  // another world: a file changed, gone or new since; the map the session
  // saved over is compared as it was, not as it is now
  ASSERT_TRUE(Read(bytes));
  ASSERT_TRUE(SameWorld(demo, &why)) << why;
  WriteFile("gfx/tiles.raw", std::vector<uint8_t>(48, 8));
  EXPECT_FALSE(SameWorld(demo, &why));
  EXPECT_EQ(why, "recorded in another world: gfx\\tiles.raw differs");
  std::remove("gfx/tiles.raw");
  EXPECT_FALSE(SameWorld(demo, &why));
  EXPECT_EQ(why, "recorded in another world: gfx\\tiles.raw is missing");
  WriteFile("gfx/tiles.raw", std::vector<uint8_t>(48, 7));
  WriteFile("map/phoebus.trg", {'x'});
  EXPECT_FALSE(SameWorld(demo, &why));
  EXPECT_EQ(why, "recorded in another world: map\\phoebus.trg is here, and was not");
}

TEST_F(ShortDemo, AReplayOutOfStepWithTheGameIsReported) {
  ASSERT_TRUE(Read(bytes));
  // the records with one more inserted at the first idle pass, the header
  // brought up to them
  auto inserted = [&](std::vector<uint8_t> rec, uint32_t idles) {
    std::vector<char> tags = Tags(demo);
    size_t at = 0;
    DemoRecord r;
    for (size_t i = 0; i < tags.size(); ++i) {
      size_t from = at;
      NextDemoRecord(demo.Records(), demo.length, &at, &r);
      if (r.tag == 'K' || r.tag == 'I') {
        std::vector<uint8_t> b = bytes;
        b.insert(b.begin() + long(DEMO_HEADER + from), rec.begin(), rec.end());
        uint32_t length = demo.length + uint32_t(rec.size()), frames = demo.frames + idles;
        for (int k = 0; k < 4; ++k) b[12 + size_t(k)] = uint8_t(frames >> (8 * k));
        for (int k = 0; k < 4; ++k) b[16 + size_t(k)] = uint8_t(length >> (8 * k));
        return b;
      }
    }
    return bytes;
  };
  struct Case {
    const char* what;
    std::vector<uint8_t> file;
  };
  const Case cases[] = {
      {"an answer of the sound device nobody asked for", inserted({'A', 1, 0, 0, 0}, 0)},
      {"the game quits before the demo ends", inserted({'K', 0, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                                         0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                                                        1)},   // Escape down
  };
  for (const Case& c : cases) {
    Demo played;
    ASSERT_TRUE(ReadDemo(c.file, &played, &why)) << c.what << ": " << why;
    std::swap(demo, played);
    int status = 0;
    Replay(&status);
    EXPECT_TRUE(Replaying().outOfStep) << c.what;
    EXPECT_EQ(status, 1) << c.what;
    std::swap(demo, played);
  }
  int status = -1;
  EXPECT_EQ(Replay(&status), recorded);
  EXPECT_EQ(status, 0);
}
