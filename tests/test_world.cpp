// The default world that the build generates into BUILD/data: every file has
// the size and format its loader expects, the game's own loaders read it, and
// the world honours its fixed points and plays under the game's rules.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <queue>
#include <set>
#include <string>
#include <vector>

#include "platform/fakeaudio.h"
#include "platform/testseams.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

// The test binary is BUILD/tests/quarn_tests; the world is BUILD/data, written
// by BUILD/quarn-world generate.
fs::path BuildDir() {
  return fs::canonical("/proc/self/exe").parent_path().parent_path();
}
fs::path DataDir() {
  if (const char* d = std::getenv("QUARN_WORLD_DIR")) return d;
  return BuildDir() / "data";
}

std::vector<uint8_t> ReadFile(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

// Loads the world through the game's own loaders, from inside the data
// folder, as the game does at start.
struct GeneratedWorld : Fresh {
  fs::path old;
  void SetUp() override {
    Fresh::SetUp();
    old = fs::current_path();
    ASSERT_TRUE(fs::exists(DataDir() / "map" / "phoebus.qnm"))
        << "no generated world in " << DataDir() << ": build the default-world target";
    fs::current_path(DataDir());
    InitialiseMap("map\\phoebus.qnm");
    LoadMask("gfx\\m_tiles.raw", 0);
    LoadMask("gfx\\m_tiles2.raw", 1);
  }
  void TearDown() override {
    fs::current_path(old);
    Fresh::TearDown();
  }
  static int Tile(int tx, int ty) { return static_cast<int>(mapt[tx][ty] & 255); }
  static int Set(int tx, int ty) { return static_cast<int>((mapt[tx][ty] >> 8) & 255); }
  // Does a box (pixels) touch solid rock? Every pixel is probed.
  static bool HitsRock(int x, int y, int w, int h) {
    for (int j = y; j < y + h; j++)
      for (int i = x; i < x + w; i++)
        if (GetXY(i * 128, j * 128) == 255) return true;
    return false;
  }
  static bool TileOpen(int tx, int ty) { return !HitsRock(tx * 64, ty * 64, 64, 64); }
};

// ---- files and formats ----------------------------------------------------------------

// Every file's size, the class records, their pictures and sprites, the
// placements and the player's start are checked by quarn-world check, which
// passes on this world (test_kit.cpp).

TEST_F(GeneratedWorld, TheGameCachesAndPlaysEverySoundFile) {
  FakeAudio device;
  audio = &device;
  testing::internal::CaptureStdout();
  ASSERT_EQ(InitSoundSystem(0), 1);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 18) << out;   // "Loaded sound ..." lines
  // every cached effect becomes a buffer of mono PCM at a rate of the era,
  // played at its own rate, and is a sound, not silence: some sample of a
  // 16-bit wave reaches a quarter of full scale
  for (int id = es_waspbuzz; id <= es_chimppain2; id++) {
    if (id == es_cannonshot || id == es_bigexplosion) continue;   // no files for these
    size_t made = device.buffers.size();
    PlaySFX(static_cast<TSoundId>(id));
    ASSERT_EQ(device.buffers.size(), made + 1) << "sound " << id << " was not accepted";
    const FakeAudio::Buffer& b = device.buffers.back();
    EXPECT_EQ(b.fmt.channels, 1) << id;
    EXPECT_TRUE(b.fmt.rate == 11025 || b.fmt.rate == 22050) << id;
    EXPECT_GT(b.pcm.size(), 1000u) << id;
    int peak = 0;
    for (size_t k = 0; b.fmt.bits == 16 && k + 1 < b.pcm.size(); k += 2)
      peak = std::max(peak, std::abs(static_cast<int>(static_cast<int16_t>(b.pcm[k] | b.pcm[k + 1] << 8))));
    EXPECT_TRUE(b.fmt.bits == 8 || peak > 8000) << id;
    ASSERT_FALSE(device.plays.empty());
    EXPECT_EQ(device.plays.back().rate, b.fmt.rate) << id;
  }
  FreeSoundSystem();
  audio = NoAudio();
}

// ---- classes and pictures ---------------------------------------------------------------

