// Demos: the file, the recording and the replay (see demo.h).
#include "platform/demo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "app/digest.h"
#include "defs/console.h"
#include "game.h"

namespace {

constexpr char MAGIC[8] = {'Q', 'U', 'A', 'R', 'N', 'D', 'E', 'M'};
constexpr size_t KEY_BYTES = 32;

uint32_t Get32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint64_t Get64(const uint8_t* p) { return uint64_t(Get32(p)) | uint64_t(Get32(p + 4)) << 32; }
uint8_t* Put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
  return p + 4;
}
uint8_t* Put64(uint8_t* p, uint64_t v) { return Put32(Put32(p, uint32_t(v)), uint32_t(v >> 32)); }

// A file name a demo may hold: relative, inside the data folder, printable.
bool SafeName(std::string_view n) {
  if (n.empty() || n.size() > DEMO_NAME_MAX || n[0] == '/' || n[0] == '\\') return false;
  size_t from = 0;
  for (size_t i = 0; i <= n.size(); ++i) {
    if (i < n.size() && (uint8_t(n[i]) < 0x20 || n[i] == 0x7F)) return false;
    if (i == n.size() || n[i] == '/' || n[i] == '\\') {
      if (n.substr(from, i - from) == "..") return false;
      from = i + 1;
    }
  }
  return true;
}

// A file record's share of the header's world digest.
void AddToWorld(Fnv64& world, std::string_view name, uint32_t size, uint64_t digest) {
  world.U32(uint32_t(name.size()));
  world.Bytes(reinterpret_cast<const uint8_t*>(name.data()), name.size());
  world.U32(size);
  world.U64(digest);
}

uint64_t BytesDigest(const uint8_t* p, size_t n) {
  Fnv64 f;
  f.Bytes(p, n);
  return f.h;
}

bool ReadWhole(const char* path, std::vector<uint8_t>* out) {
  FILE* f = std::fopen(path, "rb");
  if (!f) return false;
  out->clear();
  uint8_t buf[65536];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out->insert(out->end(), buf, buf + n);
  bool ok = !std::ferror(f);
  std::fclose(f);
  return ok;
}

bool WriteAt(int fd, const uint8_t* p, size_t n, off_t at) {
  while (n > 0) {
    ssize_t w = ::pwrite(fd, p, n, at);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) return false;
    p += w, n -= size_t(w), at += w;
  }
  return true;
}

// A keyboard that answers from a set of keys down.
struct DemoKeys final : Keyboard {
  uint8_t down[KEY_BYTES] = {};
  int KeyState(int vk) override { return vk >= 0 && vk < 256 ? (down[vk >> 3] >> (vk & 7)) & 1 : 0; }
};

// ---- the growing file ---------------------------------------------------------------

struct Writer {
  int fd = -1;
  uint32_t frames = 0, length = 0;
  Fnv64 world;
  std::string why;   // why the writing stopped; empty while it goes on

  // Appends one record (head, then tail), then brings the header's counts up
  // to it. After a failure nothing more is written: the demo ends with the
  // last whole record.
  void Add(const uint8_t* head, size_t n, const uint8_t* tail = nullptr, size_t m = 0, bool idle = false) {
    if (fd < 0 || !why.empty()) return;
    if (uint64_t(length) + n + m > 0xFFFFFFFFu) {
      why = "the demo reached 4 GiB";
      return;
    }
    off_t at = off_t(DEMO_HEADER + length);
    if (!WriteAt(fd, head, n, at) || !WriteAt(fd, tail, m, at + off_t(n))) {
      why = std::strerror(errno);
      return;
    }
    length += uint32_t(n + m);
    frames += idle ? 1 : 0;
    uint8_t h[16];
    Put64(Put32(Put32(h, frames), length), world.h);
    if (!WriteAt(fd, h, sizeof h, 12)) why = std::strerror(errno);
  }
  void Tag(char t, int32_t a = 0, int32_t b = 0, int32_t c = 0, int32_t d = 0, int values = 0) {
    uint8_t r[17] = {uint8_t(t)};
    int32_t v[4] = {a, b, c, d};
    for (int i = 0; i < values; ++i) Put32(r + 1 + 4 * i, uint32_t(v[i]));
    Add(r, 1 + 4 * size_t(values));
  }
  // 'F' or 'S': the tag, the name and a size; for 'F' the digest follows.
  void Named(char t, const char* name, uint32_t size, uint64_t digest, const uint8_t* bytes) {
    size_t len = std::strlen(name);
    if (!SafeName(name)) return;   // never a name the game gives
    std::vector<uint8_t> r(1 + 2 + len + 4 + 8);
    r[0] = uint8_t(t);
    r[1] = uint8_t(len), r[2] = uint8_t(len >> 8);
    std::memcpy(r.data() + 3, name, len);
    uint8_t* p = Put32(r.data() + 3 + len, size);
    if (t == 'F') {
      Put64(p, digest);
      AddToWorld(world, name, size, digest);
      Add(r.data(), r.size());
    } else {
      Add(r.data(), r.size() - 8, bytes, size);
    }
  }
};

