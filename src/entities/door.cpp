// Sliding doors. A door moves one tile in 16 steps of 512 units and back. It
// is spawned locked; touching a closed door sets it opening with counter 16;
// closed and locked doors do nothing here.
#include "game.h"

// Vertical doors slide up to open, with a sound as they start to move and one
// as they stop.
void VertDoorThink(TEntity* ent) {
  switch (ent->dstate) {
    case esOpening:
      if (framectr % 4 != 1) break;
      if (ent->counter == 16) PlaySFX(es_dooropen);
      if (ent->counter > 0) {
        ent->y -= 512;
        ent->counter -= 1;
      } else {
        ent->counter = 4;
        PlaySFX(es_doorshut);
        ent->dstate = esOpen;
      }
      break;
    case esOpen:
      if (framectr % 8 != 1) break;
      if (ent->counter > 0) {
        ent->counter -= 1;
      } else {
        ent->counter = 16;
        ent->dstate = esClosing;
      }
      break;
    case esClosing:
      if (framectr % 4 != 1) break;
      if (ent->counter == 8) PlaySFX(es_dooropen);
      if (ent->counter > 0) {
        ent->y += 512;
        ent->counter -= 1;
      } else {
        ent->counter = 16;
        PlaySFX(es_doorshut);
        ent->dstate = esClosed;
      }
      break;
    default:
      break;
  }
}

// Horizontal doors slide left to open, silently: quicker to open and to stay
// open, slower to close.
void HoriDoorThink(TEntity* ent) {
  switch (ent->dstate) {
    case esOpening:
      if (framectr % 4 != 1) break;
      if (ent->counter > 0) {
        ent->x -= 512;
        ent->counter -= 1;
      } else {
        ent->counter = 4;
        ent->dstate = esOpen;
      }
      break;
    case esOpen:
      if (framectr % 4 != 1) break;
      if (ent->counter > 0) {
        ent->counter -= 1;
      } else {
        ent->counter = 16;
        ent->dstate = esClosing;
      }
      break;
    case esClosing:
      if (framectr % 8 != 1) break;
      if (ent->counter > 0) {
        ent->x += 512;
        ent->counter -= 1;
      } else {
        ent->counter = 16;
        ent->dstate = esClosed;
      }
      break;
    default:
      break;
  }
}
