// A sound device for tests that records everything asked of it: the buffers
// made (format and samples), every play with its rate, stops and releases.
// A played buffer goes on "playing" until the test finishes it. Any use of a
// handle it never made or already released, and any buffer operation while
// the device is closed, is counted as misuse.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/platform.h"

struct FakeAudio final : AudioDevice {
  struct Buffer {
    AudioFormat fmt;
    std::vector<uint8_t> pcm;
    bool playing = false;
    bool released = false;
  };
  struct PlayCall {
    int buffer;
    int rate;
  };

  // test controls
  bool canOpen = true;       // what Open answers
  bool failBuffers = false;  // MakeBuffer fails while set

  // the record
  bool open = false;
  int opens = 0, closes = 0;
  int misuse = 0;
  std::vector<Buffer> buffers;   // handle h is buffers[h - 1]
  std::vector<PlayCall> plays;
  std::vector<int> stops;
  std::vector<int> released;     // handles in the order released

  bool Open() override;
  void Close() override;
  int MakeBuffer(const AudioFormat& fmt, const uint8_t* pcm, int bytes) override;
  void Play(int buffer, int rate) override;
  void Stop(int buffer) override;
  bool IsPlaying(int buffer) override;
  void Release(int buffer) override;

  // the sound of `buffer` has played to its end
  void Finish(int buffer);
  void FinishAll();
  // handles playing now, in order
  std::vector<int> Playing() const;
  // handles made and not yet released
  std::vector<int> Live() const;

 private:
  Buffer* Use(int buffer);
};
