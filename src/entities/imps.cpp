// Imps (redimp, blueimp, cyanimp, mutantimp): asleep until they first see the
// player's entity; from then on they chatter, wander, hop, climb walls and
// fire their subtype, whether they can still see it or not.
#include <cstdio>

#include "defs/random.h"
#include "game.h"

static void Say(const char* line) {
  printf("%s", line);
  fflush(stdout);
}

void ImpThink(TEntity* ent) {
  TEntity* e0 = &Entities[0];
  const TEntityClass& k = EntityClass[ent->kind];
  if (TraceLOS(ent, e0)) {
    ent->awake = 1;
    if (Rand() % 64 == 17) {
      TSoundId s = Rand() % 2 == 1 ? es_chimp1 : es_chimp2;
      PlaySFXWithTint(s, 300);
    }
  }
  if (ent->awake == 0) return;

  if (Rand() % 4 == 1) {
    // wander, unless it is falling (moving vertically with nothing solid
    // just below it)
    bool falling = ent->dy != 0 && GetXY(ent->x, ent->y + k.height * 128 + 128) != 0xff;
    if (!falling) {
      if (Rand() % 8 == 1) {
        if (Rand() % 4 == 1) ent->dy = (-2 - Rand() % 4) * 128;   // hop
        int32_t a = Rand() % 12;
        int32_t b = Rand() % 12;
        ent->dx = (a - b) * 128;
      } else {
        if (ent->dx > 0) ent->dx -= 4;
        if (ent->dx < 0) ent->dx += 4;
        if (ent->dy > 0) ent->dy -= 4;
        if (ent->dy < 0) ent->dy += 4;
      }
    }
  } else {
    // climb: a wall at its upper left or upper right
    if (GetXY(ent->x - 1, ent->y) == 0xff) {
      Say("imp climb l\n");
      ent->flipx = flFlipped;
      ent->dx = Rand() % 4 == 1 ? 1024 : 0;
      ent->dy = -512;
    } else if (GetXY(ent->x + k.width * 128 + 128, ent->y) == 0xff) {
      ent->flipx = flNorm;
      if (Rand() % 4 == 1) {
        Say("imp leap off to l\n");
        ent->dx = -1024;
      } else {
        ent->dx = 0;
      }
      ent->dy = -512;
    }
  }

  if (Rand() % 256 == 1) FireAtEnt(ent, e0, 32);
}

void ImpHurt(TEntity* ent) {
  (void)ent;
  if (Rand() % 2 == 1) PlaySFX(es_chimppain1);
  else PlaySFX(es_chimppain2);
}

// Not installed for any kind.
void ImpClimb(TEntity* ent) { (void)ent; }
