// A data folder read as the game reads it: the game's own start-up runs in
// the folder, and a listener hears what the loaders refuse, misread or miss
// and checks each record as it is taken in.
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>

#include "defs/problems.h"
#include "game.h"
#include "kit.h"
#include "platform/fakeaudio.h"
#include "sound/quarnsound.h"

namespace kit {

namespace {

const char* const kKindNames[NUM_KINDS] = {
    "blank", "man", "urn", "urnfull", "rock", "coronium", "yellowblob", "RCD", "CRCD", "crystal",
    "redshroom", "blueshroom", "greenshroom", "plasmacannon", "grenade", "grenadeact", "pistol",
    "icer", "blaster", "plasmagun", "RIP", "FIP", "protsuit", "booster", "whistle1", "whistle2",
    "powerpod", "piano", "block", "cannon", "chatter", "bullet", "ice", "plasma", "yellowshell",
    "blueshell", "shock", "redblob", "redimp", "blueimp", "cyanimp", "mutantimp", "greenbird",
    "whitebird", "bat", "pinkbird", "redfrog", "greenfrog", "invisfrog", "harry", "cyantele",
    "pinktele", "greentele", "redtele", "triax", "chatteract", "whiteburger", "cyanburger",
    "pinkdalek", "reddalek", "bluedalek", "fluffy", "bigfish", "stonedcrew", "whitewasp",
    "greenwasp", "pinkgrub", "yellowgrub", "buzzball", "invisbuzzball", "greenfish", "redfish",
    "button", "greendoor", "reddoor", "yellowdoor", "cyandoor", "redpinkdoor", "pinkdoor",
    "greendoorh", "cyandoorh", "tiledoor", "tiledoorh", "greennest", "rednest", "yellownest",
    "purplenest", "slownest", "cyannest", "redglook", "fire", "waspnest", "piranhanest",
    "gargoyle", "wpBlaster", "wpCannon", "wpIcer", "wpPistol", "wpPlasma", "wpSuit", "wpJetpack",
    "wpRandom", "spawner", "dropper", "guidedice", "key1", "key2", "key3", "key4", "key5",
    "key6"};

const char* const kClassFile = "map\\phoebus.ent";
const char* const kPlacementFile = "map\\phoebus.epo";
const char* const kMapFile = "map\\phoebus.qnm";
constexpr int32_t kMapUnits = MAP_TILES * TILE_WSCALE;

// The order in which the game's start-up reads its files.
int ReadOrder(const std::string& path) {
  const char* order[] = {"map/phoebus.qnm", "sfx/", "map/phoebus.ent", "gfx/ents/", "gfx/",
                         "map/phoebus.epo", "map/phoebus.trg"};
  for (int i = 0; i < 7; i++)
    if (path.rfind(order[i], 0) == 0) return i;
  return 7;
}

std::string GamePath(const char* file) {
  char path[4096];
  DataFilePath(file, path, sizeof path);
  return path;
}

struct Checker final : LoadListener {
  std::string shown;   // the folder as given, with a slash at its end
  const RecordDraw& textures;
  size_t callsHeard = 0;                       // drawing calls before the last record
  std::map<int, std::pair<int, int>> owner;    // texture -> (kind, line) of the class that made it
  std::map<std::string, std::vector<uint8_t>> bytes;
  std::map<int, std::string> soundFile;        // sound id -> its file
  std::vector<std::pair<std::string, Problem>> found;   // game path, problem

  Checker(std::string dir, const RecordDraw& t) : shown(std::move(dir)), textures(t) {
    if (shown.empty() || shown.back() != '/') shown += '/';
  }

  int Line(const std::string& path, long at) {
    if (at < 0) return 0;
    auto it = bytes.find(path);
    if (it == bytes.end()) {
      std::string ignored;
      it = bytes.emplace(path, std::vector<uint8_t>()).first;
      ReadFileBytes(path, it->second, ignored);
    }
    size_t end = std::min(size_t(at), it->second.size());
    return 1 + int(std::count(it->second.begin(), it->second.begin() + long(end), '\n'));
  }

  void Add(const char* file, long at, const std::string& message) {
    std::string path = GamePath(file);
    found.push_back({path, {shown + path, Line(path, at), message}});
  }

  void OnProblem(const char* file, long at, const char* message) override { Add(file, at, message); }

  void OnRecord(const char* file, long at, int index) override {
    if (std::strcmp(file, kClassFile) == 0) Class(file, at, index);
    else if (std::strcmp(file, kPlacementFile) == 0) Placement(file, at, index);
    else soundFile[index] = GamePath(file);
  }

