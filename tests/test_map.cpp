// The tile grid, its file and the collision query.
#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <cstring>

#include "defs/random.h"
#include "test_map_files.h"

namespace {

// A mask plane in which every byte tells where it is: column c, row r of the
// tile-set image (top row first) holds (c * 7 + r * 13 + plane) & 255, never 0.
uint8_t MaskByte(int plane, int c, int r) {
  uint8_t v = uint8_t((c * 7 + r * 13 + plane * 101) & 255);
  return v ? v : 1;
}
void FillMasks() {
  for (int p = 0; p < 2; ++p)
    for (int r = 0; r < 1024; ++r)
      for (int c = 0; c < 1024; ++c) mapmasks[p][r * 1024 + c] = MaskByte(p, c, r);
}
uint32_t Word(uint32_t tile, uint32_t set, uint32_t flip) { return tile | set << 8 | flip << 28; }
// world units of pixel (px, py) of tile (tx, ty)
int32_t At(int t, int p) { return t * 8192 + p * 128; }

using MapQuery = Fresh;
using MapFile = InTempFolder;

}  // namespace

TEST_F(MapQuery, EmptyTilesAndPositionsOutsideTheMapAreFree) {
  FillMasks();
  mapt[3][4] = Word(0, 1, mtXY);   // tile number 0: empty whatever the set and flip
  mapt[0][0] = Word(5, 0, mtNorm);
  mapt[255][255] = Word(5, 0, mtNorm);
  for (int p : {0, 31, 63}) EXPECT_EQ(GetXY(At(3, p), At(4, p)), 0);
  EXPECT_NE(GetXY(2097151, 2097151), 0);
  EXPECT_EQ(GetXY(2097152, 2097151), 0);
  EXPECT_EQ(GetXY(2097151, 2097152), 0);
  EXPECT_EQ(GetXY(-1, 0), 0);
  EXPECT_EQ(GetXY(0, -1), 0);
  EXPECT_EQ(GetXY(INT32_MIN, INT32_MAX), 0);
  EXPECT_EQ(GetXY(-8191, 5), 0);   // truncation would put this in tile 0
}

TEST_F(MapQuery, ReadsTheTilesCellInItsOwnPlane) {
  FillMasks();
  mapt[0][0] = Word(5, 0, mtNorm);
  EXPECT_EQ(GetXY(0, 0), MaskByte(0, 5 * 64, 0));   // top-left pixel of cell 5
  // Tile 17 is column 1, row 1 of the image: pixels 64..127 both ways.
  mapt[7][9] = Word(17, 0, mtNorm);
  EXPECT_EQ(GetXY(At(7, 0), At(9, 0)), MaskByte(0, 64, 64));
  EXPECT_EQ(GetXY(At(7, 63) + 127, At(9, 63) + 127), MaskByte(0, 127, 127));
  EXPECT_EQ(GetXY(At(7, 10) + 5, At(9, 20) + 99), MaskByte(0, 74, 84));
  mapt[7][9] = Word(17, 1, mtNorm);
  EXPECT_EQ(GetXY(At(7, 10), At(9, 20)), MaskByte(1, 74, 84));
  mapt[8][9] = Word(255, 0, mtNorm);
  EXPECT_EQ(GetXY(At(8, 63), At(9, 63)), MaskByte(0, 1023, 1023));
}

TEST_F(MapQuery, FlippedTilesCollideAsTheyAreDrawn) {
  FillMasks();
  for (int px : {0, 9, 63})
    for (int py : {0, 40, 63}) {
      mapt[2][2] = Word(17, 0, mtX);
      EXPECT_EQ(GetXY(At(2, px), At(2, py)), MaskByte(0, 64 + 63 - px, 64 + py));
      mapt[2][2] = Word(17, 0, mtY);
      EXPECT_EQ(GetXY(At(2, px), At(2, py)), MaskByte(0, 64 + px, 64 + 63 - py));
      mapt[2][2] = Word(17, 0, mtXY);
      EXPECT_EQ(GetXY(At(2, px), At(2, py)), MaskByte(0, 64 + 63 - px, 64 + 63 - py));
    }
}

TEST_F(MapQuery, UnknownSetsAndFlipsAnswerFreeSpace) {
  std::fill(&mapmasks[0][0], &mapmasks[0][0] + sizeof mapmasks, uint8_t(255));
  int32_t corner = At(1, 63) + 127;
  for (uint32_t w : {Word(255, 2, 0), Word(255, 255, 0), Word(255, 0, 4), Word(255, 1, 15)}) {
    mapt[1][1] = w;
    EXPECT_EQ(GetXY(corner, corner), 0) << std::hex << w;
  }
  // The unused bits 16-27 are not looked at.
  mapt[1][1] = Word(255, 1, mtXY) | 0x0FFF0000u;
  EXPECT_EQ(GetXY(corner, corner), 255);
}

