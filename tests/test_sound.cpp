// Sound effects against the recording fake device: loading the cache, the
// four-slot round robin that never cuts a sound short, the tinted pitch,
// malformed WAV images, missing effects and the release of the system.
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "defs/random.h"
#include "platform/fakeaudio.h"
#include "sound/quarnsound.h"
#include "test_support.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Put32(Bytes& b, uint32_t v) {
  for (int i = 0; i < 4; i++) b.push_back(uint8_t(v >> (8 * i)));
}
void Put16(Bytes& b, uint16_t v) {
  b.push_back(uint8_t(v));
  b.push_back(uint8_t(v >> 8));
}
void PutId(Bytes& b, const char* id) {
  for (int i = 0; i < 4; i++) b.push_back(uint8_t(id[i]));
}
void Chunk(Bytes& b, const char* id, const Bytes& body) {
  PutId(b, id);
  Put32(b, uint32_t(body.size()));
  b.insert(b.end(), body.begin(), body.end());
  if (body.size() & 1) b.push_back(0);
}
Bytes Fmt(int rate, int channels = 1, int bits = 16, int tag = 1, size_t size = 16) {
  Bytes f;
  Put16(f, uint16_t(tag));
  Put16(f, uint16_t(channels));
  Put32(f, uint32_t(rate));
  Put32(f, uint32_t(rate * channels * bits / 8));
  Put16(f, uint16_t(channels * bits / 8));
  Put16(f, uint16_t(bits));
  while (f.size() < size) f.push_back(0xEE);
  return f;
}
Bytes Samples(size_t n) {
  Bytes d;
  for (size_t i = 0; i < n; i++) d.push_back(uint8_t(i * 7));
  return d;
}
Bytes Riff(const Bytes& chunks, const char* form = "WAVE") {
  Bytes w;
  PutId(w, "RIFF");
  Put32(w, uint32_t(chunks.size() + 4));
  PutId(w, form);
  w.insert(w.end(), chunks.begin(), chunks.end());
  return w;
}
Bytes Wav(int rate, size_t bytes = 100) {
  Bytes c;
  Chunk(c, "fmt ", Fmt(rate));
  Chunk(c, "data", Samples(bytes));
  return Riff(c);
}

struct SoundTest : Fresh {
  FakeAudio fake;
  std::filesystem::path home, dir;

  void SetUp() override {
    Fresh::SetUp();
    home = std::filesystem::current_path();
    char tmpl[] = "/tmp/quarn-sound-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir = tmpl;
    std::filesystem::current_path(dir);
    audio = &fake;
  }
  void TearDown() override {
    ResetSoundGlobals();
    std::filesystem::current_path(home);
    std::filesystem::remove_all(dir);
    Fresh::TearDown();
  }
  void File(const std::string& base, const Bytes& image) {
    std::filesystem::create_directories(dir / "sfx");
    std::ofstream(dir / "sfx" / (base + ".wav"), std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()), std::streamsize(image.size()));
  }
  // an image in the cache, allocated to its exact size so that reading past
  // it shows under the address sanitizer
  static void Cache(TSoundId id, const Bytes& image) {
    delete[] QuarnSFXCache[id];
    QuarnSFXCache[id] = new uint8_t[image.size()];
    if (!image.empty()) std::memcpy(QuarnSFXCache[id], image.data(), image.size());
    QuarnSFXCacheSize[id] = int32_t(image.size());
  }
  void Start() {
    testing::internal::CaptureStdout();
    ASSERT_EQ(InitSoundSystem(0x1234), 1);
    testing::internal::GetCapturedStdout();
  }
};

}  // namespace

