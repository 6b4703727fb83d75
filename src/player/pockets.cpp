// Picking up, equipping, carrying, dropping and throwing objects, and the
// remembered positions the player can teleport back to. The hand (`held`) is a
// whole entity record taken out of the world, or a weapon selection.
#include "game.h"

namespace {

TEntity* PlayerEnt(TPlayerState* p) { return &Entities[p->ent]; }

// A hand holding one of these is full: an object (a kind below the weapon
// selections), or a key, which walking over something else must not lose.
bool FillsTheHand(TEntityKind k) { return (k > blank && k < wpBlaster) || (k >= key1 && k <= key6); }

}  // namespace

void CheckPickupObject(TPlayerState* p) {
  // an empty hand, a weapon selection or any other kind may pick up
  if (FillsTheHand(p->held.kind)) return;
  int i = coldetidxholdable(p->ent);
  if (i == -1) return;
  if (CheckEquipPlayer(p, &Entities[i]) == 1)
    PlaySFX(es_fanfare);
  else
    p->held = Entities[i];
  Entities[i].kind = blank;   // the item leaves the world
  p->held.dx = 0;
  p->held.dy = 0;
}

int CheckEquipPlayer(TPlayerState* p, TEntity* ent) {
  int slot, energy;
  switch (ent->kind) {
    case pistol: slot = 0; energy = 512; break;
    case icer: slot = 1; energy = 512; break;
    case blaster: slot = 2; energy = 256; break;
    case plasmagun: slot = 3; energy = 512; break;
    case protsuit: slot = 4; energy = 256; break;
    default: return 0;
  }
  p->equip[slot] = 1;
  p->score += ent->score;
  p->nrg[slot] += energy;
  return 1;
}

void DropObject(TPlayerState* p) {
  if (p->held.kind == blank) return;
  TEntity* e = PlayerEnt(p);
  TEntity* n = p->held.kind == grenade   // armed on release
                   ? PlaceEntity(grenadeact, 0, 0, static_cast<TEntityKind>(-1), 0, flNorm, 0, 0)
                   : PlaceClone(p->held);
  if (n) {
    n->flipx = e->flipx;
    // one pixel clear of the player on the side it faces, centred on its height
    if (e->flipx == flNorm)
      n->x = e->x + e->w + 128;
    else
      n->x = e->x - n->w - 128;
    n->y = e->y + e->h / 2 - n->h / 2;
    n->dx = 0;
    n->dy = 0;
  }
  p->held.kind = blank;   // with the table full the object is lost
}

void ThrowObject(TPlayerState* p) {
  if (p->held.kind == blank) return;
  TEntity* e = PlayerEnt(p);
  TEntity* n = PlaceClone(p->held);   // a grenade flies unarmed
  if (n) {
    n->flipx = e->flipx;
    // released on the side the player moves to: at rest, on the left
    if (e->dx > 0)
      n->x = e->x + e->w + 128;
    else
      n->x = e->x - n->w - 128;
    n->y = e->y;
    int32_t dx, dy, ix, iy;
    CalcReticleDxDyFromPlayer(p, &dx, &dy, &ix, &iy);
    n->dx = dx;
    n->dy = dy;
  }
  p->held.kind = blank;
}

void Remember(TPlayerState* p) {
  TEntity* e = PlayerEnt(p);
  for (int i = 3; i >= 1; --i) {
    p->tx[i] = p->tx[i - 1];
    p->ty[i] = p->ty[i - 1];
  }
  p->tx[0] = e->x;
  p->ty[0] = e->y;
}

void Teleport(TPlayerState* p) {
  TEntity* e = PlayerEnt(p);
  e->x = p->tx[0];
  e->y = p->ty[0];
  RegridEntity(p->ent);   // a body teleported in the moving pass
  e->dx = 0;
  e->dy = 0;
  for (int i = 0; i <= 2; ++i) {
    p->tx[i] = p->tx[i + 1];
    p->ty[i] = p->ty[i + 1];
  }
  // the bottom of the stack falls back to pixel (8128, 64): tile 127, row 1
  p->tx[3] = 1040384;
  p->ty[3] = 8192;
}

// The pockets, lying down and the whistles have keys but do nothing.
void StoreObject(TPlayerState* p) { (void)p; }
void RetrieveObject(TPlayerState* p) { (void)p; }
void LieDown(TPlayerState* p) { (void)p; }
void BlowActivateWhistle(TPlayerState* p) { (void)p; }
void BlowPodWhistle(TPlayerState* p) { (void)p; }
