// The collision grid: a uniform grid of 128 x 128 cells over the map, each
// cell listing the slots whose box lies (partly) in it, so that a mover asks
// only the slots near its next box instead of all 4096. Boxes beyond the map
// fall into the edge cells. The grid lives through the moving pass: the pass
// opens it (every slot taken as it then is), tells it of every slot that moves
// or is spawned during the pass, and closes it. Outside the pass the collision
// search scans the table. In the pass a body is moved only by its own frame,
// with one exception, the teleport, which tells the grid itself; the spawns
// tell it of every new slot.
//
// A box that spans more than 2 x 2 cells, or whose right or bottom edge does
// not fit in 32 bits, goes on the wide list, which every search tries. The
// search answers the lowest slot that the caller's test accepts among the
// candidates, which is the first one in slot order: the test only reads.
#include "game.h"

namespace {

constexpr int CELL_SHIFT = 14;            // 16384 units: two tiles
constexpr int CELLS = 128;                // per side: the 256-tile map
constexpr int PER_SLOT = 4;               // cells a slot may sit in
constexpr int MAX_QUERY_CELLS = 16;       // a larger search scans the table instead

enum Where : uint8_t { wNone, wCells, wWide };

struct Range {
  int16_t x0, y0, x1, y1;
  bool operator==(const Range&) const = default;
};

struct SlotPlace {
  Where where;
  Range r;
};

bool gridready = false;                   // the cells have been emptied once
bool gridopen = false;
int32_t head[CELLS * CELLS];              // first entry of a cell, -1 for none
int32_t nexte[MAX_ENTITIES * PER_SLOT];   // entry e is slot e / 4 in its e % 4th cell
int32_t preve[MAX_ENTITIES * PER_SLOT];
int32_t cellof[MAX_ENTITIES * PER_SLOT];
SlotPlace place[MAX_ENTITIES];
int32_t wide[MAX_ENTITIES], widepos[MAX_ENTITIES], nwide = 0;

int16_t Cell(int32_t v) {
  int32_t c = v >> CELL_SHIFT;   // arithmetic: rounds toward minus infinity
  return int16_t(c < 0 ? 0 : c >= CELLS ? CELLS - 1 : c);
}

// The cells of the box [x, x + w] x [y, y + h]; false when an edge does not
// fit in 32 bits (the table scan then compares wrapped values).
bool CellsOf(int32_t x, int32_t y, int32_t w, int32_t h, Range* r) {
  int64_t x2 = int64_t(x) + w, y2 = int64_t(y) + h;
  if (w < 0 || h < 0 || x2 > INT32_MAX || y2 > INT32_MAX) return false;
  *r = {Cell(x), Cell(y), Cell(int32_t(x2)), Cell(int32_t(y2))};
  return true;
}

int Area(const Range& r) { return (r.x1 - r.x0 + 1) * (r.y1 - r.y0 + 1); }

void Unlink(int slot) {
  SlotPlace& p = place[slot];
  if (p.where == wCells) {
    for (int k = 0; k < Area(p.r); ++k) {
      int e = slot * PER_SLOT + k;
      if (preve[e] >= 0) nexte[preve[e]] = nexte[e];
      else head[cellof[e]] = nexte[e];
      if (nexte[e] >= 0) preve[nexte[e]] = preve[e];
    }
  } else if (p.where == wWide) {
    int last = wide[--nwide];
    wide[widepos[slot]] = last;
    widepos[last] = widepos[slot];
  }
  p.where = wNone;
}

void Link(int slot, Where where, const Range& r) {
  SlotPlace& p = place[slot];
  p.where = where;
  p.r = r;
  if (where == wWide) {
    widepos[slot] = nwide;
    wide[nwide++] = slot;
    return;
  }
  int k = 0;
  for (int cy = r.y0; cy <= r.y1; ++cy)
    for (int cx = r.x0; cx <= r.x1; ++cx, ++k) {
      int e = slot * PER_SLOT + k, c = cy * CELLS + cx;
      cellof[e] = c;
      preve[e] = -1;
      nexte[e] = head[c];
      if (head[c] >= 0) preve[head[c]] = e;
      head[c] = e;
    }
}

}  // namespace

void ResetEntityGrid() {
  gridready = true;
  gridopen = false;
  for (int32_t& h : head) h = -1;
  for (SlotPlace& p : place) p.where = wNone;
  nwide = 0;
}

void RegridEntity(int slot) {
  if (!gridopen || slot < 0 || slot >= MAX_ENTITIES) return;
  const TEntity& o = Entities[slot];
  Where where = wNone;
  Range r{};
  if (o.kind != blank)
    where = CellsOf(o.x, o.y, o.w, o.h, &r) && Area(r) <= PER_SLOT ? wCells : wWide;
  const SlotPlace& p = place[slot];
  if (p.where == where && (where != wCells || p.r == r)) return;
  Unlink(slot);
  if (where != wNone) Link(slot, where, r);
}

void OpenEntityGrid() {
  if (!gridready) ResetEntityGrid();
  gridopen = true;
  for (int i = 0; i < MAX_ENTITIES; ++i)
    if (Entities[i].kind != blank || place[i].where != wNone) RegridEntity(i);
}

void CloseEntityGrid() { gridopen = false; }

int GridFirstAccepted(int32_t ix, int32_t iy, int32_t w, int32_t h, const TEntity* ent,
                      bool (*accepts)(const TEntity* ent, int slot)) {
  Range q;
  if (!gridopen || !CellsOf(ix, iy, w, h, &q) || Area(q) > MAX_QUERY_CELLS) return GRID_CANNOT;
  int best = MAX_ENTITIES;
  for (int cy = q.y0; cy <= q.y1; ++cy)
    for (int cx = q.x0; cx <= q.x1; ++cx)
      for (int e = head[cy * CELLS + cx]; e >= 0; e = nexte[e]) {
        int j = e / PER_SLOT;
        if (j < best && accepts(ent, j)) best = j;
      }
  for (int k = 0; k < nwide; ++k)
    if (wide[k] < best && accepts(ent, wide[k])) best = wide[k];
  return best == MAX_ENTITIES ? -1 : best;
}
