// The world kit: quarn-world's commands as a user calls them, the checker on a
// good and a broken world, the map picture against the game's own drawing,
// the blank world played, and the folder the game plays in.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include "kit.h"
#include "platform/worldfolder.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

// A fresh temporary folder, removed at the end.
struct Scratch {
  fs::path dir;
  Scratch() {
    char tmpl[] = "/tmp/quarn-kit-XXXXXX";
    dir = mkdtemp(tmpl);
  }
  ~Scratch() { fs::remove_all(dir); }
};

struct Ran {
  int status;
  std::string out, err;
};

// quarn-world with `args`, started in `cwd`.
Ran Tool(const std::string& args, const fs::path& cwd) {
  fs::path out = cwd / "..stdout", err = cwd / "..stderr";
  std::string cmd = "cd '" + cwd.string() + "' && '" + (BuildDir() / "quarn-world").string() + "' " +
                    args + " >'" + out.string() + "' 2>'" + err.string() + "'";
  int st = std::system(cmd.c_str());
  auto slurp = [](const fs::path& p) {
    std::ifstream f(p);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
  };
  Ran r{WIFEXITED(st) ? WEXITSTATUS(st) : -1, slurp(out), slurp(err)};
  fs::remove(out);
  fs::remove(err);
  return r;
}

// One blank world for the whole file, written by quarn-world new.
const fs::path& BlankWorld() {
  static Scratch s;
  static Ran made = Tool("new blank", s.dir);
  EXPECT_EQ(made.status, 0) << made.err;
  EXPECT_EQ(made.out, "quarn-world: blank world written to blank\n");
  static fs::path blank = s.dir / "blank";
  return blank;
}

std::vector<std::string> Checked(const fs::path& dir, RecordDraw& textures) {
  std::vector<kit::Problem> problems;
  std::string error;
  EXPECT_TRUE(kit::LoadDataFolder(dir.string(), textures, problems, error)) << error;
  std::vector<std::string> out;
  for (const kit::Problem& p : problems)
    out.push_back(fs::relative(p.file, dir).string() + ":" + std::to_string(p.line) + ": " + p.message);
  return out;
}

std::string Text(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}
void Put(const fs::path& p, const std::string& s) { std::ofstream(p, std::ios::binary) << s; }

}  // namespace

// ---- the commands as a user calls them ------------------------------------------------------

// Bad usage answers 2 with a word on standard error and writes nothing; help
// answers 0 on standard output (a folder named --help is never made); files
// that cannot be read answer 1.
TEST(KitCommands, UsageHelpAndErrors) {
  Scratch s;
  struct Case { std::string args; int status; bool onStdout; std::string says; } cases[] = {
      {"", 2, false, "usage: quarn-world COMMAND"},
      {"--help", 0, true, "commands:"},
      {"frobnicate", 2, false, "no command frobnicate"},
      {"new -h", 0, true, "usage: quarn-world new DIR"},
      {"generate", 2, false, "one folder"},
      {"new a b", 2, false, "one folder"},
      {"check --fast w", 2, false, "unknown option --fast"},
      {"check nowhere", 1, false, "nowhere: no such folder"},
      {"render w", 2, false, "a folder and a picture"},
      {"render w o.png --scale 3", 2, false, "--scale takes"},
      {"render w o.png --area 250,0,10,10", 2, false, "past the 256 x 256 map"},
      {"render w o.png --area 1,2,3", 2, false, "--area takes X,Y,W,H"},
      {"render w o.png --scale 1", 2, false, "8192 x 8192"},
      {"image in.png", 2, false, "a PNG and a raw picture"},
      {"image in.png out.raw", 1, false, "in.png"},
      {"export in.raw 0 4 o.png", 2, false, "whole numbers from 1"},
      {"export in.raw 4 4 o.png", 1, false, "cannot read in.raw"},
  };
  for (const Case& c : cases) {
    Ran r = Tool(c.args, s.dir);
    EXPECT_EQ(r.status, c.status) << c.args;
    EXPECT_NE((c.onStdout ? r.out : r.err).find(c.says), std::string::npos)
        << c.args << "\nout: " << r.out << "\nerr: " << r.err;
    EXPECT_TRUE(fs::is_empty(s.dir)) << c.args << " wrote into the folder";
  }
}