TEST_F(GeneratedWorld, TheGameLoadsEveryClassAndTheRulesPlayWell) {
  InitialiseEntities("map\\phoebus.ent");
  for (int k = 1; k <= 110; k++) EXPECT_EQ(EntityClass[k].kind, k);
  EXPECT_EQ(EntityClass[111].kind, 0);
  const TEntityClass& m = EntityClass[man];
  // walking frames 0..2 and the airborne frame 4 exist in the man's strip
  ASSERT_GT(m.framedx, 0.0f);
  EXPECT_LE(m.framedx * 5, 1.0001f);
  // the jetpack (8 per frame, 16 boosted) beats gravity, and so does the wind
  // of the updraft shaft; the player can swim up
  ASSERT_GT(m.mass, 0);
  EXPECT_LT(192 / m.mass, 8);
  EXPECT_GT(768 / m.mass, 192 / m.mass);
  EXPECT_GT(256 / m.mass, 0);
  EXPECT_EQ(m.dmg, 0) << "a man with contact damage would shrug off every shot";
  EXPECT_GT(m.hp, 0);
  // projectiles move and die on contact
  for (TEntityKind k : {bullet, ice, plasma, yellowshell, blueshell, shock, guidedice, grenadeact}) {
    EXPECT_GT(EntityClass[k].mass, 0) << k;
    EXPECT_EQ(EntityClass[k].dieoncontact, 1) << k;
    EXPECT_GT(EntityClass[k].lifespan, 0) << k;
  }
  // pick-ups can be picked up (they need mass); doors and nests stay put
  for (int k : {urn, urnfull, rock, pistol, icer, blaster, plasmagun, protsuit, grenade, key1, key6})
    EXPECT_GT(EntityClass[k].mass, 0) << k;
  for (int k = greendoor; k <= tiledoorh; k++) EXPECT_EQ(EntityClass[k].mass, 0) << k;
  for (int k : {greennest, waspnest, piranhanest, spawner, dropper, gargoyle}) EXPECT_EQ(EntityClass[k].mass, 0) << k;
  // every creature with hit points dies to the weapons: shots hurt those that
  // deal no contact damage, a grenade's blast (1024 >> 3) the rest
  int shot = std::max({EntityClass[bullet].dmg, EntityClass[ice].dmg, EntityClass[plasma].dmg});
  for (int k = 1; k <= 110; k++) {
    const TEntityClass& c = EntityClass[k];
    if (k == man || c.hp <= 0) continue;
    if (c.dmg == 0) {
      EXPECT_LE(c.hp, 10 * shot) << k;
    } else {
      EXPECT_LE(c.hp, 1024 >> 3) << k;
    }
  }
  EXPECT_EQ(EntityClass[buzzball].particlespray, 1);
  // the map seeds mushrooms for as long as their beds are in view: they must
  // expire, or they fill the entity table
  EXPECT_GT(EntityClass[redshroom].lifespan, 0);
  EXPECT_GT(EntityClass[blueshroom].lifespan, 0);
  EXPECT_GT(EntityClass[redshroom].mass, 0) << "seeded mushrooms fall to the floor below";
}

// ---- tile sets ---------------------------------------------------------------------------

