// The headless session shared by quarn-sim, quarn-bench and the determinism
// tests: the game's own start-up (WinMain with a window that has no loop) and
// the game's own frames (glutIdle, then glutDisplay), with the null drawing
// seam, the instant clock, no sound device and a keyboard fed by a key script
// or by seeded random keys.
//
// Key script, one command per line ('#' starts a comment, blank lines are
// skipped, frames are counted from 0, the first frame after start-up):
//
//   FRAMES KEY [KEY...]          the keys are down in those frames
//   FRAMES click X Y [BUTTON]    a click (press, then release) before the
//                                frame's idle pass, at design-screen pixel
//                                (X, Y) from the top-left of the 800 x 600
//                                window; BUTTON 0 left (default), 1 middle,
//                                2 right; one click in every frame of FRAMES
//
// FRAMES is one frame "F" or an inclusive range "F-G". Key names: A..Z, 0..9,
// RETURN, ESC, TAB, F1..F10, KP2, KP8 (numeric keypad 2 and 8), LEFT, UP,
// RIGHT, DOWN (the arrow keys), LBUTTON (the left mouse button as a key).
// Several lines may name the same frame.
#pragma once
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "defs/random.h"
#include "game.h"
#include "platform/platform.h"

namespace sim {

struct KeyName {
  const char* name;
  int vk;
};

inline const std::vector<KeyName>& KeyNames() {
  static const std::vector<KeyName> names = [] {
    std::vector<KeyName> v = {
        {"RETURN", VK_RETURN}, {"ESC", VK_ESCAPE}, {"TAB", VK_TAB},        {"KP2", VK_NUMPAD2},
        {"KP8", VK_NUMPAD8},   {"F1", VK_F1},      {"F2", VK_F2},          {"F3", VK_F3},
        {"F4", VK_F4},         {"F5", VK_F5},      {"F6", VK_F6},          {"F7", VK_F7},
        {"F8", VK_F8},         {"F9", VK_F9},      {"F10", VK_F10},        {"LBUTTON", VK_LBUTTON},
        {"LEFT", VK_LEFT},     {"UP", VK_UP},      {"RIGHT", VK_RIGHT},    {"DOWN", VK_DOWN},
    };
    static const char* const letters[26] = {"A", "B", "C", "D", "E", "F", "G", "H", "I",
                                             "J", "K", "L", "M", "N", "O", "P", "Q", "R",
                                             "S", "T", "U", "V", "W", "X", "Y", "Z"};
    static const char* const digits[10] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
    for (int i = 0; i < 26; ++i) v.push_back({letters[i], 'A' + i});
    for (int i = 0; i < 10; ++i) v.push_back({digits[i], '0' + i});
    return v;
  }();
  return names;
}

// The virtual-key code of a key name, or -1.
inline int KeyByName(const std::string& name) {
  for (const KeyName& k : KeyNames())
    if (name == k.name) return k.vk;
  return -1;
}

// The keyboard seam: which keys are down in the current frame.
struct SimKeys final : Keyboard {
  uint8_t down[256] = {};
  void Clear() { std::memset(down, 0, sizeof down); }
  int KeyState(int vk) override { return vk >= 0 && vk < 256 ? down[vk] : 0; }
};

// The window seam without a window: counts what the game asked for and
// remembers the quit request.
struct SimWindow final : Window {
  bool quit = false;
  int fullscreens = 0, reshapes = 0;
  long Create(const char*, int, int) override { return 0; }
  void RegisterCallbacks() override {}
  void MainLoop() override {}   // the session runs the frames itself
  void FullScreen() override { ++fullscreens; }
  void ReshapeWindow(int, int) override { ++reshapes; }
  void PositionWindow(int, int) override {}
  void PostRedisplay() override {}
  void Quit() override { quit = true; }
};

struct Click {
  int x, y, button;
};

// A parsed key script.
struct KeyScript {
  struct Keys {
    int from, to, vk;
  };
  struct Clicks {
    int from, to, x, y, button;
  };
  std::vector<Keys> keys;
  std::vector<Clicks> clicks;

  // One frame past the last frame the script names (0 for an empty script).
  int End() const {
    int end = 0;
    for (const Keys& k : keys) end = k.to + 1 > end ? k.to + 1 : end;
    for (const Clicks& c : clicks) end = c.to + 1 > end ? c.to + 1 : end;
    return end;
  }

