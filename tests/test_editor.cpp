// The map editor: a click acts on what the frame drew under the pointer, on
// the palette and on the map, at any zoom and window size; the palette's
// labels; the tools (pan, undo, eyedropper, tile set); painting never saved is
// kept at quit.
#include <cmath>
#include <cstring>

#include "platform/testseams.h"
#include "test_map_files.h"

namespace {

// The window pixel, from the top-left, where the recorded frame put drawing
// point (x, y, z): through the recorded projection, viewport and reset view.
std::pair<double, double> Pixel(const RecordDraw& rec, double x, double y, double z) {
  auto p = rec.Only("Reshape").back().v, t = rec.Only("Translate").front().v;
  double f = 1 / std::tan(p[2] * M_PI / 360), d = -(z + t[2]);
  return {(f / p[3] * (x + t[0]) / d + 1) / 2 * p[0], (1 - f * (y + t[1]) / d) / 2 * p[1]};
}

// The pixels of the window whose centres lie nearest the corners inside a quad.
std::vector<std::pair<int, int>> CornerPixels(const RecordDraw& rec, const RecordDraw::Quad& q) {
  auto [l, t] = Pixel(rec, std::min(q.v[0].x, q.v[2].x), std::max(q.v[0].y, q.v[2].y), q.v[0].z);
  auto [r, b] = Pixel(rec, std::max(q.v[0].x, q.v[2].x), std::min(q.v[0].y, q.v[2].y), q.v[0].z);
  std::vector<std::pair<int, int>> out;
  for (double px : {std::ceil(l - 0.5), std::floor(r - 0.5)})
    for (double py : {std::ceil(t - 0.5), std::floor(b - 0.5)})
      if (px >= 0 && py >= 0 && px < winW && py < winH) out.push_back({int(px), int(py)});
  return out;
}

// Every cell of a 12 x 12 view shows a tile of its own, 3..146 (none that
// seeds), so the tile of a drawn quad tells which cell it is.
uint32_t TileOfCell(int x, int y) { return uint32_t(3 + (x % 12 + 12) % 12 + 12 * ((y % 12 + 12) % 12)); }
uint32_t TileOfQuad(const RecordDraw::Quad& q) {
  return uint32_t(std::lround((q.v[0].s - 0.00005) / 0.0625)) +
         16 * uint32_t(15 - std::lround((q.v[0].t - 0.00005) / 0.0625));
}

struct Editor : InTempFolder {
  RecordDraw rec;
  ScriptKeys keys;
  RecordWindow win;
  int frame = 0;
  void SetUp() override {
    InTempFolder::SetUp();
    draw = &rec, keyboard = &keys, window = &win;
    glutResize(800, 600);
    InitialiseMapEditor();
    MapEditState.editing = -1;
    std::strcpy(MapEditState.mapname, "map\\phoebus.qnm");
    Entities[0].x = 8192 * 100 + 2000, Entities[0].y = 8192 * 60 + 5000;   // player 0
    for (int x = 0; x < 256; ++x)
      for (int y = 0; y < 256; ++y) mapt[x][y] = TileOfCell(x, y);
  }
  // one frame, idle pass and display pass, with these keys down, drawn into
  // rec after the last reshape
  void Frame(std::initializer_list<int> down = {}) {
    for (int vk : down) keys.Down(frame, vk);
    keys.SetFrame(frame++);
    auto shape = rec.Only("Reshape");
    rec.calls.assign(shape.end() - 1, shape.end());
    glutIdle();
    glutDisplay();
  }
  static void Click(int x, int y, int button = 0) {
    glutMouse(button, 0, x, y);
    glutMouse(button, 1, x, y);
  }
  // clicks the middle of map cell (x, y), which shows its own tile, as the
  // last frame drew it, or of the cell `up` tiles above it; then a frame
  void ClickCell(int x, int y, int button = 0, int up = 0) {
    for (const RecordDraw::Quad& q : rec.Quads())
      if (q.texture == 1 && q.v[0].z != 3 && TileOfQuad(q) == TileOfCell(x, y)) {
        auto [px, py] = Pixel(rec, (q.v[0].x + q.v[2].x) / 2, (q.v[0].y + q.v[2].y) / 2 + 64 * up, 0);
        Click(int(px), int(py), button);
        return Frame();
      }
    FAIL() << "cell " << x << " " << y << " is not drawn with its own tile";
  }
};

}  // namespace

