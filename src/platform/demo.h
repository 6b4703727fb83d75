// Demos: a played session recorded as it reaches the game, and replayed from
// the file so that the game plays it again exactly.
//
// What reaches the game from outside is recorded where it comes in: every
// callback of the window's event loop in the order the loop made it (idle
// passes with the keys they polled, display passes, mouse buttons, reshapes,
// the window's close); every answer of the sound device (whether it opened,
// the buffers it made, whether a buffer still plays: which sounds play, and so
// the random sequence, hangs on them); and the data files the game read. A
// replay runs the game's own callbacks in the recorded order, with a keyboard
// and a sound device that answer from the file. The game does not know which
// it has.
//
// The file, little-endian throughout. A header of 28 bytes:
//    0  "QUARNDEM"
//    8  u32  version: DEMO_VERSION; other versions are refused
//   12  u32  frames: the idle passes among the records
//   16  u32  length: bytes of whole records after the header. The recording
//            rewrites frames and length after every record it appends, so a
//            recording that is killed leaves a demo of what it had written;
//            bytes past the length are a record the kill cut off.
//   20  u64  world: FNV-1a over the file records (name, size, digest each)
// then records, a tag byte and its body:
//   'D'                     a display pass
//   'I'                     an idle pass, the keys as in the idle pass before
//                           (none before the first)
//   'K' u8[32]              an idle pass with these keys down: virtual key vk
//                           is bit vk % 8 of byte vk / 8
//   'M' i32 b, s, x, y      a mouse button's callback
//   'R' i32 w, h            a reshape
//   'C'                     the window was closed
//   'A' i32                 the sound device's answer to Open, MakeBuffer or
//                           IsPlaying
//   'F' name, u32, u64      a data file the game read: its name as the game
//                           names it (u16 length, the bytes), its size
//                           (DEMO_MISSING: there was none) and FNV-1a digest
//   'S' name, u32 n, bytes  the n bytes a data file the game read held before
//                           the session first wrote it
//   'E' u64                 the end: the world digest after the last callback
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

constexpr uint32_t DEMO_VERSION = 2;
constexpr size_t DEMO_HEADER = 28;
constexpr uint32_t DEMO_MISSING = 0xFFFFFFFFu;
constexpr size_t DEMO_NAME_MAX = 1024;   // longest data file name a demo holds

struct DemoRecord {
  char tag = 0;
  int32_t v[4] = {};                // M: button, state, x, y; R: w, h; A: the answer
  const uint8_t* keys = nullptr;    // K: 32 bytes
  std::string_view name;            // F, S
  uint32_t size = 0;                // F: the file's size or DEMO_MISSING; S: bytes
  const uint8_t* bytes = nullptr;   // S
  uint64_t digest = 0;              // F: the file's; E: the world's
};

// Decodes the record at `*at` of the n bytes of records at p and moves `*at`
// past it; false when no whole, well-formed record starts there.
bool NextDemoRecord(const uint8_t* p, size_t n, size_t* at, DemoRecord* r);

// A demo file read whole and found sound.
struct Demo {
  std::vector<uint8_t> bytes;
  uint32_t frames = 0, length = 0;
  uint64_t world = 0;
  bool ended = false;     // it has its end record: the recording was not cut short
  uint64_t digest = 0;    // the end record's world digest
  const uint8_t* Records() const { return bytes.data() + DEMO_HEADER; }
};

// Checks a demo file's bytes (magic, version, length, every record, the
// counts, the world digest) into d; false with the reason in why, d left as
// it was.
bool ReadDemo(std::vector<uint8_t> bytes, Demo* d, std::string* why);
bool LoadDemo(const char* path, Demo* d, std::string* why);
// Does the working folder hold the world the demo was recorded in: every
// data file the game read as it was then (or, for one the session saved
// over, as the demo kept it)? false naming the first file that differs.
bool SameWorld(const Demo& d, std::string* why);
// The FNV-1a digest of a file's bytes; its size, or DEMO_MISSING when it cannot be read.
uint64_t FileDigest(const char* path, uint32_t* size);

// ---- recording -------------------------------------------------------------
// Creates the demo file and puts the recording between the game and its
// keyboard, sound device and data files (install the real ones first); false
// with the reason when the file cannot be made.
bool StartRecording(const char* path, std::string* why);
// The loop's callbacks while recording: each is written, then handed to the
// game (the keys the idle pass polls are read from the real keyboard once).
void RecordIdle();
void RecordDisplay();
void RecordReshape(int w, int h);
void RecordMouse(int button, int state, int x, int y);
void RecordClose();
// Writes the end with the world's digest and closes the file; false with the
// reason when the demo could not be written whole (it then ends where the
// writing failed). frames: the idle passes recorded.
bool FinishRecording(uint64_t digest, uint32_t* frames, std::string* why);

// ---- replaying -------------------------------------------------------------
// Puts the demo between the game and its keyboard, sound device, window and
// data files: the keys and the device's answers come from the demo, `sound`
// plays what the game plays; what the game writes goes to a scratch folder,
// seeded with what the demo kept, so the world is never changed. Run the
// game's start-up after it; false with the reason when there is no scratch
// folder. The demo must outlive the replay.
bool StartReplay(const Demo& d, AudioDevice* sound, std::string* why);
// Runs the demo's next callback through the game; answers the record's tag
// ('I' for any idle pass), or 0 when the replay is over: the demo ended, the
// game quit, or the game went out of step with the demo.
char ReplayStep();
struct ReplayState {
  uint32_t frames = 0;   // idle passes run
  bool gameQuit = false;
  bool outOfStep = false;   // the game asked what the demo does not answer, or quit before its end
  bool done = false;        // every callback of the demo has run
  int writes = 0;           // files the game wrote (to the scratch folder)
};
const ReplayState& Replaying();
// Removes the scratch folder and puts the real seams back.
void EndReplay();
// Prints how the replay of the demo `shown` ended, with the world's digest
// after it, and answers the exit status: 0 when it played to its end with the
// recorded digest (or none was recorded) or was stopped by the player
// (`stopped`), 1 when it went out of step or ended with another digest.
int ReportReplay(const char* shown, const Demo& d, uint64_t digest, bool stopped);
