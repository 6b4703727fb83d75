// The class table and its file, spawning and the placement file, ageing and death.
#include <cstdio>

#include "test_entities_fixture.h"

namespace {

std::string WriteFile(const char* name, const std::string& text) {
  std::string path = testing::TempDir() + name;
  FILE* f = std::fopen(path.c_str(), "w");
  std::fputs(text.c_str(), f);
  std::fclose(f);
  return path;
}

int thinks = 0;
void CountThink(TEntity*) { ++thinks; }

}  // namespace

TEST_F(EntWorld, ClassFileFillsKindsInOrderWithDerivedFields) {
  std::string path = WriteFile("c1.ent",
      "classes\n"
      "man 20,5,1,1,10,-1,0,1,20,5,1,4,0,0,0,0\n"
      "urn 3,2,2,1,-1,100,0,0,3,2,1,0,1,0,0,0\n"
      "urnfull 64,64,68,1,3,-1,0,0,64,64,0,0,0,0,0,0\n"
      "1rock 8,8,763,1,3,-1,0,0,8,8,0,0,0,0,0,0\n");
  EXPECT_EQ(Console([&] { InitialiseEntities(path.c_str()); }),
            "spawning entity classes\nspawned class man\nspawned class urn\n"
            "spawned class urnfull\nspawned class 1rock\n");
  const TEntityClass &m = EntityClass[man], &u = EntityClass[urn], &f = EntityClass[urnfull];
  EXPECT_EQ(m.kind, man);
  EXPECT_EQ(m.sprsize, 32);
  EXPECT_EQ(u.sprsize, 4);
  EXPECT_EQ(f.sprsize, 64);
  EXPECT_EQ(m.painlevel, 2);
  EXPECT_EQ(u.painlevel, -1000);
  EXPECT_EQ(f.painlevel, 0);
  EXPECT_FLOAT_EQ(m.framedx, 0.25f);
  EXPECT_EQ(u.framedx, 0.0f);
  EXPECT_EQ(u.lifespan, 100);
  EXPECT_EQ(u.dtype, edtExplosion);
  // the buzzball sprite trails sparks whatever the record says
  EXPECT_EQ(f.particlespray, 1);
  EXPECT_EQ(f.particlecolour, 255);
  EXPECT_EQ(m.particlespray, 0);
  EXPECT_EQ(u.think, UrnThink);
  EXPECT_EQ(m.think, nullptr);
  EXPECT_EQ(EntityClass[rock].sprite, 763);   // five frames 763..767 still fit
}

TEST_F(EntWorld, ClassTableKnowsEveryBehaviour) {
  Class(redimp, 8, 8, 1);
  Class(cyandoorh, 8, 8, 0);
  Class(guidedice, 8, 8, 1);
  Class(button, 8, 8, 0);
  EXPECT_EQ(EntityClass[redimp].think, ImpThink);
  EXPECT_EQ(EntityClass[redimp].hurt, ImpHurt);
  EXPECT_EQ(EntityClass[cyandoorh].think, HoriDoorThink);
  EXPECT_EQ(EntityClass[guidedice].think, GuidedIceThink);
  EXPECT_EQ(EntityClass[button].think, nullptr);
}

