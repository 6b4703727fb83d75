#include "game.h"

// Not built yet: an empty entry point with its final signature.
int InitSoundSystem(long hwnd) { (void)hwnd; return 0; }
void LoadSoundsFromFile() { }
void CacheSound(const char* aFileName, TSoundId aIndex) { (void)aFileName; (void)aIndex; }
int LoadWavToStaticBuffer(const uint8_t* lpBuffer, int fsize, int lpdsBuffer) { (void)lpBuffer; (void)fsize; (void)lpdsBuffer; return 0; }
void PlaySFX(TSoundId snd) { (void)snd; }
void PlaySFXWithTint(TSoundId snd, int variance) { (void)snd; (void)variance; }
void FreeSoundSystem() { }
int InitQuarnListener() { return 0; }
void PlayWav(int idx) { (void)idx; }
void LoopWav(int idx) { (void)idx; }
void StopWav(int idx) { (void)idx; }
void ResetSoundGlobals() { }
