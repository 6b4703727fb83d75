// The map editor: its overlay (the palette of a tile set, the selected tile,
// the mirroring, the tools' labels); where a click lands in the picture;
// painting the cell under a click and the tools around it (pan, undo,
// eyedropper, tile set); and keeping painting that was never saved.
#include <cmath>
#include <cstdio>

#include "defs/console.h"
#include "game.h"
#include "platform/platform.h"

namespace {

// The palette shows a whole tile-set image as a 256 x 256 square, its lower
// left corner at (80, 412), 3 in front of the map: 16 x 16 cells of 16 units,
// tile n in column n mod 16 and row n / 16 from the top.
constexpr int PALETTE_X = 80, PALETTE_Y = 412, PALETTE_SIZE = 256, PALETTE_CELL = 16;
constexpr int PALETTE_DEPTH = 3;

constexpr int32_t RIGHT_BUTTON = 2;   // the mouse button that picks a tile up

// An arrow key held pans one tile at once, then one every PAN_REPEAT frames
// from PAN_DELAY frames on.
constexpr int32_t PAN_DELAY = 24, PAN_REPEAT = 4;

// The tile word painting writes: the selected tile of the palette's tile set,
// mirrored as chosen.
uint32_t PaintedWord() {
  uint32_t set = MapEditState.tileset == 2 ? 1 : 0;
  return uint32_t(MapEditState.tile) | set << 8 | uint32_t(MapEditState.tileflip) << 28;
}

void PaintCell(int32_t x, int32_t y) {
  uint32_t w = PaintedWord();
  if (mapt[x][y] == w) return;   // nothing to undo, nothing unsaved
  EditorState.history[EditorState.next] = {x, y, mapt[x][y]};
  EditorState.next = (EditorState.next + 1) % EDIT_HISTORY;
  if (EditorState.undos < EDIT_HISTORY) ++EditorState.undos;
  ++EditorState.unsaved;
  mapt[x][y] = w;
}

// The eyedropper: the cell's tile, tile set and mirroring become the selection.
void PickUpTile(int32_t x, int32_t y) {
  uint32_t w = mapt[x][y], set = (w >> 8) & 255, flip = w >> 28;
  if (!KnownTile(set, flip)) return;
  MapEditState.tile = int32_t(w & 255);
  MapEditState.tileset = int32_t(set) + 1;
  MapEditState.tileflip = TMapTileFlip(flip);
}

// The tools' labels, left-aligned at fixed places of the window below the
// palette's labels and above the HUD, whatever the zoom; in the palette's
// layer, so that the map does not hide them.
void DisplayEditorHelp() {
  if (winW <= 0) return;
  char lines[4][64];
  std::snprintf(lines[0], sizeof lines[0], "tile set %d (9 switches)", MapEditState.tileset == 2 ? 1 : 0);
  std::snprintf(lines[1], sizeof lines[1], "arrows pan, Z undoes (%d)", EditorState.undos);
  std::snprintf(lines[2], sizeof lines[2], "right click picks a tile up");
  if (EditorState.unsaved > 0)
    std::snprintf(lines[3], sizeof lines[3], "8 saves, 7 reloads: %d unsaved", EditorState.unsaved);
  else
    std::snprintf(lines[3], sizeof lines[3], "8 saves, 7 reloads");
  draw->Translate(0.0f, 0.0f, float(PALETTE_DEPTH));
  for (int k = 0; k < 4; ++k) {
    double x, y;
    ClickPoint(8, winH * 3 / 5 + 16 * k, PALETTE_DEPTH, &x, &y);
    CharAtXY(lines[k], int(std::lround(x)), int(std::lround(y)), PALETTE_DEPTH);
  }
  draw->Translate(0.0f, 0.0f, -float(PALETTE_DEPTH));
}

}  // namespace

// ---- the overlay -----------------------------------------------------------------

void InitialiseMapEditor() {
  MapEditState.editing = 0;
  MapEditState.tileset = 1;
  MapEditState.tile = 1;
}

void DisplayMapEditor() {
  // A click on the palette selects the tile drawn under it.
  if (EditorState.target == etPalette) MapEditState.tile = EditorState.tile;
  DisplayTileSet(MapEditState.tileset);
  DisplaySelectedTile(MapEditState.tile);
  DisplayEditorHelp();
}

void DisplayTileSet(int setno) {
  TileAtXY(setno, PALETTE_X, PALETTE_Y, PALETTE_SIZE, PALETTE_SIZE, PALETTE_DEPTH);
  switch (MapEditState.tileflip) {
    case mtX: CharAtXY("X", 80, 400, 3); break;
    case mtY: CharAtXY("Y", 80, 400, 3); break;
    case mtXY: CharAtXY("XY", 80, 400, 3); break;
    default: break;
  }
}

void DisplaySelectedTile(int aTile) {
  int tx = PALETTE_X + (aTile % 16) * PALETTE_CELL;
  int ty = PALETTE_Y + (15 - aTile / 16) * PALETTE_CELL;
  draw->Color4(1.0f, 1.0f, 1.0f, 0.8f);
  draw->Begin(dpLineLoop);
  draw->Vertex(float(tx), float(ty), 4.0f);
  draw->Vertex(float(tx + PALETTE_CELL), float(ty), 4.0f);
  draw->Vertex(float(tx + PALETTE_CELL), float(ty + PALETTE_CELL), 4.0f);
  draw->Vertex(float(tx), float(ty + PALETTE_CELL), 4.0f);
  draw->End();
  char text[16];
  std::snprintf(text, sizeof text, "%d", aTile);
  CharAtXY(text, 128, 400, 4);
}

// ---- where a click lands -----------------------------------------------------------