TEST(GeneratedWorldTiles, ColourAndMaskAgreeInEveryCell) {
  for (int s = 0; s < 2; s++) {
    std::vector<uint8_t> col = ReadFile(DataDir() / "gfx" / (s ? "tiles2.raw" : "tiles.raw"));
    std::vector<uint8_t> msk = ReadFile(DataDir() / "gfx" / (s ? "m_tiles2.raw" : "m_tiles.raw"));
    ASSERT_EQ(col.size(), 1024u * 1024 * 3);
    ASSERT_EQ(msk.size(), 1024u * 1024);
    int bad = 0, odd = 0;
    for (int r = 0; r < 1024; r++)      // r counts from the top of the picture
      for (int c = 0; c < 1024; c++) {
        size_t ci = (static_cast<size_t>(1023 - r) * 1024 + c) * 3;   // colour: bottom row first
        bool cyan = col[ci] == 0 && col[ci + 1] == 255 && col[ci + 2] == 255;
        uint8_t m = msk[static_cast<size_t>(r) * 1024 + c];          // mask: top row first
        if (m != 0 && m != 128 && m != 255) odd++;
        if (m == 255 && cyan) bad++;
      }
    EXPECT_EQ(bad, 0) << "set " << s << ": rock that is drawn transparent";
    EXPECT_EQ(odd, 0) << "set " << s << ": mask bytes other than open, water and rock";
    // a floor cell is rock at the bottom and open at the top in both files
    int n = (s == 0 ? 16 : 0) + 12;   // first rock family, bottom half rock
    int cx = (n % 16) * 64 + 32, cy = (n / 16) * 64;
    EXPECT_EQ(msk[static_cast<size_t>(cy + 60) * 1024 + cx], 255);
    EXPECT_EQ(msk[static_cast<size_t>(cy + 2) * 1024 + cx], 0);
    size_t top = (static_cast<size_t>(1023 - (cy + 2)) * 1024 + cx) * 3;
    EXPECT_TRUE(col[top] == 0 && col[top + 1] == 255 && col[top + 2] == 255) << "set " << s;
    // water: tile 191 is water through and through, and drawn (the game
    // tints it blue, so a transparent texel would leave a hole)
    for (int v = 0; v < 64; v += 7)
      for (int u = 0; u < 64; u += 7) {
        int r = (191 / 16) * 64 + v, c = (191 % 16) * 64 + u;
        EXPECT_EQ(msk[static_cast<size_t>(r) * 1024 + c], 128);
        size_t o = (static_cast<size_t>(1023 - r) * 1024 + c) * 3;
        EXPECT_FALSE(col[o] == 0 && col[o + 1] == 255 && col[o + 2] == 255);
      }
  }
}

// ---- the HUD, the menu and the digits ----------------------------------------------------

// Pixel of a raw picture stored bottom row first, counted from the bottom.
struct Raw {
  std::vector<uint8_t> b;
  int w;
  uint32_t At(int x, int yFromBottom) const {
    size_t o = (static_cast<size_t>(yFromBottom) * w + x) * 3;
    return b[o] << 16 | b[o + 1] << 8 | b[o + 2];
  }
  bool Cyan(int x, int y) const { return At(x, y) == 0x00FFFF; }
};

TEST(GeneratedWorldScreens, TheMenuShowsSixItemsAndTheDigitsAndSymbolsAreDrawn) {
  // the menu's six shown cells are the image's lowest two bands of 160 x 32
  // (its first file rows); each is an opaque panel with text on it
  Raw menu{ReadFile(DataDir() / "gfx" / "menu.raw"), 512};
  ASSERT_EQ(menu.b.size(), 512u * 128 * 3);
  for (int i = 0; i < 6; i++) {
    int x0 = (i % 3) * 160, y0 = (i / 3) * 32;
    std::set<uint32_t> colours;
    int cyan = 0;
    for (int y = y0; y < y0 + 32; y++)
      for (int x = x0; x < x0 + 160; x++) {
        colours.insert(menu.At(x, y));
        cyan += menu.Cyan(x, y);
      }
    EXPECT_EQ(cyan, 0) << "menu item " << i;
    EXPECT_GE(colours.size(), 3u) << "menu item " << i << " has no text";
  }
  // digits 0..9 and five pass symbols: drawn, and all different
  Raw nums{ReadFile(DataDir() / "gfx" / "nums.raw"), 256};
  ASSERT_EQ(nums.b.size(), 256u * 16 * 3);
  std::set<std::vector<uint32_t>> cells;
  for (int c = 0; c < 15; c++) {
    std::vector<uint32_t> px;
    int ink = 0;
    for (int y = 0; y < 16; y++)
      for (int x = c * 16; x < c * 16 + 16; x++) {
        px.push_back(nums.At(x, y));
        ink += !nums.Cyan(x, y);
      }
    EXPECT_GT(ink, 20) << "cell " << c;
    cells.insert(px);
  }
  EXPECT_EQ(cells.size(), 15u);
  // the particle is round: opaque in the middle, transparent in the corners
  Raw smoke{ReadFile(DataDir() / "gfx" / "smoke.raw"), 64};
  EXPECT_FALSE(smoke.Cyan(32, 32));
  EXPECT_TRUE(smoke.Cyan(0, 0) && smoke.Cyan(63, 63));
}

