// The two tile sets: 16 x 16 cells of 64 x 64 pixels, each with its mask.
// Rock comes in families laid out two palette rows each: the first row holds
// the fourteen edge shapes of a marching-squares cell at base + case (the
// case says which corners are rock), the rest are full-rock variants and
// floors and ceilings with stalagmites, boulders and stalactites.
#include <cmath>
#include <algorithm>
#include <cstring>

#include "gen.h"

namespace wg {

namespace {

constexpr float kPi = 3.14159265f;

enum Style { stPlain, stGrass, stMoss, stVeins, stCrystal, stMetal, stBrick, stSand, stIce, stOre };

struct Material {
  Rgb dark, light;    // body gradient
  Rgb rim, rim2;      // lit top surface (rim2: grass tips, moss highlights)
  Rgb shadow;         // under-surfaces and outline
  Rgb accent;         // veins, ore, facet edges
  float strata;       // strength of the horizontal layering
  Style style;
  uint32_t seed;
  bool underwater;    // open parts are water
};

// The shape of one cell: which corners are rock, a rough boundary, and
// optional decoration that is part of the rock (it collides). A level cell
// (a floor) collides on its straight walking line only: its roughness and
// decoration are drawn above the line but do not collide, so the man's
// ground test, one pixel under his feet, finds the floor at every step.
enum Deco { dcNone, dcStalagmites, dcBoulder, dcStalactites, dcRoots };
struct Shape {
  int cs;             // corner bits
  uint32_t seed;
  float amp;          // roughness of the boundary
  Deco deco;
  bool level = false;
};

bool SolidAt(const Shape& sh, float u, float v) {
  if (sh.cs == 0) return false;
  float s = (u + 0.5f) / 64.0f, t = (v + 0.5f) / 64.0f;
  float a = (sh.cs & kTL) ? 1.f : 0.f, b = (sh.cs & kTR) ? 1.f : 0.f;
  float c = (sh.cs & kBR) ? 1.f : 0.f, d = (sh.cs & kBL) ? 1.f : 0.f;
  float f = a * (1 - s) * (1 - t) + b * s * (1 - t) + c * s * t + d * (1 - s) * t;
  bool inside = s >= 0 && s <= 1 && t >= 0 && t <= 1;
  if (inside && sh.cs != 15)
    f += sh.amp * (Fbm(u / 14.0f, v / 14.0f, 64, 2, sh.seed) - 0.5f) * 2.0f * std::sin(kPi * s) *
         std::sin(kPi * t);
  if (f >= 0.5f) return true;
  if (!inside) return false;
  Rng r(sh.seed * 31 + 7);
  switch (sh.deco) {
    case dcStalagmites: {
      int n = 2 + r.Int(2);
      for (int i = 0; i < n; i++) {
        float x0 = 12 + r.Int(40), hw = 4 + r.Int(4), hgt = 8 + r.Int(14);
        if (v <= 33 && v >= 32 - hgt * (1 - std::fabs(u - x0) / hw)) return true;
      }
      return false;
    }
    case dcBoulder: {
      float x0 = 18 + r.Int(28), rad = 7 + r.Int(5);
      float dx = u - x0, dy = v - (33 - rad * 0.8f);
      return dx * dx + dy * dy <= rad * rad;
    }
    case dcStalactites: {
      int n = 2 + r.Int(3);
      for (int i = 0; i < n; i++) {
        float x0 = 10 + r.Int(44), hw = 3 + r.Int(4), len = 10 + r.Int(18);
        if (v >= 31 && v <= 32 + len * (1 - std::fabs(u - x0) / hw)) return true;
      }
      return false;
    }
    case dcRoots: {
      int n = 3 + r.Int(3);
      for (int i = 0; i < n; i++) {
        float x0 = 8 + r.Int(48), len = 8 + r.Int(20);
        float wig = x0 + 2.0f * std::sin(v * 0.4f + i);
        if (v >= 31 && v <= 32 + len && std::fabs(u - wig) < 1.2f) return true;
      }
      return false;
    }
    default:
      return false;
  }
}

Rgb Body(const Material& m, int u, int v, int variant, uint32_t cellSeed) {
  // noise that repeats every 64 pixels at the cell's edges (so cells join
  // seamlessly), blended into noise of the cell's own inside
  float fine = Fbm(u / 8.0f, v / 8.0f, 8, 2, m.seed);
  float edge = static_cast<float>(std::min(std::min(u, v), std::min(63 - u, 63 - v)));
  float wgt = std::min(1.0f, edge / 22.0f);
  wgt = wgt * wgt * (3 - 2 * wgt);
  float mid = Fbm(u / 14.0f + 0.37f, v / 14.0f + 0.71f, 64, 3, cellSeed);
  float n = 0.5f + (fine - 0.5f) * 0.55f + (mid - 0.5f) * 1.3f * wgt;
  float t = n;
  if (m.strata > 0) {
    float warp = Fbm(u / 32.0f, v / 32.0f, 2, 2, m.seed + 9);
    t += m.strata * 0.22f * std::sin(2 * kPi * (v * 3.0f / 64.0f + warp));
  }
  Rgb c;
  switch (m.style) {
    case stCrystal: {
      int cx = (u / 16) & 3, cy = (v / 16) & 3;
      float facet = Hash01(cx, cy, m.seed);
      bool edge = (u % 16 == 0) || (v % 16 == 0) || ((u + v) % 16 == 0 && facet > 0.5f);
      t = 0.25f + facet * 0.55f + n * 0.25f;
      c = Mix(m.dark, m.light, t);
      if (edge) c = Mix(c, m.accent, 0.55f);
      return c;
    }
    case stMetal: {
      int pu = u % 32, pv = v % 32;
      t = 0.45f + (n - 0.5f) * 0.25f;
      c = Mix(m.dark, m.light, t);
      if (pu == 0 || pv == 0) c = m.shadow;
      else if (pu == 1 || pv == 1) c = Mix(c, m.light, 0.6f);
      else if (pu == 31 || pv == 31) c = Mix(c, m.shadow, 0.5f);
      if ((pu == 4 || pu == 27) && (pv == 4 || pv == 27)) c = m.accent;
      if (variant % 3 == 1 && pu > 8 && pu < 24 && pv > 8 && pv < 24 && ((pu + pv) % 6 < 3))
        c = Mix(c, m.shadow, 0.4f);   // grille
      return c;
    }
    case stBrick: {
      int row = v / 16, off = (row & 1) ? 16 : 0;
      int bu = (u + off) % 32, bv = v % 16;
      float tone = Hash01(((u + off) / 32) & 1, row & 3, m.seed);
      c = Mix(m.dark, m.light, 0.3f + tone * 0.4f + (n - 0.5f) * 0.3f);
      if (bv == 0 || bu == 0) c = m.shadow;
      else if (bv == 1 || bu == 1) c = Mix(c, m.light, 0.4f);
      return c;
    }
    case stSand:
      t += 0.12f * std::sin(2 * kPi * (u * 2.0f / 64.0f + 0.5f * std::sin(2 * kPi * v / 64.0f)));
      break;
    case stIce:
      t = 0.55f + (n - 0.5f) * 0.5f;
      if (((u + 2 * v) % 64) < 2 || ((3 * u - v + 640) % 64) < 1) t += 0.35f;
      break;
    default:
      break;
  }
  c = Mix(m.dark, m.light, t);
  if (m.style == stVeins || m.style == stOre) {
    float vn = Fbm(u / 21.333f, v / 21.333f, 3, 3, m.seed + 77);
    if (std::fabs(vn - 0.5f) < (m.style == stVeins ? 0.018f : 0.012f))
      c = m.accent;
    else if (std::fabs(vn - 0.5f) < 0.04f && m.style == stVeins)
      c = Mix(c, m.accent, 0.35f);
  }
  return c;
}

// Interior features of full-rock variants: pebbles, fossils, cracks, gems.
void Features(Canvas& cv, int ox, int oy, const Material& m, int variant, uint32_t seed,
              const bool* solid) {
  if (variant == 0) return;
  Rng r(seed);
  auto inside = [&](int u, int v) { return u >= 4 && v >= 4 && u < 60 && v < 60 && solid[v * 64 + u]; };
  int kind = variant == 3 ? 3 : (variant == 7 ? 0 : variant % 3);
  if (m.style == stMetal || m.style == stBrick) {
    if (kind == 2) {   // a dark vent or a cracked brick
      for (int i = 0; i < 10; i++) {
        int u = 20 + r.Int(24), v = 20 + r.Int(24);
        if (inside(u, v)) cv.Set(ox + u, oy + v, m.shadow);
      }
    }
    return;
  }
  if (kind == 1) {   // pebbles
    int n = 3 + r.Int(4);
    for (int i = 0; i < n; i++) {
      float cx = 8 + r.Int(48), cy = 8 + r.Int(48), rad = 2 + r.Int(3);
      Rgb pc = Mix(m.light, Rgb{230, 225, 215}, 0.25f * r.Unit());
      for (int v = static_cast<int>(cy - rad - 1); v <= cy + rad + 1; v++)
        for (int u = static_cast<int>(cx - rad - 1); u <= cx + rad + 1; u++) {
          if (!inside(u, v)) continue;
          float d = std::hypot(u - cx, v - cy);
          if (d <= rad) cv.Set(ox + u, oy + v, d > rad - 1 ? Mix(pc, m.shadow, 0.5f)
                                                        : (v < cy - rad / 2 ? Mix(pc, Rgb{255, 255, 255}, 0.2f) : pc));
        }
    }
  } else if (kind == 2) {   // cracks
    for (int k = 0; k < 2; k++) {
      float u = 10 + r.Int(44), v = 10 + r.Int(44);
      float ang = r.Unit() * 2 * kPi;
      for (int i = 0; i < 40; i++) {
        if (inside(static_cast<int>(u), static_cast<int>(v)))
          cv.Set(ox + static_cast<int>(u), oy + static_cast<int>(v), m.shadow);
        ang += (r.Unit() - 0.5f) * 0.9f;
        u += std::cos(ang);
        v += std::sin(ang);
      }
    }
  } else if (kind == 3) {   // a fossil spiral or a gem
    float cx = 24 + r.Int(16), cy = 24 + r.Int(16);
    if (m.style == stCrystal || m.style == stOre || m.style == stVeins) {
      for (int v = -5; v <= 5; v++)
        for (int u = -5; u <= 5; u++)
          if (std::abs(u) + std::abs(v) <= 5 && inside(static_cast<int>(cx) + u, static_cast<int>(cy) + v))
            cv.Set(ox + static_cast<int>(cx) + u, oy + static_cast<int>(cy) + v,
                   Mix(m.accent, Rgb{255, 255, 255}, (u + v < -2) ? 0.6f : 0.1f));
    } else {
      for (float a = 0; a < 5 * kPi; a += 0.05f) {   // a small ammonite
        float rad = 0.8f + a * 0.38f;
        int u = static_cast<int>(cx + rad * std::cos(a)), v = static_cast<int>(cy + rad * std::sin(a));
        if (inside(u, v)) cv.Set(ox + u, oy + v, Mix(m.light, m.shadow, 0.35f));
      }
    }
  }
}

// Draws one cell: rock body with lit tops, shaded undersides, an outline
// and, for grass and moss, blades growing into the open part.
void DrawCell(TileSets& ts, int set, int cell, const Material& m, const Shape& sh, int variant) {
  int ox = (cell % 16) * 64, oy = (cell / 16) * 64;
  Canvas& cv = ts.colour[set];
  std::vector<uint8_t>& mk = ts.mask[set];
  // drawn: what the picture shows as rock; collides: what the mask makes rock
  const Shape line{sh.cs, sh.seed, 0.0f, dcNone};
  auto Drawn = [&](float u, float v) { return SolidAt(sh, u, v) || (sh.level && SolidAt(line, u, v)); };
  bool solid[64 * 64], collides[64 * 64];
  for (int v = 0; v < 64; v++)
    for (int u = 0; u < 64; u++) {
      float fu = static_cast<float>(u), fv = static_cast<float>(v);
      solid[v * 64 + u] = Drawn(fu, fv);
      collides[v * 64 + u] = sh.level ? SolidAt(line, fu, fv) : solid[v * 64 + u];
    }
  auto S = [&](int u, int v) {
    if (u >= 0 && v >= 0 && u < 64 && v < 64) return solid[v * 64 + u];
    return Drawn(static_cast<float>(u), static_cast<float>(v));
  };
  for (int v = 0; v < 64; v++)
    for (int u = 0; u < 64; u++) {
      size_t mi = static_cast<size_t>(oy + v) * kTileSetSize + ox + u;
      if (!solid[v * 64 + u]) {
        cv.Set(ox + u, oy + v, kCyan);
        mk[mi] = m.underwater ? kWater : kOpen;
        continue;
      }
      mk[mi] = collides[v * 64 + u] ? kSolid : (m.underwater ? kWater : kOpen);
      Rgb c = Body(m, u, v, variant, m.seed * 7919u + static_cast<uint32_t>(cell) * 31u + set);
      int top = 99, bot = 99, side = 99;
      for (int k = 1; k <= 6 && top == 99; k++)
        if (!S(u, v - k)) top = k;
      for (int k = 1; k <= 4 && bot == 99; k++)
        if (!S(u, v + k)) bot = k;
      for (int k = 1; k <= 2 && side == 99; k++)
        if (!S(u - k, v) || !S(u + k, v)) side = k;
      int rimDepth = (m.style == stGrass) ? 6 : (m.style == stMoss ? 4 : 3);
      if (top <= rimDepth) {
        float tt = static_cast<float>(top - 1) / rimDepth;
        if (m.style == stGrass || m.style == stMoss)
          c = Mix(m.rim2, m.rim, tt + 0.3f * (Hash01(u, v, m.seed) - 0.5f));
        else
          c = Mix(m.rim, c, tt);
      } else if (bot <= 3) {
        c = Mix(m.shadow, c, (bot - 1) / 3.0f * 0.7f + 0.1f);
      }
      if (top == 1 || bot == 1 || side == 1) c = Mix(c, m.shadow, top == 1 ? 0.25f : 0.6f);
      else if (side == 2) c = Mix(c, m.shadow, 0.3f);
      if (IsCyan(c)) c.g = 254;
      cv.Set(ox + u, oy + v, c);
    }
  // blades of grass or tufts of moss on the open side of a lit surface
  if (m.style == stGrass || m.style == stMoss) {
    for (int u = 0; u < 64; u++)
      for (int v = 1; v < 64; v++) {
        if (solid[v * 64 + u] || !S(u, v + 1)) continue;
        int hb = static_cast<int>(Hash01(u, v, m.seed + 5) * (m.style == stGrass ? 7 : 3));
        for (int k = 0; k < hb && v - k >= 0; k++) {
          if (solid[(v - k) * 64 + u]) break;
          Rgb g = Mix(m.rim, m.rim2, static_cast<float>(k) / 6.0f);
          cv.Set(ox + u, oy + v - k, g);
        }
      }
  }
  Features(cv, ox, oy, m, variant, m.seed * 97 + static_cast<uint32_t>(cell) * 13 + set, solid);
}

void FillFamily(TileSets& ts, Family& f, int set, int base, const Material& m, bool tworows) {
  f = Family{};
  f.set = set;
  f.base = base;
  f.underwater = m.underwater;
  uint32_t seed = m.seed * 1000;
  for (int cs = 1; cs <= 15; cs++) {
    Shape sh{cs, seed + cs, 0.07f, dcNone, cs == (kBL | kBR)};
    DrawCell(ts, set, base + cs, m, sh, 0);
  }
  f.fulls[f.nfulls++] = base + 15;
  if (!tworows) return;
  // case 0 of the first row is a full variant (but for a family at cell 0:
  // tile 0 is the empty tile, never drawn and never solid), and so are the
  // first cells of the second row; then decorated floors and ceilings.
  if (base != 0) {
    DrawCell(ts, set, base, m, Shape{15, seed, 0, dcNone}, 1);
    f.fulls[f.nfulls++] = base;
  }
  for (int k = 0; k < 5; k++) {
    DrawCell(ts, set, base + 16 + k, m, Shape{15, seed, 0, dcNone}, k + 2);
    f.fulls[f.nfulls++] = base + 16 + k;
  }
  const Deco floors[5] = {dcStalagmites, dcBoulder, dcStalagmites, dcBoulder, dcNone};
  for (int k = 0; k < 5; k++) {
    DrawCell(ts, set, base + 21 + k, m, Shape{kBL | kBR, seed + 50 + k, 0.10f, floors[k], true}, k + 1);
    f.floors[f.nfloors++] = base + 21 + k;
  }
  const Deco ceils[5] = {dcStalactites, dcStalactites, dcRoots, dcStalactites, dcNone};
  for (int k = 0; k < 5; k++) {
    DrawCell(ts, set, base + 26 + k, m, Shape{kTL | kTR, seed + 60 + k, 0.10f, ceils[k]}, k + 1);
    f.ceilings[f.nceilings++] = base + 26 + k;
  }
  DrawCell(ts, set, base + 31, m, Shape{15, seed, 0, dcNone}, 7);
  f.fulls[f.nfulls++] = base + 31;
}

// ---- single cells: water, the sky and the cave air ----------------------------------
void CellBox(TileSets& ts, int set, int cell, uint8_t maskv, const Canvas& tile) {
  int ox = (cell % 16) * 64, oy = (cell / 16) * 64;
  for (int v = 0; v < 64; v++)
    for (int u = 0; u < 64; u++) {
      ts.colour[set].Set(ox + u, oy + v, tile.Get(u, v));
      ts.mask[set][static_cast<size_t>(oy + v) * kTileSetSize + ox + u] = maskv;
    }
}

Canvas WaterCell(uint32_t seed) {
  Canvas c(64, 64);
  for (int v = 0; v < 64; v++)
    for (int u = 0; u < 64; u++) {
      float n = Fbm(u / 16.0f, v / 16.0f, 4, 3, seed);
      float wave = std::sin(2 * kPi * (u / 64.0f + 2 * v / 64.0f + n));
      Rgb base{150, 200, 255};
      Rgb hi{235, 250, 255};
      c.Set(u, v, Mix(base, hi, 0.35f + 0.35f * wave * n + 0.2f * n));
    }
  return c;
}

Canvas SparkleCell(uint32_t seed, int count, Rgb a, Rgb b, bool big) {
  Canvas c(64, 64);
  Rng r(seed);
  for (int i = 0; i < count; i++) {
    int u = 3 + r.Int(58), v = 3 + r.Int(58);
    Rgb col = Mix(a, b, r.Unit());
    c.Set(u, v, col);
    if (big && r.Int(3) == 0) {
      c.Set(u - 1, v, Scale(col, 0.6f));
      c.Set(u + 1, v, Scale(col, 0.6f));
      c.Set(u, v - 1, Scale(col, 0.6f));
      c.Set(u, v + 1, Scale(col, 0.6f));
    }
  }
  return c;
}

void Specials(TileSets& ts) {
  // 0: the eraser, shown only in the palette
  Canvas er(64, 64);
  er.Frame(2, 2, 60, 60, Rgb{200, 60, 60});
  for (int k = 0; k < 3; k++) {
    er.Line(10 + k, 10, 53 + k, 53, Rgb{220, 50, 50});
    er.Line(53 + k, 10, 10 + k, 53, Rgb{220, 50, 50});
  }
  CellBox(ts, 0, tEraser, kOpen, er);
  // 1, 2: spore-laden air over mushroom beds
  Canvas blue = SparkleCell(11, 26, Rgb{80, 140, 255}, Rgb{170, 220, 255}, true);
  CellBox(ts, 0, tBlueSpores, kOpen, blue);
  CellBox(ts, 0, tRedSpores, kOpen, SparkleCell(12, 26, Rgb{255, 70, 60}, Rgb{255, 170, 120}, true));
  // 3..5: stars
  CellBox(ts, 0, tStar1, kOpen, SparkleCell(13, 9, Rgb{180, 180, 220}, Rgb{255, 255, 255}, true));
  CellBox(ts, 0, tStar2, kOpen, SparkleCell(14, 6, Rgb{255, 230, 160}, Rgb{255, 255, 255}, true));
  CellBox(ts, 0, tStar3, kOpen, SparkleCell(15, 14, Rgb{120, 140, 200}, Rgb{220, 230, 255}, false));
  // 6: the moon
  Canvas moon(64, 64);
  moon.Disc(32, 32, 22, Rgb{235, 232, 210});
  moon.Disc(38, 28, 22, kCyan);   // a crescent
  for (int v = 0; v < 64; v++)
    for (int u = 0; u < 64; u++)
      if (!IsCyan(moon.Get(u, v)) && Hash01(u / 4, v / 4, 3) > 0.8f) moon.Set(u, v, Rgb{200, 196, 175});
  CellBox(ts, 0, tMoon, kOpen, moon);
  // 7..9: a steel girder to bridge gaps (it is solid)
  for (int g = 0; g < 3; g++) {
    int cell = tGirder + g;
    int ox = (cell % 16) * 64, oy = (cell / 16) * 64;
    int u0 = g == 1 ? 10 : 0, u1 = g == 2 ? 54 : 64;
    for (int v = 0; v < 64; v++)
      for (int u = 0; u < 64; u++) {
        bool on = v >= 26 && v < 38 && u >= u0 && u < u1;
        Rgb c = kCyan;
        if (on) {
          int lv = v - 26;
          bool flange = lv < 2 || lv >= 10;
          bool strut = ((u + lv) % 12 == 0) || ((u - lv + 120) % 12 == 0);
          c = flange ? Rgb{150, 80, 50} : (strut ? Rgb{170, 95, 60} : kCyan);
          if (lv == 0) c = Rgb{200, 120, 80};
          if (!flange && !strut) c = Rgb{60, 30, 20};
        }
        ts.colour[0].Set(ox + u, oy + v, c);
        ts.mask[0][static_cast<size_t>(oy + v) * kTileSetSize + ox + u] = on ? kSolid : kOpen;
      }
  }
  // 10..15: fireflies, sparkles, a comet, a cloud, bubbles, a ringed planet
  CellBox(ts, 0, tFireflies, kOpen, SparkleCell(16, 10, Rgb{120, 255, 80}, Rgb{220, 255, 120}, true));
  CellBox(ts, 0, tSparkles, kOpen, SparkleCell(17, 16, Rgb{200, 200, 255}, Rgb{255, 255, 255}, false));
  Canvas comet(64, 64);
  for (int i = 0; i < 30; i++) comet.Line(14 + i, 40 - i / 2, 15 + i, 40 - i / 2, Mix(Rgb{40, 60, 120}, Rgb{220, 230, 255}, i / 30.0f));
  comet.Disc(46, 25, 3, Rgb{255, 255, 255});
  CellBox(ts, 0, tComet, kOpen, comet);
  Canvas cloud(64, 64);
  cloud.Ellipse(24, 34, 16, 7, Rgb{70, 70, 95});
  cloud.Ellipse(40, 30, 14, 8, Rgb{80, 80, 105});
  cloud.Ellipse(34, 36, 18, 6, Rgb{60, 60, 85});
  CellBox(ts, 0, tCloud, kOpen, cloud);
  Canvas bub(64, 64);
  Rng br(18);
  for (int i = 0; i < 7; i++) {
    float x = 8 + br.Int(48), y = 8 + br.Int(48), rad = 2 + br.Int(4);
    for (float a = 0; a < 2 * kPi; a += 0.1f)
      bub.Set(static_cast<int>(x + rad * std::cos(a)), static_cast<int>(y + rad * std::sin(a)), Rgb{200, 230, 255});
    bub.Set(static_cast<int>(x - rad / 2), static_cast<int>(y - rad / 2), Rgb{255, 255, 255});
  }
  CellBox(ts, 0, tBubbles, kOpen, bub);
  Canvas planet(64, 64);
  planet.Disc(32, 32, 12, Rgb{200, 120, 70});
  planet.Ellipse(32, 30, 12, 3, Rgb{220, 150, 90});
  for (float a = 0; a < 2 * kPi; a += 0.01f) {
    int x = static_cast<int>(32 + 22 * std::cos(a)), y = static_cast<int>(32 + 6 * std::sin(a));
    if (std::sin(a) > 0 || std::hypot(x - 32.0f, y - 32.0f) > 12) planet.Set(x, y, Rgb{230, 210, 160});
  }
  CellBox(ts, 0, tPlanet, kOpen, planet);
}

// The bank of night cloud that closes the sky: its inside, and two cells of
// its lower edge whose billows meet their neighbours at the same height.
// Drawn where it is solid and transparent where it is open.
void CloudBank(TileSets& ts) {
  const Rgb dark{34, 38, 62}, light{78, 84, 118}, rim{120, 126, 160};
  auto shade = [&](int u, int v) {
    float n = Fbm(u / 16.0f, v / 16.0f, 4, 3, 31);
    return Mix(dark, light, std::min(1.0f, n * 1.2f));
  };
  Canvas inside(64, 64);
  for (int v = 0; v < 64; v++)
    for (int u = 0; u < 64; u++) inside.Set(u, v, shade(u, v));
  CellBox(ts, 1, kBankTile, kSolid, inside);
  for (int k = 0; k < 2; k++) {
    int cell = kBankEdge + k, ox = (cell % 16) * 64, oy = (cell / 16) * 64;
    for (int u = 0; u < 64; u++) {
      float t = u / 64.0f;
      float edge = 40 + 7 * std::sin(kPi * t * (k ? 4 : 2)) * (k ? 1.0f : -1.0f) +
                   6 * std::sin(kPi * t) * (Fbm(u / 10.0f, 2.5f + k, 64, 2, 33) - 0.5f) * 2.0f;
      for (int v = 0; v < 64; v++) {
        bool on = v < edge;
        Rgb c = !on ? kCyan : (v > edge - 3 ? rim : shade(u, v));
        ts.colour[1].Set(ox + u, oy + v, c);
        ts.mask[1][static_cast<size_t>(oy + v) * kTileSetSize + ox + u] = on ? kSolid : kOpen;
      }
    }
  }
}

}  // namespace

void BuildTileSets(TileSets& ts) {
  for (int s = 0; s < 2; s++) {
    ts.colour[s] = Canvas(kTileSetSize, kTileSetSize, kCyan);
    ts.mask[s].assign(static_cast<size_t>(kTileSetSize) * kTileSetSize, kOpen);
  }
  // dark, light, rim, rim2, shadow, accent, strata, style, seed, underwater
  const Material earth{{72, 46, 30}, {150, 104, 64}, {190, 150, 100}, {210, 175, 120}, {35, 22, 14}, {0, 0, 0}, 0.45f, stPlain, 1, false};
  const Material granite{{64, 66, 74}, {150, 150, 160}, {200, 200, 210}, {220, 220, 230}, {28, 28, 34}, {0, 0, 0}, 0.3f, stPlain, 2, false};
  const Material volcanic{{50, 18, 18}, {130, 52, 36}, {170, 90, 60}, {200, 120, 70}, {22, 6, 6}, {255, 150, 40}, 0.4f, stVeins, 3, false};
  const Material moss{{62, 76, 50}, {140, 154, 104}, {50, 140, 45}, {120, 200, 80}, {22, 28, 18}, {0, 0, 0}, 0.5f, stMoss, 4, false};
  const Material crystal{{30, 44, 90}, {100, 150, 215}, {170, 210, 255}, {220, 240, 255}, {14, 18, 44}, {200, 235, 255}, 0.0f, stCrystal, 5, false};
  const Material sand{{120, 104, 70}, {196, 176, 120}, {215, 200, 150}, {230, 215, 170}, {70, 58, 36}, {0, 0, 0}, 0.2f, stSand, 6, true};
  const Material metal{{70, 76, 86}, {150, 158, 170}, {190, 196, 206}, {210, 215, 225}, {30, 32, 38}, {210, 200, 120}, 0.0f, stMetal, 7, false};
  const Material brick{{110, 50, 36}, {170, 84, 60}, {200, 120, 90}, {220, 150, 110}, {50, 40, 36}, {0, 0, 0}, 0.0f, stBrick, 8, false};
  const Material surface{{86, 58, 34}, {140, 96, 56}, {40, 130, 36}, {110, 200, 60}, {40, 26, 14}, {0, 0, 0}, 0.6f, stGrass, 9, false};
  const Material sandstone{{150, 108, 62}, {222, 180, 118}, {240, 210, 150}, {250, 225, 170}, {84, 56, 30}, {0, 0, 0}, 1.0f, stPlain, 10, false};
  const Material basalt{{30, 30, 40}, {84, 84, 100}, {120, 120, 140}, {150, 150, 170}, {12, 12, 18}, {0, 0, 0}, 0.2f, stPlain, 11, false};
  const Material deep{{26, 36, 52}, {70, 96, 120}, {110, 150, 160}, {140, 180, 190}, {10, 14, 22}, {90, 200, 190}, 0.3f, stVeins, 12, true};
  const Material ice{{120, 160, 200}, {200, 230, 250}, {240, 250, 255}, {255, 255, 255}, {60, 90, 130}, {0, 0, 0}, 0.0f, stIce, 13, false};
  const Material obsidian{{14, 10, 24}, {60, 44, 84}, {120, 100, 160}, {160, 140, 200}, {6, 4, 10}, {180, 120, 255}, 0.0f, stCrystal, 14, false};
  const Material gold{{70, 60, 50}, {130, 115, 95}, {170, 160, 140}, {190, 180, 160}, {30, 26, 20}, {255, 210, 60}, 0.3f, stOre, 15, false};
  const Material sand2{{90, 84, 70}, {150, 140, 115}, {180, 170, 140}, {200, 190, 160}, {50, 46, 36}, {0, 0, 0}, 0.2f, stSand, 16, true};

  Specials(ts);
  FillFamily(ts, ts.fam[famEarth], 0, 16, earth, true);
  FillFamily(ts, ts.fam[famGranite], 0, 48, granite, true);
  FillFamily(ts, ts.fam[famVolcanic], 0, 80, volcanic, true);
  FillFamily(ts, ts.fam[famMoss], 0, 112, moss, true);
  FillFamily(ts, ts.fam[famCrystal], 0, 144, crystal, true);
  FillFamily(ts, ts.fam[famSand], 0, 175, sand, false);   // 176..190, then water
  FillFamily(ts, ts.fam[famMetal], 0, 192, metal, true);
  Family bricks;
  FillFamily(ts, bricks, 0, 224, brick, true);
  FillFamily(ts, ts.fam[famSurface], 1, 0, surface, true);
  FillFamily(ts, ts.fam[famSandstone], 1, 32, sandstone, true);
  FillFamily(ts, ts.fam[famBasalt], 1, 64, basalt, true);
  FillFamily(ts, ts.fam[famDeep], 1, 96, deep, true);
  Family spare;
  FillFamily(ts, spare, 1, 128, ice, true);
  FillFamily(ts, spare, 1, 175, sand2, false);
  FillFamily(ts, spare, 1, 192, obsidian, true);
  FillFamily(ts, spare, 1, 224, gold, true);
  // set 1, row 10: the cloud bank over the sky, then stars and sky as in
  // set 0's first row
  CloudBank(ts);
  for (int k = 3; k < 16; k++) {
    int from = k < 6 ? tStar1 + (k % 4) : tFireflies + (k % 6);
    int sx = (from % 16) * 64, sy = (from / 16) * 64, dx = ((160 + k) % 16) * 64, dy = ((160 + k) / 16) * 64;
    for (int v = 0; v < 64; v++)
      for (int u = 0; u < 64; u++) {
        ts.colour[1].Set(dx + u, dy + v, ts.colour[0].Get(sx + u, sy + v));
        ts.mask[1][static_cast<size_t>(dy + v) * kTileSetSize + dx + u] =
            ts.mask[0][static_cast<size_t>(sy + v) * kTileSetSize + sx + u];
      }
  }
  // water in both sets
  Canvas w1 = WaterCell(21);
  CellBox(ts, 0, kWaterTile, kWater, w1);
  Canvas w2 = WaterCell(22);
  CellBox(ts, 1, kWaterTile, kWater, w2);
}

}  // namespace wg