void ClickPoint(int px, int py, float depth, double* x, double* y) {
  // The layer's half height at distance 1 from the eye, as the perspective
  // sets it up, and the layer's distance.
  const double slope = std::tan(VIEW_FOVY / 2.0 * M_PI / 180.0);
  const double d = double(zoomfac) - double(depth);
  // The pixel's centre in -1..1 across the viewport (the whole window), y upward.
  double nx = 2.0 * (px + 0.5) / winW - 1.0;
  double ny = 1.0 - 2.0 * (py + 0.5) / winH;
  *x = VIEW_CENTRE + nx * VIEW_ASPECT * slope * d;
  *y = VIEW_CENTRE + ny * slope * d;
}

// Clicks are taken between frames, so the view they are resolved through is
// the one of the picture on the screen: its zoom, window and camera. The
// palette lies in front of the map, so it takes the clicks that fall on it.
void EditorClick() {
  EditorState.target = etNothing;
  if (!MapEditState.editing) return;   // nothing of the editor is on the screen
  double x, y;
  ClickPoint(clickX, clickY, PALETTE_DEPTH, &x, &y);
  double c = std::floor((x - PALETTE_X) / PALETTE_CELL);
  double r = 15.0 - std::floor((y - PALETTE_Y) / PALETTE_CELL);
  if (c >= 0 && c < 16 && r >= 0 && r < 16) {
    EditorState.target = etPalette;
    EditorState.tile = int32_t(c) + 16 * int32_t(r);
    return;
  }
  // view cell (i, j) covers x from i * 64 + ax and y from (12 - j) * 64 - ay
  ClickPoint(clickX, clickY, 0.0f, &x, &y);
  double i = std::floor((x - ax) / 64.0), j = 12.0 - std::floor((y + ay) / 64.0);
  if (i < 0 || i > 11 || j < 0 || j > 11) return;
  EditorState.target = etMap;
  EditorState.cellx = mapx + int32_t(i);
  EditorState.celly = mapy + int32_t(j);
}

// ---- painting and its tools ---------------------------------------------------------

// The clicked map cell, in the map drawing's pass over view cell (i, j), map
// cell (x, y): outlined and labelled with its map position; a click not yet
// used paints it, or with the right button picks its tile up.
void DisplayEditorCell(int32_t i, int32_t j, int32_t x, int32_t y, bool inside) {
  if (EditorState.target != etMap || x != EditorState.cellx || y != EditorState.celly) return;
  char text[32];
  std::snprintf(text, sizeof text, "(%d %d)", x, y);
  draw->Texturing(false);
  CharAtXY(text, 80, 384, 0);
  int32_t lx = i * 64 + ax, ly = (12 - j) * 64 - ay;
  draw->Color3(1.0f, 1.0f, 1.0f);
  draw->Begin(dpLineLoop);
  draw->Vertex(float(lx), float(ly), 1.0f);
  draw->Vertex(float(lx + 64), float(ly), 1.0f);
  draw->Vertex(float(lx + 64), float(ly + 64), 1.0f);
  draw->Vertex(float(lx), float(ly + 64), 1.0f);
  draw->End();
  draw->Texturing(true);
  if (mouseB >= 0 && inside) {
    if (mouseB == RIGHT_BUTTON)
      PickUpTile(x, y);
    else
      PaintCell(x, y);
    mouseB = -1;
  }
}

// The editor's view follows player 0, moved by the pan while the editor is on.
void EditorViewCentre(int32_t* x, int32_t* y) {
  if (!MapEditState.editing) return;
  *x += EditorState.panx * TILE_WSCALE;
  *y += EditorState.pany * TILE_HSCALE;
}

void CentreEditorView() {
  EditorState.panx = EditorState.pany = 0;
  EditorState.panheld = 0;
}

// One tile in the direction (dx, dy) of the arrow keys down, repeating while
// they are held; the middle of the view stays on the map.
void PanEditorView(int32_t dx, int32_t dy) {
  if (dx == 0 && dy == 0) {
    EditorState.panheld = 0;
    return;
  }
  int32_t held = EditorState.panheld;
  EditorState.panheld = held + 1 < PAN_DELAY + PAN_REPEAT ? held + 1 : PAN_DELAY;
  if (held != 0 && held != PAN_DELAY) return;
  int32_t cx = oldx / TILE_WSCALE + EditorState.panx + dx;
  int32_t cy = oldy / TILE_HSCALE + EditorState.pany + dy;
  if (cx >= 0 && cx < MAP_TILES) EditorState.panx += dx;
  if (cy >= 0 && cy < MAP_TILES) EditorState.pany += dy;
}

void UndoPainting() {
  if (EditorState.undos == 0) return;
  --EditorState.undos;
  --EditorState.unsaved;
  EditorState.next = (EditorState.next + EDIT_HISTORY - 1) % EDIT_HISTORY;
  const TEditedCell& c = EditorState.history[EditorState.next];
  mapt[c.x][c.y] = c.before;
}

void SwitchTileSet() { MapEditState.tileset = MapEditState.tileset == 2 ? 1 : 2; }

void ForgetPainting() {
  EditorState.unsaved = 0;
  EditorState.undos = 0;
  EditorState.next = 0;
}

// At quit, painting the map file never got is written beside it, the map file
// itself left as it is.
void SaveUnsavedPainting() {
  if (EditorState.unsaved <= 0) return;
  char name[sizeof MapEditState.mapname + 16], why[512];
  std::snprintf(name, sizeof name, "%s.unsaved", MapEditState.mapname);
  if (WriteMapFile(name, why, sizeof why))
    Say("unsaved painting saved to %s\n", name);
  else
    Say("unsaved painting not kept: map save to %s failed: %s\n", name, why);
}
