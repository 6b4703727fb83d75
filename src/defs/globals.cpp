#include "defs/defs.h"
#include "defs/problems.h"
#include "defs/random.h"
#include "game.h"

#include <cstring>

uint32_t randstate = 1;

int32_t framectr = 0, zoomfac = 256, winW = 800, winH = 600;
int32_t mouseX = 0, mouseY = 0, mouseB = -1;
int32_t clickX = 0, clickY = 0;
int32_t mnu_disp = 0, hud_disp = 0;
int32_t oldx = 0, oldy = 0;
int32_t xsin[360], xcos[360];
TMapEditState MapEditState;
TEditorState EditorState;

uint32_t mapt[MAP_TILES][MAP_TILES];
uint8_t mapmasks[2][1024 * 1024];
int32_t mapx = 0, mapy = 0, ax = 0, ay = 0;

TEntity Entities[MAX_ENTITIES];
TEntityClass EntityClass[MAX_CLASSES];
int32_t eslot = 0;

TPlayerState players[MAX_PLAYERS];
int32_t pslot = 0;
int32_t mnu_hit = 0, hud_hit = 0, face_hit = 0, rem_hit = 0, tel_hit = 0, maped_hit = 0;

TParticle Particles[MAX_PARTICLES];
TFountain Fountains[MAX_FOUNTAINS];
int32_t fslot = 0;
TWindArea WindAreas[MAX_WINDS];
int32_t wslot = 0, ml = 0, mr = 0;
int32_t watery = 0, waterbob = 0, wbobdx = 0, wtop = 0;
TTrigger Triggers[MAX_TRIGGERS];
int32_t tslot = 0;

TSearchMode searchmode = smFast;
int64_t searchmismatches = 0;

void ResetGlobals() {
  ResetRand();
  framectr = 0; zoomfac = 256; winW = 800; winH = 600;
  mouseX = 0; mouseY = 0; mouseB = -1;
  clickX = 0; clickY = 0;
  mnu_disp = 0; hud_disp = 0; oldx = 0; oldy = 0;
  std::memset(xsin, 0, sizeof xsin);
  std::memset(xcos, 0, sizeof xcos);
  std::memset(&MapEditState, 0, sizeof MapEditState);
  std::memset(static_cast<void*>(&EditorState), 0, sizeof EditorState);
  std::memset(mapt, 0, sizeof mapt);
  std::memset(mapmasks, 0, sizeof mapmasks);
  mapx = mapy = ax = ay = 0;
  std::memset(static_cast<void*>(Entities), 0, sizeof Entities);
  std::memset(static_cast<void*>(EntityClass), 0, sizeof EntityClass);
  eslot = 0;
  std::memset(static_cast<void*>(players), 0, sizeof players);
  pslot = 0;
  mnu_hit = hud_hit = face_hit = rem_hit = tel_hit = maped_hit = 0;
  std::memset(static_cast<void*>(Particles), 0, sizeof Particles);
  std::memset(static_cast<void*>(Fountains), 0, sizeof Fountains);
  fslot = 0;
  std::memset(static_cast<void*>(WindAreas), 0, sizeof WindAreas);
  wslot = ml = mr = 0;
  watery = waterbob = wbobdx = wtop = 0;
  std::memset(static_cast<void*>(Triggers), 0, sizeof Triggers);
  tslot = 0;
  ResetEntityGrid();
  ResetParticleCounts();
  ResetSoundGlobals();
  loadlistener = nullptr;
}
