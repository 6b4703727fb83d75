// The entity core: the class table and its file, spawning and death, the
// physics of one frame, and the entity pass that draws and moves the world.
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "defs/console.h"
#include "defs/problems.h"
#include "defs/random.h"
#include "game.h"
#include "platform/platform.h"

namespace {

constexpr int NAME_MAX_CHARS = 95;     // a class or placement word holds 95 characters
constexpr int LAST_SPRITE = 767;       // textures 256..1023; 1024 on are fixed textures
constexpr int MULTI_FRAMES = 5;        // a name starting with '1' loads five frames

// Reads one whitespace-delimited word of at most NAME_MAX_CHARS characters into
// buf (NAME_MAX_CHARS + 1 bytes). Returns EOF at the end of the file, 1 for a
// word that fits and 2 for a longer word, whose tail is read into `tail` when
// one is given and dropped otherwise.
int ReadWord(FILE* f, char* buf, std::string* tail = nullptr) {
  if (tail) tail->clear();
  if (std::fscanf(f, "%95s", buf) == EOF) return EOF;
  int c = std::fgetc(f);
  if (c == EOF || c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f') {
    if (c != EOF) std::ungetc(c, f);
    return 1;
  }
  while (c != EOF && !(c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f')) {
    if (tail) tail->push_back(char(c));
    c = std::fgetc(f);
  }
  if (c != EOF) std::ungetc(c, f);
  return 2;
}

bool IsDoorKind(int32_t e) { return e >= greendoor && e <= tiledoorh; }

// The free-slot search: from eslot round the whole table. Leaves eslot on the
// free slot and answers true, or answers false with eslot back where it began.
bool FindFreeSlot() {
  for (int i = 0; i < MAX_ENTITIES; ++i) {
    if (Entities[eslot].kind == blank) return true;
    eslot = eslot + 1 == MAX_ENTITIES ? 0 : eslot + 1;
  }
  return false;
}

}  // namespace

TEntity* PlaceEntity(TEntityKind e, int32_t xp, int32_t yp, TEntityKind st, int32_t stm, TFlip fs,
                     int32_t tid, int32_t score) {
  // A kind outside the class table has no class to spawn from.
  if (e < 0 || e >= MAX_CLASSES) return nullptr;
  if (!FindFreeSlot()) return nullptr;
  TEntity& n = Entities[eslot];
  const TEntityClass& c = EntityClass[e];
  n.uid = eslot;
  n.kind = e;
  n.x = xp;
  n.y = yp;
  n.hp = c.hp;
  n.dx = 0;
  n.dy = 192;   // a new entity starts falling at 1.5 pixels per frame
  n.subtype = st;
  n.subtypemax = stm;
  n.subtypecount = 0;
  n.sprite = c.sprite;
  n.h = c.height * DIVSCALE;
  n.w = c.width * DIVSCALE;
  n.flipx = fs & 1;
  n.flipy = (fs & 2) >> 1;
  n.lifespan = c.lifespan;
  if (n.lifespan > 0) n.lifespan += Rand() % 32;
  // compared unsigned: a position above the map counts as under water
  n.inwater = static_cast<uint32_t>(n.y) > static_cast<uint32_t>(watery * DIVSCALE) ? 1 : 0;
  n.estate = esAlive;
  n.parentent = nullptr;
  n.awake = 0;
  n.rangle = 0;
  n.triggerid = tid;
  n.score = score;
  n.triggered = 0;
  if (IsDoorKind(e)) {
    n.isadoor = 1;
    n.dstate = esLocked;
    n.counter = 32;
    Say("Spawned door %d/%d (%d %x-%x) %d\n", eslot, MAX_ENTITIES, static_cast<int>(e),
        static_cast<unsigned>(xp), static_cast<unsigned>(yp), tid);
  } else {
    n.isadoor = 0;
  }
  RegridEntity(eslot);
  return &n;
}

namespace {

// 128 x (r % 8 - r % 8), drawn again until it is not 0.
int32_t RandomFling() {
  int32_t v;
  do {
    int32_t a = Rand() % 8;
    int32_t b = Rand() % 8;
    v = 128 * (a - b);
  } while (v == 0);
  return v;
}

// 128 x (r % 8 - r % 8), the first draw first.
int32_t RandomNudge() {
  int32_t a = Rand() % 8;
  int32_t b = Rand() % 8;
  return 128 * (a - b);
}

// edges included; evaluated without branches, since the table scans call it
// for every slot
bool Touches(const TEntity& o, int32_t ix, int32_t iy, int32_t ix2, int32_t iy2) {
  return (o.x <= ix2) & (ix <= o.x + o.w) & (o.y <= iy2) & (iy <= o.y + o.h);
}

// Two harmless bodies that already overlap do not hold each other. A step
// climb lifts a body 4 pixels without asking what is above it, and a pair
// caught inside each other that way would bounce off each other every frame
// and never move again: a man standing in a grenade could neither walk nor
// fly. Boxes that only touch still collide, and so does every pair in which
// the contact does more than bounce: damage, death on contact, a producer
// taking back its own kind, a door.
bool CaughtInside(const TEntity& a, const TEntity& b) {
  bool overlap = (b.x < a.x + a.w) & (a.x < b.x + b.w) & (b.y < a.y + a.h) & (a.y < b.y + b.h);
  if (!overlap || a.isadoor || b.isadoor) return false;
  const TEntityClass &ca = EntityClass[a.kind], &cb = EntityClass[b.kind];
  bool absorbs = (b.subtype == a.kind && b.subtypecount > 0) ||
                 (a.subtype == b.kind && a.subtypecount > 0);
  return ca.dmg == 0 && cb.dmg == 0 && ca.dieoncontact == 0 && cb.dieoncontact == 0 && !absorbs;
}

// A mover's box at its next position.
struct Box {
  int32_t ix, iy, ix2, iy2;
};

Box NextBox(const TEntity& b) {
  const int32_t ix = b.x + b.dx, iy = b.y + b.dy;
  return {ix, iy, ix + b.w, iy + b.h};
}

// Whether the mover deals with o when it moves: o lives, touches the next box,
// is no clone of the mover, is not dying and is not caught inside it. Only
// reads: the grid tries the slots near the box in no particular order.
bool Deals(const TEntity& ent, const TEntity& o, const Box& b) {
  // the box first: it shares a cache line with kind and uid, estate does not
  return o.kind != blank && Touches(o, b.ix, b.iy, b.ix2, b.iy2) && o.uid != ent.uid &&
         o.estate != esDying && !CaughtInside(ent, o);
}

bool DealsWithSlot(const TEntity* ent, int j) { return Deals(*ent, Entities[j], NextBox(*ent)); }

// The straightforward search: every slot from 0 up.
int ScanFirstDealt(const TEntity* ent) {
  const Box b = NextBox(*ent);
  for (const TEntity* o = Entities; o != Entities + MAX_ENTITIES; ++o)
    if (Deals(*ent, *o, b)) return int(o - Entities);
  return -1;
}

// The first slot in slot order the mover deals with, or -1: from the grid
// while the moving pass has it open, else from the table.
int FirstDealt(const TEntity* ent) {
  if (searchmode == smLiteral) return ScanFirstDealt(ent);
  const int j = GridFirstAccepted(ent->x + ent->dx, ent->y + ent->dy, ent->w, ent->h, ent,
                                  DealsWithSlot);
  if (j == GRID_CANNOT) return ScanFirstDealt(ent);
  if (searchmode != smChecked) return j;
  const int k = ScanFirstDealt(ent);
  if (k != j) ++searchmismatches;
  return k;
}

// The first slot other than i whose entity touches i's next-frame box.
int FirstTouching(int i, bool massOnly) {
  if (i < 0 || i >= MAX_ENTITIES) return -1;
  const TEntity& b = Entities[i];
  int32_t ix = b.x + b.dx, iy = b.y + b.dy;
  int32_t ix2 = ix + b.w, iy2 = iy + b.h;
  for (int j = 0; j < MAX_ENTITIES; ++j) {
    const TEntity& o = Entities[j];
    if (j == i || o.kind == blank || !Touches(o, ix, iy, ix2, iy2)) continue;
    if (!massOnly || EntityClass[o.kind].mass != 0) return j;
  }
  return -1;
}

}  // namespace

// ---- entity classes ------------------------------------------------------------------

void InitialiseEntities(const char* fname) {
  for (TEntityClass& c : EntityClass) c.kind = blank;
  for (TEntity& e : Entities) e.kind = blank;
  eslot = 0;

  FILE* f = OpenDataFile(fname, "r");
  if (!f) {
    LoadProblem(fname, -1, "missing: the game runs with no entity classes");
    return;
  }
  Say("spawning entity classes\n");

  char name[NAME_MAX_CHARS + 1];
  ReadWord(f, name);   // the header word

  // Numbers that do not parse keep the previous record's values; the first
  // record starts from zeros.
  int p[16] = {0};
  int n = 1;
  for (int got; (got = ReadWord(f, name)) != EOF; ++n) {
    long at = std::ftell(f);
    int read = std::fscanf(f, "%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d", &p[0], &p[1],
                           &p[2], &p[3], &p[4], &p[5], &p[6], &p[7], &p[8], &p[9], &p[10], &p[11],
                           &p[12], &p[13], &p[14], &p[15]);
    // The kind is the record's place in the file: a word without numbers
    // takes a kind all the same and moves every later class on by one.
    if (read < 1)
      LoadProblem(fname, at, "%s is not a class record, yet it takes kind %d and every later "
                  "class moves one kind on", name, n);
    else if (read < 16)
      LoadProblem(fname, at, "class %s: only %d of its 16 numbers read, the others are the "
                  "previous record's", name, read);
    bool multi = name[0] == '1';
    int lastSprite = multi ? LAST_SPRITE - (MULTI_FRAMES - 1) : LAST_SPRITE;
    if (n >= MAX_CLASSES) {
      SayProblem(fname, at, "class %s refused: no room for kind %d\n", name, n);
      continue;
    }
    if (got == 2) {
      SayProblem(fname, at, "class %s... refused: name longer than %d characters\n", name,
                 NAME_MAX_CHARS);
      continue;
    }
    if (p[0] < 0 || p[1] < 0) {
      SayProblem(fname, at, "class %s refused: negative size %d x %d\n", name, p[0], p[1]);
      continue;
    }
    if (p[2] < 0 || p[2] > lastSprite) {
      SayProblem(fname, at, "class %s refused: sprite %d outside 0..%d\n", name, p[2], lastSprite);
      continue;
    }
    SpawnEntityClass(static_cast<TEntityKind>(n), p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7],
                     p[10], p[11], p[12], p[13], p[14], p[15]);
    if (multi)
      LoadMultiEntityFrameXY(name, p[2], p[8], p[9]);
    else
      LoadEntityFrameXY(name, p[2], p[8], p[9]);
    Say("spawned class %s\n", name);
    LoadRecord(fname, at, n);
  }
  std::fclose(f);
}

