// The world digest and the tables' invariants (see digest.h).
#include "app/digest.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "defs/random.h"
#include "game.h"
#include "sound/quarnsound.h"

void Fnv64::Text(const char* s, size_t cap) {
  size_t n = 0;
  while (n < cap && s[n]) ++n;
  U32(uint32_t(n));
  Bytes(reinterpret_cast<const uint8_t*>(s), n);
}

namespace {

// Every behaviour operation the class table can hold, in a fixed order: an
// operation's id is its place here plus one. Append new ones at the end.
const TEntityOp kOperations[] = {
    BirdThink,        BirdMoveRandom,  WaspThink,       WaspMoveRandom,   BuzzBallThink,
    BurgerThink,      DalekThink,      ImpThink,        ImpHurt,          ImpClimb,
    GargoyleThink,    MaggotThink,     RedGlookThink,   ChatterThink,     TeleBotThink,
    BigFishThink,     FishThink,       FrogThink,       FluffyThink,      HarryThink,
    TriaxThink,       GuidedIceThink,  VertDoorThink,   HoriDoorThink,    MonsterNestThink,
    SpawnerNestThink, DropperThink,    UrnThink,        PowerPodThink,    FireThink,
    GrenadeThink,     GrenadeActThink, SuckNestThink,   ShroomThink,      KillEntity,
    DyingEntity,      MoveEntity,      ClampDxDy,       DoMoveEntity,     DisplayEntity,
};

void HashEntity(Fnv64& f, const TEntity& e) {
  f.I32(e.uid);
  f.I32(e.kind);
  f.I32(e.x);
  f.I32(e.y);
  f.I32(e.w);
  f.I32(e.h);
  f.I32(e.hp);
  f.I32(e.dx);
  f.I32(e.dy);
  f.I32(e.lifespan);
  f.I32(e.flipx);
  f.I32(e.flipy);
  f.I32(e.sprite);
  f.I32(e.frame);
  f.I32(e.subtype);
  f.I32(e.subtypemax);
  f.I32(e.subtypecount);
  f.I32(e.inwater);
  f.I32(e.awake);
  f.I32(e.estate);
  f.I32(e.dstate);
  f.I32(EntityRef(e.parentent));
  f.I32(e.rangle);
  f.I32(e.triggerid);
  f.I32(e.triggered);
  f.I32(e.score);
  f.I32(e.counter);
  f.I32(e.isadoor);
  f.I32(e.locked);
  f.I32(EntityRef(e.target));
}

uint32_t FloatBits(float v) {
  uint32_t u;
  std::memcpy(&u, &v, sizeof u);
  return u;
}

uint64_t DigestFrame() {
  Fnv64 f;
  f.I32(framectr);
  f.I32(zoomfac);
  f.I32(winW);
  f.I32(winH);
  f.I32(mouseX);
  f.I32(mouseY);
  f.I32(mouseB);
  f.I32(mnu_disp);
  f.I32(hud_disp);
  f.I32(oldx);
  f.I32(oldy);
  for (int d = 0; d < 360; ++d) {
    f.I32(xsin[d]);
    f.I32(xcos[d]);
  }
  f.Text(MapEditState.mapname, sizeof MapEditState.mapname);
  f.I32(MapEditState.editing);
  f.I32(MapEditState.tileset);
  f.I32(MapEditState.tile);
  f.I32(MapEditState.tileflip);
  f.I32(MapEditState.saving);
  f.I32(mapx);
  f.I32(mapy);
  f.I32(ax);
  f.I32(ay);
  f.I32(mnu_hit);
  f.I32(hud_hit);
  f.I32(face_hit);
  f.I32(rem_hit);
  f.I32(tel_hit);
  f.I32(maped_hit);
  f.U32(randstate);
  return f.h;
}

uint64_t DigestMap() {
  Fnv64 f;
  for (int x = 0; x < MAP_TILES; ++x)
    for (int y = 0; y < MAP_TILES; ++y) f.U32(mapt[x][y]);
  f.Bytes(mapmasks[0], sizeof mapmasks[0]);
  f.Bytes(mapmasks[1], sizeof mapmasks[1]);
  return f.h;
}

uint64_t DigestClasses() {
  Fnv64 f;
  for (const TEntityClass& c : EntityClass) {
    f.I32(c.kind);
    f.I32(c.width);
    f.I32(c.height);
    f.I32(c.sprsize);
    f.I32(c.sprite);
    f.I32(c.mass);
    f.I32(c.hp);
    f.I32(c.painlevel);
    f.I32(c.regenrate);
    f.I32(c.lifespan);
    f.I32(c.holdable);
    f.I32(c.storeable);
    f.I32(c.canwalk);
    f.I32(c.particlespray);
    f.I32(c.hasgravity);
    f.I32(c.particlecolour);
    f.Text(c.name, sizeof c.name);
    f.I32(c.dmg);
    f.I32(c.dtype);
    f.I32(c.dtypecolour);
    f.I32(c.dieoncontact);
    f.I32(c.diesinwater);
    f.I32(c.score);
    f.U32(FloatBits(c.framedx));
    f.I32(OperationId(c.think));
    f.I32(OperationId(c.hurt));
  }
  return f.h;
}

uint64_t DigestEntities() {
  Fnv64 f;
  for (const TEntity& e : Entities) HashEntity(f, e);
  f.I32(eslot);
  return f.h;
}

uint64_t DigestPlayers() {
  Fnv64 f;
  for (const TPlayerState& p : players) {
    f.I32(p.ent);
    f.I32(p.fountain);
    f.I32(p.jetactive);
    f.I32(p.boost);
    f.I32(p.vangle);
    f.I32(p.aimdx);
    f.I32(p.active);
    f.Text(p.name, sizeof p.name);
    f.I32(p.frags);
    f.I32(p.firecount);
    f.I32(p.score);
    for (int i = 0; i < 4; ++i) {
      f.I32(p.tx[i]);
      f.I32(p.ty[i]);
    }
    for (const TEntity& o : p.obs) HashEntity(f, o);
    HashEntity(f, p.held);
    for (int32_t v : p.nrg) f.I32(v);
    for (int32_t v : p.equip) f.I32(v);
    for (int32_t v : p.passes) f.I32(v);
  }
  return f.h;
}

uint64_t DigestParticles() {
  Fnv64 f;
  for (const TParticle& p : Particles) {
    f.I32(p.colour);
    f.I32(p.x);
    f.I32(p.y);
    f.I32(p.dx);
    f.I32(p.dy);
    f.I32(p.lifespan);
    f.I32(p.ptype);
  }
  f.I32(pslot);
  return f.h;
}

uint64_t DigestFountains() {
  Fnv64 f;
  for (const TFountain& q : Fountains) {
    f.I32(q.colour);
    f.I32(q.x);
    f.I32(q.y);
    f.I32(q.dx);
    f.I32(q.dy);
    f.I32(q.vx);
    f.I32(q.vy);
    f.I32(q.ctr);
    f.I32(q.freq);
    f.I32(q.lifespan);
  }
  f.I32(fslot);
  return f.h;
}

uint64_t DigestWinds() {
  Fnv64 f;
  for (const TWindArea& w : WindAreas) {
    f.I32(w.x);
    f.I32(w.y);
    f.I32(w.width);
    f.I32(w.height);
    f.I32(w.vx);
    f.I32(w.vy);
    f.I32(w.wsize);
  }
  f.I32(wslot);
  f.I32(ml);
  f.I32(mr);
  f.I32(watery);
  f.I32(waterbob);
  f.I32(wbobdx);
  f.I32(wtop);
  return f.h;
}

uint64_t DigestTriggers() {
  Fnv64 f;
  for (const TTrigger& t : Triggers) {
    f.I32(t.id);
    f.I32(t.x);
    f.I32(t.y);
    f.I32(t.w);
    f.I32(t.h);
    f.I32(t.triggered);
  }
  f.I32(tslot);
  return f.h;
}

uint64_t DigestSound() {
  Fnv64 f;
  f.I32(qusnd != nullptr ? 1 : 0);
  for (int32_t v : QuarnSFX) f.I32(v);
  f.I32(qusnd_sndbufidx);
  for (int32_t v : QuarnSFXRetired) f.I32(v);
  for (int32_t v : QuarnSFXCacheSize) f.I32(v);
  return f.h;
}

}  // namespace

