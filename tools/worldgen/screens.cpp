// The fixed pictures: water, smoke, the HUD panel, the menu and the digits.
#include <cmath>

#include "gen.h"

namespace wg {

namespace {

const Rgb kPanel{34, 40, 58}, kPanelHi{90, 104, 140}, kPanelLo{14, 16, 26};
const Rgb kLabel{200, 210, 230}, kKey{255, 214, 90}, kBarSlot{10, 12, 18}, kWhite{250, 250, 250};

void Bevel(Canvas& c, int x, int y, int w, int h) {
  c.Rect(x, y, w, h, kPanel);
  for (int i = x; i < x + w; i++) {
    c.Set(i, y, kPanelHi);
    c.Set(i, y + h - 1, kPanelLo);
  }
  for (int j = y; j < y + h; j++) {
    c.Set(x, j, kPanelHi);
    c.Set(x + w - 1, j, kPanelLo);
  }
}

// The HUD panel is drawn over the scene rectangle x 96..736, y 172..256
// (y upward); the panel's pixel (u, v from the top) shows the scene point
// x = 96 + u * 1.25, y = 256 - v * 84 / 64. Everything the HUD draws on it
// (energy bars, score digits, pass symbols) gets a slot and a label here.
int U(float x) { return static_cast<int>(std::lround((x - 96.0f) * 0.8f)); }
int V(float y) { return static_cast<int>(std::lround((256.0f - y) * 64.0f / 84.0f)); }

Canvas Hud() {
  Canvas c(512, 64);
  Bevel(c, 0, 0, 512, 64);
  for (int y = 2; y < 62; y += 4)
    for (int x = 2; x < 510; x++)
      if (((x + y) & 7) == 0) c.Set(x, y, Mix(kPanel, kPanelHi, 0.25f));
  // seven energy bars: x 106 + 10i .. 112 + 10i, y 180 .. 228
  const char* labels[7] = {"P", "I", "B", "L", "S", "-", "J"};
  Rgb tints[7] = {{200, 200, 200}, {90, 220, 240}, {240, 150, 60}, {230, 110, 200}, {120, 220, 230}, {90, 90, 100}, {240, 214, 80}};
  for (int i = 0; i < 7; i++) {
    int u0 = U(106 + 10.0f * i) - 1, u1 = U(112 + 10.0f * i) + 1;
    int v0 = V(228) - 1, v1 = V(180) + 1;
    c.Rect(u0, v0, u1 - u0, v1 - v0, kBarSlot);
    c.Rect(u0, v1 - 1, u1 - u0, 1, tints[i]);
    c.Text(u0, v0 - 9, labels[i], tints[i]);
  }
  c.Text(U(184), V(212), "ENERGY", kLabel);
  c.Text(U(184), V(200), "P PISTOL  I ICER", Mix(kLabel, kPanel, 0.3f));
  c.Text(U(184), V(190), "B BLAST   L PLASMA", Mix(kLabel, kPanel, 0.3f));
  // title
  c.Text(U(360), V(246), "QUARN", kKey, 3, 6);
  c.Text(U(362), V(212), "S SUIT  J JETPACK", Mix(kLabel, kPanel, 0.3f));
  // score: digits from x 628, y 228 .. 244
  c.Text(U(578), V(241), "SCORE", kLabel);
  c.Rect(U(624), V(247), U(720) - U(624), V(225) - V(247), kPanelLo);
  // the hand: the held object's picture in x 500..568, y 202..238, its
  // name from y 180 up
  c.Text(U(500), V(253), "HAND", kLabel);
  c.Rect(U(498), V(241), U(570) - U(498), V(199) - V(241), kPanelLo);
  c.Rect(U(498), V(197), U(570) - U(498), V(178) - V(197), kBarSlot);
  // passes: x 624 + 21i .. 640 + 21i, y 184 .. 200
  c.Text(U(572), V(197), "PASSES", kLabel);
  for (int i = 0; i < 5; i++) {
    int u0 = U(624 + 21.0f * i) - 1, u1 = U(640 + 21.0f * i) + 1;
    c.Frame(u0, V(201), u1 - u0, V(183) - V(201), kPanelHi);
  }
  return c;
}

// The menu: a grid of 3 x 4 cells of 160 x 32; the game shows the first six
// cells stacked, cell 0 lowest on the screen, so cell 5 is the top line.
Canvas Menu() {
  Canvas c(512, 128, kPanelLo);
  struct Item {
    const char* keys;
    const char* what;
    const char* more;
  };
  const Item items[6] = {
      {"ESC", "QUIT", "0 MENU  1 HUD  2 EDITOR"},       // bottom
      {"F1-F7", "WEAPON", "R REMEMBER  T TELEPORT"},
      {"RETURN", "FIRE", "M DROP  C THROW"},
      {"O K I", "AIM", "UP  DOWN  LEVEL"},
      {"P L", "JETPACK", "HOLD J TO BOOST"},
      {"Q W", "WALK", "WITH N: PICK UP"},              // top
  };
  for (int i = 0; i < 6; i++) {
    // cell i: column i % 3, band i / 3 counted from the bottom of the image
    // (the file's first rows); stored upright, so band 0 is the lowest.
    int x0 = (i % 3) * 160, y0 = 128 - 32 * (i / 3 + 1);
    Canvas cell(160, 32);
    Bevel(cell, 0, 0, 160, 32);
    int x = cell.Text(6, 4, items[i].keys, kKey, 2);
    cell.Text(x + 6, 4, items[i].what, kWhite, 2);
    cell.Text(8, 22, items[i].more, kLabel);
    c.Blit(cell, x0, y0);
  }
  // the six cells that are not shown hold the title
  Canvas title(512, 64, kPanelLo);
  title.Text(150, 14, "QUARN", kKey, 5, 7);
  for (int y = 0; y < 64; y++)
    for (int x = 0; x < 512; x++) c.Set(x, y, title.Get(x, y));
  return c;
}

// Digits 0..9 and the five pass symbols, 16 x 16 cells.
Canvas Nums() {
  Canvas c(256, 16);
  for (int d = 0; d < 10; d++) {
    Canvas g(16, 16);
    g.Text(1, 1, std::string(1, static_cast<char>('0' + d)), kKey, 2);
    g.Outline(Rgb{60, 30, 0});
    c.Blit(g, d * 16, 0);
  }
  Rgb pass[5] = {{230, 60, 50}, {60, 200, 70}, {70, 110, 240}, {240, 210, 50}, {200, 90, 220}};
  for (int i = 0; i < 5; i++) {
    Canvas g(16, 16);
    g.Rect(2, 3, 12, 10, pass[i]);
    g.Rect(3, 5, 4, 3, kWhite);
    g.Rect(8, 5, 5, 1, Scale(pass[i], 0.5f));
    g.Rect(8, 7, 4, 1, Scale(pass[i], 0.5f));
    g.Rect(3, 10, 10, 1, Scale(pass[i], 0.5f));
    g.Outline(kBarSlot);
    c.Blit(g, (10 + i) * 16, 0);
  }
  return c;
}

// The water body is one quad with this texture stretched over the screen,
// so it is nearly even: only a faint ripple.
Canvas Water() {
  Canvas c(16, 16);
  for (int y = 0; y < 16; y++)
    for (int x = 0; x < 16; x++) {
      float n = Fbm(x / 4.0f, y / 4.0f, 4, 2, 31);
      c.Set(x, y, Mix(Rgb{200, 220, 245}, Rgb{235, 245, 255}, n));
    }
  return c;
}

// The particle: a soft round blob, white in the middle (the particle colour
// multiplies it), transparent outside.
Canvas Smoke() {
  Canvas c(64, 64);
  for (int y = 0; y < 64; y++)
    for (int x = 0; x < 64; x++) {
      float d = std::hypot(x - 31.5f, y - 31.5f) / 30.0f;
      if (d > 1.0f) continue;
      float n = Fbm(x / 16.0f, y / 16.0f, 4, 3, 33);
      float b = 1.0f - 0.55f * d * d - 0.15f * n;
      c.Set(x, y, Scale(Rgb{255, 255, 255}, b));
    }
  return c;
}

}  // namespace

void BuildScreens(const std::string& gfx) {
  WriteRaw(gfx + "/h20.raw", Water());
  WriteRaw(gfx + "/smoke.raw", Smoke());
  WriteRaw(gfx + "/hud.raw", Hud());
  WriteRaw(gfx + "/menu.raw", Menu());
  WriteRaw(gfx + "/nums.raw", Nums());
}

}  // namespace wg
