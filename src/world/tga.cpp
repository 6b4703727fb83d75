// Image files and textures: headerless raw colour images with a cyan colour
// key, raw collision masks, the entity images named by the class file, the
// fixed texture numbers, and an uncompressed Targa loader.
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <utility>

#include "defs/console.h"
#include "defs/problems.h"
#include "game.h"
#include "platform/platform.h"

namespace {

constexpr int MASK_BYTES = 1024 * 1024;
constexpr int MAX_IMAGE_SIDE = 8192;
// "gfx\ents\" + name + ".raw" and its terminating zero fit 64 characters.
constexpr int ENTITY_PATH_SIZE = 64;

// The format the last Targa image was uploaded in.
TexFormat texFormat = tfRGBA;

// Builds the path of an entity image; false (and a console line) when the
// name is too long for it.
bool EntityImagePath(const char* name, char (&path)[ENTITY_PATH_SIZE]) {
  int n = std::snprintf(path, sizeof path, "gfx\\ents\\%s.raw", name);
  if (n < 0 || n >= ENTITY_PATH_SIZE) {
    SayProblem(name, -1, "entity image name %s is too long\n", name);
    return false;
  }
  return true;
}

// A Targa side: a power of two from 2 to 1024.
bool checkSize(int x) {
  for (int p = 2; p <= 1024; p *= 2)
    if (x == p) return true;
  return false;
}

int TgaFail(FILE* f, int code) {
  std::fclose(f);
  return code;
}

}  // namespace

uint8_t* ImageAddAlpha(const uint8_t* src, int imgsize) {
  if (imgsize < 0) imgsize = 0;
  uint8_t* dest = new uint8_t[size_t(imgsize) * 4];
  for (int k = 0; k < imgsize; ++k) {
    const uint8_t* p = src + size_t(k) * 3;
    uint8_t* q = dest + size_t(k) * 4;
    q[0] = p[0];
    q[1] = p[1];
    q[2] = p[2];
    // pure cyan is the transparent colour
    q[3] = (p[0] == 0 && p[1] == 255 && p[2] == 255) ? 0 : 255;
  }
  return dest;
}

void ImageUpload(const uint8_t* image, int texId, int imgx) {
  ImageUploadXY(image, texId, imgx, imgx);
}

void ImageUploadXY(const uint8_t* image, int texId, int imgx, int imgy) {
  draw->UploadTexture(texId, imgx, imgy, tfRGBA, image, false);
}

void LoadRaw(const char* name, int texidx, int imgx) { LoadRawXY(name, texidx, imgx, imgx); }

void LoadRawXY(const char* name, int texidx, int imgx, int imgy) {
  if (imgx <= 0 || imgy <= 0 || imgx > MAX_IMAGE_SIDE || imgy > MAX_IMAGE_SIDE) {
    SayProblem(name, -1, "image %s refused: %d x %d is outside 1..%d\n", name, imgx, imgy,
               MAX_IMAGE_SIDE);
    return;
  }
  FILE* f = OpenDataFile(name, "rb");
  if (!f) {
    LoadProblem(name, -1, "missing: what uses texture %d is drawn without a picture", texidx);
    return;
  }
  int pixels = imgx * imgy;
  char what[48];
  std::snprintf(what, sizeof what, "a %d x %d picture", imgx, imgy);
  LoadSizeProblem(name, f, long(pixels) * 3, what);
  // A short file leaves the pixels it does not supply at zero.
  uint8_t* raw = new uint8_t[size_t(pixels) * 3]();
  (void)std::fread(raw, 1, size_t(pixels) * 3, f);
  std::fclose(f);
  uint8_t* image = ImageAddAlpha(raw, pixels);
  delete[] raw;
  ImageUploadXY(image, texidx, imgx, imgy);
  delete[] image;
}

void LoadMask(const char* name, int idx) {
  if (idx < 0 || idx > 1) return;
  FILE* f = OpenDataFile(name, "rb");
  if (!f) {
    LoadProblem(name, -1, "missing: tile set %d never collides", idx);
    return;
  }
  LoadSizeProblem(name, f, MASK_BYTES, "a whole mask");
  (void)std::fread(mapmasks[idx], 1, MASK_BYTES, f);
  std::fclose(f);
  Say("loaded mask %d\n", idx);
}