int32_t OperationId(TEntityOp op) {
  if (op == nullptr) return 0;
  for (size_t i = 0; i < sizeof kOperations / sizeof kOperations[0]; ++i)
    if (kOperations[i] == op) return int32_t(i + 1);
  return 0xFFFF;
}

int32_t EntityRef(const TEntity* e) {
  if (e == nullptr) return -1;
  if (e >= Entities && e < Entities + MAX_ENTITIES) return int32_t(e - Entities);
  for (int p = 0; p < MAX_PLAYERS; ++p) {
    if (e == &players[p].held) return 10000 + p;
    for (int i = 0; i < 4; ++i)
      if (e == &players[p].obs[i]) return 20000 + 4 * p + i;
  }
  return -2;
}

WorldDigest DigestWorld() {
  WorldDigest d{};
  d.frame = DigestFrame();
  d.map = DigestMap();
  d.classes = DigestClasses();
  d.entities = DigestEntities();
  d.players = DigestPlayers();
  d.particles = DigestParticles();
  d.fountains = DigestFountains();
  d.winds = DigestWinds();
  d.triggers = DigestTriggers();
  d.sound = DigestSound();
  Fnv64 f;
  for (uint64_t v : {d.frame, d.map, d.classes, d.entities, d.players, d.particles, d.fountains,
                     d.winds, d.triggers, d.sound})
    f.U64(v);
  d.all = f.h;
  return d;
}