void SpawnEntityClass(TEntityKind i, int w, int h, int spr, int m, int hits, int ls, int regen,
                      int canwalk, int hasgravity, int framedx, int dmgtype, int dmg, int dmgclr,
                      int doc) {
  if (i < 0 || i >= MAX_CLASSES) return;
  TEntityClass& ec = EntityClass[i];
  // smallest power of two from 4 up that covers the larger side; the search
  // stops at 2^30 so that a nonsense size cannot run it for ever
  uint32_t big = static_cast<uint32_t>(w) > static_cast<uint32_t>(h) ? static_cast<uint32_t>(w)
                                                                      : static_cast<uint32_t>(h);
  uint32_t size = 4;
  while (size < big && size < (1u << 30)) size *= 2;
  ec.sprsize = static_cast<int32_t>(size);
  ec.kind = i;
  ec.width = w;
  ec.height = h;
  ec.sprite = spr;
  ec.mass = m;
  ec.hp = hits;
  ec.painlevel = hits >= 0 ? hits / 4 : -1000;
  ec.lifespan = ls;
  ec.regenrate = regen;
  ec.canwalk = canwalk;
  ec.hasgravity = hasgravity;
  ec.particlespray = 0;
  ec.framedx = framedx == 0 ? 0.0f : static_cast<float>(1.0 / framedx);
  ec.dmg = dmg;
  ec.dtype = static_cast<TDamageType>(dmgtype);
  ec.dtypecolour = dmgclr;
  ec.dieoncontact = doc;
  SetEntityClassAI(&ec);
  if (ec.sprite == 68) {   // the buzzball sprite trails sparks
    ec.particlespray = 1;
    ec.particlecolour = 255;
  }
}

