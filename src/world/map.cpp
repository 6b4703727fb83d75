// The tile map: the 256 x 256 grid of tile words, its file, the per-pixel
// collision query; the drawing of the 12 x 12 tiles around player 0 with the
// camera it sets; and the map editor's overlay.
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

#include "defs/console.h"
#include "defs/random.h"
#include "game.h"
#include "platform/platform.h"

namespace {

constexpr int MAP_WORDS = MAP_TILES * MAP_TILES;   // 65,536 words, 262,144 bytes

uint32_t& MapWord(int k) { return mapt[k / MAP_TILES][k % MAP_TILES]; }

// Only tile sets 0 and 1 and the four flips are ever written; any other word
// is treated as empty by the query and is not drawn.
bool KnownTile(uint32_t set, uint32_t flip) { return set <= 1 && flip <= mtXY; }

bool WriteAll(int fd, const uint8_t* p, size_t n) {
  while (n > 0) {
    ssize_t w = ::write(fd, p, n);
    if (w < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += w;
    n -= size_t(w);
  }
  return true;
}

// Writes the whole map to `tmp`, flushed to the disk; false when any step fails.
bool WriteMapFile(const char* tmp) {
  int fd = ::open(tmp, O_WRONLY | O_CREAT | O_TRUNC, 0666);
  if (fd < 0) return false;
  uint8_t chunk[4096];
  bool ok = true;
  for (int k = 0; ok && k < MAP_WORDS; k += int(sizeof chunk / 4)) {
    for (int i = 0; i < int(sizeof chunk / 4); ++i) {
      uint32_t w = MapWord(k + i);
      chunk[4 * i + 0] = uint8_t(w);
      chunk[4 * i + 1] = uint8_t(w >> 8);
      chunk[4 * i + 2] = uint8_t(w >> 16);
      chunk[4 * i + 3] = uint8_t(w >> 24);
    }
    ok = WriteAll(fd, chunk, sizeof chunk);
  }
  if (ok) ok = ::fsync(fd) == 0;
  if (::close(fd) != 0) ok = false;
  return ok;
}

// Makes a finished rename durable: the folder that holds `path` is synced.
void SyncFolderOf(const char* path) {
  char dir[4096];
  std::snprintf(dir, sizeof dir, "%s", path);
  char* slash = std::strrchr(dir, '/');
  if (slash == dir) slash[1] = 0;
  else if (slash) *slash = 0;
  else std::strcpy(dir, ".");
  int fd = ::open(dir, O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

// ---- tile map, map file and collision query ---------------------------------

void InitialiseMap(const char* f) {
  FILE* fp = OpenDataFile(f, "rb");
  if (!fp) {
    Say("map %s not found!\n", f);
    return;
  }
  // Whole words only, from the first on; what the file does not supply stays.
  uint8_t b[4];
  for (int k = 0; k < MAP_WORDS; ++k) {
    if (std::fread(b, 1, 4, fp) != 4) break;
    MapWord(k) = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 |
                 uint32_t(b[3]) << 24;
  }
  std::fclose(fp);
  Say("map %s loaded\n", f);
}

// The map is written beside the old file and renamed over it once it is
// complete on the disk, so a failed or interrupted save never leaves a torn
// map: on failure the old file and the map in memory stay as they are.
void SaveMap(const char* f) {
  char path[4096], tmp[4096 + 8];
  bool ok = DataFilePath(f, path, sizeof path);
  if (ok) {
    std::snprintf(tmp, sizeof tmp, "%s.tmp", path);
    ok = WriteMapFile(tmp);
    if (ok) ok = std::rename(tmp, path) == 0;
    if (!ok) ::unlink(tmp);
    else SyncFolderOf(path);
  }
  if (ok)
    Say("map saved to %s", f);
  else
    Say("map save to %s failed\n", f);
}

uint8_t GetXY(int32_t x, int32_t y) {
  if (x < 0 || y < 0) return 0;
  int32_t tx = x / TILE_WSCALE, ty = y / TILE_HSCALE;
  if (tx >= MAP_TILES || ty >= MAP_TILES) return 0;
  uint32_t w = mapt[tx][ty];
  uint32_t n = w & 255;
  if (n == 0) return 0;
  uint32_t s = (w >> 8) & 255, f = w >> 28;
  if (!KnownTile(s, f)) return 0;
  int32_t px = (x % TILE_WSCALE) / DIVSCALE;
  int32_t py = (y % TILE_HSCALE) / DIVSCALE;
  if (f == mtX || f == mtXY) px = 63 - px;
  if (f == mtY || f == mtXY) py = 63 - py;
  int32_t cx = int32_t(n % 16) * 64 + px;
  int32_t cy = int32_t(n / 16) * 64 + py;
  return mapmasks[s][cy * 1024 + cx];
}

// ---- map drawing ---------------------------------------------------------------

void DisplayMap() {
  // Camera: 5 tile columns left of player 0's tile and 6 right, 7 rows above
  // and 4 below.
  mapx = oldx / TILE_WSCALE - 5;
  mapy = oldy / TILE_HSCALE - 7;
  ax = 64 - (oldx % TILE_WSCALE) / DIVSCALE;
  ay = (-(oldy % TILE_HSCALE)) / DIVSCALE;

  // Corner offsets (a, b, c, d) by flip: mirroring exchanges the corners,
  // never the texture coordinates.
  static const int32_t corner[4][4] = {{0, 0, 1, 1}, {1, 0, 0, 1}, {0, 1, 1, 0}, {1, 1, 0, 0}};

  draw->Texturing(true);
  for (int32_t j = 0; j < 12; ++j) {
    for (int32_t i = 0; i < 12; ++i) {
      int32_t x = mapx + i, y = mapy + j;
      bool inside = x >= 0 && x < MAP_TILES && y >= 0 && y < MAP_TILES;
      if (inside) {
        uint32_t w = mapt[x][y];
        uint32_t n = w & 255, s = (w >> 8) & 255, f = w >> 28;
        bool known = KnownTile(s, f);
        if (known) draw->BindTexture(int(s) + 1);

        // Tile set 0's tiles 1 and 2 seed shrooms now and then.
        if (known && s == 0 && (n == 1 || n == 2)) {
          int32_t r1 = Rand();
          if (r1 % 64 == 1) {
            int32_t r2 = Rand();
            int32_t r3 = Rand();
            if (n == 1)
              SpawnEntity(blueshroom, x * TILE_WSCALE + r2 % 7936, y * TILE_HSCALE, blank, 0,
                          TFlip(r3 % 7), 0, 0);
            else
              SpawnEntity(redshroom, x * TILE_WSCALE + r2 % 7936, y * TILE_HSCALE + 5632, blank,
                          0, TFlip(r3 % 7), 0, 0);
          }
        }

        if (n == 0) {
          draw->Color3(1.0f, 1.0f, 1.0f);
        } else if (known) {
          const int32_t* c = corner[f];
          int32_t x1 = (i + c[0]) * 64 + ax, y1 = (12 - j + c[1]) * 64 - ay;
          int32_t x2 = (i + c[2]) * 64 + ax, y2 = (12 - j + c[3]) * 64 - ay;
          float s1 = float(n % 16) * 0.0625f + 0.00005f;
          float t1 = float(15 - int32_t(n / 16)) * 0.0625f + 0.00005f;
          float s2 = s1 + 0.061f, t2 = t1 + 0.061f;
          if (n == 191) {
            int32_t r1 = Rand();
            if (r1 % 32 == 0) {
              int32_t r2 = Rand();
              int32_t r3 = Rand();
              int32_t r4 = Rand();
              SpawnParticle(x * TILE_WSCALE + r2 % 8192, y * TILE_HSCALE + r3 % 8192, 0,
                            -(r4 % 64), 68, 32, ptDot);
            }
            draw->Color4(0.1f, 0.1f, 1.0f, 0.5f);
          } else {
            // Brightness 13 at the centre cell falling to 1 at the corners.
            float a = float((13 - 2 * std::abs(6 - i)) + (13 - 2 * std::abs(6 - j))) / 2.0f;
            draw->Color3(a / 12.0f, a / 12.0f, a / 12.0f);
          }
          draw->Begin(dpQuads);
          draw->TexCoord(s1, t1);
          draw->Vertex(float(x1), float(y1), 0.0001f);
          draw->TexCoord(s2, t1);
          draw->Vertex(float(x2), float(y1), 0.0001f);
          draw->TexCoord(s2, t2);
          draw->Vertex(float(x2), float(y2), 0.0f);
          draw->TexCoord(s1, t2);
          draw->Vertex(float(x1), float(y2), 0.0f);
          draw->End();
        }
      }

      // The editor's cursor: the cell under the last click outside the palette.
      if (MapEditState.editing) {
        if (mouseX < 16 && mouseY > 15) continue;
        if (i != (mouseX + 4) / 4 || j != (31 - mouseY) / 4 + 3) continue;
        char text[32];
        std::snprintf(text, sizeof text, "(%d %d)", mouseX, mouseY);
        draw->Texturing(false);
        CharAtXY(text, 80, 384, 0);
        int32_t lx = i * 64 + ax, ly = (12 - j) * 64 - ay;
        draw->Color3(1.0f, 1.0f, 1.0f);
        draw->Begin(dpLineLoop);
        draw->Vertex(float(lx), float(ly), 1.0f);
        draw->Vertex(float(lx + 64), float(ly), 1.0f);
        draw->Vertex(float(lx + 64), float(ly + 64), 1.0f);
        draw->Vertex(float(lx), float(ly + 64), 1.0f);
        draw->End();
        draw->Texturing(true);
        if (mouseB >= 0 && inside) {
          mapt[x][y] = uint32_t(MapEditState.tile) + (uint32_t(MapEditState.tileflip) << 28);
          mouseB = -1;
        }
      }
    }
  }
  draw->Texturing(false);
}

void CharAtXY(const char* c, int x, int y, int d) {
  (void)d;   // the raster position is two-dimensional
  draw->Color4(1.0f, 1.0f, 1.0f, 0.8f);
  draw->Text(float(x), float(y), c);
}

void TileAtXY(int aTile, int x, int y, int w, int h, int d) {
  draw->Texturing(true);
  draw->BindTexture(aTile);
  draw->Color4(1.0f, 1.0f, 1.0f, 0.8f);
  draw->Begin(dpQuads);
  draw->TexCoord(0.0f, 0.0f);
  draw->Vertex(float(x), float(y), float(d));
  draw->TexCoord(1.0f, 0.0f);
  draw->Vertex(float(x + w), float(y), float(d));
  draw->TexCoord(1.0f, 1.0f);
  draw->Vertex(float(x + w), float(y + h), float(d));
  draw->TexCoord(0.0f, 1.0f);
  draw->Vertex(float(x), float(y + h), float(d));
  draw->End();
  draw->Texturing(false);
}

// ---- map editor ----------------------------------------------------------------

void InitialiseMapEditor() {
  MapEditState.editing = 0;
  MapEditState.tileset = 1;
  MapEditState.tile = 1;
}

void DisplayMapEditor() {
  // A click in the palette (the 16 x 16 cells at the top left) selects its tile.
  if (mouseX >= 0 && mouseX < 16 && mouseY >= 16 && mouseY < 32)
    MapEditState.tile = mouseX + (31 - mouseY) * 16;
  DisplayTileSet(MapEditState.tileset);
  DisplaySelectedTile(MapEditState.tile);
}

void DisplayTileSet(int setno) {
  TileAtXY(setno, 80, 412, 256, 256, 3);
  switch (MapEditState.tileflip) {
    case mtX: CharAtXY("X", 80, 400, 3); break;
    case mtY: CharAtXY("Y", 80, 400, 3); break;
    case mtXY: CharAtXY("XY", 80, 400, 3); break;
    default: break;
  }
}

void DisplaySelectedTile(int aTile) {
  int tx = (aTile % 16) * 16;
  int ty = (15 - aTile / 16) * 16;
  draw->Color4(1.0f, 1.0f, 1.0f, 0.8f);
  draw->Begin(dpLineLoop);
  draw->Vertex(float(80 + tx), float(412 + ty), 4.0f);
  draw->Vertex(float(96 + tx), float(412 + ty), 4.0f);
  draw->Vertex(float(96 + tx), float(428 + ty), 4.0f);
  draw->Vertex(float(80 + tx), float(428 + ty), 4.0f);
  draw->End();
  char text[16];
  std::snprintf(text, sizeof text, "%d", aTile);
  CharAtXY(text, 128, 400, 4);
}
