// The tile map: the 256 x 256 grid of tile words, its file, the per-pixel
// collision query; the drawing of the 12 x 12 tiles around player 0 with the
// camera it sets, and the two small drawing routines the editor uses.
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "defs/console.h"
#include "defs/problems.h"
#include "defs/random.h"
#include "game.h"
#include "platform/platform.h"

namespace {

constexpr int MAP_WORDS = MAP_TILES * MAP_TILES;   // 65,536 words, 262,144 bytes

uint32_t& MapWord(int k) { return mapt[k / MAP_TILES][k % MAP_TILES]; }

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

// Writes the whole map into the open file from its start.
bool WriteWords(int fd) {
  uint8_t chunk[4096];
  for (int k = 0; k < MAP_WORDS; k += int(sizeof chunk / 4)) {
    for (int i = 0; i < int(sizeof chunk / 4); ++i) {
      uint32_t w = MapWord(k + i);
      chunk[4 * i + 0] = uint8_t(w);
      chunk[4 * i + 1] = uint8_t(w >> 8);
      chunk[4 * i + 2] = uint8_t(w >> 16);
      chunk[4 * i + 3] = uint8_t(w >> 24);
    }
    if (!WriteAll(fd, chunk, sizeof chunk)) return false;
  }
  return true;
}

// The folder part of `path`, "." when it has none.
void FolderOf(const char* path, char* dir, size_t size) {
  std::snprintf(dir, size, "%s", path);
  char* slash = std::strrchr(dir, '/');
  if (slash == dir) slash[1] = 0;
  else if (slash) *slash = 0;
  else std::snprintf(dir, size, ".");
}

// Makes a finished rename durable: the folder that holds `path` is synced.
void SyncFolderOf(const char* path) {
  char dir[4096];
  FolderOf(path, dir, sizeof dir);
  int fd = ::open(dir, O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// Turns `path` into the file its symbolic links finally name, which need not
// exist yet; false (errno set) when the links go round or get too long.
bool FollowLinks(char* path, size_t size) {
  for (int hop = 0; hop < 40; ++hop) {
    char target[4096], next[4096];
    ssize_t n = ::readlink(path, target, sizeof target - 1);
    if (n < 0) return errno == EINVAL || errno == ENOENT;   // not a link, or nothing there
    target[n] = 0;
    const char* slash = std::strrchr(path, '/');
    int len = target[0] == '/' || !slash
                  ? std::snprintf(next, sizeof next, "%s", target)
                  : std::snprintf(next, sizeof next, "%.*s/%s", int(slash - path), path, target);
    if (len < 0 || size_t(len) >= size || size_t(len) >= sizeof next) {
      errno = ENAMETOOLONG;
      return false;
    }
    std::memcpy(path, next, size_t(len) + 1);
  }
  errno = ELOOP;
  return false;
}

// Makes the folder `dir` and any folder above it that is missing.
bool MakeFolders(char* dir) {
  for (char* p = dir + 1;; ++p) {
    if (*p != '/' && *p != 0) continue;
    char c = *p;
    *p = 0;
    int made = ::mkdir(dir, 0777), e = errno;
    *p = c;
    if (made != 0 && e != EEXIST) return errno = e, false;
    if (c == 0) return true;
  }
}

mode_t CurrentUmask() {
  mode_t m = ::umask(0);
  ::umask(m);
  return m;
}

// Writes the map over the file in place, for a file with other hard links,
// which a rename would leave holding the old map. `touched` tells whether the
// file may have changed when it fails.
bool Overwrite(const char* path, bool* touched) {
  *touched = false;
  int fd = ::open(path, O_WRONLY);
  if (fd < 0) return false;
  *touched = true;
  bool ok = WriteWords(fd) && ::ftruncate(fd, off_t(MAP_WORDS) * 4) == 0 && ::fsync(fd) == 0;
  int e = errno;
  if (::close(fd) != 0 && ok) ok = false, e = errno;
  errno = e;
  return ok;
}

}  // namespace

// ---- tile map, map file and collision query ---------------------------------

void InitialiseMap(const char* f) {
  FILE* fp = OpenDataFile(f, "rb");
  if (!fp) {
    Say("map %s not found!\n", f);
    LoadProblem(f, -1, "missing: the game starts in an empty map");
    return;
  }
  LoadSizeProblem(f, fp, MAP_WORDS * 4, "a whole map");
  // Whole words only, from the first on; what the file does not supply stays.
  uint8_t b[4];
  for (int k = 0; k < MAP_WORDS; ++k) {
    if (std::fread(b, 1, 4, fp) != 4) break;
    MapWord(k) = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 |
                 uint32_t(b[3]) << 24;
  }
  std::fclose(fp);
  ForgetPainting();
  Say("map %s loaded\n", f);
}

// The map is written to a new file of a unique name beside the old one and
// renamed over it once it is complete on the disk, so a failed or interrupted
// save never leaves a torn map: on failure the old file and the map in memory
// stay as they are. A symbolic link is followed to the file it names, and the
// link stays a link; the new file takes the old one's mode and, where the
// process may, its owner; a file the user may not write is not replaced. A
// file with other hard links is written in place once the complete copy is on
// the disk, so every link sees the new map; if that write fails, the copy is
// kept and named in the reason.
bool WriteMapFile(const char* f, char* why, size_t size) {
  char path[4096], dir[4096], tmp[4096 + 16];
  auto fail = [&](const char* what) {
    int e = errno;
    std::snprintf(why, size, "%s%s%s", what, *what ? ": " : "", std::strerror(e));
    return false;
  };
  if (!DataFilePath(f, path, sizeof path)) return errno = ENAMETOOLONG, fail("");
  if (!FollowLinks(path, sizeof path)) return fail("");
  FolderOf(path, dir, sizeof dir);
  struct stat old;
  if (::stat(dir, &old) != 0) {
    if (errno != ENOENT || !MakeFolders(dir)) {
      char what[4096 + 32];
      std::snprintf(what, sizeof what, "cannot make the folder %s", dir);
      return fail(what);
    }
  }
  bool replaces = ::stat(path, &old) == 0;
  if (!replaces && errno != ENOENT) return fail("");
  if (replaces && !S_ISREG(old.st_mode)) return std::snprintf(why, size, "not a regular file"), false;
  if (replaces && ::faccessat(AT_FDCWD, path, W_OK, AT_EACCESS) != 0) return fail("");

  const char* slash = std::strrchr(path, '/');
  int len = std::snprintf(tmp, sizeof tmp, "%s/.%s.XXXXXX", dir, slash ? slash + 1 : path);
  if (len < 0 || size_t(len) >= sizeof tmp) return errno = ENAMETOOLONG, fail("");
  int fd = ::mkstemp(tmp);
  if (fd < 0) return fail("");
  if (replaces && ::fchown(fd, old.st_uid, old.st_gid) != 0)
    (void)!::fchown(fd, uid_t(-1), old.st_gid);
  mode_t mode = replaces ? old.st_mode & 07777 : 0666 & ~CurrentUmask();
  bool ok = ::fchmod(fd, mode) == 0 && WriteWords(fd) && ::fsync(fd) == 0;
  int e = errno;
  if (::close(fd) != 0 && ok) ok = false, e = errno;
  if (ok && replaces && old.st_nlink > 1) {
    bool touched = false;
    ok = Overwrite(path, &touched);
    e = errno;
    if (!ok && touched) {
      std::snprintf(why, size, "%s; the whole map is in %s", std::strerror(e), tmp);
      return false;
    }
    ::unlink(tmp);
  } else if (ok) {
    ok = std::rename(tmp, path) == 0;
    e = errno;
  }
  if (!ok) {
    ::unlink(tmp);
    errno = e;
    return fail("");
  }
  SyncFolderOf(path);
  return true;
}

void SaveMap(const char* f) {
  char why[512];
  if (WriteMapFile(f, why, sizeof why)) {
    ForgetPainting();
    Say("map saved to %s", f);
  } else {
    Say("map save to %s failed: %s\n", f, why);
  }
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
  // and 4 below (of the editor's view, when it is panned away from him).
  int32_t cx = oldx, cy = oldy;
  EditorViewCentre(&cx, &cy);
  mapx = cx / TILE_WSCALE - 5;
  mapy = cy / TILE_HSCALE - 7;
  ax = 64 - (cx % TILE_WSCALE) / DIVSCALE;
  ay = (-(cy % TILE_HSCALE)) / DIVSCALE;

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

      if (MapEditState.editing) DisplayEditorCell(i, j, x, y, inside);
    }
  }
  draw->Texturing(false);
}

void CharAtXY(const char* c, int x, int y, int d) {
  (void)d;   // the raster position is two-dimensional
  draw->Color4(1.0f, 1.0f, 1.0f, 0.8f);
  draw->Text(float(x), float(y), 0.0f, c);
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