void SetEntityClassAI(TEntityClass* eclass) {
  TEntityOp think = nullptr, hurt = nullptr;
  switch (eclass->kind) {
    case urn: case urnfull: think = UrnThink; break;
    case redshroom: case blueshroom: think = ShroomThink; break;
    case grenade: think = GrenadeThink; break;
    case grenadeact: think = GrenadeActThink; break;
    case powerpod: think = PowerPodThink; break;
    case redimp: case blueimp: case cyanimp: case mutantimp:
      think = ImpThink;
      hurt = ImpHurt;
      break;
    case greenbird: case whitebird: case bat: case pinkbird: think = BirdThink; break;
    case redfrog: case greenfrog: case invisfrog: think = FrogThink; break;
    case harry: think = HarryThink; break;
    case cyantele: case pinktele: case greentele: case redtele: think = TeleBotThink; break;
    case triax: think = TriaxThink; break;
    case chatteract: think = ChatterThink; break;
    case whiteburger: case cyanburger: think = BurgerThink; break;
    case pinkdalek: case reddalek: case bluedalek: think = DalekThink; break;
    case fluffy: think = FluffyThink; break;
    case bigfish: think = BigFishThink; break;
    case whitewasp: case greenwasp: think = WaspThink; break;
    case pinkgrub: case yellowgrub: think = MaggotThink; break;
    case buzzball: case invisbuzzball: think = BuzzBallThink; break;
    case greenfish: case redfish: think = FishThink; break;
    case greendoor: case reddoor: case yellowdoor: case cyandoor: case redpinkdoor: case pinkdoor:
    case tiledoor:
      think = VertDoorThink;
      break;
    // the cyan horizontal door works like the other horizontal doors
    case greendoorh: case cyandoorh: case tiledoorh: think = HoriDoorThink; break;
    case greennest: case rednest: case yellownest: case purplenest: case slownest: case cyannest:
      think = SuckNestThink;
      break;
    case redglook: think = RedGlookThink; break;
    case fire: think = FireThink; break;
    case waspnest: case piranhanest: think = MonsterNestThink; break;
    case gargoyle: think = GargoyleThink; break;
    case spawner: think = SpawnerNestThink; break;
    case dropper: think = DropperThink; break;
    case guidedice: think = GuidedIceThink; break;
    default: return;   // no behaviour: both operations are left as they are
  }
  eclass->think = think;
  eclass->hurt = hurt;
}

// ---- spawning, lifespan and death -----------------------------------------------------

void SpawnEntity(TEntityKind e, int32_t xp, int32_t yp, TEntityKind st, int32_t stm, TFlip fs,
                 int32_t tid, int32_t score) {
  PlaceEntity(e, xp, yp, st, stm, fs, tid, score);
}