// ---- recording ----------------------------------------------------------------------

struct RecordingSound final : AudioDevice {
  AudioDevice* real = nullptr;
  Writer* out = nullptr;
  int32_t Note(int32_t v) {
    out->Tag('A', v, 0, 0, 0, 1);
    return v;
  }
  bool Open() override { return Note(real->Open() ? 1 : 0) != 0; }
  void Close() override { real->Close(); }
  int MakeBuffer(const AudioFormat& f, const uint8_t* pcm, int bytes) override {
    return Note(real->MakeBuffer(f, pcm, bytes));
  }
  void Play(int b, int rate) override { real->Play(b, rate); }
  void Stop(int b) override { real->Stop(b); }
  bool IsPlaying(int b) override { return Note(real->IsPlaying(b) ? 1 : 0) != 0; }
  void Release(int b) override { real->Release(b); }
};

struct RecordingFiles final : DataFiles {
  DataFiles* real = nullptr;
  Writer* out = nullptr;
  std::vector<std::string> read;   // every file the game read, in order
  std::vector<bool> kept;          // ... and whether its earlier bytes are in the demo

  int Find(const char* name) const {
    for (size_t i = 0; i < read.size(); ++i)
      if (read[i] == name) return int(i);
    return -1;
  }
  FILE* Open(const char* name, const char* mode) override {
    char path[4096];
    if (mode[0] == 'r' && Find(name) < 0 && real->Path(name, path, sizeof path)) {
      read.push_back(name);
      kept.push_back(false);
      uint32_t size;
      uint64_t digest = FileDigest(path, &size);
      out->Named('F', name, size, digest, nullptr);
    }
    return real->Open(name, mode);
  }
  // The game is about to write `name`: the first time, a file it read is
  // kept as it was, so that a replay can start from it.
  bool Path(const char* name, char* path, size_t size) override {
    bool ok = real->Path(name, path, size);
    int i = Find(name);
    std::vector<uint8_t> bytes;
    if (ok && i >= 0 && !kept[size_t(i)] && ReadWhole(path, &bytes) && bytes.size() < DEMO_MISSING) {
      kept[size_t(i)] = true;
      out->Named('S', name, uint32_t(bytes.size()), 0, bytes.data());
    }
    return ok;
  }
};

struct Recording {
  Writer out;
  DemoKeys keys;
  Keyboard* real = nullptr;
  RecordingSound sound;
  RecordingFiles files;
};
Recording rec;

// ---- replaying ----------------------------------------------------------------------

struct Replay;
int32_t Answer();

// Answers the game from the demo and plays through the real device what the
// game plays, under the real device's own handles.
struct ReplaySound final : AudioDevice {
  static constexpr int HANDLES = 1024;
  AudioDevice* real = nullptr;
  int handles[HANDLES + 1] = {};   // the demo's handle -> the real device's (0: none)