TEST(GeneratedWorldScreens, TheHudPanelFramesWhatTheHudDrawsOnIt) {
  // the panel spans the scene's x 96..736, y 172..256; its pixel (u, v from
  // the bottom) lies under the scene point (96 + 1.25 u, 172 + 84 v / 64)
  Raw hud{ReadFile(DataDir() / "gfx" / "hud.raw"), 512};
  ASSERT_EQ(hud.b.size(), 512u * 64 * 3);
  auto under = [&](float x, float y) {
    return hud.At(static_cast<int>((x - 96) * 0.8f), static_cast<int>((y - 172) * 64 / 84));
  };
  // the seven bars (x 106 + 10i .. 112 + 10i from y 180 up) stand on dark
  // slots, one colour from bottom to top of each slot
  for (int i = 0; i < 7; i++) {
    uint32_t slot = under(109 + 10.0f * i, 200);
    EXPECT_EQ(under(109 + 10.0f * i, 222), slot) << "bar " << i;
    EXPECT_LT((slot >> 16) + (slot >> 8 & 255) + (slot & 255), 120u) << "bar " << i;
  }
  // the score's digits (x 628.., y 228..244) sit in an even box
  EXPECT_EQ(under(640, 236), under(690, 236));
  EXPECT_EQ(under(640, 236), under(660, 230));
  for (int y = 0; y < 64; y++)
    for (int x = 0; x < 512; x++) ASSERT_FALSE(hud.Cyan(x, y)) << "the panel has a hole at " << x << "," << y;
}

// ---- the map -------------------------------------------------------------------------------

TEST_F(GeneratedWorld, WaterFillsEveryOpenPlaceBelowTheLineAndNothingAbove) {
  int above = 0, dry = 0, wrongTile = 0;
  for (int tx = 0; tx < 256; tx++)
    for (int ty = 0; ty < 256; ty++) {
      bool under = ty >= 134;
      for (int v = 4; v < 64; v += 20)
        for (int u = 4; u < 64; u += 20) {
          uint8_t m = GetXY((tx * 64 + u) * 128, (ty * 64 + v) * 128);
          if (!under && m == 128) above++;
          if (under && m == 0) dry++;
        }
      // open water is the translucent water tile
      if (under && (Tile(tx, ty) == 0 || (TileOpen(tx, ty) && Tile(tx, ty) != 191))) wrongTile++;
    }
  EXPECT_EQ(above, 0);
  EXPECT_EQ(dry, 0);
  EXPECT_EQ(wrongTile, 0);
}

TEST_F(GeneratedWorld, TheWindAreasAndTheTeleportFallbackAreRealPlaces) {
  // the updraft: tile column 154, whose wind lifts the man, open from row
  // 38 to 166, between walls that fill the tiles beside it whole but at a
  // few doors, so that wherever he is in the shaft the wind lifts him
  int doorRows = 0;
  for (int ty = 38; ty <= 166; ty++) {
    EXPECT_TRUE(TileOpen(154, ty)) << ty;
    bool walls = true;
    for (int j = ty * 64; j < ty * 64 + 64 && walls; j += 4)
      walls = GetXY(153 * 8192 + 63 * 128, j * 128) == 255 && GetXY(155 * 8192, j * 128) == 255;
    doorRows += !walls;
  }
  EXPECT_GE(doorRows, 6);
  EXPECT_LE(doorRows, 32) << "the shaft is not lined";
  // the down-draft, 2 by 2 at (134, 41)
  for (int tx = 134; tx <= 135; tx++)
    for (int ty = 41; ty <= 42; ty++) EXPECT_TRUE(TileOpen(tx, ty)) << tx << "," << ty;
  // the fallback tile of the teleport, open under the cloud bank
  EXPECT_TRUE(TileOpen(127, 1));
}