TEntity* PlaceVelEntity(TEntityKind e, int32_t xp, int32_t yp, TEntityKind st, int32_t stm,
                        TFlip fs, int32_t tid, int32_t score, int32_t dx, int32_t dy,
                        int32_t vangle) {
  TEntity* n = PlaceEntity(e, xp, yp, st, stm, fs, tid, score);
  if (n) {
    n->dx = dx;
    n->dy = dy;
    n->rangle = vangle;
  }
  return n;
}

void SpawnVelEntity(TEntityKind e, int32_t xp, int32_t yp, TEntityKind st, int32_t stm, TFlip fs,
                    int32_t tid, int32_t score, int32_t dx, int32_t dy, int32_t vangle) {
  PlaceVelEntity(e, xp, yp, st, stm, fs, tid, score, dx, dy, vangle);
}

void SpawnProjectileV(TEntityKind e, int32_t xp, int32_t yp, int32_t dx, int32_t dy) {
  SpawnVelEntity(e, xp, yp, blank, 0, flNorm, 0, 0, dx, dy, 0);
}

void SpawnProjectile(TEntityKind e, int32_t xp, int32_t yp, int32_t vangle, int32_t vel) {
  int32_t a = ((vangle % 360) + 360) % 360;   // the tables hold whole turns 0..359
  int32_t dx = (vel * xsin[a]) >> 16;
  int32_t dy = (vel * xcos[a]) >> 16;
  SpawnVelEntity(e, xp, yp, blank, 0, flNorm, 0, 0, dx, dy, vangle);
}

TEntity* PlaceClone(const TEntity& e) {
  if (!FindFreeSlot()) return nullptr;
  Entities[eslot] = e;   // uid and all: a clone never collides with its source
  RegridEntity(eslot);
  return &Entities[eslot];
}

void CloneEntity(TEntity e) { PlaceClone(e); }

void EntityFire(TEntity e) {
  // the player's entity is always slot 0
  if (Rand() % 64 == 1 && TraceLOS(&e, &Entities[0]))
    PlaceVelEntity(static_cast<TEntityKind>(e.subtype), e.x, e.y, blank, 0, flNorm, 0, 0, 2048, 0,
                   0);
}

void SpawnEntities(const char* fname) {
  Say("spawning entities\n");
  FILE* f = OpenDataFile(fname, "r");
  if (!f) {
    LoadProblem(fname, -1, "missing: the world holds no entity but the player");
    return;
  }

  char desc[NAME_MAX_CHARS + 1];
  ReadWord(f, desc);   // the header word

  // Numbers that do not parse keep the previous record's values; the first
  // record starts from zeros.
  int q[10] = {0};
  std::string tail;   // the description is printed whole, however long
  while (ReadWord(f, desc, &tail) != EOF) {
    long at = std::ftell(f);
    int read = std::fscanf(f, "%d,%d,%d,%d,%d,%d,%d,%d,%d,%d", &q[0], &q[1], &q[2], &q[3], &q[4],
                           &q[5], &q[6], &q[7], &q[8], &q[9]);
    if (read < 1)
      LoadProblem(fname, at, "%s%s is not a placement record, yet it places the previous "
                  "record's entity again", desc, tail.c_str());
    else if (read < 10)
      LoadProblem(fname, at, "entity %s%s: only %d of its 10 numbers read, the others are the "
                  "previous record's", desc, tail.c_str(), read);
    if (q[0] < 0 || q[0] >= MAX_CLASSES) {
      SayProblem(fname, at, "entity %s%s refused: kind %d outside 0..%d\n", desc, tail.c_str(),
                 q[0], MAX_CLASSES - 1);
      continue;
    }
    TEntity* placed = PlaceEntity(static_cast<TEntityKind>(q[0]), q[1] * TILE_WSCALE + q[2] * DIVSCALE,
                                  q[3] * TILE_HSCALE + q[4] * DIVSCALE,
                                  static_cast<TEntityKind>(q[5]), q[6], static_cast<TFlip>(q[7]),
                                  q[8], q[9]);
    Say("spawned entity: %s%s\n", desc, tail.c_str());
    LoadRecord(fname, at, placed ? int(placed - Entities) : -1);
  }
  std::fclose(f);
}

int ProcessEntityLifespan(TEntity* ent, TEntityClass* eclass) {
  if (ent->lifespan == -1) return 0;
  ent->lifespan -= 1;
  if (ent->lifespan > 0) return 0;
  ent->lifespan = 0;
  if (ent->estate == esDying) {
    ent->kind = blank;
    return 0;
  }
  if (eclass->think) eclass->think(ent);
  KillEntity(ent);
  return 1;
}

void RegenerateEnt(TEntity* ent, TEntityClass* eclass) {
  if (ent->estate != esDying && ent->hp < eclass->hp) {
    ent->hp += eclass->regenrate;
    if (ent->hp > eclass->hp) ent->hp = eclass->hp;
  }
}

void CheckRandomKill(TEntity* ent, TEntityClass* eclass) {
  if (eclass->dtype == edtRicochet && Rand() % 4 == 1) KillEntity(ent);
}

