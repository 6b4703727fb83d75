#include "game.h"

// Not built yet: an empty entry point with its final signature.
void InitialiseTriggers(const char* fname) { (void)fname; }
void SpawnTrigger(int32_t id, int32_t x, int32_t y, int32_t w, int32_t h) { (void)id; (void)x; (void)y; (void)w; (void)h; }
void CheckTriggers(int32_t x, int32_t y) { (void)x; (void)y; }
