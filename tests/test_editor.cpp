// The map editor: the palette, picking a tile and a mirroring, painting the
// cell under a click, and the editor's keys within a whole frame.
#include <algorithm>
#include <cstring>

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
    oldx = 8192 * 10;   // view cells (i, j) are map cells (5 + i, 3 + j)
    oldy = 8192 * 10;
  }
  // a click at the window pixel (x, y) of an 800 x 600 window, then one frame
  // of the map and the overlay
  void ClickAndDraw(int x, int y) {
    glutMouse(0, 0, x, y);
    Frame();
  }
  void Frame() {
    rec.calls.clear();
    DisplayMap();
    DisplayMapEditor();
  }
  int Painted() const {
    int n = 0;
    for (auto& column : mapt) n += int(std::count_if(column, column + 256, [](uint32_t w) { return w; }));
    return n;
  }
  // the vertices of the line loops drawn, in order
  std::vector<std::vector<float>> Loops() const {
    std::vector<std::vector<float>> out;
    bool in = false;
    for (const DrawCall& c : rec.calls) {
      if (c.op == "BeginLineLoop") { in = true; out.emplace_back(); }
      else if (c.op == "End") in = false;
      else if (in && c.op == "Vertex") out.back().insert(out.back().end(), c.v.begin(), c.v.end());
    }
    return out;
  }
};

}  // namespace

TEST_F(Editor, StartsOffWithTileOneOfTheFirstSet) {
  MapEditState.editing = 5;
  MapEditState.tile = 9;
  InitialiseMapEditor();
  EXPECT_EQ(MapEditState.editing, 0);
  EXPECT_EQ(MapEditState.tileset, 1);
  EXPECT_EQ(MapEditState.tile, 1);
  EXPECT_EQ(MapEditState.tileflip, mtNorm);
}

TEST_F(Editor, APaletteClickSelectsATileAndPaintsNothing) {
  ClickAndDraw(0, 0);   // top-left palette cell: tile 0
  EXPECT_EQ(MapEditState.tile, 0);
  ClickAndDraw(80, 30);   // column 5, row 2: tile 37
  EXPECT_EQ(MapEditState.tile, 37);
  EXPECT_EQ(mouseB, 0);   // still pending
  EXPECT_EQ(Painted(), 0);
  EXPECT_TRUE(rec.Only("Text").size() == 1);   // the tile number only, no cursor
  Frame();   // the selection follows the last palette click every frame
  EXPECT_EQ(MapEditState.tile, 37);
  EXPECT_EQ(Painted(), 0);
}

TEST_F(Editor, AClickOnTheMapPaintsOneCellWithTheFlip) {
  ClickAndDraw(80, 30);   // tile 37
  MapEditState.tileflip = mtXY;
  ClickAndDraw(380, 300);   // mouse cell (24, 12): view cell (7, 7), map cell (12, 10)
  EXPECT_EQ(mouseX, 24);
  EXPECT_EQ(mouseY, 12);
  EXPECT_EQ(mapt[12][10], 37u | 3u << 28);
  EXPECT_EQ(Painted(), 1);
  EXPECT_EQ(mouseB, -1);
  // the cursor: its position as text, and the cell's outline in front of the tiles
  auto texts = rec.Only("Text");
  ASSERT_GE(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, "(24 12)");
  EXPECT_EQ(texts[0].v, (std::vector<float>{80, 384}));
  auto loops = Loops();
  ASSERT_GE(loops.size(), 1u);
  EXPECT_EQ(loops[0], (std::vector<float>{512, 320, 1, 576, 320, 1, 576, 384, 1, 512, 384, 1}));

  // The consumed click paints nothing more; the cursor stays.
  mapt[12][10] = 0;
  Frame();
  EXPECT_EQ(Painted(), 0);

  // Tile 0 erases.
  ClickAndDraw(0, 0);
  ClickAndDraw(380, 300);
  EXPECT_EQ(mapt[12][10], 3u << 28);
}