void KillEntity(TEntity* ent) {
  if (ent->kind == man) {   // the player's character is never killed
    if (Rand() % 4 == 1) Teleport(&players[0]);
    return;
  }
  const TEntityClass& c = EntityClass[ent->kind];
  switch (c.dtype) {
    case edtExplosion:
      PlaySFXWithTint(es_explosion2, 500);
      SpawnExplosion(ent->x, ent->y, c.dtypecolour);
      break;
    case edtCombust:
      for (int k = 0; k < 63; ++k) {
        int32_t ox = Rand() % 1024;
        int32_t vy = Rand() % 128;
        int32_t clr = 81 + 2 * (Rand() % 2);
        int32_t ls = 64 + Rand() % 16;
        SpawnParticle(ent->x + ox, ent->y, 0, -vy, clr, ls, ptDot);
      }
      break;
    case edtBurn:
      break;
    case edtMachine:
      PlaySFXWithTint(es_explosion2, 500);
      ent->lifespan = 64;
      ent->dx = RandomFling();
      ent->dy = RandomFling();
      break;
    case edtRicochet:
      PlaySFXWithTint(Rand() % 4 == 1 ? es_ricochet2 : es_ricochet1, 500);
      SpawnExplosion(ent->x, ent->y, c.dtypecolour);
      break;
    case edtBigBang:
      PlaySFXWithTint(es_bigexplosion, 500);
      SpawnExplosion(ent->x, ent->y, c.dtypecolour);
      break;
    default:
      break;
  }
  // a nest counts its living offspring
  if (ent->parentent && ent->parentent->subtypecount > 0) ent->parentent->subtypecount -= 1;
  ent->estate = esDying;
  players[0].score += ent->score;
}

void DyingEntity(TEntity* ent) {
  const TEntityClass& c = EntityClass[ent->kind];
  switch (c.dtype) {
    case edtExplosion:
    case edtCombust:
    case edtBurn:
      ent->kind = blank;
      break;
    case edtMachine: {
      ent->rangle += 8;   // the wreck turns and smokes
      int32_t sdx = RandomNudge();
      int32_t sdy = RandomNudge();
      int32_t clr = 145 + 2 * (Rand() % 2);
      SpawnSpray(ent->x + ent->w / 2, ent->y + ent->h / 2, sdx, sdy, clr);
      if (ent->lifespan <= 0) ent->kind = blank;
      break;
    }
    default:
      break;   // fades out with its lifespan
  }
}

// ---- movement, collision and damage -----------------------------------------------------

// Where a sideways step of dx from x ends for a box W wide whose top is at y:
// at x + dx, unless the box's leading top corner (where the side probes look)
// would land in rock; then at the wall's face, the last open pixel before
// it, and never behind x. It looks back one pixel column at a time from
// where the step would land, so it costs nothing unless the step meets rock.
static int32_t StepToWall(int32_t x, int32_t y, int32_t W, int32_t dx) {
  int32_t nx = x + dx;
  if (dx > 0) {
    while (nx > x && GetXY(nx + W, y) == 255) nx = ((nx + W) & ~127) - 1 - W;
    return nx > x ? nx : x;
  }
  while (nx < x && GetXY(nx - 1, y) == 255) nx = ((nx - 1) & ~127) + 128 + 1;
  return nx < x ? nx : x;
}