TEST_F(GeneratedWorld, BothTileSetsAndAFewMushroomBedsAreUsed) {
  int set0 = 0, set1 = 0, blue = 0, red = 0, holes = 0;
  for (int tx = 0; tx < 256; tx++)
    for (int ty = 0; ty < 256; ty++) {
      holes += Tile(tx, ty) == 0 && mapt[tx][ty] != 0;
      if (Tile(tx, ty) == 0) continue;
      (Set(tx, ty) == 0 ? set0 : set1)++;
      EXPECT_LE(Set(tx, ty), 1);
      EXPECT_EQ(mapt[tx][ty] >> 16, 0u) << "unused bits and flips stay clear";
      if (Set(tx, ty) == 0 && Tile(tx, ty) == 1) blue++;
      if (Set(tx, ty) == 0 && Tile(tx, ty) == 2) red++;
      if (Set(tx, ty) == 0 && (Tile(tx, ty) == 1 || Tile(tx, ty) == 2)) {
        // mushrooms seed in open air, far from the armoury, and fall to a floor
        EXPECT_TRUE(TileOpen(tx, ty));
        EXPECT_FALSE(std::abs(tx - 96) < 20 && std::abs(ty - 53) < 10) << tx << "," << ty;
        EXPECT_TRUE(HitsRock(tx * 64 + 8, ty * 64 + 64, 48, 128)) << tx << "," << ty;
      }
    }
  EXPECT_EQ(holes, 0) << "words of tile 0 in a set: empty, whatever the set";
  EXPECT_GT(set0, 1000);
  EXPECT_GT(set1, 1000);
  EXPECT_GE(blue, 1);
  EXPECT_GE(red, 1);
  EXPECT_LE(blue + red, 8) << "seeding tiles belong in a few places, not everywhere";
}

// ---- placements and triggers ---------------------------------------------------------------

