// The null implementations of the seams: nothing is drawn, no key is down,
// the window asks for nothing, time stands still, no sound device opens.
#include "platform/platform.h"

#include <string>

namespace {

struct NullDrawImpl final : Draw {
  void SetupState() override {}
  void Reshape(int, int, double, double, double, double) override {}
  void Clear() override {}
  void SelectModelview() override {}
  void LoadIdentity() override {}
  void Translate(float, float, float) override {}
  void Rotate(float, float, float, float) override {}
  void Texturing(bool) override {}
  void BindTexture(int) override {}
  void Color3(float, float, float) override {}
  void Color4(float, float, float, float) override {}
  void Begin(DrawPrim) override {}
  void TexCoord(float, float) override {}
  void Vertex(float, float, float) override {}
  void End() override {}
  void Text(float, float, const char*) override {}
  void UploadTexture(int, int, int, TexFormat, const uint8_t*, bool) override {}
  void SwapBuffers() override {}
};

struct NoKeysImpl final : Keyboard {
  int KeyState(int) override { return 0; }
};

struct NoWindowImpl final : Window {
  long Create(const char*, int, int) override { return 0; }
  void RegisterCallbacks() override {}
  void MainLoop() override {}
  void FullScreen() override {}
  void ReshapeWindow(int, int) override {}
  void PositionWindow(int, int) override {}
  void PostRedisplay() override {}
  void Quit() override {}
};

struct InstantClockImpl final : Clock {
  uint32_t TickCount() override { return 0; }
  void WaitUntil(uint32_t) override {}
};

struct NoAudioImpl final : AudioDevice {
  bool Open() override { return false; }
  void Close() override {}
  int MakeBuffer(const AudioFormat&, const uint8_t*, int) override { return 0; }
  void Play(int, int) override {}
  void Stop(int) override {}
  bool IsPlaying(int) override { return false; }
  void Release(int) override {}
};

}  // namespace

Draw* NullDraw() { static NullDrawImpl d; return &d; }
Keyboard* NoKeys() { static NoKeysImpl k; return &k; }
Window* NoWindow() { static NoWindowImpl w; return &w; }
Clock* InstantClock() { static InstantClockImpl c; return &c; }
AudioDevice* NoAudio() { static NoAudioImpl a; return &a; }

Draw* draw = NullDraw();
Keyboard* keyboard = NoKeys();
Window* window = NoWindow();
Clock* gameclock = InstantClock();
AudioDevice* audio = NoAudio();

void ResetPlatform() {
  draw = NullDraw();
  keyboard = NoKeys();
  window = NoWindow();
  gameclock = InstantClock();
  audio = NoAudio();
}

bool DataFilePath(const char* name, char* path, size_t size) {
  if (size == 0) return false;
  size_t k = 0;
  for (; name[k] && k + 1 < size; ++k) path[k] = name[k] == '\\' ? '/' : name[k];
  path[k] = 0;
  return name[k] == 0;
}

FILE* OpenDataFile(const char* name, const char* mode) {
  std::string path(name);
  for (char& c : path)
    if (c == '\\') c = '/';
  return std::fopen(path.c_str(), mode);
}
