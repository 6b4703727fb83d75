// Sound effects against the recording fake device: loading the cache, the
// four-slot round robin that never cuts a sound short, the tinted pitch,
// malformed WAV images, missing effects and releasing the system.
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "defs/random.h"
#include "platform/fakeaudio.h"
#include "sound/quarnsound.h"
#include "test_map_files.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Put(Bytes& b, uint32_t v, int n) {
  for (int i = 0; i < n; i++) b.push_back(uint8_t(v >> (8 * i)));
}
void PutId(Bytes& b, const char* id) {
  for (int i = 0; i < 4; i++) b.push_back(uint8_t(id[i]));
}
void Chunk(Bytes& b, const char* id, const Bytes& body, uint32_t size = ~0u) {
  PutId(b, id);
  Put(b, size == ~0u ? uint32_t(body.size()) : size, 4);
  b.insert(b.end(), body.begin(), body.end());
  if (body.size() & 1) b.push_back(0);
}
Bytes Fmt(int rate, int channels = 1, int bits = 16, int tag = 1, size_t size = 16) {
  Bytes f;
  Put(f, tag, 2);
  Put(f, channels, 2);
  Put(f, rate, 4);
  Put(f, rate * channels * bits / 8, 4);
  Put(f, channels * bits / 8, 2);
  Put(f, bits, 2);
  f.resize(size, 0xEE);
  return f;
}
Bytes Riff(const Bytes& chunks, const char* form = "WAVE") {
  Bytes w;
  PutId(w, "RIFF");
  Put(w, uint32_t(chunks.size() + 4), 4);
  PutId(w, form);
  w.insert(w.end(), chunks.begin(), chunks.end());
  return w;
}
Bytes Wav(int rate, size_t bytes = 100) {
  Bytes c;
  Chunk(c, "fmt ", Fmt(rate));
  Chunk(c, "data", Bytes(bytes, 0x40));
  return Riff(c);
}

struct SoundTest : InTempFolder {
  FakeAudio fake;
  void SetUp() override {
    InTempFolder::SetUp();
    Folder("sfx");
    audio = &fake;
  }
  void TearDown() override { ResetSoundGlobals(), InTempFolder::TearDown(); }
  static void File(const std::string& base, const Bytes& image) { WriteFile("sfx/" + base + ".wav", image); }
  // allocated to its exact size, so reading past it shows under the sanitizer
  static void Cache(TSoundId id, const Bytes& image) {
    delete[] QuarnSFXCache[id];
    QuarnSFXCache[id] = new uint8_t[image.size()];
    if (!image.empty()) std::memcpy(QuarnSFXCache[id], image.data(), image.size());
    QuarnSFXCacheSize[id] = int32_t(image.size());
  }
  void Start() {
    Said([&] { ASSERT_EQ(InitSoundSystem(0), 1); });
  }
};

}  // namespace

TEST_F(SoundTest, LoadsTheFilesInOrderAndSkipsMissingOnes) {
  const char* names[] = {"wasp", "fanfare", "pistolshot", "icershot", "plasmashot",
                         "splash", "ric1", "cannonshot"};   // "cannonshot" has no id
  for (const char* n : names) File(n, Wav(22050, std::strlen(n)));
  EXPECT_EQ(Said([&] { ASSERT_EQ(InitSoundSystem(0), 1); }),
            "Loaded sound 0 (48 bytes)\nLoaded sound 3 (52 bytes)\n"
            "Loaded sound 2 (54 bytes)\nLoaded sound 5 (54 bytes)\n"
            "Loaded sound 1 (52 bytes)\nLoaded sound 7 (50 bytes)\n"
            "Loaded sound 11 (48 bytes)\n");
  EXPECT_EQ(std::memcmp(QuarnSFXCache[es_fanfare], Wav(22050, 7).data(), 52), 0);
  EXPECT_EQ(QuarnSFXCache[es_blastershot], nullptr);
  EXPECT_EQ(QuarnSFXCache[es_cannonshot], nullptr);
}