void MoveEntity(TEntity* ent) {
  TEntityClass* c = &EntityClass[ent->kind];

  // 1. age
  if (ProcessEntityLifespan(ent, c) == 1) return;
  // 2. behaviour
  if (c->think) c->think(ent);
  // 3. life state
  int32_t m = c->mass;
  if (ent->estate == esDying) {
    DyingEntity(ent);
    m = 1;
  } else {
    ent->estate = ent->hp < c->painlevel ? esHurtFlash : esAlive;
  }
  // 4. massless entities never move by themselves
  bool moves = m != 0;
  // 5. an entity that touched another does not meet the map this frame
  if (moves && ent->estate != esDying && coldet(ent) == 1) moves = false;
  if (moves) {
    // 6. every probe from where the entity is now
    const int32_t W = c->width * DIVSCALE, H = c->height * DIVSCALE;
    const int32_t x = ent->x, y = ent->y, dy = ent->dy;
    const int32_t mx = x + W / 2, my = y + H / 2;
    const bool leftLow = GetXY(x - 1, y + H) == 255;
    const bool leftHigh = GetXY(x - 1, y) == 255;
    const bool rightLow = GetXY(x + W, y + H) == 255;
    const bool rightHigh = GetXY(x + W, y) == 255;
    const bool downLeft = GetXY(x, y + H + dy) == 255;
    const bool downRight = GetXY(x + W, y + H + dy) == 255;
    const bool upLeft = GetXY(x, y + dy) == 255;
    const bool upRight = GetXY(x + W, y + dy) == 255;
    const bool stepLeft = GetXY(x, y + dy - 4) == 255;
    const bool stepRight = GetXY(x + W, y + dy - 4) == 255;
    const uint8_t centre = GetXY(mx, my);

    // 7. right: move up to a wall, climb a step the head clears, or bounce
    if (ent->dx > 0) {
      if (!rightLow && !rightHigh) {
        ent->x = StepToWall(ent->x, y, W, ent->dx);
      } else if (rightLow && !stepRight && GetXY(x + W, y - 512) != 255) {
        ent->x = StepToWall(ent->x, y - 512, W, ent->dx);
        ent->y -= 512;
      } else {
        ent->dx = -ent->dx / 2;
        CheckRandomKill(ent, c);
      }
    }
    // 8. left, with dx as step 7 left it
    if (ent->dx < 0) {
      if (!leftLow && !leftHigh) {
        ent->x = StepToWall(ent->x, y, W, ent->dx);
      } else if (leftLow && !stepLeft && GetXY(x - 1, y - 512) != 255) {
        ent->x = StepToWall(ent->x, y - 512, W, ent->dx);
        ent->y -= 512;
      } else {
        ent->dx = -ent->dx / 2;
        CheckRandomKill(ent, c);
      }
    }
    // 9. down
    if (ent->dy > 0) {
      if (!downLeft && !downRight) {
        ent->y += ent->dy;
      } else {
        ent->dy = ent->dy > 8 ? -ent->dy / 4 : 0;
        CheckRandomKill(ent, c);
      }
    }
    // 10. up, with dy as step 9 left it
    if (ent->dy < 0) {
      if (!upLeft && !upRight) {
        ent->y += ent->dy;
      } else {
        ent->dy = ent->dy < -8 ? -ent->dy / 4 : 0;
        CheckRandomKill(ent, c);
      }
    }
    // 11. water and gravity (a strike on the map above may just have killed it)
    const int32_t w0 = ent->inwater;
    const bool dying = ent->estate == esDying;
    if (centre == 128) {
      if (!dying && ent->dy > -192) ent->dy -= 256 / m;
      ent->inwater = 1;
    } else {
      if (!dying && c->hasgravity != 0 && ent->dy < 1024) ent->dy += 192 / m;
      ent->inwater = 0;
    }
    // 12. friction
    if (ent->dx != 0) ent->dx = static_cast<int32_t>(0.99 * static_cast<double>(ent->dx));
    // 13. splash on crossing the surface
    if (ent->inwater != w0) {
      const int32_t speed = ent->dy < 0 ? -ent->dy : ent->dy;
      if (speed + 1 > 128) {
        PlaySFX(es_splash);
        for (int32_t k = 0; k < (Rand() % (speed + 1)) + 1; ++k) {
          int32_t a1 = Rand() % 128, a2 = Rand() % 128;
          int32_t b1 = Rand() % 128, b2 = Rand() % 128;
          int32_t v1 = Rand() % 256, v2 = Rand() % 256;
          int32_t vy = Rand() % 256;
          int32_t clr = 68 + 16 * (Rand() % 8);
          int32_t ls = 64 + Rand() % 16;
          SpawnParticle(mx + a1 - a2, my + b1 - b2, v1 - v2, -vy, clr, ls, ptGravDot);
        }
        ent->dy -= ent->dy >> 2;
      }
    }
    // 14. sparks (at most one: the bound is drawn afresh each time round)
    if (c->particlespray != 0) {
      for (int32_t k = 0; k < Rand() % 2; ++k) {
        int32_t a1 = Rand() % 512, a2 = Rand() % 512;
        int32_t b1 = Rand() % 128, b2 = Rand() % 128;
        int32_t vx = 0;
        if (ent->dx != 0) {
          int64_t d = ent->dx;
          vx = static_cast<int32_t>(d * 64 / ((64 + Rand() % 16) * d));
        }
        int32_t clr = c->particlecolour + 2 * (Rand() % 2);
        int32_t ls = 32 + Rand() % 16;
        SpawnParticle(mx + a1 - a2, ent->y + b1 - b2, vx, 256, clr, ls, ptGravDot);
      }
    }
    // 15. wind
    WindAdjust(ent, m);
    // 16. settle
    if (ent->dx > -7 && ent->dx < 7) {
      ent->dx = 0;
      ent->rangle = 0;
    }
    if (ent->dy > -2 && ent->dy < 2) ent->dy = 0;
  }
  // 17. heal
  RegenerateEnt(ent, c);
}

namespace {

// What a mover and the entity it touches do to each other; answers 1.
int Collide(TEntity* ent, TEntity* o) {
  // a closed door opens for whoever touches it
  if (o->isadoor == 1 && o->dstate == esClosed) {
    o->dstate = esOpening;
    o->counter = 16;
    return 1;
  }

  // bounce and push
  const TEntityClass& ce = EntityClass[ent->kind];
  const TEntityClass& co = EntityClass[o->kind];
  const int32_t m1 = ce.mass, m2 = co.mass;
  const float ratio = m2 != 0 ? static_cast<float>(static_cast<double>(m1) / m2) : 1.0f;
  ent->dx = -ent->dx / 2;
  if (m2 != 0) o->dx -= static_cast<int32_t>(static_cast<double>(ent->dx) * ratio);
  ent->dy = -ent->dy / 2;
  if (m2 != 0) o->dy -= static_cast<int32_t>(static_cast<double>(ent->dy) * ratio);

  // absorption: a nest takes back its own kind
  if (o->subtype == ent->kind && o->subtypecount > 0) {
    KillEntity(ent);
    o->subtypecount -= 1;
    return 1;
  }

  // damage
  if (co.dmg > 0) {
    if (ent->hp != -1) {
      ent->hp -= co.dmg;
      if (ent->hp <= 0) KillEntity(ent);
    }
  } else if (o->hp != -1 && ce.dmg > 0) {
    o->hp -= ce.dmg;
    if (co.hurt) co.hurt(o);
    if (o->hp <= 0) KillEntity(o);
  }

  // contact death
  if (ce.dieoncontact != 0)
    KillEntity(ent);
  else if (co.dieoncontact != 0)
    KillEntity(o);
  return 1;
}

}  // namespace