  // Kind `kind` was just loaded with the pictures uploaded since the last record.
  void Class(const char* file, long at, int kind) {
    int line = Line(GamePath(file), at);
    for (size_t k = callsHeard; k < textures.calls.size(); k++) {
      if (textures.calls[k].op != "UploadTexture") continue;
      int id = int(textures.calls[k].v[0]);
      auto before = owner.find(id);
      if (before != owner.end())
        Add(file, at, "class of kind " + std::to_string(kind) + " takes sprite " +
                          std::to_string(id - 256) + ", already the picture of kind " +
                          std::to_string(before->second.first) + " (line " +
                          std::to_string(before->second.second) + "), which it replaces");
      owner[id] = {kind, line};
    }
    callsHeard = textures.calls.size();
    if (kind >= NUM_KINDS)
      Add(file, at, "this record takes kind " + std::to_string(kind) + ", past the last kind (" +
                        std::to_string(NUM_KINDS - 1) + "): nothing is of that kind");
  }

  void Placement(const char* file, long at, int slot) {
    if (slot < 0) {
      Add(file, at, "the entity table is full: nothing is placed");
      return;
    }
    const TEntity& e = Entities[slot];
    std::string what = "entity of kind " + std::to_string(e.kind);
    if (e.kind < NUM_KINDS) what += " (" + KindName(e.kind) + ")";
    if (e.kind == blank)
      Add(file, at, "kind 0 is no entity: nothing is placed");
    else if (EntityClass[e.kind].kind != e.kind)
      Add(file, at, what + " has no class: it has no size and dies at once");
    if (e.x < 0 || e.y < 0 || e.x >= kMapUnits || e.y >= kMapUnits)
      Add(file, at, what + " at pixel (" + std::to_string(e.x / DIVSCALE) + ", " +
                        std::to_string(e.y / DIVSCALE) + ") lies outside the map");
  }

  // What only the whole start-up shows.
  void AfterStart(bool hadClasses) {
    for (int k = 1; hadClasses && k < NUM_KINDS; k++) {
      if (EntityClass[k].kind == k) continue;
      int last = k;
      while (last + 1 < NUM_KINDS && EntityClass[last + 1].kind != last + 1) last++;
      auto named = [](int kind) { return std::to_string(kind) + " (" + KindName(kind) + ")"; };
      Add(kClassFile, -1, k == last ? "no class for kind " + named(k) + ": the game cannot make it"
                                    : "no class for kinds " + named(k) + " to " + named(last) +
                                          ": the game cannot make them");
      k = last;
    }
    const TEntity& me = Entities[players[0].ent];
    bool rock = false;
    for (int32_t y = me.y; y < me.y + me.h && !rock; y += DIVSCALE)
      for (int32_t x = me.x; x < me.x + me.w && !rock; x += DIVSCALE) rock = GetXY(x, y) == 255;
    if (rock)
      Add(kMapFile, -1, "the player starts in solid rock, in tile (" +
                            std::to_string(me.x / TILE_WSCALE) + ", " +
                            std::to_string(me.y / TILE_HSCALE) + ")");
    for (auto& [id, path] : soundFile) {
      AudioFormat fmt;
      const uint8_t* pcm;
      int32_t n;
      if (!ReadWavImage(QuarnSFXCache[id], QuarnSFXCacheSize[id], &fmt, &pcm, &n))
        found.push_back({path, {shown + path, 0,
                                "sound " + std::to_string(id) + " cannot be played: the game plays "
                                "RIFF WAVE files of PCM samples, 8 or 16 bits, mono or stereo"}});
    }
  }

  std::vector<kit::Problem> Sorted() {
    std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
      int ra = ReadOrder(a.first), rb = ReadOrder(b.first);
      if (ra != rb) return ra < rb;
      if (a.first != b.first) return a.first < b.first;
      return a.second.line < b.second.line;
    });
    std::vector<kit::Problem> out;
    for (auto& f : found) out.push_back(f.second);
    return out;
  }
};

}  // namespace

std::string KindName(int kind) {
  return kind >= 0 && kind < NUM_KINDS ? kKindNames[kind] : "kind " + std::to_string(kind);
}

bool LoadDataFolder(const std::string& dir, RecordDraw& textures, std::vector<Problem>& problems,
                    std::string& error) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (!fs::is_directory(dir, ec)) {
    error = dir + ": no such folder";
    return false;
  }
  fs::path old = fs::current_path();
  fs::current_path(dir);
  ResetGlobals();
  ResetPlatform();
  textures.calls.clear();
  textures.textures.clear();
  textures.pixels.clear();
  FakeAudio device;
  draw = &textures;
  audio = &device;
  Checker checker(dir, textures);
  loadlistener = &checker;
  {
    QuietConsole quiet;
    InitApplication(0);
    glInit();
  }
  checker.AfterStart(fs::exists(GamePath(kClassFile)));
  loadlistener = nullptr;
  FreeSoundSystem();
  ResetPlatform();
  fs::current_path(old);
  problems = checker.Sorted();
  return true;
}

}  // namespace kit
