// The menu: six labelled boxes shown over the frozen world. The menu image is
// a grid of 3 columns by 4 rows; the six items are its first two rows, stacked
// on a 48-unit pitch.
#include "game.h"
#include "platform/platform.h"

void DisplayMenu() {
  draw->Texturing(true);
  draw->BindTexture(1027);
  draw->Color4(1.0f, 1.0f, 1.0f, 0.7f);
  float s = 0.0f, t = 0.0f;
  for (int i = 0; i < 6; i++) {
    float y = float(256 + 48 * i);
    draw->Begin(dpQuads);
    draw->TexCoord(s, t);
    draw->Vertex(320.0f, y, 10.0f);
    draw->TexCoord(s + 0.3125f, t);
    draw->Vertex(512.0f, y, 10.0f);
    draw->TexCoord(s + 0.3125f, t + 0.25f);
    draw->Vertex(512.0f, y + 32.0f, 10.0f);
    draw->TexCoord(s, t + 0.25f);
    draw->Vertex(320.0f, y + 32.0f, 10.0f);
    draw->End();
    s += 0.3125f;
    if (s > 0.9f) {
      s = 0.0f;
      t += 0.25f;
    }
  }
  draw->Texturing(false);
}
