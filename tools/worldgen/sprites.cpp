// The 110 entity classes, in kind order, and their pictures. Pictures face
// right (the game mirrors them for leftward motion); animated classes keep
// their frames side by side in one strip.
#include <cmath>
#include <cstring>

#include "gen.h"

namespace wg {

namespace {

constexpr float kPi = 3.14159265f;

enum { N = 0, X = 1, C = 2, B = 3, M = 4, R = 5, G = 6 };   // how a class dies

struct Row {
  const char* name;
  int w, h, mass, hp, life, regen, walk, gravity, frames, dtype, dmg, dcolour, doc;
  bool five;   // five image files (1name .. 5name)
};

// Kinds 1..110 in order. Creatures deal no contact damage (so shots hurt
// them) except the stingers and biters, which blasts have to deal with;
// projectiles die on contact; doors, nests and turrets have no mass. The
// nests that breed creatures heal a point a frame: their own brood keeps
// bumping into them and would otherwise wear them down unseen, while a
// player's shots still destroy them.
const Row kRows[] = {
    {"man", 20, 32, 48, 200, -1, 1, 1, 1, 5, N, 0, 0, 0, false},
    {"urn", 16, 20, 12, -1, -1, 0, 0, 1, 0, N, 0, 0, 0, false},
    {"urnfull", 16, 20, 12, -1, -1, 0, 0, 1, 0, N, 0, 0, 0, false},
    {"rock", 12, 10, 16, -1, -1, 0, 0, 1, 0, N, 0, 0, 0, false},
    {"coronium", 12, 12, 8, -1, -1, 0, 0, 1, 0, N, 0, 0, 0, false},
    {"yellowblob", 16, 12, 6, 20, -1, 0, 0, 1, 0, C, 0, 0xF3, 0, false},
    {"rcd", 12, 12, 6, -1, -1, 0, 0, 1, 0, N, 0, 0, 0, false},
    {"crcd", 12, 12, 6, -1, -1, 0, 0, 1, 0, N, 0, 0, 0, false},
    {"crystal", 10, 16, 6, -1, -1, 0, 0, 1, 0, N, 0, 0, 0, false},
    {"redshroom", 12, 12, 4, 1, 400, 0, 0, 1, 0, C, 0, 0xF1, 0, false},
    {"blueshroom", 12, 12, 4, 1, 400, 0, 0, 1, 0, C, 2, 0xF4, 1, false},
    {"greenshroom", 12, 12, 4, 1, -1, 0, 0, 1, 0, C, 0, 0xF2, 0, false},
    {"plasmacannon", 24, 12, 16, -1, -1, 0, 0, 1, 0, N, 0, 0, 0, false},
    {"grenade", 10, 10, 8, -1, -1, 0, 0, 1, 4, N, 0, 0, 0, false},
    {"grenadeact", 10, 10, 8, 1, 200, 0, 0, 1, 4, X, 0, 0xF3, 1, false},
    {"pistol", 16, 10, 8, -1, -1, 0, 0, 1, 0, N, 0, 0, 0, false},
    {"icer", 16, 10, 8, -1, -1, 0, 0, 1, 0, N, 0, 0, 0, false},
    {"blaster", 18, 12, 8, -1, -1, 0, 0, 1, 0, N, 0, 0, 0, false},
    {"plasmagun", 20, 12, 8, -1, -1, 0, 0, 1, 0, N, 0, 0, 0, false},
    {"rip", 12, 16, 16, -1, -1, 0, 0, 1, 0, N, 0, 0, 0, false},
    {"fip", 12, 16, 16, -1, -1, 0, 0, 1, 0, N, 0, 0, 0, false},
    {"protsuit", 16, 20, 8, -1, -1, 0, 0, 1, 0, N, 0, 0, 0, false},
    {"booster", 12, 12, 6, -1, -1, 0, 0, 1, 0, N, 0, 0, 0, false},
    {"whistle1", 10, 6, 2, -1, -1, 0, 0, 1, 0, N, 0, 0, 0, false},
    {"whistle2", 10, 6, 2, -1, -1, 0, 0, 1, 0, N, 0, 0, 0, false},
    {"powerpod", 16, 16, 10, -1, -1, 0, 0, 1, 4, N, 0, 0, 0, false},
    {"piano", 48, 32, 120, -1, -1, 0, 0, 1, 0, N, 0, 0, 0, false},
    {"block", 32, 32, 60, -1, -1, 0, 0, 1, 0, N, 0, 0, 0, false},
    {"cannon", 32, 16, 0, -1, -1, 0, 0, 0, 0, N, 0, 0, 0, false},
    {"chatter", 16, 16, 6, 10, -1, 0, 0, 1, 0, C, 0, 0xF7, 0, false},
    {"bullet", 8, 4, 1, 1, 40, 0, 0, 0, 0, R, 10, 0xF3, 1, false},
    {"ice", 8, 8, 1, 1, 60, 0, 0, 0, 0, R, 15, 0xF6, 1, false},
    {"plasma", 10, 10, 2, 1, 80, 0, 0, 0, 0, X, 30, 0xF5, 1, false},
    {"yellowshell", 16, 16, 4, 1, 120, 0, 0, 1, 0, X, 20, 0xF3, 1, false},
    {"blueshell", 12, 12, 4, 1, 120, 0, 0, 1, 0, X, 20, 0xF4, 1, false},
    {"shock", 16, 16, 1, 1, 30, 0, 0, 0, 0, B, 15, 0, 1, false},
    {"redblob", 16, 12, 6, 20, -1, 0, 0, 1, 0, C, 0, 0xF1, 0, false},
    {"redimp", 16, 20, 10, 30, -1, 0, 1, 1, 0, X, 0, 0xF1, 0, false},
    {"blueimp", 16, 20, 10, 30, -1, 0, 1, 1, 0, X, 0, 0xF4, 0, false},
    {"cyanimp", 16, 20, 10, 30, -1, 0, 1, 1, 0, X, 0, 0xF6, 0, false},
    {"mutantimp", 20, 24, 14, 50, -1, 0, 1, 1, 0, X, 0, 0xF5, 0, false},
    {"1gbird", 20, 14, 3, 20, -1, 0, 0, 0, 0, C, 0, 0xF2, 0, true},
    {"1wbird", 20, 14, 3, 20, -1, 0, 0, 0, 0, C, 0, 0xF7, 0, true},
    {"1bat", 20, 12, 3, 20, -1, 0, 0, 0, 0, C, 0, 0xF5, 0, true},
    {"1pbird", 20, 14, 3, 20, -1, 0, 0, 0, 0, C, 0, 0xF5, 0, true},
    {"redfrog", 16, 12, 6, 20, -1, 0, 1, 1, 0, C, 0, 0xF1, 0, false},
    {"greenfrog", 16, 12, 6, 20, -1, 0, 1, 1, 0, C, 0, 0xF2, 0, false},
    {"invisfrog", 16, 12, 6, 20, -1, 0, 1, 1, 0, C, 0, 0xF6, 0, false},
    {"harry", 24, 24, 20, 40, -1, 0, 1, 1, 0, X, 0, 0xF3, 0, false},
    {"cyantele", 16, 24, 20, 30, -1, 0, 1, 1, 0, M, 0, 0xF6, 0, false},
    {"pinktele", 16, 24, 20, 30, -1, 0, 1, 1, 0, M, 0, 0xF5, 0, false},
    {"greentele", 16, 24, 20, 30, -1, 0, 1, 1, 0, M, 0, 0xF2, 0, false},
    {"redtele", 16, 24, 20, 30, -1, 0, 1, 1, 0, M, 0, 0xF1, 0, false},
    {"triax", 24, 24, 30, 50, -1, 0, 1, 1, 0, M, 0, 0xF7, 0, false},
    {"chatteract", 16, 16, 6, 10, -1, 0, 0, 1, 0, C, 0, 0xF7, 0, false},
    {"whiteburger", 24, 20, 30, 40, -1, 0, 0, 1, 0, X, 0, 0xF3, 0, false},
    {"cyanburger", 24, 20, 30, 40, -1, 0, 0, 1, 0, X, 0, 0xF6, 0, false},
    {"pinkdalek", 20, 28, 40, 60, -1, 0, 1, 1, 0, M, 0, 0xF5, 0, false},
    {"reddalek", 20, 28, 40, 60, -1, 0, 1, 1, 0, M, 0, 0xF1, 0, false},
    {"bluedalek", 20, 28, 40, 60, -1, 0, 1, 1, 0, M, 0, 0xF4, 0, false},
    {"fluffy", 20, 16, 4, 15, -1, 0, 0, 1, 0, C, 0, 0xF7, 0, false},
    {"bigfish", 40, 20, 300, 60, -1, 0, 0, 0, 0, X, 0, 0xF4, 0, false},
    {"stonedcrew", 28, 12, 40, 20, -1, 0, 0, 1, 0, C, 0, 0xF3, 0, false},
    {"whitewasp", 14, 10, 2, 4, -1, 0, 0, 0, 4, C, 1, 0xF7, 0, false},
    {"greenwasp", 14, 10, 2, 4, -1, 0, 0, 0, 4, C, 1, 0xF2, 0, false},
    {"pinkgrub", 16, 8, 6, 10, -1, 0, 1, 1, 4, C, 0, 0xF5, 0, false},
    {"yellowgrub", 16, 8, 6, 10, -1, 0, 1, 1, 4, C, 0, 0xF3, 0, false},
    {"buzzball", 16, 16, 4, 10, -1, 0, 0, 0, 4, X, 4, 0xF7, 0, false},
    {"invisbuzzball", 16, 16, 4, 10, -1, 0, 0, 0, 4, X, 4, 0xF6, 0, false},
    {"greenfish", 12, 8, 300, 6, -1, 0, 0, 0, 0, C, 3, 0xF2, 0, false},
    {"redfish", 12, 8, 300, 6, -1, 0, 0, 0, 0, C, 3, 0xF1, 0, false},
    {"button", 12, 8, 0, -1, -1, 0, 0, 0, 0, N, 0, 0, 0, false},
    {"greendoor", 16, 48, 0, -1, -1, 0, 0, 0, 0, N, 0, 0, 0, false},
    {"reddoor", 16, 48, 0, -1, -1, 0, 0, 0, 0, N, 0, 0, 0, false},
    {"yellowdoor", 16, 48, 0, -1, -1, 0, 0, 0, 0, N, 0, 0, 0, false},
    {"cyandoor", 16, 48, 0, -1, -1, 0, 0, 0, 0, N, 0, 0, 0, false},
    {"redpinkdoor", 16, 48, 0, -1, -1, 0, 0, 0, 0, N, 0, 0, 0, false},
    {"pinkdoor", 16, 48, 0, -1, -1, 0, 0, 0, 0, N, 0, 0, 0, false},
    {"greendoorh", 48, 16, 0, -1, -1, 0, 0, 0, 0, N, 0, 0, 0, false},
    {"cyandoorh", 48, 16, 0, -1, -1, 0, 0, 0, 0, N, 0, 0, 0, false},
    {"tiledoor", 64, 64, 0, -1, -1, 0, 0, 0, 0, N, 0, 0, 0, false},
    {"tiledoorh", 64, 64, 0, -1, -1, 0, 0, 0, 0, N, 0, 0, 0, false},
    {"greennest", 24, 24, 0, 40, -1, 0, 0, 0, 0, X, 0, 0xF2, 0, false},
    {"rednest", 24, 24, 0, 40, -1, 0, 0, 0, 0, X, 0, 0xF1, 0, false},
    {"yellownest", 24, 24, 0, 40, -1, 0, 0, 0, 0, X, 0, 0xF3, 0, false},
    {"purplenest", 24, 24, 0, 40, -1, 0, 0, 0, 0, X, 0, 0xF5, 0, false},
    {"slownest", 24, 24, 0, 40, -1, 0, 0, 0, 0, X, 0, 0xF7, 0, false},
    {"cyannest", 24, 24, 0, 40, -1, 0, 0, 0, 0, X, 0, 0xF6, 0, false},
    {"redglook", 20, 20, 10, 20, -1, 0, 0, 1, 0, C, 0, 0xF1, 0, false},
    {"fire", 16, 20, 0, -1, -1, 0, 0, 0, 4, B, 4, 0, 0, false},
    {"waspnest", 24, 24, 0, 60, -1, 1, 0, 0, 0, X, 0, 0xF3, 0, false},
    {"piranhanest", 24, 24, 0, 60, -1, 1, 0, 0, 0, X, 0, 0xF2, 0, false},
    {"gargoyle", 24, 24, 0, 80, -1, 0, 0, 0, 0, X, 0, 0xF7, 0, false},
    {"wpblaster", 14, 10, 8, -1, -1, 0, 0, 1, 0, N, 0, 0, 0, false},
    {"wpcannon", 14, 10, 8, -1, -1, 0, 0, 1, 0, N, 0, 0, 0, false},
    {"wpicer", 14, 10, 8, -1, -1, 0, 0, 1, 0, N, 0, 0, 0, false},
    {"wppistol", 14, 10, 8, -1, -1, 0, 0, 1, 0, N, 0, 0, 0, false},
    {"wpplasma", 14, 10, 8, -1, -1, 0, 0, 1, 0, N, 0, 0, 0, false},
    {"wpsuit", 14, 10, 8, -1, -1, 0, 0, 1, 0, N, 0, 0, 0, false},
    {"wpjetpack", 14, 10, 8, -1, -1, 0, 0, 1, 0, N, 0, 0, 0, false},
    {"wprandom", 14, 10, 8, -1, -1, 0, 0, 1, 0, N, 0, 0, 0, false},
    {"spawner", 24, 16, 0, 60, -1, 1, 0, 0, 0, X, 0, 0xF1, 0, false},
    {"dropper", 24, 16, 0, -1, -1, 0, 0, 0, 0, B, 0, 0, 0, false},
    {"guidedice", 8, 8, 1, 1, 120, 0, 0, 0, 0, R, 15, 0xF6, 1, false},
    {"key1", 12, 8, 4, -1, -1, 0, 0, 1, 0, N, 0, 0, 0, false},
    {"key2", 12, 8, 4, -1, -1, 0, 0, 1, 0, N, 0, 0, 0, false},
    {"key3", 12, 8, 4, -1, -1, 0, 0, 1, 0, N, 0, 0, 0, false},
    {"key4", 12, 8, 4, -1, -1, 0, 0, 1, 0, N, 0, 0, 0, false},
    {"key5", 12, 8, 4, -1, -1, 0, 0, 1, 0, N, 0, 0, 0, false},
    {"key6", 12, 8, 4, -1, -1, 0, 0, 1, 0, N, 0, 0, 0, false},
};
static_assert(sizeof(kRows) / sizeof(kRows[0]) == 110, "one record per kind");

// ---- palette ---------------------------------------------------------------------
const Rgb kBlack{16, 16, 20}, kWhite{245, 245, 245}, kGrey{140, 140, 150}, kDark{60, 60, 70};
const Rgb kRed{220, 50, 40}, kGreen{60, 190, 60}, kBlue{60, 90, 230}, kYellow{240, 210, 50};
const Rgb kPink{240, 110, 190}, kAqua{40, 200, 220}, kOrange{240, 140, 40}, kBrown{130, 80, 40};
const Rgb kPurple{150, 70, 200};

void Eye(Canvas& c, int x, int y, bool big = false) {
  c.Rect(x, y, big ? 3 : 2, big ? 3 : 2, kWhite);
  c.Set(x + (big ? 2 : 1), y + (big ? 1 : 1), kBlack);
}

// ---- the pictures ------------------------------------------------------------------
void DrawMan(Canvas& c, int f) {
  int o = f * 20;
  Rgb suit{220, 120, 40}, suitD{170, 80, 25}, helm{225, 230, 235}, visor{40, 150, 200};
  // jetpack on the back
  c.Rect(o + 1, 11, 5, 11, kGrey);
  c.Rect(o + 2, 12, 3, 9, Rgb{170, 170, 180});
  c.Rect(o + 2, 22, 3, 2, kDark);
  // body and belt
  c.Rect(o + 6, 11, 9, 11, suit);
  c.Rect(o + 6, 11, 2, 11, suitD);
  c.Rect(o + 6, 19, 9, 2, kBrown);
  // head
  c.Disc(o + 10.5f, 6, 5.2f, helm);
  c.Rect(o + 11, 4, 5, 4, visor);
  c.Set(o + 14, 4, kWhite);
  // arm with a gun
  c.Rect(o + 11, 13, 5, 3, suitD);
  c.Rect(o + 15, 12, 4, 3, kDark);
  // legs
  int lx[5][2] = {{7, 11}, {5, 13}, {9, 9}, {8, 11}, {5, 9}};
  for (int k = 0; k < 2; k++) {
    int x = o + lx[f][k];
    if (f == 4) {
      c.Rect(x, 22, 3, 6, suitD);
      c.Rect(x - 2, 27, 4, 2, kBlack);
    } else {
      c.Rect(x, 22, 3, 8, k == 0 ? suitD : suit);
      c.Rect(x, 29, 4, 3, kBlack);
    }
  }
  if (f == 4) {   // the jetpack's flame
    c.Tri(o + 1.5f, 24, o + 5.5f, 24, o + 3.5f, 31.5f, kOrange);
    c.Tri(o + 2.5f, 24, o + 4.5f, 24, o + 3.5f, 29, kYellow);
  }
}

void DrawUrn(Canvas& c, bool full) {
  Rgb clay{190, 110, 60}, clayD{140, 70, 35};
  c.Ellipse(8, 13, 7, 6.5f, clay);
  c.Rect(5, 2, 6, 6, clay);
  c.Rect(3, 1, 10, 2, clayD);
  c.Rect(3, 18, 10, 2, clayD);
  c.Rect(2, 12, 12, 1, clayD);
  for (int x = 3; x < 13; x += 3) c.Set(x, 14, Rgb{230, 180, 90});
  if (full) {
    c.Rect(5, 3, 6, 2, Rgb{60, 120, 255});
    c.Set(6, 3, kWhite);
  } else {
    c.Rect(5, 3, 6, 2, Rgb{40, 20, 10});
  }
}

void DrawGun(Canvas& c, Rgb body, Rgb muzzle, int w, int h, int style) {
  int by = h / 2 - 2;
  c.Rect(2, by, w - 5, 4, body);
  c.Rect(2, by, w - 5, 1, Mix(body, kWhite, 0.4f));
  c.Rect(w - 4, by, 3, 4, muzzle);
  c.Rect(3, by + 4, 3, h - by - 5, kBrown);
  if (style == 1) c.Disc(w - 3.f, h / 2.f, 3, muzzle);       // a bell
  if (style == 2)
    for (int x = 5; x < w - 5; x += 3) c.Rect(x, by - 1, 1, 6, muzzle);   // coils
  c.Outline(kBlack);
}

void DrawBird(Canvas& c, Rgb body, Rgb wing, int pose, bool bat) {
  int w = c.w;
  c.Ellipse(w / 2.f, 8, 6, 3.5f, body);
  if (!bat) {
    c.Disc(w - 5.f, 6, 3, body);
    c.Tri(w - 2.f, 5, w - 2.f, 8, w + 0.5f, 6.5f, kOrange);
    c.Set(w - 4, 5, kBlack);
    c.Tri(2, 6, 5, 8, 1, 11, Scale(body, 0.7f));   // tail
  } else {
    c.Disc(w - 6.f, 6, 2.5f, body);
    c.Tri(w - 8.f, 4, w - 6.f, 4, w - 7.f, 1, body);
    c.Tri(w - 5.f, 4, w - 3.f, 4, w - 4.f, 1, body);
    c.Set(w - 5, 6, kRed);
  }
  float tip = pose == 0 ? 0.5f : (pose == 1 ? 5.0f : (pose == 2 ? 11.5f : 3.0f));
  c.Tri(w / 2.f - 4, 7, w / 2.f + 3, 7, w / 2.f - 3, tip, wing);
  if (bat) c.Tri(w / 2.f - 7, 7, w / 2.f - 2, 7, w / 2.f - 7, tip + 2, wing);
  c.Outline(kBlack);
}

void DrawWasp(Canvas& c, int f, Rgb body) {
  int o = f * 14;
  c.Ellipse(o + 5, 6, 4.5f, 3, body);
  for (int x = 2; x < 9; x += 3) c.Rect(o + x, 3, 1, 6, kBlack);
  c.Disc(o + 10.5f, 5, 2.5f, kBlack);
  c.Set(o + 11, 4, kRed);
  c.Set(o, 7, kBlack);
  int wy = (f % 2 == 0) ? 0 : 2;
  c.Ellipse(o + 7, 1.5f + wy * 0.5f, 3, 1.5f, Rgb{210, 230, 240});
  c.Ellipse(o + 5, 2 + wy * 0.5f, 2.5f, 1.5f, Rgb{190, 210, 225});
}

void DrawImp(Canvas& c, Rgb fur, int w, int h) {
  Rgb face = Mix(fur, kWhite, 0.45f);
  float cx = w / 2.f;
  c.Ellipse(cx, h * 0.62f, w * 0.32f, h * 0.26f, fur);             // body
  c.Disc(cx + 1, h * 0.28f, w * 0.3f, fur);                         // head
  c.Disc(cx - w * 0.28f, h * 0.24f, 2, face);                       // ear
  c.Disc(cx + w * 0.34f, h * 0.24f, 2, face);
  c.Tri(cx - 4, h * 0.12f, cx - 2, h * 0.12f, cx - 4, 0, kYellow);   // horns
  c.Tri(cx + 3, h * 0.12f, cx + 5, h * 0.12f, cx + 5, 0, kYellow);
  c.Ellipse(cx + 2, h * 0.33f, w * 0.18f, h * 0.11f, face);          // muzzle
  Eye(c, static_cast<int>(cx), static_cast<int>(h * 0.22f));
  Eye(c, static_cast<int>(cx) + 3, static_cast<int>(h * 0.22f));
  c.Rect(static_cast<int>(cx) + 1, static_cast<int>(h * 0.38f), 3, 1, kBlack);
  c.Rect(static_cast<int>(cx - w * 0.25f), h - 4, 3, 4, Scale(fur, 0.7f));   // feet
  c.Rect(static_cast<int>(cx + w * 0.1f), h - 4, 3, 4, Scale(fur, 0.7f));
  c.Line(static_cast<int>(cx - w * 0.3f), static_cast<int>(h * 0.7f), 0, static_cast<int>(h * 0.5f),
         Scale(fur, 0.7f));   // tail
  c.Outline(kBlack);
}

void DrawDalek(Canvas& c, Rgb body) {
  Rgb dk = Scale(body, 0.6f);
  c.Tri(3, 27.5f, 17, 27.5f, 5, 12, body);
  c.Tri(17, 27.5f, 15, 12, 5, 12, body);
  for (int y = 15; y < 27; y += 4)
    for (int x = 6; x < 16; x += 4) c.Disc(x + (y % 8 ? 1.f : 0.f), static_cast<float>(y), 1.2f, dk);
  c.Rect(5, 9, 11, 3, Mix(body, kWhite, 0.3f));
  c.Rect(5, 8, 11, 1, dk);
  c.Ellipse(10, 5, 5, 4.5f, Mix(body, kGrey, 0.4f));
  c.Rect(5, 5, 11, 3, Mix(body, kGrey, 0.4f));
  c.Rect(14, 3, 6, 1, kGrey);
  c.Disc(19, 3.5f, 1.2f, kAqua);
  c.Rect(16, 10, 4, 1, kGrey);                 // plunger
  c.Rect(19, 9, 1, 3, kBlack);
  c.Rect(7, 3, 1, 2, kYellow);                 // lights
  c.Rect(12, 3, 1, 2, kYellow);
  c.Outline(kBlack);
}

void DrawBurger(Canvas& c, Rgb bun) {
  c.Ellipse(12, 7, 11, 6.5f, bun);
  c.Rect(1, 7, 22, 3, bun);
  for (int k = 0; k < 6; k++) c.Set(5 + k * 3, 3 + (k % 2) * 2, kWhite);
  for (int x = 1; x < 23; x++) c.Set(x, 10 + (x % 3 == 0), kGreen);
  c.Rect(1, 11, 22, 3, kBrown);
  c.Rect(1, 14, 22, 1, kYellow);
  c.Ellipse(12, 16.5f, 11, 3, Scale(bun, 0.85f));
  Eye(c, 8, 4, true);
  Eye(c, 14, 4, true);
  c.Outline(kBlack);
}

void DrawNest(Canvas& c, Rgb col) {
  c.Ellipse(12, 14, 11.5f, 10, Scale(col, 0.65f));
  for (int k = 0; k < 40; k++) {
    float a = k * 0.61f, r = 3 + (k % 7);
    c.Set(static_cast<int>(12 + r * std::cos(a)), static_cast<int>(14 + r * 0.8f * std::sin(a)), col);
  }
  c.Disc(8, 12, 2.5f, kBlack);
  c.Disc(16, 15, 2.5f, kBlack);
  c.Disc(11, 19, 2, kBlack);
  c.Outline(kBlack);
}

void DrawDoorV(Canvas& c, Rgb col) {
  int h = c.h;
  c.Rect(0, 0, 16, h, col);
  c.Rect(0, 0, 2, h, Mix(col, kWhite, 0.4f));
  c.Rect(14, 0, 2, h, Scale(col, 0.5f));
  for (int y = 5; y < h; y += 12) {
    c.Rect(3, y, 10, 2, Scale(col, 0.6f));
    c.Set(4, y + 5, kGrey);
    c.Set(11, y + 5, kGrey);
  }
  c.Rect(5, h / 2 - 4, 6, 8, kBlack);   // the lock
  c.Disc(8, h / 2 - 1.f, 1.5f, kYellow);
}

void DrawDoorH(Canvas& c, Rgb col) {
  int w = c.w;
  c.Rect(0, 0, w, 16, col);
  c.Rect(0, 0, w, 2, Mix(col, kWhite, 0.4f));
  c.Rect(0, 14, w, 2, Scale(col, 0.5f));
  for (int x = 5; x < w; x += 12) c.Rect(x, 3, 2, 10, Scale(col, 0.6f));
  c.Rect(w / 2 - 4, 5, 8, 6, kBlack);
  c.Disc(w / 2.f, 8, 1.5f, kYellow);
}

void DrawTileDoor(Canvas& c) {
  for (int y = 0; y < 64; y++)
    for (int x = 0; x < 64; x++) {
      float n = Fbm(x / 16.0f, y / 16.0f, 4, 4, 1);
      c.Set(x, y, Mix(Rgb{72, 46, 30}, Rgb{150, 104, 64}, n));
    }
  c.Frame(0, 0, 64, 64, Rgb{40, 26, 16});
  c.Line(20, 0, 24, 63, Rgb{40, 26, 16});
}

void DrawFire(Canvas& c, int f) {
  int o = f * 16;
  float sway = (f == 1 ? 1.5f : (f == 3 ? -1.5f : 0.f));
  c.Tri(o + 1, 19.5f, o + 15, 19.5f, o + 8 + sway, 2 + (f % 2) * 2.f, kRed);
  c.Tri(o + 3, 19.5f, o + 13, 19.5f, o + 8 - sway, 6 + (f % 2), kOrange);
  c.Tri(o + 5, 19.5f, o + 11, 19.5f, o + 8 + sway * 0.5f, 11, kYellow);
  c.Rect(o + 2, 18, 12, 2, kBrown);
}

void DrawGrub(Canvas& c, int f, Rgb col) {
  int o = f * 16;
  for (int k = 0; k < 5; k++) {
    float y = 5 + ((k + f) % 2 == 0 ? -0.8f : 0.6f);
    c.Disc(o + 3.f + k * 2.5f, y, 2.6f, k % 2 ? col : Scale(col, 0.8f));
  }
  c.Set(o + 14, 3, kBlack);
  c.Outline(kBlack);
}

void DrawBuzz(Canvas& c, int f, Rgb col, bool invisible) {
  int o = f * 16;
  for (int k = 0; k < 8; k++) {
    float a = k * kPi / 4 + f * kPi / 16;
    c.Line(o + 8, 8, o + static_cast<int>(8 + 7.4f * std::cos(a)), static_cast<int>(8 + 7.4f * std::sin(a)),
           invisible ? Rgb{180, 220, 240} : kYellow);
  }
  if (!invisible) {
    c.Disc(o + 8, 8, 4.5f, col);
    c.Disc(o + 7, 7, 1.5f, kWhite);
  }
  c.Set(o + 8, 8, kWhite);
}

void DrawFish(Canvas& c, Rgb col, int w, int h, bool teeth) {
  c.Ellipse(w * 0.45f, h / 2.f, w * 0.38f, h * 0.42f, col);
  c.Tri(0, 0, 0, static_cast<float>(h), w * 0.18f, h / 2.f, Scale(col, 0.7f));
  c.Tri(w * 0.35f, 1, w * 0.6f, 1, w * 0.4f, h * 0.4f, Scale(col, 0.8f));
  Eye(c, static_cast<int>(w * 0.68f), static_cast<int>(h * 0.3f), h > 10);
  if (teeth)
    for (int x = static_cast<int>(w * 0.62f); x < w * 0.8f; x += 2) c.Set(x, static_cast<int>(h * 0.65f), kWhite);
  c.Outline(kBlack);
}

void DrawTele(Canvas& c, Rgb col) {
  c.Rect(3, 2, 10, 9, kGrey);
  c.Rect(4, 3, 8, 7, col);
  c.Rect(5, 4, 2, 2, kWhite);
  c.Line(8, 2, 10, 0, kGrey);
  c.Set(10, 0, kRed);
  c.Rect(4, 11, 8, 8, Scale(kGrey, 0.8f));
  c.Rect(6, 13, 4, 3, col);
  c.Disc(5, 21, 2.5f, kDark);
  c.Disc(11, 21, 2.5f, kDark);
  c.Outline(kBlack);
}

void DrawKey(Canvas& c, Rgb col) {
  c.Disc(3, 4, 3, col);
  c.Set(3, 4, kBlack);
  c.Rect(5, 3, 7, 2, col);
  c.Rect(9, 5, 1, 2, col);
  c.Rect(11, 5, 1, 2, col);
  c.Outline(kBlack);
}

void DrawChip(Canvas& c, Rgb col, const char* letter) {
  c.Rect(0, 0, 14, 10, Scale(col, 0.5f));
  c.Rect(1, 1, 12, 8, col);
  c.Text(5, 2, letter, kBlack, 1);
}

void DrawClass(Canvas& c, int kind, int variant) {
  const Row& r = kRows[kind - 1];
  switch (kind) {
    case 1:
      for (int f = 0; f < 5; f++) DrawMan(c, f);
      break;
    case 2: DrawUrn(c, false); break;
    case 3: DrawUrn(c, true); break;
    case 4:
      c.Ellipse(6, 5.5f, 5.8f, 4.5f, kGrey);
      c.Ellipse(5, 4, 3, 2, Rgb{180, 180, 185});
      c.Outline(kDark);
      break;
    case 5:
      c.Tri(1, 11.5f, 11, 11.5f, 6, 0, Rgb{40, 200, 90});
      c.Tri(3, 11.5f, 8, 11.5f, 5, 3, Rgb{150, 255, 170});
      c.Outline(Rgb{10, 60, 30});
      break;
    case 6: case 37: {
      Rgb col = kind == 6 ? kYellow : kRed;
      c.Ellipse(8, 8, 7.5f, 4.5f, col);
      c.Disc(8, 5, 4, col);
      Eye(c, 6, 3);
      Eye(c, 10, 3);
      c.Outline(Scale(col, 0.4f));
      break;
    }
    case 7: case 8: {
      Rgb col = kind == 7 ? kRed : kBlue;
      c.Rect(1, 4, 10, 8, kDark);
      c.Rect(2, 5, 8, 3, col);
      c.Rect(3, 9, 2, 2, kGrey);
      c.Rect(7, 9, 2, 2, kGrey);
      c.Line(9, 4, 11, 0, kGrey);
      c.Set(11, 0, col);
      break;
    }
    case 9:
      c.Tri(5, 0, 0.5f, 8, 9.5f, 8, Rgb{120, 180, 255});
      c.Tri(0.5f, 8, 9.5f, 8, 5, 16, Rgb{70, 120, 230});
      c.Line(5, 1, 5, 14, Rgb{220, 240, 255});
      c.Outline(Rgb{20, 40, 100});
      break;
    case 10: case 11: case 12: {
      Rgb cap = kind == 10 ? kRed : (kind == 11 ? kBlue : kGreen);
      c.Rect(4, 6, 4, 6, Rgb{235, 225, 200});
      c.Ellipse(6, 5, 6, 4.5f, cap);
      c.Rect(0, 5, 12, 2, cap);
      c.Set(3, 3, kWhite);
      c.Set(7, 2, kWhite);
      c.Set(9, 4, kWhite);
      c.Outline(kBlack);
      break;
    }
    case 13: DrawGun(c, Rgb{110, 60, 160}, kPink, 24, 12, 2); break;
    case 14: case 15:
      for (int f = 0; f < 4; f++) {
        int o = f * 10;
        c.Disc(o + 5, 5.5f, 4.3f, Rgb{70, 90, 60});
        c.Rect(o + 4, 0, 3, 2, kGrey);
        c.Set(o + 5, 5, (kind == 15 && f % 2 == 0) ? kRed : (kind == 14 ? Rgb{120, 140, 100} : kYellow));
        c.Set(o + 3, 4, Rgb{120, 140, 100});
      }
      break;
    case 16: DrawGun(c, kGrey, kDark, 16, 10, 0); break;
    case 17: DrawGun(c, Rgb{200, 230, 245}, kAqua, 16, 10, 0); break;
    case 18: DrawGun(c, kOrange, kYellow, 18, 12, 1); break;
    case 19: DrawGun(c, kPurple, kPink, 20, 12, 2); break;
    case 20: case 21:
      c.Ellipse(6, 5, 5.5f, 5, kGrey);
      c.Rect(1, 5, 10, 10, kGrey);
      c.Rect(0, 14, 12, 2, kDark);
      if (kind == 20) {
        c.Rect(5, 3, 2, 8, kDark);
        c.Rect(3, 5, 6, 2, kDark);
      } else {
        c.Disc(6, 7, 2, kPink);
        c.Set(6, 7, kYellow);
        c.Rect(6, 9, 1, 4, kGreen);
      }
      c.Outline(kBlack);
      break;
    case 22:
      c.Rect(4, 4, 8, 9, kAqua);
      c.Rect(1, 4, 3, 7, Scale(kAqua, 0.8f));
      c.Rect(12, 4, 3, 7, Scale(kAqua, 0.8f));
      c.Rect(4, 13, 3, 7, Scale(kAqua, 0.7f));
      c.Rect(9, 13, 3, 7, Scale(kAqua, 0.7f));
      c.Disc(8, 2, 2.5f, kWhite);
      c.Rect(6, 6, 4, 3, kYellow);
      c.Outline(kBlack);
      break;
    case 23:
      c.Rect(3, 1, 6, 8, kRed);
      c.Tri(3, 1, 9, 1, 6, -2, kWhite);
      c.Tri(1, 9, 3, 6, 3, 10, kGrey);
      c.Tri(11, 9, 9, 6, 9, 10, kGrey);
      c.Tri(4, 9, 8, 9, 6, 12, kOrange);
      c.Outline(kBlack);
      break;
    case 24: case 25: {
      Rgb col = kind == 24 ? kYellow : kAqua;
      c.Rect(0, 1, 7, 4, col);
      c.Disc(7, 3, 2.5f, col);
      c.Set(2, 2, kBlack);
      c.Outline(kBlack);
      break;
    }
    case 26:
      for (int f = 0; f < 4; f++) {
        int o = f * 16;
        float rad = 5.5f + (f == 1 || f == 3 ? 1.0f : (f == 2 ? 2.0f : 0.f));
        c.Disc(o + 8, 8, rad, Rgb{60, 220, 120});
        c.Disc(o + 8, 8, rad - 2.5f, Rgb{190, 255, 210});
        c.Disc(o + 7, 7, 1.2f, kWhite);
      }
      break;
    case 27:
      c.Rect(2, 6, 44, 16, kBlack);
      c.Ellipse(34, 6, 14, 6, kBlack);
      c.Rect(2, 14, 30, 6, kWhite);
      for (int x = 4; x < 32; x += 3) c.Rect(x, 14, 1, 4, kBlack);
      for (int x = 3; x < 32; x += 3) c.Rect(x, 14, 1, 6, Rgb{200, 200, 200});
      c.Rect(5, 22, 2, 10, Rgb{40, 40, 40});
      c.Rect(40, 22, 2, 10, Rgb{40, 40, 40});
      c.Line(30, 6, 44, 0, Rgb{60, 60, 60});
      break;
    case 28:
      for (int y = 0; y < 32; y++)
        for (int x = 0; x < 32; x++) c.Set(x, y, Mix(Rgb{110, 110, 118}, Rgb{170, 170, 178}, Fbm(x / 8.f, y / 8.f, 4, 3, 9)));
      c.Frame(0, 0, 32, 32, kDark);
      c.Rect(1, 1, 30, 1, Rgb{200, 200, 205});
      c.Rect(1, 1, 1, 30, Rgb{200, 200, 205});
      break;
    case 29:
      c.Rect(6, 3, 24, 6, kDark);
      c.Rect(6, 3, 24, 1, kGrey);
      c.Disc(10, 11, 4.5f, kBrown);
      c.Disc(10, 11, 1.5f, kBlack);
      c.Disc(24, 11, 4.5f, kBrown);
      c.Disc(24, 11, 1.5f, kBlack);
      c.Rect(28, 2, 3, 8, kBlack);
      break;
    case 30: case 55: {
      Rgb gum = kind == 30 ? kPink : kRed;
      c.Ellipse(8, 5, 7.5f, 4, gum);
      c.Ellipse(8, 12, 7.5f, 3.5f, gum);
      for (int x = 2; x < 15; x += 2) {
        c.Rect(x, 6, 1, 3, kWhite);
        c.Rect(x + 1, 9, 1, 2, kWhite);
      }
      c.Outline(kBlack);
      break;
    }
    case 31:
      c.Rect(0, 1, 6, 2, kYellow);
      c.Rect(6, 0, 2, 4, kOrange);
      break;
    case 32: case 104:
      c.Tri(4, 0, 0, 4, 8, 4, kind == 32 ? kAqua : Rgb{120, 255, 255});
      c.Tri(0, 4, 8, 4, 4, 8, kind == 32 ? Rgb{30, 150, 200} : kWhite);
      break;
    case 33:
      c.Disc(5, 5, 5, kPurple);
      c.Disc(5, 5, 3, kPink);
      c.Disc(5, 5, 1.5f, kWhite);
      break;
    case 34: case 35: {
      Rgb col = kind == 34 ? kYellow : kBlue;
      float rr = kind == 34 ? 7.5f : 5.5f;
      c.Disc(rr + 0.5f, rr + 0.5f, rr, Scale(col, 0.7f));
      c.Disc(rr + 0.5f, rr + 0.5f, rr - 2, col);
      c.Disc(rr - 1, rr - 1, 1.5f, kWhite);
      break;
    }
    case 36:
      c.Line(10, 0, 4, 8, kYellow);
      c.Line(4, 8, 12, 8, kYellow);
      c.Line(12, 8, 6, 15, kYellow);
      c.Line(11, 0, 5, 8, kWhite);
      c.Line(11, 9, 5, 15, kWhite);
      break;
    case 38: DrawImp(c, kRed, 16, 20); break;
    case 39: DrawImp(c, kBlue, 16, 20); break;
    case 40: DrawImp(c, kAqua, 16, 20); break;
    case 41: DrawImp(c, kPurple, 20, 24); break;
    case 42: DrawBird(c, kGreen, Scale(kGreen, 0.7f), variant, false); break;
    case 43: DrawBird(c, kWhite, Rgb{200, 200, 210}, variant, false); break;
    case 44: DrawBird(c, Rgb{70, 50, 80}, Rgb{100, 70, 110}, variant, true); break;
    case 45: DrawBird(c, kPink, Scale(kPink, 0.75f), variant, false); break;
    case 46: case 47: case 48: {
      bool invis = kind == 48;
      Rgb col = kind == 46 ? kRed : kGreen;
      if (!invis) {
        c.Ellipse(8, 8, 7, 4, col);
        c.Ellipse(3, 10, 3, 2, Scale(col, 0.8f));
        c.Ellipse(13, 10, 3, 2, Scale(col, 0.8f));
        c.Rect(9, 8, 5, 1, kBlack);
      }
      Eye(c, 6, 2, true);
      Eye(c, 10, 2, true);
      if (!invis) c.Outline(kBlack);
      break;
    }
    case 49:
      for (int k = 0; k < 220; k++) {
        float a = k * 0.37f, rr = 4 + (k % 9);
        c.Set(static_cast<int>(12 + rr * std::cos(a)), static_cast<int>(11 + rr * std::sin(a)),
              k % 3 ? kBrown : Rgb{170, 110, 60});
      }
      c.Disc(12, 11, 6, kBrown);
      Eye(c, 11, 8, true);
      Eye(c, 16, 8, true);
      c.Rect(7, 21, 4, 3, kBlack);
      c.Rect(14, 21, 4, 3, kBlack);
      break;
    case 50: DrawTele(c, kAqua); break;
    case 51: DrawTele(c, kPink); break;
    case 52: DrawTele(c, kGreen); break;
    case 53: DrawTele(c, kRed); break;
    case 54:
      c.Ellipse(12, 7, 8, 6, kGrey);
      c.Rect(8, 6, 8, 2, kRed);
      c.Line(6, 11, 1, 23, kDark);
      c.Line(12, 12, 12, 23, kDark);
      c.Line(18, 11, 23, 23, kDark);
      c.Disc(12, 4, 1.5f, kWhite);
      c.Outline(kBlack);
      break;
    case 56: DrawBurger(c, Rgb{230, 180, 110}); break;
    case 57: DrawBurger(c, Rgb{90, 210, 220}); break;
    case 58: DrawDalek(c, kPink); break;
    case 59: DrawDalek(c, kRed); break;
    case 60: DrawDalek(c, kBlue); break;
    case 61:
      for (int k = 0; k < 160; k++) {
        float a = k * 0.53f, rr = 3 + (k % 5);
        c.Set(static_cast<int>(10 + rr * 1.2f * std::cos(a)), static_cast<int>(9 + rr * std::sin(a)), kWhite);
      }
      c.Ellipse(10, 9, 7, 5.5f, Rgb{235, 235, 240});
      Eye(c, 11, 6);
      Eye(c, 14, 6);
      c.Set(13, 10, kPink);
      break;
    case 62: DrawFish(c, Rgb{70, 110, 200}, 40, 20, true); break;
    case 63:
      c.Rect(4, 6, 16, 5, Rgb{220, 120, 40});
      c.Disc(23, 7, 4, Rgb{225, 230, 235});
      c.Rect(0, 7, 5, 3, kBlack);
      c.Text(14, 0, "Z", kWhite);
      c.Outline(kBlack);
      break;
    case 64: case 65:
      for (int f = 0; f < 4; f++) DrawWasp(c, f, kind == 64 ? Rgb{240, 240, 200} : Rgb{120, 220, 60});
      break;
    case 66: case 67:
      for (int f = 0; f < 4; f++) DrawGrub(c, f, kind == 66 ? kPink : kYellow);
      break;
    case 68: case 69:
      for (int f = 0; f < 4; f++) DrawBuzz(c, f, Rgb{200, 60, 240}, kind == 69);
      break;
    case 70: DrawFish(c, kGreen, 12, 8, true); break;
    case 71: DrawFish(c, kRed, 12, 8, true); break;
    case 72:
      c.Rect(0, 5, 12, 3, kGrey);
      c.Ellipse(6, 4, 4, 3, kRed);
      c.Set(5, 2, kWhite);
      break;
    case 73: DrawDoorV(c, kGreen); break;
    case 74: DrawDoorV(c, kRed); break;
    case 75: DrawDoorV(c, kYellow); break;
    case 76: DrawDoorV(c, kAqua); break;
    case 77:
      DrawDoorV(c, kRed);
      for (int y = 0; y < c.h; y += 8) c.Rect(2, y, 12, 4, kPink);
      c.Rect(5, c.h / 2 - 4, 6, 8, kBlack);
      break;
    case 78: DrawDoorV(c, kPink); break;
    case 79: DrawDoorH(c, kGreen); break;
    case 80: DrawDoorH(c, kAqua); break;
    case 81: case 82: DrawTileDoor(c); break;
    case 83: case 84: case 85: case 86: case 87: case 88: {
      Rgb cols[6] = {kGreen, kRed, kYellow, kPurple, kGrey, kAqua};
      DrawNest(c, cols[kind - 83]);
      break;
    }
    case 89:
      c.Disc(10, 8, 7, kRed);
      for (int k = 0; k < 5; k++) c.Line(4 + k * 3, 13, 2 + k * 4, 19, Scale(kRed, 0.7f));
      c.Disc(11, 7, 4, kWhite);
      c.Disc(12, 7, 2, kBlack);
      c.Outline(kBlack);
      break;
    case 90:
      for (int f = 0; f < 4; f++) DrawFire(c, f);
      break;
    case 91:
      c.Ellipse(12, 13, 10, 11, Rgb{210, 170, 60});
      for (int y = 5; y < 24; y += 4) c.Rect(3, y, 18, 1, Rgb{150, 110, 30});
      c.Disc(15, 15, 2.5f, kBlack);
      c.Rect(11, 0, 2, 3, kBrown);
      c.Outline(kBlack);
      break;
    case 92:
      c.Ellipse(12, 16, 11, 8, Rgb{220, 110, 120});
      for (int k = 0; k < 5; k++) c.Tri(3.f + k * 4, 10, 7.f + k * 4, 10, 5.f + k * 4, 2, Rgb{240, 150, 160});
      c.Disc(17, 17, 3, kBlack);
      c.Outline(kBlack);
      break;
    case 93:
      c.Tri(0, 2, 7, 8, 3, 16, kDark);
      c.Tri(23, 2, 16, 8, 20, 16, kDark);
      c.Ellipse(12, 13, 7.5f, 9, kGrey);
      c.Tri(6, 5, 9, 6, 6, 0, kGrey);
      c.Tri(18, 5, 15, 6, 18, 0, kGrey);
      c.Rect(8, 9, 3, 2, kRed);
      c.Rect(14, 9, 3, 2, kRed);
      c.Rect(9, 16, 7, 3, kBlack);
      c.Set(10, 16, kWhite);
      c.Set(14, 16, kWhite);
      c.Outline(kBlack);
      break;
    case 94: DrawChip(c, kOrange, "B"); break;
    case 95: DrawChip(c, kGrey, "C"); break;
    case 96: DrawChip(c, kAqua, "I"); break;
    case 97: DrawChip(c, Rgb{200, 200, 200}, "P"); break;
    case 98: DrawChip(c, kPink, "L"); break;
    case 99: DrawChip(c, Rgb{120, 220, 230}, "S"); break;
    case 100: DrawChip(c, kYellow, "J"); break;
    case 101: DrawChip(c, kGreen, "R"); break;
    case 102:
      c.Ellipse(12, 10, 11, 6, kGrey);
      c.Rect(1, 10, 22, 6, kDark);
      c.Ellipse(12, 8, 6, 3, kRed);
      c.Rect(4, 12, 2, 2, kYellow);
      c.Rect(18, 12, 2, 2, kYellow);
      c.Outline(kBlack);
      break;
    case 103:
      c.Rect(0, 0, 24, 6, kDark);
      c.Rect(2, 6, 20, 6, kGrey);
      c.Tri(8, 11, 16, 11, 12, 15.5f, kYellow);
      for (int x = 1; x < 24; x += 4) c.Rect(x, 1, 2, 3, kYellow);
      break;
    case 105: case 106: case 107: case 108: case 109: case 110: {
      Rgb cols[6] = {kRed, kGreen, kBlue, kYellow, kPink, kAqua};
      DrawKey(c, cols[kind - 105]);
      break;
    }
    default:
      c.Rect(0, 0, r.w, r.h, kGrey);
      break;
  }
}

}  // namespace

void BuildClasses(std::vector<ClassInfo>& classes, std::vector<std::pair<std::string, Canvas>>& images) {
  classes.clear();
  images.clear();
  int next = 0;
  for (int kind = 1; kind <= 110; kind++) {
    const Row& r = kRows[kind - 1];
    int need = r.five ? 5 : 1;
    int sprite;
    if (kind == 68) {
      sprite = 68;   // sprite 68 trails sparks: the buzzball's
    } else {
      if (next <= 68 && 68 < next + need) next = 69;
      sprite = next;
      next += need;
    }
    ClassInfo ci;
    ci.name = r.name;
    ci.w = r.w;
    ci.h = r.h;
    ci.sprite = sprite;
    ci.mass = r.mass;
    ci.hp = r.hp;
    ci.lifespan = r.life;
    ci.regen = r.regen;
    ci.walk = r.walk;
    ci.frames = r.frames;
    ci.imgw = r.frames > 0 ? r.frames * r.w : r.w;
    ci.imgh = r.h;
    ci.gravity = r.gravity;
    ci.dtype = r.dtype;
    ci.dmg = r.dmg;
    ci.dcolour = r.dcolour;
    ci.doc = r.doc;
    classes.push_back(ci);
    for (int v = 0; v < need; v++) {
      Canvas c(ci.imgw, ci.imgh);
      DrawClass(c, kind, v);
      std::string file = ci.name;
      if (r.five) file[0] = static_cast<char>('1' + v);
      images.emplace_back(file, c);
    }
  }
}

}  // namespace wg