void LoadEntityFrameXY(const char* fn, int i, int xsiz, int ysiz) {
  char path[ENTITY_PATH_SIZE];
  if (!EntityImagePath(fn, path)) return;
  LoadRawXY(path, i + 256, xsiz, ysiz);
  Say("spawned frame %s [%d] (%d %d)\n", fn, i, xsiz, ysiz);
}

void LoadMultiEntityFrameXY(const char* fn, int i, int xsiz, int ysiz) {
  char path[ENTITY_PATH_SIZE];
  if (!EntityImagePath(fn, path)) return;
  // The five frames' names differ only in their first character, 1 to 5.
  char frame[ENTITY_PATH_SIZE];
  std::snprintf(frame, sizeof frame, "%s", fn);
  for (int j = 0; j < 5; ++j) {
    if (frame[0]) frame[0] = char('1' + j);
    EntityImagePath(frame, path);
    LoadRawXY(path, i + 256 + j, xsiz, ysiz);
    Say("spawned frame %s [%d] (%d %d) \n", frame, i + j, xsiz, ysiz);
  }
}

void LoadMapTiles() {
  LoadRaw("gfx\\tiles.raw", 1, 1024);
  LoadRaw("gfx\\tiles2.raw", 2, 1024);
  Say("loaded 1 tile tex(s)");
  LoadRaw("gfx\\h20.raw", 1024, 16);
  LoadRaw("gfx\\smoke.raw", 1025, 64);
  LoadRawXY("gfx\\hud.raw", 1026, 512, 64);
  LoadRawXY("gfx\\menu.raw", 1027, 512, 128);
  LoadRawXY("gfx\\nums.raw", 1028, 256, 16);
  LoadMask("gfx\\m_tiles.raw", 0);
  LoadMask("gfx\\m_tiles2.raw", 1);
}

int loadTGA(const char* name, int id) {
  FILE* f = OpenDataFile(name, "rb");
  if (!f) return TGA_FILE_NOT_FOUND;

  uint8_t head[3];   // identification length, colour map type, image type
  if (std::fread(head, 1, 3, f) != 3) return TgaFail(f, TGA_BAD_IMAGE_TYPE);
  if (head[1] != 0 || (head[2] != 2 && head[2] != 3)) return TgaFail(f, TGA_BAD_IMAGE_TYPE);

  uint8_t dims[5];   // width, height (16-bit little-endian), bits per pixel
  if (std::fseek(f, 12, SEEK_SET) != 0 || std::fread(dims, 1, 5, f) != 5)
    return TgaFail(f, TGA_BAD_DIMENSION);
  int w = dims[0] | dims[1] << 8;
  int h = dims[2] | dims[3] << 8;
  if (!checkSize(w) || !checkSize(h)) return TgaFail(f, TGA_BAD_DIMENSION);
  int bits = dims[4];
  if (bits != 8 && bits != 24 && bits != 32) return TgaFail(f, TGA_BAD_BITS);
  texFormat = bits == 32 ? tfRGBA : bits == 24 ? tfRGB : tfAlpha;

  // The pixels follow the 18-byte header and the identification field.
  size_t bpp = size_t(bits / 8);
  size_t size = size_t(w) * size_t(h) * bpp;
  if (std::fseek(f, 18 + head[0], SEEK_SET) != 0) return TgaFail(f, TGA_BAD_DATA);
  uint8_t* data = new uint8_t[size];
  if (std::fread(data, 1, size, f) != size) {
    delete[] data;
    return TgaFail(f, TGA_BAD_DATA);
  }
  std::fclose(f);
  if (bpp >= 3)
    for (size_t k = 0; k + 2 < size; k += bpp) std::swap(data[k], data[k + 2]);
  draw->UploadTexture(id, w, h, texFormat, data, true);
  delete[] data;
  return 1;
}