// Flood fill over 16-pixel cells where a box the player's size fits, from
// the start; a cell is a box position (its top-left corner).
std::vector<uint8_t> ReachableFromStart() {
  const int N = 256 * 4;
  std::vector<uint8_t> freecell(N * N, 0), seen(N * N, 0);
  for (int cy = 0; cy < N; cy++)
    for (int cx = 0; cx < N; cx++) {
      bool ok = true;
      for (int j = 0; j < 32 && ok; j += 4)
        for (int i = 0; i < 24 && ok; i += 4)
          ok = GetXY((cx * 16 + i) * 128, (cy * 16 + j) * 128) != 255;
      freecell[cy * N + cx] = ok;
    }
  std::queue<int> q;
  int s = (3392 / 16) * N + 5888 / 16;
  seen[s] = 1;
  q.push(s);
  while (!q.empty()) {
    int c = q.front();
    q.pop();
    int cx = c % N, cy = c / N;
    const int d[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (auto& dd : d) {
      int nx = cx + dd[0], ny = cy + dd[1];
      if (nx < 0 || ny < 0 || nx >= N || ny >= N) continue;
      int n = ny * N + nx;
      if (!seen[n] && freecell[n]) {
        seen[n] = 1;
        q.push(n);
      }
    }
  }
  return seen;
}

TEST_F(GeneratedWorld, PlacementsLieInOpenSpaceAndTheDroppersTriggersCanBeReached) {
  InitialiseEntities("map\\phoebus.ent");
  SpawnEntities("map\\phoebus.epo");
  InitialiseTriggers("map\\phoebus.trg");
  std::set<int> kinds;
  int placed = 0;
  std::vector<int> droppers;
  for (int i = 0; i < MAX_ENTITIES; i++) {
    const TEntity& e = Entities[i];
    if (e.kind == blank) continue;
    placed++;
    kinds.insert(e.kind);
    EXPECT_GE(e.x, 0);
    EXPECT_GE(e.y, 0);
    EXPECT_LT(e.x + e.w, 256 * 8192);
    EXPECT_LT(e.y + e.h, 256 * 8192);
    EXPECT_GT(e.w, 0) << "kind " << e.kind << " has no class";
    EXPECT_FALSE(HitsRock(e.x / 128, e.y / 128, e.w / 128, e.h / 128)) << "kind " << e.kind << " at tile "
                                                                      << e.x / 8192 << "," << e.y / 8192;
    if (e.kind == dropper) droppers.push_back(i);
    // producers name what they produce
    if (e.kind == waspnest || e.kind == piranhanest || e.kind == spawner || e.kind == dropper) {
      EXPECT_GT(e.subtype, 0);
      EXPECT_GT(e.subtypemax, 0);
    }
  }
  EXPECT_GT(placed, 60);
  // nothing starts touching something else (touching entities collide at once)
  for (int i = 0; i < MAX_ENTITIES; i++)
    for (int j = i + 1; j < MAX_ENTITIES; j++) {
      const TEntity &a = Entities[i], &b = Entities[j];
      if (a.kind == blank || b.kind == blank) continue;
      bool touch = a.x <= b.x + b.w && b.x <= a.x + a.w && a.y <= b.y + b.h && b.y <= a.y + a.h;
      EXPECT_FALSE(touch) << "kinds " << a.kind << " and " << b.kind << " start touching";
    }
  // every creature family somewhere, and the world's furniture
  for (int k : {greenbird, whitebird, bat, pinkbird, whitewasp, greenwasp, buzzball, whiteburger, cyanburger,
                pinkdalek, reddalek, bluedalek, redimp, blueimp, cyanimp, mutantimp, gargoyle, pinkgrub,
                yellowgrub, redfrog, harry, cyantele, triax, fluffy, bigfish, greenfish, redfish, redglook,
                waspnest, piranhanest, spawner, dropper, greennest, urn, key1, greendoor, fire})
    EXPECT_TRUE(kinds.count(k)) << "kind " << k << " is not placed";
  // urns wait on a shore just above the water line
  int urns = 0;
  for (const TEntity& e : Entities)
    if (e.kind == urn && e.y + e.h < 8576 * 128 && e.y > (8576 - 12 * 64) * 128) urns++;
  EXPECT_GE(urns, 1);

  std::vector<uint8_t> reach = ReachableFromStart();
  const int N = 1024;
  ASSERT_FALSE(droppers.empty());
  for (int d : droppers) {
    const TEntity& e = Entities[d];
    ASSERT_GT(e.triggerid, 0);
    const TTrigger* t = nullptr;
    for (const TTrigger& tr : Triggers)
      if (tr.id == e.triggerid && tr.triggered == 0) t = &tr;
    ASSERT_NE(t, nullptr) << "dropper " << d << " has no trigger of its own";
    // the player's top-left corner must be able to stand inside the rectangle
    bool can = false;
    for (int cy = t->y / 2048; cy <= t->h / 2048 && !can; cy++)
      for (int cx = t->x / 2048; cx <= t->w / 2048 && !can; cx++)
        if (cx < N && cy < N && reach[cy * N + cx]) can = true;
    EXPECT_TRUE(can) << "trigger " << t->id << " cannot be reached from the start";
  }
}

// Nothing can leave the world: no place the player fits, reached from the
// start, lies on the map's edge (outside it nothing is solid). The
// teleport's fallback and the shaft are part of the same world.
TEST_F(GeneratedWorld, TheWorldIsClosedAndTheFallbackAndTheShaftBelongToIt) {
  std::vector<uint8_t> reach = ReachableFromStart();
  const int N = 1024;
  int edge = 0;
  for (int c = 0; c < N; c++)
    edge += reach[c] + reach[(N - 1) * N + c] + reach[c * N] + reach[c * N + N - 2];
  EXPECT_EQ(edge, 0) << "the player can reach the map's edge";
  EXPECT_TRUE(reach[(1 * 4) * N + 127 * 4]) << "the fallback at tile (127, 1)";
  EXPECT_TRUE(reach[(60 * 4) * N + 154 * 4]) << "the shaft at tile (154, 60)";
}

// ---- playing it ----------------------------------------------------------------------------

// The game started in the generated world by its own start-up (with the
// null window, drawing and sound), then run frame by frame through the idle
// and display passes.
struct GeneratedWorldPlay : GeneratedWorld {
  ScriptKeys keys;
  int frame = 0;
  void SetUp() override {
    GeneratedWorld::SetUp();
    testing::internal::CaptureStdout();
    InitApplication(0);
    glInit();
    keyboard = &keys;
  }
  void TearDown() override {
    // the console is kept out of the way unless something failed, when it
    // holds the failure messages too
    std::string console = testing::internal::GetCapturedStdout();
    if (HasFailure()) std::cout << console;
    GeneratedWorld::TearDown();
  }
  template <typename Until>
  void Run(int frames, Until until) {
    for (int f = 0; f < frames && !until(); f++, frame++) {
      keys.SetFrame(frame);
      glutIdle();
      glutDisplay();
    }
  }
  static constexpr int32_t kT = 8192;   // a tile, in world units
  static constexpr int kShaft = 154;    // the updraft's tile column
  TEntity& me = Entities[0];
  int flights = 0;   // frames on the road's level floor showing the airborne frame
  // holds the keys until `until` holds or the frames run out; true if it held
  template <typename Until>
  bool Hold(std::set<int> held, int frames, Until until) {
    keys.held = held;
    Run(frames, until);
    return until();
  }
  // from the start east along the road with N held (the armoury on the
  // way), up the ledge before the shaft and through the door in its west
  // wall, into the shaft
  bool ToTheShaft() {
    Hold({}, 100, [] { return false; });
    bool level = Hold({'W', 'N'}, 5000, [&] {
      if (me.frame == 4) flights++;
      return me.x + me.w >= 147 * kT;   // the foot of the ledge
    });
    Hold({'P'}, 300, [&] { return me.y < 51 * kT; });
    return level && Hold({'W'}, 300, [&] { return me.x >= kShaft * kT; });
  }
};

// The routes a newcomer walks: each is played from the start with walking,
// flying and pick-up keys, as a player would, and must arrive. The man
// starts a tile above the floor and drops onto it first.
TEST_F(GeneratedWorldPlay, WalkingEastTakesTheWholeArmouryAndOnlyIt) {
  TPlayerState& p = players[0];
  Hold({}, 100, [] { return false; });
  Hold({'W', 'N'}, 600, [&] { return me.frame == 4 || me.x > 101 * kT; });
  EXPECT_EQ(std::vector<int32_t>(p.nrg, p.nrg + 5), (std::vector<int32_t>{512, 512, 256, 512, 256}));
  EXPECT_EQ(p.score, 500);
  EXPECT_EQ(p.held.kind, blank) << "the hand took something that is not a weapon";
  EXPECT_NE(me.frame, 4) << "the armoury's floor tipped him into flight";
}

// The updraft of column 154 lifts the man wherever he is in the shaft: at
// its west wall, its middle and its east wall, from the water at its foot
// and from half way up, with no key held, out at the top onto the gallery.
TEST_F(GeneratedWorldPlay, TheUpdraftLiftsWhereverTheManIsInTheShaft) {
  for (int32_t y : {150 * kT, 90 * kT})
    for (int32_t x : {kShaft * kT, kShaft * kT + 3000, kShaft * kT + 64 * 128 - me.w - 1}) {
      me.x = x, me.y = y, me.dx = me.dy = 0;
      EXPECT_TRUE(Hold({}, 3000, [&] { return me.y < 37 * kT; })) << "at " << x << "," << y << " stuck at row " << me.y / kT;
      EXPECT_EQ(me.x / kT, kShaft) << "drifted out of the column";
    }
}

// The east road walked to the shaft on its level floor; down into the water
// at the shaft's foot with the jetpack, then out of it on the updraft alone,
// and off onto the gallery over the shaft.
TEST_F(GeneratedWorldPlay, TheEastRoadThenIntoTheWaterAndOutOnTheUpdraft) {
  ASSERT_TRUE(ToTheShaft()) << "stuck at tile " << me.x / kT << "," << me.y / kT;
  EXPECT_EQ(flights, 0) << "frames of flight on the level road";
  EXPECT_TRUE(Hold({'L'}, 3000, [&] { return me.y >= 136 * kT; })) << "not in the water: row " << me.y / kT;
  EXPECT_TRUE(Hold({}, 3000, [&] { return me.y < 37 * kT; })) << "the updraft left him at row " << me.y / kT;
  EXPECT_TRUE(Hold({'Q'}, 300, [&] { return me.x < 150 * kT && OnGround(&me); })) << "not on the gallery";
}

// West from the start to the trap room: a drop into it starts the dropper,
// which lets its creatures down; the jetpack lifts him back out to the
// start chamber.
TEST_F(GeneratedWorldPlay, TheTrapRoomWestOfTheStartAndBack) {
  Hold({}, 100, [] { return false; });
  const TEntity* drop = nullptr;
  for (const TEntity& e : Entities)
    if (e.kind == dropper && e.triggerid == 1) drop = &e;
  ASSERT_NE(drop, nullptr);
  auto children = [&] {
    int n = 0;
    for (const TEntity& e : Entities) n += e.kind == drop->subtype && e.parentent == drop;
    return n;
  };
  EXPECT_TRUE(Hold({'Q'}, 1500, [&] { return me.x < 76 * kT; }));
  EXPECT_TRUE(Hold({}, 600, [&] { return drop->triggered != 0 && OnGround(&me); })) << "at " << me.x / kT << "," << me.y / kT;
  EXPECT_TRUE(Hold({}, 200, [&] { return children() >= 3; }));
  EXPECT_TRUE(Hold({'P'}, 600, [&] { return me.y < 52 * kT; }));
  EXPECT_TRUE(Hold({'W', 'P'}, 200, [&] { return me.x > 80 * kT; }));
  EXPECT_TRUE(Hold({'W'}, 1000, [&] { return me.x > 90 * kT; })) << "at " << me.x / kT << "," << me.y / kT;
}

// Riding the updraft with W held, he slides in at the shaft's upper east
// door and walks the level passage to the gargoyle hall; walking back west
// drops him into the shaft, whose updraft takes him up to the gallery.
TEST_F(GeneratedWorldPlay, TheGargoyleHallThroughTheShaftsEastDoor) {
  ASSERT_TRUE(ToTheShaft());
  EXPECT_TRUE(Hold({'L'}, 2000, [&] { return me.y >= 80 * kT; }));
  EXPECT_TRUE(Hold({'W'}, 5000, [&] { return me.x >= 175 * kT; })) << "at " << me.x / kT << "," << me.y / kT;
  EXPECT_TRUE(Hold({'Q'}, 3000, [&] { return me.x < 155 * kT; }));
  EXPECT_TRUE(Hold({}, 3000, [&] { return me.y < 37 * kT; })) << "at " << me.x / kT << "," << me.y / kT;
}

// What is pushed along the road stays on it: nothing but the man crosses
// the ledge into the shaft.
TEST_F(GeneratedWorldPlay, ThingsPushedAlongTheRoadStopBeforeTheShaft) {
  const int kinds[] = {RCD, fluffy, rock, grenade};
  std::vector<int> slots;
  for (int k = 0; k < 4; k++) {
    SpawnEntity(static_cast<TEntityKind>(kinds[k]), (140 + 2 * k) * 8192, 53 * 8192, blank, 0, flNorm, 0, 0);
    for (int i = MAX_ENTITIES - 1; i > 0; i--)
      if (Entities[i].kind == kinds[k] && Entities[i].x == (140 + 2 * k) * 8192) slots.push_back(i);
  }
  ASSERT_EQ(slots.size(), 4u);
  for (int f = 0; f < 600; f++) {
    for (int i : slots) Entities[i].dx = 900;   // shoved east, hard, every frame
    Run(1, [] { return false; });
  }
  for (int i : slots) EXPECT_LT(Entities[i].x, 150 * 8192) << "kind " << Entities[i].kind;
}

TEST_F(GeneratedWorldPlay, TheJetpackStopsUnderTheClouds) {
  me.x = 110 * kT, me.y = 12 * kT;   // in the sky over the calm valley
  Hold({'P'}, 600, [] { return false; });
  EXPECT_GE(me.y, 6 * kT) << "flew into the clouds";
  EXPECT_LT(me.y, 8 * kT) << "did not climb to them";
}

// ---- the generator -----------------------------------------------------------------------

TEST(GeneratedWorldGenerator, TwoRunsWriteTheSameBytes) {
  // the build's own run is the first; a second into a scratch folder must
  // match it byte for byte (a third run stands in if there is no build data)
  fs::path gen = BuildDir() / "quarn-world";
  ASSERT_TRUE(fs::exists(gen));
  std::string generate = gen.string() + " generate ";
  fs::path tmp = fs::temp_directory_path() / ("quarn-world-" + std::to_string(getpid()));
  fs::path a = tmp / "a", b = DataDir();
  ASSERT_EQ(std::system((generate + a.string() + " > /dev/null").c_str()), 0);
  if (!fs::exists(b / "map" / "phoebus.qnm")) {
    b = tmp / "b";
    ASSERT_EQ(std::system((generate + b.string() + " > /dev/null").c_str()), 0);
  }
  int files = 0;
  for (auto& e : fs::recursive_directory_iterator(a)) {
    if (!e.is_regular_file()) continue;
    fs::path rel = fs::relative(e.path(), a);
    files++;
    EXPECT_EQ(ReadFile(e.path()), ReadFile(b / rel)) << rel;
  }
  EXPECT_GT(files, 140);
  fs::remove_all(tmp);
}

}  // namespace
