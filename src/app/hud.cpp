// The HUD: a panel with player 0's score, the pass symbols still missing and
// the seven energy bars, drawn over the scene.
#include <cstdio>

#include "game.h"
#include "platform/platform.h"

// One glyph of the digit texture: cell c of 16, from x0 to x1 and y0 to y1.
static void Glyph(int c, float x0, float x1, float y0, float y1) {
  float s0 = float(c) * 0.0625f;
  float s1 = s0 + 0.0624f;
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
