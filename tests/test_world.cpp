// The default world that the build generates into BUILD/data: every file has
// the size and format its loader expects, the game's own loaders read it, and
// the world honours its fixed points and plays under the game's rules.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/testseams.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

fs::path DataDir() {
  if (const char* d = std::getenv("QUARN_WORLD_DIR")) return d;
  return fs::path(BuildDir()) / "data";
}

constexpr int32_t kT = 8192;   // a tile, in world units

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

// ---- classes and pictures ---------------------------------------------------------------

TEST_F(GeneratedWorld, TheGameLoadsEveryClassAndTheRulesPlayWell) {
  std::istringstream said(Said([&] { InitialiseEntities("map\\phoebus.ent"); }));
  std::map<int, int> widthOf;   // sprite: image width
  for (std::string line; std::getline(said, line);) {
    char name[96];
    int sprite, w, h;
    EXPECT_TRUE(line.find("refused") == std::string::npos && line.find("too long") == std::string::npos) << line;
    if (std::sscanf(line.c_str(), "spawned frame %95s [%d] (%d %d)", name, &sprite, &w, &h) != 4) continue;
    EXPECT_TRUE(widthOf.emplace(sprite, w).second) << name << " shares sprite " << sprite;
    EXPECT_EQ(long(fs::file_size(DataDir() / "gfx" / "ents" / (std::string(name) + ".raw"))), long(w) * h * 3) << name;
  }
  for (int k = 1; k <= 110; k++) {
    const TEntityClass& c = EntityClass[k];
    EXPECT_TRUE(c.kind == k && c.width > 0 && c.height > 0) << k;
    EXPECT_EQ(c.framedx > 0 ? widthOf[c.sprite] % int(std::lround(1 / c.framedx)) : 0, 0) << k;
  }
  EXPECT_EQ(EntityClass[111].kind, 0);
  EXPECT_EQ(EntityClass[buzzball].sprite, 68);
  const TEntityClass& m = EntityClass[man];
  // walking frames 0..2 and the airborne frame 4 exist in the man's strip
  ASSERT_GT(m.framedx, 0.0f);
  EXPECT_LE(m.framedx * 5, 1.0001f);
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
  auto fits = [](int c) {
    for (int j = 0; j < 32; j += 4)
      for (int i = 0; i < 24; i += 4)
        if (GetXY((c % N * 16 + i) * 128, (c / N * 16 + j) * 128) == 255) return false;
    return true;
  };
  std::vector<uint8_t> seen(N * N, 0);
  std::vector<int> todo{(3392 / 16) * N + 5888 / 16};
  for (seen[todo[0]] = 1; !todo.empty();) {
    int c = todo.back();
    todo.pop_back();
    for (int n : {c + 1, c - 1, c + N, c - N})
      if (n >= 0 && n < N * N && !seen[n] && fits(n)) seen[n] = 1, todo.push_back(n);
  }
  return seen;
}

// The floors the routes walk (tile row, first and last tile column), and
// whether the routes only pass through there (a room's nests, gates and
// fires stand beyond): the east road with the ledge before the shaft, the
// gallery, the trap room, the wasps, the imp den, the way from the shaft's
// upper east door through the gargoyle hall to the crystal cave's hole, the
// dalek base, the crystal cave, the bat cave and the lake's passage.
struct FloorSpan {
  int row, x0, x1;
  bool through;
};
const FloorSpan kRouteFloors[] = {
    {54, 78, 146, true},   {52, 148, 153, true},  {38, 137, 153, true},   {62, 64, 77, true},   {42, 42, 53, false},
    {42, 54, 69, true},    {91, 53, 66, false},   {74, 155, 219, true},   {50, 194, 195, false}, {50, 198, 213, false},
    {90, 219, 227, true},  {90, 228, 236, false}, {114, 155, 185, true},  {114, 186, 200, false}, {130, 125, 153, true},
};

