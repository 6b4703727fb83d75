// The player records: start-up, spawning, and the two per-frame updates that
// run around the keyboard check. The player's entity is an ordinary `man` in
// the entity table; player 0's is always entity slot 0.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "game.h"

void InitialisePlayers() {
  pslot = 0;
  // player 0 is not cleared: the spawn below fills it
  for (int i = 1; i < MAX_PLAYERS; ++i) {
    players[i].active = 0;
    std::strcpy(players[i].name, "a quarn");
  }
  SpawnPlayer(man, 753664, 434176, "Vesk");   // pixel (5888, 3392): tile 92, 53
  hud_disp = 0;
  mnu_disp = 0;
}

void SpawnPlayer(TEntityKind kind, int32_t xp, int32_t yp, const char* name) {
  if (pslot >= MAX_PLAYERS) return;
  TPlayerState* p = &players[pslot];
  SpawnEntity(kind, xp, yp, blank, 0, flNorm, 0, 0);
  p->ent = eslot;
  // a name longer than the field is cut to its 15 characters, never overrun
  std::snprintf(p->name, sizeof p->name, "%s", name);
  p->active = 1;
  p->frags = 0;
  p->firecount = 1;
  p->score = 0;
  // teleporting before anything is remembered returns to the spawn point
  for (int i = 0; i < 4; ++i) {
    p->tx[i] = xp;
    p->ty[i] = yp;
    p->obs[i].kind = blank;
  }
  for (int i = 0; i < 6; ++i) p->nrg[i] = 0;
  p->nrg[6] = 512;   // the jetpack
  for (int i = 0; i < 7; ++i) p->passes[i] = 0;
  for (int i = 0; i < 10; ++i) p->equip[i] = 1;
  p->held.kind = blank;
  p->vangle = 90;
  p->aimdx = 1;
  std::printf("Spawned player(%d) %s at (%d,%d)\n", pslot, p->name, xp, yp);
  std::fflush(stdout);
  pslot += 1;
}

void PlayersPreThink() {
  for (int i = 0; i < MAX_PLAYERS; ++i)
    if (players[i].active) PlayerPreThink(&players[i]);
}

void PlayerPreThink(TPlayerState* p) {
  TEntity* e = &Entities[p->ent];
  // the exhaust is off unless the jetpack thrusts again in this frame
  p->jetactive = 0;
  Fountains[p->fountain].colour = 0;

  if (e->dx == 0) {
    e->frame = 0;   // standing
    return;
  }
  if (OnGround(e) == 0) {
    // in the air: tilt along the flight path
    int32_t q = std::abs(e->dy / e->dx);
    e->rangle = static_cast<int32_t>(180.0 * (std::atan(static_cast<double>(q)) / 3.14159264) - 90.0);
    if (e->flipx) e->rangle = 360 - e->rangle;
    e->frame = 4;
  } else {
    e->rangle = 0;
    e->flipy = flNorm;
    if (e->frame > 3) e->frame = 0;
    if (framectr % 8 == 1) e->frame = (e->frame + 1) % 3;   // the walking cycle 0, 1, 2
  }
}

void PlayerPostThink() {
  // the sprite is upside down only in frames in which the jetpack thrusted
  for (int i = 0; i < MAX_PLAYERS; ++i)
    if (players[i].active && players[i].jetactive == 0) Entities[players[i].ent].flipy = flNorm;
}
