// Player 0 spawned in entity slot 0 as a 16 x 32 pixel `man` of mass 1, with
// a scripted keyboard and a window that records its requests.
#pragma once
#include <string>
#include <vector>

#include "defs/random.h"
#include "platform/testseams.h"
#include "test_support.h"

using V = std::vector<int>;

struct PlayerWorld : Fresh {
  ScriptKeys keys;
  RecordWindow win;
  TPlayerState* P = &players[0];
  TEntity* E = &Entities[0];

  void SetUp() override {
    Fresh::SetUp();
    InitialiseSinCos();
    for (TEntityKind k : {man, pistol, icer, blaster, plasmagun, protsuit, rock, key1, grenade, grenadeact,
                          wpIcer, bullet, ice, plasma})
      SpawnEntityClass(k, k == man ? 16 : 8, k == man ? 32 : 8, 0, 1, -1, -1, 0, 0, 0, 0, 0, 0, 0, 0);
    Said([&] { SpawnPlayer(man, 753664, 434176, "Vesk"); });
    E->dy = 0;
    keyboard = &keys;
    window = &win;
  }
  static TEntity* Place(int slot, TEntityKind k, int32_t x, int32_t y, int32_t score = 0) {
    eslot = slot;
    Entities[slot].kind = blank;
    SpawnEntity(k, x, y, blank, 0, flNorm, 0, score);
    Entities[slot].dy = 0;
    return &Entities[slot];
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
