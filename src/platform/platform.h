// The seams between the game and the machine. The game code includes only this
// header for anything that touches the screen, the keyboard, the window, the
// clock, the sound device or the data files; each seam has a real
// implementation (OpenGL/freeglut/X11/OpenAL) and test ones (recorder, script).
#pragma once
#include <cstdint>
#include <cstdio>

// ---- drawing ------------------------------------------------------------------
enum DrawPrim { dpQuads, dpLineLoop };
enum TexFormat { tfRGBA, tfRGB, tfAlpha };

struct Draw {
  virtual ~Draw() = default;
  // graphics state of the GL set-up: depth test, blending (src alpha,
  // 1 - src alpha), fill both faces
  virtual void SetupState() = 0;
  // reshape: clear, viewport, projection matrix with the perspective
  // (fovy, aspect, near, far), projection left selected
  virtual void Reshape(int w, int h, double fovy, double aspect, double znear, double zfar) = 0;
  virtual void Clear() = 0;                 // colour and depth buffers
  virtual void SelectModelview() = 0;       // matrix mode modelview
  virtual void LoadIdentity() = 0;
  virtual void Translate(float x, float y, float z) = 0;
  virtual void Rotate(float angle, float x, float y, float z) = 0;
  virtual void Texturing(bool on) = 0;      // enable / disable 2-D texturing
  virtual void BindTexture(int id) = 0;
  virtual void Color3(float r, float g, float b) = 0;
  virtual void Color4(float r, float g, float b, float a) = 0;
  virtual void Begin(DrawPrim prim) = 0;
  virtual void TexCoord(float s, float t) = 0;
  virtual void Vertex(float x, float y, float z) = 0;
  virtual void End() = 0;
  // a line of 8x13 bitmap text starting at raster position (x, y, z)
  virtual void Text(float x, float y, float z, const char* text) = 0;
  // texture number id from w x h pixels; raw images upload RGBA with nearest
  // filtering, the Targa loader uses its own format with linear filtering
  virtual void UploadTexture(int id, int w, int h, TexFormat fmt, const uint8_t* pixels,
                             bool linear) = 0;
  virtual void SwapBuffers() = 0;
};
// Draws nothing: the null drawer, and the base of drawers that watch only
// some of the calls.
struct QuietDraw : Draw {
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
  void Text(float, float, float, const char*) override {}
  void UploadTexture(int, int, int, TexFormat, const uint8_t*, bool) override {}
  void SwapBuffers() override {}
};
extern Draw* draw;   // never null: a null drawer until a real one is installed
Draw* NullDraw();    // draws nothing (benchmarks, headless runs)

// ---- keyboard -----------------------------------------------------------------
// Windows virtual-key codes are the game's key names.
enum : int {
  VK_LBUTTON = 0x01, VK_TAB = 0x09, VK_RETURN = 0x0D, VK_ESCAPE = 0x1B,
  VK_LEFT = 0x25, VK_UP, VK_RIGHT, VK_DOWN,
  VK_NUMPAD2 = 0x62, VK_NUMPAD8 = 0x68,
  VK_F1 = 0x70, VK_F2, VK_F3, VK_F4, VK_F5, VK_F6, VK_F7, VK_F8, VK_F9, VK_F10
};
struct Keyboard {
  virtual ~Keyboard() = default;
  // non-zero when the key is down now, or was pressed between the previous
  // frame's poll and this frame's. A press counts only in the frame that
  // follows it: read by no row of that frame, it is forgotten at the next
  // poll, so it can never act later.
  virtual int KeyState(int vk) = 0;
};
extern Keyboard* keyboard;   // never null: no key is down until one is installed
Keyboard* NoKeys();

// ---- window -------------------------------------------------------------------
struct Window {
  virtual ~Window() = default;
  // a double-buffered RGB window with a depth buffer, w x h pixels, titled
  // `title`; answers the window's native handle (0 when there is none)
  virtual long Create(const char* title, int w, int h) = 0;
  // hands the game's callbacks (glutDisplay, glutResize, glutMouse, glutIdle)
  // to the window's event loop
  virtual void RegisterCallbacks() = 0;
  // runs the event loop until Quit, or until the window is closed (which quits
  // the game the same way, QuitQuarn first); then returns
  virtual void MainLoop() = 0;
  virtual void FullScreen() = 0;
  virtual void ReshapeWindow(int w, int h) = 0;
  virtual void PositionWindow(int x, int y) = 0;
  virtual void PostRedisplay() = 0;
  virtual void Quit() = 0;   // ends the main loop; the process exits with 0
};
extern Window* window;       // never null
Window* NoWindow();

// ---- clock --------------------------------------------------------------------
struct Clock {
  virtual ~Clock() = default;
  virtual uint32_t TickCount() = 0;        // milliseconds
  virtual void WaitUntil(uint32_t t) = 0;  // sleeps (never spins) until TickCount() >= t
};
extern Clock* gameclock;     // never null
Clock* InstantClock();       // time stands still and waits return at once

// ---- sound device -------------------------------------------------------------
struct AudioFormat {
  int channels;        // 1 or 2
  int bits;            // 8 or 16
  int rate;            // the file's own sample rate
};
// A device holds at most this many buffers at once (made and not released).
constexpr int AUDIO_MAX_BUFFERS = 256;
struct AudioDevice {
  virtual ~AudioDevice() = default;
  virtual bool Open() = 0;
  virtual void Close() = 0;
  // a buffer handle > 0, or 0 on failure (also when the device holds
  // AUDIO_MAX_BUFFERS already)
  virtual int MakeBuffer(const AudioFormat& fmt, const uint8_t* pcm, int bytes) = 0;
  virtual void Play(int buffer, int rate) = 0;   // once, at the given rate in hertz
  virtual void Stop(int buffer) = 0;
  virtual bool IsPlaying(int buffer) = 0;
  virtual void Release(int buffer) = 0;
};
extern AudioDevice* audio;   // never null; the null device never opens
AudioDevice* NoAudio();

// ---- data files ---------------------------------------------------------------
// The game names its data files its own way ("map\\phoebus.qnm"); the plain
// seam turns backslashes into slashes, relative to the working folder. A demo
// puts itself between the game and its files: a recording notes what the game
// read, a replay keeps what the game writes away from the world.
struct DataFiles {
  virtual ~DataFiles() = default;
  // opens a data file for reading
  virtual FILE* Open(const char* name, const char* mode);
  // the path the game writes `name` at, into path (size bytes, cut short if
  // it does not fit); false when it was cut short
  virtual bool Path(const char* name, char* path, size_t size);
};
extern DataFiles* datafiles;   // never null
DataFiles* PlainDataFiles();
FILE* OpenDataFile(const char* name, const char* mode);   // datafiles->Open
bool DataFilePath(const char* name, char* path, size_t size);   // datafiles->Path

// Puts every seam back to its null implementation.
void ResetPlatform();
