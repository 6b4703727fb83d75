#include "test_creatures_fixture.h"

struct Doors : BehaviourWorld {
  std::vector<std::pair<int, int>> sounds;   // (frame, sound id)
  // runs the door's behaviour over frames [from, to) of the frame counter
  void Run(TEntity* d, TEntityOp think, int from, int to) {
    for (int f = from; f < to; f++) {
      framectr = f, think(d);
      for (int id : Played()) sounds.push_back({f, id});
    }
  }
  // a door in state st touched by a rock moving right
  TEntity* Touch(TEntityKind k, TDoorState st) {
    TEntity* d = Put(1, k, X + 20000, Y, 64, 64);
    d->isadoor = 1, d->dstate = st, d->counter = st == esLocked ? 32 : 16;
    Put(2, rock, d->x - 16 * 128 - 100, Y)->dx = 128;
    EXPECT_EQ(coldet(&Entities[2]), 1);
    return d;
  }
};

// Touched while closed, a vertical door rises one tile in 64 frames with the
// opening sound at its first step and the shutting one at the top, stays open
// five acting frames 8 apart, and comes back down with the opening sound half
// way and the shutting one at the bottom, where it started.
TEST_F(Doors, VerticalDoorWholeCycle) {
  TEntity* d = Touch(greendoor, esClosed);
  EXPECT_EQ((V{d->dstate, d->counter, Entities[2].dx}), (V{esOpening, 16, 128}));
  Run(d, VertDoorThink, 0, 65);
  EXPECT_EQ(d->y, Y - 8192);
  Run(d, VertDoorThink, 65, 105);
  EXPECT_EQ(d->dstate, esOpen);
  Run(d, VertDoorThink, 105, 400);
  EXPECT_EQ((V{d->dstate, d->counter, d->y}), (V{esClosed, 16, Y}));
  EXPECT_EQ(sounds, (std::vector<std::pair<int, int>>{
                        {1, es_dooropen}, {65, es_doorshut}, {141, es_dooropen}, {173, es_doorshut}}));
}

// A horizontal door slides one tile left in 64 frames, stays open five acting
// frames 4 apart, and slides back in 16 acting frames 8 apart to where it
// started, silently. A locked door touched bounces the mover and stays shut.
TEST_F(Doors, HorizontalDoorCycleAndLockedDoor) {
  TEntity* d = Touch(tiledoorh, esClosed);
  Run(d, HoriDoorThink, 0, 65);
  EXPECT_EQ(d->x, X + 20000 - 8192);
  Run(d, HoriDoorThink, 65, 85);
  EXPECT_EQ(d->dstate, esOpen);
  Run(d, HoriDoorThink, 85, 217);
  EXPECT_EQ((V{d->dstate, d->x}), (V{esClosing, X + 20000}));
  Run(d, HoriDoorThink, 217, 218);
  EXPECT_EQ(d->dstate, esClosed);

  d = Touch(greendoor, esLocked);
  EXPECT_EQ(Entities[2].dx, -64);
  Run(d, VertDoorThink, 0, 600);
  EXPECT_EQ((V{d->dstate, d->y}), (V{esLocked, Y}));
  EXPECT_TRUE(sounds.empty());
}
