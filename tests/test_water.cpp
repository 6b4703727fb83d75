// The water: its body and bobbing surface in view, nothing when the view is
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

TEST_F(WaterTest, BodyAndSurfaceBandsAtTheWaterLine) {
  mapy = 128;   // the line 64 pixels into the 600-pixel view
  ay = 0;
  DisplayWater();
  EXPECT_EQ(wtop, 600 - 64);
  auto quads = rec.Quads();
  ASSERT_EQ(quads.size(), 3u);
  const auto& body = quads[0];
  EXPECT_TRUE(body.textured);
  EXPECT_EQ(body.texture, 1024);
  EXPECT_FLOAT_EQ(body.v[0].a, 0.5f);
  EXPECT_FLOAT_EQ(body.v[0].b, 1.0f);
  EXPECT_EQ(body.v[1].x, 768.0f);
  EXPECT_EQ(body.v[0].y, 0.0f);
  EXPECT_EQ(body.v[2].y, 536.0f);
  EXPECT_EQ(body.v[2].s, 1.0f);
  EXPECT_EQ(body.v[2].z, 0.5f);
  EXPECT_EQ(quads[1].v[0].y, 536.0f);
  EXPECT_EQ(quads[1].v[2].y, 538.0f);
  EXPECT_FLOAT_EQ(quads[1].v[0].a, 0.7f);
  EXPECT_EQ(quads[2].v[0].y, 538.0f);
  EXPECT_EQ(quads[2].v[2].y, 540.0f);
  EXPECT_FLOAT_EQ(quads[2].v[0].a, 0.6f);
  EXPECT_EQ(rec.Only("Texturing").back().v[0], 0.0f);
  EXPECT_EQ(waterbob, 1);
}

TEST_F(WaterTest, BobStaysWithinNineAndRepeatsEvery36Frames) {
  mapy = 128;
  std::vector<int32_t> bob, top;
  for (int frame = 0; frame < 200; frame++) {
    DisplayWater();
    bob.push_back(waterbob);
    top.push_back(wtop);
  }
  std::set<int32_t> seen(bob.begin(), bob.end());
  EXPECT_EQ(*seen.begin(), -9);
  EXPECT_EQ(*seen.rbegin(), 9);
  for (size_t i = 0; i + 36 < bob.size(); i++) ASSERT_EQ(bob[i], bob[i + 36]);
  std::set<int32_t> tops(top.begin(), top.end());
  EXPECT_EQ(*tops.begin(), 536 - 2);   // the surface moves by up to 2 pixels
  EXPECT_EQ(*tops.rbegin(), 536 + 2);
}

TEST_F(WaterTest, ViewFarAboveTheWaterDrawsNothingAndHoldsTheBob) {
  mapy = 0;
  waterbob = 5;
  DisplayWater();
  EXPECT_TRUE(rec.calls.empty());
  EXPECT_EQ(waterbob, 5);
  EXPECT_EQ(wtop, 8576 - 320 - 1);
}

TEST_F(WaterTest, ViewUnderWaterDrawsTheBodyWithoutSurface) {
  mapy = 140;
  DisplayWater();
  auto quads = rec.Quads();
  ASSERT_EQ(quads.size(), 1u);
  EXPECT_GT(wtop, 600);
}
