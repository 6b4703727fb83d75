// Raw images, the colour key, mask planes, entity images and the Targa loader.
#include <functional>

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
  // the RGBA bytes uploaded as texture id, pixel k
  std::vector<uint8_t> Pixel(int id, int k) {
    const auto& px = rec.pixels.at(id);
    return {px.begin() + 4 * k, px.begin() + 4 * k + 4};
  }
  std::string Load(const std::function<void()>& f) {
    testing::internal::CaptureStdout();
    f();
    return testing::internal::GetCapturedStdout();
  }
};

std::vector<uint8_t> Tga(int idlen, int cmap, int type, int w, int h, int bits,
                         std::vector<uint8_t> pixels) {
  std::vector<uint8_t> f = {uint8_t(idlen), uint8_t(cmap), uint8_t(type), 0, 0, 0, 0, 0, 0, 0,
                            0, 0, uint8_t(w), uint8_t(w >> 8), uint8_t(h), uint8_t(h >> 8),
                            uint8_t(bits), 0};
  f.insert(f.end(), size_t(idlen), 0xEE);
  f.insert(f.end(), pixels.begin(), pixels.end());
  return f;
}

}  // namespace

TEST_F(Images, PureCyanIsTheOnlyTransparentColour) {
  const uint8_t src[] = {0, 255, 255, 0, 255, 254, 1, 255, 255, 10, 20, 30};
  uint8_t* out = ImageAddAlpha(src, 4);
  const uint8_t want[] = {0, 255, 255, 0, 0, 255, 254, 255, 1, 255, 255, 255, 10, 20, 30, 255};
  EXPECT_EQ(std::vector<uint8_t>(out, out + 16), std::vector<uint8_t>(want, want + 16));
  delete[] out;
}

TEST_F(Images, RawFilesBecomeRGBATexturesRowByRow) {
  WriteFile("gfx/sq.raw", {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 255, 255});
  LoadRaw("gfx\\sq.raw", 7, 2);
  EXPECT_EQ(rec.textures.at(7), (std::vector<int>{2, 2, tfRGBA, 0}));   // nearest filtering
  EXPECT_EQ(Pixel(7, 0), (std::vector<uint8_t>{1, 2, 3, 255}));          // file's first row
  EXPECT_EQ(Pixel(7, 1), (std::vector<uint8_t>{4, 5, 6, 255}));
  EXPECT_EQ(Pixel(7, 3), (std::vector<uint8_t>{0, 255, 255, 0}));

  // Taller than wide: the whole w x h picture; a short file leaves zeros.
  std::vector<uint8_t> tall(2 * 5 * 3 - 4, 9);
  WriteFile("gfx/tall.raw", tall);
  LoadRawXY("gfx\\tall.raw", 8, 2, 5);
  EXPECT_EQ(rec.textures.at(8), (std::vector<int>{2, 5, tfRGBA, 0}));
  EXPECT_EQ(Pixel(8, 8), (std::vector<uint8_t>{9, 9, 0, 255}));
  EXPECT_EQ(Pixel(8, 9), (std::vector<uint8_t>{0, 0, 0, 255}));

  // A missing file: no texture, no line.
  EXPECT_EQ(Load([] { LoadRaw("gfx\\none.raw", 9, 4); }), "");
  EXPECT_EQ(rec.textures.count(9), 0u);
}

// The colour file stores a tile set's picture bottom row first and the mask
// file top row first; loaded that way, a tile collides where it is drawn.
TEST_F(Images, MaskAndColourRowOrdersMeetInTheMap) {
  // Tile 16 (column 0, row 1 of the set): its top half is red rock.
  std::vector<uint8_t> colour(1024 * 1024 * 3, 0), mask(1024 * 1024, 0);
  for (int r = 64; r < 96; ++r)   // picture rows, from the top
    for (int c = 0; c < 64; ++c) {
      mask[size_t(r) * 1024 + c] = 255;
      colour[(size_t(1023 - r) * 1024 + c) * 3] = 255;
    }
  WriteFile("gfx/tiles.raw", colour);
  WriteFile("gfx/m_tiles.raw", mask);
  EXPECT_EQ(Load(LoadMapTiles), "loaded 1 tile tex(s)loaded mask 0\n");

  mapt[10][10] = 16;
  EXPECT_EQ(GetXY(10 * 8192 + 100, 10 * 8192 + 10 * 128), 255);   // pixel row 10
  EXPECT_EQ(GetXY(10 * 8192 + 100, 10 * 8192 + 40 * 128), 0);     // pixel row 40

  oldx = 10 * 8192;
  oldy = 10 * 8192;
  rec.calls.clear();
  DisplayMap();
  auto quads = rec.Quads();
  ASSERT_EQ(quads.size(), 1u);
  const auto& tex = rec.pixels.at(1);
  auto redAt = [&](float s, float t) {
    size_t col = size_t(s * 1024), row = size_t(t * 1024);
    return tex[(row * 1024 + col) * 4] == 255;
  };
  // vertex 3 is the top-left corner on screen (y grows upward), vertex 0 the bottom-left
  EXPECT_GT(quads[0].v[3].y, quads[0].v[0].y);
  EXPECT_TRUE(redAt(quads[0].v[3].s, quads[0].v[3].t));
  EXPECT_FALSE(redAt(quads[0].v[0].s, quads[0].v[0].t));
}

TEST_F(Images, FixedTexturesAndMasks) {
  WriteFile("gfx/hud.raw", std::vector<uint8_t>(512 * 64 * 3, 1));
  WriteFile("gfx/m_tiles2.raw", std::vector<uint8_t>(1024 * 1024 + 10, 7));
  EXPECT_EQ(Load(LoadMapTiles), "loaded 1 tile tex(s)loaded mask 1\n");
  EXPECT_EQ(rec.textures.at(1026), (std::vector<int>{512, 64, tfRGBA, 0}));
  EXPECT_EQ(rec.textures.size(), 1u);
  EXPECT_EQ(mapmasks[1][1024 * 1024 - 1], 7);
  EXPECT_EQ(mapmasks[0][0], 0);
}