int coldet(TEntity* ent) {
  const int j = FirstDealt(ent);
  return j < 0 ? 0 : Collide(ent, &Entities[j]);
}

int coldetidxholdable(int i) { return FirstTouching(i, true); }

int coldetidx(int i) { return FirstTouching(i, false); }

int TraceLOS(TEntity* e1, TEntity* e2) {
  const int32_t cx = e1->x + e1->w / 2, cy = e1->y + e1->h / 2;
  const int32_t dx = (e2->x + e2->w / 2) - cx;
  const int32_t dy = (e2->y + e2->h / 2) - cy;
  if (dx < -49152 || dx > 49152 || dy < -49152 || dy > 49152) return 0;
  for (int32_t i = 0; i < 10; ++i) {
    if (GetXY(e1->x + i * (dx / 10) + e1->w / 2, e1->y + i * (dy / 10) + e1->h / 2) == 255)
      return 0;
  }
  return 1;
}

int OnGround(TEntity* ent) {
  return GetXY(ent->x + (ent->w >> 1), ent->y + ent->h + 128) == 255 ? 1 : 0;
}

int32_t GetDist(TEntity* e1, TEntity* e2) {
  // squares in double: exact for any two positions on the map, and no
  // overflow for any two positions at all
  const double dx = static_cast<double>(e2->x) - e1->x;
  const double dy = static_cast<double>(e2->y) - e1->y;
  const float d = static_cast<float>(std::sqrt(dx * dx + dy * dy));
  // two positions at the far ends of the 32-bit range are farther apart than
  // an int32 holds
  if (d >= 2147483648.0f) return INT32_MAX;
  return static_cast<int32_t>(d);
}

int32_t GetVect(TEntity e1, TEntity e2) {
  const int64_t dx = static_cast<int64_t>(e2.x) - e1.x;
  const int64_t dy = static_cast<int64_t>(e2.y) - e1.y;
  if (dx == 0) return 65535;
  return static_cast<int32_t>(dy / dx);
}

void ClampDxDy(TEntity* ent) {
  if (ent->dx > 1024) ent->dx = 1024;
  if (ent->dx < -1024) ent->dx = -1024;
  if (ent->dy > 1024) ent->dy = 1024;
  if (ent->dy < -1024) ent->dy = -1024;
}

int32_t RoughRadialDamage(int32_t basedmg, int32_t dist, int32_t radius) {
  int32_t d = dist * 128;
  if (d < 1) d = 1;
  if (d < radius >> 4) return basedmg;
  if (d < radius >> 2) return basedmg >> 1;
  if (d < radius >> 1) return basedmg >> 2;
  return basedmg >> 3;
}

void RadiusDamage(TEntity* ent, int32_t radius, int32_t dmg) {
  const int32_t push = dmg * 262144;
  for (int j = 0; j < MAX_ENTITIES; ++j) {
    TEntity* o = &Entities[j];
    if (o->kind == blank || o->uid == ent->uid || o->estate == esDying) continue;
    const int32_t lDist = GetDist(ent, o);
    if (!(lDist < radius && TraceLOS(ent, o) == 1)) continue;
    const int32_t ddx = o->x - ent->x, ddy = o->y - ent->y;
    // quotients formed in 64 bits so that no pair of operands can trap
    if (ddx != 0) o->dx += static_cast<int32_t>(static_cast<int64_t>(push) / ddx);
    if (ddy != 0) o->dy += static_cast<int32_t>(static_cast<int64_t>(push) / ddy);
    if (ddx != 0 || ddy != 0) ClampDxDy(o);
    if (o->hp != -1) {
      o->hp -= RoughRadialDamage(dmg, lDist, radius);
      if (o->hp <= 0) KillEntity(o);
    }
  }
}

void DoMoveEntity(TEntity* ent) {
  TEntityClass& c = EntityClass[ent->kind];
  if (c.think) c.think(ent);
}

// ---- entity drawing -----------------------------------------------------------------------

void DisplayEntities() {
  draw->Texturing(true);
  if (searchmode != smLiteral) OpenEntityGrid();
  for (int i = MAX_ENTITIES - 1; i >= 0; --i) {
    if (Entities[i].kind != blank) {
      DisplayEntity(&Entities[i]);
      MoveEntity(&Entities[i]);
      RegridEntity(i);
    }
  }
  CloseEntityGrid();
  draw->Texturing(false);
  draw->LoadIdentity();
}

void DisplayEntsOnly() {
  draw->Texturing(true);
  for (int i = 0; i < MAX_ENTITIES; ++i)
    if (Entities[i].kind != blank) DisplayEntity(&Entities[i]);
  draw->Texturing(false);
  draw->LoadIdentity();
}

