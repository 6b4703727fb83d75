// The world generator: builds the default world (map, tiles, classes,
// placements, triggers, pictures and sounds) into a data folder. Everything is
// drawn or synthesised here from a fixed seed, so every run writes the same
// bytes.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace wg {

// ---- deterministic random numbers (our own; never the C library's) ----------
struct Rng {
  uint64_t s;
  explicit Rng(uint64_t seed) : s(seed * 0x9E3779B97F4A7C15ull + 0x1234567ull) {}
  uint32_t Next() {
    s ^= s << 13;
    s ^= s >> 7;
    s ^= s << 17;
    return static_cast<uint32_t>(s >> 11);
  }
  int Int(int n) { return n <= 0 ? 0 : static_cast<int>(Next() % static_cast<uint32_t>(n)); }
  int Range(int lo, int hi) { return lo + Int(hi - lo + 1); }
  float Unit() { return static_cast<float>(Next() & 0xFFFFFF) / 16777216.0f; }
};

// Hash of integer coordinates to 0..1, used for lattice noise.
float Hash01(int x, int y, uint32_t seed);
// Value noise with period p on both axes (so 64-pixel tiles join seamlessly).
float PeriodicNoise(float x, float y, int p, uint32_t seed);
// Fractal sum of periodic value noise, 0..1.
float Fbm(float x, float y, int period, int octaves, uint32_t seed);

// ---- colours and pictures ----------------------------------------------------
struct Rgb {
  uint8_t r, g, b;
};
constexpr Rgb kCyan{0, 255, 255};   // the colour key: transparent
inline bool IsCyan(Rgb c) { return c.r == 0 && c.g == 255 && c.b == 255; }
Rgb Mix(Rgb a, Rgb b, float t);
Rgb Scale(Rgb a, float f);

// A picture stored top row first while it is drawn; written bottom row first.
struct Canvas {
  int w = 0, h = 0;
  std::vector<Rgb> px;
  Canvas() = default;
  Canvas(int w_, int h_, Rgb fill = kCyan) : w(w_), h(h_), px(static_cast<size_t>(w_) * h_, fill) {}
  bool In(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h; }
  Rgb Get(int x, int y) const { return px[static_cast<size_t>(y) * w + x]; }
  void Set(int x, int y, Rgb c) {
    if (In(x, y)) px[static_cast<size_t>(y) * w + x] = c;
  }
  void Rect(int x, int y, int rw, int rh, Rgb c);
  void Frame(int x, int y, int rw, int rh, Rgb c);   // one-pixel outline
  void Ellipse(float cx, float cy, float rx, float ry, Rgb c);
  void Disc(float cx, float cy, float r, Rgb c) { Ellipse(cx, cy, r, r, c); }
  void Line(int x0, int y0, int x1, int y1, Rgb c);
  void Tri(float x0, float y0, float x1, float y1, float x2, float y2, Rgb c);
  // Darkens the cyan pixels next to drawn ones: a one-pixel outline.
  void Outline(Rgb c);
  void Blit(const Canvas& src, int x, int y);        // cyan stays transparent
  Canvas MirrorX() const;
  // Text in the built-in 5x7 font, `scale` pixels per font pixel.
  int Text(int x, int y, const std::string& s, Rgb c, int scale = 1, int advance = 6);
};
int TextWidth(const std::string& s, int scale = 1, int advance = 6);

// ---- files ------------------------------------------------------------------
// Raw RGB, rows bottom first (the game puts the file's first row at the
// bottom of whatever it draws upright).
void WriteRaw(const std::string& path, const Canvas& c);
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);   // or exit
bool WriteAllBytes(const std::string& path, const std::vector<uint8_t>& bytes);
void WriteText(const std::string& path, const std::string& text);
void WriteWav(const std::string& path, const std::vector<float>& samples, int rate);

