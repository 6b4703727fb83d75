// Raw images, the colour key, mask planes, entity images and the Targa loader.
#include "platform/testseams.h"
#include "test_map_files.h"

namespace {

struct Images : InTempFolder {
  RecordDraw rec;
  void SetUp() override {
    InTempFolder::SetUp();
    draw = &rec;
    Folder("gfx/ents");
  }
  std::vector<uint8_t> Pixel(int id, int k) {   // RGBA of pixel k of texture id
    return {rec.pixels.at(id).begin() + 4 * k, rec.pixels.at(id).begin() + 4 * k + 4};
  }
};
using Bytes = std::vector<uint8_t>;

}  // namespace

TEST_F(Images, RawFilesWithTheColourKey) {
  // 2 x 2: pure cyan alone is transparent; the file's first row is row 0
  WriteFile("gfx/sq.raw", {0, 255, 254, 1, 255, 255, 7, 8, 9, 0, 255, 255});
  EXPECT_EQ(Said([] { LoadRaw("gfx\\sq.raw", 7, 2); }), "");
  EXPECT_EQ(rec.textures.at(7), (std::vector<int>{2, 2, tfRGBA, 0}));   // nearest filtering
  EXPECT_EQ(rec.pixels.at(7), (Bytes{0, 255, 254, 255, 1, 255, 255, 255, 7, 8, 9, 255, 0, 255, 255, 0}));
  // taller than wide: all w x h pixels; a short file leaves the rest at zero
  WriteFile("gfx/tall.raw", Bytes(2 * 5 * 3 - 4, 9));
  LoadRawXY("gfx\\tall.raw", 8, 2, 5);
  EXPECT_EQ(rec.textures.at(8), (std::vector<int>{2, 5, tfRGBA, 0}));
  EXPECT_EQ(Pixel(8, 8), (Bytes{9, 9, 0, 255}));
  EXPECT_EQ(Pixel(8, 9), (Bytes{0, 0, 0, 255}));
  LoadRaw("gfx\\none.raw", 9, 4);   // missing: no texture
  EXPECT_EQ(Said([] { LoadRawXY("gfx\\sq.raw", 10, 8193, 2); }),   // too large: said so
            "image gfx\\sq.raw refused: 8193 x 2 is outside 1..8192\n");
  EXPECT_EQ(rec.textures.count(9) + rec.textures.count(10), 0u);
}

// The colour file stores a tile set bottom row first, the mask file top row
// first: stored so, a tile collides where it is drawn.
TEST_F(Images, MaskAndColourRowOrdersMeetInTheMap) {
  Bytes colour(1024 * 1024 * 3, 0), mask(1024 * 1024, 0);
  for (int r = 64; r < 96; ++r)   // tile 16's top half, picture rows from the top
    for (int c = 0; c < 64; ++c) mask[r * 1024 + c] = 255, colour[((1023 - r) * 1024 + c) * 3] = 255;
  WriteFile("gfx/tiles.raw", colour);
  WriteFile("gfx/m_tiles.raw", mask);
  EXPECT_EQ(Said(LoadMapTiles), "loaded 1 tile tex(s)loaded mask 0\n");
  mapt[10][10] = 16;
  EXPECT_EQ(GetXY(10 * 8192, 10 * 8192 + 10 * 128), 255);
  EXPECT_EQ(GetXY(10 * 8192, 10 * 8192 + 40 * 128), 0);
  oldx = oldy = 10 * 8192;
  DisplayMap();
  const auto quad = rec.Quads().at(0);
  const auto& v = quad.v;
  auto red = [&](float s, float t) { return rec.pixels.at(1)[(size_t(t * 1024) * 1024 + size_t(s * 1024)) * 4]; };
  EXPECT_GT(v[3].y, v[0].y);             // vertex 3 is the top-left corner on screen
  EXPECT_EQ(red(v[3].s, v[3].t), 255);   // red at the top
  EXPECT_EQ(red(v[0].s, v[0].t), 0);     // not at the bottom
}

