// The keyboard map of player 0 and the operations that act on the player
// directly: walking and turning, the jetpack, aiming and firing. Every key is
// sampled once per frame in a fixed order; there is no event queue.
#include <cstdio>

#include "defs/random.h"
#include "game.h"
#include "platform/platform.h"

namespace {

bool Down(int vk) { return keyboard->KeyState(vk) != 0; }

// A latched key runs its action once per press: an up frame arms the latch,
// the next down frame fires it and disarms it until the key is up again.
bool Pressed(int vk, int32_t& latch) {
  if (!Down(vk)) {
    latch = 1;
    return false;
  }
  if (latch == 1) {
    latch = 0;
    return true;
  }
  return false;
}

TEntity* PlayerEnt(TPlayerState* p) { return &Entities[p->ent]; }

}  // namespace

void PlayerKeyCheck(TPlayerState* p) {
  TEntity* e = PlayerEnt(p);

  if (Down(VK_NUMPAD2)) {
    if (zoomfac > 128) zoomfac -= 4;
    std::printf("zoom in\n");
    std::fflush(stdout);
  }
  if (Down(VK_NUMPAD8)) {
    if (zoomfac < 256) zoomfac += 4;
    std::printf("zoom out\n");
    std::fflush(stdout);
  }
  if (Down(VK_F9)) window->FullScreen();
  if (Down(VK_F10)) {
    window->ReshapeWindow(640, 480);
    window->PositionWindow(32, 32);
  }
  if (Down(VK_ESCAPE)) QuitQuarn();
  if (Pressed('0', mnu_hit)) mnu_disp = ~mnu_disp;
  if (Pressed('1', hud_hit)) hud_disp = ~hud_disp;
  p->boost = Down('J') ? 1 : 0;

  // while the menu is shown the player stands still
  if (mnu_disp) return;

  if (Down('W')) {
    MoveRight(p);
    if (Down('N')) CheckPickupObject(p);
  }
  if (Down('Q')) {
    MoveLeft(p);
    if (Down('N')) CheckPickupObject(p);
  }
  if (Down('P')) JetpackUp(p);
  if (Down('L')) JetpackDown(p);
  if (Pressed(VK_TAB, face_hit)) AboutFace(p);
  if (Down(VK_LBUTTON)) LieDown(p);
  if (Down('I')) AimCentre(p);
  if (Down('O')) AimUp(p);
  if (Down('K')) AimDown(p);
  if (Down(VK_RETURN)) Fire(p);
  if (Down(VK_F1)) SelectPistol(p);
  if (Down(VK_F2)) SelectIcer(p);
  if (Down(VK_F3)) SelectBlaster(p);
  if (Down(VK_F4)) SelectPlasma(p);
  if (Down(VK_F5)) SelectSuit(p);
  if (Down(VK_F7)) SelectJetpack(p);
  if (Down(VK_F6)) SelectRandom(p);
  if (Pressed('R', rem_hit)) Remember(p);
  if (Pressed('T', tel_hit)) Teleport(p);
  if (Down('G')) RetrieveObject(p);
  if (Down('S')) StoreObject(p);
  if (Down('M')) DropObject(p);
  if (Down('C')) ThrowObject(p);
  if (Down('A')) {
    // where am I: the camera's tile origin plus the middle of the view
    std::printf("X: %d Y: %d\n", mapx + 5, mapy + 7);
    std::printf("GET: %d\n", GetXY(e->x, e->y) & 0xFF);
    std::fflush(stdout);
  }
  if (Down('Y')) BlowActivateWhistle(p);
  if (Down('U')) BlowPodWhistle(p);

  // the map editor
  if (Pressed('2', maped_hit)) {
    MapEditState.editing = ~MapEditState.editing;
    CentreEditorView();   // the view is the player's again
  }
  if (Down('3')) MapEditState.tileflip = mtNorm;
  if (Down('4')) MapEditState.tileflip = mtX;
  if (Down('5')) MapEditState.tileflip = mtY;
  if (Down('6')) MapEditState.tileflip = mtXY;
  if (!MapEditState.editing) return;
  if (Down('7') && MapEditState.saving == 0) {
    MapEditState.saving = 1;
    InitialiseMap(MapEditState.mapname);
    MapEditState.saving = 0;
  }
  if (Down('8') && MapEditState.saving == 0) {
    MapEditState.saving = 1;
    SaveMap(MapEditState.mapname);
    MapEditState.saving = 0;
  }
  // the editor's own tools, on keys the game leaves free
  PanEditorView((Down(VK_RIGHT) ? 1 : 0) - (Down(VK_LEFT) ? 1 : 0),
                (Down(VK_DOWN) ? 1 : 0) - (Down(VK_UP) ? 1 : 0));
  if (Pressed('Z', EditorState.undo_hit)) UndoPainting();
  if (Pressed('9', EditorState.set_hit)) SwitchTileSet();
}

