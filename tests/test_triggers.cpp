#include <cstdio>
#include <fstream>
#include <string>

#include "defs/random.h"
#include "test_support.h"

// Writes a trigger file and loads it, answering the console output.
struct TriggerFile : Fresh {
  std::string path = testing::TempDir() + "quarn_triggers.trg";
  std::string Load(const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
    return Said([&] { InitialiseTriggers(path.c_str()); });
  }
  static std::string Check(int32_t x, int32_t y) {
    return Said([&] { CheckTriggers(x, y); });
  }
  static void Carrier(int slot, int32_t id) { Entities[slot].kind = rock, Entities[slot].triggerid = id; }
};

// Records fill slots 1, 2, ... in world units with right and bottom edges. An
// overlong label, numbers that do not parse (without reusing the last
// record's) and records past slot 31 are each refused with a line; a refused
// record takes the rest of its line with it and nothing more, so reading goes
// on with the next record, even through garbage. The reader tells each
// record's line.
TEST_F(TriggerFile, LoadsGoodRecordsAndRefusesBadOnes) {
  std::string out = Load(std::string(64, 'b') + " 1,1,1,1,1\n" + std::string(63, 'a') +
                         " 3,2,4,5,6\nbad 3,1,x,1,1 g4 4,1,1,1,1\njunk 4,1,1,1,1z\nalone\nshort 5,1\n"
                         "exit\n7,0,0,1,1 note\ng8 8,1,1,1,1\n");
  EXPECT_EQ(out, "spawning triggers " + path +
                     "\n  trigger label too long: record skipped\n  spawned trigger 3\n"
                     "  trigger bad: bad numbers, record skipped\n"
                     "  trigger junk: bad numbers, record skipped\n"
                     "  trigger alone: bad numbers, record skipped\n"
                     "  trigger short: bad numbers, record skipped\n  spawned trigger 7\n"
                     "  trigger note: bad numbers, record skipped\n  spawned trigger 8\n");
  const TTrigger& t = Triggers[1];
  EXPECT_EQ((std::vector<int32_t>{t.id, t.x, t.y, t.w, t.h, t.triggered}),
            (std::vector<int32_t>{3, 16384, 32768, 57344, 81920, 0}));
  EXPECT_EQ((std::vector<int32_t>{tslot, Triggers[2].id, Triggers[2].w, Triggers[4].triggered}),
            (std::vector<int32_t>{4, 7, 8192, 1}));
  FILE* f = std::fopen(path.c_str(), "r");
  std::vector<int> lines;
  int line = 1;
  for (TTriggerRecord r; ReadTriggerRecord(f, &line, &r) != trEnd;) lines.push_back(r.line);
  std::fclose(f);
  EXPECT_EQ(lines, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));

  std::string many;
  for (int i = 1; i <= 33; i++) many += "t" + std::to_string(i) + " " + std::to_string(i) + ",0,0,1,1\n";
  out = Load(many);
  EXPECT_EQ((std::vector<int32_t>{tslot, Triggers[31].id}), (std::vector<int32_t>{32, 31}));
  EXPECT_NE(out.find("  trigger table full: t32 skipped\n  trigger table full: t33 skipped\n"),
            std::string::npos);
  std::string garbage;
  for (int i = 0; i < 20000; i++) garbage += char(Rand() % 256);
  Load(garbage);
  EXPECT_LE(tslot, 32);
}

// A trigger fires once, at a point inside its rectangle edges included, for
// every live, untriggered entity carrying its id, one line each; ids 0 and
// negative never fire, entities with a negative id are never triggered, and a
// trigger nobody answers stays armed.
TEST_F(TriggerFile, FiresOnceForEveryMatchingEntity) {
  Load("");
  for (int32_t id : {4, 0, -4, 5}) SpawnTrigger(id, 8192, 8192, 8192, 8192);
  Carrier(5, 4), Carrier(7, 4), Carrier(8, -4), Carrier(9, 0);
  Entities[6].triggerid = 4;   // a free slot
  EXPECT_EQ(Check(16385, 16384) + Check(16384, 8191), "");
  EXPECT_EQ(Check(16384, 16384), "1 triggered 5\n1 triggered 7\n");
  EXPECT_EQ((std::vector<int>{Entities[5].triggered, Entities[6].triggered, Entities[7].triggered,
                              Entities[8].triggered, Entities[9].triggered}),
            (std::vector<int>{1, 0, 1, 0, 0}));
  Carrier(10, 4);
  EXPECT_EQ(Check(8192, 8192), "");   // spent; trigger 5 has nobody yet
  EXPECT_EQ(Triggers[4].triggered, 0);
  Carrier(3, 5);
  EXPECT_EQ(Check(8192, 8192), "4 triggered 3\n");
}
