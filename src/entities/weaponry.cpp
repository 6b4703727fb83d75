// Weapon selections, creatures firing at a target, firing sounds by projectile
// kind and the homing of guided ice. The player's own shots are Fire().
#include "game.h"

namespace {

// A selection needs its equipment (slot -1: none) and is made only when it is
// not already the one in the hand. It overwrites whatever the hand described.
void Select(TPlayerState* p, int slot, TEntityKind selection) {
  if (slot >= 0 && p->equip[slot] == 0) return;
  if (p->held.kind == selection) return;
  PlayWav(5);
  p->held.kind = selection;
}

}  // namespace

void SelectPistol(TPlayerState* p) { Select(p, 0, wpPistol); }
void SelectIcer(TPlayerState* p) { Select(p, 1, wpIcer); }
void SelectBlaster(TPlayerState* p) { Select(p, 2, wpBlaster); }
void SelectPlasma(TPlayerState* p) { Select(p, 3, wpPlasma); }
void SelectSuit(TPlayerState* p) { Select(p, 4, wpSuit); }
void SelectJetpack(TPlayerState* p) { Select(p, 5, wpJetpack); }
void SelectRandom(TPlayerState* p) { Select(p, -1, wpRandom); }

void FireAtEnt(TEntity* firer, TEntity* target, int32_t speed) {
  TEntityClass* k = ClassOfKind(firer->subtype);   // the kind of projectile it fires
  PlayEntityFiringSound(k);
  firer->flipx = target->x <= firer->x ? flFlipped : flNorm;
  // the velocity that covers the distance between the two corners in `speed` frames
  int32_t dx = (target->x - firer->x) / speed;
  int32_t dy = (target->y - firer->y) / speed;
  int32_t muzzle = firer->y + firer->h / 2;
  int32_t x = target->x > firer->x ? firer->x + firer->w + 512 : firer->x - 512 - k->width * 128;
  TEntity* shot = PlaceVelEntity(static_cast<TEntityKind>(firer->subtype), x, muzzle, blank, 0,
                                 flNorm, 0, 0, dx, dy, 0);
  if (shot) shot->target = target;
}

void PlayEntityFiringSound(TEntityClass* eclass) {
  switch (eclass->kind) {
    case bullet: PlaySFX(es_pistolshot); break;
    case ice:
    case guidedice: PlaySFX(es_icershot); break;
    case yellowshell:
    case blueshell: PlaySFX(es_cannonshot); break;
    default: break;   // plasma and everything else fire silently
  }
}

void GuidedIceThink(TEntity* ent) {
  TEntity* t = ent->target;
  if (t == nullptr) return;
  // steer toward the target's corner, 32 a frame per axis up to about 512
  if (ent->x < t->x && ent->dx < 512) ent->dx += 32;
  if (ent->x > t->x && ent->dx > -512) ent->dx -= 32;
  if (ent->y < t->y && ent->dy < 512) ent->dy += 32;
  if (ent->y > t->y && ent->dy > -512) ent->dy -= 32;
}

// Not wired to any key.
void SpawnIcerShot() { PlayWav(1); }
void SpawnPlasmaShot() { PlayWav(3); }
void FireBlaster() { PlayWav(0); }
void SpawnCannonShot() { PlayWav(4); }
