// The sound device on OpenAL Soft. Each effect buffer is an OpenAL buffer with
// a source of its own, so buffers play independently and in parallel; a play
// at a rate other than the samples' own sets the source's pitch to the ratio.
// Handles index a fixed table.
#include "platform/native/openal_audio.h"

#include <AL/al.h>
#include <AL/alc.h>

namespace {

struct OpenALDevice final : AudioDevice {
  static constexpr int MAX_BUFFERS = AUDIO_MAX_BUFFERS;
  struct Slot {
    bool used;
    ALuint buffer, source;
    int rate;   // the samples' own rate
  };
  ALCdevice* device = nullptr;
  ALCcontext* context = nullptr;
  Slot slots[MAX_BUFFERS] = {};

  Slot* Get(int h) {
    if (context == nullptr || h < 1 || h > MAX_BUFFERS || !slots[h - 1].used) return nullptr;
    return &slots[h - 1];
  }

  bool Open() override {
    if (device != nullptr) return true;
    device = alcOpenDevice(nullptr);
    if (device == nullptr) return false;
    context = alcCreateContext(device, nullptr);
    if (context == nullptr || !alcMakeContextCurrent(context)) {
      if (context != nullptr) alcDestroyContext(context);
      alcCloseDevice(device);
      device = nullptr;
      context = nullptr;
      return false;
    }
    return true;
  }

  void Close() override {
    if (device == nullptr) return;
    for (int h = 1; h <= MAX_BUFFERS; h++) Release(h);
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(context);
    alcCloseDevice(device);   // the wave writer finishes its file here
    context = nullptr;
    device = nullptr;
  }

  int MakeBuffer(const AudioFormat& fmt, const uint8_t* pcm, int bytes) override {
    if (context == nullptr || pcm == nullptr || fmt.rate <= 0) return 0;
    ALenum format;
    if (fmt.channels == 1 && fmt.bits == 8) format = AL_FORMAT_MONO8;
    else if (fmt.channels == 1 && fmt.bits == 16) format = AL_FORMAT_MONO16;
    else if (fmt.channels == 2 && fmt.bits == 8) format = AL_FORMAT_STEREO8;
    else if (fmt.channels == 2 && fmt.bits == 16) format = AL_FORMAT_STEREO16;
    else return 0;
    int frame = fmt.channels * fmt.bits / 8;
    bytes -= bytes % frame;   // OpenAL takes whole sample frames only
    if (bytes <= 0) return 0;

    int h = 0;
    for (int i = 0; i < MAX_BUFFERS && h == 0; i++)
      if (!slots[i].used) h = i + 1;
    if (h == 0) return 0;

    alGetError();
    ALuint buffer = 0, source = 0;
    alGenBuffers(1, &buffer);
    if (alGetError() != AL_NO_ERROR) return 0;
    alBufferData(buffer, format, pcm, bytes, fmt.rate);
    if (alGetError() != AL_NO_ERROR) {
      alDeleteBuffers(1, &buffer);
      return 0;
    }
    alGenSources(1, &source);
    if (alGetError() != AL_NO_ERROR) {   // out of voices
      alDeleteBuffers(1, &buffer);
      return 0;
    }
    alSourcei(source, AL_BUFFER, ALint(buffer));
    alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSource3f(source, AL_POSITION, 0.0f, 0.0f, 0.0f);
    slots[h - 1] = {true, buffer, source, fmt.rate};
    return h;
  }

  void Play(int h, int rate) override {
    Slot* s = Get(h);
    if (s == nullptr || rate <= 0) return;
    alSourcef(s->source, AL_PITCH, float(rate) / float(s->rate));
    alSourcePlay(s->source);
  }

  void Stop(int h) override {
    if (Slot* s = Get(h)) alSourceStop(s->source);
  }

  bool IsPlaying(int h) override {
    Slot* s = Get(h);
    if (s == nullptr) return false;
    ALint state = AL_STOPPED;
    alGetSourcei(s->source, AL_SOURCE_STATE, &state);
    return state == AL_PLAYING;
  }

  void Release(int h) override {
    Slot* s = Get(h);
    if (s == nullptr) return;
    alSourceStop(s->source);
    alSourcei(s->source, AL_BUFFER, 0);
    alDeleteSources(1, &s->source);
    alDeleteBuffers(1, &s->buffer);
    *s = {};
  }
};

}  // namespace

AudioDevice* OpenALAudio() {
  static OpenALDevice device;
  return &device;
}
