// The machine's own layer: OpenGL drawing, the freeglut window and its event
// loop, the X11 keyboard and the monotonic clock. Only the program entry and
// the files beside this one include it.
#pragma once
#include "platform/platform.h"

// Installs the real drawing, window, keyboard and clock as the seams.
void InstallNativePlatform();

Draw* NativeDraw();      // quads batched into vertex arrays
Draw* ImmediateDraw();   // one GL call for each drawing call: the reference
// Called with the finished picture still in the back buffer, just before
// every swap (tools read the picture there).
void SetBeforeSwap(void (*hook)());
Window* NativeWindow();
Keyboard* NativeKeyboard();
Clock* NativeClock();

// Called by the window's event loop: once at the start of every idle pass,
// so the keyboard answers for this frame; and on every mouse button change.
void NativeKeyboardPoll();
void NativeKeyboardMouse(int button, int state);

// What the window's event loop hands its events to: the game's own callbacks
// (glutIdle, glutDisplay, glutResize, glutMouse, and QuitQuarn when the
// window is closed) unless a demo puts itself between.
struct LoopCallbacks {
  void (*idle)();
  void (*display)();
  void (*reshape)(int w, int h);
  void (*mouse)(int button, int state, int x, int y);
  void (*close)();
};
void SetLoopCallbacks(const LoopCallbacks& c);
// While on, the picture fills the window whatever size the game was told (a
// replay tells the game the recorded sizes).
void NativeDrawFillsWindow(bool on);
