// The HUD: a panel with player 0's score, the pass symbols still missing and
// the seven energy bars, drawn over the scene; and, in the panel's free slot
// between the title and the score, what player 0 holds in the hand.
#include <cstdio>

#include "game.h"
#include "platform/platform.h"

// A quad at depth 10.5 from x0 to x1 and y0 to y1, showing the bound
// texture's columns s0 to s1 over its whole height.
static void TexturedQuad(float s0, float s1, float x0, float x1, float y0, float y1) {
  draw->Begin(dpQuads);
  draw->TexCoord(s0, 0.0f);
  draw->Vertex(x0, y0, 10.5f);
  draw->TexCoord(s1, 0.0f);
  draw->Vertex(x1, y0, 10.5f);
  draw->TexCoord(s1, 1.0f);
  draw->Vertex(x1, y1, 10.5f);
  draw->TexCoord(s0, 1.0f);
  draw->Vertex(x0, y1, 10.5f);
  draw->End();
}

// One glyph of the digit texture: cell c of 16, from x0 to x1 and y0 to y1.
static void Glyph(int c, float x0, float x1, float y0, float y1) {
  float s0 = float(c) * 0.0625f;
  TexturedQuad(s0, s0 + 0.0624f, x0, x1, y0, y1);
}

// A short name for what each kind is, as the hand shows it.
static const char* const kHeldNames[NUM_KINDS] = {
    "",         "MAN",      "URN",      "FULL URN", "ROCK",     "CORONIUM", "BLOB",     "RCD",
    "CRCD",     "CRYSTAL",  "MUSHROOM", "MUSHROOM", "MUSHROOM", "CANNON",   "GRENADE",  "GRENADE",
    "PISTOL",   "ICER",     "BLASTER",  "PLASMAGUN", "RIP",     "FIP",      "SUIT",     "BOOSTER",
    "WHISTLE",  "WHISTLE",  "POWER POD", "PIANO",   "BLOCK",    "CANNON",   "CHATTER",  "BULLET",
    "ICE",      "PLASMA",   "SHELL",    "SHELL",    "SHOCK",    "BLOB",     "IMP",      "IMP",
    "IMP",      "IMP",      "BIRD",     "BIRD",     "BAT",      "BIRD",     "FROG",     "FROG",
    "FROG",     "HARRY",    "TELEBOT",  "TELEBOT",  "TELEBOT",  "TELEBOT",  "TRIAX",    "CHATTER",
    "BURGER",   "BURGER",   "DALEK",    "DALEK",    "DALEK",    "FLUFFY",   "FISH",     "CREWMAN",
    "WASP",     "WASP",     "GRUB",     "GRUB",     "BUZZBALL", "BUZZBALL", "FISH",     "FISH",
    "BUTTON",   "DOOR",     "DOOR",     "DOOR",     "DOOR",     "DOOR",     "DOOR",     "DOOR",
    "DOOR",     "DOOR",     "DOOR",     "NEST",     "NEST",     "NEST",     "NEST",     "NEST",
    "NEST",     "GLOOK",    "FIRE",     "NEST",     "NEST",     "GARGOYLE", "BLASTER",  "CANNON",
    "ICER",     "PISTOL",   "PLASMAGUN", "SUIT",    "JETPACK",  "GRENADES", "SPAWNER",  "DROPPER",
    "ICE",      "KEY",      "KEY",      "KEY",      "KEY",      "KEY",      "KEY",
};

// What player 0 holds: the class picture (its first frame), as large as fits
// the slot x 500..568, y 202..238 at up to twice its size, centred, and its
// name below, in the slot y 180..196. An empty hand shows nothing.
static void DisplayHeld() {
  const int32_t kind = players[0].held.kind;
  if (kind <= blank || kind >= NUM_KINDS) return;
  const TEntityClass& c = EntityClass[kind];
  if (c.width > 0 && c.height > 0) {
    float scale = 2.0f;
    if (68.0f / float(c.width) < scale) scale = 68.0f / float(c.width);
    if (36.0f / float(c.height) < scale) scale = 36.0f / float(c.height);
    const float w = float(c.width) * scale, h = float(c.height) * scale;
    const float x0 = 534.0f - w / 2, y0 = 220.0f - h / 2;
    const float s1 = c.framedx == 0.0f ? 1.0f : c.framedx;
    draw->Texturing(true);
    draw->BindTexture(256 + c.sprite);
    draw->Color4(1.0f, 1.0f, 1.0f, 1.0f);
    TexturedQuad(0.0f, s1, x0, x0 + w, y0, y0 + h);
    draw->Texturing(false);
  }
  draw->Color4(1.0f, 1.0f, 1.0f, 0.9f);
  draw->Text(500.0f, 183.0f, 10.5f, kHeldNames[kind]);
}

void DisplayHUD() {
  draw->Texturing(true);
  draw->BindTexture(1026);
  draw->Color4(1.0f, 1.0f, 1.0f, 0.7f);
  draw->Begin(dpQuads);
  draw->TexCoord(0.0f, 0.0f);
  draw->Vertex(96.0f, 172.0f, 10.0f);
  draw->TexCoord(1.0f, 0.0f);
  draw->Vertex(736.0f, 172.0f, 10.0f);
  draw->TexCoord(1.0f, 1.0f);
  draw->Vertex(736.0f, 256.0f, 10.0f);
  draw->TexCoord(0.0f, 1.0f);
  draw->Vertex(96.0f, 256.0f, 10.0f);
  draw->End();

  DisplayScore();

  draw->Texturing(false);
  for (int i = 0; i < 7; i++) {
    int32_t h = players[0].nrg[i] / 128;
    if (h > 48) h = 48;   // no lower cap
    float x0 = float(106 + 10 * i), x1 = float(112 + 10 * i);
    draw->Color4(0.5f, 1.0f, 0.5f, 0.5f);
    draw->Begin(dpQuads);
    draw->Vertex(x0, 180.0f, 10.5f);
    draw->Vertex(x0, float(180 + h), 10.5f);
    draw->Vertex(x1, float(180 + h), 10.5f);
    draw->Vertex(x1, 180.0f, 10.5f);
    draw->End();
  }
  DisplayHeld();
}

// The score in decimal, one 12-unit glyph per character on a 10-unit pitch,
// then the symbols of the passes not yet held. Texturing is on.
void DisplayScore() {
  draw->BindTexture(1028);
  draw->Color4(1.0f, 1.0f, 1.0f, 0.7f);
  char text[16];
  snprintf(text, sizeof text, "%d", players[0].score);
  for (int k = 0; text[k] != '\0'; k++)
    Glyph(text[k] - '0', float(628 + 10 * k), float(640 + 10 * k), 228.0f, 244.0f);
  for (int i = 0; i < 5; i++)
    if (players[0].passes[i] == 0)
      Glyph(10 + i, float(624 + 21 * i), float(640 + 21 * i), 184.0f, 200.0f);
}
