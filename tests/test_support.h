// Shared fixtures: every test starts from a fresh process's state.
#pragma once
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
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

// The folder of the test executable's build (BUILD/tests/quarn_tests): the
// default world is BUILD/data.
inline std::string BuildDir() {
  char exe[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
  if (n <= 0) return ".";
  std::string path(exe, size_t(n));
  path.resize(path.rfind('/'));   // BUILD/tests
  path.resize(path.rfind('/'));   // BUILD
  return path;
}

// Sends the game's console lines to /dev/null while it lives (the test's own
// messages go to the same standard output, so only while the game runs).
struct Quiet {
  int saved;
  Quiet() {
    std::fflush(stdout);
    saved = dup(1);
    int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    close(null);
  }
  ~Quiet() {
    std::fflush(stdout);
    dup2(saved, 1);
    close(saved);
  }
};
