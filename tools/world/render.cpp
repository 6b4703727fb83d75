// The map as one picture: every tile sampled as the game's map drawing samples
// its texture (the cell, the inset, the mirroring, the colour key), at full
// brightness; then the water line, the wind areas, the triggers and the
// placed entities over it, labelled.
#include <algorithm>
#include <array>
#include <cmath>
#include <map>

#include "game.h"
#include "kit.h"

namespace kit {

namespace {

using wg::Rgb;

struct Texture {
  int w = 0, h = 0;
  const uint8_t* rgba = nullptr;
};

// A texture the start-up made, as uploaded (RGBA, first row at t = 0).
bool FindTexture(const RecordDraw& textures, int id, Texture& out) {
  auto d = textures.textures.find(id);
  auto p = textures.pixels.find(id);
  if (d == textures.textures.end() || p == textures.pixels.end() || d->second[2] != tfRGBA)
    return false;
  out = {d->second[0], d->second[1], p->second.data()};
  return true;
}

// The texel nearest filtering takes at (s, t); textures repeat.
const uint8_t* Texel(const Texture& t, float s, float tt) {
  int x = int(std::floor(s * float(t.w))) % t.w, y = int(std::floor(tt * float(t.h))) % t.h;
  if (x < 0) x += t.w;
  if (y < 0) y += t.h;
  return t.rgba + (size_t(y) * size_t(t.w) + size_t(x)) * 4;
}

int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

const Rgb kBox{255, 0, 255}, kTrigger{255, 220, 0}, kWind{120, 200, 255}, kWaterLine{40, 120, 255},
    kLabel{255, 255, 255}, kShadow{0, 0, 0};

struct Painter {
  const RecordDraw& textures;
  const RenderOptions& o;
  wg::Canvas& out;
  struct Label {
    std::string text;
    int x, y, ax, ay;   // where it goes, and the point it names
    Rgb colour;
  };
  std::vector<Label> labels;

  // world pixels to picture pixels
  int X(int px) const { return FloorDiv(px - o.x * TILE_WIDTH, o.scale); }
  int Y(int py) const { return FloorDiv(py - o.y * TILE_HEIGHT, o.scale); }

  void DrawTiles() {
    int cell = TILE_WIDTH / o.scale;
    std::map<uint32_t, std::vector<Rgb>> blocks;   // one block per tile word in use
    for (int ty = o.y; ty < o.y + o.h; ty++)
      for (int tx = o.x; tx < o.x + o.w; tx++) {
        uint32_t word = mapt[tx][ty];
        if ((word & 255) == 0) continue;
        auto [it, fresh] = blocks.try_emplace(word);
        if (fresh) it->second = Block(word, cell);
        for (int v = 0; v < cell; v++)
          for (int u = 0; u < cell; u++)
            out.Set((tx - o.x) * cell + u, (ty - o.y) * cell + v, it->second[size_t(v * cell + u)]);
      }
  }

  // A cell of a tile word at the picture's scale: each pixel the mean of the
  // world pixels it covers.
  std::vector<Rgb> Block(uint32_t word, int cell) const {
    std::vector<Rgb> b(size_t(cell) * size_t(cell));
    int n = o.scale * o.scale;
    for (int v = 0; v < cell; v++)
      for (int u = 0; u < cell; u++) {
        int sum[3] = {0, 0, 0};
        for (int j = 0; j < o.scale; j++)
          for (int i = 0; i < o.scale; i++) {
            Rgb c = TilePixel(textures, word, u * o.scale + i, v * o.scale + j);
            sum[0] += c.r, sum[1] += c.g, sum[2] += c.b;
          }
        b[size_t(v * cell + u)] = {uint8_t((sum[0] + n / 2) / n), uint8_t((sum[1] + n / 2) / n),
                                   uint8_t((sum[2] + n / 2) / n)};
      }
    return b;
  }

  void DrawWater() {
    int y = Y(watery);
    if (y < 0 || y >= out.h) return;
    out.Rect(0, y, out.w, 1, kWaterLine);
    Name("water", X(o.x * TILE_WIDTH) + 2, y, kWaterLine);
  }

  void Outline(int32_t x0, int32_t y0, int32_t x1, int32_t y1, Rgb c, const std::string& name) {
    int a = X(x0 / DIVSCALE), b = Y(y0 / DIVSCALE);
    int w = std::max(1, X(x1 / DIVSCALE) - a), h = std::max(1, Y(y1 / DIVSCALE) - b);
    out.Frame(a, b, w, h, c);
    Name(name, a, b, c);
  }

  void DrawWinds() {
    for (int i = 1; i < MAX_WINDS; i++) {
      const TWindArea& a = WindAreas[i];
      if (a.width == 0) continue;
      Outline(a.x, a.y, a.x + a.width, a.y + a.height, kWind,
              "wind " + std::to_string(a.vx) + "," + std::to_string(a.vy));
    }
  }

  void DrawTriggers() {
    for (int i = 1; i < tslot && i < MAX_TRIGGERS; i++) {
      const TTrigger& t = Triggers[i];
      Outline(t.x, t.y, t.w, t.h, kTrigger, "trigger " + std::to_string(t.id));
    }
  }