  int Real(int b) const { return b > 0 && b <= HANDLES ? handles[b] : 0; }
  bool Open() override {
    bool on = Answer() != 0;
    if (on) real->Open();
    return on;
  }
  void Close() override {
    real->Close();
    std::memset(handles, 0, sizeof handles);
  }
  int MakeBuffer(const AudioFormat& f, const uint8_t* pcm, int bytes) override {
    int32_t b = Answer();
    if (b > 0 && b <= HANDLES) {
      if (handles[b]) real->Release(handles[b]);
      handles[b] = real->MakeBuffer(f, pcm, bytes);
    }
    return b;
  }
  void Play(int b, int rate) override {
    if (Real(b)) real->Play(Real(b), rate);
  }
  void Stop(int b) override {
    if (Real(b)) real->Stop(Real(b));
  }
  bool IsPlaying(int) override { return Answer() != 0; }
  void Release(int b) override {
    if (Real(b)) real->Release(Real(b));
    if (b > 0 && b <= HANDLES) handles[b] = 0;
  }
};

// Reads the world's files, writes to the scratch folder: a file the game
// wrote, or one the demo kept, is read from there.
struct ReplayFiles final : DataFiles {
  std::string scratch;
  int* writes = nullptr;
  std::string InScratch(const char* name) {
    char p[4096];
    PlainDataFiles()->Path(name, p, sizeof p);
    return scratch + "/" + p;
  }
  FILE* Open(const char* name, const char* mode) override {
    std::string s = InScratch(name);
    if (::access(s.c_str(), F_OK) == 0) return std::fopen(s.c_str(), mode);
    return PlainDataFiles()->Open(name, mode);
  }
  bool Path(const char* name, char* path, size_t size) override {
    ++*writes;
    std::string s = InScratch(name);
    std::snprintf(path, size, "%s", s.c_str());
    return s.size() < size;
  }
};

struct ReplayWindow final : Window {
  Window* real = nullptr;
  bool* quit = nullptr;
  long Create(const char* t, int w, int h) override { return real->Create(t, w, h); }
  void RegisterCallbacks() override { real->RegisterCallbacks(); }
  void MainLoop() override { real->MainLoop(); }
  void FullScreen() override { real->FullScreen(); }
  void ReshapeWindow(int w, int h) override { real->ReshapeWindow(w, h); }
  void PositionWindow(int x, int y) override { real->PositionWindow(x, y); }
  void PostRedisplay() override { real->PostRedisplay(); }
  void Quit() override {
    *quit = true;
    real->Quit();
  }
};

struct Replay {
  const Demo* demo = nullptr;
  size_t at = 0;
  ReplayState st;
  DemoKeys keys;
  ReplaySound sound;
  ReplayFiles files;
  ReplayWindow win;
  Keyboard* oldKeys = nullptr;
  AudioDevice* oldAudio = nullptr;
  Window* oldWindow = nullptr;
  DataFiles* oldFiles = nullptr;

  // The next record that is not a file record; false at the end of the records.
  bool Next(DemoRecord* r) {
    while (NextDemoRecord(demo->Records(), demo->length, &at, r))
      if (r->tag != 'F' && r->tag != 'S') return true;
    return false;
  }
};
Replay play;

int32_t Answer() {
  DemoRecord r;
  if (play.st.outOfStep || play.st.done) return 0;
  bool more = play.Next(&r);
  if (more && r.tag == 'A') return r.v[0];
  // a recording cut short in the middle of a callback ends there
  if (!more && !play.demo->ended) play.st.done = true;
  else play.st.outOfStep = true;
  return 0;
}

}  // namespace

// ---- the file -----------------------------------------------------------------------

