// What one fuzz input does to the game, per loader. The libFuzzer targets
// (fuzz_target.cpp) and the replay of kept inputs in the unit tests
// (tests/test_fuzz_regress.cpp) share these bodies, so a kept input is run
// exactly as the fuzzer ran it.
//
// Every body starts from a fresh process's state (ResetGlobals,
// ResetPlatform), writes the input where the loader looks for it (the
// loaders read files by name) and calls the loader. Besides the sanitizers,
// each body checks a few properties of the result that no input may break; it
// answers the first one broken, or null.
#pragma once
#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "game.h"
#include "platform/demo.h"
#include "platform/fakeaudio.h"
#include "platform/platform.h"
#include "platform/testseams.h"
#include "sound/quarnsound.h"

namespace fuzz {

// ---- the work folder ---------------------------------------------------------
// A data folder of its own in /dev/shm (or /tmp), laid out as the game expects
// (map, gfx, gfx\ents, sfx), with a few fixed files the inputs can name:
// entity images "a" and "1a".."5a", a collision mask for tile set 0 and the 18
// effect names, which all lead to sfx/w.wav.

inline bool WriteBytes(const std::string& path, const uint8_t* d, size_t n) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) return false;
  bool ok = true;
  while (n > 0) {
    ssize_t w = ::write(fd, d, n);
    if (w <= 0) {
      ok = false;
      break;
    }
    d += w;
    n -= size_t(w);
  }
  ::close(fd);
  return ok;
}

// Mask plane of tile set 0: in every 64 x 64 cell the bottom 24 rows are rock,
// the top 8 rows of odd cells are water, the rest is free.
inline std::vector<uint8_t> MaskPattern() {
  std::vector<uint8_t> m(1024 * 1024, 0);
  for (int r = 0; r < 1024; ++r)
    for (int c = 0; c < 1024; ++c) {
      int cell = (r / 64) * 16 + c / 64;
      uint8_t v = 0;
      if (r % 64 >= 40) v = 255;
      else if (r % 64 < 8 && cell % 2 == 1) v = 128;
      m[size_t(r) * 1024 + size_t(c)] = v;
    }
  return m;
}

inline const char* const kSoundNames[] = {
    "wasp", "icershot", "pistolshot", "blastershot", "plasmashot", "fanfare",
    "splash", "explosion1", "explosion2", "button", "ric1", "ric2",
    "dooropen", "doorshut", "chimp1", "chimp2", "chimppain1", "chimppain2"};

struct WorkDir {
  std::string path;

  // Makes the folder and its fixed files; false when it cannot.
  bool Make() {
    const char* bases[] = {"/dev/shm", "/tmp"};
    for (const char* base : bases) {
      std::string t = std::string(base) + "/quarn-fuzz-XXXXXX";
      std::vector<char> buf(t.begin(), t.end());
      buf.push_back(0);
      if (::mkdtemp(buf.data())) {
        path = buf.data();
        break;
      }
    }
    if (path.empty()) return false;
    for (const char* sub : {"/map", "/gfx", "/gfx/ents", "/sfx"})
      if (::mkdir((path + sub).c_str(), 0755) != 0) return false;
    uint8_t px[4 * 4 * 3];
    for (size_t i = 0; i < sizeof px; ++i) px[i] = uint8_t(i * 37);
    if (!WriteBytes(path + "/gfx/ents/a.raw", px, sizeof px)) return false;
    for (char f = '1'; f <= '5'; ++f)
      if (!WriteBytes(path + "/gfx/ents/" + f + "a.raw", px, sizeof px)) return false;
    std::vector<uint8_t> mask = MaskPattern();
    if (!WriteBytes(path + "/gfx/m_tiles.raw", mask.data(), mask.size())) return false;
    for (const char* s : kSoundNames)
      if (::symlink("w.wav", (path + "/sfx/" + s + ".wav").c_str()) != 0) return false;
    return true;
  }

  void Remove() {
    if (path.empty()) return;
    ::nftw(
        path.c_str(),
        [](const char* p, const struct stat*, int, struct FTW*) { return ::remove(p); }, 16,
        FTW_DEPTH | FTW_PHYS);
    path.clear();
  }
};

// Writes a file of the work folder (the current folder), or removes it when
// d is null: a part the input does not have is a missing file.
inline void PutFile(const char* rel, const uint8_t* d, size_t n) {
  if (d == nullptr) {
    ::unlink(rel);
    return;
  }
  WriteBytes(rel, d, n);
}

