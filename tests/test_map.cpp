// The tile grid, its file and the collision query.
#include <climits>
#include <cstring>

#include "defs/random.h"
#include "test_map_files.h"

namespace {

// Every mask byte tells where it is: column c, row r (top row first) of plane p.
uint8_t MaskByte(int p, int c, int r) { return uint8_t((c * 7 + r * 13 + p * 101) % 255 + 1); }
void FillMasks() {
  for (int p = 0; p < 2; ++p)
    for (int r = 0; r < 1024; ++r)
      for (int c = 0; c < 1024; ++c) mapmasks[p][r * 1024 + c] = MaskByte(p, c, r);
}
uint32_t Word(uint32_t tile, uint32_t set, uint32_t flip) { return tile | set << 8 | flip << 28; }
int32_t At(int tile, int pixel) { return tile * 8192 + pixel * 128; }

using MapQuery = Fresh;
using MapFile = InTempFolder;

}  // namespace

TEST_F(MapQuery, EmptyTilesOutsideTheMapAndUnknownWordsAreFree) {
  FillMasks();
  mapt[0][0] = mapt[255][255] = Word(5, 0, mtNorm);
  EXPECT_EQ(GetXY(0, 0), MaskByte(0, 5 * 64, 0));   // the cell's top-left pixel
  EXPECT_NE(GetXY(2097151, 2097151), 0);
  for (auto [x, y] : {std::pair{2097152, 0}, {0, 2097152}, {-1, 0}, {0, -1}, {-8191, 5}, {INT32_MIN, 0}})
    EXPECT_EQ(GetXY(x, y), 0) << x << " " << y;
  for (uint32_t w : {Word(0, 1, mtXY), Word(9, 2, 0), Word(9, 255, 0), Word(9, 0, 4), Word(9, 1, 15)}) {
    mapt[3][4] = w;
    EXPECT_EQ(GetXY(At(3, 20), At(4, 20)), 0) << std::hex << w;
  }
  mapt[3][4] = Word(9, 1, mtNorm) | 0x0FFF0000u;   // the unused bits are not looked at
  EXPECT_EQ(GetXY(At(3, 20), At(4, 20)), MaskByte(1, 9 * 64 + 20, 20));
}

// Tile 17 is the cell in column 1, row 1: image pixels 64..127 both ways; the
// flips mirror it as the drawing does.
TEST_F(MapQuery, TileCellsAndTheirFlips) {
  FillMasks();
  for (int px : {0, 9, 63})
    for (int py : {0, 40, 63}) {
      int32_t x = At(2, px) + 127, y = At(2, py) + 5;
      mapt[2][2] = Word(17, 0, mtNorm);
      EXPECT_EQ(GetXY(x, y), MaskByte(0, 64 + px, 64 + py));
      mapt[2][2] = Word(17, 1, mtX);
      EXPECT_EQ(GetXY(x, y), MaskByte(1, 64 + 63 - px, 64 + py));
      mapt[2][2] = Word(17, 0, mtY);
      EXPECT_EQ(GetXY(x, y), MaskByte(0, 64 + px, 64 + 63 - py));
      mapt[2][2] = Word(17, 0, mtXY);
      EXPECT_EQ(GetXY(x, y), MaskByte(0, 64 + 63 - px, 64 + 63 - py));
    }
}

TEST_F(MapFile, ShortLongAndMissingFilesLoadWhatTheyHold) {
  for (auto& column : mapt)
    for (uint32_t& w : column) w = 0xABCD;
  WriteFile("four.qnm", {1, 2, 3, 4});
  InitialiseMap("four.qnm");
  EXPECT_EQ(mapt[0][0], 0x04030201u);
  EXPECT_EQ(mapt[0][1], 0xABCDu);
  WriteFile("six.qnm", {9, 0, 0, 0, 7, 7});   // a broken last word is no word
  InitialiseMap("six.qnm");
  EXPECT_EQ(mapt[0][0], 9u);
  EXPECT_EQ(mapt[0][1], 0xABCDu);
  WriteFile("big.qnm", std::vector<uint8_t>(262144 + 4096, 0x11));   // the excess is ignored
  InitialiseMap("big.qnm");
  EXPECT_EQ(mapt[255][255], 0x11111111u);
  EXPECT_EQ(Said([&] { InitialiseMap("map\\nothere.qnm"); }), "map map\\nothere.qnm not found!\n");
  EXPECT_EQ(mapt[255][255], 0x11111111u);
}