bool NextDemoRecord(const uint8_t* p, size_t n, size_t* at, DemoRecord* r) {
  size_t i = *at;
  if (i >= n) return false;
  size_t left = n - i - 1;
  const uint8_t* b = p + i + 1;
  *r = DemoRecord{};
  r->tag = char(p[i]);
  size_t body = 0;
  switch (r->tag) {
    case 'D': case 'I': case 'C': break;
    case 'K': body = KEY_BYTES; r->keys = b; break;
    case 'M': body = 16; break;
    case 'R': body = 8; break;
    case 'A': body = 4; break;
    case 'E': body = 8; break;
    case 'F': case 'S': {
      if (left < 2) return false;
      size_t len = size_t(b[0]) | size_t(b[1]) << 8;
      if (left < 2 + len + 4) return false;
      r->name = std::string_view(reinterpret_cast<const char*>(b + 2), len);
      r->size = Get32(b + 2 + len);
      if (!SafeName(r->name)) return false;
      if (r->tag == 'F') {
        body = 2 + len + 4 + 8;
        if (left < body) return false;
        r->digest = Get64(b + 2 + len + 4);
      } else {
        if (r->size == DEMO_MISSING || left - 2 - len - 4 < r->size) return false;
        body = 2 + len + 4 + r->size;
        r->bytes = b + 2 + len + 4;
      }
      break;
    }
    default: return false;
  }
  if (left < body) return false;
  for (int k = 0; k < 4 && (r->tag == 'M' || r->tag == 'R' || r->tag == 'A'); ++k)
    if (size_t(4 * k + 4) <= body) r->v[k] = int32_t(Get32(b + 4 * k));
  if (r->tag == 'E') r->digest = Get64(b);
  *at = i + 1 + body;
  return true;
}

bool ReadDemo(std::vector<uint8_t> bytes, Demo* out, std::string* why) {
  const size_t n = bytes.size();
  Demo demo, *d = &demo;   // *out changes only when the demo is sound
  auto fail = [&](std::string w) {
    *why = std::move(w);
    return false;
  };
  if (n < sizeof MAGIC || std::memcmp(bytes.data(), MAGIC, sizeof MAGIC) != 0)
    return fail("not a demo (no QUARNDEM at its start)");
  if (n < DEMO_HEADER) return fail("cut short in its header");
  uint32_t version = Get32(&bytes[8]);
  if (version != DEMO_VERSION)
    return fail("a demo of version " + std::to_string(version) + "; this quarn plays version " +
                std::to_string(DEMO_VERSION));
  d->frames = Get32(&bytes[12]);
  d->length = Get32(&bytes[16]);
  d->world = Get64(&bytes[20]);
  if (d->length > n - DEMO_HEADER)
    return fail("cut short: its records run to byte " + std::to_string(DEMO_HEADER + uint64_t(d->length)) +
                ", the file ends at byte " + std::to_string(n));
  const uint8_t* p = bytes.data() + DEMO_HEADER;
  size_t at = 0;
  uint32_t idles = 0;
  Fnv64 world;
  std::vector<std::string_view> read, kept;
  auto has = [](const std::vector<std::string_view>& v, std::string_view s) {
    for (std::string_view x : v)
      if (x == s) return true;
    return false;
  };
  d->ended = false;
  while (at < d->length) {
    DemoRecord r;
    size_t from = at;
    auto damaged = [&](const char* what) {
      return fail(std::string("damaged: ") + what + " at byte " + std::to_string(DEMO_HEADER + from));
    };
    if (d->ended) return damaged("a record after the end");
    if (!NextDemoRecord(p, d->length, &at, &r)) return damaged("no record");
    if (r.tag == 'I' || r.tag == 'K') ++idles;
    if (r.tag == 'E') d->ended = true, d->digest = r.digest;
    if (r.tag == 'F') {
      if (has(read, r.name)) return damaged("a file read twice");
      read.push_back(r.name);
      AddToWorld(world, r.name, r.size, r.digest);
    }
    if (r.tag == 'S') {
      if (!has(read, r.name) || has(kept, r.name)) return damaged("a kept file the game never read");
      kept.push_back(r.name);
    }
  }
  if (idles != d->frames)
    return fail("damaged: " + std::to_string(idles) + " frames, the header says " + std::to_string(d->frames));
  if (world.h != d->world) return fail("damaged: the world digest differs from its files");
  d->bytes = std::move(bytes);
  *out = std::move(demo);
  return true;
}

bool LoadDemo(const char* path, Demo* d, std::string* why) {
  std::vector<uint8_t> bytes;
  if (!ReadWhole(path, &bytes)) {
    *why = std::string("cannot read it: ") + std::strerror(errno);
    return false;
  }
  return ReadDemo(std::move(bytes), d, why);
}

uint64_t FileDigest(const char* path, uint32_t* size) {
  std::vector<uint8_t> bytes;
  if (!ReadWhole(path, &bytes) || bytes.size() >= DEMO_MISSING) {
    *size = DEMO_MISSING;
    return 0;
  }
  *size = uint32_t(bytes.size());
  return BytesDigest(bytes.data(), bytes.size());
}

