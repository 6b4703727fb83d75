#include "game.h"

// Not built yet: an empty entry point with its final signature.
int WinMain() { return 0; }
int InitApplication(long hwnd) { (void)hwnd; return 0; }
void glInit() { }
void glutIdle() { }
void glutDisplay() { }
void drawScene() { }
void glutResize(int w, int h) { (void)w; (void)h; }
void glutMouse(int button, int state, int x, int y) { (void)button; (void)state; (void)x; (void)y; }
void InitialiseSinCos() { }
void QuitQuarn() { }
void FreeRest() { }