TEST_F(Editor, CellsOutsideTheMapAreNeverPainted) {
  oldx = oldy = 0;   // the view's top-left cell is (-5, -7)
  ClickAndDraw(30, 300);   // mouse cell (2, 12): view cell (1, 7), map cell (-4, 0)
  EXPECT_EQ(Painted(), 0);
  EXPECT_EQ(mouseB, 0);
  EXPECT_EQ(Loops().size(), 2u);   // the cursor is drawn all the same, then the palette's
}

TEST_F(Editor, PaletteFlipLabelAndSelection) {
  MapEditState.tileflip = mtXY;
  MapEditState.tile = 255;
  DisplayMapEditor();
  auto quads = rec.Quads();
  ASSERT_EQ(quads.size(), 1u);
  EXPECT_EQ(quads[0].texture, 1);
  float want[4][5] = {{80, 412, 3, 0, 0}, {336, 412, 3, 1, 0}, {336, 668, 3, 1, 1}, {80, 668, 3, 0, 1}};
  for (int k = 0; k < 4; ++k) {
    const auto& v = quads[0].v[k];
    EXPECT_EQ((std::vector<float>{v.x, v.y, v.z, v.s, v.t}), std::vector<float>(want[k], want[k] + 5));
    EXPECT_FLOAT_EQ(v.a, 0.8f);
  }
  auto texts = rec.Only("Text");
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].text, "XY");
  EXPECT_EQ(texts[0].v, (std::vector<float>{80, 400}));
  EXPECT_EQ(texts[1].text, "255");
  EXPECT_EQ(texts[1].v, (std::vector<float>{128, 400}));
  EXPECT_EQ(Loops()[0], (std::vector<float>{320, 412, 4, 336, 412, 4, 336, 428, 4, 320, 428, 4}));

  rec.calls.clear();
  MapEditState.tileflip = mtNorm;
  DisplaySelectedTile(0);
  DisplayTileSet(1);
  EXPECT_EQ(Loops()[0], (std::vector<float>{80, 652, 4, 96, 652, 4, 96, 668, 4, 80, 668, 4}));
  EXPECT_EQ(rec.Only("Text").size(), 1u);   // no label without a flip
}

// The editor's keys run inside the frame's keyboard check.
TEST_F(Editor, KeysSwitchTheEditorSaveAndReload) {
  ScriptKeys keys;
  keyboard = &keys;
  std::strcpy(MapEditState.mapname, "map\\edit.qnm");
  Folder("map");
  MapEditState.editing = 0;
  auto idle = [&](int frame) {
    keys.SetFrame(frame);
    glutIdle();
  };
  idle(0);              // key 2 up: the latch arms
  keys.Down(1, '2');
  keys.Down(2, '2');    // held: one switch only
  idle(1);
  idle(2);
  EXPECT_EQ(MapEditState.editing, -1);

  keys.Down(3, '6');
  idle(3);
  EXPECT_EQ(MapEditState.tileflip, mtXY);

  mapt[1][2] = 77;
  keys.Down(4, '8');
  keys.Down(5, '8');
  testing::internal::CaptureStdout();
  idle(4);
  idle(5);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(out, "map saved to map\\edit.qnmmap saved to map\\edit.qnm");
  EXPECT_EQ(MapEditState.saving, 0);

  mapt[1][2] = 5;   // painted and not saved: the reload throws it away
  keys.Down(6, '7');
  testing::internal::CaptureStdout();
  idle(6);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(mapt[1][2], 77u);

  // With the editor off, save and reload do nothing.
  keys.Down(7, '2');
  idle(7);
  idle(8);
  EXPECT_EQ(MapEditState.editing, 0);
  mapt[1][2] = 6;
  keys.Down(9, '7');
  idle(9);
  EXPECT_EQ(mapt[1][2], 6u);
}
