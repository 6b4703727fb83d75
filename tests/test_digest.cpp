// The world digest sees every part of the state and nothing that is not state
// (addresses, bytes past a name's terminator), and the invariant check catches
// each broken table.
#include <cstring>

#include "app/digest.h"
#include "defs/random.h"
#include "sound/quarnsound.h"
#include "test_support.h"

namespace {

using DigestOf = uint64_t WorldDigest::*;

struct Change {
  const char* what;
  DigestOf part;
  void (*apply)();
};

const Change kChanges[] = {
    {"frame counter", &WorldDigest::frame, [] { framectr = 7; }},
    {"random state", &WorldDigest::frame, [] { Rand(); }},
    {"editor tile flip", &WorldDigest::frame, [] { MapEditState.tileflip = mtXY; }},
    {"a key latch", &WorldDigest::frame, [] { tel_hit = 1; }},
    {"last tile word", &WorldDigest::map, [] { mapt[255][255] = 1; }},
    {"last mask byte", &WorldDigest::map, [] { mapmasks[1][1024 * 1024 - 1] = 255; }},
    {"a class's think", &WorldDigest::classes, [] { EntityClass[40].think = BirdThink; }},
    {"a class's frame step", &WorldDigest::classes, [] { EntityClass[3].framedx = 0.5f; }},
    {"last entity's target", &WorldDigest::entities, [] { Entities[4095].target = &Entities[1]; }},
    {"entity cursor", &WorldDigest::entities, [] { eslot = 9; }},
    {"last player's held record", &WorldDigest::players, [] { players[14].held.hp = 3; }},
    {"a remembered record", &WorldDigest::players, [] { players[0].obs[3].kind = rock; }},
    {"last particle", &WorldDigest::particles, [] { Particles[65534].lifespan = 1; }},
    {"particle cursor", &WorldDigest::particles, [] { pslot = 3; }},
    {"last fountain", &WorldDigest::fountains, [] { Fountains[127].freq = 2; }},
    {"last wind area", &WorldDigest::winds, [] { WindAreas[31].wsize = 4; }},
    {"water bob", &WorldDigest::winds, [] { waterbob = 1; }},
    {"last trigger", &WorldDigest::triggers, [] { Triggers[31].triggered = 1; }},
    {"a sound slot", &WorldDigest::sound, [] { QuarnSFX[3] = 5; }},
};

TEST_F(Fresh, DigestChangesWithEveryPartOfTheStateAndOnlyInThatPart) {
  const WorldDigest before = DigestWorld();
  for (const Change& c : kChanges) {
    SCOPED_TRACE(c.what);
    ResetGlobals();
    c.apply();
    WorldDigest after = DigestWorld();
    EXPECT_NE(after.*c.part, before.*c.part);
    EXPECT_NE(after.all, before.all);
    int changed = 0;
    for (DigestOf p : {&WorldDigest::frame, &WorldDigest::map, &WorldDigest::classes,
                       &WorldDigest::entities, &WorldDigest::players, &WorldDigest::particles,
                       &WorldDigest::fountains, &WorldDigest::winds, &WorldDigest::triggers,
                       &WorldDigest::sound})
      changed += after.*p != before.*p;
    EXPECT_EQ(changed, 1);
  }
  ResetGlobals();
  EXPECT_EQ(DigestWorld().all, before.all);
}

TEST_F(Fresh, DigestSeesSlotsNotAddressesNorStaleNameBytes) {
  // Two entities pointing at the same slot digest alike whichever copy of the
  // table they live in; pointing at another slot does not.
  Entities[3].parentent = &Entities[7];
  uint64_t a = DigestWorld().entities;
  Entities[3].parentent = &Entities[8];
  EXPECT_NE(DigestWorld().entities, a);
  Entities[3].parentent = &Entities[7];
  EXPECT_EQ(DigestWorld().entities, a);

  // A name is its text: bytes after the terminator are not state.
  std::strcpy(EntityClass[5].name, "rock");
  uint64_t named = DigestWorld().classes;
  EntityClass[5].name[10] = 'x';
  EXPECT_EQ(DigestWorld().classes, named);
  EntityClass[5].name[1] = 'a';
  EXPECT_NE(DigestWorld().classes, named);
}

struct Breakage {
  const char* what;
  void (*apply)();
};

TEST_F(Fresh, InvariantCheckCatchesEachBrokenTable) {
  zoomfac = 256;
  char why[256];
  ASSERT_TRUE(CheckWorldInvariants(why, sizeof why)) << why;
  static TEntity outside;
  const Breakage breaks[] = {
      {"framectr", [] { framectr = 512; }},
      {"zoomfac", [] { zoomfac = 124; }},
      {"eslot", [] { eslot = 4096; }},
      {"pslot", [] { pslot = -1; }},
      {"fslot", [] { fslot = 128; }},
      {"player 0's entity", [] { players[0].ent = 4096; }},
      {"entity 4095", [] { Entities[4095].kind = TEntityKind(256); }},
      {"entity 12", [] { Entities[12].target = &outside; }},
      {"player 3's held", [] { players[3].held.kind = TEntityKind(-1); }},
      {"particle 65534", [] { Particles[65534] = {1, 0, 0, 0, 0, 5, TParticleType(6)}; }},
      {"editor tile", [] { MapEditState.tile = 256; }},
      {"editor history", [] { EditorState.undos = 2; }},   // more than there are unsaved cells
  };
  for (const Breakage& b : breaks) {
    SCOPED_TRACE(b.what);
    ResetGlobals();
    b.apply();
    why[0] = 0;
    EXPECT_FALSE(CheckWorldInvariants(why, sizeof why));
    EXPECT_GT(std::strlen(why), 10u);
  }
  // A free particle's type is not looked at; kinds up to 255 are allowed.
  ResetGlobals();
  Particles[9].ptype = TParticleType(77);
  Entities[4].kind = TEntityKind(255);
  EXPECT_TRUE(CheckWorldInvariants(why, sizeof why)) << why;
}

}  // namespace
