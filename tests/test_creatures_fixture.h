// The behaviour tests' world: the player's entity in slot 0 on an open map,
// and a recording sound device whose every effect is a one-sample WAV holding
// its own sound id, so that each play tells which effect it was.
#pragma once
#include <vector>

#include "defs/random.h"
#include "platform/fakeaudio.h"
#include "sound/quarnsound.h"
#include "test_support.h"

using V = std::vector<int>;

struct BehaviourWorld : Fresh {
  FakeAudio fake;
  static constexpr int32_t X = 100 * 8192, Y = 100 * 8192;   // the player's corner
  TEntity* E0 = nullptr;

  void SetUp() override {
    Fresh::SetUp();
    fake.Open();
    qusnd = audio = &fake;
    for (uint8_t id = 0; id < 20; id++) {
      QuarnSFXCache[id] = new uint8_t[45]{'R', 'I', 'F', 'F', 37, 0, 0, 0, 'W', 'A', 'V', 'E', 'f',
                                          'm', 't', ' ', 16, 0, 0, 0, 1, 0, 1, 0, 64, 31, 0, 0, 64,
                                          31, 0, 0, 1, 0, 8, 0, 'd', 'a', 't', 'a', 1, 0, 0, 0, id};
      QuarnSFXCacheSize[id] = 45;
    }
    E0 = Put(0, man, X, Y, 16, 32);
  }
  void TearDown() override { ResetSoundGlobals(), Fresh::TearDown(); }
  // the effects played since the last call, in order
  V Played() {
    V ids;
    for (const FakeAudio::PlayCall& p : fake.plays) ids.push_back(fake.buffers[p.buffer - 1].pcm[0]);
    fake.plays.clear(), fake.FinishAll();
    return ids;
  }
  // an entity at rest whose class is w x h pixels, mass 1, invulnerable
  static TEntity* Put(int slot, TEntityKind k, int32_t x, int32_t y, int w = 16, int h = 16) {
    TEntityClass& c = EntityClass[k];
    c.kind = k, c.width = w, c.height = h, c.mass = 1, c.hp = c.lifespan = -1;
    TEntity* e = &Entities[slot];
    *e = TEntity{};
    e->uid = slot, e->kind = k, e->x = x, e->y = y, e->w = w * 128, e->h = h * 128;
    e->hp = e->lifespan = -1;
    return e;
  }
  static int Count(TEntityKind k) {
    int n = 0;
    for (const TEntity& e : Entities) n += e.kind == k && e.estate != esDying;
    return n;
  }
};
