// The sound module's own globals: the effect cache (whole WAV file images read
// at start-up, indexed by sound id), the open device and the four most recently
// started effect buffers, taken round robin.
#pragma once
#include <cstdint>

#include "platform/platform.h"

constexpr int SFX_CACHE_SIZE = 256;
constexpr int SFX_SLOTS = 4;
// Buffers that have left the four slots but are still playing; each is
// released once it has finished. There is room for every buffer the device
// can hold, so a buffer pushed out of its slot always plays to its end.
constexpr int SFX_RETIRED = AUDIO_MAX_BUFFERS;

extern uint8_t* QuarnSFXCache[SFX_CACHE_SIZE];
extern int32_t QuarnSFXCacheSize[SFX_CACHE_SIZE];
extern AudioDevice* qusnd;              // the open device; null while none is open
extern int32_t QuarnSFX[SFX_SLOTS];     // buffer handles, 0 for none
extern int32_t qusnd_sndbufidx;         // the slot the next play takes
extern int32_t QuarnSFXRetired[SFX_RETIRED];

// Parses a WAV image (RIFF form "WAVE" with an "fmt " chunk and then a "data"
// chunk) without reading outside it; true with the format and the sample
// bytes for a PCM file of 8 or 16 bits, mono or stereo.
bool ReadWavImage(const uint8_t* image, int32_t size, AudioFormat* fmt, const uint8_t** pcm,
                  int32_t* bytes);