void DisplayEntity(TEntity* ent) {
  const TEntityClass& c = EntityClass[ent->kind];
  const int32_t W = c.width, H = c.height;
  const float fd = c.framedx;

  // 1. facing follows the horizontal speed
  if (ent->dx < 0) ent->flipx = flFlipped;
  if (ent->dx > 0) ent->flipx = flNorm;

  // 2. trails and heading, seen or not
  if (ent->kind == bullet || ent->kind == ice || ent->kind == guidedice) {
    // squares in double: a fast projectile must not overflow them
    const double vx = ent->dx, vy = ent->dy;
    const double s = vx * vx + vy * vy;
    const double a = s == 0 ? 0.0 : std::acos(vx / std::sqrt(s));
    const double deg = 180.0 * a / 3.14159264;
    // the heading is rounded to single precision before it is truncated, so
    // the four straight directions come out as whole degrees
    const float heading = static_cast<float>(ent->dy < 0 ? deg : 360.0 - deg);
    ent->rangle = static_cast<int32_t>(heading);
    SpawnSpray(ent->x, ent->y - 2048, ent->dx, ent->dy, c.particlecolour);
  } else if (ent->kind == plasma) {
    SpawnSpray(ent->x, ent->y - 512, ent->dx, ent->dy, 241 + 2 * (Rand() % 2));
  }

  // 3. the frame's columns of an animation strip
  const float s0 = static_cast<float>(ent->frame) * fd;

  // 4. only what lies in the view's window of tiles
  const int32_t px = ent->x / DIVSCALE;
  const int32_t py = ent->y / DIVSCALE - 64 + H;
  const int32_t col = px / 64 - mapx;
  const int32_t row = py / 64 - mapy;
  if (col < -1 || col > 14 || row < 0 || row > 13) return;

  // 5. where the map drawing puts that world pixel
  const int32_t sx = px - 64 * mapx + ax;
  const int32_t sy = 768 - (py - 64 * mapy + ay);

  // 6. mirroring swaps texture coordinates
  float sL = 0, tA = 0, sR = 1, tB = 1;
  switch (ent->flipx + 2 * ent->flipy) {
    case 1: sL = 1; tA = 0; sR = 0; tB = 1; break;
    case 2: sL = 0; tA = 1; sR = 1; tB = 0; break;
    case 3: sL = 1; tA = 1; sR = 0; tB = 0; break;
    default: break;
  }

  // 7.
  draw->BindTexture(256 + ent->sprite);

  // 8. colour by life state
  switch (ent->estate) {
    case esAlive:
      draw->Color3(1, 1, 1);
      break;
    case esHurtFlash:
      if ((framectr & 31) < 16)
        draw->Color3(1, 0, 0);
      else
        draw->Color3(1, 1, 1);
      break;
    case esDying: {
      const float alpha = 0.015625f * static_cast<float>(ent->lifespan);
      float r = 1, g = 1, b = 1;
      if ((framectr & 31) < 15) {
        r = (Rand() >> 1) & 1 ? 1.0f : 0.0f;
        g = (Rand() >> 1) & 1 ? 1.0f : 0.0f;
        b = (Rand() >> 1) & 1 ? 1.0f : 0.0f;
      }
      draw->Color4(r, g, b, alpha);
      break;
    }
    default:
      break;
  }

  // 9. centred on the entity's middle, turned about it
  const float tx = static_cast<float>(sx - 416 + W / 2);
  const float ty = static_cast<float>(sy - 416 + H / 2);
  const float tz = static_cast<float>(-zoomfac);
  draw->LoadIdentity();
  draw->Translate(tx, ty, tz);
  if (ent->rangle != 0) draw->Rotate(static_cast<float>(ent->rangle), 0, 0, 1);

  // 10. the rectangle
  const float l = static_cast<float>(-W / 2), r = static_cast<float>(W / 2);
  const float bo = static_cast<float>(-H / 2), t = static_cast<float>(H / 2);
  draw->Begin(dpQuads);
  if (fd == 0.0f) {
    const float z = -0.01f;
    draw->TexCoord(sL, tA); draw->Vertex(l, bo, z);
    draw->TexCoord(sR, tA); draw->Vertex(r, bo, z);
    draw->TexCoord(sR, tB); draw->Vertex(r, t, z);
    draw->TexCoord(sL, tB); draw->Vertex(l, t, z);
  } else {
    draw->TexCoord(s0 + sL * fd, tA); draw->Vertex(l, bo, 0);
    draw->TexCoord(s0 + sR * fd, tA); draw->Vertex(r, bo, 0);
    draw->TexCoord(s0 + sR * fd, tB); draw->Vertex(r, t, 0);
    draw->TexCoord(s0 + sL * fd, tB); draw->Vertex(l, t, 0);
  }
  draw->End();

  // 11. the yellow shell glows: its own picture, larger and faint, behind it
  if (ent->kind == yellowshell) {
    const float z = -0.02f;
    draw->Color4(1, 1, 1, 0.1f);
    draw->LoadIdentity();
    draw->Translate(tx, ty, tz);
    draw->Begin(dpQuads);
    draw->TexCoord(sL, tA); draw->Vertex(l - 32, bo - 32, z);
    draw->TexCoord(sR, tA); draw->Vertex(r + 32, bo - 32, z);
    draw->TexCoord(sR, tB); draw->Vertex(r + 32, t + 32, z);
    draw->TexCoord(sL, tB); draw->Vertex(l - 32, t + 32, z);
    draw->End();
  }
}
