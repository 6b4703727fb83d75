#include <algorithm>

#include "platform/testseams.h"
#include "test_support.h"

using F = std::vector<float>;
struct Overlay : Fresh {};

// The quads drawn with texture tex (0: untextured) whose first corner has y = y0.
static std::vector<RecordDraw::Quad> Drawn(const RecordDraw& rec, int tex, float y0) {
  std::vector<RecordDraw::Quad> out;
  for (const RecordDraw::Quad& q : rec.Quads())
    if ((q.textured ? q.texture : 0) == tex && q.v[0].y == y0) out.push_back(q);
  return out;
}

// The score is one 12-unit glyph per digit on a 10-unit pitch, the symbols of
// the passes not held follow, and each energy bar is nrg / 128 high, capped at
// 48 with no lower cap.
TEST_F(Overlay, HudScorePassesAndBars) {
  RecordDraw zero, rec;
  draw = &zero;
  DisplayHUD();
  std::vector<RecordDraw::Quad> q = Drawn(zero, 1028, 228);
  ASSERT_EQ(q.size(), 1u);
  EXPECT_EQ((F{q[0].v[0].x, q[0].v[2].x, q[0].v[1].s}), (F{628, 640, 0.0624f}));
  EXPECT_EQ(Drawn(zero, 1028, 184).size() + Drawn(zero, 1026, 172).size(), 6u);

  players[0].score = 12345, players[0].passes[1] = 1;
  int32_t nrg[7] = {6400, 10000, 100, 1280, -256, 0, 127}, heights[7] = {48, 48, 0, 10, -2, 0, 0};
  std::copy(nrg, nrg + 7, players[0].nrg);
  draw = &rec;
  DisplayHUD();
  q = Drawn(rec, 1028, 228);
  ASSERT_EQ(q.size(), 5u);
  EXPECT_EQ((F{q[4].v[0].x, q[4].v[2].x, q[4].v[0].s}), (F{668, 680, 0.3125f}));
  q = Drawn(rec, 1028, 184);
  ASSERT_EQ(q.size(), 4u);
  EXPECT_EQ((F{q[1].v[0].x, q[1].v[0].s}), (F{666, 0.75f}));   // pass 1's symbol is skipped
  q = Drawn(rec, 0, 180);
  ASSERT_EQ(q.size(), 7u);
  for (int i = 0; i < 7; i++)
    EXPECT_EQ((F{q[i].v[0].x, q[i].v[2].x, q[i].v[1].y, q[i].v[0].a}),
              (F{106.f + 10 * i, 112.f + 10 * i, 180.f + heights[i], 0.5f}));
}

// What the hand holds shows in the panel's free slot, its first frame as
// large as fits at up to twice its size, centred, with its name below; an
// empty hand shows nothing, and the rest of the HUD is drawn as before.
TEST_F(Overlay, HudShowsWhatTheHandHolds) {
  SpawnEntityClass(grenade, 10, 10, 13, 8, -1, -1, 0, 0, 1, 4, 0, 0, 0, 0);   // a strip of four frames
  SpawnEntityClass(piano, 48, 32, 26, 120, -1, -1, 0, 0, 1, 0, 0, 0, 0, 0);
  SpawnEntityClass(wpPistol, 14, 10, 112, 8, -1, -1, 0, 0, 1, 0, 0, 0, 0, 0);
  auto corners = [](const RecordDraw& r) {   // of every quad, with their texture coordinates
    F out;
    for (const RecordDraw::Quad& q : r.Quads())
      for (const RecordDraw::QuadVertex& c : q.v) out.insert(out.end(), {float(q.texture), c.x, c.y, c.z, c.s, c.t});
    return out;
  };
  RecordDraw empty;
  draw = &empty;
  DisplayHUD();
  const F before = corners(empty);
  struct { int kind; F box; float s1; const char* name; } cases[] = {
      {grenade, {524, 210, 544, 230}, 0.25f, "GRENADE"},    // twice its size
      {piano, {507, 202, 561, 238}, 1, "PIANO"},            // as large as the slot's height allows
      {wpPistol, {520, 210, 548, 230}, 1, "PISTOL"},        // a weapon selection
  };
  for (const auto& c : cases) {
    players[0].held.kind = static_cast<TEntityKind>(c.kind);
    RecordDraw rec;
    draw = &rec;
    DisplayHUD();
    F got = corners(rec);
    ASSERT_GT(got.size(), before.size());
    EXPECT_TRUE(std::equal(before.begin(), before.end(), got.begin())) << c.name << ": the HUD moved";
    std::vector<RecordDraw::Quad> q = rec.Quads();
    const RecordDraw::Quad& pic = q.back();
    EXPECT_EQ((F{float(pic.texture), pic.v[0].x, pic.v[0].y, pic.v[2].x, pic.v[2].y, pic.v[2].s, pic.v[0].z}),
              (F{float(256 + EntityClass[c.kind].sprite), c.box[0], c.box[1], c.box[2], c.box[3], c.s1, 10.5f}))
        << c.name;
    std::vector<DrawCall> text = rec.Only("Text");
    ASSERT_EQ(text.size(), 1u);
    EXPECT_EQ(text[0].text, c.name);
    EXPECT_EQ(text[0].v, (F{500, 183, 10.5f}));
  }
  players[0].held.kind = blank;
  RecordDraw rec;
  draw = &rec;
  DisplayHUD();
  EXPECT_EQ(corners(rec), before);
  EXPECT_TRUE(rec.Only("Text").empty());
}

// The menu shows six items stacked 48 apart, read left to right from the
// first two rows of a 3 by 4 grid in the menu image.
TEST_F(Overlay, MenuShowsSixItemsFromTheGrid) {
  RecordDraw rec;
  draw = &rec;
  DisplayMenu();
  std::vector<RecordDraw::Quad> q = rec.Quads();
  ASSERT_EQ(q.size(), 6u);
  for (int i = 0; i < 6; i++) {
    float s = 0.3125f * (i % 3), t = 0.25f * (i / 3), y = 256.f + 48 * i;
    const RecordDraw::QuadVertex &a = q[i].v[0], &b = q[i].v[2];
    EXPECT_EQ((F{float(q[i].texture), a.x, a.y, b.x, b.y, a.s, a.t, b.s, b.t}),
              (F{1027, 320, y, 512, y + 32, s, t, s + 0.3125f, t + 0.25f}));
  }
}