// The pixels nearest the corners inside every drawn map tile paint that
// tile's cell, and those of the palette cells on its diagonals select their
// tile, at three zooms and three window shapes.
TEST_F(Editor, ClicksActOnWhatIsDrawnUnderThePointer) {
  for (auto [zoom, w, h] : {std::tuple{256, 800, 600}, {192, 800, 600}, {128, 800, 600}, {256, 640, 480},
                            {192, 640, 480}, {128, 640, 480}, {256, 1920, 1080}, {192, 1920, 1080}, {128, 1920, 1080}}) {
    SCOPED_TRACE(testing::Message() << "zoom " << zoom << ", window " << w << " x " << h);
    zoomfac = zoom;
    glutResize(w, h);
    Frame();
    auto quads = rec.Quads();
    const RecordDraw::Quad palette = quads.back();
    ASSERT_EQ(std::make_tuple(quads.size(), palette.texture, palette.v[0].z), std::make_tuple(145u, 1, 3.f));
    auto [pl, pt] = Pixel(rec, palette.v[0].x, palette.v[2].y, 3);
    auto [pr, pb] = Pixel(rec, palette.v[2].x, palette.v[0].y, 3);
    draw = NullDraw();
    int clicks = 0;
    for (size_t q = 0; q < 144; ++q) {
      uint32_t tile = TileOfQuad(quads[q]);
      int x = mapx + ((int(tile - 3) % 12 - mapx) % 12 + 12) % 12, y = mapy + ((int(tile - 3) / 12 - mapy) % 12 + 12) % 12;
      for (auto [px, py] : CornerPixels(rec, quads[q])) {
        if (px + 0.5 >= pl && px + 0.5 <= pr && py + 0.5 >= pt && py + 0.5 <= pb) continue;   // the palette's
        MapEditState.tile = 200;
        Click(px, py);
        DisplayMap();
        ASSERT_EQ(mapt[x][y], 200u) << "pixel " << px << " " << py;
        mapt[x][y] = tile, ++clicks;
      }
    }
    for (int k = 0; k < 32; ++k) {
      int cell = k < 16 ? k * 17 : 15 + (k - 16) * 15;
      RecordDraw::Quad c = palette;   // the cell's square of the palette
      c.v[0].x += float(cell % 16 * 16), c.v[2].x = c.v[0].x + 16;
      c.v[2].y -= float(cell / 16 * 16), c.v[0].y = c.v[2].y - 16;
      for (auto [px, py] : CornerPixels(rec, c)) {
        Click(px, py);
        DisplayMapEditor();
        ASSERT_EQ(MapEditState.tile, cell) << "pixel " << px << " " << py;
        ++clicks;
      }
    }
    EXPECT_GE(clicks, zoom == 256 ? 400 : 72);
    draw = &rec;
  }
}

