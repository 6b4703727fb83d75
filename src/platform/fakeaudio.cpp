#include "platform/fakeaudio.h"

bool FakeAudio::Open() {
  if (!canOpen) return false;
  if (open) misuse++;
  open = true;
  opens++;
  return true;
}

void FakeAudio::Close() {
  if (!open) misuse++;
  open = false;
  closes++;
}

FakeAudio::Buffer* FakeAudio::Use(int buffer) {
  if (!open || buffer < 1 || buffer > int(buffers.size()) || buffers[buffer - 1].released) {
    misuse++;
    return nullptr;
  }
  return &buffers[buffer - 1];
}

int FakeAudio::MakeBuffer(const AudioFormat& fmt, const uint8_t* pcm, int bytes) {
  if (!open) misuse++;
  if (failBuffers || !open || bytes <= 0 || int(Live().size()) >= AUDIO_MAX_BUFFERS) return 0;
  Buffer b;
  b.fmt = fmt;
  b.pcm.assign(pcm, pcm + bytes);
  buffers.push_back(std::move(b));
  return int(buffers.size());
}

void FakeAudio::Play(int buffer, int rate) {
  plays.push_back({buffer, rate});
  if (Buffer* b = Use(buffer)) b->playing = true;
}

void FakeAudio::Stop(int buffer) {
  stops.push_back(buffer);
  if (Buffer* b = Use(buffer)) b->playing = false;
}

bool FakeAudio::IsPlaying(int buffer) {
  Buffer* b = Use(buffer);
  return b != nullptr && b->playing;
}

void FakeAudio::Release(int buffer) {
  if (Buffer* b = Use(buffer)) {
    b->playing = false;
    b->released = true;
    released.push_back(buffer);
  }
}

void FakeAudio::Finish(int buffer) {
  if (buffer >= 1 && buffer <= int(buffers.size())) buffers[buffer - 1].playing = false;
}

void FakeAudio::FinishAll() {
  for (Buffer& b : buffers) b.playing = false;
}

std::vector<int> FakeAudio::Playing() const {
  std::vector<int> out;
  for (size_t i = 0; i < buffers.size(); i++)
    if (buffers[i].playing) out.push_back(int(i) + 1);
  return out;
}

std::vector<int> FakeAudio::Live() const {
  std::vector<int> out;
  for (size_t i = 0; i < buffers.size(); i++)
    if (!buffers[i].released) out.push_back(int(i) + 1);
  return out;
}
