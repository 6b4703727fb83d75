// The application frame: program start, the start-up order of every
// subsystem, the two callbacks that make one frame (idle, then display), the
// fixed order of the layers inside a frame, resizing, mouse clicks, the sine
// and cosine tables and the orderly shutdown.
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "defs/console.h"
#include "game.h"
#include "platform/platform.h"

namespace {

// Loads the identity and steps back to the scene plane: the drawing plane's
// point (416, 416) lies on the view axis, zoomfac units from the eye.
void ResetView() {
  draw->LoadIdentity();
  draw->Translate(-VIEW_CENTRE, -VIEW_CENTRE, -float(zoomfac));
}

}  // namespace

int WinMain() {
  // A double-buffered RGB window with depth, 800 x 600, titled "QuarnGLX";
  // its native handle is what the sound system is given.
  long hwnd = window->Create("QuarnGLX", DISPW, DISPH);
  if (!InitApplication(hwnd)) return 0;
  window->RegisterCallbacks();
  glInit();
  window->MainLoop();
  return 0;
}

int InitApplication(long hwnd) {
  InitialiseSinCos();
  std::strcpy(MapEditState.mapname, "map\\phoebus.qnm");
  Say("made sin table\n");
  InitialiseMap(MapEditState.mapname);
  Say("init map\n");
  InitialiseParticles();
  Say("init particles\n");
  InitialiseWinds();
  Say("init wind\n");
  if (InitSoundSystem(hwnd))
    Say("init sound ok %x\n", static_cast<unsigned>(hwnd));
  else
    Say("init sound failed\n");
  return 1;
}

void glInit() {
  draw->SetupState();
  InitialiseEntities("map\\phoebus.ent");
  LoadMapTiles();
  mnu_disp = 0;
  InitialiseMapEditor();
  // The water line is set before the player is spawned: a new entity takes
  // its in-water flag from it, and a player spawned against a line of 0
  // would count as under water and splash on the first frame.
  watery = 8576;
  waterbob = 0;
  wbobdx = 1;
  InitialisePlayers();
  SpawnEntities("map\\phoebus.epo");
  InitialiseTriggers("map\\phoebus.trg");
  window->FullScreen();
}

void glutIdle() {
  PlayersPreThink();
  PlayerKeyCheck(&players[0]);
  PlayerPostThink();
  window->PostRedisplay();
}

void glutDisplay() {
  draw->Clear();
  // The only pacing of the game: at least 8 ms per frame, asleep.
  uint32_t t0 = gameclock->TickCount();
  gameclock->WaitUntil(t0 + 8);
  draw->SelectModelview();
  draw->LoadIdentity();
  drawScene();
  draw->SwapBuffers();
}

void drawScene() {
  ResetView();
  const TEntity& me = Entities[players[0].ent];
  oldx = me.x;
  oldy = me.y;
  CheckTriggers(oldx, oldy);

  ResetView();
  if (mnu_disp)
    DisplayEntsOnly();
  else
    DisplayEntities();

  ResetView();
  if (!MapEditState.editing) DisplayWater();
  DisplayMap();
  if (!MapEditState.editing) {
    if (mnu_disp) {
      DisplayParticlesOnly();
    } else {
      DisplayParticles();
      DisplayWind();
    }
  }

  ResetView();
  if (hud_disp) DisplayHUD();
  if (MapEditState.editing) DisplayMapEditor();
  if (mnu_disp) DisplayMenu();

  framectr = (framectr + 1) & 511;
}

void glutResize(int w, int h) {
  if (h == 0) return;
  winW = w;
  winH = h;
  draw->Reshape(winW, winH, VIEW_FOVY, VIEW_ASPECT, VIEW_NEAR, VIEW_FAR);
  window->PostRedisplay();
}

void glutMouse(int button, int state, int x, int y) {
  (void)state;   // a press and a release both record the button
  // A window reshaped to width 0 has no cells to click on.
  if (winW == 0) return;
  mouseX = ((x * 800 + 6400) / winW) / 16;
  mouseY = 31 - ((y * 600 + 4800) / winH) / 16;
  mouseB = button;
  clickX = x;
  clickY = y;
  EditorClick();
}

void InitialiseSinCos() {
  for (int d = 0; d < 360; ++d) {
    // The angle is rounded to single precision before the sine is taken.
    float rad = static_cast<float>(d * 3.14159264 / 180.0);
    xsin[d] = static_cast<int32_t>(std::sin(static_cast<double>(rad)) * 524288.0);
    xcos[d] = static_cast<int32_t>(std::cos(static_cast<double>(rad)) * 524288.0);
  }
}

void QuitQuarn() {
  SaveUnsavedPainting();
  FreeSoundSystem();
  Say("sound freed\n");
  FreeRest();
  Say("masks freed\n");
  window->Quit();
}

// Every table is a fixed global that lives until the process ends, the
// collision masks among them: nothing is left to release here.
void FreeRest() {}