  void DrawEntities() {
    for (int i = 0; i < MAX_ENTITIES; i++) {
      const TEntity& e = Entities[i];
      if (e.kind == blank) continue;
      const TEntityClass& c = *ClassOfKind(e.kind);
      int px = e.x / DIVSCALE, py = e.y / DIVSCALE;
      int w = std::max(1, c.width), h = std::max(1, c.height);
      Texture tex;
      if (FindTexture(textures, 256 + e.sprite, tex))
        Sprite(e, c, tex, px, py, w, h);
      else
        Box(px, py, w, h);
      Name(i == players[0].ent ? "start" : KindName(e.kind), X(px), Y(py), kLabel);
    }
  }

  // The picture as the entity drawing maps it: frame 0 of an animated strip,
  // mirrored by the flips, stretched over the class size, t = 1 at the top.
  void Sprite(const TEntity& e, const TEntityClass& c, const Texture& tex, int px, int py, int w,
              int h) {
    int flip = (e.flipx & 1) + 2 * (e.flipy & 1);
    static const float corner[4][4] = {{0, 0, 1, 1}, {1, 0, 0, 1}, {0, 1, 1, 0}, {1, 1, 0, 0}};
    const float* k = corner[flip];   // sL, tA, sR, tB
    float fd = c.framedx != 0 ? c.framedx : 1.0f;
    for (int oy = Y(py); oy <= Y(py + h - 1); oy++)
      for (int ox = X(px); ox <= X(px + w - 1); ox++) {
        float u = std::clamp(((float(ox) + 0.5f) * float(o.scale) + float(o.x * TILE_WIDTH - px)) / float(w), 0.0f, 0.999f);
        float v = std::clamp(((float(oy) + 0.5f) * float(o.scale) + float(o.y * TILE_HEIGHT - py)) / float(h), 0.0f, 0.999f);
        const uint8_t* t = Texel(tex, (k[0] + (k[2] - k[0]) * u) * fd, k[3] + (k[1] - k[3]) * v);
        if (t[3] != 0) out.Set(ox, oy, {t[0], t[1], t[2]});
      }
  }

  // A class without a picture: its box, crossed.
  void Box(int px, int py, int w, int h) {
    int a = X(px), b = Y(py), a2 = std::max(a + 1, X(px + w)), b2 = std::max(b + 1, Y(py + h));
    out.Frame(a, b, a2 - a + 1, b2 - b + 1, kBox);
    out.Line(a, b, a2, b2, kBox);
    out.Line(a, b2, a2, b, kBox);
  }

  void Name(const std::string& text, int x, int y, Rgb colour) {
    if (o.labels) labels.push_back({text, x, y - 9, x, y, colour});
  }

  // Labels go above what they name, moved up out of each other's way, with a
  // line down to the point when moved; a black shadow keeps them readable.
  void DrawLabels() {
    std::vector<std::array<int, 4>> taken;
    for (Label& l : labels) {
      int w = wg::TextWidth(l.text) + 4, h = 9;
      int y = l.y;
      for (int tries = 0; tries < 10; tries++, y -= h) {
        bool free = true;
        for (auto& r : taken) free = free && (l.x + w <= r[0] || r[0] + r[2] <= l.x || y + h <= r[1] || r[1] + r[3] <= y);
        if (free) break;
      }
      if (y != l.y) out.Line(l.x, y + h - 1, l.ax, l.ay, l.colour);
      taken.push_back({l.x, y, w, h});
      out.Text(l.x + 2, y + 2, l.text, kShadow);
      out.Text(l.x + 1, y + 1, l.text, l.colour);
    }
  }
};

}  // namespace

Rgb TilePixel(const RecordDraw& textures, uint32_t word, int px, int py) {
  uint32_t n = word & 255, set = (word >> 8) & 255, flip = word >> 28;
  if (n == 0 || set > 1 || flip > mtXY) return {0, 0, 0};   // the game draws nothing here
  // the cell's quad: s and t run from the cell's inset corner over 0.061 of
  // the texture; mirroring exchanges the quad's corners
  float u = (float(px) + 0.5f) / 64.0f, v = 1.0f - (float(py) + 0.5f) / 64.0f;
  if (flip == mtX || flip == mtXY) u = 1.0f - u;
  if (flip == mtY || flip == mtXY) v = 1.0f - v;
  float s1 = float(n % 16) * 0.0625f + 0.00005f, t1 = float(15 - int(n / 16)) * 0.0625f + 0.00005f;
  float s2 = s1 + 0.061f, t2 = t1 + 0.061f;
  static const uint8_t white[4] = {255, 255, 255, 255};   // no image: the bare colour
  Texture tex;
  const uint8_t* t = FindTexture(textures, int(set) + 1, tex)
                         ? Texel(tex, s1 + (s2 - s1) * u, t1 + (t2 - t1) * v)
                         : white;
  // tile 191 is tinted blue at half alpha; the rest are drawn as they are
  float r = 1, g = 1, b = 1, a = float(t[3]) / 255.0f;
  if (n == 191) r = 0.1f, g = 0.1f, a *= 0.5f;
  return {uint8_t(std::lround(t[0] * r * a)), uint8_t(std::lround(t[1] * g * a)),
          uint8_t(std::lround(t[2] * b * a))};
}

void RenderMap(const RecordDraw& textures, const RenderOptions& o, wg::Canvas& out) {
  out = wg::Canvas(o.w * TILE_WIDTH / o.scale, o.h * TILE_HEIGHT / o.scale, {0, 0, 0});
  Painter p{textures, o, out, {}};
  if (o.tiles) p.DrawTiles();
  if (o.water) p.DrawWater();
  if (o.wind) p.DrawWinds();
  if (o.triggers) p.DrawTriggers();
  if (o.entities) p.DrawEntities();
  p.DrawLabels();
}

}  // namespace kit
