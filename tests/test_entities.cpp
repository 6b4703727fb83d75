// The class file, spawning and the placement file, ageing and death.
#include <algorithm>
#include <cstdio>

#include "test_entities_fixture.h"

namespace {

// console output of loading the file, without the image loader's own lines
template <class Load>
std::string Console(const std::string& text, Load load) {
  std::string path = testing::TempDir() + "entities_test_file";
  FILE* f = std::fopen(path.c_str(), "w");
  std::fputs(text.c_str(), f);
  std::fclose(f);
  std::string all = Said([&] { load(path.c_str()); }), out;
  for (size_t at = 0; at < all.size();) {
    size_t end = std::min(all.find('\n', at), all.size() - 1) + 1;
    if (all.compare(at, 13, "spawned frame") != 0) out += all.substr(at, end - at);
    at = end;
  }
  return out;
}

int thinks = 0;
void CountThink(TEntity*) { ++thinks; }

}  // namespace

TEST_F(EntWorld, ClassFileFillsKindsInOrder) {
  EXPECT_EQ(Console("classes\n"
                    "man 20,5,1,1,10,-1,0,1,20,5,1,4,0,0,0,0\n"
                    "urn 3,2,2,1,-1,100,0,0,3,2,1,0,1,0,0,0\n"
                    "1urnfull 64,64,68,1,3,-1,0,0,64,64,0,0,0,0,0,0\n",
                    InitialiseEntities),
            "spawning entity classes\nspawned class man\nspawned class urn\n"
            "spawned class 1urnfull\n");
  const TEntityClass &m = EntityClass[man], &u = EntityClass[urn], &f = EntityClass[urnfull];
  EXPECT_EQ((Ints{m.sprsize, u.sprsize, f.sprsize}), (Ints{32, 4, 64}));
  EXPECT_EQ((Ints{m.painlevel, u.painlevel, f.painlevel}), (Ints{2, -1000, 0}));
  EXPECT_EQ((std::vector<float>{m.framedx, u.framedx}), (std::vector<float>{0.25f, 0}));
  EXPECT_EQ((Ints{u.lifespan, u.dtype, f.particlespray, f.particlecolour}),
            (Ints{100, edtExplosion, 1, 255}));
  EXPECT_TRUE(u.think == UrnThink && m.think == nullptr);
  EXPECT_EQ(Class(cyandoorh, 8, 8, 0).think, HoriDoorThink);
  EXPECT_EQ(Console("classes\n", InitialiseEntities), "spawning entity classes\n");
}

TEST_F(EntWorld, ClassLoaderRefusesUnsafeRecordsAndLoadsTheRest) {
  std::string text = "classes\nfirst 4,4\n";   // unparsed numbers start at zero
  text += "bad1 -4,4,1,1,1,-1,0,0,4,4,0,0,0,0,0,0\n";
  text += "bad2 4,4,768,1,1,-1,0,0,4,4,0,0,0,0,0,0\n";
  text += "1bad3 4,4,764,1,1,-1,0,0,4,4,0,0,0,0,0,0\n";
  text += std::string(120, 'n') + " 4,4,1,1,1,-1,0,0,4,4,0,0,0,0,0,0\n";
  for (int k = 6; k <= 256; ++k) text += "more 6,6,9,2,5,-1,0,0,6,6,0,0,0,0,0,0\n";
  std::string out = Console(text, InitialiseEntities);
  for (const char* line : {"spawned class first\n", "class bad1 refused: negative size -4 x 4\n",
                           "class bad2 refused: sprite 768 outside 0..767\n",
                           "class 1bad3 refused: sprite 764 outside 0..763\n",
                           "refused: name longer than 95 characters\n",
                           "class more refused: no room for kind 256\n"})
    EXPECT_NE(out.find(line), std::string::npos) << line;
  // refused kinds stay empty; later kinds keep their place in the file
  Ints kinds;
  for (int k = 1; k <= 6; ++k) kinds.push_back(EntityClass[k].kind);
  EXPECT_EQ(kinds, (Ints{1, 0, 0, 0, 0, 6}));
  EXPECT_EQ((Ints{EntityClass[1].width, EntityClass[1].mass, EntityClass[255].mass}),
            (Ints{4, 0, 2}));
}