// A raw picture and a mask go out as PNG and come back the same bytes, the
// colour key by way of transparency; a raw file of the wrong size is refused.
TEST(KitCommands, ImageAndExportRoundTripExactly) {
  Scratch s;
  std::string picture, mask;
  for (int k = 0; k < 7 * 5; k++) {
    bool key = k % 4 == 1;
    picture += key ? std::string("\x00\xff\xff", 3) : std::string{char(k * 37), char(k * 11 + 3), char(255 - k)};
    mask += char(k % 3 == 0 ? 255 : k % 3 == 1 ? 128 : 0);
  }
  Put(s.dir / "p.raw", picture);
  Put(s.dir / "m.raw", mask);
  EXPECT_EQ(Tool("export p.raw 7 5 p.png", s.dir).status, 0);
  EXPECT_EQ(Tool("export m.raw 7 5 m.png", s.dir).status, 0);
  Ran back = Tool("image p.png p2.raw", s.dir);
  EXPECT_EQ(back.status, 0) << back.err;
  EXPECT_NE(back.out.find("a 7 x 5 picture"), std::string::npos) << back.out;
  EXPECT_EQ(Tool("image m.png --mask m2.raw", s.dir).status, 0);
  EXPECT_EQ(Text(s.dir / "p2.raw"), picture);
  EXPECT_EQ(Text(s.dir / "m2.raw"), mask);
  // upright: the file's first row is the PNG's bottom row
  kit::Picture png;
  std::string error;
  ASSERT_TRUE(kit::ReadPng((s.dir / "p.png").string(), png, error)) << error;
  EXPECT_EQ(png.rgba[(4 * 7) * 4], uint8_t(picture[0]));
  EXPECT_EQ(png.rgba[(4 * 7 + 1) * 4 + 3], 0) << "the colour key is transparent";
  Ran wrong = Tool("export p.raw 5 5 w.png", s.dir);
  EXPECT_EQ(wrong.status, 1);
  EXPECT_NE(wrong.err.find("holds 105 bytes"), std::string::npos) << wrong.err;
}

// ---- a world from new, and a broken one -------------------------------------------------------

struct KitWorld : Fresh {};

// new writes a world that check passes and refuses to write over it; render
// draws its whole map; check names a broken record by file and line; and the
// game starts in the world, the player lands on the cave's floor under the
// start tile and walks.
TEST_F(KitWorld, NewWritesAWorldThatChecksRendersAndPlays) {
  fs::path blank = BlankWorld();
  Ran again = Tool("new blank", blank.parent_path());
  EXPECT_EQ(again.status, 1);
  EXPECT_NE(again.err.find("already holds a world"), std::string::npos);
  Ran check = Tool("check blank", blank.parent_path());
  EXPECT_EQ(check.status, 0) << check.out;
  EXPECT_EQ(check.out, "blank: no problems\n");
  Scratch s;
  EXPECT_EQ(Tool("render '" + blank.string() + "' map.png", s.dir).status, 0);
  kit::Picture png;
  std::string error;
  ASSERT_TRUE(kit::ReadPng((s.dir / "map.png").string(), png, error)) << error;
  EXPECT_EQ(std::make_pair(png.w, png.h), std::make_pair(2048, 2048));
  fs::copy(blank, s.dir / "w", fs::copy_options::recursive);
  Put(s.dir / "w" / "map" / "phoebus.trg", "gate 1,1,1,1\n");
  Ran bad = Tool("check w", s.dir);
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.out, "w/map/phoebus.trg:1: trigger gate: bad numbers, record skipped\nw: 1 problem\n");

  RecordDraw textures;
  Checked(blank, textures);
  TEntity& me = Entities[players[0].ent];
  for (int f = 0; f < 120; f++) glutIdle(), glutDisplay();
  EXPECT_TRUE(OnGround(&me));
  EXPECT_NEAR(me.y + me.h, 54 * 8192, 256) << "the man stands on the floor of row 54";
  int32_t x0 = me.x;
  ScriptKeys keys;
  keys.held.insert('W');
  keyboard = &keys;
  for (int f = 0; f < 60; f++) glutIdle(), glutDisplay();
  EXPECT_GT(me.x, x0 + 8192) << "the man walks right";
}