TEST_F(MapFile, SaveAndLoadGiveBackEveryWord) {
  Folder("map");
  for (int x = 0; x < 256; ++x)
    for (int y = 0; y < 256; ++y) mapt[x][y] = uint32_t(Rand()) << 17 ^ uint32_t(Rand());
  uint32_t before[256][256];
  std::memcpy(before, mapt, sizeof before);

  testing::internal::CaptureStdout();
  SaveMap("map\\saved.qnm");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "map saved to map\\saved.qnm");

  std::vector<uint8_t> file = ReadFile("map/saved.qnm");
  ASSERT_EQ(file.size(), 262144u);
  // little-endian words, tile column by tile column
  auto word = [&](size_t k) {
    return uint32_t(file[4 * k]) | uint32_t(file[4 * k + 1]) << 8 | uint32_t(file[4 * k + 2]) << 16 |
           uint32_t(file[4 * k + 3]) << 24;
  };
  EXPECT_EQ(word(0), before[0][0]);
  EXPECT_EQ(word(1), before[0][1]);
  EXPECT_EQ(word(256), before[1][0]);
  EXPECT_EQ(word(65535), before[255][255]);
  EXPECT_FALSE(ReadFile("map/saved.qnm.tmp").size());

  std::memset(mapt, 0, sizeof mapt);
  testing::internal::CaptureStdout();
  InitialiseMap("map\\saved.qnm");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "map map\\saved.qnm loaded\n");
  EXPECT_EQ(std::memcmp(before, mapt, sizeof before), 0);
}

TEST_F(MapFile, ShortLongAndMissingFilesLoadWhatTheyHold) {
  for (int x = 0; x < 256; ++x)
    for (int y = 0; y < 256; ++y) mapt[x][y] = 0xABCD;

  WriteFile("four.qnm", {1, 2, 3, 4});
  testing::internal::CaptureStdout();
  InitialiseMap("four.qnm");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "map four.qnm loaded\n");
  EXPECT_EQ(mapt[0][0], 0x04030201u);
  EXPECT_EQ(mapt[0][1], 0xABCDu);

  // A broken last word is not a word: it leaves the map as it was.
  WriteFile("six.qnm", {9, 0, 0, 0, 7, 7});
  InitialiseMap("six.qnm");
  EXPECT_EQ(mapt[0][0], 9u);
  EXPECT_EQ(mapt[0][1], 0xABCDu);

  // Column 0 only (256 words), the rest untouched.
  std::vector<uint8_t> column(1024, 0);
  column[1020] = 5;
  WriteFile("column.qnm", column);
  InitialiseMap("column.qnm");
  EXPECT_EQ(mapt[0][0], 0u);
  EXPECT_EQ(mapt[0][255], 5u);
  EXPECT_EQ(mapt[1][0], 0xABCDu);

  // Bytes past the map's size are ignored.
  std::vector<uint8_t> big(262144 + 4096, 0x11);
  WriteFile("big.qnm", big);
  InitialiseMap("big.qnm");
  EXPECT_EQ(mapt[255][255], 0x11111111u);

  testing::internal::CaptureStdout();
  InitialiseMap("map\\nothere.qnm");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "map map\\nothere.qnm not found!\n");
  EXPECT_EQ(mapt[255][255], 0x11111111u);
}

TEST_F(MapFile, AFailedSaveKeepsTheOldFileAndTheMap) {
  Folder("map");
  std::vector<uint8_t> old(262144, 0x5A);
  WriteFile("map/keep.qnm", old);
  mapt[4][4] = 44;
  // A folder where the new file would be written makes the save fail.
  Folder("map/keep.qnm.tmp");
  testing::internal::CaptureStdout();
  SaveMap("map\\keep.qnm");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "map save to map\\keep.qnm failed\n");
  EXPECT_EQ(ReadFile("map/keep.qnm"), old);
  EXPECT_EQ(mapt[4][4], 44u);

  // So does a folder that does not exist.
  testing::internal::CaptureStdout();
  SaveMap("nosuchfolder\\new.qnm");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "map save to nosuchfolder\\new.qnm failed\n");
  struct stat st;
  EXPECT_NE(stat("nosuchfolder", &st), 0);
  EXPECT_EQ(mapt[4][4], 44u);
}