TEST_F(EntWorld, SlotsFillInOrderAndFreedSlotsWaitForTheWrap) {
  Class(rock, 4, 4, 1, 0, -1, 100);
  for (int i = 0; i < 30; ++i) {
    SpawnEntity(rock, i, 0, blank, 0, flNorm, 0, 0);
    ASSERT_EQ((Ints{eslot, Entities[i].uid}), (Ints{i, i}));
    ASSERT_GE(Entities[i].lifespan, 100);
    ASSERT_LE(Entities[i].lifespan, 131);
  }
  EXPECT_EQ(Entities[0].lifespan, 100 + 41 % 32);   // the generator's first value is 41
  Entities[10].kind = blank;
  eslot = 20;
  SpawnEntity(rock, 0, 0, blank, 0, flNorm, 0, 0);
  EXPECT_EQ(eslot, 30);
  for (int before = eslot; eslot != 10; before = eslot) {
    SpawnEntity(rock, 0, 0, blank, 0, flNorm, 0, 0);
    ASSERT_NE(eslot, before);
  }
  // full: nothing changes
  SpawnVelEntity(rock, 5, 5, blank, 0, flNorm, 0, 0, 99, 99, 9);
  CloneEntity(Entities[3]);
  EXPECT_EQ((Ints{eslot, Entities[10].x, Entities[10].dx}), (Ints{10, 0, 0}));
}

TEST_F(EntWorld, PlacementFileSpawnsAfterThePlayerAndDoorsSayWhere) {
  Spawn(man, 0, 0);
  for (int i = 1; i <= 4; ++i) Entities[i].kind = urn;
  eslot = 4;
  EXPECT_EQ(Console("placements\n"
                    "urnfull 3,10,5,7,20,0,0,3,0,50\n"
                    "weird 300,1,1,1,1,0,0,0,0,0\n"
                    "door 73,5,0,10,0,0,0,0,2,0\n"
                    "short 4,1\n" +
                        std::string(130, 'd') + " 4,1,1,1,1,0,0,0,0,0\n",
                    SpawnEntities),
            "spawning entities\nspawned entity: urnfull\n"
            "entity weird refused: kind 300 outside 0..255\n"
            "Spawned door 6/4096 (73 a000-14000) 2\nspawned entity: door\n"
            "spawned entity: short\nspawned entity: " +
                std::string(130, 'd') + "\n");   // printed whole
  const TEntity &u = Entities[5], &d = Entities[6], &s = Entities[7];
  EXPECT_EQ((Ints{u.kind, u.x, u.y, u.flipx, u.flipy, u.score}),
            (Ints{urnfull, 82560, 59904, 1, 1, 50}));
  EXPECT_EQ((Ints{d.isadoor, d.dstate, d.counter}), (Ints{1, esLocked, 32}));
  // unparsed numbers keep the door record's values
  EXPECT_EQ((Ints{s.kind, s.x, s.y, s.triggerid}), (Ints{rock, 8192, 81920, 2}));
  EXPECT_EQ(Console("", [](const char*) { SpawnEntities("/nonexistent/x.epo"); }),
            "spawning entities\n");
  // deeper than the line is in water, on it is not; above the map counts as under water
  EXPECT_EQ((Ints{Spawn(rock, 0, 20000 * 128 + 1)->inwater, Spawn(rock, 0, 20000 * 128)->inwater,
                  Spawn(rock, 0, -5)->inwater}),
            (Ints{1, 0, 1}));
}

