// The browser's layer: WebGL drawing, the page's canvas as the window and the
// browser's animation frames as its loop, the keyboard by KeyboardEvent.code,
// a clock that paces whole frames, and the map kept in the browser's storage.
// Only the web entry and the files beside this one include it.
#pragma once
#include "platform/platform.h"

// Installs the browser's drawing, window, keyboard and clock as the seams.
void InstallWebPlatform();

// WebGL on the page's canvas (created by the window). Drawing calls made while
// presenting is off are dropped (textures and the view are still kept): frames
// that the browser never shows cost no drawing.
Draw* WebDraw();
void WebDrawPresenting(bool on);
// Creates the WebGL context on the canvas: its handle, 0 when the browser has none.
long WebDrawContext();

Window* WebWindow();
bool WebGameRunning();   // started and not yet ended

Keyboard* WebKeyboard();
void WebKeyboardListen();                 // from now on the page's key events count
void WebKeyboardPoll();                   // at the start of every idle pass
void WebKeyboardMouse(int button, bool down);

// The game's time: whole milliseconds since the page started, as the frames
// have reached them. The frame wait does not sleep (a page cannot): it moves
// the game's time on, and the window runs the next frame only when the
// browser's clock has come that far.
Clock* WebClock();
double WebClockNow();            // the game's time
void WebClockSet(double ms);     // the game's time jumps (it fell too far behind)

// The map file and the painting kept at quit, kept in the browser's storage
// (IndexedDB): put back before the game starts, stored again whenever the
// game has written them.
void RestoreKeptMap();
void KeepWrittenMap();