// ---- walking and turning ------------------------------------------------------

void MoveRight(TPlayerState* p) {
  TEntity* e = PlayerEnt(p);
  e->flipx = flNorm;
  if (e->frame == 4 && p->nrg[6] > 0) {
    // flying sideways on the jetpack
    if (e->dx < 768) e->dx += p->boost ? 16 : 8;
    UseJetpackEnergy(p);
  } else if (e->dx < 128) {
    e->dx += 32;
  }
}

void MoveLeft(TPlayerState* p) {
  TEntity* e = PlayerEnt(p);
  e->flipx = flFlipped;
  if (e->frame == 4 && p->nrg[6] > 0) {
    if (e->dx > -768) e->dx -= p->boost ? 16 : 8;
    UseJetpackEnergy(p);
  } else if (e->dx > -128) {
    e->dx -= 32;
  }
}

void AboutFace(TPlayerState* p) {
  if (PlayerEnt(p)->flipx)
    MoveRight(p);
  else
    MoveLeft(p);
}

// ---- the jetpack --------------------------------------------------------------

void UseJetpackEnergy(TPlayerState* p) {
  TEntity* e = PlayerEnt(p);
  p->jetactive = 1;
  LoopWav(6);
  // the exhaust sits at the back of the pack until the next pre-think
  TFountain* f = &Fountains[p->fountain];
  f->x = e->x;
  if (e->flipx == flFlipped) f->x += e->w - 512;
  f->y = e->y;
  f->colour = 79;
  // the jetpack's energy is needed but never spent
}

void JetpackUp(TPlayerState* p) {
  TEntity* e = PlayerEnt(p);
  if (p->nrg[6] > 0) {
    if (e->dy < -256) e->flipy = flNorm;
    if (e->dy > -1024) e->dy -= (p->boost && p->equip[6]) ? 16 : 8;
    UseJetpackEnergy(p);
  } else {
    e->dy = p->boost ? -128 : -256;   // a plain jump
  }
}

void JetpackDown(TPlayerState* p) {
  TEntity* e = PlayerEnt(p);
  if (p->nrg[6] <= 0) return;
  if (e->dy > 256) e->flipy = flFlipped;   // diving fast shows the sprite upside down
  if (e->dy < 1024) e->dy += (p->boost && p->equip[6]) ? 16 : 8;
  UseJetpackEnergy(p);
}

// ---- aiming -------------------------------------------------------------------
// vangle runs from straight down (0) through level (90) to straight up (180)
// on the side the player faces; aimdx accelerates the aim to 2 degrees a frame.

void AimUp(TPlayerState* p) {
  if (p->aimdx < 0)
    p->aimdx = 1;
  else if (p->aimdx < 2)
    p->aimdx += 1;
  if (p->vangle < 180) {
    p->vangle += p->aimdx;
    if (p->vangle > 180) p->vangle = 180;
  } else {
    p->vangle = 180;
  }
  SpawnAimAngle(p);
}

