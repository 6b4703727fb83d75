// A real window for the tools that run the game's frames themselves: freeglut
// and the machine's GL drawer, with the tool pumping the window's events
// between frames instead of a main loop.
#pragma once
#include "platform/platform.h"

namespace glwin {

// The window seam: creates the window once (a session started again reuses
// it); the window's reshape reaches the game's glutResize; no other callback
// of the game is given to freeglut, since the tool runs the frames.
Window* TheWindow();
// The drawer: batched, or one GL call per drawing call (the reference).
Draw* Drawer(bool immediate);
// Handles the window's pending events; the first time, waits until the window
// has been shown and sized.
void Pump();
// Waits until GL has finished every drawing call given so far.
void Finish();
// Saves the finished picture of every frame for which `want` answers a file
// name, read from the back buffer before the swap, as a binary PPM.
void SaveFrames(const char* (*want)());

}  // namespace glwin