TEST_F(EntWorld, ClassLoaderRefusesUnsafeRecordsAndLoadsTheRest) {
  std::string text = "classes\n";
  text += "first 4,4\n";   // unparsed numbers start at zero
  text += "bad1 -4,4,1,1,1,-1,0,0,4,4,0,0,0,0,0,0\n";
  text += "bad2 4,4,768,1,1,-1,0,0,4,4,0,0,0,0,0,0\n";
  text += "1bad3 4,4,764,1,1,-1,0,0,4,4,0,0,0,0,0,0\n";
  text += std::string(120, 'n') + " 4,4,1,1,1,-1,0,0,4,4,0,0,0,0,0,0\n";
  text += "good 6,6,9,2,5,-1,0,0,6,6,0,0,0,0,0,0\n";
  for (int k = 7; k <= 256; ++k) text += "more 2,2,3,1,1,-1,0,0,2,2,0,0,0,0,0,0\n";
  std::string path = WriteFile("c2.ent", text);
  std::string out = Console([&] { InitialiseEntities(path.c_str()); });

  EXPECT_NE(out.find("spawned class first\n"), std::string::npos);
  EXPECT_EQ(EntityClass[1].width, 4);
  EXPECT_EQ(EntityClass[1].sprite, 0);
  EXPECT_EQ(EntityClass[1].mass, 0);
  EXPECT_NE(out.find("class bad1 refused: negative size -4 x 4\n"), std::string::npos);
  EXPECT_NE(out.find("class bad2 refused: sprite 768 outside 0..767\n"), std::string::npos);
  EXPECT_NE(out.find("class 1bad3 refused: sprite 764 outside 0..763\n"), std::string::npos);
  EXPECT_NE(out.find("refused: name longer than 95 characters\n"), std::string::npos);
  for (int k = 2; k <= 5; ++k) EXPECT_EQ(EntityClass[k].kind, blank) << k;
  // kinds keep their place in the file after a refusal
  EXPECT_EQ(EntityClass[6].kind, 6);
  EXPECT_EQ(EntityClass[6].mass, 2);
  EXPECT_EQ(EntityClass[255].kind, 255);
  EXPECT_NE(out.find("class more refused: no room for kind 256\n"), std::string::npos);
}

TEST_F(EntWorld, ClassFileWithOnlyAHeaderOrMissing) {
  std::string path = WriteFile("c3.ent", "classes\n");
  EXPECT_EQ(Console([&] { InitialiseEntities(path.c_str()); }), "spawning entity classes\n");
  EXPECT_EQ(Console([] { InitialiseEntities("/nonexistent/x.ent"); }), "");
}

TEST_F(EntWorld, SlotsFillInOrderAndFreedSlotsWaitForTheWrap) {
  Class(rock, 4, 4, 1);
  for (int i = 0; i < 30; ++i) {
    SpawnEntity(rock, i, 0, blank, 0, flNorm, 0, 0);
    ASSERT_EQ(eslot, i);
    ASSERT_EQ(Entities[i].uid, i);
  }
  Entities[10].kind = blank;
  eslot = 20;
  SpawnEntity(rock, 0, 0, blank, 0, flNorm, 0, 0);
  EXPECT_EQ(eslot, 30);
  while (eslot != 10) {
    int before = eslot;
    SpawnEntity(rock, 0, 0, blank, 0, flNorm, 0, 0);
    ASSERT_NE(eslot, before);
  }
  // the table is now full: nothing changes
  TEntity copy = Entities[10];
  SpawnVelEntity(rock, 5, 5, blank, 0, flNorm, 0, 0, 99, 99, 9);
  CloneEntity(copy);
  EXPECT_EQ(eslot, 10);
  EXPECT_EQ(Entities[10].dx, 0);
  EXPECT_EQ(Entities[10].x, 0);
}

TEST_F(EntWorld, SpawnedEntityStartsFromItsClass) {
  Class(urn, 4, 6, 1, 0, 12, 100);
  watery = 100;
  SpawnEntity(urn, 7, 12801, yellowblob, 3, TFlip(2), 9, 50);
  const TEntity& e = Entities[eslot];
  EXPECT_EQ(e.w, 512);
  EXPECT_EQ(e.h, 768);
  EXPECT_EQ(e.hp, 12);
  EXPECT_EQ(e.dy, 192);
  EXPECT_EQ(e.flipx, 0);
  EXPECT_EQ(e.flipy, 1);
  EXPECT_EQ(e.lifespan, 100 + 41 % 32);   // the first draw of the generator is 41
  EXPECT_EQ(e.inwater, 1);
  SpawnEntity(urn, 7, -5, blank, 0, flNorm, 0, 0);
  EXPECT_EQ(Entities[eslot].inwater, 1);   // above the map counts as under water
  SpawnEntity(urn, 7, 12800, blank, 0, flNorm, 0, 0);
  EXPECT_EQ(Entities[eslot].inwater, 0);
  for (int i = 0; i < 200; ++i) {
    SpawnEntity(urn, 0, 0, blank, 0, flNorm, 0, 0);
    ASSERT_GE(Entities[eslot].lifespan, 100);
    ASSERT_LE(Entities[eslot].lifespan, 131);
  }
}

