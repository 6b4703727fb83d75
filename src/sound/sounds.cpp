// The effect cache and playback. Every effect's WAV file is read whole at
// start-up; each play builds a fresh buffer from that image and starts it in
// the next of four slots, round robin. A new play never stops an earlier one:
// a buffer pushed out of its slot plays on and is released once it has ended.
#include <cstdio>

#include "defs/problems.h"
#include "defs/random.h"
#include "game.h"
#include "sound/quarnsound.h"

namespace {


// Releases every pushed-out buffer that has finished playing.
void ReleaseFinished() {
  for (int32_t& b : QuarnSFXRetired) {
    if (b != 0 && !qusnd->IsPlaying(b)) {
      qusnd->Release(b);
      b = 0;
    }
  }
}

// Empties slot i, keeping its buffer to play on if it still does. The kept
// list has room for every buffer the device can hold; only a device that
// holds more than it promises could find it full, and then the buffer ends.
void EmptySlot(int i) {
  int32_t b = QuarnSFX[i];
  QuarnSFX[i] = 0;
  if (b == 0 || qusnd == nullptr) return;
  if (qusnd->IsPlaying(b)) {
    for (int32_t& r : QuarnSFXRetired) {
      if (r == 0) {
        r = b;
        return;
      }
    }
  }
  qusnd->Release(b);
}

// variance > 0: 11000 Hz varied by up to variance - 1; variance <= 0: 11000 Hz;
// no tint (tinted false): the file's own rate.
void PlayEffect(TSoundId snd, bool tinted, int variance) {
  if (snd < 0 || snd >= SFX_CACHE_SIZE || QuarnSFXCache[snd] == nullptr) {
    std::printf("sound %i not found in cache", int(snd));
    std::fflush(stdout);
    return;
  }
  if (qusnd != nullptr) ReleaseFinished();
  EmptySlot(qusnd_sndbufidx);

  AudioFormat fmt;
  const uint8_t* pcm;
  int32_t bytes;
  int32_t buf = 0;
  if (qusnd != nullptr &&
      ReadWavImage(QuarnSFXCache[snd], QuarnSFXCacheSize[snd], &fmt, &pcm, &bytes))
    buf = qusnd->MakeBuffer(fmt, pcm, bytes);
  QuarnSFX[qusnd_sndbufidx] = buf;
  // a malformed image, or a device that can make no more buffers (all it holds
  // are playing): skipped silently, the slot empty and the cursor unmoved
  if (buf == 0) return;

  qusnd->Stop(buf);
  int32_t rate = fmt.rate;
  if (tinted) {
    rate = 11000;
    if (variance > 0) {
      int32_t r1 = Rand();
      int32_t r2 = Rand();
      rate = 11000 + r1 % variance - r2 % variance;
    }
  }
  qusnd->Play(buf, rate);

  qusnd_sndbufidx++;
  if (qusnd_sndbufidx == SFX_SLOTS) qusnd_sndbufidx = 0;
}

}  // namespace

void LoadSoundsFromFile() {
  CacheSound("wasp", es_waspbuzz);
  CacheSound("icershot", es_icershot);
  CacheSound("pistolshot", es_pistolshot);
  CacheSound("blastershot", es_blastershot);
  CacheSound("plasmashot", es_plasmashot);
  CacheSound("fanfare", es_fanfare);
  CacheSound("splash", es_splash);
  CacheSound("explosion1", es_explosion1);
  CacheSound("explosion2", es_explosion2);
  CacheSound("button", es_button);
  CacheSound("ric1", es_ricochet1);
  CacheSound("ric2", es_ricochet2);
  CacheSound("dooropen", es_dooropen);
  CacheSound("doorshut", es_doorshut);
  CacheSound("chimp1", es_chimp1);
  CacheSound("chimp2", es_chimp2);
  CacheSound("chimppain1", es_chimppain1);
  CacheSound("chimppain2", es_chimppain2);
}

void CacheSound(const char* aFileName, TSoundId aIndex) {
  if (aIndex < 0 || aIndex >= SFX_CACHE_SIZE) return;
  char path[64];
  std::snprintf(path, sizeof path, "sfx\\%s.wav", aFileName);
  FILE* f = OpenDataFile(path, "rb");
  if (f == nullptr) {   // missing: the entry stays empty
    LoadProblem(path, -1, "missing: sound %d plays nothing", int(aIndex));
    return;
  }
  long size = -1;
  if (std::fseek(f, 0, SEEK_END) == 0) size = std::ftell(f);
  if (size < 0 || size > 0x7FFFFFFF || std::fseek(f, 0, SEEK_SET) != 0) {
    std::fclose(f);
    return;
  }
  uint8_t* image = new uint8_t[size_t(size)];
  size_t got = std::fread(image, 1, size_t(size), f);
  std::fclose(f);
  if (got != size_t(size)) {
    delete[] image;
    return;
  }
  std::printf("Loaded sound %i (%i bytes)\n", int(aIndex), int(size));
  std::fflush(stdout);
  delete[] QuarnSFXCache[aIndex];
  QuarnSFXCache[aIndex] = image;
  QuarnSFXCacheSize[aIndex] = int32_t(size);
  LoadRecord(path, -1, int(aIndex));
}

void PlaySFX(TSoundId snd) { PlayEffect(snd, false, 0); }

void PlaySFXWithTint(TSoundId snd, int variance) { PlayEffect(snd, true, variance); }