// Five plays take slots 0, 1, 2, 3, 0 and all five play on; a buffer that
// has left its slot is released once it has finished, and only then.
TEST_F(SoundTest, RoundRobinOverFourSlotsNeverCutsASound) {
  Start();
  Cache(es_explosion2, Wav(22050, 300));
  std::vector<int> slots;
  for (int i = 0; i < 5; i++) {
    slots.push_back(qusnd_sndbufidx);
    PlaySFX(es_explosion2);
  }
  EXPECT_EQ(slots, (std::vector<int>{0, 1, 2, 3, 0}));
  EXPECT_EQ(QuarnSFX[0], 5);
  EXPECT_EQ(fake.Playing(), (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_TRUE(fake.released.empty());
  for (const auto& p : fake.plays) EXPECT_EQ(p.rate, 22050);   // the file's own rate
  EXPECT_EQ(fake.buffers[0].pcm, Bytes(300, 0x40));

  fake.Finish(1);   // pushed out of slot 0, now over
  fake.Finish(2);   // still in slot 1, about to be pushed out
  PlaySFX(es_explosion2);
  EXPECT_EQ(fake.released, (std::vector<int>{1, 2}));
  EXPECT_EQ(fake.Live(), (std::vector<int>{3, 4, 5, 6}));
}

// A buffer that cannot be made, also because every buffer the device can
// hold is still playing, skips the play: its slot empty, the cursor unmoved,
// and no playing sound cut short.
TEST_F(SoundTest, FailedBufferLeavesTheSlotEmptyAndTheCursorWhereItWas) {
  Start();
  Cache(es_button, Wav(22050));
  PlaySFX(es_button);
  fake.failBuffers = true;
  PlaySFX(es_button);
  EXPECT_EQ(qusnd_sndbufidx, 1);
  EXPECT_EQ(QuarnSFX[1], 0);

  fake.failBuffers = false;
  for (int i = 1; i < AUDIO_MAX_BUFFERS; i++) PlaySFX(es_button);
  ASSERT_EQ(fake.Playing().size(), size_t(AUDIO_MAX_BUFFERS));
  const int cursor = qusnd_sndbufidx;
  PlaySFX(es_button);
  EXPECT_EQ((std::vector<int>{qusnd_sndbufidx, QuarnSFX[cursor], int(fake.Playing().size()),
                              int(fake.released.size())}),
            (std::vector<int>{cursor, 0, AUDIO_MAX_BUFFERS, 0}));
  fake.Finish(1);   // one ends: the next play has its buffer again
  PlaySFX(es_button);
  EXPECT_EQ((std::vector<int>{qusnd_sndbufidx, QuarnSFX[cursor]}),
            (std::vector<int>{(cursor + 1) % 4, AUDIO_MAX_BUFFERS + 1}));
}

TEST_F(SoundTest, TintedPitchIs11000VariedByUnderTheVariance) {
  Start();
  Cache(es_chimp1, Wav(44100));
  PlaySFXWithTint(es_chimp1, 1);
  EXPECT_EQ(fake.plays.back().rate, 11000);
  const uint32_t state = randstate;
  PlaySFXWithTint(es_chimp1, 0);   // no remainder by zero, and no draws
  EXPECT_EQ(fake.plays.back().rate, 11000);
  EXPECT_EQ(randstate, state);
  ResetRand();   // the next draws: 41, 18467
  PlaySFXWithTint(es_chimp1, 300);
  EXPECT_EQ(fake.plays.back().rate, 11000 + 41 - 18467 % 300);
}

TEST_F(SoundTest, MalformedImagesAreSkippedSilently) {
  Start();
  std::vector<Bytes> bad = {{}, {'R', 'I', 'F', 'F'}, Riff({}, "WAVE")};
  Bytes fmt, data, cut;
  Chunk(fmt, "fmt ", Fmt(22050));
  Chunk(data, "data", Bytes(10, 1));
  bad.push_back(Riff(fmt, "AVI "));
  bad.push_back(Riff(data));                                  // no format
  bad.push_back(Riff(fmt));                                   // no samples
  Bytes swapped = data;
  swapped.insert(swapped.end(), fmt.begin(), fmt.end());
  bad.push_back(Riff(swapped));                               // data before fmt
  cut = fmt;
  Chunk(cut, "data", Bytes(10, 1), 0x7FFFFFFF);
  bad.push_back(Riff(cut));                                   // data past the end
  Bytes huge;
  Chunk(huge, "fmt ", Fmt(22050), 0xFFFFFFF0u);
  bad.push_back(Riff(huge));
  for (auto [tag, ch, bits] : {std::tuple{3, 1, 16}, std::tuple{1, 3, 16}, std::tuple{1, 1, 24}}) {
    Bytes c;
    Chunk(c, "fmt ", Fmt(22050, ch, bits, tag));
    Chunk(c, "data", Bytes(12, 1));
    bad.push_back(Riff(c));                                   // not 8/16-bit mono/stereo PCM
  }
  for (size_t i = 0; i < bad.size(); i++) {
    Cache(es_ricochet1, bad[i]);
    EXPECT_EQ(Said([&] { PlaySFXWithTint(es_ricochet1, 500); }), "") << "image " << i;
    EXPECT_EQ(qusnd_sndbufidx, 0) << "image " << i;
  }
  EXPECT_TRUE(fake.buffers.empty());

  // a 40-byte format chunk is read as its first 18; other chunks are skipped
  Bytes good;
  Chunk(good, "LIST", Bytes{1, 2, 3});
  Chunk(good, "fmt ", Fmt(8000, 2, 8, 1, 40));
  Chunk(good, "data", Bytes(64, 9));
  Cache(es_ricochet1, Riff(good));
  PlaySFX(es_ricochet1);
  ASSERT_EQ(fake.buffers.size(), 1u);
  EXPECT_EQ(fake.buffers[0].fmt.channels, 2);
  EXPECT_EQ(fake.plays[0].rate, 8000);
  EXPECT_EQ(fake.buffers[0].pcm, Bytes(64, 9));
}

// A failed start-up followed by the shutdown releases twice: the second time
// does nothing, and no later play reaches the released device; every play
// then reports its missing effect.
TEST_F(SoundTest, FreeTwiceReleasesOnceAndLeavesTheDeviceAlone) {
  File("explosion1", Wav(22050));
  Start();
  for (int i = 0; i < 6; i++) PlaySFX(es_explosion1);   // two pushed out, still playing
  FreeSoundSystem();
  EXPECT_TRUE(fake.Live().empty());
  EXPECT_EQ(fake.closes, 1);
  FreeSoundSystem();
  testing::internal::CaptureStdout();   // an effect with no file, plain or tinted: one running line
  PlaySFX(es_explosion1);
  PlaySFXWithTint(es_cannonshot, 500);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "sound 8 not found in cachesound 6 not found in cache");
  EXPECT_EQ(fake.closes, 1);
  EXPECT_EQ(fake.buffers.size(), 6u);
  EXPECT_EQ(fake.misuse, 0);

  fake.canOpen = false;   // no device: nothing loads, the game runs silent
  EXPECT_EQ(InitSoundSystem(0), 0);
  EXPECT_EQ(QuarnSFXCache[es_explosion1], nullptr);
}