TEST_F(EntWorld, ProjectileSpeedAlongTheTables) {
  xsin[90] = 524287;
  xsin[270] = -524287;
  SpawnProjectile(bullet, 0, 0, 90, 100);
  EXPECT_EQ(Entities[eslot].dx, 799);
  EXPECT_EQ(Entities[eslot].dy, 0);
  EXPECT_EQ(Entities[eslot].rangle, 90);
  SpawnProjectile(bullet, 0, 0, 270, 100);
  EXPECT_EQ(Entities[eslot].dx, -800);   // the shift rounds toward minus infinity
}

TEST_F(EntWorld, PlacementFileSpawnsAfterThePlayerAndDoorsSayWhere) {
  Class(man, 16, 32, 1);
  Spawn(man, 0, 0);
  std::string path = WriteFile("p1.epo",
      "placements\n"
      "urnfull 3,10,5,7,20,0,0,3,0,50\n"
      "weird 300,1,1,1,1,0,0,0,0,0\n"
      "door 73,5,0,10,0,0,0,0,2,0\n"
      "short 4,1\n");
  eslot = 4;   // the door lands in slot 5
  Entities[1].kind = urn;
  Entities[2].kind = urn;
  Entities[3].kind = urn;
  Entities[4].kind = urn;
  EXPECT_EQ(Console([&] { SpawnEntities(path.c_str()); }),
            "spawning entities\nspawned entity: urnfull\n"
            "entity weird refused: kind 300 outside 0..255\n"
            "Spawned door 6/4096 (73 a000-14000) 2\nspawned entity: door\n"
            "spawned entity: short\n");
  const TEntity& u = Entities[5];
  EXPECT_EQ(u.kind, urnfull);
  EXPECT_EQ(u.x, 82560);
  EXPECT_EQ(u.y, 59904);
  EXPECT_EQ(u.flipx, 1);
  EXPECT_EQ(u.flipy, 1);
  EXPECT_EQ(u.score, 50);
  const TEntity& d = Entities[6];
  EXPECT_EQ(d.isadoor, 1);
  EXPECT_EQ(d.dstate, esLocked);
  EXPECT_EQ(d.counter, 32);
  EXPECT_EQ(d.triggerid, 2);
  // unparsed numbers keep the door record's values
  EXPECT_EQ(Entities[7].kind, rock);
  EXPECT_EQ(Entities[7].x, 8192);
  EXPECT_EQ(Entities[7].y, 81920);
  EXPECT_EQ(Entities[7].triggerid, 2);
  EXPECT_EQ(Console([] { SpawnEntities("/nonexistent/x.epo"); }), "spawning entities\n");
}

TEST_F(EntWorld, LifespanKillsThenFreesAndHealingStopsAtFull) {
  TEntityClass& c = Class(urn, 4, 4, 0, 0, 10, 0, edtNothing);
  c.think = CountThink;
  c.regenrate = 3;
  TEntity* e = Spawn(urn, 0, 0);
  MoveEntity(e);   // killed by age, its behaviour run once more first
  EXPECT_EQ(e->estate, esDying);
  EXPECT_EQ(thinks, 1);
  MoveEntity(e);
  EXPECT_EQ(e->kind, blank);

  c.lifespan = -1;
  e = Spawn(urn, 0, 0);
  e->hp = 5;
  MoveEntity(e);
  EXPECT_EQ(e->hp, 8);
  MoveEntity(e);
  EXPECT_EQ(e->hp, 10);
  e->hp = 1;
  KillEntity(e);
  RegenerateEnt(e, &c);
  EXPECT_EQ(e->hp, 1);   // the dying do not heal
}