TEST_F(SoundTest, LoadsTheEighteenFilesInOrderAndSkipsMissingOnes) {
  const char* names[] = {"wasp", "fanfare", "pistolshot", "icershot", "blastershot",
                         "plasmashot", "splash", "explosion1", "explosion2", "ric1",
                         "ric2", "dooropen", "doorshut", "chimp1", "chimp2",
                         "chimppain1", "chimppain2"};   // no "button"
  for (size_t i = 0; i < std::size(names); i++) File(names[i], Wav(22050, 10 + i));
  File("cannonshot", Wav(22050));   // has no id: never read

  testing::internal::CaptureStdout();
  ASSERT_EQ(InitSoundSystem(0), 1);
  std::string out = testing::internal::GetCapturedStdout();

  const int order[] = {0, 3, 2, 4, 5, 1, 7, 8, 9, 11, 12, 14, 15, 16, 17, 18, 19};
  std::string want;
  for (int id : order) {
    want += "Loaded sound " + std::to_string(id) + " (" +
            std::to_string(QuarnSFXCacheSize[id]) + " bytes)\n";
    EXPECT_NE(QuarnSFXCache[id], nullptr);
  }
  EXPECT_EQ(out, want);
  EXPECT_EQ(QuarnSFXCache[es_button], nullptr);
  EXPECT_EQ(QuarnSFXCache[es_cannonshot], nullptr);
  EXPECT_EQ(QuarnSFXCacheSize[es_fanfare], int32_t(Wav(22050, 11).size()));
  EXPECT_EQ(std::memcmp(QuarnSFXCache[es_waspbuzz], Wav(22050, 10).data(), 10), 0);
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
  EXPECT_EQ(qusnd_sndbufidx, 1);
  EXPECT_EQ(QuarnSFX[0], 5);
  EXPECT_EQ(QuarnSFX[1], 2);
  EXPECT_EQ(fake.Playing(), (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_TRUE(fake.released.empty());
  ASSERT_EQ(fake.plays.size(), 5u);
  for (const auto& p : fake.plays) EXPECT_EQ(p.rate, 22050);   // the file's own rate
  EXPECT_EQ(fake.buffers[0].pcm, Samples(300));
  EXPECT_EQ(fake.buffers[0].fmt.channels, 1);
  EXPECT_EQ(fake.buffers[0].fmt.bits, 16);

  fake.Finish(1);   // pushed out of slot 0, now over
  fake.Finish(2);   // still in slot 1, about to be pushed out
  PlaySFX(es_explosion2);
  EXPECT_EQ(fake.released, (std::vector<int>{1, 2}));
  EXPECT_EQ(fake.Live(), (std::vector<int>{3, 4, 5, 6}));
  EXPECT_EQ(fake.misuse, 0);
}

TEST_F(SoundTest, WithEveryKeptBufferStillPlayingANewPlayIsSkipped) {
  Start();
  Cache(es_splash, Wav(11025));
  for (int i = 0; i < SFX_SLOTS + SFX_RETIRED; i++) PlaySFX(es_splash);
  ASSERT_EQ(fake.buffers.size(), size_t(SFX_SLOTS + SFX_RETIRED));
  const int idx = qusnd_sndbufidx;
  PlaySFX(es_splash);
  EXPECT_EQ(fake.buffers.size(), size_t(SFX_SLOTS + SFX_RETIRED));
  EXPECT_EQ(qusnd_sndbufidx, idx);
  EXPECT_EQ(fake.Playing().size(), size_t(SFX_SLOTS + SFX_RETIRED));
  EXPECT_TRUE(fake.released.empty());

  fake.Finish(7);
  PlaySFX(es_splash);
  EXPECT_EQ(fake.released, (std::vector<int>{7}));
  EXPECT_EQ(fake.buffers.size(), size_t(SFX_SLOTS + SFX_RETIRED + 1));
}

TEST_F(SoundTest, FailedBufferLeavesTheSlotEmptyAndTheCursorWhereItWas) {
  Start();
  Cache(es_button, Wav(22050));
  PlaySFX(es_button);
  fake.failBuffers = true;
  testing::internal::CaptureStdout();
  PlaySFX(es_button);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(qusnd_sndbufidx, 1);
  EXPECT_EQ(QuarnSFX[1], 0);
  fake.failBuffers = false;
  PlaySFX(es_button);
  EXPECT_EQ(qusnd_sndbufidx, 2);
  EXPECT_NE(QuarnSFX[1], 0);
}

TEST_F(SoundTest, TintedPitchCentresOn11000WhateverTheFileRate) {
  Start();
  Cache(es_chimp1, Wav(44100));
  PlaySFXWithTint(es_chimp1, 1);
  EXPECT_EQ(fake.plays.back().rate, 11000);

  // no remainder by zero: plain 11000 and no draws
  const uint32_t state = randstate;
  PlaySFXWithTint(es_chimp1, 0);
  EXPECT_EQ(fake.plays.back().rate, 11000);
  PlaySFXWithTint(es_chimp1, -40);
  EXPECT_EQ(fake.plays.back().rate, 11000);
  EXPECT_EQ(randstate, state);

  ResetRand();   // next draws: 41, 18467
  PlaySFXWithTint(es_chimp1, 300);
  EXPECT_EQ(fake.plays.back().rate, 11000 + 41 - 18467 % 300);
  for (int i = 0; i < 50; i++) {
    fake.FinishAll();
    PlaySFXWithTint(es_chimp1, 500);
    EXPECT_GE(fake.plays.back().rate, 11000 - 499);
    EXPECT_LE(fake.plays.back().rate, 11000 + 499);
  }
  PlaySFX(es_chimp1);
  EXPECT_EQ(fake.plays.back().rate, 44100);
}

TEST_F(SoundTest, MalformedImagesAreSkippedSilently) {
  Start();
  std::vector<std::pair<const char*, Bytes>> bad;
  bad.push_back({"empty", {}});
  bad.push_back({"bare RIFF", Bytes{'R', 'I', 'F', 'F'}});
  {
    Bytes c;
    Chunk(c, "fmt ", Fmt(22050));
    Chunk(c, "data", Samples(10));
    bad.push_back({"not WAVE", Riff(c, "AVI ")});
  }
  {
    Bytes c;
    Chunk(c, "data", Samples(10));
    bad.push_back({"no fmt", Riff(c)});
  }
  {
    Bytes c;
    Chunk(c, "fmt ", Fmt(22050));
    bad.push_back({"no data", Riff(c)});
  }
  {
    Bytes c;
    Chunk(c, "data", Samples(10));
    Chunk(c, "fmt ", Fmt(22050));
    bad.push_back({"data before fmt", Riff(c)});
  }
  {
    Bytes c;
    Chunk(c, "fmt ", Fmt(22050));
    Chunk(c, "data", Samples(100));
    Bytes w = Riff(c);
    w.resize(w.size() - 30);
    bad.push_back({"cut short", w});
  }
  {
    Bytes c;
    PutId(c, "fmt ");
    Put32(c, 0xFFFFFFF0u);
    Bytes f = Fmt(22050);
    c.insert(c.end(), f.begin(), f.end());
    bad.push_back({"huge fmt", Riff(c)});
  }
  {
    Bytes c;
    Chunk(c, "fmt ", Fmt(22050));
    PutId(c, "data");
    Put32(c, 0x7FFFFFFFu);
    bad.push_back({"huge data", Riff(c)});
  }
  {
    Bytes c;
    Bytes f = Fmt(22050);
    f.resize(14);
    Chunk(c, "fmt ", f);
    Chunk(c, "data", Samples(10));
    bad.push_back({"short fmt", Riff(c)});
  }
  for (auto [tag, ch, bits] : {std::tuple{3, 1, 16}, std::tuple{1, 0, 16}, std::tuple{1, 3, 16},
                                  std::tuple{1, 1, 24}}) {
    Bytes c;
    Chunk(c, "fmt ", Fmt(22050, ch, bits, tag));
    Chunk(c, "data", Samples(12));
    bad.push_back({"unplayable format", Riff(c)});
  }
  {
    Bytes c;
    Chunk(c, "fmt ", Fmt(22050));
    Chunk(c, "data", {});
    bad.push_back({"no samples", Riff(c)});
  }

  for (auto& [what, image] : bad) {
    Cache(es_ricochet1, image);
    testing::internal::CaptureStdout();
    PlaySFXWithTint(es_ricochet1, 500);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << what;
    EXPECT_EQ(qusnd_sndbufidx, 0) << what;
    EXPECT_EQ(QuarnSFX[0], 0) << what;
    EXPECT_EQ(LoadWavToStaticBuffer(image.data(), int(image.size()), 0), 0) << what;
  }
  EXPECT_TRUE(fake.buffers.empty());
  EXPECT_EQ(randstate, 1u);   // no pitch was drawn for a skipped play
}

TEST_F(SoundTest, ReadsTheFirst18BytesOfALongFormatChunkAndSkipsOtherChunks) {
  Start();
  Bytes c;
  Chunk(c, "LIST", Bytes{1, 2, 3});          // odd length, padded
  Chunk(c, "fmt ", Fmt(8000, 2, 8, 1, 40));  // 40-byte format chunk
  Chunk(c, "fact", Bytes{0, 0, 0, 0});
  Chunk(c, "data", Samples(64));
  Cache(es_doorshut, Riff(c));
  PlaySFX(es_doorshut);
  ASSERT_EQ(fake.buffers.size(), 1u);
  EXPECT_EQ(fake.buffers[0].fmt.channels, 2);
  EXPECT_EQ(fake.buffers[0].fmt.bits, 8);
  EXPECT_EQ(fake.plays[0].rate, 8000);
  EXPECT_EQ(fake.buffers[0].pcm, Samples(64));
}

TEST_F(SoundTest, EffectWithNoFileReportsItAndRunsTheLinesTogether) {
  Start();
  testing::internal::CaptureStdout();
  PlaySFX(es_cannonshot);
  PlaySFXWithTint(es_cannonshot, 500);
  PlaySFXWithTint(es_bigexplosion, 500);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "sound 6 not found in cachesound 6 not found in cachesound 10 not found in cache");
  EXPECT_TRUE(fake.buffers.empty());
  EXPECT_EQ(qusnd_sndbufidx, 0);
}

TEST_F(SoundTest, WithoutADeviceTheGameRunsSilently) {
  File("explosion2", Wav(22050));
  fake.canOpen = false;
  testing::internal::CaptureStdout();
  EXPECT_EQ(InitSoundSystem(0), 0);
  PlaySFX(es_explosion2);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "sound 9 not found in cache");
  EXPECT_TRUE(fake.buffers.empty());
  EXPECT_EQ(fake.misuse, 0);
  FreeSoundSystem();
  EXPECT_EQ(fake.closes, 0);
}