TEST_F(Images, EntityImagesOneAndFiveFrames) {
  WriteFile("gfx/ents/rock.raw", std::vector<uint8_t>(4 * 2 * 3, 3));
  EXPECT_EQ(Load([] { LoadEntityFrameXY("rock", 5, 4, 2); }), "spawned frame rock [5] (4 2)\n");
  EXPECT_EQ(rec.textures.at(261), (std::vector<int>{4, 2, tfRGBA, 0}));

  for (int j = 1; j <= 5; ++j)
    WriteFile("gfx/ents/" + std::to_string(j) + "wasp.raw", std::vector<uint8_t>(12, uint8_t(j)));
  std::string out = Load([] { LoadMultiEntityFrameXY("1wasp", 40, 2, 2); });
  EXPECT_EQ(out,
            "spawned frame 1wasp [40] (2 2) \nspawned frame 2wasp [41] (2 2) \n"
            "spawned frame 3wasp [42] (2 2) \nspawned frame 4wasp [43] (2 2) \n"
            "spawned frame 5wasp [44] (2 2) \n");
  for (int j = 0; j < 5; ++j) EXPECT_EQ(Pixel(296 + j, 0)[0], j + 1);

  // A missing image still reports its frame.
  EXPECT_EQ(Load([] { LoadEntityFrameXY("ghost", 6, 8, 8); }), "spawned frame ghost [6] (8 8)\n");
  EXPECT_EQ(rec.textures.count(262), 0u);
}

TEST_F(Images, EntityImageNamesMustFitTheirPath) {
  std::string fifty(50, 'n'), longer(51, 'n');
  WriteFile("gfx/ents/" + fifty + ".raw", std::vector<uint8_t>(12, 1));
  EXPECT_EQ(Load([&] { LoadEntityFrameXY(fifty.c_str(), 1, 2, 2); }),
            "spawned frame " + fifty + " [1] (2 2)\n");
  EXPECT_EQ(rec.textures.count(257), 1u);
  EXPECT_EQ(Load([&] { LoadEntityFrameXY(longer.c_str(), 2, 2, 2); }),
            "entity image name " + longer + " is too long\n");
  std::string multi = "1" + longer;
  EXPECT_EQ(Load([&] { LoadMultiEntityFrameXY(multi.c_str(), 3, 2, 2); }),
            "entity image name " + multi + " is too long\n");
  EXPECT_EQ(rec.textures.size(), 1u);
}

TEST_F(Images, TargaResultCodes) {
  EXPECT_EQ(loadTGA("none.tga", 1), TGA_FILE_NOT_FOUND);
  const std::vector<uint8_t> px(2 * 2 * 3, 0);
  struct Case { std::vector<uint8_t> file; int want; } cases[] = {
      {Tga(0, 1, 2, 2, 2, 24, px), TGA_BAD_IMAGE_TYPE},     // colour map
      {Tga(0, 0, 10, 2, 2, 24, px), TGA_BAD_IMAGE_TYPE},    // compressed
      {{0, 0}, TGA_BAD_IMAGE_TYPE},                         // no head
      {Tga(0, 0, 2, 3, 2, 24, px), TGA_BAD_DIMENSION},
      {Tga(0, 0, 2, 2, 2048, 24, px), TGA_BAD_DIMENSION},
      {Tga(0, 0, 2, 1, 2, 24, px), TGA_BAD_DIMENSION},
      {Tga(0, 0, 2, 2, 2, 16, px), TGA_BAD_BITS},
      {Tga(0, 0, 2, 2, 2, 32, px), TGA_BAD_DATA},           // 12 of 16 bytes
  };
  for (const Case& c : cases) {
    WriteFile("t.tga", c.file);
    EXPECT_EQ(loadTGA("t.tga", 1), c.want);
  }
  EXPECT_TRUE(rec.textures.empty());
}

TEST_F(Images, TargaPixelsUploadWithTheirFormat) {
  // 24 bits: blue, green, red on file; an identification field is skipped.
  WriteFile("rgb.tga", Tga(3, 0, 2, 2, 2, 24, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
  EXPECT_EQ(loadTGA("rgb.tga", 50), 1);
  EXPECT_EQ(rec.textures.at(50), (std::vector<int>{2, 2, tfRGB, 1}));   // linear filtering
  EXPECT_EQ(rec.pixels.at(50), (std::vector<uint8_t>{3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10}));

  std::vector<uint8_t> bgra;
  for (int k = 0; k < 4 * 4; ++k) bgra.insert(bgra.end(), {10, 20, 30, 40});
  WriteFile("rgba.tga", Tga(0, 0, 2, 4, 4, 32, bgra));
  EXPECT_EQ(loadTGA("rgba.tga", 51), 1);
  EXPECT_EQ(rec.textures.at(51), (std::vector<int>{4, 4, tfRGBA, 1}));
  EXPECT_EQ(Pixel(51, 15), (std::vector<uint8_t>{30, 20, 10, 40}));

  WriteFile("grey.tga", Tga(0, 0, 3, 2, 2, 8, {1, 2, 3, 4}));
  EXPECT_EQ(loadTGA("grey.tga", 52), 1);
  EXPECT_EQ(rec.textures.at(52), (std::vector<int>{2, 2, tfAlpha, 1}));
  EXPECT_EQ(rec.pixels.at(52), (std::vector<uint8_t>{1, 2, 3, 4}));
}
