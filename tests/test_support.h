// Shared fixtures: every test starts from a fresh process's state.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "defs/random.h"
#include "game.h"
#include "platform/platform.h"

struct Fresh : ::testing::Test {
  void SetUp() override {
    ResetGlobals();
    ResetPlatform();
  }
  void TearDown() override { ResetPlatform(); }
};

// The live particles, or those of one colour.
inline int LiveParticles(int colour = -1) {
  int n = 0;
  for (const TParticle& p : Particles) n += p.colour != 0 && (colour < 0 || p.colour == colour);
  return n;
}

// Leaves the generator where the draws made by `want` answer true, so that a
// test can take a path the rules leave to chance.
template <class F>
void Seed(F want) {
  for (uint32_t s = 1; s < (1u << 24); s++)
    if (randstate = s, want()) return void(randstate = s);
  ADD_FAILURE() << "no seed gives the wanted draws";
}

// The next draw of the generator, leaving it where it was.
inline int32_t NextDraw(int skip = 0) {
  uint32_t s = randstate;
  for (int i = 0; i < skip; i++) Rand();
  int32_t r = Rand();
  randstate = s;
  return r;
}

// What `what` prints on standard output.
template <class F>
std::string Said(F what) {
  testing::internal::CaptureStdout();
  what();
  return testing::internal::GetCapturedStdout();
}

// The build folder: the test binary is BUILD/tests/quarn_tests, the default
// world BUILD/data.
inline std::filesystem::path BuildDir() {
  return std::filesystem::canonical("/proc/self/exe").parent_path().parent_path();
}