inline void Fresh() {
  ResetGlobals();
  ResetPlatform();
}

// ---- a drawer that keeps only what the loaders upload --------------------------
struct Upload {
  int id, w, h;
  std::vector<uint8_t> px;   // kept only when asked for
};
struct UploadDraw final : QuietDraw {
  std::vector<Upload> uploads;
  bool keepPixels = false;
  void UploadTexture(int id, int w, int h, TexFormat f, const uint8_t* px, bool) override {
    Upload u{id, w, h, {}};
    if (keepPixels) {
      size_t bpp = f == tfRGBA ? 4 : f == tfRGB ? 3 : 1;
      u.px.assign(px, px + size_t(w) * size_t(h) * bpp);
    }
    uploads.push_back(std::move(u));
  }
};

// ---- the class file ---------------------------------------------------------------
inline const char* RunClasses(const uint8_t* d, size_t n) {
  Fresh();
  UploadDraw up;
  draw = &up;
  PutFile("map/phoebus.ent", d, n);
  InitialiseEntities("map\\phoebus.ent");
  draw = NullDraw();
  for (int k = 0; k < MAX_CLASSES; ++k) {
    const TEntityClass& c = EntityClass[k];
    if (c.kind == blank) continue;
    if (k == 0) return "class record 0 was filled";
    if (c.kind != k) return "a class record's kind differs from its index";
    if (c.sprsize < 4 || (c.sprsize & (c.sprsize - 1)) != 0) return "sprsize not a power of two";
  }
  // entity images go to textures 256..1023 only: the tile sets (1, 2) and the
  // fixed textures (1024 on) are never overwritten by a class file
  for (const Upload& u : up.uploads)
    if (u.id < 256 || u.id > 1023) return "a class image was uploaded outside 256..1023";
  return nullptr;
}

// ---- the placement file -----------------------------------------------------------
inline const char* RunPlacements(const uint8_t* d, size_t n) {
  Fresh();
  PutFile("map/phoebus.epo", d, n);
  SpawnEntities("map\\phoebus.epo");
  if (eslot < 0 || eslot >= MAX_ENTITIES) return "eslot left the table";
  for (const TEntity& e : Entities) {
    if (e.kind < 0 || e.kind >= MAX_CLASSES) return "an entity of a kind outside the class table";
    if (e.kind != blank && (e.uid < 0 || e.uid >= MAX_ENTITIES)) return "uid outside the table";
  }
  return nullptr;
}

// ---- the trigger file -------------------------------------------------------------
inline const char* RunTriggers(const uint8_t* d, size_t n) {
  Fresh();
  PutFile("map/phoebus.trg", d, n);
  // one entity that answers to trigger 1, so that firing has work to do
  SpawnEntity(dropper, 0, 0, blank, 0, flNorm, 1, 0);
  InitialiseTriggers("map\\phoebus.trg");
  if (tslot < 1 || tslot > MAX_TRIGGERS) return "tslot outside 1..32";
  if (Triggers[0].id != 0 || Triggers[0].triggered == 0) return "trigger slot 0 was filled";
  for (int i = tslot; i < MAX_TRIGGERS; ++i)
    if (Triggers[i].triggered == 0) return "an unfilled trigger slot is armed";
  // fire at every loaded trigger's corners
  for (int i = 1; i < tslot; ++i) {
    CheckTriggers(Triggers[i].x, Triggers[i].y);
    CheckTriggers(Triggers[i].w, Triggers[i].h);
  }
  return nullptr;
}

// ---- the map file -----------------------------------------------------------------
// Loads the input as the map, checks what landed, saves it and loads the saved
// file into a cleared map: the round trip must give the same words.
inline const char* RunMap(const uint8_t* d, size_t n) {
  Fresh();
  PutFile("map/phoebus.qnm", d, n);
  InitialiseMap("map\\phoebus.qnm");
  const size_t words = 65536;
  size_t whole = n / 4 < words ? n / 4 : words;
  for (size_t k = 0; k < words; ++k) {
    uint32_t want = 0;
    if (k < whole)
      want = uint32_t(d[4 * k]) | uint32_t(d[4 * k + 1]) << 8 | uint32_t(d[4 * k + 2]) << 16 |
             uint32_t(d[4 * k + 3]) << 24;
    if (mapt[k / 256][k % 256] != want) return "a map word differs from the file";
  }
  // the collision query at the corners of every tile column's first and last row
  for (int t = 0; t < 256; ++t) {
    (void)GetXY(t * TILE_WSCALE, 0);
    (void)GetXY(t * TILE_WSCALE + TILE_WSCALE - 1, 256 * TILE_HSCALE - 1);
  }
  SaveMap("map\\saved.qnm");
  struct stat st;
  if (::stat("map/saved.qnm", &st) != 0 || st.st_size != 262144) return "saved map not 262,144 bytes";
  std::vector<uint32_t> before(&mapt[0][0], &mapt[0][0] + words);
  std::memset(mapt, 0, sizeof mapt);
  InitialiseMap("map\\saved.qnm");
  if (std::memcmp(before.data(), mapt, sizeof mapt) != 0) return "save and load changed the map";
  return nullptr;
}

