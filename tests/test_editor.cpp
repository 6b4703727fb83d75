// The map editor: the palette, picking a tile and a mirroring, and painting
// the cell under a click.
#include <algorithm>

#include "platform/testseams.h"
#include "test_map_files.h"

namespace {

struct Editor : InTempFolder {
  RecordDraw rec;
  void SetUp() override {
    InTempFolder::SetUp();
    draw = &rec;
    InitialiseMapEditor();
    MapEditState.editing = -1;
    oldx = oldy = 8192 * 10;   // view cell (i, j) is map cell (5 + i, 3 + j)
  }
  // a click at a window pixel of the 800 x 600 window, then the map and the overlay
  void Click(int x, int y) {
    glutMouse(0, 0, x, y);
    rec.calls.clear();
    DisplayMap();
    DisplayMapEditor();
  }
  static int Painted() {
    int n = 0;
    for (auto& column : mapt) n += int(std::count_if(column, column + 256, [](uint32_t w) { return w; }));
    return n;
  }
  std::vector<std::vector<float>> Loops() const {   // the line loops' vertices
    std::vector<std::vector<float>> out;
    bool in = false;
    for (const DrawCall& c : rec.calls) {
      if (c.op == "BeginLineLoop") in = true, out.emplace_back();
      else if (c.op == "End") in = false;
      else if (in && c.op == "Vertex") out.back().insert(out.back().end(), c.v.begin(), c.v.end());
    }
    return out;
  }
};

}  // namespace

TEST_F(Editor, PaletteClicksSelectAndMapClicksPaint) {
  Click(0, 0);   // the top-left palette cell: tile 0
  EXPECT_EQ(MapEditState.tile, 0);
  Click(80, 30);   // column 5, row 2: tile 37; nothing painted, the click stays pending
  EXPECT_EQ(std::make_tuple(MapEditState.tile, mouseB, Painted()), std::make_tuple(37, 0, 0));
  EXPECT_EQ(rec.Only("Text").size(), 1u);   // the tile number; no cursor

  MapEditState.tileflip = mtXY;
  Click(380, 300);   // mouse cell (24, 12): view cell (7, 7), map cell (12, 10)
  EXPECT_EQ(mapt[12][10], 37u | 3u << 28);
  EXPECT_EQ(std::make_tuple(Painted(), mouseB), std::make_tuple(1, -1));
  auto texts = rec.Only("Text");
  EXPECT_EQ(texts.at(0).text, "(24 12)");
  EXPECT_EQ(texts.at(0).v, (std::vector<float>{80, 384, 0}));
  EXPECT_EQ(Loops().at(0), (std::vector<float>{512, 320, 1, 576, 320, 1, 576, 384, 1, 512, 384, 1}));

  mapt[12][10] = 0;   // a consumed click paints no more
  DisplayMap();
  EXPECT_EQ(Painted(), 0);
  Click(0, 0);   // tile 0 erases, keeping the flip
  Click(380, 300);
  EXPECT_EQ(mapt[12][10], 3u << 28);

  oldx = oldy = 0;   // the view's top-left cell is (-5, -7)
  Click(30, 300);    // view cell (1, 7) is map cell (-4, 0): outlined, never painted
  EXPECT_EQ(std::make_tuple(Painted(), mouseB, int(Loops().size())), std::make_tuple(1, 0, 2));
}

TEST_F(Editor, PaletteFlipLabelAndSelection) {
  MapEditState.tileflip = mtXY;
  MapEditState.tile = 255;
  DisplayMapEditor();
  auto quads = rec.Quads();
  ASSERT_EQ(quads.size(), 1u);
  EXPECT_EQ(quads[0].texture, 1);
  std::vector<float> got;
  for (auto& v : quads[0].v) got.insert(got.end(), {v.x, v.y, v.z, v.s, v.t, v.a});
  EXPECT_EQ(got, (std::vector<float>{80, 412, 3, 0, 0, 0.8f, 336, 412, 3, 1, 0, 0.8f,
                                     336, 668, 3, 1, 1, 0.8f, 80, 668, 3, 0, 1, 0.8f}));
  auto texts = rec.Only("Text");
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].text + "@" + std::to_string(int(texts[0].v[1])), "XY@400");
  EXPECT_EQ(texts[1].text + "@" + std::to_string(int(texts[1].v[0])), "255@128");
  EXPECT_EQ(Loops()[0], (std::vector<float>{320, 412, 4, 336, 412, 4, 336, 428, 4, 320, 428, 4}));
  rec.calls.clear();
  DisplaySelectedTile(0);
  EXPECT_EQ(Loops()[0], (std::vector<float>{80, 652, 4, 96, 652, 4, 96, 668, 4, 80, 668, 4}));
}
