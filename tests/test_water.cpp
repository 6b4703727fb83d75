// The water: a body with a bobbing surface in view, nothing when the view is
// above it.
#include <set>
#include <vector>

#include "platform/testseams.h"
#include "test_support.h"

namespace {

struct WaterTest : Fresh {
  RecordDraw rec;
  void SetUp() override {
    Fresh::SetUp();
    draw = &rec;
    watery = 8576;
    waterbob = 0;
    wbobdx = 1;
  }
};

}  // namespace

TEST_F(WaterTest, SurfaceBobsWithinNinePeriod36) {
  mapy = 128;   // the line 64 pixels into the 600-pixel view
  DisplayWater();
  auto quads = rec.Quads();
  ASSERT_EQ(quads.size(), 3u);   // body and two surface bands
  EXPECT_EQ(quads[0].texture, 1024);
  EXPECT_EQ(quads[0].v[2].y, 536.0f);
  EXPECT_EQ(quads[2].v[2].y, 540.0f);

  std::vector<int32_t> bob;
  std::set<int32_t> tops;
  for (int frame = 0; frame < 200; frame++) {
    DisplayWater();
    bob.push_back(waterbob);
    tops.insert(wtop);
  }
  std::set<int32_t> seen(bob.begin(), bob.end());
  EXPECT_EQ(*seen.begin(), -9);
  EXPECT_EQ(*seen.rbegin(), 9);
  for (size_t i = 0; i + 36 < bob.size(); i++) ASSERT_EQ(bob[i], bob[i + 36]);
  EXPECT_EQ(tops, (std::set<int32_t>{534, 535, 536, 537, 538}));
}

TEST_F(WaterTest, ViewFarAboveTheWaterDrawsNothingAndHoldsTheBob) {
  mapy = 0;
  waterbob = 5;
  DisplayWater();
  EXPECT_TRUE(rec.calls.empty());
  EXPECT_EQ(waterbob, 5);
}