TEST_F(EntWorld, LifespanKillsThenFreesAndTimesTheWreck) {
  Class(urn, 4, 4, 0, 0, 10, 0).think = CountThink;
  TEntity* e = Spawn(urn, 0, 0);
  MoveEntity(e);   // killed by age, after its behaviour's last run
  EXPECT_EQ((Ints{e->estate, thinks, e->kind}), (Ints{esDying, 1, urn}));
  MoveEntity(e);
  EXPECT_EQ(e->kind, blank);

  Class(reddalek, 8, 8, 1, 0, 10, -1, edtMachine).think = nullptr;
  TEntity* w = Spawn(reddalek, 100000, 100000);
  KillEntity(w);
  EXPECT_EQ(w->lifespan, 64);
  EXPECT_TRUE(w->dx != 0 && w->dy != 0 && w->dx % 128 == 0 && w->dy % 128 == 0);
  int frames = 0;
  for (; w->kind != blank && frames < 100; ++frames) MoveEntity(w);
  EXPECT_EQ((Ints{frames, w->rangle}), (Ints{64, 63 * 8}));   // the last frame frees it
  EXPECT_GT(LiveParticles(), 0);
}

TEST_F(EntWorld, EachDamageTypeDiesItsOwnWay) {
  // particles at the moment of death (-1: an explosion's worth), gone next frame
  const int particles[] = {0, -1, 63, 0, 0, -1, -1};
  const bool gone[] = {false, true, true, true, false, false, false};
  for (int t = edtNothing; t <= edtBigBang; ++t) {
    ResetGlobals();
    Class(rock, 8, 8, 1, 0, 10, -1, t);
    TEntity* parent = Spawn(rock, 0, 0);
    TEntity* e = Spawn(rock, 100000, 100000);
    e->score = 25;
    e->parentent = parent;
    parent->subtypecount = t % 2;
    KillEntity(e);
    EXPECT_EQ((Ints{e->estate, players[0].score, parent->subtypecount}), (Ints{esDying, 25, 0}));
    int n = LiveParticles();
    EXPECT_TRUE(particles[t] < 0 ? n > 0 : n == particles[t]) << t << ": " << n;
    DyingEntity(e);
    EXPECT_EQ(e->kind == blank, gone[t]) << t;
  }
  // the player's character is never killed and yields no score
  Class(man, 16, 32, 1, 0, 100);
  TEntity* p = Spawn(man, 0, 0);
  p->score = 7;
  for (int i = 0; i < 8; ++i) KillEntity(p);
  EXPECT_EQ((Ints{p->estate, players[0].score}), (Ints{esAlive, 25}));
  // but one call in four (a draw of 1 modulo 4) teleports player 0
  players[0].ent = int(p - Entities), players[0].tx[0] = 777, p->x = 5;
  Seed([] { return Rand() % 4 != 1; });
  KillEntity(p);
  const int32_t stayed = p->x;
  Seed([] { return Rand() % 4 == 1; });
  KillEntity(p);
  EXPECT_EQ((Ints{stayed, p->x}), (Ints{5, 777}));
  // a ricochet dies on a strike when r % 4 is 1: draws 18467, 6334, 26500, 19169
  TEntityClass& r = Class(bullet, 2, 2, 1, 0, 1, -1, edtRicochet);
  TEntity* b = Spawn(bullet, 0, 0);
  ResetRand();
  Rand();
  for (int i = 0; i < 3; ++i) CheckRandomKill(b, &r);
  EXPECT_EQ(b->estate, esAlive);
  CheckRandomKill(b, &r);
  EXPECT_EQ(b->estate, esDying);
}

TEST_F(EntWorld, CreaturesFireOnTheirChanceAndOnlyIntoAFreeSlot) {
  Class(bullet, 2, 2, 1);
  Spawn(man, 8192, 8192);
  TEntity shooter = *Spawn(cannon, 16384, 8192);
  shooter.subtype = bullet;
  int tries = 0;
  for (; Entities[2].kind == blank && tries < 1000; ++tries) EntityFire(shooter);
  EXPECT_GT(tries, 1);
  EXPECT_EQ((Ints{Entities[2].kind, Entities[2].dx, Entities[2].dy}), (Ints{bullet, 2048, 0}));
  for (TEntity& e : Entities)
    if (e.kind == blank) e.kind = rock;
  for (int i = 0; i < 1000; ++i) EntityFire(shooter);
  int firing = 0;
  for (const TEntity& e : Entities) firing += e.dx == 2048;
  EXPECT_EQ(firing, 1);   // a full table: no other entity was set flying
}