bool SameWorld(const Demo& d, std::string* why) {
  std::vector<DemoRecord> files, kept;
  size_t at = 0;
  DemoRecord r;
  while (NextDemoRecord(d.Records(), d.length, &at, &r))
    if (r.tag == 'F' || r.tag == 'S') (r.tag == 'F' ? files : kept).push_back(r);
  for (const DemoRecord& f : files) {
    std::string name(f.name);
    uint32_t size = DEMO_MISSING;
    uint64_t digest = 0;
    char path[4096];
    const DemoRecord* saved = nullptr;
    for (const DemoRecord& k : kept)
      if (k.name == f.name) saved = &k;
    if (saved) size = saved->size, digest = BytesDigest(saved->bytes, saved->size);
    else if (PlainDataFiles()->Path(name.c_str(), path, sizeof path)) digest = FileDigest(path, &size);
    if (size == f.size && digest == f.digest) continue;
    const char* how = f.size == DEMO_MISSING ? "is here, and was not" : size == DEMO_MISSING ? "is missing" : "differs";
    *why = "recorded in another world: " + name + " " + how;
    return false;
  }
  return true;
}

// ---- recording ----------------------------------------------------------------------

bool StartRecording(const char* path, std::string* why) {
  rec.out = Writer{};
  rec.keys = DemoKeys{};
  rec.files.read.clear();
  rec.files.kept.clear();
  int fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  uint8_t h[DEMO_HEADER] = {};
  std::memcpy(h, MAGIC, sizeof MAGIC);
  Put64(Put32(Put32(Put32(h + 8, DEMO_VERSION), 0), 0), rec.out.world.h);
  if (fd < 0 || !WriteAt(fd, h, sizeof h, 0)) {
    *why = std::strerror(errno);
    if (fd >= 0) ::close(fd);
    return false;
  }
  rec.out.fd = fd;
  rec.real = keyboard;
  rec.sound.real = audio;
  rec.sound.out = &rec.out;
  rec.files.real = datafiles;
  rec.files.out = &rec.out;
  keyboard = &rec.keys;
  audio = &rec.sound;
  datafiles = &rec.files;
  return true;
}

void RecordIdle() {
  uint8_t now[KEY_BYTES] = {};
  for (int vk = 0; vk < 256; ++vk)
    if (rec.real->KeyState(vk)) now[vk >> 3] |= uint8_t(1 << (vk & 7));
  if (std::memcmp(now, rec.keys.down, KEY_BYTES) == 0) {
    const uint8_t r = 'I';
    rec.out.Add(&r, 1, nullptr, 0, true);
  } else {
    std::memcpy(rec.keys.down, now, KEY_BYTES);
    const uint8_t r = 'K';
    rec.out.Add(&r, 1, now, KEY_BYTES, true);
  }
  glutIdle();
}

void RecordDisplay() {
  rec.out.Tag('D');
  glutDisplay();
}

void RecordReshape(int w, int h) {
  rec.out.Tag('R', w, h, 0, 0, 2);
  glutResize(w, h);
}

void RecordMouse(int button, int state, int x, int y) {
  rec.out.Tag('M', button, state, x, y, 4);
  glutMouse(button, state, x, y);
}

void RecordClose() {
  rec.out.Tag('C');
  QuitQuarn();
}

bool FinishRecording(uint64_t digest, uint32_t* frames, std::string* why) {
  uint8_t r[9] = {'E'};
  Put64(r + 1, digest);
  rec.out.Add(r, sizeof r);
  if (rec.out.fd >= 0) {
    if (::fsync(rec.out.fd) != 0 && rec.out.why.empty()) rec.out.why = std::strerror(errno);
    if (::close(rec.out.fd) != 0 && rec.out.why.empty()) rec.out.why = std::strerror(errno);
  }
  rec.out.fd = -1;
  keyboard = rec.real;
  audio = rec.sound.real;
  datafiles = rec.files.real;
  *frames = rec.out.frames;
  *why = rec.out.why;
  return why->empty();
}

// ---- replaying ----------------------------------------------------------------------