// The cursor outlines and labels the map cell clicked, which a click outside
// the map never paints; a click on the palette paints nothing and stays
// pending. The palette's labels: the mirroring, the selected tile's number
// and outline.
TEST_F(Editor, CursorAndPaletteLabels) {
  Entities[0].x = Entities[0].y = 0;   // the view's top-left cell is (-5, -7)
  Frame();
  ClickCell(0, 1);
  EXPECT_EQ(std::make_tuple(mapt[0][1], mouseB, rec.Only("Text").at(0).text), std::make_tuple(1u, -1, "(0 1)"));
  EXPECT_EQ(rec.Only("Text")[0].v, (std::vector<float>{80, 384, 0}));
  ClickCell(0, 0, 0, 3);                // three above the map's top row: outlined, never painted
  EXPECT_EQ(std::make_tuple(rec.Only("Text")[0].text, mouseB), std::make_tuple("(0 -3)", 0));

  MapEditState.tileflip = mtXY;
  Click(10, 10);                        // tile 0, the palette's top-left
  Frame();
  auto texts = rec.Only("Text"), vertices = rec.Only("Vertex");
  EXPECT_EQ(std::make_tuple(MapEditState.tile, mouseB, texts.at(0).text, texts[0].v[1], texts.at(1).text, texts[1].v[0]),
            std::make_tuple(0, 0, "XY", 400.f, "0", 128.f));
  std::vector<float> outline;
  for (size_t k = vertices.size() - 4; k < vertices.size(); ++k) outline.insert(outline.end(), vertices[k].v.begin(), vertices[k].v.end());
  EXPECT_EQ(outline, (std::vector<float>{80, 652, 4, 96, 652, 4, 96, 668, 4, 80, 668, 4}));
}

// Arrows pan the editor's view a tile per press and repeat while held; a
// right click picks a cell's tile, set and mirroring up; 9 switches the
// palette between tile sets 0 and 1, which painting writes; Z undoes painted
// cells, the latest first, 1,024 of them. With the editor off none of these
// keys does anything.
TEST_F(Editor, PanEyedropperTileSetAndUndo) {
  Frame();
  const int32_t x0 = mapx, y0 = mapy;
  for (int f = frame; f < frame + 30; ++f) keys.Down(f, VK_RIGHT);
  keys.Down(frame + 31, VK_UP);
  for (int k = 0; k < 32; ++k) Frame();
  EXPECT_EQ(std::make_tuple(mapx - x0, mapy - y0, oldx), std::make_tuple(3, -1, Entities[0].x));   // at 0, 24, 28 frames

  const int x = mapx + 6, y = mapy + 6;
  const uint32_t picked = 17 | 1 << 8 | uint32_t(mtY) << 28;
  mapt[x][y] = picked;
  ClickCell(x, y, 2);                   // picked up, not painted
  EXPECT_EQ(std::make_tuple(MapEditState.tile, MapEditState.tileset, MapEditState.tileflip, mouseB, mapt[x][y]),
            std::make_tuple(17, 2, mtY, -1, picked));
  EXPECT_EQ(rec.Quads().back().texture, 2);   // the palette shows tile set 1
  ClickCell(x + 3, y - 2);
  Frame({'9'});
  ClickCell(x + 3, y - 1);              // set 0 again: the word has no set bits
  EXPECT_EQ(std::make_tuple(mapt[x + 3][y - 2], mapt[x + 3][y - 1], EditorState.unsaved),
            std::make_tuple(picked, 17u | uint32_t(mtY) << 28, 2));
  for (int k = 0; k < 6; ++k) Frame({k % 2 ? 0 : 'Z'});   // the third finds nothing to undo
  EXPECT_EQ(std::make_tuple(mapt[x + 3][y - 2], mapt[x + 3][y - 1], EditorState.unsaved),
            std::make_tuple(TileOfCell(x + 3, y - 2), TileOfCell(x + 3, y - 1), 0));

  MapEditState.tileflip = mtNorm;       // of 1,030 changes the first 6 stay
  ClickCell(x + 2, y);
  draw = NullDraw();
  for (int k = 0; k < 1029; ++k) MapEditState.tile = k % 2 ? 150 : 151, mouseB = 0, DisplayMap();
  for (int k = 0; k < 1100; ++k) UndoPainting();
  draw = &rec;
  EXPECT_EQ(std::make_tuple(mapt[x + 2][y], EditorState.unsaved), std::make_tuple(151u, 6));

  Frame({'2'});                         // the editor off: the view is the player's again
  for (int k = 0; k < 3; ++k) Frame({'Z', '9', VK_LEFT});
  EXPECT_EQ(std::make_tuple(mapx, mapy, MapEditState.tileset, EditorState.unsaved), std::make_tuple(x0, y0, 1, 6));
}
