// The map and what lives in it. The cavern is shaped on a grid of 257 x 257
// tile corners, each rock or open; a tile's picture is chosen by which of its
// four corners are rock (its marching-squares case), so walls meet smoothly
// and slopes run at walking angles. Rooms and tunnels are carved as discs,
// then everything that cannot be reached from the start chamber is filled.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <queue>

#include "gen.h"

namespace wg {

namespace {

constexpr int NC = kMapTiles + 1;   // corners per side

enum Lock : uint8_t { lkNone, lkRock, lkOpen };

// The east road from the start chamber to the shaft: corner columns and the
// corner row of its floor.
constexpr int kRoadX0 = 84, kRoadX1 = 153, kRoadFloorRow = 55, kLedgeX = 148;
// The updraft shaft: tile column 154, the one whose wind lifts the man, from
// tile row 38 to 166, between walls that fill tile columns 153 and 155.
constexpr int kShaftX = 154, kShaftTop = 38, kShaftBottom = 166;
// The trap room west of the start: corner columns and the corner row of its
// floor; the corridor to it runs on the start's floor.
constexpr int kTrapX0 = 62, kTrapX1 = 78, kTrapFloorRow = 63;
// The gargoyle hall east of the shaft, reached by the shaft's east door at
// corner rows 72..74: its floor is the door's.
constexpr int kHallX0 = 172, kHallX1 = 192, kHallFloorRow = 75;

// The main routes to the areas, laid out in whole tiles. Where a route runs,
// a tile's picture is not left to its corners: the floor is a row of level
// floor cells, so the walking line runs straight across (the man's ground
// test looks one pixel under the middle of his feet), the openings are whole
// open tiles and the walls and ceilings whole rock tiles, so no diagonal edge
// lifts a walker into flight or catches a flyer. The corners are set to
// match (see Lay), so the cavern's reachability sees the routes as drawn.
enum Laid : uint8_t { ldNone, ldOpen, ldFloor, ldRock };
struct Layout {
  uint8_t t[kMapTiles][kMapTiles];   // [column][row]

  static bool In(int x, int y) { return x >= 0 && y >= 0 && x < kMapTiles && y < kMapTiles; }
  void Put(int x, int y, Laid l) {
    if (In(x, y)) t[x][y] = l;
  }
  void Open(int x0, int y0, int x1, int y1) {
    for (int x = x0; x <= x1; x++)
      for (int y = y0; y <= y1; y++) Put(x, y, ldOpen);
  }
  // Rock where nothing else is laid out: walls never close a route.
  void Wall(int x0, int y0, int x1, int y1) {
    for (int x = x0; x <= x1; x++)
      for (int y = y0; y <= y1; y++)
        if (In(x, y) && t[x][y] == ldNone) t[x][y] = ldRock;
  }
  // A floor of tiles x0..x1 on row `floor`, `clear` rows open above it and
  // `depth` rows of rock under it.
  void Floor(int x0, int x1, int floor, int clear, int depth) {
    for (int x = x0; x <= x1; x++) Put(x, floor, ldFloor);
    Open(x0, floor - clear, x1, floor - 1);
    Wall(x0, floor + 1, x1, floor + depth);
  }
  // A passage: a floor with `height` rows open over it, a rock ceiling if
  // asked, and rock at the ends that are not open.
  void Passage(int x0, int x1, int floor, int height, bool ceiling, bool westOpen, bool eastOpen) {
    Floor(x0, x1, floor, height, 1);
    if (ceiling) Wall(x0, floor - height - 1, x1, floor - height - 1);
    if (!westOpen) Wall(x0 - 1, floor - height - 1, x0 - 1, floor + 1);
    if (!eastOpen) Wall(x1 + 1, floor - height - 1, x1 + 1, floor + 1);
  }
  // A shaft: tiles x0..x1 open from row top to row bottom, through any floor
  // laid out before it, lined with rock.
  void Shaft(int x0, int x1, int top, int bottom) {
    Open(x0, top, x1, bottom);
    Wall(x0 - 1, top, x0 - 1, bottom);
    Wall(x1 + 1, top, x1 + 1, bottom);
  }
};

struct Grid {
  bool rock[NC][NC];
  uint8_t lock[NC][NC];
  int ground[NC];   // first rock corner row of the surface, per column
  Layout laid;      // the routes' tiles

