// Shared fixtures: every test starts from a fresh process's state.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>

#include "game.h"
#include "platform/platform.h"

struct Fresh : ::testing::Test {
  void SetUp() override {
    ResetGlobals();
    ResetPlatform();
  }
  void TearDown() override { ResetPlatform(); }
};

// The build folder: the test binary is BUILD/tests/quarn_tests, the default
// world BUILD/data.
inline std::filesystem::path BuildDir() {
  return std::filesystem::canonical("/proc/self/exe").parent_path().parent_path();
}
