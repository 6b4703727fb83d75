// The 18 sound effects, synthesised: 16-bit mono PCM at 11025 Hz (the rate
// the game's tinted plays use, so tinted and plain plays sound alike).
#include <algorithm>
#include <cmath>

#include "gen.h"

namespace wg {

namespace {

constexpr int kRate = 11025;
constexpr float kTau = 6.2831853f;

struct Synth {
  std::vector<float> s;
  Rng rng{99};
  explicit Synth(float seconds) : s(static_cast<size_t>(seconds * kRate), 0.0f) {}
  int N() const { return static_cast<int>(s.size()); }
  float T(int i) const { return static_cast<float>(i) / kRate; }
  float Noise() { return rng.Unit() * 2.0f - 1.0f; }
  // fade in over a few samples and out at the end, so nothing clicks
  void Edges() {
    int n = N();
    for (int i = 0; i < 40 && i < n; i++) {
      s[i] *= i / 40.0f;
      s[n - 1 - i] *= i / 40.0f;
    }
  }
  void Normalise(float peak) {
    float m = 0;
    for (float v : s) m = std::max(m, std::fabs(v));
    if (m > 0)
      for (float& v : s) v *= peak / m;
  }
};

float Env(float t, float attack, float decay) {
  if (t < attack) return t / attack;
  return std::exp(-(t - attack) / decay);
}

float Square(float ph) { return std::fmod(ph, 1.0f) < 0.5f ? 1.0f : -1.0f; }
float Saw(float ph) { return 2.0f * std::fmod(ph, 1.0f) - 1.0f; }

std::vector<float> Wasp() {
  Synth sy(0.6f);
  float ph = 0;
  for (int i = 0; i < sy.N(); i++) {
    float t = sy.T(i);
    float f = 180 + 25 * std::sin(kTau * 7 * t) + 40 * t;
    ph += f / kRate;
    float am = 0.6f + 0.4f * std::sin(kTau * 31 * t);
    sy.s[i] = (Saw(ph) * 0.7f + Saw(ph * 2.01f) * 0.3f) * am * Env(t, 0.05f, 0.35f);
  }
  sy.Normalise(0.8f);
  sy.Edges();
  return sy.s;
}

std::vector<float> Fanfare() {
  const float notes[5] = {523.25f, 659.25f, 783.99f, 1046.5f, 1046.5f};
  const float starts[5] = {0.0f, 0.11f, 0.22f, 0.33f, 0.48f};
  Synth sy(1.0f);
  for (int n = 0; n < 5; n++) {
    float len = n == 4 ? 0.5f : 0.12f;
    int i0 = static_cast<int>(starts[n] * kRate);
    for (int i = 0; i < static_cast<int>(len * kRate) && i0 + i < sy.N(); i++) {
      float t = i / static_cast<float>(kRate);
      float vib = n == 4 ? 1.0f + 0.006f * std::sin(kTau * 6 * t) : 1.0f;
      float ph = notes[n] * vib * t;
      float v = Square(ph) * 0.5f + std::sin(kTau * ph) * 0.5f;
      sy.s[i0 + i] += v * Env(t, 0.01f, n == 4 ? 0.3f : 0.1f);
    }
  }
  sy.Normalise(0.7f);
  sy.Edges();
  return sy.s;
}

std::vector<float> Shot(float seconds, float f0, float f1, float noise, float decay, float tone) {
  Synth sy(seconds);
  float ph = 0, lp = 0;
  for (int i = 0; i < sy.N(); i++) {
    float t = sy.T(i);
    float f = f0 * std::pow(f1 / f0, t / seconds);
    ph += f / kRate;
    lp += 0.35f * (sy.Noise() - lp);
    sy.s[i] = (noise * lp + tone * Square(ph)) * Env(t, 0.002f, decay);
  }
  sy.Normalise(0.9f);
  sy.Edges();
  return sy.s;
}

std::vector<float> Icer() {
  Synth sy(0.35f);
  float ph = 0;
  for (int i = 0; i < sy.N(); i++) {
    float t = sy.T(i);
    float f = 3000 * std::exp(-t * 6) + 700;
    ph += f / kRate;
    float shimmer = std::sin(kTau * 2400 * t) * 0.3f * std::sin(kTau * 40 * t);
    sy.s[i] = (std::sin(kTau * ph) + shimmer) * Env(t, 0.003f, 0.12f);
  }
  sy.Normalise(0.8f);
  sy.Edges();
  return sy.s;
}

std::vector<float> Plasma() {
  Synth sy(0.4f);
  float ph = 0;
  for (int i = 0; i < sy.N(); i++) {
    float t = sy.T(i);
    float f = 250 * std::pow(5.0f, t / 0.4f);
    ph += f / kRate;
    sy.s[i] = Square(ph) * std::sin(kTau * 90 * t) * Env(t, 0.005f, 0.15f);
  }
  sy.Normalise(0.75f);
  sy.Edges();
  return sy.s;
}

std::vector<float> Boom(float seconds, float cutoff, float decay, float thump) {
  Synth sy(seconds);
  float lp = 0, lp2 = 0;
  for (int i = 0; i < sy.N(); i++) {
    float t = sy.T(i);
    float c = cutoff * (1.0f - 0.7f * t / seconds);
    lp += c * (sy.Noise() - lp);
    lp2 += c * (lp - lp2);
    float low = std::sin(kTau * (60 - 30 * t) * t) * thump * std::exp(-t / 0.15f);
    sy.s[i] = (lp2 * 3.0f + low) * Env(t, 0.004f, decay);
  }
  sy.Normalise(0.95f);
  sy.Edges();
  return sy.s;
}

std::vector<float> Splash() {
  Synth sy(0.7f);
  float hp = 0, prev = 0;
  for (int i = 0; i < sy.N(); i++) {
    float t = sy.T(i);
    float n = sy.Noise();
    hp = 0.8f * (hp + n - prev);
    prev = n;
    sy.s[i] = hp * 0.6f * Env(t, 0.01f, 0.18f);
  }
  // bubbles: short rising chirps
  Rng r(5);
  for (int b = 0; b < 9; b++) {
    int i0 = static_cast<int>((0.08f + 0.06f * b + 0.02f * r.Unit()) * kRate);
    float f0 = 500 + 600 * r.Unit(), ph = 0;
    for (int i = 0; i < 700 && i0 + i < sy.N(); i++) {
      float t = i / static_cast<float>(kRate);
      ph += f0 * (1 + 8 * t) / kRate;
      sy.s[i0 + i] += 0.35f * std::sin(kTau * ph) * std::exp(-t / 0.02f);
    }
  }
  sy.Normalise(0.8f);
  sy.Edges();
  return sy.s;
}

std::vector<float> Ricochet(float f0, float f1, float seconds) {
  Synth sy(seconds);
  float ph = 0;
  for (int i = 0; i < sy.N(); i++) {
    float t = sy.T(i);
    float f = f0 + (f1 - f0) * (t / seconds);
    ph += f / kRate;
    float crack = t < 0.015f ? sy.Noise() : 0.0f;
    sy.s[i] = (std::sin(kTau * ph) * 0.8f + 0.2f * std::sin(kTau * 2 * ph)) * Env(t, 0.005f, seconds * 0.5f) + crack;
  }
  sy.Normalise(0.8f);
  sy.Edges();
  return sy.s;
}

std::vector<float> Button() {
  Synth sy(0.12f);
  for (int i = 0; i < sy.N(); i++) {
    float t = sy.T(i);
    float a = std::exp(-t / 0.006f) + (t > 0.05f ? std::exp(-(t - 0.05f) / 0.006f) * 0.7f : 0);
    sy.s[i] = std::sin(kTau * 1800 * t) * a;
  }
  sy.Normalise(0.7f);
  sy.Edges();
  return sy.s;
}

std::vector<float> DoorOpen() {
  Synth sy(0.7f);
  float ph = 0, lp = 0;
  for (int i = 0; i < sy.N(); i++) {
    float t = sy.T(i);
    float f = 90 + 120 * t;
    ph += f / kRate;
    lp += 0.1f * (sy.Noise() - lp);
    float amp = std::min(1.0f, t / 0.05f) * (t > 0.6f ? (0.7f - t) / 0.1f : 1.0f);
    sy.s[i] = (Saw(ph) * 0.5f + lp * 1.5f) * amp;
  }
  sy.Normalise(0.7f);
  sy.Edges();
  return sy.s;
}

std::vector<float> DoorShut() {
  Synth sy(0.35f);
  float lp = 0;
  for (int i = 0; i < sy.N(); i++) {
    float t = sy.T(i);
    lp += 0.2f * (sy.Noise() - lp);
    sy.s[i] = std::sin(kTau * 70 * t) * std::exp(-t / 0.08f) + lp * std::exp(-t / 0.02f) * 2.0f;
  }
  sy.Normalise(0.9f);
  sy.Edges();
  return sy.s;
}

// A monkey's call: voiced glides through two vowels ("oo" then "ah").
std::vector<float> Chimp(int calls, float base, float rise, bool pain) {
  float seconds = pain ? 0.35f : 0.15f * calls + 0.1f;
  Synth sy(seconds);
  float ph = 0;
  for (int i = 0; i < sy.N(); i++) {
    float t = sy.T(i);
    float seg = pain ? t / seconds : std::fmod(t, 0.15f) / 0.15f;
    float f = pain ? base * (1.6f - 0.8f * seg) : base * (1.0f + rise * seg);
    f *= 1.0f + 0.03f * std::sin(kTau * 22 * t);
    ph += f / kRate;
    // a pulse train through two formants
    float src = Saw(ph);
    float f1 = seg < 0.5f ? 400 : 850, f2 = seg < 0.5f ? 900 : 1300;
    float v = src * 0.3f + std::sin(kTau * f1 * t) * 0.4f * (0.5f + 0.5f * Saw(ph)) +
              std::sin(kTau * f2 * t) * 0.25f * (0.5f + 0.5f * Saw(ph));
    if (pain) v += 0.25f * sy.Noise();
    float a = pain ? Env(t, 0.01f, 0.15f) : std::sin(3.14159f * std::min(1.0f, seg * 1.1f)) * (t < 0.15f * calls ? 1.0f : 0.0f);
    sy.s[i] = v * a;
  }
  sy.Normalise(0.8f);
  sy.Edges();
  return sy.s;
}

}  // namespace

void BuildSounds(const std::string& sfx) {
  WriteWav(sfx + "/wasp.wav", Wasp(), kRate);
  WriteWav(sfx + "/fanfare.wav", Fanfare(), kRate);
  WriteWav(sfx + "/pistolshot.wav", Shot(0.22f, 900, 200, 1.0f, 0.05f, 0.3f), kRate);
  WriteWav(sfx + "/icershot.wav", Icer(), kRate);
  WriteWav(sfx + "/blastershot.wav", Shot(0.7f, 220, 40, 1.0f, 0.25f, 0.8f), kRate);
  WriteWav(sfx + "/plasmashot.wav", Plasma(), kRate);
  WriteWav(sfx + "/splash.wav", Splash(), kRate);
  WriteWav(sfx + "/explosion1.wav", Boom(1.1f, 0.25f, 0.4f, 1.0f), kRate);
  WriteWav(sfx + "/explosion2.wav", Boom(0.7f, 0.4f, 0.22f, 0.6f), kRate);
  WriteWav(sfx + "/button.wav", Button(), kRate);
  WriteWav(sfx + "/ric1.wav", Ricochet(2600, 1500, 0.4f), kRate);
  WriteWav(sfx + "/ric2.wav", Ricochet(3200, 900, 0.5f), kRate);
  WriteWav(sfx + "/dooropen.wav", DoorOpen(), kRate);
  WriteWav(sfx + "/doorshut.wav", DoorShut(), kRate);
  WriteWav(sfx + "/chimp1.wav", Chimp(2, 420, 0.5f, false), kRate);
  WriteWav(sfx + "/chimp2.wav", Chimp(3, 520, 0.7f, false), kRate);
  WriteWav(sfx + "/chimppain1.wav", Chimp(1, 900, 0, true), kRate);
  WriteWav(sfx + "/chimppain2.wav", Chimp(1, 1150, 0, true), kRate);
}

}  // namespace wg
