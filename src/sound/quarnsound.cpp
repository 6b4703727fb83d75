// The sound system: opening and releasing the device, reading WAV images into
// playable buffers, and the empty listener and looping entry points.
#include "sound/quarnsound.h"

#include <cstring>

#include "game.h"

uint8_t* QuarnSFXCache[SFX_CACHE_SIZE];
int32_t QuarnSFXCacheSize[SFX_CACHE_SIZE];
AudioDevice* qusnd = nullptr;
int32_t QuarnSFX[SFX_SLOTS];
int32_t qusnd_sndbufidx = 0;
int32_t QuarnSFXRetired[SFX_RETIRED];

namespace {

uint32_t Le32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

bool IsId(const uint8_t* p, const char* id) { return std::memcmp(p, id, 4) == 0; }

// Looks for the chunk `id` among the chunks from `pos` up to `end`, the way a
// descent into a chunk searches its parent. On success `data` is the offset of
// the chunk's contents and `size` its declared size.
bool FindChunk(const uint8_t* img, int64_t pos, int64_t end, const char* id, int64_t* data,
               int64_t* size) {
  while (pos + 8 <= end) {
    int64_t sz = Le32(img + pos + 4);
    if (IsId(img + pos, id)) {
      *data = pos + 8;
      *size = sz;
      return true;
    }
    pos += 8 + sz + (sz & 1);   // chunks are padded to an even length
  }
  return false;
}

// The WAVEFORMATEX record as it lies in the file.
struct WavFormat {
  uint16_t formatTag, channels;
  uint32_t samplesPerSec, avgBytesPerSec;
  uint16_t blockAlign, bitsPerSample, cbSize;
};

}  // namespace

bool ReadWavImage(const uint8_t* image, int32_t size, AudioFormat* fmt, const uint8_t** pcm,
                  int32_t* bytes) {
  if (image == nullptr || size < 12) return false;
  const int64_t end = size;

  // the RIFF chunk of form type "WAVE", searched among the top-level chunks
  int64_t pos = 0, riffEnd = -1;
  while (pos + 12 <= end) {
    int64_t sz = Le32(image + pos + 4);
    if (IsId(image + pos, "RIFF") && IsId(image + pos + 8, "WAVE")) {
      riffEnd = pos + 8 + sz < end ? pos + 8 + sz : end;
      pos += 12;
      break;
    }
    pos += 8 + sz + (sz & 1);
  }
  if (riffEnd < 0) return false;

  // "fmt ": only the first 18 bytes are the record; a 16-byte chunk leaves the
  // extra size at 0, which PCM does not use
  int64_t fdata, fsize;
  if (!FindChunk(image, pos, riffEnd, "fmt ", &fdata, &fsize)) return false;
  if (fsize < 16) return false;
  int64_t want = fsize < 18 ? fsize : 18;
  if (fdata + want > end) return false;
  uint8_t rec[18] = {};
  std::memcpy(rec, image + fdata, size_t(want));
  WavFormat wf{Le16(rec), Le16(rec + 2), Le32(rec + 4), Le32(rec + 8),
               Le16(rec + 12), Le16(rec + 14), Le16(rec + 16)};

  // "data" follows the format chunk
  int64_t ddata, dsize;
  int64_t after = fdata + fsize + (fsize & 1);
  if (!FindChunk(image, after, riffEnd, "data", &ddata, &dsize)) return false;
  if (ddata + dsize > end) return false;   // a short read: the file is cut off

  // what the device can make a buffer of
  if (wf.formatTag != 1) return false;
  if (wf.channels != 1 && wf.channels != 2) return false;
  if (wf.bitsPerSample != 8 && wf.bitsPerSample != 16) return false;
  if (wf.samplesPerSec == 0 || wf.samplesPerSec > 0x7FFFFFFF) return false;
  if (dsize == 0) return false;

  fmt->channels = wf.channels;
  fmt->bits = wf.bitsPerSample;
  fmt->rate = int(wf.samplesPerSec);
  *pcm = image + ddata;
  *bytes = int32_t(dsize);
  return true;
}

int InitSoundSystem(long hwnd) {
  (void)hwnd;   // the device needs nothing from the window
  if (qusnd != nullptr) FreeSoundSystem();
  if (!audio->Open()) return 0;
  qusnd = audio;
  LoadSoundsFromFile();
  return 1;
}

// Makes a new buffer from a WAV image. Device buffers cannot be refilled in
// place, so a given buffer is refused (0) and left as it is.
int LoadWavToStaticBuffer(const uint8_t* lpBuffer, int fsize, int lpdsBuffer) {
  if (lpdsBuffer != 0 || qusnd == nullptr) return 0;
  AudioFormat fmt;
  const uint8_t* pcm;
  int32_t bytes;
  if (!ReadWavImage(lpBuffer, fsize, &fmt, &pcm, &bytes)) return 0;
  return qusnd->MakeBuffer(fmt, pcm, bytes);
}

void FreeSoundSystem() {
  for (int32_t& b : QuarnSFX) {
    if (b != 0 && qusnd != nullptr) qusnd->Release(b);
    b = 0;
  }
  for (int32_t& b : QuarnSFXRetired) {
    if (b != 0 && qusnd != nullptr) qusnd->Release(b);
    b = 0;
  }
  for (int i = 0; i < SFX_CACHE_SIZE; i++) {
    delete[] QuarnSFXCache[i];
    QuarnSFXCache[i] = nullptr;
    QuarnSFXCacheSize[i] = 0;
  }
  if (qusnd != nullptr) {
    qusnd->Close();
    qusnd = nullptr;
  }
}

int InitQuarnListener() { return 1; }

void PlayWav(int idx) { (void)idx; }
void LoopWav(int idx) { (void)idx; }
void StopWav(int idx) { (void)idx; }

// Back to the start values without touching any device: the one the handles
// belonged to may be gone.
void ResetSoundGlobals() {
  for (int i = 0; i < SFX_CACHE_SIZE; i++) {
    delete[] QuarnSFXCache[i];
    QuarnSFXCache[i] = nullptr;
    QuarnSFXCacheSize[i] = 0;
  }
  qusnd = nullptr;
  for (int32_t& b : QuarnSFX) b = 0;
  for (int32_t& b : QuarnSFXRetired) b = 0;
  qusnd_sndbufidx = 0;
}