// ---- a collision mask -------------------------------------------------------------
// The first input byte picks the plane index (-1..2), the rest is the file.
inline const char* RunMask(const uint8_t* d, size_t n) {
  Fresh();
  int idx = n > 0 ? int(d[0] % 4) - 1 : 0;
  const uint8_t* f = n > 0 ? d + 1 : d;
  size_t fn = n > 0 ? n - 1 : 0;
  PutFile("gfx/mask.raw", f, fn);
  LoadMask("gfx\\mask.raw", idx);
  const size_t plane = 1024 * 1024;
  static const std::vector<uint8_t> zero(plane, 0);
  size_t got = fn < plane ? fn : plane;
  for (int p = 0; p < 2; ++p) {
    if (p == idx) {
      if (std::memcmp(mapmasks[p], f, got) != 0) return "the mask plane differs from the file";
      if (std::memcmp(mapmasks[p] + got, zero.data(), plane - got) != 0)
        return "a mask byte past the file changed";
    } else if (std::memcmp(mapmasks[p], zero.data(), plane) != 0) {
      return "a mask plane that was not named changed";
    }
  }
  return nullptr;
}

// ---- a raw colour image --------------------------------------------------------------
// The first two bytes pick the width and height from a list of sizes, odd
// ones among them; the third picks LoadRaw or LoadRawXY; the rest is the file.
inline const int kSides[16] = {0, -1, 1, 2, 3, 16, 64, 100, 512, 1024, 8192, 8193,
                               2147483647, -2147483647 - 1, 65536, 7};
inline const char* RunRaw(const uint8_t* d, size_t n) {
  Fresh();
  if (n < 3) return nullptr;
  int w = kSides[d[0] % 16], h = kSides[d[1] % 16];
  bool square = d[2] & 1;
  if (square) h = w;
  // Sizes the loader accepts that are larger than one tile set take most of
  // a second each under the sanitizers: they are skipped, as the size check
  // itself is reached just as well by the refused sizes.
  if (w > 0 && h > 0 && w <= 8192 && h <= 8192 && int64_t(w) * h > 1024 * 1024) return nullptr;
  const uint8_t* f = d + 3;
  size_t fn = n - 3;
  UploadDraw up;
  up.keepPixels = true;
  draw = &up;
  PutFile("gfx/img.raw", f, fn);
  if (square) {
    LoadRaw("gfx\\img.raw", 7, w);
  } else {
    LoadRawXY("gfx\\img.raw", 7, w, h);
  }
  draw = NullDraw();
  if (up.uploads.size() > 1) return "more than one upload";
  if (up.uploads.empty()) return nullptr;   // a size the loader refuses
  const Upload& u = up.uploads[0];
  if (u.id != 7 || u.w != w || u.h != h) return "upload number or size differs from the call";
  // the pixels the file supplies, with alpha by the colour key
  size_t px = size_t(w) * size_t(h);
  size_t have = fn / 3 < px ? fn / 3 : px;
  for (size_t k = 0; k < have; ++k) {
    const uint8_t* s = f + 3 * k;
    const uint8_t* t = u.px.data() + 4 * k;
    if (t[0] != s[0] || t[1] != s[1] || t[2] != s[2]) return "a pixel's colour differs";
    uint8_t a = (s[0] == 0 && s[1] == 255 && s[2] == 255) ? 0 : 255;
    if (t[3] != a) return "a pixel's alpha is not the colour key's";
  }
  return nullptr;
}