// Every kind of mistake a world can hold, made in a copy of the default
// world, each named with its file and line.
TEST_F(KitWorld, ABrokenWorldHasEveryProblemNamed) {
  fs::path data = BuildDir() / "data";
  RecordDraw textures;
  ASSERT_EQ(Checked(data, textures), std::vector<std::string>{});
  uint32_t rock = 0;   // a tile of set 0 that is rock through and through
  for (int k = 0; k < 256 * 256 && !rock; k++) {
    int tx = k / 256, ty = k % 256, solid = 0;
    if ((mapt[tx][ty] & 0xFF00) != 0) continue;
    for (int p = 0; p < 64 * 64; p++) solid += GetXY(tx * 8192 + p % 64 * 128, ty * 8192 + p / 64 * 128) == 255;
    if (solid == 64 * 64) rock = mapt[tx][ty];
  }
  ASSERT_NE(rock, 0u);

  Scratch s;
  fs::path w = s.dir / "broken";
  fs::copy(data, w, fs::copy_options::recursive);
  std::string ent = Text(w / "map/phoebus.ent");
  auto line = [&](int n) {   // start of line n (1-based) of the class file
    size_t at = 0;
    for (int k = 1; k < n; k++) at = ent.find('\n', at) + 1;
    return at;
  };
  ent.replace(line(6), ent.find('\n', line(6)) - line(6), "rock 12,10,3,16,-1");
  ent.replace(line(16), ent.find('\n', line(16)) - line(16), "grenadeact 10,-10,14,8,1,200,0,0,40,10,1,4,1,0,243,1");
  ent.insert(line(18), "#weapons\n");
  Put(w / "map/phoebus.ent", ent);
  std::string epo = Text(w / "map/phoebus.epo");
  int placed = int(std::count(epo.begin(), epo.end(), '\n'));
  Put(w / "map/phoebus.epo", epo + "ghost 200,90,0,53,0,0,0,0,0,0\nfar 16,300,0,53,0,0,0,0,0,0\n"
                                   "bogus 999,90,0,53,0,0,0,0,0,0\nhalf 16,90\n");
  Put(w / "map/phoebus.trg", "ok 1,80,40,2,2\nbad 2,x,1,1,1\n");
  std::string map = Text(w / "map/phoebus.qnm");
  map.replace((92 * 256 + 53) * 4, 4, std::string(reinterpret_cast<const char*>(&rock), 4));
  Put(w / "map/phoebus.qnm", map);
  fs::resize_file(w / "gfx/tiles.raw", 1000);
  fs::remove(w / "gfx/m_tiles2.raw");
  Put(w / "sfx/splash.wav", "not a wave");
  fs::remove(w / "sfx/ric1.wav");
  Put(w / "gfx/ents/icer.raw", Text(w / "gfx/ents/icer.raw") + "xyz");

  std::vector<std::string> got = Checked(w, textures);
  auto epoLine = [&](int k) { return "map/phoebus.epo:" + std::to_string(placed + k) + ": "; };
  std::string want[] = {
      "map/phoebus.qnm:0: the player starts in solid rock, in tile (92, 53)",
      "sfx/ric1.wav:0: missing",
      "sfx/splash.wav:0: sound 7 cannot be played",
      "map/phoebus.ent:0: no class for kind 15 (grenadeact)",
      "map/phoebus.ent:6: class rock: only 5 of its 16 numbers read",
      "map/phoebus.ent:6: class of kind 5 takes sprite 3, already the picture of kind 4 (line 5)",
      "map/phoebus.ent:16: class grenadeact refused: negative size 10 x -10",
      "map/phoebus.ent:18: #weapons is not a class record, yet it takes kind 17 and every later class moves",
      "map/phoebus.ent:112: this record takes kind 111, past the last kind (110)",
      "gfx/ents/#weapons.raw:0: missing",
      "gfx/ents/icer.raw:0: 483 bytes, more than a 16 x 10 picture (480)",
      "gfx/m_tiles2.raw:0: missing: tile set 1 never collides",
      "gfx/tiles.raw:0: 1000 bytes, short of a 1024 x 1024 picture",
      epoLine(1) + "entity of kind 200 has no class",
      epoLine(2) + "entity of kind 16 (pistol) at pixel (19200, 3392) lies outside the map",
      epoLine(3) + "entity bogus refused: kind 999 outside 0..255",
      epoLine(4) + "entity half: only 2 of its 10 numbers read",
      "map/phoebus.trg:2: trigger bad: bad numbers, record skipped",
  };
  ASSERT_EQ(got.size(), std::size(want)) << ::testing::PrintToString(got);
  for (size_t k = 0; k < got.size(); k++) EXPECT_EQ(got[k].rfind(want[k], 0), 0u) << got[k];
}

