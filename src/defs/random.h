// The game's one pseudo-random generator: the classic linear congruential
// generator of the old C runtimes (state * 214013 + 2531011, value bits 16..30),
// never seeded, so every run draws the same sequence. Values are 0..32767.
#pragma once
#include <cstdint>

extern uint32_t randstate;

inline int32_t Rand() {
  randstate = randstate * 214013u + 2531011u;
  return static_cast<int32_t>((randstate >> 16) & 0x7FFF);
}

inline void ResetRand() { randstate = 1; }
