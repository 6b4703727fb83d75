// The null implementations of the seams: nothing is drawn, no key is down,
// the window asks for nothing, time stands still, no sound device opens.
#include "platform/platform.h"

#include <string>

namespace {

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

Draw* NullDraw() { static QuietDraw d; return &d; }
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
  datafiles = PlainDataFiles();
}

bool DataFiles::Path(const char* name, char* path, size_t size) {
  if (size == 0) return false;
  size_t k = 0;
  for (; name[k] && k + 1 < size; ++k) path[k] = name[k] == '\\' ? '/' : name[k];
  path[k] = 0;
  return name[k] == 0;
}

FILE* DataFiles::Open(const char* name, const char* mode) {
  std::string path(name);
  for (char& c : path)
    if (c == '\\') c = '/';
  return std::fopen(path.c_str(), mode);
}

DataFiles* PlainDataFiles() { static DataFiles f; return &f; }
DataFiles* datafiles = PlainDataFiles();

FILE* OpenDataFile(const char* name, const char* mode) { return datafiles->Open(name, mode); }
bool DataFilePath(const char* name, char* path, size_t size) { return datafiles->Path(name, path, size); }
