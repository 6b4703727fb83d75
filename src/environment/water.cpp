// The water: one horizontal line across the whole world (watery, in pixels),
// drawn as a translucent blue body with a bright surface that bobs up and down
// by up to 2 pixels.
#include "game.h"
#include "platform/platform.h"

namespace {

constexpr int WATER_TEXTURE = 1024;
constexpr float WATER_DEPTH = 0.5f;

void Band(float y0, float y1) {
  draw->Begin(dpQuads);
  draw->Vertex(0, y0, WATER_DEPTH);
  draw->Vertex(768, y0, WATER_DEPTH);
  draw->Vertex(768, y1, WATER_DEPTH);
  draw->Vertex(0, y1, WATER_DEPTH);
  draw->End();
}

}  // namespace

void DisplayWater() {
  int32_t d = watery - (64 * mapy + 320 - ay) - waterbob / 4;
  wtop = d;
  if (d >= 600) return;   // below the view: nothing drawn, no bob
  wtop = 600 - d;         // surface height measured up from the bottom of the scene

  draw->Texturing(true);
  draw->BindTexture(WATER_TEXTURE);
  const float top = float(wtop);
  draw->Color4(0.1f, 0.1f, 1.0f, 0.5f);
  draw->Begin(dpQuads);
  draw->TexCoord(0, 0);
  draw->Vertex(0, 0, WATER_DEPTH);
  draw->TexCoord(1, 0);
  draw->Vertex(768, 0, WATER_DEPTH);
  draw->TexCoord(1, 1);
  draw->Vertex(768, top, WATER_DEPTH);
  draw->TexCoord(0, 1);
  draw->Vertex(0, top, WATER_DEPTH);
  draw->End();
  if (wtop >= 1 && wtop < 600) {
    // the surface bands keep the body's last texture coordinate
    draw->Color4(0.2f, 0.2f, 1.0f, 0.7f);
    Band(top, top + 2);
    draw->Color4(0.3f, 0.3f, 1.0f, 0.6f);
    Band(top + 2, top + 4);
  }
  draw->Texturing(false);

  waterbob += wbobdx;
  if (waterbob > 8 || waterbob < -8) wbobdx = -wbobdx;
}