void FormatDigest(const WorldDigest& d, char* out, size_t size) {
  using ull = unsigned long long;
  std::snprintf(out, size,
                "all=%016llx frame=%016llx map=%016llx classes=%016llx entities=%016llx "
                "players=%016llx particles=%016llx fountains=%016llx winds=%016llx "
                "triggers=%016llx sound=%016llx",
                ull(d.all), ull(d.frame), ull(d.map), ull(d.classes), ull(d.entities),
                ull(d.players), ull(d.particles), ull(d.fountains), ull(d.winds),
                ull(d.triggers), ull(d.sound));
}

namespace {

bool Broken(char* why, size_t size, const char* fmt, int a, int b = 0) {
  std::snprintf(why, size, fmt, a, b);
  return false;
}

// An entity pointer must be null or point at an entity record of the tables.
bool RefOk(const TEntity* e) { return EntityRef(e) != -2; }

bool EntityOk(const TEntity& e) {
  return e.kind >= 0 && e.kind < MAX_CLASSES && RefOk(e.parentent) && RefOk(e.target);
}

}  // namespace

bool CheckWorldInvariants(char* why, size_t size) {
  if (framectr < 0 || framectr > 511) return Broken(why, size, "framectr %d outside 0..511", framectr);
  if (zoomfac < 128 || zoomfac > 256)
    return Broken(why, size, "zoomfac %d outside 128..256", zoomfac);
  if (eslot < 0 || eslot >= MAX_ENTITIES) return Broken(why, size, "eslot %d outside 0..4095", eslot);
  if (pslot < 0 || pslot >= MAX_PARTICLES)
    return Broken(why, size, "pslot %d outside 0..65534", pslot);
  if (fslot < 0 || fslot >= MAX_FOUNTAINS) return Broken(why, size, "fslot %d outside 0..127", fslot);
  if (wslot < 0 || wslot > MAX_WINDS) return Broken(why, size, "wslot %d outside 0..32", wslot);
  if (tslot < 0 || tslot > MAX_TRIGGERS) return Broken(why, size, "tslot %d outside 0..32", tslot);
  if (players[0].ent < 0 || players[0].ent >= MAX_ENTITIES)
    return Broken(why, size, "player 0's entity index %d outside 0..4095", players[0].ent);
  if (MapEditState.tile < 0 || MapEditState.tile > 255)
    return Broken(why, size, "editor tile %d outside 0..255", MapEditState.tile);
  if (MapEditState.tileflip < mtNorm || MapEditState.tileflip > mtXY)
    return Broken(why, size, "editor tile flip %d outside 0..3", MapEditState.tileflip);
  const TEditorState& ed = EditorState;
  if (ed.undos < 0 || ed.undos > EDIT_HISTORY || ed.next < 0 || ed.next >= EDIT_HISTORY ||
      ed.unsaved < ed.undos)
    return Broken(why, size, "editor history: %d cells to undo, %d unsaved", ed.undos, ed.unsaved);
  for (int i = 0; i < MAX_ENTITIES; ++i) {
    const TEntity& e = Entities[i];
    if (!EntityOk(e))
      return Broken(why, size, "entity %d: kind %d or an entity pointer is out of the tables", i,
                    e.kind);
  }
  for (int p = 0; p < MAX_PLAYERS; ++p) {
    if (!EntityOk(players[p].held))
      return Broken(why, size, "player %d's held record is out of range (kind %d)", p,
                    players[p].held.kind);
    for (const TEntity& o : players[p].obs)
      if (!EntityOk(o))
        return Broken(why, size, "player %d's remembered record is out of range (kind %d)", p,
                      o.kind);
  }
  for (int i = 0; i < MAX_PARTICLES; ++i) {
    const TParticle& q = Particles[i];
    if (q.colour != 0 && (q.ptype < ptDot || q.ptype > ptColdetGravDot))
      return Broken(why, size, "particle %d: type %d outside 0..5", i, q.ptype);
  }
  return true;
}