// ---- the map picture --------------------------------------------------------------------------

struct KitRender : Fresh {};

// Each tile of the picture is what the game's own map drawing shows in the
// view's centre cell (full brightness): the texture coordinates it emits,
// sampled nearest, tinted and blended over black, in every tile set and
// mirroring and for the translucent blue tile.
TEST_F(KitRender, TilesAreDrawnAsTheGameDrawsThem) {
  RecordDraw textures;
  ASSERT_EQ(Checked(BuildDir() / "data", textures), std::vector<std::string>{});
  const uint32_t words[] = {17, 40 | uint32_t(mtX) << 28, 100 | 1 << 8 | uint32_t(mtY) << 28,
                            161 | 1 << 8 | uint32_t(mtXY) << 28, 191, 5 | 1 << 8};
  for (uint32_t word : words) {
    mapt[100][100] = word;
    kit::RenderOptions o;
    o.scale = 1, o.x = 100, o.y = 100, o.w = o.h = 1;
    o.entities = o.triggers = o.wind = o.water = o.labels = false;
    wg::Canvas picture;
    kit::RenderMap(textures, o, picture);

    RecordDraw game;
    draw = &game;
    oldx = 99 * 8192, oldy = 101 * 8192;   // cell (100, 100) in the view's centre, (6, 6)
    DisplayMap();
    draw = NullDraw();
    const std::vector<RecordDraw::Quad> quads = game.Quads();
    const RecordDraw::Quad* q = nullptr;
    for (const auto& quad : quads)
      if (std::min(quad.v[0].x, quad.v[2].x) == 448 && std::min(quad.v[0].y, quad.v[2].y) == 384) q = &quad;
    ASSERT_NE(q, nullptr) << word;
    const std::vector<int>& size = textures.textures.at(q->texture);
    const std::vector<uint8_t>& texels = textures.pixels.at(q->texture);
    int wrong = 0;
    for (int py = 0; py < 64; py++)
      for (int px = 0; px < 64; px++) {
        float x = 448 + px + 0.5f, y = 448 - (py + 0.5f);
        float s = q->v[0].s + (q->v[2].s - q->v[0].s) * (x - q->v[0].x) / (q->v[2].x - q->v[0].x);
        float t = q->v[0].t + (q->v[2].t - q->v[0].t) * (y - q->v[0].y) / (q->v[2].y - q->v[0].y);
        const uint8_t* texel =
            &texels[(size_t(std::floor(t * size[1])) * size[0] + size_t(std::floor(s * size[0]))) * 4];
        float a = q->v[0].a * texel[3] / 255.0f;
        float tint[3] = {std::min(q->v[0].r, 1.0f), std::min(q->v[0].g, 1.0f), std::min(q->v[0].b, 1.0f)};
        wg::Rgb got = picture.Get(px, py);
        uint8_t channel[3] = {got.r, got.g, got.b};
        for (int c = 0; c < 3; c++) wrong += std::abs(channel[c] - texel[c] * tint[c] * a) > 1;
      }
    EXPECT_EQ(wrong, 0) << "tile word " << std::hex << word;
  }
}