  // Parses script text; on failure answers false with the line and the reason in err.
  bool Parse(const std::string& text, std::string* err) {
    int lineno = 0;
    size_t pos = 0;
    while (pos <= text.size()) {
      size_t eol = text.find('\n', pos);
      if (eol == std::string::npos) eol = text.size();
      std::string line = text.substr(pos, eol - pos);
      pos = eol + 1;
      ++lineno;
      size_t hash = line.find('#');
      if (hash != std::string::npos) line.resize(hash);
      std::vector<std::string> words;
      size_t i = 0;
      while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
        size_t j = i;
        while (j < line.size() && line[j] != ' ' && line[j] != '\t' && line[j] != '\r') ++j;
        if (j > i) words.push_back(line.substr(i, j - i));
        i = j;
      }
      if (words.empty()) continue;
      auto fail = [&](const std::string& why) {
        *err = "line " + std::to_string(lineno) + ": " + why;
        return false;
      };
      int from, to;
      if (!ParseFrames(words[0], &from, &to)) return fail("bad frames '" + words[0] + "'");
      if (words.size() < 2) return fail("no keys");
      if (words[1] == "click") {
        int x, y, button = 0;
        if (words.size() < 4 || words.size() > 5 || !ParseInt(words[2], &x) ||
            !ParseInt(words[3], &y) || (words.size() == 5 && !ParseInt(words[4], &button)))
          return fail("click wants X Y [BUTTON]");
        if (button < 0 || button > 2) return fail("button must be 0, 1 or 2");
        clicks.push_back({from, to, x, y, button});
        continue;
      }
      for (size_t w = 1; w < words.size(); ++w) {
        int vk = KeyByName(words[w]);
        if (vk < 0) return fail("unknown key '" + words[w] + "'");
        keys.push_back({from, to, vk});
      }
    }
    return true;
  }

  void KeysAt(int frame, SimKeys& k) const {
    for (const Keys& s : keys)
      if (frame >= s.from && frame <= s.to) k.down[s.vk] = 1;
  }
  void ClicksAt(int frame, std::vector<Click>& out) const {
    for (const Clicks& c : clicks)
      if (frame >= c.from && frame <= c.to) out.push_back({c.x, c.y, c.button});
  }

 private:
  static bool ParseInt(const std::string& s, int* v) {
    if (s.empty()) return false;
    char* end = nullptr;
    long n = std::strtol(s.c_str(), &end, 10);
    if (*end != 0 || n < -1000000000L || n > 1000000000L) return false;
    *v = int(n);
    return true;
  }
  static bool ParseFrames(const std::string& s, int* from, int* to) {
    size_t dash = s.find('-', 1);
    if (dash == std::string::npos) {
      if (!ParseInt(s, from) || *from < 0) return false;
      *to = *from;
      return true;
    }
    return ParseInt(s.substr(0, dash), from) && ParseInt(s.substr(dash + 1), to) && *from >= 0 &&
           *to >= *from;
  }
};

// Seeded random keys for long runs. Each key goes down with its own chance
// per frame while up and comes up with its own chance while down, so keys are
// held for a while as a player holds them. The menu and the editor are
// switched on rarely and off soon, so the world mostly runs. Escape (quit) is
// never pressed; 8 (save the map over the data folder's map) only when asked.
// Uses its own generator: the game's random sequence is left alone.
struct RandomKeys {
  uint64_t state;
  bool allowSave = false;
  uint8_t held[256] = {};

  explicit RandomKeys(uint64_t seed) : state(seed) {}

