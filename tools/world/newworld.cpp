// A blank world to start from: the default tile sets, classes, pictures and
// sounds, and a map that is one cave round the player's start, framed in
// rock, with a few weapons on its floor and no triggers.
#include <filesystem>

#include "kit.h"

namespace kit {

namespace {

// The cave's open tiles; the start tile (92, 53) stands on its floor.
constexpr int kLeft = 82, kRight = 103, kTop = 45, kBottom = wg::kStartTileY;
constexpr int kFrame = 2;   // tiles of rock round it

void BlankCave(const wg::TileSets& ts, wg::World& w) {
  const wg::Family& rock = ts.fam[wg::famGranite];
  for (int tx = 0; tx < wg::kMapTiles; tx++)
    for (int ty = 0; ty < wg::kMapTiles; ty++) {
      bool open = tx >= kLeft && tx <= kRight && ty >= kTop && ty <= kBottom;
      bool frame = tx >= kLeft - kFrame && tx <= kRight + kFrame && ty >= kTop - kFrame &&
                   ty <= kBottom + kFrame;
      int variant = int(wg::Hash01(tx, ty, 7) * float(rock.nfulls)) % rock.nfulls;
      w.map[tx][ty] = frame && !open ? uint32_t(rock.fulls[variant]) | uint32_t(rock.set) << 8 : 0;
    }
}

// Weapons resting on the floor left of the start.
void Armoury(const std::vector<wg::ClassInfo>& classes, wg::World& w) {
  const struct { const char* desc; int kind; } things[] = {
      {"pistol", 16}, {"icer", 17}, {"blaster", 18}, {"plasmagun", 19}, {"grenade", 14}};
  int tx = wg::kStartTileX - 6;
  for (const auto& t : things) {
    int floor = (kBottom + 1) * 64, y = floor - classes[size_t(t.kind - 1)].h - 1;
    w.placements.push_back({t.desc, t.kind, tx++, 20, y / 64, y % 64, 0, 0, 0, 0, 0});
  }
}

}  // namespace

bool NewWorld(const std::string& dir, std::string& error) {
  namespace fs = std::filesystem;
  for (const char* part : {"map", "gfx", "sfx"})
    if (fs::exists(fs::path(dir) / part)) {
      error = dir + " already holds a world (it has " + part + "/)";
      return false;
    }
  static wg::World world;
  wg::WriteDataFolder(dir, world, [](const wg::TileSets& ts, const std::vector<wg::ClassInfo>& classes,
                                     wg::World& w) {
    BlankCave(ts, w);
    Armoury(classes, w);
  });
  return true;
}

}  // namespace kit
