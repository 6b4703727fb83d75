// Writing a data folder: the tile sets and masks, the map, the class file with
// its pictures, the placements and the triggers; and the whole default world.
#include <cstdio>
#include <filesystem>
#include <string>

#include "gen.h"

namespace wg {

namespace {

void WriteTileSets(const TileSets& ts, const std::string& gfx) {
  WriteRaw(gfx + "/tiles.raw", ts.colour[0]);
  WriteRaw(gfx + "/tiles2.raw", ts.colour[1]);
  WriteBytes(gfx + "/m_tiles.raw", ts.mask[0]);
  WriteBytes(gfx + "/m_tiles2.raw", ts.mask[1]);
}

// 65,536 little-endian words, tile column 0 from the top row down, then
// column 1, and so on.
void WriteMap(const World& w, const std::string& path) {
  std::vector<uint8_t> b;
  b.reserve(kMapTiles * kMapTiles * 4);
  for (int x = 0; x < kMapTiles; x++)
    for (int y = 0; y < kMapTiles; y++) {
      uint32_t v = w.map[x][y];
      for (int k = 0; k < 4; k++) b.push_back(static_cast<uint8_t>(v >> (8 * k)));
    }
  WriteBytes(path, b);
}

void WriteClasses(const std::vector<ClassInfo>& cls, const std::string& path) {
  std::string out = "QUARN_CLASSES\n";
  char line[256];
  for (const ClassInfo& c : cls) {
    std::snprintf(line, sizeof line, "%s %d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d\n", c.name.c_str(), c.w,
                  c.h, c.sprite, c.mass, c.hp, c.lifespan, c.regen, c.walk, c.imgw, c.imgh, c.gravity, c.frames,
                  c.dtype, c.dmg, c.dcolour, c.doc);
    out += line;
  }
  WriteText(path, out);
}

void WritePlacements(const World& w, const std::string& path) {
  std::string out = "QUARN_PLACEMENTS\n";
  char line[256];
  for (const Placement& p : w.placements) {
    std::snprintf(line, sizeof line, "%s %d,%d,%d,%d,%d,%d,%d,%d,%d,%d\n", p.desc.c_str(), p.kind, p.tx, p.px, p.ty,
                  p.py, p.subtype, p.subtypemax, p.flip, p.trigger, p.score);
    out += line;
  }
  WriteText(path, out);
}

void WriteTriggers(const World& w, const std::string& path) {
  std::string out;
  char line[256];
  for (const Trigger& t : w.triggers) {
    std::snprintf(line, sizeof line, "%s %d,%d,%d,%d,%d\n", t.label.c_str(), t.id, t.x, t.y, t.w, t.h);
    out += line;
  }
  WriteText(path, out);
}

}  // namespace

void WriteDataFolder(const std::string& out, World& world, const BuildMap& build) {
  namespace fs = std::filesystem;
  for (const char* d : {"map", "gfx", "gfx/ents", "sfx"}) fs::create_directories(fs::path(out) / d);
  static TileSets ts;
  BuildTileSets(ts);
  WriteTileSets(ts, out + "/gfx");

  std::vector<ClassInfo> classes;
  std::vector<std::pair<std::string, Canvas>> images;
  BuildClasses(classes, images);
  WriteClasses(classes, out + "/map/phoebus.ent");
  for (auto& [name, img] : images) WriteRaw(out + "/gfx/ents/" + name + ".raw", img);

  world.placements.clear();
  world.triggers.clear();
  build(ts, classes, world);
  WriteMap(world, out + "/map/phoebus.qnm");
  WritePlacements(world, out + "/map/phoebus.epo");
  WriteTriggers(world, out + "/map/phoebus.trg");

  BuildScreens(out + "/gfx");
  BuildSounds(out + "/sfx");
}

void GenerateWorld(const std::string& out, World& world) { WriteDataFolder(out, world, BuildWorld); }

}  // namespace wg
