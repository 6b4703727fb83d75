// A small world for the player's tests: player 0 spawned in entity slot 0 as a
// 16 x 32 pixel `man`, a scripted keyboard and a window that records requests.
#pragma once
#include <string>

#include "defs/random.h"
#include "platform/testseams.h"
#include "test_support.h"

struct PlayerWorld : Fresh {
  ScriptKeys keys;
  RecordWindow win;
  TPlayerState* P = &players[0];
  TEntity* E = &Entities[0];

  void SetUp() override {
    Fresh::SetUp();
    InitialiseSinCos();
    for (TEntityKind k : {man, pistol, rock, key1, grenade, grenadeact, wpIcer, bullet, ice, plasma})
      Class(k, k == man ? 16 : 8, k == man ? 32 : 8);
    testing::internal::CaptureStdout();
    SpawnPlayer(man, 753664, 434176, "Vesk");
    testing::internal::GetCapturedStdout();
    E->dy = 0;
    keyboard = &keys;
    window = &win;
  }
  static void Class(TEntityKind k, int w, int h) {
    EntityClass[k] = TEntityClass{};
    EntityClass[k].kind = k;
    EntityClass[k].width = w;
    EntityClass[k].height = h;
    EntityClass[k].mass = 1;
    EntityClass[k].hp = EntityClass[k].lifespan = -1;
  }
  // an entity as a spawn would leave it, at rest
  static TEntity* Place(int slot, TEntityKind k, int32_t x, int32_t y, int32_t score = 0) {
    TEntity* e = &Entities[slot];
    *e = TEntity{};
    e->uid = slot, e->kind = k, e->x = x, e->y = y, e->score = score;
    e->w = EntityClass[k].width * 128, e->h = EntityClass[k].height * 128;
    e->hp = EntityClass[k].hp, e->lifespan = EntityClass[k].lifespan;
    return e;
  }
  void Frame(int f) {   // one idle pass
    keys.SetFrame(f);
    PlayersPreThink();
    PlayerKeyCheck(P);
    PlayerPostThink();
  }
  static int Count(const std::string& s, const std::string& what) {
    int n = 0;
    for (size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + 1)) ++n;
    return n;
  }
};