// ---- a Targa image (the image module's own loader) -------------------------------
inline const char* RunTga(const uint8_t* d, size_t n) {
  Fresh();
  UploadDraw up;
  draw = &up;
  PutFile("gfx/img.tga", d, n);
  int r = loadTGA("gfx\\img.tga", 9);
  draw = NullDraw();
  if (r != 1 && (r < TGA_FILE_NOT_FOUND || r > TGA_BAD_DATA)) return "loadTGA answered no known code";
  if ((r == 1) != (up.uploads.size() == 1)) return "loadTGA's answer and its upload disagree";
  return nullptr;
}

// ---- a WAV image --------------------------------------------------------------------
// Through the parser straight (LoadWavToStaticBuffer on an open fake device),
// and through the cache: the image as the wasp's file, cached and played
// plain and tinted, six times round the four slots.
inline const char* RunWav(const uint8_t* d, size_t n) {
  Fresh();
  FakeAudio dev;
  audio = &dev;
  PutFile("sfx/w.wav", nullptr, 0);
  if (!InitSoundSystem(0)) return "the fake device did not open";
  // an exact copy, so that a read past the image is a read past a heap block
  std::vector<uint8_t> img(d, d + n);
  int b = LoadWavToStaticBuffer(n ? img.data() : nullptr, int(n), 0);
  if (b != 0) {
    const FakeAudio::Buffer& buf = dev.buffers[size_t(b) - 1];
    if (buf.pcm.size() > n) return "more samples than the image holds";
    if (buf.fmt.channels != 1 && buf.fmt.channels != 2) return "a buffer of odd channels";
    if (buf.fmt.bits != 8 && buf.fmt.bits != 16) return "a buffer of odd bits";
    dev.Release(b);   // a buffer of the caller's: the sound module does not keep it
  }
  PutFile("sfx/w.wav", d, n);
  CacheSound("wasp", es_waspbuzz);
  if (QuarnSFXCacheSize[es_waspbuzz] != int32_t(n)) return "the cached image's size differs";
  for (int i = 0; i < 6; ++i) {
    if (i % 2) PlaySFXWithTint(es_waspbuzz, n ? 1 + d[0] : 500);
    else PlaySFX(es_waspbuzz);
    if (qusnd_sndbufidx < 0 || qusnd_sndbufidx > 3) return "the slot index left 0..3";
    if (i == 2) dev.FinishAll();
  }
  FreeSoundSystem();
  if (dev.misuse != 0) return "the sound module misused the device";
  if (!dev.Live().empty()) return "buffers left unreleased after FreeSoundSystem";
  return nullptr;
}

// ---- a whole start-up ----------------------------------------------------------------
// The input is split at "@@@@" into up to six parts: the class file, the
// placement file, the trigger file, the map (repeated to fill the whole
// 262,144 bytes, so the world around the player is made of it), a WAV image
// (every effect's file) and a key script. A missing part is a missing file.
// Then the game starts as it does on the machine (InitApplication, glInit)
// with a fake sound device and runs frames of glutIdle and glutDisplay.
//
// Key script: one byte per frame picks the key held in that frame; a byte of
// 0xE0 or more also clicks the mouse at the window pixel given by the next two
// bytes (scaled to 800 x 600).
inline const int kKeys[] = {0,          'W',        'Q',        'N',        'P',
                            'L',        'J',        VK_RETURN,  VK_F1,      VK_F2,
                            VK_F3,      VK_F4,      VK_F5,      VK_F6,      VK_F7,
                            'O',        'K',        'I',        VK_TAB,     VK_LBUTTON,
                            'R',        'T',        'G',        'S',        'M',
                            'C',        'A',        'Y',        'U',        '0',
                            '1',        '2',        '3',        '6',        '7',
                            '8',        VK_NUMPAD2, VK_NUMPAD8, VK_F9,      VK_F10,
                            VK_ESCAPE};
constexpr int kFrames = 16;

inline std::vector<std::pair<const uint8_t*, size_t>> SplitParts(const uint8_t* d, size_t n) {
  std::vector<std::pair<const uint8_t*, size_t>> parts;
  size_t start = 0;
  for (size_t i = 0; i + 4 <= n && parts.size() < 5;) {
    if (std::memcmp(d + i, "@@@@", 4) == 0) {
      parts.push_back({d + start, i - start});
      i += 4;
      start = i;
    } else {
      ++i;
    }
  }
  parts.push_back({d + start, n - start});
  return parts;
}