void AimDown(TPlayerState* p) {
  if (p->aimdx > 0)
    p->aimdx = -1;
  else if (p->aimdx > -2)
    p->aimdx -= 1;
  if (p->vangle > 0) {
    p->vangle += p->aimdx;
    if (p->vangle < 0) p->vangle = 0;
  } else {
    p->vangle = 0;
  }
  SpawnAimAngle(p);
}

void AimCentre(TPlayerState* p) {
  p->vangle = 90;
  p->aimdx = 0;
  SpawnAimAngle(p);
}

void SpawnAimAngle(TPlayerState* p) {
  TEntity* e = PlayerEnt(p);
  int32_t ox = e->x + 512;
  int32_t oy = e->y + 1024;
  int32_t vx = xsin[p->vangle] / 512;
  int32_t vy = xcos[p->vangle] / 512;
  if (e->flipx == flFlipped)
    vx = -vx;
  else
    ox += 1536;
  SpawnParticle(ox, oy, vx, vy, 241 + Rand() % 7, 32, ptStaticDot);
}

void CalcReticleDxDyFromPlayer(TPlayerState* p, int32_t* dx, int32_t* dy, int32_t* ix,
                               int32_t* iy) {
  TEntity* e = PlayerEnt(p);
  if (e->flipx == flNorm) {
    *dx = (xsin[p->vangle] / 8192) * 16;
    *ix = e->x + e->w + 1024;
  } else {
    *dx = (xsin[p->vangle] / 8192) * -16;
    *ix = e->x - 2048;
  }
  *dy = (xcos[p->vangle] / 8192) * 16;
  *iy = e->y + 1024;
}

// ---- firing -------------------------------------------------------------------

namespace {

// An energy weapon always fires above its threshold, and at or below it only
// on a 1-in-20 draw; with no energy left it does nothing at all. A shot plays
// its sound, then takes its cost (never below 0).
bool SpendShot(int32_t& energy, int32_t sure, TSoundId sound, int32_t cost) {
  if (energy <= 0) return false;
  if (energy <= sure && Rand() % 20 != 1) return false;
  PlaySFX(sound);
  energy -= cost;
  if (energy < 0) energy = 0;
  return true;
}

}  // namespace

void Fire(TPlayerState* p) {
  p->firecount += 1;
  if (p->firecount >= 16) p->firecount = 1;
  if (p->firecount != 1) return;   // every fifteenth frame while held

  TEntity* e = PlayerEnt(p);
  int32_t dx, dy, ix, iy;
  CalcReticleDxDyFromPlayer(p, &dx, &dy, &ix, &iy);
  // facing left mirrors the aim; 360 is the same direction as 0
  int32_t angle = e->flipx == flNorm ? p->vangle : 360 - p->vangle;
  if (angle == 360) angle = 0;

  switch (p->held.kind) {
    case wpPistol:
      if (SpendShot(p->nrg[0], 100, es_pistolshot, 3)) SpawnProjectile(bullet, ix, iy, angle, 100);
      break;
    case wpIcer:
      if (SpendShot(p->nrg[1], 100, es_icershot, 8)) SpawnProjectile(ice, ix, iy, angle, 100);
      break;
    case wpBlaster:
      if (SpendShot(p->nrg[2], 250, es_blastershot, 125)) {
        // a blast around the player, no projectile
        RadiusDamage(e, 32768, 8);
        SpawnExplosion(e->x, e->y, 240 + Rand() % 15);
      }
      break;
    case wpPlasma:
      if (SpendShot(p->nrg[3], 200, es_plasmashot, 25)) SpawnProjectile(plasma, ix, iy, angle, 100);
      break;
    case wpRandom:
      SpawnProjectile(grenadeact, ix, iy, angle, 100);   // an armed grenade, free and silent
      break;
    default:
      break;   // the cannon, suit and jetpack selections, an empty or full hand
  }
}