  bool In(int i, int j) const { return i >= 0 && j >= 0 && i < NC && j < NC; }
  void Open(int i, int j) {
    if (In(i, j) && lock[i][j] != lkRock) rock[i][j] = false;
  }
  void Fill(int i, int j) {
    if (In(i, j) && lock[i][j] != lkOpen) rock[i][j] = true;
  }
  void Ellipse(float cx, float cy, float rx, float ry, bool open) {
    for (int j = static_cast<int>(cy - ry) - 1; j <= cy + ry + 1; j++)
      for (int i = static_cast<int>(cx - rx) - 1; i <= cx + rx + 1; i++) {
        float dx = (i - cx) / rx, dy = (j - cy) / ry;
        if (dx * dx + dy * dy <= 1.0f) open ? Open(i, j) : Fill(i, j);
      }
  }
  void Box(int i0, int j0, int i1, int j1, bool open, uint8_t lk = lkNone) {
    for (int j = j0; j <= j1; j++)
      for (int i = i0; i <= i1; i++) {
        if (!In(i, j)) continue;
        if (lk != lkNone) {
          lock[i][j] = lk;
          rock[i][j] = lk == lkRock;
        } else {
          open ? Open(i, j) : Fill(i, j);
        }
      }
  }
};

// A winding tunnel of discs from one point to another.
void Worm(Grid& g, float x0, float y0, float x1, float y1, float radius, uint32_t seed) {
  float len = std::hypot(x1 - x0, y1 - y0);
  int steps = std::max(1, static_cast<int>(len * 2));
  float nx = -(y1 - y0) / std::max(len, 0.001f), ny = (x1 - x0) / std::max(len, 0.001f);
  for (int s = 0; s <= steps; s++) {
    float t = static_cast<float>(s) / steps;
    float taper = std::sin(3.14159f * t);
    float off = (Fbm(t * 4.0f, 0.5f, 64, 2, seed) - 0.5f) * 2.0f * std::min(6.0f, len * 0.15f) * taper;
    float r = radius * (0.85f + 0.3f * Fbm(t * 6.0f, 3.5f, 64, 2, seed + 1));
    g.Ellipse(x0 + (x1 - x0) * t + nx * off, y0 + (y1 - y0) * t + ny * off, r, r, true);
  }
}

// A level passage: corner columns x0..x1 open from corner row floor - height
// to floor - 1, over a floor two corner rows thick. Every tile along it is a
// floor cell, whose walking line is straight.
void Level(Grid& g, int x0, int x1, int floor, int height) {
  g.Box(x0, floor - height, x1, floor - 1, true, lkOpen);
  g.Box(x0, floor, x1, floor + 1, false, lkRock);
}

// Sets the corners to match the laid-out tiles, and locks them: rock under
// every floor and round every rock tile first, then open over every floor
// and round every open tile, so an opening wins a shared corner.
void Lay(Grid& g, const Layout& l) {
  for (int x = 0; x < kMapTiles; x++)
    for (int y = 0; y < kMapTiles; y++) {
      if (l.t[x][y] == ldRock) g.Box(x, y, x + 1, y + 1, false, lkRock);
      if (l.t[x][y] == ldFloor) g.Box(x, y + 1, x + 1, y + 1, false, lkRock);
    }
  for (int x = 0; x < kMapTiles; x++)
    for (int y = 0; y < kMapTiles; y++) {
      if (l.t[x][y] == ldOpen) g.Box(x, y, x + 1, y + 1, true, lkOpen);
      if (l.t[x][y] == ldFloor) g.Box(x, y, x + 1, y, true, lkOpen);
    }
}

struct Room {
  const char* name;
  float cx, cy, rx, ry;
};

// The named places of the world (tile units).
const Room kRooms[] = {
    {"start", 92, 52, 9, 2.6f},      {"grotto", 109, 54, 6, 2.6f},
    {"pitfoot", 126, 43, 3.5f, 2.5f},   {"draftcave", 134, 48, 7, 2.6f},
    {"dropper", 70, 60, 8, 3.2f},       {"wasps", 47, 40, 8, 4},
    {"vault", 24, 52, 4, 2.2f},         {"impden", 60, 88, 9, 4},
    {"burgers", 36, 112, 8, 3},         {"westhall", 18, 74, 6, 4},
    {"shore", 78, 128, 6, 3.2f},        {"lake", 108, 132, 20, 7},
    {"midhall", 118, 80, 10, 4},        {"eastmid", 138, 102, 7, 3},
    {"gargoyles", 182, 70, 10, 5},      {"base", 204, 48, 12, 3.6f},
    {"eastcave", 224, 30, 8, 3},        {"bats", 192, 112, 10, 5},
    {"crystals", 230, 88, 8, 4.5f},     {"ucave", 168, 164, 14, 5},
    {"uwest", 122, 176, 12, 5},         {"ueast", 202, 186, 13, 6},
    {"deep", 150, 214, 18, 6},          {"frogs", 140, 128, 5, 2.5f},
};

const Room& R(const char* name) {
  for (const Room& r : kRooms)
    if (std::strcmp(r.name, name) == 0) return r;
  std::fprintf(stderr, "quarn-worldgen: no room %s\n", name);
  std::exit(1);
}

int GroundRow(int i) {
  float h = 16.0f + 2.0f * std::sin(i * 0.07f) + 1.5f * (Fbm(i / 9.0f, 0.5f, 64, 3, 41) - 0.5f) * 2.0f;
  if (i >= 100 && i <= 156) h = std::max(h, 17.0f);                  // the calm valley
  if (i < 16) h -= (16 - i) * 0.7f;                                   // mountains at the edges
  if (i > 240) h -= (i - 240) * 0.7f;
  return std::max(5, static_cast<int>(std::lround(h)));
}

// The ways from the start's routes to the areas (tile units). Walking ends
// at a hole: the man drops down it, and flies back up with the jetpack.
void LayRoutes(Layout& l) {
  // the trap room's floor and straight west wall
  l.Floor(kTrapX0, kTrapX1 - 1, kTrapFloorRow - 1, 1, 2);
  l.Wall(kTrapX0 - 1, kRoadFloorRow - 4, kTrapX0 - 1, kTrapFloorRow - 1);
  // the wasps: up a shaft from the middle of the trap room's ceiling to a
  // passage that leads west into their room; at the room's west end a hole
  // drops to the vault's spur, east of its gate
  l.Floor(42, 53, 42, 1, 3);
  l.Passage(54, 71, 42, 2, true, true, false);
  l.Passage(38, 41, 52, 1, true, true, false);
  l.Shaft(70, 71, 42, 50);
  l.Shaft(40, 41, 42, 51);
  // the imp den: down a hole at the trap room's west end, well clear of the
  // wasps' shaft (a walker slides on for a tile or two)
  l.Floor(53, 66, 91, 1, 3);
  l.Shaft(62, 63, kTrapFloorRow - 1, 78);
  // east of the gargoyle hall a passage runs on the hall's floor: the dalek
  // base is up a shaft from it, the crystal cave down a hole at its end
  l.Floor(194, 213, 50, 1, 3);
  l.Floor(219, 236, 90, 2, 3);
  l.Passage(kHallX1, 221, kHallFloorRow - 1, 2, true, true, false);
  l.Shaft(196, 197, 50, kHallFloorRow - 4);
  l.Shaft(220, 221, kHallFloorRow - 1, 89);
  // the bat cave: a passage from the shaft's lower east door
  l.Floor(183, 200, 114, 1, 3);
  l.Passage(kShaftX + 2, 182, 114, 2, true, true, true);
  // the lake: a tall passage from the shaft's lowest west door, so that the
  // man rising on the updraft has time to drift in, through the frogs' room
  // to the lake's east shore, where he drops into the water
  l.Passage(125, kShaftX - 2, 130, 3, true, true, true);
  l.Open(123, 130, 124, 133);
  // the caves under the lake: a shaft from the lake's bed under the shore
  // down into the west cave, a tunnel east from its roof (the water holds
  // the man against a straight ceiling) and a chimney up into the
  // updraft's foot, which opens east into the cave under the shaft
  l.Wall(116, 171, kShaftX, 171);
  l.Shaft(116, kShaftX, 172, 173);
  l.Shaft(123, 124, 136, 173);
  l.Open(kShaftX + 1, kShaftBottom + 1, kShaftX + 2, kShaftBottom + 2);
  l.Shaft(kShaftX, kShaftX, kShaftBottom + 1, 171);
}

void Shape(Grid& g) {
  for (int i = 0; i < NC; i++) {
    g.ground[i] = GroundRow(i);
    for (int j = 0; j < NC; j++) {
      g.rock[i][j] = j >= g.ground[i];
      g.lock[i][j] = lkNone;
    }
  }
  // scattered caverns from noise, smoothed; few below the water line, where
  // the water's body hides the rock
  for (int j = 0; j < NC; j++)
    for (int i = 0; i < NC; i++) {
      if (j < g.ground[i] + 6 || j > 142 || i < 4 || i > 252) continue;
      float n = Fbm(i / 13.0f, j / 9.0f, 64, 4, 7);
      if (n > 0.6f) g.rock[i][j] = false;
    }
  for (int pass = 0; pass < 2; pass++) {
    static bool next[NC][NC];
    for (int j = 0; j < NC; j++)
      for (int i = 0; i < NC; i++) {
        int n = 0;
        for (int dj = -1; dj <= 1; dj++)
          for (int di = -1; di <= 1; di++)
            if ((di || dj) && (!g.In(i + di, j + dj) || g.rock[i + di][j + dj])) n++;
        next[i][j] = j < g.ground[i] ? false : (g.rock[i][j] ? n >= 4 : n >= 6);
      }
    for (int j = 0; j < NC; j++)
      for (int i = 0; i < NC; i++) g.rock[i][j] = next[i][j];
  }
  // rooms
  for (const Room& r : kRooms) g.Ellipse(r.cx, r.cy, r.rx, r.ry, true);
  // tunnels
  struct Link {
    const char *a, *b;
    float radius;
  };
  const Link links[] = {
      {"start", "grotto", 1.6f},      {"start", "pitfoot", 1.6f},     {"impden", "burgers", 1.5f},
      {"impden", "westhall", 1.5f},   {"burgers", "shore", 1.5f},     {"shore", "lake", 1.8f},
      {"lake", "midhall", 1.6f},      {"midhall", "draftcave", 1.5f}, {"midhall", "eastmid", 1.5f},
      {"base", "eastcave", 1.5f},     {"ucave", "ueast", 1.8f},       {"ueast", "deep", 1.8f},
      {"uwest", "deep", 1.6f},
  };
  uint32_t seed = 100;
  for (const Link& l : links) {
    const Room &a = R(l.a), &b = R(l.b);
    Worm(g, a.cx, a.cy, b.cx, b.cy, l.radius, seed++);
  }
  // the way down from the calm valley: a pit beside the teleport's fallback,
  // not under it, so that flying up the pit ends under the clouds rather
  // than in the gap the fallback keeps open in them
  g.Box(119, 0, 123, 44, true);
  // the second way in, from the east surface
  Worm(g, 224, 10, 224, 30, 1.6f, 300);

  // the updraft shaft: open corner columns 154 and 155 from row 36 to 167
  // between walls of corner columns 152, 153 and 156 (the tiles beside
  // column 154 are then filled whole, see ShaftWalls) but for a few doors,
  // under a gallery with a level floor across its top
  Level(g, 128, 158, kShaftTop + 1, 6);
  g.Ellipse(141, 34.5f, 14, 3.2f, true);
  for (int j = kShaftTop + 2; j <= kShaftBottom; j++)
    for (int i : {kShaftX - 2, kShaftX - 1, kShaftX + 2}) {
      g.lock[i][j] = lkRock;
      g.rock[i][j] = true;
    }
  g.Box(kShaftX, 36, kShaftX + 1, kShaftBottom + 1, true, lkOpen);
  const int doorsW[] = {60, 100, 128}, doorsE[] = {72, 112};
  for (int jj : doorsW) g.Box(kShaftX - 2, jj, kShaftX - 1, jj + 2, true, lkOpen);
  for (int jj : doorsE) g.Box(kShaftX + 2, jj, kShaftX + 2, jj + 2, true, lkOpen);
  Worm(g, 150, 61, R("midhall").cx, R("midhall").cy, 1.5f, 400);
  Worm(g, 150, 101, R("eastmid").cx, R("eastmid").cy, 1.5f, 401);
  // the gargoyle hall, on the floor of the shaft's upper east door, and the
  // level passage to it
  Level(g, kHallX0, kHallX1, kHallFloorRow, 9);
  Level(g, kShaftX + 2, kHallX0, kHallFloorRow, 3);
  Worm(g, 154, 166, R("ucave").cx, R("ucave").cy, 1.8f, 405);
  // the down-draft: a hole of two tiles (134..135, rows 41..42) from the
  // gallery floor into the cave below
  g.Box(134, 37, 136, 46, true, lkOpen);
  g.Box(133, 39, 133, 44, false, lkRock);
  g.Box(137, 39, 137, 44, false, lkRock);
  Worm(g, 129, 36, 141, 35, 1.4f, 406);
  Worm(g, 126, 40, 131, 36, 1.4f, 407);

  // the east road: a level tunnel from the start chamber through the grotto
  // to a door in the shaft's west wall, on a floor one corner row thick
  // where it bridges the caves it crosses, so the shaft can be reached from
  // the start on foot. The
  // last stretch before the door is a ledge two tiles high: the man flies up
  // it, but what he pushes along the road stays at its foot instead of
  // dropping into the shaft, where the gusts of the updraft would toss it in
  // and out of the water, splashing, for ever.
  for (int i = kRoadX0; i <= kRoadX1; i++) {
    int top = kRoadFloorRow - 4 - static_cast<int>(2.5f * Fbm(i / 6.0f, 0.5f, 64, 2, 410));
    int floor = i >= kLedgeX ? kRoadFloorRow - 2 : kRoadFloorRow;
    g.Box(i, top, i, floor - 1, true, lkOpen);
    g.Box(i, floor, i, kRoadFloorRow, false, lkRock);
  }

  // the start: tile (92, 53) open over the road's floor, half way down tile
  // row 54
  g.Box(84, 51, 100, kRoadFloorRow - 1, true, lkOpen);
  g.Box(86, 46, 98, 50, false, lkRock);
  g.Box(84, kRoadFloorRow, 100, kRoadFloorRow + 1, false, lkRock);
  // west of it the road goes on to the trap room, whose floor lies eight
  // corner rows lower: the man drops in and flies out
  Level(g, kTrapX0, kTrapX1, kTrapFloorRow, kTrapFloorRow - kRoadFloorRow + 4);
  g.Box(kTrapX0 - 1, kTrapFloorRow, kTrapX1, kTrapFloorRow + 4, false, lkRock);
  Level(g, kTrapX1, kRoadX0, kRoadFloorRow, 4);
  // the vault behind the locked gate: a low spur (one corner row high)
  g.Box(28, 52, 40, 52, true, lkOpen);
  g.Box(29, 51, 39, 51, false, lkRock);
  g.Box(29, 53, 39, 53, false, lkRock);
  // the ways to the areas, in whole tiles
  std::memset(g.laid.t, 0, sizeof g.laid.t);
  LayRoutes(g.laid);
  Lay(g, g.laid);

  // the world's edges: rock walls left and right up to the clouds, bedrock
  // below
  for (int j = 0; j < NC; j++)
    for (int i = 0; i < NC; i++)
      if (i <= 1 || i >= NC - 2 || j >= 250) {
        g.rock[i][j] = true;
        g.lock[i][j] = lkRock;
      }
}

// Labels the open corners by 4-connected component; returns the start's.
int Components(const Grid& g, std::vector<int>& comp, std::vector<int>& sizes) {
  comp.assign(NC * NC, -1);
  sizes.clear();
  for (int j0 = 0; j0 < NC; j0++)
    for (int i0 = 0; i0 < NC; i0++) {
      if (g.rock[i0][j0] || comp[i0 * NC + j0] >= 0) continue;
      int id = static_cast<int>(sizes.size());
      std::queue<std::pair<int, int>> q;
      q.push({i0, j0});
      comp[i0 * NC + j0] = id;
      int size = 0;
      while (!q.empty()) {
        auto [i, j] = q.front();
        q.pop();
        size++;
        const int d[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
        for (auto& dd : d) {
          int a = i + dd[0], b = j + dd[1];
          if (g.In(a, b) && !g.rock[a][b] && comp[a * NC + b] < 0) {
            comp[a * NC + b] = id;
            q.push({a, b});
          }
        }
      }
      sizes.push_back(size);
    }
  return comp[kStartTileX * NC + kStartTileY];
}

// Joins every sizeable cavern to the start's network with a tunnel to the
// nearest reachable corner, then fills whatever is still cut off.
void KeepReachable(Grid& g) {
  std::vector<int> comp, sizes;
  for (int round = 0; round < 6; round++) {
    int keep = Components(g, comp, sizes);
    std::vector<std::pair<int, int>> reach;
    for (int j = 0; j < NC; j += 2)
      for (int i = 0; i < NC; i++)
        if (comp[i * NC + j] == keep) reach.push_back({i, j});
    std::vector<bool> done(sizes.size(), false);
    int joined = 0;
    for (int j = 0; j < NC; j++)
      for (int i = 0; i < NC; i++) {
        int c = comp[i * NC + j];
        if (c < 0 || c == keep || done[c] || sizes[c] < 24) continue;
        done[c] = true;
        long best = 1L << 40;
        std::pair<int, int> to{i, j};
        for (auto& r : reach) {
          long d = static_cast<long>(r.first - i) * (r.first - i) + static_cast<long>(r.second - j) * (r.second - j);
          if (d < best) {
            best = d;
            to = r;
          }
        }
        if (best > 40 * 40) continue;   // too far: leave it to be filled
        Worm(g, static_cast<float>(i), static_cast<float>(j), static_cast<float>(to.first),
             static_cast<float>(to.second), 1.3f, 900 + static_cast<uint32_t>(c));
        joined++;
      }
    if (!joined) break;
  }
  int keep = Components(g, comp, sizes);
  for (int j = 0; j < NC; j++)
    for (int i = 0; i < NC; i++)
      if (!g.rock[i][j] && comp[i * NC + j] != keep) g.rock[i][j] = true;
}

// ---- tiles from corners ---------------------------------------------------------------
int FamilyAt(const Grid& g, int tx, int ty) {
  if (ty >= kWaterRow) return ty >= 196 ? famDeep : famSand;
  if (ty < g.ground[std::min(tx, NC - 1)] + 5) return famSurface;
  float wob = (Fbm(tx / 12.0f, ty / 12.0f, 64, 2, 55) - 0.5f) * 8.0f;
  float x = tx + wob, y = ty + wob;
  if (std::fabs(x - 204) < 16 && std::fabs(y - 48) < 7) return famMetal;
  if (x > 214 && y > 72 && y < 106) return famCrystal;
  if (x > 168 && y > 96) return famVolcanic;
  if (x > 60 && x < 122 && y > 40 && y < 66) return famMoss;
  if (x < 52 && y > 92) return famSandstone;
  if (x > 124 && x < 168 && y > 92) return famBasalt;
  if (y > 70) return famGranite;
  return famEarth;
}

uint32_t Word(int n, int set) { return static_cast<uint32_t>(n) | (static_cast<uint32_t>(set) << 8); }

// The open tile of a place: water below the water line, else empty.
uint32_t OpenWord(int ty) { return ty >= kWaterRow ? Word(kWaterTile, ty >= 196 ? 1 : 0) : 0; }

// The updraft's wind lifts only what stands in tile column 154, so the
// shaft is lined straight: the tiles beside it are filled whole where its
// walls are (not cut on the corners' diagonal), and where a door or the
// gallery meets the shaft they take a level floor or a flat lintel.
void ShaftWalls(const Grid& g, const TileSets& ts, World& w) {
  const int walls[2][2] = {{kShaftX - 1, kShaftX - 1}, {kShaftX + 1, kShaftX + 2}};   // tile, corner column
  for (int ty = kShaftTop; ty <= kShaftBottom; ty++)
    for (const auto& wall : walls) {
      int cs = (g.rock[wall[1]][ty] ? kTL | kTR : 0) | (g.rock[wall[1]][ty + 1] ? kBL | kBR : 0);
      const Family& f = ts.fam[FamilyAt(g, wall[0], ty)];
      w.map[wall[0]][ty] = cs == 0 ? OpenWord(ty) : Word(cs == 15 ? f.fulls[0] : f.base + cs, f.set);
    }
}

void AssignTiles(const Grid& g, const TileSets& ts, World& w) {
  for (int ty = 0; ty < kMapTiles; ty++)
    for (int tx = 0; tx < kMapTiles; tx++) {
      int cs = (g.rock[tx][ty] ? kTL : 0) | (g.rock[tx + 1][ty] ? kTR : 0) |
               (g.rock[tx + 1][ty + 1] ? kBR : 0) | (g.rock[tx][ty + 1] ? kBL : 0);
      // a laid-out tile takes its whole shape, whatever its corners
      const int laid[] = {cs, 0, kBL | kBR, 15};
      cs = laid[g.laid.t[tx][ty]];
      uint32_t word = 0;
      float h = Hash01(tx, ty, 77);
      if (cs == 0) {
        if (ty >= kWaterRow) {
          word = OpenWord(ty);
        } else if (ty < g.ground[tx] - 2) {
          if (h < 0.07f) word = Word(tStar1 + static_cast<int>(h * 100) % 3, 0);
          else if (h > 0.985f) word = Word(tCloud, 0);
        } else if (h > 0.993f) {
          word = Word(h > 0.9965f ? tFireflies : tSparkles, 0);
        }
      } else {
        const Family& f = ts.fam[FamilyAt(g, tx, ty)];
        int n;
        // no boulders on the floors one walks first: the start and the east road
        bool plain = (std::abs(tx - kStartTileX) < 12 && std::abs(ty - kStartTileY) < 6) ||
                     (tx >= kRoadX0 && tx < kLedgeX && ty == kRoadFloorRow - 1) ||
                     (tx >= kLedgeX && tx <= kRoadX1 && ty == kRoadFloorRow - 3);
        if (cs == 15) {
          n = f.fulls[static_cast<int>(h * 1000) % f.nfulls];
        } else if (cs == (kBL | kBR) && f.nfloors && h > 0.78f && !plain) {
          n = f.floors[static_cast<int>(h * 1000) % f.nfloors];
        } else if (cs == (kTL | kTR) && f.nceilings && h > 0.72f) {
          n = f.ceilings[static_cast<int>(h * 1000) % f.nceilings];
        } else {
          n = f.base + cs;
        }
        word = Word(n, f.set);
      }
      w.map[tx][ty] = word;
    }
  ShaftWalls(g, ts, w);
  // a bank of cloud closes the sky over tile rows 0..6, so nothing flies off
  // the top of the world and the view never climbs into the black above
  // it; column 127 stays open below row 0, where the teleport's fallback
  // puts the player, who drops out of it into the calm valley
  for (int ty = 0; ty < kBankRows; ty++)
    for (int tx = 0; tx < kMapTiles; tx++) {
      bool sky = !g.rock[tx][ty] && !g.rock[tx + 1][ty] && !g.rock[tx + 1][ty + 1] && !g.rock[tx][ty + 1];
      if (!sky || (tx == kFallbackTileX && ty > 0)) continue;
      w.map[tx][ty] = ty < kBankRows - 1 ? Word(kBankTile, 1) : Word(kBankEdge + (tx & 1), 1);
    }
  // the sky's lights, under the clouds
  w.map[40][9] = Word(tMoon, 0);
  w.map[200][10] = Word(tComet, 0);
  w.map[170][11] = Word(tPlanet, 0);
}

// ---- placing things --------------------------------------------------------------------
struct Placer {
  const TileSets& ts;
  World& w;
  const std::vector<ClassInfo>& cls;
  std::vector<std::array<int, 4>> boxes;   // pixels: x, y, w, h

  uint8_t Px(int x, int y) const { return MaskAt(ts, w, x * 128, y * 128); }
  bool Clear(int x, int y, int bw, int bh, bool wantWater) const {
    if (x < 0 || y < 0 || x + bw >= kMapTiles * 64 || y + bh >= kMapTiles * 64) return false;
    for (int j = y; j < y + bh; j++)
      for (int i = x; i < x + bw; i++) {
        uint8_t m = Px(i, j);
        if (m == kSolid) return false;
        if (wantWater != (m == kWater)) return false;
      }
    for (auto& b : boxes)
      if (x < b[0] + b[2] + 6 && b[0] < x + bw + 6 && y < b[1] + b[3] + 6 && b[1] < y + bh + 6) return false;
    return true;
  }
  const ClassInfo& C(int kind) const { return cls[kind - 1]; }

  void Put(const char* desc, int kind, int x, int y, int st = 0, int stm = 0, int flip = 0, int trig = 0,
           int score = 0) {
    boxes.push_back({x, y, C(kind).w, C(kind).h});
    w.placements.push_back({desc, kind, x / 64, x % 64, y / 64, y % 64, st, stm, flip, trig, score});
  }

  // Resting on a floor near tile (cx, cy); searches outward.
  bool OnFloor(int kind, float cx, float cy, int& ox, int& oy, bool water = false) {
    const ClassInfo& c = C(kind);
    for (int k = 0; k < 80; k++) {
      int dx = (k % 2 ? 1 : -1) * ((k + 1) / 2) * 12;
      int x = static_cast<int>(cx * 64) + dx, y0 = static_cast<int>(cy * 64);
      if (Px(x, y0) == kSolid) continue;
      int y = y0;
      while (y < y0 + 12 * 64) {
        bool hit = false;
        for (int i = x; i < x + c.w && !hit; i++) hit = Px(i, y) == kSolid;
        if (hit) break;
        y++;
      }
      if (y >= y0 + 12 * 64) continue;
      int top = y - c.h - 1;
      if (Clear(x, top, c.w, c.h, water)) {
        ox = x;
        oy = top;
        return true;
      }
    }
    return false;
  }
  // Floating in open air (or water) near tile (cx, cy).
  bool InAir(int kind, float cx, float cy, int& ox, int& oy, bool water = false) {
    const ClassInfo& c = C(kind);
    for (int rad = 0; rad < 40; rad++)
      for (int a = 0; a < std::max(1, rad * 6); a++) {
        float ang = a * 6.2831853f / std::max(1, rad * 6);
        int x = static_cast<int>(cx * 64 + std::cos(ang) * rad * 12) - c.w / 2;
        int y = static_cast<int>(cy * 64 + std::sin(ang) * rad * 12) - c.h / 2;
        if (Clear(x - 8, y - 8, c.w + 16, c.h + 16, water) && Clear(x, y, c.w, c.h, water)) {
          ox = x;
          oy = y;
          return true;
        }
      }
    return false;
  }
  // Hanging from the ceiling above tile (cx, cy).
  bool OnCeiling(int kind, float cx, float cy, int& ox, int& oy) {
    const ClassInfo& c = C(kind);
    for (int k = 0; k < 60; k++) {
      int dx = (k % 2 ? 1 : -1) * ((k + 1) / 2) * 12;
      int x = static_cast<int>(cx * 64) + dx, y = static_cast<int>(cy * 64);
      if (Px(x, y) == kSolid) continue;
      int top = y;
      while (top > y - 10 * 64) {
        bool hit = false;
        for (int i = x; i < x + c.w && !hit; i++) hit = Px(i, top - 1) == kSolid;
        if (hit) break;
        top--;
      }
      if (top <= y - 10 * 64) continue;
      top += 1;
      if (Clear(x, top, c.w, c.h, false)) {
        ox = x;
        oy = top;
        return true;
      }
    }
    return false;
  }
  // Against a wall, left (flipx 0, facing right) or right (flipx 1).
  bool OnWall(int kind, float cx, float cy, bool leftWall, int& ox, int& oy) {
    const ClassInfo& c = C(kind);
    for (int k = 0; k < 40; k++) {
      int dy = (k % 2 ? 1 : -1) * ((k + 1) / 2) * 10;
      int y = static_cast<int>(cy * 64) + dy, x = static_cast<int>(cx * 64);
      if (Px(x, y) == kSolid) continue;
      int step = leftWall ? -1 : 1, n = 0;
      while (n < 20 * 64) {
        int probe = leftWall ? x - 1 : x + c.w;
        bool hit = false;
        for (int j = y; j < y + c.h && !hit; j++) hit = Px(probe, j) == kSolid;
        if (hit) break;
        x += step;
        n++;
      }
      if (n >= 20 * 64) continue;
      int px = leftWall ? x + 1 : x - 1;
      if (Clear(px, y, c.w, c.h, false)) {
        ox = px;
        oy = y;
        return true;
      }
    }
    return false;
  }
};

enum Mode { Floor, Air, Water, Ceiling, WallL, WallR, WaterFloor };

}  // namespace

uint8_t MaskAt(const TileSets& ts, const World& world, int32_t x, int32_t y) {
  if (x < 0 || y < 0) return 0;
  int tx = x / 8192, ty = y / 8192;
  if (tx >= kMapTiles || ty >= kMapTiles) return 0;
  uint32_t w = world.map[tx][ty];
  int n = w & 255;
  if (n == 0) return 0;
  int s = (w >> 8) & 255;
  if (s > 1) return 0;
  int px = (x % 8192) / 128, py = (y % 8192) / 128;
  uint32_t f = w >> 28;
  if (f == 1 || f == 3) px = 63 - px;
  if (f == 2 || f == 3) py = 63 - py;
  int cx = (n % 16) * 64 + px, cy = (n / 16) * 64 + py;
  return ts.mask[s][static_cast<size_t>(cy) * kTileSetSize + cx];
}

void BuildWorld(const TileSets& ts, const std::vector<ClassInfo>& classes, World& world) {
  static Grid g;
  Shape(g);
  KeepReachable(g);
  AssignTiles(g, ts, world);

  // mushroom beds: seeding tiles in open cells just above a floor, in the
  // hall east of the middle, far from the armoury (a mushroom in the hand
  // would stop the weapons from being picked up)
  int blue = 0, red = 0;
  const Room& gr = R("eastmid");
  for (int ty = static_cast<int>(gr.cy - gr.ry); ty <= gr.cy + gr.ry; ty++)
    for (int tx = static_cast<int>(gr.cx - gr.rx); tx <= gr.cx + gr.rx; tx++) {
      uint32_t below = world.map[tx][ty + 1];
      bool open = world.map[tx][ty] == 0 && !g.rock[tx][ty] && !g.rock[tx + 1][ty] &&
                  !g.rock[tx][ty + 1] && !g.rock[tx + 1][ty + 1];
      bool floorBelow = g.rock[tx][ty + 2] && g.rock[tx + 1][ty + 2] && below != 0;
      if (!open || !floorBelow) continue;
      if (blue < 1 && (tx & 1)) {
        world.map[tx][ty] = Word(tBlueSpores, 0);
        blue++;
      } else if (red < 1 && !(tx & 1)) {
        world.map[tx][ty] = Word(tRedSpores, 0);
        red++;
      }
    }
  // a girder bridge over the lake
  {
    int row = 127, best0 = -1, best1 = -1;
    for (int tx = 90; tx < 126; tx++) {
      int t1 = tx;
      while (t1 < 130 && world.map[t1][row] == 0 && !g.rock[t1][row + 1] && !g.rock[t1 + 1][row + 1]) t1++;
      if (t1 - tx > best1 - best0) {
        best0 = tx;
        best1 = t1;
      }
    }
    if (best1 - best0 >= 6) {
      int a = best0, b = best1 - 1;
      for (int tx = a; tx <= b; tx++) world.map[tx][row] = Word(tx == a ? tGirderL : (tx == b ? tGirderR : tGirder), 0);
    }
  }

  Placer p{ts, world, classes, {}};
  auto place = [&](const char* desc, int kind, float cx, float cy, Mode m, int st = 0, int stm = 0,
                   int flip = 0, int trig = 0, int score = 0) {
    int x = 0, y = 0;
    bool ok = false;
    const float offs[7] = {0, -1, 1, -2, 2, -3, 3};
    for (int a = 0; a < 7 && !ok; a++)
      for (int b = 0; b < 7 && !ok; b++) {
        float qx = cx + offs[b] * 3, qy = cy + offs[a];
        switch (m) {
          case Floor: ok = p.OnFloor(kind, qx, qy, x, y); break;
          case WaterFloor: ok = p.OnFloor(kind, qx, qy, x, y, true); break;
          case Air: ok = p.InAir(kind, qx, qy, x, y); break;
          case Water: ok = p.InAir(kind, qx, qy, x, y, true); break;
          case Ceiling: ok = p.OnCeiling(kind, qx, qy, x, y); break;
          case WallL: ok = p.OnWall(kind, qx, qy, true, x, y); break;
          case WallR: ok = p.OnWall(kind, qx, qy, false, x, y); break;
        }
      }
    if (!ok) {
      std::fprintf(stderr, "quarn-worldgen: no room for %s near (%.0f, %.0f)\n", desc, cx, cy);
      std::exit(1);
    }
    p.Put(desc, kind, x, y, st, stm, flip, trig, score);
  };
  const Room& st = R("start");
  // the armoury on the start chamber's floor, east of the start: the five
  // weapons (every one starts empty) and nothing else, so that walking east
  // with N held takes them all
  place("pistol", 16, st.cx + 1.6f, st.cy + 1, Floor, 0, 0, 0, 0, 100);
  place("icer", 17, st.cx + 2.9f, st.cy + 1, Floor, 0, 0, 0, 0, 100);
  place("blaster", 18, st.cx + 4.2f, st.cy + 1, Floor, 0, 0, 0, 0, 100);
  place("plasmagun", 19, st.cx + 5.5f, st.cy + 1, Floor, 0, 0, 0, 0, 100);
  place("protection_suit", 22, st.cx + 6.8f, st.cy + 1, Floor, 0, 0, 0, 0, 100);
  // the mushroom beds' room
  place("green_mushroom", 12, gr.cx + 2, gr.cy, Floor);
  place("green_mushroom", 12, gr.cx - 3, gr.cy, Floor);
  place("fluffy", 61, gr.cx, gr.cy - 1, Floor, 0, 0, 0, 0, 50);
  place("pink_grub", 66, gr.cx + 4, gr.cy, Floor, 0, 0, 0, 0, 30);
  // the trap room: walking in starts the dropper; a stranded crewman, a key
  // and a remote control wait in it, a cannon hangs from its roof
  const Room& dr = R("dropper");
  place("dropper", 103, dr.cx - 2, dr.cy, Ceiling, 67, 6, 0, 1, 0);
  world.triggers.push_back({"trap_room", 1, static_cast<int>(dr.cx) - 5, static_cast<int>(dr.cy - dr.ry),
                            10, static_cast<int>(2 * dr.ry) + 1});
  place("cannon", 29, dr.cx + 4, dr.cy, Ceiling);
  place("yellow_blob", 6, dr.cx - 5, dr.cy, Floor, 0, 0, 0, 0, 40);
  place("stoned_crew", 63, dr.cx - 1, dr.cy, Floor);
  place("key", 105, dr.cx + 1, dr.cy, Floor);
  place("rcd", 7, dr.cx + 6, dr.cy, Floor);
  // wasps and their nest
  const Room& wa = R("wasps");
  place("wasp_nest", 91, wa.cx - 4, wa.cy, WallL, 64, 4, 0, 0, 500);
  place("white_wasp", 64, wa.cx, wa.cy - 1, Air, 0, 0, 0, 0, 50);
  // the sealed vault: a locked gate and what it keeps
  place("gate", 75, 37.5f, 52, Floor);
  place("coronium", 5, 30, 52, Floor, 0, 0, 0, 0, 200);
  place("whistle", 24, 32, 52, Floor);
  place("vault_key", 106, R("vault").cx, R("vault").cy, Floor);
  // the imp den and the spawner of red imps, west of where the hole from the
  // trap room comes in
  const Room& im = R("impden");
  place("spawner", 102, im.cx - 5, im.cy, Floor, 38, 3, 0, 0, 500);
  place("blue_imp", 39, im.cx - 1, im.cy, Floor, 32, 0, 0, 0, 150);
  place("cyan_imp", 40, im.cx + 5, im.cy, Floor, 31, 0, 0, 0, 150);
  place("mutant_imp", 41, im.cx + 7, im.cy - 1, Floor, 33, 0, 0, 0, 250);
  place("red_imp", 38, im.cx - 7, im.cy, Floor, 11, 0, 0, 0, 150);
  place("red_nest", 84, im.cx - 2, im.cy - 3, Ceiling);
  place("piano", 27, R("westhall").cx, R("westhall").cy, Floor);
  place("block", 28, R("westhall").cx + 3, R("westhall").cy, Floor);
  place("tile_door", 81, R("westhall").cx - 3, R("westhall").cy, Floor);
  // the burger bar
  const Room& bu = R("burgers");
  place("white_burger", 56, bu.cx - 3, bu.cy, Floor, 34, 0, 0, 0, 200);
  place("cyan_burger", 57, bu.cx + 3, bu.cy, Floor, 35, 0, 0, 0, 200);
  place("chatter", 30, bu.cx, bu.cy, Floor, 0, 0, 0, 0, 30);
  place("yellow_grub", 67, bu.cx + 6, bu.cy, Floor, 0, 0, 0, 0, 30);
  // the lake: urns on its shores, frogs, a bridge, fish below (no birds: one
  // that dips into the water splashes, and a splash is heard all over the
  // world)
  const Room& lk = R("lake");
  const Room& sh = R("shore");
  place("urn", 2, sh.cx - 2, sh.cy - 1, Floor);
  place("urn", 2, sh.cx + 1, sh.cy - 1, Floor);
  place("urn", 2, lk.cx - lk.rx + 3, lk.cy - 4, Floor);
  place("full_urn", 3, sh.cx + 3, sh.cy - 1, Floor);
  place("red_frog", 46, R("frogs").cx - 2, R("frogs").cy, Floor, 0, 0, 0, 0, 60);
  place("green_frog", 47, R("frogs").cx + 1, R("frogs").cy, Floor, 0, 0, 0, 0, 60);
  place("invisible_frog", 48, sh.cx - 4, sh.cy - 1, Floor, 0, 0, 0, 0, 80);
  place("big_fish", 62, lk.cx, lk.cy + 4, Water, 0, 0, 0, 0, 300);
  place("green_fish", 70, lk.cx - 6, lk.cy + 3, Water, 0, 0, 0, 0, 40);
  // the middle halls
  const Room& mh = R("midhall");
  place("harry", 49, mh.cx - 4, mh.cy, Floor, 0, 0, 0, 0, 150);
  place("pink_bird", 45, mh.cx - 1, mh.cy - 2, Air, 0, 0, 0, 0, 100);
  place("red_glook", 89, mh.cx + 4, mh.cy, Floor, 0, 0, 0, 0, 80);
  place("chatter_active", 55, mh.cx, mh.cy, Floor, 0, 0, 0, 0, 30);
  place("green_nest", 83, mh.cx + 7, mh.cy, Floor);
  place("buzzball", 68, R("eastmid").cx, R("eastmid").cy - 1, Air, 0, 0, 0, 0, 120);
  place("red_blob", 37, R("eastmid").cx - 3, R("eastmid").cy, Floor, 0, 0, 0, 0, 40);
  place("yellow_nest", 85, R("pitfoot").cx, R("pitfoot").cy, Floor);   // off the east road
  place("button", 72, R("draftcave").cx + 8, R("draftcave").cy, Floor);   // off the east road
  // the gallery over the shaft: the grenades and the booster reward the ride
  place("rock", 4, 141, 35, Floor);
  place("rip", 20, 145, 35, Floor);
  place("fip", 21, 147, 35, Floor);
  place("grenade", 14, 143, 35, Floor);
  place("grenade", 14, 139, 35, Floor);
  place("booster", 23, 149.5f, 35, Floor);
  // gargoyle hall (the routes pass along its floor: its nest hangs from the
  // roof)
  const Room& ga = R("gargoyles");
  place("gargoyle", 93, ga.cx - 3, ga.cy - 2, WallL, 0, 0, 0, 0, 400);
  place("gargoyle", 93, ga.cx + 3, ga.cy - 2, WallR, 0, 0, 1, 0, 400);
  place("gargoyle", 93, ga.cx + 2, ga.cy - 3, Ceiling, 0, 0, 3, 0, 400);
  place("purple_nest", 86, ga.cx, ga.cy, Ceiling);
  place("bat", 44, ga.cx - 2, ga.cy - 1, Air, 0, 0, 0, 0, 100);
  place("white_bird", 43, ga.cx + 5, ga.cy - 1, Air, 0, 0, 0, 0, 100);
  // the base: daleks, telebots and a triax on metal floors, the daleks a
  // little way from the shaft the man comes up
  const Room& ba = R("base");
  place("pink_dalek", 58, ba.cx - 1, ba.cy, Floor, 31, 0, 0, 0, 300);
  place("red_dalek", 59, ba.cx + 1, ba.cy, Floor, 33, 0, 0, 0, 300);
  place("blue_dalek", 60, ba.cx + 6, ba.cy, Floor, 104, 0, 0, 0, 300);
  place("cyan_telebot", 50, ba.cx - 9, ba.cy, Floor, 0, 0, 0, 0, 150);
  place("pink_telebot", 51, ba.cx + 2, ba.cy, Floor, 0, 0, 0, 0, 150);
  place("green_telebot", 52, ba.cx + 9, ba.cy, Floor, 0, 0, 0, 0, 150);
  place("red_telebot", 53, R("eastcave").cx, R("eastcave").cy, Floor, 0, 0, 0, 0, 150);
  place("triax", 54, ba.cx + 11, ba.cy, Floor, 0, 0, 0, 0, 250);
  place("plasma_cannon", 13, R("eastcave").cx - 4, R("eastcave").cy, Floor);
  place("crcd", 8, R("eastcave").cx + 3, R("eastcave").cy, Floor);
  place("red_gate", 74, ba.cx + 3.5f, ba.cy, Floor);
  place("green_gate_h", 79, R("eastcave").cx - 1, R("eastcave").cy, Floor);
  // buzzballs and fire in the hot rock, beyond where the passage comes in
  const Room& bt = R("bats");
  place("invisible_buzzball", 69, bt.cx + 6, bt.cy, Air, 0, 0, 0, 0, 150);
  place("fire", 90, bt.cx + 5, bt.cy, Floor);
  place("fire", 90, bt.cx + 8, bt.cy, Floor);
  place("slow_nest", 87, bt.cx + 2, bt.cy, Floor);
  place("power_pod", 26, bt.cx - 4, bt.cy, Floor);
  // the crystal cave and its reward
  const Room& cr = R("crystals");
  place("crystal", 9, cr.cx - 3, cr.cy, Floor, 0, 0, 0, 0, 100);
  place("crystal", 9, cr.cx + 3, cr.cy, Floor, 0, 0, 0, 0, 100);
  place("cyan_nest", 88, cr.cx + 5, cr.cy, Floor);
  place("reward", 103, cr.cx, cr.cy, Ceiling, 5, 4, 0, 2, 0);
  world.triggers.push_back({"crystal_cave", 2, static_cast<int>(cr.cx) - 4, static_cast<int>(cr.cy - cr.ry),
                            8, static_cast<int>(2 * cr.ry) + 1});
  place("key", 107, cr.cx - 5, cr.cy, Floor);
  place("whistle", 25, cr.cx + 1, cr.cy, Floor);
  // under water
  const Room& uc = R("ucave");
  place("piranha_nest", 92, uc.cx - 6, uc.cy, WaterFloor, 70, 3, 0, 0, 500);
  place("red_fish", 71, uc.cx + 3, uc.cy, Water, 0, 0, 0, 0, 40);
  place("cyan_door", 76, R("uwest").cx, R("uwest").cy, WaterFloor);
  place("big_fish", 62, R("ueast").cx, R("ueast").cy, Water, 0, 0, 0, 0, 300);
  place("piranha_nest", 92, R("deep").cx + 5, R("deep").cy, WaterFloor, 71, 3, 1, 0, 500);
  place("key", 108, R("deep").cx - 5, R("deep").cy, WaterFloor);
  place("key", 109, R("ueast").cx + 4, R("ueast").cy, WaterFloor);
  place("key", 110, R("uwest").cx - 5, R("uwest").cy, WaterFloor);
  // refills for the weapons further in
  place("pistol", 16, im.cx + 2, im.cy, Floor, 0, 0, 0, 0, 50);
  place("icer", 17, ba.cx + 8, ba.cy, Floor, 0, 0, 0, 0, 50);
  place("plasmagun", 19, bt.cx - 1, bt.cy, Floor, 0, 0, 0, 0, 50);
  place("blaster", 18, cr.cx + 2, cr.cy, Floor, 0, 0, 0, 0, 50);
  place("pistol", 16, sh.cx, sh.cy - 1, Floor, 0, 0, 0, 0, 50);
  // the rest of the doors stand as gates in side rooms, off the routes (a
  // locked door never opens), the hatches in a roof and at a cave's far end
  place("red_pink_door", 77, R("westhall").cx + 5, R("westhall").cy, Floor);
  place("pink_door", 78, R("eastcave").cx + 6, R("eastcave").cy, Floor);
  place("green_door", 73, R("midhall").cx - 8, R("midhall").cy, Floor);
  place("cyan_door_h", 80, R("gargoyles").cx - 6, R("gargoyles").cy, Ceiling);
  place("tile_door_h", 82, R("crystals").cx + 6, R("crystals").cy, Floor);
  // birds, bats and a stray wasp over the surface valley (creatures that
  // share a room sting, bite and burn each other, and every death scores)
  place("bat", 44, 104, 11, Air, 0, 0, 0, 0, 100);
  place("bat", 44, 160, 10, Air, 0, 0, 0, 0, 100);
  place("green_wasp", 65, 226, 12, Air, 0, 0, 0, 0, 50);
  place("green_bird", 42, 120, 10, Air, 0, 0, 0, 0, 100);
  place("white_bird", 43, 140, 12, Air, 0, 0, 0, 0, 100);
  place("whistle", 24, 118, 12, Floor);
}

}  // namespace wg