// Releasing twice (a failed start-up and then the shutdown) does nothing the
// second time, and no later play reaches the released device.
TEST_F(SoundTest, FreeReleasesEverythingOnceAndTheDeviceIsLeftAlone) {
  File("explosion1", Wav(22050));
  Start();
  for (int i = 0; i < 6; i++) PlaySFX(es_explosion1);   // two pushed out, still playing
  FreeSoundSystem();
  EXPECT_TRUE(fake.Live().empty());
  EXPECT_EQ(fake.released.size(), 6u);
  EXPECT_EQ(fake.closes, 1);
  EXPECT_FALSE(fake.open);
  for (int i = 0; i < SFX_SLOTS; i++) EXPECT_EQ(QuarnSFX[i], 0);
  EXPECT_EQ(QuarnSFXCache[es_explosion1], nullptr);

  FreeSoundSystem();
  testing::internal::CaptureStdout();
  PlaySFXWithTint(es_explosion1, 500);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "sound 8 not found in cache");
  EXPECT_EQ(fake.closes, 1);
  EXPECT_EQ(fake.released.size(), 6u);
  EXPECT_EQ(fake.buffers.size(), 6u);
  EXPECT_EQ(fake.misuse, 0);
}

TEST_F(SoundTest, ResetPutsTheModuleBackWithoutTouchingTheDevice) {
  Start();
  Cache(es_fanfare, Wav(22050));
  PlaySFX(es_fanfare);
  PlaySFX(es_fanfare);
  ResetSoundGlobals();
  EXPECT_EQ(qusnd, nullptr);
  EXPECT_EQ(qusnd_sndbufidx, 0);
  EXPECT_EQ(QuarnSFX[0], 0);
  EXPECT_EQ(QuarnSFXCache[es_fanfare], nullptr);
  EXPECT_EQ(fake.closes, 0);
  EXPECT_TRUE(fake.released.empty());
}