TEST_F(Images, FixedTexturesMasksAndEntityImages) {
  WriteFile("gfx/hud.raw", Bytes(512 * 64 * 3, 1));
  WriteFile("gfx/m_tiles2.raw", Bytes(1024 * 1024 + 10, 7));
  EXPECT_EQ(Said(LoadMapTiles), "loaded 1 tile tex(s)loaded mask 1\n");
  EXPECT_EQ(rec.textures.at(1026), (std::vector<int>{512, 64, tfRGBA, 0}));
  EXPECT_EQ(rec.textures.size(), 1u);
  EXPECT_EQ(mapmasks[1][1024 * 1024 - 1] + mapmasks[0][0], 7);

  for (int j = 1; j <= 5; ++j) WriteFile("gfx/ents/" + std::to_string(j) + "wasp.raw", Bytes(12, uint8_t(j)));
  EXPECT_EQ(Said([] { LoadMultiEntityFrameXY("1wasp", 40, 2, 2); }),
            "spawned frame 1wasp [40] (2 2) \nspawned frame 2wasp [41] (2 2) \nspawned frame 3wasp [42] (2 2) \n"
            "spawned frame 4wasp [43] (2 2) \nspawned frame 5wasp [44] (2 2) \n");
  for (int j = 0; j < 5; ++j) EXPECT_EQ(Pixel(296 + j, 0)[0], j + 1);
  EXPECT_EQ(Said([] { LoadEntityFrameXY("ghost", 6, 8, 4); }), "spawned frame ghost [6] (8 4)\n");
  EXPECT_EQ(rec.textures.count(262), 0u);   // missing, reported all the same

  // A name must fit "gfx\ents\%s.raw" in 64 characters.
  std::string fifty(50, 'n'), longer = "1" + fifty;
  WriteFile("gfx/ents/" + fifty + ".raw", Bytes(12, 1));
  EXPECT_EQ(Said([&] { LoadEntityFrameXY(fifty.c_str(), 1, 2, 2); }), "spawned frame " + fifty + " [1] (2 2)\n");
  EXPECT_EQ(Said([&] { LoadMultiEntityFrameXY(longer.c_str(), 3, 2, 2); }),
            "entity image name " + longer + " is too long\n");
  EXPECT_EQ(rec.textures.size(), 7u);
}

TEST_F(Images, TargaFiles) {
  auto tga = [](int idlen, int cmap, int type, int w, int h, int bits, Bytes px) {
    Bytes f = {uint8_t(idlen), uint8_t(cmap), uint8_t(type), 0, 0, 0, 0, 0, 0, 0, 0, 0,
               uint8_t(w), uint8_t(w >> 8), uint8_t(h), uint8_t(h >> 8), uint8_t(bits), 0};
    f.insert(f.end(), size_t(idlen), 0xEE);
    f.insert(f.end(), px.begin(), px.end());
    return f;
  };
  EXPECT_EQ(loadTGA("none.tga", 1), TGA_FILE_NOT_FOUND);
  const Bytes px(12, 0);
  std::pair<Bytes, int> bad[] = {
      {tga(0, 1, 2, 2, 2, 24, px), TGA_BAD_IMAGE_TYPE}, {tga(0, 0, 10, 2, 2, 24, px), TGA_BAD_IMAGE_TYPE},
      {tga(0, 0, 2, 3, 2, 24, px), TGA_BAD_DIMENSION},  {tga(0, 0, 2, 2, 2048, 24, px), TGA_BAD_DIMENSION},
      {tga(0, 0, 2, 2, 2, 16, px), TGA_BAD_BITS},       {tga(0, 0, 2, 2, 2, 32, px), TGA_BAD_DATA}};
  for (auto& [file, code] : bad) {
    WriteFile("t.tga", file);
    EXPECT_EQ(loadTGA("t.tga", 1), code);
  }
  EXPECT_TRUE(rec.textures.empty());

  // blue, green, red on file; an identification field is skipped
  WriteFile("rgb.tga", tga(3, 0, 2, 2, 2, 24, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
  EXPECT_EQ(loadTGA("rgb.tga", 50), 1);
  EXPECT_EQ(rec.textures.at(50), (std::vector<int>{2, 2, tfRGB, 1}));   // linear filtering
  EXPECT_EQ(rec.pixels.at(50), (Bytes{3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10}));
}