// ---- the parts of the world ----------------------------------------------------
constexpr int kTileSetSize = 1024;
constexpr int kMapTiles = 256;
constexpr int kWaterRow = 134;        // tile row of the water line (pixel y 8576)
constexpr int kWaterTile = 191;       // drawn translucent blue, seeds bubbles
constexpr int kStartTileX = 92, kStartTileY = 53;
constexpr int kFallbackTileX = 127;   // the teleport's fallback, tile (127, 1)
// The cloud bank over the sky: solid cells of tile set 1, an inside one and
// two with a billowing lower edge, over tile rows 0 .. kBankRows - 1.
constexpr int kBankTile = 160, kBankEdge = 161, kBankRows = 7;
constexpr uint8_t kSolid = 255, kWater = 128, kOpen = 0;

// Corner bits of a marching-squares cell: which corners are rock.
enum : int { kTL = 1, kTR = 2, kBR = 4, kBL = 8 };

// A family of rock tiles: cell base + case for the 14 edge shapes (1..14),
// base + 15 and the full variants for solid rock.
struct Family {
  int set;             // tile set 0 or 1
  int base;            // cell of case 0 (which holds a full variant)
  int fulls[8];        // full-rock variants
  int nfulls;
  int floors[6];       // decorated floor (bottom half) variants
  int nfloors;
  int ceilings[6];     // decorated ceiling (top half) variants
  int nceilings;
  bool underwater;     // open parts are water (mask 128)
};

// Family ids used by the map.
enum FamilyId {
  famEarth, famGranite, famVolcanic, famMoss, famCrystal, famSand, famMetal,
  famSurface, famSandstone, famBasalt, famDeep, famCount
};

// Special cells of tile set 0.
enum SpecialTile {
  tEraser = 0, tBlueSpores = 1, tRedSpores = 2, tStar1 = 3, tStar2 = 4, tStar3 = 5,
  tMoon = 6, tGirder = 7, tGirderL = 8, tGirderR = 9, tFireflies = 10, tSparkles = 11,
  tComet = 12, tCloud = 13, tBubbles = 14, tPlanet = 15
};

struct TileSets {
  Canvas colour[2];                  // 1024 x 1024 each, top row first
  std::vector<uint8_t> mask[2];      // 1024 x 1024 each, top row first
  Family fam[famCount];
};
void BuildTileSets(TileSets& ts);

struct Placement {
  std::string desc;
  int kind;
  int tx, px, ty, py;
  int subtype, subtypemax, flip, trigger, score;
};
struct Trigger {
  std::string label;
  int id, x, y, w, h;   // tiles
};
struct World {
  uint32_t map[kMapTiles][kMapTiles];   // [column][row]
  std::vector<Placement> placements;
  std::vector<Trigger> triggers;
};

struct ClassInfo {
  std::string name;     // image name (starts with 1 for five-frame classes)
  int w, h, sprite, mass, hp, lifespan, regen, walk, imgw, imgh, gravity, frames;
  int dtype, dmg, dcolour, doc;
};
// Fills the 110 class records in kind order and draws their pictures.
void BuildClasses(std::vector<ClassInfo>& classes, std::vector<std::pair<std::string, Canvas>>& images);

// Builds the map and the placements; needs the tile sets (for the masks) and
// the classes (for the sizes of what it places).
void BuildWorld(const TileSets& ts, const std::vector<ClassInfo>& classes, World& world);
// Mask byte at a world position (world units), as the game reads it.
uint8_t MaskAt(const TileSets& ts, const World& world, int32_t x, int32_t y);

void BuildScreens(const std::string& gfxdir);
void BuildSounds(const std::string& sfxdir);

// ---- writing a data folder ------------------------------------------------------
// Writes a data folder into `out`, made if need be: the default tile sets,
// classes with their pictures, screens and sounds, and the map, placements and
// triggers that `build` makes from the tile sets and the classes. A write that
// fails ends the program with a line on standard error.
using BuildMap = std::function<void(const TileSets&, const std::vector<ClassInfo>&, World&)>;
void WriteDataFolder(const std::string& out, World& world, const BuildMap& build);
// The whole default world.
void GenerateWorld(const std::string& out, World& world);

}  // namespace wg
