// Producers: monster nests and spawners make creatures while they can see the
// player's entity, up to subtypemax alive at once; a dropper, once triggered,
// drops subtypemax creatures and then removes itself. A producer counts its
// children in subtypecount; a child's death lowers the count again.
#include "defs/random.h"
#include "game.h"

void MonsterNestThink(TEntity* ent) {
  if (!TraceLOS(ent, &Entities[0])) return;
  if (ent->subtypecount >= ent->subtypemax) return;
  if (Rand() % 256 != 1) return;
  const TEntityClass& k = *ClassOfKind(ent->subtype);
  TEntityKind kind = TEntityKind(ent->subtype);
  TEntity* child;
  // the child appears 512 units beyond the edge the nest faces
  if (ent->flipx == 0) {
    child = PlaceEntity(kind, ent->x + ent->w + 512, ent->y, blank, 0, flNorm, 0, 0);
    if (child == nullptr) return;
    child->dx = 64;
  } else {
    child = PlaceEntity(kind, ent->x - 512 - k.width * 128, ent->y, blank, 0, flFlipped, 0, 0);
    if (child == nullptr) return;
    child->dx = -64;
  }
  child->parentent = ent;
  ent->subtypecount += 1;
}

void SpawnerNestThink(TEntity* ent) {
  if (!TraceLOS(ent, &Entities[0])) return;
  if (ent->subtypecount >= ent->subtypemax) return;
  if (Rand() % 256 != 1) return;
  const TEntityClass& k = *ClassOfKind(ent->subtype);
  TEntityKind kind = TEntityKind(ent->subtype);
  // red imps from a spawner throw blue mushrooms; other children fire nothing
  TEntityKind st = kind == redimp ? blueshroom : blank;
  TEntity* child;
  if (ent->flipy == 0) {
    // standing: the child appears just above the nest, moving down
    child = PlaceEntity(kind, ent->x + ent->w / 2, ent->y - (k.height * 128 + 256), st, 0, flNorm,
                        0, 0);
    if (child == nullptr) return;
    child->dy = 64;
  } else {
    // hanging: the child appears at the nest, moving up
    child = PlaceEntity(kind, ent->x + ent->w / 2, ent->y, st, 0, flNorm, 0, 0);
    if (child == nullptr) return;
    child->dy = -64;
  }
  int32_t a = Rand() % 128;
  int32_t b = Rand() % 128;
  child->dx = a - b;
  child->parentent = ent;
  ent->subtypecount += 1;
}

void DropperThink(TEntity* ent) {
  if (ent->triggered == 0) return;
  if (ent->subtypecount < ent->subtypemax) {
    if (framectr % 32 != 1) return;
    TEntity* child = PlaceEntity(TEntityKind(ent->subtype), ent->x + ent->w + 512, ent->y, blank,
                                 0, flNorm, 0, 0);
    if (child == nullptr) return;
    child->parentent = ent;
    ent->subtypecount += 1;
    return;
  }
  // killed once: a dying dropper would otherwise score again every frame
  if (ent->estate != esDying) KillEntity(ent);
}
