#include "platform/testseams.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

void RecordDraw::UploadTexture(int id, int w, int h, TexFormat f, const uint8_t* px, bool linear) {
  textures[id] = {w, h, int(f), linear ? 1 : 0};
  size_t bpp = f == tfRGBA ? 4 : f == tfRGB ? 3 : 1;
  pixels[id].assign(px, px + size_t(w) * size_t(h) * bpp);
  Add("UploadTexture", {float(id), float(w), float(h)});
}

std::vector<DrawCall> RecordDraw::Only(const std::string& op) const {
  std::vector<DrawCall> out;
  for (const DrawCall& c : calls)
    if (c.op == op) out.push_back(c);
  return out;
}

std::vector<RecordDraw::Quad> RecordDraw::Quads() const {
  std::vector<Quad> out;
  int texture = 0;
  bool textured = false;
  float s = 0, t = 0, r = 1, g = 1, b = 1, a = 1;
  bool inQuads = false;
  Quad q{};
  int n = 0;
  for (const DrawCall& c : calls) {
    if (c.op == "BindTexture") texture = int(c.v[0]);
    else if (c.op == "Texturing") textured = c.v[0] != 0;
    else if (c.op == "TexCoord") { s = c.v[0]; t = c.v[1]; }
    else if (c.op == "Color3") { r = c.v[0]; g = c.v[1]; b = c.v[2]; a = 1; }
    else if (c.op == "Color4") { r = c.v[0]; g = c.v[1]; b = c.v[2]; a = c.v[3]; }
    else if (c.op == "BeginQuads") { inQuads = true; n = 0; }
    else if (c.op == "BeginLineLoop") inQuads = false;
    else if (c.op == "End") inQuads = false;
    else if (c.op == "Vertex" && inQuads) {
      q.v[n++] = {c.v[0], c.v[1], c.v[2], s, t, r, g, b, a};
      if (n == 4) {
        q.texture = texture;
        q.textured = textured;
        out.push_back(q);
        n = 0;
      }
    }
  }
  return out;
}

int ScriptKeys::KeyState(int vk) {
  if (held.count(vk)) return 1;
  auto it = down.find(frame);
  return it != down.end() && it->second.count(vk) ? 1 : 0;
}

QuietConsole::QuietConsole() {
  std::fflush(stdout);
  saved = dup(1);
  int null = open("/dev/null", O_WRONLY);
  if (null >= 0) {
    dup2(null, 1);
    close(null);
  }
}

QuietConsole::~QuietConsole() {
  std::fflush(stdout);
  if (saved >= 0) {
    dup2(saved, 1);
    close(saved);
  }
}