TEST_F(EntWorld, EachDamageTypeDiesItsOwnWay) {
  const int types[] = {edtNothing, edtExplosion, edtCombust, edtBurn, edtMachine, edtRicochet,
                       edtBigBang};
  const int particles[] = {0, -1, 63, 0, 0, -1, -1};   // -1: an explosion's worth
  for (int t = 0; t < 7; ++t) {
    ResetGlobals();
    Class(rock, 8, 8, 1, 0, 10, -1, types[t]);
    TEntity* parent = Spawn(rock, 0, 0);
    TEntity* e = Spawn(rock, 100000, 100000);
    e->score = 25;
    e->parentent = parent;
    parent->subtypecount = 2;
    KillEntity(e);
    EXPECT_EQ(e->estate, esDying) << t;
    EXPECT_EQ(players[0].score, 25) << t;
    EXPECT_EQ(parent->subtypecount, 1) << t;
    if (particles[t] < 0)
      EXPECT_GT(LiveParticles(), 0) << t;
    else
      EXPECT_EQ(LiveParticles(), particles[t]) << t;
    DyingEntity(e);
    bool gone = types[t] == edtExplosion || types[t] == edtCombust || types[t] == edtBurn;
    EXPECT_EQ(e->kind == blank, gone) << t;
  }
  // a parent with no offspring counted stays at 0
  Entities[0].subtypecount = 0;
  Entities[1].estate = esAlive;
  KillEntity(&Entities[1]);
  EXPECT_EQ(Entities[0].subtypecount, 0);
}

TEST_F(EntWorld, MachineWreckSpinsAndSmokesFor64Frames) {
  Class(reddalek, 8, 8, 1, 0, 10, -1, edtMachine);
  TEntity* e = Spawn(reddalek, 100000, 100000);
  KillEntity(e);
  EXPECT_EQ(e->lifespan, 64);
  EXPECT_NE(e->dx, 0);
  EXPECT_NE(e->dy, 0);
  EXPECT_EQ(e->dx % 128, 0);
  int frames = 0;
  while (e->kind != blank && frames < 100) {
    MoveEntity(e);
    ++frames;
  }
  EXPECT_EQ(frames, 64);
  EXPECT_EQ(e->rangle, 63 * 8);   // the last frame frees the slot instead
  EXPECT_GT(LiveParticles(), 0);
}

TEST_F(EntWorld, ThePlayersCharacterIsNeverKilled) {
  Class(man, 16, 32, 1, 0, 100);
  TEntity* e = Spawn(man, 0, 0);
  e->score = 7;
  for (int i = 0; i < 8; ++i) KillEntity(e);
  EXPECT_EQ(e->estate, esAlive);
  EXPECT_EQ(players[0].score, 0);
}

TEST_F(EntWorld, RicochetsDieAtRandomAndOthersNever) {
  TEntityClass& c = Class(bullet, 2, 2, 1, 0, 1, -1, edtRicochet);
  TEntity* e = Spawn(bullet, 0, 0);
  CheckRandomKill(e, &c);   // 41 % 4 == 1
  EXPECT_EQ(e->estate, esDying);
  TEntityClass& r = Class(rock, 2, 2, 1, 0, 1, -1, edtExplosion);
  TEntity* k = Spawn(rock, 0, 0);
  uint32_t before = randstate;
  CheckRandomKill(k, &r);
  EXPECT_EQ(k->estate, esAlive);
  EXPECT_EQ(randstate, before);
}

TEST_F(EntWorld, CreaturesFireOnlyOnTheirChanceAndIntoAFreeSlot) {
  Class(man, 16, 32, 1);
  Class(cannon, 8, 8, 0);
  Class(bullet, 2, 2, 1);
  Spawn(man, 8192, 8192);
  TEntity shooter = *Spawn(cannon, 16384, 8192);
  shooter.subtype = bullet;
  int tries = 0;
  while (Entities[2].kind == blank && tries < 1000) {
    EntityFire(shooter);
    ++tries;
  }
  ASSERT_EQ(Entities[2].kind, bullet);
  EXPECT_EQ(Entities[2].dx, 2048);
  EXPECT_EQ(Entities[2].dy, 0);
  EXPECT_GT(tries, 1);
  // with the table full no existing entity is touched
  for (TEntity& e : Entities)
    if (e.kind == blank) e.kind = rock;
  for (int i = 0; i < 1000; ++i) EntityFire(shooter);
  int firing = 0;
  for (const TEntity& e : Entities) firing += e.dx == 2048;
  EXPECT_EQ(firing, 1);
}