inline const char* RunStartup(const uint8_t* d, size_t n) {
  Fresh();
  auto parts = SplitParts(d, n);
  auto part = [&](size_t i) -> std::pair<const uint8_t*, size_t> {
    return i < parts.size() ? parts[i] : std::pair<const uint8_t*, size_t>{nullptr, 0};
  };
  PutFile("map/phoebus.ent", part(0).first, part(0).second);
  PutFile("map/phoebus.epo", part(1).first, part(1).second);
  PutFile("map/phoebus.trg", part(2).first, part(2).second);
  if (part(3).first && part(3).second > 0) {
    static std::vector<uint8_t> map(262144);
    for (size_t i = 0; i < map.size(); ++i) map[i] = part(3).first[i % part(3).second];
    PutFile("map/phoebus.qnm", map.data(), map.size());
  } else {
    PutFile("map/phoebus.qnm", part(3).first, part(3).second);
  }
  PutFile("sfx/w.wav", part(4).first, part(4).second);
  const uint8_t* keys = part(5).first;
  size_t nkeys = part(5).second;

  FakeAudio dev;
  ScriptKeys script;
  audio = &dev;
  keyboard = &script;
  std::vector<std::pair<int, std::pair<int, int>>> clicks;   // frame, (x, y)
  for (size_t i = 0, f = 0; keys && i < nkeys && f < kFrames; ++i, ++f) {
    uint8_t b = keys[i];
    int vk = kKeys[b % (sizeof kKeys / sizeof kKeys[0])];
    if (vk) script.Down(int(f), vk);
    if (b >= 0xE0 && i + 2 < nkeys) {
      clicks.push_back({int(f), {keys[i + 1] * 800 / 256, keys[i + 2] * 600 / 256}});
      i += 2;
    }
  }

  InitApplication(0);
  glInit();
  size_t c = 0;
  for (int f = 0; f < kFrames; ++f) {
    script.SetFrame(f);
    for (; c < clicks.size() && clicks[c].first == f; ++c)
      glutMouse(0, 0, clicks[c].second.first, clicks[c].second.second);
    glutIdle();
    glutDisplay();
    if (players[0].ent < 0 || players[0].ent >= MAX_ENTITIES) return "player 0's entity left the table";
    if (framectr != (f + 1) % 512) return "framectr did not advance by one";
  }
  FreeSoundSystem();
  if (dev.misuse != 0) return "the game misused the sound device";
  return nullptr;
}

// ---- a demo file ----------------------------------------------------------------------
// The input is a demo file, read and checked; one that is accepted is compared
// with the work folder's world and replayed from a fresh start for up to 64
// callbacks, with a fake sound device to play on. Whatever it holds, the
// replay leaves the work folder's files as they were.
inline std::string FolderListing() {
  static std::string out;
  out.clear();
  ::nftw(
      ".",
      [](const char* p, const struct stat* st, int, struct FTW*) {
        out += std::string(p) + " " + std::to_string(st->st_size) + "\n";
        return 0;
      },
      16, FTW_PHYS);
  return out;
}

inline const char* RunDemo(const uint8_t* d, size_t n) {
  Fresh();
  static Demo demo;
  std::string why;
  if (!ReadDemo(std::vector<uint8_t>(d, d + n), &demo, &why)) return why.empty() ? "refused with no reason" : nullptr;
  size_t at = 0;
  uint32_t idles = 0;
  DemoRecord r;
  while (NextDemoRecord(demo.Records(), demo.length, &at, &r)) idles += r.tag == 'I' || r.tag == 'K';
  if (at != demo.length || idles != demo.frames) return "an accepted demo's records differ from its header";
  (void)SameWorld(demo, &why);
  const std::string before = FolderListing();
  FakeAudio dev;
  RecordWindow win;
  window = &win;
  if (!StartReplay(demo, &dev, &why)) return "no scratch folder";
  WinMain();
  for (int k = 0; k < 64 && ReplayStep(); ++k) {
  }
  FreeSoundSystem();
  EndReplay();
  if (FolderListing() != before) return "a replay changed the world's files";
  if (dev.misuse != 0) return "the replay misused the sound device";
  return nullptr;
}

// ---- the table of bodies ---------------------------------------------------------------
struct Body {
  const char* name;   // also the folder of kept inputs in tests/fuzz_regress
  const char* (*run)(const uint8_t*, size_t);
};
inline const Body kBodies[] = {
    {"classes", RunClasses}, {"placements", RunPlacements}, {"triggers", RunTriggers},
    {"map", RunMap},         {"mask", RunMask},             {"raw", RunRaw},
    {"tga", RunTga},         {"wav", RunWav},               {"startup", RunStartup},
    {"demo", RunDemo},
};

}  // namespace fuzz
