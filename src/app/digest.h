// A digest of the whole world state, for determinism checks: the same start and
// the same keys must give the same digest on every run and in every build.
//
// Every table is hashed field by field (64-bit FNV-1a over each value's
// little-endian bytes), never as raw struct bytes, so padding never counts.
// Pointers are never hashed as addresses: an entity pointer becomes the slot it
// points at, a behaviour operation becomes its fixed id in the list of
// behaviours.
#pragma once
#include <cstddef>
#include <cstdint>

#include "defs/defs.h"

struct Fnv64 {
  uint64_t h = 0xcbf29ce484222325ull;
  void Byte(uint8_t b) {
    h ^= b;
    h *= 0x100000001b3ull;
  }
  void U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) Byte(uint8_t(v >> (8 * i)));
  }
  void I32(int32_t v) { U32(uint32_t(v)); }
  void U64(uint64_t v) {
    U32(uint32_t(v));
    U32(uint32_t(v >> 32));
  }
  void Bytes(const uint8_t* p, size_t n) {
    for (size_t i = 0; i < n; ++i) Byte(p[i]);
  }
  // a char field: the text up to its terminator (what lies beyond is not state)
  void Text(const char* s, size_t cap);
};

// The world's state, one digest per part and one over all of them.
struct WorldDigest {
  uint64_t all;
  uint64_t frame;      // frame, view, mouse, menu/HUD/editor state, key latches, random state
  uint64_t map;        // tile words and collision masks
  uint64_t classes;    // the entity class table
  uint64_t entities;   // the entity table and its cursor
  uint64_t players;    // the player records
  uint64_t particles;  // the particle table and its cursor
  uint64_t fountains;  // the fountain table and its cursor
  uint64_t winds;      // wind areas, their cursor and the water line
  uint64_t triggers;   // the trigger table and its cursor
  uint64_t sound;      // the sound module's slots
};

WorldDigest DigestWorld();

// One line: "all=... frame=... map=... ..." (16 hex digits each).
void FormatDigest(const WorldDigest& d, char* out, size_t size);

// The fixed id of a behaviour operation: 0 for none, 1.. for the game's
// behaviours, 0xFFFF for an operation that is not in the list.
int32_t OperationId(TEntityOp op);

// An entity pointer as a stable number: -1 null, 0..4095 an entity slot,
// 10000 + p a player's held record, 20000 + 4p + i a player's remembered
// record i, -2 anything else.
int32_t EntityRef(const TEntity* e);

// Checks the tables' invariants (slot markers and cursors in range, frame
// counter and zoom in range, the player's entity index valid, entity pointers
// into the tables, the editor's history). Answers true when all hold; otherwise false with the first
// broken one described in `why`.
bool CheckWorldInvariants(char* why, size_t size);