// Every placement lies in open space, none touches another, every creature
// family and piece of furniture is somewhere, and the routes' floors are
// level and clear. (The routes walk into both triggers.)
TEST_F(GeneratedWorld, PlacementsLieInOpenSpaceOffTheRoutesLevelFloors) {
  InitialiseEntities("map\\phoebus.ent");
  SpawnEntities("map\\phoebus.epo");
  std::set<int> kinds;
  int placed = 0;
  for (int i = 0; i < MAX_ENTITIES; i++) {
    const TEntity& e = Entities[i];
    if (e.kind == blank) continue;
    placed++;
    kinds.insert(e.kind);
    EXPECT_TRUE(e.x >= 0 && e.y >= 0 && e.x + e.w < 256 * kT && e.y + e.h < 256 * kT) << "kind " << e.kind;
    EXPECT_GT(e.w, 0) << "kind " << e.kind << " has no class";
    EXPECT_FALSE(HitsRock(e.x / 128, e.y / 128, e.w / 128, e.h / 128)) << "kind " << e.kind << " at tile "
                                                                      << e.x / 8192 << "," << e.y / 8192;
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
  EXPECT_GE(std::count_if(Entities, Entities + MAX_ENTITIES, [](const TEntity& e) {
              return e.kind == urn && e.y + e.h < 8576 * 128 && e.y > (8576 - 12 * 64) * 128;
            }), 1);
  // the routes' floors: under every pixel column the walking line (half way
  // down the tile) is rock and the man's height over it open, so walking
  // never tips him into flight; nothing that stays put (a door, a nest, a
  // turret) stands where the routes pass
  const int manh = EntityClass[man].height;
  for (const FloorSpan& f : kRouteFloors) {
    const int line = f.row * 64 + 32;
    int bumps = 0;
    for (int x = f.x0 * 64; x < (f.x1 + 1) * 64; x++)
      bumps += !HitsRock(x, line, 1, 1) || HitsRock(x, line - manh, 1, manh);
    EXPECT_EQ(bumps, 0) << "floor of row " << f.row << " from tile " << f.x0 << " to " << f.x1;
    for (const TEntity& e : Entities)
      EXPECT_FALSE(f.through && e.kind != blank && EntityClass[e.kind].mass == 0 && e.x < (f.x1 + 1) * kT &&
                   e.x + e.w > f.x0 * kT && e.y < line * 128 && e.y + e.h > (line - manh) * 128)
          << "kind " << e.kind << " stands on the floor of row " << f.row << " at tile " << e.x / kT;
  }
}

// Nothing can leave the world: no place the player fits, reached from the
// start, lies on the map's edge (outside it nothing is solid). The
// teleport's fallback is part of the same world.
TEST_F(GeneratedWorld, TheWorldIsClosedAndTheFallbackBelongsToIt) {
  std::vector<uint8_t> reach = ReachableFromStart();
  const int N = 1024;
  int edge = 0;
  for (int c = 0; c < N; c++)
    edge += reach[c] + reach[(N - 1) * N + c] + reach[c * N] + reach[c * N + N - 2];
  EXPECT_EQ(edge, 0) << "the player can reach the map's edge";
  EXPECT_TRUE(reach[(1 * 4) * N + 127 * 4]) << "the fallback at tile (127, 1)";
}

// ---- playing it: the routes ---------------------------------------------------------------

// A route is walked or flown in legs with the keys a player would hold, in the
// game started in the generated world by its own start-up and run frame by
// frame. A leg starts at the start or where an earlier leg ends: the man is
// put there at rest (the earlier leg proves he gets there), so no test
// repeats another's stretch. A step holds its keys (capitals) until the man
// passes its mark: his middle west (<) or east (>) of a tile column, his feet
// above (^) a tile row or his head below (v) one, or he stands (land). A walk
// on a level floor never shows the airborne frame. A flight steers to its
// column low over the floor, P held while his feet are below row @, W or Q
// toward the speed that brakes him to a stop there (thrust of 8 a frame stops
// a speed v in v * v / 16 units); a swim steers the same way, floating.
enum Mark { kWestOf, kEastOf, kAbove, kBelow, kLanded };
enum How { kHold, kWalk, kFly };
struct Step {
  std::string keys;
  Mark mark = kLanded;
  float at = 0, low = 1e9f;
  How how = kHold;
};
std::vector<Step> Steps(const char* text) {
  std::vector<Step> steps;
  std::istringstream in(text);
  const std::string marks = "<>^v";
  for (std::string step, w; std::getline(in, step, ',');) {
    Step s;
    for (std::istringstream words(step); words >> w;) {
      if (w == "walk" || w == "fly" || w == "swim") s.how = w == "walk" ? kWalk : kFly;
      else if (w[0] == '@') s.low = std::stof(w.substr(1));
      else if (marks.find(w[0]) != std::string::npos) s.mark = Mark(marks.find(w[0])), s.at = std::stof(w.substr(1));
      else if (w != "land") s.keys = w;
    }
    if (s.how != kHold && s.keys.empty()) s.keys = s.mark == kWestOf ? "Q" : "W";
    steps.push_back(s);
  }
  return steps;
}
struct Leg {
  const char* name;
  const char* from;   // the leg whose end this one starts at; none: the start
  float x, y;         // where he is put then (tiles, his top-left corner)
  const char* steps;
  void (*arrived)() = nullptr;   // what else holds at the end
};
void PrintTo(const Leg& leg, std::ostream* os) { *os << leg.name; }

// Walking east through the armoury with N held takes its five weapons (each
// scores 100) and nothing else: the hand is free at the end.
void TookTheArmoury() {
  const TPlayerState& p = players[0];
  EXPECT_EQ(std::vector<int32_t>(p.nrg, p.nrg + 5), (std::vector<int32_t>{512, 512, 256, 512, 256}));
  EXPECT_EQ(p.score, 500);
  EXPECT_EQ(p.held.kind, blank) << "the hand took something that is not a weapon";
}
// Walking into a trigger's rectangle fires it, which wakes its dropper.
template <int id>
void Fired() {
  auto fired = [](const TTrigger& t) { return t.id == id && t.triggered != 0; };
  EXPECT_EQ(std::count_if(Triggers, Triggers + MAX_TRIGGERS, fired), 1) << "trigger " << id;
}

const Leg kLegs[] = {
    // east through the armoury with N held, along the road and up the ledge
    // into the shaft; down into the water; the updraft alone lifts him out
    {"the east road", nullptr, 0, 0,
     "land, walk WN >101.5, fly >145.5 @54.1, land, walk >146.5, P ^52.9, W >154.3", TookTheArmoury},
    {"down the shaft", "the east road", 154.2f, 51.6f, "L v110"},
    {"into the water and out", "down the shaft", 154.2f, 110.5f, "L v136, ^37"},
    {"the updraft by the west wall", "down the shaft", 154, 110.5f, "^103"},
    {"the updraft in the middle", "down the shaft", 154.37f, 110.5f, "^103"},
    {"the updraft by the east wall", "down the shaft", 154.68f, 110.5f, "^103"},
    {"the updraft under the top", "the east road", 154.68f, 46, "^38"},
    // W held on the updraft: in at the upper east door, into the gargoyle hall
    {"the gargoyle hall", "the east road", 154.2f, 51.6f,
     "L v62, W >156.6, land, walk >158, fly >173 @73.6, land, walk >174"},
    {"out of the gargoyle hall", "the gargoyle hall", 174, 73.99f, "walk <173, fly <154.6 @73.6, ^66"},
    // on east under the shaft up into the dalek base, and back down it
    {"the east passage", "the gargoyle hall", 174, 73.99f, "fly >196.5 @73.6, land"},
    {"the dalek base", "the east passage", 196.5f, 73.99f, "P ^49.8, W >198.4, land, walk >199"},
    {"out of the dalek base", "the dalek base", 199, 49.99f, "walk <198.02, Q <197.9, v56"},
    // down the hole at the passage's end into the crystal cave; back up it
    {"the crystal cave", "the east passage", 196.5f, 73.99f,
     "fly >219.5 @73.6, land, walk >219.98, W >220.1, land, fly >225.5 @89.6, land, walk >226.5, "
     "fly <221 @89.6, P ^73.8, Q <219.3, land, walk <218",
     Fired<2>},
    // in at the lower east door, along the passage into the bat cave; back
    {"the bat cave", "down the shaft", 154.2f, 110.5f,
     "L v117, W >156.6, land, walk >158, fly >184 @113.6, land, walk >185, walk <184, fly <154.6 @113.6, ^108"},
    // in at the lowest west door, through the frogs' room into the lake
    {"the lake", "down the shaft", 154.2f, 110.5f,
     "L v124, Q <152.4, land, walk <151, fly <126 @129.8, land, walk <125.2, v134"},
    {"out of the lake", "the lake", 123.5f, 134.5f, "P ^129.8, W >125.6, land, walk >126.5"},
    // down the lake's bed to the west cave, along its roof, up into the updraft
    {"the caves under the lake", "the lake", 123.5f, 134.5f, "L v160, v172.5, swim >154.5, ^160"},
    // west off the road's end into the trap room, whose dropper wakes; out
    {"the trap room", nullptr, 0, 0, "land, fly <80 @54.1, land, walk <78.6, Q <76.5, land", Fired<1>},
    {"out of the trap room", "the trap room", 76.5f, 61.99f, "P ^54.4, fly >80.5 @54.3, land, walk >82"},
    // up the shaft in its ceiling, west into the wasps' room, and back
    {"the wasps", "the trap room", 76.5f, 61.99f,
     "fly <70.9 @61.5, P ^41.8, Q <69.6, land, fly <55 @41.6, land, walk <54, fly >69 @41.6, land, "
     "walk >69.98, W >70.1, v52"},
    // down the hole at its west end into the imp den, and back up
    {"the imp den", "the trap room", 76.5f, 61.99f, "fly <63 @61.5, v88"},
    {"out of the imp den", "the imp den", 62.6f, 90.99f, "P ^61.8, W >64.6, land"},
};

struct Route : GeneratedWorld, testing::WithParamInterface<Leg> {
  ScriptKeys keys;
  int frame = 0;
  TEntity& me = Entities[0];
  void SetUp() override {
    GeneratedWorld::SetUp();
    testing::internal::CaptureStdout();   // shown only if something fails
    InitApplication(0);
    glInit();
    keyboard = &keys;
  }
  void TearDown() override {
    std::string console = testing::internal::GetCapturedStdout();
    if (HasFailure()) std::cout << console;
    GeneratedWorld::TearDown();
  }
  void Frame() {
    keys.SetFrame(frame++);
    glutIdle();
    glutDisplay();
  }
  // Things that move but are far from where a test plays take no part in
  // it, yet each costs a scan of the whole entity table every frame: those
  // more than 16 tiles outside the box (tiles) are set aside.
  static void SetAsideMoversFarFrom(float x0, float y0, float x1, float y1) {
    for (TEntity& e : Entities) {
      float ex = e.x / float(kT), ey = e.y / float(kT);
      if (&e != Entities && e.kind != blank && EntityClass[e.kind].mass != 0 &&
          (ex < x0 - 16 || ex > x1 + 16 || ey < y0 - 16 || ey > y1 + 16))
        e.kind = blank;
    }
  }
  bool Passed(const Step& s) const {
    float mid = (me.x + me.w / 2) / float(kT), head = me.y / float(kT), feet = (me.y + me.h) / float(kT);
    switch (s.mark) {
      case kWestOf: return mid < s.at;
      case kEastOf: return mid > s.at;
      case kAbove: return feet < s.at;
      case kBelow: return head > s.at;
      case kLanded: return OnGround(&me) && me.dy >= 0 && me.dy <= 192 / EntityClass[man].mass;
    }
    return false;
  }
  void Steer(const Step& s) {
    keys.held.clear();
    if ((me.y + me.h) / float(kT) > s.low) keys.held.insert('P');
    float to = s.at * kT - (me.x + me.w / 2), speed = std::min(768.0f, 0.7f * std::sqrt(16 * std::fabs(to)));
    keys.held.insert(me.dx < (to < 0 ? -speed : speed) ? 'W' : 'Q');
  }
};

TEST_P(Route, ArrivesWithTheKeysAPlayerWouldHold) {
  const Leg& leg = GetParam();
  const std::vector<Step> steps = Steps(leg.steps);
  if (leg.from) {
    auto named = [&](const Leg& l) { return !strcmp(l.name, leg.from); };
    auto from = std::find_if(std::begin(kLegs), std::end(kLegs), named);
    ASSERT_NE(from, std::end(kLegs)) << leg.from;
    me.x = static_cast<int32_t>(leg.x * kT), me.y = static_cast<int32_t>(leg.y * kT), me.dx = me.dy = 0;
    const Step end = Steps(from->steps).back();
    for (int f = 0; f < 100 && !Passed(end); f++) Frame();
    ASSERT_TRUE(Passed(end)) << "not where " << leg.from << " ends";
  }
  float x0 = me.x / float(kT), x1 = x0, y0 = me.y / float(kT), y1 = y0;
  for (const Step& s : steps) {
    if (s.mark == kWestOf || s.mark == kEastOf) x0 = std::min(x0, s.at), x1 = std::max(x1, s.at);
    if (s.mark == kAbove || s.mark == kBelow) y0 = std::min(y0, s.at), y1 = std::max(y1, s.at);
  }
  SetAsideMoversFarFrom(x0, y0, x1, y1);
  for (const Step& s : steps) {
    keys.held = std::set<int>(s.keys.begin(), s.keys.end());
    int flights = 0;
    for (int f = 0; f < 5000 && !Passed(s); f++) {
      if (s.how == kFly) Steer(s);
      Frame();
      flights += s.how == kWalk && me.frame == 4;
    }
    const long n = &s - steps.data() + 1;
    ASSERT_TRUE(Passed(s)) << leg.name << ", step " << n << ": stuck at " << (me.x + me.w / 2) / kT << "," << me.y / kT;
    EXPECT_EQ(flights, 0) << leg.name << ", step " << n << ": frames of flight on a level floor";
  }
  if (leg.arrived) leg.arrived();
}

INSTANTIATE_TEST_SUITE_P(DefaultWorld, Route, testing::ValuesIn(kLegs), [](const auto& info) {
  std::string n = info.param.name;
  return n.erase(std::remove(n.begin(), n.end(), ' ') - n.begin());
});

// What is pushed along the road stays on it: nothing but the man crosses
// the ledge into the shaft.
TEST_F(Route, ThingsPushedAlongTheRoadStopBeforeTheShaft) {
  std::vector<int> slots;
  for (int k : {RCD, fluffy, rock, grenade}) {
    SpawnEntity(static_cast<TEntityKind>(k), (140 + 2 * static_cast<int>(slots.size())) * 8192, 53 * 8192, blank, 0,
                flNorm, 0, 0);
    slots.push_back(eslot);
  }
  SetAsideMoversFarFrom(140, 53, 150, 53);
  for (int f = 0; f < 600; f++) {
    for (int i : slots) Entities[i].dx = 900;   // shoved east, hard, every frame
    Frame();
  }
  for (int i : slots) EXPECT_LT(Entities[i].x, 150 * 8192) << "kind " << Entities[i].kind;
}

}  // namespace
