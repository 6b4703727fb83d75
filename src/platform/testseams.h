// Test implementations of the seams: a drawing recorder, a key script, a
// fake clock, a window that records its requests and a sound device that
// records what it played. Tests and the headless runner install them.
#pragma once
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

// One recorded drawing call. `op` names the call ("Vertex", "Color4", ...);
// the numbers are its arguments in order; `text` holds a Text call's string.
struct DrawCall {
  std::string op;
  std::vector<float> v;
  std::string text;
};

struct RecordDraw final : Draw {
  std::vector<DrawCall> calls;
  std::map<int, std::vector<int>> textures;   // id -> {w, h, format, linear}
  std::map<int, std::vector<uint8_t>> pixels; // id -> uploaded bytes

  void SetupState() override { Add("SetupState", {}); }
  void Reshape(int w, int h, double fovy, double aspect, double n, double f) override {
    Add("Reshape", {float(w), float(h), float(fovy), float(aspect), float(n), float(f)});
  }
  void Clear() override { Add("Clear", {}); }
  void SelectModelview() override { Add("SelectModelview", {}); }
  void LoadIdentity() override { Add("LoadIdentity", {}); }
  void Translate(float x, float y, float z) override { Add("Translate", {x, y, z}); }
  void Rotate(float a, float x, float y, float z) override { Add("Rotate", {a, x, y, z}); }
  void Texturing(bool on) override { Add("Texturing", {on ? 1.f : 0.f}); }
  void BindTexture(int id) override { Add("BindTexture", {float(id)}); }
  void Color3(float r, float g, float b) override { Add("Color3", {r, g, b}); }
  void Color4(float r, float g, float b, float a) override { Add("Color4", {r, g, b, a}); }
  void Begin(DrawPrim p) override { Add(p == dpQuads ? "BeginQuads" : "BeginLineLoop", {}); }
  void TexCoord(float s, float t) override { Add("TexCoord", {s, t}); }
  void Vertex(float x, float y, float z) override { Add("Vertex", {x, y, z}); }
  void End() override { Add("End", {}); }
  void Text(float x, float y, float z, const char* t) override { calls.push_back({"Text", {x, y, z}, t}); }
  void UploadTexture(int id, int w, int h, TexFormat f, const uint8_t* px, bool linear) override;
  void SwapBuffers() override { Add("SwapBuffers", {}); }

  // the calls named op, in order
  std::vector<DrawCall> Only(const std::string& op) const;
  // every quad drawn: its four vertices (x, y, z) with the texture coordinate
  // and colour in force for each, and the texture bound at the time
  struct QuadVertex { float x, y, z, s, t, r, g, b, a; };
  struct Quad { int texture; bool textured; QuadVertex v[4]; };
  std::vector<Quad> Quads() const;

 private:
  void Add(const char* op, std::vector<float> v) { calls.push_back({op, std::move(v), {}}); }
};

// Keys down per frame: `Down(frame, vk)`; the keyboard answers for the frame
// set by `SetFrame` (the headless runner advances it once per frame).
struct ScriptKeys final : Keyboard {
  std::map<int, std::set<int>> down;   // frame -> keys down
  std::set<int> held;                  // keys down in every frame
  int frame = 0;
  void Down(int f, int vk) { down[f].insert(vk); }
  void SetFrame(int f) { frame = f; }
  int KeyState(int vk) override;
};

struct FakeClock final : Clock {
  uint32_t now = 0;
  std::vector<uint32_t> waits;         // every WaitUntil target
  uint32_t TickCount() override { return now; }
  void WaitUntil(uint32_t t) override {
    waits.push_back(t);
    if (now < t) now = t;
  }
};

struct RecordWindow final : Window {
  std::vector<std::string> requests;
  long handle = 0;                     // what Create answers
  long Create(const char* title, int w, int h) override {
    requests.push_back("Create " + std::string(title) + " " + std::to_string(w) + " " +
                       std::to_string(h));
    return handle;
  }
  void RegisterCallbacks() override { requests.push_back("RegisterCallbacks"); }
  void MainLoop() override { requests.push_back("MainLoop"); }
  void FullScreen() override { requests.push_back("FullScreen"); }
  void ReshapeWindow(int w, int h) override {
    requests.push_back("Reshape " + std::to_string(w) + " " + std::to_string(h));
  }
  void PositionWindow(int x, int y) override {
    requests.push_back("Position " + std::to_string(x) + " " + std::to_string(y));
  }
  void PostRedisplay() override { requests.push_back("PostRedisplay"); }
  void Quit() override { requests.push_back("Quit"); }
};

// Sends the game's console lines (standard output) to /dev/null while it
// lives, for tests and tools that run the game's start-up for its tables.
struct QuietConsole {
  int saved;
  QuietConsole();
  ~QuietConsole();
  QuietConsole(const QuietConsole&) = delete;
  QuietConsole& operator=(const QuietConsole&) = delete;
};