bool StartReplay(const Demo& d, AudioDevice* sound, std::string* why) {
  play.demo = &d;
  play.at = 0;
  play.st = ReplayState{};
  play.keys = DemoKeys{};
  std::memset(play.sound.handles, 0, sizeof play.sound.handles);
  std::error_code ec;
  std::string tmp = (std::filesystem::temp_directory_path(ec) / "quarn-replay-XXXXXX").string();
  std::vector<char> name(tmp.begin(), tmp.end());
  name.push_back(0);
  if (!::mkdtemp(name.data())) {
    *why = std::string("no scratch folder: ") + std::strerror(errno);
    return false;
  }
  play.files.scratch = name.data();
  play.files.writes = &play.st.writes;
  // what the session saved over starts as the demo kept it
  size_t at = 0;
  DemoRecord r;
  while (NextDemoRecord(d.Records(), d.length, &at, &r)) {
    if (r.tag != 'S') continue;
    std::filesystem::path p = play.files.InScratch(std::string(r.name).c_str());
    std::filesystem::create_directories(p.parent_path(), ec);
    FILE* f = std::fopen(p.c_str(), "wb");
    bool ok = f && std::fwrite(r.bytes, 1, r.size, f) == r.size;
    if (f && std::fclose(f) != 0) ok = false;
    if (!ok) {
      *why = "cannot write " + p.string() + ": " + std::strerror(errno);
      EndReplay();
      return false;
    }
  }
  play.oldKeys = keyboard, play.oldAudio = audio, play.oldWindow = window, play.oldFiles = datafiles;
  play.sound.real = sound;
  play.win.real = window;
  play.win.quit = &play.st.gameQuit;
  keyboard = &play.keys;
  audio = &play.sound;
  window = &play.win;
  datafiles = &play.files;
  return true;
}

char ReplayStep() {
  ReplayState& st = play.st;
  if (st.outOfStep || st.done || !play.demo) return 0;
  DemoRecord r;
  bool more = play.Next(&r) && r.tag != 'E';
  if (st.gameQuit || !more) {
    // after the game's quit only the end may follow
    st.outOfStep = more;
    st.done = !more;
    return 0;
  }
  switch (r.tag) {
    case 'K': std::memcpy(play.keys.down, r.keys, KEY_BYTES); [[fallthrough]];
    case 'I': ++st.frames; glutIdle(); return 'I';
    case 'D': glutDisplay(); return 'D';
    case 'M': glutMouse(r.v[0], r.v[1], r.v[2], r.v[3]); return 'M';
    case 'R': glutResize(r.v[0], r.v[1]); return 'R';
    case 'C': QuitQuarn(); return 'C';
    default: st.outOfStep = true; return 0;   // an answer no call asked for
  }
}

const ReplayState& Replaying() { return play.st; }

void EndReplay() {
  if (!play.files.scratch.empty()) {
    std::error_code ec;
    std::filesystem::remove_all(play.files.scratch, ec);
    play.files.scratch.clear();
  }
  if (play.oldKeys) {
    keyboard = play.oldKeys, audio = play.oldAudio, window = play.oldWindow, datafiles = play.oldFiles;
    play.oldKeys = nullptr;
  }
  play.demo = nullptr;
}

int ReportReplay(const char* shown, const Demo& d, uint64_t digest, bool stopped) {
  const ReplayState& st = play.st;
  using ull = unsigned long long;
  if (st.writes > 0) Say("demo %s: what the session saved was not written to the world\n", shown);
  if (stopped) {
    Say("demo %s: stopped after %u of %u frames\n", shown, st.frames, d.frames);
    return 0;
  }
  if (st.outOfStep) {
    Say("demo %s: out of step with the game at frame %u of %u\n", shown, st.frames, d.frames);
    return 1;
  }
  Say("demo %s: %u frames, digest %016llx\n", shown, st.frames, ull(digest));
  if (!d.ended) {
    Say("demo %s: cut short when it was recorded: no digest to compare\n", shown);
    return 0;
  }
  if (digest == d.digest) return 0;
  Say("demo %s: the digest differs from the recorded %016llx\n", shown, ull(d.digest));
  return 1;
}
