#include "game.h"

// Not built yet: an empty entry point with its final signature.
void InitialiseWinds() { }
void SpawnWind(int idx, int lx, int ty, int w, int h, int wvx, int wvy) { (void)idx; (void)lx; (void)ty; (void)w; (void)h; (void)wvx; (void)wvy; }
int32_t randL() { return 0; }
void UpdateWind(int idx) { (void)idx; }
void DisplayWind() { }
void WindAdjust(TEntity* ent, int32_t m) { (void)ent; (void)m; }