  uint64_t Next() {   // splitmix64
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  bool Chance(uint32_t den) { return Next() % den == 0; }

  void Apply(SimKeys& k, std::vector<Click>& clicks) {
    struct Odds {
      int vk;
      uint32_t press, release;   // 1 in press per frame to go down, 1 in release to come up
    };
    static const Odds odds[] = {
        {'W', 40, 20},      {'Q', 40, 20},      {'P', 30, 15},      {'L', 60, 15},
        {'O', 50, 10},      {'K', 50, 10},      {'I', 200, 3},      {VK_RETURN, 30, 20},
        {'N', 60, 10},      {VK_TAB, 100, 3},   {VK_F1, 400, 2},    {VK_F2, 400, 2},
        {VK_F3, 400, 2},    {VK_F4, 400, 2},    {VK_F5, 400, 2},    {VK_F6, 400, 2},
        {VK_F7, 400, 2},    {'R', 150, 3},      {'T', 200, 3},      {'M', 150, 3},
        {'C', 150, 3},      {'G', 500, 2},      {'S', 500, 2},      {'Y', 500, 2},
        {'U', 500, 2},      {'A', 3000, 2},     {'J', 100, 20},     {VK_NUMPAD2, 150, 8},
        {VK_NUMPAD8, 150, 8}, {VK_F9, 3000, 2}, {VK_F10, 3000, 2},  {'1', 800, 3},
        {'3', 600, 2},      {'4', 600, 2},      {'5', 600, 2},      {'6', 600, 2},
        {'7', 2000, 2},     {VK_LBUTTON, 500, 3},
        {VK_LEFT, 300, 5},  {VK_RIGHT, 300, 5}, {VK_UP, 300, 5},    {VK_DOWN, 300, 5},
        {'Z', 100, 2},      {'9', 300, 2},
    };
    for (const Odds& o : odds) Toggle(o.vk, o.press, o.release);
    Toggle('0', mnu_disp ? 150 : 2500, 3);
    Toggle('2', MapEditState.editing ? 300 : 4000, 3);
    if (allowSave) Toggle('8', 4000, 2);
    for (int vk = 0; vk < 256; ++vk)
      if (held[vk]) k.down[vk] = 1;
    if (Chance(MapEditState.editing ? 20 : 400)) {
      int x = int(Next() % 800), y = int(Next() % 600), b = int(Next() % 3);
      clicks.push_back({x, y, b});
    }
  }

 private:
  void Toggle(int vk, uint32_t press, uint32_t release) {
    if (held[vk]) {
      if (Chance(release)) held[vk] = 0;
    } else if (Chance(press)) {
      held[vk] = 1;
    }
  }
};

// One headless game: Start() runs the game's start-up, Step() one frame.
struct Session {
  SimKeys keys;
  SimWindow win;
  int frame = 0;                   // frames run so far
  const KeyScript* script = nullptr;
  RandomKeys* random = nullptr;
  Draw* drawer = nullptr;          // the drawing seam; the null one when not set
  Window* realWindow = nullptr;    // a window seam instead of the headless one
  std::vector<Click> clicks;       // this frame's clicks (reused: no allocation per frame)

  // Puts the whole game back to a fresh process's state, installs the
  // headless seams and runs the game's start-up up to its main loop.
  void Start() {
    Install();
    WinMain();
  }
  // Start without the start-up, for a caller that puts more between the game
  // and the seams first.
  void Install() {
    ResetGlobals();
    ResetPlatform();
    keyboard = &keys;
    window = realWindow ? realWindow : &win;
    if (drawer) draw = drawer;
    frame = 0;
    win = SimWindow{};
    keys.Clear();
    clicks.reserve(64);
  }

  // One frame: Feed, then Run.
  void Step() {
    Feed();
    Run();
  }

  // Sets the keys down in this frame and collects its clicks.
  void Feed() {
    keys.Clear();
    clicks.clear();
    if (script) {
      script->KeysAt(frame, keys);
      script->ClicksAt(frame, clicks);
    }
    if (random) random->Apply(keys, clicks);
  }

  // The frame itself: the clicks (mouse callback, press then release), the
  // idle pass, the display pass. A quit asked for in the idle pass ends the
  // session there.
  void Run() {
    for (const Click& c : clicks) {
      glutMouse(c.button, 0, c.x, c.y);
      glutMouse(c.button, 1, c.x, c.y);
    }
    glutIdle();
    if (!win.quit) glutDisplay();
    ++frame;
  }

  void Stop() { ResetPlatform(); }
};

// Reads a whole file into text; false when it cannot be read.
inline bool ReadFile(const char* path, std::string* text) {
  FILE* f = std::fopen(path, "rb");
  if (!f) return false;
  char buf[4096];
  size_t n;
  text->clear();
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text->append(buf, n);
  std::fclose(f);
  return true;
}

}  // namespace sim
