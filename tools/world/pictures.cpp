// Pictures in and out of PNG (through libpng's simplified interface), and
// between PNG pictures and the game's raw pictures and masks.
#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "kit.h"

namespace kit {

namespace {

constexpr uint8_t kRock = 255, kWater = 128, kAir = 0;

bool IsKey(const uint8_t* p) { return p[0] == 0 && p[1] == 255 && p[2] == 255; }
bool IsBlue(const uint8_t* p) { return p[0] == 0 && p[1] == 0 && p[2] == 255; }

}  // namespace

bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& out, std::string& error) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) {
    error = "cannot read " + path + ": " + std::strerror(errno);
    return false;
  }
  out.clear();
  uint8_t buf[65536];
  for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) out.insert(out.end(), buf, buf + n);
  bool ok = !std::ferror(f);
  std::fclose(f);
  if (!ok) error = "cannot read " + path;
  return ok;
}

bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error) {
  if (wg::WriteAllBytes(path, bytes)) return true;
  error = "cannot write " + path;
  return false;
}

bool ReadPng(const std::string& path, Picture& out, std::string& error) {
  png_image img;
  std::memset(&img, 0, sizeof img);
  img.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&img, path.c_str())) {
    error = path + ": " + img.message;
    return false;
  }
  img.format = PNG_FORMAT_RGBA;
  out.w = int(img.width);
  out.h = int(img.height);
  out.rgba.assign(PNG_IMAGE_SIZE(img), 0);
  if (!png_image_finish_read(&img, nullptr, out.rgba.data(), 0, nullptr)) {
    error = path + ": " + img.message;
    png_image_free(&img);
    return false;
  }
  return true;
}

namespace {

bool WritePngPixels(const std::string& path, int w, int h, png_uint_32 format, const void* pixels,
                    std::string& error) {
  png_image img;
  std::memset(&img, 0, sizeof img);
  img.version = PNG_IMAGE_VERSION;
  img.width = png_uint_32(w);
  img.height = png_uint_32(h);
  img.format = format;
  if (png_image_write_to_file(&img, path.c_str(), 0, pixels, 0, nullptr)) return true;
  error = path + ": " + img.message;
  return false;
}

}  // namespace

bool WritePng(const std::string& path, const Picture& p, std::string& error) {
  return WritePngPixels(path, p.w, p.h, PNG_FORMAT_RGBA, p.rgba.data(), error);
}

bool WritePng(const std::string& path, const wg::Canvas& c, std::string& error) {
  static_assert(sizeof(wg::Rgb) == 3, "a canvas is packed RGB");
  return WritePngPixels(path, c.w, c.h, PNG_FORMAT_RGB, c.px.data(), error);
}

Picture PictureFromRaw(const std::vector<uint8_t>& raw, int w, int h) {
  Picture p{w, h, std::vector<uint8_t>(size_t(w) * h * 4)};
  for (int y = 0; y < h; y++)
    for (int x = 0; x < w; x++) {
      const uint8_t* s = &raw[(size_t(h - 1 - y) * w + x) * 3];
      uint8_t* d = &p.rgba[(size_t(y) * w + x) * 4];
      std::memcpy(d, s, 3);
      d[3] = IsKey(s) ? 0 : 255;
    }
  return p;
}

std::vector<uint8_t> RawFromPicture(const Picture& p) {
  std::vector<uint8_t> raw(size_t(p.w) * p.h * 3);
  for (int y = 0; y < p.h; y++)
    for (int x = 0; x < p.w; x++) {
      const uint8_t* s = &p.rgba[(size_t(y) * p.w + x) * 4];
      uint8_t* d = &raw[(size_t(p.h - 1 - y) * p.w + x) * 3];
      static const uint8_t key[3] = {0, 255, 255};
      std::memcpy(d, s[3] < 128 ? key : s, 3);
    }
  return raw;
}

Picture PictureFromMask(const std::vector<uint8_t>& mask, int w, int h) {
  Picture p{w, h, std::vector<uint8_t>(size_t(w) * h * 4)};
  for (size_t k = 0; k < size_t(w) * h; k++) {
    static const uint8_t rock[4] = {255, 255, 255, 255}, water[4] = {0, 0, 255, 255},
                         air[4] = {0, 0, 0, 0};
    std::memcpy(&p.rgba[k * 4], mask[k] == kRock ? rock : mask[k] == kWater ? water : air, 4);
  }
  return p;
}

std::vector<uint8_t> MaskFromPicture(const Picture& p) {
  std::vector<uint8_t> mask(size_t(p.w) * p.h);
  for (size_t k = 0; k < mask.size(); k++) {
    const uint8_t* s = &p.rgba[k * 4];
    mask[k] = s[3] < 128 || IsKey(s) ? kAir : IsBlue(s) ? kWater : kRock;
  }
  return mask;
}

}  // namespace kit
