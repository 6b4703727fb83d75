// The player's map kept in the browser. The page plays the default world from
// its own files (in memory, gone at every reload), and the browser's storage
// (IndexedDB, mounted at /store) keeps the map file and the painting kept at
// quit. They are put back over the default world before the game starts, and
// stored again after every frame in which the game (a save, the quit) or the
// page (a map file loaded) has written them. The page tells on its own line
// and on the console when the browser could not keep them.
//
// Beside them the store keeps the digest of the default map they were painted
// over: when the page brings a newer default world, the player's map is still
// played, and the page offers the new world.
#include <emscripten.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>

#include "app/digest.h"
#include "game.h"
#include "platform/web/web.h"

namespace {

constexpr const char* WORLD_TAG = "/store/world";   // the digest of the default map
constexpr int KEPT = 2;
// The files kept, as the game names them and where they lie in the store.
const char* const kKept[KEPT][2] = {{"map\\phoebus.qnm", "/store/phoebus.qnm"},
                                    {"map\\phoebus.qnm.unsaved", "/store/phoebus.qnm.unsaved"}};

struct Seen {
  bool there;
  ino_t ino;
  off_t size;
  timespec mtime;
};
Seen seen[KEPT];
char worldTag[17];

// clang-format off
EM_JS(void, PageKeep, (const char* name, int copied), { if (Module.page) Module.page.keep(UTF8ToString(name), copied); });
EM_JS(void, PageNewerWorld, (), { if (Module.page) Module.page.newerWorld(); });
EM_JS(void, PageTell, (const char* text), { if (Module.page) Module.page.tell(UTF8ToString(text)); });
// clang-format on

Seen Look(const char* path) {
  struct stat st;
  if (::stat(path, &st) != 0) return Seen{};
  return Seen{true, st.st_ino, st.st_size, st.st_mtim};
}

bool Same(const Seen& a, const Seen& b) {
  return a.there == b.there && (!a.there || (a.ino == b.ino && a.size == b.size &&
                                             a.mtime.tv_sec == b.mtime.tv_sec &&
                                             a.mtime.tv_nsec == b.mtime.tv_nsec));
}

bool Copy(const char* from, const char* to) {
  FILE* in = std::fopen(from, "rb");
  if (!in) return false;
  FILE* out = std::fopen(to, "wb");
  bool ok = out != nullptr;
  char buf[65536];
  size_t n;
  while (ok && (n = std::fread(buf, 1, sizeof buf, in)) > 0) ok = std::fwrite(buf, 1, n, out) == n;
  ok = ok && !std::ferror(in);
  std::fclose(in);
  if (out && std::fclose(out) != 0) ok = false;
  return ok;
}

void DigestOf(const char* path, char* tag) {
  Fnv64 h;
  if (FILE* f = std::fopen(path, "rb")) {
    uint8_t buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) h.Bytes(buf, n);
    std::fclose(f);
  }
  std::snprintf(tag, 17, "%016llx", static_cast<unsigned long long>(h.h));
}

const char* PathOf(const char* name, char* path, size_t size) {
  DataFilePath(name, path, size);
  return path;
}

}  // namespace

void RestoreKeptMap() {
  char path[256];
  DigestOf(PathOf(kKept[0][0], path, sizeof path), worldTag);
  for (int k = 0; k < KEPT; ++k) {
    const char* file = PathOf(kKept[k][0], path, sizeof path);
    if (Look(kKept[k][1]).there && !Copy(kKept[k][1], file)) {
      char line[256];
      std::snprintf(line, sizeof line, "%s kept in this browser could not be read back", kKept[k][0]);
      PageTell(line);
    }
    seen[k] = Look(file);
  }
  if (!Look(kKept[0][1]).there) return;
  char kept[17] = {};
  if (FILE* f = std::fopen(WORLD_TAG, "rb")) {
    (void)!std::fread(kept, 1, 16, f);
    std::fclose(f);
  }
  if (std::strcmp(kept, worldTag) != 0) PageNewerWorld();
}

void KeepWrittenMap() {
  char path[256];
  for (int k = 0; k < KEPT; ++k) {
    const char* file = PathOf(kKept[k][0], path, sizeof path);
    Seen now = Look(file);
    if (Same(now, seen[k])) continue;
    seen[k] = now;
    if (!now.there) continue;
    bool ok = Copy(file, kKept[k][1]);
    if (ok && k == 0) {
      FILE* f = std::fopen(WORLD_TAG, "wb");
      ok = f && std::fputs(worldTag, f) >= 0;
      if (f && std::fclose(f) != 0) ok = false;
    }
    // the page stores the folder in the browser and tells whether it could
    PageKeep(kKept[k][0], ok);
  }
}

// The page wrote a map file the player loaded over the map: the game reloads
// it as the reload key does, and it is kept.
extern "C" EMSCRIPTEN_KEEPALIVE void web_map_written() {
  if (WebGameRunning() && MapEditState.saving == 0) {
    MapEditState.saving = 1;
    InitialiseMap(MapEditState.mapname);
    MapEditState.saving = 0;
  }
  KeepWrittenMap();
}