// Each layer can be left out, and with every one left out the picture is black.
TEST_F(KitRender, EveryLayerCanBeLeftOut) {
  RecordDraw textures;
  Checked(BuildDir() / "data", textures);
  for (auto& column : mapt)
    for (uint32_t& cell : column) cell = 17;   // one tile everywhere keeps the test quick
  kit::RenderOptions all;
  all.x = 60, all.y = 36, all.w = 100, all.h = 100;   // a trigger, winds, the water line, entities
  bool kit::RenderOptions::*layers[] = {&kit::RenderOptions::tiles,    &kit::RenderOptions::entities,
                                        &kit::RenderOptions::triggers, &kit::RenderOptions::wind,
                                        &kit::RenderOptions::water,    &kit::RenderOptions::labels};
  wg::Canvas full, part;
  kit::RenderMap(textures, all, full);
  kit::RenderOptions none = all;
  for (auto layer : layers) {
    kit::RenderOptions o = all;
    o.*layer = false;
    none.*layer = false;
    kit::RenderMap(textures, o, part);
    EXPECT_NE(std::memcmp(part.px.data(), full.px.data(), full.px.size() * 3), 0)
        << "a layer left out changed nothing";
  }
  kit::RenderMap(textures, none, part);
  EXPECT_TRUE(std::all_of(part.px.begin(), part.px.end(), [](wg::Rgb c) { return c.r + c.g + c.b == 0; }));
}

// ---- the folder the game plays in -------------------------------------------------------------

TEST(WorldFolder, ThePlayersOwnFolderByTheEnvironment) {
  struct Case { const char *xdg, *home, *want; } cases[] = {
      {"/x/data", "/h", "/x/data/quarn/world"},
      {nullptr, "/h", "/h/.local/share/quarn/world"},
      {"", "/h", "/h/.local/share/quarn/world"},
      {"relative", "/h", "/h/.local/share/quarn/world"},
      {nullptr, nullptr, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(PlayersWorldFolder(c.xdg, c.home), c.want);
}

// Inside a data folder the game stays; outside it plays in the player's own
// world, copied on first use from the installed one (beside the program, else
// in XDG_DATA_DIRS) and kept from then on.
TEST(WorldFolder, OutsideADataFolderThePlayersWorldIsUsedAndMadeOnce) {
  Scratch s;
  fs::path empty = s.dir / "empty", data = s.dir / "data", world = s.dir / "home/quarn/world";
  fs::path prefix = s.dir / "prefix", installed = prefix / "share/quarn/world";
  for (const fs::path& d : {empty, data / "gfx", installed / "map", s.dir / "xdg/quarn/world/map"})
    fs::create_directories(d);
  Put(installed / "map/phoebus.qnm", "installed");

  EXPECT_EQ(InstalledWorld((prefix / "bin/quarn").string(), ""), installed.string());
  EXPECT_EQ(InstalledWorld("/nowhere/bin/quarn", ("/none:" + (s.dir / "xdg").string()).c_str()),
            (s.dir / "xdg/quarn/world").string());
  EXPECT_EQ(InstalledWorld("/nowhere/bin/quarn", "/none"), "");

  std::string line;
  EXPECT_EQ(ChooseWorldFolder(data.string(), world.string(), installed.string(), line), "");
  EXPECT_EQ(line, "");
  EXPECT_EQ(ChooseWorldFolder(empty.string(), world.string(), "", line), "");
  EXPECT_EQ(line, "") << "with nothing installed the game starts here as it always has";
  EXPECT_EQ(ChooseWorldFolder(empty.string(), world.string(), installed.string(), line), world.string());
  EXPECT_EQ(line, "world folder: " + world.string() + " (copied from " + installed.string() + ")");
  EXPECT_EQ(Text(world / "map/phoebus.qnm"), "installed");
  Put(world / "map/phoebus.qnm", "played");
  EXPECT_EQ(ChooseWorldFolder(empty.string(), world.string(), installed.string(), line), world.string());
  EXPECT_EQ(line, "world folder: " + world.string());
  EXPECT_EQ(Text(world / "map/phoebus.qnm"), "played") << "the player's world is never copied over";
  EXPECT_EQ(std::distance(fs::directory_iterator(world.parent_path()), fs::directory_iterator()), 1)
      << "no part-copy is left beside it";
}
