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

// The line 600 pixels or more below the view's top: nothing drawn, the bob
// held; 599 below, the body and the surface at height 1.
TEST_F(WaterTest, ViewAboveTheWaterDrawsNothingAndHoldsTheBob) {
  for (auto [y, oy, quads] : {std::tuple{0, 0, 0}, {119, -40, 0}, {119, -41, 3}}) {
    rec.calls.clear();
    mapy = y, ay = oy, waterbob = 3;
    DisplayWater();
    EXPECT_EQ((std::vector<int>{int(rec.Quads().size()), waterbob}), (std::vector<int>{quads, quads ? 4 : 3}))
        << y << " " << oy;
  }
  EXPECT_EQ(wtop, 1);
}
