// Noise, drawing, the 5x7 font and the file writers of the world generator.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <algorithm>

#include "gen.h"

namespace wg {

float Hash01(int x, int y, uint32_t seed) {
  uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
               seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return static_cast<float>(h & 0xFFFFFF) / 16777215.0f;
}

static float Smooth(float t) { return t * t * (3.0f - 2.0f * t); }

float PeriodicNoise(float x, float y, int p, uint32_t seed) {
  float fx = std::floor(x), fy = std::floor(y);
  int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
  float tx = Smooth(x - fx), ty = Smooth(y - fy);
  auto at = [&](int i, int j) {
    return Hash01(((i % p) + p) % p, ((j % p) + p) % p, seed);
  };
  float a = at(ix, iy), b = at(ix + 1, iy), c = at(ix, iy + 1), d = at(ix + 1, iy + 1);
  return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

float Fbm(float x, float y, int period, int octaves, uint32_t seed) {
  float sum = 0, amp = 0.5f, norm = 0;
  float scale = 1;
  for (int o = 0; o < octaves; o++) {
    sum += amp * PeriodicNoise(x * scale, y * scale, period * static_cast<int>(scale), seed + o * 101);
    norm += amp;
    amp *= 0.5f;
    scale *= 2;
  }
  return sum / norm;
}

static uint8_t Clamp8(float v) {
  return static_cast<uint8_t>(std::lround(std::min(255.0f, std::max(0.0f, v))));
}

Rgb Mix(Rgb a, Rgb b, float t) {
  t = std::min(1.0f, std::max(0.0f, t));
  return {Clamp8(a.r + (b.r - a.r) * t), Clamp8(a.g + (b.g - a.g) * t), Clamp8(a.b + (b.b - a.b) * t)};
}

Rgb Scale(Rgb a, float f) { return {Clamp8(a.r * f), Clamp8(a.g * f), Clamp8(a.b * f)}; }

// ---- canvas --------------------------------------------------------------------
void Canvas::Rect(int x, int y, int rw, int rh, Rgb c) {
  for (int j = y; j < y + rh; j++)
    for (int i = x; i < x + rw; i++) Set(i, j, c);
}

void Canvas::Frame(int x, int y, int rw, int rh, Rgb c) {
  for (int i = x; i < x + rw; i++) {
    Set(i, y, c);
    Set(i, y + rh - 1, c);
  }
  for (int j = y; j < y + rh; j++) {
    Set(x, j, c);
    Set(x + rw - 1, j, c);
  }
}

void Canvas::Ellipse(float cx, float cy, float rx, float ry, Rgb c) {
  if (rx <= 0 || ry <= 0) return;
  int x0 = static_cast<int>(std::floor(cx - rx)), x1 = static_cast<int>(std::ceil(cx + rx));
  int y0 = static_cast<int>(std::floor(cy - ry)), y1 = static_cast<int>(std::ceil(cy + ry));
  for (int y = y0; y <= y1; y++)
    for (int x = x0; x <= x1; x++) {
      float dx = (x + 0.5f - cx) / rx, dy = (y + 0.5f - cy) / ry;
      if (dx * dx + dy * dy <= 1.0f) Set(x, y, c);
    }
}

void Canvas::Line(int x0, int y0, int x1, int y1, Rgb c) {
  int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
  int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1, err = dx + dy;
  for (;;) {
    Set(x0, y0, c);
    if (x0 == x1 && y0 == y1) break;
    int e2 = 2 * err;
    if (e2 >= dy) { err += dy; x0 += sx; }
    if (e2 <= dx) { err += dx; y0 += sy; }
  }
}

void Canvas::Tri(float x0, float y0, float x1, float y1, float x2, float y2, Rgb c) {
  int minx = static_cast<int>(std::floor(std::min({x0, x1, x2})));
  int maxx = static_cast<int>(std::ceil(std::max({x0, x1, x2})));
  int miny = static_cast<int>(std::floor(std::min({y0, y1, y2})));
  int maxy = static_cast<int>(std::ceil(std::max({y0, y1, y2})));
  auto edge = [](float ax, float ay, float bx, float by, float px, float py) {
    return (bx - ax) * (py - ay) - (by - ay) * (px - ax);
  };
  float area = edge(x0, y0, x1, y1, x2, y2);
  if (area == 0) return;
  for (int y = miny; y <= maxy; y++)
    for (int x = minx; x <= maxx; x++) {
      float px = x + 0.5f, py = y + 0.5f;
      float a = edge(x1, y1, x2, y2, px, py) / area;
      float b = edge(x2, y2, x0, y0, px, py) / area;
      float g = edge(x0, y0, x1, y1, px, py) / area;
      if (a >= 0 && b >= 0 && g >= 0) Set(x, y, c);
    }
}

void Canvas::Outline(Rgb c) {
  std::vector<Rgb> out = px;
  for (int y = 0; y < h; y++)
    for (int x = 0; x < w; x++) {
      if (!IsCyan(Get(x, y))) continue;
      bool near = false;
      for (int k = 0; k < 4 && !near; k++) {
        int nx = x + (k == 0) - (k == 1), ny = y + (k == 2) - (k == 3);
        if (In(nx, ny) && !IsCyan(Get(nx, ny)) && !(Get(nx, ny).r == c.r && Get(nx, ny).g == c.g &&
                                                      Get(nx, ny).b == c.b))
          near = true;
      }
      if (near) out[static_cast<size_t>(y) * w + x] = c;
    }
  px = out;
}

void Canvas::Blit(const Canvas& src, int x, int y) {
  for (int j = 0; j < src.h; j++)
    for (int i = 0; i < src.w; i++)
      if (!IsCyan(src.Get(i, j))) Set(x + i, y + j, src.Get(i, j));
}

Canvas Canvas::MirrorX() const {
  Canvas m(w, h);
  for (int y = 0; y < h; y++)
    for (int x = 0; x < w; x++) m.Set(w - 1 - x, y, Get(x, y));
  return m;
}

// ---- the 5x7 font ------------------------------------------------------------------
struct Glyph {
  char c;
  const char* rows[7];
};
static const Glyph kFont[] = {
    {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'B', {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."}},
    {'C', {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."}},
    {'D', {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."}},
    {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
    {'F', {"#####", "#....", "#....", "####.", "#....", "#....", "#...."}},
    {'G', {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"}},
    {'H', {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'I', {".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'J', {"..###", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."}},
    {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
    {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
    {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
    {'N', {"#...#", "#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#"}},
    {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'P', {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."}},
    {'Q', {".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"}},
    {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
    {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
    {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
    {'U', {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'V', {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
    {'W', {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "#.#.#", ".#.#."}},
    {'X', {"#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"}},
    {'Y', {"#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."}},
    {'Z', {"#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"}},
    {'0', {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."}},
    {'1', {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'2', {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"}},
    {'3', {"#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###."}},
    {'4', {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."}},
    {'5', {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."}},
    {'6', {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."}},
    {'7', {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."}},
    {'8', {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."}},
    {'9', {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."}},
    {'-', {".....", ".....", ".....", "#####", ".....", ".....", "....."}},
    {'/', {".....", "....#", "...#.", "..#..", ".#...", "#....", "....."}},
    {':', {".....", "..#..", "..#..", ".....", "..#..", "..#..", "....."}},
    {'.', {".....", ".....", ".....", ".....", ".....", ".##..", ".##.."}},
    {',', {".....", ".....", ".....", ".....", ".##..", "..#..", ".#..."}},
    {'+', {".....", "..#..", "..#..", "#####", "..#..", "..#..", "....."}},
    {'!', {"..#..", "..#..", "..#..", "..#..", "..#..", ".....", "..#.."}},
    {'?', {".###.", "#...#", "....#", "...#.", "..#..", ".....", "..#.."}},
    {'(', {"...#.", "..#..", ".#...", ".#...", ".#...", "..#..", "...#."}},
    {')', {".#...", "..#..", "...#.", "...#.", "...#.", "..#..", ".#..."}},
    {'\'', {"..#..", "..#..", ".#...", ".....", ".....", ".....", "....."}},
    {'<', {"...#.", "..#..", ".#...", "#....", ".#...", "..#..", "...#."}},
    {'>', {".#...", "..#..", "...#.", "....#", "...#.", "..#..", ".#..."}},
    {'=', {".....", ".....", "#####", ".....", "#####", ".....", "....."}},
    {'&', {".##..", "#..#.", "#.#..", ".#...", "#.#.#", "#..#.", ".##.#"}},
};

static const Glyph* FindGlyph(char c) {
  if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  for (const Glyph& g : kFont)
    if (g.c == c) return &g;
  return nullptr;
}

int TextWidth(const std::string& s, int scale, int advance) {
  if (s.empty()) return 0;
  return static_cast<int>(s.size() - 1) * advance * scale + 5 * scale;
}

int Canvas::Text(int x, int y, const std::string& s, Rgb c, int scale, int advance) {
  for (char ch : s) {
    const Glyph* g = FindGlyph(ch);
    if (g)
      for (int r = 0; r < 7; r++)
        for (int k = 0; k < 5; k++)
          if (g->rows[r][k] == '#') Rect(x + k * scale, y + r * scale, scale, scale, c);
    x += advance * scale;
  }
  return x;
}

// ---- files ---------------------------------------------------------------------------
bool WriteAllBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  bool ok = f != nullptr;
  if (ok && !bytes.empty()) ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  if (f && std::fclose(f) != 0) ok = false;
  return ok;
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  if (!WriteAllBytes(path, bytes)) {
    std::fprintf(stderr, "quarn-world: cannot write %s\n", path.c_str());
    std::exit(1);
  }
}

void WriteRaw(const std::string& path, const Canvas& c) {
  std::vector<uint8_t> out;
  out.reserve(static_cast<size_t>(c.w) * c.h * 3);
  for (int y = c.h - 1; y >= 0; y--)
    for (int x = 0; x < c.w; x++) {
      Rgb p = c.Get(x, y);
      out.push_back(p.r);
      out.push_back(p.g);
      out.push_back(p.b);
    }
  WriteBytes(path, out);
}

void WriteText(const std::string& path, const std::string& text) {
  WriteBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

static void Put16(std::vector<uint8_t>& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
static void Put32(std::vector<uint8_t>& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

void WriteWav(const std::string& path, const std::vector<float>& samples, int rate) {
  std::vector<uint8_t> b;
  uint32_t data = static_cast<uint32_t>(samples.size() * 2);
  b.insert(b.end(), {'R', 'I', 'F', 'F'});
  Put32(b, 36 + data);
  b.insert(b.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  Put32(b, 16);
  Put16(b, 1);                                   // PCM
  Put16(b, 1);                                   // mono
  Put32(b, static_cast<uint32_t>(rate));
  Put32(b, static_cast<uint32_t>(rate) * 2);     // bytes per second
  Put16(b, 2);                                   // block align
  Put16(b, 16);                                  // bits per sample
  b.insert(b.end(), {'d', 'a', 't', 'a'});
  Put32(b, data);
  for (float s : samples) {
    float v = std::max(-1.0f, std::min(1.0f, s));
    int16_t q = static_cast<int16_t>(std::lround(v * 32000.0f));
    Put16(b, static_cast<uint16_t>(q));
  }
  WriteBytes(path, b);
}

}  // namespace wg
